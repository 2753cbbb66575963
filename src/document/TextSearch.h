#pragma once
// The matching rules of find and replace, line by line: a line is one block of
// an editor, without its line break, so a match never takes half a line
// break, and each call of a regular expression is bounded by one line.
//
// - Case: letters differ by case only when matchCase is set.
// - Whole word: the match neither starts after nor ends before a letter,
//   digit or "_".
// - Regular expression: Qt's QRegularExpression (Unicode classes); "\1" … "\9"
//   in the replacement insert the groups, "\0" the whole match, "\\" a
//   backslash.
// - Width: with foldWidth, full-width letters, digits and signs match their
//   half-width forms and half-width katakana the full-width ones, a voiced
//   mark included (ｶﾞ matches ガ); otherwise they are different characters.
// - A match never starts or ends between the halves of a surrogate pair, and
//   never is empty: an empty pattern, or a pattern that only matches the empty
//   string, finds nothing.

#include <QDeadlineTimer>
#include <QList>
#include <QRegularExpression>
#include <QString>
#include <QStringMatcher>
#include <QStringView>

namespace textsearch {

struct Options {
    bool matchCase = false;
    bool wholeWord = false;
    bool regex = false;
    bool foldWidth = false;

    friend bool operator==(const Options&, const Options&) = default;
};

// A match in a line: its start and length, and for a regular expression the
// groups (start, length; start -1 for a group that took no part).
struct Match {
    qsizetype start = -1;
    qsizetype length = 0;
    QList<std::pair<qsizetype, qsizetype>> groups;

    bool found() const { return start >= 0; }
    qsizetype end() const { return start + length; }
};

// A line with full-width and half-width forms brought to one form, and for
// each of its characters the position in the line it came from (one more
// entry for the end of the line).
struct FoldedText {
    QString text;
    QList<qsizetype> origin; // empty when the text is the line unchanged
};
FoldedText foldWidth(QStringView line);

class Matcher {
public:
    Matcher() = default;
    Matcher(const QString& pattern, const Options& options);

    const QString& pattern() const { return pattern_; }
    const Options& options() const { return options_; }
    // Neither empty nor an invalid expression.
    bool isUsable() const { return !pattern_.isEmpty() && errorText_.isEmpty(); }
    // What is wrong with an invalid expression; empty otherwise.
    const QString& errorText() const { return errorText_; }

    // Whether the matches can be looked for in a whole text at once, its
    // lines separated by U+2029, with the same result as line by line: a
    // plain pattern without a line break, so that no match spans one and a
    // line's end is no letter to a whole word.
    bool searchesWholeText() const;

    // The first match starting at or after from.
    Match findIn(QStringView line, qsizetype from = 0) const;
    // The last match starting before `before` (-1: anywhere in the line).
    Match findLastIn(QStringView line, qsizetype before = -1) const;
    // The matches of the line, left to right, not overlapping.
    QList<Match> allIn(QStringView line) const;
    qsizetype countIn(QStringView line) const;
    // The text that replaces match (found in line).
    QString replacementFor(QStringView line, const Match& match, const QString& replacement) const;

private:
    // The first acceptable match in subject (the line or its folded form) at or after from.
    Match findInSubject(QStringView subject, QStringView line, const QList<qsizetype>& origin,
                        qsizetype from) const;
    bool acceptable(QStringView line, qsizetype start, qsizetype end) const;

    QString pattern_;
    Options options_;
    QString errorText_;
    QStringMatcher plain_;
    Qt::CaseSensitivity plainCase_ = Qt::CaseInsensitive;
    QRegularExpression regex_;
};

// ---- Walking a text of lines ------------------------------------------------
// Lines is what the search walks: an editor's blocks, or a list in the tests.
// It provides a Handle type and
//   Handle at(int line), first(), last(), next(Handle), previous(Handle);
//   bool valid(Handle); int number(Handle); QString text(Handle).

// A whole text in one string, its lines separated by U+2029 (as an editor
// gives it), walked without copying a line. The walk starts at a line whose
// number and start the caller knows (the caret's block), since finding a line
// by its number would read the text up to it.
class TextLines {
public:
    struct Handle {
        qsizetype start = -1; // -1: no line
        qsizetype end = -1;   // the separator after the line, or the text's end
        int number = -1;
    };
    TextLines(QStringView text, int lineCount, int knownLine, qsizetype knownStart)
        : text_(text), lineCount_(lineCount), knownLine_(knownLine), knownStart_(knownStart) {}

    Handle at(int line) const { return line == knownLine_ ? lineFrom(knownStart_, line) : Handle{}; }
    Handle first() const { return lineFrom(0, 0); }
    Handle last() const { return lineFrom(text_.lastIndexOf(QChar::ParagraphSeparator) + 1, lineCount_ - 1); }
    Handle next(const Handle& h) const {
        return h.end < text_.size() ? lineFrom(h.end + 1, h.number + 1) : Handle{};
    }
    Handle previous(const Handle& h) const {
        if (h.start <= 0)
            return {};
        const qsizetype start =
            h.start < 2 ? 0 : text_.lastIndexOf(QChar::ParagraphSeparator, h.start - 2) + 1;
        return {start, h.start - 1, h.number - 1};
    }
    bool valid(const Handle& h) const { return h.start >= 0; }
    int number(const Handle& h) const { return h.number; }
    QStringView text(const Handle& h) const { return text_.sliced(h.start, h.end - h.start); }

private:
    Handle lineFrom(qsizetype start, int number) const {
        const qsizetype end = text_.indexOf(QChar::ParagraphSeparator, start);
        return {start, end < 0 ? text_.size() : end, number};
    }
    QStringView text_;
    int lineCount_;
    int knownLine_;
    qsizetype knownStart_;
};

// A match found in a walk: its line, and whether the walk went past the end
// (or the start) of the text and on from the other side to find it.
struct Found {
    int line = -1;
    Match match;
    bool wrapped = false;
    bool timedOut = false; // the walk was stopped at its deadline

    bool found() const { return line >= 0; }
};

// The next match from (line, column) on, the text's start following its end.
template <class Lines>
Found findNext(const Matcher& matcher, const Lines& lines, int line, qsizetype column,
               QDeadlineTimer deadline) {
    auto handle = lines.at(line);
    if (Match match = matcher.findIn(lines.text(handle), column); match.found())
        return {line, match};
    for (handle = lines.next(handle); lines.valid(handle); handle = lines.next(handle)) {
        if (deadline.hasExpired())
            return {-1, {}, false, true};
        if (Match match = matcher.findIn(lines.text(handle)); match.found())
            return {lines.number(handle), match};
    }
    for (handle = lines.first(); lines.valid(handle); handle = lines.next(handle)) {
        if (deadline.hasExpired())
            return {-1, {}, false, true};
        const int number = lines.number(handle);
        if (Match match = matcher.findIn(lines.text(handle));
            match.found() && (number < line || match.start < column))
            return {number, match, true};
        if (number >= line)
            break;
    }
    return {};
}

// The previous match, starting before (line, column), the text's end
// following its start.
template <class Lines>
Found findPrevious(const Matcher& matcher, const Lines& lines, int line, qsizetype column,
                   QDeadlineTimer deadline) {
    auto handle = lines.at(line);
    if (column > 0) {
        if (Match match = matcher.findLastIn(lines.text(handle), column); match.found())
            return {line, match};
    }
    for (handle = lines.previous(handle); lines.valid(handle); handle = lines.previous(handle)) {
        if (deadline.hasExpired())
            return {-1, {}, false, true};
        if (Match match = matcher.findLastIn(lines.text(handle)); match.found())
            return {lines.number(handle), match};
    }
    for (handle = lines.last(); lines.valid(handle); handle = lines.previous(handle)) {
        if (deadline.hasExpired())
            return {-1, {}, false, true};
        const int number = lines.number(handle);
        if (Match match = matcher.findLastIn(lines.text(handle));
            match.found() && (number > line || match.start >= column))
            return {number, match, true};
        if (number <= line)
            break;
    }
    return {};
}

// Counts the matches from handle on until the text ends or the deadline
// passes; handle is left at the first line not counted (invalid at the end).
template <class Lines>
qsizetype countOn(const Matcher& matcher, const Lines& lines, typename Lines::Handle& handle,
                  QDeadlineTimer deadline) {
    qsizetype count = 0;
    for (; lines.valid(handle) && !deadline.hasExpired(); handle = lines.next(handle))
        count += matcher.countIn(lines.text(handle));
    return count;
}

} // namespace textsearch
