#include "platform/PageCodec.h"

#include "platform/CodecBits.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

namespace pagecodec {
namespace {

using namespace codecbits;

// How far from the start a declaration of the page's encoding is looked for.
constexpr qsizetype kDeclarationWindow = 16 * 1024;

constexpr char kBom[] = "\xEF\xBB\xBF";
constexpr qsizetype kBomSize = 3;

// ---- Declarations ----

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

// ---- Bytes ----

// The length of the well-formed UTF-8 sequence at p (*p >= 0x80), or 0: no
// overlong forms, no surrogates, nothing above U+10FFFF.
inline int utf8Length(const unsigned char* p, const unsigned char* end) {
    const unsigned b = p[0];
    if (b < 0xC2)
        return 0;
    if (b < 0xE0)
        return end - p >= 2 && (p[1] & 0xC0) == 0x80 ? 2 : 0;
    if (b < 0xF0) {
        if (end - p < 3 || (p[2] & 0xC0) != 0x80)
            return 0;
        const unsigned low = b == 0xE0 ? 0xA0 : 0x80, high = b == 0xED ? 0x9F : 0xBF;
        return p[1] >= low && p[1] <= high ? 3 : 0;
    }
    if (b < 0xF5) {
        if (end - p < 4 || (p[2] & 0xC0) != 0x80 || (p[3] & 0xC0) != 0x80)
            return 0;
        const unsigned low = b == 0xF0 ? 0x90 : 0x80, high = b == 0xF4 ? 0x8F : 0xBF;
        return p[1] >= low && p[1] <= high ? 4 : 0;
    }
    return 0;
}

struct ByteScan {
    bool validUtf8 = true;
    bool multiByte = false;
    bool crLf = false;
    bool loneLf = false;
    bool loneCr = false;
};

// Notes the ASCII byte at p, a line break or not, and steps past it (and past
// the LF of a CR LF).
inline void noteAscii(ByteScan& scan, const unsigned char*& p, const unsigned char* end) {
    if (*p == '\r') {
        if (end - p >= 2 && p[1] == '\n') {
            scan.crLf = true;
            p += 2;
            return;
        }
        scan.loneCr = true;
    } else if (*p == '\n') {
        scan.loneLf = true;
    }
    ++p;
}

inline bool quietWord(const unsigned char* p, bool asciiOnly) {
    std::uint64_t w;
    std::memcpy(&w, p, 8);
    return !(asciiOnly && (w & kHighBits)) && !hasByte(w, '\r') && !hasByte(w, '\n');
}

// One pass over the bytes: their line breaks and, while checkUtf8, whether
// they are valid UTF-8.
ByteScan scanBytes(const unsigned char* p, const unsigned char* const end, bool checkUtf8) {
    ByteScan scan;
    scan.validUtf8 = checkUtf8;
    while (scan.validUtf8 && p < end) {
        while (end - p >= 8 && quietWord(p, true))
            p += 8;
        if (p == end)
            break;
        if (*p < 0x80) {
            noteAscii(scan, p, end);
            continue;
        }
        const int length = utf8Length(p, end);
        if (!length) {
            scan.validUtf8 = false;
            break;
        }
        scan.multiByte = true;
        p += length;
    }
    // Only the line breaks are left to learn; a page that has both CR LF and
    // LF lines has told all there is.
    while (p < end && !(scan.crLf && scan.loneLf)) {
        while (end - p >= 8 && quietWord(p, false))
            p += 8;
        if (p == end)
            break;
        if (*p < 0x80)
            noteAscii(scan, p, end);
        else
            ++p;
    }
    return scan;
}

LineEnding lineEndingOf(const ByteScan& scan) {
    if (scan.crLf)
        return LineEnding::CrLf; // mixed with LF lines or not
    if (scan.loneLf)
        return LineEnding::Lf;
    if (scan.loneCr)
        return LineEnding::Cr;
    return LineEnding::CrLf;
}

template <bool CrBreaks> QString decodeUtf8(QByteArrayView bytes) {
    // Each byte gives at most one code unit (a four-byte sequence two).
    QString text(bytes.size(), Qt::Uninitialized);
    adviseHugePages(text.data(), text.size() * 2);
    char16_t* const begin = reinterpret_cast<char16_t*>(text.data());
    char16_t* out = begin;
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
    const auto* const end = p + bytes.size();

    while (p < end) {
        // Runs of ASCII, eight bytes at a time.
        while (end - p >= 8) {
            std::uint64_t w;
            std::memcpy(&w, p, 8);
            if ((w & kHighBits) || hasByte(w, '\r'))
                break;
            for (int i = 0; i < 8; ++i)
                out[i] = p[i];
            p += 8;
            out += 8;
        }
        if (p == end)
            break;
        const unsigned b = *p;
        if (b < 0x80) {
            ++p;
            if (b != '\r') {
                *out++ = char16_t(b);
            } else if (p < end && *p == '\n') {
                *out++ = u'\n';
                ++p;
            } else {
                *out++ = CrBreaks ? u'\n' : char16_t(kReservedBase + '\r');
            }
            continue;
        }
        switch (utf8Length(p, end)) {
        case 2:
            *out++ = char16_t((b & 0x1F) << 6 | (p[1] & 0x3F));
            p += 2;
            break;
        case 3: {
            const auto c = char16_t((b & 0x0F) << 12 | (p[1] & 0x3F) << 6 | (p[2] & 0x3F));
            if (c >= kReservedBase && c <= kReservedLast) {
                // A character of the range that stands for stray bytes is
                // held as its three bytes, so that it is written back as it was.
                for (int i = 0; i < 3; ++i)
                    *out++ = char16_t(kReservedBase + p[i]);
            } else {
                *out++ = c;
            }
            p += 3;
            break;
        }
        case 4: {
            const char32_t cp = char32_t(b & 0x07) << 18 | char32_t(p[1] & 0x3F) << 12 |
                                char32_t(p[2] & 0x3F) << 6 | char32_t(p[3] & 0x3F);
            *out++ = QChar::highSurrogate(cp);
            *out++ = QChar::lowSurrogate(cp);
            p += 4;
            break;
        }
        default: // not UTF-8: the byte alone
            *out++ = char16_t(kReservedBase + b);
            ++p;
        }
    }
    text.truncate(out - begin);
    return text;
}

QByteArray encodeUtf8(QStringView text, LineEnding ending, bool bom) {
    const QByteArrayView lineEnding = ending == LineEnding::CrLf ? "\r\n"
                                      : ending == LineEnding::Lf ? "\n"
                                                                 : "\r";
    // Three bytes per code unit hold everything but character references,
    // which make room for themselves.
    QByteArray bytes(kBomSize + text.size() * 3, Qt::Uninitialized);
    adviseHugePages(bytes.data(), bytes.size());
    char* base = bytes.data();
    char* out = base;
    if (bom) {
        std::memcpy(out, kBom, kBomSize);
        out += kBomSize;
    }
    const char16_t* p = text.utf16();
    const char16_t* const end = p + text.size();

    while (p < end) {
        // Runs of ASCII, eight code units at a time.
        while (end - p >= 8) {
            std::uint64_t w1, w2;
            std::memcpy(&w1, p, 8);
            std::memcpy(&w2, p + 4, 8);
            if (((w1 | w2) & 0xFF80FF80FF80FF80ull) || hasByte(w1, '\n') || hasByte(w2, '\n'))
                break;
            for (int i = 0; i < 8; ++i)
                out[i] = char(p[i]);
            p += 8;
            out += 8;
        }
        if (p == end)
            break;
        const char16_t c = *p++;
        if (c == u'\n' || c == 0x2028 || c == 0x2029) {
            std::memcpy(out, lineEnding.data(), std::size_t(lineEnding.size()));
            out += lineEnding.size();
        } else if (c < 0x80) {
            *out++ = char(c);
        } else if (c >= kReservedBase && c <= kReservedLast) {
            *out++ = char(c - kReservedBase);
        } else if (c < 0x800) {
            *out++ = char(0xC0 | c >> 6);
            *out++ = char(0x80 | (c & 0x3F));
        } else if (!QChar::isSurrogate(c)) {
            *out++ = char(0xE0 | c >> 12);
            *out++ = char(0x80 | (c >> 6 & 0x3F));
            *out++ = char(0x80 | (c & 0x3F));
        } else if (QChar::isHighSurrogate(c) && p < end && QChar::isLowSurrogate(*p)) {
            const char32_t cp = QChar::surrogateToUcs4(c, *p++);
            *out++ = char(0xF0 | cp >> 18);
            *out++ = char(0x80 | (cp >> 12 & 0x3F));
            *out++ = char(0x80 | (cp >> 6 & 0x3F));
            *out++ = char(0x80 | (cp & 0x3F));
        } else {
            // A lone surrogate: no UTF-8 can hold it.
            const qsizetype written = out - base;
            const qsizetype needed = written + referenceLength(c) + 3 * (end - p);
            if (needed > bytes.size()) {
                bytes.resize(std::max(needed, bytes.size() + bytes.size() / 2));
                base = bytes.data();
                out = base + written;
            }
            out = writeReference(out, c);
        }
    }
    bytes.truncate(out - base);
    return bytes;
}

} // namespace

PageFormat detectPage(QByteArrayView bytes) {
    PageFormat format;
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
    const auto* const end = p + bytes.size();
    ByteScan scan;
    if (bytes.startsWith(QByteArrayView(kBom, kBomSize))) {
        format.encoding = PageEncoding::Utf8;
        format.bom = true;
        scan = scanBytes(p + kBomSize, end, false);
    } else {
        const bool declared = declaresUtf8(bytes.first(std::min(bytes.size(), kDeclarationWindow)));
        scan = scanBytes(p, end, !declared);
        if (declared || (scan.validUtf8 && scan.multiByte))
            format.encoding = PageEncoding::Utf8;
    }
    format.lineEnding = lineEndingOf(scan);
    return format;
}

DecodedPage decodePage(QByteArrayView bytes) {
    DecodedPage page;
    page.format = detectPage(bytes);
    const QByteArrayView body = page.format.bom ? bytes.sliced(kBomSize) : bytes;
    const bool crBreaks = page.format.lineEnding == LineEnding::Cr;
    if (page.format.encoding == PageEncoding::Utf8)
        page.text = crBreaks ? decodeUtf8<true>(body) : decodeUtf8<false>(body);
    else
        page.text = sjis::decodeLines(body, page.format.lineEnding, &page.format.codeChoices);
    return page;
}

QByteArray encodePage(QStringView text, const PageFormat& format) {
    if (format.encoding == PageEncoding::Utf8)
        return encodeUtf8(text, format.lineEnding, format.bom);
    return sjis::encodeLines(text, format.lineEnding, format.codeChoices);
}

} // namespace pagecodec
