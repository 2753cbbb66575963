#pragma once
// The folder where the program keeps its side files (DIARY.TMP, basediary.txt,
// basehtml.txt, the list files, error.html, NOSPLASH.FLG), and where it finds
// its manual.
//
// An installed Oribel lies in a prefix such as /usr or /usr/local:
//   <prefix>/bin/oribel                       the program
//   <prefix>/share/oribel/manual/index.html   the manual (and its pictures beside it)
// A build folder holds the program with a copy of the manual next to it:
//   <build>/src/oribel, <build>/src/manual/index.html

#include <QString>
#include <QStringList>

// True when the executable's folder is the bin folder of an installed prefix,
// that is a folder named "bin" whose prefix holds share/oribel.
bool isInstalledProgramFolder(const QString& executableFolder);

// The folder for side files, ending in the native separator: the executable's
// folder when the program runs from a build folder or a copy of its own, and
// <userDataHome>/Oribel/ (created if needed) when it runs installed or its
// folder is not writable. userDataHome is $XDG_DATA_HOME (~/.local/share).
QString resolveProgramFolder(const QString& executableFolder, const QString& userDataHome);
// The same with the user's data home taken from the environment.
QString resolveProgramFolder(const QString& executableFolder);

// Where the manual's first page may lie, the likelier place first: the
// installed place for a program in a bin folder, else the copy beside it.
QStringList manualCandidates(const QString& executableFolder);
// The manual's first page that exists, as an absolute path; empty when none does.
QString findManual(const QString& executableFolder);
