#include "document/TagBuilder.h"

#include "support/FakeDialogs.h"
#include "support/QtPrinters.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

TEST(TagBuilder, WeatherListTagTakesTheConfiguredStartTagOfEachListItem) {
    HtmlSet set;
    set.HtmlSky1 = u"<sun>"_s;
    set.HtmlSky2 = u"<cloud>"_s;
    set.HtmlSky3 = u"<rain>"_s;
    set.HtmlSky4 = u"</close>"_s;
    set.HtmlSky5 = u"<snow>"_s;

    EXPECT_EQ(WeatherListTag(set, 0), u"<sun>"_s);
    EXPECT_EQ(WeatherListTag(set, 1), u"<cloud>"_s);
    EXPECT_EQ(WeatherListTag(set, 2), u"<rain>"_s);
    EXPECT_EQ(WeatherListTag(set, 3), u"<snow>"_s) << "snow is the fifth template, the fourth closes";
    EXPECT_EQ(WeatherListTag(set, -1), QString());
    EXPECT_EQ(WeatherListTag(set, 4), QString());
}

TEST(TagBuilder, ColourTextsAreSixUpperCaseDigitsRedFirst) {
    EXPECT_EQ(ColorFieldText(0x12AB9F), u"#12AB9F"_s);
    EXPECT_EQ(ColorFieldText(0x00000A), u"#00000A"_s) << "leading zeros are kept";
    EXPECT_EQ(ColorFieldText(0xFF000000u | 0xFFCCAA), u"#FFCCAA"_s) << "only 24 bits count";
    EXPECT_EQ(WeatherColorTag(0x0080FF), uR"(<font color="#0080FF">)"_s);
}

namespace {

AppSet appSetWithFlags() {
    AppSet appSet;
    appSet.AppSetFlags.fill('0');
    appSet.AppSetFlags.back() = '\0';
    return appSet;
}

} // namespace

TEST(TagBuilder, OpenersRefuseLinkDecorationAndPositionWithoutASelection) {
    const struct {
        TagMode mode;
        QString text, caption;
    } cases[] = {
        {TagMode::Link, u"リンクにしたい文字を範囲選択して下さい。"_s, u"リンク指定"_s},
        {TagMode::Decoration, u"装飾したい文字、色を付けたい文字を、範囲選択して下さい。"_s,
         u"文字装飾・色指定"_s},
        {TagMode::Position, u"位置を指定したい文字（または行）を、範囲選択して下さい。"_s, u"位置指定"_s},
    };
    for (const auto& c : cases) {
        const std::optional<MessageRequest> refusal = TagSelectionRefusal(c.mode, QString());
        ASSERT_TRUE(refusal) << TagModeChar(c.mode);
        EXPECT_EQ(refusal->text, c.text);
        EXPECT_EQ(refusal->caption, c.caption);
        EXPECT_EQ(refusal->icon, MsgIcon::Warning);
        EXPECT_EQ(refusal->buttons, MsgButtons::Ok);
        EXPECT_FALSE(TagSelectionRefusal(c.mode, u"x"_s));
    }
    EXPECT_FALSE(TagSelectionRefusal(TagMode::Graphic, QString()));

    for (char mode : {'L', 'G', 'D', 'P', 'W'})
        EXPECT_EQ(TagModeChar(*TagModeFromChar(mode)), mode);
    EXPECT_FALSE(TagModeFromChar('\0'));
    EXPECT_FALSE(TagModeFromChar('l'));
}

TEST(TagBuilder, LowerCaseLowersOnlyAsciiCapitals) {
    EXPECT_EQ(LowerAsciiLetters(uR"(<A HREF="Diary.HTML">Diary 日記ＡＢＣｶﾅÄ</A>)"_s),
              uR"(<a href="diary.html">diary 日記ＡＢＣｶﾅÄ</a>)"_s);
    EXPECT_EQ(LowerAsciiLetters(u"@[`{Z"_s), u"@[`{z"_s);

    AppSet appSet = appSetWithFlags();
    EXPECT_FALSE(appSet.lowerCaseTags());
    LinkPage page = OpenLinkPage(appSet, u"Diary"_s);
    page.url = u"Top.html"_s;
    EXPECT_EQ(LinkPageOk(page, true, appSet).text, uR"(<a href="top.html">diary</a>)"_s);
    EXPECT_TRUE(appSet.lowerCaseTags());
    EXPECT_EQ(LinkPageOk(page, false, appSet).text, uR"(<A HREF="Top.html">Diary</A>)"_s);
    EXPECT_EQ(appSet.flag(LowerCaseFlag), '0');
}

TEST(TagBuilder, LinkTags) {
    AppSet appSet = appSetWithFlags();
    appSet.LinkFrame = u"main"_s;
    appSet.LinkClass = u"ext"_s;
    const LinkPage opened = OpenLinkPage(appSet, u"Diary"_s);
    EXPECT_EQ(opened.name, u"Diary"_s);
    EXPECT_EQ(opened.frame, u"main"_s);
    EXPECT_EQ(opened.className, u"ext"_s);
    EXPECT_EQ(opened.target, LinkTarget::Normal);

    const auto link = [&](auto change) {
        LinkPage page = opened;
        page.url = u"diary.html"_s;
        change(page);
        return LinkPageOk(page, false, appSet).text;
    };
    EXPECT_EQ(link([](LinkPage& p) {
                  p.target = LinkTarget::NewWindow;
                  p.titleOn = true;
                  p.title = u"top"_s;
              }),
              uR"(<A HREF="diary.html" TARGET="_blank" TITLE="top">Diary</A>)"_s);
    EXPECT_EQ(link([](LinkPage& p) { p.target = LinkTarget::Top; }),
              uR"(<A HREF="diary.html" TARGET="_top">Diary</A>)"_s);
    EXPECT_EQ(link([](LinkPage& p) {
                  p.target = LinkTarget::Frame;
                  p.frame.clear();
              }),
              uR"(<A HREF="diary.html" TARGET="">Diary</A>)"_s);
    // Every attribute, in the fixed order; unticked ones are left out even when filled.
    EXPECT_EQ(
        link([](LinkPage& p) {
            p.target = LinkTarget::Frame;
            p.accessKeyOn = p.tabIndexOn = p.classOn = p.titleOn = true;
            p.accessKey = u"d"_s;
            p.tabIndex = u"3"_s;
            p.title = u"日記"_s;
        }),
        uR"(<A HREF="diary.html" TARGET="main" ACCESSKEY="d" TABINDEX="3" CLASS="ext" TITLE="日記">Diary</A>)"_s);
    EXPECT_EQ(link([](LinkPage& p) { p.title = u"unused"_s; }), uR"(<A HREF="diary.html">Diary</A>)"_s);

    // An empty name becomes the URL, and the page shows it.
    LinkPage unnamed = OpenLinkPage(appSet, QString());
    unnamed.url = u"http://example.jp/"_s;
    EXPECT_EQ(LinkPageOk(unnamed, false, appSet).text,
              uR"(<A HREF="http://example.jp/">http://example.jp/</A>)"_s);
    EXPECT_EQ(unnamed.name, u"http://example.jp/"_s);

    // Frame and class names are remembered, used or not.
    LinkPage page = opened;
    page.url = u"a.html"_s;
    page.frame = u"side"_s;
    page.className = u"note"_s;
    LinkPageOk(page, false, appSet);
    EXPECT_EQ(appSet.LinkFrame, u"side"_s);
    EXPECT_EQ(appSet.LinkClass, u"note"_s);

    // An empty URL is refused and nothing is stored.
    AppSet before = appSet;
    page.url.clear();
    page.frame = u"other"_s;
    const TagOutcome refused = LinkPageOk(page, true, appSet);
    ASSERT_TRUE(refused.refused());
    EXPECT_EQ(refused.refusal->text, u"リンク先の指定は省略できません。"_s);
    EXPECT_EQ(refused.refusal->caption, u"入力不備エラー"_s);
    EXPECT_EQ(refused.refusal->icon, MsgIcon::Exclamation);
    EXPECT_EQ(appSet.LinkFrame, before.LinkFrame);
    EXPECT_EQ(appSet.flag(LowerCaseFlag), before.flag(LowerCaseFlag));
}

TEST(TagBuilder, ImageTags) {
    AppSet appSet = appSetWithFlags();
    appSet.GraphicDir = u"/home/me/pics/"_s;
    const GraphicPage opened = OpenGraphicPage(appSet);
    EXPECT_EQ(opened.folder, u"/home/me/pics/"_s);

    const auto image = [&](auto change) {
        GraphicPage page = opened;
        page.fileName = u"cat.jpg"_s;
        change(page);
        return GraphicPageOk(page, false, appSet).text;
    };
    EXPECT_EQ(image([](GraphicPage&) {}), uR"(<IMG SRC="cat.jpg">)"_s);
    EXPECT_EQ(image([](GraphicPage& p) {
                  p.width = u"120"_s;
                  p.height = u"90"_s;
                  p.alt = u"猫"_s;
                  p.align = GraphicAlign::Right;
                  p.border = true;
              }),
              uR"(<IMG SRC="cat.jpg" WIDTH="120" HEIGHT="90" ALT="猫" ALIGN="right" BORDER="0">)"_s);
    EXPECT_EQ(image([](GraphicPage& p) {
                  p.height = u"90"_s;
                  p.align = GraphicAlign::Left;
              }),
              uR"(<IMG SRC="cat.jpg" HEIGHT="90" ALIGN="left">)"_s);
    for (GraphicAlign align : {GraphicAlign::Normal, GraphicAlign::Right, GraphicAlign::Left})
        EXPECT_EQ(image([&](GraphicPage& p) {
                      p.align = align;
                      p.absmiddle = true;
                  }),
                  uR"(<IMG SRC="cat.jpg" ALIGN="absmiddle">)"_s);

    GraphicPage page = opened;
    page.folder = u"/srv/img/"_s;
    const TagOutcome refused = GraphicPageOk(page, false, appSet);
    ASSERT_TRUE(refused.refused());
    EXPECT_EQ(refused.refusal->text, u"画像のファイル名は省略できません。"_s);
    EXPECT_EQ(refused.refusal->caption, u"入力不備エラー"_s);
    EXPECT_EQ(appSet.GraphicDir, u"/home/me/pics/"_s);
    page.fileName = u"Dog.PNG"_s;
    EXPECT_EQ(GraphicPageOk(page, true, appSet).text, uR"(<img src="dog.png">)"_s);
    EXPECT_EQ(appSet.GraphicDir, u"/srv/img/"_s);
}

TEST(TagBuilder, ImageChooserSetsTheNameAndAlwaysTheFolder) {
    FakeFileDialogs dialogs;
    FileDialog openDialog(FileDialogKind::Open, &dialogs);
    openDialog.fileName = u"/home/me/old/page.html"_s;
    openDialog.filterIndex = 2;

    GraphicPage page;
    page.folder = u"/home/me/pics/"_s;
    dialogs.chooseNext(u"/home/me/pics/2003/cat.jpg"_s);
    EXPECT_TRUE(ChooseGraphicFile(page, openDialog));
    EXPECT_EQ(dialogs.last().title, u"画像ファイル名を指定"_s);
    EXPECT_EQ(
        dialogs.last().filter,
        u"画像ファイル(*.gif,*.jpg,*.png,*.bmp,*.tif,*.pcx)|*.gif;*.jpg;*.png;*.bmp;*.tif;*.pcx|すべてのファイル(*.*)|*.*"_s);
    EXPECT_EQ(dialogs.last().filterIndex, 1);
    EXPECT_EQ(dialogs.last().initialDir, u"/home/me/pics/"_s);
    EXPECT_EQ(dialogs.last().fileName, u""_s) << "the chooser starts in the image folder, not at the page";
    EXPECT_EQ(page.fileName, u"cat.jpg"_s);
    EXPECT_EQ(page.folder, u"/home/me/pics/2003/"_s);

    // A cancel keeps the name and takes the folder of the file the dialog holds.
    openDialog.fileName = u"/home/me/old/page.html"_s;
    dialogs.cancelNext();
    EXPECT_FALSE(ChooseGraphicFile(page, openDialog));
    EXPECT_EQ(dialogs.last().fileName, u""_s);
    EXPECT_EQ(openDialog.fileName, u"/home/me/old/page.html"_s) << "the file commands keep their file";
    EXPECT_EQ(page.fileName, u"cat.jpg"_s);
    EXPECT_EQ(page.folder, u"/home/me/old/"_s);
    openDialog.fileName = u"loose.gif"_s;
    dialogs.cancelNext();
    ChooseGraphicFile(page, openDialog);
    EXPECT_EQ(page.folder, u""_s);
}

TEST(TagBuilder, PositionTags) {
    AppSet appSet = appSetWithFlags();
    appSet.PositionClass = u"note"_s;
    const PositionPage opened = OpenPositionPage(appSet);
    EXPECT_EQ(opened.className, u"note"_s);

    const struct {
        PosAlign align;
        PosTag tag;
        PosWay way;
        bool classOn;
        QString expected;
    } cases[] = {
        {PosAlign::Center, PosTag::Div, PosWay::StyleSheet, false,
         uR"(<DIV STYLE="text-align: center;">text</DIV>)"_s},
        {PosAlign::Right, PosTag::Paragraph, PosWay::AlignAttribute, true,
         uR"(<P ALIGN="right" CLASS="note">text</P>)"_s},
        {PosAlign::Left, PosTag::Div, PosWay::AlignAttribute, false, uR"(<DIV ALIGN="left">text</DIV>)"_s},
        {PosAlign::Unspecified, PosTag::Div, PosWay::StyleSheet, false, u"<DIV>text</DIV>"_s},
        {PosAlign::Unspecified, PosTag::Paragraph, PosWay::AlignAttribute, true,
         uR"(<P CLASS="note">text</P>)"_s},
    };
    for (const auto& c : cases) {
        PositionPage page = opened;
        page.align = c.align;
        page.tag = c.tag;
        page.way = c.way;
        page.classOn = c.classOn;
        EXPECT_EQ(PositionPageOk(page, u"text"_s, false, appSet).text, c.expected);
    }

    PositionPage page = opened;
    page.className = u"Wide"_s;
    EXPECT_EQ(PositionPageOk(page, u"行\nTWO"_s, true, appSet).text,
              u"<div style=\"text-align: left;\">行\ntwo</div>"_s);
    EXPECT_EQ(appSet.PositionClass, u"Wide"_s) << "remembered although unused";
}

TEST(TagBuilder, DecorationRemembersItsColoursAndCodeKind) {
    AppSet appSet = appSetWithFlags();
    appSet.DecoPrevColor = u"$00CCFFFF"_s;
    appSet.DecoInfo0 = u"clRed"_s;
    appSet.DecoInfo1 = u"$00FFCCCC"_s;
    appSet.DecoInfo2 = u"#FF0000"_s;
    appSet.DecoInfo3 = u"#CCCCFF"_s;
    appSet.setFlag(DecoStyleFlag, '1');

    DecorationPage page = OpenDecorationPage(appSet, u"Text"_s);
    EXPECT_EQ(page.selectedText, u"Text"_s);
    EXPECT_EQ(page.code, DecoCode::StyleSheet);
    EXPECT_EQ(page.previewBase, 0xFFFFCCu);
    EXPECT_EQ(page.previewText, u"#FFFFCC"_s);
    EXPECT_EQ(page.front, 0xFF0000u);
    EXPECT_EQ(page.frontText, u"#FF0000"_s);
    EXPECT_EQ(page.back, 0xCCCCFFu) << "the field's rule sets the swatch again";
    EXPECT_EQ(page.backText, u"#CCCCFF"_s);
    EXPECT_FALSE(page.frontOn);
    EXPECT_FALSE(page.backOn);
    EXPECT_EQ(page.styleSize, 0);
    EXPECT_EQ(page.htmlSize, 0);

    page.setButtonDown(DecoButton::Underline, true);
    page.frontOn = true;
    const TagOutcome ok = DecorationPageOk(page, true, appSet);
    EXPECT_EQ(ok.text, uR"(<span style="text-decoration:underline; color:#ff0000; ">text</span>)"_s);
    EXPECT_EQ(appSet.DecoPrevColor, u"$00CCFFFF"_s);
    EXPECT_EQ(appSet.DecoInfo0, u"clRed"_s);
    EXPECT_EQ(appSet.DecoInfo1, u"$00FFCCCC"_s);
    EXPECT_EQ(appSet.DecoInfo2, u"#FF0000"_s);
    EXPECT_EQ(appSet.DecoInfo3, u"#CCCCFF"_s);
    EXPECT_TRUE(appSet.decorationsAsStyleSheet());
    EXPECT_EQ(appSet.flag(LowerCaseFlag), '1');

    // HTML tags, nothing chosen: the selection comes back unchanged.
    page.selectCode(DecoCode::HtmlTags);
    page.setButtonDown(DecoButton::Underline, false);
    page.frontOn = false;
    EXPECT_EQ(DecorationPageOk(page, false, appSet).text, u"Text"_s);
    EXPECT_EQ(appSet.flag(DecoStyleFlag), '0');
}

TEST(TagBuilder, DecorationOpeningKeepsTheLayoutWhereNothingUsableIsStored) {
    AppSet appSet = appSetWithFlags();
    // Nothing stored: the layout's colours, HTML tags.
    DecorationPage fresh = OpenDecorationPage(appSet, u"x"_s);
    EXPECT_EQ(fresh.code, DecoCode::HtmlTags);
    EXPECT_EQ(fresh.front, TagBlack);
    EXPECT_EQ(fresh.back, TagWhite);
    EXPECT_EQ(fresh.previewBase, TagWhite);
    EXPECT_EQ(fresh.frontText, u"#000000"_s);

    // Unreadable stored colours leave the layout's; a field text equal to the
    // layout's runs no rule, so the stored swatch stays.
    appSet.DecoPrevColor = u"$FF00000F"_s;
    appSet.DecoInfo0 = u"clLime"_s;
    appSet.DecoInfo1 = u"blue"_s;
    appSet.DecoInfo2 = u"#000000"_s;
    appSet.DecoInfo3 = u"navy"_s;
    DecorationPage page = OpenDecorationPage(appSet, u"x"_s);
    EXPECT_EQ(page.previewBase, TagWhite);
    EXPECT_EQ(page.previewText, u"#FFFFFF"_s);
    EXPECT_EQ(page.front, 0x00FF00u);
    EXPECT_EQ(page.backText, u"navy"_s);
    EXPECT_EQ(page.back, TagWhite);
    EXPECT_FALSE(page.backOn);
}
