#pragma once
// The plain-text editor used for today's body (MToday) and the diary page (RAll).
//
// Besides QPlainTextEdit it
// - keeps the line and byte totals of its text up to date per edit, so that the
//   status panels cost nothing proportional to the text on a caret move;
// - lets the window's command keys reach their commands while it has the focus
//   (QPlainTextEdit claims keys such as Ctrl+Insert or Ctrl+A for itself);
// - pastes only plain text, and never crashes when no program owns the clipboard.

#include <QKeySequence>
#include <QList>
#include <QPlainTextEdit>
#include <QPointer>

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
    int displayedLineCount() const;

    // 1-based line and column of the start of the selection.
    int caretLine() const;
    int caretColumn() const;

    // The lines of the text, a line break at the very end not starting a further line.
    QStringList lines() const;

    // The whole text for writing to a file: its lines separated by U+2029,
    // which the codec writes as CR LF. Cheaper than toPlainText() on a big page.
    QString textForSaving() const;

    // Replaces the whole text without an undo step; the editor counts as unmodified.
    void loadText(const QString& text);
    // Replaces the selection with text as one undo step; the caret ends after it.
    void insertTextAtCaret(const QString& text);
    // Pastes the clipboard's text, if any.
    void pasteText();

    // Key sequences that belong to the window's commands; the editor leaves them
    // to the commands instead of handling them itself.
    void setCommandKeys(const QList<QKeySequence>& keys);

    // Shows the tags of the text in dark red, display only (TagHighlighter.h).
    void highlightTags();

Q_SIGNALS:
    // The totals changed (after every edit).
    void totalsChanged();

protected:
    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    bool canInsertFromMimeData(const QMimeData* source) const override;
    void insertFromMimeData(const QMimeData* source) override;

private:
    void onContentsChange(int position, int charsRemoved, int charsAdded);
    bool isCommandKey(const QKeyEvent* event) const;

    BlockTotals* totals_;
    QPointer<QTextDocument> countedDocument_;
    QList<QKeySequence> commandKeys_;
    bool loading_ = false;
    TagHighlighter* tagHighlighter_ = nullptr;
};
