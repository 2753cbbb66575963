// The upload steps of Upload.h over libcurl: one easy handle per upload, so
// the upload, the size check and the rename share one connection.

#include "publish/KeyFingerprints.h"
#include "publish/Upload.h"

#include <QByteArray>
#include <QCryptographicHash>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QUrl>

#include <curl/curl.h>

#include <cerrno>
#include <memory>
#include <mutex>
#include <vector>

using namespace Qt::StringLiterals;

namespace upload {

namespace {

const QString TemporaryPrefix = u".oribel-upload-"_s;
const QString SetAsidePrefix = u".oribel-old-"_s;

void initCurlOnce() {
    static std::once_flag once;
    std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

struct SlistDeleter {
    void operator()(curl_slist* list) const { curl_slist_free_all(list); }
};
using Slist = std::unique_ptr<curl_slist, SlistDeleter>;

Slist makeList(const QStringList& lines) {
    curl_slist* list = nullptr;
    for (const QString& line : lines)
        list = curl_slist_append(list, line.toUtf8().constData());
    return Slist(list);
}

int defaultPort(Protocol protocol) {
    return protocol == Protocol::Sftp ? 22 : 21;
}

QString scheme(Protocol protocol) {
    return protocol == Protocol::Sftp ? u"sftp"_s : u"ftp"_s;
}

QString cleanFolder(const QString& folder) {
    QString f = QDir::cleanPath(folder.trimmed());
    if (f == u"."_s)
        f.clear();
    while (f.endsWith(u'/') && f.size() > 1)
        f.chop(1);
    return f;
}

// The path part of a URL for a remote path (folder-relative path joined to
// the target's folder). SFTP paths start at the server's root; a relative
// folder starts in the login folder ("/~/"). FTP paths start in the login
// folder; an absolute one starts with an encoded slash.
QByteArray urlPath(const Target& target, const QString& remote, bool isFolder) {
    const QString folder = cleanFolder(target.remoteFolder);
    QString joined = folder;
    if (!remote.isEmpty())
        joined = joined.isEmpty() || joined == u"/"_s ? (joined + remote) : (joined + u'/' + remote);
    const bool absolute = joined.startsWith(u'/');
    QStringList parts = joined.split(u'/', Qt::SkipEmptyParts);
    QByteArray path;
    if (target.protocol == Protocol::Sftp)
        path = absolute ? "/" : "/~/";
    else
        path = absolute ? "/%2F" : "/";
    for (qsizetype i = 0; i < parts.size(); ++i) {
        path += QUrl::toPercentEncoding(parts[i]);
        if (i + 1 < parts.size() || isFolder)
            path += '/';
    }
    return path;
}

QByteArray url(const Target& target, const QString& remote, bool isFolder) {
    QByteArray host = QUrl::toAce(target.host.trimmed());
    if (host.isEmpty())
        host = target.host.trimmed().toUtf8();
    if (host.contains(':'))
        host = '[' + host + ']';
    const int port = target.port > 0 ? target.port : defaultPort(target.protocol);
    return scheme(target.protocol).toLatin1() + "://" + host + ':' + QByteArray::number(port) +
           urlPath(target, remote, isFolder);
}

// A path inside an SFTP quote command, in double quotes: from the root, or
// relative, which SFTP servers take from the login folder.
QString sftpQuotePath(const Target& target, const QString& remote) {
    const QString folder = cleanFolder(target.remoteFolder);
    QString joined = folder.isEmpty() ? remote : folder == u"/"_s ? u'/' + remote : folder + u'/' + remote;
    joined.replace(u"\\"_s, u"\\\\"_s);
    joined.replace(u"\""_s, u"\\\""_s);
    return u'"' + joined + u'"';
}

// The host key and what the known hosts file said about it, taken in the
// key callback.
struct HostKeyCheck {
    int match = -1; // a curl_khmatch, -1 before the callback ran
    QByteArray key; // the key as the server sent it (binary blob)
};

int keyCallback(CURL*, const curl_khkey*, const curl_khkey* found, curl_khmatch match, void* clientp) {
    auto* check = static_cast<HostKeyCheck*>(clientp);
    check->match = match;
    if (found && found->key)
        check->key = found->len ? QByteArray(found->key, qsizetype(found->len)) : QByteArray(found->key);
    return match == CURLKHMATCH_OK ? CURLKHSTAT_FINE : CURLKHSTAT_REJECT;
}

QByteArray firstCertificateDer(CURL* curl) {
    curl_certinfo* info = nullptr;
    if (curl_easy_getinfo(curl, CURLINFO_CERTINFO, &info) != CURLE_OK || !info || info->num_of_certs < 1)
        return {};
    for (curl_slist* item = info->certinfo[0]; item; item = item->next) {
        QByteArray line(item->data);
        if (!line.startsWith("Cert:"))
            continue;
        QByteArray pem = line.mid(5);
        const qsizetype begin = pem.indexOf("-----BEGIN CERTIFICATE-----");
        const qsizetype end = pem.indexOf("-----END CERTIFICATE-----");
        if (begin < 0 || end < begin)
            return {};
        pem = pem.mid(begin + 27, end - begin - 27);
        return QByteArray::fromBase64(pem.simplified().replace(" ", ""));
    }
    return {};
}

// ---- One upload ------------------------------------------------------------------

class Session {
public:
    Session(const Target& target, const Control& control) : target_(target), control_(control) {
        initCurlOnce();
        curl_ = curl_easy_init();
    }
    ~Session() {
        if (curl_)
            curl_easy_cleanup(curl_);
    }
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;

    struct Outcome {
        CURLcode code = CURLE_OK;
        long response = 0;
        long osErrno = 0;
        QString error;
    };

    // One request: the common options, then those of the step.
    template <typename Configure> Outcome perform(const QByteArray& address, Configure configure) {
        curl_easy_reset(curl_);
        errorBuffer_[0] = 0;
        hostKey_ = HostKeyCheck{};
        stalled_ = false;
        lastSent_ = -1;
        sinceSent_.invalidate();
        setCommon(address);
        configure(curl_);
        Outcome outcome;
        outcome.code = curl_easy_perform(curl_);
        curl_easy_getinfo(curl_, CURLINFO_RESPONSE_CODE, &outcome.response);
        curl_easy_getinfo(curl_, CURLINFO_OS_ERRNO, &outcome.osErrno);
        outcome.error = QString::fromUtf8(errorBuffer_).trimmed();
        if (outcome.error.isEmpty() && outcome.code != CURLE_OK)
            outcome.error = QString::fromUtf8(curl_easy_strerror(outcome.code));
        return outcome;
    }

    CURL* handle() const { return curl_; }
    const HostKeyCheck& hostKey() const { return hostKey_; }
    bool cancelled() const { return control_.cancel && control_.cancel->load(); }

    // Progress of the request under way; `base` is added to what it reports.
    qint64 progressBase = 0;
    qint64 progressTotal = 0;

    Result toResult(const Outcome& outcome, bool uploading) const {
        Result r;
        r.reason = outcome.error;
        switch (outcome.code) {
        case CURLE_OK:
            r.status = Status::Done;
            break;
        case CURLE_COULDNT_RESOLVE_HOST:
            r.status = Status::HostNotFound;
            break;
        case CURLE_COULDNT_CONNECT:
            r.status = outcome.osErrno == ETIMEDOUT ? Status::TimedOut : Status::Refused;
            break;
        case CURLE_OPERATION_TIMEDOUT:
            r.status = Status::TimedOut;
            break;
        case CURLE_LOGIN_DENIED:
            r.status = Status::AuthFailed;
            break;
        case CURLE_ABORTED_BY_CALLBACK:
            r.status = stalled_ ? Status::TimedOut : Status::Cancelled;
            break;
        case CURLE_READ_ERROR:
            r.status = Status::LocalUnreadable;
            break;
        case CURLE_REMOTE_DISK_FULL:
            r.status = Status::DiskFull;
            break;
        case CURLE_REMOTE_ACCESS_DENIED:
            // FTP answers a refused login with 530 as well.
            r.status = outcome.response == 530 ? Status::AuthFailed : Status::PermissionDenied;
            break;
        case CURLE_SEND_ERROR:
        case CURLE_RECV_ERROR:
        case CURLE_GOT_NOTHING:
        case CURLE_PARTIAL_FILE:
            r.status = Status::ConnectionLost;
            break;
        case CURLE_SSH:
            r.status = uploading ? Status::ConnectionLost : Status::Failed;
            break;
        case CURLE_UPLOAD_FAILED:
            r.status = outcome.response == 452 || outcome.response == 552   ? Status::DiskFull
                       : outcome.response == 550 || outcome.response == 553 ? Status::PermissionDenied
                                                                            : Status::Failed;
            break;
        default:
            r.status = Status::Failed;
            break;
        }
        // An SFTP write that the server refuses for want of space says so.
        if (r.status != Status::Done && r.reason.contains(u"space"_s, Qt::CaseInsensitive))
            r.status = Status::DiskFull;
        if (target_.protocol == Protocol::Sftp && hostKey_.match >= 0 && hostKey_.match != CURLKHMATCH_OK)
            r.status =
                hostKey_.match == CURLKHMATCH_MISMATCH ? Status::HostKeyChanged : Status::UnknownHostKey;
        if (r.status == Status::UnknownHostKey || r.status == Status::HostKeyChanged) {
            r.fingerprint = sshFingerprint(hostKey_.key);
            const int port = target_.port > 0 ? target_.port : 22;
            const QString host = port == 22 ? target_.host.trimmed()
                                            : u'[' + target_.host.trimmed() + u"]:"_s + QString::number(port);
            r.hostKeyLine =
                host + u' ' + keyTypeName(hostKey_.key) + u' ' + QString::fromLatin1(hostKey_.key.toBase64());
        }
        return r;
    }

private:
    static int onProgress(void* clientp, curl_off_t, curl_off_t, curl_off_t, curl_off_t ulnow) {
        auto* self = static_cast<Session*>(clientp);
        if (self->cancelled())
            return 1;
        // No byte moving for the stall time ends the upload, whatever the
        // protocol layer is waiting for.
        if (ulnow != self->lastSent_ || !self->sinceSent_.isValid()) {
            self->lastSent_ = ulnow;
            self->sinceSent_.start();
        } else if (self->sinceSent_.elapsed() > qint64(self->target_.stallSeconds) * 1000) {
            self->stalled_ = true;
            return 1;
        }
        if (self->control_.progress && self->progressTotal > 0)
            self->control_.progress(self->progressBase + qint64(ulnow), self->progressTotal);
        return 0;
    }

    void setCommon(const QByteArray& address) {
        CURL* c = curl_;
        curl_easy_setopt(c, CURLOPT_URL, address.constData());
        curl_easy_setopt(c, CURLOPT_ERRORBUFFER, errorBuffer_);
        curl_easy_setopt(c, CURLOPT_NOSIGNAL, 1L);
        curl_easy_setopt(c, CURLOPT_CONNECTTIMEOUT, long(target_.connectTimeoutSeconds));
        curl_easy_setopt(c, CURLOPT_LOW_SPEED_LIMIT, 1L);
        curl_easy_setopt(c, CURLOPT_LOW_SPEED_TIME, long(target_.stallSeconds));
        curl_easy_setopt(c, CURLOPT_SERVER_RESPONSE_TIMEOUT, long(target_.stallSeconds));
        // Every step but the upload itself is short: bounded as a whole, so a
        // server that stops answering in the middle of a command never hangs it.
        curl_easy_setopt(c, CURLOPT_TIMEOUT, long(target_.connectTimeoutSeconds + target_.stallSeconds));
        curl_easy_setopt(c, CURLOPT_NOPROGRESS, 0L);
        // What a step reads (headers of a size check, listings) is dropped
        // unless the step takes it.
        const auto discard = +[](char*, size_t item, size_t count, void*) -> size_t { return item * count; };
        curl_easy_setopt(c, CURLOPT_WRITEFUNCTION, discard);
        curl_easy_setopt(c, CURLOPT_HEADERFUNCTION, discard);
        curl_easy_setopt(c, CURLOPT_XFERINFOFUNCTION, &Session::onProgress);
        curl_easy_setopt(c, CURLOPT_XFERINFODATA, this);
        user_ = target_.user.toUtf8();
        password_ = target_.password.toUtf8();
        curl_easy_setopt(c, CURLOPT_USERNAME, user_.constData());
        if (!password_.isEmpty())
            curl_easy_setopt(c, CURLOPT_PASSWORD, password_.constData());
        if (target_.maxBytesPerSecond > 0)
            curl_easy_setopt(c, CURLOPT_MAX_SEND_SPEED_LARGE, curl_off_t(target_.maxBytesPerSecond));
        if (target_.protocol == Protocol::Sftp) {
            long auth = CURLSSH_AUTH_PASSWORD;
            if (!target_.keyFile.isEmpty()) {
                auth |= CURLSSH_AUTH_PUBLICKEY;
                keyFile_ = QFile::encodeName(target_.keyFile);
                pubFile_ = QFile::exists(target_.keyFile + u".pub"_s)
                               ? QFile::encodeName(target_.keyFile + u".pub"_s)
                               : QByteArray("");
                curl_easy_setopt(c, CURLOPT_SSH_PRIVATE_KEYFILE, keyFile_.constData());
                curl_easy_setopt(c, CURLOPT_SSH_PUBLIC_KEYFILE, pubFile_.constData());
                if (!password_.isEmpty())
                    curl_easy_setopt(c, CURLOPT_KEYPASSWD, password_.constData());
            }
            if (target_.useAgent && !qEnvironmentVariableIsEmpty("SSH_AUTH_SOCK"))
                auth |= CURLSSH_AUTH_AGENT;
            curl_easy_setopt(c, CURLOPT_SSH_AUTH_TYPES, auth);
            knownHosts_ = QFile::encodeName(target_.knownHostsFile);
            curl_easy_setopt(c, CURLOPT_SSH_KNOWNHOSTS, knownHosts_.constData());
            curl_easy_setopt(c, CURLOPT_SSH_KEYFUNCTION, &keyCallback);
            curl_easy_setopt(c, CURLOPT_SSH_KEYDATA, &hostKey_);
        } else {
            curl_easy_setopt(c, CURLOPT_USE_SSL,
                             long(target_.protocol == Protocol::Ftps ? CURLUSESSL_ALL : CURLUSESSL_NONE));
            curl_easy_setopt(c, CURLOPT_FTP_USE_EPSV, 1L);
            if (target_.protocol == Protocol::Ftps && !target_.pinnedKey.isEmpty()) {
                // A certificate the user trusted by its key: the key must match,
                // whatever the certificate's chain says.
                pin_ = target_.pinnedKey.toLatin1();
                curl_easy_setopt(c, CURLOPT_PINNEDPUBLICKEY, pin_.constData());
                curl_easy_setopt(c, CURLOPT_SSL_VERIFYPEER, 0L);
                curl_easy_setopt(c, CURLOPT_SSL_VERIFYHOST, 0L);
            }
        }
    }

    const Target& target_;
    const Control& control_;
    CURL* curl_ = nullptr;
    char errorBuffer_[CURL_ERROR_SIZE + 1] = {};
    HostKeyCheck hostKey_;
    bool stalled_ = false;
    curl_off_t lastSent_ = -1;
    QElapsedTimer sinceSent_;
    QByteArray user_, password_, keyFile_, pubFile_, knownHosts_, pin_;
};

// Runs commands on the server in a folder, with no transfer: SFTP's before
// the empty request, FTP's once the folder is reached. A command starting
// with "*" may fail without failing the others.
Session::Outcome runCommands(Session& session, const Target& target, const QString& folder,
                             const QStringList& commands) {
    Slist list = makeList(commands);
    const CURLoption when = target.protocol == Protocol::Sftp ? CURLOPT_QUOTE : CURLOPT_POSTQUOTE;
    return session.perform(url(target, folder, true), [&](CURL* c) {
        curl_easy_setopt(c, when, list.get());
        curl_easy_setopt(c, CURLOPT_NOBODY, 1L);
    });
}

// FTPS with a certificate that does not verify: a second handshake, with a
// pin that cannot match so that no password is sent, takes the certificate
// to show and the pin that would trust it.
void describeCertificate(const Target& target, Result* result) {
    Target probe = target;
    probe.pinnedKey = u"sha256//AAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAA="_s;
    probe.password.clear();
    Control none;
    Session session(probe, none);
    session.perform(url(probe, {}, true), [](CURL* c) {
        curl_easy_setopt(c, CURLOPT_CERTINFO, 1L);
        curl_easy_setopt(c, CURLOPT_NOBODY, 1L);
    });
    const QByteArray der = firstCertificateDer(session.handle());
    const QByteArray key = publicKeyInfo(der);
    if (der.isEmpty() || key.isEmpty())
        return;
    result->fingerprint = u"SHA256:"_s + colonHex(QCryptographicHash::hash(der, QCryptographicHash::Sha256));
    result->pin = u"sha256//"_s +
                  QString::fromLatin1(QCryptographicHash::hash(key, QCryptographicHash::Sha256).toBase64());
}

// The first step's result, with the certificate filled in where it did not verify.
Result connectResult(const Target& target, const Session& session, const Session::Outcome& outcome,
                     bool uploading) {
    Result r = session.toResult(outcome, uploading);
    if (target.protocol == Protocol::Ftps &&
        (outcome.code == CURLE_PEER_FAILED_VERIFICATION || outcome.code == CURLE_SSL_PINNEDPUBKEYNOTMATCH ||
         outcome.code == CURLE_SSL_CACERT_BADFILE)) {
        r.status = Status::UntrustedCertificate;
        r.pinChanged = outcome.code == CURLE_SSL_PINNEDPUBKEYNOTMATCH;
        describeCertificate(target, &r);
    }
    return r;
}

QString fileName(const QString& remotePath) {
    return remotePath.section(u'/', -1);
}
QString folderOf(const QString& remotePath) {
    return remotePath.contains(u'/') ? remotePath.section(u'/', 0, -2) : QString();
}
QString joinPath(const QString& folder, const QString& name) {
    return folder.isEmpty() ? name : folder + u'/' + name;
}

} // namespace

QString temporaryName(const QString& pageName) {
    return TemporaryPrefix + pageName;
}

QString displayAddress(const Target& target, const QString& remotePath) {
    const int port = target.port > 0 ? target.port : defaultPort(target.protocol);
    const QString folder = cleanFolder(target.remoteFolder);
    QString path = folder.isEmpty()       ? remotePath
                   : remotePath.isEmpty() ? folder + u'/'
                                          : folder + u'/' + remotePath;
    if (path.startsWith(u"//"_s))
        path.remove(0, 1);
    const QString names[] = {u"sftp"_s, u"ftps"_s, u"ftp"_s};
    return names[int(target.protocol)] + u"://"_s + (target.user.isEmpty() ? QString() : target.user + u'@') +
           target.host.trimmed() + u':' + QString::number(port) +
           (path.startsWith(u'/') ? QString() : u"/"_s) + path;
}

Result uploadFile(const Target& target, const QString& localPath, const QString& remotePath,
                  const Control& control) {
    QFile local(localPath);
    if (!local.open(QIODevice::ReadOnly)) {
        Result r;
        r.status = Status::LocalUnreadable;
        r.reason = local.errorString();
        return r;
    }
    const qint64 size = local.size();
    const QString name = fileName(remotePath);
    const QString folder = folderOf(remotePath);
    const QString temporary = joinPath(folder, temporaryName(name));
    const QString setAside = joinPath(folder, SetAsidePrefix + name);

    Session session(target, control);
    if (!session.handle()) {
        Result r;
        r.reason = u"curl_easy_init"_s;
        return r;
    }

    // Removes the temporary file, on the same connection where it still stands.
    const auto removeTemporary = [&] {
        Target quick = target;
        quick.connectTimeoutSeconds = std::min(target.connectTimeoutSeconds, 5);
        quick.stallSeconds = std::min(target.stallSeconds, 5);
        Control none;
        Session cleaner(quick, none);
        Session& s = control.cancel && control.cancel->load() ? cleaner : session;
        if (target.protocol == Protocol::Sftp) {
            runCommands(s, target, folder, {u"*rm "_s + sftpQuotePath(target, temporary)});
        } else {
            runCommands(s, target, folder, {u"*DELE "_s + temporaryName(name)});
        }
    };

    // 0. A page an earlier SFTP upload set aside and could not put back (its
    // connection broke between the two renames below) goes back in place
    // first, so the site shows the old page again whatever this upload meets.
    // Only where the page is missing: a server whose rename replaces files
    // must not get a stale copy over a newer page.
    if (target.protocol == Protocol::Sftp) {
        const auto probed = session.perform(url(target, remotePath, false),
                                            [](CURL* c) { curl_easy_setopt(c, CURLOPT_NOBODY, 1L); });
        if (probed.code == CURLE_REMOTE_FILE_NOT_FOUND) {
            runCommands(
                session, target, folder,
                {u"*rename "_s + sftpQuotePath(target, setAside) + u' ' + sftpQuotePath(target, remotePath)});
        }
    }

    // 1. The page under its temporary name.
    session.progressTotal = size;
    const auto sent = session.perform(url(target, temporary, false), [&](CURL* c) {
        curl_easy_setopt(c, CURLOPT_UPLOAD, 1L);
        curl_easy_setopt(c, CURLOPT_TIMEOUT, 0L); // a big page on a slow line takes its time
        curl_easy_setopt(c, CURLOPT_INFILESIZE_LARGE, curl_off_t(size));
        curl_easy_setopt(c, CURLOPT_FTP_CREATE_MISSING_DIRS, long(CURLFTP_CREATE_DIR_RETRY));
        curl_easy_setopt(c, CURLOPT_READDATA, &local);
        curl_easy_setopt(
            c, CURLOPT_READFUNCTION, +[](char* buffer, size_t item, size_t count, void* file) -> size_t {
                const qint64 n = static_cast<QFile*>(file)->read(buffer, qint64(item * count));
                return n < 0 ? CURL_READFUNC_ABORT : size_t(n);
            });
    });
    if (sent.code != CURLE_OK) {
        Result r = connectResult(target, session, sent, true);
        if (session.cancelled())
            r.status = Status::Cancelled;
        if (r.status != Status::UnknownHostKey && r.status != Status::HostKeyChanged &&
            r.status != Status::UntrustedCertificate && r.status != Status::AuthFailed &&
            r.status != Status::HostNotFound && r.status != Status::Refused)
            removeTemporary();
        return r;
    }

    // 2. Its size on the server.
    session.progressTotal = 0;
    const auto checked = session.perform(url(target, temporary, false), [](CURL* c) {
        curl_easy_setopt(c, CURLOPT_NOBODY, 1L);
        curl_easy_setopt(c, CURLOPT_FILETIME, 1L);
    });
    curl_off_t remoteSize = -1;
    curl_easy_getinfo(session.handle(), CURLINFO_CONTENT_LENGTH_DOWNLOAD_T, &remoteSize);
    if (checked.code != CURLE_OK || remoteSize != size) {
        Result r = session.toResult(checked, false);
        if (checked.code == CURLE_OK) {
            r.status = Status::SizeMismatch;
            r.reason = QString::number(size) + u" → "_s + QString::number(qint64(remoteSize));
        }
        removeTemporary();
        return r;
    }

    // 3. The rename over the old page. An SFTP rename does not replace an
    // existing file on most servers: the old page is set aside first and
    // put back when the new one cannot take its place.
    Session::Outcome renamed;
    if (target.protocol == Protocol::Sftp) {
        const QString page = sftpQuotePath(target, remotePath), tmp = sftpQuotePath(target, temporary),
                      old = sftpQuotePath(target, setAside);
        renamed = runCommands(session, target, folder,
                              {u"*rm "_s + old, u"*rename "_s + page + u' ' + old,
                               u"rename "_s + tmp + u' ' + page, u"*rm "_s + old});
        if (renamed.code != CURLE_OK) {
            runCommands(session, target, folder, {u"*rename "_s + old + u' ' + page});
        }
    } else {
        // FTP servers replace the old page in one rename; where one refuses,
        // the old page is set aside first as above.
        renamed = runCommands(session, target, folder, {u"RNFR "_s + temporaryName(name), u"RNTO "_s + name});
        if (renamed.code == CURLE_QUOTE_ERROR) {
            const QString old = SetAsidePrefix + name;
            renamed = runCommands(session, target, folder,
                                  {u"*DELE "_s + old, u"RNFR "_s + name, u"RNTO "_s + old,
                                   u"RNFR "_s + temporaryName(name), u"RNTO "_s + name, u"*DELE "_s + old});
            if (renamed.code != CURLE_OK) {
                runCommands(session, target, folder, {u"*RNFR "_s + old, u"*RNTO "_s + name});
            }
        }
    }
    if (renamed.code != CURLE_OK) {
        Result r = session.toResult(renamed, false);
        if (renamed.code == CURLE_QUOTE_ERROR)
            r.status = Status::PermissionDenied;
        removeTemporary();
        return r;
    }
    Result done;
    done.status = Status::Done;
    done.bytes = size;
    return done;
}

Result testConnection(const Target& target) {
    Control none;
    Session session(target, none);
    QByteArray listing;
    const auto listed = session.perform(url(target, {}, true), [&](CURL* c) {
        curl_easy_setopt(c, CURLOPT_DIRLISTONLY, 1L);
        curl_easy_setopt(c, CURLOPT_WRITEDATA, &listing);
        curl_easy_setopt(
            c, CURLOPT_WRITEFUNCTION, +[](char* data, size_t item, size_t count, void* out) -> size_t {
                auto* bytes = static_cast<QByteArray*>(out);
                if (bytes->size() < 1 << 20)
                    bytes->append(data, qsizetype(item * count));
                return item * count;
            });
    });
    Result r = connectResult(target, session, listed, false);
    if (r.status == Status::Done) {
        for (const QByteArray& line : listing.split('\n')) {
            const QString entry = QString::fromUtf8(line).trimmed();
            if (!entry.isEmpty() && entry != u"."_s && entry != u".."_s)
                r.folderEntries << entry;
        }
    }
    return r;
}

bool addKnownHost(const QString& knownHostsFile, const QString& line, QString* error) {
    const QFileInfo info(knownHostsFile);
    if (!QDir().mkpath(info.absolutePath())) {
        *error = info.absolutePath();
        return false;
    }
    QFile file(knownHostsFile);
    const bool existed = file.exists();
    if (!file.open(QIODevice::ReadWrite)) {
        *error = file.errorString();
        return false;
    }
    QByteArray text = line.toUtf8() + '\n';
    if (file.size() > 0) {
        file.seek(file.size() - 1);
        if (file.read(1) != "\n")
            text.prepend('\n');
    }
    file.seek(file.size());
    if (file.write(text) != text.size() || !file.flush()) {
        *error = file.errorString();
        return false;
    }
    if (!existed)
        file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    return true;
}

} // namespace upload
