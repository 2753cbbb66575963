#pragma once
// The user's three list files in the program folder: bookmark.csv (bookmarks),
// sentence.csv (snippets: tag pairs and sentences) and default.str (project
// files). One reader serves the main window's menus and the behaviour
// settings dialog's grids; the writers turn the dialog's grid rows back into
// files.
//
// Reading: the bytes are CP932; every CR is dropped and a 0x1A byte ends the
// file. Lines are read in pieces of at most 511 bytes up to and including the
// next LF, so a longer line reads as several (a piece never ends inside a
// double-byte character). A line beginning with "#" is a comment. Fields are
// separated by commas, and runs of commas count as one, so no field is ever
// empty. Fields longer than their limit are cut to it, never inside a
// double-byte character. A missing or unreadable file is an empty list.
//
// Writing: CP932 with CR LF, replacing the old file only once everything is
// written; a failure leaves the old file as it was and is reported.

#include "platform/Messages.h"
#include "resources/AuthorAddresses.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QString>
#include <QStringList>

namespace listfile {

// Byte limits of the fields.
inline constexpr qsizetype BookmarkUrlBytes = 160;
inline constexpr qsizetype BookmarkNameBytes = 28;
inline constexpr qsizetype SnippetNameBytes = 61;
inline constexpr qsizetype SnippetStartBytes = 224;
inline constexpr qsizetype SnippetEndBytes = 224;
inline constexpr qsizetype WrittenLineBytes = 509; // a written snippet line, a project path
inline constexpr qsizetype PieceBytes = 511;

struct Bookmark {
    QString url; // a web address or the full path of a local file
    QString name;
    bool operator==(const Bookmark&) const = default;
};

struct Snippet {
    QString name;
    QString start;
    // The end field as stored; it begins with "#" for a sentence.
    QString end;
    // A sentence replaces the selection with start; a tag pair wraps it.
    bool isSentence = false;
    // The end text shown in the dialog's grid: empty for a sentence.
    QString shownEnd() const { return isSentence ? QString() : end; }
    bool operator==(const Snippet&) const = default;
};

// ---- Reading ----------------------------------------------------------------

// The lines of a list file's bytes by the reading rules above, without their
// LF; comments included.
QStringList splitLines(QByteArrayView bytes);
// The lines of the file at path; none when it is missing or unreadable.
QStringList readLines(const QString& path);
// A line's fields: split at commas, runs of commas counting as one.
QStringList splitFields(const QString& line);

// Entry lines are "URL,name". A line with a URL only is taken with the URL as
// its name, as the dialog writes such an entry.
QList<Bookmark> readBookmarks(const QString& path);
// Entry lines are "name,start,end". A line with a name and a start only is a
// sentence; a line with a single field is skipped (it cannot tell a name from
// a start).
QList<Snippet> readSnippets(const QString& path);
// The project menus' paths: every line but comments and empty lines.
QStringList readProjectMenuPaths(const QString& path);
// The dialog's project rows: every line, comments and empty lines included.
QStringList readProjectRows(const QString& path);

// ---- Checking ---------------------------------------------------------------

// The first character of text that a list file cannot hold (CP932 has no code
// for it), or 0 when every character can be written. Written anyway, such a
// character would become a numeric character reference: right inside a page,
// but a path or address holding one no longer names its file.
char32_t unwritableCharacter(QStringView text);

// ---- Writing ----------------------------------------------------------------

enum class WriteFailure { None, Open, Write };

// Writes bytes to path atomically: the old file stays whole unless everything
// was written. Open: the file could not be created (read-only file or folder,
// missing folder); Write: writing or replacing failed part way.
WriteFailure writeWhole(const QString& path, QByteArrayView bytes);

struct WriteResult {
    // The rows after the writer's changes (trimmed cells, filled-in names and
    // ends), to be put back into the grid.
    QList<QStringList> rows;
    bool saved = false;
};

// Grid rows of the snippet grid (name, start, end; no header row) to
// sentence.csv. Each row's name is trimmed; a row without a start is skipped;
// an empty name becomes the start and an empty end "#". Without any entry the
// default entry is written (while the author has a site). Failures are shown through messages.
WriteResult writeSnippets(const QString& path, const QList<QStringList>& rows, MessageService& messages,
                          const AuthorAddresses& author = AuthorAddresses::builtIn());
// Grid rows of the bookmark grid (name, URL; no header row) to bookmark.csv
// as "URL,name". Both cells are trimmed; a row without a URL is skipped; an
// empty name becomes the URL. Without any entry the default entry is written
// (while the author has a site).
WriteResult writeBookmarks(const QString& path, const QList<QStringList>& rows, MessageService& messages,
                           const AuthorAddresses& author = AuthorAddresses::builtIn());
// Grid rows of the project grid ("Project" column, path; no header row) to
// default.str: every row with a path, the bottom one included. The
// "Project" column is never written.
WriteResult writeProjects(const QString& path, const QList<QStringList>& rows, MessageService& messages);

} // namespace listfile
