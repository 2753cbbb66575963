#pragma once
// Numbers kept as text (window geometry, font sizes, counters) are converted
// when used: a text that is not a plain decimal integer gives the fallback.

#include <QString>
#include <limits>

// The value of text as a decimal integer with an optional sign ("12", "-3",
// "+7"); fallback when the text is empty, holds anything else (blanks
// included) or does not fit in 32 bits.
inline int intOr(const QString& text, int fallback) {
    const qsizetype size = text.size();
    qsizetype i = 0;
    bool negative = false;
    if (i < size && (text[i] == u'+' || text[i] == u'-')) {
        negative = text[i] == u'-';
        ++i;
    }
    if (i == size)
        return fallback;
    constexpr qint64 limit = qint64(std::numeric_limits<int>::max()) + 1;
    qint64 value = 0;
    for (; i < size; ++i) {
        const char16_t c = text[i].unicode();
        if (c < u'0' || c > u'9')
            return fallback;
        value = value * 10 + (c - u'0');
        if (value > limit)
            return fallback;
    }
    if (negative)
        value = -value;
    if (value > std::numeric_limits<int>::max())
        return fallback;
    return int(value);
}
