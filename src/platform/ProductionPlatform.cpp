#include "platform/ProductionPlatform.h"

#include "platform/DesktopShell.h"
#include "platform/FcitxInputMethod.h"
#include "platform/JsonRegistry.h"
#include "platform/KeychainPasswordStore.h"
#include "platform/PathBrowserLookup.h"
#include "platform/ProgramFolder.h"
#include "platform/QtColorDialogService.h"
#include "platform/QtFileDialogRunner.h"
#include "platform/QtKeyboard.h"
#include "platform/QtMessageService.h"
#include "platform/QtSystemInfo.h"

#include "publish/ThreadedUploadService.h"

#include <QDir>
#include <QFileInfo>

struct ProductionPlatform::Services {
    // Boxes and dialogs belong to whichever window is active when they open.
    QtMessageService messages;
    QtFileDialogRunner fileDialogs;
    QtColorDialogService colors;
    DesktopShell shell;
    SystemClock clock;
    QtKeyboard keyboard;
    QtSystemInfo systemInfo;
    // The settings store reports a damaged file through the message boxes above.
    JsonRegistry registry{JsonRegistry::defaultPath(), &messages};
    PathBrowserLookup browsers;
    RecoveryStore recovery{RecoveryStore::defaultFolder()};
    FcitxInputMethod inputMethod;
    ThreadedUploadService uploads;
    KeychainPasswordStore passwords;
    QtPasswordPrompt passwordPrompt;
};

ProductionPlatform::ProductionPlatform(const QString& executablePath, const QStringList& arguments)
    : services_(std::make_unique<Services>()) {
    platform_.messages = &services_->messages;
    platform_.fileDialogs = &services_->fileDialogs;
    platform_.colors = &services_->colors;
    platform_.shell = &services_->shell;
    platform_.clock = &services_->clock;
    platform_.keyboard = &services_->keyboard;
    platform_.systemInfo = &services_->systemInfo;
    platform_.registry = &services_->registry;
    platform_.browsers = &services_->browsers;
    platform_.recovery = &services_->recovery;
    platform_.inputMethod = &services_->inputMethod;
    platform_.uploads = &services_->uploads;
    platform_.passwords = &services_->passwords;
    platform_.passwordPrompt = &services_->passwordPrompt;
    platform_.knownHostsFile = QDir::homePath() + QStringLiteral("/.ssh/known_hosts");
    platform_.uploadLedgerFile =
        QDir(RecoveryStore::defaultFolder()).filePath(QStringLiteral("uploads.json"));
    platform_.executablePath = executablePath;
    platform_.arguments = arguments;
    platform_.programFolder = resolveProgramFolder(QFileInfo(executablePath).absolutePath());
}

ProductionPlatform::~ProductionPlatform() = default;
