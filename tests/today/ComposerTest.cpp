#include "today/Composer.h"

#include "today/TodayTestSet.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

const QString Sunny = uR"(<font color="#ffccaa"><b>晴れ</b></font>)"_s;
const QString Boundary = uR"(<font color="#cccccc"><b>／</b></font>)"_s;
const QString Cloudy = uR"(<font color="#ccccff"><b>くもり</b></font>)"_s;
const QString DateTags = uR"(<font color="#ff0000"><b>2003年11月7日(金)</b></font>)"_s;
const QString TitleLine = uR"(<BR><STRONG><font color="#008000">散歩</font></STRONG>)"_s + u"\n"_s;
const QString TimeTags = uR"(<font color="#0000ff" size="-1"><b>09時05分03秒</b></font>)"_s;

// The entry of the first worked example: 2003-11-07, two weathers from the
// list, a title and two body lines.
DiaryEntry sampleEntry() {
    DiaryEntry entry;
    entry.yearText = u"2003"_s;
    entry.monthText = u"11"_s;
    entry.dayText = u"7"_s;
    entry.weekdayText = u"(金)"_s;
    entry.weather1 = {u"晴れ"_s, 0};
    entry.weather2 = {u"くもり"_s, 1};
    entry.title = u"散歩"_s;
    entry.body = u"公園を歩いた。\n風が冷たかった。"_s;
    entry.now = QTime(9, 5, 3);
    return entry;
}

HtmlSet setWith(std::initializer_list<std::pair<HtmlFlag, char>> flags) {
    HtmlSet set = todaytest::defaultHtmlSet();
    for (const auto& [position, value] : flags)
        set.setFlag(position, value);
    return set;
}

QString compose(const DiaryEntry& entry, const HtmlSet& set) {
    return ComposeDiaryEntry(entry, set, u"<T1>"_s, u"<T2>"_s);
}

} // namespace

TEST(Composer, WorkedExampleWithDefaults) {
    const QString expected = uR"(<A NAME="d20031107"></A>
<font color="#ff0000"><b>2003年11月7日(金)</b></font> <font color="#ffccaa"><b>晴れ</b></font><font color="#cccccc"><b>／</b></font><font color="#ccccff"><b>くもり</b></font>
<BR><STRONG><font color="#008000">散歩</font></STRONG>
<DIV STYLE="margin-left:20pt;">
公園を歩いた。<BR>
風が冷たかった。<BR>
</DIV>
<HR>
)"_s;
    EXPECT_EQ(compose(sampleEntry(), todaytest::defaultHtmlSet()), expected);
}

TEST(Composer, WorkedExampleWithEnglishDateTimeTitleFirstAndWholeEntryTags) {
    const HtmlSet set = setWith({{DateFormFlag, '2'},
                                 {WeekdayFormFlag, '2'},
                                 {TwoDigitFlag, '1'},
                                 {InsertTimeFlag, '1'},
                                 {TimeFormFlag, '2'},
                                 {InsertOrderFlag, 'A'},
                                 {AutoBrFlag, '1'},
                                 {HrFlag, '1'},
                                 {AnchorFlag, '0'},
                                 {AllTagFlag, '1'}});
    DiaryEntry entry = sampleEntry();
    entry.monthText = u"6"_s;
    entry.dayText = u"4"_s;
    entry.weekdayText = u"Wed."_s;
    entry.weather1 = {u"雨"_s, 2};
    entry.weather2 = {};
    entry.body = u"雨だった。"_s;
    const QString expected = uR"(<DIV>
<BR><STRONG><font color="#008000">散歩</font></STRONG>
<font color="#ff0000"><b>June 04, 2003. Wed.</b></font> <font color="#0000ff" size="-1"><b>09:05:03</b></font> <font color="#aaccff"><b>雨</b></font>
<DIV STYLE="margin-left:20pt;">
雨だった。
</DIV>
</DIV>
)"_s;
    EXPECT_EQ(compose(entry, set), expected);
}

TEST(Composer, BlockOrders) {
    const QString anchor = uR"(<A NAME="d20031107"></A>)"_s + u"\n"_s;
    const QString date = DateTags + u" "_s;
    const QString weather = Sunny + Boundary + Cloudy;
    const QString body =
        u"<DIV STYLE=\"margin-left:20pt;\">\n公園を歩いた。<BR>\n風が冷たかった。<BR>\n</DIV>\n"_s;
    const QString rule = u"<HR>\n"_s;
    const auto ordered = [](char order) {
        return compose(sampleEntry(), setWith({{InsertOrderFlag, order}}));
    };

    const QString standard = anchor + date + weather + u"\n"_s + TitleLine + body + rule;
    EXPECT_EQ(ordered('0'), standard);
    EXPECT_EQ(ordered('A'), anchor + TitleLine + date + weather + u"\n"_s + body + rule);
    EXPECT_EQ(ordered('B'), anchor + TitleLine + body + date + weather + u"\n"_s + rule);
    EXPECT_EQ(ordered('C'), anchor + weather + date + u"\n"_s + TitleLine + body + rule);
    EXPECT_EQ(ordered('D'), anchor + weather + u"\n"_s + TitleLine + date + u"\n"_s + body + rule);
    // Any other value behaves as the standard order.
    EXPECT_EQ(ordered('E'), standard);
    EXPECT_EQ(ordered('\0'), standard);
}

TEST(Composer, DateBlockSwitchesAndTime) {
    DiaryEntry entry = sampleEntry();
    entry.title.clear();
    entry.body = u"x"_s;
    const QString tail = u"\n<DIV STYLE=\"margin-left:20pt;\">\nx<BR>\n</DIV>\n"_s;
    const QString weather = Sunny + Boundary + Cloudy;
    const HtmlSet noExtras = setWith({{AnchorFlag, '0'}, {HrFlag, '1'}});

    // No date at all, but the time: one blank, the time, the separator blank.
    HtmlSet set = noExtras;
    set.setFlag(DateDayFlag, '1');
    set.setFlag(InsertTimeFlag, '1');
    EXPECT_EQ(compose(entry, set), u" "_s + TimeTags + u" "_s + weather + tail);

    // The time follows the date block; Shift held leaves it out.
    set.setFlag(DateDayFlag, '0');
    EXPECT_EQ(compose(entry, set), DateTags + u" "_s + TimeTags + u" "_s + weather + tail);
    entry.shiftHeld = true;
    EXPECT_EQ(compose(entry, set), DateTags + u" "_s + weather + tail);

    // WeekdayFlag '1' leaves the weekday box's text out.
    EXPECT_EQ(compose(entry, setWith({{AnchorFlag, '0'}, {HrFlag, '1'}, {WeekdayFlag, '1'}})),
              uR"(<font color="#ff0000"><b>2003年11月7日</b></font> )"_s + weather + tail);

    // The weekday is copied as the box shows it, even when typed over.
    entry.weekdayText = u"(祝)"_s;
    EXPECT_EQ(compose(entry, noExtras),
              uR"(<font color="#ff0000"><b>2003年11月7日(祝)</b></font> )"_s + weather + tail);
}

TEST(Composer, WeatherBlock) {
    DiaryEntry entry = sampleEntry();
    entry.title.clear();
    entry.body = u"x"_s;
    const QString tail = u"\n<DIV STYLE=\"margin-left:20pt;\">\nx<BR>\n</DIV>\n"_s;
    const HtmlSet set = setWith({{AnchorFlag, '0'}, {HrFlag, '1'}});

    // Only the second weather: no separator blank after the date, no boundary.
    entry.weather1 = {};
    EXPECT_EQ(compose(entry, set), DateTags + Cloudy + tail);

    // Snow uses HtmlSky5; no weather at all writes nothing.
    entry.weather1 = {u"雪"_s, 3};
    entry.weather2 = {};
    EXPECT_EQ(compose(entry, set), DateTags + uR"( <font color="#ccffff"><b>雪</b></font>)"_s + tail);
    entry.weather1 = {};
    EXPECT_EQ(compose(entry, set), DateTags + tail);

    // Tags only: start, end, boundary tag, boundary text, end, start, end.
    entry.weather1 = {u"晴れ"_s, 0};
    entry.weather2 = {u"くもり"_s, 1};
    HtmlSet tagsOnly = set;
    tagsOnly.setFlag(WeatherTagOnlyFlag, '1');
    EXPECT_EQ(compose(entry, tagsOnly),
              DateTags + uR"( <font color="#ffccaa"><b></b></font><font color="#cccccc"><b>／</b></font>)"_s +
                  uR"(<font color="#ccccff"><b></b></font>)"_s + tail);

    // Typed weathers take the tags the tag builder gave.
    entry.weather1 = {u"霧"_s, -1};
    entry.weather2 = {u"雷"_s, -1};
    EXPECT_EQ(compose(entry, set),
              DateTags + u" <T1>霧</b></font>"_s + Boundary + u"<T2>雷</b></font>"_s + tail);
}

TEST(Composer, TypedWeatherNeedsTheTagBuilder) {
    DiaryEntry entry = sampleEntry();
    EXPECT_FALSE(NeedsWeatherResolution(entry));
    entry.weather1 = {};
    entry.weather2 = {};
    EXPECT_FALSE(NeedsWeatherResolution(entry));
    entry.weather1 = {u"霧"_s, -1};
    EXPECT_TRUE(NeedsWeatherResolution(entry));
    entry.weather1 = {u"晴れ"_s, 0};
    entry.weather2 = {u"霧"_s, -1};
    EXPECT_TRUE(NeedsWeatherResolution(entry));
    // An empty box never needs it, whatever its index says.
    entry.weather2 = {u""_s, -1};
    EXPECT_FALSE(NeedsWeatherResolution(entry));
}

TEST(Composer, BodyLines) {
    DiaryEntry entry = sampleEntry();
    entry.title.clear();
    entry.weather1 = {};
    entry.weather2 = {};
    const HtmlSet automatic = setWith({{AnchorFlag, '0'}, {HrFlag, '1'}, {DateDayFlag, '1'}});
    HtmlSet manual = automatic;
    manual.setFlag(AutoBrFlag, '1');
    const QString open = u"\n<DIV STYLE=\"margin-left:20pt;\">\n"_s;

    // Empty lines are written; a break at the very end starts no further line.
    entry.body = u"a\n\nb\n"_s;
    EXPECT_EQ(compose(entry, automatic), open + u"a<BR>\n<BR>\nb<BR>\n</DIV>\n"_s);
    EXPECT_EQ(compose(entry, manual), open + u"a\n\nb\n</DIV>\n"_s);
    entry.body = u"\n"_s;
    EXPECT_EQ(compose(entry, automatic), open + u"<BR>\n</DIV>\n"_s);
    entry.body = u"a\n\n"_s;
    EXPECT_EQ(compose(entry, automatic), open + u"a<BR>\n<BR>\n</DIV>\n"_s);
    // Body text goes in unescaped.
    entry.body = u"<b>&</b>"_s;
    EXPECT_EQ(compose(entry, manual), open + u"<b>&</b>\n</DIV>\n"_s);

    EXPECT_EQ(BodyLineCount(u""_s), 0);
    EXPECT_EQ(BodyLineCount(u"a"_s), 1);
    EXPECT_EQ(BodyLineCount(u"a\nb\n"_s), 2);
    EXPECT_EQ(BodyLineCount(u"a\n\n"_s), 2);
    EXPECT_EQ(BodyLineCount(u"\n"_s), 1);
    EXPECT_EQ(BodyLineCount(u"a\n\nb"_s), 3);
}

TEST(Composer, AnchorAndWholeEntryTags) {
    DiaryEntry entry = sampleEntry();
    entry.yearText = u"2004"_s;
    entry.dayText = u"5"_s;
    const auto anchorLine = [](const QString& text) { return text.section(u'\n', 0, 0); };

    // Month and day always get two characters in the anchor, whatever TwoDigitFlag says.
    entry.monthText = u"1"_s;
    EXPECT_EQ(anchorLine(compose(entry, setWith({}))), uR"(<A NAME="d20040105"></A>)"_s);
    entry.monthText = u"01"_s;
    EXPECT_EQ(anchorLine(compose(entry, setWith({}))), uR"(<A NAME="d20040105"></A>)"_s);
    EXPECT_EQ(anchorLine(compose(entry, setWith({{TwoDigitFlag, '1'}}))), uR"(<A NAME="d20040105"></A>)"_s);
    entry.yearText = u"04"_s;
    EXPECT_EQ(anchorLine(compose(entry, setWith({}))), uR"(<A NAME="d040105"></A>)"_s);
    // The two counted are bytes: a full-width digit is padded no further.
    entry.yearText = u"2004"_s;
    entry.monthText = u"６"_s;
    EXPECT_EQ(anchorLine(compose(entry, setWith({}))), uR"(<A NAME="d2004６05"></A>)"_s);

    // The whole-entry tags enclose the blocks, not the anchor; the rule comes after them.
    const QString wrapped = compose(sampleEntry(), setWith({{AllTagFlag, '1'}}));
    EXPECT_TRUE(wrapped.startsWith(uR"(<A NAME="d20031107"></A>)"_s + u"\n<DIV>\n"_s + DateTags))
        << wrapped.toStdString();
    EXPECT_TRUE(wrapped.endsWith(u"</DIV>\n</DIV>\n<HR>\n"_s)) << wrapped.toStdString();

    // No anchor, no rule.
    const QString bare = compose(sampleEntry(), setWith({{AnchorFlag, '0'}, {HrFlag, '1'}}));
    EXPECT_TRUE(bare.startsWith(DateTags));
    EXPECT_TRUE(bare.endsWith(u"風が冷たかった。<BR>\n</DIV>\n"_s));
}
