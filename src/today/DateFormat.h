#pragma once
// The text forms of a diary date, a weekday and a time of day, and the weekday
// of the date typed on today's page. The date fields are texts as the user typed
// them; only the English month names and the weekday convert them to numbers.

#include "settings/HtmlSet.h"

#include <QDate>
#include <QString>
#include <QStringList>
#include <QTime>

// The date text of an entry, by DateFormFlag, DateYearFlag, DateMonthFlag and
// TwoDigitFlag. The weekday and the date tags are added by the composer.
QString FormatDiaryDate(const QString& yearText, const QString& monthText, const QString& dayText,
                        const HtmlSet& set);

// The time `now` by TimeFormFlag, TimeMinuteFlag and TimeSecondFlag; with
// `withTags` enclosed in HtmlTime1 and HtmlTime2.
QString FormatDiaryTime(bool withTags, const HtmlSet& set, const QTime& now);

// The seven weekday names of a weekday form ('0'..'3'), Sunday first; an empty
// list for any other character.
QStringList WeekdayNames(char weekdayForm);

// 0 for Sunday up to 6 for Saturday when the texts make a Gregorian date with a
// year from 1990 to 9999; -1 otherwise.
int WeekdayIndex(const QString& yearText, const QString& monthText, const QString& dayText);

// The value of a whole decimal number (leading blanks, an optional sign, ASCII
// digits only, within the int range), or -1 for any other text.
int DateFieldValue(const QString& text);

// The main window's caption for the date `today`, e.g.
// "Oribel   Ver 3.32   --- [2003年11月7日金曜日]".
QString MainCaption(const QDate& today);
