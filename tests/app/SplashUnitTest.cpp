#include "app/SplashUnit.h"

#include "resources/Messages.h"
#include "support/QtPrinters.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

// A shown splash that the test watches for its destruction.
struct ShownSplash {
    explicit ShownSplash(const std::optional<SplashFigures>& figures)
        : form(new TSplashForm(figures)), destroyed(form.data(), &QObject::destroyed) {
        form->show();
    }
    ~ShownSplash() { delete form.data(); }
    // A close requested by the test itself (outside any event loop) leaves the
    // deletion pending until the posted deletions are delivered.
    bool closedAndDestroyed() {
        if (form.isNull())
            return true;
        if (form->isVisible())
            return false;
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        return form.isNull();
    }
    QPointer<TSplashForm> form;
    QSignalSpy destroyed;
};

} // namespace

TEST(TSplashForm, ShowsTheStoredFigures) {
    TSplashForm splash(SplashFigures{4, 30, 10, 120});
    EXPECT_EQ(splash.size(), QSize(441, 237));
    EXPECT_TRUE(splash.windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_TRUE(splash.windowFlags() & Qt::FramelessWindowHint);
    EXPECT_TRUE(splash.testAttribute(Qt::WA_DeleteOnClose));
    EXPECT_LE((splash.geometry().center() - QGuiApplication::primaryScreen()->geometry().center())
                  .manhattanLength(),
              1);
    EXPECT_EQ(splash.Label2->text(), u"日記HTMLファイル作成支援エディタ"_s);
    EXPECT_EQ(splash.Label1->text(), u"Oribel"_s);
    EXPECT_TRUE(splash.Label1->font().italic());
    EXPECT_EQ(splash.Label3->text(), u"Ver 3.32"_s);
    EXPECT_FALSE(splash.LabelNotice->text().isEmpty());
    EXPECT_FALSE(splash.ImageIcon->pixmap().isNull()) << "the program icon did not load";
    EXPECT_EQ(splash.StatusLabel->text(), u"起動処理中..."_s);
    EXPECT_EQ(splash.BtnPin->text(), u"消さない"_s);
    EXPECT_EQ(splash.Timer1->interval(), 1000);
    EXPECT_TRUE(splash.Timer1->isActive()) << "the timer runs from the splash's creation";

    EXPECT_EQ(splash.LabelWriteTimeCap->text(), u"今月中に日記を書いた回数："_s);
    EXPECT_EQ(splash.LabelWriteTime->text(), u"4"_s);
    EXPECT_EQ(splash.LabelWriteTimeTani->text(), u"回"_s);
    EXPECT_EQ(splash.LabelWriteTimeBef->text(), u"（先月： 10回）"_s);
    EXPECT_EQ(splash.LabelSumLineCap->text(), u"今月の日記の総行数："_s);
    EXPECT_EQ(splash.LabelSumLine->text(), u"30"_s);
    EXPECT_EQ(splash.LabelSumLineTani->text(), u"行"_s);
    EXPECT_EQ(splash.LabelSumLineBef->text(), u"（先月： 120行）"_s);
    for (QLabel* label : splash.InfoPanel->findChildren<QLabel*>())
        EXPECT_FALSE(label->isHidden()) << label->objectName().toStdString();

    // Figures are shown as stored, negative ones included.
    TSplashForm odd(SplashFigures{-1, 0, 2147483647, 0});
    EXPECT_EQ(odd.LabelWriteTime->text(), u"-1"_s);
    EXPECT_EQ(odd.LabelWriteTimeBef->text(), u"（先月： 2147483647回）"_s);
}

TEST(TSplashForm, WelcomesWhenThereAreNoFigures) {
    TSplashForm splash(std::nullopt);
    EXPECT_EQ(splash.LabelWriteTimeCap->text(), u"Oribel をダウンロードいただき、ありがとうございます。"_s);
    EXPECT_FALSE(splash.LabelWriteTimeCap->isHidden());
    for (QLabel* label :
         {splash.LabelWriteTime, splash.LabelWriteTimeTani, splash.LabelWriteTimeBef, splash.LabelSumLineCap,
          splash.LabelSumLine, splash.LabelSumLineTani, splash.LabelSumLineBef})
        EXPECT_TRUE(label->isHidden()) << label->objectName().toStdString();
}

TEST(TSplashForm, TimerClosesAndDestroysIt) {
    ShownSplash splash(SplashFigures{1, 2, 3, 4});
    ASSERT_TRUE(splash.destroyed.wait(5000)) << "the splash did not close itself";
    EXPECT_TRUE(splash.form.isNull());
}

TEST(TSplashForm, PinKeepsItOpenUntilPressedAgain) {
    ShownSplash splash(std::nullopt);
    splash.form->BtnPin->click();
    ASSERT_FALSE(splash.form.isNull());
    EXPECT_TRUE(splash.form->isVisible());
    EXPECT_FALSE(splash.form->Timer1->isActive());
    EXPECT_EQ(splash.form->BtnPin->text(), u"閉じる"_s);
    EXPECT_TRUE(splash.form->StatusLabel->isHidden());

    splash.form->BtnPin->click();
    EXPECT_TRUE(splash.closedAndDestroyed());
}

TEST(TSplashForm, EscapeClosesOnlyAPinnedSplash) {
    ShownSplash splash(SplashFigures{1, 2, 3, 4});
    QTest::keyClick(splash.form.data(), Qt::Key_Escape);
    EXPECT_TRUE(splash.form->Timer1->isActive()) << "Escape before pinning does nothing";
    EXPECT_TRUE(splash.form->isVisible());

    splash.form->BtnPin->click();
    QTest::keyClick(splash.form->BtnPin, Qt::Key_Escape);
    EXPECT_TRUE(splash.closedAndDestroyed());
}

TEST(TSplashForm, FlagFileInTheCurrentOrTheProgramFolderTurnsItOff) {
    QTemporaryDir current, program;
    const QString programFolder = QDir::toNativeSeparators(program.path()) + QDir::separator();
    const QString previous = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(current.path()));
    EXPECT_TRUE(SplashWanted(programFolder));
    QFile(program.filePath(QStringLiteral("NOSPLASH.FLG"))).open(QIODevice::WriteOnly);
    EXPECT_FALSE(SplashWanted(programFolder));
    QFile::remove(program.filePath(QStringLiteral("NOSPLASH.FLG")));
    QFile(current.filePath(QStringLiteral("NOSPLASH.FLG"))).open(QIODevice::WriteOnly);
    EXPECT_FALSE(SplashWanted(programFolder));
    QDir::setCurrent(previous);
}
