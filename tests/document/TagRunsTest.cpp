#include "document/TagRuns.h"

#include "support/QtPrinters.h"

#include <QString>
#include <algorithm>
#include <gtest/gtest.h>
#include <random>

using namespace Qt::StringLiterals;

namespace {

// The text with every run of each block between "[" and "]", blocks joined by '\n'.
QString marked(const QString& text) {
    const TagRuns runs = ScanTagRuns(text);
    const QStringList lines = text.split(u'\n');
    if (runs.blockCount() != lines.size())
        return u"block count %1, lines %2"_s.arg(runs.blockCount()).arg(lines.size());
    QStringList out;
    for (int b = 0; b < runs.blockCount(); ++b) {
        QString line = lines[b];
        const auto blockRuns = runs.block(b);
        // From the right, so earlier positions stay valid.
        for (auto run = blockRuns.rbegin(); run != blockRuns.rend(); ++run) {
            line.insert(run->start + run->length, u']');
            line.insert(run->start, u'[');
        }
        out << line;
    }
    return out.join(u'\n');
}

// The rule read literally over the whole text: which characters a run colours.
std::vector<bool> colouredByTheRule(const QString& t) {
    const qsizetype n = t.size();
    std::vector<bool> coloured(size_t(n), false);
    for (qsizetype i = 0; i < n;) {
        if (t[i] != u'<') {
            ++i;
            continue;
        }
        const qsizetype start = i;
        qsizetype end = 0;
        for (;;) {
            const qsizetype close = t.indexOf(u'>', i + 1);
            if (close < 0) {
                end = i + 1;
                break;
            }
            qsizetype j = close + 1;
            while (j < n && (t[j] == u'\r' || t[j] == u'\n'))
                ++j;
            if (j < n && t[j] == u'<') {
                i = j;
                continue;
            }
            end = j;
            break;
        }
        std::fill(coloured.begin() + start, coloured.begin() + end, true);
        i = end;
    }
    return coloured;
}

// The same flags from the scanner's runs ('\n' itself is between blocks and never coloured).
std::vector<bool> colouredByTheScanner(const QString& t) {
    const TagRuns runs = ScanTagRuns(t);
    std::vector<bool> coloured(size_t(t.size()), false);
    qsizetype blockStart = 0;
    for (int b = 0; b < runs.blockCount(); ++b) {
        const qsizetype lineEnd = t.indexOf(u'\n', blockStart);
        const qsizetype blockEnd = lineEnd < 0 ? t.size() : lineEnd;
        int previousEnd = -1;
        for (const TagRun& run : runs.block(b)) {
            // Runs of a block are non-empty, left to right, apart from each other and inside it.
            if (run.length <= 0 || run.start <= previousEnd ||
                blockStart + run.start + run.length > blockEnd) {
                ADD_FAILURE() << "block " << b << ": run " << run.start << "+" << run.length;
                return {};
            }
            previousEnd = run.start + run.length;
            std::fill_n(coloured.begin() + blockStart + run.start, run.length, true);
        }
        blockStart = blockEnd + 1;
    }
    return coloured;
}

} // namespace

TEST(TagRuns, RunsFollowTheTagsAcrossLines) {
    const struct {
        QString text, expected;
    } cases[] = {
        {u"Hello<B>big</B><BR>\n<I>end"_s, u"Hello[<B>]big[</B><BR>]\n[<I>]end"_s},
        {u"no tags at all"_s, u"no tags at all"_s},
        {u""_s, u""_s},
        {u"a>b"_s, u"a>b"_s},
        // A tag over two lines, and the text after it.
        {u"x<a\nhref=1>y"_s, u"x[<a]\n[href=1>]y"_s},
        // Blank lines after a ">" belong to the run; a following "<" continues it.
        {u"<p>\n\n<b>x"_s, u"[<p>]\n\n[<b>]x"_s},
        {u"<p>\ntext"_s, u"[<p>]\ntext"_s},
        {u"<a>\n"_s, u"[<a>]\n"_s},
        // A CR left inside a line is a line break too.
        {u"<a>\r<b>c"_s, u"[<a>\r<b>]c"_s},
        // A "<" inside a tag does not start a tag of its own.
        {u"<a<b>c"_s, u"[<a<b>]c"_s},
        {u"日本<ｂ>語"_s, u"日本[<ｂ>]語"_s},
    };
    for (const auto& c : cases)
        EXPECT_EQ(marked(c.text), c.expected) << c.text.toStdString();
}

TEST(TagRuns, ALessThanWithoutAGreaterThanAfterItIsColouredAlone) {
    const struct {
        QString text, expected;
    } cases[] = {
        {u"a < b"_s, u"a [<] b"_s},
        {u"a<b\n<c"_s, u"a[<]b\n[<]c"_s},
        {u"<a\n<b\nc<"_s, u"[<]a\n[<]b\nc[<]"_s},
        // A closed tag first, then the one that never closes.
        {u"<i>x<a\nb"_s, u"[<i>]x[<]a\nb"_s},
        // A run continued into a tag that never closes ends right after its "<".
        {u"<B>\n<I"_s, u"[<B>]\n[<]I"_s},
        {u"<B><I x<y"_s, u"[<B><]I x[<]y"_s},
        // Neighbouring runs of one line are one span.
        {u"<<"_s, u"[<<]"_s},
    };
    for (const auto& c : cases)
        EXPECT_EQ(marked(c.text), c.expected) << c.text.toStdString();
}

TEST(TagRuns, BlocksMayBeFedOneByOneOrSplitAtParagraphSeparators) {
    TagRunScanner scanner;
    for (QStringView line : {u"Hello<B>big</B><BR>", u"<I>end"})
        scanner.addBlock(line);
    const TagRuns fed = scanner.finish();
    const TagRuns split = ScanTagRuns(u"Hello<B>big</B><BR>\x2029<I>end");
    for (const TagRuns* runs : {&fed, &split}) {
        ASSERT_EQ(runs->blockCount(), 2);
        EXPECT_EQ(std::vector<TagRun>(runs->block(0).begin(), runs->block(0).end()),
                  (std::vector<TagRun>{{5, 3}, {11, 8}}));
        EXPECT_EQ(std::vector<TagRun>(runs->block(1).begin(), runs->block(1).end()),
                  (std::vector<TagRun>{{0, 3}}));
        EXPECT_TRUE(runs->block(2).empty());
        EXPECT_TRUE(runs->block(-1).empty());
        EXPECT_EQ(runs->size(), 3);
    }

    // The scanner starts afresh after finish().
    scanner.addBlock(u"x<y");
    const TagRuns again = scanner.finish();
    EXPECT_EQ(again.blockCount(), 1);
    EXPECT_EQ(std::vector<TagRun>(again.block(0).begin(), again.block(0).end()),
              (std::vector<TagRun>{{1, 1}}));
}

TEST(TagRuns, ScannerAgreesWithTheRuleOnRandomTextsHoweverItIsFed) {
    std::mt19937 rng(20031107);
    const QString alphabet = u"<<>>\n\ra"_s;
    std::uniform_int_distribution<int> letter(0, int(alphabet.size()) - 1);
    std::uniform_int_distribution<int> length(0, 40);
    for (int round = 0; round < 3000; ++round) {
        QString text;
        for (int n = length(rng); n > 0; --n)
            text += alphabet[letter(rng)];
        std::vector<bool> expected = colouredByTheRule(text);
        // Line feeds separate blocks; whether one counts as coloured is not shown.
        for (qsizetype i = 0; i < text.size(); ++i) {
            if (text[i] == u'\n')
                expected[size_t(i)] = false;
        }
        ASSERT_EQ(colouredByTheScanner(text), expected) << QString(text).replace(u'\n', u'|').toStdString();

        // Fed in pieces cut anywhere, with paragraph separators, the runs are the same.
        const TagRuns whole = ScanTagRuns(text);
        QString separated = text;
        separated.replace(u'\n', u'\x2029');
        TagRunScanner scanner;
        std::uniform_int_distribution<qsizetype> cut(0, text.size());
        qsizetype first = cut(rng), second = cut(rng);
        if (first > second)
            std::swap(first, second);
        const QStringView view(separated);
        scanner.addText(view.first(first));
        scanner.addText(view.sliced(first, second - first));
        scanner.addText(view.sliced(second));
        const TagRuns pieces = scanner.finish();
        ASSERT_EQ(pieces.blockCount(), whole.blockCount());
        for (int b = 0; b < whole.blockCount(); ++b) {
            ASSERT_TRUE(std::ranges::equal(pieces.block(b), whole.block(b)))
                << "block " << b << " of " << QString(text).replace(u'\n', u'|').toStdString() << " cut at "
                << first << ", " << second;
        }
    }
}

// Line by line, cut at the text's last ">", the runs are those of the one pass.
TEST(TagRuns, LineByLineRunsCutAtTheLastCloseAreThoseOfTheWholeText) {
    const QString texts[] = {
        u"Hello<B>big</B><BR>\n<I>end"_s,
        u"<A\nHREF=x>y\n\n<P>"_s,
        u"a < b < c\n<d"_s,                 // no ">" at all
        u"<B>x</B> <open\n<still\nmore>"_s, // a tag over three lines
        u"<B>x</B> <never\n< closed"_s,     // after the last ">" only each "<"
        u"<<a>>\n>><<"_s,
        u"\n\n<\n"_s,
    };
    std::mt19937 random(20);
    std::vector<QString> all(std::begin(texts), std::end(texts));
    for (int i = 0; i < 200; ++i) {
        QString text;
        for (int c = std::uniform_int_distribution<int>(0, 30)(random); c > 0; --c)
            text += u"<>\nab"_s[std::uniform_int_distribution<int>(0, 4)(random)];
        all.push_back(text);
    }
    for (const QString& text : all) {
        const TagRuns whole = ScanTagRuns(text);
        const TagLines lines = ScanTagLines(text);
        const QStringList lineTexts = text.split(u'\n');
        ASSERT_EQ(lines.runs.blockCount(), lineTexts.size());
        qsizetype lineStart = 0;
        for (int b = 0; b < lineTexts.size(); ++b) {
            const qsizetype lastClose = lines.lastClose < lineStart ? -1 : lines.lastClose - lineStart;
            const std::vector<TagRun> shown = ShownTagRuns(lineTexts[b], lines.runs.block(b), lastClose);
            const std::span<const TagRun> expected = whole.block(b);
            EXPECT_TRUE(std::equal(shown.begin(), shown.end(), expected.begin(), expected.end()))
                << "line " << b << " of " << QString(text).replace(u'\n', u'|').toStdString();
            lineStart += lineTexts[b].size() + 1;
        }
    }
}
