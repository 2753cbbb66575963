#pragma once
// The per-user settings store as one JSON file, by default
// $XDG_CONFIG_HOME/Oribel/registry.json (~/.config when XDG_CONFIG_HOME is
// unset).
//
// The file is an object whose members are key paths such as
// "HKEY_CURRENT_USER\\software\\mervane\\Pagora" and whose values are objects
// of named values: a JSON string is a string value, a JSON integer a 32-bit
// integer value. Subkeys are members of their own ("…\\Pagora\\Temp"). Key
// paths and value names compare case-insensitively; a path given without the
// root ("\software\mervane\Pagora") means the current user's.
//
// Several running copies share the file: every read and rewrite happens under
// a lock file next to it (waiting as long as another copy holds it), the file
// is replaced atomically, and closing a key re-reads the file and applies only
// this session's changes to that key, so what another copy wrote meanwhile
// stays.
//
// A damaged or unreadable file (or one that is no regular file, or too big) is
// reported once, moved aside to "registry.json.bad-<date>-<time>" (never over
// an earlier one) and the store goes on empty.
//
// A member that is not what it should be, a key that is not an object or a
// value that is neither a string nor a 32-bit integer, is ignored (it reads
// as missing) and left in the file as it is; the first read that finds such
// members reports them once, and everything else is used.

#include "platform/Registry.h"

#include <QHash>
#include <QJsonObject>
#include <QJsonValue>
#include <QList>
#include <QString>
#include <QStringList>

#include <memory>

class MessageService;
class QLockFile;

class JsonRegistry : public Registry {
public:
    // messages may be null: a damaged file is then moved aside without a word.
    explicit JsonRegistry(QString filePath, MessageService* messages = nullptr);
    ~JsonRegistry() override;

    // $XDG_CONFIG_HOME/Oribel/registry.json, or ~/.config/Oribel/registry.json.
    static QString defaultPath();

    QString filePath() const { return filePath_; }

    bool openKey(const QString& path, bool canCreate) override;
    // Holds the lock file from here to closeKey(); a report about the file
    // waits until the lock is given back.
    bool openKeyForUpdate(const QString& path) override;
    bool closeKey() override;

    QString readString(const QString& name) const override;
    std::optional<qint32> readInteger(const QString& name) const override;
    bool valueExists(const QString& name) const override;

    bool writeString(const QString& name, const QString& value) override;
    bool writeInteger(const QString& name, qint32 value) override;
    bool deleteValue(const QString& name) override;

    // Deleting a key that does not exist is no error.
    bool deleteKey(const QString& path) override;
    bool keyExists(const QString& path) const override;

    // After a failed openKey(…, true), closeKey() or deleteKey(): the path
    // and the system's reason ("…/registry.json: Permission denied").
    QString lastError() const override { return lastError_; }

private:
    struct Store {
        QJsonObject root;
        bool writable = true; // false: a damaged file is still in place
    };
    struct Change {
        QString name;
        std::optional<QJsonValue> value; // empty: the value is deleted
    };

    static bool isUsableKey(const QJsonValue& member);

    Store readStoreLocked() const;
    bool writeStoreLocked(const QJsonObject& root);
    bool makeFolder();
    void handleDamagedLocked(Store& store) const;
    void noteIgnoredMembers(const QJsonObject& root) const;
    void showPendingReport() const;
    std::optional<QJsonValue> lookup(const QString& name) const;
    void resetOpenKey();

    QString filePath_;
    MessageService* messages_;

    bool keyOpen_ = false;
    bool keyRemoved_ = false;               // the open key was deleted while open
    bool memberPending_ = false;            // the open key was created and has no member yet
    QString openKey_;                       // normalised path as the caller spelled it
    QHash<QString, QJsonValue> openValues_; // by lower-case name, as read at open
    QList<Change> changes_;

    QString lastError_;
    std::unique_ptr<QLockFile> heldLock_; // from openKeyForUpdate() to closeKey()

    mutable bool damageReported_ = false;
    mutable bool membersReported_ = false;
    mutable QStringList pendingReports_;
};
