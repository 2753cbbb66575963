#pragma once
// Tag highlighting of an editor (Ctrl+Space): the runs of tags are shown in
// dark red. Display only: the document, its undo steps and its modified flag
// are never touched, and nothing of it reaches the saved file.
//
// The runs are found in one pass over the text and kept per block (TagRuns).
// Each block remembers its number at that moment in its user state, so that
// lines inserted or removed later do not shift the colours onto other lines.
// The colours reach a block's layout only when the block is about to be
// painted, so highlighting a big page costs the scan and not a layout of
// every line. A line edited afterwards loses its colours (the colouring is
// not kept up to date while typing) until the next highlighting; text added
// at the end of a line leaves the line's own colours alone.

#include "document/TagRuns.h"

#include <QObject>
#include <QPointer>
#include <QTextCharFormat>

class QPlainTextEdit;
class QTextBlock;
class QTextDocument;

class TagHighlighter : public QObject {
    Q_OBJECT
public:
    explicit TagHighlighter(QPlainTextEdit* editor);

    // Colours the runs of the editor's text. A text of fewer than two
    // characters is left alone. The caret goes back to where the selection
    // began (the selection is dropped) and is scrolled into view.
    void highlight();
    // Forgets the runs; blocks show their normal colour as they are painted.
    void clear();

    // The colour of the runs: red 128, green 0, blue 0.
    static QColor RunColor();

protected:
    // Before the editor's viewport paints, its visible blocks get their colours.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void watchDocument();
    void onContentsChange(int position, int charsRemoved, int charsAdded);
    void applyToVisibleBlocks();
    // Gives the block's layout the colours of its runs; false when it had them.
    bool applyToBlock(const QTextBlock& block);

    QPlainTextEdit* editor_;
    QPointer<QTextDocument> document_;
    TagRuns runs_;
    bool active_ = false;
    QTextCharFormat runFormat_;
};
