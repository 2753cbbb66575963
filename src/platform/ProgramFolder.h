#pragma once
// The folder where the program keeps its side files (DIARY.TMP, basediary.txt,
// basehtml.txt, the list files, error.html, NOSPLASH.FLG, the manual).

#include <QString>

// The executable's folder, ending in the native separator; when that folder is
// not writable, $XDG_DATA_HOME/Oribel/ (created if needed).
QString resolveProgramFolder(const QString& executableFolder);
