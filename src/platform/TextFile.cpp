#include "platform/TextFile.h"

#include "platform/SjisCodec.h"
#include "resources/Messages.h"

#include <QCryptographicHash>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMutex>
#include <QRandomGenerator>

#include <cerrno>
#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <utility>

using namespace Qt::StringLiterals;

namespace textfile {

namespace {

// Names longer than this (in bytes) do not leave room for the temporary
// file's decoration within the 255 bytes a file name may have.
constexpr qsizetype MaxPlainStemBytes = 200;
constexpr qsizetype RandomLength = 6;
constexpr int CreateAttempts = 100;
constexpr qsizetype ReadChunk = 1 << 20;

const QByteArray LeftoverTag = ".oribel-save-";

QString systemReason(int code) {
    return qt_error_string(code);
}

FileError errorFor(const QString& path, const QString& reason) {
    return FileError{QDir::toNativeSeparators(path), reason};
}

FileKind kindOfMode(mode_t mode) {
    if (S_ISREG(mode))
        return FileKind::Regular;
    if (S_ISDIR(mode))
        return FileKind::Folder;
    if (S_ISFIFO(mode))
        return FileKind::Fifo;
    if (S_ISCHR(mode))
        return FileKind::CharDevice;
    if (S_ISBLK(mode))
        return FileKind::BlockDevice;
    if (S_ISSOCK(mode))
        return FileKind::Socket;
    return FileKind::Other;
}

// Closes a descriptor when it goes out of scope.
class Descriptor {
public:
    explicit Descriptor(int fd = -1) : fd_(fd) {}
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    ~Descriptor() { reset(); }
    int get() const { return fd_; }
    bool valid() const { return fd_ >= 0; }
    int release() { return std::exchange(fd_, -1); }
    void reset(int fd = -1) {
        if (fd_ >= 0)
            ::close(fd_);
        fd_ = fd;
    }

private:
    int fd_;
};

bool sameFile(const struct stat& a, const struct stat& b) {
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

// The part of a temporary file's name before the random characters:
// ".<name>.oribel-save-". A very long name is replaced by its digest so the
// temporary name stays within the system's limit.
QByteArray leftoverStem(const QByteArray& targetName) {
    QByteArray stem = targetName;
    if (stem.size() > MaxPlainStemBytes)
        stem = QCryptographicHash::hash(targetName, QCryptographicHash::Sha1).toHex();
    return '.' + stem + LeftoverTag;
}

bool isRandomPart(QByteArrayView part) {
    if (part.size() != RandomLength)
        return false;
    for (char c : part) {
        const bool alnum = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9');
        if (!alnum)
            return false;
    }
    return true;
}

bool matchesLeftover(const QByteArray& fileName, const QByteArray& stem) {
    return fileName.startsWith(stem) && isRandomPart(QByteArrayView(fileName).sliced(stem.size()));
}

// Removes one leftover unless a running save holds it (it keeps an exclusive
// lock on its temporary file from creation to the rename).
bool removeLeftover(const QByteArray& fullPath) {
    int fd = ::open(fullPath.constData(), O_RDONLY | O_NONBLOCK | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0)
        fd = ::open(fullPath.constData(), O_WRONLY | O_NONBLOCK | O_NOFOLLOW | O_CLOEXEC);
    Descriptor file(fd);
    if (!file.valid())
        return false;
    struct stat opened {};
    if (::fstat(file.get(), &opened) != 0 || !S_ISREG(opened.st_mode))
        return false;
    if (::flock(file.get(), LOCK_EX | LOCK_NB) != 0)
        return false;
    struct stat named {};
    if (::lstat(fullPath.constData(), &named) != 0 || !sameFile(opened, named))
        return false;
    return ::unlink(fullPath.constData()) == 0;
}

int removeLeftoversIn(const QByteArray& folder, const QByteArray& targetName) {
    const QByteArray stem = leftoverStem(targetName);
    DIR* dir = ::opendir(folder.constData());
    if (!dir)
        return 0;
    QList<QByteArray> found;
    while (const dirent* entry = ::readdir(dir)) {
        const QByteArray name(entry->d_name);
        if (matchesLeftover(name, stem))
            found.append(name);
    }
    ::closedir(dir);
    int removed = 0;
    for (const QByteArray& name : std::as_const(found)) {
        if (removeLeftover(folder + '/' + name))
            ++removed;
    }
    return removed;
}

// The file a save of path really writes: the target of a symbolic link.
QString resolvedTarget(const QString& path) {
    const QFileInfo info(path);
    if (info.isSymLink()) {
        const QString canonical = info.canonicalFilePath();
        if (!canonical.isEmpty())
            return canonical;
        return info.symLinkTarget();
    }
    return info.absoluteFilePath();
}

bool writeAll(int fd, const QByteArray& bytes) {
    const char* data = bytes.constData();
    qsizetype left = bytes.size();
    while (left > 0) {
        const ssize_t written = ::write(fd, data, size_t(left));
        if (written < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        data += written;
        left -= written;
    }
    return true;
}

void syncFolder(const QByteArray& folder) {
    Descriptor dir(::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (dir.valid())
        ::fsync(dir.get());
}

// Creates a new temporary file for a save and takes its lock. Returns the
// descriptor (and the name) or -1 with errno set.
int createTemporary(const QByteArray& folder, const QByteArray& targetName, QByteArray& tempPath) {
    static const char Alphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    const QByteArray stem = folder + '/' + leftoverStem(targetName);
    for (int attempt = 0; attempt < CreateAttempts; ++attempt) {
        QByteArray candidate = stem;
        for (qsizetype i = 0; i < RandomLength; ++i)
            candidate += Alphabet[QRandomGenerator::global()->bounded(int(sizeof(Alphabet) - 1))];
        const int fd = ::open(candidate.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0) {
            if (errno == EEXIST)
                continue;
            return -1;
        }
        // Another save's clean-up may have taken the fresh file between its
        // creation and the lock: then the name no longer leads to it.
        struct stat opened {
        }, named{};
        if (::flock(fd, LOCK_EX | LOCK_NB) == 0 && ::fstat(fd, &opened) == 0 &&
            ::lstat(candidate.constData(), &named) == 0 && sameFile(opened, named)) {
            tempPath = candidate;
            return fd;
        }
        ::close(fd);
    }
    errno = EEXIST;
    return -1;
}

const QByteArray GuardMagic = "ORIBEL-REWRITE 1\n";
const QString GuardSuffix = u".rewrite"_s;

QMutex guardFolderMutex;
QString guardFolderSetting;

QString guardFolder() {
    QMutexLocker locker(&guardFolderMutex);
    if (!guardFolderSetting.isEmpty())
        return guardFolderSetting;
    QString base = qEnvironmentVariable("XDG_STATE_HOME");
    if (base.isEmpty() || QDir::isRelativePath(base))
        base = QDir::homePath() + u"/.local/state"_s;
    return QDir(base).filePath(u"Oribel"_s);
}

// Keeps the old bytes of a page about to be rewritten in place where a crash
// during the rewrite cannot reach them: written and flushed to the disk before
// the first byte of the page is overwritten, and locked while the rewrite
// runs, so that only a rewrite that died leaves it to be found. Returns the
// locked descriptor (and the guard's path) or -1 with errno set.
int writeGuard(const QByteArray& target, const QByteArray& oldBytes, QByteArray& guardPath) {
    const QString folder = guardFolder();
    if (!QDir().mkpath(folder))
        return -1;
    const QByteArray encodedFolder = QFile::encodeName(folder);
    // Guards a kill left half written (never one a running rewrite holds).
    removeLeftoversIn(encodedFolder, "rewrite");
    QByteArray tempPath;
    Descriptor guard(createTemporary(encodedFolder, "rewrite", tempPath));
    if (!guard.valid())
        return -1;
    // The page's path on a line of its own, then its old bytes.
    const QByteArray header = GuardMagic + target.toPercentEncoding("/") + '\n';
    if (!writeAll(guard.get(), header) || !writeAll(guard.get(), oldBytes) || ::fsync(guard.get()) != 0) {
        const int failure = errno;
        ::unlink(tempPath.constData());
        errno = failure;
        return -1;
    }
    guardPath = tempPath + QFile::encodeName(GuardSuffix);
    if (::rename(tempPath.constData(), guardPath.constData()) != 0) {
        const int failure = errno;
        ::unlink(tempPath.constData());
        errno = failure;
        return -1;
    }
    syncFolder(encodedFolder);
    return guard.release();
}

// Rewrites an existing file in place, for a folder that may not be written.
//
// The rewrite writes the new bytes over the old ones at the same offsets, so a
// crash half way leaves the new text's start followed by the old text's end;
// when the new text grew (or shrank) before that point, the old end is out of
// step with it by as many bytes, and a byte seems to be missing (or doubled)
// at the seam. A longer page is first extended with NULs (its room reserved),
// which then show at its end. Nothing in the write can prevent such a tear,
// so the old bytes are kept aside first (writeGuard) and the next start
// offers them back (interruptedRewrites()).
bool writeInPlace(const QByteArray& target, const QByteArray& bytes, int& failure) {
    Descriptor file(::open(target.constData(), O_WRONLY | O_NONBLOCK | O_CLOEXEC));
    struct stat opened {};
    if (!file.valid() || ::fstat(file.get(), &opened) != 0) {
        failure = errno;
        return false;
    }
    if (!S_ISREG(opened.st_mode)) {
        failure = EINVAL;
        return false;
    }
    FileError readFailure;
    const std::optional<QByteArray> oldBytes = readBytes(QFile::decodeName(target), readFailure);
    if (!oldBytes) {
        failure = EACCES;
        return false;
    }
    QByteArray guardPath;
    const Descriptor guard(writeGuard(target, *oldBytes, guardPath));
    if (!guard.valid()) {
        failure = errno;
        return false;
    }
    // A longer page takes its room first: a full disk or a file size limit
    // then fails before a byte of the old page is overwritten. (Where the
    // file system cannot reserve room, the write goes ahead as it is.)
    if (bytes.size() > opened.st_size) {
        const int reserved =
            ::posix_fallocate(file.get(), opened.st_size, off_t(bytes.size()) - opened.st_size);
        if (reserved != 0 && reserved != EOPNOTSUPP && reserved != EINVAL) {
            [[maybe_unused]] const int ignored = ::ftruncate(file.get(), opened.st_size);
            failure = reserved;
            return false;
        }
    }
    if (!writeAll(file.get(), bytes) || ::ftruncate(file.get(), off_t(bytes.size())) != 0 ||
        ::fsync(file.get()) != 0) {
        // The page may be torn: its old bytes stay aside for the next start.
        failure = errno;
        return false;
    }
    ::unlink(guardPath.constData());
    syncFolder(QFile::encodeName(QFileInfo(QFile::decodeName(guardPath)).absolutePath()));
    return true;
}

// Reads a guard that no running rewrite holds.
std::optional<InterruptedRewrite> readGuard(const QString& path) {
    Descriptor guard(::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC));
    if (!guard.valid() || ::flock(guard.get(), LOCK_EX | LOCK_NB) != 0)
        return std::nullopt;
    const std::optional<QByteArray> data = readBytes(path);
    if (!data || !data->startsWith(GuardMagic))
        return std::nullopt;
    const qsizetype pathEnd = data->indexOf('\n', GuardMagic.size());
    if (pathEnd < 0)
        return std::nullopt;
    const QByteArray target =
        QByteArray::fromPercentEncoding(data->sliced(GuardMagic.size(), pathEnd - GuardMagic.size()));
    return InterruptedRewrite{path, QFile::decodeName(target), data->sliced(pathEnd + 1)};
}

} // namespace

QString FileError::readMessage() const {
    return msg::fileReadError(path, reason);
}
QString FileError::writeMessage() const {
    return msg::fileWriteError(path, reason);
}

FileKind fileKind(const QString& path) {
    struct stat info {};
    if (::stat(QFile::encodeName(path).constData(), &info) != 0)
        return FileKind::Missing;
    return kindOfMode(info.st_mode);
}

QString notRegularReason(FileKind kind) {
    switch (kind) {
    case FileKind::Missing:
    case FileKind::Regular:
        return {};
    case FileKind::Folder:
        return msg::notRegularFile(msg::KindFolder);
    case FileKind::Fifo:
        return msg::notRegularFile(msg::KindFifo);
    case FileKind::CharDevice:
        return msg::notRegularFile(msg::KindCharDevice);
    case FileKind::BlockDevice:
        return msg::notRegularFile(msg::KindBlockDevice);
    case FileKind::Socket:
        return msg::notRegularFile(msg::KindSocket);
    case FileKind::Other:
        break;
    }
    return msg::notRegularFile(msg::KindOther);
}

std::optional<QByteArray> readBytes(const QString& path, FileError& error) {
    const QByteArray name = QFile::encodeName(path);
    // Examined before opening: opening a FIFO would wait for a writer.
    struct stat info {};
    if (::stat(name.constData(), &info) != 0) {
        error = errorFor(path, systemReason(errno));
        return std::nullopt;
    }
    auto refused = [&](const struct stat& found) -> bool {
        if (!S_ISREG(found.st_mode)) {
            error = errorFor(path, notRegularReason(kindOfMode(found.st_mode)));
            return true;
        }
        if (found.st_size > MaxReadBytes) {
            error = errorFor(path, msg::fileOverReadLimit(qint64(found.st_size)));
            return true;
        }
        return false;
    };
    if (refused(info))
        return std::nullopt;

    // Non-blocking, in case something else took the name since.
    Descriptor file(::open(name.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
    if (!file.valid()) {
        error = errorFor(path, systemReason(errno));
        return std::nullopt;
    }
    if (::fstat(file.get(), &info) != 0) {
        error = errorFor(path, systemReason(errno));
        return std::nullopt;
    }
    if (refused(info))
        return std::nullopt;

    QByteArray bytes;
    qsizetype total = 0;
    bytes.resize(qsizetype(info.st_size) + 1);
    for (;;) {
        if (total == bytes.size())
            bytes.resize(qMin<qsizetype>(total + ReadChunk, MaxReadBytes + 1));
        const ssize_t got = ::read(file.get(), bytes.data() + total, size_t(bytes.size() - total));
        if (got < 0) {
            if (errno == EINTR)
                continue;
            error = errorFor(path, systemReason(errno));
            return std::nullopt;
        }
        if (got == 0)
            break;
        total += got;
        // The file grew past the limit while it was read.
        if (total > MaxReadBytes) {
            error = errorFor(path, msg::fileOverReadLimit(total));
            return std::nullopt;
        }
    }
    bytes.resize(total);
    return bytes;
}

std::optional<QByteArray> readBytes(const QString& path, QString* error) {
    FileError failure;
    std::optional<QByteArray> bytes = readBytes(path, failure);
    if (!bytes && error)
        *error = failure.readMessage();
    return bytes;
}

bool writeBytes(const QString& path, const QByteArray& bytes, FileError& error) {
    const QString targetPath = resolvedTarget(path);
    const QByteArray target = QFile::encodeName(targetPath);
    const QFileInfo targetInfo(targetPath);
    const QByteArray folder = QFile::encodeName(targetInfo.absolutePath());
    const QByteArray targetName = QFile::encodeName(targetInfo.fileName());

    struct stat existing {};
    const bool exists = ::stat(target.constData(), &existing) == 0;
    if (exists) {
        if (!S_ISREG(existing.st_mode)) {
            error = errorFor(path, notRegularReason(kindOfMode(existing.st_mode)));
            return false;
        }
        // A file the user may not write is not replaced, though the folder
        // would allow it.
        if (::faccessat(AT_FDCWD, target.constData(), W_OK, AT_EACCESS) != 0) {
            error = errorFor(path, systemReason(errno));
            return false;
        }
    } else if (errno != ENOENT) {
        error = errorFor(path, systemReason(errno));
        return false;
    }

    removeLeftoversIn(folder, targetName);

    QByteArray tempPath;
    Descriptor temp(createTemporary(folder, targetName, tempPath));
    if (!temp.valid()) {
        const int failure = errno;
        if (exists && (failure == EACCES || failure == EPERM)) {
            int inPlaceFailure = 0;
            if (writeInPlace(target, bytes, inPlaceFailure))
                return true;
            error = errorFor(path, systemReason(inPlaceFailure));
            return false;
        }
        error = errorFor(path, systemReason(failure));
        return false;
    }

    auto fail = [&](int code) {
        ::unlink(tempPath.constData());
        error = errorFor(path, systemReason(code));
        return false;
    };
    if (!writeAll(temp.get(), bytes))
        return fail(errno);
    if (exists) {
        // The new file takes the old one's permissions and, where allowed, owner.
        if (::fchmod(temp.get(), existing.st_mode & 07777) != 0)
            return fail(errno);
        [[maybe_unused]] const int ignored = ::fchown(temp.get(), existing.st_uid, existing.st_gid);
    }
    if (::fsync(temp.get()) != 0)
        return fail(errno);
    if (::rename(tempPath.constData(), target.constData()) != 0)
        return fail(errno);
    syncFolder(folder);
    return true;
}

void setRewriteGuardFolder(const QString& folder) {
    QMutexLocker locker(&guardFolderMutex);
    guardFolderSetting = folder;
}

QList<InterruptedRewrite> interruptedRewrites() {
    QList<InterruptedRewrite> found;
    const QDir folder(guardFolder());
    for (const QString& name :
         folder.entryList({u"*"_s + GuardSuffix}, QDir::Files | QDir::Hidden, QDir::Time)) {
        std::optional<InterruptedRewrite> rewrite = readGuard(folder.filePath(name));
        if (!rewrite)
            continue;
        // Killed before the first byte of the page was overwritten: nothing to offer.
        if (readBytes(rewrite->page) == rewrite->oldBytes) {
            QFile::remove(rewrite->guardPath);
            continue;
        }
        found << std::move(*rewrite);
    }
    return found;
}

bool restoreInterruptedRewrite(const InterruptedRewrite& rewrite, FileError& error) {
    if (!writeBytes(rewrite.page, rewrite.oldBytes, error))
        return false;
    QFile::remove(rewrite.guardPath);
    return true;
}

std::optional<QString> putAsideInterruptedRewrite(const InterruptedRewrite& rewrite) {
    const QString aside =
        rewrite.guardPath + u".aside-"_s + QDateTime::currentDateTime().toString(u"yyyyMMdd-HHmmss"_s);
    if (!QFile::rename(rewrite.guardPath, aside))
        return std::nullopt;
    return aside;
}

bool writeBytes(const QString& path, const QByteArray& bytes, QString* error) {
    FileError failure;
    const bool written = writeBytes(path, bytes, failure);
    if (!written && error)
        *error = failure.writeMessage();
    return written;
}

std::optional<QString> read(const QString& path, QString* error) {
    const std::optional<QByteArray> bytes = readBytes(path, error);
    if (!bytes)
        return std::nullopt;
    return sjis::decode(*bytes, sjis::LineBreaks::CrLf);
}

bool write(const QString& path, const QString& text, QString* error) {
    // Encoded whole before the file is touched.
    return writeBytes(path, sjis::encode(text, sjis::LineBreaks::CrLf), error);
}

bool isSaveLeftover(const QString& fileName, const QString& targetName) {
    return matchesLeftover(QFile::encodeName(fileName), leftoverStem(QFile::encodeName(targetName)));
}

int removeSaveLeftovers(const QString& path) {
    const QFileInfo info(resolvedTarget(path));
    return removeLeftoversIn(QFile::encodeName(info.absolutePath()), QFile::encodeName(info.fileName()));
}

} // namespace textfile
