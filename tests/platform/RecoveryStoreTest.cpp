#include "platform/RecoveryStore.h"
#include "support/QtPrinters.h"

#include "platform/TextFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMutex>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <functional>
#include <sys/wait.h>
#include <unistd.h>
#include <utime.h>

using namespace Qt::StringLiterals;

namespace {

QByteArray contents(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

QStringList filesIn(const QString& folder) {
    return QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
}

void setModified(const QString& path, const QDateTime& time) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    ASSERT_TRUE(file.setFileTime(time, QFileDevice::FileModificationTime));
}

// A copy of the program that wrote recovery copies and then died: a child
// process makes a store in folder, runs work on it and ends without a word,
// leaving its lock file behind. Returns the child's instance name.
QString orphanWith(const QString& folder, const std::function<void(RecoveryStore&)>& work) {
    int channel[2];
    if (::pipe(channel) != 0)
        return {};
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(channel[0]);
        RecoveryStore store(folder);
        work(store);
        const QByteArray name = store.instanceName().toLatin1();
        [[maybe_unused]] const ssize_t written = ::write(channel[1], name.constData(), size_t(name.size()));
        ::_exit(0);
    }
    ::close(channel[1]);
    char buffer[64] = {};
    const ssize_t got = ::read(channel[0], buffer, sizeof buffer - 1);
    ::close(channel[0]);
    int status = 0;
    ::waitpid(child, &status, 0);
    return got > 0 ? QString::fromLatin1(buffer, got) : QString();
}

} // namespace

TEST(RecoveryStore, DefaultFolderFollowsXdgStateHome) {
    EXPECT_EQ(RecoveryStore::defaultFolder(),
              QDir(qEnvironmentVariable("XDG_STATE_HOME")).filePath(u"Oribel"_s));
}

TEST(RecoveryStore, CopiesAreWrittenReplacedAndRemoved) {
    QTemporaryDir dir;
    const QString folder = dir.filePath(u"state/Oribel"_s);
    RecoveryStore store(folder);
    ASSERT_TRUE(store.isUsable()) << store.lastError().toStdString();
    EXPECT_EQ(QFile::permissions(folder) & QFile::Permissions::fromInt(0xF0FF),
              QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);

    EXPECT_FALSE(store.hasCopy(RecoveryKind::TodayBody));
    ASSERT_TRUE(store.write(RecoveryKind::TodayBody, "first", {}));
    ASSERT_TRUE(store.write(RecoveryKind::TodayBody, "second", {}));
    ASSERT_TRUE(store.write(RecoveryKind::Page, "<html>", {u"/pages/diary.htm"_s, QDateTime()}));
    EXPECT_TRUE(store.hasCopy(RecoveryKind::TodayBody));
    const QString instance = store.instanceName();
    EXPECT_EQ(filesIn(folder),
              (QStringList{instance + u".lock"_s, instance + u".page.rcv"_s, instance + u".today.rcv"_s}));
    EXPECT_TRUE(contents(store.copyPath(RecoveryKind::TodayBody)).endsWith("\nsecond"));

    ASSERT_TRUE(store.remove(RecoveryKind::TodayBody));
    EXPECT_TRUE(store.remove(RecoveryKind::TodayBody)) << "removing what is not there is no error";
    EXPECT_FALSE(store.hasCopy(RecoveryKind::TodayBody));
    EXPECT_TRUE(store.hasCopy(RecoveryKind::Page));
    EXPECT_TRUE(store.lastError().isEmpty());

    // A store that cannot have its folder fails its writes and says where and why.
    QFile blocker(dir.filePath(u"blocker"_s));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    RecoveryStore unusable(dir.filePath(u"blocker/Oribel"_s));
    EXPECT_FALSE(unusable.isUsable());
    EXPECT_FALSE(unusable.write(RecoveryKind::TodayBody, "text", {}));
    EXPECT_TRUE(unusable.lastError().startsWith(QDir::toNativeSeparators(dir.filePath(u"blocker/Oribel"_s))))
        << unusable.lastError().toStdString();
    EXPECT_TRUE(unusable.scan().offers.isEmpty());
}

TEST(RecoveryStore, OrphanCopiesNewerThanWhatTheyBelongToAreOfferedTheOthersSetAside) {
    const QDateTime now = QDateTime::currentDateTime();
    struct Case {
        const char* what;
        RecoveryKind kind;
        // Makes the source before the copy is written; returns its path.
        std::function<QString(const QString& folder)> source;
        // Runs after the copy was written (moves the source's time, damages the copy).
        std::function<void(const QString& source, const QString& copy)> after;
        bool offered;
    };
    const auto makePage = [](const QString& folder) {
        const QString page = folder + u"/diary.htm"_s;
        QFile file(page);
        (void)file.open(QIODevice::WriteOnly);
        return page;
    };
    const auto nothing = [](const QString&, const QString&) {};
    const QList<Case> cases = {
        {"today's body, belonging to no file", RecoveryKind::TodayBody,
         [](const QString&) { return QString(); }, nothing, true},
        {"today's body, newer than the kept entry", RecoveryKind::TodayBody, makePage,
         [&](const QString& source, const QString&) { setModified(source, now.addSecs(-3600)); }, true},
        {"a page whose file is gone", RecoveryKind::Page,
         [](const QString& folder) { return folder + u"/gone.htm"_s; }, nothing, true},
        {"a page last saved before the copy", RecoveryKind::Page, makePage,
         [&](const QString& source, const QString&) { setModified(source, now.addSecs(-3600)); }, true},
        {"a page saved after the copy", RecoveryKind::Page, makePage,
         [&](const QString& source, const QString&) { setModified(source, now.addSecs(3600)); }, false},
        {"a copy cut short", RecoveryKind::Page, makePage,
         [&](const QString& source, const QString& copy) {
             setModified(source, now.addSecs(-3600));
             QFile file(copy);
             (void)file.open(QIODevice::ReadWrite);
             (void)file.resize(file.size() - 1);
         },
         false},
        {"a copy that is no copy", RecoveryKind::TodayBody, [](const QString&) { return QString(); },
         [](const QString&, const QString& copy) {
             (void)textfile::writeBytes(copy, "text of the user's own");
         },
         false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        QTemporaryDir dir;
        const QString folder = dir.filePath(u"Oribel"_s);
        const QString source = c.source(dir.path());
        const QDateTime loaded = now.addSecs(-7200);
        const QString orphan = orphanWith(folder, [&](RecoveryStore& store) {
            store.write(c.kind, "unsaved\r\ntext",
                        {source, c.kind == RecoveryKind::Page ? loaded : QDateTime()});
        });
        ASSERT_FALSE(orphan.isEmpty());
        const QString copy =
            QDir(folder).filePath(orphan + (c.kind == RecoveryKind::Page ? u".page.rcv"_s : u".today.rcv"_s));
        c.after(source, copy);
        const QByteArray before = contents(copy);

        RecoveryStore store(folder);
        const RecoveryScan scan = store.scan();
        if (c.offered) {
            ASSERT_EQ(scan.offers.size(), 1);
            const RecoveryOffer& offer = scan.offers.first();
            EXPECT_EQ(offer.kind, c.kind);
            EXPECT_EQ(offer.filePath, copy);
            EXPECT_EQ(offer.text, QByteArray("unsaved\r\ntext"));
            EXPECT_EQ(offer.source.path, source);
            if (c.kind == RecoveryKind::Page) {
                EXPECT_EQ(offer.source.modifiedWhenLoaded.toMSecsSinceEpoch(), loaded.toMSecsSinceEpoch());
            }
            EXPECT_LE(qAbs(offer.copiedAt.secsTo(now)), 60);
            EXPECT_TRUE(scan.setAside.isEmpty());
        } else {
            EXPECT_TRUE(scan.offers.isEmpty());
            ASSERT_EQ(scan.setAside.size(), 1);
            EXPECT_TRUE(scan.setAside.first().startsWith(copy + u".aside-"_s));
            EXPECT_EQ(contents(scan.setAside.first()), before) << "put aside, never deleted";
            EXPECT_FALSE(QFile::exists(copy));
            EXPECT_FALSE(QFile::exists(QDir(folder).filePath(orphan + u".lock"_s))) << "nothing left to lock";
        }
    }
}

TEST(RecoveryStore, RunningCopiesNeverTakeEachOthersFiles) {
    QTemporaryDir dir;
    const QString folder = dir.filePath(u"Oribel"_s);

    // A copy that has been running for hours: its lock's age does not count.
    RecoveryStore running(folder);
    ASSERT_TRUE(running.write(RecoveryKind::TodayBody, "running copy's text", {}));
    setModified(QDir(folder).filePath(running.instanceName() + u".lock"_s),
                QDateTime::currentDateTime().addDays(-1));

    // A copy that died with today's body and the page unsaved; the page's copy
    // is the newer one.
    const QString orphan = orphanWith(folder, [](RecoveryStore& store) {
        store.write(RecoveryKind::TodayBody, "body of the copy that died", {});
        ::usleep(20000);
        store.write(RecoveryKind::Page, "page of the copy that died", {});
    });
    ASSERT_FALSE(orphan.isEmpty());
    // A save of the dead copy that was cut off half way.
    const QString leftover = QDir(folder).filePath(u"."_s + orphan + u".page.rcv.oribel-save-Ab12Cd"_s);
    ASSERT_TRUE(textfile::writeBytes(leftover, "half"));

    RecoveryStore starting(folder);
    RecoveryScan scan = starting.scan();
    ASSERT_EQ(scan.offers.size(), 2);
    EXPECT_EQ(scan.offers[0].text, QByteArray("page of the copy that died")) << "newest first";
    EXPECT_EQ(scan.offers[1].text, QByteArray("body of the copy that died"));
    EXPECT_FALSE(QFile::exists(leftover));

    // Another copy starting meanwhile is not offered the same texts.
    RecoveryStore another(folder);
    EXPECT_TRUE(another.scan().offers.isEmpty());

    // The starting copy takes the body over; it refuses to take the page over
    // its own copy of the page, and puts it aside instead.
    ASSERT_TRUE(starting.adopt(scan.offers[1]));
    EXPECT_TRUE(
        contents(starting.copyPath(RecoveryKind::TodayBody)).endsWith("\nbody of the copy that died"));
    ASSERT_TRUE(starting.write(RecoveryKind::Page, "the starting copy's own page", {}));
    EXPECT_FALSE(starting.adopt(scan.offers[0]));
    EXPECT_TRUE(QFile::exists(scan.offers[0].filePath));
    const std::optional<QString> aside = starting.putAside(scan.offers[0]);
    ASSERT_TRUE(aside);
    EXPECT_TRUE(contents(*aside).endsWith("\npage of the copy that died"));

    EXPECT_TRUE(another.scan().offers.isEmpty());
    const QStringList expected{QFileInfo(*aside).fileName(),
                               another.instanceName() + u".lock"_s,
                               running.instanceName() + u".lock"_s,
                               running.instanceName() + u".today.rcv"_s,
                               starting.instanceName() + u".lock"_s,
                               starting.instanceName() + u".page.rcv"_s,
                               starting.instanceName() + u".today.rcv"_s};
    QStringList sorted = expected;
    sorted.sort();
    EXPECT_EQ(filesIn(folder), sorted) << "the running copy's text is untouched, the dead copy's lock gone";
    EXPECT_TRUE(contents(running.copyPath(RecoveryKind::TodayBody)).endsWith("\nrunning copy's text"));
}

TEST(RecoveryStore, QueuedWritesKeepTheNewestTextAndARemovalWins) {
    QTemporaryDir dir;
    const QString folder = dir.filePath(u"Oribel"_s);
    QString instance;
    {
        RecoveryStore store(folder);
        instance = store.instanceName();
        for (int i = 0; i < 200; ++i)
            store.writeLater(RecoveryKind::TodayBody, "body " + QByteArray::number(i), {});
        store.writeLater(RecoveryKind::Page, "page", {});
        store.waitForWrites();
        EXPECT_TRUE(contents(store.copyPath(RecoveryKind::TodayBody)).endsWith("\nbody 199"));

        for (int i = 0; i < 50; ++i) {
            store.writeLater(RecoveryKind::Page, QByteArray(100000, 'p'), {});
            store.remove(RecoveryKind::Page);
        }
        store.waitForWrites();
        EXPECT_FALSE(store.hasCopy(RecoveryKind::Page))
            << "a write queued before a removal never lands after it";
        EXPECT_TRUE(store.lastError().isEmpty()) << store.lastError().toStdString();
    }
    // Left behind by a copy that ended, the body is offered back whole.
    RecoveryStore next(folder);
    const RecoveryScan scan = next.scan();
    ASSERT_EQ(scan.offers.size(), 1);
    EXPECT_EQ(scan.offers.first().text, QByteArray("body 199"));
    EXPECT_EQ(scan.offers.first().filePath, QDir(folder).filePath(instance + u".today.rcv"_s));
}

TEST(RecoveryStore, FieldsTravelWithTheCopyAndQueuedWritesAreAnnounced) {
    QTemporaryDir dir;
    const QString folder = dir.filePath(u"Oribel"_s);
    const QMap<QString, QString> fields{{u"TDT"_s, u"題名"_s}, {u"TDW1N"_s, u"2"_s}};
    QList<std::pair<RecoveryKind, bool>> announced;
    QMutex announcedMutex;
    {
        RecoveryStore store(folder);
        store.setWriteListener([&](RecoveryKind kind, bool written) {
            QMutexLocker locker(&announcedMutex);
            announced.append({kind, written});
        });
        RecoverySource source;
        source.fields = fields;
        store.writeLater(
            RecoveryKind::TodayBody, [] { return QByteArray("made on the worker"); }, source);
        store.waitForWrites();
        store.setWriteListener({});
    }
    EXPECT_EQ(announced, (QList<std::pair<RecoveryKind, bool>>{{RecoveryKind::TodayBody, true}}));

    RecoveryStore next(folder);
    const RecoveryScan scan = next.scan();
    ASSERT_EQ(scan.offers.size(), 1);
    EXPECT_EQ(scan.offers[0].text, QByteArray("made on the worker"));
    EXPECT_EQ(scan.offers[0].source.fields, fields);
}
