#include "publish/UploadPlan.h"

#include "resources/Messages.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSaveFile>

using namespace Qt::StringLiterals;

namespace upload {

Protocol protocolFromText(const QString& text) {
    if (text == u"ftps"_s)
        return Protocol::Ftps;
    if (text == u"ftp"_s)
        return Protocol::Ftp;
    return Protocol::Sftp;
}

QString protocolText(Protocol protocol) {
    switch (protocol) {
    case Protocol::Ftps:
        return u"ftps"_s;
    case Protocol::Ftp:
        return u"ftp"_s;
    case Protocol::Sftp:
        break;
    }
    return u"sftp"_s;
}

QString protocolCaption(Protocol protocol) {
    return protocolText(protocol).toUpper();
}

bool configured(const AppSet& app) {
    return !app.UploadProtocol.isEmpty() && !app.UploadHost.trimmed().isEmpty();
}

Target targetFrom(const AppSet& app, const QString& knownHostsFile) {
    Target t;
    t.protocol = protocolFromText(app.UploadProtocol);
    t.host = app.UploadHost.trimmed();
    t.port = app.UploadPort.trimmed().toInt();
    t.user = app.UploadUser.trimmed();
    t.remoteFolder = app.UploadFolder.trimmed();
    if (t.protocol == Protocol::Sftp) {
        t.keyFile = app.UploadKeyFile.trimmed();
        t.useAgent = app.UploadAgent != u"0"_s;
        t.knownHostsFile = knownHostsFile;
    } else {
        t.useAgent = false;
        if (t.protocol == Protocol::Ftps)
            t.pinnedKey = pinFor(app, t.host, t.port);
    }
    return t;
}

QString accountName(const Target& target) {
    const int port = target.port > 0 ? target.port : (target.protocol == Protocol::Sftp ? 22 : 21);
    return protocolText(target.protocol) + u' ' + target.user + u'@' + target.host + u':' +
           QString::number(port);
}

QString remotePathFor(const QString& localFile, const QString& localFolder) {
    const QString file = QDir::cleanPath(QFileInfo(localFile).absoluteFilePath());
    const QString name = QFileInfo(file).fileName();
    if (localFolder.trimmed().isEmpty())
        return name;
    const QString folder = QDir::cleanPath(QFileInfo(localFolder.trimmed()).absoluteFilePath());
    const QString relative = QDir(folder).relativeFilePath(file);
    if (relative.isEmpty() || relative.startsWith(u"../"_s) || relative == u".."_s ||
        QDir::isAbsolutePath(relative))
        return name;
    return relative;
}

namespace {

QString hostKey(const QString& host, int port) {
    return host.trimmed().toLower() + u':' + QString::number(port > 0 ? port : 21);
}

} // namespace

QString pinFor(const AppSet& app, const QString& host, int port) {
    const QString key = hostKey(host, port);
    for (const QString& line : app.UploadPins.split(u'\n', Qt::SkipEmptyParts)) {
        if (line.section(u' ', 0, 0) == key)
            return line.section(u' ', 1, 1);
    }
    return {};
}

void setPin(AppSet& app, const QString& host, int port, const QString& pin) {
    const QString key = hostKey(host, port);
    QStringList lines;
    for (const QString& line : app.UploadPins.split(u'\n', Qt::SkipEmptyParts)) {
        if (line.section(u' ', 0, 0) != key)
            lines << line;
    }
    if (!pin.isEmpty())
        lines << key + u' ' + pin;
    app.UploadPins = lines.join(u'\n');
}

// ---- Ledger ----------------------------------------------------------------------

namespace {

QByteArray sha256Of(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QCryptographicHash hash(QCryptographicHash::Sha256);
    hash.addData(&file);
    return hash.result().toHex();
}

} // namespace

Ledger::Ledger(QString path) : path_(std::move(path)) {
    QFile file(path_);
    if (!file.open(QIODevice::ReadOnly))
        return;
    const QJsonObject files = QJsonDocument::fromJson(file.readAll()).object();
    for (auto it = files.begin(); it != files.end(); ++it) {
        const QJsonObject o = it.value().toObject();
        entries_.insert(it.key(),
                        Entry{qint64(o.value("size"_L1).toDouble(-1)), qint64(o.value("mtime"_L1).toDouble()),
                              o.value("sha256"_L1).toString().toLatin1()});
    }
}

bool Ledger::changed(const QString& localPath) const {
    const QFileInfo info(localPath);
    const auto it = entries_.constFind(info.absoluteFilePath());
    if (it == entries_.cend() || !info.exists())
        return true;
    if (it->size != info.size())
        return true;
    // Same size and time: taken as unchanged without reading the file.
    if (it->mtime == info.lastModified().toMSecsSinceEpoch())
        return false;
    return sha256Of(localPath) != it->sha256;
}

void Ledger::record(const QString& localPath) {
    const QFileInfo info(localPath);
    entries_.insert(info.absoluteFilePath(),
                    Entry{info.size(), info.lastModified().toMSecsSinceEpoch(), sha256Of(localPath)});
}

bool Ledger::save() const {
    QJsonObject files;
    for (auto it = entries_.cbegin(); it != entries_.cend(); ++it) {
        files.insert(it.key(), QJsonObject{{"size"_L1, double(it->size)},
                                           {"mtime"_L1, double(it->mtime)},
                                           {"sha256"_L1, QString::fromLatin1(it->sha256)}});
    }
    QDir().mkpath(QFileInfo(path_).absolutePath());
    QSaveFile file(path_);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    file.write(QJsonDocument(files).toJson());
    return file.commit();
}

// ---- Texts -------------------------------------------------------------------------

QString failureText(const Result& result, const QString& address, const QString& localPath) {
    QString text;
    switch (result.status) {
    case Status::LocalUnreadable:
        return msg::UploadLocalUnreadable.arg(localPath, result.reason);
    case Status::HostNotFound:
        text = msg::UploadHostNotFound;
        break;
    case Status::Refused:
        text = msg::UploadRefused;
        break;
    case Status::TimedOut:
        text = msg::UploadTimedOut;
        break;
    case Status::AuthFailed:
        text = msg::UploadAuthFailed;
        break;
    case Status::PermissionDenied:
        text = msg::UploadPermissionDenied;
        break;
    case Status::DiskFull:
        text = msg::UploadDiskFull;
        break;
    case Status::ConnectionLost:
        text = msg::UploadConnectionLost;
        break;
    case Status::SizeMismatch:
        text = msg::UploadSizeMismatch;
        break;
    case Status::UnknownHostKey:
    case Status::HostKeyChanged:
    case Status::UntrustedCertificate:
        text = msg::UploadHostKeyRefused;
        break;
    case Status::Done:
    case Status::Cancelled:
    case Status::Failed:
        text = msg::UploadFailed;
        break;
    }
    text = text.arg(address);
    if (!result.reason.isEmpty())
        text += msg::UploadServerReason.arg(result.reason);
    return text;
}

} // namespace upload
