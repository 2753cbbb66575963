// Publishing from the window: the command, its questions, progress and
// cancel, closing during an upload, the project pages and the settings page.

#include "app/MainFormFixture.h"
#include "dialogs/AppSetUnit.h"
#include "dialogs/AppSetUpload.h"

#include "publish/UploadPlan.h"
#include "resources/Messages.h"
#include "support/ModalDriver.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QProgressBar>
#include <QPushButton>
#include <QToolButton>

using namespace Qt::StringLiterals;

class MainUploadTest : public MainFormTest {
protected:
    void SetUp() override {
        MainFormTest::SetUp();
        start();
        AppSet& app = form->appSet;
        app.UploadProtocol = u"sftp"_s;
        app.UploadHost = u"example.jp"_s;
        app.UploadUser = u"taro"_s;
        app.UploadFolder = u"www"_s;
        app.UploadLocalFolder = fake.programFolder();
        QDir(fake.programFolder()).mkpath(u"2026"_s);
        page = writeFile(u"2026/p.html"_s, "<p>old</p>");
        openDocument(page);
    }
    QString status() const { return form->PanelStatusRsm->text(); }

    QString page;
};

TEST_F(MainUploadTest, SendsTheSavedPageWithProgressAndCancel) {
    EXPECT_TRUE(form->MenuBrowse->actions().contains(form->UploadAction));
    EXPECT_EQ(form->UploadAction->shortcut(), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_F));
    EXPECT_TRUE(form->UploadAction->isEnabled());

    // Unsaved changes: No and Cancel upload nothing.
    typeInto(form->RAll, u"x"_s);
    for (const MsgAnswer answer : {MsgAnswer::No, MsgAnswer::Cancel}) {
        fake.messages.answerNext(answer);
        form->BtnUpload->click();
        EXPECT_TRUE(fake.uploads.requests.isEmpty());
    }
    // Yes saves first; the page goes to the same subfolder remotely.
    fake.messages.answerNext(MsgAnswer::Yes);
    form->UploadAction->trigger();
    ASSERT_EQ(fake.uploads.requests.size(), 1);
    EXPECT_EQ(readBytes(page), "x<p>old</p>");
    EXPECT_EQ(fake.uploads.requests[0].localPath, page);
    EXPECT_EQ(fake.uploads.requests[0].remotePath, u"2026/p.html"_s);
    EXPECT_FALSE(form->UploadAction->isEnabled());

    // Over a second: the progress and the cancel button show; the window answers meanwhile.
    EXPECT_FALSE(form->UploadProgress->isVisible());
    QTRY_VERIFY(form->UploadProgress->isVisible());
    EXPECT_TRUE(form->BtnUploadCancel->isVisible());
    fake.uploads.requests[0].progress(500, 1000);
    QTRY_COMPARE(form->UploadProgress->value(), 500);
    form->BtnUploadCancel->click();
    EXPECT_EQ(fake.uploads.cancels, 1);
    fake.uploads.finish(upload::Status::Cancelled);
    EXPECT_EQ(status(), msg::UploadCancelledStatus);
    EXPECT_FALSE(form->UploadProgress->isVisible());
    EXPECT_TRUE(form->UploadAction->isEnabled());

    // Done: the status says what went where.
    form->UploadAction->trigger();
    fake.uploads.finish(upload::Status::Done);
    EXPECT_EQ(status(),
              msg::UploadDoneStatus.arg(u"p.html"_s, u"sftp://taro@example.jp:22/www/2026/p.html"_s));

    // A failure is shown with its text.
    fake.messages.clear();
    form->UploadAction->trigger();
    fake.uploads.finish(upload::Status::PermissionDenied, u"Permission denied"_s);
    ASSERT_EQ(fake.messages.requests().size(), 1);
    EXPECT_EQ(fake.messages.requests()[0].text,
              msg::UploadPermissionDenied.arg(u"sftp://taro@example.jp:22/www/2026/p.html"_s) +
                  msg::UploadServerReason.arg(u"Permission denied"_s));
}

TEST_F(MainUploadTest, ClosingDuringAnUploadAsksAndClosesOnceCancelled) {
    form->UploadAction->trigger();
    ASSERT_EQ(fake.uploads.requests.size(), 1);
    fake.messages.answerNext(MsgAnswer::No);
    EXPECT_FALSE(closeForm());
    EXPECT_EQ(fake.messages.requests().last().text, msg::UploadCloseQuestion);
    EXPECT_EQ(fake.uploads.cancels, 0);

    fake.messages.answerNext(MsgAnswer::Yes);
    EXPECT_FALSE(closeForm()); // waits for the cancel to be through
    EXPECT_EQ(fake.uploads.cancels, 1);
    fake.uploads.finish(upload::Status::Cancelled);
    EXPECT_FALSE(form->isVisible());
}

TEST_F(MainUploadTest, ChangedProjectPagesGoUpWithThePageAndASummaryFollows) {
    const QString a = writeFile(u"a.html"_s, "a"), b = writeFile(u"b.html"_s, "b");
    writeFile(u"default.str"_s, (a + u"\r\n"_s + b + u"\r\n"_s + page + u"\r\n"_s).toUtf8());
    form->appSet.UploadProjects = u"1"_s;
    form->UploadAction->trigger();
    fake.uploads.finish(upload::Status::Done);
    fake.uploads.finish(upload::Status::Done);
    fake.uploads.finish(upload::Status::DiskFull);
    ASSERT_EQ(fake.uploads.requests.size(), 3);
    EXPECT_EQ(fake.uploads.requests[1].localPath, a);
    EXPECT_EQ(fake.uploads.requests[2].remotePath, u"b.html"_s);
    ASSERT_EQ(fake.messages.requests().size(), 1);
    EXPECT_EQ(fake.messages.requests()[0].caption, msg::UploadSummaryCaption);
    EXPECT_TRUE(fake.messages.requests()[0].text.startsWith(msg::UploadSummary.arg(
        QDir::toNativeSeparators(page) + u" → sftp://taro@example.jp:22/www/2026/p.html\n"_s +
            QDir::toNativeSeparators(a) + u" → sftp://taro@example.jp:22/www/a.html"_s,
        QDir::toNativeSeparators(b))));

    // Next time only what changed since: the page (always) and b, which failed.
    form->UploadAction->trigger();
    fake.uploads.finish(upload::Status::Done);
    ASSERT_EQ(fake.uploads.requests.size(), 5);
    EXPECT_EQ(fake.uploads.requests[4].localPath, b);
    fake.uploads.finish(upload::Status::Done);
}

TEST_F(MainUploadTest, SettingsPageStoresTheTargetAndKeepsThePasswordInTheKeyring) {
    AppSet& app = form->appSet;
    app.UploadProtocol.clear();
    // Not set up: the first upload says so and opens the settings on their page.
    fake.messages.answerNext(MsgAnswer::Ok);
    auto driver = testsupport::onNextModal<TAppSetForm>([](TAppSetForm* dialog) {
        EXPECT_EQ(dialog->PageControl1->currentWidget(), dialog->UploadSheet);
        UploadSettingsPage* p = dialog->UploadSheet;
        p->ComboUploadProtocol->setCurrentIndex(2);
        EXPECT_TRUE(p->LabelUploadWarning->isVisible());
        EXPECT_EQ(p->LabelUploadWarning->text(), msg::UploadPlainFtpWarning);
        p->ComboUploadProtocol->setCurrentIndex(1);
        EXPECT_FALSE(p->LabelUploadWarning->isVisible());
        EXPECT_FALSE(p->EditUploadKeyFile->isEnabled());
        p->EditUploadHost->setText(u"ftp.example.jp"_s);
        p->EditUploadPort->setText(u"990"_s);
        p->EditUploadPassword->setText(u"s3cret-pw"_s);
        p->CheckUploadProjects->setChecked(true);
        dialog->BtnOK->click();
    });
    form->UploadAction->trigger();
    EXPECT_EQ(fake.messages.requests()[0].text, msg::UploadNotConfigured);
    EXPECT_EQ(app.UploadProtocol, u"ftps"_s);
    EXPECT_EQ(app.UploadHost, u"ftp.example.jp"_s);
    EXPECT_EQ(app.UploadPort, u"990"_s);
    EXPECT_EQ(app.UploadProjects, u"1"_s);
    EXPECT_EQ(fake.passwords.stored.value(u"ftps taro@ftp.example.jp:990"_s), u"s3cret-pw"_s);
    // The upload went on with the password from the keyring.
    ASSERT_EQ(fake.uploads.requests.size(), 1);
    EXPECT_EQ(fake.uploads.requests[0].target.password, u"s3cret-pw"_s);
    fake.uploads.finish(upload::Status::Done);
    ASSERT_TRUE(closeForm());
    EXPECT_FALSE(readBytes(fake.storePath()).contains("s3cret-pw"));
    EXPECT_TRUE(readBytes(fake.storePath()).contains("ftp.example.jp"));
}
