#include "document/CompositionColors.h"

#include <QTextCharFormat>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using Attr = QInputMethodEvent::Attribute;

namespace {

// The formats fcitx5 and IBus send: an underlined segment, and a highlighted
// one (the segment under conversion).
QTextFormat underlined() {
    QTextCharFormat format;
    format.setUnderlineStyle(QTextCharFormat::DashUnderline);
    return format;
}
QTextFormat highlightedSegment() {
    QTextCharFormat format;
    format.setBackground(QColor(48, 140, 198));
    format.setForeground(QColor(255, 255, 255));
    return format;
}

} // namespace

TEST(CompositionColors, EachSegmentGetsTheColoursOfItsStateAndKeepsItsUnderline) {
    const QColor blue(0, 0, 255), white(255, 255, 255), black(0, 0, 0), cyan(0, 255, 255);
    struct Row {
        const char* what;
        QList<Attr> attributes;
        QList<CompositionColors> colours; // of the text formats, in order
    };
    const Row rows[] = {
        {"being typed: Input", {{QInputMethodEvent::TextFormat, 0, 3, underlined()}}, {{blue, white}}},
        {"being converted: the highlighted segment is TargetConverted, the rest Converted",
         {{QInputMethodEvent::TextFormat, 0, 2, highlightedSegment()},
          {QInputMethodEvent::TextFormat, 2, 1, underlined()}},
         {{black, cyan}, {blue, white}}},
        {"a cursor attribute passes unchanged",
         {{QInputMethodEvent::Cursor, 3, 1, QVariant()}, {QInputMethodEvent::TextFormat, 0, 3, underlined()}},
         {{blue, white}}},
        {"no format at all: the whole composition is Input", {}, {{blue, white}}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        const QList<Attr> result = recolouredComposition(u"にっき"_s, row.attributes);
        qsizetype next = 0;
        for (qsizetype i = 0; i < result.size(); ++i) {
            if (result[i].type != QInputMethodEvent::TextFormat) {
                ASSERT_LT(i, row.attributes.size());
                EXPECT_EQ(result[i].type, row.attributes[i].type);
                EXPECT_EQ(result[i].start, row.attributes[i].start);
                continue;
            }
            const QTextCharFormat format = qvariant_cast<QTextFormat>(result[i].value).toCharFormat();
            ASSERT_LT(next, row.colours.size());
            EXPECT_EQ(format.foreground().color(), row.colours[next].text);
            EXPECT_EQ(format.background().color(), row.colours[next].background);
            ++next;
            // The underline the input method asked for stays.
            const QTextCharFormat asked =
                i < row.attributes.size() ? qvariant_cast<QTextFormat>(row.attributes[i].value).toCharFormat()
                                          : QTextCharFormat();
            EXPECT_EQ(format.underlineStyle(), asked.underlineStyle());
        }
        EXPECT_EQ(next, row.colours.size());
    }
    EXPECT_EQ(compositionColors(CompositionState::TargetNotConverted).text, white);
    EXPECT_EQ(compositionColors(CompositionState::TargetNotConverted).background, blue);
}
