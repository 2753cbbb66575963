#include "settings/IntText.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

TEST(IntText, LeadingBlanksSignAndDigits) {
    struct Row {
        QString text;
        int expected;
    };
    const Row rows[] = {
        {u"12"_s, 12},
        {u" 6"_s, 6},
        {u"   14"_s, 14},
        {u"\t7"_s, 7},
        {u" -3"_s, -3},
        {u"+7"_s, 7},
        {u"-2147483648"_s, -2147483647 - 1},
        {u"2147483647"_s, 2147483647},
        // Not numbers: the fallback.
        {u""_s, -99},
        {u"   "_s, -99},
        {u"6 "_s, -99},
        {u" 6 "_s, -99},
        {u"- 3"_s, -99},
        {u"1.5"_s, -99},
        {u"６"_s, -99},
        {u"2147483648"_s, -99},
    };
    for (const Row& row : rows)
        EXPECT_EQ(intOr(row.text, -99), row.expected) << '"' << row.text.toStdString() << '"';
}

TEST(IntText, FullWidthDigitsFoldToAscii) {
    struct Row {
        QString text;
        QString expected;
    };
    const Row rows[] = {
        {u"１０"_s, u"10"_s},
        {u"０１２３４５６７８９"_s, u"0123456789"_s},
        {u"2０2６"_s, u"2026"_s},
        // Everything else stays: full-width letters and signs, the neighbours
        // of the digits, Japanese numerals.
        {u"－１"_s, u"－1"_s},
        {u"／：Ａ"_s, u"／：Ａ"_s},
        {u"十"_s, u"十"_s},
        {u""_s, u""_s},
    };
    for (const Row& row : rows)
        EXPECT_EQ(halfWidthDigits(row.text), row.expected) << row.text.toStdString();
}
