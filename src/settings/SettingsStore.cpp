#include "settings/SettingsStore.h"

#include "resources/Messages.h"
#include "settings/FlagText.h"
#include "settings/IntText.h"
#include "settings/SettingsFields.h"

#include <QFileInfo>
#include <QRegularExpression>
#include <algorithm>

using namespace Qt::StringLiterals;
namespace n = storenames;

namespace {

// Settings written by a version before this one get the defaults pass.
constexpr double CurrentVersion = 3.32;

bool versionIsCurrent(const QString& stored) {
    // A Version that is not a plain decimal number counts as an older one:
    // the defaults pass then runs, which only fills in what is missing.
    static const QRegularExpression decimal(u"^[0-9]+(\\.[0-9]+)?$"_s);
    if (!decimal.match(stored).hasMatch())
        return false;
    return stored.toDouble() >= CurrentVersion;
}

bool isExistingFile(const QString& path) {
    return !path.isEmpty() && QFileInfo(path).isFile();
}

void showPlain(MessageService& messages, const QString& text) {
    messages.show(text, msg::AppTitle, MsgIcon::None, MsgButtons::Ok);
}

// Writes values to the open key until the first write fails; the later
// values are then skipped.
class ValueWriter {
public:
    explicit ValueWriter(Registry& registry) : registry_(registry) {}
    void text(const QString& name, const QString& value) {
        if (ok_)
            ok_ = registry_.writeString(name, value);
    }
    void integer(const QString& name, qint32 value) {
        if (ok_)
            ok_ = registry_.writeInteger(name, value);
    }
    bool ok() const { return ok_; }

private:
    Registry& registry_;
    bool ok_ = true;
};

template <class Record>
void loadFields(Registry& registry, Record& record, const QList<SettingsField<Record>>& fields) {
    QList<const SettingsField<Record>*> group;
    for (const SettingsField<Record>& field : fields) {
        const QString name(field.name);
        switch (field.load) {
        case LoadRule::IfNonEmpty:
            if (QString value = registry.readString(name); !value.isEmpty())
                record.*field.text = std::move(value);
            break;
        case LoadRule::Always:
            record.*field.text = registry.readString(name);
            break;
        case LoadRule::NumberText: {
            const int value = intOr(registry.readString(name), field.fallback);
            if (field.text)
                record.*field.text = QString::number(value);
            else
                record.*field.number = value;
            break;
        }
        case LoadRule::FlagString:
            copyFlagText(registry.readString(name), record.flagData(), Record::StoredFlagCount);
            break;
        case LoadRule::IntegerGroup:
            group << &field;
            break;
        }
    }
    // The statistics group ends silently at its first unreadable value.
    std::ranges::sort(group, {}, &SettingsField<Record>::groupOrder);
    for (const SettingsField<Record>* field : group) {
        const std::optional<qint32> value = registry.readInteger(QString(field->name));
        if (!value)
            break;
        record.*field->number = *value;
    }
}

template <class Record>
void saveFields(ValueWriter& writer, const Record& record, const QList<SettingsField<Record>>& fields,
                const QDate& today) {
    for (const SettingsField<Record>& field : fields) {
        const QString name(field.name);
        if (field.load == LoadRule::FlagString) {
            writer.text(name, flagTextFromBytes(record.flagData(), Record::StoredFlagCount));
            continue;
        }
        if (field.text) {
            writer.text(name, record.*field.text);
            continue;
        }
        const qint32 value =
            field.save == SaveRule::MonthStampOfToday ? MonthStamp(today) : record.*field.number;
        if (field.type == StoredType::Integer)
            writer.integer(name, value);
        else
            writer.text(name, QString::number(value));
    }
}

} // namespace

LoadOutcome LoadSettings(Registry& registry, const BrowserLookup& browsers, HtmlSet& html, AppSet& app) {
    LoadOutcome outcome;

    if (const auto path = browsers.internetExplorer()) {
        outcome.iePathFromSystem = *path;
        outcome.sendIEEnabled = true;
    }
    if (const auto path = browsers.netscape()) {
        outcome.nnPathFromSystem = *path;
        outcome.sendNNEnabled = true;
    }
    if (const auto path = browsers.opera()) {
        outcome.operaPathFromSystem = *path;
        outcome.sendOperaEnabled = true;
    }

    if (!registry.openKey(n::SettingsKey, false)) {
        outcome.origin = SettingsOrigin::FirstRun;
        app.InsertDiaryTime = 0;
        return outcome;
    }

    loadFields(registry, html, htmlSetFields());
    loadFields(registry, app, appSetFields());

    // The user's own browser paths bring back a send command the system
    // lookup disabled, when the user chose them and the program is there.
    if (app.browserPathsManual()) {
        if (isExistingFile(app.BrowserIE))
            outcome.sendIEEnabled = true;
        if (isExistingFile(app.BrowserNN))
            outcome.sendNNEnabled = true;
        if (isExistingFile(app.BrowserOpera))
            outcome.sendOperaEnabled = true;
    }

    outcome.origin = SettingsOrigin::Current;
    if (!registry.readString(n::NewProcessFlag).isEmpty())
        outcome.origin = SettingsOrigin::Older;
    if (!versionIsCurrent(registry.readString(n::Version)))
        outcome.origin = SettingsOrigin::Older;

    registry.closeKey();
    return outcome;
}

bool SaveSettings(Registry& registry, MessageService& messages, const HtmlSet& html, const AppSet& app,
                  const QString& executablePath, const QDate& today) {
    // Unlike a failed write, a key that cannot be opened used to pass without a
    // word, losing every setting; it is reported the same way.
    if (!registry.openKey(n::SettingsKey, true)) {
        showPlain(messages, msg::RegistryWriteFailed);
        return false;
    }

    ValueWriter writer(registry);
    saveFields(writer, html, htmlSetFields(), today);
    saveFields(writer, app, appSetFields(), today);
    writer.text(n::InstallPath, executablePath);
    writer.text(n::Version, msg::StoredVersion);

    if (writer.ok()) {
        registry.deleteValue(n::NewProcessFlag);
        registry.deleteValue(n::FirstPageChangeFlag);
    }
    const bool stored = registry.closeKey();
    if (!writer.ok() || !stored) {
        showPlain(messages, msg::RegistryWriteFailed);
        return false;
    }
    return true;
}

void SaveTempDiary(Registry& registry, MessageService& messages, const TempDiary& diary) {
    // A Temp subkey that cannot be created is reported like a failed write:
    // the kept entry's fields would otherwise be lost without a word.
    if (!registry.openKey(n::TempKey, true)) {
        showPlain(messages, msg::TempDiaryWriteFailed);
        return;
    }
    ValueWriter writer(registry);
    writer.text(n::TDY, diary.TDY);
    writer.text(n::TDM, diary.TDM);
    writer.text(n::TDD, diary.TDD);
    writer.text(n::TDW, diary.TDW);
    writer.text(n::TDW1, diary.TDW1);
    writer.text(n::TDW2, diary.TDW2);
    writer.text(n::TDW1N, QString::number(diary.TDW1N));
    writer.text(n::TDW2N, QString::number(diary.TDW2N));
    writer.text(n::TDT, diary.TDT);
    const bool stored = registry.closeKey();
    if (!writer.ok() || !stored)
        showPlain(messages, msg::TempDiaryWriteFailed);
}

std::optional<TempDiary> LoadTempDiary(Registry& registry, MessageService& messages) {
    std::optional<TempDiary> diary;
    if (registry.openKey(n::TempKey, false)) {
        diary.emplace();
        diary->TDY = registry.readString(n::TDY);
        diary->TDM = registry.readString(n::TDM);
        diary->TDD = registry.readString(n::TDD);
        diary->TDW = registry.readString(n::TDW);
        diary->TDW1 = registry.readString(n::TDW1);
        diary->TDW2 = registry.readString(n::TDW2);
        diary->TDW1N = intOr(registry.readString(n::TDW1N), -1);
        diary->TDW2N = intOr(registry.readString(n::TDW2N), -1);
        diary->TDT = registry.readString(n::TDT);
        registry.closeKey();
    } else {
        showPlain(messages, msg::TempDiaryLoadFailed);
    }
    registry.deleteKey(n::TempKey);
    return diary;
}

void ClearSettings(Registry& registry) {
    registry.deleteKey(n::SettingsKey);
}

std::optional<SplashFigures> readSplashFigures(Registry& registry) {
    if (!registry.openKey(n::SettingsKey, false))
        return std::nullopt;
    const auto read = [&](qint32 AppSet::*member) { return registry.readInteger(storedName(member)); };
    const auto time = read(&AppSet::WriteDiaryTime);
    const auto lines = read(&AppSet::WriteDiaryLines);
    const auto timeL = read(&AppSet::WriteDiaryTimeL);
    const auto linesL = read(&AppSet::WriteDiaryLinesL);
    registry.closeKey();
    if (!time || !lines || !timeL || !linesL)
        return std::nullopt;
    return SplashFigures{*time, *lines, *timeL, *linesL};
}
