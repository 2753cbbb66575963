// The whole-file tab's document commands: they run the diary document's
// operations; the window shows its name and form and refreshes its commands
// when it changes, and shows in the status line how a big page comes in or is
// written. Also the history menus.

#include "app/MainUnit.h"

#include "document/DiaryEditor.h"
#include "resources/Messages.h"

#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QTimer>
#include <QToolButton>

using namespace Qt::StringLiterals;

void TMainForm::ConnectDocumentCommands() {
    connect(NewAction, &QAction::triggered, document_, &DiaryDocument::newDocument);
    connect(OpenAction, &QAction::triggered, document_, &DiaryDocument::openWithDialog);
    connect(SaveAction, &QAction::triggered, document_, [this] { document_->save(); });
    connect(SaveAsAction, &QAction::triggered, document_, [this] { document_->saveAs(); });
    const QAction* const historyItems[] = {FileHist1,  FileHist2,  FileHist3,
                                           PopupHist1, PopupHist2, PopupHist3};
    for (int i = 0; i < 6; ++i)
        connect(historyItems[i], &QAction::triggered, this,
                [this, i] { document_->openHistoryEntry(i % 3); });
    connect(MenuFile, &QMenu::aboutToShow, this, &TMainForm::MenuFileClick);
    connect(PopupHistry, &QMenu::aboutToShow, this, &TMainForm::PopupHistryPopup);
    connect(BtnHistory, &QToolButton::clicked, this, &TMainForm::BtnHistoryClick);

    connect(document_, &DiaryDocument::fileNameChanged, this, &TMainForm::ShowDocumentName);
    connect(document_, &DiaryDocument::formatChanged, this, &TMainForm::ShowDocumentName);
    connect(document_, &DiaryDocument::busyChanged, this, &TMainForm::ShowDocumentBusy);
    connect(document_, &DiaryDocument::loadProgress, this,
            [this](int percent) { PanelStatusRsm->setText(msg::pageLoading(percent)); });
    connect(document_, &DiaryDocument::saving, this, [this](bool on) {
        if (on) {
            PanelStatusRsm->setText(msg::PageSaving);
            return;
        }
        PanelStatusRsm->clear();
        if (closeAfterSave_) {
            closeAfterSave_ = false;
            QTimer::singleShot(0, this, &QWidget::close);
        }
    });
    connect(document_, &DiaryDocument::stateChanged, this, &TMainForm::UpdateCommandStates);
    connect(document_, &DiaryDocument::saveCommandsChanged, this, &TMainForm::UpdateCommandStates);
    connect(document_, &DiaryDocument::loaded, this, &TMainForm::UpdatePageState);
}

void TMainForm::SetDocumentName(const QString& name) {
    document_->setName(name);
}

void TMainForm::OpenProjectFile(const QString& path) {
    document_->openProjectFile(path);
}

namespace {

QString pageFormText(const pagecodec::PageFormat& format) {
    const QString encoding = format.encoding == pagecodec::PageEncoding::Cp932 ? msg::PageEncodingCp932
                             : format.bom                                      ? msg::PageEncodingUtf8Bom
                                                                               : msg::PageEncodingUtf8;
    const QString ending = format.lineEnding == pagecodec::LineEnding::CrLf ? msg::LineEndingCrLf
                           : format.lineEnding == pagecodec::LineEnding::Lf ? msg::LineEndingLf
                                                                            : msg::LineEndingCr;
    return msg::pageForm(encoding, ending);
}

} // namespace

void TMainForm::ShowDocumentBusy(bool busy) {
    UpdateCommandStates();
    if (!busy)
        RefreshStatus(StatusTab::Document);
}

void TMainForm::ShowDocumentName() {
    PanelFileForm->setText(document_->exists() ? pageFormText(document_->format()) : QString());
    switch (document_->state()) {
    case DocumentState::None:
        PanelFileName->setText(u"None."_s);
        break;
    case DocumentState::Unnamed:
        PanelFileName->setText(u"New File."_s);
        break;
    case DocumentState::Named:
        PanelFileName->setText(document_->fileName());
        break;
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
