#include "platform/SjisCodec.h"

#include <QStringDecoder>
#include <QStringEncoder>
#include <QtGlobal>

#include <algorithm>
#include <cstdint>
#include <cstring>

// The tables are built once, on first use, from the system's ICU converter
// "windows-31j" (the same mapping Windows uses for code page 932). The loops
// below then run on the tables alone: ICU stops at the first byte it cannot
// map and would not give the bytes back.

namespace sjis {
namespace {

constexpr char16_t kLeadMark = 0xFFFF;    // singleByte: the byte starts a double-byte character
constexpr std::uint16_t kNoCode = 0xFFFF; // toCp932: CP932 cannot hold the character
constexpr char16_t kReservedBase = 0xF700;

constexpr std::uint64_t kOnes = 0x0101010101010101ull;
constexpr std::uint64_t kHighBits = 0x8080808080808080ull;

bool isLeadByte(int b) {
    return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}
bool isTrailByte(int b) {
    return b >= 0x40 && b <= 0xFC && b != 0x7F;
}

// True when one of the eight bytes of w equals b.
inline bool hasByte(std::uint64_t w, unsigned char b) {
    const std::uint64_t x = w ^ (kOnes * b);
    return ((x - kOnes) & ~x & kHighBits) != 0;
}

struct Tables {
    // A byte on its own: the character, the reserved code point of an invalid
    // byte, or kLeadMark.
    char16_t singleByte[256];
    // [lead & 0x7F][trail] -> character; 0 where the pair is not assigned.
    char16_t doubleByte[128][256];
    // UTF-16 code unit -> CP932 code (one byte when <= 0xFF), or kNoCode.
    std::uint16_t toCp932[65536];

    Tables();
    void buildDoubleBytes();
    void buildPreferredCodes(const QString& duplicated);
};

Tables::Tables() {
    std::fill(std::begin(toCp932), std::end(toCp932), kNoCode);
    for (int b = 0; b < 256; ++b) {
        if (b < 0x80)
            singleByte[b] = char16_t(b);
        else if (b >= 0xA1 && b <= 0xDF) // half-width katakana
            singleByte[b] = char16_t(0xFF61 + (b - 0xA1));
        else if (isLeadByte(b))
            singleByte[b] = kLeadMark;
        else // 0x80, 0xA0, 0xFD-0xFF: no character in CP932
            singleByte[b] = char16_t(kReservedBase + b);
        if (singleByte[b] != kLeadMark)
            toCp932[singleByte[b]] = std::uint16_t(b);
        // Every reserved code point is written back as its byte, so that an
        // invalid byte inside a double-byte character survives as well.
        toCp932[kReservedBase + b] = std::uint16_t(b);
    }
    std::memset(doubleByte, 0, sizeof doubleByte);
    buildDoubleBytes();
}

void Tables::buildDoubleBytes() {
    QStringDecoder decoder("windows-31j", QStringConverter::Flag::Stateless);
    if (!decoder.isValid()) {
        qCritical("sjis: no CP932 converter in this Qt build; double-byte characters are kept as bytes");
        return;
    }
    // All lead/trail pairs in one call, each followed by a line feed (which no
    // lead or trail byte equals), so the result splits into one piece per pair.
    QByteArray pairs;
    pairs.reserve(60 * 189 * 3);
    for (int lead = 0x81; lead <= 0xFC; ++lead) {
        if (!isLeadByte(lead))
            continue;
        for (int trail = 0x40; trail <= 0xFC; ++trail) {
            if (!isTrailByte(trail))
                continue;
            pairs.append(char(lead)).append(char(trail)).append('\n');
        }
    }
    const QString decoded = decoder.decode(pairs);
    QString duplicated;
    qsizetype pos = 0;
    for (qsizetype i = 0; i < pairs.size(); i += 3) {
        const qsizetype lineEnd = decoded.indexOf(u'\n', pos);
        if (lineEnd < 0) {
            qCritical("sjis: unexpected result from the CP932 converter");
            return;
        }
        const QStringView piece = QStringView(decoded).mid(pos, lineEnd - pos);
        pos = lineEnd + 1;
        // ICU stands in U+FFFD or U+001A for a pair it cannot map; no
        // assigned pair maps to either, nor into the single-byte repertoire.
        if (piece.size() != 1)
            continue;
        const char16_t c = piece.front().unicode();
        if (c == 0xFFFD || c == 0x1A || c < 0x80)
            continue;
        const auto lead = std::uint8_t(pairs[i]);
        const auto trail = std::uint8_t(pairs[i + 1]);
        doubleByte[lead & 0x7F][trail] = c;
        if (toCp932[c] == kNoCode)
            toCp932[c] = std::uint16_t(lead << 8 | trail);
        else if (!duplicated.contains(QChar(c)))
            duplicated.append(QChar(c));
    }
    buildPreferredCodes(duplicated);
}

// A character with more than one code (NEC and IBM extensions) is written in
// the code Windows writes; ICU's encoder knows which one that is.
void Tables::buildPreferredCodes(const QString& duplicated) {
    QStringEncoder encoder("windows-31j", QStringConverter::Flag::Stateless);
    if (!encoder.isValid() || duplicated.isEmpty())
        return;
    QString query;
    for (QChar c : duplicated)
        query.append(c).append(u'\n');
    const QByteArray codes = encoder.encode(query);
    qsizetype pos = 0;
    for (QChar c : duplicated) {
        const qsizetype lineEnd = codes.indexOf('\n', pos);
        if (lineEnd < 0)
            return;
        if (lineEnd - pos == 2) {
            const auto lead = std::uint8_t(codes[pos]);
            const auto trail = std::uint8_t(codes[pos + 1]);
            if (isLeadByte(lead) && doubleByte[lead & 0x7F][trail] == c.unicode())
                toCp932[c.unicode()] = std::uint16_t(lead << 8 | trail);
        }
        pos = lineEnd + 1;
    }
}

const Tables& tables() {
    static const Tables instance;
    return instance;
}

int hexDigits(char32_t cp) {
    int digits = 1;
    while (cp >>= 4)
        ++digits;
    return digits;
}

// "&#xHHHH;" with upper-case hex and as many digits as the code point needs.
qsizetype referenceLength(char32_t cp) {
    return 4 + hexDigits(cp);
}

char* writeReference(char* out, char32_t cp) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    *out++ = '&';
    *out++ = '#';
    *out++ = 'x';
    for (int shift = (hexDigits(cp) - 1) * 4; shift >= 0; shift -= 4)
        *out++ = kHex[(cp >> shift) & 0xF];
    *out++ = ';';
    return out;
}

// The code point starting at p (a whole surrogate pair, or a lone surrogate
// on its own), advancing p past it.
char32_t takeCodePoint(const char16_t*& p, const char16_t* end) {
    const char16_t c = *p++;
    if (QChar::isHighSurrogate(c) && p < end && QChar::isLowSurrogate(*p))
        return QChar::surrogateToUcs4(c, *p++);
    return c;
}

// Bytes the character at p takes when written with CR LF line breaks;
// advances p past it.
qsizetype takeCharLength(const Tables& t, const char16_t*& p, const char16_t* end) {
    const char16_t c = *p;
    if (c < 0x80) {
        ++p;
        return c == u'\n' ? 2 : 1;
    }
    const std::uint16_t code = t.toCp932[c];
    if (code != kNoCode) {
        ++p;
        return code <= 0xFF ? 1 : 2;
    }
    return referenceLength(takeCodePoint(p, end));
}

} // namespace

QString decode(QByteArrayView bytes, LineBreaks lineBreaks) {
    const Tables& t = tables();
    const bool crlf = lineBreaks == LineBreaks::CrLf;
    QString text(bytes.size(), Qt::Uninitialized);
    char16_t* const begin = reinterpret_cast<char16_t*>(text.data());
    char16_t* out = begin;
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
    const auto* const end = p + bytes.size();

    while (p < end) {
        // Runs of ASCII, eight bytes at a time.
        while (end - p >= 8) {
            std::uint64_t w;
            std::memcpy(&w, p, 8);
            if ((w & kHighBits) || (crlf && hasByte(w, '\r')))
                break;
            for (int i = 0; i < 8; ++i)
                out[i] = p[i];
            p += 8;
            out += 8;
        }
        while (p < end && *p < 0x80) {
            if (*p == '\r' && crlf) {
                *out++ = u'\n';
                ++p;
                if (p < end && *p == '\n')
                    ++p;
            } else {
                *out++ = *p++;
            }
        }
        // Runs of anything else.
        while (p < end && *p >= 0x80) {
            const unsigned char b = *p;
            const char16_t single = t.singleByte[b];
            if (single != kLeadMark) {
                *out++ = single;
                ++p;
                continue;
            }
            if (end - p >= 2) {
                const char16_t c = t.doubleByte[b & 0x7F][p[1]];
                if (c) {
                    *out++ = c;
                    p += 2;
                    continue;
                }
            }
            // An unassigned pair or a lone lead byte. As in the WHATWG
            // decoder, an ASCII byte after the lead stands for itself, any
            // other byte goes with the lead.
            *out++ = char16_t(kReservedBase + b);
            ++p;
            if (p < end && *p >= 0x80)
                *out++ = char16_t(kReservedBase + *p++);
        }
    }
    text.truncate(out - begin);
    return text;
}

QByteArray encode(QStringView text, LineBreaks lineBreaks) {
    const Tables& t = tables();
    const bool crlf = lineBreaks == LineBreaks::CrLf;
    // Two bytes per code unit hold everything but character references, which
    // make room for themselves.
    QByteArray bytes(text.size() * 2, Qt::Uninitialized);
    char* base = bytes.data();
    char* out = base;
    const char16_t* p = text.utf16();
    const char16_t* const end = p + text.size();

    while (p < end) {
        // Runs of ASCII, eight code units at a time.
        while (end - p >= 8) {
            std::uint64_t w1, w2;
            std::memcpy(&w1, p, 8);
            std::memcpy(&w2, p + 4, 8);
            if (((w1 | w2) & 0xFF80FF80FF80FF80ull) || (crlf && (hasByte(w1, '\n') || hasByte(w2, '\n'))))
                break;
            for (int i = 0; i < 8; ++i)
                out[i] = char(p[i]);
            p += 8;
            out += 8;
        }
        const qsizetype runEnd = std::min<qsizetype>(end - p, 8);
        for (const char16_t* const stop = p + runEnd; p < stop;) {
            const char16_t c = *p;
            if (c == u'\n' && crlf) {
                *out++ = '\r';
                *out++ = '\n';
                ++p;
                continue;
            }
            const std::uint16_t code = t.toCp932[c];
            if (code <= 0xFF) {
                *out++ = char(code);
                ++p;
            } else if (code != kNoCode) {
                *out++ = char(code >> 8);
                *out++ = char(code & 0xFF);
                ++p;
            } else {
                const char32_t cp = takeCodePoint(p, end);
                const qsizetype written = out - base;
                const qsizetype needed = written + referenceLength(cp) + 2 * (end - p);
                if (needed > bytes.size()) {
                    bytes.resize(std::max(needed, bytes.size() + bytes.size() / 2));
                    base = bytes.data();
                    out = base + written;
                }
                out = writeReference(out, cp);
            }
        }
    }
    bytes.truncate(out - base);
    return bytes;
}

qsizetype byteLength(QStringView text) {
    const Tables& t = tables();
    qsizetype length = 0;
    const char16_t* p = text.utf16();
    const char16_t* const end = p + text.size();
    while (p < end)
        length += takeCharLength(t, p, end);
    return length;
}

QString truncateToBytes(QStringView text, qsizetype maxBytes) {
    const Tables& t = tables();
    qsizetype length = 0;
    const char16_t* const begin = text.utf16();
    const char16_t* p = begin;
    const char16_t* const end = p + text.size();
    while (p < end) {
        const char16_t* next = p;
        length += takeCharLength(t, next, end);
        if (length > maxBytes)
            break;
        p = next;
    }
    return text.first(p - begin).toString();
}

} // namespace sjis
