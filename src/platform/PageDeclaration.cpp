#include "platform/PageDeclaration.h"

#include <cstring>

namespace pagecodec {
namespace {

bool isSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f';
}

char lower(char c) {
    return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c;
}

bool equalsNoCase(QByteArrayView text, QByteArrayView word) {
    if (text.size() != word.size())
        return false;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (lower(text[i]) != word[i])
            return false;
    }
    return true;
}

bool startsWithNoCase(QByteArrayView text, qsizetype pos, QByteArrayView word) {
    return pos + word.size() <= text.size() && equalsNoCase(text.sliced(pos, word.size()), word);
}

qsizetype indexOfNoCase(QByteArrayView text, QByteArrayView word, qsizetype from) {
    for (qsizetype pos = from; pos + word.size() <= text.size(); ++pos) {
        if (startsWithNoCase(text, pos, word))
            return pos;
    }
    return -1;
}

qsizetype skipSpaces(QByteArrayView text, qsizetype pos) {
    while (pos < text.size() && isSpace(text[pos]))
        ++pos;
    return pos;
}

// The names browsers take for UTF-8.
bool namesUtf8(QByteArrayView label) {
    while (!label.isEmpty() && isSpace(label.front()))
        label = label.sliced(1);
    while (!label.isEmpty() && isSpace(label.back()))
        label.chop(1);
    for (const char* name :
         {"utf-8", "utf8", "unicode-1-1-utf-8", "unicode11utf8", "unicode20utf8", "x-unicode20utf8"}) {
        if (equalsNoCase(label, name))
            return true;
    }
    return false;
}

struct Value {
    QByteArrayView text;
    qsizetype next = -1; // where reading goes on; -1 when there was no value
};

// The value after "name =" at pos (quoted or not). A value without quotes ends
// at a space, '>' or one of stops.
Value valueAfterName(QByteArrayView text, qsizetype pos, const char* stops) {
    pos = skipSpaces(text, pos);
    if (pos >= text.size() || text[pos] != '=')
        return {};
    pos = skipSpaces(text, pos + 1);
    if (pos < text.size() && (text[pos] == '"' || text[pos] == '\'')) {
        const qsizetype close = text.indexOf(text[pos], pos + 1);
        if (close < 0)
            return {text.sliced(pos + 1), text.size()};
        return {text.sliced(pos + 1, close - pos - 1), close + 1};
    }
    qsizetype end = pos;
    while (end < text.size() && !isSpace(text[end]) && text[end] != '>' && !std::strchr(stops, text[end]))
        ++end;
    return {text.sliced(pos, end - pos), end};
}

// The charset of a content attribute: "text/html; charset=utf-8".
QByteArrayView charsetOfContent(QByteArrayView content) {
    for (qsizetype pos = indexOfNoCase(content, "charset", 0); pos >= 0;
         pos = indexOfNoCase(content, "charset", pos + 1)) {
        const Value value = valueAfterName(content, pos + 7, ";");
        if (!value.text.isEmpty())
            return value.text;
    }
    return {};
}

// The attributes of a tag from pos, one per call; false at the tag's end.
bool nextAttribute(QByteArrayView text, qsizetype& pos, QByteArrayView& name, QByteArrayView& value) {
    while (pos < text.size() && (isSpace(text[pos]) || text[pos] == '/'))
        ++pos;
    if (pos >= text.size() || text[pos] == '>')
        return false;
    const qsizetype start = pos;
    while (pos < text.size() && !isSpace(text[pos]) && text[pos] != '=' && text[pos] != '>')
        ++pos;
    name = text.sliced(start, pos - start);
    const Value found = valueAfterName(text, pos, "");
    value = found.text;
    if (found.next >= 0)
        pos = std::max(found.next, pos + 1);
    return true;
}

// Whether the start of a page declares UTF-8. The first declaration counts, as
// in a browser; one inside a comment does not.
} // namespace

bool declaresUtf8(QByteArrayView head) {
    if (head.startsWith("<?xml")) {
        const qsizetype close = head.indexOf("?>");
        const QByteArrayView declaration = head.first(close < 0 ? head.size() : close);
        const qsizetype encoding = indexOfNoCase(declaration, "encoding", 5);
        if (encoding >= 0)
            return namesUtf8(valueAfterName(declaration, encoding + 8, "?").text);
    }
    for (qsizetype pos = head.indexOf('<'); pos >= 0; pos = head.indexOf('<', pos + 1)) {
        if (head.sliced(pos).startsWith("<!--")) {
            const qsizetype close = head.indexOf("-->", pos + 4);
            if (close < 0)
                return false;
            pos = close + 2;
            continue;
        }
        if (!startsWithNoCase(head, pos, "<meta") || pos + 5 >= head.size() ||
            !(isSpace(head[pos + 5]) || head[pos + 5] == '/'))
            continue;
        qsizetype at = pos + 5;
        QByteArrayView name, value, charset, contentCharset;
        while (nextAttribute(head, at, name, value)) {
            if (equalsNoCase(name, "charset") && charset.isEmpty())
                charset = value;
            else if (equalsNoCase(name, "content") && contentCharset.isEmpty())
                contentCharset = charsetOfContent(value);
        }
        if (charset.isEmpty())
            charset = contentCharset;
        if (!charset.isEmpty())
            return namesUtf8(charset);
        pos = at;
    }
    return false;
}

} // namespace pagecodec
