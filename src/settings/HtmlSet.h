#pragma once
// The HTML conversion settings: the tag templates that wrap each element of a
// composed diary entry, the set's display name and the switches that decide
// which elements appear and in what form.

#include <QString>
#include <array>

// Positions in HtmlSet::HtmlSetFlags. Each holds one character, compared as a
// character; the polarity differs per position (see the comments). Code reads
// the switches through HtmlSet's named accessors, whose meaning is positive.
enum HtmlFlag : int {
    DateFormFlag = 0,        // '0'..'5' date form
    WeekdayFlag = 1,         // '0' weekday after the date, '1' left out
    WeekdayFormFlag = 2,     // '0'..'3' weekday form
    HrFlag = 3,              // '0' rule after the entry, '1' none
    AutoBrFlag = 4,          // '0' automatic line-break tags, '1' manual
    WeatherWarnFlag = 5,     // '1' ask when no weather was given
    TitleWarnFlag = 6,       // '1' ask when no title was given
    AllTagFlag = 7,          // '1' wrap the entry in HtmlAll1/HtmlAll2
    InsertOrderFlag = 8,     // '0' or 'A'..'D' order of the blocks
    DateYearFlag = 9,        // '0' date shows the year, '1' not
    DateMonthFlag = 10,      // '0' date shows the month, '1' not
    AnchorFlag = 11,         // '1' date anchor before the entry
    WeatherTagOnlyFlag = 12, // '1' weather tags without the words
    TwoDigitFlag = 13,       // '1' one-character month/day get a leading "0"
    InsertTimeFlag = 14,     // '1' time after the date block
    TimeFormFlag = 15,       // '0'..'3' time form
    TimeMinuteFlag = 16,     // '0' time shows minutes, '1' not
    TimeSecondFlag = 17,     // '0' time shows seconds, '1' not
    DateDayFlag = 18,        // '0' date block, '1' no date at all
};
inline constexpr int HtmlFlagCount = 19;

struct HtmlSet {
    // Every flag position is stored.
    static constexpr int StoredFlagCount = HtmlFlagCount;

    QString HtmlDate1, HtmlDate2;
    QString HtmlTime1, HtmlTime2;
    QString HtmlSky1, HtmlSky2, HtmlSky3, HtmlSky4, HtmlSky5, HtmlSky6, HtmlSky7;
    QString HtmlMain1, HtmlMain2;
    QString HtmlTitle1, HtmlTitle2;
    QString HtmlAll1, HtmlAll2;
    QString HtmlBRTag, HtmlHRTag;
    QString HtmlDataTitle;
    // Positions 0..18, then a terminating NUL at 19. A freshly created set is
    // all NUL; the defaults pass fills every position.
    std::array<char, HtmlFlagCount + 1> HtmlSetFlags{};

    char flag(HtmlFlag position) const { return HtmlSetFlags[position]; }
    void setFlag(HtmlFlag position, char value) { HtmlSetFlags[position] = value; }
    char* flagData() { return HtmlSetFlags.data(); }
    const char* flagData() const { return HtmlSetFlags.data(); }

    // ---- The switches, by what they mean -----------------------------------
    char dateForm() const { return flag(DateFormFlag); }
    char weekdayForm() const { return flag(WeekdayFormFlag); }
    char timeForm() const { return flag(TimeFormFlag); }
    char insertOrder() const { return flag(InsertOrderFlag); }

    bool dateShown() const { return flag(DateDayFlag) == '0'; }
    bool weekdayShown() const { return flag(WeekdayFlag) == '0'; }
    bool dateShowsYear() const { return flag(DateYearFlag) != '1'; }
    bool dateShowsMonth() const { return flag(DateMonthFlag) != '1'; }
    bool padsMonthAndDay() const { return flag(TwoDigitFlag) == '1'; }
    bool insertsTime() const { return flag(InsertTimeFlag) == '1'; }
    bool timeShowsMinutes() const { return flag(TimeMinuteFlag) == '0'; }
    bool timeShowsSeconds() const { return flag(TimeSecondFlag) == '0'; }
    bool weatherTagsOnly() const { return flag(WeatherTagOnlyFlag) == '1'; }
    bool autoLineBreaks() const { return flag(AutoBrFlag) == '0'; }
    void setAutoLineBreaks(bool on) { setFlag(AutoBrFlag, on ? '0' : '1'); }
    bool ruleAfterEntry() const { return flag(HrFlag) == '0'; }
    bool anchorBeforeEntry() const { return flag(AnchorFlag) == '1'; }
    bool wrapsWholeEntry() const { return flag(AllTagFlag) == '1'; }
    bool warnsWithoutWeather() const { return flag(WeatherWarnFlag) == '1'; }
    bool warnsWithoutTitle() const { return flag(TitleWarnFlag) == '1'; }
};

// The start tag of a weather chosen from the weather list (0 晴れ, 1 くもり,
// 2 雨, 3 雪); empty for any other index. HtmlSky4 is the common end tag, so
// snow takes the fifth template.
inline QString WeatherListTag(const HtmlSet& set, int listIndex) {
    switch (listIndex) {
    case 0:
        return set.HtmlSky1;
    case 1:
        return set.HtmlSky2;
    case 2:
        return set.HtmlSky3;
    case 3:
        return set.HtmlSky5;
    default:
        return {};
    }
}
