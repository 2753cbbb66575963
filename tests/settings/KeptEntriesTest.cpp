#include "settings/KeptEntries.h"

#include "platform/JsonRegistry.h"
#include "platform/SjisCodec.h"
#include "platform/TextFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

class KeptEntriesTest : public ::testing::Test {
protected:
    QString folder() const { return QDir::toNativeSeparators(dir.path()) + QDir::separator(); }

    static TempDiary fieldsTitled(const QString& title) {
        TempDiary fields;
        fields.TDY = u"2026"_s;
        fields.TDT = title;
        return fields;
    }
    static QString bodyOf(const KeptEntry& entry) {
        QFile file(entry.filePath);
        return file.open(QIODevice::ReadOnly) ? sjis::decode(file.readAll(), sjis::LineBreaks::CrLf)
                                              : QString();
    }
    QString titleOf(const KeptEntry& entry) {
        const std::optional<TempDiary> fields = readTempDiary(registry, entry.key);
        return fields ? fields->TDT : u"<none>"_s;
    }
    // Makes DIARY.TMP look kept some minutes ago, so entries kept later are newer.
    void ageCurrent(int minutes) {
        QFile file(kept.currentPath());
        ASSERT_TRUE(file.open(QIODevice::ReadWrite));
        ASSERT_TRUE(file.setFileTime(QDateTime::currentDateTime().addSecs(-60 * minutes),
                                     QFileDevice::FileModificationTime));
    }

    QTemporaryDir dir;
    QTemporaryDir configDir;
    JsonRegistry registry{configDir.filePath(u"registry.json"_s)};
    KeptEntries kept{folder(), registry};
};

} // namespace

TEST_F(KeptEntriesTest, KeepingWritesOverOnlyTheEntryThisCopyRestored) {
    ASSERT_TRUE(kept.keep(u"一つ目\n"_s, fieldsTitled(u"first"_s), std::nullopt).bodyWritten);
    ageCurrent(30);

    // Another copy keeps its body: the first entry goes aside with its fields.
    const KeepOutcome second = kept.keep(u"二つ目\n"_s, fieldsTitled(u"second"_s), std::nullopt);
    ASSERT_TRUE(second.movedAside);
    const QString stamp = QFileInfo(second.movedAside->filePath).completeBaseName().sliced(6);
    EXPECT_EQ(second.movedAside->key, storenames::SettingsKey + u"\\Temp-"_s + stamp);
    EXPECT_EQ(titleOf(*second.movedAside), u"first"_s);

    // Keeping again what this copy restored writes over it.
    EXPECT_FALSE(kept.keep(u"二つ目、続き\n"_s, fieldsTitled(u"second"_s), kept.list().first()).movedAside);
    // Keeping after restoring the entry moved aside releases it and moves the
    // other copy's entry aside: still two entries, newest first.
    ageCurrent(20);
    EXPECT_TRUE(kept.keep(u"一つ目、続き\n"_s, fieldsTitled(u"first"_s), kept.list().last()).movedAside);
    const QList<KeptEntry> entries = kept.list();
    ASSERT_EQ(entries.size(), 2);
    EXPECT_EQ(bodyOf(entries[0]), u"一つ目、続き\n"_s);
    EXPECT_EQ(bodyOf(entries[1]), u"二つ目、続き\n"_s);
    EXPECT_EQ(titleOf(entries[1]), u"second"_s);
    EXPECT_FALSE(registry.keyExists(second.movedAside->key));
}

TEST_F(KeptEntriesTest, ReleaseFindsTheEntryWhereverItWasMovedAndNothingElse) {
    ASSERT_TRUE(kept.keep(u"mine\n"_s, fieldsTitled(u"mine"_s), std::nullopt).bodyWritten);
    ageCurrent(10);
    const KeptEntry restored = kept.list().first();

    // Another copy keeps an entry meanwhile, moving the restored one aside.
    ASSERT_TRUE(kept.keep(u"theirs\n"_s, fieldsTitled(u"theirs"_s), std::nullopt).movedAside);
    QString error;
    EXPECT_TRUE(kept.release(restored, &error)) << error.toStdString();
    const QList<KeptEntry> left = kept.list();
    ASSERT_EQ(left.size(), 1);
    EXPECT_EQ(bodyOf(left[0]), u"theirs\n"_s) << "the other copy's entry stays";
    EXPECT_EQ(titleOf(left[0]), u"theirs"_s);
    EXPECT_EQ(QDir(dir.path()).entryList({u"DIARY-*"_s}).size(), 0);

    // An entry whose file was written anew since is not the same entry.
    ageCurrent(5);
    KeptEntry stale = kept.list().first();
    stale.size += 1;
    EXPECT_TRUE(kept.release(stale));
    EXPECT_EQ(kept.list().size(), 1);
}

// The exact text is taken only while it still encodes to what DIARY.TMP holds.
TEST_F(KeptEntriesTest, ExactTextIsTakenOnlyWhileItMatchesTheFile) {
    const QString typed = u"絵文字 😀\n"_s;
    const KeptEntry entry = kept.keep(typed, fieldsTitled(u"t"_s), std::nullopt).entry;
    EXPECT_EQ(bodyOf(entry), u"絵文字 &#x1F600;\n"_s);
    EXPECT_EQ(KeptEntries::exactBody(entry, bodyOf(entry)), typed);

    // Rewritten since by a program that knows only DIARY.TMP.
    ASSERT_TRUE(textfile::write(entry.filePath, u"書き直し &#x1F600;\n"_s));
    EXPECT_EQ(KeptEntries::exactBody(entry, bodyOf(entry)), u"書き直し &#x1F600;\n"_s);

    // A body CP932 holds needs no exact text; one left from before goes.
    const KeptEntry plain = kept.keep(u"普通\n"_s, fieldsTitled(u"t"_s), kept.list().first()).entry;
    EXPECT_FALSE(QFileInfo::exists(KeptEntries::exactPath(plain.filePath)));
    EXPECT_EQ(KeptEntries::exactBody(plain, bodyOf(plain)), u"普通\n"_s);
}
