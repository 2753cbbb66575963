#include "document/TagColors.h"

#include "settings/IntText.h"

#include <array>

using namespace Qt::StringLiterals;

namespace {

struct NamedColor {
    QStringView name;
    quint32 rgb;
};

constexpr std::array<NamedColor, 16> basicColors = {{
    {u"clBlack", 0x000000},
    {u"clMaroon", 0x800000},
    {u"clGreen", 0x008000},
    {u"clOlive", 0x808000},
    {u"clNavy", 0x000080},
    {u"clPurple", 0x800080},
    {u"clTeal", 0x008080},
    {u"clGray", 0x808080},
    {u"clSilver", 0xC0C0C0},
    {u"clRed", 0xFF0000},
    {u"clLime", 0x00FF00},
    {u"clYellow", 0xFFFF00},
    {u"clBlue", 0x0000FF},
    {u"clFuchsia", 0xFF00FF},
    {u"clAqua", 0x00FFFF},
    {u"clWhite", 0xFFFFFF},
}};

// Red and blue change places; green stays. The same swap turns 0xRRGGBB
// into 0x00BBGGRR and back.
quint32 swapRedBlue(quint32 color) {
    return ((color & 0xFF) << 16) | (color & 0xFF00) | ((color >> 16) & 0xFF);
}

int hexDigit(QChar c) {
    const char16_t u = c.unicode();
    if (u >= u'0' && u <= u'9')
        return u - u'0';
    if (u >= u'A' && u <= u'F')
        return u - u'A' + 10;
    if (u >= u'a' && u <= u'f')
        return u - u'a' + 10;
    return -1;
}

// Hexadecimal digits only, at least one, the value at most 0xFFFFFF.
std::optional<quint32> colorFromHexDigits(QStringView digits) {
    if (digits.isEmpty())
        return std::nullopt;
    quint32 value = 0;
    for (QChar c : digits) {
        const int digit = hexDigit(c);
        if (digit < 0)
            return std::nullopt;
        value = value * 16 + quint32(digit);
        if (value > TagWhite)
            return std::nullopt;
    }
    return value;
}

} // namespace

QString ColorFieldText(quint32 rgb) {
    return u"#"_s + QString::number(rgb & TagWhite, 16).rightJustified(6, u'0').toUpper();
}

std::optional<quint32> ColorFromFieldText(QStringView text) {
    if (text.size() != 7 || text[0] != u'#')
        return std::nullopt;
    return colorFromHexDigits(text.sliced(1));
}

QString StoredColorText(quint32 rgb) {
    rgb &= TagWhite;
    for (const NamedColor& named : basicColors) {
        if (named.rgb == rgb)
            return named.name.toString();
    }
    return u"$"_s + QString::number(swapRedBlue(rgb), 16).rightJustified(8, u'0').toUpper();
}

std::optional<quint32> ColorFromStoredText(QStringView text) {
    for (const NamedColor& named : basicColors) {
        if (text.compare(named.name, Qt::CaseInsensitive) == 0)
            return named.rgb;
    }
    std::optional<quint32> bgr;
    if (text.startsWith(u'$'))
        bgr = colorFromHexDigits(text.sliced(1));
    else if (text.startsWith(u"0x"_s, Qt::CaseInsensitive))
        bgr = colorFromHexDigits(text.sliced(2));
    else if (const int value = intOr(text.toString(), -1); value >= 0 && quint32(value) <= TagWhite)
        bgr = quint32(value);
    if (!bgr)
        return std::nullopt;
    return swapRedBlue(*bgr);
}

bool ColorFieldAcceptsChar(QStringView fieldText, QChar typed) {
    if (fieldText.isEmpty() || fieldText[0] != u'#')
        return true;
    return typed.unicode() < 0x20 || hexDigit(typed) >= 0;
}

QString WeatherColorTag(quint32 rgb) {
    return uR"(<font color=")"_s + ColorFieldText(rgb) + uR"(">)"_s;
}

const QList<quint32>& TagColorChooserPresets() {
    static const QList<quint32> presets = {0xFFFFCC, 0xFFCCCC, 0xCCFFFF, 0xCCCCFF, 0xFFCCFF, 0xCCFFCC};
    return presets;
}
