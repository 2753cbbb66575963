#pragma once
// Every text the user sees in a message box, caption or status line, one named
// constant each, so handlers and tests use the same text.

#include <QString>

namespace msg {

using namespace Qt::StringLiterals;

// ---- Application -----------------------------------------------------------

inline const QString AppTitle = u"Oribel 3"_s;
inline const QString AppName = u"Oribel"_s;
inline const QString VersionText = u"Ver 3.32"_s;
inline const QString StoredVersion = u"3.32"_s;


// ---- Settings store --------------------------------------------------------

// Plain boxes (caption AppTitle, no icon, OK) of the settings store.
inline const QString RegistryWriteFailed = u"レジストリに書き込めませんでした。"_s;
inline const QString TempDiaryWriteFailed = u"Registory Write Error. -TD"_s;
inline const QString TempDiaryLoadFailed = u"Registory Load Error. -TD"_s;

// The settings file was damaged or unreadable (warning icon, OK).
inline const QString StoreDamagedCaption = u"設定ファイルの読み込みエラー"_s;
// %1: the settings file, %2: where the damaged file was kept.
inline const QString StoreDamagedKept =
    u"設定ファイル\n%1\nが壊れているか読み込めないため、使用できませんでした。\n\n"
    u"元のファイルは\n%2\nとして残してあります。\n設定は初期状態で始まり、終了時に新しい設定ファイルが作られます。"_s;
// %1: the settings file, which could not be moved aside.
inline const QString StoreDamagedStuck =
    u"設定ファイル\n%1\nが壊れているか読み込めないため、使用できませんでした。\n\n"
    u"このファイルを別名で残すこともできなかったため、そのままにしてあります。\n"
    u"このファイルを修復するか移動するまで、設定は保存されません。"_s;


// ---- Main window and document ----------------------------------------------


// ---- Today's page, composer, statistics -------------------------------------


// ---- Splash and about windows -----------------------------------------------


// ---- Tag builder -------------------------------------------------------------


} // namespace msg
