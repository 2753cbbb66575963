#pragma once
// A whole Platform bundle of fakes for tests, with a temporary program folder.
//
//   FakePlatform fake;
//   fake.registry = &store;             // set by the fixture (see below)
//   fake.messages.answerNext(MsgAnswer::Yes);
//   TMainForm window(fake.platform());
//
// The fakes are public members so tests script and inspect them directly.
// registry: a plain pointer the fixture sets to the store it wants (null
// unless set); FakePlatform is meant to own a real settings store on a
// temporary file once that store exists, and then sets it here itself.

#include "platform/Platform.h"
#include "support/FakeDialogs.h"
#include "support/FakeMessages.h"
#include "support/FakeServices.h"

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
    Registry* registry = nullptr;
    QStringList arguments; // command-line parameters, program name excluded

    // The temporary program folder, ending in the native separator; removed
    // with the FakePlatform.
    QString programFolder() const { return programFolder_; }
    // programFolder() + name.
    QString programFile(const QString& name) const { return programFolder_ + name; }
    // A path inside the program folder (no file is there).
    QString executablePath() const { return programFolder_ + QStringLiteral("oribel"); }

    // The bundle pointing at the fakes above, refreshed from the current
    // members (registry, arguments) at each call. The reference stays valid
    // for the FakePlatform's life.
    const Platform& platform();

private:
    QTemporaryDir folder_;
    QString programFolder_;
    Platform platform_;
};
