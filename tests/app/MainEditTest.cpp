// The editing commands through the main window: quick tags and special
// characters in either editor, the tag builder's openers, the snippet menu,
// tag highlighting, the "<" warning and the Edit menu's states.

#include "app/MainFormFixture.h"
#include "dialogs/AppSetUnit.h"

#include "document/TagsLinkPage.h"
#include "document/TagsUnit.h"
#include "support/ModalDriver.h"
#include "today/DateFormat.h"

#include <QClipboard>
#include <QLineEdit>
#include <QMenu>
#include <QSignalSpy>
#include <QTextBlock>
#include <QTextLayout>
#include <QToolButton>

using namespace Qt::StringLiterals;

class MainEditTest : public MainFormTest {
protected:
    void SetUp() override {
        MainFormTest::SetUp();
        start();
        showDocumentTab();
        form->NewAction->trigger();
        form->htmlSet.HtmlBRTag = u"<BR>"_s;
        form->htmlSet.HtmlHRTag = u"<HR SIZE=\"1\">"_s;
    }
    // The editor of the tab holds "[selection]" with the selection selected, and the focus.
    DiaryEditor* prepare(bool today, const QString& selection) {
        today ? showTodayTab() : showDocumentTab();
        DiaryEditor* editor = today ? form->MToday : form->RAll;
        editor->setPlainText(u"["_s + selection + u"]"_s);
        QTextCursor cursor = editor->textCursor();
        cursor.setPosition(1);
        cursor.setPosition(1 + int(selection.size()), QTextCursor::KeepAnchor);
        editor->setTextCursor(cursor);
        QApplication::setActiveWindow(form.get());
        editor->setFocus();
        return editor;
    }
    QStringList snippetItems() const {
        QStringList items;
        for (const QAction* item : form->PopupSentence->actions())
            items << (item->isSeparator() ? u"-"_s : item->text() + u"|"_s + item->data().toString());
        return items;
    }
};

TEST_F(MainEditTest, QuickTagsAndSpecialCharactersReplaceTheSelection) {
    const QString time = FormatDiaryTime(false, form->htmlSet, QTime(9, 5, 3));
    const struct {
        bool today;
        Qt::Key key;
        Qt::KeyboardModifiers modifiers;
        QString inserted;
    } rows[] = {
        {true, Qt::Key_B, Qt::ControlModifier, u"<BR>\n"_s},
        {false, Qt::Key_B, Qt::ControlModifier, u"<BR>"_s},
        {true, Qt::Key_H, Qt::ControlModifier, u"<HR>\n"_s},
        {false, Qt::Key_H, Qt::ControlModifier, u"<HR>"_s},
        {true, Qt::Key_O, Qt::ControlModifier | Qt::AltModifier, u"&lt;"_s},
        {false, Qt::Key_C, Qt::ControlModifier | Qt::AltModifier, u"&gt;"_s},
        {true, Qt::Key_A, Qt::ControlModifier | Qt::AltModifier, u"&amp;"_s},
        {false, Qt::Key_D, Qt::ControlModifier | Qt::AltModifier, u"&quot;"_s},
        {false, Qt::Key_K, Qt::ControlModifier | Qt::AltModifier, u"&nbsp;"_s},
        {true, Qt::Key_J, Qt::ControlModifier, time},
        {false, Qt::Key_J, Qt::ControlModifier, time},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE((row.today ? "today " : "whole file ") + row.inserted.toStdString());
        DiaryEditor* editor = prepare(row.today, u"sel"_s);
        editor->document()->setModified(false);
        QTest::keyClick(editor, row.key, row.modifiers);
        EXPECT_EQ(editor->toPlainText(), u"["_s + row.inserted + u"]"_s);
        EXPECT_EQ(editor->textCursor().position(), 1 + row.inserted.size());
        EXPECT_TRUE(editor->document()->isModified());
        editor->undo();
        EXPECT_EQ(editor->toPlainText(), u"[sel]"_s) << "one undo step";
    }
}

TEST_F(MainEditTest, OpenersRefuseWithoutASelectionButTheImageOpens) {
    const struct {
        QAction* action;
        char mode;
        QString text, caption;
    } rows[] = {
        {form->TagLinkAction, 'L', u"リンクにしたい文字を範囲選択して下さい。"_s, u"リンク指定"_s},
        {form->TagDecAction, 'D', u"装飾したい文字、色を付けたい文字を、範囲選択して下さい。"_s,
         u"文字装飾・色指定"_s},
        {form->TagPosAction, 'P', u"位置を指定したい文字（または行）を、範囲選択して下さい。"_s,
         u"位置指定"_s},
    };
    for (bool today : {true, false}) {
        for (const auto& row : rows) {
            prepare(today, QString());
            row.action->trigger();
            EXPECT_EQ(form->appSet.tagDialogMode(), row.mode);
            EXPECT_EQ(fake.messages.last().text, row.text);
            EXPECT_EQ(fake.messages.last().caption, row.caption);
            EXPECT_EQ(fake.messages.last().icon, MsgIcon::Warning);
        }
    }
    fake.messages.clear();
    prepare(false, QString());
    auto driver = testsupport::onNextModal<TTagsForm>([](TTagsForm* tags) {
        EXPECT_EQ(tags->Mode(), TagMode::Graphic);
        tags->reject();
    });
    form->TagGraphAction->trigger();
    EXPECT_EQ(form->appSet.tagDialogMode(), 'G');
    EXPECT_EQ(fake.messages.count(), 0);
}

TEST_F(MainEditTest, CtrlLTypingAUrlAndEnterInsertsTheLink) {
    DiaryEditor* editor = prepare(false, u"Diary"_s);
    {
        auto driver = testsupport::onNextModal<TTagsForm>([](TTagsForm* tags) {
            EXPECT_EQ(tags->focusWidget(), tags->PageLink->EditLinkUrl) << "the URL has the focus";
            QTest::keyClicks(tags->focusWidget(), u"diary.html"_s);
            QTest::keyClick(tags->focusWidget(), Qt::Key_Return);
            if (tags->isVisible()) {
                ADD_FAILURE() << "Enter did not close the dialog";
                tags->reject();
            }
        });
        QTest::keyClick(editor, Qt::Key_L, Qt::ControlModifier);
    }
    EXPECT_EQ(editor->toPlainText(), uR"([<A HREF="diary.html">Diary</A>])"_s);

    // Cancelled with Esc: nothing changes.
    editor = prepare(true, u"x"_s);
    const AppSet before = form->appSet;
    {
        auto driver = testsupport::onNextModal<TTagsForm>(
            [](TTagsForm* tags) { QTest::keyClick(tags, Qt::Key_Escape); });
        QTest::keyClick(editor, Qt::Key_D, Qt::ControlModifier);
    }
    EXPECT_EQ(editor->toPlainText(), u"[x]"_s);
    EXPECT_EQ(form->appSet.DecoInfo2, before.DecoInfo2);
    EXPECT_EQ(form->appSet.flag(LowerCaseFlag), before.flag(LowerCaseFlag));
}

TEST_F(MainEditTest, SnippetMenuWrapsOrReplacesTheSelection) {
    prepare(false, u"abc"_s);
    form->SentenceAction->trigger(); // no sentence.csv: the fixed items only
    EXPECT_TRUE(form->PopupSentence->isVisible());
    EXPECT_EQ(snippetItems(), QStringList({u"-"_s, u"（任意タグ,単文の登録...）|1"_s}));
    form->PopupSentence->hide();

    writeFile(u"sentence.csv"_s, sjisBytes(u"# Oribel 用任意タグ・単文登録ファイル,\r\n"
                                           u"太字,<B>,</B>\r\n挨拶,こんにちは,#\r\nA&B,<I>,</I>\r\n"_s));
    {
        // The registration item opens the behaviour settings on the snippet page;
        // after it closes the menu is read again.
        auto driver = testsupport::onNextModal<TAppSetForm>([](TAppSetForm* dialog) {
            EXPECT_EQ(dialog->PageControl1->currentWidget(), dialog->SentenceSheet);
            dialog->reject();
        });
        form->SentenceEdit->trigger();
    }
    form->BtnSentence->click();
    EXPECT_EQ(snippetItems(), QStringList({u"太字|21"_s, u"挨拶|11"_s, u"A&&B|21"_s, u"-"_s,
                                           u"（任意タグ,単文の登録...）|1"_s}));
    form->PopupSentence->hide();
    QAction* bold = form->PopupSentence->actions().at(0);
    QAction* greeting = form->PopupSentence->actions().at(1);

    const struct {
        QAction* item;
        QString selection, result;
    } rows[] = {
        {bold, u"abc"_s, u"<B>abc</B>"_s},
        {bold, QString(), u"<B></B>"_s},
        {greeting, u"abc"_s, u"こんにちは"_s},
    };
    for (const auto& row : rows) {
        DiaryEditor* editor = prepare(false, row.selection);
        row.item->trigger();
        EXPECT_EQ(editor->toPlainText(), u"["_s + row.result + u"]"_s);
        EXPECT_EQ(editor->textCursor().position(), 1 + row.result.size());
    }
}

TEST_F(MainEditTest, CtrlSpaceOrCtrlShiftHColoursTheTagsOfEitherEditorOnly) {
    EXPECT_TRUE(form->MenuEdit->actions().contains(form->TagHighlightAction));
    // The menu item shows both keys.
    EXPECT_EQ(form->TagHighlightAction->text(), u"タグの色分け表示(&H)\tCtrl+Space, Ctrl+Shift+H"_s);
    for (bool today : {true, false}) {
        for (bool shiftH : {false, true}) {
            DiaryEditor* editor = prepare(today, u"<B>b</B>"_s);
            editor->document()->setModified(false);
            if (shiftH)
                QTest::keyClick(editor, Qt::Key_H, Qt::ControlModifier | Qt::ShiftModifier);
            else
                QTest::keyClick(editor, Qt::Key_Space, Qt::ControlModifier);
            editor->viewport()->repaint();
            EXPECT_EQ(editor->toPlainText(), u"[<B>b</B>]"_s) << "no space typed";
            EXPECT_FALSE(editor->document()->isModified());
            EXPECT_FALSE(editor->textCursor().hasSelection());
            EXPECT_EQ(editor->document()->firstBlock().layout()->formats().size(), 2);
        }
    }
}

TEST_F(MainEditTest, LessThanWarnsOnceInTodaysEditorOnly) {
    fake.messages.clear();
    testsupport::typeText(prepare(false, QString()), u"<"_s);
    form->appSet.setFlag(SpecialCharWarnOffFlag, '1');
    testsupport::typeText(prepare(true, QString()), u"<"_s);
    EXPECT_EQ(fake.messages.count(), 0);

    form->appSet.setFlag(SpecialCharWarnOffFlag, '0');
    DiaryEditor* today = prepare(true, QString());
    testsupport::typeText(today, u"a<b<"_s);
    EXPECT_EQ(today->toPlainText(), u"[a<b<]"_s) << "the character is still typed";
    ASSERT_EQ(fake.messages.count(), 1);
    EXPECT_EQ(
        fake.messages.last().text,
        u"あなたが今入力した「<」文字は、HTMLタグとして認識されます。\n\nもし、タグではなく「<」という文字そのものを表示させたいのであれば、「挿入」メニュー（もしくは、マウスの右クリック）内の「特殊文字」から入力して下さい。「>」、「&」、「\"」（全て半角文字）も同様です。\n\n（この警告は、「動作設定」で、表示させないよう設定できます。）"_s);
    EXPECT_EQ(fake.messages.last().caption, u"特殊文字に関する注意"_s);
    EXPECT_EQ(fake.messages.last().icon, MsgIcon::Information);
}

TEST_F(MainEditTest, EditMenuStatesFollowTheClipboardAndTheSelection) {
    const struct {
        QString clipboard, selection;
        bool paste, cut;
    } rows[] = {
        {QString(), QString(), false, false},
        {u"x"_s, QString(), true, false},
        {QString(), u"s"_s, false, true},
    };
    for (const auto& row : rows) {
        QGuiApplication::clipboard()->setText(row.clipboard);
        prepare(false, row.selection);
        Q_EMIT form->MenuEdit->aboutToShow();
        EXPECT_EQ(form->PasteAction->isEnabled(), row.paste);
        EXPECT_EQ(form->CutAction->isEnabled(), row.cut);
        EXPECT_EQ(form->CopyAction->isEnabled(), row.cut);
        EXPECT_EQ(form->DelAction->isEnabled(), row.cut);
        EXPECT_TRUE(form->UndoAction->isEnabled());
        EXPECT_TRUE(form->AllSelectAction->isEnabled());
    }
}

TEST_F(MainEditTest, ADisabledCommandsKeyDoesNothingInEitherEditor) {
    for (bool today : {true, false}) {
        for (QAction* action : form->actions()) {
            for (const QKeySequence& key : action->shortcuts()) {
                SCOPED_TRACE(action->objectName().toStdString() + " " + key.toString().toStdString() +
                             (today ? " today" : " document"));
                DiaryEditor* editor = prepare(today, u"x"_s);
                editor->document()->setModified(false);
                const auto sharedByAnEnabledCommand = [&] {
                    for (const QAction* other : form->actions()) {
                        if (other != action && other->isEnabled() && other->shortcuts().contains(key))
                            return true;
                    }
                    return false;
                };
                if (sharedByAnEnabledCommand())
                    continue; // Ctrl+N: the other tab's New is disabled here
                action->setEnabled(false);
                QSignalSpy triggered(action, &QAction::triggered);
                QTest::keyClick(editor, key[0].key(), key[0].keyboardModifiers());
                EXPECT_EQ(editor->toPlainText(), u"[x]"_s);
                EXPECT_FALSE(editor->document()->isModified());
                EXPECT_EQ(triggered.count(), 0);
                action->setEnabled(true);
            }
        }
    }
}

TEST_F(MainEditTest, EachInsertingCommandIsAnUndoStepOfItsOwn) {
    using M = TMainForm;
    for (bool today : {true, false}) {
        SCOPED_TRACE(today ? "today" : "document");
        DiaryEditor* editor = prepare(today, QString());
        QStringList states = {editor->toPlainText()};
        const auto typed = [&](const QString& text) {
            QTest::keyClicks(editor, text);
            states << editor->toPlainText();
        };
        const auto command = [&](QAction* M::*action) {
            (form.get()->*action)->trigger();
            states << editor->toPlainText();
        };
        typed(u"ab"_s);
        command(&M::TagHRAction);
        command(&M::SPCltAction);
        command(&M::InsTimeAction);
        typed(u"cd"_s);
        command(&M::TagBRAction);
        typed(u"ef"_s);
        for (qsizetype i = states.size() - 1; i > 0; --i) {
            ASSERT_EQ(editor->toPlainText(), states[i]) << i;
            editor->undo();
        }
        EXPECT_EQ(editor->toPlainText(), states[0]);
    }
}
