#include "platform/ProgramFolder.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace {

QString withSeparator(const QString& folder) {
    QString native = QDir::toNativeSeparators(QDir::cleanPath(folder));
    if (!native.endsWith(QDir::separator()))
        native += QDir::separator();
    return native;
}

} // namespace

QString resolveProgramFolder(const QString& executableFolder) {
    const QFileInfo info(executableFolder);
    if (info.isDir() && info.isWritable())
        return withSeparator(info.absoluteFilePath());
    // Installed read-only (for instance under /usr/bin): keep the side files
    // in the user's data folder instead.
    const QString data =
        QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + QStringLiteral("/Oribel");
    QDir().mkpath(data);
    return withSeparator(data);
}
