#include "platform/TextFile.h"
#include "support/QtPrinters.h"
#include "support/Unprivileged.h"

#include "resources/Messages.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <cstring>
#include <gtest/gtest.h>

#include <csignal>
#include <fcntl.h>
#include <functional>
#include <sys/file.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
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

// Everything in a folder, files, folders, links and special files alike, sorted.
QStringList allEntries(const QString& folder) {
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                                  QDir::Name);
}

QByteArray native(const QString& path) {
    return QFile::encodeName(path);
}

bool makeSocket(const QString& path) {
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    const QByteArray name = native(path);
    if (fd < 0 || size_t(name.size()) >= sizeof address.sun_path)
        return false;
    std::memcpy(address.sun_path, name.constData(), size_t(name.size()));
    const bool bound = ::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
    ::close(fd);
    return bound;
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

TEST(TextFile, OnlyRegularFilesAreRead) {
    QTemporaryDir dir;
    struct Case {
        const char* what;
        std::function<QString()> make; // returns the path, made ready
        textfile::FileKind kind;
        QString reason;
    };
    const QList<Case> cases = {
        {"a folder",
         [&] {
             QDir(dir.path()).mkdir(u"folder"_s);
             return dir.filePath(u"folder"_s);
         },
         textfile::FileKind::Folder, u"通常のファイルではなく、フォルダです。"_s},
        {"a FIFO without a writer (opening it would wait)",
         [&] {
             const QString path = dir.filePath(u"DIARY.TMP"_s);
             ::mkfifo(native(path).constData(), 0600);
             return path;
         },
         textfile::FileKind::Fifo, u"通常のファイルではなく、名前付きパイプ（FIFO）です。"_s},
        {"an endless device", [] { return u"/dev/zero"_s; }, textfile::FileKind::CharDevice,
         u"通常のファイルではなく、デバイス（キャラクタ型）です。"_s},
        {"a socket",
         [&] {
             const QString path = dir.filePath(u"sock"_s);
             makeSocket(path);
             return path;
         },
         textfile::FileKind::Socket, u"通常のファイルではなく、ソケットです。"_s},
        {"a missing file", [&] { return dir.filePath(u"missing.htm"_s); }, textfile::FileKind::Missing,
         qt_error_string(ENOENT)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const QString path = c.make();
        EXPECT_EQ(textfile::fileKind(path), c.kind);
        textfile::FileError error;
        EXPECT_FALSE(textfile::readBytes(path, error));
        EXPECT_EQ(error.path, QDir::toNativeSeparators(path));
        EXPECT_EQ(error.reason, c.reason);
        QString message;
        EXPECT_FALSE(textfile::read(path, &message));
        EXPECT_EQ(message, u"ファイル "_s + path + u" を読み込めませんでした。\n理由: "_s + c.reason);
    }

    // A symbolic link to a page is as good as the page.
    const QString page = dir.filePath(u"page.htm"_s);
    putFile(page, "<p>");
    ASSERT_TRUE(QFile::link(page, dir.filePath(u"link.htm"_s)));
    EXPECT_EQ(textfile::fileKind(dir.filePath(u"link.htm"_s)), textfile::FileKind::Regular);
    EXPECT_EQ(textfile::readBytes(dir.filePath(u"link.htm"_s)), QByteArray("<p>"));
}

TEST(TextFile, FilesOverOneGigabyteAreRefusedBeforeReading) {
    QTemporaryDir dir;
    const QString path = dir.filePath(u"huge.htm"_s);
    // Sparse: takes no room on the disk, and reading it would take a gigabyte.
    putFile(path, QByteArray());
    ASSERT_EQ(::truncate(native(path).constData(), textfile::MaxReadBytes + 1), 0);
    textfile::FileError error;
    EXPECT_FALSE(textfile::readBytes(path, error));
    EXPECT_EQ(error.reason,
              u"ファイルの大きさ（1073741825 バイト）が上限の 1 GB（1073741824 バイト）を超えています。"_s);
}

TEST(TextFile, SavingOverSomethingThatIsNoFileIsRefused) {
    QTemporaryDir dir;
    const QString folder = dir.filePath(u"page.htm"_s);
    ASSERT_TRUE(QDir(dir.path()).mkdir(u"page.htm"_s));
    const QString fifo = dir.filePath(u"pipe.htm"_s);
    ASSERT_EQ(::mkfifo(native(fifo).constData(), 0600), 0);
    for (const QString& path : {folder, fifo}) {
        SCOPED_TRACE(path.toStdString());
        QString error;
        EXPECT_FALSE(textfile::write(path, u"text"_s, &error));
        EXPECT_TRUE(error.startsWith(u"ファイル "_s + path +
                                     u" に書き込めませんでした。\n理由: 通常のファイルではなく"_s))
            << error.toStdString();
    }
    EXPECT_EQ(textfile::fileKind(folder), textfile::FileKind::Folder);
    EXPECT_EQ(textfile::fileKind(fifo), textfile::FileKind::Fifo);
    EXPECT_EQ(allEntries(dir.path()), (QStringList{u"page.htm"_s, u"pipe.htm"_s}));
}

TEST(TextFile, TheNextSaveRemovesLeftoversOfInterruptedSavesOfThatPageOnly) {
    QTemporaryDir dir;
    const QString page = dir.filePath(u"page.htm"_s);
    putFile(page, "old");
    enum class Make { File, Folder, Link, HeldBySave };
    struct Case {
        QString name;
        Make make;
        bool named; // named like a leftover of page.htm
        bool removed;
    };
    const QList<Case> cases = {
        {u".page.htm.oribel-save-AbC123"_s, Make::File, true, true},
        {u".page.htm.oribel-save-zz9ZZ0"_s, Make::File, true, true},
        {u".page.htm.oribel-save-AbC12"_s, Make::File, false, false},   // too short
        {u".page.htm.oribel-save-AbC1234"_s, Make::File, false, false}, // too long
        {u".page.htm.oribel-save-AbC-23"_s, Make::File, false, false},  // not a random part
        {u".page.html.oribel-save-AbC123"_s, Make::File, false, false}, // another page
        {u".other.htm.oribel-save-AbC123"_s, Make::File, false, false},
        {u"page.htm.AbC123"_s, Make::File, false, false}, // the user's own file, maybe
        {u".page.htm.oribel-save-Dir123"_s, Make::Folder, true, false},
        {u".page.htm.oribel-save-Lnk123"_s, Make::Link, true, false},
        {u".page.htm.oribel-save-Run123"_s, Make::HeldBySave, true, false}, // a save still running
    };
    int held = -1;
    for (const Case& c : cases) {
        const QString path = dir.filePath(c.name);
        switch (c.make) {
        case Make::File:
            putFile(path, "partial");
            break;
        case Make::Folder:
            QDir(dir.path()).mkdir(c.name);
            break;
        case Make::Link:
            QFile::link(page, path);
            break;
        case Make::HeldBySave:
            putFile(path, "partial");
            held = ::open(native(path).constData(), O_RDONLY | O_CLOEXEC);
            ASSERT_EQ(::flock(held, LOCK_EX), 0);
            break;
        }
        EXPECT_EQ(textfile::isSaveLeftover(c.name, u"page.htm"_s), c.named) << c.name.toStdString();
    }

    ASSERT_TRUE(textfile::write(page, u"new"_s));
    EXPECT_EQ(contents(page), "new");
    QStringList expected{u"page.htm"_s};
    for (const Case& c : cases) {
        if (!c.removed)
            expected.append(c.name);
    }
    expected.sort();
    EXPECT_EQ(allEntries(dir.path()), expected);

    // Once the running save is gone, its file is a leftover too.
    ::close(held);
    EXPECT_EQ(textfile::removeSaveLeftovers(page), 1);
    EXPECT_FALSE(QFile::exists(dir.filePath(u".page.htm.oribel-save-Run123"_s)));
}

TEST(TextFile, AVeryLongNameSavesAndCleansUpToo) {
    QTemporaryDir dir;
    const QString name = QString(240, u'a') + u".htm"_s;
    const QString page = dir.filePath(name);
    QString error;
    ASSERT_TRUE(textfile::write(page, u"one"_s, &error)) << error.toStdString();
    ASSERT_TRUE(textfile::write(page, u"two"_s, &error)) << error.toStdString();
    EXPECT_EQ(contents(page), "two");
    EXPECT_EQ(entries(dir.path()), QStringList{name});
}

TEST(TextFile, SavingKeepsLinksAndPermissions) {
    QTemporaryDir dir;
    const QString page = dir.filePath(u"page.htm"_s);
    putFile(page, "old");
    ASSERT_TRUE(QFile::setPermissions(page, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup));
    const QString link = dir.filePath(u"link.htm"_s);
    ASSERT_TRUE(QFile::link(page, link));

    ASSERT_TRUE(textfile::write(link, u"new"_s));
    EXPECT_TRUE(QFileInfo(link).isSymLink());
    EXPECT_EQ(contents(page), "new");
    // Owner, group and others (the user's own flags depend on who runs the test).
    const QFile::Permissions stored = QFile::permissions(page) & QFile::Permissions::fromInt(0xF0FF);
    EXPECT_EQ(stored, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup);
    EXPECT_EQ(entries(dir.path()), (QStringList{u"link.htm"_s, u"page.htm"_s}));
}

// The old pages kept during rewrites in place go to a folder everyone may
// write, so that the unprivileged bodies below reach it.
QString openGuardFolder(const QTemporaryDir& dir) {
    const QString folder = dir.filePath(u"state"_s);
    QDir().mkpath(folder);
    QFile::setPermissions(folder, QFile::Permissions(0x7777));
    textfile::setRewriteGuardFolder(folder);
    return folder;
}

TEST(TextFile, ReadOnlyFolderIsWrittenInPlaceButAReadOnlyFileIsNot) {
    QTemporaryDir dir;
    ASSERT_TRUE(testsupport::openUp(dir.path()));
    const QString guards = openGuardFolder(dir);
    const QString folder = dir.filePath(u"pages"_s);
    ASSERT_TRUE(QDir().mkpath(folder));
    const QString page = folder + u"/page.htm"_s;
    const auto writable = QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::WriteGroup |
                          QFile::ReadOther | QFile::WriteOther;
    const auto readOnly = QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther;
    struct Case {
        const char* what;
        bool folderWritable;
        QFile::Permissions file;
        bool saved;
    };
    const QList<Case> cases = {
        {"a page that may be written, in a folder that may not: rewritten in place", false, writable, true},
        {"a read-only page in a folder that may not be written: stays", false, readOnly, false},
        {"a read-only page in a folder that may be written: stays", true, readOnly, false},
    };
    // The body below runs as an ordinary user; the folder and the file belong
    // to the test, so "others" are what counts when the tests run as the superuser.
    const auto folderAccess = [](bool writable) {
        QFile::Permissions access = QFile::ReadOwner | QFile::ExeOwner | QFile::ReadOther | QFile::ExeOther;
        if (writable)
            access |= QFile::WriteOwner | QFile::WriteOther;
        return access;
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        QFile::setPermissions(folder, folderAccess(true));
        QFile::remove(page);
        putFile(page, "old contents, longer than the new");
        ASSERT_TRUE(QFile::setPermissions(page, c.file));
        ASSERT_TRUE(QFile::setPermissions(folder, folderAccess(c.folderWritable)));

        const std::optional<QByteArray> error = testsupport::runUnprivileged([&] {
            QString message;
            return textfile::write(page, u"new"_s, &message) ? QByteArray() : message.toUtf8();
        });
        QFile::setPermissions(folder, folderAccess(true));
        ASSERT_TRUE(error);
        if (c.saved) {
            EXPECT_EQ(*error, QByteArray());
            EXPECT_EQ(contents(page), "new");
        } else {
            EXPECT_EQ(QString::fromUtf8(*error), u"ファイル "_s + page +
                                                     u" に書き込めませんでした。\n理由: "_s +
                                                     qt_error_string(EACCES));
            EXPECT_EQ(contents(page), "old contents, longer than the new");
        }
        EXPECT_EQ(entries(folder), QStringList{u"page.htm"_s});
        EXPECT_EQ(entries(guards), QStringList()) << "the old page is not kept once the rewrite is done";
    }

    // A longer page that does not fit (a file size limit stands in for a full
    // disk) fails before the old page is touched.
    putFile(page, "old page");
    ASSERT_TRUE(QFile::setPermissions(page, writable));
    ASSERT_TRUE(QFile::setPermissions(folder, folderAccess(false)));
    const std::optional<QByteArray> error = testsupport::runUnprivileged([&] {
        const rlimit limit{16, 16};
        ::signal(SIGXFSZ, SIG_IGN);
        QString message;
        if (::setrlimit(RLIMIT_FSIZE, &limit) != 0)
            return QByteArray("setrlimit failed");
        return textfile::write(page, QString(64, u'x'), &message) ? QByteArray() : message.toUtf8();
    });
    QFile::setPermissions(folder, folderAccess(true));
    ASSERT_TRUE(error);
    EXPECT_EQ(QString::fromUtf8(*error),
              u"ファイル "_s + page + u" に書き込めませんでした。\n理由: "_s + qt_error_string(EFBIG));
    EXPECT_EQ(contents(page), "old page");
}

// A rewrite in place that dies keeps the old page aside, offered back at the
// next start once the page was changed. The rewrite is stopped by a file size
// limit that lets the old page be kept but not the longer new one be written:
// the process dies there, before the page's first byte is overwritten.
TEST(TextFile, ARewriteInPlaceThatDiesLeavesTheOldPageToBeOfferedBack) {
    QTemporaryDir dir;
    ASSERT_TRUE(testsupport::openUp(dir.path()));
    const QString guards = openGuardFolder(dir);
    const QString folder = dir.filePath(u"pages"_s);
    ASSERT_TRUE(QDir().mkpath(folder));
    const QString page = folder + u"/page.htm"_s;
    putFile(page, "old page, whole");
    ASSERT_TRUE(QFile::setPermissions(page, QFile::Permissions(0x6666)));
    const auto dyingRewrite = [&] {
        QFile::setPermissions(folder, QFile::Permissions(0x5555));
        const pid_t child = ::fork();
        if (child == 0) {
            if (::geteuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0))
                ::_exit(3);
            const rlimit size{1024, 1024}, core{0, 0};
            ::setrlimit(RLIMIT_CORE, &core);
            ::setrlimit(RLIMIT_FSIZE, &size);
            textfile::writeBytes(page, QByteArray(4096, 'n'));
            ::_exit(0);
        }
        int status = 0;
        const bool died = child > 0 && ::waitpid(child, &status, 0) == child && WIFSIGNALED(status);
        QFile::setPermissions(folder, QFile::Permissions(0x7777));
        return died;
    };

    ASSERT_TRUE(dyingRewrite());
    EXPECT_EQ(entries(guards).size(), 1);
    EXPECT_TRUE(textfile::interruptedRewrites().isEmpty()) << "the page was not changed yet";
    EXPECT_EQ(entries(guards), QStringList());

    ASSERT_TRUE(dyingRewrite());
    putFile(page, QByteArray(1024, 'n') + "ole"); // torn as a later kill leaves it
    const QList<textfile::InterruptedRewrite> found = textfile::interruptedRewrites();
    ASSERT_EQ(found.size(), 1);
    EXPECT_EQ(found[0].page, page);
    EXPECT_EQ(found[0].oldBytes, "old page, whole");
    textfile::FileError error;
    ASSERT_TRUE(textfile::restoreInterruptedRewrite(found[0], error)) << error.reason.toStdString();
    EXPECT_EQ(contents(page), "old page, whole");
    EXPECT_EQ(entries(guards), QStringList());
    EXPECT_TRUE(textfile::interruptedRewrites().isEmpty());
}
