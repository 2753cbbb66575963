// What the recovery copies cost while the user types in today's body, in the
// real main window (offscreen, in a throw-away home):
//  - BM_Keystroke: one typed character with everything it sets off (the
//    editor's totals, the status panels, the copy's timer), at 1 MB and
//    50 MB of body: it must not grow with the text;
//  - BM_RecoveryHook: the part of a keystroke that is the copy's: the timer
//    started at the first change not in a copy, left running by later ones
//    (a keystroke with copies costs BM_Keystroke, without them BM_Keystroke
//    less this);
//  - BM_CopyTaken: what the window thread does when the timer fires, 9 s
//    after the first change not in a copy, typing or not: it takes the text
//    and queues the write;
//  - BM_CopyWritten: the write itself, on the store's worker thread (text to
//    UTF-8, written and flushed to the disk), at 50 MB.

#include "DiaryPage.h"
#include "app/MainUnit.h"
#include "document/DiaryEditor.h"
#include "platform/ProductionPlatform.h"

#include <QApplication>
#include <QKeyEvent>
#include <QTemporaryDir>
#include <QTextDocument>
#include <benchmark/benchmark.h>
#include <memory>

using namespace Qt::StringLiterals;

namespace {

struct Session {
    QTemporaryDir home;
    std::unique_ptr<ProductionPlatform> production;
    std::unique_ptr<TMainForm> window;
};

Session& session() {
    static Session s;
    return s;
}

// The window with a body of the given size, modified, the caret at its end.
TMainForm& windowWithBody(int megabytes) {
    static int loaded = -1;
    TMainForm& window = *session().window;
    if (loaded != megabytes) {
        window.MToday->loadText(
            sjis::decode(bench::diaryPage(qsizetype(megabytes) * 1024 * 1024), sjis::LineBreaks::CrLf));
        window.MToday->document()->setModified(true);
        window.MToday->moveCursor(QTextCursor::End);
        loaded = megabytes;
    }
    return window;
}

void BM_Keystroke(benchmark::State& state) {
    TMainForm& window = windowWithBody(int(state.range(0)));
    QKeyEvent press(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, u"a"_s);
    QKeyEvent release(QEvent::KeyRelease, Qt::Key_A, Qt::NoModifier, u"a"_s);
    for (auto _ : state) {
        QApplication::sendEvent(window.MToday, &press);
        QApplication::sendEvent(window.MToday, &release);
    }
}

void BM_RecoveryHook(benchmark::State& state) {
    TMainForm& window = windowWithBody(int(state.range(0)));
    // Today's body has no other receiver of this signal.
    for (auto _ : state)
        Q_EMIT window.MToday->textChanged();
}

void BM_CopyTaken(benchmark::State& state) {
    TMainForm& window = windowWithBody(int(state.range(0)));
    RecoveryStore& store = *session().production->platform().recovery;
    for (auto _ : state) {
        // What WriteRecoveryCopy() does on the window thread.
        const QString text = window.MToday->textForSaving();
        store.writeLater(
            RecoveryKind::TodayBody, [text] { return text.toUtf8(); }, RecoverySource{});
        state.PauseTiming();
        store.waitForWrites();
        state.ResumeTiming();
    }
}

void BM_CopyWritten(benchmark::State& state) {
    TMainForm& window = windowWithBody(int(state.range(0)));
    RecoveryStore& store = *session().production->platform().recovery;
    const QString text = window.MToday->textForSaving();
    for (auto _ : state) {
        QString copy = text;
        copy.replace(QChar::ParagraphSeparator, u'\n');
        benchmark::DoNotOptimize(store.write(RecoveryKind::TodayBody, copy.toUtf8(), RecoverySource{}));
    }
}

} // namespace

BENCHMARK(BM_Keystroke)->Arg(1)->Arg(50)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_RecoveryHook)->Arg(1)->Arg(50)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_CopyTaken)->Arg(1)->Arg(50)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CopyWritten)->Arg(50)->Unit(benchmark::kMillisecond)->Iterations(3);

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // Settings, copies and side files in a throw-away home.
    Session& s = session();
    for (const char* folder : {"XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_STATE_HOME"})
        qputenv(folder, s.home.filePath(QString::fromLatin1(folder)).toUtf8());
    QApplication app(argc, argv);
    s.production = std::make_unique<ProductionPlatform>(s.home.filePath(u"oribel"_s), QStringList());
    s.window = std::make_unique<TMainForm>(s.production->platform());
    s.window->show();
    while (!s.window->startupRestored())
        QApplication::processEvents(QEventLoop::AllEvents, 50);

    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    s.window.reset();
    s.production.reset();
    return 0;
}
