#pragma once
// Everything the windows need from the outside world, in one bundle.
// Production code fills it with the real services (ProductionPlatform);
// tests fill it with the fakes of tests/support.

#include "platform/BrowserLookup.h"
#include "platform/Clock.h"
#include "platform/FileDialogs.h"
#include "platform/InputMethod.h"
#include "platform/Keyboard.h"
#include "platform/Messages.h"
#include "platform/PasswordStore.h"
#include "platform/RecoveryStore.h"
#include "platform/Registry.h"
#include "platform/Shell.h"
#include "platform/SystemInfo.h"
#include "platform/UploadService.h"

#include <QString>
#include <QStringList>

struct Platform {
    MessageService* messages = nullptr;
    FileDialogRunner* fileDialogs = nullptr;
    ColorDialogService* colors = nullptr;
    Shell* shell = nullptr;
    Clock* clock = nullptr;
    Keyboard* keyboard = nullptr;
    SystemInfo* systemInfo = nullptr;
    Registry* registry = nullptr;
    BrowserLookup* browsers = nullptr;
    RecoveryStore* recovery = nullptr;        // copies of unsaved text; none: nothing is copied
    InputMethod* inputMethod = nullptr;       // none: the input method is never switched
    UploadService* uploads = nullptr;         // publishing to the web site
    PasswordStore* passwords = nullptr;       // the upload password's keyring
    PasswordPrompt* passwordPrompt = nullptr; // asks for it where no keyring answers
    QString knownHostsFile;                   // trusted SSH host keys (~/.ssh/known_hosts)
    QString uploadLedgerFile;                 // what went up last, per local file
    QString programFolder;                    // ends in the native separator
    QString executablePath;                   // full path of the running program
    QStringList arguments;                    // command-line parameters, program name excluded
};
