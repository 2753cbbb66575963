#include "settings/SettingsStore.h"
#include "support/FakeMessages.h"

#include "document/DocumentHistory.h"
#include "platform/JsonRegistry.h"
#include "resources/Messages.h"
#include "settings/Defaults.h"
#include "today/Statistics.h"

#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QStringList>
#include <QTemporaryDir>
#include <QVariant>
#include <gtest/gtest.h>

#include <array>
#include <string>
#include <utility>

using namespace Qt::StringLiterals;
namespace n = storenames;

namespace {

struct FixedBrowsers : BrowserLookup {
    std::optional<QString> ie, nn, op;
    std::optional<QString> internetExplorer() const override { return ie; }
    std::optional<QString> netscape() const override { return nn; }
    std::optional<QString> opera() const override { return op; }
};

// Accepts the key and fails the write with the given number (counted from 1).
class FailingRegistry : public Registry {
public:
    explicit FailingRegistry(int failAt) : failAt_(failAt) {}
    bool openKey(const QString&, bool) override { return true; }
    bool closeKey() override { return true; }
    QString readString(const QString&) const override { return {}; }
    std::optional<qint32> readInteger(const QString&) const override { return std::nullopt; }
    bool valueExists(const QString&) const override { return false; }
    bool writeString(const QString& name, const QString&) override { return write(name); }
    bool writeInteger(const QString& name, qint32) override { return write(name); }
    bool deleteValue(const QString& name) override {
        deleted.append(name);
        return true;
    }
    bool deleteKey(const QString&) override { return true; }
    bool keyExists(const QString&) const override { return true; }

    QStringList written, deleted;

private:
    bool write(const QString& name) {
        if (written.size() + 1 == failAt_)
            return false;
        written.append(name);
        return true;
    }
    int failAt_;
};

// Every value the settings key holds after a save, in the order of writing.
const QStringList SavedNames =
    u"HtmlDate1 HtmlDate2 HtmlTime1 HtmlTime2 HtmlSky1 HtmlSky2 HtmlSky3 HtmlSky4 HtmlSky5 HtmlSky6 "
    u"HtmlSky7 HtmlMain1 HtmlMain2 HtmlTitle1 HtmlTitle2 HtmlAll1 HtmlAll2 HtmlDataTitle HtmlBRTag "
    u"HtmlHRTag AlwaysOpenHtml UserSiteUrl LoadLog LoadLog1 LoadLog2 ExternalApp1 ExternalApp2 "
    u"DecoPrevColor DecoInfo0 DecoInfo1 DecoInfo2 DecoInfo3 GraphicDir LinkFrame LinkClass "
    u"PositionClass EditFontSize EditFontFace EditFontSizeT EditFontFaceT HtmlSetFlags AppSetFlags "
    u"WindowWidth WindowHeight WindowXPosition WindowYPosition BrowserIE BrowserNN BrowserOpera "
    u"InstallPath Version InsertDiaryTime WriteDiaryFrequency WriteDiaryTime WriteDiaryLines "
    u"WriteDiaryTimeL WriteDiaryLinesL WriteLastMonth UploadProtocol UploadHost UploadPort UploadUser "
    u"UploadFolder UploadLocalFolder UploadKeyFile UploadAgent UploadProjects UploadPins"_s.split(u' ');
const QStringList IntegerNames = {u"WriteDiaryTime"_s, u"WriteDiaryLines"_s, u"WriteDiaryTimeL"_s,
                                  u"WriteDiaryLinesL"_s, u"WriteLastMonth"_s};

class SettingsStoreTest : public ::testing::Test {
protected:
    QString path() const { return dir.filePath(u"registry.json"_s); }

    // Stores values in a key as an earlier run (or version) would have.
    void seed(const QString& key, const QList<std::pair<QString, QVariant>>& values) {
        ASSERT_TRUE(registry.openKey(key, true));
        for (const auto& [name, value] : values) {
            if (value.typeId() == QMetaType::Int)
                registry.writeInteger(name, value.toInt());
            else
                registry.writeString(name, value.toString());
        }
        ASSERT_TRUE(registry.closeKey());
    }

    LoadOutcome load() {
        html = HtmlSet();
        app = AppSet();
        const LoadOutcome outcome = LoadSettings(registry, browsers, html, app);
        loaded = LoadedSettings{html, app};
        return outcome;
    }
    bool save(const QDate& today = QDate(2003, 6, 6)) {
        return SaveSettings(registry, messages, html, app, loaded, u"/opt/oribel/oribel"_s, today);
    }
    void applyDefaults() {
        bool cleared = true;
        ApplySettingDefaults(html, app, cleared);
    }
    QJsonObject storedKey() const {
        QFile file(path());
        EXPECT_TRUE(file.open(QIODevice::ReadOnly));
        return QJsonDocument::fromJson(file.readAll())
            .object()
            .value(u"HKEY_CURRENT_USER\\software\\mervane\\Pagora"_s)
            .toObject();
    }

    QTemporaryDir dir;
    FakeMessages messages;
    JsonRegistry registry{path(), &messages};
    FixedBrowsers browsers;
    HtmlSet html;
    AppSet app;
    LoadedSettings loaded; // as the last load() left the records
};

} // namespace

TEST_F(SettingsStoreTest, FirstRunThenSaveWritesEveryValue) {
    browsers.ie = u"/usr/bin/iexplore"_s;
    const LoadOutcome first = load();
    EXPECT_EQ(first.origin, SettingsOrigin::FirstRun);
    EXPECT_EQ(app.InsertDiaryTime, 0);
    EXPECT_EQ(first.iePathFromSystem, u"/usr/bin/iexplore"_s);
    EXPECT_TRUE(first.sendIEEnabled);
    EXPECT_FALSE(first.sendNNEnabled);
    EXPECT_FALSE(first.sendOperaEnabled);

    applyDefaults();
    app.WriteDiaryTime = 4;
    ASSERT_TRUE(save());
    EXPECT_TRUE(messages.requests().isEmpty());

    const QJsonObject key = storedKey();
    QStringList stored = key.keys();
    QStringList expected = SavedNames;
    stored.sort();
    expected.sort();
    EXPECT_EQ(stored, expected);
    for (const QString& name : SavedNames) {
        const bool integer = IntegerNames.contains(name);
        EXPECT_EQ(key.value(name).isDouble(), integer) << name.toStdString();
        EXPECT_EQ(key.value(name).isString(), !integer) << name.toStdString();
    }
    EXPECT_EQ(key.value(u"Version"_s).toString(), u"3.32"_s);
    EXPECT_EQ(key.value(u"InstallPath"_s).toString(), u"/opt/oribel/oribel"_s);
    EXPECT_EQ(key.value(u"HtmlSetFlags"_s).toString(), u"0000010000010000000"_s);
    EXPECT_EQ(key.value(u"AppSetFlags"_s).toString(), u"000000000000"_s);
    EXPECT_EQ(key.value(u"InsertDiaryTime"_s).toString(), u"0"_s);
    EXPECT_EQ(key.value(u"WriteLastMonth"_s).toInteger(), 24042);
    EXPECT_EQ(key.value(u"WriteDiaryTime"_s).toInteger(), 4);
    EXPECT_EQ(key.value(u"HtmlSky7"_s).toString(), u"／"_s);

    // The next start finds the settings of this version and needs no pass.
    const HtmlSet savedHtml = html;
    const AppSet savedApp = app;
    EXPECT_EQ(load().origin, SettingsOrigin::Current);
    EXPECT_EQ(html.HtmlMain1, savedHtml.HtmlMain1);
    EXPECT_EQ(html.HtmlSetFlags, savedHtml.HtmlSetFlags);
    EXPECT_EQ(app.AppSetFlags, savedApp.AppSetFlags);
    EXPECT_EQ(app.EditFontFaceT, u"ＭＳ ゴシック"_s);
    EXPECT_EQ(app.WriteLastMonth, 24042);
    EXPECT_EQ(app.WriteDiaryTime, 4);
}

TEST_F(SettingsStoreTest, OlderOrMarkedSettingsNeedTheDefaultsPass) {
    seed(n::SettingsKey, {{n::Version, u"3.31"_s}, {u"AppSetFlags"_s, u"000001000000"_s}});
    EXPECT_EQ(load().origin, SettingsOrigin::Older);
    EXPECT_EQ(app.flag(ReservedFlag), '1');
    applyDefaults();
    EXPECT_EQ(app.flag(ReservedFlag), '0');

    using enum SettingsOrigin;
    const std::pair<const char*, SettingsOrigin> versions[] = {
        {"3.32", Current}, {"3.4", Current}, {"10", Current}, {"3.3", Older}, {"", Older}, {"3.32a", Older}};
    for (const auto& [version, origin] : versions) {
        seed(n::SettingsKey, {{n::Version, QString::fromLatin1(version)}});
        EXPECT_EQ(load().origin, origin) << version;
    }

    seed(n::SettingsKey, {{n::Version, u"3.32"_s}, {n::NewProcessFlag, u"1"_s}, {n::FirstPageChangeFlag, 1}});
    EXPECT_EQ(load().origin, SettingsOrigin::Older);
    ASSERT_TRUE(save());
    EXPECT_FALSE(storedKey().contains(n::NewProcessFlag));
    EXPECT_FALSE(storedKey().contains(n::FirstPageChangeFlag));
    EXPECT_EQ(load().origin, SettingsOrigin::Current);
}

// What the start-up defaults pass repaired is stored, so the next start
// (this version's settings, no defaults pass) loads the repaired values; but
// never over a value another copy stored since this one loaded.
TEST_F(SettingsStoreTest, DefaultsPassRepairsAreStoredUnlessAnotherCopyChangedThem) {
    struct Case {
        const char* what;
        QString storedFlags;
        QString otherCopysFlags; // stored between load and save, when not empty
        QString expected;
    };
    const QList<Case> cases = {
        {"invalid characters", u"0000010000010W00000"_s, {}, u"0000010000010000000"_s},
        {"longer than the record", u"000001000001W0000000"_s, {}, u"0000010000010000000"_s},
        {"shorter than the record", u"00000"_s, {}, u"0000010000010000000"_s},
        {"another copy stored since", u"0000010000010W00000"_s, u"1000010000010000000"_s,
         u"1000010000010000000"_s},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ClearSettings(registry);
        seed(n::SettingsKey, {{u"HtmlSetFlags"_s, c.storedFlags}});
        ASSERT_EQ(load().origin, SettingsOrigin::Older);
        applyDefaults();
        loaded.htmlAfterDefaults = html;
        loaded.appAfterDefaults = app;
        if (!c.otherCopysFlags.isEmpty())
            seed(n::SettingsKey, {{u"HtmlSetFlags"_s, c.otherCopysFlags}});
        ASSERT_TRUE(save());
        ASSERT_EQ(load().origin, SettingsOrigin::Current);
        EXPECT_EQ(QString::fromLatin1(html.HtmlSetFlags.data()), c.expected);
    }
}

// Two running copies share the store: each flag position is merged as a value
// of its own, so a switch this copy left alone keeps what the other stored.
TEST_F(SettingsStoreTest, FlagStringsMergePositionByPosition) {
    struct Case {
        const char* what;
        const char* name;
        QString atLoad;
        QString thisCopys;  // this copy's flags at exit
        QString otherCopys; // stored by another copy after this one loaded
        QString expected;
    };
    const QList<Case> cases = {
        {"different wrap switches", "AppSetFlags", u"000000000000"_s, u"000000000100"_s, u"000000001000"_s,
         u"000000001100"_s},
        {"the same switch, this copy last", "AppSetFlags", u"000000000000"_s, u"000000000100"_s,
         u"000000000000"_s, u"000000000100"_s},
        {"this copy turned a switch back", "AppSetFlags", u"000000000100"_s, u"000000000000"_s,
         u"000000001100"_s, u"000000001000"_s},
        {"nothing changed here", "AppSetFlags", u"000000000000"_s, u"000000000000"_s, u"010000000010"_s,
         u"010000000010"_s},
        {"a tag builder page after another copy's", "AppSetFlags", u"000000000000"_s, u"100000000000D"_s,
         u"000000000001L"_s, u"100000000001D"_s},
        {"HTML switches", "HtmlSetFlags", u"0000010000010000000"_s, u"3000010000010000000"_s,
         u"0000010000010000011"_s, u"3000010000010000011"_s},
        {"the other copy's string ends early", "HtmlSetFlags", u"0000010000010000000"_s,
         u"0000010000010000001"_s, u"00000"_s, u"0000010000010000001"_s},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const QString name = QLatin1StringView(c.name);
        ClearSettings(registry);
        seed(n::SettingsKey, {{n::Version, u"3.32"_s}, {name, c.atLoad}});
        ASSERT_EQ(load().origin, SettingsOrigin::Current);
        const bool appFlags = name == u"AppSetFlags"_s;
        char* flags = appFlags ? app.flagData() : html.flagData();
        std::fill_n(flags, appFlags ? app.AppSetFlags.size() : html.HtmlSetFlags.size(), '\0');
        std::ranges::copy(c.thisCopys.toLatin1(), flags);
        seed(n::SettingsKey, {{name, c.otherCopys}});
        ASSERT_TRUE(save());
        EXPECT_EQ(storedKey().value(name).toString().toStdString(), c.expected.toStdString());
    }
}

TEST_F(SettingsStoreTest, LoadRulesPerValue) {
    seed(n::SettingsKey, {{n::Version, u"3.32"_s},
                          {u"HtmlDate1"_s, u""_s},
                          {u"HtmlDate2"_s, u"</b>"_s},
                          {u"EditFontSize"_s, u"abc"_s},
                          {u"EditFontSizeT"_s, u" 14"_s},
                          {u"InsertDiaryTime"_s, u"x"_s},
                          {u"WriteDiaryFrequency"_s, u"2 "_s},
                          {u"HtmlSetFlags"_s, u"5000010000010000000ZZ"_s},
                          {u"AppSetFlags"_s, u"1"_s},
                          {u"WindowWidth"_s, u"800"_s}});
    html.HtmlDate1 = u"kept"_s;
    app.FileHistory1 = u"old.html"_s;
    app.AppSetFlags[SettingsDialogPage] = 'S';
    EXPECT_EQ(LoadSettings(registry, browsers, html, app).origin, SettingsOrigin::Current);

    EXPECT_EQ(html.HtmlDate1, u"kept"_s) << "an empty value leaves the member";
    EXPECT_EQ(html.HtmlDate2, u"</b>"_s);
    EXPECT_TRUE(app.FileHistory1.isEmpty()) << "the history is always taken";
    EXPECT_EQ(app.EditFontSize, u"10"_s);
    EXPECT_EQ(app.EditFontSizeT, u"14"_s) << "leading blanks are allowed";
    EXPECT_TRUE(app.EditFontFace.isEmpty());
    EXPECT_EQ(app.InsertDiaryTime, 0);
    EXPECT_EQ(app.WriteDiaryFrequency, 1);
    EXPECT_EQ(app.WindowWidth, u"800"_s);
    EXPECT_EQ(std::string(html.HtmlSetFlags.data()), "5000010000010000000");
    EXPECT_EQ(std::string(app.AppSetFlags.data(), AppFlagStoredCount),
              std::string("1\0\0\0\0\0\0\0\0\0\0\0\0", 13));
    EXPECT_EQ(app.AppSetFlags[SettingsDialogPage], 'S') << "the dialog's page is never loaded";

    applyDefaults();
    EXPECT_EQ(app.EditFontFace, u"ＭＳ ゴシック"_s);
    app.AppSetFlags[SettingsDialogPage] = '\0';
    EXPECT_EQ(std::string(app.AppSetFlags.data()), "100000000000");
    ASSERT_TRUE(save());
    EXPECT_EQ(storedKey().value(u"AppSetFlags"_s).toString(), u"100000000000"_s);

    // A tag builder page in use is stored as the thirteenth character; the
    // settings dialog's page never is.
    app.AppSetFlags[TagDialogMode] = 'L';
    app.AppSetFlags[SettingsDialogPage] = 'B';
    ASSERT_TRUE(save());
    EXPECT_EQ(storedKey().value(u"AppSetFlags"_s).toString(), u"100000000000L"_s);
    load();
    EXPECT_EQ(app.flag(TagDialogMode), 'L');
    EXPECT_EQ(app.flag(SettingsDialogPage), '\0');

    seed(n::SettingsKey, {{u"InsertDiaryTime"_s, u"17"_s}, {u"WriteDiaryFrequency"_s, u"3"_s}});
    load();
    EXPECT_EQ(app.InsertDiaryTime, 17);
    EXPECT_EQ(app.WriteDiaryFrequency, 3);
}

TEST_F(SettingsStoreTest, StatisticsGroupStopsAtItsFirstUnreadableValue) {
    seed(n::SettingsKey,
         {{u"WriteLastMonth"_s, 24042}, {u"WriteDiaryLines"_s, 50}, {u"WriteDiaryTimeL"_s, 7}});
    load();
    EXPECT_EQ(app.WriteLastMonth, 24042);
    EXPECT_EQ(app.WriteDiaryTime, 0);
    EXPECT_EQ(app.WriteDiaryLines, 0);
    EXPECT_EQ(app.WriteDiaryTimeL, 0);
    EXPECT_FALSE(readSplashFigures(registry));

    seed(n::SettingsKey,
         {{u"WriteLastMonth"_s, u"24042"_s}, {u"WriteDiaryTime"_s, 3}, {u"WriteDiaryLinesL"_s, 9}});
    load();
    EXPECT_EQ(app.WriteLastMonth, 0) << "a number stored as text is no integer";
    EXPECT_EQ(app.WriteDiaryTime, 0);

    seed(n::SettingsKey, {{u"WriteLastMonth"_s, 24042}, {u"WriteDiaryLines"_s, 50}});
    load();
    EXPECT_EQ(app.WriteDiaryTime, 3);
    EXPECT_EQ(app.WriteDiaryLines, 50);
    EXPECT_EQ(app.WriteDiaryTimeL, 7);
    EXPECT_EQ(app.WriteDiaryLinesL, 9);
    const auto figures = readSplashFigures(registry);
    ASSERT_TRUE(figures);
    EXPECT_EQ(figures->time, 3);
    EXPECT_EQ(figures->lines, 50);
    EXPECT_EQ(figures->timeL, 7);
    EXPECT_EQ(figures->linesL, 9);
}

TEST_F(SettingsStoreTest, MonthStampOfTheDayOfSaving) {
    applyDefaults();
    ASSERT_TRUE(save(QDate(2003, 12, 31)));
    EXPECT_EQ(storedKey().value(u"WriteLastMonth"_s).toInteger(), 24048);
    ASSERT_TRUE(save(QDate(2004, 1, 1)));
    EXPECT_EQ(storedKey().value(u"WriteLastMonth"_s).toInteger(), 24049);
}

TEST_F(SettingsStoreTest, KeptEntryRoundTripAndDeletion) {
    applyDefaults();
    ASSERT_TRUE(save());
    SaveTempDiary(registry, messages,
                  {u"2004"_s, u"2"_s, u"29"_s, u"(日)"_s, u"曇天"_s, u"霧"_s, u"題名"_s, 2, -1});
    EXPECT_TRUE(messages.requests().isEmpty());
    EXPECT_EQ(load().origin, SettingsOrigin::Current) << "the Temp subkey does not disturb the settings";

    const std::optional<TempDiary> kept = LoadTempDiary(registry, messages);
    ASSERT_TRUE(kept);
    EXPECT_EQ(kept->TDY, u"2004"_s);
    EXPECT_EQ(kept->TDM, u"2"_s);
    EXPECT_EQ(kept->TDD, u"29"_s);
    EXPECT_EQ(kept->TDW, u"(日)"_s);
    EXPECT_EQ(kept->TDW1, u"曇天"_s);
    EXPECT_EQ(kept->TDW1N, 2);
    EXPECT_EQ(kept->TDW2, u"霧"_s);
    EXPECT_EQ(kept->TDW2N, -1);
    EXPECT_EQ(kept->TDT, u"題名"_s);
    EXPECT_TRUE(registry.keyExists(n::TempKey)) << "the fields stay until the entry is safe elsewhere";
    EXPECT_TRUE(registry.keyExists(n::SettingsKey));
    EXPECT_TRUE(messages.requests().isEmpty());

    // Once released, a restore finds nothing and says which key is missing.
    ASSERT_TRUE(registry.deleteKey(n::TempKey));
    EXPECT_FALSE(LoadTempDiary(registry, messages));
    ASSERT_EQ(messages.requests().size(), 1);
    EXPECT_EQ(messages.requests()[0].text,
              u"Registory Load Error. -TD\nHKEY_CURRENT_USER\\software\\mervane\\Pagora\\Temp"_s);
    EXPECT_EQ(messages.requests()[0].caption, msg::AppTitle);
    EXPECT_EQ(messages.requests()[0].icon, MsgIcon::None);

    seed(n::TempKey, {{n::TDW1N, u"abc"_s}, {n::TDW1, u"晴れ"_s}});
    const std::optional<TempDiary> odd = LoadTempDiary(registry, messages);
    ASSERT_TRUE(odd);
    EXPECT_EQ(odd->TDW1N, -1);
    EXPECT_EQ(odd->TDW2N, -1);
    EXPECT_EQ(odd->TDW1, u"晴れ"_s);
    EXPECT_TRUE(odd->TDY.isEmpty());
}

TEST_F(SettingsStoreTest, ClearSettingsLeadsToAFirstRun) {
    applyDefaults();
    ASSERT_TRUE(save());
    SaveTempDiary(registry, messages, TempDiary{});
    ClearSettings(registry);
    EXPECT_FALSE(registry.keyExists(n::SettingsKey));
    EXPECT_FALSE(registry.keyExists(n::TempKey));
    EXPECT_EQ(load().origin, SettingsOrigin::FirstRun);
}

TEST_F(SettingsStoreTest, DamagedStoreStartsAsFirstRunAndIsWrittenAfresh) {
    {
        QFile file(path());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("HtmlDate1=<b>\n");
    }
    EXPECT_EQ(load().origin, SettingsOrigin::FirstRun);
    ASSERT_EQ(messages.requests().size(), 1);
    EXPECT_TRUE(messages.requests()[0].text.contains(QDir::toNativeSeparators(path())));
    EXPECT_EQ(QDir(dir.path()).entryList({u"registry.json.bad-*"_s}).size(), 1);

    applyDefaults();
    ASSERT_TRUE(save());
    EXPECT_EQ(load().origin, SettingsOrigin::Current);
    EXPECT_EQ(messages.requests().size(), 1);
}

TEST_F(SettingsStoreTest, FailuresAreReported) {
    // A store that cannot be created at all.
    {
        QFile blocker(dir.filePath(u"blocker"_s));
        ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    }
    JsonRegistry unusable(dir.filePath(u"blocker/registry.json"_s), &messages);
    applyDefaults();
    EXPECT_FALSE(SaveSettings(unusable, messages, html, app, LoadedSettings{}, u"/opt/oribel/oribel"_s,
                              QDate(2003, 6, 6)));
    ASSERT_EQ(messages.requests().size(), 1);
    // The kept text, then where and why.
    EXPECT_TRUE(unusable.lastError().startsWith(QDir::toNativeSeparators(dir.filePath(u"blocker"_s))))
        << unusable.lastError().toStdString();
    EXPECT_EQ(messages.requests()[0].text, u"レジストリに書き込めませんでした。\n"_s + unusable.lastError());
    EXPECT_EQ(messages.requests()[0].caption, u"Oribel 3"_s);
    EXPECT_EQ(messages.requests()[0].icon, MsgIcon::None);
    EXPECT_EQ(messages.requests()[0].buttons, MsgButtons::Ok);

    SaveTempDiary(unusable, messages, TempDiary{});
    ASSERT_EQ(messages.requests().size(), 2);
    EXPECT_EQ(messages.requests()[1].text, u"Registory Write Error. -TD\n"_s + unusable.lastError());

    // A write failing halfway: the rest and the deletions are skipped, one message.
    messages.clear();
    FailingRegistry failing(10);
    EXPECT_FALSE(SaveSettings(failing, messages, html, app, LoadedSettings{}, u"/opt/oribel/oribel"_s,
                              QDate(2003, 6, 6)));
    EXPECT_EQ(failing.written, SavedNames.mid(0, 9));
    EXPECT_TRUE(failing.deleted.isEmpty());
    ASSERT_EQ(messages.requests().size(), 1);
    EXPECT_EQ(messages.requests()[0].text, msg::RegistryWriteFailed);

    FailingRegistry failingTemp(3);
    SaveTempDiary(failingTemp, messages, TempDiary{});
    EXPECT_EQ(failingTemp.written, (QStringList{u"TDY"_s, u"TDM"_s}));
    ASSERT_EQ(messages.requests().size(), 2);
    EXPECT_EQ(messages.requests()[1].text, msg::TempDiaryWriteFailed);
}

TEST_F(SettingsStoreTest, UserBrowserPathsReEnableTheirCommands) {
    const QString installed = dir.filePath(u"firefox"_s);
    {
        QFile file(installed);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    }
    seed(n::SettingsKey, {{n::Version, u"3.32"_s},
                          {u"AppSetFlags"_s, u"0000000100000"_s},
                          {u"BrowserIE"_s, dir.path()},
                          {u"BrowserNN"_s, installed},
                          {u"BrowserOpera"_s, dir.filePath(u"missing"_s)}});
    LoadOutcome outcome = load();
    EXPECT_FALSE(outcome.sendIEEnabled) << "a folder is no program";
    EXPECT_TRUE(outcome.sendNNEnabled);
    EXPECT_FALSE(outcome.sendOperaEnabled);
    EXPECT_EQ(app.BrowserNN, installed);
    EXPECT_TRUE(outcome.nnPathFromSystem.isEmpty());

    seed(n::SettingsKey, {{u"AppSetFlags"_s, u"0000000000000"_s}});
    outcome = load();
    EXPECT_FALSE(outcome.sendNNEnabled) << "only when the user chose the own paths";
}

TEST(SettingsMerge, HistoryPutsThisCopysNewEntriesFirst) {
    struct Case {
        const char* what;
        QStringList loaded, current, stored, expected;
    };
    const QString a = u"/a.htm"_s, b = u"/b.htm"_s, c = u"/c.htm"_s, x = u"/x.htm"_s, y = u"/y.htm"_s;
    const QString none;
    const QList<Case> cases = {
        {"nothing saved here: the store's history stands", {a, b, c}, {a, b, c}, {x, a, b}, {x, a, b}},
        {"one new page before the store's", {a, b, c}, {y, a, b}, {x, a, b}, {y, x, a}},
        {"a page moved up is new", {a, b, c}, {b, a, c}, {x, a, b}, {b, x, a}},
        {"two pages saved here, newest first", {a, b, c}, {y, b, a}, {x, a, c}, {y, b, x}},
        {"a first run", {none, none, none}, {a, none, none}, {none, none, none}, {a, none, none}},
        {"the same page saved by both copies appears once", {a, b, c}, {x, a, b}, {x, a, b}, {x, a, b}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(mergeHistory(c.current, c.loaded, c.stored), c.expected);
    }
}

TEST(SettingsMerge, StatisticsAddThisCopysIncrementsToTheStoredCounts) {
    // Counts as {InsertDiaryTime, WriteDiaryTime, WriteDiaryLines, WriteDiaryTimeL,
    // WriteDiaryLinesL, WriteLastMonth}.
    using Counts = std::array<qint32, 6>;
    const auto set = [](const Counts& counts) {
        AppSet app;
        app.InsertDiaryTime = counts[0];
        app.WriteDiaryTime = counts[1];
        app.WriteDiaryLines = counts[2];
        app.WriteDiaryTimeL = counts[3];
        app.WriteDiaryLinesL = counts[4];
        app.WriteLastMonth = counts[5];
        return app;
    };
    const qint32 nov = 2026 * 12 + 11, dec = 2026 * 12 + 12;
    struct Case {
        const char* what;
        Counts loaded;
        qint32 checkedMonth;
        Counts current, stored, expected;
    };
    const QList<Case> cases = {
        {"alone: the copy's own counts",
         {5, 3, 30, 9, 90, dec},
         dec,
         {6, 4, 37, 9, 90, dec},
         {5, 3, 30, 9, 90, dec},
         {6, 4, 37, 9, 90, dec}},
        {"the other copy composed meanwhile",
         {5, 3, 30, 9, 90, dec},
         dec,
         {6, 4, 37, 9, 90, dec},
         {7, 5, 41, 9, 90, dec},
         {8, 6, 48, 9, 90, dec}},
        {"rolled over here first: the store's month moves to the previous one",
         {5, 3, 30, 9, 90, nov},
         dec,
         {6, 1, 7, 3, 30, nov},
         {7, 5, 41, 9, 90, nov},
         {8, 1, 7, 5, 41, dec}},
        {"rolled over by both: the other copy moved the store already",
         {5, 3, 30, 9, 90, nov},
         dec,
         {6, 1, 7, 3, 30, nov},
         {6, 2, 9, 3, 30, dec},
         {7, 3, 16, 3, 30, dec}},
        {"thanked here: the other copy's entries since still count",
         {61, 3, 30, 9, 90, dec},
         dec,
         {1, 4, 37, 9, 90, dec},
         {63, 5, 41, 9, 90, dec},
         {3, 6, 48, 9, 90, dec}},
        {"thanked by both copies: never below 0",
         {61, 3, 30, 9, 90, dec},
         dec,
         {0, 3, 30, 9, 90, dec},
         {0, 3, 30, 9, 90, dec},
         {0, 3, 30, 9, 90, dec}},
        {"counts stop at the largest value",
         {0, 3, 30, 0, 0, dec},
         dec,
         {0, 4, 2147483647, 0, 0, dec},
         {0, 3, 100, 0, 0, dec},
         {0, 4, 2147483647, 0, 0, dec}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const AppSet merged =
            mergeStatistics(set(c.stored), LoadedSettings{HtmlSet(), set(c.loaded), c.checkedMonth},
                            set(c.current), QDate(2026, 12, 8));
        const Counts got{merged.InsertDiaryTime, merged.WriteDiaryTime,   merged.WriteDiaryLines,
                         merged.WriteDiaryTimeL, merged.WriteDiaryLinesL, merged.WriteLastMonth};
        EXPECT_EQ(got, c.expected);
    }
}
