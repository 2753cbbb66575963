#include "platform/RecoveryStore.h"

#include "platform/TextFile.h"
#include "resources/Messages.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QMap>
#include <QMutexLocker>
#include <QRandomGenerator>
#include <QRegularExpression>

#include <algorithm>
#include <cerrno>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace {

const QByteArray Magic = "Oribel recovery copy 1\n";
const QString LockSuffix = u".lock"_s;
const QString CopySuffix = u".rcv"_s;
const QString AsideTag = u".aside-"_s;

// Instance names, and the file names that belong to one instance.
const QRegularExpression InstancePattern(u"^[0-9]+-[0-9a-f]{8}$"_s);
const QRegularExpression LockPattern(u"^([0-9]+-[0-9a-f]{8})\\.lock$"_s);
const QRegularExpression CopyPattern(u"^([0-9]+-[0-9a-f]{8})\\.(today|page)\\.rcv$"_s);
const QRegularExpression LeftoverPattern(u"^\\.([0-9]+-[0-9a-f]{8})\\.(today|page)\\.rcv\\.oribel-save-"_s);

QString kindName(RecoveryKind kind) {
    return kind == RecoveryKind::Page ? u"page"_s : u"today"_s;
}
int slot(RecoveryKind kind) {
    return kind == RecoveryKind::Page ? 1 : 0;
}

QString timeText(const QDateTime& time) {
    return time.isValid() ? time.toUTC().toString(Qt::ISODateWithMs) : QString();
}
QDateTime timeFrom(const QString& text) {
    return text.isEmpty() ? QDateTime() : QDateTime::fromString(text, Qt::ISODateWithMs);
}

QByteArray encodeCopy(RecoveryKind kind, const QByteArray& text, const RecoverySource& source,
                      const QDateTime& copiedAt) {
    QJsonObject fields;
    for (auto it = source.fields.constBegin(); it != source.fields.constEnd(); ++it)
        fields.insert(it.key(), it.value());
    const QJsonObject header{{u"kind"_s, kindName(kind)},
                             {u"source"_s, source.path},
                             {u"sourceModified"_s, timeText(source.modifiedWhenLoaded)},
                             {u"copiedAt"_s, timeText(copiedAt)},
                             {u"size"_s, qint64(text.size())},
                             {u"fields"_s, fields}};
    return Magic + QJsonDocument(header).toJson(QJsonDocument::Compact) + '\n' + text;
}

std::optional<RecoveryOffer> decodeCopy(const QByteArray& data) {
    if (!data.startsWith(Magic))
        return std::nullopt;
    const qsizetype headerEnd = data.indexOf('\n', Magic.size());
    if (headerEnd < 0)
        return std::nullopt;
    QJsonParseError error;
    const QJsonDocument document =
        QJsonDocument::fromJson(data.sliced(Magic.size(), headerEnd - Magic.size()), &error);
    if (error.error != QJsonParseError::NoError || !document.isObject())
        return std::nullopt;
    const QJsonObject header = document.object();
    const QString kind = header.value(u"kind"_s).toString();
    const QDateTime copiedAt = timeFrom(header.value(u"copiedAt"_s).toString());
    const qint64 size = header.value(u"size"_s).toInteger(-1);
    if ((kind != u"today"_s && kind != u"page"_s) || !copiedAt.isValid() ||
        size != data.size() - headerEnd - 1)
        return std::nullopt;
    RecoveryOffer offer;
    offer.kind = kind == u"page"_s ? RecoveryKind::Page : RecoveryKind::TodayBody;
    offer.source.path = header.value(u"source"_s).toString();
    offer.source.modifiedWhenLoaded = timeFrom(header.value(u"sourceModified"_s).toString());
    const QJsonObject fields = header.value(u"fields"_s).toObject();
    for (auto it = fields.constBegin(); it != fields.constEnd(); ++it)
        offer.source.fields.insert(it.key(), it.value().toString());
    offer.copiedAt = copiedAt;
    offer.text = data.sliced(headerEnd + 1);
    return offer;
}

// Whether the copy holds something its source does not: the source is gone
// or was last written before the copy was made.
bool newerThanSource(const RecoveryOffer& offer) {
    if (offer.source.path.isEmpty())
        return true;
    const QFileInfo source(offer.source.path);
    if (!source.exists())
        return true;
    return offer.copiedAt > source.lastModified();
}

// "<path>.aside-20261208-101500", with "-2", "-3"… when that name is taken.
QString freeAsideName(const QString& path) {
    const QString base = path + AsideTag + QDateTime::currentDateTime().toString(u"yyyyMMdd-HHmmss"_s);
    QString candidate = base;
    for (int counter = 2; QFileInfo::exists(candidate) || QFileInfo(candidate).isSymLink(); ++counter)
        candidate = base + u'-' + QString::number(counter);
    return candidate;
}

QString newInstanceName() {
    return QString::number(qint64(::getpid())) + u'-' +
           QString::number(QRandomGenerator::global()->generate(), 16).rightJustified(8, u'0');
}

std::unique_ptr<QLockFile> lockFor(const QString& path) {
    auto lock = std::make_unique<QLockFile>(path);
    // Held for a whole run: only a dead owner makes it stale, never its age.
    lock->setStaleLockTime(0);
    return lock;
}

// The instance an orphan copy belongs to, when the path is one of this
// store's copy files.
QString instanceOfCopy(const QString& folder, const QString& path) {
    const QFileInfo info(path);
    if (QDir::cleanPath(info.absolutePath()) != QDir::cleanPath(QFileInfo(folder).absoluteFilePath()))
        return {};
    return CopyPattern.match(info.fileName()).captured(1);
}

} // namespace

RecoveryStore::RecoveryStore(QString folder) : folder_(QDir::cleanPath(std::move(folder))) {
    pool_.setMaxThreadCount(1);
    errno = 0;
    if (!QDir().mkpath(folder_)) {
        const int code = errno;
        setError(
            msg::pathAndReason(QDir::toNativeSeparators(folder_), qt_error_string(code ? code : ENOTDIR)));
        return;
    }
    // Diary text: for the user's eyes only.
    QFile::setPermissions(folder_, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    for (int attempt = 0; attempt < 8 && !usable_; ++attempt) {
        instance_ = newInstanceName();
        lock_ = lockFor(QDir(folder_).filePath(instance_ + LockSuffix));
        usable_ = lock_->tryLock(0);
    }
    if (!usable_) {
        setError(msg::pathAndReason(QDir::toNativeSeparators(folder_), msg::RecoveryFolderLocked));
        lock_.reset();
    }
}

RecoveryStore::~RecoveryStore() {
    pool_.waitForDone();
    releaseOffers();
}

QString RecoveryStore::defaultFolder() {
    QString base = qEnvironmentVariable("XDG_STATE_HOME");
    if (base.isEmpty() || QDir::isRelativePath(base))
        base = QDir::homePath() + u"/.local/state"_s;
    return QDir(base).filePath(u"Oribel"_s);
}

QString RecoveryStore::pathOf(const QString& instance, RecoveryKind kind) const {
    return QDir(folder_).filePath(instance + u'.' + kindName(kind) + CopySuffix);
}

QString RecoveryStore::copyPath(RecoveryKind kind) const {
    return pathOf(instance_, kind);
}

void RecoveryStore::setError(const QString& text) const {
    QMutexLocker locker(&stateMutex_);
    lastError_ = text;
}

QString RecoveryStore::lastError() const {
    QMutexLocker locker(&stateMutex_);
    return lastError_;
}

bool RecoveryStore::writeLocked(RecoveryKind kind, const QByteArray& text, const RecoverySource& source) {
    if (!usable_) {
        setError(msg::pathAndReason(QDir::toNativeSeparators(folder_), msg::RecoveryFolderLocked));
        return false;
    }
    textfile::FileError failure;
    if (!textfile::writeBytes(copyPath(kind), encodeCopy(kind, text, source, QDateTime::currentDateTimeUtc()),
                              failure)) {
        setError(msg::pathAndReason(failure.path, failure.reason));
        return false;
    }
    setError(QString());
    return true;
}

bool RecoveryStore::write(RecoveryKind kind, const QByteArray& text, const RecoverySource& source) {
    {
        QMutexLocker state(&stateMutex_);
        ++generation_[slot(kind)];
        pending_[slot(kind)].reset();
    }
    QMutexLocker io(&ioMutex_);
    return writeLocked(kind, text, source);
}

void RecoveryStore::writeLater(RecoveryKind kind, QByteArray text, RecoverySource source) {
    writeLater(
        kind, [text = std::move(text)] { return text; }, std::move(source));
}

void RecoveryStore::writeLater(RecoveryKind kind, std::function<QByteArray()> makeText,
                               RecoverySource source) {
    QMutexLocker state(&stateMutex_);
    pending_[slot(kind)] = Job{QByteArray(), std::move(makeText), std::move(source), generation_[slot(kind)]};
    if (draining_)
        return;
    draining_ = true;
    pool_.start([this] { drain(); });
}

void RecoveryStore::drain() {
    for (;;) {
        RecoveryKind kind = RecoveryKind::TodayBody;
        Job job;
        {
            QMutexLocker state(&stateMutex_);
            if (pending_[0]) {
                kind = RecoveryKind::TodayBody;
            } else if (pending_[1]) {
                kind = RecoveryKind::Page;
            } else {
                draining_ = false;
                return;
            }
            job = std::move(*pending_[slot(kind)]);
            pending_[slot(kind)].reset();
        }
        QMutexLocker io(&ioMutex_);
        {
            // A remove() or write() after this job was queued wins over it.
            QMutexLocker state(&stateMutex_);
            if (job.generation != generation_[slot(kind)])
                continue;
        }
        const bool written = writeLocked(kind, job.makeText ? job.makeText() : job.text, job.source);
        io.unlock();
        QMutexLocker listening(&listenerMutex_);
        if (listener_)
            listener_(kind, written);
    }
}

void RecoveryStore::setWriteListener(std::function<void(RecoveryKind, bool)> listener) {
    QMutexLocker listening(&listenerMutex_);
    listener_ = std::move(listener);
}

void RecoveryStore::waitForWrites() {
    pool_.waitForDone();
}

bool RecoveryStore::remove(RecoveryKind kind) {
    {
        QMutexLocker state(&stateMutex_);
        ++generation_[slot(kind)];
        pending_[slot(kind)].reset();
    }
    QMutexLocker io(&ioMutex_);
    if (instance_.isEmpty())
        return true;
    const QByteArray path = QFile::encodeName(copyPath(kind));
    if (::unlink(path.constData()) != 0 && errno != ENOENT) {
        setError(msg::pathAndReason(QDir::toNativeSeparators(copyPath(kind)), qt_error_string(errno)));
        return false;
    }
    setError(QString());
    return true;
}

bool RecoveryStore::hasCopy(RecoveryKind kind) const {
    return !instance_.isEmpty() && QFileInfo::exists(copyPath(kind));
}

RecoveryScan RecoveryStore::scan() {
    RecoveryScan result;
    const QDir dir(folder_);
    const QStringList names = dir.entryList(QDir::Files | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    QStringList instances;
    for (const QString& name : names) {
        for (const QRegularExpression* pattern : {&LockPattern, &CopyPattern, &LeftoverPattern}) {
            const QRegularExpressionMatch match = pattern->match(name);
            if (match.hasMatch() && match.captured(1) != instance_ && !instances.contains(match.captured(1)))
                instances.append(match.captured(1));
        }
    }

    for (const QString& instance : std::as_const(instances)) {
        std::shared_ptr<QLockFile> lock = heldOrphans_.value(instance);
        if (!lock) {
            lock = lockFor(dir.filePath(instance + LockSuffix));
            // Still running (or another start is looking at it right now).
            if (!lock->tryLock(0))
                continue;
            heldOrphans_.insert(instance, lock);
        }
        for (RecoveryKind kind : {RecoveryKind::TodayBody, RecoveryKind::Page}) {
            const QString path = pathOf(instance, kind);
            textfile::removeSaveLeftovers(path);
            if (!QFileInfo::exists(path))
                continue;
            std::optional<RecoveryOffer> offer;
            if (const std::optional<QByteArray> data = textfile::readBytes(path))
                offer = decodeCopy(*data);
            if (offer && offer->kind == kind && newerThanSource(*offer)) {
                offer->filePath = path;
                result.offers.append(std::move(*offer));
                continue;
            }
            const QString aside = freeAsideName(path);
            if (QFile::rename(path, aside))
                result.setAside.append(aside);
        }
        releaseIfEmpty(instance);
    }
    std::stable_sort(result.offers.begin(), result.offers.end(),
                     [](const RecoveryOffer& a, const RecoveryOffer& b) { return a.copiedAt > b.copiedAt; });
    return result;
}

void RecoveryStore::releaseIfEmpty(const QString& instance) {
    if (!heldOrphans_.contains(instance))
        return;
    for (RecoveryKind kind : {RecoveryKind::TodayBody, RecoveryKind::Page}) {
        if (QFileInfo::exists(pathOf(instance, kind)))
            return;
    }
    // Unlocking removes the orphan's lock file: nothing of it is left.
    heldOrphans_.take(instance)->unlock();
}

bool RecoveryStore::adopt(const RecoveryOffer& offer) {
    const QString instance = instanceOfCopy(folder_, offer.filePath);
    if (instance.isEmpty() || instance == instance_ || !usable_) {
        setError(msg::pathAndReason(QDir::toNativeSeparators(offer.filePath), qt_error_string(EINVAL)));
        return false;
    }
    bool adopted = false;
    {
        QMutexLocker io(&ioMutex_);
        const QString own = copyPath(offer.kind);
        // Never over a copy of this instance's own.
        if (QFileInfo::exists(own) || QFileInfo(own).isSymLink()) {
            setError(msg::pathAndReason(QDir::toNativeSeparators(own), qt_error_string(EEXIST)));
        } else if (::rename(QFile::encodeName(offer.filePath).constData(),
                            QFile::encodeName(own).constData()) != 0) {
            setError(msg::pathAndReason(QDir::toNativeSeparators(offer.filePath), qt_error_string(errno)));
        } else {
            setError(QString());
            adopted = true;
        }
    }
    releaseIfEmpty(instance);
    return adopted;
}

std::optional<QString> RecoveryStore::putAside(const RecoveryOffer& offer) {
    const QString instance = instanceOfCopy(folder_, offer.filePath);
    if (instance.isEmpty() || instance == instance_) {
        setError(msg::pathAndReason(QDir::toNativeSeparators(offer.filePath), qt_error_string(EINVAL)));
        return std::nullopt;
    }
    const QString aside = freeAsideName(offer.filePath);
    std::optional<QString> result;
    QFile file(offer.filePath);
    if (file.rename(aside)) {
        setError(QString());
        result = aside;
    } else {
        setError(msg::pathAndReason(QDir::toNativeSeparators(offer.filePath), file.errorString()));
    }
    releaseIfEmpty(instance);
    return result;
}

void RecoveryStore::releaseOffers() {
    for (const std::shared_ptr<QLockFile>& lock : std::as_const(heldOrphans_))
        lock->unlock();
    heldOrphans_.clear();
}
