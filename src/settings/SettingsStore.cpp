#include "settings/SettingsStore.h"

#include "resources/Messages.h"
#include "settings/FlagText.h"
#include "settings/IntText.h"
#include "settings/SettingsFields.h"

#include <QFileInfo>
#include <QRegularExpression>
#include <algorithm>
#include <limits>

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

// The text a field is stored as (numbers as decimal text), for comparing.
template <class Record> QString fieldText(const Record& record, const SettingsField<Record>& field) {
    if (field.load == LoadRule::FlagString)
        return flagTextFromBytes(record.flagData(), Record::StoredFlagCount);
    if (field.text)
        return record.*field.text;
    return QString::number(record.*field.number);
}

// Whether the store lacks a value, or holds it as the other type.
bool storeLacks(const Registry& registry, const QString& name, StoredType type) {
    if (!registry.valueExists(name))
        return true;
    const bool integer = registry.readInteger(name).has_value();
    return integer != (type == StoredType::Integer);
}

// The text of what the store holds under a field's name as a load takes it:
// a flag string longer than the record holds, or ending early, counts as the
// flags it loads as.
template <class Record>
QString storedFieldText(const Registry& registry, const SettingsField<Record>& field) {
    const QString stored = registry.readString(QString(field.name));
    if (field.load != LoadRule::FlagString)
        return stored;
    Record record;
    copyFlagText(stored, record.flagData(), Record::StoredFlagCount);
    return fieldText(record, field);
}

// Whether a value of the Changed rule is written: when the user changed it in
// this run, or the store lacks it. What only the start-up defaults pass filled
// in or repaired is written where the store still holds what this copy
// loaded, never over what another copy stored since.
template <class Record>
bool changedHere(const Registry& registry, const SettingsField<Record>& field, const Record& current,
                 const Record& loaded, const Record& afterDefaults) {
    const QString name(field.name);
    if (storeLacks(registry, name, field.type))
        return true;
    const QString now = fieldText(current, field);
    if (now != fieldText(afterDefaults, field))
        return true;
    const QString before = fieldText(loaded, field);
    return now != before && storedFieldText(registry, field) == before;
}

// A flag string is merged position by position, as if each switch were a value
// of its own: a position this copy changed (or that only its defaults pass
// repaired while the store still holds what it loaded) takes this copy's
// character; every other position keeps what the store holds now, so two
// running copies that each turn a different switch both keep theirs.
template <class Record>
QString mergedFlagText(const Registry& registry, const SettingsField<Record>& field, const Record& current,
                       const Record& loaded, const Record& afterDefaults) {
    Record stored;
    copyFlagText(registry.readString(QString(field.name)), stored.flagData(), Record::StoredFlagCount);
    Record merged = current;
    for (int position = 0; position < Record::StoredFlagCount; ++position) {
        const char now = current.flagData()[position];
        const char kept = stored.flagData()[position];
        const bool changedHere = now != afterDefaults.flagData()[position];
        const bool repairedHere = now != loaded.flagData()[position] && kept == loaded.flagData()[position];
        if (!changedHere && !repairedHere && kept != '\0')
            merged.flagData()[position] = kept;
    }
    return fieldText(merged, field);
}

// Writes each value its rule asks for: merged holds what is written, loaded
// what this copy loaded, afterDefaults the same after the start-up defaults pass.
template <class Record>
void saveFields(ValueWriter& writer, const Registry& registry, const Record& merged, const Record& loaded,
                const Record& afterDefaults, const QList<SettingsField<Record>>& fields, const QDate& today) {
    for (const SettingsField<Record>& field : fields) {
        const QString name(field.name);
        bool write = true;
        switch (field.save) {
        case SaveRule::Changed:
            write = changedHere(registry, field, merged, loaded, afterDefaults);
            break;
        case SaveRule::History:
            write = merged.*field.text != registry.readString(name) || storeLacks(registry, name, field.type);
            break;
        case SaveRule::Counter:
        case SaveRule::MonthCounter:
        case SaveRule::LastMonthCounter:
        case SaveRule::MonthStampOfToday:
            break;
        }
        if (!write)
            continue;
        if (field.load == LoadRule::FlagString && field.save == SaveRule::Changed) {
            writer.text(name, mergedFlagText(registry, field, merged, loaded, afterDefaults));
            continue;
        }
        if (field.load == LoadRule::FlagString || field.text) {
            writer.text(name, fieldText(merged, field));
            continue;
        }
        const qint32 value =
            field.save == SaveRule::MonthStampOfToday ? MonthStamp(today) : merged.*field.number;
        if (field.type == StoredType::Integer)
            writer.integer(name, value);
        else
            writer.text(name, QString::number(value));
    }
}

QStringList nonEmpty(const QStringList& entries) {
    QStringList result;
    for (const QString& entry : entries) {
        if (!entry.isEmpty())
            result << entry;
    }
    return result;
}

// Saturating 32-bit arithmetic for merged counters.
qint32 clamped(qint64 value) {
    return qint32(
        std::clamp<qint64>(value, std::numeric_limits<qint32>::min(), std::numeric_limits<qint32>::max()));
}

// What the store holds now of the statistics (0 where missing).
AppSet storedStatistics(const Registry& registry) {
    AppSet stored;
    stored.InsertDiaryTime = intOr(registry.readString(storedName(&AppSet::InsertDiaryTime)), 0);
    for (qint32 AppSet::*member :
         {&AppSet::WriteDiaryTime, &AppSet::WriteDiaryLines, &AppSet::WriteDiaryTimeL,
          &AppSet::WriteDiaryLinesL, &AppSet::WriteLastMonth})
        stored.*member = registry.readInteger(storedName(member)).value_or(0);
    return stored;
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

QStringList mergeHistory(const QStringList& current, const QStringList& loaded, const QStringList& stored) {
    // Each save puts its path on top and drops it further down, so the
    // current history is the paths this copy saved, newest first, followed by
    // the loaded entries it did not save, in their order. The shortest such
    // head is what this copy added.
    const QStringList now = nonEmpty(current);
    const QStringList before = nonEmpty(loaded);
    qsizetype added = 0;
    for (; added < now.size(); ++added) {
        const QStringList head = now.mid(0, added);
        QStringList rest;
        for (const QString& entry : before) {
            if (!head.contains(entry))
                rest << entry;
        }
        if (now.mid(added) == rest.mid(0, now.size() - added))
            break;
    }
    QStringList merged = now.mid(0, added);
    for (const QString& entry : nonEmpty(stored)) {
        if (!merged.contains(entry))
            merged << entry;
    }
    merged.resize(3);
    return merged;
}

AppSet mergeStatistics(const AppSet& stored, const LoadedSettings& loaded, const AppSet& current,
                       const QDate& today) {
    const bool rolledOver = loaded.checkedMonth > loaded.app.WriteLastMonth;
    // The store moves into that month only once, by the first copy to save.
    const bool storeRollsOver = rolledOver && stored.WriteLastMonth < loaded.checkedMonth;
    const qint64 addedTime = qint64(current.WriteDiaryTime) - (rolledOver ? 0 : loaded.app.WriteDiaryTime);
    const qint64 addedLines = qint64(current.WriteDiaryLines) - (rolledOver ? 0 : loaded.app.WriteDiaryLines);

    AppSet merged = current;
    merged.WriteDiaryTime = clamped((storeRollsOver ? 0 : stored.WriteDiaryTime) + addedTime);
    merged.WriteDiaryLines = clamped((storeRollsOver ? 0 : stored.WriteDiaryLines) + addedLines);
    merged.WriteDiaryTimeL = storeRollsOver ? stored.WriteDiaryTime : stored.WriteDiaryTimeL;
    merged.WriteDiaryLinesL = storeRollsOver ? stored.WriteDiaryLines : stored.WriteDiaryLinesL;
    merged.WriteLastMonth = MonthStamp(today);
    // The thank-you message resets this copy's count; another copy's entries
    // since the load still count.
    merged.InsertDiaryTime = clamped(std::max<qint64>(
        0, qint64(stored.InsertDiaryTime) + current.InsertDiaryTime - loaded.app.InsertDiaryTime));
    return merged;
}

bool SaveSettings(Registry& registry, MessageService& messages, const HtmlSet& html, const AppSet& app,
                  const LoadedSettings& loaded, const QString& executablePath, const QDate& today) {
    // Unlike a failed write, a key that cannot be opened used to pass without a
    // word, losing every setting; it is reported the same way.
    if (!registry.openKeyForUpdate(n::SettingsKey)) {
        showPlain(messages, msg::withReason(msg::RegistryWriteFailed, registry.lastError()));
        return false;
    }

    AppSet merged = mergeStatistics(storedStatistics(registry), loaded, app, today);
    const QStringList history =
        mergeHistory({app.FileHistory1, app.FileHistory2, app.FileHistory3},
                     {loaded.app.FileHistory1, loaded.app.FileHistory2, loaded.app.FileHistory3},
                     {registry.readString(storedName(&AppSet::FileHistory1)),
                      registry.readString(storedName(&AppSet::FileHistory2)),
                      registry.readString(storedName(&AppSet::FileHistory3))});
    merged.FileHistory1 = history[0];
    merged.FileHistory2 = history[1];
    merged.FileHistory3 = history[2];

    ValueWriter writer(registry);
    saveFields(writer, registry, html, loaded.html, loaded.htmlAfterDefaults.value_or(loaded.html),
               htmlSetFields(), today);
    saveFields(writer, registry, merged, loaded.app, loaded.appAfterDefaults.value_or(loaded.app),
               appSetFields(), today);
    writer.text(n::InstallPath, executablePath);
    writer.text(n::Version, msg::StoredVersion);

    if (writer.ok()) {
        registry.deleteValue(n::NewProcessFlag);
        registry.deleteValue(n::FirstPageChangeFlag);
    }
    const bool stored = registry.closeKey();
    if (!writer.ok() || !stored) {
        showPlain(messages, msg::withReason(msg::RegistryWriteFailed, registry.lastError()));
        return false;
    }
    return true;
}

bool writeTempDiary(Registry& registry, const QString& key, const TempDiary& diary) {
    if (!registry.openKey(key, true))
        return false;
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
    return writer.ok() && stored;
}

bool SaveTempDiary(Registry& registry, MessageService& messages, const TempDiary& diary, const QString& key,
                   const QString& bodyFile) {
    // A Temp subkey that cannot be created is reported like a failed write:
    // the kept entry's fields would otherwise be lost without a word.
    if (writeTempDiary(registry, key, diary))
        return true;
    const QString detail = bodyFile.isEmpty() ? registry.lastError()
                                              : msg::tempKeyNotWritten(key, registry.lastError(), bodyFile);
    showPlain(messages, msg::withReason(msg::TempDiaryWriteFailed, detail));
    return false;
}

std::optional<TempDiary> readTempDiary(Registry& registry, const QString& key) {
    if (!registry.openKey(key, false))
        return std::nullopt;
    TempDiary diary;
    diary.TDY = registry.readString(n::TDY);
    diary.TDM = registry.readString(n::TDM);
    diary.TDD = registry.readString(n::TDD);
    diary.TDW = registry.readString(n::TDW);
    diary.TDW1 = registry.readString(n::TDW1);
    diary.TDW2 = registry.readString(n::TDW2);
    diary.TDW1N = intOr(registry.readString(n::TDW1N), -1);
    diary.TDW2N = intOr(registry.readString(n::TDW2N), -1);
    diary.TDT = registry.readString(n::TDT);
    registry.closeKey();
    return diary;
}

std::optional<TempDiary> LoadTempDiary(Registry& registry, MessageService& messages, const QString& key,
                                       const QString& bodyFile) {
    std::optional<TempDiary> diary = readTempDiary(registry, key);
    if (!diary) {
        const QString detail =
            bodyFile.isEmpty() ? msg::storeKeyName(key) : msg::tempKeyMissing(key, bodyFile);
        showPlain(messages, msg::withReason(msg::TempDiaryLoadFailed, detail));
    }
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
