#include "settings/Defaults.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

using namespace Qt::StringLiterals;

namespace {

std::string htmlFlags(const HtmlSet& html) {
    return std::string(html.HtmlSetFlags.data());
}
std::string appFlags(const AppSet& app) {
    return std::string(app.AppSetFlags.data());
}

void setHtmlFlags(HtmlSet& html, const char* text) {
    html.HtmlSetFlags.fill('\0');
    std::memcpy(html.HtmlSetFlags.data(), text, std::strlen(text));
}

void setAppFlags(AppSet& app, const char* text) {
    app.AppSetFlags.fill('\0');
    std::memcpy(app.AppSetFlags.data(), text, std::strlen(text));
}

} // namespace

TEST(Defaults, EmptyRecordsGetEveryDefault) {
    HtmlSet html;
    AppSet app;
    bool cleared = true;
    ApplySettingDefaults(html, app, cleared);

    EXPECT_EQ(html.HtmlDate1, u"<font color=\"#ff0000\"><b>"_s);
    EXPECT_EQ(html.HtmlTime1, u"<font color=\"#0000ff\" size=\"-1\"><b>"_s);
    EXPECT_EQ(html.HtmlSky4, u"</b></font>"_s);
    EXPECT_EQ(html.HtmlSky5, u"<font color=\"#ccffff\"><b>"_s);
    EXPECT_EQ(html.HtmlSky7, QString(QChar(0xFF0F)));
    EXPECT_EQ(html.HtmlMain1, u"<DIV STYLE=\"margin-left:20pt;\">"_s);
    EXPECT_EQ(html.HtmlTitle1, u"<BR><STRONG><font color=\"#008000\">"_s);
    EXPECT_EQ(html.HtmlBRTag, u"<BR>"_s);
    EXPECT_EQ(html.HtmlHRTag, u"<HR>"_s);
    for (const QString* t :
         {&html.HtmlDate2, &html.HtmlTime2, &html.HtmlSky1, &html.HtmlSky2, &html.HtmlSky3, &html.HtmlSky6,
          &html.HtmlMain2, &html.HtmlTitle2, &html.HtmlAll1, &html.HtmlAll2})
        EXPECT_FALSE(t->isEmpty());
    EXPECT_TRUE(html.HtmlDataTitle.isEmpty());

    // Every position '0' except WeatherWarnFlag and AnchorFlag; exactly 19 long.
    EXPECT_EQ(htmlFlags(html), "0000010000010000000");
    EXPECT_EQ(html.HtmlSetFlags[HtmlFlagCount], '\0');

    // Twelve '0', then TagDialogMode NUL.
    EXPECT_EQ(appFlags(app), "000000000000");
    EXPECT_EQ(app.EditFontSize, u"10"_s);
    EXPECT_EQ(app.EditFontSizeT, u"12"_s);
    EXPECT_EQ(app.EditFontFace, u"ＭＳ ゴシック"_s);
    EXPECT_EQ(app.EditFontFaceT, u"ＭＳ ゴシック"_s);
    EXPECT_FALSE(cleared);

    EXPECT_EQ(defaultHtmlSet().HtmlSky6, html.HtmlSky6);
}

TEST(Defaults, HtmlFlagsAreMendedPerPosition) {
    HtmlSet html;
    AppSet app;
    bool cleared = false;

    setHtmlFlags(html, "5"); // a short string from an older store
    ApplySettingDefaults(html, app, cleared);
    EXPECT_EQ(htmlFlags(html), "5000010000010000000");

    // Position 8 'E' is not an order, '6' not a date form, '4' not a weekday form,
    // 'x' at 11 falls back to that position's own default '1'.
    setHtmlFlags(html, "604001x0E01x1103000");
    ApplySettingDefaults(html, app, cleared);
    EXPECT_EQ(htmlFlags(html), "0000010000111103000");

    setHtmlFlags(html, "00000000100");
    ApplySettingDefaults(html, app, cleared);
    EXPECT_EQ(html.flag(InsertOrderFlag), '0'); // '1' is no order either

    // A string of allowed characters stays as it is.
    setHtmlFlags(html, "51311011D1101113111");
    ApplySettingDefaults(html, app, cleared);
    EXPECT_EQ(htmlFlags(html), "51311011D1101113111");
}

TEST(Defaults, TemplatesAreFilledOnlyWhenEmpty) {
    HtmlSet html;
    AppSet app;
    bool cleared = false;
    html.HtmlBRTag = u" "_s;
    html.HtmlHRTag = u"<hr size=1>"_s;
    html.HtmlDataTitle = u"セット"_s;
    ApplySettingDefaults(html, app, cleared);
    EXPECT_EQ(html.HtmlBRTag, u" "_s);
    EXPECT_EQ(html.HtmlHRTag, u"<hr size=1>"_s);
    EXPECT_EQ(html.HtmlDataTitle, u"セット"_s);

    html.HtmlBRTag.clear();
    ApplySettingDefaults(html, app, cleared);
    EXPECT_EQ(html.HtmlBRTag, u"<BR>"_s);
}

TEST(Defaults, BehaviourFlagsAndFonts) {
    HtmlSet html;
    AppSet app;
    bool cleared = true;
    // 0: '2' is not a placement; 1: '2' is a valid auto-open; 5 forced '0';
    // 10: 'x' → '0'; 12: the tag builder's page is cleared; 13 stays.
    setAppFlags(app, "2211111111x1WB");
    app.EditFontSize = u"14"_s;
    app.EditFontFaceT = u"IPAGothic"_s;
    ApplySettingDefaults(html, app, cleared);
    EXPECT_EQ(std::string(app.AppSetFlags.data(), 12), "021110111101");
    EXPECT_EQ(app.AppSetFlags[TagDialogMode], '\0');
    EXPECT_EQ(app.AppSetFlags[SettingsDialogPage], 'B');
    EXPECT_EQ(app.EditFontSize, u"14"_s);
    EXPECT_EQ(app.EditFontSizeT, u"12"_s);
    EXPECT_EQ(app.EditFontFaceT, u"IPAGothic"_s);
    EXPECT_FALSE(cleared);

    setAppFlags(app, "3");
    ApplySettingDefaults(html, app, cleared);
    EXPECT_EQ(appFlags(app), "000000000000");
}
