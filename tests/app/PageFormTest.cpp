// Pages keep their own bytes through the window: the encoding, byte-order
// mark, line endings and CP932 codes a page was read with are what Save
// writes, the file-name row shows them, and a big page comes in in pieces
// while the document's commands wait.

#include "app/MainFormFixture.h"

#include "resources/Messages.h"
#include "today/Statistics.h"

#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QSignalSpy>
#include <QStringDecoder>

using namespace Qt::StringLiterals;

class PageFormTest : public MainFormTest {
protected:
    void SetUp() override {
        MainFormTest::SetUp();
        start();
        showDocumentTab();
    }
    // An edit and its undoing: the page counts as changed, its text is not.
    void editAndEditBack() {
        QTest::keyClick(form->RAll, Qt::Key_End, Qt::ControlModifier);
        QTest::keyClick(form->RAll, Qt::Key_X);
        QTest::keyClick(form->RAll, Qt::Key_Backspace);
    }
    QString formShown() const { return form->PanelFileForm->text(); }
    static QByteArray utf8(const QString& text) { return text.toUtf8(); }
};

TEST_F(PageFormTest, PagesAreSavedInTheBytesTheyWereReadIn) {
    const QByteArray bom = "\xEF\xBB\xBF";
    struct Case {
        const char* name;
        QByteArray bytes;
        QString shown;
    } cases[] = {
        {"CP932 CR LF", sjisBytes(u"<p>日記①</p>\n<p>料金</p>\n"_s), u"Shift_JIS · CR LF"_s},
        {"CP932 LF", sjis::encode(u"<p>日記</p>\n<p>釜</p>\n"_s), u"Shift_JIS · LF"_s},
        {"CP932 duplicate codes", "<p>\xED\x40\x87\x90\xFA\x54\xFA\x5B</p>\r\n", u"Shift_JIS · CR LF"_s},
        {"UTF-8 LF", utf8(u"<p>お金 料金 燕</p>\n<p>한국어</p>\n"_s), u"UTF-8 · LF"_s},
        {"UTF-8 BOM CR LF", bom + utf8(u"<p>懐</p>\r\n"_s), u"UTF-8 BOM付き · CR LF"_s},
        {"UTF-8 line separator", utf8(u"<script>s='a\u2028b'</script>\n"_s), u"UTF-8 · LF"_s},
        {"invalid bytes", "<p>\x82\xFF\x80\xA0\r</p>\r\n\x81", u"Shift_JIS · CR LF"_s},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const QString path = writeFile(u"page.htm"_s, c.bytes);
        openDocument(path);
        EXPECT_EQ(formShown(), c.shown);
        editAndEditBack();
        form->SaveAction->trigger();
        EXPECT_EQ(readBytes(path), c.bytes);
        // Save As keeps the form too.
        const QString copy = fake.programFile(u"copy.htm"_s);
        QFile::remove(copy);
        editAndEditBack();
        fake.fileDialogs.chooseNext(copy);
        form->SaveAsAction->trigger();
        EXPECT_EQ(readBytes(copy), c.bytes);
        EXPECT_EQ(fake.messages.count(), 0);
    }
}

TEST_F(PageFormTest, AnEntryComposedIntoAUtf8PageIsWrittenInUtf8WithItsLineEndings) {
    const QByteArray head = utf8(u"<html><body>\n<p>お金</p>\n"_s), tail = utf8(u"</body></html>\n"_s);
    const QString path = writeFile(u"utf8.htm"_s, head + tail);
    showTodayTab();
    form->BoxWeather1->setCurrentIndex(0);
    testsupport::typeText(form->MToday, u"公園を歩いた。\n風が冷たかった。"_s);
    openDocument(path);
    QTextCursor cursor = form->RAll->textCursor();
    cursor.setPosition(int(QString::fromUtf8(head).size()));
    form->RAll->setTextCursor(cursor);
    form->InsertDiaryAction->trigger();
    form->SaveAction->trigger();

    const QByteArray saved = readBytes(path);
    EXPECT_TRUE(saved.startsWith(head));
    EXPECT_TRUE(saved.endsWith(tail));
    EXPECT_TRUE(saved.contains(utf8(u"公園を歩いた。<BR>\n風が冷たかった。<BR>\n"_s)));
    EXPECT_FALSE(saved.contains('\r'));
    QStringDecoder decoder(QStringDecoder::Utf8);
    const QString text = decoder(saved);
    EXPECT_FALSE(decoder.hasError());
    EXPECT_EQ(text, form->RAll->toPlainText());
}

TEST_F(PageFormTest, NewPagesAreCp932OrTakeTheTemplatesForm) {
    EXPECT_TRUE(formShown().isEmpty()); // no document yet
    form->NewAction->trigger();
    EXPECT_EQ(formShown(), u"Shift_JIS · CR LF"_s);
    testsupport::typeText(form->RAll, u"<p>あ\nい</p>"_s);
    const QString plain = fake.programFile(u"new.htm"_s);
    fake.fileDialogs.chooseNext(plain);
    form->SaveAction->trigger();
    EXPECT_EQ(readBytes(plain), sjisBytes(u"<p>あ\nい</p>"_s));

    // A UTF-8 template makes a UTF-8 page, with the template's line endings.
    writeFile(u"basehtml.txt"_s, utf8(u"<meta charset=\"utf-8\">\n<body>\n"_s));
    fake.messages.answerNext(MsgAnswer::Yes);
    form->NewAction->trigger();
    EXPECT_EQ(formShown(), u"UTF-8 · LF"_s);
    QTest::keyClick(form->RAll, Qt::Key_End, Qt::ControlModifier);
    testsupport::typeText(form->RAll, u"日記\n"_s);
    const QString fromTemplate = fake.programFile(u"fromtemplate.htm"_s);
    fake.fileDialogs.chooseNext(fromTemplate);
    form->SaveAction->trigger();
    EXPECT_EQ(readBytes(fromTemplate), utf8(u"<meta charset=\"utf-8\">\n<body>\n日記\n"_s));
}

TEST_F(PageFormTest, ABigPageComesInPiecesWhileTheDocumentsCommandsWait) {
    form->document().setBigPageSizes(64, 100, 150);
    QString text;
    for (int i = 0; i < 60; ++i)
        text += u"<p>%1行目の日記です。</p>\n"_s.arg(i);
    const QByteArray bytes = utf8(text);
    const QString path = writeFile(u"big.htm"_s, bytes);
    openDocument(path);

    // On its way in: read-only, the document's commands off, progress shown.
    ASSERT_TRUE(form->document().isBusy());
    EXPECT_TRUE(form->RAll->isReadOnly());
    for (QAction* action :
         {form->NewAction, form->OpenAction, form->SaveAsAction, form->InsertDiaryAction, form->TagBRAction})
        EXPECT_FALSE(action->isEnabled()) << action->objectName().toStdString();
    EXPECT_TRUE(form->PanelStatusRsm->text().startsWith(u"読み込み中…"_s));
    QTest::keyClick(form->RAll, Qt::Key_Z);
    form->DropFiles({writeFile(u"other.htm"_s, "other")});

    QTRY_VERIFY(!form->document().isBusy());
    EXPECT_EQ(form->RAll->toPlainText(), text);
    EXPECT_EQ(form->document().fileName(), path);
    EXPECT_FALSE(form->RAll->isReadOnly());
    EXPECT_FALSE(form->RAll->document()->isModified());
    EXPECT_FALSE(form->SaveAction->isEnabled());
    EXPECT_TRUE(form->SaveAsAction->isEnabled());
    EXPECT_TRUE(form->PanelStatusRsm->text().isEmpty());
    EXPECT_EQ(form->PanelStatusR2->text(), TotalsPanelText(60, sjis::byteLength(text)));

    // Saved aside (it is big), with the same bytes.
    QSignalSpy saving(&form->document(), &DiaryDocument::saving);
    editAndEditBack();
    form->SaveAction->trigger();
    EXPECT_EQ(saving.count(), 2);
    EXPECT_EQ(readBytes(path), bytes);

    // A big file that cannot be read leaves the page as it was.
    const QString folder = fake.programFile(u"folder.htm"_s);
    QDir().mkpath(folder);
    openDocument(folder);
    QTRY_VERIFY(!form->document().isBusy());
    EXPECT_EQ(form->document().fileName(), path);
    EXPECT_EQ(form->RAll->toPlainText(), text);
    EXPECT_FALSE(form->RAll->isReadOnly());
    ASSERT_EQ(fake.messages.count(), 1);
    EXPECT_TRUE(fake.messages.last().text.contains(QDir::toNativeSeparators(folder)));

    // So does one that could never fit the editor; it is refused unread.
    const QString huge = fake.programFile(u"huge.htm"_s);
    QFile file(huge);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly) && file.resize(3 * qint64(104857600) + 4));
    file.close();
    openDocument(huge);
    QTRY_VERIFY(!form->document().isBusy());
    EXPECT_EQ(fake.messages.last().text, msg::fileTooLarge(huge));
    EXPECT_EQ(form->RAll->toPlainText(), text);
}

// Closing the window while a big page is being written waits for the write:
// no second save of the same file under way, no question about a page that is
// about to be saved; the window closes once the page is on the disk.
TEST_F(PageFormTest, AWindowClosedDuringABigSaveClosesOnceThePageIsWritten) {
    form->document().setBigPageSizes(1 << 20, 1 << 20, 10);
    const QByteArray bytes = sjisBytes(u"<p>保存の途中で閉じる</p>\n"_s);
    const QString path = writeFile(u"closing.htm"_s, bytes);
    openDocument(path);
    editAndEditBack();

    bool closedAtOnce = true;
    QObject::connect(&form->document(), &DiaryDocument::saving, form.get(), [&](bool on) {
        if (on)
            closedAtOnce = closeForm();
    });
    form->SaveAction->trigger();
    EXPECT_FALSE(closedAtOnce);
    EXPECT_EQ(readBytes(path), bytes);
    QTRY_VERIFY(!form->isVisible());
    EXPECT_EQ(fake.messages.count(), 0);
}
