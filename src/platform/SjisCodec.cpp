#include "platform/SjisCodec.h"

#include <QStringDecoder>
#include <QStringEncoder>
#include <QtGlobal>

#include <algorithm>
#include <cstdint>
#include <cstring>

#if defined(Q_OS_LINUX)
#include <sys/mman.h>
#endif

// The tables are built once, on first use, from the system's ICU converter
// "windows-31j" (the same mapping Windows uses for code page 932). The loops
// below then run on the tables alone: ICU replaces a byte it cannot map and
// drops a lone lead byte at the end, so it could not give the bytes back.

namespace sjis {
namespace {

constexpr char16_t kLeadMark = 0xFFFF;        // singleByte: the byte starts a double-byte character
constexpr std::uint32_t kNoCode = 0xFFFFFFFF; // toCp932: CP932 cannot hold the character
constexpr char16_t kReservedBase = 0xF700;
constexpr std::uint32_t kMissingBit = 0x80000000;

// An entry of toCp932: the bytes in memory order, and their count above them.
constexpr std::uint32_t oneByte(int b) {
    return std::uint32_t(b) | 1u << 16;
}
constexpr std::uint32_t bytePair(int first, int second) {
    return std::uint32_t(first | second << 8) | 2u << 16;
}
constexpr std::uint32_t kCrLfPair = bytePair('\r', '\n');
constexpr std::uint32_t kLineFeed = oneByte('\n');

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
    // [(lead << 8 | trail) - 0x8000] -> character; 0 where the pair is not
    // assigned, and for every first byte that cannot lead.
    char16_t doubleByte[0x8000];
    // UTF-16 code unit -> oneByte() or bytePair() of its CP932 code, or kNoCode.
    std::uint32_t toCp932[65536];

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
            toCp932[singleByte[b]] = oneByte(b);
        // Any byte, a lead byte included, may turn up alone and be held as its
        // reserved code point, which is written back as that byte.
        toCp932[kReservedBase + b] = oneByte(b);
    }
    // Text is written with CR LF line breaks far more often than without.
    toCp932[u'\n'] = kCrLfPair;
    // The editor's own paragraph and line separators are line breaks too.
    toCp932[0x2029] = kCrLfPair;
    toCp932[0x2028] = kCrLfPair;
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
        doubleByte[(lead << 8 | trail) - 0x8000] = c;
        if (toCp932[c] == kNoCode)
            toCp932[c] = bytePair(lead, trail);
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
            if (isLeadByte(lead) && doubleByte[(lead << 8 | trail) - 0x8000] == c.unicode())
                toCp932[c.unicode()] = bytePair(lead, trail);
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
    const std::uint32_t code = t.toCp932[*p];
    if (code != kNoCode) {
        ++p;
        return code >> 16;
    }
    return referenceLength(takeCodePoint(p, end));
}

// A result of several megabytes is written into fresh memory. On Linux each
// 4 KiB page costs a page fault on first touch, which on some machines takes
// longer than converting the text; transparent huge pages cut that 512-fold.
void adviseHugePages(void* data, qsizetype size) {
#if defined(Q_OS_LINUX) && defined(MADV_HUGEPAGE)
    constexpr qsizetype kWorthIt = 4 << 20;
    constexpr std::uintptr_t kPage = 4096;
    if (size < kWorthIt)
        return;
    const std::uintptr_t first = (std::uintptr_t(data) + kPage - 1) & ~(kPage - 1);
    const std::uintptr_t last = (std::uintptr_t(data) + std::uintptr_t(size)) & ~(kPage - 1);
    if (last > first)
        madvise(reinterpret_cast<void*>(first), last - first, MADV_HUGEPAGE); // only advice
#else
    Q_UNUSED(data);
    Q_UNUSED(size);
#endif
}

template <bool CrLf> QString decodeText(QByteArrayView bytes) {
    const Tables& t = tables();
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
            if ((w & kHighBits) || (CrLf && hasByte(w, '\r')))
                break;
            for (int i = 0; i < 8; ++i)
                out[i] = p[i];
            p += 8;
            out += 8;
        }
        while (p < end && *p < 0x80) {
            if (CrLf && *p == '\r') {
                *out++ = u'\n';
                ++p;
                if (p < end && *p == '\n')
                    ++p;
            } else {
                *out++ = *p++;
            }
        }
        // Runs of anything else. A byte that cannot lead has an empty row in
        // doubleByte, so one look-up of the two bytes decides the common case.
        while (end - p >= 2 && *p >= 0x80) {
            std::uint16_t twoBytes;
            std::memcpy(&twoBytes, p, 2);
            const char16_t c = t.doubleByte[std::uint16_t(twoBytes << 8 | twoBytes >> 8) - 0x8000];
            if (c) {
                *out++ = c;
                p += 2;
                continue;
            }
            const char16_t single = t.singleByte[*p];
            if (single != kLeadMark) {
                *out++ = single;
                ++p;
                continue;
            }
            // An unassigned pair. As in the WHATWG decoder, an ASCII byte
            // after the lead stands for itself, any other byte goes with it.
            *out++ = char16_t(kReservedBase + *p++);
            if (*p >= 0x80)
                *out++ = char16_t(kReservedBase + *p++);
        }
        if (end - p == 1 && *p >= 0x80) {
            const char16_t single = t.singleByte[*p];
            *out++ = single != kLeadMark ? single : char16_t(kReservedBase + *p); // a lone lead byte
            ++p;
        }
    }
    text.truncate(out - begin);
    return text;
}

template <bool CrLf> QByteArray encodeText(QStringView text) {
    const Tables& t = tables();
    // Two bytes per code unit hold everything but character references, which
    // make room for themselves. So a byte pair can always be stored whole and
    // the output advanced by its real length.
    QByteArray bytes(text.size() * 2, Qt::Uninitialized);
    adviseHugePages(bytes.data(), bytes.size());
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
            if (((w1 | w2) & 0xFF80FF80FF80FF80ull) || (CrLf && (hasByte(w1, '\n') || hasByte(w2, '\n'))))
                break;
            for (int i = 0; i < 8; ++i)
                out[i] = char(p[i]);
            p += 8;
            out += 8;
        }
        // Anything else, four units at a time while all four have a code, for
        // up to sixteen units before trying ASCII again.
        for (int round = 0; round < 4 && end - p >= 4; ++round) {
            std::uint32_t codes[4];
            std::uint32_t any = 0;
            for (int i = 0; i < 4; ++i) {
                codes[i] = !CrLf && p[i] == u'\n' ? kLineFeed : t.toCp932[p[i]];
                any |= codes[i];
            }
            if (any & kMissingBit)
                break;
            for (std::uint32_t code : codes) {
                std::memcpy(out, &code, 2);
                out += code >> 16;
            }
            p += 4;
        }
        // One unit on its own: a character reference, or one near the end.
        if (p == end)
            break;
        const std::uint32_t code = !CrLf && *p == u'\n' ? kLineFeed : t.toCp932[*p];
        if (code != kNoCode) {
            std::memcpy(out, &code, 2);
            out += code >> 16;
            ++p;
            continue;
        }
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
    bytes.truncate(out - base);
    return bytes;
}

} // namespace

QString decode(QByteArrayView bytes, LineBreaks lineBreaks) {
    return lineBreaks == LineBreaks::CrLf ? decodeText<true>(bytes) : decodeText<false>(bytes);
}

QByteArray encode(QStringView text, LineBreaks lineBreaks) {
    return lineBreaks == LineBreaks::CrLf ? encodeText<true>(text) : encodeText<false>(text);
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
