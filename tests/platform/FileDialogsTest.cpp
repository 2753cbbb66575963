#include "platform/FileDialogs.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

TEST(FileDialogs, FilterPairsBecomeQtNameFilters) {
    using namespace Qt::StringLiterals;
    const QStringList filters = toQtNameFilters(
        u"HTMLファイル(*.htm,*html)|*.htm;*.html|XMLファイル(*.xml)|*.xml|すべてのファイル|*.*"_s);
    ASSERT_EQ(filters.size(), 3);
    EXPECT_EQ(filters[0], u"HTMLファイル(*.htm,*html) (*.htm *.html)"_s);
    EXPECT_EQ(filters[1], u"XMLファイル(*.xml) (*.xml)"_s);
    EXPECT_EQ(filters[2], u"すべてのファイル (*.*)"_s);
    // A dangling description without a pattern is not a filter.
    EXPECT_TRUE(toQtNameFilters(u"only text"_s).isEmpty());
}

TEST(FileDialogs, PseudoFileSystemsAreKnownByTheirRoots) {
    using namespace Qt::StringLiterals;
    struct Row {
        QString path;
        bool pseudo;
    };
    const Row rows[] = {
        {u"/proc"_s, true},          {u"/proc/self/fd"_s, true},  {u"/sys/kernel"_s, true},
        {u"/dev"_s, true},           {u"/dev/../proc/x"_s, true}, {u"/processes"_s, false},
        {u"/home/me/proc"_s, false}, {u"/tmp"_s, false},          {u""_s, false},
    };
    for (const Row& row : rows)
        EXPECT_EQ(isPseudoFileSystemPath(row.path), row.pseudo) << row.path.toStdString();

    // A link into one counts as one.
    QTemporaryDir dir;
    const QString link = dir.filePath(u"kernel"_s);
    ASSERT_TRUE(QFile::link(u"/proc/self"_s, link));
    EXPECT_TRUE(isPseudoFileSystemPath(link));
    EXPECT_FALSE(isPseudoFileSystemPath(dir.path()));
}
