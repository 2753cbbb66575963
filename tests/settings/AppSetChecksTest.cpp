#include "settings/AppSetChecks.h"

#include "resources/Messages.h"
#include "support/QtPrinters.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using appsetcheck::GeometryEdit;

namespace {
const QSize Screen(1920, 1080);
}

TEST(AppSetChecks, GeometryStopsAtTheFirstFailingStep) {
    struct Case {
        QString width, height, x, y;
        int step; // 0: passes
        GeometryEdit edit = GeometryEdit::Width;
    };
    const Case cases[] = {
        {u"289"_s, u"0"_s, u"1920"_s, u"1080"_s, 0},
        {u"1920"_s, u"1080"_s, u"-300"_s, u"-40"_s, 0},
        {u"288"_s, u"0"_s, u"0"_s, u"0"_s, 1, GeometryEdit::Width},
        {u"abc"_s, u"0"_s, u"0"_s, u"0"_s, 1, GeometryEdit::Width},
        {u"1921"_s, u"x"_s, u"x"_s, u"x"_s, 2, GeometryEdit::Width},
        {u"620"_s, u"-1"_s, u"0"_s, u"0"_s, 3, GeometryEdit::Height},
        {u"620"_s, QString(), u"0"_s, u"0"_s, 3, GeometryEdit::Height},
        {u"620"_s, u"1081"_s, u"0"_s, u"0"_s, 4, GeometryEdit::Height},
        {u"620"_s, u"420"_s, u"abc"_s, u"0"_s, 5, GeometryEdit::X},
        {u"620"_s, u"420"_s, u"1921"_s, u"0"_s, 5, GeometryEdit::X},
        {u"620"_s, u"420"_s, u"0"_s, u"1081"_s, 6, GeometryEdit::Y},
        {u"620"_s, u"420"_s, u"0"_s, QString(), 6, GeometryEdit::Y},
    };
    const QString messages[] = {msg::GeometryWidthTooSmall,  msg::GeometryWidthTooLarge,
                                msg::GeometryHeightTooSmall, msg::GeometryHeightTooLarge,
                                msg::GeometryXBeyondRight,   msg::GeometryYBeyondBottom};
    for (const Case& c : cases) {
        const auto failure = appsetcheck::checkGeometry(c.width, c.height, c.x, c.y, Screen);
        const std::string row = (c.width + u'/' + c.height + u'/' + c.x + u'/' + c.y).toStdString();
        if (c.step == 0) {
            EXPECT_FALSE(failure.has_value()) << row;
            continue;
        }
        ASSERT_TRUE(failure.has_value()) << row;
        EXPECT_EQ(failure->step, c.step) << row;
        EXPECT_EQ(failure->edit, c.edit) << row;
        EXPECT_EQ(failure->message, messages[c.step - 1]) << row;
    }
    EXPECT_EQ(msg::GeometryWidthTooSmall, u"ウインドウ幅が最小サイズを下回っています。"_s);
    EXPECT_EQ(msg::GeometryXBeyondRight, u"Ｘ座標が画面の右端を越えています。"_s);
}

TEST(AppSetChecks, FontSizesAreRepairedWhenLeftAndHeldWhenApplied) {
    struct Case {
        QString text;
        QString repaired; // with the standard "10"
        int applied;      // with the standard 10 points
    };
    const Case cases[] = {
        {u"4"_s, u"10"_s, 5},     {u"5"_s, u"5"_s, 5},      {QString(), u"10"_s, 10}, {u"abc"_s, u"10"_s, 10},
        {u"-3"_s, u"10"_s, 5},    {u"12"_s, u"12"_s, 12},   {u"78"_s, u"78"_s, 78},   {u"79"_s, u"79"_s, 78},
        {u"999"_s, u"999"_s, 78}, {u" 12"_s, u" 12"_s, 12}, {u"12 "_s, u"10"_s, 10},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(appsetcheck::repairedFontSize(c.text, u"10"_s), c.repaired) << c.text.toStdString();
        EXPECT_EQ(appsetcheck::appliedFontPoints(c.text, 10), c.applied) << c.text.toStdString();
    }
}
