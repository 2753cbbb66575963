#include "platform/ProductionPlatform.h"

#include "support/QtPrinters.h"
#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

TEST(ProductionPlatform, FillsTheBundle) {
    QTemporaryDir dir;
    const QString exe = dir.filePath(u"oribel"_s);
    ProductionPlatform production(exe, {u"today.txt"_s});
    const Platform& platform = production.platform();
    EXPECT_NE(platform.messages, nullptr);
    EXPECT_NE(platform.fileDialogs, nullptr);
    EXPECT_NE(platform.colors, nullptr);
    EXPECT_NE(platform.shell, nullptr);
    EXPECT_NE(platform.clock, nullptr);
    EXPECT_NE(platform.keyboard, nullptr);
    EXPECT_NE(platform.systemInfo, nullptr);
    EXPECT_EQ(platform.executablePath, exe);
    EXPECT_EQ(platform.arguments, QStringList{u"today.txt"_s});
    EXPECT_EQ(platform.programFolder, QDir::toNativeSeparators(dir.path()) + QDir::separator());
}
