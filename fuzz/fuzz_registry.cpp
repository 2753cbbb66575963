// Arbitrary bytes as the settings store file: loading, the defaults pass,
// saving, the kept entry and the removal must neither crash nor leave a file
// that the next reader cannot use.

#include "FuzzCheck.h"
#include "platform/JsonRegistry.h"
#include "settings/Defaults.h"
#include "settings/SettingsStore.h"

#include <QDate>
#include <QDir>
#include <QFile>
#include <QStringList>
#include <QTemporaryDir>

#include <cstdint>

using namespace Qt::StringLiterals;

namespace {

class NoBrowsers : public BrowserLookup {
public:
    std::optional<QString> internetExplorer() const override { return std::nullopt; }
    std::optional<QString> netscape() const override { return std::nullopt; }
    std::optional<QString> opera() const override { return std::nullopt; }
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // Memory-backed when the system has it: every input is written several times.
    static QTemporaryDir dir(QDir(u"/dev/shm"_s).exists() ? u"/dev/shm/oribel-fuzz-XXXXXX"_s
                                                          : QDir::tempPath() + u"/oribel-fuzz-XXXXXX"_s);
    const QString path = dir.filePath(u"registry.json"_s);
    // Damaged files are kept aside under names of their own.
    const QStringList kept = QDir(dir.path()).entryList({u"registry.json.bad-*"_s}, QDir::Files);
    for (const QString& name : kept)
        QFile::remove(dir.filePath(name));
    {
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            return 0;
        file.write(reinterpret_cast<const char*>(data), qint64(size));
    }

    fuzz::CountingMessages messages;
    JsonRegistry registry(path, &messages);
    NoBrowsers browsers;
    HtmlSet html;
    AppSet app;
    const SettingsOrigin origin = LoadSettings(registry, browsers, html, app).origin;
    CHECK(messages.shown <= 1);

    // As the window starts: the defaults pass runs over settings that are not
    // this version's, and the exit saves what changed since the load.
    LoadedSettings loaded{html, app};
    if (origin != SettingsOrigin::Current) {
        bool cleared = true;
        ApplySettingDefaults(html, app, cleared);
        loaded.htmlAfterDefaults = html;
        loaded.appAfterDefaults = app;
    }
    readSplashFigures(registry);
    CHECK(SaveSettings(registry, messages, html, app, loaded, u"/opt/oribel/oribel"_s, QDate(2004, 2, 29)));
    SaveTempDiary(registry, messages, TempDiary{u"2004"_s, u"2"_s, u"29"_s, {}, {}, {}, {}, 1, -1});
    CHECK(messages.shown <= 1);

    // What was just written reads back: the same settings, this version. (A
    // new reader reports values it ignores once more, as the next start would.)
    fuzz::CountingMessages readerMessages;
    JsonRegistry reader(path, &readerMessages);
    HtmlSet reloadedHtml;
    AppSet reloadedApp;
    CHECK(LoadSettings(reader, browsers, reloadedHtml, reloadedApp).origin == SettingsOrigin::Current);
    CHECK(reloadedHtml.HtmlSetFlags == html.HtmlSetFlags);
    CHECK(reloadedHtml.HtmlBRTag == html.HtmlBRTag);
    const std::optional<TempDiary> keptEntry = LoadTempDiary(reader, readerMessages);
    CHECK(keptEntry && keptEntry->TDW1N == 1);
    ClearSettings(reader);
    CHECK(!reader.keyExists(storenames::SettingsKey));
    CHECK(messages.shown <= 1);
    CHECK(readerMessages.shown <= 1);
    return 0;
}
