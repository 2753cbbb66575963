// The diary document on the whole-file tab: new, open, save, save as, the
// unsaved-changes question, the history, and files that cannot be read or written.

#include "app/MainFormFixture.h"

#include "resources/Messages.h"

#include <QDir>
#include <QLabel>
#include <QMenu>

using namespace Qt::StringLiterals;

class MainDocumentTest : public MainFormTest {
protected:
    void SetUp() override {
        MainFormTest::SetUp();
        start();
        showDocumentTab();
    }
    bool saveEnabled() const { return form->SaveAction->isEnabled(); }
    bool saveAsEnabled() const { return form->SaveAsAction->isEnabled(); }
    void saveAs(const QString& path) {
        QTest::keyClick(form->RAll, Qt::Key_X); // Save As is on after an edit
        fake.fileDialogs.chooseNext(path);
        form->SaveAsAction->trigger();
    }
};

TEST_F(MainDocumentTest, NewWithoutAndWithThePageTemplate) {
    form->NewAction->trigger();
    EXPECT_EQ(form->PanelFileName->text(), u"New File."_s);
    EXPECT_TRUE(form->document().fileName().isEmpty());
    EXPECT_FALSE(form->RAll->isReadOnly());
    EXPECT_TRUE(form->RAll->toPlainText().isEmpty());
    EXPECT_FALSE(form->RAll->document()->isModified());
    EXPECT_FALSE(saveEnabled());
    EXPECT_FALSE(saveAsEnabled());
    EXPECT_EQ(fake.messages.count(), 0);
    QTest::keyClick(form->RAll, Qt::Key_A);
    EXPECT_TRUE(saveEnabled());
    EXPECT_TRUE(saveAsEnabled());

    // With basehtml.txt: asked first (the unsaved "a" too), Yes loads it.
    writeFile(u"basehtml.txt"_s, sjisBytes(u"<html>\n<body>\n"_s));
    fake.messages.answerNext(MsgAnswer::No);  // do not save the "a"
    fake.messages.answerNext(MsgAnswer::Yes); // load the template
    form->NewAction->trigger();
    EXPECT_EQ(fake.messages.last().caption, u"新規日記HTMLファイルの作成"_s);
    EXPECT_EQ(fake.messages.last().text, u"新規作成用テンプレートファイルがあります。\n\n読み込みますか？"_s);
    EXPECT_EQ(form->RAll->toPlainText(), u"<html>\n<body>\n"_s);
    EXPECT_FALSE(form->RAll->document()->isModified());
    EXPECT_FALSE(saveEnabled());
}

TEST_F(MainDocumentTest, SaveOfAnUnnamedDocumentFallsBackToSaveAs) {
    form->NewAction->trigger();
    testsupport::typeText(form->RAll, u"<p>"_s);
    fake.fileDialogs.cancelNext();
    form->SaveAction->trigger();
    ASSERT_EQ(fake.fileDialogs.count(), 1);
    const FileDialogRecord& dialog = fake.fileDialogs.last();
    EXPECT_EQ(dialog.kind, FileDialogKind::Save);
    EXPECT_EQ(dialog.title, u"日記HTMLファイルを保存"_s);
    EXPECT_EQ(dialog.defaultExt, u"htm"_s);
    EXPECT_EQ(dialog.filterIndex, 1);
    EXPECT_TRUE(dialog.filter.startsWith(u"HTMLファイル(*.html,*.htm)|*.html;*.htm|"_s));
    EXPECT_TRUE(dialog.options.testFlag(FileDialogOption::OverwritePrompt));
    EXPECT_TRUE(form->RAll->document()->isModified());
    EXPECT_EQ(form->PanelFileName->text(), u"New File."_s);

    const QString path = fake.programFile(u"diary.htm"_s);
    fake.fileDialogs.chooseNext(path);
    form->SaveAction->trigger();
    EXPECT_EQ(readBytes(path), QByteArray("<p>"));
    EXPECT_EQ(form->PanelFileName->text(), path);
    EXPECT_FALSE(form->RAll->document()->isModified());
    EXPECT_FALSE(saveEnabled());
    EXPECT_FALSE(saveAsEnabled());
    EXPECT_EQ(form->appSet.FileHistory1, path);
}

TEST_F(MainDocumentTest, OpenLeavesSaveOffAndTheHistoryAlone) {
    const QString path = writeFile(u"page.html"_s, sjisBytes(u"<html>日記\n"_s));
    openDocument(path);
    const FileDialogRecord& dialog = fake.fileDialogs.last();
    EXPECT_EQ(dialog.kind, FileDialogKind::Open);
    EXPECT_EQ(dialog.title, u"日記HTMLファイルを開く"_s);
    EXPECT_EQ(
        dialog.filter,
        u"HTMLファイル(*.htm,*html)|*.htm;*.html|XMLファイル(*.xml)|*.xml|テキストファイル(*.txt,*.doc)|*.txt;*.doc|すべてのファイル|*.*"_s);
    EXPECT_TRUE(dialog.options.testFlag(FileDialogOption::FileMustExist));
    EXPECT_TRUE(dialog.initialDir.isEmpty());

    EXPECT_EQ(form->RAll->toPlainText(), u"<html>日記\n"_s);
    EXPECT_EQ(form->document().fileName(), path);
    EXPECT_FALSE(saveEnabled());
    EXPECT_TRUE(saveAsEnabled());
    EXPECT_TRUE(form->InsertDiaryAction->isEnabled());
    EXPECT_TRUE(form->appSet.FileHistory1.isEmpty());
    // A change of tab enables Save again, as does an edit.
    showTodayTab();
    showDocumentTab();
    EXPECT_TRUE(saveEnabled());
}

TEST_F(MainDocumentTest, SavingPushesTheHistory) {
    form->NewAction->trigger();
    const QString a = fake.programFile(u"a.htm"_s), b = fake.programFile(u"b.htm"_s),
                  c = fake.programFile(u"c.htm"_s);
    auto history = [this] {
        return QStringList{form->appSet.FileHistory1, form->appSet.FileHistory2, form->appSet.FileHistory3};
    };
    saveAs(a);
    QTest::keyClick(form->RAll, Qt::Key_X);
    form->SaveAction->trigger(); // the same file again
    EXPECT_EQ(history(), (QStringList{a, QString(), QString()}));
    saveAs(b);
    EXPECT_EQ(history(), (QStringList{b, a, QString()}));
    saveAs(a); // second place swaps with the first
    EXPECT_EQ(history(), (QStringList{a, b, QString()}));
    saveAs(c);
    EXPECT_EQ(history(), (QStringList{c, a, b}));
    saveAs(b); // third place moves to the top
    EXPECT_EQ(history(), (QStringList{b, c, a}));
    saveAs(fake.programFile(u"A.htm"_s)); // case matters
    EXPECT_EQ(history(), (QStringList{fake.programFile(u"A.htm"_s), b, c}));

    // The history menu shows them.
    emit form->MenuFile->aboutToShow();
    EXPECT_EQ(form->FileHist2->text(), u"&2 "_s + b);
    EXPECT_TRUE(form->FileHist3->isEnabled());
}

TEST_F(MainDocumentTest, HistoryItemsAskFirstAndReportMissingFiles) {
    emit form->MenuFile->aboutToShow();
    EXPECT_EQ(form->FileHist1->text(), u"&1 None"_s);
    EXPECT_FALSE(form->FileHist1->isEnabled());

    const QString path = writeFile(u"kept.htm"_s, "kept");
    openDocument(path);
    testsupport::typeText(form->RAll, u"changed "_s);
    form->appSet.FileHistory2 = fake.programFile(u"deleted.htm"_s);
    fake.messages.answerNext(MsgAnswer::No);
    emit form->PopupHistry->aboutToShow();
    EXPECT_TRUE(form->PopupHist2->isEnabled());
    form->PopupHist2->trigger();
    ASSERT_EQ(fake.messages.count(), 2);
    EXPECT_EQ(fake.messages.requests()[0].text, msg::DocumentNotSaved);
    EXPECT_EQ(fake.messages.requests()[1].text, u"履歴上の指定のファイル\n"_s +
                                                    fake.programFile(u"deleted.htm"_s) +
                                                    u"\nは、移動または削除されています。"_s);
    EXPECT_EQ(form->document().fileName(), path);
    EXPECT_TRUE(form->RAll->document()->isModified());
}

TEST_F(MainDocumentTest, InvalidBytesSurviveOpenAndSave) {
    static const char raw[] = "<p>\x82\xa0\x82\xa2</p>\r\n\x81\r\n\xff\x80\x00z\r\n\xe0";
    const QByteArray bytes(raw, sizeof raw - 1);
    const QString path = writeFile(u"odd.htm"_s, bytes);
    openDocument(path);
    QTest::keyClick(form->RAll, Qt::Key_End, Qt::ControlModifier);
    testsupport::typeText(form->RAll, u"x"_s);
    QTest::keyClick(form->RAll, Qt::Key_Backspace);
    form->SaveAction->trigger();
    EXPECT_EQ(readBytes(path), bytes);
}

TEST_F(MainDocumentTest, AFileThatCannotBeWrittenChangesNothing) {
    const QString path = writeFile(u"page.htm"_s, "old");
    openDocument(path);
    testsupport::typeText(form->RAll, u"new "_s);
    // The document's folder disappears behind a file of the same name.
    const QString blocked = fake.programFile(u"blocked"_s);
    writeFile(u"blocked"_s, "a file, not a folder");
    form->SetDocumentName(blocked + u"/page.htm"_s);

    form->SaveAction->trigger();
    EXPECT_EQ(fake.messages.count(), 1);
    EXPECT_EQ(fake.messages.last().icon, MsgIcon::Error);
    EXPECT_TRUE(fake.messages.last().text.contains(blocked + u"/page.htm"_s));
    EXPECT_TRUE(form->RAll->document()->isModified());
    EXPECT_TRUE(form->appSet.FileHistory1.isEmpty());

    // Yes to the question before New: the save fails, so New does not go on.
    fake.messages.answerNext(MsgAnswer::Yes);
    form->NewAction->trigger();
    EXPECT_EQ(form->RAll->toPlainText(), u"new old"_s);
    EXPECT_EQ(form->document().fileName(), blocked + u"/page.htm"_s);
}

TEST_F(MainDocumentTest, AFileThatCannotBeReadChangesNothing) {
    const QString path = writeFile(u"page.htm"_s, "page");
    openDocument(path);
    fake.fileDialogs.chooseNext(fake.programFolder()); // a folder, not a file
    form->OpenAction->trigger();
    EXPECT_EQ(fake.messages.count(), 1);
    EXPECT_EQ(fake.messages.last().icon, MsgIcon::Error);
    EXPECT_EQ(form->document().fileName(), path);
    EXPECT_EQ(form->RAll->toPlainText(), u"page"_s);
}

TEST_F(MainDocumentTest, DialogsRememberOnlyFoldersWhereAFileWasReadOrWritten) {
    const QString page = writeFile(u"page.htm"_s, "page");
    const QString blocked = writeFile(u"blocked"_s, "a file, not a folder");
    struct Row {
        const char* name;
        std::function<void()> act;
        QStringList remembered;
    };
    const Row rows[] = {
        {"open", [&] { openDocument(page); }, {page}},
        {"failed open",
         [&] {
             fake.fileDialogs.chooseNext(fake.programFolder());
             form->OpenAction->trigger();
         },
         {}},
        {"failed save as", [&] { saveAs(blocked + u"/new.htm"_s); }, {}},
        {"save as", [&] { saveAs(fake.programFile(u"new.htm"_s)); }, {fake.programFile(u"new.htm"_s)}},
    };
    for (const Row& row : rows) {
        fake.fileDialogs.clear();
        row.act();
        EXPECT_EQ(fake.fileDialogs.remembered(), row.remembered) << row.name;
        // No name is left over from an earlier use to take the dialog elsewhere.
        EXPECT_TRUE(fake.fileDialogs.last().fileName.isEmpty()) << row.name;
    }
}

TEST_F(MainDocumentTest, AProjectItemAsksBeforeReplacingUnsavedWork) {
    openDocument(writeFile(u"page.htm"_s, "page"));
    testsupport::typeText(form->RAll, u"edit "_s);
    const QString project = writeFile(u"other.htm"_s, "other");
    fake.messages.answerNext(MsgAnswer::Cancel);
    form->OpenProjectFile(project);
    EXPECT_EQ(form->RAll->toPlainText(), u"edit page"_s);
    fake.messages.answerNext(MsgAnswer::No);
    form->OpenProjectFile(project);
    EXPECT_EQ(form->RAll->toPlainText(), u"other"_s);
    EXPECT_EQ(form->document().fileName(), project);
}

TEST_F(MainDocumentTest, StatusPanelsFollowTheCaret) {
    openDocument(writeFile(u"page.htm"_s, sjisBytes(u"ab\nあいう\n"_s)));
    EXPECT_EQ(form->PanelStatusR2->text(), u"全2行 12文字"_s);
    QTest::keyClick(form->RAll, Qt::Key_Down);
    QTest::keyClick(form->RAll, Qt::Key_Right);
    EXPECT_EQ(form->PanelStatusR1->text(), u"2行 2桁"_s);
    testsupport::typeText(form->RAll, u"x"_s);
    EXPECT_EQ(form->PanelStatusR2->text(), u"全2行 13文字"_s);
    EXPECT_TRUE(form->PanelStatusRsm->text().isEmpty());
}
