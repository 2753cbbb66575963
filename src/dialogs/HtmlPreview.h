#pragma once
// The two previews of the HTML settings dialog. They show the forms the
// dialog's controls choose on fixed samples, not on today's date: the date
// form on Saturday 24 June 2000 and the time form on 05:22:34.

#include <QString>

// What the date page's controls choose.
struct DatePreviewChoice {
    bool dateShown = true;  // 日(&D): the date block is inserted at all
    int dateType = 0;       // RadioDateType item 0-5; -1 when no visible item is selected
    bool year = true;       // 年(&Y)
    bool month = true;      // 月(&M)
    bool twoDigits = false; // 月日２桁(&K)
    bool weekday = true;    // 曜日を表示する(&W)
    int weekdayForm = 0;    // RadioWea1-RadioWea4 as 0-3; -1 when none is selected
};

// The date preview, e.g. "2000年06月24日(土)" or "June 24, 2000.Sat.".
QString DatePreviewText(const DatePreviewChoice& choice);

// What the time page's controls choose.
struct TimePreviewChoice {
    int timeType = 0; // RadioTimeType item 0-3
    bool minutes = true;
    bool seconds = true;
};

// The time preview, e.g. "05時22分34秒" or "5:22".
QString TimePreviewText(const TimePreviewChoice& choice);
