#pragma once
// A whole Platform bundle of fakes for tests, with a temporary program folder.
//
//   FakePlatform fake;
//   fake.messages.answerNext(MsgAnswer::Yes);
//   TMainForm window(fake.platform());
//
// The fakes are public members so tests script and inspect them directly.
// registry points at a real settings store (store) on a temporary file that
// lives as long as the FakePlatform, so a second window made from the same
// FakePlatform sees what the first one saved; a test may point it elsewhere.

#include "platform/JsonRegistry.h"
#include "platform/Platform.h"
#include "platform/RecoveryStore.h"
#include "support/FakeDialogs.h"
#include "support/FakeMessages.h"
#include "support/FakeServices.h"
#include "support/FakeUploads.h"

#include <memory>

#include <QTemporaryDir>

class FakePlatform {
public:
    FakePlatform();
    FakePlatform(const FakePlatform&) = delete;
    FakePlatform& operator=(const FakePlatform&) = delete;

    FakeMessages messages;
    FakeFileDialogs fileDialogs;
    FakeColorDialog colors;
    FakeShell shell;
    FakeClock clock;
    FakeKeyboard keyboard;
    FakeSystemInfo systemInfo;
    FakeBrowserLookup browsers;
    FakeInputMethod inputMethod;
    FakeUploadService uploads;
    FakePasswordStore passwords;
    FakePasswordPrompt passwordPrompt;
    std::unique_ptr<JsonRegistry> store; // on storePath()
    Registry* registry = nullptr;        // store.get() unless a test changes it
    QStringList arguments;               // command-line parameters, program name excluded
    // Recovery copies in a temporary folder (recoveryFolder()).
    std::unique_ptr<RecoveryStore> recovery;

    // A new recovery store on the same folder, as a new run of the program
    // gets: the copies of the previous one are then orphans.
    void restartRecovery();
    QString recoveryFolder() const;

    // The temporary program folder, ending in the native separator; removed
    // with the FakePlatform.
    QString programFolder() const { return programFolder_; }
    // programFolder() + name.
    QString programFile(const QString& name) const { return programFolder_ + name; }
    // A path inside the program folder (no file is there).
    QString executablePath() const { return programFolder_ + QStringLiteral("oribel"); }

    // The settings store's file (it need not exist).
    QString storePath() const;
    // The trusted SSH host keys (no file until one is added).
    QString knownHostsFile() const;

    // The bundle pointing at the fakes above, refreshed from the current
    // members (registry, arguments) at each call. The reference stays valid
    // for the FakePlatform's life.
    const Platform& platform();

private:
    QTemporaryDir folder_;
    QTemporaryDir configFolder_;
    QTemporaryDir stateFolder_;
    QString programFolder_;
    Platform platform_;
};
