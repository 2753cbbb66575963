#include "settings/Defaults.h"

namespace {

bool isBinary(char c) {
    return c == '0' || c == '1';
}

void fillIfEmpty(QString& member, const QString& fallback) {
    if (member.isEmpty())
        member = fallback;
}

void applyHtmlDefaults(HtmlSet& html) {
    fillIfEmpty(html.HtmlDate1, defaults::HtmlDate1);
    fillIfEmpty(html.HtmlDate2, defaults::HtmlDate2);
    fillIfEmpty(html.HtmlTime1, defaults::HtmlTime1);
    fillIfEmpty(html.HtmlTime2, defaults::HtmlTime2);
    fillIfEmpty(html.HtmlSky1, defaults::HtmlSky1);
    fillIfEmpty(html.HtmlSky2, defaults::HtmlSky2);
    fillIfEmpty(html.HtmlSky3, defaults::HtmlSky3);
    fillIfEmpty(html.HtmlSky5, defaults::HtmlSky5);
    fillIfEmpty(html.HtmlSky6, defaults::HtmlSky6);
    fillIfEmpty(html.HtmlSky7, defaults::HtmlSky7);
    fillIfEmpty(html.HtmlSky4, defaults::HtmlSky4);
    fillIfEmpty(html.HtmlMain1, defaults::HtmlMain1);
    fillIfEmpty(html.HtmlMain2, defaults::HtmlMain2);
    fillIfEmpty(html.HtmlTitle1, defaults::HtmlTitle1);
    fillIfEmpty(html.HtmlTitle2, defaults::HtmlTitle2);
    fillIfEmpty(html.HtmlAll1, defaults::HtmlAll1);
    fillIfEmpty(html.HtmlAll2, defaults::HtmlAll2);
    fillIfEmpty(html.HtmlBRTag, defaults::HtmlBRTag);
    fillIfEmpty(html.HtmlHRTag, defaults::HtmlHRTag);

    for (int position = 0; position < HtmlFlagCount; ++position) {
        if (!isAllowedHtmlFlag(position, html.HtmlSetFlags[position]))
            html.HtmlSetFlags[position] = defaultHtmlFlag(position);
    }
    html.HtmlSetFlags[HtmlFlagCount] = '\0';
}

void applyAppDefaults(AppSet& app) {
    auto& flags = app.AppSetFlags;
    if (!isBinary(flags[WindowPlacementFlag]))
        flags[WindowPlacementFlag] = '0';
    const char autoOpen = flags[AutoOpenFlag];
    if (autoOpen != '0' && autoOpen != '1' && autoOpen != '2')
        flags[AutoOpenFlag] = '0';
    for (AppFlag position :
         {TodayImeFlag, ErrorHtmlOffFlag, SpecialCharWarnOffFlag, ToolbarHiddenFlag, BrowserPathManualFlag,
          TodayWrapFlag, AllWrapFlag, DecoStyleFlag, LowerCaseFlag}) {
        if (!isBinary(flags[position]))
            flags[position] = '0';
    }
    flags[ReservedFlag] = '0';
    flags[TagDialogMode] = '\0';
    // SettingsDialogPage is the settings dialog's business; only the string's end is fixed here.
    flags[AppFlagCount] = '\0';

    fillIfEmpty(app.EditFontSize, defaults::EditFontSize);
    fillIfEmpty(app.EditFontSizeT, defaults::EditFontSizeT);
    fillIfEmpty(app.EditFontFace, defaults::EditFontFace);
    fillIfEmpty(app.EditFontFaceT, defaults::EditFontFaceT);
}

} // namespace

bool isAllowedHtmlFlag(int position, char c) {
    switch (position) {
    case DateFormFlag:
        return c >= '0' && c <= '5';
    case WeekdayFormFlag:
    case TimeFormFlag:
        return c >= '0' && c <= '3';
    case InsertOrderFlag:
        return c == '0' || (c >= 'A' && c <= 'D');
    default:
        return isBinary(c);
    }
}

char defaultHtmlFlag(int position) {
    if (position < 0 || position >= HtmlFlagCount)
        return '\0';
    return defaults::HtmlSetFlags[position];
}

HtmlSet defaultHtmlSet() {
    HtmlSet html;
    applyHtmlDefaults(html);
    return html;
}

void ApplySettingDefaults(HtmlSet& html, AppSet& app, char& settingsCleared) {
    applyHtmlDefaults(html);
    applyAppDefaults(app);
    settingsCleared = 'F';
}
