// The diary document on the whole-file tab: its three states (no document,
// unnamed, named), the unsaved-changes question, new, open, save, save as,
// and the history of the last three saved files.

#include "app/MainUnit.h"

#include "document/DiaryEditor.h"
#include "document/DocumentHistory.h"
#include "platform/TextFile.h"
#include "resources/Messages.h"

#include <QAction>
#include <QApplication>
#include <QFileInfo>
#include <QLabel>
#include <QMenu>
#include <QTabWidget>
#include <QTextDocument>
#include <QToolButton>

using namespace Qt::StringLiterals;

namespace {
const QString OpenFilter =
    u"HTMLファイル(*.htm,*html)|*.htm;*.html|XMLファイル(*.xml)|*.xml|テキストファイル(*.txt,*.doc)|*.txt;*.doc|すべてのファイル|*.*"_s;
const QString SaveFilter =
    u"HTMLファイル(*.html,*.htm)|*.html;*.htm|XMLファイル(*.xml)|*.xml|テキストファイル(*.txt)|*.txt|すべてのファイル|*.*"_s;
constexpr qsizetype EditorCharacterLimit = 104857600;
} // namespace

void TMainForm::SetDocumentName(const QString& name) {
    if (name == u"?"_s) {
        DocumentFileName.clear();
        PanelFileName->setText(u"New File."_s);
    } else {
        DocumentFileName = name;
        PanelFileName->setText(name);
    }
}

AskSaveResult TMainForm::AskSaveDocument() {
    if (!RAll->document()->isModified())
        return AskSaveResult::Proceed;
    switch (platform_.messages->show(msg::DocumentNotSaved, msg::AppName, MsgIcon::Question,
                                     MsgButtons::YesNoCancel)) {
    case MsgAnswer::Yes:
        return SaveDocument() == DocumentSaveResult::Cancelled ? AskSaveResult::Cancel
                                                               : AskSaveResult::Proceed;
    case MsgAnswer::No:
        return AskSaveResult::ProceedUnsaved;
    default:
        return AskSaveResult::Cancel;
    }
}

void TMainForm::MakeDocumentEditable() {
    RAll->setReadOnly(false);
    QPalette palette = RAll->palette();
    palette.setColor(QPalette::Base, QApplication::palette().color(QPalette::Base));
    RAll->setPalette(palette);
}

void TMainForm::NewActionExecute() {
    if (AskSaveDocument() == AskSaveResult::Cancel)
        return;
    SetDocumentName(u"?"_s);
    MakeDocumentEditable();
    RAll->loadText(QString());
    const QString templatePath = ProgramFolder + u"basehtml.txt"_s;
    if (QFileInfo::exists(templatePath) &&
        platform_.messages->show(msg::NewFromTemplate, msg::NewFromTemplateCaption, MsgIcon::Question,
                                 MsgButtons::YesNo) == MsgAnswer::Yes) {
        QString error;
        if (const std::optional<QString> text = textfile::read(templatePath, &error))
            RAll->loadText(*text);
        else
            platform_.messages->show(error, msg::AppName, MsgIcon::Error);
    }
    MarkDocumentLoaded();
    SaveAction->setEnabled(false);
    SaveAsAction->setEnabled(false);
}

void TMainForm::OpenActionExecute() {
    if (AskSaveDocument() == AskSaveResult::Cancel)
        return;
    OpenDialog.title = u"日記HTMLファイルを開く"_s;
    OpenDialog.filter = OpenFilter;
    OpenDialog.filterIndex = 1;
    OpenDialog.initialDir.clear();
    OpenDialog.defaultExt.clear();
    OpenDialog.options = FileDialogOption::PathMustExist | FileDialogOption::FileMustExist |
                         FileDialogOption::NoReadOnlyReturn | FileDialogOption::HideReadOnly |
                         FileDialogOption::EnableSizing;
    if (OpenDialog.execute())
        OpenDocumentFile(OpenDialog.fileName);
}

bool TMainForm::OpenDocumentFile(const QString& path) {
    // The file is read first, so a file that cannot be read leaves the text, the
    // name and the panel as they were.
    QString error;
    const std::optional<QString> text = textfile::read(path, &error);
    if (!text) {
        platform_.messages->show(error, msg::AppName, MsgIcon::Error);
        return false;
    }
    if (text->size() > EditorCharacterLimit) {
        platform_.messages->show(msg::fileTooLarge(path), msg::AppName, MsgIcon::Error);
        return false;
    }
    MakeDocumentEditable();
    RAll->loadText(*text);
    SetDocumentName(path);
    if (!TodayTabShown())
        RAll->setFocus();
    MarkDocumentLoaded();
    SaveAction->setEnabled(false);
    return true;
}

void TMainForm::OpenHistoryFile(int index) {
    const QString path = index == 0   ? appSet.FileHistory1
                         : index == 1 ? appSet.FileHistory2
                         : index == 2 ? appSet.FileHistory3
                                      : appSet.AlwaysOpenHtml;
    if (AskSaveDocument() == AskSaveResult::Cancel)
        return;
    if (QFileInfo(path).isFile())
        OpenDocumentFile(path);
    else
        platform_.messages->show(msg::historyFileMissing(path), msg::CannotOpenCaption, MsgIcon::Error);
}

void TMainForm::OpenProjectFile(const QString& path) {
    // Like every other open, a project item asks before unsaved work is replaced.
    if (AskSaveDocument() == AskSaveResult::Cancel)
        return;
    OpenDocumentFile(path);
}

bool TMainForm::WriteDocument(const QString& path) {
    QString error;
    if (textfile::write(path, RAll->textForSaving(), &error))
        return true;
    platform_.messages->show(error, msg::AppName, MsgIcon::Error);
    return false;
}

DocumentSaveResult TMainForm::SaveDocument() {
    if (DocumentFileName.isEmpty())
        return SaveDocumentAs();
    if (!WriteDocument(DocumentFileName))
        return DocumentSaveResult::Cancelled;
    MarkDocumentSaved();
    return DocumentSaveResult::Saved;
}

DocumentSaveResult TMainForm::SaveDocumentAs() {
    SaveDialog.title = u"日記HTMLファイルを保存"_s;
    SaveDialog.filter = SaveFilter;
    SaveDialog.filterIndex = 1;
    SaveDialog.initialDir.clear();
    SaveDialog.defaultExt = u"htm"_s;
    SaveDialog.options = FileDialogOption::OverwritePrompt | FileDialogOption::PathMustExist |
                         FileDialogOption::NoReadOnlyReturn | FileDialogOption::HideReadOnly |
                         FileDialogOption::EnableSizing;
    if (!SaveDialog.execute())
        return DocumentSaveResult::Cancelled;
    const QString path = SaveDialog.fileName;
    if (!WriteDocument(path))
        return DocumentSaveResult::Cancelled;
    SetDocumentName(path);
    MarkDocumentSaved();
    return DocumentSaveResult::Saved;
}

void TMainForm::MarkDocumentLoaded() {
    RAll->document()->setModified(false);
    UpdatePageState();
}

void TMainForm::MarkDocumentSaved() {
    RAll->document()->setModified(false);
    SaveAction->setEnabled(false);
    SaveAsAction->setEnabled(false);
    PushHistory(appSet, DocumentFileName);
}

void TMainForm::RAllChange() {
    if (HasDocument()) {
        SaveAction->setEnabled(true);
        SaveAsAction->setEnabled(true);
    }
}

void TMainForm::MenuFileClick() {
    if (TodayTabShown())
        return;
    const QString* history[] = {&appSet.FileHistory1, &appSet.FileHistory2, &appSet.FileHistory3};
    QAction* items[] = {FileHist1, FileHist2, FileHist3};
    for (int i = 0; i < 3; ++i) {
        items[i]->setEnabled(false);
        if (history[i]->isEmpty())
            continue;
        // A "&" in a path is shown as itself, not as an accelerator.
        QString path = *history[i];
        path.replace(u'&', u"&&"_s);
        items[i]->setText(u'&' + QString::number(i + 1) + u' ' + path);
        items[i]->setEnabled(true);
    }
}

void TMainForm::PopupHistryPopup() {
    MenuFileClick();
    const QAction* items[] = {FileHist1, FileHist2, FileHist3};
    QAction* popup[] = {PopupHist1, PopupHist2, PopupHist3};
    for (int i = 0; i < 3; ++i) {
        popup[i]->setText(items[i]->text());
        popup[i]->setEnabled(items[i]->isEnabled());
    }
}

void TMainForm::BtnHistoryClick() {
    PopupHistry->popup(frameGeometry().topLeft() + QPoint(109, 95));
}
