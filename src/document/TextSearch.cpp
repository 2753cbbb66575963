#include "document/TextSearch.h"

using namespace Qt::StringLiterals;

namespace textsearch {

namespace {

// Half-width katakana U+FF66 … U+FF9D as full-width katakana.
constexpr char16_t kFullKatakana[] = u"ヲァィゥェォャュョッーアイウエオカキクケコサシスセソタチツテトナニヌネ"
                                     u"ノハヒフヘホマミムメモヤユヨラリルレロワン";
constexpr char16_t kVoicedMark = 0xFF9E;
constexpr char16_t kSemiVoicedMark = 0xFF9F;

bool isFoldable(char16_t c) {
    return c == 0x3000 || (c >= 0xFF01 && c <= 0xFFEE);
}

// A full-width katakana with a voiced (or semi-voiced) mark after it, as one
// character; 0 when the two do not join.
char16_t joined(char16_t kana, char16_t mark) {
    static const QString voiced = u"カキクケコサシスセソタチツテトハヒフヘホ"_s;
    static const QString semiVoiced = u"ハヒフヘホ"_s;
    if (mark == kVoicedMark) {
        if (voiced.contains(QChar(kana)))
            return char16_t(kana + 1);
        if (kana == u'ウ')
            return u'ヴ';
        if (kana == u'ワ')
            return u'ヷ';
        if (kana == u'ヲ')
            return u'ヺ';
    } else if (mark == kSemiVoicedMark && semiVoiced.contains(QChar(kana))) {
        return char16_t(kana + 2);
    }
    return 0;
}

// One half-width or full-width form as the other; c itself when it has none.
char16_t folded(char16_t c) {
    if (c == 0x3000)
        return u' ';
    if (c >= 0xFF01 && c <= 0xFF5E)
        return char16_t(c - 0xFF01 + 0x21);
    if (c >= 0xFF66 && c <= 0xFF9D)
        return kFullKatakana[c - 0xFF66];
    switch (c) {
    case 0xFF61:
        return u'。';
    case 0xFF62:
        return u'「';
    case 0xFF63:
        return u'」';
    case 0xFF64:
        return u'、';
    case 0xFF65:
        return u'・';
    case kVoicedMark:
        return u'゛';
    case kSemiVoicedMark:
        return u'゜';
    case 0xFFE0:
        return 0x00A2;
    case 0xFFE1:
        return 0x00A3;
    case 0xFFE2:
        return 0x00AC;
    case 0xFFE3:
        return 0x00AF;
    case 0xFFE4:
        return 0x00A6;
    case 0xFFE5:
        return 0x00A5;
    default:
        return c;
    }
}

bool needsFold(QStringView line) {
    for (QChar c : line) {
        if (isFoldable(c.unicode()))
            return true;
    }
    return false;
}

bool isWordChar(QChar c) {
    return c.isLetterOrNumber() || c == u'_';
}

bool splitsPair(QStringView line, qsizetype at) {
    return at > 0 && at < line.size() && line[at].isLowSurrogate() && line[at - 1].isHighSurrogate();
}

} // namespace

FoldedText foldWidth(QStringView line) {
    FoldedText result;
    result.text.reserve(line.size());
    result.origin.reserve(line.size() + 1);
    for (qsizetype i = 0; i < line.size(); ++i) {
        const char16_t c = line[i].unicode();
        char16_t out = folded(c);
        result.origin << i;
        if (c >= 0xFF66 && c <= 0xFF9D && i + 1 < line.size()) {
            if (const char16_t voiced = joined(out, line[i + 1].unicode())) {
                out = voiced;
                ++i;
            }
        }
        result.text += QChar(out);
    }
    result.origin << line.size();
    return result;
}

Matcher::Matcher(const QString& pattern, const Options& options) : pattern_(pattern), options_(options) {
    const QString folded = options.foldWidth ? foldWidth(pattern).text : pattern;
    if (options.regex) {
        QRegularExpression::PatternOptions flags = QRegularExpression::UseUnicodePropertiesOption;
        if (!options.matchCase)
            flags |= QRegularExpression::CaseInsensitiveOption;
        regex_ = QRegularExpression(folded, flags);
        if (!regex_.isValid())
            errorText_ = regex_.errorString();
    } else {
        // A pattern without letters that have a case (kana, kanji, digits)
        // matches the same either way, and much faster case-sensitively.
        const bool caseless =
            folded.toUpper() == folded && folded.toLower() == folded && folded.toCaseFolded() == folded;
        plainCase_ = options.matchCase || caseless ? Qt::CaseSensitive : Qt::CaseInsensitive;
        plain_ = QStringMatcher(folded, plainCase_);
    }
}

bool Matcher::searchesWholeText() const {
    if (!isUsable() || options_.regex || options_.foldWidth)
        return false;
    for (QChar c : pattern_) {
        if (c == u'\n' || c == u'\r' || c == QChar::ParagraphSeparator || c == QChar::LineSeparator)
            return false;
    }
    return true;
}

bool Matcher::acceptable(QStringView line, qsizetype start, qsizetype end) const {
    if (end <= start || splitsPair(line, start) || splitsPair(line, end))
        return false;
    if (options_.wholeWord) {
        if (start > 0 && isWordChar(line[start - 1]))
            return false;
        if (end < line.size() && isWordChar(line[end]))
            return false;
    }
    return true;
}

Match Matcher::findInSubject(QStringView subject, QStringView line, const QList<qsizetype>& origin,
                             qsizetype from) const {
    auto toLine = [&origin](qsizetype at) { return origin.isEmpty() || at < 0 ? at : origin[at]; };
    for (qsizetype at = from; at < subject.size();) {
        Match match;
        qsizetype start = -1;
        qsizetype end = -1;
        if (options_.regex) {
            const QRegularExpressionMatch found = regex_.match(subject, at);
            if (!found.hasMatch())
                return {};
            start = found.capturedStart();
            end = found.capturedEnd();
            if (end > start) {
                for (int group = 1; group <= regex_.captureCount(); ++group) {
                    const qsizetype groupStart = toLine(found.capturedStart(group));
                    const qsizetype groupEnd = toLine(found.capturedEnd(group));
                    match.groups.append({groupStart, groupStart < 0 ? 0 : groupEnd - groupStart});
                }
            }
        } else {
            start = plain_.indexIn(subject, at);
            if (start < 0)
                return {};
            end = start + plain_.pattern().size();
        }
        match.start = toLine(start);
        match.length = toLine(end) - match.start;
        if (acceptable(line, match.start, match.end()))
            return match;
        at = start + 1;
    }
    return {};
}

Match Matcher::findIn(QStringView line, qsizetype from) const {
    if (!isUsable() || from > line.size())
        return {};
    if (options_.foldWidth && needsFold(line)) {
        const FoldedText text = foldWidth(line);
        const qsizetype foldedFrom =
            std::lower_bound(text.origin.begin(), text.origin.end(), from) - text.origin.begin();
        return findInSubject(text.text, line, text.origin, foldedFrom);
    }
    return findInSubject(line, line, {}, from);
}

Match Matcher::findLastIn(QStringView line, qsizetype before) const {
    if (before < 0 || before > line.size())
        before = line.size();
    if (!isUsable() || before == 0)
        return {};
    if (!options_.regex && !options_.foldWidth) {
        for (qsizetype at = before - 1; at >= 0; --at) {
            at = line.lastIndexOf(pattern_, at, plainCase_);
            if (at < 0)
                return {};
            if (acceptable(line, at, at + pattern_.size()))
                return {at, pattern_.size(), {}};
        }
        return {};
    }
    Match last;
    for (Match match = findIn(line, 0); match.found() && match.start < before;
         match = findIn(line, match.start + 1))
        last = match;
    return last;
}

QList<Match> Matcher::allIn(QStringView line) const {
    QList<Match> matches;
    for (Match match = findIn(line, 0); match.found(); match = findIn(line, match.end()))
        matches << match;
    return matches;
}

qsizetype Matcher::countIn(QStringView line) const {
    if (!options_.regex && !options_.foldWidth && !options_.wholeWord) {
        // The common case, without building the matches.
        qsizetype count = 0;
        for (qsizetype at = plain_.indexIn(line, 0); at >= 0;
             at = plain_.indexIn(line, at + pattern_.size())) {
            if (acceptable(line, at, at + pattern_.size()))
                ++count;
        }
        return count;
    }
    qsizetype count = 0;
    for (Match match = findIn(line, 0); match.found(); match = findIn(line, match.end()))
        ++count;
    return count;
}

QString Matcher::replacementFor(QStringView line, const Match& match, const QString& replacement) const {
    if (!options_.regex)
        return replacement;
    QString result;
    result.reserve(replacement.size());
    for (qsizetype i = 0; i < replacement.size(); ++i) {
        const QChar c = replacement[i];
        if (c != u'\\' || i + 1 == replacement.size()) {
            result += c;
            continue;
        }
        const QChar next = replacement[++i];
        if (next.isDigit() && next.unicode() < 0x80) {
            const int group = next.digitValue();
            if (group == 0)
                result += line.sliced(match.start, match.length);
            else if (group <= match.groups.size() && match.groups[group - 1].first >= 0)
                result += line.sliced(match.groups[group - 1].first, match.groups[group - 1].second);
        } else if (next == u'n') {
            result += u'\n';
        } else if (next == u't') {
            result += u'\t';
        } else if (next == u'\\') {
            result += u'\\';
        } else {
            result += c;
            result += next;
        }
    }
    return result;
}

} // namespace textsearch
