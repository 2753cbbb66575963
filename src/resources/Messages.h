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

// ---- Platform dialogs --------------------------------------------------------

// Standard button texts of every message box.
inline const QString ButtonOk = u"OK"_s;
inline const QString ButtonYes = u"はい(&Y)"_s;
inline const QString ButtonNo = u"いいえ(&N)"_s;
inline const QString ButtonCancel = u"キャンセル"_s;

// The shared file dialogs' own checks; %1 is the name the user chose.
inline const QString FileDialogFileNotFound =
    u"%1\nファイルが見つかりません。\nファイル名を確認してください。"_s;
inline const QString FileDialogPathNotFound =
    u"%1\nパスが見つかりません。\nパスが正しいかどうかを確認してください。"_s;
inline const QString FileDialogReadOnly =
    u"%1\nこのファイルは読み取り専用です。\n別のファイル名を指定してください。"_s;
inline const QString FileDialogConfirmOverwrite = u"%1 は既に存在します。\n上書きしますか?"_s;


// ---- Settings store --------------------------------------------------------


// ---- Main window and document ----------------------------------------------


// ---- Today's page, composer, statistics -------------------------------------


// ---- Splash and about windows -----------------------------------------------


// ---- Tag builder -------------------------------------------------------------


} // namespace msg
