#include "platform/JsonRegistry.h"

#include "platform/Messages.h"
#include "resources/Messages.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonParseError>
#include <QLockFile>
#include <QSaveFile>
#include <QStringList>
#include <cmath>
#include <limits>
#include <utility>

using namespace Qt::StringLiterals;

namespace {

const QString RootName = u"HKEY_CURRENT_USER"_s;

// A lock older than this belongs to a copy that hung or died; every operation
// on the file takes milliseconds.
constexpr int StaleLockMs = 10000;
// How long an operation waits for another copy to finish with the file.
constexpr int LockWaitMs = 5000;

// "\software\mervane\Pagora", "software\\mervane\\Pagora\\" and
// "HKEY_CURRENT_USER\software\mervane\Pagora" all name the same key.
QString normaliseKey(const QString& path) {
    QStringList parts = path.split(u'\\', Qt::SkipEmptyParts);
    if (parts.isEmpty() || parts.first().compare(RootName, Qt::CaseInsensitive) != 0)
        parts.prepend(RootName);
    return parts.join(u'\\');
}

// Where a stored member stands relative to a key (both lower-case, normalised).
enum class Relation { Other, Same, Below };

Relation relationOf(const QString& memberLower, const QString& keyLower) {
    if (memberLower == keyLower)
        return Relation::Same;
    if (memberLower.size() > keyLower.size() && memberLower.startsWith(keyLower) &&
        memberLower[keyLower.size()] == u'\\')
        return Relation::Below;
    return Relation::Other;
}

Relation memberRelation(const QString& member, const QString& keyLower) {
    return relationOf(normaliseKey(member).toLower(), keyLower);
}

std::optional<qint32> asInt32(const QJsonValue& value) {
    if (!value.isDouble())
        return std::nullopt;
    const double number = value.toDouble();
    if (!std::isfinite(number) || std::trunc(number) != number ||
        number < double(std::numeric_limits<qint32>::min()) ||
        number > double(std::numeric_limits<qint32>::max()))
        return std::nullopt;
    return qint32(number);
}

// Removes every value whose name equals name, ignoring case.
void removeNamed(QJsonObject& values, const QString& name) {
    const QStringList names = values.keys();
    for (const QString& existing : names) {
        if (existing.compare(name, Qt::CaseInsensitive) == 0)
            values.remove(existing);
    }
}

class StoreLock {
public:
    explicit StoreLock(const QString& filePath) : lock_(filePath + u".lock"_s) {
        lock_.setStaleLockTime(StaleLockMs);
        locked_ = lock_.tryLock(LockWaitMs);
    }
    bool locked() const { return locked_; }

private:
    QLockFile lock_;
    bool locked_ = false;
};

} // namespace

JsonRegistry::JsonRegistry(QString filePath, MessageService* messages)
    : filePath_(std::move(filePath)), messages_(messages) {}

JsonRegistry::~JsonRegistry() {
    if (keyOpen_)
        closeKey();
}

QString JsonRegistry::defaultPath() {
    QString base = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (base.isEmpty() || QDir::isRelativePath(base))
        base = QDir::homePath() + u"/.config"_s;
    return QDir(base).filePath(u"Oribel/registry.json"_s);
}

JsonRegistry::Store JsonRegistry::readStoreLocked() const {
    Store store;
    QFile file(filePath_);
    if (!file.exists())
        return store;
    if (!file.open(QIODevice::ReadOnly)) {
        handleDamagedLocked(store);
        return store;
    }
    const QByteArray data = file.readAll();
    const bool readFailed = file.error() != QFileDevice::NoError;
    file.close();
    if (readFailed) {
        handleDamagedLocked(store);
        return store;
    }
    // A file of blanks holds nothing that could be lost.
    if (data.trimmed().isEmpty())
        return store;

    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(data, &error);
    if (error.error != QJsonParseError::NoError || !document.isObject()) {
        handleDamagedLocked(store);
        return store;
    }
    const QJsonObject root = document.object();
    for (auto it = root.constBegin(); it != root.constEnd(); ++it) {
        if (!it.value().isObject()) {
            handleDamagedLocked(store);
            return store;
        }
    }
    store.root = root;
    return store;
}

void JsonRegistry::handleDamagedLocked(Store& store) const {
    const QString keptAs = filePath_ + u".bad"_s;
    if (QFile::exists(keptAs))
        QFile::remove(keptAs);
    const bool moved = QFile::rename(filePath_, keptAs);
    store.root = QJsonObject();
    store.writable = moved;
    if (!damageReported_) {
        damageReported_ = true;
        const QString file = QDir::toNativeSeparators(filePath_);
        pendingReport_ = moved ? msg::StoreDamagedKept.arg(file, QDir::toNativeSeparators(keptAs))
                               : msg::StoreDamagedStuck.arg(file);
    }
}

// Shown only once the lock is released, so another copy is not kept waiting
// while the box is open.
void JsonRegistry::showPendingReport() const {
    if (pendingReport_.isEmpty())
        return;
    const QString text = std::exchange(pendingReport_, QString());
    if (messages_)
        messages_->show(text, msg::StoreDamagedCaption, MsgIcon::Warning, MsgButtons::Ok);
}

bool JsonRegistry::writeStoreLocked(const QJsonObject& root) const {
    QSaveFile file(filePath_);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    const QByteArray data = QJsonDocument(root).toJson(QJsonDocument::Indented);
    if (file.write(data) != data.size()) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

bool JsonRegistry::openKey(const QString& path, bool canCreate) {
    if (keyOpen_)
        closeKey();

    const QString key = normaliseKey(path);
    const QString keyLower = key.toLower();
    const QString folder = QFileInfo(filePath_).absolutePath();
    if (canCreate && !QDir().mkpath(folder))
        return false;

    Store store;
    if (QFileInfo::exists(folder)) {
        // The file is only ever replaced whole, so a read without the lock
        // still sees a complete file.
        StoreLock lock(filePath_);
        store = readStoreLocked();
    }
    showPendingReport();

    bool exists = false;
    QHash<QString, QJsonValue> values;
    for (auto it = store.root.constBegin(); it != store.root.constEnd(); ++it) {
        switch (memberRelation(it.key(), keyLower)) {
        case Relation::Same: {
            exists = true;
            const QJsonObject object = it.value().toObject();
            for (auto value = object.constBegin(); value != object.constEnd(); ++value)
                values.insert(value.key().toLower(), value.value());
            break;
        }
        case Relation::Below:
            exists = true;
            break;
        case Relation::Other:
            break;
        }
    }
    if (!exists && (!canCreate || !store.writable))
        return false;

    keyOpen_ = true;
    keyRemoved_ = false;
    memberPending_ = !exists;
    openKey_ = key;
    openValues_ = std::move(values);
    changes_.clear();
    return true;
}

void JsonRegistry::resetOpenKey() {
    keyOpen_ = false;
    keyRemoved_ = false;
    memberPending_ = false;
    openKey_.clear();
    openValues_.clear();
    changes_.clear();
}

bool JsonRegistry::closeKey() {
    if (!keyOpen_)
        return true;
    if (keyRemoved_ || (changes_.isEmpty() && !memberPending_)) {
        resetOpenKey();
        return true;
    }

    bool stored = false;
    if (QDir().mkpath(QFileInfo(filePath_).absolutePath())) {
        StoreLock lock(filePath_);
        if (lock.locked()) {
            Store store = readStoreLocked();
            if (store.writable) {
                // Gather the key under one spelling (the stored one when there
                // is one), then apply this session's changes and nothing else.
                const QString keyLower = openKey_.toLower();
                QString spelling;
                QJsonObject values;
                const QStringList members = store.root.keys();
                for (const QString& member : members) {
                    if (memberRelation(member, keyLower) != Relation::Same)
                        continue;
                    if (spelling.isEmpty())
                        spelling = member;
                    const QJsonObject object = store.root.value(member).toObject();
                    for (auto it = object.constBegin(); it != object.constEnd(); ++it) {
                        removeNamed(values, it.key());
                        values.insert(it.key(), it.value());
                    }
                    store.root.remove(member);
                }
                if (spelling.isEmpty())
                    spelling = openKey_;
                for (const Change& change : std::as_const(changes_)) {
                    removeNamed(values, change.name);
                    if (change.value)
                        values.insert(change.name, *change.value);
                }
                store.root.insert(spelling, values);
                stored = writeStoreLocked(store.root);
            }
        }
    }
    showPendingReport();
    resetOpenKey();
    return stored;
}

std::optional<QJsonValue> JsonRegistry::lookup(const QString& name) const {
    if (!keyOpen_ || keyRemoved_)
        return std::nullopt;
    for (auto it = changes_.crbegin(); it != changes_.crend(); ++it) {
        if (it->name.compare(name, Qt::CaseInsensitive) == 0)
            return it->value;
    }
    const auto found = openValues_.constFind(name.toLower());
    if (found == openValues_.constEnd())
        return std::nullopt;
    return *found;
}

QString JsonRegistry::readString(const QString& name) const {
    const std::optional<QJsonValue> value = lookup(name);
    return value && value->isString() ? value->toString() : QString();
}

std::optional<qint32> JsonRegistry::readInteger(const QString& name) const {
    const std::optional<QJsonValue> value = lookup(name);
    return value ? asInt32(*value) : std::nullopt;
}

bool JsonRegistry::valueExists(const QString& name) const {
    return lookup(name).has_value();
}

bool JsonRegistry::writeString(const QString& name, const QString& value) {
    if (!keyOpen_ || keyRemoved_)
        return false;
    changes_.removeIf([&](const Change& c) { return c.name.compare(name, Qt::CaseInsensitive) == 0; });
    changes_.append({name, QJsonValue(value)});
    return true;
}

bool JsonRegistry::writeInteger(const QString& name, qint32 value) {
    if (!keyOpen_ || keyRemoved_)
        return false;
    changes_.removeIf([&](const Change& c) { return c.name.compare(name, Qt::CaseInsensitive) == 0; });
    changes_.append({name, QJsonValue(qint64(value))});
    return true;
}

bool JsonRegistry::deleteValue(const QString& name) {
    if (!keyOpen_ || keyRemoved_)
        return false;
    changes_.removeIf([&](const Change& c) { return c.name.compare(name, Qt::CaseInsensitive) == 0; });
    changes_.append({name, std::nullopt});
    return true;
}

bool JsonRegistry::deleteKey(const QString& path) {
    const QString keyLower = normaliseKey(path).toLower();
    bool deleted = true;
    if (QFileInfo::exists(QFileInfo(filePath_).absolutePath())) {
        StoreLock lock(filePath_);
        if (!lock.locked()) {
            deleted = false;
        } else {
            Store store = readStoreLocked();
            bool removed = false;
            const QStringList members = store.root.keys();
            for (const QString& member : members) {
                if (memberRelation(member, keyLower) != Relation::Other) {
                    store.root.remove(member);
                    removed = true;
                }
            }
            if (removed)
                deleted = writeStoreLocked(store.root);
        }
    }
    showPendingReport();

    if (deleted && keyOpen_ && relationOf(openKey_.toLower(), keyLower) != Relation::Other) {
        keyRemoved_ = true;
        openValues_.clear();
        changes_.clear();
    }
    return deleted;
}

bool JsonRegistry::keyExists(const QString& path) const {
    const QString keyLower = normaliseKey(path).toLower();
    Store store;
    if (QFileInfo::exists(QFileInfo(filePath_).absolutePath())) {
        StoreLock lock(filePath_);
        store = readStoreLocked();
    }
    showPendingReport();
    for (auto it = store.root.constBegin(); it != store.root.constEnd(); ++it) {
        if (memberRelation(it.key(), keyLower) != Relation::Other)
            return true;
    }
    return false;
}
