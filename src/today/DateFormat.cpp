#include "today/DateFormat.h"

#include "platform/SjisCodec.h"
#include "resources/Messages.h"
#include "settings/IntText.h"

#include <array>

using namespace Qt::StringLiterals;

namespace {

// English month names, each followed by one blank, January first.
const std::array<QString, 12> MonthNamesFull = {
    u"January "_s, u"February "_s, u"March "_s,     u"April "_s,   u"May "_s,      u"June "_s,
    u"July "_s,    u"August "_s,   u"September "_s, u"October "_s, u"November "_s, u"December "_s,
};
const std::array<QString, 12> MonthNamesShort = {
    u"Jan "_s, u"Feb "_s, u"Mar "_s, u"Apr "_s, u"May "_s, u"Jun "_s,
    u"Jul "_s, u"Aug "_s, u"Sep "_s, u"Oct "_s, u"Nov "_s, u"Dec "_s,
};

// A one-byte month or day gets a leading "0" when TwoDigitFlag asks for it;
// a text of two bytes or more (a full-width digit among them) is never touched.
QString padOneByte(const QString& text, const HtmlSet& set) {
    if (set.padsMonthAndDay() && sjis::byteLength(text) == 1)
        return u"0"_s + text;
    return text;
}

QString englishMonth(const std::array<QString, 12>& names, const QString& monthText) {
    const int month = DateFieldValue(monthText);
    if (month >= 1 && month <= 12)
        return names[month - 1];
    return monthText;
}

bool isLeapYear(int year) {
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int daysInMonth(int year, int month) {
    switch (month) {
    case 1:
    case 3:
    case 5:
    case 7:
    case 8:
    case 10:
    case 12:
        return 31;
    case 4:
    case 6:
    case 9:
    case 11:
        return 30;
    case 2:
        return isLeapYear(year) ? 29 : 28;
    default:
        return 0;
    }
}

QString twoDigits(int value) {
    return u"%1"_s.arg(value, 2, 10, QLatin1Char('0'));
}

} // namespace

int DateFieldValue(const QString& text) {
    return intOr(text, -1);
}

QString FormatDiaryDate(const QString& yearText, const QString& monthText, const QString& dayText,
                        const HtmlSet& set) {
    char form = set.dateForm();
    if (form < '0' || form > '5')
        form = '0';
    const bool english = form == '2' || form == '3';

    QString year;
    if (set.dateShowsYear()) {
        if (english)
            year = u", "_s + yearText;
        else if (form == '0')
            year = yearText + u"年"_s;
        else if (form == '1')
            year = yearText + u"/"_s;
        else
            year = yearText;
    }

    QString month;
    if (set.dateShowsMonth()) {
        if (form == '2')
            month = englishMonth(MonthNamesFull, monthText);
        else if (form == '3')
            month = englishMonth(MonthNamesShort, monthText);
        else
            month = padOneByte(monthText, set) + (form == '0' ? u"月"_s : u"/"_s);
    }

    QString day = padOneByte(dayText, set);
    if (form == '0')
        day += u"日"_s;
    else if (form == '1')
        day += u"."_s;
    else if (form == '4' || form == '5')
        day += u"/"_s;

    switch (form) {
    case '0':
    case '1':
        return year + month + day;
    case '4':
        return day + month + year + u". "_s;
    default: // '2', '3', '5'
        return month + day + year + u". "_s;
    }
}

QString FormatDiaryTime(bool withTags, const HtmlSet& set, const QTime& now) {
    char form = set.timeForm();
    if (form < '0' || form > '3')
        form = '0';
    const bool padded = form == '0' || form == '2';
    const bool japanese = form == '0' || form == '1';
    auto number = [padded](int value) { return padded ? twoDigits(value) : QString::number(value); };

    QString text = withTags ? set.HtmlTime1 : QString();
    text += number(now.hour());
    if (japanese)
        text += u"時"_s;
    if (set.timeShowsMinutes())
        text += japanese ? number(now.minute()) + u"分"_s : u":"_s + number(now.minute());
    if (set.timeShowsSeconds())
        text += japanese ? number(now.second()) + u"秒"_s : u":"_s + number(now.second());
    if (withTags)
        text += set.HtmlTime2;
    return text;
}

QStringList WeekdayNames(char weekdayForm) {
    switch (weekdayForm) {
    case '0':
        return {u"(日)"_s, u"(月)"_s, u"(火)"_s, u"(水)"_s, u"(木)"_s, u"(金)"_s, u"(土)"_s};
    case '1':
        return {u"日曜日"_s, u"月曜日"_s, u"火曜日"_s, u"水曜日"_s, u"木曜日"_s, u"金曜日"_s, u"土曜日"_s};
    case '2':
        return {u"Sun."_s, u"Mon."_s, u"Tue."_s, u"Wed."_s, u"Thu."_s, u"Fri."_s, u"Sat."_s};
    case '3':
        return {u"Sunday"_s,   u"Monday"_s, u"Tuesday"_s, u"Wednesday"_s,
                u"Thursday"_s, u"Friday"_s, u"Saturday"_s};
    default:
        return {};
    }
}

int WeekdayIndex(const QString& yearText, const QString& monthText, const QString& dayText) {
    const int month = DateFieldValue(monthText);
    const int day = DateFieldValue(dayText);
    const int year = DateFieldValue(yearText);
    if (year < 1990 || year > 9999)
        return -1;
    if (day < 1 || day > daysInMonth(year, month))
        return -1;
    // QDate counts Monday as 1 and Sunday as 7.
    return QDate(year, month, day).dayOfWeek() % 7;
}

QString MainCaption(const QDate& today) {
    const QString weekday = WeekdayNames('1').value(today.dayOfWeek() % 7);
    return msg::AppName + msg::MainCaptionGap + msg::VersionText + msg::MainCaptionDateOpen +
           QString::number(today.year()) + u"年"_s + QString::number(today.month()) + u"月"_s +
           QString::number(today.day()) + u"日"_s + weekday + u"]"_s;
}
