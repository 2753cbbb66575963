// Tag highlighting in the editor: which characters are shown dark red, and
// that the document, its undo steps and its modified flag stay untouched.

#include "document/TagHighlighter.h"
#include "document/DiaryEditor.h"

#include <QApplication>
#include <QInputMethodEvent>
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

TEST_F(TagHighlighting, ColoursFollowEveryEditAsAFreshHighlightingWouldShowThem) {
    // Each edit, applied in turn: at position, remove count characters and
    // insert text. After each the lines show the runs of the text as it is now.
    const struct {
        const char* what;
        int position;
        int remove;
        QString insert;
    } edits[] = {
        {"a word typed into a coloured line", 6, 0, u"big"_s},
        {"a line above the others", 0, 0, u"new line\n"_s},
        {"a \"<\" opens a tag over the next lines", 9, 0, u"<"_s},
        {"its \">\" closes it again", 12, 0, u">"_s},
        {"the last \">\" goes: no tag closes after the one before", 36, 1, QString()},
        {"a line break inside a tag", 3, 0, u"\n"_s},
        {"a paste of several lines with tags", 20, 0, u"x<P>\n<A\nHREF=y>z\n"_s},
        {"lines removed across tags", 2, 14, QString()},
        {"everything after the first line removed", 10, 1000, QString()},
    };
    const QString start = u"<B>one</B>\n<I>two</I>\nplain\n<U>three</U>\n"_s;
    editor.loadText(start);
    editor.highlightTags();
    paint();
    for (const auto& edit : edits) {
        SCOPED_TRACE(edit.what);
        QTextCursor cursor(editor.document());
        cursor.setPosition(qMin(edit.position, editor.document()->characterCount() - 1));
        cursor.setPosition(qMin(edit.position + edit.remove, editor.document()->characterCount() - 1),
                           QTextCursor::KeepAnchor);
        cursor.insertText(edit.insert);
        paint();
        const QString text = editor.toPlainText();
        const TagRuns fresh = ScanTagRuns(text);
        for (int b = 0; b < editor.document()->blockCount(); ++b) {
            Ranges expected;
            for (const TagRun& run : fresh.block(b))
                expected.append({run.start, run.length});
            EXPECT_EQ(shownRuns(editor, b), expected) << "block " << b << " of " << text.toStdString();
        }
    }
    // Display only: the edits are the only undo steps, and undoing them all
    // gives back the text as loaded, coloured as at first.
    while (editor.document()->isUndoAvailable())
        editor.undo();
    EXPECT_EQ(editor.toPlainText(), start);
    EXPECT_FALSE(editor.document()->isModified());
    paint();
    EXPECT_EQ(shownRuns(editor, 1), Ranges({{0, 3}, {6, 4}}));

    editor.loadText(u"<B>plain"_s);
    paint();
    EXPECT_EQ(shownRuns(editor, 0), Ranges()) << "a new text starts without colours";
}

TEST_F(TagHighlighting, ACompositionKeepsTheLineColoursWhileOpenAndWhenCancelled) {
    editor.loadText(u"<B>one</B>\n<I>two"_s);
    editor.highlightTags();
    select(6, 6); // between "one" and "</B>"
    editor.setFocus();
    auto send = [this](const QString& preedit, const QString& commit = QString()) {
        QTextCharFormat underline;
        underline.setUnderlineStyle(QTextCharFormat::DashUnderline);
        QInputMethodEvent event(preedit,
                                {{QInputMethodEvent::TextFormat, 0, int(preedit.size()), underline}});
        event.setCommitString(commit);
        QApplication::sendEvent(&editor, &event);
        paint();
    };
    // The runs of the line and of the composition, as the layout shows them.
    auto formats = [this](int blockNumber) {
        QList<QPair<Ranges, QColor>> shown;
        Ranges runs, composition;
        for (const auto& range : editor.document()->findBlockByNumber(blockNumber).layout()->formats()) {
            if (range.format.foreground().color() == TagHighlighter::RunColor())
                runs.append({range.start, range.length});
            else
                composition.append({range.start, range.length});
        }
        return std::pair(runs, composition);
    };
    const bool modified = editor.document()->isModified();

    send(u"にっき"_s);
    EXPECT_EQ(formats(0).first, Ranges({{0, 3}, {9, 4}})) << "the runs around the composition";
    EXPECT_EQ(formats(0).second, Ranges({{6, 3}}));
    EXPECT_EQ(formats(1).first, Ranges({{0, 3}})) << "the next line keeps its colours";
    const auto composed = editor.document()->findBlockByNumber(0).layout()->formats();
    const auto at =
        std::find_if(composed.begin(), composed.end(), [](const auto& r) { return r.start == 6; });
    ASSERT_NE(at, composed.end());
    EXPECT_EQ(at->format.foreground().color(), QColor(0, 0, 255)) << "the composition's own colours";
    EXPECT_EQ(at->format.underlineStyle(), QTextCharFormat::DashUnderline);

    send(QString()); // Esc: the composition is cancelled, nothing typed
    EXPECT_EQ(formats(0).first, Ranges({{0, 3}, {6, 4}}));
    EXPECT_TRUE(formats(0).second.isEmpty());
    EXPECT_EQ(formats(1).first, Ranges({{0, 3}}));
    EXPECT_EQ(editor.document()->isModified(), modified);

    send(QString(), u"日記"_s); // committed: a word typed into the line
    EXPECT_EQ(editor.toPlainText(), u"<B>one日記</B>\n<I>two"_s);
    EXPECT_EQ(formats(0).first, Ranges({{0, 3}, {8, 4}}));
    EXPECT_EQ(formats(1).first, Ranges({{0, 3}}));
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
