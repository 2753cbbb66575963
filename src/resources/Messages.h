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


// ---- Main window and document ----------------------------------------------

// A file could not be read or written: the path as shown to the user and the
// system's reason.
inline QString fileReadError(const QString& path, const QString& reason) {
    return u"ファイル %1 を読み込めませんでした。\n理由: %2"_s.arg(path, reason);
}
inline QString fileWriteError(const QString& path, const QString& reason) {
    return u"ファイル %1 に書き込めませんでした。\n理由: %2"_s.arg(path, reason);
}


// ---- Today's page, composer, statistics -------------------------------------


// ---- Splash and about windows -----------------------------------------------


// ---- Tag builder -------------------------------------------------------------


} // namespace msg
