#include "document/LongLineLayout.h"

#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>
#include <QtMath>

namespace {
// A width to wrap at before the editor has told one.
constexpr qreal FallbackWidth = 800;
} // namespace

LongLineLayout::LongLineLayout(QTextDocument* document) : QPlainTextDocumentLayout(document) {}

bool LongLineLayout::isLong(const QTextBlock& block) {
    return isLongLine(block.length() - 1);
}

qreal LongLineLayout::wrapWidth() const {
    return width_ > 0 ? width_ : FallbackWidth;
}

void LongLineLayout::setLongLineWidth(qreal width) {
    if (qFuzzyCompare(width, width_))
        return;
    width_ = width;
    laidOut_ = false;
    bool changed = false;
    for (QTextBlock block = document()->firstBlock(); block.isValid(); block = block.next()) {
        if (isLong(block) && block.layout()->lineCount() > 0) {
            block.clearLayout();
            changed = true;
        }
    }
    if (changed)
        requestUpdate();
}

void LongLineLayout::layoutLongLine(const QTextBlock& block) const {
    QTextDocument* doc = document();
    const qreal margin = doc->documentMargin();
    QTextLayout* layout = block.layout();
    QTextOption option = doc->defaultTextOption();
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    layout->setTextOption(option);
    // The shaped glyphs stay: a paint or a caret move would otherwise shape
    // the whole line again.
    layout->setCacheEnabled(true);
    laidOut_ = true;

    const qreal lineWidth = qMax<qreal>(wrapWidth() - 2 * margin, 1);
    qreal height = 0;
    layout->beginLayout();
    for (QTextLine line = layout->createLine(); line.isValid(); line = layout->createLine()) {
        line.setLeadingIncluded(true);
        line.setLineWidth(lineWidth);
        line.setPosition(QPointF(margin, height));
        height += line.height();
        if (line.leading() < 0)
            height += qCeil(line.leading());
    }
    layout->endLayout();

    const int linesBefore = doc->lineCount();
    QTextBlock(block).setLineCount(block.isVisible() ? layout->lineCount() : 0);
    if (doc->lineCount() != linesBefore) {
        auto* self = const_cast<LongLineLayout*>(this);
        Q_EMIT self->documentSizeChanged(documentSize());
    }
}

QRectF LongLineLayout::blockBoundingRect(const QTextBlock& block) const {
    // A long line is laid out here, when it is first needed; one the plain-text
    // layout laid out as a single line is laid out again, wrapped.
    if (block.isValid() && isLong(block)) {
        const QTextLayout* layout = block.layout();
        if (layout->lineCount() == 0 || !layout->cacheEnabled())
            layoutLongLine(block);
    }
    return QPlainTextDocumentLayout::blockBoundingRect(block);
}

void LongLineLayout::documentChanged(int from, int charsRemoved, int charsAdded) {
    QTextDocument* doc = document();
    QTextBlock start = doc->findBlock(from);
    const QTextBlock end = doc->findBlock(qMax(0, from + charsRemoved + charsAdded - 1));
    if (start == end && doc->blockCount() == blockCount_ && start.isValid()) {
        if (isLong(start)) {
            // An edit inside one long line: the plain-text layout would lay it
            // out at once as a single line. It is laid out when next shown.
            start.clearLayout();
            requestUpdate();
            return;
        }
        if (start.layout()->cacheEnabled())
            start.layout()->setCacheEnabled(false); // no longer long
    }
    QPlainTextDocumentLayout::documentChanged(from, charsRemoved, charsAdded);
    blockCount_ = doc->blockCount();
}
