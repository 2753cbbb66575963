// The editor keeps its line and byte totals per edit; they must always equal
// a count of the whole text, whatever the edits, undos and redos, also when a
// big page goes in in pieces. Very long lines are shown the fast way.

#include "document/DiaryEditor.h"
#include "document/LongLineLayout.h"
#include "platform/SjisCodec.h"

#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QRandomGenerator>
#include <QTest>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextLayout>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

int countLines(const QString& text) {
    if (text.isEmpty())
        return 0;
    const int breaks = int(text.count(u'\n'));
    return text.endsWith(u'\n') ? breaks : breaks + 1;
}

void expectTotalsMatch(const DiaryEditor& editor, const char* when) {
    const QString text = editor.toPlainText();
    EXPECT_EQ(editor.byteTotal(), sjis::byteLength(text)) << when;
    EXPECT_EQ(editor.lineTotal(), countLines(text)) << when;
}

} // namespace

TEST(DiaryEditor, TotalsFollowEveryKindOfEdit) {
    DiaryEditor editor;
    expectTotalsMatch(editor, "empty");
    editor.loadText(u"ab\nあいう\n"_s);
    EXPECT_EQ(editor.lineTotal(), 2);
    EXPECT_EQ(editor.byteTotal(), 2 + 2 + 6 + 2);

    QRandomGenerator random(20261208);
    const QStringList pieces = {u"x"_s,      u"\n"_s, u"漢字"_s, u"\n\n"_s,
                                u"<BR>\n"_s, u"😀"_s,  u"ｶﾅ"_s,   QString()};
    for (int round = 0; round < 400; ++round) {
        QTextCursor cursor = editor.textCursor();
        const int length = editor.document()->characterCount() - 1;
        const int a = random.bounded(length + 1), b = random.bounded(length + 1);
        cursor.setPosition(a);
        cursor.setPosition(b, QTextCursor::KeepAnchor);
        switch (random.bounded(4)) {
        case 0:
            editor.undo();
            break;
        case 1:
            editor.redo();
            break;
        default:
            editor.setTextCursor(cursor);
            editor.insertTextAtCaret(pieces[random.bounded(pieces.size())]);
        }
        expectTotalsMatch(editor, "after an edit");
        if (testing::Test::HasFailure())
            return;
    }
    editor.loadText(QString());
    expectTotalsMatch(editor, "cleared");
}

TEST(DiaryEditor, LinesAndCaret) {
    DiaryEditor editor;
    editor.loadText(u"a\nb\n"_s);
    EXPECT_EQ(editor.lineTotal(), 2);
    EXPECT_EQ(editor.lines(), (QStringList{u"a"_s, u"b"_s}));
    editor.loadText(u"a\n\nb"_s);
    EXPECT_EQ(editor.lineTotal(), 3);
    QTextCursor cursor = editor.textCursor();
    cursor.setPosition(4);
    cursor.setPosition(1, QTextCursor::KeepAnchor);
    editor.setTextCursor(cursor);
    EXPECT_EQ(editor.caretLine(), 1); // the start of the selection
    EXPECT_EQ(editor.caretColumn(), 2);

    // Inserting is one undo step.
    editor.insertTextAtCaret(u"one\ntwo\nthree"_s);
    EXPECT_EQ(editor.toPlainText(), u"aone\ntwo\nthree"_s);
    editor.undo();
    EXPECT_EQ(editor.toPlainText(), u"a\n\nb"_s);
}

TEST(DiaryEditor, LineBreaksAreAlwaysOrdinaryOnes) {
    struct Row {
        const char* name;
        std::function<void(DiaryEditor&)> breakLine;
    };
    const Row rows[] = {
        {"Shift+Return", [](DiaryEditor& e) { QTest::keyClick(&e, Qt::Key_Return, Qt::ShiftModifier); }},
        {"Shift+Enter", [](DiaryEditor& e) { QTest::keyClick(&e, Qt::Key_Enter, Qt::ShiftModifier); }},
        {"Return", [](DiaryEditor& e) { QTest::keyClick(&e, Qt::Key_Return); }},
        {"pasted line separator", [](DiaryEditor& e) { e.insertTextAtCaret(QString(QChar::LineSeparator)); }},
    };
    for (const Row& row : rows) {
        DiaryEditor editor;
        editor.loadText(u"ab"_s);
        QTextCursor cursor = editor.textCursor();
        cursor.setPosition(1);
        editor.setTextCursor(cursor);
        row.breakLine(editor);
        EXPECT_EQ(editor.toPlainText(), u"a\nb"_s) << row.name;
        EXPECT_EQ(editor.lineTotal(), 2) << row.name;
        EXPECT_EQ(editor.caretLine(), 2) << row.name;
    }
}

TEST(DiaryEditor, BigPagesGoInInPiecesAndLongLinesAreShownWrapped) {
    DiaryEditor editor;
    editor.resize(400, 300);
    editor.show();
    const QString longLine = QString(LongLineLayout::LongLineLength, u'あ');
    const QString text = u"<p>a</p>\n"_s + longLine + u"\n\n短い行\nend"_s;

    // In pieces as a big page comes in; each piece but the last ends a line.
    editor.insertTextAtCaret(u"old page"_s);
    editor.beginLoad();
    for (const QString& piece : {u"<p>a</p>\n"_s, longLine + u"\n\n"_s, u"短い行\nend"_s})
        editor.appendLoaded(piece);
    editor.endLoad();
    EXPECT_EQ(editor.toPlainText(), text);
    expectTotalsMatch(editor, "loaded in pieces");
    EXPECT_FALSE(editor.document()->isModified());
    EXPECT_FALSE(editor.document()->isUndoAvailable());
    EXPECT_EQ(editor.textCursor().position(), 0);

    // The long line is wrapped on screen and its characters go unshaped; the
    // other lines are not wrapped.
    QApplication::processEvents();
    const QTextBlock longBlock = editor.document()->findBlockByNumber(1);
    editor.document()->documentLayout()->blockBoundingRect(longBlock);
    EXPECT_TRUE(editor.hasLongLine());
    EXPECT_GT(longBlock.layout()->lineCount(), 10);
    EXPECT_EQ(editor.document()->findBlockByNumber(0).layout()->lineCount(), 1);
    EXPECT_TRUE(editor.document()->defaultFont().styleStrategy() & QFont::PreferNoShaping);
    EXPECT_FALSE(editor.font().styleStrategy() & QFont::PreferNoShaping);

    // A line one character short of long is an ordinary line again.
    QTextCursor cursor(longBlock);
    cursor.movePosition(QTextCursor::EndOfBlock);
    cursor.deletePreviousChar();
    expectTotalsMatch(editor, "after shortening the long line");
    EXPECT_FALSE(editor.hasLongLine());
    EXPECT_FALSE(editor.document()->defaultFont().styleStrategy() & QFont::PreferNoShaping);
    editor.document()->documentLayout()->blockBoundingRect(longBlock);
    EXPECT_EQ(longBlock.layout()->lineCount(), 1);
}

TEST(DiaryEditor, AHiddenEditorPutsItsCaretAtTheStartWhenShown) {
    const QString text = u"short\n"_s + QString(LongLineLayout::LongLineLength, u'x') + u"\nend"_s;
    for (bool placedMeanwhile : {false, true}) {
        DiaryEditor editor;
        editor.loadText(text);
        // Nothing is laid out while hidden.
        EXPECT_EQ(editor.document()->findBlockByNumber(1).layout()->lineCount(), 0);
        if (placedMeanwhile) {
            QTextCursor cursor = editor.textCursor();
            cursor.setPosition(3);
            editor.setTextCursor(cursor);
        }
        editor.show();
        const int expected = placedMeanwhile ? 3 : 0;
        QTRY_COMPARE(editor.textCursor().position(), expected);
        EXPECT_EQ(editor.caretLine(), 1);
    }
}
