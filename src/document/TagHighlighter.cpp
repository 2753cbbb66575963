#include "document/TagHighlighter.h"

#include <QEvent>
#include <QFontMetrics>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

#include <algorithm>

namespace {

// A block's user state: -1 for a block without runs (none found yet), else
// (slot << 2) | endsInTag << 1 | beginsInTag, where slot numbers the block's
// runs: those of the highlighting first, then those of edited blocks.
constexpr int NoRuns = -1;
constexpr int BeginsInTag = 1;
constexpr int EndsInTag = 2;

int slotOf(int state) {
    return state >> 2;
}
int stateFor(int slot, bool beginsInTag, bool endsInTag) {
    return (slot << 2) | (endsInTag ? EndsInTag : 0) | (beginsInTag ? BeginsInTag : 0);
}
bool endsInTag(const QTextBlock& block) {
    return block.isValid() && block.userState() >= 0 && (block.userState() & EndsInTag);
}

// An edit scanning more blocks than this leaves their colours to the paint;
// fewer get them at once, so they are laid out once only.
constexpr int AppliedAtOnce = 64;

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
    scanned_ = TagRuns();
    edited_.clear();
    TagLines lines = ScanTagLines(document->toRawText());
    scanned_ = std::move(lines.runs);
    lastClose_ = lines.lastClose;
    int number = 0;
    bool beginsInTag = false;
    for (QTextBlock block = document->firstBlock(); block.isValid(); block = block.next(), ++number) {
        const bool ends = size_t(number) < lines.endsInTag.size() && lines.endsInTag[size_t(number)];
        block.setUserState(stateFor(number, beginsInTag, ends));
        beginsInTag = ends;
    }
    active_ = true;

    QTextCursor cursor = editor_->textCursor();
    cursor.setPosition(caret);
    editor_->setTextCursor(cursor);
    editor_->ensureCursorVisible();
    document->setModified(modified);
    editor_->viewport()->update();
}

void TagHighlighter::clear() {
    scanned_ = TagRuns();
    edited_.clear();
    active_ = false;
    editor_->viewport()->update();
}

std::span<const TagRun> TagHighlighter::runsOf(int state) const {
    if (state < 0)
        return {};
    const int slot = slotOf(state);
    if (slot < scanned_.blockCount())
        return scanned_.block(slot);
    const size_t edited = size_t(slot - scanned_.blockCount());
    return edited < edited_.size() ? std::span<const TagRun>(edited_[edited]) : std::span<const TagRun>();
}

void TagHighlighter::onContentsChange(int position, int charsRemoved, int charsAdded) {
    if (!active_)
        return;
    QTextDocument* document = editor_->document();
    if (position == 0 && charsRemoved > 0 && charsAdded >= document->characterCount() - 1) {
        // A whole new text: none of the runs belong to it.
        clear();
        return;
    }
    followLastClose(position, charsRemoved, charsAdded);
    const QTextBlock first = document->findBlock(position);
    const QTextBlock last = document->findBlock(position + charsAdded);
    const QTextBlock scannedTo = rescan(first, last);
    if (scannedTo.blockNumber() - first.blockNumber() >= AppliedAtOnce) {
        editor_->viewport()->update();
        return;
    }
    // Inside the change the document lays the blocks out once more anyway;
    // the colours go with that layout.
    for (QTextBlock block = first; block.isValid(); block = block.next()) {
        if (applyToBlock(block))
            document->markContentsDirty(block.position(), block.length());
        if (block == scannedTo)
            break;
    }
}

void TagHighlighter::followLastClose(int position, int charsRemoved, int charsAdded) {
    QTextDocument* document = editor_->document();
    // The last ">" before end, not before stop (-1: none there).
    auto lastCloseBefore = [document](int end, int stop) -> qsizetype {
        for (QTextBlock block = document->findBlock(qMax(0, end - 1)); block.isValid() && end > stop;
             block = block.previous()) {
            const QString text = block.text();
            const qsizetype within = qMin<qsizetype>(end - block.position(), text.size());
            const qsizetype at = within > 0 ? text.lastIndexOf(u'>', within - 1) : -1;
            if (at >= 0)
                return block.position() + at >= stop ? block.position() + at : -1;
            end = block.position();
        }
        return -1;
    };
    const int changeEnd = position + charsAdded;
    if (lastClose_ >= position + charsRemoved) {
        lastClose_ += charsAdded - charsRemoved; // after the change: moved with the text
    } else if (lastClose_ >= position) {
        lastClose_ = lastCloseBefore(changeEnd, 0); // in the changed text
    } else if (charsAdded > 0) {
        const qsizetype added = lastCloseBefore(changeEnd, position);
        if (added >= 0)
            lastClose_ = added;
    }
}

QTextBlock TagHighlighter::rescan(QTextBlock block, const QTextBlock& last) {
    // Slots of edited blocks given out in this pass: a block split by the
    // edit may carry the same slot as its other half.
    std::vector<int> given;
    bool beginsInTag = endsInTag(block.previous());
    std::vector<TagRun> runs;
    bool pastLast = false;
    QTextBlock scanned = block;
    for (; block.isValid(); block = block.next()) {
        if (pastLast && block.userState() >= 0 && bool(block.userState() & BeginsInTag) == beginsInTag)
            break; // this block and the ones after it begin as they did
        runs.clear();
        const bool ends = ScanTagLine(block.text(), beginsInTag, runs);
        int slot = block.userState() >= 0 ? slotOf(block.userState()) : -1;
        if (slot < scanned_.blockCount() || std::find(given.begin(), given.end(), slot) != given.end()) {
            slot = scanned_.blockCount() + int(edited_.size());
            edited_.emplace_back();
        }
        given.push_back(slot);
        edited_[size_t(slot - scanned_.blockCount())] = runs;
        block.setUserState(stateFor(slot, beginsInTag, ends));
        beginsInTag = ends;
        scanned = block;
        if (block == last)
            pastLast = true;
    }
    return scanned;
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

QList<QTextLayout::FormatRange> TagHighlighter::wantedFormats(const QTextBlock& block) const {
    QList<QTextLayout::FormatRange> ranges;
    const std::span<const TagRun> runs = active_ ? runsOf(block.userState()) : std::span<const TagRun>();
    const int length = block.length() - 1;
    const qsizetype lastClose = lastClose_ < block.position() ? -1 : lastClose_ - block.position();
    std::vector<TagRun> shown;
    if (active_ && lastClose < length) // the text's last ">" is in or before this line
        shown = ShownTagRuns(block.text(), runs, lastClose);
    else
        shown.assign(runs.begin(), runs.end());

    // An open composition stands in the layout's text at its place, with the
    // formats the editor gave it; the runs go around it.
    const QTextLayout* layout = block.layout();
    const int preeditAt = layout->preeditAreaText().isEmpty() ? -1 : layout->preeditAreaPosition();
    const int preeditLength = int(layout->preeditAreaText().size());
    for (const TagRun& run : shown) {
        if (preeditAt < 0 || run.start + run.length <= preeditAt) {
            ranges.append({run.start, run.length, runFormat_});
        } else if (run.start >= preeditAt) {
            ranges.append({run.start + preeditLength, run.length, runFormat_});
        } else {
            ranges.append({run.start, preeditAt - run.start, runFormat_});
            ranges.append({preeditAt + preeditLength, run.start + run.length - preeditAt, runFormat_});
        }
    }
    if (preeditAt >= 0) {
        for (const QTextLayout::FormatRange& range : layout->formats()) {
            if (range.start >= preeditAt && range.start + range.length <= preeditAt + preeditLength &&
                range.format != runFormat_)
                ranges.append(range);
        }
        std::stable_sort(ranges.begin(), ranges.end(),
                         [](const auto& a, const auto& b) { return a.start < b.start; });
    }
    return ranges;
}

bool TagHighlighter::applyToBlock(const QTextBlock& block) {
    QTextLayout* layout = block.layout();
    if (!layout)
        return false;
    const QList<QTextLayout::FormatRange> wanted = wantedFormats(block);
    if (layout->formats() == wanted)
        return false;
    layout->setFormats(wanted);
    return true;
}
