// The Help menu: the about window, the manual (local and online) and the
// removal of every setting.

#include "app/HelpUnit.h"
#include "app/MainUnit.h"
#include "document/DiaryEditor.h"
#include "resources/AuthorAddresses.h"
#include "resources/Messages.h"
#include "settings/SettingsStore.h"

#include <QAction>
#include <QFileInfo>
#include <QPushButton>

using namespace Qt::StringLiterals;

void TMainForm::ConnectHelpCommands() {
    connect(BtnHelp, &QPushButton::clicked, this, &TMainForm::HelpManClick);
    connect(HelpAction, &QAction::triggered, this, &TMainForm::HelpActionExecute);
    connect(HelpMan, &QAction::triggered, this, &TMainForm::HelpManClick);
    connect(HelpFaq, &QAction::triggered, this, &TMainForm::HelpFaqClick);
    connect(HelpUninstall, &QAction::triggered, this, &TMainForm::HelpUninstallClick);
}

void TMainForm::HelpManClick() {
    const QString manual = programFolder_ + u"Pagora.chm"_s;
    if (QFileInfo::exists(manual)) {
        platform_.shell->open(manual);
        return;
    }
    platform_.messages->show(msg::ManualNotFound, msg::ManualNotFoundCaption, MsgIcon::Error);
    HelpActionExecute();
}

void TMainForm::HelpFaqClick() {
    const QString manual = AuthorAddresses::builtIn().manualUrl();
    if (manual.isEmpty()) {
        platform_.messages->show(msg::NoAuthorSite, msg::AppTitle, MsgIcon::Information);
        return;
    }
    platform_.shell->open(manual);
}

void TMainForm::HelpUninstallClick() {
    if (platform_.messages->show(msg::UninstallConfirm, msg::UninstallConfirmCaption, MsgIcon::Warning,
                                 MsgButtons::YesNo, MsgAnswer::No) != MsgAnswer::Yes)
        return;
    ClearSettings(*platform_.registry);
    platform_.messages->show(msg::UninstallDone, msg::UninstallDoneCaption, MsgIcon::Information);
    settingsCleared_ = true;
    close();
}

void TMainForm::HelpActionExecute() {
    THelpForm about(
        platform_, appSet, debugMode_, [this] { HelpManClick(); }, this);
    about.exec();
    FocusShownEditor();
}
