// The input method follows the focus: on in today's body at start-up and on
// the today tab when the settings ask for it, off in a loaded document; the
// date fields take digits only.

#include "MainFormFixture.h"

#include "platform/InputMethodSwitch.h"

#include <QComboBox>
#include <QInputMethodEvent>
#include <QLineEdit>

using namespace Qt::StringLiterals;
using State = InputMethod::State;

namespace {

class MainInputMethodTest : public MainFormTest {
protected:
    // A run with TodayImeFlag as given, saved by an earlier run.
    TMainForm& startWithTodayIme(char flag) {
        start();
        form->appSet.setFlag(TodayImeFlag, flag);
        EXPECT_TRUE(closeForm());
        fake.inputMethod.setState(State::Off);
        fake.inputMethod.clear();
        return start();
    }
    void compose(QWidget* editor, const QString& preedit) {
        QInputMethodEvent event(preedit, {});
        QApplication::sendEvent(editor, &event);
    }
};

TEST_F(MainInputMethodTest, TodayImeFlagSwitchesOnInTheBodyAndADocumentSwitchesOff) {
    TMainForm& w = startWithTodayIme('1');
    // On at start, without a key press.
    EXPECT_EQ(fake.inputMethod.state(), State::On);
    EXPECT_TRUE(w.MToday->hasFocus());

    // Document tab without a document: left as it is.
    showDocumentTab();
    EXPECT_EQ(fake.inputMethod.state(), State::On);
    // With a document: off; and on again back on the today tab.
    openDocument(writeFile(u"page.htm"_s, "<html>\r\n"));
    EXPECT_EQ(fake.inputMethod.state(), State::Off);
    showTodayTab();
    EXPECT_EQ(fake.inputMethod.state(), State::On);
    showDocumentTab();
    EXPECT_EQ(fake.inputMethod.state(), State::Off);
    EXPECT_EQ(fake.inputMethod.switches(), (QList<bool>{true, false, true, false}));
}

TEST_F(MainInputMethodTest, WithoutTheFlagTodaysBodyLeavesTheInputMethodAlone) {
    startWithTodayIme('0');
    fake.inputMethod.setState(State::On); // switched on by the user
    openDocument(writeFile(u"page.htm"_s, "<html>\r\n"));
    EXPECT_EQ(fake.inputMethod.state(), State::Off);
    fake.inputMethod.setState(State::On);
    showTodayTab();
    EXPECT_EQ(fake.inputMethod.state(), State::On);
    EXPECT_EQ(fake.inputMethod.switches(), QList<bool>{false});
}

TEST_F(MainInputMethodTest, AnUnansweredSwitchIsRetriedButNeverDuringAComposition) {
    // The framework does not know the window yet: the switch is tried again,
    // a bounded number of times.
    fake.inputMethod.setAnswersState(false);
    TMainForm& w = startWithTodayIme('1');
    EXPECT_TRUE(QTest::qWaitFor([&] { return fake.inputMethod.switches().size() >= 3; }));

    // A composition opens: nothing more is switched until it is committed.
    compose(w.MToday, u"にっき"_s);
    const qsizetype during = fake.inputMethod.switches().size();
    QTest::qWait(3 * InputMethodSwitch::RetryIntervalMs);
    EXPECT_EQ(fake.inputMethod.switches().size(), during);
    compose(w.MToday, QString());
    EXPECT_TRUE(QTest::qWaitFor([&] { return fake.inputMethod.switches().size() > during; }));
    EXPECT_TRUE(QTest::qWaitFor(
        [&] { return fake.inputMethod.switches().size() == InputMethodSwitch::Retries + 1; }, 5000));
    QTest::qWait(2 * InputMethodSwitch::RetryIntervalMs);
    EXPECT_EQ(fake.inputMethod.switches().size(), InputMethodSwitch::Retries + 1);
}

TEST_F(MainInputMethodTest, DateFieldsKeepTheInputMethodOutAndFoldFullWidthDigits) {
    TMainForm& w = startWithTodayIme('1');
    for (QLineEdit* field : {w.EditYear, w.EditMonth, w.EditDate}) {
        SCOPED_TRACE(field->objectName().toStdString());
        EXPECT_FALSE(field->testAttribute(Qt::WA_InputMethodEnabled));
    }
    w.EditDate->setFocus();
    w.EditDate->selectAll();
    testsupport::typeText(w.EditDate, u"１０"_s);
    EXPECT_EQ(w.EditDate->text(), u"10"_s);
    // 2026-12-10 is a Thursday.
    EXPECT_EQ(w.BoxDay->currentText(), u"(木)"_s);
}

} // namespace
