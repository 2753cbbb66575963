// Today's page and the composer command end to end through the main window:
// the entry typed on the first tab becomes HTML at the caret of the diary
// page, and the saved file holds exactly the expected bytes.

#include "app/MainFormFixture.h"

#include "document/TagsUnit.h"
#include "resources/Messages.h"
#include "support/ModalDriver.h"
#include "today/Statistics.h"
#include "today/TitleUnit.h"
#include "widgets/UpDown.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTextBlock>
#include <QTextLayout>

using namespace Qt::StringLiterals;

class MainTodayTest : public MainFormTest {
protected:
    void SetUp() override {
        MainFormTest::SetUp();
        start();
    }
    void setDate(const QString& year, const QString& month, const QString& day) {
        form->EditYear->setText(year);
        form->EditMonth->setText(month);
        form->EditDate->setText(day);
    }
    void setTitleThroughDialog(const QString& title) {
        auto driver = testsupport::onNextModal<TTitleForm>([title](TTitleForm* dialog) {
            dialog->TitleEdit->setText(title);
            dialog->BtnOK->click();
        });
        form->BtnTitle->click();
    }
    // Opens an empty diary page, composes into it with Ctrl+Insert pressed in
    // the document editor, saves, and returns the file's bytes.
    QByteArray composeIntoNewPage(const QByteArray& before = {}) {
        const QString page = writeFile(u"diary.htm"_s, before);
        openDocument(page);
        QTextCursor cursor = form->RAll->textCursor();
        cursor.movePosition(QTextCursor::End);
        form->RAll->setTextCursor(cursor);
        // The offscreen platform does not give the activation back to the
        // main window when a dialog closes, as a window manager does.
        QApplication::setActiveWindow(form.get());
        EXPECT_TRUE(QTest::qWaitForWindowActive(form.get()));
        form->RAll->setFocus();
        QTest::keyClick(form->RAll, Qt::Key_Insert, Qt::ControlModifier);
        form->SaveAction->trigger();
        return readBytes(page);
    }
};

TEST_F(MainTodayTest, FirstWorkedExampleByteForByte) {
    setDate(u"2003"_s, u"11"_s, u"7"_s);
    EXPECT_EQ(form->BoxDay->currentText(), u"(金)"_s);
    form->BoxWeather1->setCurrentIndex(0);
    form->BtnWeaPlus->click();
    form->BoxWeather2->setCurrentIndex(1);
    setTitleThroughDialog(u"散歩"_s);
    EXPECT_EQ(form->PanelTitle->text(), u"タイトル：散歩"_s);
    testsupport::typeText(form->MToday, u"公園を歩いた。\n風が冷たかった。"_s);

    const QByteArray saved = composeIntoNewPage();
    const QString expected =
        u"<A NAME=\"d20031107\"></A>\n"
        "<font color=\"#ff0000\"><b>2003年11月7日(金)</b></font> <font color=\"#ffccaa\"><b>晴れ</b></font>"
        "<font color=\"#cccccc\"><b>／</b></font><font color=\"#ccccff\"><b>くもり</b></font>\n"
        "<BR><STRONG><font color=\"#008000\">散歩</font></STRONG>\n"
        "<DIV STYLE=\"margin-left:20pt;\">\n"
        "公園を歩いた。<BR>\n"
        "風が冷たかった。<BR>\n"
        "</DIV>\n"
        "<HR>\n"_s;
    EXPECT_EQ(saved, sjisBytes(expected));
    EXPECT_FALSE(form->MToday->document()->isModified());
    EXPECT_EQ(form->appSet.WriteDiaryTime, 1);
    EXPECT_EQ(form->appSet.WriteDiaryLines, 2);
    EXPECT_EQ(fake.messages.count(), 0);

    // The insertion is one undo step.
    form->RAll->undo();
    EXPECT_TRUE(form->RAll->toPlainText().isEmpty());
}

TEST_F(MainTodayTest, SecondWorkedExampleByteForByte) {
    for (auto [flag, value] : {std::pair{DateFormFlag, '2'},
                               {WeekdayFormFlag, '2'},
                               {TwoDigitFlag, '1'},
                               {InsertTimeFlag, '1'},
                               {TimeFormFlag, '2'},
                               {InsertOrderFlag, 'A'},
                               {AutoBrFlag, '1'},
                               {HrFlag, '1'},
                               {AnchorFlag, '0'},
                               {AllTagFlag, '1'}})
        form->htmlSet.setFlag(flag, value);
    form->AfterHtmlSettingsDialog();
    setDate(u"2003"_s, u"6"_s, u"4"_s);
    EXPECT_EQ(form->BoxDay->currentText(), u"Wed."_s);
    form->BoxWeather1->setCurrentIndex(2);
    form->setDiaryTitle(u"散歩"_s);
    testsupport::typeText(form->MToday, u"雨だった。"_s);

    const QByteArray saved = composeIntoNewPage("<body>\r\n");
    const QString expected = u"<body>\n"
                             "<DIV>\n"
                             "<BR><STRONG><font color=\"#008000\">散歩</font></STRONG>\n"
                             "<font color=\"#ff0000\"><b>June 04, 2003. Wed.</b></font> "
                             "<font color=\"#0000ff\" size=\"-1\"><b>09:05:03</b></font> "
                             "<font color=\"#aaccff\"><b>雨</b></font>\n"
                             "<DIV STYLE=\"margin-left:20pt;\">\n"
                             "雨だった。\n"
                             "</DIV>\n"
                             "</DIV>\n"_s;
    EXPECT_EQ(saved, sjisBytes(expected));

    // With Shift held the time is left out.
    fake.keyboard.setShiftHeld(true);
    QTextCursor cursor = form->RAll->textCursor();
    cursor.movePosition(QTextCursor::End);
    form->RAll->setTextCursor(cursor);
    const int before = int(form->RAll->toPlainText().size());
    form->InsertDiaryAction->trigger();
    EXPECT_FALSE(form->RAll->toPlainText().mid(before).contains(u"09:05:03"_s));
}

TEST_F(MainTodayTest, TheThreeRefusals) {
    openDocument(writeFile(u"page.htm"_s, "page"));
    form->InsertDiaryAction->trigger();
    ASSERT_EQ(fake.messages.count(), 1);
    EXPECT_EQ(fake.messages.last().text, u"日記本文がありません。本文を書いて下さい。"_s);
    EXPECT_EQ(fake.messages.last().caption, u"入力不備エラー"_s);
    EXPECT_EQ(fake.messages.last().icon, MsgIcon::Exclamation);

    form->MToday->loadText(u"\n"_s); // only a line break still counts as text
    fake.messages.answerNext(MsgAnswer::No);
    form->InsertDiaryAction->trigger();
    EXPECT_EQ(fake.messages.last().caption, u"入力不備注意"_s);
    EXPECT_TRUE(fake.messages.last().text.startsWith(u"天気が入力されていませんが、"_s));
    EXPECT_EQ(form->PageControlMain->currentWidget(), form->TabSheetToday);
    EXPECT_EQ(form->RAll->toPlainText(), u"page"_s);
    EXPECT_EQ(form->appSet.WriteDiaryTime, 0);

    form->htmlSet.setFlag(TitleWarnFlag, '1');
    showDocumentTab();
    fake.messages.answerNext(MsgAnswer::Yes);
    fake.messages.answerNext(MsgAnswer::No);
    form->InsertDiaryAction->trigger();
    EXPECT_EQ(fake.messages.last().text,
              u"タイトルが入力されていませんが、タイトルを省略したまま挿入を実行しますか？"_s);
    EXPECT_EQ(form->RAll->toPlainText(), u"page"_s);

    showDocumentTab();
    fake.messages.answerNext(MsgAnswer::Yes);
    fake.messages.answerNext(MsgAnswer::Yes);
    form->InsertDiaryAction->trigger();
    EXPECT_TRUE(form->RAll->toPlainText().contains(u"<DIV STYLE=\"margin-left:20pt;\">\n<BR>\n</DIV>"_s));
}

TEST_F(MainTodayTest, ATypedWeatherIsResolvedInTheTagBuilder) {
    openDocument(writeFile(u"page.htm"_s, ""));
    form->BoxWeather1->setEditText(u"霧"_s);
    form->MToday->loadText(u"body"_s);
    {
        auto driver = testsupport::onNextModal<TTagsForm>([](TTagsForm* tags) {
            EXPECT_EQ(tags->windowTitle(), u"不足情報の解決 - Oribel"_s);
            tags->RadioWea1User->setChecked(true);
            tags->EditWea1User->setText(u"<i>"_s);
            tags->BtnOK->click();
        });
        form->InsertDiaryAction->trigger();
    }
    EXPECT_EQ(form->weatherTag1(), u"<i>"_s);
    EXPECT_TRUE(form->RAll->toPlainText().contains(u" <i>霧</b></font>\n"_s));

    // Closed without OK: composing stops. Nothing is counted or inserted, the
    // entry stays unused and the previous tags stay.
    form->MToday->document()->setModified(true);
    const QString page = form->RAll->toPlainText();
    const int entries = form->appSet.WriteDiaryTime;
    {
        auto driver = testsupport::onNextModal<TTagsForm>([](TTagsForm* tags) { tags->reject(); });
        form->InsertDiaryAction->trigger();
    }
    EXPECT_EQ(form->weatherTag1(), u"<i>"_s);
    EXPECT_EQ(form->RAll->toPlainText(), page);
    EXPECT_EQ(form->appSet.WriteDiaryTime, entries);
    EXPECT_TRUE(form->MToday->document()->isModified());

    // A weather typed over a chosen list item is a typed weather too.
    form->BoxWeather1->setCurrentIndex(2);
    form->BoxWeather1->setEditText(u"小雨"_s);
    {
        auto driver = testsupport::onNextModal<TTagsForm>([](TTagsForm* tags) { tags->BtnOK->click(); });
        form->InsertDiaryAction->trigger();
    }
    EXPECT_EQ(form->weatherTag1(), form->htmlSet.HtmlSky1); // 晴れ is preselected
}

TEST_F(MainTodayTest, StatisticsAndTheStatusLine) {
    form->appSet.WriteDiaryTime = 3;
    form->appSet.WriteDiaryLines = 18;
    testsupport::typeText(form->MToday, u"a\nb\nc"_s);
    EXPECT_EQ(form->PanelStatusTsm->text(), u" 現在の執筆量は、今月平均の 50 ％です。"_s);
    EXPECT_EQ(form->PanelStatusT1->text(), u"3行 2桁"_s);
    EXPECT_EQ(form->PanelStatusT2->text(), u"全3行 7文字"_s);

    openDocument(writeFile(u"page.htm"_s, ""));
    form->setDebugMode(true);
    form->BoxWeather1->setCurrentIndex(0);
    form->InsertDiaryAction->trigger();
    EXPECT_EQ(form->appSet.WriteDiaryTime, 3);
    form->setDebugMode(false);
    form->InsertDiaryAction->trigger();
    EXPECT_EQ(form->appSet.WriteDiaryTime, 4);
    EXPECT_EQ(form->appSet.WriteDiaryLines, 21);
    EXPECT_EQ(form->appSet.InsertDiaryTime, 1);
}

TEST_F(MainTodayTest, StatusCountsTheLinesAsShownLikeTheStatistics) {
    form->appSet.WriteDiaryTime = 1;
    form->appSet.WriteDiaryLines = 3;
    const QString longLine(200, u'a');
    form->MToday->loadText(longLine);
    form->MToday->moveCursor(QTextCursor::End);
    auto expectPanelsCount = [&](int lines, const char* when) {
        EXPECT_TRUE(form->PanelStatusT1->text().startsWith(QString::number(lines) + u"行 "_s))
            << when << ": " << form->PanelStatusT1->text().toStdString();
        EXPECT_EQ(form->PanelStatusT2->text(), u"全%1行 200文字"_s.arg(lines)) << when;
        EXPECT_EQ(form->PanelStatusTsm->text(),
                  u" 現在の執筆量は、今月平均の %1 ％です。"_s.arg(lines * 100 / 3))
            << when;
    };
    expectPanelsCount(1, "without wrapping");

    form->ViewWrapSet->trigger();
    const int wrapped = form->MToday->displayedLineCount();
    ASSERT_GT(wrapped, 1);
    expectPanelsCount(wrapped, "wrapping");
    // The column counts from the start of the displayed line.
    const QTextLine lastShown = form->MToday->document()->firstBlock().layout()->lineAt(wrapped - 1);
    EXPECT_EQ(form->PanelStatusT1->text(), u"%1行 %2桁"_s.arg(wrapped).arg(200 - lastShown.textStart() + 1));

    // A narrower window wraps into more lines; the panels follow.
    form->resize(form->width() - 200, form->height());
    QApplication::processEvents();
    const int narrower = form->MToday->displayedLineCount();
    ASSERT_GT(narrower, wrapped);
    expectPanelsCount(narrower, "narrower");

    // The composer counts the same lines.
    openDocument(writeFile(u"page.htm"_s, ""));
    form->BoxWeather1->setCurrentIndex(0);
    form->InsertDiaryAction->trigger();
    EXPECT_EQ(form->appSet.WriteDiaryLines, 3 + narrower);

    // A body too big to lay out at once is counted by its lines, on the
    // panels as by the composer: no freeze, and the two still agree.
    const QString big = QStringList(2000, QString(60, u'あ')).join(u'\n');
    ASSERT_GT(big.size(), DiaryEditor::DisplayedCountLimit);
    form->MToday->loadText(big);
    form->BoxWeather1->setCurrentIndex(0);
    EXPECT_EQ(form->MToday->displayedLineCount(), 2000);
    EXPECT_EQ(form->PanelStatusT2->text(), TotalsPanelText(2000, form->MToday->byteTotal()));
    form->InsertDiaryAction->trigger();
    EXPECT_EQ(form->appSet.WriteDiaryLines, 3 + narrower + 2000);
}

TEST_F(MainTodayTest, MonthRolloverAndThanksAtStart) {
    form->appSet.WriteDiaryFrequency = 2;
    form->appSet.InsertDiaryTime = 31;
    form->appSet.WriteDiaryTime = 9;
    form->appSet.WriteDiaryLines = 40;
    ASSERT_TRUE(closeForm()); // saved in December 2026
    fake.clock.setNow(QDateTime(QDate(2027, 1, 2), QTime(8, 0)));
    start();
    ASSERT_EQ(fake.messages.count(), 1);
    EXPECT_EQ(fake.messages.last().caption, u"ご愛用ありがとうございます～！（＾o＾）/"_s);
    EXPECT_EQ(form->appSet.InsertDiaryTime, 0);
    EXPECT_EQ(form->appSet.WriteDiaryTimeL, 9);
    EXPECT_EQ(form->appSet.WriteDiaryLinesL, 40);
    EXPECT_EQ(form->appSet.WriteDiaryTime, 0);
    EXPECT_EQ(form->windowTitle(), u"Oribel   Ver 3.32   --- [2027年1月2日土曜日]"_s);
}

TEST_F(MainTodayTest, NewEntryAndDateReset) {
    testsupport::typeText(form->MToday, u"body"_s);
    form->setDiaryTitle(u"題"_s);
    form->RefreshTitlePanel();
    form->BtnWeaPlus->click();
    form->BoxWeather1->setCurrentIndex(1);
    form->BoxWeather2->setEditText(u"霧"_s);
    setDate(u"2003"_s, u"1"_s, u"1"_s);

    form->BtnDateReset->click();
    EXPECT_EQ(form->MToday->toPlainText(), u"body"_s);
    EXPECT_EQ(form->diaryTitle(), u"題"_s);
    EXPECT_TRUE(form->BoxWeather1->currentText().isEmpty());
    EXPECT_TRUE(form->BoxWeather2->isHidden());
    EXPECT_TRUE(form->BoxWeather2->currentText().isEmpty());
    EXPECT_EQ(form->EditYear->text(), u"2026"_s);

    fake.messages.answerNext(MsgAnswer::No);
    form->BtnNewToday->click();
    EXPECT_EQ(form->MToday->toPlainText(), u"body"_s);
    fake.messages.answerNext(MsgAnswer::Yes);
    form->BtnNewToday->click();
    EXPECT_TRUE(form->MToday->toPlainText().isEmpty());
    EXPECT_TRUE(form->diaryTitle().isEmpty());
    EXPECT_TRUE(form->PanelTitle->isHidden());
    // Unmodified: no question.
    form->BtnNewToday->click();
    EXPECT_EQ(fake.messages.count(), 2);
}

TEST_F(MainTodayTest, WeekdayFollowsTheDateFields) {
    form->EditMonth->setText(u"13"_s);
    EXPECT_TRUE(form->BoxDay->currentText().isEmpty());
    form->EditMonth->setText(u"12"_s);
    EXPECT_EQ(form->BoxDay->currentText(), u"(火)"_s);
    form->UpDownMonth->stepUp();
    EXPECT_EQ(form->EditMonth->text(), u"12"_s);
    form->EditYear->setText(u"1989"_s);
    EXPECT_TRUE(form->BoxDay->currentText().isEmpty());
    form->UpDownYear->stepDown();
    EXPECT_EQ(form->EditYear->text(), u"1990"_s);
}

TEST_F(MainTodayTest, KeepAndExit) {
    form->FileTodaySave->trigger();
    EXPECT_EQ(fake.messages.last().text, u"本文がなければ一時保存はできません。"_s);

    openDocument(writeFile(u"page.htm"_s, "page"));
    testsupport::typeText(form->RAll, u"x"_s);
    showTodayTab();
    testsupport::typeText(form->MToday, u"keep me"_s);
    fake.messages.answerNext(MsgAnswer::Cancel);
    form->FileTodaySave->trigger();
    EXPECT_EQ(fake.messages.last().text, u"一時保存を中止しました。"_s);
    EXPECT_EQ(fake.messages.last().caption, u"ユーザによるキャンセル"_s);
    EXPECT_FALSE(QFileInfo::exists(fake.programFile(u"DIARY.TMP"_s)));
    EXPECT_TRUE(form->isVisible());

    fake.messages.answerNext(MsgAnswer::No);
    form->FileTodaySave->trigger();
    EXPECT_TRUE(fake.messages.last().text.startsWith(u"「今日の日記」を一時ファイルに保存しました。"_s));
    EXPECT_EQ(readBytes(fake.programFile(u"DIARY.TMP"_s)), QByteArray("keep me"));
    EXPECT_FALSE(form->isVisible());
}

TEST_F(MainTodayTest, OperationAdviceFollowsTheLineBreakMode) {
    form->BtnGuide->click();
    EXPECT_EQ(fake.messages.last().text, msg::AdviceIntro + msg::AdviceAutomaticBreaks + msg::AdviceOutro);
    EXPECT_EQ(fake.messages.last().caption, u"操作アドバイス"_s);
    form->ComboBoxAutoBR->setCurrentIndex(1);
    emit form->ComboBoxAutoBR->activated(1);
    form->BtnGuide->click();
    EXPECT_TRUE(fake.messages.last().text.contains(u"★なお、ブラウザ上で改行させたい場合は、"_s));
}
