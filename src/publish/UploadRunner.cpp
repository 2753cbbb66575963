#include "publish/UploadRunner.h"

#include "publish/UploadPlan.h"
#include "resources/Messages.h"

using namespace Qt::StringLiterals;

// ---- Passwords -------------------------------------------------------------------

QString UploadPasswords::known(const QString& account) {
    const auto it = run_.constFind(account);
    if (it != run_.cend())
        return *it;
    QString password;
    if (store_ && store_->read(account, &password) == PasswordStore::Found::Yes) {
        run_.insert(account, password);
        return password;
    }
    return {};
}

std::optional<QString> UploadPasswords::ask(const QString& account) {
    if (!prompt_)
        return std::nullopt;
    auto answer = prompt_->ask(msg::UploadPasswordPrompt.arg(account), msg::UploadPasswordCaption);
    if (answer)
        store(account, *answer);
    return answer;
}

void UploadPasswords::store(const QString& account, const QString& password) {
    run_.insert(account, password);
    if (store_)
        store_->write(account, password);
}

// ---- Runner ------------------------------------------------------------------------

UploadRunner::UploadRunner(UploadService& service, MessageService& messages, UploadPasswords& passwords,
                           QString knownHostsFile)
    : service_(service), messages_(messages), passwords_(passwords),
      knownHostsFile_(std::move(knownHostsFile)) {}

void UploadRunner::upload(AppSet& settings, QList<UploadItem> items, Progress progress, ItemDone itemDone,
                          AllDone allDone) {
    settings_ = &settings;
    target_ = upload::targetFrom(settings, knownHostsFile_);
    target_.password = passwords_.known(upload::accountName(target_));
    items_ = std::move(items);
    current_ = 0;
    testing_ = false;
    stopped_ = false;
    passwordAsked_ = false;
    outcomes_.clear();
    progress_ = std::move(progress);
    itemDone_ = std::move(itemDone);
    allDone_ = std::move(allDone);
    busy_ = true;
    // FTP logins need a password: asked before connecting rather than after a refusal.
    if (target_.password.isEmpty() && target_.protocol != upload::Protocol::Sftp && !settlePassword()) {
        upload::Result cancelled;
        cancelled.status = upload::Status::Cancelled;
        finish(cancelled);
        return;
    }
    startCurrent();
}

void UploadRunner::test(AppSet& settings, std::function<void(const UploadOutcome&)> done) {
    settings_ = &settings;
    target_ = upload::targetFrom(settings, knownHostsFile_);
    target_.password = passwords_.known(upload::accountName(target_));
    items_ = {UploadItem{}};
    current_ = 0;
    testing_ = true;
    stopped_ = false;
    passwordAsked_ = false;
    outcomes_.clear();
    testDone_ = std::move(done);
    busy_ = true;
    startCurrent();
}

void UploadRunner::cancel() {
    stopped_ = true;
    service_.cancel();
}

void UploadRunner::startCurrent() {
    const auto done = [this](const upload::Result& result) { finished(result); };
    if (testing_) {
        service_.test(target_, done);
        return;
    }
    const UploadItem item = items_[current_];
    service_.start(
        target_, item.localPath, item.remotePath,
        [this, item](qint64 sent, qint64 total) {
            if (progress_)
                progress_(item, sent, total);
        },
        done);
}

bool UploadRunner::settleTrust(const upload::Result& result) {
    const QString host = target_.host;
    switch (result.status) {
    case upload::Status::UnknownHostKey: {
        const MsgAnswer answer =
            messages_.show(msg::UploadUnknownHostKey.arg(host, result.fingerprint, knownHostsFile_),
                           msg::UploadTrustCaption, MsgIcon::Question, MsgButtons::YesNo, MsgAnswer::No);
        if (answer != MsgAnswer::Yes)
            return false;
        QString error;
        if (!upload::addKnownHost(knownHostsFile_, result.hostKeyLine, &error)) {
            messages_.show(msg::UploadKnownHostsFailed.arg(knownHostsFile_, error), msg::UploadCaption,
                           MsgIcon::Error);
            return false;
        }
        return true;
    }
    case upload::Status::HostKeyChanged:
        messages_.show(msg::UploadHostKeyChanged.arg(host, result.fingerprint, knownHostsFile_),
                       msg::UploadWarningCaption, MsgIcon::Warning);
        return false;
    case upload::Status::UntrustedCertificate: {
        if (result.pin.isEmpty())
            return false;
        const QString& text =
            result.pinChanged ? msg::UploadCertificateChanged : msg::UploadUntrustedCertificate;
        const MsgAnswer answer = messages_.show(text.arg(host, result.fingerprint), msg::UploadTrustCaption,
                                                result.pinChanged ? MsgIcon::Warning : MsgIcon::Question,
                                                MsgButtons::YesNo, MsgAnswer::No);
        if (answer != MsgAnswer::Yes)
            return false;
        upload::setPin(*settings_, target_.host, target_.port, result.pin);
        target_.pinnedKey = result.pin;
        return true;
    }
    default:
        return false;
    }
}

bool UploadRunner::settlePassword() {
    if (passwordAsked_)
        return false;
    passwordAsked_ = true;
    const QString account = upload::accountName(target_);
    passwords_.forget(account);
    const auto password = passwords_.ask(account);
    if (!password)
        return false;
    target_.password = *password;
    return true;
}

void UploadRunner::finished(const upload::Result& result) {
    using upload::Status;
    const bool trustQuestion = result.status == Status::UnknownHostKey ||
                               result.status == Status::HostKeyChanged ||
                               result.status == Status::UntrustedCertificate;
    if (trustQuestion) {
        if (!stopped_ && settleTrust(result)) {
            startCurrent();
            return;
        }
        stopped_ = true;
        // The warning or the question said it all.
        UploadOutcome outcome{
            items_[current_], result, upload::displayAddress(target_, items_[current_].remotePath), {}};
        outcome.result.status = Status::Cancelled;
        outcomes_ << outcome;
        finish(outcome.result);
        return;
    }
    // A login without a password, or with one that no longer works: asked for once.
    const bool needsPassword = result.status == Status::AuthFailed ||
                               (target_.password.isEmpty() && result.status == Status::Failed &&
                                result.reason.contains(u"password"_s, Qt::CaseInsensitive));
    if (needsPassword && !stopped_ && settlePassword()) {
        startCurrent();
        return;
    }
    finish(result);
}

void UploadRunner::finish(const upload::Result& result) {
    using upload::Status;
    const UploadItem item = items_[current_];
    if (outcomes_.size() <= current_) {
        UploadOutcome outcome{item, result, upload::displayAddress(target_, item.remotePath), {}};
        if (result.status != Status::Done && result.status != Status::Cancelled)
            outcome.message = upload::failureText(result, outcome.address, item.localPath);
        outcomes_ << outcome;
    }
    const UploadOutcome& outcome = outcomes_.last();
    if (testing_) {
        busy_ = false;
        if (testDone_)
            testDone_(outcome);
        return;
    }
    if (itemDone_)
        itemDone_(outcome);
    // A failure that concerns the whole connection ends the run.
    const bool connectionFailed = result.status == Status::HostNotFound || result.status == Status::Refused ||
                                  result.status == Status::TimedOut || result.status == Status::AuthFailed;
    if (result.status == Status::Cancelled || connectionFailed)
        stopped_ = true;
    ++current_;
    passwordAsked_ = passwordAsked_ && result.status != Status::Done;
    if (!stopped_ && current_ < items_.size()) {
        startCurrent();
        return;
    }
    busy_ = false;
    if (allDone_)
        allDone_(outcomes_);
}
