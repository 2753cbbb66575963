#include "document/QuickTags.h"

#include "platform/SjisCodec.h"
#include "support/QtPrinters.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

TEST(QuickTags, LineBreakAndRuleDifferByTab) {
    HtmlSet set;
    set.HtmlBRTag = u"<BR>"_s;
    set.HtmlHRTag = u"<HR SIZE=\"1\">"_s;
    EXPECT_EQ(LineBreakTagText(set, EditorTab::WholeFile), u"<BR>"_s);
    EXPECT_EQ(LineBreakTagText(set, EditorTab::Today), u"<BR>\n"_s);
    set.HtmlBRTag = u"<br />"_s;
    EXPECT_EQ(LineBreakTagText(set, EditorTab::WholeFile), u"<br />"_s);
    // The rule is fixed, whatever HtmlHRTag holds.
    EXPECT_EQ(RuleTagText(EditorTab::WholeFile), u"<HR>"_s);
    EXPECT_EQ(RuleTagText(EditorTab::Today), u"<HR>\n"_s);

    EXPECT_EQ(SpecialCharText(SpecialChar::LessThan), u"&lt;"_s);
    EXPECT_EQ(SpecialCharText(SpecialChar::GreaterThan), u"&gt;"_s);
    EXPECT_EQ(SpecialCharText(SpecialChar::Ampersand), u"&amp;"_s);
    EXPECT_EQ(SpecialCharText(SpecialChar::Quote), u"&quot;"_s);
    EXPECT_EQ(SpecialCharText(SpecialChar::Space), u"&nbsp;"_s);
}

TEST(QuickTags, SnippetsWrapOrReplaceTheSelection) {
    const struct {
        int tag;
        QString hint, selection;
        std::optional<QString> expected;
    } cases[] = {
        {SnippetTagPair, u"<B>,</B>"_s, u"abc"_s, u"<B>abc</B>"_s},
        {SnippetTagPair, u"<B>,</B>"_s, u""_s, u"<B></B>"_s},
        {SnippetTagPair, u"<BLINK>"_s, u"abc"_s, u"<BLINK>abc"_s},
        {SnippetTagPair, u"<B>,</B>,extra"_s, u"abc"_s, u"<B>abc</B>"_s},
        {SnippetSentence, u"よろしく,#"_s, u"abc"_s, u"よろしく"_s},
        {SnippetSentence, u"Thanks,#note"_s, u""_s, u"Thanks"_s},
        {SnippetRegistration, u"（任意タグ,単文の登録...）"_s, u"abc"_s, std::nullopt},
    };
    for (const auto& c : cases)
        EXPECT_EQ(SnippetInsertion(c.tag, c.hint, c.selection), c.expected) << c.hint.toStdString();

    // Each part is cut to 224 bytes without splitting a double-byte character.
    const QString longStart = u"a"_s + QString(200, u'漢');
    const std::optional<QString> cut =
        SnippetInsertion(SnippetTagPair, longStart + u","_s + longStart, u"|"_s);
    ASSERT_TRUE(cut);
    const QString expectedPart = u"a"_s + QString(111, u'漢');
    EXPECT_EQ(sjis::byteLength(expectedPart), 223);
    EXPECT_EQ(*cut, expectedPart + u"|"_s + expectedPart);
}
