#pragma once
// Reading and writing whole files. Every text file goes through readBytes()
// and writeBytes(); read() and write() add the CP932 codec on top.
//
// Reading takes regular files only: a folder, FIFO, device or socket is
// refused with a message saying what it is (never a hang), and so is a file
// of more than MaxReadBytes, before anything is read.
//
// Writing is atomic: the bytes go to a temporary file beside the target,
// named ".<name>.oribel-save-XXXXXX", which replaces the target only once
// everything was written and flushed to the disk. A save that was killed
// half way leaves such a file behind; the next save of the same file removes
// it (never a temporary file that a running save still holds). When the
// folder may not be written but the file may, the file is rewritten in place;
// its old bytes are kept first in a guard file of the recovery folder
// ($XDG_STATE_HOME/Oribel/), flushed to the disk, and removed once the
// rewrite is complete and flushed too, so that a crash during the rewrite
// leaves the old page to be offered back (interruptedRewrites()). A page whose
// old bytes cannot be kept so is not rewritten.
//
// All functions are reentrant: they may run on any thread.

#include <QByteArray>
#include <QList>
#include <QString>
#include <optional>

namespace textfile {

// Files larger than this (1 GB) are not read.
inline constexpr qint64 MaxReadBytes = qint64(1) << 30;

// What went wrong with a file: the path as the user knows it (native
// separators) and the reason, the system's own or what the file is.
struct FileError {
    QString path;
    QString reason;

    // "ファイル <path> を読み込めませんでした。\n理由: <reason>"
    QString readMessage() const;
    // "ファイル <path> に書き込めませんでした。\n理由: <reason>"
    QString writeMessage() const;
};

// What a path names.
enum class FileKind { Missing, Regular, Folder, Fifo, CharDevice, BlockDevice, Socket, Other };

// Follows symbolic links; Missing also when the path cannot be examined.
FileKind fileKind(const QString& path);
// The sentence saying that a path is no regular file but a folder, a FIFO…
// (used as the reason of a refused read); empty for Regular and Missing.
QString notRegularReason(FileKind kind);

// The whole file as it is on disk. On failure returns nothing and fills error.
std::optional<QByteArray> readBytes(const QString& path, FileError& error);
// The same; error (when given) receives readMessage().
std::optional<QByteArray> readBytes(const QString& path, QString* error = nullptr);

// Replaces the file's contents with bytes, atomically where the folder may be
// written (see above). A symbolic link is followed, and an existing file
// keeps its permissions. On failure returns false and fills error.
bool writeBytes(const QString& path, const QByteArray& bytes, FileError& error);
// The same; error (when given) receives writeMessage().
bool writeBytes(const QString& path, const QByteArray& bytes, QString* error = nullptr);

// Reads the whole file; CR LF (and a lone CR) become '\n'. On failure returns
// nothing and, when error is given, a message naming the path and the reason.
std::optional<QString> read(const QString& path, QString* error = nullptr);

// Writes text atomically (the old file stays as it was when anything fails);
// each '\n' is written as CR LF, nothing is added after the last line.
// On failure returns false and, when error is given, a message naming the
// path and the reason.
bool write(const QString& path, const QString& text, QString* error = nullptr);

// The old bytes of a page whose rewrite in place did not complete.
struct InterruptedRewrite {
    QString guardPath; // where they are kept
    QString page;      // the page's path
    QByteArray oldBytes;
};

// Where the old bytes of pages rewritten in place are kept (tests; the
// default is $XDG_STATE_HOME/Oribel, or ~/.local/state/Oribel).
void setRewriteGuardFolder(const QString& folder);
// Rewrites in place that died (no running save holds their guard) after they
// had begun to change the page, newest first; a guard whose page still holds
// its old bytes is dropped.
QList<InterruptedRewrite> interruptedRewrites();
// Writes the old bytes back over the page and drops the guard.
bool restoreInterruptedRewrite(const InterruptedRewrite& rewrite, FileError& error);
// Renames the guard with a time stamp (never deleted); returns the new path.
std::optional<QString> putAsideInterruptedRewrite(const InterruptedRewrite& rewrite);

// Whether fileName (a bare name, no folder) is the temporary file of a save of
// the file named targetName in the same folder.
bool isSaveLeftover(const QString& fileName, const QString& targetName);

// Removes the temporary files that interrupted saves of path left beside it,
// except those a running save still holds. Returns how many were removed.
int removeSaveLeftovers(const QString& path);

} // namespace textfile
