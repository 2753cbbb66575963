#pragma once
// The layout of an editor's text: Qt's plain-text layout, except for very long
// lines (LongLineLength characters or more, as in a page some site tool
// packed into one line).
//
// Qt lays a line out and shapes it whole; without wrapping it then shapes the
// whole line again for every paint and every blink of the caret, which takes
// seconds for a line of a few megabytes. A long line is therefore shown
// wrapped at the width the editor gives (whatever the wrap setting; the text
// itself is unchanged), and keeps its shaped glyphs between paints, so that a
// paint or a caret move touches only the lines on screen. It is laid out when
// it is first shown, not when it is loaded.

#include <QPlainTextDocumentLayout>

class QTextBlock;

class LongLineLayout : public QPlainTextDocumentLayout {
    Q_OBJECT
public:
    static constexpr int LongLineLength = 20000;

    explicit LongLineLayout(QTextDocument* document);

    // A line of this many characters or more (its line break not counted).
    static bool isLongLine(qsizetype characters) { return characters >= LongLineLength; }
    static bool isLong(const QTextBlock& block);

    // The width long lines wrap at: the editor's. A change lays them out anew.
    void setLongLineWidth(qreal width);
    qreal longLineWidth() const { return width_; }
    // Whether a long line may be laid out at the present width (a new width
    // then costs a layout).
    bool hasLaidOutLongLines() const { return laidOut_; }

    QRectF blockBoundingRect(const QTextBlock& block) const override;

protected:
    void documentChanged(int from, int charsRemoved, int charsAdded) override;

private:
    void layoutLongLine(const QTextBlock& block) const;
    qreal wrapWidth() const;

    qreal width_ = 0;
    mutable bool laidOut_ = false;
    int blockCount_ = 1; // the block count the plain-text layout last saw
};
