// Start-up, show and close sequences, the restore of today's body, dropped
// files and the Help menu of the main window.

#include "app/MainFormFixture.h"

#include "app/HelpUnit.h"
#include "resources/Messages.h"
#include "settings/SettingsStore.h"
#include "support/ModalDriver.h"

#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QToolButton>
#include <utility>

using namespace Qt::StringLiterals;

TEST_F(MainFormTest, FirstRunShowsDefaultsTodayTabAndTodaysDate) {
    TMainForm& w = start();
    EXPECT_EQ(w.settingsOrigin(), SettingsOrigin::FirstRun);
    EXPECT_STREQ(w.htmlSet.HtmlSetFlags.data(), "0000010000010000000");
    EXPECT_STREQ(w.appSet.AppSetFlags.data(), "000000000000");
    EXPECT_EQ(w.htmlSet.HtmlBRTag, u"<BR>"_s);
    EXPECT_EQ(w.appSet.EditFontFace, u"ＭＳ ゴシック"_s);

    EXPECT_EQ(w.PageControlMain->currentWidget(), w.TabSheetToday);
    EXPECT_EQ(w.windowTitle(), u"Oribel   Ver 3.32   --- [2026年12月8日火曜日]"_s);
    EXPECT_EQ(w.EditYear->text(), u"2026"_s);
    EXPECT_EQ(w.EditMonth->text(), u"12"_s);
    EXPECT_EQ(w.EditDate->text(), u"8"_s);
    EXPECT_EQ(w.BoxDay->currentText(), u"(火)"_s);
    EXPECT_EQ(w.size(), QSize(620, 420));
    EXPECT_EQ(w.PanelFileName->text(), u"None."_s);
    EXPECT_TRUE(w.RAll->isReadOnly());
    EXPECT_TRUE(w.RAll->toPlainText().contains(u"*** 日記HTMLファイル編集領域 ***"_s));
    EXPECT_EQ(w.PanelHtmlName->text(), u"ユーザ定義"_s);
    EXPECT_FALSE(w.MToday->document()->isModified());
    EXPECT_FALSE(w.showInProgress());
    EXPECT_EQ(fake.messages.count(), 0);
    EXPECT_EQ(w.PanelStatusTsm->text(), u" 今月最初の日記ですね。今月もがんばりましょう！"_s);
    EXPECT_EQ(w.PanelStatusT2->text(), u"全0行 0文字"_s);
}

TEST_F(MainFormTest, SettingsSurviveARestart) {
    {
        TMainForm& w = start();
        w.appSet.setFlag(WindowPlacementFlag, '1');
        w.appSet.WindowXPosition = u"40"_s;
        w.appSet.WindowYPosition = u"30"_s;
        w.appSet.WindowWidth = u"700"_s;
        w.appSet.WindowHeight = u"500"_s;
        w.appSet.FileHistory1 = u"/tmp/a.htm"_s;
        w.appSet.FileHistory2 = u"/tmp/b.htm"_s;
        w.appSet.EditFontSize = u"14"_s;
        w.htmlSet.setFlag(DateFormFlag, '3');
        w.ApplyWindowSettings();
        ASSERT_TRUE(closeForm());
    }
    TMainForm& w = start();
    EXPECT_EQ(w.settingsOrigin(), SettingsOrigin::Current);
    EXPECT_EQ(w.appSet.flag(WindowPlacementFlag), '1');
    EXPECT_EQ(w.htmlSet.flag(DateFormFlag), '3');
    EXPECT_EQ(w.appSet.FileHistory1, u"/tmp/a.htm"_s);
    EXPECT_EQ(w.appSet.FileHistory2, u"/tmp/b.htm"_s);
    EXPECT_EQ(w.size(), QSize(700, 500));
    EXPECT_EQ(w.RAll->font().pointSize(), 14);
    EXPECT_EQ(w.MToday->font().pointSize(), 12);
    EXPECT_EQ(fake.messages.count(), 0);
}

TEST_F(MainFormTest, TheStoredPositionPlacesTheFrameAtStartAndAfterTheDialog) {
    struct Case {
        QString x, y;
        QPoint frame;
    };
    const Case cases[] = {
        {u"100"_s, u"50"_s, {100, 50}},
        {u"0"_s, u"0"_s, {0, 0}},
        {QString(), QString(), {0, 0}},
        {u"left"_s, u"top"_s, {0, 0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.x.toStdString() + "," + c.y.toStdString());
        {
            TMainForm& w = start();
            w.appSet.setFlag(WindowPlacementFlag, '1');
            w.appSet.WindowXPosition = c.x;
            w.appSet.WindowYPosition = c.y;
            ASSERT_TRUE(closeForm());
        }
        form.reset();
        form = std::make_unique<TMainForm>(fake.platform());
        // A window manager takes the frame's place only from a window placed
        // before it exists (this platform knows its frame at once, X does not).
        struct AtCreation : QObject {
            bool seen = false, moved = false;
            QPoint pos;
            bool eventFilter(QObject* watched, QEvent* event) override {
                if (event->type() == QEvent::Show && !std::exchange(seen, true)) {
                    auto* widget = static_cast<QWidget*>(watched);
                    moved = widget->testAttribute(Qt::WA_Moved);
                    pos = widget->pos();
                }
                return false;
            }
        } atCreation;
        form->installEventFilter(&atCreation);
        form->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
        EXPECT_TRUE(atCreation.moved);
        EXPECT_EQ(atCreation.pos, c.frame);
        EXPECT_EQ(form->frameGeometry().topLeft(), c.frame) << "at start";
        form->AfterAppSettingsDialog(); // OK with nothing changed
        EXPECT_EQ(form->frameGeometry().topLeft(), c.frame) << "after OK";
    }
}

TEST_F(MainFormTest, KeptEntryIsRestoredAndTheParameterIgnored) {
    writeFile(u"DIARY.TMP"_s, sjisBytes(u"昨日の続き\n二行目\n"_s));
    TempDiary kept;
    kept.TDY = u"2026"_s;
    kept.TDM = u"12"_s;
    kept.TDD = u"6"_s;
    kept.TDW = u"(日)"_s;
    kept.TDW1N = 2;
    kept.TDW1 = u"ignored"_s;
    kept.TDW2 = u"霧"_s;
    kept.TDT = u"散歩"_s;
    SaveTempDiary(*fake.registry, fake.messages, kept);
    fake.arguments = {writeFile(u"param.txt"_s, "param")};

    TMainForm& w = start();
    EXPECT_EQ(w.MToday->toPlainText(), u"昨日の続き\n二行目\n"_s);
    EXPECT_TRUE(w.MToday->document()->isModified());
    // The kept entry goes once a recovery copy holds it.
    EXPECT_TRUE(QTest::qWaitFor([&] { return !QFileInfo::exists(fake.programFile(u"DIARY.TMP"_s)); }));
    EXPECT_TRUE(fake.recovery->hasCopy(RecoveryKind::TodayBody));
    EXPECT_EQ(w.EditDate->text(), u"6"_s);
    EXPECT_EQ(w.BoxDay->currentText(), u"(日)"_s);
    EXPECT_EQ(w.BoxWeather1->currentIndex(), 2);
    EXPECT_EQ(w.BoxWeather1->currentText(), u"雨"_s);
    EXPECT_EQ(w.BoxWeather2->currentText(), u"霧"_s);
    EXPECT_FALSE(w.BoxWeather2->isHidden());
    EXPECT_TRUE(w.BtnWeaPlus->isHidden());
    EXPECT_EQ(w.diaryTitle(), u"散歩"_s);
    EXPECT_EQ(w.PanelTitle->text(), u"タイトル：散歩"_s);
    EXPECT_FALSE(fake.registry->keyExists(u"\\software\\mervane\\Pagora\\Temp"_s));
    EXPECT_EQ(fake.messages.count(), 0);

    // The body still counts as unused: closing asks again.
    fake.messages.answerNext(MsgAnswer::No);
    EXPECT_TRUE(closeForm());
    EXPECT_EQ(fake.messages.last().caption, u"終了確認"_s);
}

TEST_F(MainFormTest, BodyTemplateAndCommandLineFile) {
    writeFile(u"basediary.txt"_s, sjisBytes(u"■今日の出来事\n"_s));
    {
        TMainForm& w = start();
        EXPECT_EQ(w.MToday->toPlainText(), u"■今日の出来事\n"_s);
        EXPECT_FALSE(w.MToday->document()->isModified());
        EXPECT_TRUE(closeForm());
        EXPECT_EQ(fake.messages.count(), 0);
    }
    fake.arguments = {fake.programFile(u"missing.txt"_s)};
    TMainForm& w = start();
    ASSERT_EQ(fake.messages.count(), 1);
    EXPECT_EQ(fake.messages.last().text,
              u"パラメータに指定された ["_s + fake.programFile(u"missing.txt"_s) + u"] は、無効です。"_s);
    EXPECT_EQ(fake.messages.last().icon, MsgIcon::Error);
    EXPECT_TRUE(w.MToday->toPlainText().isEmpty());
}

TEST_F(MainFormTest, AutoOpenReportsMissingFiles) {
    {
        // The last saved file is gone: reported, nothing opened.
        start();
        form->appSet.setFlag(AutoOpenFlag, '1');
        form->appSet.FileHistory1 = fake.programFile(u"gone.htm"_s);
        ASSERT_TRUE(closeForm());
    }
    TMainForm& w = start();
    ASSERT_EQ(fake.messages.count(), 1);
    EXPECT_EQ(fake.messages.last().text, u"最後に保存されたファイル ["_s + fake.programFile(u"gone.htm"_s) +
                                             u"] が見つかりませんでした。"_s);
    EXPECT_EQ(fake.messages.last().caption, u"日記HTMLファイル自動読み込みエラー"_s);
    EXPECT_EQ(w.PanelFileName->text(), u"None."_s);

    // An empty history entry: the document's own message, with an empty path.
    ASSERT_TRUE(closeForm());
    ASSERT_TRUE(fake.registry->openKey(u"\\software\\mervane\\Pagora"_s, false));
    fake.registry->writeString(u"LoadLog"_s, QString());
    ASSERT_TRUE(fake.registry->closeKey());
    fake.messages.clear();
    start();
    ASSERT_EQ(fake.messages.count(), 1);
    EXPECT_EQ(fake.messages.last().text, u"履歴上の指定のファイル\n\nは、移動または削除されています。"_s);
    EXPECT_EQ(fake.messages.last().caption, u"ファイルを開けません"_s);

    // '2' opens the chosen file.
    const QString page = writeFile(u"always.htm"_s, "<html></html>\r\n");
    form->appSet.setFlag(AutoOpenFlag, '2');
    form->appSet.AlwaysOpenHtml = page;
    ASSERT_TRUE(closeForm());
    fake.messages.clear();
    TMainForm& third = start();
    EXPECT_EQ(fake.messages.count(), 0);
    EXPECT_EQ(third.PanelFileName->text(), page);
    EXPECT_EQ(third.RAll->toPlainText(), u"<html></html>\n"_s);
    EXPECT_FALSE(third.RAll->document()->isModified());
}

TEST_F(MainFormTest, ClosingAsksAboutTheDocumentFirst) {
    TMainForm& w = start();
    openDocument(writeFile(u"page.htm"_s, "<p>"));
    testsupport::typeText(w.RAll, u"x"_s);
    showTodayTab();
    testsupport::typeText(w.MToday, u"body"_s);

    fake.messages.answerNext(MsgAnswer::Cancel);
    EXPECT_FALSE(closeForm());
    ASSERT_EQ(fake.messages.count(), 1);
    EXPECT_EQ(fake.messages.last().text, msg::DocumentNotSaved);
    EXPECT_EQ(fake.messages.last().buttons, MsgButtons::YesNoCancel);
    EXPECT_TRUE(w.isVisible());

    // No to the document, Cancel to the entry: still running, today's tab shown.
    fake.messages.answerNext(MsgAnswer::No);
    fake.messages.answerNext(MsgAnswer::Cancel);
    showDocumentTab();
    EXPECT_FALSE(closeForm());
    EXPECT_EQ(fake.messages.last().caption, u"終了確認"_s);
    EXPECT_EQ(fake.messages.last().text, msg::ExitConfirm);
    EXPECT_EQ(w.PageControlMain->currentWidget(), w.TabSheetToday);
}

TEST_F(MainFormTest, KeepingTheEntryAtExitWritesDiaryTmpAndTemp) {
    TMainForm& w = start();
    testsupport::typeText(w.MToday, u"一行目"_s);
    QTest::keyClick(w.MToday, Qt::Key_Return);
    testsupport::typeText(w.MToday, u"two"_s);
    w.BoxWeather1->setCurrentIndex(1);
    w.setDiaryTitle(u"題"_s);

    fake.messages.answerNext(MsgAnswer::Yes);
    ASSERT_TRUE(closeForm());
    EXPECT_EQ(readBytes(fake.programFile(u"DIARY.TMP"_s)), sjisBytes(u"一行目\ntwo"_s));
    ASSERT_TRUE(fake.registry->openKey(u"\\software\\mervane\\Pagora\\Temp"_s, false));
    EXPECT_EQ(fake.registry->readString(u"TDD"_s), u"8"_s);
    EXPECT_EQ(fake.registry->readString(u"TDW"_s), u"(火)"_s);
    EXPECT_EQ(fake.registry->readString(u"TDW1N"_s), u"1"_s);
    EXPECT_EQ(fake.registry->readString(u"TDW2N"_s), u"-1"_s);
    EXPECT_EQ(fake.registry->readString(u"TDT"_s), u"題"_s);
    fake.registry->closeKey();
    ASSERT_TRUE(fake.registry->openKey(u"\\software\\mervane\\Pagora"_s, false));
    EXPECT_EQ(fake.registry->readString(u"Version"_s), u"3.32"_s);
    fake.registry->closeKey();
}

TEST_F(MainFormTest, AFailedKeepAtExitKeepsTheProgramRunning) {
    TMainForm& w = start();
    testsupport::typeText(w.MToday, u"text"_s);
    // A folder where DIARY.TMP should be: the file cannot be written.
    ASSERT_TRUE(QDir().mkpath(fake.programFile(u"DIARY.TMP"_s)));
    fake.messages.answerNext(MsgAnswer::Yes);
    EXPECT_FALSE(closeForm());
    EXPECT_EQ(fake.messages.last().caption, u"保存失敗"_s);
    EXPECT_TRUE(w.MToday->document()->isModified());
    EXPECT_FALSE(fake.registry->keyExists(u"\\software\\mervane\\Pagora\\Temp"_s));
}

TEST_F(MainFormTest, RemovingTheSettingsClosesWithoutSaving) {
    // The window closes without the exit questions, so the removal asks them
    // first: about the unsaved page, then about an unused entry.
    using enum MsgAnswer;
    struct Row {
        const char* name;
        bool editPage, editBody;
        QList<MsgAnswer> answers; // the removal question first
        bool removed;             // the settings are gone and the window closed
        QByteArray kept;          // DIARY.TMP afterwards; empty: none (and no Temp subkey)
    };
    const Row rows[] = {
        {"nothing unsaved", false, false, {Yes}, true, {}},
        {"No to the removal", true, true, {No}, false, {}},
        {"Cancel to the page", true, true, {Yes, Cancel}, false, {}},
        {"Cancel to the entry", false, true, {Yes, Cancel}, false, {}},
        {"page not saved, entry discarded", true, true, {Yes, No, No}, true, {}},
        {"entry kept", false, true, {Yes, Yes}, true, "unsaved"},
    };
    const QString key = u"\\software\\mervane\\Pagora"_s;
    const auto storedVersion = [&] {
        if (!fake.registry->openKey(key, false))
            return QString();
        const QString version = fake.registry->readString(u"Version"_s);
        fake.registry->closeKey();
        return version;
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        start();
        ASSERT_TRUE(closeForm()); // the settings are stored
        TMainForm& w = start();
        if (row.editPage) {
            openDocument(writeFile(u"page.htm"_s, "<p>"));
            testsupport::typeText(w.RAll, u"x"_s);
            showTodayTab();
        }
        if (row.editBody)
            testsupport::typeText(w.MToday, u"unsaved"_s);
        w.setDiaryTitle(u"題"_s);
        fake.messages.clear();
        for (const MsgAnswer answer : row.answers)
            fake.messages.answerNext(answer);
        w.HelpUninstall->trigger();

        EXPECT_EQ(fake.messages.pendingAnswers(), 0);
        EXPECT_EQ(fake.messages.requests().first().caption,
                  u"アンインストール準備（使用レジストリ領域の開放）"_s);
        EXPECT_EQ(fake.messages.requests().first().defaultButton, MsgAnswer::No);
        EXPECT_EQ(fake.messages.last().caption == u"使用レジストリ領域の開放完了"_s, row.removed);
        EXPECT_EQ(w.isVisible(), !row.removed);
        EXPECT_EQ(storedVersion().isEmpty(), row.removed);
        // A kept entry's fields are all that may stay.
        EXPECT_EQ(fake.registry->keyExists(key), !row.removed || !row.kept.isEmpty());
        EXPECT_EQ(readBytes(fake.programFile(u"DIARY.TMP"_s)), row.kept);
        EXPECT_EQ(fake.registry->keyExists(key + u"\\Temp"_s), !row.kept.isEmpty());
    }
    // The next start brings the kept entry back whole, with the defaults.
    fake.messages.clear();
    TMainForm& next = start();
    EXPECT_NE(next.settingsOrigin(), SettingsOrigin::Current);
    EXPECT_EQ(next.MToday->toPlainText(), u"unsaved"_s);
    EXPECT_EQ(next.diaryTitle(), u"題"_s);
    EXPECT_EQ(fake.messages.count(), 0) << fake.messages.texts().join(u'|').toStdString();
}

TEST_F(MainFormTest, DroppedFilesLoadTheFirstOnly) {
    TMainForm& w = start();
    const QString first = writeFile(u"first.txt"_s, sjisBytes(u"一\n"_s));
    const QString second = writeFile(u"second.txt"_s, "second");
    testsupport::typeText(w.MToday, u"typed"_s);

    fake.messages.answerNext(MsgAnswer::No);
    w.DropFiles({first, second});
    EXPECT_EQ(w.MToday->toPlainText(), u"typed"_s);
    EXPECT_EQ(fake.messages.last().caption, u"確認"_s);

    fake.messages.answerNext(MsgAnswer::Yes);
    w.DropFiles({first, second});
    EXPECT_EQ(w.MToday->toPlainText(), u"一\n"_s);
    EXPECT_FALSE(w.MToday->document()->isModified());

    // On the document tab the file becomes the document; a path longer than
    // 255 characters is used whole.
    const QString deep = fake.programFolder() + QString(120, u'd') + u'/' + QString(120, u'e');
    ASSERT_TRUE(QDir().mkpath(deep));
    const QString page = writeFile(deep + u"/page.htm"_s, "<html>");
    ASSERT_GT(page.size(), 255);
    showDocumentTab();
    w.DropFiles({page});
    EXPECT_EQ(w.document().fileName(), page);
    EXPECT_EQ(w.RAll->toPlainText(), u"<html>"_s);
}

TEST_F(MainFormTest, MissingManualIsReported) {
    TMainForm& w = start();
    {
        // After the message the about window opens. Its own manual button
        // then only reports: no second about window on top of the first.
        auto about = testsupport::onNextModal<THelpForm>([this](THelpForm* window) {
            int others = 0;
            QTimer::singleShot(0, window, [&others, window] {
                for (QWidget* shown : QApplication::topLevelWidgets()) {
                    if (auto* other = qobject_cast<THelpForm*>(shown);
                        other && other != window && other->isVisible()) {
                        ++others;
                        other->reject();
                    }
                }
            });
            const qsizetype before = fake.messages.count();
            window->BtnLoadManual->click();
            QApplication::processEvents();
            EXPECT_EQ(others, 0);
            EXPECT_EQ(fake.messages.count(), before + 1);
            EXPECT_EQ(fake.messages.last().caption, u"Not Found"_s);
            window->accept();
        });
        w.HelpMan->trigger();
    }
    EXPECT_EQ(fake.messages.last().caption, u"Not Found"_s);
    EXPECT_TRUE(
        fake.messages.last().text.startsWith(u"マニュアル（"_s + fake.programFile(u"manual/index.html"_s)))
        << "names where the manual should be";
    EXPECT_TRUE(fake.shell.opened().isEmpty());

    QDir().mkpath(fake.programFile(u"manual"_s));
    const QString manual = writeFile(u"manual/index.html"_s, "<html></html>");
    w.BtnHelp->click();
    ASSERT_EQ(fake.shell.opened().size(), 1);
    EXPECT_EQ(fake.shell.opened().first(), manual);
    EXPECT_EQ(fake.messages.count(), 2);

    // Nothing could open it: the path and the reason are reported.
    fake.shell.setOpenResult(false);
    fake.shell.setFailureText(u"no program for it"_s);
    w.BtnHelp->click();
    EXPECT_EQ(fake.messages.last().text,
              u"マニュアル %1 を開けませんでした。\n理由: no program for it"_s.arg(manual));
    EXPECT_EQ(fake.messages.last().icon, MsgIcon::Error);
}
