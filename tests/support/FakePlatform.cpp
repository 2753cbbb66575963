#include "support/FakePlatform.h"

#include "platform/TextFile.h"

#include <QDir>
#include <gtest/gtest.h>

FakePlatform::FakePlatform() {
    if (!folder_.isValid())
        ADD_FAILURE() << "Cannot create a temporary program folder";
    programFolder_ = QDir::toNativeSeparators(folder_.path());
    if (!programFolder_.endsWith(QDir::separator()))
        programFolder_ += QDir::separator();
    store = std::make_unique<JsonRegistry>(storePath(), &messages);
    registry = store.get();
    restartRecovery();
    // Old pages kept during rewrites in place go with this platform's copies.
    textfile::setRewriteGuardFolder(recoveryFolder());
}

void FakePlatform::restartRecovery() {
    if (recovery)
        recovery.reset();
    recovery = std::make_unique<RecoveryStore>(recoveryFolder());
}

QString FakePlatform::recoveryFolder() const {
    return stateFolder_.filePath(QStringLiteral("Oribel"));
}

QString FakePlatform::storePath() const {
    return configFolder_.filePath(QStringLiteral("registry.json"));
}

const Platform& FakePlatform::platform() {
    platform_.messages = &messages;
    platform_.fileDialogs = &fileDialogs;
    platform_.colors = &colors;
    platform_.shell = &shell;
    platform_.clock = &clock;
    platform_.keyboard = &keyboard;
    platform_.systemInfo = &systemInfo;
    platform_.registry = registry;
    platform_.browsers = &browsers;
    platform_.recovery = recovery.get();
    platform_.inputMethod = &inputMethod;
    platform_.uploads = &uploads;
    platform_.passwords = &passwords;
    platform_.passwordPrompt = &passwordPrompt;
    platform_.knownHostsFile = knownHostsFile();
    platform_.uploadLedgerFile = stateFolder_.filePath(QStringLiteral("Oribel/uploads.json"));
    platform_.programFolder = programFolder_;
    platform_.executablePath = executablePath();
    platform_.arguments = arguments;
    return platform_;
}

QString FakePlatform::knownHostsFile() const {
    return stateFolder_.filePath(QStringLiteral("ssh/known_hosts"));
}
