#include "platform/PageCodec.h"

#include "platform/CodecBits.h"
#include "platform/PageDeclaration.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace pagecodec {
namespace {

using namespace codecbits;

// How far from the start a declaration of the page's encoding is looked for.
constexpr qsizetype kDeclarationWindow = 16 * 1024;

constexpr char kBom[] = "\xEF\xBB\xBF";
constexpr qsizetype kBomSize = 3;

// ---- Bytes ----

// Characters that an editor holding the text takes for a line or paragraph
// break (and writes back as the page's line ending): the line and paragraph
// separators and the two that mark a frame in a text document. A page that
// holds one keeps it as its bytes.
constexpr bool takenForBreak(char16_t c) {
    return c == 0x2028 || c == 0x2029 || c == 0xFDD0 || c == 0xFDD1;
}

// The length of the well-formed UTF-8 sequence at p (*p >= 0x80), or 0: no
// overlong forms, no surrogates, nothing above U+10FFFF. Three-byte sequences
// (kana and kanji) first.
inline int utf8Length(const unsigned char* p, const unsigned char* end) {
    const unsigned b = p[0];
    if ((b & 0xF0) == 0xE0) {
        if (end - p < 3 || (p[2] & 0xC0) != 0x80)
            return 0;
        const unsigned low = b == 0xE0 ? 0xA0 : 0x80, high = b == 0xED ? 0x9F : 0xBF;
        return p[1] >= low && p[1] <= high ? 3 : 0;
    }
    if (b >= 0xC2 && b < 0xE0)
        return end - p >= 2 && (p[1] & 0xC0) == 0x80 ? 2 : 0;
    if (b >= 0xF0 && b < 0xF5) {
        if (end - p < 4 || (p[2] & 0xC0) != 0x80 || (p[3] & 0xC0) != 0x80)
            return 0;
        const unsigned low = b == 0xF0 ? 0x90 : 0x80, high = b == 0xF4 ? 0x8F : 0xBF;
        return p[1] >= low && p[1] <= high ? 4 : 0;
    }
    return 0;
}

// The first byte from p on that is a CR, an LF or (with HighBytes) above
// 0x7F; or a byte near the end, from where the caller goes on byte by byte.
template <bool HighBytes>
inline const unsigned char* skipQuiet(const unsigned char* p, const unsigned char* end) {
#if defined(__SSE2__)
    const __m128i cr = _mm_set1_epi8('\r');
    const __m128i lf = _mm_set1_epi8('\n');
    while (end - p >= 16) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
        int mask = _mm_movemask_epi8(_mm_or_si128(_mm_cmpeq_epi8(v, cr), _mm_cmpeq_epi8(v, lf)));
        if (HighBytes)
            mask |= _mm_movemask_epi8(v);
        if (mask)
            return p + std::countr_zero(unsigned(mask));
        p += 16;
    }
#else
    while (end - p >= 8) {
        std::uint64_t w;
        std::memcpy(&w, p, 8);
        if ((HighBytes && (w & kHighBits)) || hasByte(w, '\r') || hasByte(w, '\n'))
            break;
        p += 8;
    }
#endif
    return p;
}

struct ByteScan {
    bool validUtf8 = false; // known only when asked for
    bool multiByte = false;
    bool crLf = false;
    bool loneLf = false;
    bool loneCr = false;
};

// Notes the byte at p, a line break or not, and steps past it (and past the
// LF of a CR LF).
inline void noteByte(ByteScan& scan, const unsigned char*& p, const unsigned char* end) {
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

// The line breaks from p on. A page that has both CR LF and LF lines has told
// all there is.
void scanLineBreaks(ByteScan& scan, const unsigned char* p, const unsigned char* const end) {
    while (p < end && !(scan.crLf && scan.loneLf)) {
        p = skipQuiet<false>(p, end);
        if (p < end)
            noteByte(scan, p, end);
    }
}

// One pass over the bytes: their line breaks and whether they are valid UTF-8
// with at least one multi-byte character.
ByteScan scanBytes(const unsigned char* p, const unsigned char* const end) {
    ByteScan scan;
    while (p < end) {
        p = skipQuiet<true>(p, end);
        if (p == end)
            break;
        if (*p < 0x80) {
            noteByte(scan, p, end);
            continue;
        }
        // A run of multi-byte characters.
        do {
            const int length = utf8Length(p, end);
            if (!length) {
                scanLineBreaks(scan, p, end);
                return scan;
            }
            p += length;
        } while (p < end && *p >= 0x80);
        scan.multiByte = true;
    }
    scan.validUtf8 = true;
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

// Decodes UTF-8 into text. Strict: gives up (false) at the first byte that
// is no UTF-8; otherwise such a byte is held as its reserved code point.
// multiByte tells whether there was any character beyond ASCII.
template <bool CrBreaks, bool Strict> bool decodeUtf8(QByteArrayView bytes, QString& text, bool& multiByte) {
    // Each byte gives at most one code unit (a four-byte sequence two).
    text = QString(bytes.size(), Qt::Uninitialized);
    adviseHugePages(text.data(), text.size() * 2);
    char16_t* const begin = reinterpret_cast<char16_t*>(text.data());
    char16_t* out = begin;
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
    const auto* const end = p + bytes.size();
    bool multi = false;

    while (p < end) {
        // Runs of ASCII up to a CR.
#if defined(__SSE2__)
        const __m128i zero = _mm_setzero_si128();
        const __m128i cr = _mm_set1_epi8('\r');
        while (end - p >= 16) {
            // Sixteen bytes are widened and stored whole (there is room: the
            // text has as many units as there are bytes left), and the
            // output goes on by the ASCII ones.
            const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
            _mm_storeu_si128(reinterpret_cast<__m128i*>(out), _mm_unpacklo_epi8(v, zero));
            _mm_storeu_si128(reinterpret_cast<__m128i*>(out + 8), _mm_unpackhi_epi8(v, zero));
            const int mask = _mm_movemask_epi8(v) | _mm_movemask_epi8(_mm_cmpeq_epi8(v, cr));
            if (mask) {
                const int ascii = std::countr_zero(unsigned(mask));
                p += ascii;
                out += ascii;
                break;
            }
            p += 16;
            out += 16;
        }
#else
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
#endif
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
        // Runs of three-byte characters: kana, kanji and most other scripts.
        while (end - p >= 3 && (p[0] & 0xF0) == 0xE0 && (p[1] & 0xC0) == 0x80 && (p[2] & 0xC0) == 0x80) {
            const unsigned c = (p[0] & 0x0Fu) << 12 | (p[1] & 0x3Fu) << 6 | (p[2] & 0x3Fu);
            // Overlong forms, surrogates, the reserved range and the
            // characters an editor takes for a break go the long way.
            if (c < 0x800 || (c >= 0xD800 && c < 0xE000) || (c >= kReservedBase && c <= kReservedLast) ||
                takenForBreak(char16_t(c)))
                break;
            *out++ = char16_t(c);
            p += 3;
            multi = true;
        }
        if (p == end || *p < 0x80)
            continue;
        const unsigned lead = *p;
        switch (utf8Length(p, end)) {
        case 2:
            *out++ = char16_t((lead & 0x1F) << 6 | (p[1] & 0x3F));
            p += 2;
            multi = true;
            break;
        case 3:
            // Only a character of the range that stands for stray bytes, or
            // one an editor would take for a break, gets here: it is held as
            // its three bytes, so that it is written back as it was.
            for (int i = 0; i < 3; ++i)
                *out++ = char16_t(kReservedBase + p[i]);
            p += 3;
            multi = true;
            break;
        case 4: {
            const char32_t cp = char32_t(lead & 0x07) << 18 | char32_t(p[1] & 0x3F) << 12 |
                                char32_t(p[2] & 0x3F) << 6 | char32_t(p[3] & 0x3F);
            *out++ = QChar::highSurrogate(cp);
            *out++ = QChar::lowSurrogate(cp);
            p += 4;
            multi = true;
            break;
        }
        default: // not UTF-8: the byte alone
            if (Strict)
                return false;
            *out++ = char16_t(kReservedBase + lead);
            ++p;
        }
    }
    text.truncate(out - begin);
    multiByte = multi;
    return true;
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
        // Runs of ASCII up to a line break.
#if defined(__SSE2__)
        const __m128i lf = _mm_set1_epi8('\n');
        const __m128i zero = _mm_setzero_si128();
        const __m128i notAscii = _mm_set1_epi16(short(0xFF80));
        while (end - p >= 16) {
            // Sixteen units narrowed and stored whole; the output goes on by
            // the ASCII ones.
            const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
            const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 8));
            const __m128i v = _mm_packus_epi16(a, b);
            _mm_storeu_si128(reinterpret_cast<__m128i*>(out), v);
            const __m128i ascii = _mm_packs_epi16(_mm_cmpeq_epi16(_mm_and_si128(a, notAscii), zero),
                                                  _mm_cmpeq_epi16(_mm_and_si128(b, notAscii), zero));
            const int mask = (~_mm_movemask_epi8(ascii) & 0xFFFF) | _mm_movemask_epi8(_mm_cmpeq_epi8(v, lf));
            if (mask) {
                const int ascii = std::countr_zero(unsigned(mask));
                p += ascii;
                out += ascii;
                break;
            }
            p += 16;
            out += 16;
        }
#else
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
#endif
        // Runs of three-byte characters: kana, kanji and most other scripts.
        while (p < end && *p >= 0x800 && !QChar::isSurrogate(*p) &&
               (*p < kReservedBase || *p > kReservedLast) && *p != 0x2028 && *p != 0x2029) {
            const char16_t c = *p++;
            out[0] = char(0xE0 | c >> 12);
            out[1] = char(0x80 | (c >> 6 & 0x3F));
            out[2] = char(0x80 | (c & 0x3F));
            out += 3;
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
        scanLineBreaks(scan, p + kBomSize, end);
    } else if (declaresUtf8(bytes.first(std::min(bytes.size(), kDeclarationWindow)))) {
        format.encoding = PageEncoding::Utf8;
        scanLineBreaks(scan, p, end);
    } else {
        scan = scanBytes(p, end);
        if (scan.validUtf8 && scan.multiByte)
            format.encoding = PageEncoding::Utf8;
    }
    format.lineEnding = lineEndingOf(scan);
    return format;
}

DecodedPage decodePage(QByteArrayView bytes) {
    // The line breaks first, then the encoding is decided while decoding: a
    // UTF-8 page is decoded as UTF-8 and found valid in the same pass, any
    // other page gives up at its first byte that is no UTF-8.
    DecodedPage page;
    PageFormat& format = page.format;
    format.bom = bytes.startsWith(QByteArrayView(kBom, kBomSize));
    const QByteArrayView body = format.bom ? bytes.sliced(kBomSize) : bytes;
    ByteScan scan;
    const auto* p = reinterpret_cast<const unsigned char*>(body.data());
    scanLineBreaks(scan, p, p + body.size());
    format.lineEnding = lineEndingOf(scan);
    const bool crBreaks = format.lineEnding == LineEnding::Cr;

    bool multiByte = false;
    if (format.bom || declaresUtf8(bytes.first(std::min(bytes.size(), kDeclarationWindow)))) {
        format.encoding = PageEncoding::Utf8;
        if (crBreaks)
            decodeUtf8<true, false>(body, page.text, multiByte);
        else
            decodeUtf8<false, false>(body, page.text, multiByte);
        return page;
    }
    const bool utf8 = crBreaks ? decodeUtf8<true, true>(body, page.text, multiByte)
                               : decodeUtf8<false, true>(body, page.text, multiByte);
    if (utf8) {
        // Pure ASCII stays CP932, which reads it as the same text.
        format.encoding = multiByte ? PageEncoding::Utf8 : PageEncoding::Cp932;
        return page;
    }
    format.encoding = PageEncoding::Cp932;
    page.text = sjis::decodeLines(body, format.lineEnding, &format.codeChoices);
    return page;
}

QByteArray encodePage(QStringView text, const PageFormat& format) {
    if (format.encoding == PageEncoding::Utf8)
        return encodeUtf8(text, format.lineEnding, format.bom);
    return sjis::encodeLines(text, format.lineEnding, format.codeChoices);
}

} // namespace pagecodec
