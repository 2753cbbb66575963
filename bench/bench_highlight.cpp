// Tag highlighting (Ctrl+Space) of a diary page in the document editor: the
// highlighting itself with the paint that follows, at 1 MB and 50 MB (goal:
// at most 1 s at 50 MB); a caret move and a one-character edit with the
// status refresh they cause, on a page without and with highlighting (goal:
// the same cost); scrolling a page down with its paint, without and with
// highlighting (the colours reach blocks as they are painted); a paste of
// 1 MB into the page with the paint after it, without and with highlighting
// (the difference is the recolouring, goal: at most 100 ms); and the memory
// highlighting adds at 50 MB (goal: at most 100 MB). On the highlighted page
// the colours follow the edits, so the edit figures are a keystroke in a
// coloured page (goal: at most twice the plain one).
//
// Memory: run BM_HighlightMemory alone in a fresh process,
//   bench_highlight --benchmark_filter=BM_HighlightMemory
// added_MB is what the process holds more after the highlighting than before,
// peak_added_MB the highest it reached during the highlighting above that.

#include "BenchEditor.h"
#include "DiaryPage.h"
#include "platform/SjisCodec.h"

#include <QApplication>
#include <QFile>
#include <QKeyEvent>
#include <QTextCursor>
#include <benchmark/benchmark.h>
#include <map>

using namespace Qt::StringLiterals;

namespace {

const QString& pageText(int megabytes) {
    static std::map<int, QString> texts;
    QString& text = texts[megabytes];
    if (text.isEmpty())
        text = sjis::decode(bench::diaryPage(qsizetype(megabytes) * 1024 * 1024), sjis::LineBreaks::CrLf);
    return text;
}

// A field of /proc/self/status ("VmRSS", "VmHWM") in megabytes.
double statusMegabytes(const char* field) {
    QFile status(u"/proc/self/status"_s);
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
    QFile clearRefs(u"/proc/self/clear_refs"_s);
    if (clearRefs.open(QIODevice::WriteOnly))
        clearRefs.write("5");
    return statusMegabytes("VmRSS");
}

std::unique_ptr<DiaryEditor> loadedEditor(int megabytes) {
    return bench::editorWith(pageText(megabytes));
}

DiaryEditor& cachedEditor(int megabytes) {
    auto& editor = bench::editorCache()[megabytes];
    if (!editor)
        editor = loadedEditor(megabytes);
    return *editor;
}

// The 50 MB page of the caret, edit and scroll figures: the same editor
// first plain, then highlighted, so the two figures differ by nothing else.
bool pageHighlighted = false;

DiaryEditor* pageEditor(benchmark::State& state) {
    DiaryEditor& editor = cachedEditor(50);
    const bool highlighted = state.range(0) != 0;
    if (pageHighlighted && !highlighted) {
        state.SkipWithError("the page is highlighted already: plain figures run first");
        return nullptr;
    }
    if (highlighted && !pageHighlighted) {
        editor.highlightTags();
        QApplication::processEvents();
        pageHighlighted = true;
    }
    return &editor;
}

void BM_Highlight(benchmark::State& state) {
    auto editor = loadedEditor(int(state.range(0)));
    for (auto _ : state) {
        editor->highlightTags();
        QApplication::processEvents(); // the paint that shows the colours
    }
}

void BM_HighlightMemory(benchmark::State& state) {
    auto editor = loadedEditor(50);
    const double before = resetPeakRss();
    for (auto _ : state) {
        editor->highlightTags();
        QApplication::processEvents();
    }
    state.counters["added_MB"] = statusMegabytes("VmRSS") - before;
    state.counters["peak_added_MB"] = statusMegabytes("VmHWM") - before;
}

void BM_CaretMove(benchmark::State& state) {
    DiaryEditor* page = pageEditor(state);
    if (!page)
        return;
    DiaryEditor& editor = *page;
    bool down = true;
    for (auto _ : state)
        bench::moveCaretOnce(editor, down);
}

void BM_OneCharacterEdit(benchmark::State& state) {
    DiaryEditor* page = pageEditor(state);
    if (!page)
        return;
    DiaryEditor& editor = *page;
    bool insert = true;
    int edits = 0;
    for (auto _ : state) {
        bench::editOnce(editor, insert);
        if (++edits % 16 == 0) {
            // The events a typing user's program handles between keys (font
            // cache upkeep among them); without them long runs slow down, a
            // coloured page after some thousand edits (every 256 edits was
            // too seldom there: 20 ms a key instead of 0.1 ms).
            state.PauseTiming();
            QApplication::processEvents();
            state.ResumeTiming();
        }
    }
}

// Page Down with the paint it causes; the highlighted page colours the
// blocks that come into view.
void BM_PageDownAndPaint(benchmark::State& state) {
    DiaryEditor* page = pageEditor(state);
    if (!page)
        return;
    DiaryEditor& editor = *page;
    for (auto _ : state) {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_PageDown, Qt::NoModifier);
        QApplication::sendEvent(&editor, &press);
        editor.viewport()->repaint();
    }
}

// 1 MB of the page pasted at the caret, with the paint that shows it; undone
// outside the timing.
void BM_PasteOneMegabyte(benchmark::State& state) {
    DiaryEditor* page = pageEditor(state);
    if (!page)
        return;
    DiaryEditor& editor = *page;
    const QString& piece = pageText(1);
    for (auto _ : state) {
        QTextCursor cursor = editor.textCursor();
        cursor.insertText(piece);
        editor.viewport()->repaint();
        state.PauseTiming();
        editor.undo();
        QApplication::processEvents();
        state.ResumeTiming();
    }
}

} // namespace

BENCHMARK(BM_Highlight)->Arg(1)->Arg(50)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_HighlightMemory)->Unit(benchmark::kMillisecond)->Iterations(1);
// Plain first, then highlighted (see pageEditor).
BENCHMARK(BM_CaretMove)->ArgName("highlighted")->Arg(0)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_OneCharacterEdit)->ArgName("highlighted")->Arg(0)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_PageDownAndPaint)
    ->ArgName("highlighted")
    ->Arg(0)
    ->Unit(benchmark::kMicrosecond)
    ->Iterations(2000);
BENCHMARK(BM_PasteOneMegabyte)->ArgName("highlighted")->Arg(0)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_CaretMove)->ArgName("highlighted")->Arg(1)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_OneCharacterEdit)->ArgName("highlighted")->Arg(1)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_PageDownAndPaint)
    ->ArgName("highlighted")
    ->Arg(1)
    ->Unit(benchmark::kMicrosecond)
    ->Iterations(2000);

BENCHMARK(BM_PasteOneMegabyte)->ArgName("highlighted")->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(5);

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    bench::editorCache().clear();
    return 0;
}
