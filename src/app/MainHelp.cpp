// The Help menu: the about window, the manual (local and online) and the
// removal of every setting.

#include "app/HelpUnit.h"
#include "app/MainUnit.h"
#include "document/DiaryEditor.h"
#include "platform/ProgramFolder.h"
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
    if (!OpenLocalManual())
        HelpActionExecute();
}

// The manual installed with the program (or the copy beside it in a build
// folder), handed to the desktop's opener.
bool TMainForm::OpenLocalManual() {
    const QString programDir = QFileInfo(platform_.executablePath).absolutePath();
    const QString manual = findManual(programDir);
    if (manual.isEmpty()) {
        platform_.messages->show(msg::manualMissing(manualCandidates(programDir).value(0)),
                                 msg::ManualNotFoundCaption, MsgIcon::Error);
        return false;
    }
    QString reason;
    if (!platform_.shell->open(manual, &reason))
        platform_.messages->show(msg::manualOpenFailed(manual, reason), msg::AppName, MsgIcon::Error);
    return true;
}

void TMainForm::HelpFaqClick() {
    const QString manual = AuthorAddresses::builtIn().manualUrl();
    if (manual.isEmpty()) {
        platform_.messages->show(msg::NoAuthorSite, msg::AppTitle, MsgIcon::Information);
        return;
    }
    QString reason;
    if (!platform_.shell->open(manual, &reason))
        platform_.messages->show(msg::manualOpenFailed(manual, reason), msg::AppName, MsgIcon::Error);
}

void TMainForm::HelpUninstallClick() {
    if (platform_.messages->show(msg::UninstallConfirm, msg::UninstallConfirmCaption, MsgIcon::Warning,
                                 MsgButtons::YesNo, MsgAnswer::No) != MsgAnswer::Yes)
        return;
    // The window then closes without the exit questions, so they are asked
    // here: about the unsaved page and about an unused entry. Cancel stops.
    if (document_->askSave() == AskSaveResult::Cancel)
        return;
    const UnusedEntry entry = AskAboutUnusedEntry();
    if (entry == UnusedEntry::Cancel || (entry == UnusedEntry::Keep && !SaveTodayTemp()))
        return;
    ClearSettings(*platform_.registry);
    // A kept entry's date, weathers and title live in a subkey of the settings,
    // which went with them; the entry would come back without them.
    if (entry == UnusedEntry::Keep)
        SaveTempDiary(*platform_.registry, *platform_.messages, CurrentTempDiary());
    platform_.messages->show(msg::UninstallDone, msg::UninstallDoneCaption, MsgIcon::Information);
    settingsCleared_ = true;
    close();
}

void TMainForm::HelpActionExecute() {
    // Inside the about window a missing manual is only reported: the about
    // window is open already, and one is enough.
    THelpForm about(
        platform_, appSet, debugMode_, [this] { OpenLocalManual(); }, this);
    about.exec();
    FocusShownEditor();
}
