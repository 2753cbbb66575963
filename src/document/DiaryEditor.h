#pragma once
// The plain-text editor used for today's body (MToday) and the diary page (RAll).
//
// Besides QPlainTextEdit it
// - keeps the line and byte totals of its text up to date per edit, so that the
//   status panels cost nothing proportional to the text on a caret move;
// - lets the window's command keys reach their commands while it has the focus
//   (QPlainTextEdit claims keys such as Ctrl+Insert or Ctrl+A for itself);
// - breaks lines only with ordinary line breaks, Shift+Enter included;
// - pastes only plain text, and never crashes when no program owns the clipboard;
// - shows the input method's compositions in its own colours (CompositionColors.h);
// - takes big pages in steps and shows very long lines the fast way
//   (DiaryEditorBigPages.cpp, LongLineLayout.h).

#include <QKeySequence>
#include <QList>
#include <QPlainTextEdit>
#include <QPointer>
#include <QTextBlock>

#include <functional>

class QTimer;

struct BlockTotals;
class TagHighlighter;

class DiaryEditor : public QPlainTextEdit {
    Q_OBJECT
public:
    explicit DiaryEditor(QWidget* parent = nullptr);
    ~DiaryEditor() override;

    // Lines as the user counts them: a line break at the very end of the text
    // does not start a further line; an empty text has no line.
    int lineTotal() const;
    // CP932 bytes of the text as it would be written, a line break counting two.
    qint64 byteTotal() const;

    // Lines as shown: with word wrap on, each displayed line counts; a line
    // break at the very end of the text does not start a further line.
    // Proportional to the text when wrapping: meant for today's small body.
    // A text of more than DisplayedCountLimit characters is counted by its
    // lines instead: laying it all out to count would freeze the window
    // (seconds a megabyte of Japanese text) and every keystroke would walk
    // all its blocks.
    int displayedLineCount() const;
    static constexpr int DisplayedCountLimit = 100'000;

    // 1-based line and column of the start of the selection.
    int caretLine() const;
    int caretColumn() const;

    // The same as shown: with word wrap on, the line counts displayed lines
    // and the column starts at the displayed line's first character.
    // Proportional to the text before the caret when wrapping; beyond
    // DisplayedCountLimit characters the same as caretLine and caretColumn.
    struct Caret {
        int line = 1;
        int column = 1;
    };
    Caret displayedCaret() const;

    // The lines of the text, a line break at the very end not starting a further line.
    QStringList lines() const;

    // The whole text for writing to a file: its lines separated by U+2029,
    // which the codec writes as CR LF. Cheaper than toPlainText() on a big page.
    QString textForSaving() const;

    // Replaces the whole text without an undo step; the editor counts as unmodified.
    void loadText(const QString& text);
    // Replaces the selection with text as one undo step; the caret ends after it.
    // A line separator (U+2028) in text becomes an ordinary line break.
    void insertTextAtCaret(const QString& text);
    // Pastes the clipboard's text, if any.
    void pasteText();

    // Key sequences that belong to the window's commands; the editor leaves them
    // to the commands instead of handling them itself.
    void setCommandKeys(const QList<QKeySequence>& keys);

    // ---- Big pages (DiaryEditorBigPages.cpp) ----
    // A big page goes in in steps, so that the window paints in between:
    // beginLoad() empties the editor, appendLoaded() adds pieces of the text
    // in order (each but the last ending in a line break), endLoad() makes the
    // whole the editor's unmodified text, without an undo step, caret at the
    // start. The caller keeps the user out meanwhile (the editor is read-only).
    void beginLoad();
    void appendLoaded(QStringView piece);
    void endLoad();
    // Whether a line of the text is longer than LongLineLayout::LongLineLength:
    // such lines are shown wrapped and their characters are not shaped (no
    // ligatures or kerning), which is what keeps them fast.
    bool hasLongLine() const;
    // Shows the tags of the text in dark red, display only (TagHighlighter.h).
    void highlightTags();

Q_SIGNALS:
    // The totals changed (after every edit).
    void totalsChanged();
    // The displayed lines may have changed without an edit: the width changed
    // while the editor wraps.
    void displayedLinesChanged();

protected:
    bool event(QEvent* event) override;
    void changeEvent(QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    bool canInsertFromMimeData(const QMimeData* source) const override;
    void insertFromMimeData(const QMimeData* source) override;

private:
    // Wrapping on, and a text small enough to count its displayed lines.
    bool countsDisplayedLines() const;
    void onContentsChange(int position, int charsRemoved, int charsAdded);
    bool isCommandKey(const QKeyEvent* event) const;
    // Runs type as the start of a new undo step when an insert came last;
    // false (type not run) otherwise.
    bool typedAsNewStep(const std::function<void()>& type);
    // Counts the blocks from block on, which hold text, in one pass over
    // text (much cheaper than asking each block for its text).
    void countLines(QTextBlock block, QStringView text);
    // Big pages (DiaryEditorBigPages.cpp).
    void installLongLineLayout();
    void caretToStart();
    void showLongLinesFast(bool fast);
    void followLongLineWidth();

    BlockTotals* totals_;
    QPointer<QTextDocument> countedDocument_;
    QList<QKeySequence> commandKeys_;
    bool loading_ = false;
    bool typingStartsStep_ = false;        // the last edit was an insert (a command, a paste or a drop)
    bool longLinesFast_ = false;           // the document's font does without shaping
    bool caretToStartWhenShown_ = false;   // a text came in while the editor was hidden
    QTimer* longLineWidthTimer_ = nullptr; // a resize reaches long lines once it is over
    TagHighlighter* tagHighlighter_ = nullptr;
};
