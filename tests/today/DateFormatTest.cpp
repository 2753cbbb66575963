#include "today/DateFormat.h"

#include "today/TodayTestSet.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

HtmlSet withFlags(std::initializer_list<std::pair<HtmlFlag, char>> flags) {
    HtmlSet set = todaytest::defaultHtmlSet();
    for (const auto& [position, value] : flags)
        set.setFlag(position, value);
    return set;
}

QString date(const HtmlSet& set, const QString& year = u"2003"_s, const QString& month = u"11"_s,
             const QString& day = u"7"_s) {
    return FormatDiaryDate(year, month, day, set);
}

} // namespace

TEST(DateFormat, SixFormsWithEveryPart) {
    EXPECT_EQ(date(withFlags({{DateFormFlag, '0'}})), u"2003年11月7日"_s);
    EXPECT_EQ(date(withFlags({{DateFormFlag, '1'}})), u"2003/11/7."_s);
    EXPECT_EQ(date(withFlags({{DateFormFlag, '2'}})), u"November 7, 2003. "_s);
    EXPECT_EQ(date(withFlags({{DateFormFlag, '3'}})), u"Nov 7, 2003. "_s);
    EXPECT_EQ(date(withFlags({{DateFormFlag, '4'}})), u"7/11/2003. "_s);
    EXPECT_EQ(date(withFlags({{DateFormFlag, '5'}})), u"11/7/2003. "_s);
}

TEST(DateFormat, TwoDigitFlagPadsOnlyOneCharacterTexts) {
    const auto padded = [](char form) {
        return date(withFlags({{DateFormFlag, form}, {TwoDigitFlag, '1'}}), u"2003"_s, u"6"_s, u"4"_s);
    };
    EXPECT_EQ(padded('0'), u"2003年06月04日"_s);
    EXPECT_EQ(padded('1'), u"2003/06/04."_s);
    // The month name is never padded, the day is.
    EXPECT_EQ(padded('2'), u"June 04, 2003. "_s);
    EXPECT_EQ(padded('3'), u"Jun 04, 2003. "_s);
    EXPECT_EQ(padded('4'), u"04/06/2003. "_s);
    EXPECT_EQ(padded('5'), u"06/04/2003. "_s);

    // Without the flag nothing is padded; texts typed with two characters stay.
    EXPECT_EQ(date(withFlags({}), u"2003"_s, u"6"_s, u"4"_s), u"2003年6月4日"_s);
    EXPECT_EQ(date(withFlags({}), u"2003"_s, u"06"_s, u"04"_s), u"2003年06月04日"_s);
    EXPECT_EQ(date(withFlags({{TwoDigitFlag, '1'}}), u"2003"_s, u"06"_s, u"04"_s), u"2003年06月04日"_s);
    // Empty texts are not one character long either.
    EXPECT_EQ(date(withFlags({{TwoDigitFlag, '1'}}), u"2003"_s, u""_s, u""_s), u"2003年月日"_s);

    // One byte is padded, two are not: a full-width digit is two bytes long,
    // a half-width katakana one.
    struct Row {
        QString month, day, expected;
    };
    for (const Row& row :
         {Row{u"６"_s, u"７"_s, u"2003年６月７日"_s}, Row{u"６"_s, u"7"_s, u"2003年６月07日"_s},
          Row{u"ｱ"_s, u"７"_s, u"2003年0ｱ月７日"_s}})
        EXPECT_EQ(date(withFlags({{TwoDigitFlag, '1'}}), u"2003"_s, row.month, row.day), row.expected)
            << row.month.toStdString() << " " << row.day.toStdString();
}

TEST(DateFormat, EnglishMonthNamesComeFromTheMonthValue) {
    const HtmlSet full = withFlags({{DateFormFlag, '2'}});
    const HtmlSet shortNames = withFlags({{DateFormFlag, '3'}});
    EXPECT_EQ(date(full, u"2003"_s, u"06"_s), u"June 7, 2003. "_s);
    EXPECT_EQ(date(full, u"2003"_s, u"1"_s), u"January 7, 2003. "_s);
    EXPECT_EQ(date(shortNames, u"2003"_s, u"12"_s), u"Dec 7, 2003. "_s);
    EXPECT_EQ(date(shortNames, u"2003"_s, u"5"_s), u"May 7, 2003. "_s);
    // A month that is not 1..12 is copied as typed, directly followed by the day.
    EXPECT_EQ(date(full, u"2003"_s, u"13"_s), u"137, 2003. "_s);
    EXPECT_EQ(date(full, u"2003"_s, u"0"_s), u"07, 2003. "_s);
    EXPECT_EQ(date(shortNames, u"2003"_s, u" 6"_s), u"Jun 7, 2003. "_s);
    EXPECT_EQ(date(shortNames, u"2003"_s, u"6 "_s), u"6 7, 2003. "_s);
    EXPECT_EQ(date(shortNames, u"2003"_s, u"六"_s), u"六7, 2003. "_s);
}

TEST(DateFormat, YearAndMonthSwitches) {
    EXPECT_EQ(date(withFlags({{DateFormFlag, '5'}, {DateYearFlag, '1'}})), u"11/7/. "_s);
    EXPECT_EQ(date(withFlags({{DateYearFlag, '1'}, {DateMonthFlag, '1'}})), u"7日"_s);
    EXPECT_EQ(date(withFlags({{DateYearFlag, '1'}})), u"11月7日"_s);
    EXPECT_EQ(date(withFlags({{DateFormFlag, '1'}, {DateMonthFlag, '1'}})), u"2003/7."_s);
    EXPECT_EQ(date(withFlags({{DateFormFlag, '2'}, {DateYearFlag, '1'}})), u"November 7. "_s);
    EXPECT_EQ(date(withFlags({{DateFormFlag, '3'}, {DateMonthFlag, '1'}})), u"7, 2003. "_s);
    EXPECT_EQ(date(withFlags({{DateFormFlag, '4'}, {DateMonthFlag, '1'}})), u"7/2003. "_s);
}

TEST(DateFormat, TimeForms) {
    const QTime time(9, 5, 3);
    const auto plain = [&](char form, char minutes = '0', char seconds = '0',
                           const QTime& at = QTime(9, 5, 3)) {
        return FormatDiaryTime(
            false, withFlags({{TimeFormFlag, form}, {TimeMinuteFlag, minutes}, {TimeSecondFlag, seconds}}),
            at);
    };
    EXPECT_EQ(plain('0'), u"09時05分03秒"_s);
    EXPECT_EQ(plain('1'), u"9時5分3秒"_s);
    EXPECT_EQ(plain('2'), u"09:05:03"_s);
    EXPECT_EQ(plain('3'), u"9:5:3"_s);

    // Each part is formatted on its own.
    EXPECT_EQ(plain('2', '1', '0'), u"09:03"_s);
    EXPECT_EQ(plain('0', '0', '1'), u"09時05分"_s);
    EXPECT_EQ(plain('1', '1', '0'), u"9時3秒"_s);
    EXPECT_EQ(plain('3', '1', '1'), u"9"_s);
    EXPECT_EQ(plain('3', '0', '0', QTime(0, 0, 7)), u"0:0:7"_s);
    EXPECT_EQ(plain('2', '0', '0', QTime(23, 59, 59)), u"23:59:59"_s);

    EXPECT_EQ(FormatDiaryTime(true, withFlags({{TimeFormFlag, '2'}}), time),
              uR"(<font color="#0000ff" size="-1"><b>09:05:03</b></font>)"_s);
}

TEST(DateFormat, WeekdayNameLists) {
    const QStringList japanese = WeekdayNames('0');
    ASSERT_EQ(japanese.size(), 7);
    EXPECT_EQ(japanese.first(), u"(日)"_s);
    EXPECT_EQ(japanese[5], u"(金)"_s);
    EXPECT_EQ(WeekdayNames('1')[6], u"土曜日"_s);
    EXPECT_EQ(WeekdayNames('2')[3], u"Wed."_s);
    EXPECT_EQ(WeekdayNames('3'), QStringList({u"Sunday"_s, u"Monday"_s, u"Tuesday"_s, u"Wednesday"_s,
                                              u"Thursday"_s, u"Friday"_s, u"Saturday"_s}));
    // Any other form leaves the weekday box as it was.
    EXPECT_TRUE(WeekdayNames('4').isEmpty());
    EXPECT_TRUE(WeekdayNames('\0').isEmpty());

    EXPECT_EQ(WeekdayNames('3').value(WeekdayIndex(u"2003"_s, u"11"_s, u"7"_s)), u"Friday"_s);
}

TEST(DateFormat, WeekdayOfTypedDate) {
    EXPECT_EQ(WeekdayIndex(u"2003"_s, u"11"_s, u"7"_s), 5);
    EXPECT_EQ(WeekdayIndex(u"2003"_s, u"06"_s, u"04"_s), 3);
    EXPECT_EQ(WeekdayIndex(u"1990"_s, u"1"_s, u"1"_s), 1);
    EXPECT_EQ(WeekdayIndex(u"9999"_s, u"12"_s, u"31"_s), 5);

    // February 29 by the Gregorian leap rule.
    EXPECT_EQ(WeekdayIndex(u"2004"_s, u"2"_s, u"29"_s), 0);
    EXPECT_EQ(WeekdayIndex(u"2000"_s, u"2"_s, u"29"_s), 2);
    EXPECT_EQ(WeekdayIndex(u"2003"_s, u"2"_s, u"29"_s), -1);
    EXPECT_EQ(WeekdayIndex(u"2100"_s, u"2"_s, u"29"_s), -1);
    EXPECT_EQ(WeekdayIndex(u"2100"_s, u"2"_s, u"28"_s), 0);

    // Out of range years, months and days.
    EXPECT_EQ(WeekdayIndex(u"1989"_s, u"12"_s, u"31"_s), -1);
    EXPECT_EQ(WeekdayIndex(u"10000"_s, u"1"_s, u"1"_s), -1);
    EXPECT_EQ(WeekdayIndex(u"2003"_s, u"13"_s, u"1"_s), -1);
    EXPECT_EQ(WeekdayIndex(u"2003"_s, u"0"_s, u"1"_s), -1);
    EXPECT_EQ(WeekdayIndex(u"2003"_s, u"4"_s, u"31"_s), -1);
    EXPECT_EQ(WeekdayIndex(u"2003"_s, u"4"_s, u"30"_s), 3);
    EXPECT_EQ(WeekdayIndex(u"2003"_s, u"4"_s, u"0"_s), -1);

    // Texts that are not whole numbers.
    EXPECT_EQ(WeekdayIndex(u""_s, u"11"_s, u"7"_s), -1);
    EXPECT_EQ(WeekdayIndex(u"2003"_s, u"11"_s, u"7日"_s), -1);
    EXPECT_EQ(WeekdayIndex(u"2003 "_s, u"11"_s, u"7"_s), -1);
    EXPECT_EQ(WeekdayIndex(u" 2003"_s, u" 11"_s, u" 7"_s), 5);
    EXPECT_EQ(WeekdayIndex(u"２００３"_s, u"11"_s, u"7"_s), -1);
}

TEST(DateFormat, FieldValueAcceptsOnlyWholeDecimalNumbers) {
    EXPECT_EQ(DateFieldValue(u"2003"_s), 2003);
    EXPECT_EQ(DateFieldValue(u"007"_s), 7);
    EXPECT_EQ(DateFieldValue(u"+5"_s), 5);
    EXPECT_EQ(DateFieldValue(u"-3"_s), -3);
    EXPECT_EQ(DateFieldValue(u"-2147483648"_s), -2147483647 - 1);
    EXPECT_EQ(DateFieldValue(u"2147483647"_s), 2147483647);
    EXPECT_EQ(DateFieldValue(u" 7"_s), 7);
    for (const QString& text :
         {u""_s, u"-"_s, u"2147483648"_s, u"99999999999999999999"_s, u"1.5"_s, u"0x1F"_s, u"7 "_s, u"５"_s})
        EXPECT_EQ(DateFieldValue(text), -1) << text.toStdString();
}

TEST(DateFormat, MainCaptionNamesTheDateAndJapaneseWeekday) {
    EXPECT_EQ(MainCaption(QDate(2026, 12, 8)), u"Oribel   Ver 3.32   --- [2026年12月8日火曜日]"_s);
    EXPECT_EQ(MainCaption(QDate(2003, 11, 7)), u"Oribel   Ver 3.32   --- [2003年11月7日金曜日]"_s);
    EXPECT_EQ(MainCaption(QDate(2004, 2, 29)), u"Oribel   Ver 3.32   --- [2004年2月29日日曜日]"_s);
}
