#pragma once
// Recovery copies of unsaved text, today's body and the diary page, written
// while they are modified so that a crash loses at most the last seconds of
// writing.
//
// They live in $XDG_STATE_HOME/Oribel/ (~/.local/state/Oribel when unset).
// Each running copy of the program is one instance with a name of its own
// ("<pid>-<8 hex digits>"); it writes only "<instance>.today.rcv" and
// "<instance>.page.rcv" and holds the lock file "<instance>.lock" for its
// whole life. Copies whose instance no longer runs (its lock is gone or was
// left by a process that died) are orphans: a later start offers those newer
// than what they belong to. Two running copies never take each other's files.
//
// A copy file holds a header line with what it belongs to and when it was
// made, then the text's bytes as given; it is replaced atomically, so a copy
// that was being written when the program died is the previous one, whole.
// A copy put aside gets ".aside-<date>-<time>" added to its name; the program
// never deletes it.
//
// write(), writeLater(), waitForWrites(), remove(), hasCopy(), lastError() and
// setWriteListener() may be called from any thread; the others belong to the thread that made
// the store.

#include <QByteArray>
#include <QDateTime>
#include <QHash>
#include <QList>
#include <QLockFile>
#include <QMap>
#include <QMutex>
#include <QString>
#include <QStringList>
#include <QThreadPool>

#include <functional>
#include <memory>
#include <optional>

enum class RecoveryKind { TodayBody, Page };

// What a copy belongs to: for the page, its path and its modification time
// when it was loaded (invalid for a page never saved); for today's body, the
// file a kept entry goes to, or nothing.
struct RecoverySource {
    QString path;
    QDateTime modifiedWhenLoaded;
    // Named texts kept with the copy (today's body: its date, weathers, title).
    QMap<QString, QString> fields = {};
};

// An orphan copy offered back to the user.
struct RecoveryOffer {
    RecoveryKind kind = RecoveryKind::TodayBody;
    QString filePath; // the copy's own file
    RecoverySource source;
    QDateTime copiedAt;
    QByteArray text;
};

struct RecoveryScan {
    // Orphan copies newer than what they belong to, newest first.
    QList<RecoveryOffer> offers;
    // Orphan copies that were not (older than what they belong to, or
    // unreadable): put aside, under their new names.
    QStringList setAside;
};

class RecoveryStore {
public:
    // Makes the folder when needed and takes this instance's lock.
    explicit RecoveryStore(QString folder);
    // Waits for queued writes, then gives the lock back; the copies stay.
    ~RecoveryStore();
    RecoveryStore(const RecoveryStore&) = delete;
    RecoveryStore& operator=(const RecoveryStore&) = delete;

    // $XDG_STATE_HOME/Oribel, or ~/.local/state/Oribel.
    static QString defaultFolder();

    QString folder() const { return folder_; }
    QString instanceName() const { return instance_; }
    // False when the folder or the lock could not be made; writes then fail.
    bool isUsable() const { return usable_; }
    // This instance's copy of kind (it need not exist).
    QString copyPath(RecoveryKind kind) const;

    // Writes the copy of kind now, replacing the previous one atomically.
    // A queued older write of the same kind is dropped.
    bool write(RecoveryKind kind, const QByteArray& text, const RecoverySource& source);
    // Queues the write for this store's own worker thread and returns at once;
    // a newer text of the same kind replaces one not yet written.
    void writeLater(RecoveryKind kind, QByteArray text, RecoverySource source);
    // The same, with the text made on the worker thread (so that encoding a
    // big text costs the caller nothing).
    void writeLater(RecoveryKind kind, std::function<QByteArray()> makeText, RecoverySource source);
    // Called on the worker thread after each queued write that was carried
    // out, with whether it succeeded (lastError() says why not). Setting
    // another listener (or none) waits for a call in progress to end.
    void setWriteListener(std::function<void(RecoveryKind, bool written)> listener);
    // Returns once every queued write is done.
    void waitForWrites();
    // Removes this instance's copy of kind (a queued write of it is dropped).
    // Removing a copy that does not exist is no error.
    bool remove(RecoveryKind kind);
    bool hasCopy(RecoveryKind kind) const;

    // Looks for orphan copies. Their instances' locks stay with this store
    // until each offer is adopted or put aside (or releaseOffers()), so
    // another copy starting meanwhile is not offered the same text.
    RecoveryScan scan();
    // The offer becomes this instance's copy of its kind (written over by the
    // next write, removed by remove()). Fails when this instance already has
    // a copy of that kind.
    bool adopt(const RecoveryOffer& offer);
    // Renames the offer's file with a time stamp; returns the new path.
    std::optional<QString> putAside(const RecoveryOffer& offer);
    // Gives back the locks of offers neither adopted nor put aside.
    void releaseOffers();

    // The last failure's message (path and reason); empty after a success.
    QString lastError() const;

private:
    struct Job {
        QByteArray text;
        std::function<QByteArray()> makeText;
        RecoverySource source;
        quint64 generation = 0;
    };

    bool writeLocked(RecoveryKind kind, const QByteArray& text, const RecoverySource& source);
    void drain();
    void setError(const QString& text) const;
    void releaseIfEmpty(const QString& instance);
    QString pathOf(const QString& instance, RecoveryKind kind) const;

    QString folder_;
    QString instance_;
    bool usable_ = false;
    std::unique_ptr<QLockFile> lock_;

    mutable QMutex stateMutex_; // pending_, generation_, draining_, lastError_
    QMutex ioMutex_;            // this instance's copy files
    std::optional<Job> pending_[2];
    quint64 generation_[2] = {0, 0};
    bool draining_ = false;
    mutable QString lastError_;

    QMutex listenerMutex_;
    std::function<void(RecoveryKind, bool)> listener_;

    QHash<QString, std::shared_ptr<QLockFile>> heldOrphans_;
    QThreadPool pool_;
};
