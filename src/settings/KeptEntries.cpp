#include "settings/KeptEntries.h"

#include "platform/SjisCodec.h"
#include "platform/TextFile.h"
#include "resources/Messages.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QRegularExpression>
#include <QStringDecoder>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace {

const QString CurrentName = u"DIARY.TMP"_s;
const QRegularExpression AsidePattern(u"^DIARY-([0-9]{8}-[0-9]{6}(?:-[0-9]+)?)\\.TMP$"_s);
const QString AsideKeyPrefix = u"\\Temp-"_s;
const QString StampFormat = u"yyyyMMdd-HHmmss"_s;
// Keeping or releasing an entry takes well under this; a copy that died
// holding the lock loses it at once.
constexpr int StaleLockMs = 10000;

KeptEntry entryAt(const QString& path, const QString& key) {
    const QFileInfo info(path);
    return KeptEntry{path, key, info.lastModified(), info.size()};
}

// Held while entries are kept, moved or released. A folder where no lock file
// can be made is used without one (nothing can be written there anyway).
class FolderLock {
public:
    explicit FolderLock(const QString& folder) : lock_(folder + CurrentName + u".lock"_s) {
        lock_.setStaleLockTime(StaleLockMs);
        lock_.lock();
    }

private:
    QLockFile lock_;
};

} // namespace

bool KeptEntry::isOnDisk() const {
    const QFileInfo info(filePath);
    return info.exists() && info.lastModified() == keptAt && info.size() == size;
}

bool KeptEntry::isCurrent() const {
    return QFileInfo(filePath).fileName() == CurrentName;
}

KeptEntries::KeptEntries(QString programFolder, Registry& registry)
    : folder_(std::move(programFolder)), registry_(registry) {}

QString KeptEntries::currentPath() const {
    return folder_ + CurrentName;
}

QList<KeptEntry> KeptEntries::list() const {
    QList<KeptEntry> entries;
    // DIARY.TMP whatever it is: one that cannot be read is reported when it is.
    if (textfile::fileKind(currentPath()) != textfile::FileKind::Missing)
        entries << entryAt(currentPath(), storenames::TempKey);
    const QStringList names = QDir(folder_).entryList({u"DIARY-*.TMP"_s}, QDir::Files);
    for (const QString& name : names) {
        const QRegularExpressionMatch match = AsidePattern.match(name);
        if (match.hasMatch())
            entries << entryAt(folder_ + name, storenames::SettingsKey + AsideKeyPrefix + match.captured(1));
    }
    std::stable_sort(entries.begin(), entries.end(),
                     [](const KeptEntry& a, const KeptEntry& b) { return a.keptAt > b.keptAt; });
    return entries;
}

std::optional<KeptEntry> KeptEntries::moveAside(const KeptEntry& entry, QString& error) {
    const QString stamp = entry.keptAt.toString(StampFormat);
    QString suffix = stamp;
    for (int counter = 2; QFileInfo::exists(folder_ + u"DIARY-"_s + suffix + u".TMP"_s) ||
                          registry_.keyExists(storenames::SettingsKey + AsideKeyPrefix + suffix);
         ++counter)
        suffix = stamp + u'-' + QString::number(counter);
    const QString path = folder_ + u"DIARY-"_s + suffix + u".TMP"_s;
    const QString key = storenames::SettingsKey + AsideKeyPrefix + suffix;
    QFile file(entry.filePath);
    if (!file.rename(path)) {
        error = msg::pathAndReason(QDir::toNativeSeparators(entry.filePath), file.errorString());
        return std::nullopt;
    }
    // The exact text goes with its body (one left behind would not match the
    // next body and is ignored).
    QFile::rename(exactPath(entry.filePath), exactPath(path));
    if (const std::optional<TempDiary> fields = readTempDiary(registry_, entry.key)) {
        if (writeTempDiary(registry_, key, *fields))
            registry_.deleteKey(entry.key);
    }
    return KeptEntry{path, key, entry.keptAt, entry.size};
}

KeepOutcome KeptEntries::keep(const QString& body, const TempDiary& fields,
                              const std::optional<KeptEntry>& own) {
    FolderLock lock(folder_);
    KeepOutcome outcome;
    const QString current = currentPath();
    const bool ownIsCurrent = own && own->isCurrent() && own->isOnDisk();
    if (textfile::fileKind(current) == textfile::FileKind::Regular && !ownIsCurrent) {
        // Another copy's entry, or one this copy never read: it waits for the
        // next start under its own name.
        outcome.movedAside = moveAside(entryAt(current, storenames::TempKey), outcome.bodyError);
        if (!outcome.movedAside)
            return outcome;
    }
    textfile::FileError failure;
    const QByteArray bytes = sjis::encode(body, sjis::LineBreaks::CrLf);
    if (!textfile::writeBytes(current, bytes, failure)) {
        outcome.bodyError = msg::pathAndReason(failure.path, failure.reason);
        return outcome;
    }
    outcome.bodyWritten = true;
    // A body that CP932 holds as it is needs no exact text; one that failed to
    // be written leaves the body with its character references.
    if (sjis::decode(bytes, sjis::LineBreaks::CrLf) == body)
        QFile::remove(exactPath(current));
    else if (!textfile::writeBytes(exactPath(current), body.toUtf8(), failure))
        QFile::remove(exactPath(current));
    outcome.entry = entryAt(current, storenames::TempKey);
    outcome.fieldsWritten = writeTempDiary(registry_, storenames::TempKey, fields);
    if (!outcome.fieldsWritten)
        outcome.fieldsError = registry_.lastError();
    if (own && !own->isCurrent())
        releaseLocked(*own, nullptr);
    return outcome;
}

QString KeptEntries::exactPath(const QString& bodyPath) {
    return bodyPath + u".utf8"_s;
}

QString KeptEntries::exactBody(const KeptEntry& entry, const QString& bodyAsRead) {
    const QString path = exactPath(entry.filePath);
    if (textfile::fileKind(path) != textfile::FileKind::Regular)
        return bodyAsRead;
    const std::optional<QByteArray> bytes = textfile::readBytes(path);
    if (!bytes)
        return bodyAsRead;
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString exact = utf8.decode(*bytes);
    if (utf8.hasError())
        return bodyAsRead;
    // DIARY.TMP rewritten since (by an older version, by hand) is the truth.
    if (sjis::encode(exact, sjis::LineBreaks::CrLf) != sjis::encode(bodyAsRead, sjis::LineBreaks::CrLf))
        return bodyAsRead;
    return exact;
}

bool KeptEntries::release(const KeptEntry& entry, QString* error) {
    FolderLock lock(folder_);
    return releaseLocked(entry, error);
}

bool KeptEntries::releaseLocked(const KeptEntry& entry, QString* error) {
    std::optional<KeptEntry> found;
    if (entry.isOnDisk()) {
        found = entry;
    } else {
        // Another copy may have moved it aside; the time and size tell it.
        for (const KeptEntry& candidate : list()) {
            if (candidate.keptAt == entry.keptAt && candidate.size == entry.size)
                found = candidate;
        }
    }
    if (!found)
        return true;
    QFile file(found->filePath);
    if (!file.remove()) {
        if (error)
            *error = msg::pathAndReason(QDir::toNativeSeparators(found->filePath), file.errorString());
        return false;
    }
    QFile::remove(exactPath(found->filePath));
    if (!registry_.deleteKey(found->key)) {
        if (error)
            *error = registry_.lastError();
        return false;
    }
    return true;
}
