#pragma once
// The writing statistics: how many entries and body lines were composed this
// month and the previous counted month, the thank-you count, and the texts
// derived from them. The counters are 32-bit; every division is guarded.

#include "settings/AppSet.h"

#include <QDate>
#include <QString>

// One composed entry with `lineCount` body lines.
void CountInsertion(AppSet& app, int lineCount);

// The check made once at start-up: repairs the frequency, resets the thank-you
// count when it is due (returns true: the window then shows the thank-you
// message) and rolls this month's figures over when `today` lies in a later
// month than the last save. WriteLastMonth is left to the settings store.
bool MonthlyStatisticsCheck(AppSet& app, const QDate& today);

// Panel 3 of today's tab for a body of `todayLineCount` lines.
QString TodayStatusText(const AppSet& app, int todayLineCount);

// Panel 1 of either tab: "12行 5桁" (both counted from 1).
QString CaretPanelText(int line, int column);

// Panel 2 of either tab: "全120行 3456文字" (bytes of the stored text).
QString TotalsPanelText(int lines, qint64 bytes);

// The statistics labels of the about window, ready to show.
struct AboutFigures {
    QString diaryTime, diaryLines, diaryTimeL, diaryLinesL, percent;
};
AboutFigures ComputeAboutFigures(const AppSet& app);
