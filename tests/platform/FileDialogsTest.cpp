#include "platform/FileDialogs.h"

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
