// Tag highlighting in the editor: which characters are shown dark red, and
// that the document, its undo steps and its modified flag stay untouched.

#include "document/TagHighlighter.h"
#include "document/DiaryEditor.h"

#include <QApplication>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <QTextBlock>
#include <QTextLayout>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

using Ranges = QList<QPair<int, int>>;

// The coloured ranges (start, length) a block shows once painted.
Ranges shownRuns(const DiaryEditor& editor, int blockNumber) {
    Ranges ranges;
    const QTextBlock block = editor.document()->findBlockByNumber(blockNumber);
    for (const QTextLayout::FormatRange& range : block.layout()->formats()) {
        EXPECT_EQ(range.format.foreground().color(), QColor(128, 0, 0));
        ranges.append({range.start, range.length});
    }
    return ranges;
}

class TagHighlighting : public ::testing::Test {
protected:
    void SetUp() override {
        editor.resize(400, 300);
        editor.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&editor));
    }
    void paint() { editor.viewport()->repaint(); }
    void select(int from, int to) {
        QTextCursor cursor = editor.textCursor();
        cursor.setPosition(from);
        cursor.setPosition(to, QTextCursor::KeepAnchor);
        editor.setTextCursor(cursor);
    }

    DiaryEditor editor;
};

} // namespace

TEST_F(TagHighlighting, RunsAreColouredAndNothingElseChanges) {
    const struct {
        QString text;
        QList<Ranges> blocks;
    } rows[] = {
        // <B>, then </B><BR> with the line break and <I>; the words stay plain.
        {u"Hello<B>big</B><BR>\n<I>end"_s, {{{5, 3}, {11, 8}}, {{0, 3}}}},
        {u"a < b"_s, {{{2, 1}}}},
        {u"<A\nHREF=x>y\n\n<P>"_s, {{{0, 2}}, {{0, 7}}, {}, {{0, 3}}}},
        {u"<"_s, {{}}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.text.toStdString());
        editor.loadText(row.text);
        editor.document()->setModified(true);
        select(1, int(row.text.size()));
        const QSignalSpy changes(editor.document(), &QTextDocument::contentsChange);
        editor.highlightTags();
        paint();
        EXPECT_EQ(changes.count(), 0);
        for (int b = 0; b < row.blocks.size(); ++b)
            EXPECT_EQ(shownRuns(editor, b), row.blocks[b]) << "block " << b;
        EXPECT_EQ(editor.toPlainText(), row.text);
        EXPECT_TRUE(editor.document()->isModified());
        EXPECT_FALSE(editor.document()->isUndoAvailable());
        EXPECT_FALSE(editor.textCursor().hasSelection());
        EXPECT_EQ(editor.textCursor().position(), row.text.size() < 2 ? int(row.text.size()) : 1);
    }
}

TEST_F(TagHighlighting, EditsUncolourOnlyTheirLinesAndNewLinesShiftNothing) {
    editor.loadText(u"<B>one\n<I>two\n<U>three"_s);
    editor.highlightTags();
    paint();
    EXPECT_EQ(shownRuns(editor, 1), Ranges({{0, 3}}));

    QTextCursor cursor(editor.document());
    cursor.insertText(u"new line\n"_s); // a line above the others, as one edit
    editor.setTextCursor(cursor);
    paint();
    EXPECT_EQ(shownRuns(editor, 0), Ranges()) << "the edited line";
    EXPECT_EQ(shownRuns(editor, 1), Ranges()) << "the edited line";
    EXPECT_EQ(shownRuns(editor, 2), Ranges({{0, 3}})) << "<I> moved down with its line";
    EXPECT_EQ(shownRuns(editor, 3), Ranges({{0, 3}}));

    cursor.movePosition(QTextCursor::EndOfBlock);
    cursor.insertText(u"\n"_s); // a new line after "<B>one"
    paint();
    EXPECT_EQ(shownRuns(editor, 1), Ranges()) << "still uncoloured";
    cursor.movePosition(QTextCursor::Down);
    cursor.movePosition(QTextCursor::EndOfBlock);
    cursor.insertText(u"\nx"_s); // text after "<I>two"
    paint();
    EXPECT_EQ(shownRuns(editor, 3), Ranges({{0, 3}})) << "a line whose end grew keeps its colours";
    EXPECT_EQ(shownRuns(editor, 5), Ranges({{0, 3}}));

    editor.highlightTags();
    paint();
    EXPECT_EQ(shownRuns(editor, 1), Ranges({{0, 3}})) << "highlighting again colours the edited lines";

    editor.loadText(u"<B>plain"_s);
    paint();
    EXPECT_EQ(shownRuns(editor, 0), Ranges()) << "a new text starts without colours";
}

TEST_F(TagHighlighting, BlocksFarDownGetTheirColoursWhenScrolledIntoView) {
    QString text;
    for (int i = 0; i < 16383; ++i)
        text += QString(63, u'x') + u'\n';
    text += QString(62, u'x') + u"<B>z\nend"_s;
    editor.loadText(text);
    editor.highlightTags();
    editor.verticalScrollBar()->setValue(16383);
    paint();
    EXPECT_EQ(shownRuns(editor, 16383), Ranges({{62, 3}}));
}
