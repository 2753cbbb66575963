#include "platform/ProgramFolder.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

using namespace Qt::StringLiterals;

namespace {

QString withSeparator(const QString& folder) {
    QString native = QDir::toNativeSeparators(QDir::cleanPath(folder));
    if (!native.endsWith(QDir::separator()))
        native += QDir::separator();
    return native;
}

// <prefix>/share/oribel for an executable folder <prefix>/bin.
QString installedDataFolder(const QString& executableFolder) {
    return QDir::cleanPath(QFileInfo(executableFolder).absoluteFilePath() + u"/../share/oribel"_s);
}

// The folder's own name, also when the path ends in a separator.
bool isBinFolder(const QString& folder) {
    return QFileInfo(QDir::cleanPath(QFileInfo(folder).absoluteFilePath())).fileName() == u"bin"_s;
}

} // namespace

bool isInstalledProgramFolder(const QString& executableFolder) {
    return QFileInfo(executableFolder).isDir() && isBinFolder(executableFolder) &&
           QFileInfo(installedDataFolder(executableFolder)).isDir();
}

QString resolveProgramFolder(const QString& executableFolder, const QString& userDataHome) {
    const QFileInfo info(executableFolder);
    // Side files never go into an installed prefix, even when the user may
    // write there (root, or a prefix in the home folder): they belong to the
    // user, not to the installation.
    if (info.isDir() && info.isWritable() && !isInstalledProgramFolder(executableFolder))
        return withSeparator(info.absoluteFilePath());
    const QString data = QDir(userDataHome).filePath(u"Oribel"_s);
    QDir().mkpath(data);
    return withSeparator(data);
}

QString resolveProgramFolder(const QString& executableFolder) {
    return resolveProgramFolder(executableFolder,
                                QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation));
}

QStringList manualCandidates(const QString& executableFolder) {
    const QFileInfo folder(executableFolder);
    const QString installed = installedDataFolder(executableFolder) + u"/manual/index.html"_s;
    const QString beside = QDir::cleanPath(folder.absoluteFilePath() + u"/manual/index.html"_s);
    // A program in a bin folder is an installed one, even when its manual is
    // missing: the installed place is the one to name first.
    if (isBinFolder(executableFolder))
        return {installed, beside};
    return {beside, installed};
}

QString findManual(const QString& executableFolder) {
    for (const QString& candidate : manualCandidates(executableFolder)) {
        if (QFileInfo(candidate).isFile())
            return candidate;
    }
    return {};
}
