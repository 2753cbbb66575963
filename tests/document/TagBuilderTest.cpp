#include "document/TagBuilder.h"

#include "support/QtPrinters.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

TEST(TagBuilder, WeatherListTagTakesTheConfiguredStartTagOfEachListItem) {
    HtmlSet set;
    set.HtmlSky1 = u"<sun>"_s;
    set.HtmlSky2 = u"<cloud>"_s;
    set.HtmlSky3 = u"<rain>"_s;
    set.HtmlSky4 = u"</close>"_s;
    set.HtmlSky5 = u"<snow>"_s;

    EXPECT_EQ(WeatherListTag(set, 0), u"<sun>"_s);
    EXPECT_EQ(WeatherListTag(set, 1), u"<cloud>"_s);
    EXPECT_EQ(WeatherListTag(set, 2), u"<rain>"_s);
    EXPECT_EQ(WeatherListTag(set, 3), u"<snow>"_s) << "snow is the fifth template, the fourth closes";
    EXPECT_EQ(WeatherListTag(set, -1), QString());
    EXPECT_EQ(WeatherListTag(set, 4), QString());
}

TEST(TagBuilder, ColourTextsAreSixUpperCaseDigitsRedFirst) {
    EXPECT_EQ(ColorFieldText(0x12AB9F), u"#12AB9F"_s);
    EXPECT_EQ(ColorFieldText(0x00000A), u"#00000A"_s) << "leading zeros are kept";
    EXPECT_EQ(ColorFieldText(0xFF000000u | 0xFFCCAA), u"#FFCCAA"_s) << "only 24 bits count";
    EXPECT_EQ(WeatherColorTag(0x0080FF), uR"(<font color="#0080FF">)"_s);
}
