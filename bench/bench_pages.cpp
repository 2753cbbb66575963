// Pages opened and saved through the diary document, in a shown editor with
// the paints that follow: a 50 MB page in CP932 and the same page in UTF-8
// (the UTF-8 one must open as fast), and a 10 MB page that is one single line
// (a packed page, as some site tools write them).
//
// Each open runs until the page is in the editor and painted; a save until the
// file is on disk. CPU time counts: on a shared machine the wall time waits
// for the other programs.
//
// Peak memory of one open: run it alone in a fresh process,
//   bench_pages --benchmark_filter='BM_OpenPage/0' --benchmark_repetitions=1
// and read the peak_rss_MB counter.

#include "DiaryPage.h"
#include "document/DiaryDocument.h"
#include "document/DiaryEditor.h"
#include "platform/PageCodec.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTextDocument>
#include <benchmark/benchmark.h>
#include <map>
#include <memory>
#include <sys/resource.h>

using namespace Qt::StringLiterals;

namespace {

constexpr qsizetype kMegabyte = 1024 * 1024;

QTemporaryDir& folder() {
    static QTemporaryDir dir;
    return dir;
}

double peakRssMegabytes() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return double(usage.ru_maxrss) / 1024.0;
}

enum class Page { Cp932 = 0, Utf8 = 1, SingleLine = 2 };

QByteArray pageBytes(Page page) {
    switch (page) {
    case Page::Cp932:
        return bench::diaryPage(50 * kMegabyte);
    case Page::Utf8:
        return bench::utf8DiaryPage(50 * kMegabyte);
    case Page::SingleLine:
        return bench::singleLineDiaryPage(10 * kMegabyte);
    }
    return {};
}

// The page written once to a file.
QString pageFile(Page page) {
    static std::map<Page, QString> files;
    if (const auto found = files.find(page); found != files.end())
        return found->second;
    const QString path = folder().filePath(u"page%1.htm"_s.arg(int(page)));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(pageBytes(page)) < 0)
        qFatal("cannot write the page");
    file.close();
    files[page] = path;
    return path;
}

class NoMessages : public MessageService {
public:
    using MessageService::show;
    MsgAnswer show(const MessageRequest& request) override {
        shown = request.text;
        return MsgAnswer::No;
    }
    QString shown;
};

class NoDialogs : public FileDialogRunner {
public:
    bool run(FileDialog&) override { return false; }
    void rememberFolderOf(const QString&) override {}
};

// A shown editor with its document, as the window holds them.
struct Window {
    Window() : openDialog(FileDialogKind::Open, &dialogs), saveDialog(FileDialogKind::Save, &dialogs) {
        // The document editor's font as the window sets it by default.
        QFont font(QStringList{u"ＭＳ ゴシック"_s, u"Noto Sans Mono CJK JP"_s, u"IPAGothic"_s,
                               u"Noto Sans CJK JP"_s, u"monospace"_s});
        font.setPointSize(10);
        editor.setFont(font);
        editor.resize(800, 600);
        editor.show();
        QApplication::processEvents();
    }
    // Opens path and lets the editor paint; false when the page did not open.
    bool open(const QString& path) {
        const bool opened = document.openFile(path);
        while (document.isBusy())
            QApplication::processEvents(QEventLoop::WaitForMoreEvents);
        QApplication::processEvents();
        return opened && document.fileName() == path;
    }

    NoMessages messages;
    NoDialogs dialogs;
    FileDialog openDialog, saveDialog;
    AppSet history;
    DiaryEditor editor;
    DiaryDocument document{editor, messages, openDialog, saveDialog, history, folder().path() + u'/'};
};

void BM_OpenPage(benchmark::State& state) {
    const QString path = pageFile(Page(state.range(0)));
    for (auto _ : state) {
        state.PauseTiming();
        auto window = std::make_unique<Window>();
        state.ResumeTiming();
        if (!window->open(path)) {
            state.SkipWithError("the page did not open");
            return;
        }
        state.PauseTiming();
        window.reset();
        state.ResumeTiming();
    }
    state.SetBytesProcessed(state.iterations() * QFileInfo(path).size());
    state.counters["peak_rss_MB"] = peakRssMegabytes();
}

void BM_SavePage(benchmark::State& state) {
    const QString path = pageFile(Page(state.range(0)));
    Window window;
    if (!window.open(path)) {
        state.SkipWithError("the page did not open");
        return;
    }
    const QString copy = folder().filePath(u"saved%1.htm"_s.arg(state.range(0)));
    QFile::remove(copy);
    if (!QFile::copy(path, copy) || !window.open(copy)) {
        state.SkipWithError("the copy did not open");
        return;
    }
    for (auto _ : state) {
        if (window.document.save() != DocumentSaveResult::Saved) {
            state.SkipWithError("cannot save");
            return;
        }
        QApplication::processEvents();
    }
    state.SetBytesProcessed(state.iterations() * QFileInfo(copy).size());
}

} // namespace

BENCHMARK(BM_OpenPage)
    ->ArgName("page")
    ->Arg(int(Page::Cp932))
    ->Arg(int(Page::Utf8))
    ->Arg(int(Page::SingleLine))
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);
BENCHMARK(BM_SavePage)
    ->ArgName("page")
    ->Arg(int(Page::Cp932))
    ->Arg(int(Page::Utf8))
    ->Arg(int(Page::SingleLine))
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
