#include "document/TagDecoration.h"

#include "support/QtPrinters.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

DecorationPage pageWith(DecoCode code, const std::vector<DecoButton>& buttons) {
    DecorationPage page;
    page.selectCode(code);
    for (DecoButton button : buttons)
        page.setButtonDown(button, true);
    return page;
}

} // namespace

TEST(TagDecoration, ExamplesOfBothCodeKinds) {
    DecorationPage style = pageWith(DecoCode::StyleSheet, {DecoButton::Bold});
    style.setFrontText(u"#FF0000"_s);
    EXPECT_EQ(style.look().start, uR"(<SPAN STYLE="font-weight:bold; color:#FF0000; ">)"_s);
    EXPECT_EQ(style.look().end, u"</SPAN>"_s);

    DecorationPage html = pageWith(DecoCode::HtmlTags, {DecoButton::Bold, DecoButton::Italic});
    html.htmlSize = 3; // "+1"
    html.setFrontText(u"#FF0000"_s);
    EXPECT_EQ(html.look().start, uR"(<B><I><FONT SIZE="+1"><FONT COLOR="#FF0000">)"_s);
    EXPECT_EQ(html.look().end, u"</FONT></FONT></I></B>"_s);
    EXPECT_EQ(html.look().tagPreview(), html.look().start + html.look().end);
}

TEST(TagDecoration, ButtonsAddTheirCodeInAFixedOrder) {
    using B = DecoButton;
    const struct {
        DecoCode code;
        std::vector<DecoButton> buttons;
        QString start, end;
    } cases[] = {
        {DecoCode::HtmlTags, {}, u""_s, u""_s},
        {DecoCode::StyleSheet, {}, uR"(<SPAN STYLE="">)"_s, u"</SPAN>"_s},
        // Pressed in any order, written 太字 斜体 下線 取消 大きく/小さく 強調.
        {DecoCode::HtmlTags,
         {B::Strong, B::Small, B::Strike, B::Underline, B::Italic, B::Bold},
         u"<B><I><U><STRIKE><SMALL><STRONG>"_s,
         u"</STRONG></SMALL></STRIKE></U></I></B>"_s},
        {DecoCode::StyleSheet,
         {B::Strong, B::Big, B::Strike, B::Underline, B::Italic, B::Bold},
         uR"(<SPAN STYLE="font-weight:bold; font-style:italic; text-decoration:underline; )"
         uR"(text-decoration:line-through; font-size:larger; font-weight:bold; ">)"_s,
         u"</SPAN>"_s},
        {DecoCode::StyleSheet,
         {B::Bold, B::Strong},
         uR"(<SPAN STYLE="font-weight:bold; font-weight:bold; ">)"_s,
         u"</SPAN>"_s},
    };
    for (const auto& c : cases) {
        const DecorationLook look = pageWith(c.code, c.buttons).look();
        EXPECT_EQ(look.start, c.start);
        EXPECT_EQ(look.end, c.end);
    }
}

TEST(TagDecoration, BigAndSmallAreNeverDownTogether) {
    DecorationPage page;
    page.setButtonDown(DecoButton::Big, true);
    page.setButtonDown(DecoButton::Small, true);
    EXPECT_FALSE(page.isDown(DecoButton::Big));
    EXPECT_TRUE(page.isDown(DecoButton::Small));
    EXPECT_EQ(page.look().pointSize, 12);
    page.setButtonDown(DecoButton::Big, true);
    EXPECT_FALSE(page.isDown(DecoButton::Small));
    EXPECT_EQ(page.look().start, u"<BIG>"_s);
    EXPECT_EQ(page.look().pointSize, 16);
    page.setButtonDown(DecoButton::Big, false);
    EXPECT_FALSE(page.isDown(DecoButton::Small)) << "both may be up";
    EXPECT_EQ(page.look().pointSize, 14);
}

TEST(TagDecoration, SizeListsAndThePointField) {
    DecorationPage page;
    page.selectCode(DecoCode::StyleSheet);

    page.chooseStyleSize(3);
    EXPECT_EQ(page.look().start, uR"(<SPAN STYLE="font-size:large; ">)"_s);
    EXPECT_FALSE(page.pointSizeFieldInUse);

    // Typing into the field selects "→ pt指定"; emptying it selects "(なし)".
    page.setPointSize(u"9"_s);
    EXPECT_EQ(page.styleSize, StylePointSizeItem);
    EXPECT_TRUE(page.pointSizeFieldInUse);
    EXPECT_EQ(page.look().start, uR"(<SPAN STYLE="font-size:9pt; ">)"_s);
    page.setPointSize(u""_s);
    EXPECT_EQ(page.styleSize, 0);
    EXPECT_EQ(page.look().start, uR"(<SPAN STYLE="">)"_s);

    // Choosing "→ pt指定" with an empty field puts 12 into it; a filled field stays.
    page.chooseStyleSize(StylePointSizeItem);
    EXPECT_EQ(page.pointSize, u"12"_s);
    EXPECT_EQ(page.look().start, uR"(<SPAN STYLE="font-size:12pt; ">)"_s);
    page.setPointSize(u"20"_s);
    page.chooseStyleSize(1);
    EXPECT_FALSE(page.pointSizeFieldInUse);
    page.chooseStyleSize(StylePointSizeItem);
    EXPECT_EQ(page.pointSize, u"20"_s);

    // Each code kind uses only its own list; items outside a list add nothing.
    page.htmlSize = 7;
    EXPECT_EQ(page.look().start, uR"(<SPAN STYLE="font-size:20pt; ">)"_s);
    page.selectCode(DecoCode::HtmlTags);
    EXPECT_EQ(page.look().start, uR"(<FONT SIZE="7">)"_s);
    page.htmlSize = 14;
    EXPECT_EQ(page.look().start, u""_s);
}

TEST(TagDecoration, ColourFieldsAndButtons) {
    DecorationPage page;
    page.selectCode(DecoCode::StyleSheet);
    EXPECT_EQ(page.look().textColor, std::nullopt);
    EXPECT_EQ(page.look().panelColor, TagWhite);

    // A typed name goes into the code as typed; the swatch falls back to black.
    page.setFrontText(u"#00FF00"_s);
    EXPECT_EQ(page.front, 0x00FF00u);
    page.setFrontText(u"red"_s);
    EXPECT_TRUE(page.frontOn);
    EXPECT_EQ(page.front, TagBlack);
    EXPECT_EQ(page.look().start, uR"(<SPAN STYLE="color:red; ">)"_s);
    EXPECT_EQ(page.look().textColor, TagBlack);

    page.setBackText(u"#0000FF"_s);
    EXPECT_TRUE(page.backOn);
    EXPECT_EQ(page.look().start, uR"(<SPAN STYLE="color:red; background-color:#0000FF; ">)"_s);
    EXPECT_EQ(page.look().panelColor, 0x0000FFu);
    page.setBackText(u"blue"_s);
    EXPECT_EQ(page.back, TagWhite);

    // An unticked box leaves its colour out; the preview base shows instead.
    page.frontOn = page.backOn = false;
    page.setPreviewText(u"#FFFFCC"_s);
    EXPECT_EQ(page.look().start, uR"(<SPAN STYLE="">)"_s);
    EXPECT_EQ(page.look().textColor, std::nullopt);
    EXPECT_EQ(page.look().panelColor, 0xFFFFCCu);
    page.setPreviewText(u"#FFFFC"_s);
    EXPECT_EQ(page.previewBase, TagWhite);

    // The chooser buttons: a cancel still ticks the box; OK sets swatch and field.
    page.frontColorChosen(std::nullopt);
    EXPECT_TRUE(page.frontOn);
    EXPECT_EQ(page.frontText, u"red"_s);
    page.frontColorChosen(0x123456);
    EXPECT_EQ(page.frontText, u"#123456"_s);
    EXPECT_EQ(page.front, 0x123456u);
    page.backColorChosen(0xABCDEF);
    EXPECT_TRUE(page.backOn);
    EXPECT_EQ(page.backText, u"#ABCDEF"_s);
    page.previewColorChosen(0x00FFFF);
    EXPECT_EQ(page.previewText, u"#00FFFF"_s);
    EXPECT_EQ(page.previewBase, 0x00FFFFu);

    // HTML tags cannot carry a background: selecting them unticks it.
    page.selectCode(DecoCode::HtmlTags);
    EXPECT_FALSE(page.backOn);
    page.setBackText(u"#FF00FF"_s);
    page.backColorChosen(0x010101);
    EXPECT_FALSE(page.backOn);
    EXPECT_EQ(page.look().start, uR"(<FONT COLOR="#123456">)"_s);
    EXPECT_EQ(page.look().panelColor, 0x00FFFFu);
}
