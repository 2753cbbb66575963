#pragma once
// Loading and saving both settings records through the settings store, the
// kept diary entry's fields in the Temp subkey, the removal of all settings,
// and the statistics figures the splash window shows.
//
// These work on plain records; the main window copies control texts in and
// out (font sizes and faces of its editors before saving, the kept entry's
// fields before SaveTempDiary and after LoadTempDiary).

#include "platform/BrowserLookup.h"
#include "platform/Messages.h"
#include "platform/Registry.h"
#include "settings/AppSet.h"
#include "settings/HtmlSet.h"

#include <QDate>
#include <QString>
#include <QStringList>
#include <optional>

namespace storenames {

using namespace Qt::StringLiterals;

inline const QString SettingsKey = u"\\software\\mervane\\Pagora"_s;
inline const QString TempKey = u"\\software\\mervane\\Pagora\\Temp"_s;

// Values of the settings key that belong to no record; the records' own
// values are named in their field tables (settings/SettingsFields.h).
inline const QString InstallPath = u"InstallPath"_s;
inline const QString Version = u"Version"_s;
inline const QString NewProcessFlag = u"NewProcessFlag"_s;
inline const QString FirstPageChangeFlag = u"FirstPageChangeFlag"_s;

// Values of the Temp subkey, all text.
inline const QString TDY = u"TDY"_s;
inline const QString TDM = u"TDM"_s;
inline const QString TDD = u"TDD"_s;
inline const QString TDW = u"TDW"_s;
inline const QString TDW1 = u"TDW1"_s;
inline const QString TDW2 = u"TDW2"_s;
inline const QString TDW1N = u"TDW1N"_s;
inline const QString TDW2N = u"TDW2N"_s;
inline const QString TDT = u"TDT"_s;

} // namespace storenames

// Where the loaded settings came from; anything but Current gets the
// defaults pass when the main window is first shown.
enum class SettingsOrigin {
    Current,  // settings of this version
    FirstRun, // no settings
    Older,    // settings of an older version, or marked for the defaults pass
};

struct LoadOutcome {
    SettingsOrigin origin = SettingsOrigin::FirstRun;
    QString iePathFromSystem, nnPathFromSystem, operaPathFromSystem;
    // Whether SendIEAction, SendNNAction, SendOperaAction start enabled.
    bool sendIEEnabled = false, sendNNEnabled = false, sendOperaEnabled = false;
};

// Loads both records from the settings key, which is opened but never created.
// The records are expected as the main window creates them (empty, flags NUL,
// counters 0); what the store does not hold stays so.
LoadOutcome LoadSettings(Registry& registry, const BrowserLookup& browsers, HtmlSet& html, AppSet& app);

// The settings as this copy of the program loaded them. At exit only what
// changed since is written, and the counters and the history are merged with
// what the store holds then: another running copy may have saved meanwhile.
struct LoadedSettings {
    HtmlSet html;
    AppSet app;
    // The month stamp of the day the statistics were checked at start-up, 0
    // when they were not. A later month than app.WriteLastMonth means this
    // copy rolled this month's figures over into the previous month's.
    qint32 checkedMonth = 0;
    // The records right after the defaults pass that followed the load at
    // start-up, when one ran: what that pass filled in or repaired is written
    // only where the store still holds what this copy loaded.
    std::optional<HtmlSet> htmlAfterDefaults = {};
    std::optional<AppSet> appAfterDefaults = {};
};

// Writes to the settings key, creating it when needed and keeping other
// copies out while it reads and writes (Registry::openKeyForUpdate):
//  - each value this copy changed since loaded, and each value the store
//    lacks (so a first save writes them all); values this copy left alone
//    keep whatever the store holds, another copy's changes included, and so
//    do values only the start-up defaults pass changed when another copy
//    stored them since;
//  - the counters as the stored value plus this copy's increments, the
//    statistics rolled over as this copy rolled them (mergeStatistics);
//  - the history with this copy's new entries first (mergeHistory);
//  - "3.32" in Version, executablePath in InstallPath and the month stamp of
//    today in WriteLastMonth;
// then deletes NewProcessFlag and FirstPageChangeFlag. A failure is reported
// ("レジストリに書き込めませんでした。" with the store's path and reason on a
// second line) and the remaining values are not written. Returns whether
// everything was stored.
bool SaveSettings(Registry& registry, MessageService& messages, const HtmlSet& html, const AppSet& app,
                  const LoadedSettings& loaded, const QString& executablePath, const QDate& today);

// The file history to store, three paths with empty ones last: the entries
// this copy put on top since it loaded the history (current against loaded),
// newest first, then the stored entries that are not among them.
QStringList mergeHistory(const QStringList& current, const QStringList& loaded, const QStringList& stored);

// The statistics to store, in InsertDiaryTime, WriteDiaryTime,
// WriteDiaryLines, WriteDiaryTimeL, WriteDiaryLinesL and WriteLastMonth of
// the result (its other members are those of current). stored holds what the
// store holds now (0 where a value is missing). This copy's increments
// (current against loaded, counted from 0 where it rolled the month over) are
// added to the stored counts; when this copy rolled the month over and the
// store has not been saved in that month since, the stored counts are rolled
// over first. A counter never goes below 0 through another copy's reset.
AppSet mergeStatistics(const AppSet& stored, const LoadedSettings& loaded, const AppSet& current,
                       const QDate& today);

// The fields of a diary entry kept for the next run. An index of -1 means no
// item was selected; the text then stands.
struct TempDiary {
    QString TDY, TDM, TDD, TDW, TDW1, TDW2, TDT;
    int TDW1N = -1, TDW2N = -1;
};

// Writes the kept entry's fields to the subkey key (the Temp subkey unless
// another is named). A failure is reported ("Registory Write Error. -TD",
// then the store's path and reason, and that the body is in bodyFile).
// Returns whether the fields were stored.
bool SaveTempDiary(Registry& registry, MessageService& messages, const TempDiary& diary,
                   const QString& key = storenames::TempKey, const QString& bodyFile = {});

// Reads the kept entry's fields from the subkey key. The subkey stays: it is
// deleted with the entry once the entry is safe elsewhere (KeptEntries).
// Without the subkey, "Registory Load Error. -TD" is shown with the missing
// key and the file the body came from, and nothing is returned. An index that
// is not a number reads as -1.
std::optional<TempDiary> LoadTempDiary(Registry& registry, MessageService& messages,
                                       const QString& key = storenames::TempKey,
                                       const QString& bodyFile = {});

// The same without messages.
std::optional<TempDiary> readTempDiary(Registry& registry, const QString& key);
bool writeTempDiary(Registry& registry, const QString& key, const TempDiary& diary);

// Deletes the settings key with all its values and subkeys.
void ClearSettings(Registry& registry);

// The statistics the splash window shows, read straight from the store;
// nothing when the key or any of the four values is missing.
struct SplashFigures {
    qint32 time, lines, timeL, linesL;
};
std::optional<SplashFigures> readSplashFigures(Registry& registry);
