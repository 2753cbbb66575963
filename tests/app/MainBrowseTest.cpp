// Handing the page to browsers, editor and FTP program; the error page; the
// bookmark and project menus.

#include "app/MainFormFixture.h"
#include "dialogs/AppSetUnit.h"

#include "document/HandOver.h"
#include "platform/DesktopShell.h"
#include "resources/Messages.h"
#include "support/ModalDriver.h"

#include <QDir>
#include <QFileInfo>
#include <QHelpEvent>
#include <QLabel>
#include <QMenu>
#include <QTabWidget>
#include <QTextDocument>
#include <QToolTip>

using namespace Qt::StringLiterals;

class MainBrowseTest : public MainFormTest {
protected:
    void SetUp() override {
        MainFormTest::SetUp();
        fake.browsers.setInternetExplorer(u"/opt/ie/iexplore"_s);
        fake.browsers.setNetscape(u"/usr/bin/firefox"_s);
        start();
        form->appSet.BrowserIE = u"/home/u/my ie"_s;
        form->appSet.ExternalApp1 = u"/opt/ftp tool/ftp"_s;
        form->appSet.ExternalApp2 = u"/usr/bin/gedit"_s;
        showDocumentTab(); // the editor and FTP commands follow their paths
    }
    QString errorPage() const { return fake.programFile(u"error.html"_s); }
    // Everything handed over, in one list: what the desktop opened as ("open", {target}).
    QList<LaunchRecord> handedOver() const {
        QList<LaunchRecord> all;
        for (const QString& target : fake.shell.opened())
            all.append({u"open"_s, {target}});
        return all + fake.shell.launched();
    }
    using M = TMainForm;
    struct Row {
        QAction* M::*action;
        bool flag; // the user's browser paths, or messages instead of the error page
        QList<LaunchRecord> handedOver;
        QString message = {};
    };
};

TEST_F(MainBrowseTest, SavedPageGoesToEachProgramAsOneArgument) {
    // Blanks, quotes, "$", ";" and a leading "-" reach the program untouched.
    const QString page = writeFile(fake.programFile(u"-my \"diary\" $HOME; x.htm"_s), "<p>");
    openDocument(page);
    const Row rows[] = {
        {&M::SendHtmlAction, false, {{u"open"_s, {page}}}},
        {&M::SendIEAction, false, {{u"/opt/ie/iexplore"_s, {page}}}},
        {&M::SendIEAction, true, {{u"/home/u/my ie"_s, {page}}}},
        {&M::SendNNAction, false, {{u"/usr/bin/firefox"_s, {page}}}},
        {&M::EditorAction, false, {{u"/usr/bin/gedit"_s, {page}}}},
        {&M::FtpToolAction, false, {{u"/opt/ftp tool/ftp"_s, {}}}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(&row - rows);
        fake.shell.clear();
        form->appSet.setFlag(BrowserPathManualFlag, row.flag ? '1' : '0');
        (form.get()->*row.action)->trigger();
        EXPECT_EQ(handedOver(), row.handedOver);
        EXPECT_EQ(fake.messages.count(), 0); // saved and unmodified: no question
    }
    fake.shell.setLaunchResult(false);
    form->EditorAction->trigger();
    EXPECT_EQ(form->PanelStatusRsm->text(), u" fake shell failure"_s);
}

TEST_F(MainBrowseTest, UnsavedChangesAndTheErrorPage) {
    // A new document from the template, never saved: no file to show.
    writeFile(u"basehtml.txt"_s, "<html>");
    fake.messages.answerNext(MsgAnswer::Yes);
    form->NewAction->trigger();
    fake.messages.clear();
    form->SendHtmlAction->trigger();
    EXPECT_EQ(fake.shell.opened(), QStringList{errorPage()});
    EXPECT_EQ(fake.messages.count(), 0);

    openDocument(writeFile(u"page.htm"_s, "<p>"));
    QTest::keyClick(form->RAll, Qt::Key_X);
    form->appSet.setFlag(BrowserPathManualFlag, '1'); // the error page still goes to the found browser
    const Row rows[] = {
        {&M::SendHtmlAction, false, {{u"open"_s, {errorPage()}}}},
        {&M::SendIEAction, false, {{u"/opt/ie/iexplore"_s, {errorPage()}}}},
        {&M::SendHtmlAction, true, {}, msg::HandOverNotSaved},
        {&M::EditorAction, false, {}, msg::EditorNothing},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(&row - rows);
        fake.shell.clear();
        fake.messages.clear();
        QFile::remove(errorPage());
        form->appSet.setFlag(ErrorHtmlOffFlag, row.flag ? '1' : '0');
        fake.messages.answerNext(MsgAnswer::No);
        (form.get()->*row.action)->trigger();
        EXPECT_EQ(handedOver(), row.handedOver);
        EXPECT_EQ(fake.messages.texts().mid(1),
                  row.message.isEmpty() ? QStringList() : QStringList{row.message});
        EXPECT_EQ(readBytes(errorPage()),
                  row.handedOver.isEmpty() ? QByteArray() : handover::ErrorPageBytes());
    }
}

TEST_F(MainBrowseTest, ErrorPageStaysThirtySecondsOrUntilExit) {
    const QDateTime written = fake.clock.now();
    form->SendHtmlAction->trigger(); // no document: the error page
    fake.clock.setNow(written.addSecs(29));
    form->centralWidget()->repaint();
    QCoreApplication::processEvents();
    EXPECT_TRUE(QFileInfo::exists(errorPage()));
    fake.clock.setNow(written.addSecs(30));
    form->centralWidget()->repaint();
    QTRY_VERIFY(!QFileInfo::exists(errorPage()));

    form->SendHtmlAction->trigger();
    ASSERT_TRUE(QFileInfo::exists(errorPage()));
    ASSERT_TRUE(closeForm());
    EXPECT_FALSE(QFileInfo::exists(errorPage()));
    EXPECT_EQ(fake.messages.count(), 0);
}

TEST_F(MainBrowseTest, AnErrorPageThatCannotBeWrittenOrDeletedIsStillHandledLater) {
    // A link into a missing folder: the page cannot be written there.
    ASSERT_TRUE(QFile::link(fake.programFile(u"missing/error.html"_s), errorPage()));
    form->SendHtmlAction->trigger();
    EXPECT_EQ(fake.messages.texts(), QStringList{msg::ErrorPageWriteFailed});
    ASSERT_EQ(fake.shell.opened().size(), 1) << "the browser is started all the same";
    EXPECT_TRUE(DesktopShell::urlFor(fake.shell.opened()[0]).isValid())
        << "the desktop is asked to open it: " << fake.shell.opened()[0].toStdString();
    QFile::remove(errorPage());

    // A page the deletion fails on is reported once and tried again later, and at exit.
    for (bool atExit : {false, true}) {
        SCOPED_TRACE(atExit);
        fake.messages.clear();
        form->SendHtmlAction->trigger();
        ASSERT_TRUE(QFile::remove(errorPage()));
        ASSERT_TRUE(QDir().mkpath(errorPage() + u"/inner"_s)); // cannot be removed as a file
        for (int i = 0; i < 2; ++i) {
            fake.clock.setNow(fake.clock.now().addSecs(30));
            form->centralWidget()->repaint();
            QCoreApplication::processEvents();
        }
        EXPECT_EQ(fake.messages.texts(), QStringList{msg::ErrorPageDeleteFailed});
        ASSERT_TRUE(QDir(errorPage()).removeRecursively());
        writeFile(u"error.html"_s, "left behind");
        if (atExit) {
            ASSERT_TRUE(closeForm());
        } else {
            fake.clock.setNow(fake.clock.now().addSecs(30));
            form->centralWidget()->repaint();
        }
        QTRY_VERIFY(!QFileInfo::exists(errorPage()));
        EXPECT_EQ(fake.messages.count(), 1);
    }
}

TEST_F(MainBrowseTest, BookmarksAreNumberedOnAcrossReloads) {
    writeFile(u"bookmark.csv"_s, sjisBytes(u"# list,\nhttps://example.org/d/,日記A\nhttp://x.com/,B&C\n"_s));
    auto bookmarkItems = [this] {
        Q_EMIT form->MenuService->aboutToShow();
        return form->ServiceBookMark->actions().mid(2); // after the link and its separator
    };
    QList<QAction*> items = bookmarkItems();
    ASSERT_EQ(items.size(), 4);
    EXPECT_EQ(items[0]->data().toInt(), 31);
    EXPECT_EQ(items[3]->data().toInt(), 34); // the separator and the registration item count too
    items[0]->trigger();
    EXPECT_EQ(fake.shell.opened(), QStringList{u"https://example.org/d/"_s});
    {
        auto driver = testsupport::onNextModal<TAppSetForm>([](TAppSetForm* dialog) {
            EXPECT_EQ(dialog->PageControl1->currentWidget(), dialog->BookmarkSheet);
            dialog->reject();
        });
        items[3]->trigger(); // registration: after the settings the menu is read again
    }
    EXPECT_EQ(bookmarkItems().value(0)->data().toInt(), 35);
}

TEST_F(MainBrowseTest, ProjectPathWithAmpersandOpensThatFile) {
    const QString page = writeFile(u"R&D page.htm"_s, "<p>R&D</p>");
    writeFile(u"default.str"_s, sjisBytes(u"# projects\n"_s + page + u"\n"_s));
    Q_EMIT form->FileProjects->aboutToShow();
    for (const QMenu* menu : {form->PopupProjects, form->FileProjects}) {
        ASSERT_EQ(menu->actions().size(), 3) << menu->objectName().toStdString();
        EXPECT_EQ(menu->actions().first()->text(), QString(page).replace(u"&"_s, u"&&"_s));
    }
    form->PopupProjects->actions().first()->trigger();
    EXPECT_EQ(form->document().fileName(), page);

    // Without the list file, after the settings only the fixed items remain.
    QFile::remove(fake.programFile(u"default.str"_s));
    {
        auto driver = testsupport::onNextModal<TAppSetForm>([](TAppSetForm* dialog) {
            EXPECT_EQ(dialog->PageControl1->currentWidget(), dialog->SameTimeRenewalSheet);
            dialog->reject();
        });
        form->ProjectsEdit->trigger();
    }
    Q_EMIT form->FileProjects->aboutToShow();
    EXPECT_EQ(form->PopupProjects->actions().size() + form->FileProjects->actions().size(), 4);
}

TEST_F(MainBrowseTest, ALaunchFailureCutAtThePanelsEdgeIsItsHint) {
    const QString page = writeFile(fake.programFile(u"p.htm"_s), "<p>");
    openDocument(page);
    const auto hover = [this] {
        QLabel* panel = form->PanelStatusRsm;
        QHelpEvent event(QEvent::ToolTip, QPoint(2, 2), panel->mapToGlobal(QPoint(2, 2)));
        QApplication::sendEvent(panel, &event);
    };
    const QString whole = u"<b>editor</b> を起動できません: "_s + u"/very/long/folder"_s.repeated(20);
    fake.shell.setLaunchResult(false);
    fake.shell.setFailureText(whole);
    form->EditorAction->trigger();
    hover();
    EXPECT_TRUE(QToolTip::isVisible());
    QTextDocument shown; // what the tooltip reads
    if (Qt::mightBeRichText(QToolTip::text()))
        shown.setHtml(QToolTip::text());
    else
        shown.setPlainText(QToolTip::text());
    EXPECT_EQ(shown.toPlainText(), whole);

    fake.shell.setFailureText(u"短い"_s);
    form->EditorAction->trigger();
    hover();
    EXPECT_TRUE(QTest::qWaitFor([] { return !QToolTip::isVisible(); })) << "a text that fits has no hint";
}
