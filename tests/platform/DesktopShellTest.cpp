#include "platform/DesktopShell.h"

#include "document/HandOver.h"
#include "resources/Messages.h"
#include "support/QtPrinters.h"
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

// Takes the addresses handed to the desktop instead of a real handler.
class UrlCatcher : public QObject {
    Q_OBJECT
public:
    UrlCatcher() {
        for (const QString& scheme : schemes)
            QDesktopServices::setUrlHandler(scheme, this, "handle");
    }
    ~UrlCatcher() override {
        for (const QString& scheme : schemes)
            QDesktopServices::unsetUrlHandler(scheme);
    }
    QList<QUrl> urls;

public slots:
    void handle(const QUrl& url) { urls.append(url); }

private:
    const QStringList schemes = {u"file"_s, u"http"_s, u"https"_s, u"mailto"_s, u"ftp"_s};
};

} // namespace

TEST(DesktopShell, OpenHandsFilesAndAddressesToTheDesktop) {
    QTemporaryDir dir;
    const QString page = dir.filePath(u"日記 #1.htm"_s);
    {
        QFile file(page);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    }
    UrlCatcher catcher;
    DesktopShell shell;

    EXPECT_TRUE(shell.open(QDir::toNativeSeparators(page)));
    EXPECT_TRUE(shell.open(u"http://example.com/a?b=c&d=e#top"_s));
    EXPECT_TRUE(shell.open(u"mailto:someone@example.com"_s));
    EXPECT_TRUE(shell.open(u"HTTPS://example.com/"_s));
    ASSERT_EQ(catcher.urls.size(), 4);
    // The file goes as a file address, its blank and '#' kept in the path.
    EXPECT_TRUE(catcher.urls[0].isLocalFile());
    EXPECT_EQ(catcher.urls[0].toLocalFile(), page);
    EXPECT_EQ(catcher.urls[1].toString(), u"http://example.com/a?b=c&d=e#top"_s);
    EXPECT_EQ(catcher.urls[2].toString(), u"mailto:someone@example.com"_s);
    EXPECT_EQ(catcher.urls[3].scheme(), u"https"_s);

    // Nothing to open: nothing is handed over.
    EXPECT_FALSE(shell.open(dir.filePath(u"missing.htm"_s)));
    EXPECT_FALSE(shell.open(QString()));
    EXPECT_EQ(catcher.urls.size(), 4);
}

TEST(DesktopShell, LaunchPassesArgumentsUnchanged) {
    QTemporaryDir dir;
    const QString out = dir.filePath(u"out.txt"_s);
    const QString canary = dir.filePath(u"canary"_s);
    // Were this given to a shell, it would run commands (only ever inside the
    // temporary folder).
    const QString argument = u"a b  \"q\" 'q' ; rm -rf "_s + dir.filePath(u"nothing"_s) + u" $(touch "_s +
                             canary + u") `touch "_s + canary + u"` & | > < * ~ 日本語"_s;

    DesktopShell shell;
    ASSERT_TRUE(
        shell.launch(u"/bin/sh"_s, {u"-c"_s, u"printf %s \"$1\" > \"$2.part\" && mv \"$2.part\" \"$2\""_s,
                                    u"sh"_s, argument, out}));
    ASSERT_TRUE(QTest::qWaitFor([&] { return QFile::exists(out); }, 10000));
    QFile file(out);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(QString::fromUtf8(file.readAll()), argument);
    EXPECT_FALSE(QFile::exists(canary));

    EXPECT_FALSE(shell.launch(dir.filePath(u"no such program"_s), {}));
    EXPECT_FALSE(shell.launch(QString(), {}));
}

TEST(DesktopShell, FailuresSayWhyForTheStatusLine) {
    QTemporaryDir dir;
    const QString missing = dir.filePath(u"missing page.htm"_s);
    const QString notExecutable = dir.filePath(u"plain.txt"_s);
    {
        QFile file(notExecutable);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("not a program");
    }
    DesktopShell shell;
    QString error;
    EXPECT_FALSE(shell.open(QString(), &error));
    EXPECT_EQ(error, u"開くファイルがありません。"_s);
    EXPECT_FALSE(shell.open(missing, &error));
    EXPECT_EQ(error, missing + u" が見つかりません。"_s);
    EXPECT_FALSE(shell.launch(QString(), {}, &error));
    EXPECT_EQ(error, u"起動するプログラムが設定されていません。"_s);
    for (const QString& program : {dir.filePath(u"no such program"_s), notExecutable}) {
        error.clear();
        EXPECT_FALSE(shell.launch(program, {u"x"_s}, &error));
        EXPECT_TRUE(error.startsWith(program + u" を起動できませんでした。（"_s)) << error.toStdString();
        EXPECT_GT(error.size(), msg::shellLaunchFailed(program, QString()).size()) << "a reason is given";
    }
}

TEST(DesktopShell, AStandInBrowserReceivesAwkwardPathsAsOneArgumentEach) {
    QTemporaryDir dir;
    const QString out = dir.filePath(u"arguments.txt"_s);
    const QString browser = dir.filePath(u"stand-in browser"_s);
    {
        QFile file(browser);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("#!/bin/sh\nprintf '%s\\n' \"$#\" \"$@\" > '" + out.toUtf8() + ".part' && mv '" +
                   out.toUtf8() + ".part' '" + out.toUtf8() + "'\n");
        file.setPermissions(file.permissions() | QFile::ExeOwner);
    }
    const QString canary = dir.filePath(u"canary"_s);
    const QStringList paths = {
        dir.filePath(u"my diary.html"_s),
        dir.filePath(u"say \"hi\" 'there'.html"_s),
        dir.filePath(u"$(touch "_s + canary + u");`touch "_s + canary + u"`.html"_s),
        u"-new-window.html"_s,
    };
    DesktopShell shell;
    for (const QString& path : paths) {
        QFile::remove(out);
        const handover::Launch launch = handover::NamedBrowserLaunch(handover::HandOver::SendFile, path,
                                                                     QString(), QString(), browser, true);
        QString error;
        ASSERT_TRUE(handover::RunLaunch(launch, shell, &error)) << error.toStdString();
        ASSERT_TRUE(QTest::qWaitFor([&] { return QFile::exists(out); }, 10000));
        QFile file(out);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        EXPECT_EQ(QString::fromUtf8(file.readAll()), u"1\n"_s + handover::HandedPath(path) + u"\n"_s);
    }
    EXPECT_TRUE(handover::HandedPath(paths.last()).endsWith(u"/-new-window.html"_s));
    EXPECT_FALSE(QFile::exists(canary));
}

#include "DesktopShellTest.moc"
