#include "platform/JsonRegistry.h"
#include "support/FakeMessages.h"
#include "support/Unprivileged.h"

#include "platform/Messages.h"
#include "resources/Messages.h"

#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLockFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <limits>
#include <sys/stat.h>
#include <thread>

using namespace Qt::StringLiterals;

namespace {

const QString Pagora = u"\\software\\mervane\\Pagora"_s;
const QString Temp = u"\\software\\mervane\\Pagora\\Temp"_s;

class JsonRegistryTest : public ::testing::Test {
protected:
    QString path() const { return dir.filePath(u"Oribel/registry.json"_s); }

    void writeFile(const QByteArray& bytes) const {
        QDir(dir.path()).mkpath(u"Oribel"_s);
        QFile file(path());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }
    static QByteArray readBytes(const QString& filePath) {
        QFile file(filePath);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    QJsonObject fileObject() const {
        QJsonParseError error;
        const QJsonDocument document = QJsonDocument::fromJson(readBytes(path()), &error);
        EXPECT_EQ(error.error, QJsonParseError::NoError);
        EXPECT_TRUE(document.isObject());
        return document.object();
    }

    QTemporaryDir dir;
    FakeMessages messages;
};

} // namespace

TEST_F(JsonRegistryTest, DefaultPathFollowsXdgConfigHome) {
    EXPECT_EQ(JsonRegistry::defaultPath(),
              QDir(qEnvironmentVariable("XDG_CONFIG_HOME")).filePath(u"Oribel/registry.json"_s));
}

TEST_F(JsonRegistryTest, ValuesKeepTheirTypesAndNamesIgnoreCase) {
    JsonRegistry writer(path(), &messages);
    EXPECT_FALSE(writer.openKey(Pagora, false));
    EXPECT_FALSE(QFile::exists(path())) << "a failed open creates nothing";

    ASSERT_TRUE(writer.openKey(u"software\\Mervane\\PAGORA\\"_s, true));
    EXPECT_TRUE(writer.writeString(u"Name"_s, u"日記 ページ"_s));
    EXPECT_TRUE(writer.writeInteger(u"Count"_s, -5));
    EXPECT_TRUE(writer.writeInteger(u"Max"_s, std::numeric_limits<qint32>::max()));
    EXPECT_EQ(writer.readString(u"name"_s), u"日記 ページ"_s) << "reads see this session's writes";
    EXPECT_TRUE(writer.closeKey());

    const QJsonObject key = fileObject().value(u"HKEY_CURRENT_USER\\software\\Mervane\\PAGORA"_s).toObject();
    EXPECT_TRUE(key.value(u"Name"_s).isString());
    EXPECT_EQ(key.value(u"Count"_s).toInteger(), -5);

    JsonRegistry reader(path(), &messages);
    ASSERT_TRUE(reader.openKey(u"HKEY_CURRENT_USER\\SOFTWARE\\mervane\\pagora"_s, false));
    EXPECT_EQ(reader.readString(u"NAME"_s), u"日記 ページ"_s);
    EXPECT_EQ(reader.readInteger(u"count"_s), -5);
    EXPECT_EQ(reader.readInteger(u"Max"_s), std::numeric_limits<qint32>::max());
    EXPECT_TRUE(reader.readString(u"Count"_s).isEmpty()) << "an integer is no string";
    EXPECT_FALSE(reader.readInteger(u"Name"_s)) << "a string is no integer";
    EXPECT_TRUE(reader.valueExists(u"Count"_s));
    EXPECT_FALSE(reader.valueExists(u"Missing"_s));
    EXPECT_TRUE(reader.deleteValue(u"name"_s));
    EXPECT_TRUE(reader.deleteValue(u"Missing"_s));
    EXPECT_TRUE(reader.closeKey());

    ASSERT_TRUE(writer.openKey(Pagora, false));
    EXPECT_FALSE(writer.valueExists(u"Name"_s));
    EXPECT_EQ(writer.readInteger(u"Count"_s), -5);
    writer.closeKey();
    EXPECT_TRUE(messages.requests().isEmpty());
}

TEST_F(JsonRegistryTest, HandWrittenValuesOfOtherTypesReadAsMissingAndSurvive) {
    const QByteArray original = R"({"\\software\\mervane\\Pagora": {"F": 1.5, "B": true, "H": 4294967296,
        "N": null, "A": [1], "S": "x", "I": 7}})";
    writeFile(original);

    JsonRegistry registry(path(), &messages);
    ASSERT_TRUE(registry.openKey(Pagora, false));
    EXPECT_FALSE(registry.readInteger(u"F"_s));
    EXPECT_FALSE(registry.readInteger(u"H"_s)) << "beyond 32 bits";
    EXPECT_FALSE(registry.readInteger(u"B"_s));
    EXPECT_TRUE(registry.readString(u"B"_s).isEmpty());
    EXPECT_TRUE(registry.readString(u"N"_s).isEmpty());
    EXPECT_EQ(registry.readInteger(u"I"_s), 7);
    EXPECT_EQ(registry.readString(u"S"_s), u"x"_s);
    EXPECT_TRUE(registry.closeKey());
    EXPECT_EQ(readBytes(path()), original) << "a session that wrote nothing leaves the file alone";

    ASSERT_TRUE(registry.openKey(Pagora, true));
    registry.writeString(u"S"_s, u"y"_s);
    ASSERT_TRUE(registry.closeKey());
    const QJsonObject root = fileObject();
    ASSERT_EQ(root.size(), 1) << "the stored spelling of the key is kept";
    const QJsonObject key = root.value(u"\\software\\mervane\\Pagora"_s).toObject();
    EXPECT_EQ(key.value(u"S"_s).toString(), u"y"_s);
    EXPECT_EQ(key.value(u"B"_s), QJsonValue(true));
    EXPECT_EQ(key.value(u"F"_s).toDouble(), 1.5);
    // They were reported once, by the first read that found them.
    ASSERT_EQ(messages.requests().size(), 1);
    QStringList listed;
    for (const char* name : {"A", "B", "F", "H", "N"})
        listed.append(u"・\\software\\mervane\\Pagora の "_s + QLatin1StringView(name));
    EXPECT_EQ(messages.requests().first().text,
              msg::StoreMembersIgnored.arg(QDir::toNativeSeparators(path()), listed.join(u'\n')));
}

TEST_F(JsonRegistryTest, SubkeysAndDeletingAKeyWithThem) {
    JsonRegistry registry(path(), &messages);
    ASSERT_TRUE(registry.openKey(Temp, true));
    registry.writeString(u"TDY"_s, u"2004"_s);
    ASSERT_TRUE(registry.closeKey());
    ASSERT_TRUE(registry.openKey(Pagora + u"X"_s, true));
    registry.writeString(u"Other"_s, u"kept"_s);
    ASSERT_TRUE(registry.closeKey());

    EXPECT_TRUE(registry.keyExists(Pagora)) << "a key with a subkey exists";
    EXPECT_TRUE(registry.openKey(Pagora, false));
    EXPECT_TRUE(registry.writeString(u"Late"_s, u"lost"_s));
    EXPECT_TRUE(registry.deleteKey(u"\\SOFTWARE\\Mervane\\pagora"_s));
    EXPECT_FALSE(registry.writeString(u"Later"_s, u"refused"_s)) << "the open key is gone";
    EXPECT_TRUE(registry.closeKey());

    EXPECT_FALSE(registry.keyExists(Pagora));
    EXPECT_FALSE(registry.keyExists(Temp));
    EXPECT_TRUE(registry.keyExists(Pagora + u"X"_s)) << "a key that merely starts alike stays";
    EXPECT_EQ(fileObject().size(), 1);
    EXPECT_TRUE(registry.deleteKey(Pagora)) << "deleting a missing key is no error";
}

TEST_F(JsonRegistryTest, TwoCopiesKeepEachOthersWrites) {
    JsonRegistry first(path(), &messages);
    JsonRegistry second(path(), &messages);

    ASSERT_TRUE(first.openKey(Pagora, true));
    first.writeString(u"HtmlDate1"_s, u"<b>"_s);

    // While the first copy has the key open, the second keeps an entry and
    // stores a value of its own in the same key.
    ASSERT_TRUE(second.openKey(Temp, true));
    second.writeString(u"TDT"_s, u"題"_s);
    ASSERT_TRUE(second.closeKey());
    ASSERT_TRUE(second.openKey(Pagora, true));
    second.writeInteger(u"WriteDiaryTime"_s, 3);
    second.writeString(u"HtmlDate1"_s, u"<i>"_s);
    ASSERT_TRUE(second.closeKey());

    first.writeInteger(u"WriteDiaryLines"_s, 9);
    first.deleteValue(u"NewProcessFlag"_s);
    ASSERT_TRUE(first.closeKey());

    JsonRegistry reader(path(), &messages);
    ASSERT_TRUE(reader.openKey(Temp, false));
    EXPECT_EQ(reader.readString(u"TDT"_s), u"題"_s);
    reader.closeKey();
    ASSERT_TRUE(reader.openKey(Pagora, false));
    EXPECT_EQ(reader.readString(u"HtmlDate1"_s), u"<b>"_s) << "the last close wins for a value both wrote";
    EXPECT_EQ(reader.readInteger(u"WriteDiaryTime"_s), 3);
    EXPECT_EQ(reader.readInteger(u"WriteDiaryLines"_s), 9);
    reader.closeKey();
    EXPECT_FALSE(QFile::exists(path() + u".lock"_s));
    EXPECT_TRUE(messages.requests().isEmpty());
}

TEST_F(JsonRegistryTest, DamagedFileIsReportedOnceAndKeptAside) {
    const QByteArray damaged = "{\"\\\\software\\\\mervane\\\\Pagora\": {\"HtmlDate1\": \"<b>\"";
    writeFile(damaged);

    JsonRegistry registry(path(), &messages);
    EXPECT_FALSE(registry.openKey(Pagora, false));
    const QStringList badFiles = QDir(dir.filePath(u"Oribel"_s)).entryList({u"registry.json.bad-*"_s});
    ASSERT_EQ(badFiles.size(), 1);
    const QString keptAs = dir.filePath(u"Oribel/"_s + badFiles.first());
    ASSERT_EQ(messages.requests().size(), 1);
    const MessageRequest& report = messages.requests().first();
    EXPECT_EQ(report.text,
              msg::StoreDamagedKept.arg(QDir::toNativeSeparators(path()), QDir::toNativeSeparators(keptAs)));
    EXPECT_EQ(report.caption, msg::StoreDamagedCaption);
    EXPECT_EQ(report.icon, MsgIcon::Warning);
    EXPECT_EQ(readBytes(keptAs), damaged);
    EXPECT_FALSE(QFile::exists(path()));

    EXPECT_FALSE(registry.keyExists(Pagora));
    ASSERT_TRUE(registry.openKey(Pagora, true));
    registry.writeString(u"HtmlDate1"_s, u"<i>"_s);
    ASSERT_TRUE(registry.closeKey());
    EXPECT_EQ(fileObject().size(), 1);
    EXPECT_EQ(messages.requests().size(), 1);

    // Wrong shapes count as damage too, and so does something that is no
    // file; each damaged file is kept under a name of its own, never over an
    // earlier one.
    const QString fifoMarker = u"<a FIFO>"_s;
    const QList<QByteArray> shapes = {QByteArray("[1, 2]"), QByteArray("\xff\xfe garbage"),
                                      QByteArray("\"text\""), fifoMarker.toUtf8()};
    for (const QByteArray& shape : shapes) {
        if (shape == fifoMarker.toUtf8())
            ASSERT_EQ(::mkfifo(QFile::encodeName(path()).constData(), 0600), 0);
        else
            writeFile(shape);
        FakeMessages fresh;
        JsonRegistry other(path(), &fresh);
        EXPECT_FALSE(other.keyExists(Pagora));
        EXPECT_EQ(fresh.requests().size(), 1);
    }
    const QStringList kept =
        QDir(dir.filePath(u"Oribel"_s))
            .entryList({u"registry.json.bad*"_s}, QDir::AllEntries | QDir::System, QDir::Name);
    ASSERT_EQ(kept.size(), 1 + shapes.size());
    const QRegularExpression badName(u"^registry\\.json\\.bad-[0-9]{8}-[0-9]{6}(-[0-9]+)?$"_s);
    QList<QByteArray> keptContents;
    for (const QString& name : kept) {
        EXPECT_TRUE(badName.match(name).hasMatch()) << name.toStdString();
        const QString file = dir.filePath(u"Oribel/"_s + name);
        keptContents.append(QFileInfo(file).isFile() ? readBytes(file) : fifoMarker.toUtf8());
    }
    for (const QByteArray& original : QList<QByteArray>{damaged} + shapes)
        EXPECT_TRUE(keptContents.contains(original)) << original.toStdString();
}

TEST_F(JsonRegistryTest, MembersThatAreNotWhatTheyShouldBeAreIgnoredAndReportedOnce) {
    struct Case {
        const char* what;
        QByteArray file;
        QString ignored; // the report's list
    };
    const QList<Case> cases = {
        {"a key that is a number",
         R"({"\\software\\mervane\\Pagora": 5, "\\software\\Other": {"V": "kept"}})",
         u"・\\software\\mervane\\Pagora"_s},
        {"a key that is a list",
         R"({"\\software\\mervane\\Pagora": ["x"], "\\software\\Other": {"V": "kept"}})",
         u"・\\software\\mervane\\Pagora"_s},
        {"values of other types beside good ones",
         R"({"\\software\\mervane\\Pagora": {"HtmlDate1": true, "WriteDiaryTime": 2.5, "LoadLog": null},
            "\\software\\Other": {"V": "kept"}})",
         u"・\\software\\mervane\\Pagora の HtmlDate1\n・\\software\\mervane\\Pagora の LoadLog\n"
         u"・\\software\\mervane\\Pagora の WriteDiaryTime"_s},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        writeFile(c.file);
        FakeMessages fresh;
        JsonRegistry registry(path(), &fresh);
        ASSERT_TRUE(registry.openKey(u"\\software\\Other"_s, false)) << "the rest is kept";
        EXPECT_EQ(registry.readString(u"V"_s), u"kept"_s);
        registry.closeKey();
        if (registry.openKey(Pagora, false)) {
            EXPECT_FALSE(registry.valueExists(u"HtmlDate1"_s));
            EXPECT_FALSE(registry.valueExists(u"WriteDiaryTime"_s));
            registry.closeKey();
        }
        // A save goes through, and the next reads do not report again.
        ASSERT_TRUE(registry.openKey(Pagora, true));
        registry.writeString(u"HtmlDate2"_s, u"<i>"_s);
        ASSERT_TRUE(registry.closeKey()) << registry.lastError().toStdString();
        EXPECT_TRUE(registry.keyExists(Pagora));
        ASSERT_EQ(fresh.requests().size(), 1);
        EXPECT_EQ(fresh.requests().first().text,
                  msg::StoreMembersIgnored.arg(QDir::toNativeSeparators(path()), c.ignored));
        EXPECT_EQ(fresh.requests().first().caption, msg::StoreDamagedCaption);
        EXPECT_EQ(fileObject().value(u"\\software\\Other"_s).toObject().value(u"V"_s).toString(), u"kept"_s);
        EXPECT_FALSE(QDir(dir.filePath(u"Oribel"_s)).entryList({u"*.bad*"_s}).size() > 0)
            << "nothing was taken for damage";
    }

    // A long list is cut short.
    QJsonObject many;
    for (int i = 0; i < 15; ++i)
        many.insert(u"K"_s + QString::number(i).rightJustified(2, u'0'), 1.5);
    writeFile(QJsonDocument(QJsonObject{{Pagora, many}}).toJson());
    FakeMessages fresh;
    JsonRegistry registry(path(), &fresh);
    EXPECT_TRUE(registry.keyExists(Pagora));
    ASSERT_EQ(fresh.requests().size(), 1);
    EXPECT_TRUE(fresh.requests().first().text.contains(u"K09\nほか 5 件\n"_s))
        << fresh.requests().first().text.toStdString();
}

TEST_F(JsonRegistryTest, AWriteWaitsForAnotherCopyHoldingTheLockHoweverLong) {
    JsonRegistry registry(path(), &messages);
    ASSERT_TRUE(registry.openKey(Pagora, true));
    registry.writeString(u"HtmlDate1"_s, u"<b>"_s);

    // Another copy holds the lock for longer than a write used to wait.
    QLockFile other(path() + u".lock"_s);
    ASSERT_TRUE(other.tryLock(0));
    std::thread releaser([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(5500));
        other.unlock();
    });
    const bool stored = registry.closeKey();
    releaser.join();
    EXPECT_TRUE(stored) << registry.lastError().toStdString();
    EXPECT_EQ(fileObject()
                  .value(u"HKEY_CURRENT_USER\\software\\mervane\\Pagora"_s)
                  .toObject()
                  .value(u"HtmlDate1"_s),
              QJsonValue(u"<b>"_s));
}

TEST_F(JsonRegistryTest, AFailedWriteTellsWhereAndWhy) {
    ASSERT_TRUE(testsupport::openUp(dir.path()));
    const QString folder = dir.filePath(u"Oribel"_s);
    ASSERT_TRUE(QDir().mkpath(folder));
    writeFile(R"({"HKEY_CURRENT_USER\\software\\mervane\\Pagora": {"A": "1"}})");
    struct Case {
        const char* what;
        QString store;     // the settings file
        bool lockedFolder; // no one but its owner may create files in the folder
        QString expected;  // lastError()
    };
    const QString blocker = dir.filePath(u"blocker"_s);
    {
        QFile file(blocker);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    }
    const QList<Case> cases = {
        {"the folder would have to be inside a file", blocker + u"/Oribel/registry.json"_s, false,
         QDir::toNativeSeparators(blocker + u"/Oribel"_s) + u": "_s + qt_error_string(ENOTDIR)},
        {"the folder may not be written", path(), true,
         QDir::toNativeSeparators(path() + u".lock"_s) + u": "_s + qt_error_string(EACCES)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        QFile::setPermissions(
            folder, QFile::ReadOwner | QFile::ExeOwner | QFile::ReadOther | QFile::ExeOther |
                        (c.lockedFolder ? QFile::Permissions() : QFile::WriteOwner | QFile::WriteOther));
        const std::optional<QByteArray> result = testsupport::runUnprivileged([&] {
            JsonRegistry registry(c.store, nullptr);
            if (!registry.openKey(Pagora, true))
                return registry.lastError().toUtf8();
            registry.writeString(u"A"_s, u"2"_s);
            if (registry.closeKey())
                return QByteArray("stored");
            return registry.lastError().toUtf8();
        });
        QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        ASSERT_TRUE(result);
        EXPECT_EQ(QString::fromUtf8(*result), c.expected);
    }
    EXPECT_EQ(fileObject().value(u"HKEY_CURRENT_USER\\software\\mervane\\Pagora"_s).toObject().value(u"A"_s),
              QJsonValue(u"1"_s));
}

TEST_F(JsonRegistryTest, DeepOrBigInputIsHandled) {
    writeFile(QByteArray(200000, '['));
    JsonRegistry registry(path(), &messages);
    EXPECT_FALSE(registry.openKey(Pagora, false));
    EXPECT_EQ(messages.requests().size(), 1);

    const QString big(1024 * 1024, u'字');
    ASSERT_TRUE(registry.openKey(Pagora, true));
    registry.writeString(u"Big"_s, big);
    ASSERT_TRUE(registry.closeKey());
    ASSERT_TRUE(registry.openKey(Pagora, false));
    EXPECT_EQ(registry.readString(u"Big"_s), big);
    registry.closeKey();
}

TEST_F(JsonRegistryTest, UnusableLocationFailsWithoutCrashing) {
    writeFile("{}");
    // A store whose folder would have to be a regular file.
    JsonRegistry registry(path() + u"/registry.json"_s, &messages);
    EXPECT_FALSE(registry.openKey(Pagora, true));
    EXPECT_FALSE(registry.openKey(Pagora, false));
    EXPECT_FALSE(registry.keyExists(Pagora));
    EXPECT_FALSE(registry.writeString(u"A"_s, u"b"_s)) << "no key is open";
    EXPECT_TRUE(registry.closeKey());
    EXPECT_TRUE(messages.requests().isEmpty());
}

TEST_F(JsonRegistryTest, AnUpdateKeepsOtherCopiesOutUntilItCloses) {
    JsonRegistry first(path(), &messages);
    JsonRegistry second(path(), &messages);
    const auto increment = [](JsonRegistry& store) {
        store.writeInteger(u"Count"_s, store.readInteger(u"Count"_s).value_or(0) + 1);
    };
    ASSERT_TRUE(first.openKeyForUpdate(Pagora));
    std::atomic<bool> secondDone = false;
    std::thread other([&] {
        if (second.openKeyForUpdate(Pagora)) {
            increment(second);
            second.closeKey();
        }
        secondDone = true;
    });
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    EXPECT_FALSE(secondDone) << "the other copy waits";
    increment(first);
    ASSERT_TRUE(first.closeKey());
    other.join();
    ASSERT_TRUE(first.openKey(Pagora, false));
    EXPECT_EQ(first.readInteger(u"Count"_s), 2) << "neither increment is lost";
    first.closeKey();

    // A damaged file found by an update is reported once the lock is given back.
    writeFile("{ damaged");
    ASSERT_TRUE(first.openKeyForUpdate(Pagora));
    EXPECT_TRUE(messages.requests().isEmpty());
    first.closeKey();
    EXPECT_EQ(messages.requests().size(), 1);
    EXPECT_FALSE(QFile::exists(path() + u".lock"_s));
}
