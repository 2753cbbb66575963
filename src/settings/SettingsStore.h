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
#include <optional>

namespace storenames {

using namespace Qt::StringLiterals;

inline const QString SettingsKey = u"\\software\\mervane\\Pagora"_s;
inline const QString TempKey = u"\\software\\mervane\\Pagora\\Temp"_s;

// Values of the settings key. HtmlSet and AppSet members are stored under
// their own names, except the file history (LoadLog, LoadLog1, LoadLog2).
inline const QString HtmlDate1 = u"HtmlDate1"_s;
inline const QString HtmlDate2 = u"HtmlDate2"_s;
inline const QString HtmlTime1 = u"HtmlTime1"_s;
inline const QString HtmlTime2 = u"HtmlTime2"_s;
inline const QString HtmlSky1 = u"HtmlSky1"_s;
inline const QString HtmlSky2 = u"HtmlSky2"_s;
inline const QString HtmlSky3 = u"HtmlSky3"_s;
inline const QString HtmlSky4 = u"HtmlSky4"_s;
inline const QString HtmlSky5 = u"HtmlSky5"_s;
inline const QString HtmlSky6 = u"HtmlSky6"_s;
inline const QString HtmlSky7 = u"HtmlSky7"_s;
inline const QString HtmlMain1 = u"HtmlMain1"_s;
inline const QString HtmlMain2 = u"HtmlMain2"_s;
inline const QString HtmlTitle1 = u"HtmlTitle1"_s;
inline const QString HtmlTitle2 = u"HtmlTitle2"_s;
inline const QString HtmlAll1 = u"HtmlAll1"_s;
inline const QString HtmlAll2 = u"HtmlAll2"_s;
inline const QString HtmlBRTag = u"HtmlBRTag"_s;
inline const QString HtmlHRTag = u"HtmlHRTag"_s;
inline const QString HtmlDataTitle = u"HtmlDataTitle"_s;
inline const QString HtmlSetFlags = u"HtmlSetFlags"_s;
inline const QString AppSetFlags = u"AppSetFlags"_s;
inline const QString AlwaysOpenHtml = u"AlwaysOpenHtml"_s;
inline const QString UserSiteUrl = u"UserSiteUrl"_s;
inline const QString LoadLog = u"LoadLog"_s;
inline const QString LoadLog1 = u"LoadLog1"_s;
inline const QString LoadLog2 = u"LoadLog2"_s;
inline const QString ExternalApp1 = u"ExternalApp1"_s;
inline const QString ExternalApp2 = u"ExternalApp2"_s;
inline const QString DecoPrevColor = u"DecoPrevColor"_s;
inline const QString DecoInfo0 = u"DecoInfo0"_s;
inline const QString DecoInfo1 = u"DecoInfo1"_s;
inline const QString DecoInfo2 = u"DecoInfo2"_s;
inline const QString DecoInfo3 = u"DecoInfo3"_s;
inline const QString GraphicDir = u"GraphicDir"_s;
inline const QString LinkFrame = u"LinkFrame"_s;
inline const QString LinkClass = u"LinkClass"_s;
inline const QString PositionClass = u"PositionClass"_s;
inline const QString EditFontSize = u"EditFontSize"_s;
inline const QString EditFontFace = u"EditFontFace"_s;
inline const QString EditFontSizeT = u"EditFontSizeT"_s;
inline const QString EditFontFaceT = u"EditFontFaceT"_s;
inline const QString WindowWidth = u"WindowWidth"_s;
inline const QString WindowHeight = u"WindowHeight"_s;
inline const QString WindowXPosition = u"WindowXPosition"_s;
inline const QString WindowYPosition = u"WindowYPosition"_s;
inline const QString BrowserIE = u"BrowserIE"_s;
inline const QString BrowserNN = u"BrowserNN"_s;
inline const QString BrowserOpera = u"BrowserOpera"_s;
inline const QString InstallPath = u"InstallPath"_s;
inline const QString Version = u"Version"_s;
inline const QString InsertDiaryTime = u"InsertDiaryTime"_s;
inline const QString WriteDiaryFrequency = u"WriteDiaryFrequency"_s;
inline const QString WriteDiaryTime = u"WriteDiaryTime"_s;
inline const QString WriteDiaryLines = u"WriteDiaryLines"_s;
inline const QString WriteDiaryTimeL = u"WriteDiaryTimeL"_s;
inline const QString WriteDiaryLinesL = u"WriteDiaryLinesL"_s;
inline const QString WriteLastMonth = u"WriteLastMonth"_s;
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

struct LoadOutcome {
    // '-' settings of this version found; 'F' no settings (first run);
    // 'U' settings of an older version or marked for the defaults pass.
    char settingsState = 'F';
    QString iePathFromSystem, nnPathFromSystem, operaPathFromSystem;
    // Whether SendIEAction, SendNNAction, SendOperaAction start enabled.
    bool sendIEEnabled = false, sendNNEnabled = false, sendOperaEnabled = false;
};

// Loads both records from the settings key, which is opened but never created.
// The records are expected as the main window creates them (empty, flags NUL,
// counters 0); what the store does not hold stays so.
LoadOutcome LoadSettings(Registry& registry, const BrowserLookup& browsers, HtmlSet& html, AppSet& app);

// Writes both records to the settings key, creating it when needed, with
// "3.32" in Version, executablePath in InstallPath and the month stamp of today
// in WriteLastMonth; then deletes NewProcessFlag and FirstPageChangeFlag. A
// failure is reported ("レジストリに書き込めませんでした。") and the remaining
// values are not written. Returns whether everything was stored.
bool SaveSettings(Registry& registry, MessageService& messages, const HtmlSet& html, const AppSet& app,
                  const QString& executablePath, const QDate& today);

// The fields of a diary entry kept for the next run. An index of -1 means no
// item was selected; the text then stands.
struct TempDiary {
    QString TDY, TDM, TDD, TDW, TDW1, TDW2, TDT;
    int TDW1N = -1, TDW2N = -1;
};

// Writes the kept entry's fields to the Temp subkey; a failure is reported
// ("Registory Write Error. -TD").
void SaveTempDiary(Registry& registry, MessageService& messages, const TempDiary& diary);

// Reads the kept entry's fields and deletes the Temp subkey in every case.
// Without a Temp subkey, "Registory Load Error. -TD" is shown and nothing is
// returned. An index that is not a number reads as -1.
std::optional<TempDiary> LoadTempDiary(Registry& registry, MessageService& messages);

// Deletes the settings key with all its values and subkeys.
void ClearSettings(Registry& registry);

// The statistics the splash window shows, read straight from the store;
// nothing when the key or any of the four values is missing.
struct SplashFigures {
    qint32 time, lines, timeL, linesL;
};
std::optional<SplashFigures> readSplashFigures(Registry& registry);

// year × 12 + month, the month stamp of the writing statistics.
qint32 monthStamp(const QDate& date);
