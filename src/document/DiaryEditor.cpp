#include "document/DiaryEditor.h"

#include "document/CompositionColors.h"
#include "document/LongLineLayout.h"
#include "document/TagHighlighter.h"
#include "platform/SjisCodec.h"

#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <QMimeData>
#include <QResizeEvent>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextLayout>

// Byte totals are kept per block: each block carries its own byte count in a
// user-data object that adds itself to the running total and takes itself off
// when the block goes away (deleted or merged). An edit then only recounts the
// blocks it touched.
//
// A document deletes its blocks after its child objects and may outlive the
// editor, so the total is held jointly: by the editor and by every block that
// counts into it, and goes when the last of them lets go.
struct BlockTotals {
    qint64 blockBytes = 0; // sum of the blocks' own bytes, line breaks excluded
    qint64 longLines = 0;  // blocks that LongLineLayout shows the fast way
    qint64 holders = 1;    // the editor, and one per block
    void release() {
        if (--holders == 0)
            delete this;
    }
};

namespace {

class BlockBytes : public QTextBlockUserData {
public:
    BlockBytes(BlockTotals* totals, qint64 bytes, bool longLine)
        : totals_(totals), bytes_(bytes), longLine_(longLine) {
        ++totals_->holders;
        totals_->blockBytes += bytes_;
        totals_->longLines += longLine_;
    }
    ~BlockBytes() override {
        totals_->blockBytes -= bytes_;
        totals_->longLines -= longLine_;
        totals_->release();
    }
    void set(qint64 bytes, bool longLine) {
        totals_->blockBytes += bytes - bytes_;
        totals_->longLines += int(longLine) - int(longLine_);
        bytes_ = bytes;
        longLine_ = longLine;
    }

private:
    BlockTotals* totals_;
    qint64 bytes_;
    bool longLine_;
};

} // namespace

DiaryEditor::DiaryEditor(QWidget* parent) : QPlainTextEdit(parent), totals_(new BlockTotals) {
    installLongLineLayout();
    setLineWrapMode(QPlainTextEdit::NoWrap);
    setTabChangesFocus(false);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    onContentsChange(0, 0, document()->characterCount());
}

DiaryEditor::~DiaryEditor() {
    totals_->release();
}

void DiaryEditor::onContentsChange(int position, int /*charsRemoved*/, int charsAdded) {
    if (loading_)
        return;
    QTextDocument* doc = document();
    if (countedDocument_ != doc) {
        // A new document (at creation, or given by setDocument()): count it from scratch.
        if (countedDocument_) {
            disconnect(countedDocument_, nullptr, this, nullptr);
            totals_->release();
            totals_ = new BlockTotals;
        }
        countedDocument_ = doc;
        connect(doc, &QTextDocument::contentsChange, this, &DiaryEditor::onContentsChange);
        position = 0;
        charsAdded = doc->characterCount();
    }
    QTextBlock block = doc->findBlock(position);
    const QTextBlock last = doc->findBlock(position + charsAdded);
    while (block.isValid()) {
        const qint64 bytes = sjis::byteLength(block.text());
        const bool longLine = LongLineLayout::isLong(block);
        if (auto* data = static_cast<BlockBytes*>(block.userData()))
            data->set(bytes, longLine);
        else
            block.setUserData(new BlockBytes(totals_, bytes, longLine));
        if (block == last)
            break;
        block = block.next();
    }
    showLongLinesFast(hasLongLine());
    Q_EMIT totalsChanged();
}

int DiaryEditor::lineTotal() const {
    const QTextDocument* doc = document();
    const int blocks = doc->blockCount();
    if (doc->lastBlock().length() <= 1) // the last block is empty
        return blocks - 1;
    return blocks;
}

bool DiaryEditor::countsDisplayedLines() const {
    return lineWrapMode() != QPlainTextEdit::NoWrap && document()->characterCount() <= DisplayedCountLimit;
}

int DiaryEditor::displayedLineCount() const {
    const int total = lineTotal();
    if (!countsDisplayedLines())
        return total;
    QAbstractTextDocumentLayout* layout = document()->documentLayout();
    int lines = 0;
    QTextBlock block = document()->firstBlock();
    for (int i = 0; i < total && block.isValid(); ++i, block = block.next()) {
        layout->blockBoundingRect(block); // lays the block out if it was not yet
        lines += qMax(1, block.layout()->lineCount());
    }
    return lines;
}

DiaryEditor::Caret DiaryEditor::displayedCaret() const {
    if (!countsDisplayedLines())
        return {caretLine(), caretColumn()};
    QAbstractTextDocumentLayout* layout = document()->documentLayout();
    const int start = textCursor().selectionStart();
    const QTextBlock caretBlock = document()->findBlock(start);
    int line = 0;
    for (QTextBlock block = document()->firstBlock(); block.isValid() && block != caretBlock;
         block = block.next()) {
        layout->blockBoundingRect(block); // lays the block out if it was not yet
        line += qMax(1, block.layout()->lineCount());
    }
    layout->blockBoundingRect(caretBlock);
    const int offset = start - caretBlock.position();
    const QTextLine shown = caretBlock.layout()->lineForTextPosition(offset);
    if (!shown.isValid())
        return {line + 1, offset + 1};
    return {line + shown.lineNumber() + 1, offset - shown.textStart() + 1};
}

bool DiaryEditor::hasLongLine() const {
    return totals_->longLines > 0;
}

qint64 DiaryEditor::byteTotal() const {
    return totals_->blockBytes + 2 * qint64(document()->blockCount() - 1);
}

int DiaryEditor::caretLine() const {
    const QTextCursor cursor = textCursor();
    return document()->findBlock(cursor.selectionStart()).blockNumber() + 1;
}

int DiaryEditor::caretColumn() const {
    const QTextCursor cursor = textCursor();
    const int start = cursor.selectionStart();
    return start - document()->findBlock(start).position() + 1;
}

QStringList DiaryEditor::lines() const {
    QStringList result;
    const int total = lineTotal();
    result.reserve(total);
    QTextBlock block = document()->firstBlock();
    for (int i = 0; i < total && block.isValid(); ++i, block = block.next())
        result << block.text();
    return result;
}

QString DiaryEditor::textForSaving() const {
    return document()->toRawText();
}

void DiaryEditor::loadText(const QString& text) {
    // A whole new text: the blocks are counted here in one pass over the text,
    // which is much cheaper than asking each block for its text. Long lines
    // are known first, so that they are laid out only once.
    bool longLine = false;
    for (qsizetype start = 0; start <= text.size() && !longLine;) {
        qsizetype end = text.indexOf(u'\n', start);
        if (end < 0)
            end = text.size();
        longLine = LongLineLayout::isLongLine(end - start);
        start = end + 1;
    }
    showLongLinesFast(longLine);
    loading_ = true;
    document()->setPlainText(text); // without the editor's own per-character format pass
    loading_ = false;
    document()->setModified(false);
    countLines(document()->firstBlock(), text);
    caretToStart();
}

void DiaryEditor::countLines(QTextBlock block, QStringView text) {
    const QTextBlock first = block;
    qsizetype start = 0;
    while (block.isValid()) {
        if (start > text.size()) {
            // The document split the text at more places than line breaks
            // (a paragraph separator): count its blocks one by one.
            onContentsChange(first.position(), 0, document()->characterCount() - first.position());
            return;
        }
        qsizetype end = text.indexOf(u'\n', start);
        if (end < 0)
            end = text.size();
        const qint64 bytes = sjis::byteLength(text.sliced(start, end - start));
        const bool longLine = LongLineLayout::isLongLine(end - start);
        if (auto* data = static_cast<BlockBytes*>(block.userData()))
            data->set(bytes, longLine);
        else
            block.setUserData(new BlockBytes(totals_, bytes, longLine));
        block = block.next();
        start = end + 1;
    }
    showLongLinesFast(hasLongLine());
    Q_EMIT totalsChanged();
}

void DiaryEditor::insertTextAtCaret(const QString& text) {
    QTextCursor cursor = textCursor();
    // An edit block is never merged with the typing before it, so the insert
    // is an undo step of its own; the typing after it would be merged into
    // it, so that typing starts a step of its own too (typedAsNewStep).
    cursor.beginEditBlock();
    if (text.contains(QChar::LineSeparator)) // pasted from a word processor
        cursor.insertText(QString(text).replace(QChar::LineSeparator, u'\n'));
    else
        cursor.insertText(text);
    cursor.endEditBlock();
    setTextCursor(cursor);
    typingStartsStep_ = true;
}

bool DiaryEditor::typedAsNewStep(const std::function<void()>& type) {
    if (!typingStartsStep_)
        return false;
    typingStartsStep_ = false;
    // The first typed edit goes into an edit block of its own; the typing
    // that follows is merged into that block, as typing always is.
    QTextCursor step = textCursor();
    step.beginEditBlock();
    type();
    step.endEditBlock();
    return true;
}

void DiaryEditor::pasteText() {
    if (isReadOnly())
        return;
    const QClipboard* clipboard = QGuiApplication::clipboard();
    if (!clipboard)
        return;
    const QMimeData* data = clipboard->mimeData(QClipboard::Clipboard);
    if (!data || !data->hasText())
        return;
    const QString text = data->text();
    if (!text.isEmpty())
        insertTextAtCaret(text);
}

void DiaryEditor::setCommandKeys(const QList<QKeySequence>& keys) {
    commandKeys_ = keys;
}

void DiaryEditor::highlightTags() {
    if (!tagHighlighter_)
        tagHighlighter_ = new TagHighlighter(this);
    tagHighlighter_->highlight();
}

bool DiaryEditor::isCommandKey(const QKeyEvent* event) const {
    const QKeySequence pressed(event->keyCombination());
    for (const QKeySequence& key : commandKeys_) {
        if (key.matches(pressed) == QKeySequence::ExactMatch)
            return true;
    }
    return false;
}

bool DiaryEditor::event(QEvent* event) {
    if (event->type() == QEvent::ShortcutOverride) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (isCommandKey(key)) {
            // Not accepted: the shortcut goes to the window's command.
            key->ignore();
            return true;
        }
    }
    return QPlainTextEdit::event(event);
}

void DiaryEditor::keyPressEvent(QKeyEvent* event) {
    // A command key arrives here only while its command is disabled: it does
    // nothing, rather than what the editor would do with it (Ctrl+Alt+I
    // would type a TAB).
    if (isCommandKey(event)) {
        event->accept();
        return;
    }
    // Paste keys go through the guarded paste (Ctrl+V, Shift+Insert).
    if (event->matches(QKeySequence::Paste)) {
        pasteText();
        event->accept();
        return;
    }
    // Shift+Enter would insert a line separator (U+2028): one line on screen
    // and in the totals, but a line break for the composer and in the files.
    // It makes an ordinary line break instead.
    if (event->matches(QKeySequence::InsertLineSeparator)) {
        QKeyEvent plain(event->type(), event->key(), event->modifiers() & ~Qt::ShiftModifier, event->text(),
                        event->isAutoRepeat(), quint16(event->count()));
        QPlainTextEdit::keyPressEvent(&plain);
        event->setAccepted(plain.isAccepted());
        return;
    }
    if (!event->text().isEmpty() && typedAsNewStep([this, event] { QPlainTextEdit::keyPressEvent(event); }))
        return;
    QPlainTextEdit::keyPressEvent(event);
}

void DiaryEditor::inputMethodEvent(QInputMethodEvent* event) {
    QInputMethodEvent recoloured(event->preeditString(),
                                 recolouredComposition(event->preeditString(), event->attributes()));
    recoloured.setCommitString(event->commitString(), event->replacementStart(), event->replacementLength());
    const auto handle = [this, &recoloured] { QPlainTextEdit::inputMethodEvent(&recoloured); };
    if (recoloured.commitString().isEmpty() || !typedAsNewStep(handle))
        handle();
    event->setAccepted(recoloured.isAccepted());
}

void DiaryEditor::resizeEvent(QResizeEvent* event) {
    followLongLineWidth();
    // QPlainTextEdit lays every block out anew when its width changes. Without
    // word wrap the width changes nothing in the layout, so on a big page a
    // resize (or the first showing of the tab) would only cost time and memory:
    // the editor is told the width stayed.
    if (lineWrapMode() == QPlainTextEdit::NoWrap && event->oldSize().width() != event->size().width()) {
        QResizeEvent sameWidth(event->size(), QSize(event->size().width(), event->oldSize().height()));
        QPlainTextEdit::resizeEvent(&sameWidth);
        return;
    }
    QPlainTextEdit::resizeEvent(event);
    if (lineWrapMode() != QPlainTextEdit::NoWrap && event->oldSize().width() != event->size().width())
        Q_EMIT displayedLinesChanged();
}

bool DiaryEditor::canInsertFromMimeData(const QMimeData* source) const {
    // Files dropped from the desktop are the window's business (it opens them).
    return source && source->hasText() && !source->hasUrls();
}

void DiaryEditor::insertFromMimeData(const QMimeData* source) {
    // Drops and pastes take plain text only; a missing or empty source does nothing.
    if (!canInsertFromMimeData(source))
        return;
    const QString text = source->text();
    if (!text.isEmpty())
        insertTextAtCaret(text);
}
