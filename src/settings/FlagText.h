#pragma once
// Flag strings are one-byte characters in memory and text in the settings
// store and the tag information file. These two functions are the only
// crossing between the two forms.

#include <QByteArray>
#include <QString>

// The bytes of a stored flag text, as the program's code page writes them.
QByteArray flagBytesFromText(const QString& text);

// The stored text of a flag buffer: its characters up to the first NUL, at
// most maxLength of them.
QString flagTextFromBytes(const char* flags, qsizetype maxLength);

// Copies at most maxLength bytes of a stored flag text into flags[0..maxLength)
// and fills the rest of that range with NUL (a NUL in the text ends the copy).
void copyFlagText(const QString& text, char* flags, qsizetype maxLength);
