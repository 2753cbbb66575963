#pragma once
// Diary entries kept for the next run: the body in the program folder's
// DIARY.TMP, its date, weekday, weathers and title in the Temp subkey.
//
// An entry stays until its text is safe elsewhere: the start that restores it
// releases it (deletes file and subkey) only once a recovery copy of the body
// was written, or the body was kept, composed or discarded on purpose.
//
// Two running copies may both keep an entry. A copy that keeps one while a
// DIARY.TMP it did not read is there first moves that one aside, file and
// subkey under matching time-stamped names ("DIARY-20261208-101500.TMP" with
// the subkey "Temp-20261208-101500", the time being when it was kept), so no
// entry is ever written over; the next start finds every entry, newest first.
// Changes happen under the lock file "DIARY.TMP.lock" in the program folder.
//
// DIARY.TMP stays CP932 for the program's older readers, which write a
// character CP932 lacks (an emoji, 𠮷, Hangul) as "&#x…;". When the body holds
// such a character, its exact text is kept beside it as UTF-8 in
// "DIARY.TMP.utf8" (moved aside and released with it), and the next start
// takes that text when it still encodes to what DIARY.TMP holds.

#include "platform/Registry.h"
#include "settings/SettingsStore.h"

#include <QDateTime>
#include <QList>
#include <QString>
#include <optional>

struct KeptEntry {
    QString filePath; // the body
    QString key;      // the subkey of its fields
    QDateTime keptAt; // when the body was written (the file's modification time)
    qint64 size = -1;

    // Whether the file at filePath is still this entry (the same time and size).
    bool isOnDisk() const;
    bool isCurrent() const; // DIARY.TMP itself, not one moved aside
};

// What keep() did.
struct KeepOutcome {
    bool bodyWritten = false;
    QString bodyError; // why the body could not be written: path and reason
    bool fieldsWritten = false;
    QString fieldsError; // why the fields could not be written: path and reason
    KeptEntry entry;     // the entry now on the disk
    std::optional<KeptEntry> movedAside;
};

class KeptEntries {
public:
    // programFolder ends in the native separator.
    KeptEntries(QString programFolder, Registry& registry);

    QString currentPath() const; // programFolder + "DIARY.TMP"

    // Every kept entry, newest first.
    QList<KeptEntry> list() const;

    // Keeps body and fields as DIARY.TMP and the Temp subkey. own is the entry
    // this copy restored at start-up and still holds, if any: a DIARY.TMP that
    // is not that entry is moved aside first; own, when it was one moved aside,
    // is released once the new entry is written.
    KeepOutcome keep(const QString& body, const TempDiary& fields, const std::optional<KeptEntry>& own);

    // The body as typed: the exact text kept beside the entry when it encodes
    // to the same bytes as bodyAsRead (the entry's file as read), else
    // bodyAsRead itself.
    static QString exactBody(const KeptEntry& entry, const QString& bodyAsRead);
    // Where the exact text of the body in bodyPath is kept.
    static QString exactPath(const QString& bodyPath);

    // Deletes the entry's body and fields, wherever another copy may have
    // moved them; a file that is no longer the entry is left alone. On failure
    // returns false and error names the path and the reason.
    bool release(const KeptEntry& entry, QString* error = nullptr);

private:
    std::optional<KeptEntry> moveAside(const KeptEntry& entry, QString& error);
    bool releaseLocked(const KeptEntry& entry, QString* error);

    QString folder_;
    Registry& registry_;
};
