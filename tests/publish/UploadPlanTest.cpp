// Where a page goes, the trusted certificates, the record of the last
// uploads and the failure texts.

#include "publish/UploadPlan.h"
#include "resources/Messages.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

TEST(UploadPlan, PagesInsideTheLocalFolderKeepTheirSubfolder) {
    struct Row {
        QString file, localFolder, remote;
    };
    const Row rows[] = {
        {u"/home/u/site/index.html"_s, u"/home/u/site"_s, u"index.html"_s},
        {u"/home/u/site/2026/12.html"_s, u"/home/u/site/"_s, u"2026/12.html"_s},
        {u"/home/u/site/a/../b/p.html"_s, u"/home/u/site"_s, u"b/p.html"_s},
        {u"/home/u/other/p.html"_s, u"/home/u/site"_s, u"p.html"_s},
        {u"/home/u/site-old/p.html"_s, u"/home/u/site"_s, u"p.html"_s},
        {u"/home/u/site/p.html"_s, QString(), u"p.html"_s},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.file.toStdString());
        EXPECT_EQ(upload::remotePathFor(row.file, row.localFolder), row.remote);
    }
}

TEST(UploadPlan, TargetAndPinsComeFromTheSettings) {
    AppSet app;
    app.UploadProtocol = u"ftps"_s;
    app.UploadHost = u" www.example.jp "_s;
    app.UploadUser = u"taro"_s;
    app.UploadFolder = u"public_html"_s;
    upload::setPin(app, u"www.example.jp"_s, 0, u"sha256//AAA="_s);
    upload::setPin(app, u"other.example.jp"_s, 990, u"sha256//BBB="_s);
    upload::setPin(app, u"WWW.example.jp"_s, 21, u"sha256//CCC="_s); // replaces the first
    const upload::Target t = upload::targetFrom(app, u"/kh"_s);
    EXPECT_EQ(t.protocol, upload::Protocol::Ftps);
    EXPECT_EQ(t.host, u"www.example.jp"_s);
    EXPECT_EQ(t.pinnedKey, u"sha256//CCC="_s);
    EXPECT_TRUE(t.knownHostsFile.isEmpty());
    EXPECT_TRUE(t.password.isEmpty());
    EXPECT_EQ(upload::pinFor(app, u"other.example.jp"_s, 990), u"sha256//BBB="_s);
    EXPECT_EQ(upload::accountName(t), u"ftps taro@www.example.jp:21"_s);
    EXPECT_EQ(upload::displayAddress(t, u"2026/p.html"_s),
              u"ftps://taro@www.example.jp:21/public_html/2026/p.html"_s);
    EXPECT_FALSE(upload::configured(AppSet{}));
    EXPECT_TRUE(upload::configured(app));
}

TEST(UploadPlan, LedgerTellsChangedPages) {
    QTemporaryDir dir;
    const QString page = dir.filePath(u"p.html"_s), ledgerPath = dir.filePath(u"state/uploads.json"_s);
    // Writes the page and gives it a modification time `seconds` from now.
    const auto write = [&](const QByteArray& bytes, int seconds) {
        QFile f(page);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
        f.flush();
        ASSERT_TRUE(
            f.setFileTime(QDateTime::currentDateTime().addSecs(seconds), QFileDevice::FileModificationTime));
    };
    write("one", 0);
    {
        upload::Ledger ledger(ledgerPath);
        EXPECT_TRUE(ledger.changed(page)); // never went up
        ledger.record(page);
        EXPECT_FALSE(ledger.changed(page));
        ASSERT_TRUE(ledger.save());
    }
    upload::Ledger reread(ledgerPath);
    EXPECT_FALSE(reread.changed(page));
    // Same size, new content and time: the hash tells.
    write("two", 60);
    EXPECT_TRUE(reread.changed(page));
    // Rewritten with the same bytes: only the time moved.
    write("one", 120);
    EXPECT_FALSE(reread.changed(page));
}

TEST(UploadPlan, FailureTextsNameTheAddressAndTheReason) {
    const QString address = u"sftp://taro@example.jp:22/www/p.html"_s;
    struct Row {
        upload::Status status;
        const QString& text;
    };
    const Row rows[] = {
        {upload::Status::HostNotFound, msg::UploadHostNotFound},
        {upload::Status::Refused, msg::UploadRefused},
        {upload::Status::TimedOut, msg::UploadTimedOut},
        {upload::Status::AuthFailed, msg::UploadAuthFailed},
        {upload::Status::PermissionDenied, msg::UploadPermissionDenied},
        {upload::Status::DiskFull, msg::UploadDiskFull},
        {upload::Status::ConnectionLost, msg::UploadConnectionLost},
        {upload::Status::Failed, msg::UploadFailed},
    };
    for (const Row& row : rows) {
        upload::Result r;
        r.status = row.status;
        r.reason = u"Permission denied (3/-31)"_s;
        EXPECT_EQ(upload::failureText(r, address, u"/l/p.html"_s),
                  row.text.arg(address) + u"\n\nサーバの答え: Permission denied (3/-31)"_s);
    }
    upload::Result unreadable;
    unreadable.status = upload::Status::LocalUnreadable;
    unreadable.reason = u"Permission denied"_s;
    EXPECT_EQ(upload::failureText(unreadable, address, u"/l/p.html"_s),
              u"アップロードするページを読み込めませんでした。\n/l/p.html\n理由: Permission denied"_s);
}

TEST(UploadPlan, LocalPageUnreadableIsReportedBeforeAnyConnection) {
    upload::Target t;
    t.host = u"host.invalid"_s;
    const upload::Result r = upload::uploadFile(t, u"/nonexistent/p.html"_s, u"p.html"_s);
    EXPECT_EQ(r.status, upload::Status::LocalUnreadable);
    EXPECT_FALSE(r.reason.isEmpty());
}

TEST(UploadPlan, ConnectionFailuresAreBoundedAndTold) {
    QTemporaryDir dir;
    const QString page = dir.filePath(u"p.html"_s);
    QFile f(page);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("x");
    f.close();
    upload::Target t;
    t.protocol = upload::Protocol::Ftps;
    t.connectTimeoutSeconds = 5;
    t.host = u"no-such-host.invalid"_s;
    EXPECT_EQ(upload::uploadFile(t, page, u"p.html"_s).status, upload::Status::HostNotFound);
    // Port 1 on loopback: nothing listens there.
    t.host = u"127.0.0.1"_s;
    t.port = 1;
    EXPECT_EQ(upload::uploadFile(t, page, u"p.html"_s).status, upload::Status::Refused);
}
