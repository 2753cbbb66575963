#include "platform/QtSystemInfo.h"

#include <QGuiApplication>
#include <QScreen>
#include <QSysInfo>

#if defined(Q_OS_WIN)
#include <windows.h>
#elif defined(Q_OS_UNIX)
#include <unistd.h>
#endif

QSize QtSystemInfo::primaryScreenSize() const {
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? screen->size() : QSize();
}

qint64 QtSystemInfo::physicalMemoryBytes() const {
#if defined(Q_OS_WIN)
    MEMORYSTATUSEX status;
    status.dwLength = sizeof(status);
    if (GlobalMemoryStatusEx(&status))
        return qint64(status.ullTotalPhys);
#elif defined(Q_OS_UNIX) && defined(_SC_PHYS_PAGES) && defined(_SC_PAGE_SIZE)
    const long pages = sysconf(_SC_PHYS_PAGES);
    const long pageSize = sysconf(_SC_PAGE_SIZE);
    if (pages > 0 && pageSize > 0)
        return qint64(pages) * qint64(pageSize);
#endif
    return -1;
}

QString QtSystemInfo::osVersion() const {
    const QString product = QSysInfo::prettyProductName().trimmed();
    QString kernel = QSysInfo::kernelType();
    if (kernel == QStringLiteral("linux"))
        kernel = QStringLiteral("Linux");
    const QString kernelVersion = QSysInfo::kernelVersion();
    if (kernelVersion.isEmpty() || product.contains(kernelVersion))
        return product;
    const QString kernelText = (kernel + u' ' + kernelVersion).trimmed();
    if (product.isEmpty())
        return kernelText;
    return product + QStringLiteral(" (") + kernelText + u')';
}
