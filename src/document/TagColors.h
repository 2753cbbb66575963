#pragma once
// Colours of the tag builder and their text forms.
//
// Inside the program a colour is a 24-bit value 0xRRGGBB (red in the high
// byte), the order QColor::rgb(), the colour chooser and the "#RRGGBB" field
// form use. The stored colour texts ("$00BBGGRR", "0x…", decimal) are
// integers with red in the LOW byte; StoredColorText() and
// ColorFromStoredText() are the only crossing between the two orders.

#include <QList>
#include <QString>
#include <QStringView>
#include <optional>

inline constexpr quint32 TagBlack = 0x000000;
inline constexpr quint32 TagWhite = 0xFFFFFF;

// "#RRGGBB" in upper-case hexadecimal, the form shown in the colour fields.
QString ColorFieldText(quint32 rgb);

// The colour of a field's text: exactly seven characters, "#" and six
// hexadecimal digits of either case. Anything else (a colour name such as
// "red", a pasted "#12345G") is not a colour.
std::optional<quint32> ColorFromFieldText(QStringView text);

// The stored form: one of the sixteen basic colour names ("clRed") when the
// colour is one of them, otherwise "$" and eight upper-case hexadecimal
// digits of 0x00BBGGRR (#FFFFCC is stored as "$00CCFFFF").
QString StoredColorText(quint32 rgb);

// Reads a stored colour: a basic colour name (any case), "$" or "0x" and
// hexadecimal digits, or a decimal integer, each an integer 0x00BBGGRR.
// Anything else, and a value that is not a 24-bit colour (negative, or
// one of the platform's system colours above 0xFFFFFF), gives nothing.
std::optional<quint32> ColorFromStoredText(QStringView text);

// The key filter of the colour fields: whether `typed`, the character a key
// press would type into a field holding fieldText, is let through. A field
// that begins with "#" takes only hexadecimal digits; any other field (empty,
// or a colour name being typed) takes anything. Control characters
// (backspace, and the editing keys Ctrl+C, Ctrl+V, Ctrl+X …) are not typed
// text and always pass.
bool ColorFieldAcceptsChar(QStringView fieldText, QChar typed);

// The start tag a weather's colour button builds: <font color="#RRGGBB">.
QString WeatherColorTag(quint32 rgb);

// The custom colours every colour chooser of the dialog offers, in order.
const QList<quint32>& TagColorChooserPresets();
