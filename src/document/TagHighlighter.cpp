#include "document/TagHighlighter.h"

#include <QEvent>
#include <QFontMetrics>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextLayout>

namespace {

// A block's user state holds its number at the last highlighting; this one
// marks a block without colours (new, or edited since).
constexpr int NoRuns = -1;

bool sameRanges(const QList<QTextLayout::FormatRange>& shown, std::span<const TagRun> runs) {
    if (qsizetype(runs.size()) != shown.size())
        return false;
    for (qsizetype i = 0; i < shown.size(); ++i) {
        if (shown[i].start != runs[size_t(i)].start || shown[i].length != runs[size_t(i)].length)
            return false;
    }
    return true;
}

} // namespace

TagHighlighter::TagHighlighter(QPlainTextEdit* editor) : QObject(editor), editor_(editor) {
    runFormat_.setForeground(RunColor());
    editor_->viewport()->installEventFilter(this);
}

QColor TagHighlighter::RunColor() {
    return QColor(128, 0, 0);
}

void TagHighlighter::watchDocument() {
    QTextDocument* document = editor_->document();
    if (document_ == document)
        return;
    if (document_)
        disconnect(document_, nullptr, this, nullptr);
    document_ = document;
    connect(document, &QTextDocument::contentsChange, this, &TagHighlighter::onContentsChange);
}

void TagHighlighter::highlight() {
    QTextDocument* document = editor_->document();
    // characterCount() holds the end-of-text mark too.
    if (document->characterCount() - 1 < 2)
        return;
    watchDocument();
    const int caret = editor_->textCursor().selectionStart();
    const bool modified = document->isModified();

    // One copy of the text taken out at once: block by block, each block's
    // text is a search in the document and costs several times more.
    runs_ = TagRuns();
    runs_ = ScanTagRuns(document->toRawText());
    int number = 0;
    for (QTextBlock block = document->firstBlock(); block.isValid(); block = block.next(), ++number)
        block.setUserState(number);
    active_ = true;

    QTextCursor cursor = editor_->textCursor();
    cursor.setPosition(caret);
    editor_->setTextCursor(cursor);
    editor_->ensureCursorVisible();
    document->setModified(modified);
    editor_->viewport()->update();
}

void TagHighlighter::clear() {
    runs_ = TagRuns();
    active_ = false;
    editor_->viewport()->update();
}

void TagHighlighter::onContentsChange(int position, int charsRemoved, int charsAdded) {
    if (!active_)
        return;
    QTextDocument* document = editor_->document();
    if (position == 0 && charsAdded >= document->characterCount() - 1) {
        // A whole new text: none of the runs belong to it.
        clear();
        return;
    }
    QTextBlock block = document->findBlock(position);
    const QTextBlock last = document->findBlock(position + charsAdded);
    // Text added at the end of a line (a line break, say) leaves that line's
    // characters where they were: it keeps its colours.
    const bool appendedToLine =
        charsRemoved == 0 && last.position() + last.length() - 1 == position + charsAdded;
    if (appendedToLine) {
        if (block == last)
            return;
        block = block.next();
    }
    for (; block.isValid(); block = block.next()) {
        block.setUserState(NoRuns);
        // Off at once: a line laid out with formats costs more to lay out
        // again, and an edited line is laid out at every keystroke.
        QTextLayout* layout = block.layout();
        if (layout && layout->preeditAreaText().isEmpty() && !layout->formats().isEmpty())
            layout->clearFormats();
        if (block == last)
            break;
    }
}

bool TagHighlighter::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Paint && watched == editor_->viewport() && document_)
        applyToVisibleBlocks();
    return QObject::eventFilter(watched, event);
}

void TagHighlighter::applyToVisibleBlocks() {
    QTextDocument* document = editor_->document();
    if (document != document_)
        return;
    // A block is at least one line high, so no more blocks than this can show.
    const QFontMetrics metrics(document->defaultFont());
    const int lineHeight = qMax(1, qMin(metrics.height(), metrics.lineSpacing()));
    int remaining = editor_->viewport()->height() / lineHeight + 2;
    int from = -1, to = -1;
    // The vertical scroll bar counts lines; its value is the top line.
    QTextBlock block = document->findBlockByLineNumber(editor_->verticalScrollBar()->value());
    for (; block.isValid() && remaining > 0; block = block.next(), --remaining) {
        if (!applyToBlock(block))
            continue;
        if (from < 0)
            from = block.position();
        to = block.position() + block.length();
    }
    // New formats need the block laid out again. The document counts this as a
    // change of its layout only: no contents change, no undo step, not modified.
    if (from >= 0)
        document->markContentsDirty(from, to - from);
}

bool TagHighlighter::applyToBlock(const QTextBlock& block) {
    QTextLayout* layout = block.layout();
    // The input method's composition shows through formats of its own.
    if (!layout || !layout->preeditAreaText().isEmpty())
        return false;
    const int state = block.userState();
    const std::span<const TagRun> runs =
        active_ && state >= 0 ? runs_.block(state) : std::span<const TagRun>();
    const QList<QTextLayout::FormatRange> shown = layout->formats();
    if (sameRanges(shown, runs))
        return false;
    QList<QTextLayout::FormatRange> ranges;
    ranges.reserve(qsizetype(runs.size()));
    for (const TagRun& run : runs)
        ranges.append({run.start, run.length, runFormat_});
    layout->setFormats(ranges);
    return true;
}
