#include "platform/FileDialogs.h"

#include <QDir>
#include <QFileInfo>
#include <QStringList>

bool isPseudoFileSystemPath(const QString& path) {
    if (path.isEmpty())
        return false;
    const QFileInfo info(path);
    QString resolved = info.canonicalFilePath(); // empty when the path does not exist
    if (resolved.isEmpty())
        resolved = QDir::cleanPath(info.absoluteFilePath());
    for (const QString& root : {QStringLiteral("/proc"), QStringLiteral("/sys"), QStringLiteral("/dev")}) {
        if (resolved == root || resolved.startsWith(root + u'/'))
            return true;
    }
    return false;
}

QStringList toQtNameFilters(const QString& filter) {
    QStringList result;
    const QStringList parts = filter.split(u'|');
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QString patterns = parts[i + 1];
        patterns.replace(u';', u' ');
        result << parts[i] + QStringLiteral(" (") + patterns.simplified() + u')';
    }
    return result;
}
