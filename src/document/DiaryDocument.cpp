#include "document/DiaryDocument.h"

#include "document/DiaryEditor.h"
#include "document/DocumentHistory.h"
#include "platform/ReportedFile.h"
#include "platform/TextFile.h"
#include "resources/Messages.h"

#include <QApplication>
#include <QFileInfo>
#include <QTextDocument>

using namespace Qt::StringLiterals;

namespace {
const QString OpenFilter =
    u"HTMLファイル(*.htm,*html)|*.htm;*.html|XMLファイル(*.xml)|*.xml|テキストファイル(*.txt,*.doc)|*.txt;*.doc|すべてのファイル|*.*"_s;
const QString SaveFilter =
    u"HTMLファイル(*.html,*.htm)|*.html;*.htm|XMLファイル(*.xml)|*.xml|テキストファイル(*.txt)|*.txt|すべてのファイル|*.*"_s;
constexpr qsizetype EditorCharacterLimit = 104857600;
} // namespace

DiaryDocument::DiaryDocument(DiaryEditor& editor, MessageService& messages, FileDialog& openDialog,
                             FileDialog& saveDialog, AppSet& history, QString programFolder, QObject* parent)
    : QObject(parent), editor_(editor), messages_(messages), openDialog_(openDialog), saveDialog_(saveDialog),
      history_(history), programFolder_(std::move(programFolder)) {
    connect(editor_.document(), &QTextDocument::modificationChanged, this,
            &DiaryDocument::modificationChanged);
    // Any change of the text offers both save commands again.
    connect(&editor_, &QPlainTextEdit::textChanged, this, [this] {
        if (exists())
            setSaveCommands(true, true);
    });
}

bool DiaryDocument::isModified() const {
    return editor_.document()->isModified();
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
    if (askSave() == AskSaveResult::Cancel)
        return;
    setName(u"?"_s);
    makeEditable();
    editor_.loadText(QString());
    const QString templatePath = programFolder_ + u"basehtml.txt"_s;
    if (QFileInfo::exists(templatePath) &&
        messages_.show(msg::NewFromTemplate, msg::NewFromTemplateCaption, MsgIcon::Question,
                       MsgButtons::YesNo) == MsgAnswer::Yes) {
        if (const std::optional<QString> text = readTextReporting(templatePath, messages_))
            editor_.loadText(*text);
    }
    markLoaded();
    setSaveCommands(false, false);
}

void DiaryDocument::openWithDialog() {
    if (askSave() == AskSaveResult::Cancel)
        return;
    openDialog_.title = u"日記HTMLファイルを開く"_s;
    openDialog_.filter = OpenFilter;
    openDialog_.filterIndex = 1;
    openDialog_.initialDir.clear();
    openDialog_.defaultExt.clear();
    openDialog_.options = FileDialogOption::PathMustExist | FileDialogOption::FileMustExist |
                          FileDialogOption::NoReadOnlyReturn | FileDialogOption::HideReadOnly |
                          FileDialogOption::EnableSizing;
    if (openDialog_.execute())
        openFile(openDialog_.fileName);
}

bool DiaryDocument::openFile(const QString& path) {
    // The file is read first, so a file that cannot be read leaves the text,
    // the name and the state as they were.
    const std::optional<QString> text = readTextReporting(path, messages_);
    if (!text)
        return false;
    if (text->size() > EditorCharacterLimit) {
        messages_.show(msg::fileTooLarge(path), msg::AppName, MsgIcon::Error);
        return false;
    }
    makeEditable();
    editor_.loadText(*text);
    setName(path);
    markLoaded();
    setSaveCommands(false, saveAsEnabled_);
    return true;
}

void DiaryDocument::openHistoryEntry(int index) {
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
    if (askSave() == AskSaveResult::Cancel)
        return;
    openFile(path);
}

bool DiaryDocument::write(const QString& path) {
    return writeTextReporting(path, editor_.textForSaving(), messages_);
}

DocumentSaveResult DiaryDocument::save() {
    if (fileName_.isEmpty())
        return saveAs();
    if (!write(fileName_))
        return DocumentSaveResult::Cancelled;
    markSaved();
    return DocumentSaveResult::Saved;
}

DocumentSaveResult DiaryDocument::saveAs() {
    saveDialog_.title = u"日記HTMLファイルを保存"_s;
    saveDialog_.filter = SaveFilter;
    saveDialog_.filterIndex = 1;
    saveDialog_.initialDir.clear();
    saveDialog_.defaultExt = u"htm"_s;
    saveDialog_.options = FileDialogOption::OverwritePrompt | FileDialogOption::PathMustExist |
                          FileDialogOption::NoReadOnlyReturn | FileDialogOption::HideReadOnly |
                          FileDialogOption::EnableSizing;
    if (!saveDialog_.execute())
        return DocumentSaveResult::Cancelled;
    const QString path = saveDialog_.fileName;
    if (!write(path))
        return DocumentSaveResult::Cancelled;
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
    const bool opened = textfile::fileKind(path) == textfile::FileKind::Regular && openFile(path);
    if (!opened) {
        setName(path.isEmpty() ? u"?"_s : path);
        makeEditable();
    }
    editor_.loadText(text);
    if (!opened)
        markLoaded();
    editor_.document()->setModified(true);
    setSaveCommands(true, true);
}
