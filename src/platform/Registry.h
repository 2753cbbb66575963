#pragma once
// Seam: the per-user settings store, shaped like the registry the settings were
// designed for: keys named by path ("\software\mervane\Pagora"), each holding
// named string and 32-bit integer values.
//
// Usage follows open → read/write → close. Writes to the open key are applied
// when the key is closed; closeKey() returns false when they could not be stored.

#include <QString>
#include <optional>

class Registry {
public:
    virtual ~Registry() = default;

    // Opens a key of the current user. With canCreate a missing key is created.
    // Returns false when the key does not exist (and may not be created) or the
    // store cannot be used.
    virtual bool openKey(const QString& path, bool canCreate) = 0;
    // Opens a key of the current user, creating it when needed, and keeps
    // every other user of the store out until closeKey(): what is read in
    // between is what the store holds when the writes are stored, so a value
    // computed from a stored one (a counter plus this copy's increment) loses
    // nothing another running copy stored. Keep such a key open only briefly.
    virtual bool openKeyForUpdate(const QString& path) { return openKey(path, true); }
    // Stores what was written since openKey() and closes the key. Returns false
    // when the writes could not be stored; nothing of them is then kept.
    virtual bool closeKey() = 0;

    // Reads from the open key. A missing value (or one of the other type) reads
    // as an empty string.
    virtual QString readString(const QString& name) const = 0;
    // A missing value, or a value that is not an integer, gives nothing.
    virtual std::optional<qint32> readInteger(const QString& name) const = 0;
    virtual bool valueExists(const QString& name) const = 0;

    virtual bool writeString(const QString& name, const QString& value) = 0;
    virtual bool writeInteger(const QString& name, qint32 value) = 0;
    // Deleting a missing value is no error.
    virtual bool deleteValue(const QString& name) = 0;

    // Deletes a key with all its values and subkeys at once (no open key needed).
    virtual bool deleteKey(const QString& path) = 0;
    virtual bool keyExists(const QString& path) const = 0;

    // Why the last openKey(…, true), closeKey() or deleteKey() failed, as one
    // line naming the store's file and the system's reason; empty when it
    // succeeded or the store cannot tell.
    virtual QString lastError() const { return {}; }
};
