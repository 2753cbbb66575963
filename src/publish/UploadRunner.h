#pragma once
// One or more pages to the web site, with the questions on the way: an
// unknown SSH host key or an unverified certificate is shown with its
// fingerprint and trusted only on Yes (then the upload is tried again), a
// changed host key is refused with a warning, a refused login asks for the
// password once. Works through the seams only (UploadService, messages,
// password store), so the window and the settings page share it and tests
// drive it with fakes. Pages go up one after another; a page that fails does
// not stop the others, a cancel or a refused trust question does.

#include "platform/Messages.h"
#include "platform/PasswordStore.h"
#include "platform/UploadService.h"
#include "settings/AppSet.h"

#include <QHash>
#include <QList>

#include <functional>

// The upload password: from the keyring, else from this run's memory, else
// asked for (and then kept for the run).
class UploadPasswords {
public:
    UploadPasswords(PasswordStore* store, PasswordPrompt* prompt) : store_(store), prompt_(prompt) {}
    // The known password, without asking; empty when none is known.
    QString known(const QString& account);
    // Asks for it; nothing on Cancel. The answer is kept for the run.
    std::optional<QString> ask(const QString& account);
    // Kept in the keyring, or for the run where no keyring answers.
    void store(const QString& account, const QString& password);
    // Kept for this run only (typed into the settings page, not yet stored).
    void setForRun(const QString& account, const QString& password) { run_.insert(account, password); }
    void forget(const QString& account) { run_.remove(account); }

private:
    PasswordStore* store_;
    PasswordPrompt* prompt_;
    QHash<QString, QString> run_;
};

struct UploadItem {
    QString localPath;
    QString remotePath; // below the remote folder
};

struct UploadOutcome {
    UploadItem item;
    upload::Result result;
    QString address; // where it went (or was meant to go)
    QString message; // the failure's text; empty when done or cancelled
};

class UploadRunner {
public:
    using Progress = std::function<void(const UploadItem& item, qint64 sent, qint64 total)>;
    using ItemDone = std::function<void(const UploadOutcome& outcome)>;
    using AllDone = std::function<void(const QList<UploadOutcome>& outcomes)>;

    UploadRunner(UploadService& service, MessageService& messages, UploadPasswords& passwords,
                 QString knownHostsFile);

    // Uploads the items to the target of `settings` (which receives a newly
    // pinned certificate and must outlive the run).
    void upload(AppSet& settings, QList<UploadItem> items, Progress progress, ItemDone itemDone,
                AllDone allDone);
    // Tries the connection; `done` gets the outcome with its text.
    void test(AppSet& settings, std::function<void(const UploadOutcome&)> done);
    void cancel();
    bool busy() const { return busy_; }

private:
    void startCurrent();
    void finished(const upload::Result& result);
    // True when the question was answered so that the same step runs again.
    bool settleTrust(const upload::Result& result);
    bool settlePassword();
    void finish(const upload::Result& result);

    UploadService& service_;
    MessageService& messages_;
    UploadPasswords& passwords_;
    QString knownHostsFile_;

    AppSet* settings_ = nullptr;
    upload::Target target_;
    QList<UploadItem> items_;
    qsizetype current_ = 0;
    bool testing_ = false;
    bool busy_ = false;
    bool passwordAsked_ = false;
    bool stopped_ = false;
    QList<UploadOutcome> outcomes_;
    Progress progress_;
    ItemDone itemDone_;
    AllDone allDone_;
    std::function<void(const UploadOutcome&)> testDone_;
};
