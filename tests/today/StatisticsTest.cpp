#include "today/Statistics.h"

#include "resources/Messages.h"

#include <gtest/gtest.h>
#include <limits>

using namespace Qt::StringLiterals;

TEST(Statistics, TodayStatusAgainstThisMonthsAverage) {
    AppSet app;
    EXPECT_EQ(TodayStatusText(app, 5), u" 今月最初の日記ですね。今月もがんばりましょう！"_s);

    for (int lines : {4, 6, 8})
        CountInsertion(app, lines);
    EXPECT_EQ(app.InsertDiaryTime, 3);
    EXPECT_EQ(app.WriteDiaryTime, 3);
    EXPECT_EQ(app.WriteDiaryLines, 18);
    EXPECT_EQ(TodayStatusText(app, 3), u" 現在の執筆量は、今月平均の 50 ％です。"_s);
    EXPECT_EQ(TodayStatusText(app, 7), u" 現在の執筆量は、今月平均の 116 ％です。"_s);
    EXPECT_EQ(TodayStatusText(app, 0), u" 現在の執筆量は、今月平均の 0 ％です。"_s);
}

TEST(Statistics, TodayStatusNeverDividesByZeroOrOverflows) {
    AppSet app;
    // Fewer lines than entries (only from stored values edited by hand): average 0.
    app.WriteDiaryTime = 5;
    app.WriteDiaryLines = 3;
    EXPECT_EQ(TodayStatusText(app, 10), u" 現在の執筆量は、今月平均の 0 ％です。"_s);

    app.WriteDiaryTime = 1;
    app.WriteDiaryLines = 1;
    EXPECT_EQ(TodayStatusText(app, std::numeric_limits<int>::max()),
              u" 現在の執筆量は、今月平均の 214748364700 ％です。"_s);

    app.WriteDiaryTime = -1;
    app.WriteDiaryLines = std::numeric_limits<qint32>::min();
    EXPECT_EQ(TodayStatusText(app, 2147483), u" 現在の執筆量は、今月平均の 0 ％です。"_s);
}

TEST(Statistics, CountersStopAtTheLargestValue) {
    AppSet app;
    app.WriteDiaryLines = std::numeric_limits<qint32>::max() - 1;
    CountInsertion(app, 5);
    EXPECT_EQ(app.WriteDiaryLines, std::numeric_limits<qint32>::max());
    EXPECT_EQ(app.WriteDiaryTime, 1);
}

TEST(Statistics, ThankYouAfterEnoughEntries) {
    AppSet app;
    app.WriteDiaryFrequency = 2; // every second day: thanks after more than 30
    app.WriteLastMonth = MonthStamp(QDate(2003, 11, 1));
    const QDate today(2003, 11, 20);
    for (int i = 0; i < 30; ++i)
        CountInsertion(app, 1);
    EXPECT_FALSE(MonthlyStatisticsCheck(app, today));
    EXPECT_EQ(app.InsertDiaryTime, 30);
    CountInsertion(app, 1);
    EXPECT_TRUE(MonthlyStatisticsCheck(app, today));
    EXPECT_EQ(app.InsertDiaryTime, 0);
    EXPECT_FALSE(MonthlyStatisticsCheck(app, today));
    // The month's counts are not touched by the thanks.
    EXPECT_EQ(app.WriteDiaryTime, 31);

    // A stored frequency of 0 or less becomes daily (more than 60).
    for (qint32 frequency : {0, -5}) {
        AppSet stored;
        stored.WriteDiaryFrequency = frequency;
        stored.InsertDiaryTime = 60;
        EXPECT_FALSE(MonthlyStatisticsCheck(stored, today));
        EXPECT_EQ(stored.WriteDiaryFrequency, 1);
        stored.InsertDiaryTime = 61;
        EXPECT_TRUE(MonthlyStatisticsCheck(stored, today));
    }

    AppSet rare;
    rare.WriteDiaryFrequency = 3;
    rare.InsertDiaryTime = 21;
    EXPECT_TRUE(MonthlyStatisticsCheck(rare, today));
}

TEST(Statistics, MonthRollover) {
    EXPECT_EQ(MonthStamp(QDate(2003, 12, 31)), 2003 * 12 + 12);
    EXPECT_EQ(MonthStamp(QDate(2004, 1, 2)), 2004 * 12 + 1);

    AppSet app;
    app.WriteDiaryFrequency = 1;
    app.WriteLastMonth = MonthStamp(QDate(2003, 12, 31));
    app.WriteDiaryTime = 12;
    app.WriteDiaryLines = 90;
    app.WriteDiaryTimeL = 3;
    app.WriteDiaryLinesL = 9;

    // Started again in the month of the last save: nothing rolls over.
    EXPECT_FALSE(MonthlyStatisticsCheck(app, QDate(2003, 12, 31)));
    EXPECT_EQ(app.WriteDiaryTime, 12);
    EXPECT_EQ(app.WriteDiaryTimeL, 3);

    // Started in the next month: December becomes the previous month.
    MonthlyStatisticsCheck(app, QDate(2004, 1, 2));
    EXPECT_EQ(app.WriteDiaryTimeL, 12);
    EXPECT_EQ(app.WriteDiaryLinesL, 90);
    EXPECT_EQ(app.WriteDiaryTime, 0);
    EXPECT_EQ(app.WriteDiaryLines, 0);
    // The stamp belongs to the settings save at exit.
    EXPECT_EQ(app.WriteLastMonth, 2003 * 12 + 12);
}

TEST(Statistics, AboutFigures) {
    AppSet app;
    app.WriteDiaryTime = 4;
    app.WriteDiaryLines = 30;
    app.WriteDiaryTimeL = 10;
    app.WriteDiaryLinesL = 120;
    AboutFigures figures = ComputeAboutFigures(app);
    EXPECT_EQ(figures.diaryTime, u"今月、日記を書いた回数： 4 回"_s);
    EXPECT_EQ(figures.diaryLines, u"今月に書いた日記の総行数： 30 行 （１回当たりの平均は、 7行です。）"_s);
    EXPECT_EQ(figures.diaryTimeL, u"先月、日記を書いた回数： 10 回"_s);
    EXPECT_EQ(figures.diaryLinesL,
              u"先月に書いた日記の総行数： 120 行 （１回当たりの平均は、 12行です。）"_s);
    EXPECT_EQ(figures.percent, u"今月の執筆量（行数）は、先月の 25 ％です。"_s);

    // No previous month: averages and percent 0.
    app.WriteDiaryTimeL = 0;
    figures = ComputeAboutFigures(app);
    EXPECT_EQ(figures.diaryLinesL, u"先月に書いた日記の総行数： 120 行 （１回当たりの平均は、 0行です。）"_s);
    EXPECT_EQ(figures.percent, u"今月の執筆量（行数）は、先月の 0 ％です。"_s);

    // A previous month with entries but no lines, and a negative entry count.
    app.WriteDiaryTimeL = 5;
    app.WriteDiaryLinesL = 0;
    app.WriteDiaryTime = -2;
    figures = ComputeAboutFigures(app);
    EXPECT_EQ(figures.percent, u"今月の執筆量（行数）は、先月の 0 ％です。"_s);
    EXPECT_EQ(figures.diaryLines, u"今月に書いた日記の総行数： 30 行 （１回当たりの平均は、 0行です。）"_s);

    // Large counts do not overflow the percentage.
    app.WriteDiaryLines = std::numeric_limits<qint32>::max();
    app.WriteDiaryLinesL = 1;
    EXPECT_EQ(ComputeAboutFigures(app).percent, u"今月の執筆量（行数）は、先月の 214748364700 ％です。"_s);
}

TEST(Statistics, CaretAndTotalsPanels) {
    EXPECT_EQ(CaretPanelText(12, 5), u"12行 5桁"_s);
    EXPECT_EQ(TotalsPanelText(120, 3456), u"全120行 3456文字"_s);
    EXPECT_EQ(TotalsPanelText(2, 6), u"全2行 6文字"_s);
}
