#include "dialogs/AppSetUnit.h"

#include "app/MainFormFixture.h"
#include "resources/AuthorAddresses.h"
#include "resources/Messages.h"
#include "support/FakePlatform.h"
#include "support/ModalDriver.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QFontDatabase>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTableWidget>
#include <QTest>
#include <functional>
#include <gtest/gtest.h>
#include <memory>

using namespace Qt::StringLiterals;

namespace {

// "# Oribel 用ブックマーク記録ファイル," and "# Oribel 用任意タグ・単文登録ファイル," in CP932.
const QByteArray BookmarkHeader = "# Oribel \x97\x70\x83\x75\x83\x62\x83\x4E\x83\x7D\x81\x5B\x83\x4E\x8B\x4C"
                                  "\x98\x5E\x83\x74\x83\x40\x83\x43\x83\x8B,\r\n";
const QByteArray SnippetHeader = "# Oribel \x97\x70\x94\x43\x88\xD3\x83\x5E\x83\x4F\x81\x45\x92\x50\x95\xB6"
                                 "\x93\x6F\x98\x5E\x83\x74\x83\x40\x83\x43\x83\x8B,\r\n";
const QSize Screen(1920, 1080);

AppSet sampleRecord() {
    AppSet set;
    for (int i = 0; i < AppFlagStoredCount; ++i)
        set.AppSetFlags[i] = '0';
    set.WindowWidth = u"620"_s;
    set.WindowHeight = u"420"_s;
    set.WindowXPosition = u"10"_s;
    set.WindowYPosition = u"20"_s;
    set.EditFontSizeT = u"12"_s;
    set.EditFontSize = u"10"_s;
    set.EditFontFaceT = u"ＭＳ ゴシック"_s;
    set.EditFontFace = u"ＭＳ 明朝"_s;
    set.AlwaysOpenHtml = u"/old/diary.html"_s;
    set.WriteDiaryFrequency = 1;
    return set;
}

// Types into whatever has the focus, as the user would.
void type(const QString& text) {
    testsupport::typeText(QApplication::focusWidget(), text);
}
void pressTab() {
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
}

QString cellText(const QTableWidget* grid, int row, int column) {
    const QTableWidgetItem* item = grid->item(row, column);
    return item ? item->text() : QString();
}

class AppSetFormTest : public MainFormTest {
protected:
    // Creates the dialog on the record and shows it active, so focus moves
    // as it does for the user.
    TAppSetForm& open(const QString& programFolder = {}) {
        mainWindow.setGeometry(30, 40, 700, 500);
        const AppSetContext context{
            appSet,     fake.messages,
            openDialog, programFolder.isEmpty() ? fake.programFolder() : programFolder,
            Screen,     u"/opt/ie/iexplore"_s,
            QString(),  &mainWindow};
        dialog = std::make_unique<TAppSetForm>(context);
        dialog->show();
        dialog->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(dialog.get()));
        return *dialog;
    }
    void focus(QWidget* widget) {
        widget->setFocus(Qt::OtherFocusReason);
        QCoreApplication::processEvents();
    }
    QString listFile(const QString& name) const { return fake.programFile(name); }

    AppSet appSet = sampleRecord();
    QWidget mainWindow;
    FileDialog openDialog{FileDialogKind::Open, &fake.fileDialogs};
    std::unique_ptr<TAppSetForm> dialog;
};

} // namespace

TEST_F(AppSetFormTest, ShowBringsTheRecordIntoTheControlsAndOkWritesThemBack) {
    struct Switch {
        AppFlag position;
        QCheckBox* TAppSetForm::*box;
    };
    const Switch switches[] = {
        {TodayImeFlag, &TAppSetForm::CheckImeOn},
        {ErrorHtmlOffFlag, &TAppSetForm::CheckErrorHtml},
        {BrowserPathManualFlag, &TAppSetForm::CheckPathFromReg},
        {ReservedFlag, &TAppSetForm::CheckBarMsg},
        {SpecialCharWarnOffFlag, &TAppSetForm::CheckOption1},
        {ToolbarHiddenFlag, &TAppSetForm::CheckTooBar},
        {TodayWrapFlag, &TAppSetForm::CheckRight},
        {AllWrapFlag, &TAppSetForm::Checkleft},
    };
    // switches: the character in every switch position; each box is clicked before OK.
    // autoOpen: 0 RadioAutoNo, 1 RadioAutoHist, 2 RadioAutoUser; item: the frequency shown.
    struct Case {
        char switches, placement, autoFlag;
        int frequency;
        char page;
        bool user;
        int autoOpen, item;
        QWidget* TAppSetForm::*shown;
    };
    const Case cases[] = {
        {'0', '0', '0', 1, '\0', false, 0, 0, &TAppSetForm::FirstRunSheet},
        {'1', '1', '1', 2, 'B', true, 1, 1, &TAppSetForm::BookmarkSheet},
        {'x', 'z', '2', 3, 'S', true, 2, 2, &TAppSetForm::SentenceSheet},
        {'0', '1', '7', 0, 'P', true, 2, 0, &TAppSetForm::SameTimeRenewalSheet},
        {'1', '0', '0', 9, 'Q', false, 0, 0, &TAppSetForm::FirstRunSheet},
    };
    for (const Case& c : cases) {
        for (const Switch& s : switches)
            appSet.setFlag(s.position, c.switches);
        appSet.setFlag(WindowPlacementFlag, c.placement);
        appSet.setFlag(AutoOpenFlag, c.autoFlag);
        appSet.WriteDiaryFrequency = c.frequency;
        appSet.setSettingsDialogPage(c.page);
        open();
        const bool ticked = c.switches != '0';
        for (const Switch& s : switches)
            EXPECT_EQ((dialog.get()->*s.box)->isChecked(), ticked) << s.position << " " << c.switches;
        EXPECT_EQ(dialog->EditIePath->isHidden(), !ticked) << "the paths show while the box is ticked";
        EXPECT_EQ(dialog->LabelGuide->text(),
                  ticked ? u"下記の欄に、ブラウザのフルパスを入力して下さい。"_s
                         : u"（ブラウザの位置が、うまく認識されていない場合のみ、ON にして下さい。）"_s);
        const QRadioButton* autoRadios[] = {dialog->RadioAutoNo, dialog->RadioAutoHist,
                                            dialog->RadioAutoUser};
        EXPECT_EQ(dialog->RadioWinUser->isChecked(), c.user) << c.placement;
        EXPECT_EQ(dialog->EditWinWidth->isEnabled(), c.user) << c.placement;
        EXPECT_EQ(dialog->BtnSetNowInfo->isEnabled(), c.user) << c.placement;
        EXPECT_TRUE(autoRadios[c.autoOpen]->isChecked()) << c.autoFlag;
        EXPECT_EQ(dialog->EditAutoOpen->isReadOnly(), c.autoOpen != 2) << c.autoFlag;
        EXPECT_EQ(dialog->BtnSearchFullPath->isEnabled(), c.autoOpen == 2) << c.autoFlag;
        EXPECT_EQ(dialog->RadioOmakeItems->checkedId(), c.item) << c.frequency;
        EXPECT_EQ(dialog->PageControl1->currentWidget(), dialog.get()->*c.shown) << c.page;
        const QStringList texts = {dialog->EditWinX->text(), dialog->EditAutoOpen->text(),
                                   dialog->ComboAllFont->currentText()};
        EXPECT_EQ(texts, (QStringList{u"10"_s, u"/old/diary.html"_s, u"ＭＳ 明朝"_s}));

        for (const Switch& s : switches)
            (dialog.get()->*s.box)->click();
        dialog->BtnOK->click();
        for (const Switch& s : switches)
            EXPECT_EQ(appSet.flag(s.position), ticked ? '0' : '1') << s.position << " " << c.switches;
        EXPECT_EQ(appSet.WriteDiaryFrequency, c.item + 1) << c.frequency;
    }
}

TEST_F(AppSetFormTest, OkStoresStepByStepAndStopsAtAFailedCheck) {
    // autoOpen: 0 RadioAutoNo, 1 RadioAutoHist, 2 RadioAutoUser. stop: 0 closes, 1 at the
    // geometry, 2 at the automatic-open path.
    struct Case {
        const char* rule;
        bool user;
        const char* geometry;
        int autoOpen;
        const char* path;
        int stop;
        QString message = {};
        QLineEdit* TAppSetForm::*focused = nullptr;
    };
    const Case cases[] = {
        {"the smallest window at the far corner", true, "289,0,1920,1080", 0, "", 0},
        {"width 288 fails at step 1", true, "288,0,0,0", 0, "", 1, msg::GeometryWidthTooSmall,
         &TAppSetForm::EditWinWidth},
        {"X abc fails at step 5", true, "620,420,abc,0", 0, "", 1, msg::GeometryXBeyondRight,
         &TAppSetForm::EditWinX},
        {"nonsense is stored while the OS places the window", false, "abc,-,?,", 0, "", 0},
        {"a two-byte path fails", true, "289,0,0,0", 2, "\xE3\x81\x82", 2, msg::AutoOpenPathMissing,
         &TAppSetForm::EditAutoOpen},
        {"a three-byte path passes though it names no file", true, "289,0,0,0", 2, "abc", 0},
        {"the last saved file keeps the path", true, "289,0,0,0", 1, "new", 0},
    };
    const QStringList before = {u"620"_s, u"420"_s, u"10"_s, u"20"_s};
    for (const Case& c : cases) {
        appSet = sampleRecord();
        appSet.setFlag(AutoOpenFlag, '2');
        open();
        fake.messages.clear();
        const QStringList geometry = QString::fromLatin1(c.geometry).split(u',');
        QRadioButton* autoRadios[] = {dialog->RadioAutoNo, dialog->RadioAutoHist, dialog->RadioAutoUser};
        (c.user ? dialog->RadioWinUser : dialog->RadioWinOs)->click();
        const QList<QLineEdit*> edits = {dialog->EditWinWidth, dialog->EditWinHeight, dialog->EditWinX,
                                         dialog->EditWinY};
        for (int i = 0; i < 4; ++i)
            edits[i]->setText(geometry[i]);
        dialog->EditTodaySize->setText(u"14"_s);
        autoRadios[c.autoOpen]->click();
        dialog->EditAutoOpen->setText(QString::fromUtf8(c.path)); // "あ": one character, two bytes
        dialog->CheckImeOn->click();
        dialog->BtnOK->click();

        const QStringList stored = {appSet.WindowWidth, appSet.WindowHeight, appSet.WindowXPosition,
                                    appSet.WindowYPosition};
        EXPECT_EQ(stored, c.stop == 1 ? before : geometry) << c.rule;
        EXPECT_EQ(appSet.EditFontSizeT, c.stop == 1 ? u"12"_s : u"14"_s) << c.rule;
        EXPECT_EQ(appSet.flag(WindowPlacementFlag), c.stop != 1 && c.user ? '1' : '0') << c.rule;
        EXPECT_EQ(appSet.flag(AutoOpenFlag), c.stop == 0 ? "012"[c.autoOpen] : '2') << c.rule;
        EXPECT_EQ(appSet.AlwaysOpenHtml, c.stop == 0 && c.autoOpen == 2 ? u"abc"_s : u"/old/diary.html"_s);
        EXPECT_EQ(appSet.flag(TodayImeFlag), c.stop == 0 ? '1' : '0') << c.rule << ": later steps wait";
        if (c.stop == 0) {
            EXPECT_EQ(dialog->result(), QDialog::Accepted) << c.rule;
            EXPECT_EQ(fake.messages.count(), 0) << c.rule;
            continue;
        }
        EXPECT_TRUE(dialog->isVisible()) << c.rule;
        ASSERT_EQ(fake.messages.count(), 1) << c.rule;
        EXPECT_EQ(fake.messages.last().text, c.message) << c.rule;
        EXPECT_EQ(fake.messages.last().caption, u"入力エラー"_s) << c.rule;
        EXPECT_EQ(fake.messages.last().icon, MsgIcon::Warning) << c.rule;
        EXPECT_EQ(dialog->PageControl1->currentWidget(),
                  c.stop == 1 ? dialog->FirstRunSheet : dialog->EditHistSheet);
        EXPECT_EQ(QApplication::focusWidget(), dialog.get()->*c.focused) << c.rule;
    }
}

TEST_F(AppSetFormTest, SizeEditsAreRepairedOnLeavingThem) {
    struct Case {
        QString today, all, todayAfter, allAfter;
    };
    const Case cases[] = {
        {u"12"_s, u"4"_s, u"12"_s, u"10"_s},
        {QString(), u"5"_s, u"12"_s, u"5"_s},
        {u"999"_s, u"abc"_s, u"999"_s, u"10"_s},
    };
    open();
    for (const Case& c : cases) {
        focus(dialog->EditAllSize);
        dialog->EditTodaySize->setText(c.today);
        dialog->EditAllSize->setText(c.all);
        focus(dialog->ComboTodayFont);
        EXPECT_EQ(dialog->EditTodaySize->text(), c.todayAfter) << c.today.toStdString();
        EXPECT_EQ(dialog->EditAllSize->text(), c.allAfter) << c.all.toStdString();
    }
}

TEST_F(AppSetFormTest, NumberFieldsKeepTheInputMethodOutAndFoldFullWidthDigits) {
    open();
    dialog->RadioWinUser->click(); // the geometry fields take input
    for (QLineEdit* edit : {dialog->EditWinWidth, dialog->EditWinHeight, dialog->EditWinX, dialog->EditWinY,
                            dialog->EditTodaySize, dialog->EditAllSize}) {
        SCOPED_TRACE(edit->objectName().toStdString());
        EXPECT_FALSE(edit->testAttribute(Qt::WA_InputMethodEnabled));
        edit->clear();
        testsupport::typeText(edit, u"１２"_s);
        EXPECT_EQ(edit->text(), u"12"_s);
    }
}

TEST_F(AppSetFormTest, ButtonsShowTheirMessagesAndBrowseThroughTheSharedDialog) {
    appSet.setFlag(AutoOpenFlag, '2');
    open();
    struct Message {
        QPushButton* TAppSetForm::*button;
        QString text, caption;
    };
    const Message messages[] = {
        {&TAppSetForm::BtnViewPath,
         u"ブラウザのインストール場所解析結果\n\nInternet Explorer:\n/opt/ie/iexplore\n\nNetscape "
         u"Navigator:\n\n\n"
         u"インストール場所は、毎回起動時にレジストリを検索して得ています。\nWindowsNTでは、正しく解析できない場合があります。"_s,
         u"Information."_s},
        {&TAppSetForm::BtnSpecialChar, msg::SpecialCharExplanation, u"特殊文字って何？"_s},
        {&TAppSetForm::BtnProjectHelp, msg::ProjectHelp, u"同時更新HTML登録ヘルプ"_s},
    };
    for (const Message& m : messages) {
        (dialog.get()->*m.button)->click();
        EXPECT_EQ(fake.messages.last().text, m.text);
        EXPECT_EQ(fake.messages.last().caption, m.caption);
        EXPECT_EQ(fake.messages.last().icon, MsgIcon::Information);
    }

    struct Browse {
        QPushButton* TAppSetForm::*button;
        QLineEdit* TAppSetForm::*target;
        QString title, filter;
    };
    const Browse browses[] = {
        {&TAppSetForm::BtnSearchFullPath, &TAppSetForm::EditAutoOpen, u"HTMLファイル選択"_s,
         u"HTMLファイル(*.html)|*.htm*;*.xml|スクリプト(*.js)|*.vbs;*.js|すべてのファイル|*.*"_s},
        // Programs first: here they have no extension.
        {&TAppSetForm::BtnFtpPath, &TAppSetForm::EditFtp, u"外部アプリケーションの指定"_s,
         u"プログラム|<executable>|アプリケーション(*.exe)|*.exe;*.com|スクリプト(*.bat)|*.bat;*.vbs;*.js|"
         u"すべてのファイル|*.*"_s},
        {&TAppSetForm::BtnEditorPath, &TAppSetForm::EditEditor, msg::ExternalAppBrowseTitle,
         msg::ProgramFilesFilterName + u"|<executable>|"_s + msg::ExternalAppBrowseFilter},
    };
    for (const Browse& b : browses) {
        openDialog.filterIndex = 3;
        openDialog.initialDir = u"/somewhere"_s;
        const QString chosen = u"/chosen/"_s + b.title;
        fake.fileDialogs.chooseNext(chosen, 2);
        (dialog.get()->*b.button)->click();
        EXPECT_EQ(fake.fileDialogs.last().title, b.title);
        EXPECT_EQ(fake.fileDialogs.last().filter, b.filter);
        EXPECT_EQ(fake.fileDialogs.last().filterIndex, 1);
        EXPECT_TRUE(fake.fileDialogs.last().initialDir.isEmpty());
        EXPECT_EQ((dialog.get()->*b.target)->text(), chosen);
    }

    dialog->RadioWinUser->click();
    dialog->BtnSetNowInfo->click();
    const QStringList now = {dialog->EditWinWidth->text(), dialog->EditWinHeight->text(),
                             dialog->EditWinX->text(), dialog->EditWinY->text()};
    EXPECT_EQ(now, (QStringList{u"700"_s, u"500"_s, QString::number(mainWindow.x()),
                                QString::number(mainWindow.y())}));
}

TEST_F(AppSetFormTest, SplashFlagFileFollowsTheBoxAndItsFailuresAreReported) {
    // before: 'f' a flag file, 'd' a folder of that name (cannot be deleted as a file), '-' none.
    // A program folder that does not exist cannot take a new flag file.
    struct Case {
        char before;
        bool missingFolder, ticked, after;
        QString message = {}, caption = {};
    };
    const Case cases[] = {
        {'-', false, true, true},
        {'f', false, false, false},
        {'f', false, true, true},
        {'-', false, false, false},
        {'d', false, false, true, u"スプラッシュ・ウインドウの表示抑制を解除できません。"_s,
         u"設定を削除できません"_s},
        {'-', true, true, false, u"スプラッシュ・ウインドウの表示抑制に失敗しました。"_s,
         u"設定を書き込めません"_s},
    };
    const QString flag = fake.programFile(u"NOSPLASH.FLG"_s);
    for (const Case& c : cases) {
        QFile::remove(flag);
        QDir(fake.programFolder()).rmdir(u"NOSPLASH.FLG"_s);
        if (c.before == 'f')
            writeFile(flag, "kept");
        else if (c.before == 'd')
            QDir(fake.programFolder()).mkdir(u"NOSPLASH.FLG"_s);
        fake.messages.clear();
        open(c.missingFolder ? fake.programFile(u"missing/"_s) : QString());
        EXPECT_EQ(dialog->CheckSplash->isChecked(), c.before != '-' && !c.missingFolder);
        dialog->CheckSplash->setChecked(c.ticked);
        dialog->CheckRight->click();
        dialog->BtnOK->click();
        EXPECT_EQ(QFileInfo::exists(flag), c.after) << c.before << c.ticked;
        if (c.before != 'd' && c.after) {
            EXPECT_EQ(readBytes(flag), c.before == 'f' ? "kept" : "")
                << "an existing flag file is left alone";
        }
        EXPECT_EQ(fake.messages.texts(), c.message.isEmpty() ? QStringList() : QStringList{c.message});
        if (!c.message.isEmpty()) {
            EXPECT_EQ(fake.messages.last().caption, c.caption);
            EXPECT_EQ(fake.messages.last().icon, MsgIcon::Warning);
        }
        EXPECT_EQ(appSet.flag(TodayWrapFlag), '1') << "OK goes on";
        appSet.setFlag(TodayWrapFlag, '0');
    }
}

TEST_F(AppSetFormTest, SnippetGridGrowsAsTypedAndIsWrittenAsShown) {
    open();
    focus(dialog->StringGrid2);
    QTableWidget* grid = dialog->StringGrid2;
    EXPECT_EQ(grid->rowCount(), 1);
    type(u" 太字"_s);
    EXPECT_EQ(grid->rowCount(), 2) << "a key pressed while the bottom row holds text adds a row";
    pressTab();
    type(u"<b>"_s);
    pressTab();
    type(u"</b>"_s);
    pressTab();
    pressTab();
    type(u"hello"_s);
    EXPECT_EQ(grid->rowCount(), 3);
    dialog->BtnOK->click();

    EXPECT_EQ(readBytes(listFile(u"sentence.csv"_s)),
              SnippetHeader + "\x91\xBE\x8E\x9A,<b>,</b>\r\nhello,hello,#\r\n");
    const QStringList shown = {cellText(grid, 0, 0), cellText(grid, 1, 0), cellText(grid, 1, 2)};
    EXPECT_EQ(shown, (QStringList{u"太字"_s, u"hello"_s, u"#"_s})) << "the written cells are put back";
    EXPECT_FALSE(QFileInfo::exists(listFile(u"bookmark.csv"_s))) << "the bookmark grid was not touched";
}

TEST_F(AppSetFormTest, BookmarkGridIsWrittenUrlFirstWithinItsLimits) {
    writeFile(u"bookmark.csv"_s, BookmarkHeader + "http://a.example/,A\r\n");
    open();
    QTableWidget* grid = dialog->StringGrid1;
    ASSERT_EQ(grid->rowCount(), 2);
    EXPECT_EQ(cellText(grid, 0, 0) + cellText(grid, 0, 1), u"Ahttp://a.example/"_s) << "name, then URL";
    focus(grid);
    const QString longUrl = u"http://"_s + QString(193, u'x');
    grid->item(0, 1)->setText(QString());              // emptying the URL removes the entry
    grid->item(1, 1)->setText(u"http://b.example/"_s); // a URL without a name
    grid->insertRow(2);
    grid->setItem(2, 0, new QTableWidgetItem(u"  Site  "_s));
    grid->setItem(2, 1, new QTableWidgetItem(longUrl));
    dialog->BtnOK->click();

    EXPECT_EQ(readBytes(listFile(u"bookmark.csv"_s)), BookmarkHeader +
                                                          "http://b.example/,http://b.example/\r\n" +
                                                          longUrl.left(160).toLatin1() + ",Site\r\n");
    EXPECT_EQ(cellText(grid, 2, 0), u"Site"_s);
}

TEST_F(AppSetFormTest, ProjectGridKeepsEveryPathItHolds) {
    writeFile(u"default.str"_s, "/a.html\r\n#note\r\n\r\n/b.html\r\n");
    open();
    QTableWidget* grid = dialog->StringGrid3;
    ASSERT_EQ(grid->rowCount(), 5);
    EXPECT_EQ(cellText(grid, 1, 0), u"Default"_s);
    EXPECT_EQ(cellText(grid, 1, 1), u"#note"_s);

    fake.fileDialogs.chooseNext(u"/c.html"_s);
    dialog->BtnAddHtml->click();
    EXPECT_EQ(fake.fileDialogs.last().title, msg::ProjectBrowseTitle);
    EXPECT_EQ(grid->rowCount(), 6);
    // A path put into the bottom row without a key pressed after it.
    grid->item(5, 1)->setText(u"/d.html"_s);
    grid->setCurrentCell(0, 1);
    dialog->BtnDelHtml->click();
    EXPECT_EQ(grid->rowCount(), 5);
    dialog->BtnOK->click();

    EXPECT_EQ(readBytes(listFile(u"default.str"_s)), "#note\r\n/b.html\r\n/c.html\r\n/d.html\r\n");
}

TEST_F(AppSetFormTest, DeletingTwiceRemovesTheClickedRowAndTheOneThatMovedUp) {
    struct Case {
        int row;
        QByteArray kept;
    };
    for (const Case& c : {Case{2, "/p/A.html\r\n/p/B.html\r\n"}, Case{1, "/p/A.html\r\n/p/D.html\r\n"},
                          Case{3, "/p/A.html\r\n/p/B.html\r\n/p/C.html\r\n"}}) {
        writeFile(u"default.str"_s, "/p/A.html\r\n/p/B.html\r\n/p/C.html\r\n/p/D.html\r\n");
        open();
        QTableWidget* grid = dialog->StringGrid3;
        grid->setCurrentCell(c.row, 1);
        for (int i = 0; i < 2; ++i) {
            dialog->BtnDelHtml->click();
            const int expected = std::min(c.row, grid->rowCount() - 1);
            EXPECT_EQ(grid->currentRow(), expected) << c.row;
            EXPECT_TRUE(grid->selectionModel()->isSelected(grid->model()->index(expected, 1)))
                << "the row that moved up is shown selected";
        }
        dialog->BtnOK->click();
        EXPECT_EQ(readBytes(listFile(u"default.str"_s)), c.kept) << c.row;
    }
}

TEST_F(AppSetFormTest, EveryGridMovesAndDeletesItsRowsAndWritesItsFile) {
    struct Case {
        QString file;
        QTableWidget* TAppSetForm::*grid;
        QPushButton *TAppSetForm::*del, *TAppSetForm::*up, *TAppSetForm::*down;
        QByteArray header;
        std::function<QByteArray(char)> line;
    };
    const Case cases[] = {
        {u"bookmark.csv"_s, &TAppSetForm::StringGrid1, &TAppSetForm::BtnDelBookmark,
         &TAppSetForm::BtnUpBookmark, &TAppSetForm::BtnDownBookmark, BookmarkHeader,
         [](char c) { return "http://" + QByteArray(1, c) + "/," + QByteArray(1, c) + "\r\n"; }},
        {u"sentence.csv"_s, &TAppSetForm::StringGrid2, &TAppSetForm::BtnDelSentence,
         &TAppSetForm::BtnUpSentence, &TAppSetForm::BtnDownSentence, SnippetHeader,
         [](char c) { return QByteArray(1, c) + ",<" + QByteArray(1, c) + ">,#\r\n"; }},
        {u"default.str"_s, &TAppSetForm::StringGrid3, &TAppSetForm::BtnDelHtml, &TAppSetForm::BtnUpHtml,
         &TAppSetForm::BtnDownHtml, QByteArray(),
         [](char c) { return "/" + QByteArray(1, c) + ".html\r\n"; }},
    };
    for (const Case& c : cases) {
        writeFile(c.file, c.header + c.line('X') + c.line('Y') + c.line('Z'));
        open();
        QTableWidget* grid = dialog.get()->*c.grid;
        grid->setCurrentCell(0, 1);
        for (int i = 0; i < 3; ++i)
            (dialog.get()->*c.down)->click(); // the third press stops above the empty bottom row
        EXPECT_EQ(grid->currentRow(), 2) << c.file.toStdString();
        (dialog.get()->*c.up)->click();
        EXPECT_EQ(grid->currentRow(), 1);
        EXPECT_TRUE(cellText(grid, 1, 1).contains(u'X')) << "X, moved to the bottom and one up";
        (dialog.get()->*c.del)->click();
        EXPECT_TRUE(grid->selectionModel()->isSelected(grid->model()->index(1, 1)));
        dialog->BtnOK->click();
        EXPECT_EQ(readBytes(listFile(c.file)), c.header + c.line('Y') + c.line('Z')) << c.file.toStdString();
    }
}

TEST_F(AppSetFormTest, EntriesTheListFilesCannotHoldAreRefused) {
    const QString cafe = u"/p/caf\u00e9.html"_s;
    const QString refused = msg::listEntryUnwritable(cafe, u"\u00e9"_s, u"00E9"_s);
    open();
    fake.fileDialogs.chooseNext(cafe);
    dialog->BtnAddHtml->click();
    EXPECT_EQ(fake.messages.texts(), QStringList{refused});
    EXPECT_EQ(dialog->StringGrid3->rowCount(), 1) << "no row is added";

    struct Case {
        QTableWidget* TAppSetForm::*grid;
        int column;
        QString file;
        bool refused;
    };
    const Case cases[] = {
        {&TAppSetForm::StringGrid3, 1, u"default.str"_s, true},
        {&TAppSetForm::StringGrid1, 1, u"bookmark.csv"_s, true},
        {&TAppSetForm::StringGrid1, 0, u"bookmark.csv"_s, true},
        {&TAppSetForm::StringGrid2, 1, u"sentence.csv"_s, false}, // a page takes the reference
    };
    for (const Case& c : cases) {
        fake.messages.clear();
        open();
        QTableWidget* grid = dialog.get()->*c.grid;
        focus(grid);
        grid->setRowCount(3);
        for (int column = 0; column < grid->columnCount(); ++column) {
            grid->setItem(1, column, new QTableWidgetItem(u"/p/x.html"_s));
            grid->setItem(2, column, new QTableWidgetItem(QString()));
        }
        grid->item(1, c.column)->setText(cafe);
        grid->setCurrentCell(0, 0);
        dialog->BtnOK->click();
        EXPECT_EQ(dialog->isVisible(), c.refused) << c.file.toStdString() << c.column;
        if (c.refused) {
            EXPECT_EQ(fake.messages.texts(), QStringList{refused});
            EXPECT_EQ(dialog->PageControl1->currentWidget(), grid->parentWidget()->parentWidget());
            EXPECT_EQ(grid->currentRow(), 1);
            EXPECT_FALSE(QFileInfo::exists(listFile(c.file)));
        } else {
            EXPECT_TRUE(readBytes(listFile(c.file)).contains("caf&#xE9;.html"));
        }
    }
}

TEST_F(AppSetFormTest, ListFilesAreRewrittenOnlyWhenTheirGridWasTouched) {
    const QStringList names = {u"sentence.csv"_s, u"bookmark.csv"_s, u"default.str"_s};
    const QByteArray kept[] = {SnippetHeader + "s,<i>,</i>\r\n", BookmarkHeader + "http://k.example/,K\r\n",
                               "/k.html\r\n"};
    const QDateTime old = QDateTime::currentDateTime().addDays(-3);
    struct Case {
        const char* rule;
        bool touch, ok;
    };
    for (const Case c :
         {Case{"opened and closed with OK", false, true}, Case{"focused, then Cancel", true, false},
          Case{"focused and emptied, then OK", true, true}}) {
        for (int i = 0; i < 3; ++i) {
            QFile file(writeFile(names[i], kept[i]));
            ASSERT_TRUE(file.open(QIODevice::ReadWrite));
            file.setFileTime(old, QFileDevice::FileModificationTime);
        }
        open();
        for (QTableWidget* grid : {dialog->StringGrid1, dialog->StringGrid2, dialog->StringGrid3}) {
            if (c.touch) {
                grid->setRowCount(0);
                focus(grid);
            }
        }
        (c.ok ? dialog->BtnOK : dialog->BtnCancel)->click();
        for (int i = 0; i < 3; ++i) {
            const QByteArray bytes = readBytes(listFile(names[i]));
            if (c.touch && c.ok) {
                // Header and default entry (while the author has a site) for the
                // two lists, nothing for the projects.
                const QByteArray header[] = {SnippetHeader, BookmarkHeader, ""};
                const int defaultEntry = AuthorAddresses::builtIn().hasSite() ? 1 : 0;
                EXPECT_TRUE(bytes.startsWith(header[i])) << names[i].toStdString();
                EXPECT_EQ(bytes.count('\n'), i < 2 ? 1 + defaultEntry : 0) << names[i].toStdString();
                continue;
            }
            EXPECT_EQ(bytes, kept[i]) << c.rule << " " << names[i].toStdString();
            EXPECT_EQ(QFileInfo(listFile(names[i])).lastModified().toSecsSinceEpoch(),
                      old.toSecsSinceEpoch());
        }
    }
}

// ---- From the main window -------------------------------------------------------

class AppSetFromMainWindow : public MainFormTest {};

TEST_F(AppSetFromMainWindow, TheWindowTakesTheSettingsAtOnceWhicheverButtonClosed) {
    TMainForm& window = start();
    const QStringList japanese = QFontDatabase::families(QFontDatabase::Japanese);
    ASSERT_FALSE(japanese.isEmpty()) << "a Japanese font is installed";
    const QString face = japanese.last();
    const bool wrapped = window.appSet.todayWraps();
    window.appSet.setSettingsDialogPage('S');
    auto okDriver = testsupport::onNextModal<TAppSetForm>([&](TAppSetForm* dialog) {
        EXPECT_TRUE(QTest::qWaitForWindowActive(dialog));
        EXPECT_EQ(dialog->PageControl1->currentWidget(), dialog->SentenceSheet);
        dialog->ComboTodayFont->setCurrentIndex(dialog->ComboTodayFont->findText(face));
        dialog->EditTodaySize->setText(u"999"_s);
        dialog->CheckRight->click();
        dialog->StringGrid2->setFocus();
        QCoreApplication::processEvents();
        dialog->StringGrid2->item(0, 1)->setText(u"<hr>"_s);
        dialog->BtnOK->click();
    });
    window.SetAppAction->trigger();

    EXPECT_EQ(window.MToday->font().family(), face) << "installed Japanese faces are offered and applied";
    EXPECT_EQ(window.MToday->font().pointSize(), 78) << "an absurd size is held to the largest";
    EXPECT_EQ(window.appSet.EditFontSizeT, u"999"_s) << "the stored text stays as typed";
    EXPECT_EQ(window.MToday->lineWrapMode() == QPlainTextEdit::WidgetWidth, !wrapped);
    EXPECT_EQ(window.appSet.settingsDialogPage(), '\0');
    EXPECT_EQ(readBytes(fake.programFile(u"sentence.csv"_s)), SnippetHeader + "<hr>,<hr>,#\r\n");
    // The snippet menu is read again and offers the new snippet.
    window.SentenceAction->trigger();
    ASSERT_TRUE(window.PopupSentence->isVisible());
    EXPECT_EQ(window.PopupSentence->actions().value(0)->text(), u"<hr>"_s);
    window.PopupSentence->hide();

    // A geometry that passed stays stored after a failed check and Cancel, and is applied.
    auto cancelDriver = testsupport::onNextModal<TAppSetForm>([&](TAppSetForm* dialog) {
        dialog->RadioWinUser->click();
        dialog->EditWinWidth->setText(u"640"_s);
        dialog->EditWinHeight->setText(u"480"_s);
        dialog->EditWinX->setText(u"0"_s);
        dialog->EditWinY->setText(u"0"_s);
        dialog->RadioAutoUser->click();
        dialog->EditAutoOpen->setText(u"x"_s);
        dialog->BtnOK->click();
        EXPECT_EQ(fake.messages.last().text, msg::AutoOpenPathMissing);
        dialog->BtnCancel->click();
    });
    window.SetAppAction->trigger();
    EXPECT_TRUE(window.appSet.appliesStoredGeometry());
    EXPECT_EQ(window.size(), QSize(640, 480));
}

TEST_F(AppSetFromMainWindow, SizesAboveTheLargestAreStoredAsTyped) {
    TMainForm& window = start();
    auto driver = testsupport::onNextModal<TAppSetForm>([](TAppSetForm* dialog) {
        dialog->EditTodaySize->setText(u"999"_s);
        dialog->EditAllSize->setText(u"79"_s);
        dialog->BtnOK->click();
    });
    window.SetAppAction->trigger();
    EXPECT_EQ(window.MToday->font().pointSize(), 78);
    EXPECT_EQ(window.RAll->font().pointSize(), 78);
    ASSERT_TRUE(closeForm());
    ASSERT_TRUE(fake.registry->openKey(u"\\software\\mervane\\Pagora"_s, false));
    EXPECT_EQ(fake.registry->readString(u"EditFontSizeT"_s), u"999"_s);
    EXPECT_EQ(fake.registry->readString(u"EditFontSize"_s), u"79"_s);
    fake.registry->closeKey();
}

TEST_F(AppSetFormTest, PagesChangeFromTheKeyboard) {
    TAppSetForm& dialog = open();
    const int last = dialog.PageControl1->count() - 1;
    const struct {
        int key;
        Qt::KeyboardModifiers modifiers;
        int page; // expected afterwards
    } steps[] = {
        {Qt::Key_Tab, Qt::ControlModifier, 1},
        {Qt::Key_PageDown, Qt::ControlModifier, 2},
        {Qt::Key_PageUp, Qt::ControlModifier, 1},
        {Qt::Key_Backtab, Qt::ControlModifier | Qt::ShiftModifier, 0},
        {Qt::Key_Backtab, Qt::ControlModifier | Qt::ShiftModifier, last},
        {Qt::Key_PageDown, Qt::ControlModifier, 0},
        {Qt::Key_PageUp, Qt::ControlModifier, last},
        {Qt::Key_Tab, Qt::ControlModifier, 0},
    };
    for (const auto& step : steps) {
        focus(dialog.BtnOK); // wherever the focus is, the keys work
        QTest::keyClick(QApplication::focusWidget(), Qt::Key(step.key), step.modifiers);
        EXPECT_EQ(dialog.PageControl1->currentIndex(), step.page) << "key " << step.key;
    }

    // Tab reaches the tabs of the shown page, whose arrows then change the page.
    focus(dialog.BtnOK);
    QTabBar* reached = nullptr;
    for (int press = 0; press < 60 && !reached; ++press) {
        pressTab();
        reached = qobject_cast<QTabBar*>(QApplication::focusWidget());
    }
    ASSERT_NE(reached, nullptr) << "a tab row takes the focus";
    EXPECT_GT(reached->currentIndex(), 0) << "the row of the shown page";
    QTest::keyClick(reached, Qt::Key_Right);
    EXPECT_EQ(dialog.PageControl1->currentIndex(), 1);
    QTest::keyClick(reached, Qt::Key_Left);
    QTest::keyClick(reached, Qt::Key_Left);
    EXPECT_EQ(dialog.PageControl1->currentIndex(), 0) << "the row's hidden first tab is never chosen";
}
