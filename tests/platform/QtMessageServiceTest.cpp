#include "platform/QtMessageService.h"

#include "resources/Messages.h"
#include "support/FakeMessages.h"
#include "support/ModalDriver.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

// Shows the request; act inspects the box and must close it.
MsgAnswer showAnd(const MessageRequest& request, std::function<void(QMessageBox*)> act) {
    const auto driver = testsupport::onNextModal<QMessageBox>(std::move(act));
    QtMessageService service;
    return service.show(request);
}

} // namespace

TEST(QtMessageService, ShowsTextCaptionIconAndJapaneseButtons) {
    const struct {
        MsgIcon icon;
        QMessageBox::Icon expected;
    } icons[] = {
        {MsgIcon::None, QMessageBox::NoIcon},         {MsgIcon::Information, QMessageBox::Information},
        {MsgIcon::Exclamation, QMessageBox::Warning}, {MsgIcon::Warning, QMessageBox::Warning},
        {MsgIcon::Question, QMessageBox::Question},   {MsgIcon::Error, QMessageBox::Critical}};
    for (const auto& [icon, expected] : icons) {
        SCOPED_TRACE(toString(icon));
        showAnd({u"本文"_s, u"確認"_s, icon, MsgButtons::Ok, {}}, [&](QMessageBox* box) {
            EXPECT_EQ(box->icon(), expected);
            box->button(QMessageBox::Ok)->click();
        });
    }

    // The text is shown as typed, even when it looks like markup.
    const QString text = u"<b>タグ</b> を含む\n2行目"_s;
    showAnd({text, u"日記"_s, MsgIcon::Question, MsgButtons::YesNoCancel, {}}, [&](QMessageBox* box) {
        EXPECT_EQ(box->windowTitle(), u"日記"_s);
        EXPECT_EQ(box->text(), text);
        EXPECT_EQ(box->textFormat(), Qt::PlainText);
        EXPECT_EQ(box->standardButtons(), QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        EXPECT_EQ(box->button(QMessageBox::Yes)->text(), msg::ButtonYes);
        EXPECT_EQ(box->button(QMessageBox::No)->text(), msg::ButtonNo);
        EXPECT_EQ(box->button(QMessageBox::Cancel)->text(), msg::ButtonCancel);
        box->button(QMessageBox::Cancel)->click();
    });
    showAnd({text, u"日記"_s, MsgIcon::Question, MsgButtons::YesNo, {}}, [&](QMessageBox* box) {
        EXPECT_EQ(box->standardButtons(), QMessageBox::Yes | QMessageBox::No);
        box->button(QMessageBox::No)->click();
    });
    showAnd({text, u"日記"_s, MsgIcon::Information, MsgButtons::Ok, {}}, [&](QMessageBox* box) {
        EXPECT_EQ(box->standardButtons(), QMessageBox::Ok);
        EXPECT_EQ(box->button(QMessageBox::Ok)->text(), msg::ButtonOk);
        box->button(QMessageBox::Ok)->click();
    });
}

TEST(QtMessageService, DefaultButtonIsTheRequestedOneOrTheFirst) {
    const struct {
        MsgButtons buttons;
        std::optional<MsgAnswer> requested;
        QMessageBox::StandardButton expected;
    } cases[] = {
        {MsgButtons::Ok, {}, QMessageBox::Ok},
        {MsgButtons::YesNo, {}, QMessageBox::Yes},
        {MsgButtons::YesNo, MsgAnswer::No, QMessageBox::No},
        {MsgButtons::YesNoCancel, {}, QMessageBox::Yes},
        {MsgButtons::YesNoCancel, MsgAnswer::Cancel, QMessageBox::Cancel},
        {MsgButtons::OkCancel, {}, QMessageBox::Ok},
        {MsgButtons::OkCancel, MsgAnswer::Cancel, QMessageBox::Cancel},
        // A default the box does not offer falls back to its first button.
        {MsgButtons::YesNo, MsgAnswer::Cancel, QMessageBox::Yes},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(toString(c.buttons));
        showAnd({u"質問"_s, u"確認"_s, MsgIcon::Question, c.buttons, c.requested}, [&](QMessageBox* box) {
            EXPECT_EQ(box->defaultButton(), box->button(c.expected));
            // Return presses the default button.
            QTest::keyClick(box, Qt::Key_Return);
        });
    }
}

TEST(QtMessageService, MapsButtonsAndClosingToAnswers) {
    const auto click = [](QMessageBox::StandardButton which) {
        return [which](QMessageBox* box) { box->button(which)->click(); };
    };
    const auto pressEscape = [](QMessageBox* box) { QTest::keyClick(box, Qt::Key_Escape); };
    const auto closeWindow = [](QMessageBox* box) { box->close(); };

    EXPECT_EQ(showAnd({u"a"_s, u"c"_s, MsgIcon::Question, MsgButtons::YesNo, {}}, click(QMessageBox::Yes)),
              MsgAnswer::Yes);
    EXPECT_EQ(showAnd({u"a"_s, u"c"_s, MsgIcon::Question, MsgButtons::YesNo, {}}, click(QMessageBox::No)),
              MsgAnswer::No);
    EXPECT_EQ(
        showAnd({u"a"_s, u"c"_s, MsgIcon::Question, MsgButtons::YesNoCancel, {}}, click(QMessageBox::No)),
        MsgAnswer::No);
    EXPECT_EQ(
        showAnd({u"a"_s, u"c"_s, MsgIcon::Question, MsgButtons::YesNoCancel, {}}, click(QMessageBox::Cancel)),
        MsgAnswer::Cancel);
    EXPECT_EQ(showAnd({u"a"_s, u"c"_s, MsgIcon::Question, MsgButtons::OkCancel, {}}, click(QMessageBox::Ok)),
              MsgAnswer::Ok);
    EXPECT_EQ(
        showAnd({u"a"_s, u"c"_s, MsgIcon::Question, MsgButtons::OkCancel, {}}, click(QMessageBox::Cancel)),
        MsgAnswer::Cancel);

    // Escape and the close button take the safe way out.
    EXPECT_EQ(showAnd({u"a"_s, u"c"_s, MsgIcon::Question, MsgButtons::YesNo, {}}, pressEscape),
              MsgAnswer::No);
    EXPECT_EQ(showAnd({u"a"_s, u"c"_s, MsgIcon::Question, MsgButtons::YesNo, MsgAnswer::Yes}, closeWindow),
              MsgAnswer::No);
    EXPECT_EQ(showAnd({u"a"_s, u"c"_s, MsgIcon::Question, MsgButtons::YesNoCancel, {}}, pressEscape),
              MsgAnswer::Cancel);
    EXPECT_EQ(showAnd({u"a"_s, u"c"_s, MsgIcon::Question, MsgButtons::YesNoCancel, {}}, closeWindow),
              MsgAnswer::Cancel);
    EXPECT_EQ(showAnd({u"a"_s, u"c"_s, MsgIcon::Question, MsgButtons::OkCancel, {}}, pressEscape),
              MsgAnswer::Cancel);
    EXPECT_EQ(showAnd({u"a"_s, u"c"_s, MsgIcon::Error, MsgButtons::Ok, {}}, pressEscape), MsgAnswer::Ok);
    EXPECT_EQ(showAnd({u"a"_s, u"c"_s, MsgIcon::Error, MsgButtons::Ok, {}}, closeWindow), MsgAnswer::Ok);
}

TEST(QtMessageService, AParentWindowClosingWhileTheBoxIsOpenTakesTheBoxAlong) {
    auto* splash = new QWidget;
    splash->setAttribute(Qt::WA_DeleteOnClose);
    splash->show();
    QApplication::setActiveWindow(splash);
    ASSERT_TRUE(QTest::qWaitForWindowActive(splash));
    const QPointer<QWidget> watch(splash);
    const auto driver = testsupport::onNextModal<QMessageBox>([splash](QMessageBox* box) {
        EXPECT_EQ(box->parentWidget(), splash);
        splash->close();
    });
    QtMessageService service;
    EXPECT_EQ(service.show({u"本文"_s, u"確認"_s, MsgIcon::Error, MsgButtons::YesNo, {}}), MsgAnswer::No);
    EXPECT_TRUE(QTest::qWaitFor([&] { return watch.isNull(); }));
}
