#include "today/Composer.h"

#include "platform/SjisCodec.h"
#include "today/DateFormat.h"

#include <QStringView>

using namespace Qt::StringLiterals;

namespace {

const QString LineBreak = u"\n"_s;

// The anchor's month and day always have at least two bytes, so that anchors
// sort and link the same way whatever the date form; a full-width digit is
// two bytes already.
QString anchorPart(const QString& text) {
    return sjis::byteLength(text) < 2 ? u"0"_s + text : text;
}

QString weatherStartTag(const WeatherField& weather, const HtmlSet& set, const QString& typedTag) {
    return weather.isListItem() ? WeatherListTag(set, weather.listIndex) : typedTag;
}

QString ComposeDateBlock(const DiaryEntry& entry, const HtmlSet& set) {
    QString text;
    if (set.dateShown()) {
        text += set.HtmlDate1 + FormatDiaryDate(entry.yearText, entry.monthText, entry.dayText, set);
        if (set.weekdayShown())
            text += entry.weekdayText;
        text += set.HtmlDate2;
    }
    if (set.insertsTime() && !entry.shiftHeld)
        text += u" "_s + FormatDiaryTime(true, set, entry.now);
    // The separator before the weather, whatever the block order.
    if (!entry.weather1.text.isEmpty())
        text += u" "_s;
    return text;
}

QString ComposeWeatherBlock(const DiaryEntry& entry, const HtmlSet& set, const QString& weatherTag1,
                            const QString& weatherTag2) {
    const bool wordsToo = !set.weatherTagsOnly();
    QString text;
    if (!entry.weather1.text.isEmpty()) {
        text += weatherStartTag(entry.weather1, set, weatherTag1);
        if (wordsToo)
            text += entry.weather1.text;
        text += set.HtmlSky4;
        if (!entry.weather2.text.isEmpty())
            text += set.HtmlSky6 + set.HtmlSky7 + set.HtmlSky4;
    }
    if (!entry.weather2.text.isEmpty()) {
        text += weatherStartTag(entry.weather2, set, weatherTag2);
        if (wordsToo)
            text += entry.weather2.text;
        text += set.HtmlSky4;
    }
    return text;
}

QString ComposeTitleBlock(const DiaryEntry& entry, const HtmlSet& set) {
    if (entry.title.isEmpty())
        return {};
    return set.HtmlTitle1 + entry.title + set.HtmlTitle2 + LineBreak;
}

QString ComposeBodyBlock(const DiaryEntry& entry, const HtmlSet& set) {
    const QString lineEnd = set.autoLineBreaks() ? set.HtmlBRTag + LineBreak : LineBreak;
    const QString& body = entry.body;
    QString text;
    text.reserve(set.HtmlMain1.size() + body.size() + qsizetype(BodyLineCount(body)) * lineEnd.size() +
                 set.HtmlMain2.size() + 2);
    text += set.HtmlMain1;
    text += LineBreak;
    // Each line as typed, empty ones too; a break at the very end starts no further line.
    for (qsizetype start = 0; start < body.size();) {
        qsizetype next = body.indexOf(u'\n', start);
        if (next < 0)
            next = body.size();
        text += QStringView(body).sliced(start, next - start);
        text += lineEnd;
        start = next + 1;
    }
    text += set.HtmlMain2;
    text += LineBreak;
    return text;
}

} // namespace

bool NeedsWeatherResolution(const DiaryEntry& entry) {
    return entry.weather1.isTyped() || entry.weather2.isTyped();
}

int BodyLineCount(const QString& body) {
    if (body.isEmpty())
        return 0;
    const int breaks = int(body.count(u'\n'));
    return body.endsWith(u'\n') ? breaks : breaks + 1;
}

QString ComposeDiaryEntry(const DiaryEntry& entry, const HtmlSet& set, const QString& weatherTag1,
                          const QString& weatherTag2) {
    QString text;
    if (set.anchorBeforeEntry())
        text += u"<A NAME=\"d"_s + entry.yearText + anchorPart(entry.monthText) + anchorPart(entry.dayText) +
                u"\"></A>"_s + LineBreak;
    if (set.wrapsWholeEntry())
        text += set.HtmlAll1 + LineBreak;

    const QString date = ComposeDateBlock(entry, set);
    const QString weather = ComposeWeatherBlock(entry, set, weatherTag1, weatherTag2);
    const QString title = ComposeTitleBlock(entry, set);
    const QString body = ComposeBodyBlock(entry, set);
    switch (set.insertOrder()) {
    case 'A':
        text += title + date + weather + LineBreak + body;
        break;
    case 'B':
        text += title + body + date + weather + LineBreak;
        break;
    case 'C':
        text += weather + date + LineBreak + title + body;
        break;
    case 'D':
        text += weather + LineBreak + title + date + LineBreak + body;
        break;
    default:
        text += date + weather + LineBreak + title + body;
        break;
    }

    if (set.wrapsWholeEntry())
        text += set.HtmlAll2 + LineBreak;
    if (set.ruleAfterEntry())
        text += set.HtmlHRTag + LineBreak;
    return text;
}
