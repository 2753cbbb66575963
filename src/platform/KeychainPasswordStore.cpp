#include "platform/KeychainPasswordStore.h"

#include <QApplication>
#include <QEventLoop>
#include <QInputDialog>
#include <QLineEdit>
#include <QTimer>

#include <qt6keychain/keychain.h>

using namespace Qt::StringLiterals;

namespace {

const QString KeyringService = u"Oribel"_s;

// Runs a keyring job to its end. A keyring that does not answer within ten
// seconds counts as none.
QKeychain::Error runJob(QKeychain::Job& job) {
    job.setAutoDelete(false);
    job.setInsecureFallback(false);
    QEventLoop loop;
    bool done = false;
    QObject::connect(&job, &QKeychain::Job::finished, &loop, [&] {
        done = true;
        loop.quit();
    });
    QTimer::singleShot(10000, &loop, &QEventLoop::quit);
    job.start();
    if (!done)
        loop.exec(QEventLoop::ExcludeUserInputEvents);
    return done ? job.error() : QKeychain::NoBackendAvailable;
}

} // namespace

PasswordStore::Found KeychainPasswordStore::read(const QString& account, QString* password) {
    QKeychain::ReadPasswordJob job(KeyringService);
    job.setKey(account);
    switch (runJob(job)) {
    case QKeychain::NoError:
        *password = job.textData();
        return Found::Yes;
    case QKeychain::EntryNotFound:
        return Found::No;
    default:
        return Found::NoKeyring;
    }
}

bool KeychainPasswordStore::write(const QString& account, const QString& password) {
    QKeychain::WritePasswordJob job(KeyringService);
    job.setKey(account);
    job.setTextData(password);
    return runJob(job) == QKeychain::NoError;
}

void KeychainPasswordStore::remove(const QString& account) {
    QKeychain::DeletePasswordJob job(KeyringService);
    job.setKey(account);
    runJob(job);
}

std::optional<QString> QtPasswordPrompt::ask(const QString& text, const QString& caption) {
    bool ok = false;
    const QString password = QInputDialog::getText(QApplication::activeWindow(), caption, text,
                                                   QLineEdit::Password, QString(), &ok);
    if (!ok)
        return std::nullopt;
    return password;
}
