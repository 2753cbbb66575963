// The tag-run scan of tag highlighting on a 50 MB diary page: over the lines of
// the text, and over a QTextDocument holding the page: through its raw text
// (one copy of the whole page, fast) or block by block (no copy, but every
// block's text is a look-up in the document, slower). The whole highlighting
// must stay within 1 s at 50 MB, so the scan should be a small part of that.
//
// Memory the runs keep is reported as runs_MB (eight bytes a run part, four a
// block). peak_added_MB is the highest memory the process reached during the
// scans above what it held before them (the page, its lines or its document).

#include "DiaryPage.h"
#include "document/TagRuns.h"
#include "platform/SjisCodec.h"

#include <QFile>
#include <QGuiApplication>
#include <QString>
#include <QTextBlock>
#include <QTextDocument>
#include <benchmark/benchmark.h>
#include <vector>

namespace {

constexpr qsizetype kPageBytes = 50 * 1024 * 1024;

const QString& pageText() {
    static const QString text = sjis::decode(bench::diaryPage(kPageBytes), sjis::LineBreaks::CrLf);
    return text;
}

// A field of /proc/self/status ("VmRSS", "VmHWM") in megabytes.
double statusMegabytes(const char* field) {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    const QByteArray name = QByteArray(field) + ':';
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith(name))
            return line.mid(name.size()).trimmed().split(' ').value(0).toDouble() / 1024.0;
    }
    return 0;
}

// Resets the process's peak memory to what it holds now and returns that.
double resetPeakRss() {
    QFile clearRefs(QStringLiteral("/proc/self/clear_refs"));
    if (clearRefs.open(QIODevice::WriteOnly))
        clearRefs.write("5");
    return statusMegabytes("VmRSS");
}

double peakRssMegabytes() {
    return statusMegabytes("VmHWM");
}

void reportRuns(benchmark::State& state, const TagRuns& runs, double peakBefore) {
    state.counters["peak_added_MB"] = peakRssMegabytes() - peakBefore;
    state.counters["blocks"] = runs.blockCount();
    state.counters["run_parts"] = double(runs.size());
    state.counters["runs_MB"] =
        double(runs.size() * sizeof(TagRun) + runs.blockCount() * 4) / (1024.0 * 1024.0);
}

void BM_ScanLines(benchmark::State& state) {
    const QString& text = pageText();
    std::vector<QStringView> lines;
    for (qsizetype start = 0;;) {
        const qsizetype end = text.indexOf(u'\n', start);
        lines.push_back(QStringView(text).sliced(start, (end < 0 ? text.size() : end) - start));
        if (end < 0)
            break;
        start = end + 1;
    }
    TagRuns runs;
    const double peakBefore = resetPeakRss();
    for (auto _ : state) {
        TagRunScanner scanner;
        for (QStringView line : lines)
            scanner.addBlock(line);
        runs = scanner.finish();
        benchmark::DoNotOptimize(runs.size());
    }
    state.SetBytesProcessed(state.iterations() * kPageBytes);
    reportRuns(state, runs, peakBefore);
}

void BM_ScanWholeText(benchmark::State& state) {
    const QString& text = pageText();
    TagRuns runs;
    const double peakBefore = resetPeakRss();
    for (auto _ : state) {
        runs = ScanTagRuns(text);
        benchmark::DoNotOptimize(runs.size());
    }
    state.SetBytesProcessed(state.iterations() * kPageBytes);
    reportRuns(state, runs, peakBefore);
}

// The document's raw text (blocks separated by U+2029) taken out once and scanned.
void BM_ScanRawText(benchmark::State& state) {
    QTextDocument document;
    document.setPlainText(pageText());
    TagRuns runs;
    const double peakBefore = resetPeakRss();
    for (auto _ : state) {
        const QString raw = document.toRawText();
        runs = ScanTagRuns(raw);
        benchmark::DoNotOptimize(runs.size());
    }
    state.SetBytesProcessed(state.iterations() * kPageBytes);
    reportRuns(state, runs, peakBefore);
}

// Each block's text asked for once.
void BM_ScanDocumentBlocks(benchmark::State& state) {
    QTextDocument document;
    document.setPlainText(pageText());
    TagRuns runs;
    const double peakBefore = resetPeakRss();
    for (auto _ : state) {
        TagRunScanner scanner;
        for (QTextBlock block = document.firstBlock(); block.isValid(); block = block.next())
            scanner.addBlock(block.text());
        runs = scanner.finish();
        benchmark::DoNotOptimize(runs.size());
    }
    state.SetBytesProcessed(state.iterations() * kPageBytes);
    reportRuns(state, runs, peakBefore);
}

// For comparison: the walk over the blocks alone, without their texts.
void BM_WalkDocumentBlocks(benchmark::State& state) {
    QTextDocument document;
    document.setPlainText(pageText());
    for (auto _ : state) {
        qint64 characters = 0;
        for (QTextBlock block = document.firstBlock(); block.isValid(); block = block.next())
            characters += block.length();
        benchmark::DoNotOptimize(characters);
    }
    state.SetBytesProcessed(state.iterations() * kPageBytes);
}

} // namespace

BENCHMARK(BM_ScanLines)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ScanWholeText)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ScanRawText)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ScanDocumentBlocks)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WalkDocumentBlocks)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
