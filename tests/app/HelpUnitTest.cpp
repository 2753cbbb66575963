#include "app/HelpUnit.h"

#include "resources/AuthorAddresses.h"
#include "resources/Messages.h"
#include "support/FakePlatform.h"
#include "support/ModalDriver.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <QToolButton>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

class THelpFormTest : public ::testing::Test {
protected:
    std::unique_ptr<THelpForm> open() {
        return std::make_unique<THelpForm>(fake.platform(), app, debugMode, [this] { ++manualLoads; });
    }

    FakePlatform fake;
    AppSet app;
    bool debugMode = false;
    int manualLoads = 0;
};

} // namespace

TEST_F(THelpFormTest, ShowsTheFiguresWithAveragesAndPercentage) {
    app.WriteDiaryTime = 4;
    app.WriteDiaryLines = 30;
    app.WriteDiaryTimeL = 10;
    app.WriteDiaryLinesL = 120;
    auto form = open();
    EXPECT_EQ(form->LabelDiaryTime->text(), u"今月、日記を書いた回数： 4 回"_s);
    EXPECT_EQ(form->LabelDiaryLines->text(),
              u"今月に書いた日記の総行数： 30 行 （１回当たりの平均は、 7行です。）"_s);
    EXPECT_EQ(form->LabelDiaryTimeL->text(), u"先月、日記を書いた回数： 10 回"_s);
    EXPECT_EQ(form->LabelDiaryLinesL->text(),
              u"先月に書いた日記の総行数： 120 行 （１回当たりの平均は、 12行です。）"_s);
    EXPECT_EQ(form->LabelPercent->text(), u"今月の執筆量（行数）は、先月の 25 ％です。"_s);

    // No entries: the averages and the percentage are 0, not a division by zero.
    app.WriteDiaryTime = 0;
    app.WriteDiaryLines = 5;
    app.WriteDiaryTimeL = 0;
    app.WriteDiaryLinesL = 120;
    form = open();
    EXPECT_EQ(form->LabelDiaryLines->text(),
              u"今月に書いた日記の総行数： 5 行 （１回当たりの平均は、 0行です。）"_s);
    EXPECT_EQ(form->LabelDiaryLinesL->text(),
              u"先月に書いた日記の総行数： 120 行 （１回当たりの平均は、 0行です。）"_s);
    EXPECT_EQ(form->LabelPercent->text(), u"今月の執筆量（行数）は、先月の 0 ％です。"_s);
}

TEST_F(THelpFormTest, ShowsTheWindowAndSystemFacts) {
    fake.systemInfo.setPhysicalMemoryBytes(8589934592);
    fake.systemInfo.setOsVersion(u"Debian GNU/Linux 12"_s);
    auto form = open();
    EXPECT_EQ(form->windowTitle(), u"バージョン情報 ＆ ヘルプ"_s);
    EXPECT_EQ(form->size(), QSize(472, 271));
    EXPECT_EQ(form->minimumSize(), form->maximumSize());
    EXPECT_EQ(form->Label1->text(), u"日記HTMLページ製作支援ツール"_s);
    EXPECT_EQ(form->Label2->text(), u"Oribel"_s);
    EXPECT_EQ(form->Label3->text(), u"Ver 3.32"_s);
    EXPECT_FALSE(form->ImageIcon->pixmap().isNull()) << "the program icon did not load";
    EXPECT_FALSE(form->ImageLogo->pixmap().isNull());
    EXPECT_EQ(form->MemLabel->text(), u"8589934592"_s);
    EXPECT_EQ(form->OsLabel->text(), u"Debian GNU/Linux 12"_s);
    EXPECT_TRUE(form->crMemo->isReadOnly());
    EXPECT_FALSE(form->crMemo->toPlainText().isEmpty());
    EXPECT_EQ(form->focusWidget(), form->crMemo);
    const QStringList tabs{u"このソフトウェアについて"_s, u"操作ヘルプとガイド"_s, u"お問い合わせ先"_s,
                           u"統計情報"_s};
    for (int i = 0; i < tabs.size(); ++i)
        EXPECT_EQ(form->PageControl1->tabText(i), tabs[i]);

    // Facts the platform cannot tell keep the design-time texts.
    fake.systemInfo.setPhysicalMemoryBytes(-1);
    fake.systemInfo.setOsVersion(QString());
    form = open();
    EXPECT_EQ(form->MemLabel->text(), u"-"_s);
    EXPECT_EQ(form->OsLabel->text(), u"（判別不能）"_s);
}

TEST_F(THelpFormTest, DebugModeButtonFlipsTheFlagAndShowsItOnReopening) {
    auto form = open();
    EXPECT_FALSE(form->BtnDebugMode->isChecked());
    EXPECT_EQ(form->BtnDebugMode->text(), u"開発用：　デバッグモード"_s);
    EXPECT_EQ(form->BtnDebugMode->toolTip(), u"統計情報の更新を抑制します。"_s);
    form->BtnDebugMode->click();
    EXPECT_TRUE(debugMode);
    EXPECT_TRUE(form->BtnDebugMode->isChecked());
    form->BtnDebugMode->click();
    EXPECT_FALSE(debugMode);
    EXPECT_FALSE(form->BtnDebugMode->isChecked());
    form->BtnDebugMode->click();

    form = open();
    EXPECT_TRUE(debugMode);
    EXPECT_TRUE(form->BtnDebugMode->isChecked()) << "reopened with the debug mode on";
}

TEST_F(THelpFormTest, AddressButtonsHandTheirTextsToTheShell) {
    // The addresses are the ones this program was built with; an unset one is
    // shown as not there yet, and its button does nothing.
    const AuthorAddresses& author = AuthorAddresses::builtIn();
    auto form = open();
    EXPECT_EQ(form->EditManualUrl->text(), AuthorAddresses::shown(author.manualUrl()));
    EXPECT_EQ(form->EditSiteUrl->text(), AuthorAddresses::shown(author.downloadUrl()));
    EXPECT_EQ(form->EditUrl->text(), AuthorAddresses::shown(author.siteUrl()));
    EXPECT_EQ(form->EditMail1->text(), AuthorAddresses::shown(author.supportMail()));
    EXPECT_EQ(form->EditMail2->text(), AuthorAddresses::shown(author.personalMail()));
    for (QLineEdit* edit :
         {form->EditMail1, form->EditMail2, form->EditUrl, form->EditManualUrl, form->EditSiteUrl})
        EXPECT_TRUE(edit->isReadOnly()) << edit->objectName().toStdString();
    EXPECT_EQ(form->SpeedButton1->toolTip(), u"サポート窓口です。お気軽にお送り下さい。"_s);
    EXPECT_EQ(form->SpeedButton3->toolTip(), u"ホームページへアクセスする"_s);

    form->SpeedButton1->click();
    form->SpeedButton2->click();
    form->SpeedButton3->click();
    form->BtnAccessMan->click();
    form->BtnAccessSite->click();
    QStringList expected;
    if (author.hasSupportMail())
        expected.append(u"mailto:"_s + author.supportMail());
    if (author.hasPersonalMail())
        expected.append(u"mailto:"_s + author.personalMail());
    if (author.hasSite())
        expected << author.siteUrl() << author.manualUrl() << author.downloadUrl();
    EXPECT_EQ(fake.shell.opened(), expected);
    if (!author.hasSite()) {
        EXPECT_EQ(form->EditUrl->text(), u"（準備中）"_s);
    }

    fake.shell.clear();
    form->BtnLoadManual->click();
    EXPECT_EQ(manualLoads, 1);
    EXPECT_TRUE(fake.shell.opened().isEmpty());
}

TEST_F(THelpFormTest, OkAndEscapeCloseTheWindow) {
    auto form = open();
    {
        const auto driver =
            testsupport::onNextModal<THelpForm>([](THelpForm* shown) { shown->BitBtn1->click(); });
        EXPECT_EQ(form->exec(), QDialog::Accepted);
    }
    form = open();
    {
        const auto driver = testsupport::onNextModal<THelpForm>(
            [](THelpForm* shown) { QTest::keyClick(shown->crMemo, Qt::Key_Escape); });
        EXPECT_EQ(form->exec(), QDialog::Rejected);
    }
}

TEST_F(THelpFormTest, IconDoubleClickShowsAReleaseNote) {
    const QString title = QApplication::applicationDisplayName();
    {
        auto form = open();
        form->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
        QTest::mouseDClick(form->ImageIcon, Qt::LeftButton);
        ASSERT_EQ(fake.messages.count(), 1);
        EXPECT_EQ(fake.messages.last().text, msg::JokeReleaseNote);
        EXPECT_EQ(fake.messages.last().caption, msg::JokeReleaseNoteCaption);
        EXPECT_EQ(form->windowTitle(), u"バージョン情報 ＆ ヘルプ"_s) << "the rest only with the focus on OK";

        form->BitBtn1->setFocus();
        QTest::mouseDClick(form->ImageIcon, Qt::LeftButton);
        EXPECT_EQ(fake.messages.count(), 2);
        EXPECT_EQ(form->windowTitle(), u"バージョン情報 ＆ おまけ"_s);
        EXPECT_EQ(QApplication::applicationDisplayName(), u"Oribel 3 （おまけ付き）"_s);
        EXPECT_EQ(form->PageControl1->tabText(3), u"ひみつの統計"_s);
        EXPECT_EQ(form->LabelDiaryTime->text(), u"今月、日記を書いた回数： 数えきれないほど（たぶん）"_s);
    }
    // A display name never set reads as the application name. It must not
    // come back set, or every later caption would end in " — <name>"; Qt
    // cannot unset it, and an empty one adds nothing to captions.
    EXPECT_EQ(QApplication::applicationDisplayName(),
              title == QApplication::applicationName() ? QString() : title);
}
