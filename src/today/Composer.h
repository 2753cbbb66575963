#pragma once
// The diary entry composer: turns one entry of today's page into the block of
// HTML that goes into the diary document. The functions here only build the
// text; the window checks the entry, counts it and inserts the result as one
// edit at the caret of the document editor. Line breaks are '\n' in the
// returned text (the file writer turns them into CR LF).

#include "settings/HtmlSet.h"

#include <QString>
#include <QTime>

// One weather box of today's page.
struct WeatherField {
    QString text;
    int listIndex = -1; // 0..3 = 晴れ, くもり, 雨, 雪 chosen from the list; -1 = typed or empty

    bool isListItem() const { return listIndex >= 0 && listIndex <= 3; }
    // Text that was not chosen from the list.
    bool isTyped() const { return !text.isEmpty() && !isListItem(); }
};

// Everything of today's page that goes into an entry, as it stands when the
// command runs.
struct DiaryEntry {
    QString yearText, monthText, dayText, weekdayText;
    WeatherField weather1, weather2;
    QString title;
    QString body;           // lines separated by '\n'
    bool shiftHeld = false; // Shift held while the command runs: no time
    QTime now;              // the time written when InsertTimeFlag is '1'
};

// True when a weather box holds text that was not chosen from the list: the
// tag builder's weather mode must then supply the start tags first.
bool NeedsWeatherResolution(const DiaryEntry& entry);

// The whole entry: anchor, whole-entry tags, the blocks in the order of
// InsertOrderFlag, and the rule. weatherTag1/2 are the start tags of typed
// weathers (from the tag builder's weather mode).
QString ComposeDiaryEntry(const DiaryEntry& entry, const HtmlSet& set, const QString& weatherTag1,
                          const QString& weatherTag2);

// The number of lines of a body as typed: a line break at the very end does
// not start a further line; an empty body has none.
int BodyLineCount(const QString& body);
