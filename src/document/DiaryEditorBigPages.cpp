// The editor's part in big pages: the layout that shows very long lines the
// fast way, the font that goes without shaping while such a line is there,
// and putting a big page in in steps.

#include "document/DiaryEditor.h"
#include "document/LongLineLayout.h"

#include <QEvent>
#include <QScrollBar>
#include <QTextCursor>
#include <QTextDocument>
#include <QTimer>

namespace {
// How long a resize must be over before long lines are laid out at the new
// width (each layout of a line of megabytes takes a second or more).
constexpr int LongLineResizeDelayMs = 250;
} // namespace

void DiaryEditor::installLongLineLayout() {
    auto* doc = new QTextDocument(this);
    auto* layout = new LongLineLayout(doc);
    doc->setDocumentLayout(layout);
    layout->setPaintDevice(viewport());
    doc->setDefaultFont(font());
    setDocument(doc);
    layout->setLongLineWidth(viewport()->width());

    // A caret placed by anyone else stays where it was placed.
    connect(this, &QPlainTextEdit::cursorPositionChanged, this, [this] {
        if (!loading_)
            caretToStartWhenShown_ = false;
    });

    longLineWidthTimer_ = new QTimer(this);
    longLineWidthTimer_->setSingleShot(true);
    longLineWidthTimer_->setInterval(LongLineResizeDelayMs);
    connect(longLineWidthTimer_, &QTimer::timeout, this, [this] {
        if (auto* layout = qobject_cast<LongLineLayout*>(document()->documentLayout()))
            layout->setLongLineWidth(viewport()->width());
    });
}

void DiaryEditor::followLongLineWidth() {
    auto* layout = qobject_cast<LongLineLayout*>(document()->documentLayout());
    if (!layout)
        return;
    // When no long line is laid out at the old width, or when the editor
    // wraps (it lays every line out anew anyway), the new width holds at once.
    if (!layout->hasLaidOutLongLines() || lineWrapMode() != QPlainTextEdit::NoWrap)
        layout->setLongLineWidth(viewport()->width());
    else
        longLineWidthTimer_->start();
}

void DiaryEditor::showLongLinesFast(bool fast) {
    if (fast == longLinesFast_)
        return;
    longLinesFast_ = fast;
    // The document's font, not the editor's: the editor keeps the font it
    // was given (the window stores it).
    QFont shown = font();
    if (fast) {
        shown.setStyleStrategy(QFont::StyleStrategy(shown.styleStrategy() | QFont::PreferNoShaping));
        shown.setKerning(false);
    }
    document()->setDefaultFont(shown);
}

void DiaryEditor::changeEvent(QEvent* event) {
    QPlainTextEdit::changeEvent(event); // gives the document the editor's font
    if (event->type() == QEvent::FontChange && longLinesFast_) {
        longLinesFast_ = false;
        showLongLinesFast(true);
    }
}

void DiaryEditor::beginLoad() {
    loading_ = false;
    document()->setUndoRedoEnabled(false);
    document()->setPlainText(QString());
}

void DiaryEditor::appendLoaded(QStringView piece) {
    // The last line is empty (the piece before ended in a line break): the
    // new lines are counted from the piece itself.
    QTextDocument* doc = document();
    const int firstNew = doc->blockCount() - 1;
    loading_ = doc->lastBlock().length() == 1;
    const bool counted = loading_;
    QTextCursor cursor(doc);
    cursor.movePosition(QTextCursor::End);
    // In an edit block the cursor does not lay its line out to remember
    // where it stands (that would shape a long line with the font not yet
    // made fast).
    cursor.beginEditBlock();
    cursor.insertText(piece.toString());
    cursor.endEditBlock();
    loading_ = false;
    if (counted)
        countLines(doc->findBlockByNumber(firstNew), piece);
}

void DiaryEditor::endLoad() {
    document()->setUndoRedoEnabled(true);
    document()->setModified(false);
    caretToStart();
}

void DiaryEditor::caretToStart() {
    if (isVisible()) {
        moveCursor(QTextCursor::Start);
        horizontalScrollBar()->setValue(0);
        return;
    }
    // Placing the caret lays its line out; in a hidden editor (the other tab,
    // or the window before it is shown) that can wait until it is shown,
    // when its width is known: a long line takes a second or more to lay out.
    caretToStartWhenShown_ = true;
}

void DiaryEditor::showEvent(QShowEvent* event) {
    QPlainTextEdit::showEvent(event);
    if (!caretToStartWhenShown_)
        return;
    // After the layouts that a showing sets off have given the editor its size.
    QMetaObject::invokeMethod(
        this,
        [this] {
            if (!caretToStartWhenShown_)
                return;
            caretToStartWhenShown_ = false;
            moveCursor(QTextCursor::Start);
            horizontalScrollBar()->setValue(0);
        },
        Qt::QueuedConnection);
}
