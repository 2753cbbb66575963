// The main window's command states per tab and document state, the keys of
// the commands with the focus in either editor, wrapping and the tool panel.

#include "app/MainFormFixture.h"

#include <QClipboard>
#include <QComboBox>
#include <QLabel>
#include <QMap>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QToolButton>

using namespace Qt::StringLiterals;

namespace {

struct Expected {
    QAction* action;
    bool today, noDocument, document;
};

} // namespace

TEST_F(MainFormTest, CommandStatesFollowTheTabAndTheDocument) {
    TMainForm& w = start();
    const QList<Expected> table = {
        {w.NewAction, false, true, true},
        {w.OpenAction, false, true, true},
        {w.FileHistory->menuAction(), false, true, true},
        {w.FileProjects->menuAction(), false, true, true},
        {w.SaveAction, false, false, true},
        {w.SaveAsAction, false, false, true},
        {w.InsertDiaryAction, false, false, true},
        {w.FileTodayNew, true, false, false},
        {w.FileTodaySave, true, false, false},
        {w.InsertTitle, true, false, false},
        {w.ViewWrapSet, true, false, false},
        {w.ViewWrapSet2, false, true, true},
        {w.TagBRAction, true, false, true},
        {w.TagHRAction, true, false, true},
        {w.TagLinkAction, true, false, true},
        {w.TagGraphAction, true, false, true},
        {w.TagDecAction, true, false, true},
        {w.TagPosAction, true, false, true},
        {w.SPCltAction, true, false, true},
        {w.SPCgtAction, true, false, true},
        {w.SPCampAction, true, false, true},
        {w.SPCquotAction, true, false, true},
    };
    auto check = [&](const char* state, bool Expected::*column) {
        for (const Expected& row : table)
            EXPECT_EQ(row.action->isEnabled(), row.*column)
                << state << ": " << row.action->objectName().toStdString() << " "
                << row.action->text().toStdString();
    };
    check("today", &Expected::today);
    showDocumentTab();
    check("no document", &Expected::noDocument);
    EXPECT_FALSE(w.SentenceAction->isEnabled());
    EXPECT_FALSE(w.BtnSentence->isEnabled());
    w.NewAction->trigger();
    showTodayTab();
    showDocumentTab();
    check("document", &Expected::document);
    EXPECT_TRUE(w.SentenceAction->isEnabled());
    EXPECT_TRUE(w.InsTimeAction->isEnabled());
    EXPECT_TRUE(w.SPCspace->isEnabled());
    // On the today tab these keep what they had.
    showTodayTab();
    EXPECT_TRUE(w.SentenceAction->isEnabled());
    // Buttons follow their commands.
    EXPECT_FALSE(w.BtnSave->isEnabled());
    EXPECT_FALSE(w.BtnInsertDiary->isEnabled());
}

TEST_F(MainFormTest, CtrlNBelongsToTheShownTab) {
    TMainForm& w = start();
    w.activateWindow();
    testsupport::typeText(w.MToday, u"text"_s);
    fake.messages.answerNext(MsgAnswer::Yes);
    QTest::keyClick(w.MToday, Qt::Key_N, Qt::ControlModifier);
    EXPECT_TRUE(w.MToday->toPlainText().isEmpty());
    EXPECT_EQ(fake.messages.last().caption, u"確認"_s);
    EXPECT_EQ(w.PanelFileName->text(), u"None."_s);

    showDocumentTab();
    QTest::keyClick(w.RAll, Qt::Key_N, Qt::ControlModifier);
    EXPECT_EQ(w.PanelFileName->text(), u"New File."_s);
}

TEST_F(MainFormTest, EveryCommandKeyReachesItsCommandFromEitherEditor) {
    TMainForm& w = start();
    w.activateWindow();
    showDocumentTab();
    w.NewAction->trigger();
    w.appSet.ExternalApp1 = u"ftp"_s;
    w.appSet.ExternalApp2 = u"editor"_s;
    w.ApplyHtmlFlagControls();
    w.SendIEAction->setEnabled(true);
    w.SendNNAction->setEnabled(true);
    w.SendOperaAction->setEnabled(true);

    // Commands whose handlers would change tabs, close the window or ask
    // questions are disconnected here: only the routing of the key is tested.
    for (QAction* action : w.actions())
        action->disconnect(SIGNAL(triggered(bool)));

    auto pressIn = [&](DiaryEditor* editor, QAction* action) {
        QSignalSpy spy(action, &QAction::triggered);
        editor->setFocus();
        for (const QKeySequence& key : action->shortcuts()) {
            spy.clear();
            const QKeyCombination combination = key[0];
            QTest::keyClick(editor, combination.key(), combination.keyboardModifiers());
            EXPECT_EQ(spy.count(), 1)
                << action->objectName().toStdString() << " " << key.toString().toStdString() << " in "
                << editor->objectName().toStdString();
        }
    };
    const QList<QAction*> documentCommands = {
        w.NewAction,         w.OpenAction,    w.SaveAction,        w.SaveAsAction,  w.FileExit,
        w.UndoAction,        w.CutAction,     w.CopyAction,        w.PasteAction,   w.AllSelectAction,
        w.InsertDiaryAction, w.TagBRAction,   w.TagHRAction,       w.TagLinkAction, w.TagGraphAction,
        w.TagDecAction,      w.TagPosAction,  w.SentenceAction,    w.SPCltAction,   w.SPCgtAction,
        w.SPCampAction,      w.SPCquotAction, w.SPCspace,          w.InsTimeAction, w.SendHtmlAction,
        w.SendIEAction,      w.SendNNAction,  w.SendOperaAction,   w.EditorAction,  w.FtpToolAction,
        w.HelpMan,           w.ProjectAction, w.TagHighlightAction};
    w.SaveAction->setEnabled(true);
    w.SaveAsAction->setEnabled(true);
    for (QAction* action : documentCommands) {
        ASSERT_TRUE(action->isEnabled()) << action->objectName().toStdString();
        pressIn(w.RAll, action);
    }
    showTodayTab();
    for (QAction* action :
         {w.FileTodayNew,  w.FileTodaySave,   w.InsertTitle,       w.UndoAction,     w.CopyAction,
          w.PasteAction,   w.AllSelectAction, w.TagBRAction,       w.TagHRAction,    w.InsTimeAction,
          w.FileExit,      w.HelpMan,         w.TagLinkAction,     w.TagGraphAction, w.TagDecAction,
          w.TagPosAction,  w.SentenceAction,  w.SPCltAction,       w.SPCgtAction,    w.SPCampAction,
          w.SPCquotAction, w.SPCspace,        w.TagHighlightAction})
        pressIn(w.MToday, action);
}

TEST_F(MainFormTest, TabKeysSwitchTabsFromEitherEditor) {
    TMainForm& w = start();
    w.activateWindow();
    w.MToday->setFocus();
    QTest::keyClick(w.MToday, Qt::Key_Tab, Qt::ControlModifier);
    EXPECT_EQ(w.PageControlMain->currentWidget(), w.TabSheetAll);
    QTest::keyClick(w.RAll, Qt::Key_PageUp, Qt::ControlModifier);
    EXPECT_EQ(w.PageControlMain->currentWidget(), w.TabSheetToday);
    QTest::keyClick(w.MToday, Qt::Key_PageDown, Qt::ControlModifier);
    EXPECT_EQ(w.PageControlMain->currentWidget(), w.TabSheetAll);
    QTest::keyClick(w.RAll, Qt::Key_Backtab, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(w.PageControlMain->currentWidget(), w.TabSheetToday);
    // Each switch ran the command states.
    EXPECT_TRUE(w.FileTodayNew->isEnabled());
    EXPECT_FALSE(w.NewAction->isEnabled());
}

TEST_F(MainFormTest, PasteWithAnEmptyClipboardDoesNothing) {
    TMainForm& w = start();
    w.activateWindow();
    QGuiApplication::clipboard()->clear();
    testsupport::typeText(w.MToday, u"ab"_s);
    QTest::keyClick(w.MToday, Qt::Key_V, Qt::ControlModifier);
    QTest::keyClick(w.MToday, Qt::Key_Insert, Qt::ShiftModifier);
    w.PasteAction->trigger();
    EXPECT_EQ(w.MToday->toPlainText(), u"ab"_s);

    QGuiApplication::clipboard()->setText(u"貼"_s);
    w.PasteAction->trigger();
    QTest::keyClick(w.MToday, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(w.MToday->toPlainText(), u"ab貼貼"_s);
}

TEST_F(MainFormTest, WrapItemsFlipTheirFlags) {
    TMainForm& w = start();
    w.ViewWrapSet->trigger();
    EXPECT_EQ(w.appSet.flag(TodayWrapFlag), '1');
    EXPECT_TRUE(w.ViewWrapSet->isChecked());
    EXPECT_EQ(w.MToday->lineWrapMode(), QPlainTextEdit::WidgetWidth);
    w.ViewWrapSet->trigger();
    EXPECT_EQ(w.appSet.flag(TodayWrapFlag), '0');
    EXPECT_FALSE(w.ViewWrapSet->isChecked());

    showDocumentTab();
    w.appSet.setFlag(AllWrapFlag, 'x');
    w.ViewWrapSet2->trigger();
    EXPECT_EQ(w.appSet.flag(AllWrapFlag), '0');
    EXPECT_EQ(w.RAll->lineWrapMode(), QPlainTextEdit::NoWrap);
    w.ViewWrapSet2->trigger();
    EXPECT_EQ(w.appSet.flag(AllWrapFlag), '1');
    EXPECT_EQ(w.RAll->lineWrapMode(), QPlainTextEdit::WidgetWidth);
}

TEST_F(MainFormTest, SettingsReachTheControls) {
    TMainForm& w = start();
    w.appSet.setFlag(ToolbarHiddenFlag, '1');
    w.htmlSet.setFlag(WeekdayFlag, '1');
    w.htmlSet.setFlag(WeekdayFormFlag, '3');
    w.htmlSet.HtmlDataTitle = u"シンプル"_s;
    w.AfterHtmlSettingsDialog();
    w.AfterAppSettingsDialog();
    EXPECT_TRUE(w.PanelAllBtn->isHidden());
    EXPECT_FALSE(w.BoxDay->isEnabled());
    EXPECT_EQ(w.BoxDay->currentText(), u"Tuesday"_s);
    EXPECT_EQ(w.PanelHtmlName->text(), u"シンプル"_s);
    EXPECT_EQ(
        w.PanelHtmlName->toolTip(),
        u"現在選択されているHTMLタグ設定は、[シンプル]です。\n変更したい場合は、「HTML設定」で出来ます。"_s);

    // The line-break mode box writes the flag.
    EXPECT_EQ(w.ComboBoxAutoBR->currentIndex(), 0);
    EXPECT_FALSE(w.BtnBR->isEnabled());
    w.ComboBoxAutoBR->setCurrentIndex(1);
    emit w.ComboBoxAutoBR->activated(1);
    EXPECT_EQ(w.htmlSet.flag(AutoBrFlag), '1');
    EXPECT_TRUE(w.BtnBR->isEnabled());
    // Editor and FTP commands follow their programs.
    EXPECT_FALSE(w.FtpToolAction->isEnabled());
    w.appSet.ExternalApp1 = u"/usr/bin/ftp"_s;
    w.ApplyHtmlFlagControls();
    EXPECT_TRUE(w.FtpToolAction->isEnabled());
}

TEST_F(MainFormTest, EveryMenuTitleAndPanelTextFitsTheDefaultWidth) {
    TMainForm& w = start();
    ASSERT_EQ(w.width(), 620);
    QMenuBar* bar = w.menuBar();
    for (QAction* title : bar->actions())
        EXPECT_TRUE(bar->rect().contains(bar->actionGeometry(title))) << title->text().toStdString();
    const auto* extension = bar->findChild<QToolButton*>(u"qt_menubar_ext_button"_s);
    EXPECT_FALSE(extension && extension->isVisible()) << "the menu bar's overflow button";

    // Every caption shows whole and inside the window: labels (but the file
    // name, which may be longer than any window), buttons and boxes.
    // (The date fields' arrows are narrower than the style would make them.)
    for (QWidget* tab : {w.TabSheetToday, w.TabSheetAll}) {
        w.PageControlMain->setCurrentWidget(tab);
        QApplication::processEvents();
        const QRect inside = w.centralWidget()->rect();
        for (QWidget* control : w.centralWidget()->findChildren<QWidget*>()) {
            const auto* label = qobject_cast<QLabel*>(control);
            const auto* button = qobject_cast<QAbstractButton*>(control);
            const bool captioned = (label && !label->text().isEmpty()) ||
                                   (button && !button->text().isEmpty()) || qobject_cast<QComboBox*>(control);
            if (!captioned || !control->isVisible() || control == w.PanelFileName)
                continue;
            const QRect shown(control->mapTo(w.centralWidget(), QPoint(0, 0)), control->size());
            EXPECT_TRUE(inside.contains(shown)) << control->objectName().toStdString();
            EXPECT_GE(control->width(), control->minimumSizeHint().width())
                << control->objectName().toStdString();
        }
    }
    EXPECT_GE(w.PanelHtmlName->width(), w.PanelHtmlName->sizeHint().width());

    // The totals of a big page still show whole.
    w.PanelStatusR2->setText(u"全612030行 52428835文字"_s);
    QApplication::processEvents();
    EXPECT_GE(w.PanelStatusR2->contentsRect().width(),
              w.PanelStatusR2->fontMetrics().horizontalAdvance(w.PanelStatusR2->text()));
}

TEST_F(MainFormTest, EachMnemonicHasOneOwnerOnEachTab) {
    TMainForm& w = start();
    // Menus first: their titles' letters are theirs on both tabs.
    QMap<QString, QString> menuKeys;
    for (QAction* title : w.menuBar()->actions()) {
        const QString key = QKeySequence::mnemonic(title->text()).toString();
        EXPECT_FALSE(menuKeys.contains(key)) << title->text().toStdString();
        menuKeys.insert(key, title->text());
    }
    for (QWidget* tab : {w.TabSheetToday, w.TabSheetAll}) {
        w.PageControlMain->setCurrentWidget(tab);
        QMap<QString, QString> owners = menuKeys;
        for (QAbstractButton* button : w.centralWidget()->findChildren<QAbstractButton*>()) {
            if (!button->isVisible() || QKeySequence::mnemonic(button->text()).isEmpty())
                continue;
            const QString key = QKeySequence::mnemonic(button->text()).toString();
            EXPECT_FALSE(owners.contains(key))
                << button->text().toStdString() << " shares its key with " << owners.value(key).toStdString();
            owners.insert(key, button->text());
        }
    }
}
