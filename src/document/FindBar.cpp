#include "document/FindBar.h"

#include "document/DiaryEditor.h"
#include "resources/Messages.h"
#include "widgets/PlainHints.h"

#include <QCheckBox>
#include <QDeadlineTimer>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTimer>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace {

// How long one find may walk, all replacements may be collected, and the
// count may take in all, before a pattern is given up as too slow.
constexpr int kFindMilliseconds = 2000;
constexpr int kReplaceAllMilliseconds = 5000;
constexpr int kCountMilliseconds = 3000;
// One step of the count, so that the window paints and takes input between.
constexpr int kCountStepMilliseconds = 15;
// The count waits for the typing to pause.
constexpr int kCountDelayMilliseconds = 200;
// Beyond this length only the shown part of a block (and some margin) is marked.
constexpr int kLongBlock = 20'000;
constexpr int kMarkMargin = 2'000;
constexpr int kMarkedBlocksAtMost = 1'000;
// Marks the extra selections that are the bar's own.
constexpr int kMarkProperty = QTextFormat::UserProperty + 0x21;

QWidget* row(QWidget* parent, QHBoxLayout*& layout) {
    auto* widget = new QWidget(parent);
    layout = new QHBoxLayout(widget);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(4);
    return widget;
}

QPushButton* button(QWidget* parent, const char* name, const QString& caption, const QString& hint) {
    auto* b = new QPushButton(caption, parent);
    b->setObjectName(QLatin1StringView(name));
    b->setToolTip(hint);
    b->setAutoDefault(false);
    return b;
}

QCheckBox* option(QWidget* parent, const char* name, const QString& caption) {
    auto* box = new QCheckBox(caption, parent);
    box->setObjectName(QLatin1StringView(name));
    return box;
}

} // namespace

FindBar::FindBar(DiaryEditor* editor, QWidget* parent) : QWidget(parent), editor_(editor) {
    auto* columns = new QHBoxLayout(this);
    columns->setContentsMargins(2, 2, 2, 2);
    auto* rows = new QVBoxLayout();
    rows->setSpacing(2);
    columns->addLayout(rows, 1);

    QHBoxLayout* layout = nullptr;
    findRow_ = row(this, layout);
    layout->addWidget(new QLabel(u"検索:"_s, findRow_));
    FindField = new QLineEdit(findRow_);
    FindField->setObjectName(u"FindField"_s);
    FindField->setToolTip(u"探す文字列。Enter で次を、Shift+Enter で前を検索します。"_s);
    layout->addWidget(FindField, 1);
    BtnPrevious = button(findRow_, "BtnPrevious", u"前を検索"_s, u"前を検索 (Shift+F3)"_s);
    BtnNext = button(findRow_, "BtnNext", u"次を検索"_s, u"次を検索 (F3)"_s);
    layout->addWidget(BtnPrevious);
    layout->addWidget(BtnNext);
    CountLabel = new QLabel(findRow_);
    CountLabel->setObjectName(u"CountLabel"_s);
    CountLabel->setMinimumWidth(60);
    layout->addWidget(CountLabel);
    rows->addWidget(findRow_);

    // The options and the bar's note take a row of their own, so that at the
    // window's usual width the options keep their whole captions; a note
    // longer than what is left shows whole as its hint.
    optionsRow_ = row(this, layout);
    MatchCase = option(optionsRow_, "MatchCase", u"大文字と小文字を区別"_s);
    WholeWord = option(optionsRow_, "WholeWord", u"単語単位"_s);
    RegularExpression = option(optionsRow_, "RegularExpression", u"正規表現"_s);
    IgnoreWidth = option(optionsRow_, "IgnoreWidth", u"全角・半角を区別しない"_s);
    for (QCheckBox* box : {MatchCase, WholeWord, RegularExpression, IgnoreWidth})
        layout->addWidget(box);
    NoteLabel = new QLabel(optionsRow_);
    NoteLabel->setObjectName(u"NoteLabel"_s);
    NoteLabel->setTextFormat(Qt::PlainText);
    NoteLabel->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    hintWholeTextWhenCut(NoteLabel);
    layout->addSpacing(8);
    layout->addWidget(NoteLabel, 1);
    rows->addWidget(optionsRow_);

    replaceRow_ = row(this, layout);
    layout->addWidget(new QLabel(u"置換:"_s, replaceRow_));
    ReplaceField = new QLineEdit(replaceRow_);
    ReplaceField->setObjectName(u"ReplaceField"_s);
    ReplaceField->setToolTip(u"置き換える文字列。正規表現では \\1 … \\9 がグループに置き換わります。"_s);
    layout->addWidget(ReplaceField, 1);
    BtnReplace = button(replaceRow_, "BtnReplace", u"置換"_s, u"選択中の一致を置き換えて、次を検索します"_s);
    BtnReplaceAll = button(replaceRow_, "BtnReplaceAll", u"すべて置換(&A)"_s,
                           u"すべての一致を置き換えます（複数行を選択している時は選択範囲の中だけ）"_s);
    layout->addWidget(BtnReplace);
    layout->addWidget(BtnReplaceAll);
    rows->addWidget(replaceRow_);

    lineRow_ = row(this, layout);
    layout->addWidget(new QLabel(u"行番号:"_s, lineRow_));
    LineField = new QLineEdit(lineRow_);
    LineField->setObjectName(u"LineField"_s);
    LineField->setToolTip(u"移動先の行番号。Enter で移動します。"_s);
    LineField->setMaximumWidth(120);
    layout->addWidget(LineField);
    BtnGoToLine = button(lineRow_, "BtnGoToLine", u"移動"_s, u"指定した行の先頭へ移動します"_s);
    layout->addWidget(BtnGoToLine);
    layout->addStretch(1);
    rows->addWidget(lineRow_);

    BtnClose = button(this, "BtnClose", u"×"_s, u"閉じる (Esc)"_s);
    BtnClose->setFlat(true);
    columns->addWidget(BtnClose, 0, Qt::AlignTop);

    // Tab goes from the search field straight to the replacement.
    setTabOrder(FindField, ReplaceField);

    for (QLineEdit* field : {FindField, ReplaceField, LineField})
        field->installEventFilter(this);
    connect(FindField, &QLineEdit::textChanged, this, &FindBar::searchChanged);
    connect(FindField, &QLineEdit::textEdited, this, &FindBar::searchEdited);
    connect(ReplaceField, &QLineEdit::textEdited, this, &FindBar::searchEdited);
    for (QCheckBox* box : {MatchCase, WholeWord, RegularExpression, IgnoreWidth}) {
        connect(box, &QCheckBox::toggled, this, &FindBar::searchChanged);
        connect(box, &QCheckBox::clicked, this, &FindBar::searchEdited);
    }
    connect(BtnNext, &QPushButton::clicked, this, &FindBar::findNext);
    connect(BtnPrevious, &QPushButton::clicked, this, &FindBar::findPrevious);
    connect(BtnReplace, &QPushButton::clicked, this, &FindBar::replaceCurrent);
    connect(BtnReplaceAll, &QPushButton::clicked, this, &FindBar::replaceAll);
    connect(BtnGoToLine, &QPushButton::clicked, this, &FindBar::goToLine);
    connect(BtnClose, &QPushButton::clicked, this, &FindBar::close);

    countTimer_ = new QTimer(this);
    countTimer_->setSingleShot(true);
    connect(countTimer_, &QTimer::timeout, this, &FindBar::countStep);
    marksTimer_ = new QTimer(this);
    marksTimer_->setSingleShot(true);
    connect(marksTimer_, &QTimer::timeout, this, &FindBar::updateMarks);
    connect(editor_->verticalScrollBar(), &QScrollBar::valueChanged, this, &FindBar::scheduleMarks);
    connect(editor_->horizontalScrollBar(), &QScrollBar::valueChanged, this, &FindBar::scheduleMarks);
    connect(editor_->document(), &QTextDocument::contentsChange, this, [this] {
        dropWholeText();
        scheduleMarks();
        startCount();
    });
    editor_->installEventFilter(this);
    hide();
}

textsearch::Options FindBar::options() const {
    return {MatchCase->isChecked(), WholeWord->isChecked(), RegularExpression->isChecked(),
            IgnoreWidth->isChecked()};
}

void FindBar::searchChanged() {
    matcher_ = textsearch::Matcher(FindField->text(), options());
    setNote(matcher_.errorText().isEmpty() ? QString() : msg::searchPatternInvalid(matcher_.errorText()));
    startCount();
    scheduleMarks();
}

void FindBar::takeSearch(const FindBar& other) {
    const QSignalBlocker blockFind(FindField), blockReplace(ReplaceField), blockCase(MatchCase),
        blockWord(WholeWord), blockExpression(RegularExpression), blockWidth(IgnoreWidth);
    FindField->setText(other.FindField->text());
    ReplaceField->setText(other.ReplaceField->text());
    MatchCase->setChecked(other.MatchCase->isChecked());
    WholeWord->setChecked(other.WholeWord->isChecked());
    RegularExpression->setChecked(other.RegularExpression->isChecked());
    IgnoreWidth->setChecked(other.IgnoreWidth->isChecked());
    matcher_ = textsearch::Matcher(FindField->text(), options());
    startCount();
    scheduleMarks();
}

void FindBar::open(Mode mode) {
    mode_ = mode;
    findRow_->setVisible(mode != Mode::Line);
    // The note's row stays: it says why a line number is refused.
    for (QCheckBox* box : {MatchCase, WholeWord, RegularExpression, IgnoreWidth})
        box->setVisible(mode != Mode::Line);
    replaceRow_->setVisible(mode == Mode::Replace);
    lineRow_->setVisible(mode == Mode::Line);
    setNote(QString());
    show();
    if (mode == Mode::Line) {
        LineField->setText(QString::number(editor_->caretLine()));
        LineField->setFocus();
        LineField->selectAll();
        clearMarks();
        return;
    }
    const QString selected = editor_->textCursor().selectedText();
    if (!selected.isEmpty() && !selected.contains(QChar::ParagraphSeparator) && selected.size() <= 1000) {
        FindField->setText(selected);
        Q_EMIT searchEdited();
    }
    FindField->setFocus();
    FindField->selectAll();
    startCount();
    scheduleMarks();
}

void FindBar::close() {
    hide();
    countTimer_->stop();
    clearMarks();
    dropWholeText();
    editor_->setFocus();
}

void FindBar::setNote(const QString& text) {
    note_ = text;
    NoteLabel->setText(text);
    if (!isVisible() && !text.isEmpty())
        Q_EMIT noted(text);
}

bool FindBar::usableMatcher() {
    if (busy_ && busy_()) {
        setNote(msg::SearchWhileLoading);
        return false;
    }
    if (!matcher_.errorText().isEmpty()) {
        setNote(msg::searchPatternInvalid(matcher_.errorText()));
        return false;
    }
    return matcher_.isUsable(); // an empty search does nothing
}

bool FindBar::findNext() {
    return find(true);
}

bool FindBar::findPrevious() {
    return find(false);
}

bool FindBar::find(bool forward) {
    if (!usableMatcher())
        return false;
    const QTextCursor cursor = editor_->textCursor();
    const int position = forward ? cursor.selectionEnd() : cursor.selectionStart();
    QTextDocument* document = editor_->document();
    textsearch::Found found;
    int start = 0;
    if (matcher_.searchesWholeText()) {
        // One search through the text as it is, instead of a walk of its blocks.
        const QString& text = wholeText();
        found.match = forward ? matcher_.findIn(text, position) : matcher_.findLastIn(text, position);
        if (!found.match.found()) {
            found.match = forward ? matcher_.findIn(text) : matcher_.findLastIn(text);
            found.wrapped = true;
        }
        found.line = found.match.found() ? 0 : -1;
    } else {
        const QTextBlock block = document->findBlock(position);
        const textsearch::TextLines lines(wholeText(), document->blockCount(), block.blockNumber(),
                                          block.position());
        const QDeadlineTimer deadline(kFindMilliseconds);
        const int line = block.blockNumber();
        const int column = position - block.position();
        found = forward ? textsearch::findNext(matcher_, lines, line, column, deadline)
                        : textsearch::findPrevious(matcher_, lines, line, column, deadline);
        if (found.found())
            start = document->findBlockByNumber(found.line).position();
    }
    if (found.timedOut) {
        setNote(msg::SearchTooSlow);
        return false;
    }
    if (!found.found()) {
        setNote(msg::searchNotFound(matcher_.pattern()));
        return false;
    }
    select(start + int(found.match.start), start + int(found.match.end()));
    setNote(!found.wrapped ? QString() : forward ? msg::SearchWrappedToStart : msg::SearchWrappedToEnd);
    return true;
}

void FindBar::select(int start, int end) {
    QTextCursor cursor = editor_->textCursor();
    cursor.setPosition(start);
    cursor.setPosition(end, QTextCursor::KeepAnchor);
    editor_->setTextCursor(cursor);
}

const QString& FindBar::wholeText() {
    if (!wholeTextKept_) {
        wholeText_ = editor_->document()->toRawText();
        wholeTextKept_ = true;
    }
    return wholeText_;
}

void FindBar::dropWholeText() {
    wholeText_ = QString();
    wholeTextKept_ = false;
}

void FindBar::replaceCurrent() {
    if (!usableMatcher())
        return;
    if (editor_->isReadOnly()) {
        setNote(msg::SearchReadOnly);
        return;
    }
    QTextCursor cursor = editor_->textCursor();
    const QTextBlock block = editor_->document()->findBlock(cursor.selectionStart());
    if (cursor.hasSelection() && block.contains(cursor.selectionEnd())) {
        const QString text = block.text();
        const int start = cursor.selectionStart() - block.position();
        const textsearch::Match match = matcher_.findIn(text, start);
        if (match.start == start && match.end() == cursor.selectionEnd() - block.position()) {
            cursor.insertText(matcher_.replacementFor(text, match, ReplaceField->text()));
            editor_->setTextCursor(cursor);
        }
    }
    findNext();
}

qsizetype FindBar::replaceAll() {
    if (!usableMatcher())
        return 0;
    if (editor_->isReadOnly()) {
        setNote(msg::SearchReadOnly);
        return 0;
    }
    QTextDocument* document = editor_->document();
    const QTextCursor selection = editor_->textCursor();
    QTextBlock block = document->firstBlock();
    QTextBlock last = document->lastBlock();
    int from = 0;
    int to = document->characterCount();
    if (selection.hasSelection() &&
        document->findBlock(selection.selectionStart()) != document->findBlock(selection.selectionEnd())) {
        from = selection.selectionStart();
        to = selection.selectionEnd();
        block = document->findBlock(from);
        last = document->findBlock(to);
    }

    struct Edit {
        int start;
        int end;
        QString text;
    };
    std::vector<Edit> edits;
    const QString replacement = ReplaceField->text();
    const QDeadlineTimer deadline(kReplaceAllMilliseconds);
    if (matcher_.searchesWholeText()) {
        const QString& text = wholeText();
        for (textsearch::Match match = matcher_.findIn(text, from); match.found() && match.end() <= to;
             match = matcher_.findIn(text, match.end()))
            edits.push_back({int(match.start), int(match.end()), replacement});
    } else {
        const QString& text = wholeText();
        const textsearch::TextLines lines(text, document->blockCount(), block.blockNumber(),
                                          block.position());
        const int lastLine = last.blockNumber();
        for (auto line = lines.at(block.blockNumber()); lines.valid(line); line = lines.next(line)) {
            if (deadline.hasExpired()) {
                setNote(msg::SearchTooSlow);
                return -1;
            }
            const QStringView lineText = lines.text(line);
            for (textsearch::Match match = matcher_.findIn(lineText); match.found();
                 match = matcher_.findIn(lineText, match.end())) {
                const int start = int(line.start + match.start);
                const int end = int(line.start + match.end());
                if (start >= from && end <= to)
                    edits.push_back({start, end, matcher_.replacementFor(lineText, match, replacement)});
            }
            if (line.number >= lastLine)
                break;
        }
    }
    if (edits.empty()) {
        setNote(msg::searchNotFound(matcher_.pattern()));
        return 0;
    }
    // From the end, so that the positions before each edit stay as found.
    QTextCursor cursor(document);
    cursor.beginEditBlock();
    for (auto edit = edits.rbegin(); edit != edits.rend(); ++edit) {
        cursor.setPosition(edit->start);
        cursor.setPosition(edit->end, QTextCursor::KeepAnchor);
        cursor.insertText(edit->text);
    }
    cursor.endEditBlock();
    setNote(msg::replacedCount(qsizetype(edits.size())));
    return qsizetype(edits.size());
}

void FindBar::goToLine() {
    bool ok = false;
    const int line = LineField->text().trimmed().toInt(&ok);
    const int lastLine = qMax(1, editor_->lineTotal());
    if (!ok || line < 1 || line > lastLine) {
        setNote(msg::lineOutOfRange(lastLine));
        LineField->selectAll();
        return;
    }
    QTextCursor cursor = editor_->textCursor();
    cursor.setPosition(editor_->document()->findBlockByNumber(line - 1).position());
    editor_->setTextCursor(cursor);
    editor_->centerCursor();
    close();
}

// ---- The count ----------------------------------------------------------------

void FindBar::startCount() {
    countFresh_ = true;
    if (!isVisible() || mode_ == Mode::Line)
        return;
    CountLabel->setText(matcher_.isUsable() ? msg::SearchCounting : QString());
    countTimer_->start(kCountDelayMilliseconds);
}

void FindBar::countStep() {
    if (busy_ && busy_()) {
        countTimer_->start(kCountDelayMilliseconds);
        return;
    }
    if (countFresh_) {
        countFresh_ = false;
        if (!matcher_.isUsable()) {
            CountLabel->clear();
            return;
        }
        counting_ = matcher_;
        countLine_ = {};
        counted_ = 0;
        countSpent_ = 0;
    }
    if (counting_.searchesWholeText()) {
        CountLabel->setText(msg::searchCount(counting_.countIn(wholeText())));
        return;
    }
    QElapsedTimer step;
    step.start();
    const textsearch::TextLines lines(wholeText(), editor_->document()->blockCount(), 0, 0);
    if (!lines.valid(countLine_))
        countLine_ = lines.first();
    counted_ += textsearch::countOn(counting_, lines, countLine_, QDeadlineTimer(kCountStepMilliseconds));
    countSpent_ += step.elapsed();
    if (!lines.valid(countLine_)) {
        CountLabel->setText(msg::searchCount(counted_));
    } else if (countSpent_ > kCountMilliseconds) {
        CountLabel->clear();
        setNote(msg::SearchTooSlow);
    } else {
        countTimer_->start(0);
    }
}

// ---- The marks on screen --------------------------------------------------------

void FindBar::scheduleMarks() {
    if (isVisible())
        marksTimer_->start(0);
}

void FindBar::clearMarks() {
    QList<QTextEdit::ExtraSelection> kept;
    for (const QTextEdit::ExtraSelection& selection : editor_->extraSelections()) {
        if (!selection.format.hasProperty(kMarkProperty))
            kept << selection;
    }
    if (kept.size() != editor_->extraSelections().size())
        editor_->setExtraSelections(kept);
}

void FindBar::updateMarks() {
    if (!isVisible() || mode_ == Mode::Line || !matcher_.isUsable() || (busy_ && busy_())) {
        clearMarks();
        return;
    }
    QList<QTextEdit::ExtraSelection> selections;
    for (const QTextEdit::ExtraSelection& selection : editor_->extraSelections()) {
        if (!selection.format.hasProperty(kMarkProperty))
            selections << selection;
    }
    QTextCharFormat mark;
    mark.setBackground(QColor(0xff, 0xe0, 0x70));
    mark.setProperty(kMarkProperty, true);

    const QRect area = editor_->viewport()->rect();
    const int top = editor_->cursorForPosition(area.topLeft()).position();
    const int bottom = editor_->cursorForPosition(area.bottomRight()).position();
    QTextDocument* document = editor_->document();
    QTextBlock block = document->findBlock(top);
    const QTextBlock last = document->findBlock(bottom);
    for (int shown = 0; block.isValid() && shown < kMarkedBlocksAtMost; block = block.next(), ++shown) {
        // A long line is marked only where it is on screen.
        int from = block.position();
        int to = block.position() + block.length() - 1;
        QString text;
        if (block.length() > kLongBlock) {
            from = qMax(from, top - kMarkMargin);
            to = qMin(to, bottom + kMarkMargin);
            QTextCursor part(document);
            part.setPosition(from);
            part.setPosition(to, QTextCursor::KeepAnchor);
            text = part.selectedText();
        } else {
            text = block.text();
        }
        for (const textsearch::Match& match : matcher_.allIn(text)) {
            QTextEdit::ExtraSelection selection;
            selection.cursor = QTextCursor(document);
            selection.cursor.setPosition(from + int(match.start));
            selection.cursor.setPosition(from + int(match.end()), QTextCursor::KeepAnchor);
            selection.format = mark;
            selections << selection;
        }
        if (block == last)
            break;
    }
    editor_->setExtraSelections(selections);
}

// ---- Keys -------------------------------------------------------------------------

bool FindBar::eventFilter(QObject* watched, QEvent* event) {
    if (watched == editor_) {
        if (event->type() == QEvent::Resize)
            scheduleMarks();
        return false;
    }
    if (event->type() != QEvent::KeyPress)
        return false;
    const auto* key = static_cast<QKeyEvent*>(event);
    if (key->key() != Qt::Key_Return && key->key() != Qt::Key_Enter)
        return false;
    if (watched == FindField)
        find(!(key->modifiers() & Qt::ShiftModifier));
    else if (watched == ReplaceField)
        replaceCurrent();
    else if (watched == LineField)
        goToLine();
    return true;
}

void FindBar::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape) {
        close();
        event->accept();
        return;
    }
    QWidget::keyPressEvent(event);
}
