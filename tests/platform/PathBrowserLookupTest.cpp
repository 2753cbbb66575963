#include "platform/PathBrowserLookup.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

void makeProgram(const QDir& dir, const QString& name) {
    QFile file(dir.filePath(name));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("#!/bin/sh\n");
    file.close();
    file.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

} // namespace

TEST(PathBrowserLookup, BrowsersAreFoundOnPath) {
    QTemporaryDir dir;
    const QByteArray savedPath = qgetenv("PATH");
    qputenv("PATH", QFile::encodeName(dir.path()));
    const QDir bin(dir.path());
    PathBrowserLookup lookup;

    EXPECT_FALSE(lookup.netscape());
    EXPECT_FALSE(lookup.opera());

    makeProgram(bin, u"firefox"_s);
    makeProgram(bin, u"opera"_s);
    makeProgram(bin, u"iexplore"_s);
    EXPECT_EQ(lookup.netscape(), bin.filePath(u"firefox"_s));
    EXPECT_EQ(lookup.opera(), bin.filePath(u"opera"_s));
    EXPECT_FALSE(lookup.internetExplorer()) << "never found here";

    makeProgram(bin, u"netscape"_s);
    EXPECT_EQ(lookup.netscape(), bin.filePath(u"netscape"_s)) << "netscape comes first";

    qputenv("PATH", savedPath);
}
