// The questions on the way of an upload: trust of host keys and
// certificates, the password, several pages in a row.

#include "publish/UploadRunner.h"
#include "publish/UploadPlan.h"
#include "resources/Messages.h"
#include "support/FakeMessages.h"
#include "support/FakeUploads.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

class UploadRunnerTest : public ::testing::Test {
protected:
    void SetUp() override {
        app.UploadProtocol = u"sftp"_s;
        app.UploadHost = u"example.jp"_s;
        app.UploadUser = u"taro"_s;
    }
    void run(QList<UploadItem> items) {
        all.reset();
        runner.upload(app, std::move(items), {}, {}, [this](const QList<UploadOutcome>& o) { all = o; });
    }
    QString knownHosts() const { return dir.filePath(u"ssh/known_hosts"_s); }

    QTemporaryDir dir;
    AppSet app;
    FakeUploadService service;
    FakeMessages messages;
    FakePasswordStore keyring;
    FakePasswordPrompt prompt;
    UploadPasswords passwords{&keyring, &prompt};
    UploadRunner runner{service, messages, passwords, knownHosts()};
    std::optional<QList<UploadOutcome>> all;
};

TEST_F(UploadRunnerTest, HostKeysAndCertificatesAreTrustedOnlyOnYes) {
    upload::Result unknown;
    unknown.status = upload::Status::UnknownHostKey;
    unknown.fingerprint = u"SHA256:abc"_s;
    unknown.hostKeyLine = u"example.jp ssh-ed25519 AAAA"_s;
    const QString question = msg::UploadUnknownHostKey.arg(u"example.jp"_s, u"SHA256:abc"_s, knownHosts());

    // No: nothing is added and nothing tried again.
    messages.answerNext(MsgAnswer::No);
    run({{u"/l/p.html"_s, u"p.html"_s}});
    service.finish(unknown);
    ASSERT_EQ(messages.requests().size(), 1);
    EXPECT_EQ(messages.requests()[0].text, question);
    EXPECT_EQ(messages.requests()[0].defaultButton, MsgAnswer::No);
    EXPECT_EQ(service.requests.size(), 1);
    EXPECT_FALSE(QFile::exists(knownHosts()));
    ASSERT_TRUE(all);
    EXPECT_EQ(all->at(0).result.status, upload::Status::Cancelled);

    // Yes: the line goes into known_hosts and the upload runs again.
    messages.answerNext(MsgAnswer::Yes);
    run({{u"/l/p.html"_s, u"p.html"_s}});
    service.finish(unknown);
    EXPECT_EQ(service.requests.size(), 3);
    QFile file(knownHosts());
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), "example.jp ssh-ed25519 AAAA\n");
    service.finish(upload::Status::Done);
    EXPECT_EQ(all->at(0).result.status, upload::Status::Done);

    // A changed key: a warning, never a question, and no second try.
    upload::Result changed = unknown;
    changed.status = upload::Status::HostKeyChanged;
    messages.clear();
    run({{u"/l/p.html"_s, u"p.html"_s}});
    service.finish(changed);
    ASSERT_EQ(messages.requests().size(), 1);
    EXPECT_EQ(messages.requests()[0].icon, MsgIcon::Warning);
    EXPECT_EQ(messages.requests()[0].buttons, MsgButtons::Ok);
    EXPECT_EQ(messages.requests()[0].text,
              msg::UploadHostKeyChanged.arg(u"example.jp"_s, u"SHA256:abc"_s, knownHosts()));
    EXPECT_EQ(service.requests.size(), 4);

    // A certificate: pinned for this host on Yes, and the retry carries the pin.
    app.UploadProtocol = u"ftps"_s;
    upload::Result untrusted;
    untrusted.status = upload::Status::UntrustedCertificate;
    untrusted.fingerprint = u"SHA256:01:02"_s;
    untrusted.pin = u"sha256//PIN="_s;
    messages.clear();
    messages.answerNext(MsgAnswer::Yes);
    prompt.answers = {u"pw"_s};
    run({{u"/l/p.html"_s, u"p.html"_s}});
    service.finish(untrusted);
    EXPECT_EQ(messages.requests()[0].text,
              msg::UploadUntrustedCertificate.arg(u"example.jp"_s, u"SHA256:01:02"_s));
    EXPECT_EQ(upload::pinFor(app, u"example.jp"_s, 21), u"sha256//PIN="_s);
    EXPECT_EQ(service.requests.last().target.pinnedKey, u"sha256//PIN="_s);
}

TEST_F(UploadRunnerTest, PasswordIsAskedOnceAndKeptInTheKeyringOrForTheRun) {
    for (const bool withKeyring : {true, false}) {
        SCOPED_TRACE(withKeyring);
        keyring.keyring = withKeyring;
        keyring.stored.clear();
        prompt.asked.clear();
        UploadPasswords fresh{&keyring, &prompt};
        UploadRunner r{service, messages, fresh, knownHosts()};
        const QString account = u"sftp taro@example.jp:22"_s;
        // A refused login asks once; a second refusal is reported, not asked again.
        prompt.answers = {u"secret"_s};
        std::optional<QList<UploadOutcome>> outcomes;
        r.upload(app, {{u"/l/p.html"_s, u"p.html"_s}}, {}, {},
                 [&](const QList<UploadOutcome>& o) { outcomes = o; });
        EXPECT_TRUE(service.requests.last().target.password.isEmpty());
        service.finish(upload::Status::AuthFailed);
        EXPECT_EQ(prompt.asked, QStringList{msg::UploadPasswordPrompt.arg(account)});
        EXPECT_EQ(service.requests.last().target.password, u"secret"_s);
        EXPECT_EQ(keyring.stored.value(account), withKeyring ? u"secret"_s : QString());
        service.finish(upload::Status::Done);
        ASSERT_TRUE(outcomes);
        // The next upload of the run knows it without asking.
        r.upload(app, {{u"/l/p.html"_s, u"p.html"_s}}, {}, {},
                 [&](const QList<UploadOutcome>& o) { outcomes = o; });
        EXPECT_EQ(service.requests.last().target.password, u"secret"_s);
        service.finish(upload::Status::AuthFailed);
        EXPECT_EQ(prompt.asked.size(), 2); // asked again, the kept one no longer working; Cancel
        EXPECT_EQ(outcomes->at(0).result.status, upload::Status::AuthFailed);
        EXPECT_TRUE(outcomes->at(0).message.startsWith(u"サーバにログインできませんでした。"_s));
    }
}

TEST_F(UploadRunnerTest, FtpAsksForAMissingPasswordBeforeConnecting) {
    app.UploadProtocol = u"ftps"_s;
    run({{u"/l/p.html"_s, u"p.html"_s}}); // Cancel in the password box
    EXPECT_EQ(prompt.asked, QStringList{msg::UploadPasswordPrompt.arg(u"ftps taro@example.jp:21"_s)});
    EXPECT_TRUE(service.requests.isEmpty());
    ASSERT_TRUE(all);
    EXPECT_EQ(all->at(0).result.status, upload::Status::Cancelled);
    prompt.answers = {u"pw"_s};
    run({{u"/l/p.html"_s, u"p.html"_s}});
    ASSERT_EQ(service.requests.size(), 1);
    EXPECT_EQ(service.requests[0].target.password, u"pw"_s);
}

TEST_F(UploadRunnerTest, OneFailedPageDoesNotStopTheOthersButACancelDoes) {
    run({{u"/l/a.html"_s, u"a.html"_s}, {u"/l/b.html"_s, u"b.html"_s}, {u"/l/c.html"_s, u"c.html"_s}});
    service.finish(upload::Status::Done);
    service.finish(upload::Status::PermissionDenied, u"denied"_s);
    service.finish(upload::Status::Done);
    ASSERT_TRUE(all);
    ASSERT_EQ(all->size(), 3);
    EXPECT_EQ(all->at(1).result.status, upload::Status::PermissionDenied);
    EXPECT_EQ(all->at(1).address, u"sftp://taro@example.jp:22/b.html"_s);
    EXPECT_EQ(all->at(2).result.status, upload::Status::Done);

    run({{u"/l/a.html"_s, u"a.html"_s}, {u"/l/b.html"_s, u"b.html"_s}});
    runner.cancel();
    EXPECT_EQ(service.cancels, 1);
    service.finish(upload::Status::Cancelled);
    ASSERT_TRUE(all);
    EXPECT_EQ(all->size(), 1);
    EXPECT_EQ(service.requests.size(), 4);
}
