#pragma once
// Numbers kept as text (window geometry, font sizes, counters) are converted
// when used: a text that is not a decimal integer gives the fallback.

#include <QString>
#include <limits>

// The value of text as a decimal integer: leading blanks (spaces or tabs), an
// optional sign and ASCII digits (" 12", "-3", "+7"). Fallback when there are
// no digits, when anything else follows (a trailing blank included) or when
// the value does not fit in 32 bits.
inline int intOr(const QString& text, int fallback) {
    const qsizetype size = text.size();
    qsizetype i = 0;
    while (i < size && (text[i] == u' ' || text[i] == u'\t'))
        ++i;
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

// text with its full-width digits ("０" to "９", which an input method left
// on types) turned into ASCII digits; every other character stays.
inline QString halfWidthDigits(QString text) {
    for (QChar& c : text) {
        if (c.unicode() >= u'\uFF10' && c.unicode() <= u'\uFF19')
            c = QChar(char16_t(u'0' + (c.unicode() - u'\uFF10')));
    }
    return text;
}
