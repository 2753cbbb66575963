#include "platform/DesktopShell.h"

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

bool DesktopShell::open(const QString& documentOrAddress) {
    const QUrl url = urlFor(documentOrAddress);
    return url.isValid() && QDesktopServices::openUrl(url);
}

bool DesktopShell::launch(const QString& program, const QStringList& arguments) {
    if (program.isEmpty())
        return false;
    return QProcess::startDetached(program, arguments);
}
