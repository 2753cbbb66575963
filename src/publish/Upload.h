#pragma once
// Publishing a page to the user's web site: one local file goes to the
// remote folder by SFTP, FTPS (explicit TLS) or plain FTP, through libcurl.
//
// Nothing half-written reaches the site: the file is sent under a temporary
// name in the remote folder, its size on the server is checked, and only
// then is it renamed over the old page. A failure or a cancel removes the
// temporary file where the connection still allows it; where it does not,
// the temporary name is fixed per page, so the next upload of that page
// overwrites it and renames it away.
//
// uploadFile() works synchronously and is meant for a worker thread; the
// window reaches it through UploadService (platform/UploadService.h).

#include <QString>
#include <QStringList>

#include <atomic>
#include <functional>

namespace upload {

enum class Protocol { Sftp, Ftps, Ftp };

// Where the pages go and how to log in. The password stays in memory only.
struct Target {
    Protocol protocol = Protocol::Sftp;
    QString host;
    int port = 0; // 0: the protocol's own (22 or 21)
    QString user;
    QString password;
    QString keyFile;      // SFTP: a private key file; empty: none
    bool useAgent = true; // SFTP: the user's ssh-agent, when one runs
    // "/var/www/diary" from the server's root, or "public_html" from the
    // folder the login starts in; empty: that folder itself.
    QString remoteFolder;
    QString knownHostsFile; // SFTP: the trusted host keys (~/.ssh/known_hosts)
    QString pinnedKey;      // FTPS: "sha256//…" of a certificate the user trusted
    int connectTimeoutSeconds = 15;
    int stallSeconds = 30;        // no byte moving for this long ends the upload
    qint64 maxBytesPerSecond = 0; // 0: as fast as the line allows
};

enum class Status {
    Done,
    Cancelled,
    LocalUnreadable,
    HostNotFound,
    Refused,
    TimedOut,
    AuthFailed,
    UnknownHostKey,       // SFTP: host not in known_hosts; fingerprint and hostKeyLine set
    HostKeyChanged,       // SFTP: known_hosts holds another key for the host
    UntrustedCertificate, // FTPS: the certificate does not verify; fingerprint and pin set
    PermissionDenied,
    DiskFull,
    ConnectionLost,
    SizeMismatch,
    Failed,
};

struct Result {
    Status status = Status::Failed;
    QString reason;          // the server's or the library's own words
    QString fingerprint;     // "SHA256:…" of the host key or the certificate
    QString hostKeyLine;     // the known_hosts line that trusts the shown host key
    QString pin;             // the pin that trusts the shown certificate
    bool pinChanged = false; // the certificate differs from the one pinned before
    qint64 bytes = 0;
    QStringList folderEntries; // testConnection(): what the remote folder holds
};

struct Control {
    std::function<void(qint64 sent, qint64 total)> progress; // called on the uploading thread
    const std::atomic_bool* cancel = nullptr;
};

// The temporary name a page travels under, in its remote folder.
QString temporaryName(const QString& pageName);

// Sends localPath to remotePath, a path below the target's remote folder
// ("page.html", "2026/page.html"); missing remote subfolders are created.
Result uploadFile(const Target& target, const QString& localPath, const QString& remotePath,
                  const Control& control = {});

// Logs in and lists the remote folder.
Result testConnection(const Target& target);

// Adds a line to the known hosts file (created with its folder when missing).
bool addKnownHost(const QString& knownHostsFile, const QString& line, QString* error);

// The address shown to the user: "sftp://user@host:port/folder/".
QString displayAddress(const Target& target, const QString& remotePath = {});

} // namespace upload
