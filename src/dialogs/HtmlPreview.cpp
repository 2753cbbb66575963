#include "dialogs/HtmlPreview.h"

#include "resources/Messages.h"
#include "settings/HtmlSet.h"
#include "today/DateFormat.h"

#include <QTime>

using namespace Qt::StringLiterals;

namespace {

constexpr int SampleWeekday = 6; // Saturday, counted from Sunday

} // namespace

QString DatePreviewText(const DatePreviewChoice& choice) {
    if (!choice.dateShown)
        return msg::HtmlPreviewNoDate;

    // The numeric forms put a "0" before the one-digit sample month; the day
    // (24) has two digits already.
    const QString zero = choice.twoDigits ? u"0"_s : QString();
    QString text;
    switch (choice.dateType) {
    case 0:
        if (choice.year)
            text += u"2000年"_s;
        if (choice.month)
            text += zero + u"6月"_s;
        text += u"24日"_s;
        break;
    case 1:
        if (choice.year)
            text += u"2000/"_s;
        if (choice.month)
            text += zero + u"6/"_s;
        text += u"24"_s;
        break;
    case 2:
    case 3:
        if (choice.month)
            text += choice.dateType == 2 ? u"June"_s : u"Jun"_s;
        text += u" 24"_s;
        if (choice.year)
            text += u", 2000"_s;
        break;
    case 4:
        text += u"24"_s;
        if (choice.month)
            text += choice.twoDigits ? u"/06"_s : u"/6"_s;
        if (choice.year)
            text += u"/2000"_s;
        break;
    case 5:
        if (choice.month)
            text += zero + u"6/"_s;
        text += u"24"_s;
        if (choice.year)
            text += u"/2000"_s;
        break;
    default:
        text = msg::HtmlPreviewNoForm;
        break;
    }
    if (choice.dateType != 0)
        text += u"."_s;
    if (choice.weekday && choice.weekdayForm >= 0 && choice.weekdayForm <= 3)
        text += WeekdayNames(char('0' + choice.weekdayForm)).value(SampleWeekday);
    return text;
}

QString TimePreviewText(const TimePreviewChoice& choice) {
    // The preview is the time form itself, without the time tags.
    HtmlSet set;
    set.setFlag(TimeFormFlag, char('0' + qBound(0, choice.timeType, 3)));
    set.setFlag(TimeMinuteFlag, choice.minutes ? '0' : '1');
    set.setFlag(TimeSecondFlag, choice.seconds ? '0' : '1');
    return FormatDiaryTime(false, set, QTime(5, 22, 34));
}
