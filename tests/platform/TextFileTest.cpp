#include "platform/TextFile.h"

#include "resources/Messages.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <csignal>
#include <sys/resource.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace {

QByteArray contents(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

void putFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

// The folder holds exactly the given file names (no temporary file left behind).
QStringList entries(const QString& folder) {
    return QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot);
}

} // namespace

TEST(TextFile, WritesCp932WithCrLfAndReadsItBack) {
    QTemporaryDir dir;
    const QString path = dir.filePath(u"page.html"_s);
    putFile(path, "old contents that are longer than the new ones");

    QString error;
    ASSERT_TRUE(textfile::write(path, u"日記\nabc😀"_s, &error)) << error.toStdString();
    EXPECT_EQ(contents(path), QByteArray("\x93\xFA\x8B\x4C\r\nabc&#x1F600;"));
    EXPECT_EQ(textfile::read(path, &error), u"日記\nabc&#x1F600;"_s);
    EXPECT_EQ(entries(dir.path()), QStringList{u"page.html"_s});

    // A file from elsewhere, with invalid bytes and CR LF lines, comes back
    // byte for byte.
    const QByteArray foreign("<p>\x82\xA0\x85\x41\x80</p>\r\n\xFF\x82", 17);
    putFile(path, foreign);
    const std::optional<QString> text = textfile::read(path);
    ASSERT_TRUE(text);
    ASSERT_TRUE(textfile::write(path, *text));
    EXPECT_EQ(contents(path), foreign);

    ASSERT_TRUE(textfile::write(path, QString()));
    EXPECT_EQ(contents(path), QByteArray());
}

TEST(TextFile, ReadingAMissingFileNamesPathAndReason) {
    QTemporaryDir dir;
    const QString path = dir.filePath(u"missing.txt"_s);
    QString error;
    EXPECT_FALSE(textfile::read(path, &error));
    EXPECT_TRUE(error.startsWith(u"ファイル "_s + path + u" を読み込めませんでした。\n理由: "_s))
        << error.toStdString();
    EXPECT_GT(error.size(), msg::fileReadError(path, QString()).size());
    EXPECT_FALSE(textfile::read(dir.path())); // a folder is no file
}

TEST(TextFile, AnInterruptedWriteLeavesTheOldFile) {
    QTemporaryDir dir;
    const QString path = dir.filePath(u"diary.html"_s);
    putFile(path, "old");

    // A file size limit makes the write fail part way, as a full disk would.
    rlimit saved{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = saved;
    small.rlim_cur = 4096;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    QString error;
    const bool written = textfile::write(path, QString(100000, u'あ'), &error);
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, oldHandler);

    EXPECT_FALSE(written);
    EXPECT_TRUE(error.startsWith(u"ファイル "_s + path + u" に書き込めませんでした。\n理由: "_s))
        << error.toStdString();
    EXPECT_EQ(contents(path), "old");
    EXPECT_EQ(entries(dir.path()), QStringList{u"diary.html"_s});

    // A path below a file cannot be written at all.
    EXPECT_FALSE(textfile::write(path + u"/inner.txt"_s, u"x"_s, &error));
    EXPECT_TRUE(error.contains(path)) << error.toStdString();
    EXPECT_EQ(contents(path), "old");
}

TEST(TextFile, ReadOnlyFolderOrFileIsNotReplaced) {
    if (geteuid() == 0)
        GTEST_SKIP() << "the superuser may write into read-only folders and files";
    QTemporaryDir dir;
    const QString folder = dir.filePath(u"locked"_s);
    ASSERT_TRUE(QDir().mkpath(folder));
    const QString inLockedFolder = folder + u"/page.html"_s;
    putFile(inLockedFolder, "old");
    QFile::setPermissions(folder, QFile::ReadOwner | QFile::ExeOwner);
    QString error;
    EXPECT_FALSE(textfile::write(inLockedFolder, u"new"_s, &error));
    EXPECT_TRUE(error.contains(inLockedFolder)) << error.toStdString();
    EXPECT_EQ(contents(inLockedFolder), "old");
    QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);

    const QString readOnlyFile = dir.filePath(u"readonly.html"_s);
    putFile(readOnlyFile, "old");
    QFile::setPermissions(readOnlyFile, QFile::ReadOwner);
    EXPECT_FALSE(textfile::write(readOnlyFile, u"new"_s, &error));
    EXPECT_TRUE(error.contains(readOnlyFile)) << error.toStdString();
    EXPECT_EQ(contents(readOnlyFile), "old");
}
