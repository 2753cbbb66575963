#include "document/DiaryDocument.h"

#include "document/DiaryEditor.h"
#include "document/DocumentHistory.h"
#include "platform/ReportedFile.h"
#include "platform/TextFile.h"
#include "resources/Messages.h"

#include <QApplication>
#include <QDir>
#include <QEventLoop>
#include <QFileInfo>
#include <QTextDocument>
#include <QThread>
#include <QTimer>
#include <exception>

using namespace Qt::StringLiterals;

namespace {
const QString OpenFilter =
    u"HTMLファイル(*.htm,*html)|*.htm;*.html|XMLファイル(*.xml)|*.xml|テキストファイル(*.txt,*.doc)|*.txt;*.doc|すべてのファイル|*.*"_s;
const QString SaveFilter =
    u"HTMLファイル(*.html,*.htm)|*.html;*.htm|XMLファイル(*.xml)|*.xml|テキストファイル(*.txt)|*.txt|すべてのファイル|*.*"_s;
constexpr qsizetype EditorCharacterLimit = 104857600;

// Sizes from which a page is read aside, put in in pieces, and saved aside:
// each takes about a tenth of a second or more there.
constexpr qint64 ReadAsideBytes = 8 * 1024 * 1024;
constexpr qsizetype PieceCharacters = 1024 * 1024;
constexpr qsizetype SaveAsideCharacters = 8 * 1024 * 1024;

// A page read and decoded, or the message saying why not. Runs on any thread.
struct PageRead {
    std::optional<pagecodec::DecodedPage> page;
    QString error;
};

PageRead readPage(const QString& path) {
    // No encoding takes more than three bytes for a character of the text
    // (a byte-order mark aside): a bigger file cannot fit the editor and is
    // refused before it is read.
    const QFileInfo info(path);
    if (info.isFile() && info.size() > 3 * qint64(EditorCharacterLimit) + 3)
        return {std::nullopt, msg::fileTooLarge(path)};
    textfile::FileError error;
    std::optional<QByteArray> bytes = textfile::readBytes(path, error);
    if (!bytes)
        return {std::nullopt, error.readMessage()};
    pagecodec::DecodedPage page = pagecodec::decodePage(*bytes);
    bytes.reset();
    if (page.text.size() > EditorCharacterLimit)
        return {std::nullopt, msg::fileTooLarge(path)};
    return {std::move(page), QString()};
}

} // namespace

// A big page on its way into the editor.
struct DiaryDocument::PageLoad {
    QString path;
    QString text;
    qsizetype done = 0; // characters put in
    QTimer timer;       // one piece per turn of the event loop
};

DiaryDocument::DiaryDocument(DiaryEditor& editor, MessageService& messages, FileDialog& openDialog,
                             FileDialog& saveDialog, AppSet& history, QString programFolder, QObject* parent)
    : QObject(parent), editor_(editor), messages_(messages), openDialog_(openDialog), saveDialog_(saveDialog),
      history_(history), programFolder_(std::move(programFolder)), readAsideBytes_(ReadAsideBytes),
      pieceCharacters_(PieceCharacters), saveAsideCharacters_(SaveAsideCharacters) {
    connect(editor_.document(), &QTextDocument::modificationChanged, this, [this](bool modified) {
        if (!busy_)
            Q_EMIT modificationChanged(modified);
    });
    // Any change of the text offers both save commands again.
    connect(&editor_, &QPlainTextEdit::textChanged, this, [this] {
        if (exists() && !busy_)
            setSaveCommands(true, true);
    });
}

DiaryDocument::~DiaryDocument() {
    // A read under way is waited for: its thread must not outlive the program.
    if (reader_) {
        reader_->disconnect(this);
        reader_->wait();
    }
}

bool DiaryDocument::isModified() const {
    return !busy_ && editor_.document()->isModified();
}

void DiaryDocument::setBigPageSizes(qint64 readAside, qsizetype piece, qsizetype saveAside) {
    readAsideBytes_ = readAside;
    pieceCharacters_ = qMax<qsizetype>(1, piece);
    saveAsideCharacters_ = saveAside;
}

void DiaryDocument::setFormat(const pagecodec::PageFormat& format) {
    const bool changed = format.encoding != format_.encoding || format.bom != format_.bom ||
                         format.lineEnding != format_.lineEnding;
    format_ = format;
    if (changed)
        Q_EMIT formatChanged();
}

void DiaryDocument::setBusy(bool busy) {
    if (busy == busy_)
        return;
    busy_ = busy;
    editor_.setReadOnly(busy || !exists());
    Q_EMIT busyChanged(busy);
}

void DiaryDocument::setSaveCommands(bool save, bool saveAs) {
    if (save == saveEnabled_ && saveAs == saveAsEnabled_)
        return;
    saveEnabled_ = save;
    saveAsEnabled_ = saveAs;
    Q_EMIT saveCommandsChanged();
}

void DiaryDocument::enableSaveCommands() {
    if (exists())
        setSaveCommands(true, true);
}

void DiaryDocument::setName(const QString& name) {
    const DocumentState state = name == u"?"_s ? DocumentState::Unnamed : DocumentState::Named;
    const QString fileName = state == DocumentState::Named ? name : QString();
    const bool stateChanged = state != state_;
    const bool nameChanged = fileName != fileName_;
    state_ = state;
    fileName_ = fileName;
    if (stateChanged)
        Q_EMIT this->stateChanged(state_);
    if (nameChanged || stateChanged)
        Q_EMIT fileNameChanged(fileName_);
}

AskSaveResult DiaryDocument::askSave() {
    // While a page is on its way in there is nothing to save: the question
    // about the page before it came before its open.
    if (!isModified())
        return AskSaveResult::Proceed;
    switch (messages_.show(msg::DocumentNotSaved, msg::AppName, MsgIcon::Question, MsgButtons::YesNoCancel)) {
    case MsgAnswer::Yes:
        return save() == DocumentSaveResult::Cancelled ? AskSaveResult::Cancel : AskSaveResult::Proceed;
    case MsgAnswer::No:
        return AskSaveResult::ProceedUnsaved;
    default:
        return AskSaveResult::Cancel;
    }
}

void DiaryDocument::makeEditable() {
    editor_.setReadOnly(false);
    QPalette palette = editor_.palette();
    palette.setColor(QPalette::Base, QApplication::palette().color(QPalette::Base));
    editor_.setPalette(palette);
}

void DiaryDocument::markLoaded() {
    editor_.document()->setModified(false);
    Q_EMIT loaded();
}

void DiaryDocument::newDocument() {
    if (working() || askSave() == AskSaveResult::Cancel)
        return;
    setName(u"?"_s);
    makeEditable();
    editor_.loadText(QString());
    pagecodec::PageFormat format;
    const QString templatePath = programFolder_ + u"basehtml.txt"_s;
    if (QFileInfo::exists(templatePath) &&
        messages_.show(msg::NewFromTemplate, msg::NewFromTemplateCaption, MsgIcon::Question,
                       MsgButtons::YesNo) == MsgAnswer::Yes) {
        // The page takes the template's form: a template in UTF-8 (that may
        // well declare it) makes a UTF-8 page.
        PageRead read = readPage(templatePath);
        if (read.page) {
            editor_.loadText(read.page->text);
            format = read.page->format;
        } else {
            messages_.show(read.error, msg::AppName, MsgIcon::Error);
        }
    }
    setFormat(format);
    markLoaded();
    setSaveCommands(false, false);
}

void DiaryDocument::openWithDialog() {
    if (working() || askSave() == AskSaveResult::Cancel)
        return;
    openDialog_.title = u"日記HTMLファイルを開く"_s;
    openDialog_.filter = OpenFilter;
    openDialog_.filterIndex = 1;
    openDialog_.initialDir.clear();
    // A name left from an earlier use would take the dialog to that file's
    // folder, even when reading it failed there.
    openDialog_.fileName.clear();
    openDialog_.defaultExt.clear();
    openDialog_.options = FileDialogOption::PathMustExist | FileDialogOption::FileMustExist |
                          FileDialogOption::NoReadOnlyReturn | FileDialogOption::HideReadOnly |
                          FileDialogOption::EnableSizing;
    if (openDialog_.execute() && openFile(openDialog_.fileName))
        openDialog_.remember();
}

bool DiaryDocument::openFile(const QString& path) {
    if (working())
        return false;
    // The file is read first, so a file that cannot be read leaves the text,
    // the name and the state as they were.
    if (QFileInfo(path).size() > readAsideBytes_) {
        readAside(path);
        return true;
    }
    PageRead read = readPage(path);
    if (!read.page) {
        messages_.show(read.error, msg::AppName, MsgIcon::Error);
        return false;
    }
    takePage(path, std::move(*read.page));
    return true;
}

void DiaryDocument::readAside(const QString& path) {
    setBusy(true);
    Q_EMIT loadProgress(0);
    auto read = std::make_shared<PageRead>();
    QThread* reader = QThread::create([read, path] {
        // Nothing may escape a worker thread (it would end the program): a
        // page too big for the memory is reported like any other failure.
        try {
            *read = readPage(path);
        } catch (const std::exception&) {
            *read = PageRead{std::nullopt, msg::UnknownError};
        }
    });
    reader_ = reader;
    connect(reader, &QThread::finished, reader, &QObject::deleteLater);
    connect(reader, &QThread::finished, this, [this, read, path] {
        if (!read->page) {
            setBusy(false);
            messages_.show(read->error, msg::AppName, MsgIcon::Error);
            return;
        }
        takePage(path, std::move(*read->page));
    });
    reader->start();
}

void DiaryDocument::takePage(const QString& path, pagecodec::DecodedPage page) {
    makeEditable();
    setName(path);
    setFormat(page.format);
    if (page.text.size() <= pieceCharacters_) {
        editor_.loadText(page.text);
        finishOpen();
        return;
    }
    // In pieces: the editor holds the new page from now on, read-only until
    // it is all in.
    setBusy(true);
    editor_.setReadOnly(true); // already busy when it was read aside
    load_ = std::make_unique<PageLoad>();
    load_->path = path;
    load_->text = std::move(page.text);
    editor_.beginLoad();
    connect(&load_->timer, &QTimer::timeout, this, &DiaryDocument::putNextPiece);
    load_->timer.start(0);
}

void DiaryDocument::putNextPiece() {
    PageLoad& load = *load_;
    const qsizetype size = load.text.size();
    try {
        if (load.done == size) {
            // A turn of its own, after the status line showed the page all
            // in: a very long line shown at once is laid out here.
            editor_.endLoad();
            load_.reset();
            finishOpen();
            return;
        }
        qsizetype end = size;
        if (size - load.done > pieceCharacters_) {
            // A piece ends after a line break, so that each goes into lines of its own.
            end = load.text.indexOf(u'\n', load.done + pieceCharacters_ - 1);
            end = end < 0 ? size : end + 1;
        }
        editor_.appendLoaded(QStringView(load.text).sliced(load.done, end - load.done));
        load.done = end;
        Q_EMIT loadProgress(int(100 * load.done / size));
    } catch (const std::exception&) {
        abandonLoad();
    }
}

void DiaryDocument::abandonLoad() {
    // The memory ran out half way. The part that came in must never be saved
    // over the page: the editor is emptied and the document has no name.
    const QString path = load_->path;
    load_.reset();
    editor_.endLoad();
    editor_.loadText(QString());
    setName(u"?"_s);
    setFormat(pagecodec::PageFormat{});
    finishOpen();
    const textfile::FileError error{QDir::toNativeSeparators(path), msg::UnknownError};
    messages_.show(error.readMessage(), msg::AppName, MsgIcon::Error);
}

void DiaryDocument::finishOpen() {
    makeEditable();
    setBusy(false);
    markLoaded();
    setSaveCommands(false, saveAsEnabled_);
}

void DiaryDocument::openHistoryEntry(int index) {
    if (working())
        return;
    const QString path = index == 0   ? history_.FileHistory1
                         : index == 1 ? history_.FileHistory2
                         : index == 2 ? history_.FileHistory3
                                      : history_.AlwaysOpenHtml;
    if (askSave() == AskSaveResult::Cancel)
        return;
    const textfile::FileKind kind = textfile::fileKind(path);
    if (kind == textfile::FileKind::Regular)
        openFile(path);
    else if (kind == textfile::FileKind::Missing)
        messages_.show(msg::historyFileMissing(path), msg::CannotOpenCaption, MsgIcon::Error);
    else
        messages_.show(msg::historyFileNotRegular(path, textfile::notRegularReason(kind)),
                       msg::CannotOpenCaption, MsgIcon::Error);
}

void DiaryDocument::openProjectFile(const QString& path) {
    // Like every other open, a project item asks before unsaved work is replaced.
    if (working() || askSave() == AskSaveResult::Cancel)
        return;
    openFile(path);
}

bool DiaryDocument::write(const QString& path) {
    const QString text = editor_.textForSaving();
    const pagecodec::PageFormat format = format_;
    textfile::FileError error;
    bool written = false;
    if (text.size() <= saveAsideCharacters_) {
        written = textfile::writeBytes(path, pagecodec::encodePage(text, format), error);
    } else {
        // A big page is written on a worker thread; the window paints and says
        // so meanwhile, and the user's input waits until it is on the disk.
        saving_ = true;
        Q_EMIT saving(true);
        QEventLoop wait;
        QThread* writer = QThread::create([&] {
            try {
                written = textfile::writeBytes(path, pagecodec::encodePage(text, format), error);
            } catch (const std::exception&) {
                error = {QDir::toNativeSeparators(path), msg::UnknownError};
            }
        });
        connect(writer, &QThread::finished, &wait, &QEventLoop::quit);
        writer->start();
        wait.exec(QEventLoop::ExcludeUserInputEvents);
        writer->wait();
        delete writer;
        saving_ = false;
        Q_EMIT saving(false);
    }
    if (!written)
        messages_.show(error.writeMessage(), msg::AppName, MsgIcon::Error);
    return written;
}

DocumentSaveResult DiaryDocument::save() {
    if (working())
        return DocumentSaveResult::Cancelled;
    if (fileName_.isEmpty())
        return saveAs();
    if (!write(fileName_))
        return DocumentSaveResult::Cancelled;
    markSaved();
    return DocumentSaveResult::Saved;
}

DocumentSaveResult DiaryDocument::saveAs() {
    if (working())
        return DocumentSaveResult::Cancelled;
    saveDialog_.title = u"日記HTMLファイルを保存"_s;
    saveDialog_.filter = SaveFilter;
    saveDialog_.filterIndex = 1;
    saveDialog_.initialDir.clear();
    saveDialog_.fileName.clear(); // as for the open dialog
    saveDialog_.defaultExt = u"htm"_s;
    saveDialog_.options = FileDialogOption::OverwritePrompt | FileDialogOption::PathMustExist |
                          FileDialogOption::NoReadOnlyReturn | FileDialogOption::HideReadOnly |
                          FileDialogOption::EnableSizing;
    if (!saveDialog_.execute())
        return DocumentSaveResult::Cancelled;
    const QString path = saveDialog_.fileName;
    if (!write(path))
        return DocumentSaveResult::Cancelled;
    saveDialog_.remember();
    setName(path);
    markSaved();
    return DocumentSaveResult::Saved;
}

void DiaryDocument::markSaved() {
    editor_.document()->setModified(false);
    setSaveCommands(false, false);
    PushHistory(history_, fileName_);
    Q_EMIT saved();
}

void DiaryDocument::restore(const QString& path, const QString& text) {
    if (working())
        return;
    // The restored text goes back into the page in the form the page has on
    // disk (its encoding, line endings and codes); the page's own text is not
    // loaded, so a big page cannot come in later over the restored text.
    pagecodec::PageFormat format;
    if (textfile::fileKind(path) == textfile::FileKind::Regular) {
        if (PageRead read = readPage(path); read.page)
            format = read.page->format;
    }
    makeEditable();
    setName(path.isEmpty() ? u"?"_s : path);
    setFormat(format);
    editor_.loadText(text);
    markLoaded();
    editor_.document()->setModified(true);
    setSaveCommands(true, true);
}
