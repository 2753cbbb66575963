#include "document/TextSearch.h"

#include "support/QtPrinters.h"

#include <QStringList>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using textsearch::Matcher;
using textsearch::Options;

namespace {

constexpr Options kPlain{};
constexpr Options kCase{.matchCase = true};
constexpr Options kWord{.wholeWord = true};
constexpr Options kRegex{.regex = true};
constexpr Options kFold{.foldWidth = true};

// The first match in line from `from`, as "start+length", or "-".
QString firstMatch(const QString& pattern, const Options& options, const QString& line, qsizetype from = 0) {
    const textsearch::Match match = Matcher(pattern, options).findIn(line, from);
    return match.found() ? u"%1+%2"_s.arg(match.start).arg(match.length) : u"-"_s;
}

struct Row {
    const char* rule;
    QString pattern;
    Options options;
    QString line;
    qsizetype from;
    QString expected;
};

TEST(TextSearch, MatchingRules) {
    const QList<Row> rows = {
        {"any case", u"abc"_s, kPlain, u"xABC"_s, 0, u"1+3"_s},
        {"case matched", u"abc"_s, kCase, u"xABC abc"_s, 0, u"5+3"_s},
        {"from a column", u"ab"_s, kPlain, u"ab ab"_s, 1, u"3+2"_s},
        {"whole word", u"cat"_s, kWord, u"concat cats cat"_s, 0, u"12+3"_s},
        {"whole word, underscore is a letter", u"cat"_s, kWord, u"cat_x"_s, 0, u"-"_s},
        {"whole word, signs around", u"cat"_s, kWord, u"<cat>"_s, 0, u"1+3"_s},
        {"regular expression", u"a(\\d+)"_s, kRegex, u"xa12b"_s, 0, u"1+3"_s},
        {"regular expression, any case", u"A\\d"_s, kRegex, u"a1"_s, 0, u"0+2"_s},
        {"line start is the line's", u"^b"_s, kRegex, u"ab"_s, 1, u"-"_s},
        {"no line break inside a line", u"a\\nb"_s, kRegex, u"a b"_s, 0, u"-"_s},
        {"full-width differs", u"ABC"_s, kPlain, u"ＡＢＣ"_s, 0, u"-"_s},
        {"full-width folded", u"ABC"_s, kFold, u"xＡＢＣ"_s, 0, u"1+3"_s},
        {"full-width pattern folded", u"ａｂｃ"_s, kFold, u"ABC"_s, 0, u"0+3"_s},
        {"half-width kana folded", u"カナ"_s, kFold, u"ｶﾅ"_s, 0, u"0+2"_s},
        {"voiced mark joins", u"ガラス"_s, kFold, u"ｶﾞﾗｽ"_s, 0, u"0+4"_s},
        {"half-width pattern with voiced mark", u"ｶﾞ"_s, kFold, u"カガ"_s, 0, u"1+1"_s},
        {"semi-voiced mark joins", u"パン"_s, kFold, u"aﾊﾟﾝ"_s, 0, u"1+3"_s},
        {"a voiced kana is not its plain one", u"カ"_s, kFold, u"ｶﾞ"_s, 0, u"-"_s},
        {"kana differ unfolded", u"カナ"_s, kPlain, u"ｶﾅ"_s, 0, u"-"_s},
        {"folded regular expression", u"ｶﾞ\\d"_s, Options{.regex = true, .foldWidth = true}, u"ガ1"_s, 0,
         u"0+2"_s},
        {"empty pattern", QString(), kPlain, u"abc"_s, 0, u"-"_s},
        {"empty regular match", u"x*"_s, kRegex, u"abc"_s, 0, u"-"_s},
        {"empty matches skipped", u"x*"_s, kRegex, u"axxb"_s, 0, u"1+2"_s},
        {"look-ahead only", u"(?=a)"_s, kRegex, u"aaa"_s, 0, u"-"_s},
        {"half a surrogate pair", QString(QChar(0xDE00)), kPlain, u"😀"_s, 0, u"-"_s},
        {"a whole pair", u"😀"_s, kPlain, u"a😀"_s, 0, u"1+2"_s},
        {"a character is a pair", u"."_s, kRegex, u"😀"_s, 0, u"0+2"_s},
    };
    for (const Row& row : rows)
        EXPECT_EQ(firstMatch(row.pattern, row.options, row.line, row.from), row.expected) << row.rule;
    EXPECT_FALSE(Matcher(u"a("_s, kRegex).errorText().isEmpty());
    EXPECT_FALSE(Matcher(u"a("_s, kRegex).isUsable());
}

TEST(TextSearch, BackwardAndCounting) {
    const Matcher ab(u"ab"_s, kPlain);
    EXPECT_EQ(ab.findLastIn(u"ab ab ab"_s, 5).start, 3);
    EXPECT_EQ(ab.findLastIn(u"ab ab ab"_s).start, 6);
    EXPECT_FALSE(ab.findLastIn(u"ab"_s, 0).found());
    EXPECT_EQ(Matcher(u"ガ"_s, kFold).findLastIn(u"ｶﾞｶﾞ"_s, 3).start, 2);
    EXPECT_EQ(Matcher(u"a+"_s, kRegex).findLastIn(u"aa b aa"_s, 6).start, 5);
    EXPECT_EQ(Matcher(u"aa"_s, kPlain).countIn(u"aaaaa"_s), 2);
    EXPECT_EQ(Matcher(u"a"_s, kWord).countIn(u"a ab a"_s), 2);
    EXPECT_EQ(Matcher(u"\\d"_s, kRegex).countIn(u"1a23"_s), 3);
}

TEST(TextSearch, PlainPatternsSearchTheWholeTextAtOnce) {
    const QString text = u"ab\u2029cd\u2029ab"_s;
    EXPECT_TRUE(Matcher(u"ab"_s, kWord).searchesWholeText());
    EXPECT_EQ(Matcher(u"ab"_s, kWord).countIn(text), 2); // a line's edge is no letter
    EXPECT_FALSE(Matcher(u"b\u2029c"_s, kPlain).searchesWholeText());
    EXPECT_FALSE(Matcher(u"b\nc"_s, kPlain).searchesWholeText());
    EXPECT_FALSE(Matcher(u"ab"_s, kRegex).searchesWholeText());
    EXPECT_FALSE(Matcher(u"ab"_s, kFold).searchesWholeText());
    EXPECT_FALSE(Matcher(QString(), kPlain).searchesWholeText());
}

TEST(TextSearch, ReplacementGroups) {
    struct Case {
        QString pattern;
        Options options;
        QString line;
        QString replacement;
        QString expected;
    } cases[] = {
        {u"(\\w+)@(\\w+)"_s, kRegex, u"me@home"_s, u"\\2 の \\1"_s, u"home の me"_s},
        {u"a(b)?c"_s, kRegex, u"ac"_s, u"[\\1]"_s, u"[]"_s},
        {u"b"_s, kRegex, u"abc"_s, u"<\\0>\\\\\\x"_s, u"<b>\\\\x"_s},
        {u"b"_s, kRegex, u"abc"_s, u"1\\n2"_s, u"1\n2"_s},
        {u"(\\d)"_s, kPlain, u"(\\d)"_s, u"\\1"_s, u"\\1"_s},
        {u"ｶﾞ(\\d)"_s, Options{.regex = true, .foldWidth = true}, u"xガ７"_s, u"\\1"_s, u"７"_s},
    };
    for (const Case& c : cases) {
        const Matcher matcher(c.pattern, c.options);
        const textsearch::Match match = matcher.findIn(c.line);
        ASSERT_TRUE(match.found()) << c.pattern.toStdString();
        EXPECT_EQ(matcher.replacementFor(c.line, match, c.replacement), c.expected)
            << c.pattern.toStdString();
    }
}

// Lines of a list, as the walk sees an editor's blocks.
struct ListLines {
    using Handle = int;
    QStringList lines;
    int at(int line) const { return line; }
    int first() const { return 0; }
    int last() const { return int(lines.size()) - 1; }
    int next(int h) const { return h + 1 < lines.size() ? h + 1 : -1; }
    int previous(int h) const { return h - 1; }
    bool valid(int h) const { return h >= 0; }
    int number(int h) const { return h; }
    QString text(int h) const { return lines[h]; }
};

TEST(TextSearch, WalkWrapsAround) {
    const ListLines text{{u"x a"_s, u"b"_s, u"a a"_s, u"c"_s}};
    const Matcher a(u"a"_s, kPlain);
    const QDeadlineTimer never(QDeadlineTimer::Forever);
    struct Step {
        bool forward;
        int line;
        qsizetype column;
        int foundLine;
        qsizetype foundStart;
        bool wrapped;
    } steps[] = {
        {true, 0, 0, 0, 2, false}, {true, 0, 3, 2, 0, false},  {true, 2, 3, 0, 2, true},
        {true, 2, 1, 2, 2, false}, {false, 2, 2, 2, 0, false}, {false, 2, 0, 0, 2, false},
        {false, 0, 2, 2, 2, true}, {false, 3, 1, 2, 2, false},
    };
    for (const Step& s : steps) {
        const textsearch::Found found = s.forward
                                            ? textsearch::findNext(a, text, s.line, s.column, never)
                                            : textsearch::findPrevious(a, text, s.line, s.column, never);
        EXPECT_EQ(found.line, s.foundLine) << s.forward << s.line << s.column;
        EXPECT_EQ(found.match.start, s.foundStart) << s.forward << s.line << s.column;
        EXPECT_EQ(found.wrapped, s.wrapped) << s.forward << s.line << s.column;
    }
    // The only match, under the caret, is found again from the other side.
    const ListLines one{{u"a"_s, u"b"_s}};
    EXPECT_TRUE(textsearch::findNext(a, one, 0, 1, never).wrapped);
    EXPECT_FALSE(textsearch::findNext(Matcher(u"z"_s, kPlain), one, 0, 0, never).found());
    // An expired deadline stops the walk and says so.
    const textsearch::Found stopped =
        textsearch::findNext(Matcher(u"z"_s, kPlain), one, 0, 0, QDeadlineTimer(0));
    EXPECT_TRUE(stopped.timedOut);
    int handle = 0;
    EXPECT_EQ(textsearch::countOn(a, text, handle, never), 3);
    EXPECT_FALSE(text.valid(handle));

    // The same walks over the lines of one string.
    const QString whole = text.lines.join(QChar::ParagraphSeparator);
    for (const Step& s : steps) {
        const qsizetype lineStart = whole.indexOf(text.lines[s.line]);
        const textsearch::TextLines lines(whole, int(text.lines.size()), s.line, lineStart);
        const textsearch::Found found = s.forward
                                            ? textsearch::findNext(a, lines, s.line, s.column, never)
                                            : textsearch::findPrevious(a, lines, s.line, s.column, never);
        EXPECT_EQ(found.line, s.foundLine) << "whole " << s.forward << s.line << s.column;
        EXPECT_EQ(found.match.start, s.foundStart) << "whole " << s.forward << s.line << s.column;
    }
    textsearch::TextLines::Handle line = textsearch::TextLines(whole, 4, 0, 0).first();
    EXPECT_EQ(textsearch::countOn(a, textsearch::TextLines(whole, 4, 0, 0), line, never), 3);
}

TEST(TextSearch, FoldKeepsOrigins) {
    const textsearch::FoldedText folded = textsearch::foldWidth(u"aｶﾞＢ"_s);
    EXPECT_EQ(folded.text, u"aガB"_s);
    EXPECT_EQ(folded.origin, (QList<qsizetype>{0, 1, 3, 4}));
}

} // namespace
