#include "platform/ProductionPlatform.h"

#include "platform/DesktopShell.h"
#include "platform/ProgramFolder.h"
#include "platform/QtColorDialogService.h"
#include "platform/QtFileDialogRunner.h"
#include "platform/QtKeyboard.h"
#include "platform/QtMessageService.h"
#include "platform/QtSystemInfo.h"

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
    // Still to be wired: the settings store (JsonRegistry) and the browser
    // lookup (PathBrowserLookup) are not part of this library yet; until they
    // are, both stay null and nothing may use them.
    platform_.registry = nullptr;
    platform_.browsers = nullptr;
    platform_.executablePath = executablePath;
    platform_.arguments = arguments;
    platform_.programFolder = resolveProgramFolder(QFileInfo(executablePath).absolutePath());
}

ProductionPlatform::~ProductionPlatform() = default;
