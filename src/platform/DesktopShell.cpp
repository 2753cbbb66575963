#include "platform/DesktopShell.h"

#include "resources/Messages.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <QProcess>
#include <QUrl>

namespace {

bool hasAddressScheme(const QString& text) {
    static const QStringList schemes = {QStringLiteral("http:"), QStringLiteral("https:"),
                                        QStringLiteral("mailto:"), QStringLiteral("file:"),
                                        QStringLiteral("ftp:")};
    for (const QString& scheme : schemes) {
        if (text.startsWith(scheme, Qt::CaseInsensitive))
            return true;
    }
    return false;
}

} // namespace

QUrl DesktopShell::urlFor(const QString& documentOrAddress) {
    const QString address = documentOrAddress.trimmed();
    if (address.isEmpty())
        return {};
    if (hasAddressScheme(address))
        return QUrl(address, QUrl::TolerantMode);
    const QFileInfo file(documentOrAddress);
    if (!file.exists())
        return {};
    return QUrl::fromLocalFile(file.absoluteFilePath());
}

bool DesktopShell::open(const QString& documentOrAddress, QString* error) {
    const QUrl url = urlFor(documentOrAddress);
    if (!url.isValid()) {
        if (error)
            *error = documentOrAddress.trimmed().isEmpty() ? msg::ShellNothingToOpen
                                                           : msg::shellNotFound(documentOrAddress);
        return false;
    }
    if (QDesktopServices::openUrl(url))
        return true;
    if (error)
        *error = msg::shellNoHandler(documentOrAddress);
    return false;
}

bool DesktopShell::launch(const QString& program, const QStringList& arguments, QString* error) {
    if (program.isEmpty()) {
        if (error)
            *error = msg::ShellNoProgram;
        return false;
    }
    QProcess process;
    process.setProgram(program);
    process.setArguments(arguments);
    if (process.startDetached())
        return true;
    if (error)
        *error = msg::shellLaunchFailed(program, process.errorString());
    return false;
}
