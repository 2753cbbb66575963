#pragma once
// What an upload sends and where to: the target from the settings, the
// remote path of a local page, the trusted certificates, the record of what
// went up last (for the project pages), and the texts of the outcomes.

#include "publish/Upload.h"
#include "settings/AppSet.h"

#include <QHash>
#include <QString>

namespace upload {

Protocol protocolFromText(const QString& text); // unknown: SFTP
QString protocolText(Protocol protocol);
QString protocolCaption(Protocol protocol); // "SFTP", "FTPS", "FTP"

// A host and a protocol are set.
bool configured(const AppSet& app);
// The target without its password; knownHostsFile for SFTP.
Target targetFrom(const AppSet& app, const QString& knownHostsFile);
// The keyring's name for the target's password: "sftp user@host:22".
QString accountName(const Target& target);

// A page inside the local folder (or one of its subfolders) goes to the
// same place below the remote folder; any other page to the remote folder
// itself. Paths use '/'.
QString remotePathFor(const QString& localFile, const QString& localFolder);

// The pin trusted for a host ("" when none) and a new one for it.
QString pinFor(const AppSet& app, const QString& host, int port);
void setPin(AppSet& app, const QString& host, int port, const QString& pin);

// What went up last, per local file: size, modification time and SHA-256,
// kept in a small JSON file.
class Ledger {
public:
    explicit Ledger(QString path);
    // The file differs from what went up last (or never went up).
    bool changed(const QString& localPath) const;
    void record(const QString& localPath);
    bool save() const;

private:
    struct Entry {
        qint64 size = -1;
        qint64 mtime = 0;
        QByteArray sha256;
    };
    QString path_;
    QHash<QString, Entry> entries_;
};

// The user's message for an upload that did not end Done: names the
// address and, where they matter, the local page and the server's reason.
QString failureText(const Result& result, const QString& address, const QString& localPath);

} // namespace upload
