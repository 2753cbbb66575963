#include "platform/JsonRegistry.h"

#include "platform/Messages.h"
#include "platform/TextFile.h"
#include "resources/Messages.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonParseError>
#include <QLockFile>
#include <QStringList>
#include <cerrno>
#include <cmath>
#include <limits>
#include <optional>
#include <utility>

using namespace Qt::StringLiterals;

namespace {

const QString RootName = u"HKEY_CURRENT_USER"_s;

// A lock older than this belongs to a copy that hung; every operation on the
// file takes milliseconds. (A copy that died is recognised at once.)
constexpr int StaleLockMs = 10000;

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

// Held while the file is read and rewritten. Waits as long as another copy
// holds it: what that copy does is bounded, and a copy that hung or died
// loses its lock (see StaleLockMs), so a write is never dropped for waiting.
// Fails only when no lock file can be made. Within openKeyForUpdate() …
// closeKey() the store already holds the lock, and this stands for it.
class StoreLock {
public:
    StoreLock(const QString& filePath, QLockFile* held) : held_(held) {
        if (held_) {
            locked_ = true;
            return;
        }
        own_.emplace(filePath + u".lock"_s);
        own_->setStaleLockTime(StaleLockMs);
        locked_ = own_->lock();
    }
    bool locked() const { return locked_; }
    QString path() const { return file().fileName(); }
    QString failure() const {
        return file().error() == QLockFile::PermissionError ? qt_error_string(EACCES) : msg::StoreLockFailed;
    }

private:
    const QLockFile& file() const { return held_ ? *held_ : *own_; }

    QLockFile* held_ = nullptr;
    std::optional<QLockFile> own_;
    bool locked_ = false;
};

bool isStorableValue(const QJsonValue& value) {
    return value.isString() || asInt32(value).has_value();
}

// "registry.json.bad-20261208-101500", with "-2", "-3"… when that name is taken.
QString freeBadName(const QString& filePath) {
    const QString base = filePath + u".bad-"_s + QDateTime::currentDateTime().toString(u"yyyyMMdd-HHmmss"_s);
    QString candidate = base;
    for (int counter = 2; QFileInfo::exists(candidate) || QFileInfo(candidate).isSymLink(); ++counter)
        candidate = base + u'-' + QString::number(counter);
    return candidate;
}

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
    if (textfile::fileKind(filePath_) == textfile::FileKind::Missing && !QFileInfo(filePath_).isSymLink())
        return store;
    // Only a regular file of sensible size is read; anything else counts as
    // damage and is moved aside like a file that does not parse.
    const std::optional<QByteArray> data = textfile::readBytes(filePath_);
    if (!data) {
        handleDamagedLocked(store);
        return store;
    }
    // A file of blanks holds nothing that could be lost.
    if (data->trimmed().isEmpty())
        return store;

    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(*data, &error);
    if (error.error != QJsonParseError::NoError || !document.isObject()) {
        handleDamagedLocked(store);
        return store;
    }
    store.root = document.object();
    noteIgnoredMembers(store.root);
    return store;
}

bool JsonRegistry::isUsableKey(const QJsonValue& member) {
    return member.isObject();
}

// Members that are not what they should be are ignored where they are read
// and left in the file as they are; the first read that finds them reports them.
void JsonRegistry::noteIgnoredMembers(const QJsonObject& root) const {
    if (membersReported_)
        return;
    QStringList ignored;
    for (auto it = root.constBegin(); it != root.constEnd(); ++it) {
        if (!isUsableKey(it.value())) {
            ignored.append(msg::ignoredKey(it.key()));
            continue;
        }
        const QJsonObject values = it.value().toObject();
        for (auto value = values.constBegin(); value != values.constEnd(); ++value) {
            if (!isStorableValue(value.value()))
                ignored.append(msg::ignoredValue(it.key(), value.key()));
        }
    }
    if (ignored.isEmpty())
        return;
    membersReported_ = true;
    const qsizetype more = ignored.size() - msg::IgnoredMembersListed;
    if (more > 0) {
        ignored.resize(msg::IgnoredMembersListed);
        ignored.append(msg::moreIgnored(more));
    }
    pendingReports_.append(
        msg::StoreMembersIgnored.arg(QDir::toNativeSeparators(filePath_), ignored.join(u'\n')));
}

void JsonRegistry::handleDamagedLocked(Store& store) const {
    // Never over an earlier damaged file: that may be the only copy of
    // someone's settings.
    const QString keptAs = freeBadName(filePath_);
    const bool moved = QFile::rename(filePath_, keptAs);
    store.root = QJsonObject();
    store.writable = moved;
    if (!damageReported_) {
        damageReported_ = true;
        const QString file = QDir::toNativeSeparators(filePath_);
        pendingReports_.append(moved ? msg::StoreDamagedKept.arg(file, QDir::toNativeSeparators(keptAs))
                                     : msg::StoreDamagedStuck.arg(file));
    }
}

// Shown only once the lock is released, so another copy is not kept waiting
// while the box is open.
void JsonRegistry::showPendingReport() const {
    if (heldLock_)
        return;
    const QStringList reports = std::exchange(pendingReports_, QStringList());
    if (!messages_)
        return;
    for (const QString& text : reports)
        messages_->show(text, msg::StoreDamagedCaption, MsgIcon::Warning, MsgButtons::Ok);
}

bool JsonRegistry::writeStoreLocked(const QJsonObject& root) {
    textfile::FileError failure;
    if (textfile::writeBytes(filePath_, QJsonDocument(root).toJson(QJsonDocument::Indented), failure))
        return true;
    lastError_ = msg::pathAndReason(failure.path, failure.reason);
    return false;
}

bool JsonRegistry::makeFolder() {
    const QString folder = QFileInfo(filePath_).absolutePath();
    errno = 0;
    if (QDir().mkpath(folder))
        return true;
    const int code = errno;
    lastError_ = msg::pathAndReason(QDir::toNativeSeparators(folder), qt_error_string(code ? code : ENOTDIR));
    return false;
}

bool JsonRegistry::openKey(const QString& path, bool canCreate) {
    if (keyOpen_)
        closeKey();

    lastError_.clear();
    const QString key = normaliseKey(path);
    const QString keyLower = key.toLower();
    const QString folder = QFileInfo(filePath_).absolutePath();
    if (canCreate && !makeFolder())
        return false;

    Store store;
    if (QFileInfo::exists(folder)) {
        // The file is only ever replaced whole, so a read without the lock
        // still sees a complete file.
        StoreLock lock(filePath_, heldLock_.get());
        store = readStoreLocked();
    }
    showPendingReport();

    bool exists = false;
    QHash<QString, QJsonValue> values;
    for (auto it = store.root.constBegin(); it != store.root.constEnd(); ++it) {
        if (!isUsableKey(it.value()))
            continue;
        switch (memberRelation(it.key(), keyLower)) {
        case Relation::Same: {
            exists = true;
            const QJsonObject object = it.value().toObject();
            for (auto value = object.constBegin(); value != object.constEnd(); ++value) {
                if (isStorableValue(value.value()))
                    values.insert(value.key().toLower(), value.value());
            }
            break;
        }
        case Relation::Below:
            exists = true;
            break;
        case Relation::Other:
            break;
        }
    }
    if (!exists && canCreate && !store.writable)
        lastError_ = msg::pathAndReason(QDir::toNativeSeparators(filePath_), msg::StoreStuckDamaged);
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

bool JsonRegistry::openKeyForUpdate(const QString& path) {
    if (keyOpen_)
        closeKey();
    lastError_.clear();
    if (!makeFolder())
        return false;
    auto lock = std::make_unique<QLockFile>(filePath_ + u".lock"_s);
    lock->setStaleLockTime(StaleLockMs);
    if (!lock->lock()) {
        const QString reason =
            lock->error() == QLockFile::PermissionError ? qt_error_string(EACCES) : msg::StoreLockFailed;
        lastError_ = msg::pathAndReason(QDir::toNativeSeparators(lock->fileName()), reason);
        return false;
    }
    heldLock_ = std::move(lock);
    if (openKey(path, true))
        return true;
    heldLock_.reset();
    showPendingReport();
    return false;
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
    lastError_.clear();
    if (!keyOpen_)
        return true;
    if (keyRemoved_ || (changes_.isEmpty() && !memberPending_)) {
        heldLock_.reset();
        showPendingReport();
        resetOpenKey();
        return true;
    }

    bool stored = false;
    if (makeFolder()) {
        StoreLock lock(filePath_, heldLock_.get());
        if (!lock.locked()) {
            lastError_ = msg::pathAndReason(QDir::toNativeSeparators(lock.path()), lock.failure());
        } else {
            Store store = readStoreLocked();
            if (!store.writable) {
                lastError_ = msg::pathAndReason(QDir::toNativeSeparators(filePath_), msg::StoreStuckDamaged);
            } else {
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
    heldLock_.reset();
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
    lastError_.clear();
    const QString keyLower = normaliseKey(path).toLower();
    bool deleted = true;
    if (QFileInfo::exists(QFileInfo(filePath_).absolutePath())) {
        StoreLock lock(filePath_, heldLock_.get());
        if (!lock.locked()) {
            deleted = false;
            lastError_ = msg::pathAndReason(QDir::toNativeSeparators(lock.path()), lock.failure());
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
        StoreLock lock(filePath_, heldLock_.get());
        store = readStoreLocked();
    }
    showPendingReport();
    for (auto it = store.root.constBegin(); it != store.root.constEnd(); ++it) {
        if (isUsableKey(it.value()) && memberRelation(it.key(), keyLower) != Relation::Other)
            return true;
    }
    return false;
}
