// Find, replace and go to a line through the main window: the keys, the bar,
// the notes, one undo step for すべて置換 and the page's modified mark.

#include "app/MainFormFixture.h"
#include "document/FindBar.h"
#include "resources/Messages.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

using namespace Qt::StringLiterals;

class MainSearchTest : public MainFormTest {
protected:
    void SetUp() override {
        MainFormTest::SetUp();
        start();
    }
    // The editor of the tab holds text, the caret at its start, with the focus.
    DiaryEditor* prepare(bool today, const QString& text) {
        DiaryEditor* editor = today ? form->MToday : form->RAll;
        editor->setPlainText(text);
        editor->document()->setModified(false);
        editor->moveCursor(QTextCursor::Start);
        QApplication::setActiveWindow(form.get());
        editor->setFocus();
        return editor;
    }
    static QString selected(const DiaryEditor* editor) {
        const QTextCursor cursor = editor->textCursor();
        return u"%1:%2"_s.arg(editor->document()->findBlock(cursor.selectionStart()).blockNumber() + 1)
            .arg(cursor.selectedText());
    }
    static void key(Qt::Key k, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QTest::keyClick(QApplication::focusWidget(), k, modifiers);
    }
};

TEST_F(MainSearchTest, FindBarKeysWrapAndEscape) {
    showTodayTab();
    DiaryEditor* editor = prepare(true, u"日記 one\nthe 日記\nno\n日記 end"_s);
    FindBar* bar = form->FindBarToday;
    key(Qt::Key_F3, Qt::ControlModifier);
    ASSERT_TRUE(bar->isVisible());
    EXPECT_EQ(QApplication::focusWidget(), bar->FindField);
    EXPECT_FALSE(bar->ReplaceField->isVisible());
    testsupport::typeText(bar->FindField, u"日記"_s);
    QTRY_COMPARE(bar->CountLabel->text(), msg::searchCount(3));
    key(Qt::Key_Return);
    EXPECT_EQ(selected(editor), u"1:日記"_s);
    key(Qt::Key_Return);
    EXPECT_EQ(selected(editor), u"2:日記"_s);
    key(Qt::Key_Return, Qt::ShiftModifier);
    EXPECT_EQ(selected(editor), u"1:日記"_s);
    key(Qt::Key_Return, Qt::ShiftModifier);
    EXPECT_EQ(selected(editor), u"4:日記"_s);
    EXPECT_EQ(bar->NoteLabel->text(), msg::SearchWrappedToEnd);

    // Esc gives the focus back, the match still selected; F3 and Shift+F3 go on.
    key(Qt::Key_Escape);
    EXPECT_FALSE(bar->isVisible());
    EXPECT_EQ(QApplication::focusWidget(), editor);
    EXPECT_EQ(selected(editor), u"4:日記"_s);
    key(Qt::Key_F3);
    EXPECT_EQ(selected(editor), u"1:日記"_s);
    EXPECT_EQ(form->PanelStatusTsm->text(), msg::SearchWrappedToStart);
    key(Qt::Key_F3, Qt::ShiftModifier);
    EXPECT_EQ(selected(editor), u"4:日記"_s);

    // The page's bar has the same search; a one-line selection fills the field.
    showDocumentTab();
    EXPECT_EQ(form->FindBarAll->FindField->text(), u"日記"_s);
    showTodayTab();
    QTextCursor cursor = editor->textCursor();
    cursor.setPosition(3);
    cursor.setPosition(6, QTextCursor::KeepAnchor);
    editor->setTextCursor(cursor);
    key(Qt::Key_F3, Qt::ControlModifier);
    EXPECT_EQ(bar->FindField->text(), u"one"_s);

    // A bad expression is said in the bar; a missing word too.
    bar->RegularExpression->click();
    testsupport::typeText(bar->FindField, u"("_s);
    EXPECT_EQ(bar->NoteLabel->text(),
              msg::searchPatternInvalid(textsearch::Matcher(u"("_s, bar->options()).errorText()));
    // The page's bar takes the options without a word in its tab's status panel.
    bar->RegularExpression->click();
    bar->RegularExpression->click();
    EXPECT_NE(form->PanelStatusRsm->text(), bar->NoteLabel->text());
    bar->FindField->setText(u"zzz"_s);
    key(Qt::Key_Return);
    EXPECT_EQ(bar->NoteLabel->text(), msg::searchNotFound(u"zzz"_s));
}

TEST_F(MainSearchTest, ReplaceAllIsOneUndoStepAndMarksThePageModified) {
    showDocumentTab();
    form->NewAction->trigger();
    const QString text = u"<p>日記</p>\n日記と日記\n<b>日記</b>"_s;
    DiaryEditor* editor = prepare(false, text);
    ASSERT_FALSE(form->document().isModified());
    FindBar* bar = form->FindBarAll;
    key(Qt::Key_R, Qt::ControlModifier);
    ASSERT_TRUE(bar->ReplaceField->isVisible());
    testsupport::typeText(bar->FindField, u"日記"_s);
    key(Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), bar->ReplaceField);
    testsupport::typeText(bar->ReplaceField, u"日誌"_s);
    bar->BtnReplaceAll->click();
    EXPECT_EQ(editor->toPlainText(), u"<p>日誌</p>\n日誌と日誌\n<b>日誌</b>"_s);
    EXPECT_EQ(bar->NoteLabel->text(), msg::replacedCount(4));
    EXPECT_TRUE(form->document().isModified());
    key(Qt::Key_Escape);
    key(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(editor->toPlainText(), text);

    // In a selection of more than one line only; groups with an expression;
    // 置換 replaces the selected match and selects the next.
    QTextCursor cursor = editor->textCursor();
    cursor.setPosition(3);
    cursor.setPosition(int(text.indexOf(u"と"_s)), QTextCursor::KeepAnchor);
    editor->setTextCursor(cursor);
    key(Qt::Key_R, Qt::ControlModifier);
    bar->RegularExpression->click();
    bar->FindField->setText(u"日(記)"_s);
    bar->ReplaceField->setText(u"[\\1]"_s);
    bar->BtnReplaceAll->click();
    EXPECT_EQ(editor->toPlainText(), u"<p>[記]</p>\n[記]と日記\n<b>日記</b>"_s);
    bar->BtnReplace->click(); // nothing selected that matches: finds the next
    EXPECT_EQ(selected(editor), u"2:日記"_s);
    bar->BtnReplace->click();
    EXPECT_EQ(editor->toPlainText(), u"<p>[記]</p>\n[記]と[記]\n<b>日記</b>"_s);
    EXPECT_EQ(selected(editor), u"3:日記"_s);
}

TEST_F(MainSearchTest, GoToLineRefusesWhatIsNoLine) {
    showTodayTab();
    DiaryEditor* editor = prepare(true, u"a\nb\nc\nd"_s);
    FindBar* bar = form->FindBarToday;
    key(Qt::Key_G, Qt::ControlModifier | Qt::ShiftModifier);
    ASSERT_TRUE(bar->LineField->isVisible());
    EXPECT_FALSE(bar->FindField->isVisible());
    for (const QString& wrong : {u"0"_s, u"5"_s, u"x"_s, QString()}) {
        bar->LineField->setText(wrong);
        key(Qt::Key_Return);
        EXPECT_EQ(bar->NoteLabel->text(), msg::lineOutOfRange(4)) << wrong.toStdString();
        EXPECT_EQ(editor->caretLine(), 1);
    }
    bar->LineField->setText(u"3"_s);
    key(Qt::Key_Return);
    EXPECT_EQ(editor->caretLine(), 3);
    EXPECT_EQ(editor->caretColumn(), 1);
    EXPECT_FALSE(bar->isVisible());
    EXPECT_EQ(QApplication::focusWidget(), editor);
}

TEST_F(MainSearchTest, EndlessBacktrackingIsStopped) {
    showTodayTab();
    DiaryEditor* editor = prepare(true, (QString(28, u'a') + u"b\n"_s).repeated(400));
    FindBar* bar = form->FindBarToday;
    key(Qt::Key_F3, Qt::ControlModifier);
    bar->RegularExpression->click();
    testsupport::typeText(bar->FindField, u"(a+)+$"_s);
    key(Qt::Key_Return);
    EXPECT_EQ(bar->NoteLabel->text(), msg::SearchTooSlow);
    EXPECT_FALSE(editor->textCursor().hasSelection());
}
