#pragma once
// The find bar under an editor: find, replace and go to a line, without a
// dialog. One bar stands under each editor; the window keeps their searches
// alike, so that F3 on either tab goes on with the last search.
//
// - Finding walks the editor's blocks from the caret (TextSearch.h) with a
//   deadline, so that a pattern that backtracks without end is stopped and
//   said so instead of freezing the window.
// - The count of all matches ("N件") is taken in steps on a timer a moment
//   after the search changes, never on the keystroke.
// - The matches on screen are marked with extra selections of the visible
//   blocks only, recomputed on scrolls, resizes and edits: display only, the
//   document and its undo stack are not touched.
// - すべて置換 replaces in one edit block: one undo step.

#include "document/TextSearch.h"

#include <QElapsedTimer>
#include <QWidget>
#include <functional>

class DiaryEditor;
class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTimer;

class FindBar : public QWidget {
    Q_OBJECT
public:
    enum class Mode { Find, Replace, Line };

    FindBar(DiaryEditor* editor, QWidget* parent = nullptr);

    QLineEdit *FindField = nullptr, *ReplaceField = nullptr, *LineField = nullptr;
    QCheckBox *MatchCase = nullptr, *WholeWord = nullptr, *RegularExpression = nullptr,
              *IgnoreWidth = nullptr;
    QPushButton *BtnPrevious = nullptr, *BtnNext = nullptr, *BtnReplace = nullptr, *BtnReplaceAll = nullptr,
                *BtnGoToLine = nullptr, *BtnClose = nullptr;
    QLabel *CountLabel = nullptr, *NoteLabel = nullptr;

    Mode mode() const { return mode_; }
    // Shows the bar in mode with its field focused; the find field takes the
    // selection when it lies on one line.
    void open(Mode mode);
    // Hides the bar; the editor takes the focus back, its selection kept.
    void close();

    // From the bar's search, open or not; false when nothing was found.
    bool findNext();
    bool findPrevious();
    // Replaces the selected match, if the selection is one, and finds the next.
    void replaceCurrent();
    // Replaces every match of the text, or of the selection when it spans more
    // than one line, as one undo step; the number replaced (-1: stopped).
    qsizetype replaceAll();
    void goToLine();

    // The search as the other bar has it (no signal).
    void takeSearch(const FindBar& other);
    textsearch::Options options() const;
    // The last note: shown in the bar, or given to noted() while it is hidden.
    QString note() const { return note_; }
    // Asked before every search: a text still coming in is not searched.
    void setBusyCheck(std::function<bool()> busy) { busy_ = std::move(busy); }

Q_SIGNALS:
    // The user changed the pattern or an option.
    void searchEdited();
    // A note for the user while the bar is hidden.
    void noted(const QString& text);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    // Whether the search can run now; says why not where there is a reason.
    bool usableMatcher();
    bool find(bool forward);
    void select(int start, int end);
    // The editor's text in one string, its lines separated by U+2029, kept
    // until the next edit (or the bar is closed) for the plain patterns that
    // are searched all at once (Matcher::searchesWholeText).
    const QString& wholeText();
    void dropWholeText();
    void setNote(const QString& text);
    void searchChanged();
    void startCount();
    void countStep();
    void scheduleMarks();
    void updateMarks();
    void clearMarks();

    DiaryEditor* editor_;
    Mode mode_ = Mode::Find;
    QWidget *findRow_ = nullptr, *optionsRow_ = nullptr, *replaceRow_ = nullptr, *lineRow_ = nullptr;
    QString note_;
    std::function<bool()> busy_;
    QTimer* countTimer_ = nullptr; // the next step of the count, or its start after an edit
    QTimer* marksTimer_ = nullptr;
    textsearch::Matcher matcher_;  // the bar's search, kept compiled
    textsearch::Matcher counting_; // the search being counted
    bool countFresh_ = true;
    textsearch::TextLines::Handle countLine_; // the next line to count
    qsizetype counted_ = 0;
    QString wholeText_;
    bool wholeTextKept_ = false;
    qint64 countSpent_ = 0; // milliseconds spent counting, steps only
};
