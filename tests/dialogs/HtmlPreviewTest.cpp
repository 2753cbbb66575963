#include "dialogs/HtmlPreview.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

TEST(HtmlPreview, DateFormsOnTheSampleSaturday) {
    struct Row {
        DatePreviewChoice choice;
        QString expected;
    };
    // dateShown, dateType, year, month, twoDigits, weekday, weekdayForm
    const Row rows[] = {
        {{true, 0, true, true, true, true, 0}, u"2000年06月24日(土)"_s},
        {{true, 0, false, true, false, true, 1}, u"6月24日土曜日"_s},
        {{true, 1, true, true, false, false, 0}, u"2000/6/24."_s},
        {{true, 1, true, false, true, false, 0}, u"2000/24."_s},
        {{true, 2, true, true, true, true, 2}, u"June 24, 2000.Sat."_s},
        {{true, 3, false, true, false, true, 3}, u"Jun 24.Saturday"_s},
        {{true, 3, true, false, false, false, 0}, u" 24, 2000."_s},
        {{true, 4, true, true, true, false, 0}, u"24/06/2000."_s},
        {{true, 4, true, false, false, false, 0}, u"24/2000."_s},
        {{true, 5, true, true, true, true, 0}, u"06/24/2000.(土)"_s},
        {{true, 5, false, true, false, false, 0}, u"6/24."_s},
        // Weekday shown but no form selected: nothing is appended.
        {{true, 0, true, true, false, true, -1}, u"2000年6月24日"_s},
        // No visible date form selected.
        {{true, -1, true, true, false, false, 0}, u"選択不可."_s},
        {{true, 6, true, true, false, true, 0}, u"選択不可.(土)"_s},
        // No date block: the other controls do not count.
        {{false, 2, true, true, true, true, 3}, u"日付は挿入されません。"_s},
    };
    for (const Row& row : rows)
        EXPECT_EQ(DatePreviewText(row.choice), row.expected) << "expected " << row.expected.toStdString();
}

TEST(HtmlPreview, TimeFormsOnTheSampleTime) {
    struct Row {
        TimePreviewChoice choice;
        QString expected;
    };
    const Row rows[] = {
        {{0, true, true}, u"05時22分34秒"_s}, {{1, true, false}, u"5時22分"_s},
        {{2, true, true}, u"05:22:34"_s},     {{3, false, false}, u"5"_s},
        {{2, true, false}, u"05:22"_s},       {{1, false, false}, u"5時"_s},
    };
    for (const Row& row : rows)
        EXPECT_EQ(TimePreviewText(row.choice), row.expected) << "expected " << row.expected.toStdString();
}
