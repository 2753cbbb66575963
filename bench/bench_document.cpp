// The diary page in the document editor: open and save of a big page, a caret
// move and a one-character edit with the status refresh they cause (compared
// at 1 MB and 50 MB: the cost must not grow with the page), and composing a
// 1,000-line entry into a 50 MB page.
//
// Peak memory of an open: run the open alone in a fresh process,
//   bench_document --benchmark_filter='BM_Open/50' --benchmark_repetitions=1
// and read the peak_rss_MB counter.

#include "BenchEditor.h"
#include "DiaryPage.h"
#include "platform/TextFile.h"
#include "settings/Defaults.h"
#include "today/Composer.h"

#include <QApplication>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextCursor>
#include <benchmark/benchmark.h>
#include <map>
#include <memory>
#include <sys/resource.h>

using namespace Qt::StringLiterals;

namespace {

QTemporaryDir& folder() {
    static QTemporaryDir dir;
    return dir;
}

// A page of the given size in megabytes, written once to a file.
QString pageFile(int megabytes) {
    static std::map<int, QString> files;
    auto found = files.find(megabytes);
    if (found != files.end())
        return found->second;
    const QString path = folder().filePath(u"page%1.htm"_s.arg(megabytes));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        qFatal("cannot write the page");
    file.write(bench::diaryPage(qsizetype(megabytes) * 1024 * 1024));
    file.close();
    files[megabytes] = path;
    return path;
}

double peakRssMegabytes() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return double(usage.ru_maxrss) / 1024.0;
}

DiaryEditor& loadedEditor(int megabytes) {
    auto& editor = bench::editorCache()[megabytes];
    if (!editor)
        editor = bench::editorWith(*textfile::read(pageFile(megabytes)));
    return *editor;
}

void BM_Open(benchmark::State& state) {
    const QString path = pageFile(int(state.range(0)));
    for (auto _ : state) {
        state.PauseTiming();
        auto editor = bench::shownEditor();
        QApplication::processEvents(); // the window is up before the user opens a page
        state.ResumeTiming();
        QString error;
        std::optional<QString> text = textfile::read(path, &error);
        if (!text) {
            state.SkipWithError("cannot read");
            return;
        }
        editor->loadText(*text);
        text.reset();
        benchmark::DoNotOptimize(bench::statusOf(*editor));
        QApplication::processEvents(); // the first paint
        editor->resize(900, 700);      // and a resize of the window
        QApplication::processEvents();
        state.PauseTiming();
        editor.reset();
        state.ResumeTiming();
    }
    state.SetBytesProcessed(state.iterations() * QFileInfo(path).size());
    state.counters["peak_rss_MB"] = peakRssMegabytes();
}

// Encoding plus the atomic write (temporary file, flush to disk, rename).
void BM_Save(benchmark::State& state) {
    const QString text = loadedEditor(int(state.range(0))).textForSaving();
    const QString path = folder().filePath(u"saved.htm"_s);
    qint64 bytes = 0;
    for (auto _ : state) {
        if (!textfile::write(path, text)) {
            state.SkipWithError("cannot write");
            return;
        }
        bytes += QFileInfo(path).size();
    }
    state.SetBytesProcessed(bytes);
}

// The whole save command: the text taken out of the editor, encoded, written.
void BM_SaveFromEditor(benchmark::State& state) {
    DiaryEditor& editor = loadedEditor(int(state.range(0)));
    const QString path = folder().filePath(u"saved.htm"_s);
    qint64 bytes = 0;
    for (auto _ : state) {
        if (!textfile::write(path, editor.textForSaving())) {
            state.SkipWithError("cannot write");
            return;
        }
        bytes += QFileInfo(path).size();
    }
    state.SetBytesProcessed(bytes);
}

void BM_CaretMove(benchmark::State& state) {
    DiaryEditor& editor = loadedEditor(int(state.range(0)));
    bool down = true;
    for (auto _ : state)
        bench::moveCaretOnce(editor, down);
}

void BM_OneCharacterEdit(benchmark::State& state) {
    DiaryEditor& editor = loadedEditor(int(state.range(0)));
    bool insert = true;
    for (auto _ : state)
        bench::editOnce(editor, insert);
}

void BM_Compose1000Lines(benchmark::State& state) {
    DiaryEditor& editor = loadedEditor(50);
    const HtmlSet set = defaultHtmlSet();
    DiaryEntry entry;
    entry.yearText = u"2026"_s;
    entry.monthText = u"12"_s;
    entry.dayText = u"8"_s;
    entry.weekdayText = u"(火)"_s;
    entry.weather1 = {u"晴れ"_s, 0};
    entry.title = u"長い一日"_s;
    QStringList lines;
    for (int i = 0; i < 1000; ++i)
        lines << u"今日は朝から公園まで散歩しました。%1行目の日記です。"_s.arg(i + 1);
    entry.body = lines.join(u'\n');
    for (auto _ : state) {
        editor.insertTextAtCaret(ComposeDiaryEntry(entry, set, QString(), QString()));
        benchmark::DoNotOptimize(bench::statusOf(editor));
        state.PauseTiming();
        editor.undo();
        state.ResumeTiming();
    }
}

} // namespace

BENCHMARK(BM_Open)->Arg(1)->Arg(50)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_Save)->Arg(50)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_SaveFromEditor)->Arg(50)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_CaretMove)->Arg(1)->Arg(50)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_OneCharacterEdit)->Arg(1)->Arg(50)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Compose1000Lines)->Unit(benchmark::kMillisecond)->Iterations(5);

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    bench::editorCache().clear();
    return 0;
}
