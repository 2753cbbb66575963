#pragma once
// Tag highlighting of an editor (Ctrl+Space): the runs of tags are shown in
// dark red. Display only: the document, its undo steps and its modified flag
// are never touched, and nothing of it reaches the saved file.
//
// The runs are found line by line (TagLines in TagRuns.h) in one pass over
// the text. Each block remembers, in its user state, where its runs are kept
// and whether it begins and ends inside a tag. Once a page is coloured the
// colours follow the typing: an edit scans its own lines again, and the lines
// after it as long as what they begin with changes (a "<" or ">" typed or
// removed), and they get their new colours before the next paint. The
// colours reach other blocks' layouts only when they are about to be painted,
// so highlighting a big page costs the scan and not a layout of every line.
// An open composition of the input method keeps the line's colours around
// its own.

#include "document/TagRuns.h"

#include <QObject>
#include <QPointer>
#include <QTextCharFormat>
#include <QTextLayout>

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
    void followLastClose(int position, int charsRemoved, int charsAdded);
    // Scans the blocks from first to last again, and the ones after while
    // what they begin with changes; returns the last one scanned.
    QTextBlock rescan(QTextBlock first, const QTextBlock& last);
    std::span<const TagRun> runsOf(int state) const;
    void applyToVisibleBlocks();
    // Gives the block's layout the colours of its runs; false when it had them.
    bool applyToBlock(const QTextBlock& block);
    QList<QTextLayout::FormatRange> wantedFormats(const QTextBlock& block) const;

    QPlainTextEdit* editor_;
    QPointer<QTextDocument> document_;
    TagRuns scanned_;                         // the blocks as highlighted
    std::vector<std::vector<TagRun>> edited_; // blocks scanned again after edits
    qsizetype lastClose_ = -1;                // the text's last ">" (-1: none)
    bool active_ = false;
    QTextCharFormat runFormat_;
};
