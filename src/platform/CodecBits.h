#pragma once
// Pieces the page codecs share: word-at-a-time byte tests, the reserved code
// points of stray bytes, character references and fresh result memory.

#include <QChar>
#include <QtGlobal>

#include <cstdint>

#if defined(Q_OS_LINUX)
#include <sys/mman.h>
#endif

namespace codecbits {

// A byte that is no character of the page's encoding (or a CR that ends no
// line) is held in memory as kReservedBase + byte and written back as that byte.
constexpr char16_t kReservedBase = 0xF700;
constexpr char16_t kReservedLast = kReservedBase + 0xFF;

constexpr std::uint64_t kOnes = 0x0101010101010101ull;
constexpr std::uint64_t kHighBits = 0x8080808080808080ull;

// True when one of the eight bytes of w equals b.
inline bool hasByte(std::uint64_t w, unsigned char b) {
    const std::uint64_t x = w ^ (kOnes * b);
    return ((x - kOnes) & ~x & kHighBits) != 0;
}

inline int hexDigits(char32_t cp) {
    int digits = 1;
    while (cp >>= 4)
        ++digits;
    return digits;
}

// "&#xHHHH;" with upper-case hex and as many digits as the code point needs.
inline qsizetype referenceLength(char32_t cp) {
    return 4 + hexDigits(cp);
}

inline char* writeReference(char* out, char32_t cp) {
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
inline char32_t takeCodePoint(const char16_t*& p, const char16_t* end) {
    const char16_t c = *p++;
    if (QChar::isHighSurrogate(c) && p < end && QChar::isLowSurrogate(*p))
        return QChar::surrogateToUcs4(c, *p++);
    return c;
}

// A result of several megabytes is written into fresh memory. On Linux each
// 4 KiB page costs a page fault on first touch, which on some machines takes
// longer than converting the text; transparent huge pages cut that 512-fold.
inline void adviseHugePages(void* data, qsizetype size) {
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

} // namespace codecbits
