// Find and replace on the 50 MB diary page in the document editor, through
// the find bar: the next match when it lies 40 MB after the caret (goal: at
// most 150 ms); counting every match of a common word, the walk the bar's
// stepped count makes (goal: at most 500 ms in all); すべて置換 of 100,000
// matches as one undo step (goal: at most 1.5 s) and its undo (undo_ms, goal:
// at most 1.5 s); and marking the matches on screen after a scroll, which
// must not grow with the page.

#include "BenchEditor.h"
#include "DiaryPage.h"
#include "document/FindBar.h"
#include "platform/SjisCodec.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextCursor>
#include <benchmark/benchmark.h>

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

void caretToStart(DiaryEditor& editor) {
    QTextCursor cursor = editor.textCursor();
    cursor.setPosition(0);
    editor.setTextCursor(cursor);
}

void BM_FindNext40MBAway(benchmark::State& state) {
    Setup& s = setup();
    s.bar->FindField->setText(kFar);
    for (auto _ : state) {
        state.PauseTiming();
        caretToStart(*s.editor);
        state.ResumeTiming();
        if (!s.bar->findNext())
            state.SkipWithError("not found");
    }
    if (s.editor->textCursor().selectedText() != kFar)
        state.SkipWithError("the wrong text is selected");
}

void BM_CountCommonWord(benchmark::State& state) {
    Setup& s = setup();
    const textsearch::Matcher matcher(u"日記"_s, {});
    qsizetype count = 0;
    for (auto _ : state) {
        QTextBlock block = s.editor->document()->firstBlock();
        count = textsearch::countOn(matcher, EditorLines{s.editor->document()}, block,
                                    QDeadlineTimer(QDeadlineTimer::Forever));
        benchmark::DoNotOptimize(count);
    }
    state.counters["matches"] = double(count);
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
    double undoMs = 0;
    for (auto _ : state) {
        selectMatches(*s.editor, u"日記"_s, 100'000);
        QElapsedTimer timer;
        timer.start();
        const qsizetype replaced = s.bar->replaceAll();
        state.SetIterationTime(double(timer.nsecsElapsed()) / 1e9);
        if (replaced != 100'000)
            state.SkipWithError("not 100,000 replaced");
        timer.restart();
        s.editor->undo();
        undoMs = std::max(undoMs, double(timer.nsecsElapsed()) / 1e6);
        if (s.editor->document()->characterCount() != pageText().size() + 1)
            state.SkipWithError("the undo did not restore the page");
    }
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
BENCHMARK(BM_CountCommonWord)->Unit(benchmark::kMillisecond)->Iterations(5);
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
