// Find and replace on the 50 MB diary page in the document editor, through
// the find bar: the next match when it lies 40 MB after the caret (goal: at
// most 150 ms); counting every match of a common word, the walk the bar's
// stepped count makes (goal: at most 500 ms in all); すべて置換 of 100,000
// matches as one undo step (goal: at most 1.5 s) and its undo (undo_ms, goal:
// at most 1.5 s; the slowest of the runs, and the processor time of each); and marking the matches on screen
// after a scroll, which must not grow with the page.

#include "BenchEditor.h"
#include "DiaryPage.h"
#include "document/FindBar.h"
#include "platform/SjisCodec.h"

#include <QApplication>
#include <QCheckBox>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextCursor>
#include <benchmark/benchmark.h>
#include <ctime>

using namespace Qt::StringLiterals;

namespace {

constexpr qsizetype kPageBytes = 50 * 1024 * 1024;
const QString kFar = u"去年の春の日記"_s; // once in the page, 40 MB in

// The page with kFar inserted at the line that starts 40 MB (in CP932) in.
const QString& pageText() {
    static QString text;
    if (text.isEmpty()) {
        const QByteArray bytes = bench::diaryPage(kPageBytes);
        const qsizetype at = bytes.indexOf("\r\n", 40 * 1024 * 1024) + 2;
        text = sjis::decode(bytes.first(at), sjis::LineBreaks::CrLf) + kFar +
               sjis::decode(bytes.sliced(at), sjis::LineBreaks::CrLf);
    }
    return text;
}

struct Setup {
    std::unique_ptr<DiaryEditor> editor;
    std::unique_ptr<FindBar> bar;
};

Setup& setup() {
    static Setup s;
    if (!s.editor) {
        s.editor = bench::editorWith(pageText());
        s.bar = std::make_unique<FindBar>(s.editor.get());
    }
    return s;
}

// The caret at the start, after an edit (a character typed and taken back),
// so that each find starts from the editor's text as after typing.
void caretToStart(DiaryEditor& editor) {
    QTextCursor cursor = editor.textCursor();
    cursor.setPosition(0);
    cursor.insertText(u"x"_s);
    cursor.deletePreviousChar();
    editor.setTextCursor(cursor);
}

// Each run finds the next match from the start of the page, after an edit.
void timeFindNextFromStart(benchmark::State& state, Setup& s) {
    for (auto _ : state) {
        state.PauseTiming();
        caretToStart(*s.editor);
        state.ResumeTiming();
        if (!s.bar->findNext())
            state.SkipWithError("not found");
    }
}

void BM_FindNext40MBAway(benchmark::State& state) {
    Setup& s = setup();
    s.bar->FindField->setText(kFar);
    timeFindNextFromStart(state, s);
    if (s.editor->textCursor().selectedText() != kFar)
        state.SkipWithError("the wrong text is selected");
}

// As the bar counts a plain word: the text in one string, searched at once.
void BM_CountCommonWord(benchmark::State& state) {
    Setup& s = setup();
    const textsearch::Matcher matcher(u"日記"_s, {});
    qsizetype count = 0;
    for (auto _ : state) {
        count = matcher.countIn(s.editor->document()->toRawText());
        benchmark::DoNotOptimize(count);
    }
    state.counters["matches"] = double(count);
}

// As the bar counts an expression or a folded pattern: line by line, in steps.
void BM_CountCommonWordByLines(benchmark::State& state) {
    Setup& s = setup();
    const textsearch::Matcher matcher(u"日記"_s, {.foldWidth = true});
    qsizetype count = 0;
    for (auto _ : state) {
        const QString text = s.editor->document()->toRawText();
        const textsearch::TextLines lines(text, s.editor->document()->blockCount(), 0, 0);
        auto line = lines.first();
        count = textsearch::countOn(matcher, lines, line, QDeadlineTimer(QDeadlineTimer::Forever));
        benchmark::DoNotOptimize(count);
    }
    state.counters["matches"] = double(count);
}

// Finding the far text by an expression: the walk of the blocks.
void BM_FindNext40MBAwayByLines(benchmark::State& state) {
    Setup& s = setup();
    s.bar->FindField->setText(u"去年の春の日."_s);
    s.bar->RegularExpression->setChecked(true);
    timeFindNextFromStart(state, s);
    s.bar->RegularExpression->setChecked(false);
}

// The selection that holds exactly 100,000 matches of the word, from the start.
void selectMatches(DiaryEditor& editor, const QString& word, int matches) {
    const textsearch::Matcher matcher(word, {});
    int end = 0;
    for (QTextBlock block = editor.document()->firstBlock(); block.isValid() && matches > 0;
         block = block.next()) {
        for (const textsearch::Match& match : matcher.allIn(block.text())) {
            end = block.position() + int(match.end());
            if (--matches == 0)
                break;
        }
    }
    QTextCursor cursor = editor.textCursor();
    cursor.setPosition(0);
    cursor.setPosition(end, QTextCursor::KeepAnchor);
    editor.setTextCursor(cursor);
}

void BM_ReplaceAll100000(benchmark::State& state) {
    Setup& s = setup();
    s.bar->FindField->setText(u"日記"_s);
    s.bar->ReplaceField->setText(u"日誌"_s);
    double undoMs = 0, replaceCpuMs = 0, undoCpuMs = 0;
    auto cpuMs = [] { return double(std::clock()) * 1000.0 / CLOCKS_PER_SEC; };
    for (auto _ : state) {
        selectMatches(*s.editor, u"日記"_s, 100'000);
        QElapsedTimer timer;
        timer.start();
        double cpu = cpuMs();
        const qsizetype replaced = s.bar->replaceAll();
        state.SetIterationTime(double(timer.nsecsElapsed()) / 1e9);
        replaceCpuMs = std::max(replaceCpuMs, cpuMs() - cpu);
        if (replaced != 100'000)
            state.SkipWithError("not 100,000 replaced");
        timer.restart();
        cpu = cpuMs();
        s.editor->undo();
        undoMs = std::max(undoMs, double(timer.nsecsElapsed()) / 1e6);
        undoCpuMs = std::max(undoCpuMs, cpuMs() - cpu);
        if (s.editor->document()->characterCount() != pageText().size() + 1)
            state.SkipWithError("the undo did not restore the page");
    }
    state.counters["replace_cpu_ms"] = replaceCpuMs;
    state.counters["undo_cpu_ms"] = undoCpuMs;
    state.counters["undo_ms"] = undoMs;
}

void BM_MarksAfterScroll(benchmark::State& state) {
    Setup& s = setup();
    s.bar->FindField->setText(u"日記"_s);
    s.bar->show();
    QScrollBar* bar = s.editor->verticalScrollBar();
    int value = bar->maximum() / 2;
    for (auto _ : state) {
        bar->setValue(value += 20);
        QApplication::processEvents(); // the marks follow the scroll
    }
    state.counters["marks"] = double(s.editor->extraSelections().size());
    s.bar->hide();
}

} // namespace

BENCHMARK(BM_FindNext40MBAway)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_FindNext40MBAwayByLines)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_CountCommonWord)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_CountCommonWordByLines)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_ReplaceAll100000)->Unit(benchmark::kMillisecond)->Iterations(3)->UseManualTime();
BENCHMARK(BM_MarksAfterScroll)->Unit(benchmark::kMicrosecond)->Iterations(200);

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    setup().bar.reset();
    setup().editor.reset();
    return 0;
}
