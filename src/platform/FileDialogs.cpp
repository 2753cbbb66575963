#include "platform/FileDialogs.h"

#include <QStringList>

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
