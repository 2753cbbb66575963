#include "platform/QtSystemInfo.h"

#include "support/QtPrinters.h"
#include <QSysInfo>

#include <gtest/gtest.h>

TEST(QtSystemInfo, ReportsScreenMemoryAndSystem) {
    QtSystemInfo info;
    const QSize screen = info.primaryScreenSize();
    EXPECT_GT(screen.width(), 0);
    EXPECT_GT(screen.height(), 0);
#ifdef Q_OS_LINUX
    // At least 64 MiB, and a whole number of pages.
    EXPECT_GT(info.physicalMemoryBytes(), qint64(64) << 20);
    EXPECT_EQ(info.physicalMemoryBytes() % 4096, 0);
    const QString os = info.osVersion();
    EXPECT_FALSE(os.isEmpty());
    EXPECT_TRUE(os.contains(QSysInfo::kernelVersion())) << os.toStdString();
#endif
}
