#include "document/TagColors.h"

#include "support/QtPrinters.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

TEST(TagColors, FieldTextIsAColourOnlyAsHashAndSixHexDigits) {
    const struct {
        QString text;
        std::optional<quint32> expected;
    } cases[] = {
        {u"#FF0000"_s, 0xFF0000},           {u"#ffcc0a"_s, 0xFFCC0A},
        {u"#000000"_s, 0x000000},           {u"#12345G"_s, std::nullopt},
        {u"red"_s, std::nullopt},           {u"#FFF"_s, std::nullopt},
        {u"#FF00001"_s, std::nullopt},      {u""_s, std::nullopt},
        {u"FF0000X"_s, std::nullopt},       {u"#+12345"_s, std::nullopt},
        {u"#ＦＦ００００"_s, std::nullopt},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ColorFromFieldText(c.text), c.expected) << c.text.toStdString();
}

TEST(TagColors, StoredFormsAreNamesOrBlueGreenRedIntegers) {
    // Written: a basic colour's name, otherwise "$00BBGGRR".
    EXPECT_EQ(StoredColorText(0xFF0000), u"clRed"_s);
    EXPECT_EQ(StoredColorText(0x000080), u"clNavy"_s);
    EXPECT_EQ(StoredColorText(0xFFFFFF), u"clWhite"_s);
    EXPECT_EQ(StoredColorText(0xFFFFCC), u"$00CCFFFF"_s);
    EXPECT_EQ(StoredColorText(0x123456), u"$00563412"_s);

    const struct {
        QString text;
        std::optional<quint32> expected;
    } cases[] = {
        {u"clRed"_s, 0xFF0000},
        {u"CLAQUA"_s, 0x00FFFF},
        {u"clOlive"_s, 0x808000},
        {u"$00CCFFFF"_s, 0xFFFFCC},
        {u"$ccffff"_s, 0xFFFFCC},
        {u"0x00CCFFFF"_s, 0xFFFFCC},
        {u"0X563412"_s, 0x123456},
        {u"255"_s, 0xFF0000}, // the integer's low byte is red
        {u"13434879"_s, 0xFFFFCC},
        {u"0"_s, 0x000000},
        // Not colours: system colours above 24 bits, negatives, garbage.
        {u"$FF00000F"_s, std::nullopt},
        {u"$01000000"_s, std::nullopt},
        {u"-16777201"_s, std::nullopt},
        {u"16777216"_s, std::nullopt},
        {u"$"_s, std::nullopt},
        {u"0x"_s, std::nullopt},
        {u"clBtnFace"_s, std::nullopt},
        {u"#FF0000"_s, std::nullopt},
        {u""_s, std::nullopt},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ColorFromStoredText(c.text), c.expected) << c.text.toStdString();

    for (quint32 rgb : {0x000000u, 0xC0C0C0u, 0xFFFFCCu, 0x0080FFu, 0xABCDEFu})
        EXPECT_EQ(ColorFromStoredText(StoredColorText(rgb)), rgb) << std::hex << rgb;
}

TEST(TagColors, KeyFilterKeepsHashFieldsHexadecimal) {
    const struct {
        QString field;
        QChar typed;
        bool accepted;
    } cases[] = {
        {u"#"_s, u'a', true},     {u"#12"_s, u'F', true},  {u"#12"_s, u'9', true},
        {u"#12"_s, u'g', false},  {u"#12"_s, u'#', false}, {u"#12"_s, u' ', false},
        {u"#12"_s, u'０', false}, {u"#12"_s, u'\b', true}, {u"#12"_s, QChar(0x16), true}, // Ctrl+V
        {u""_s, u'r', true},      {u""_s, u'#', true},     {u"re"_s, u'd', true},
        {u"red"_s, u'!', true},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ColorFieldAcceptsChar(c.field, c.typed), c.accepted)
            << c.field.toStdString() << " + U+" << std::hex << int(c.typed.unicode());
}
