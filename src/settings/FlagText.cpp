#include "settings/FlagText.h"

// Every valid flag character is ASCII; Latin-1 keeps the one-byte-per-character
// mapping until the CP932 codec takes over here.
QByteArray flagBytesFromText(const QString& text) {
    return text.toLatin1();
}

QString flagTextFromBytes(const char* flags, qsizetype maxLength) {
    qsizetype length = 0;
    while (length < maxLength && flags[length] != '\0')
        ++length;
    return QString::fromLatin1(flags, length);
}

void copyFlagText(const QString& text, char* flags, qsizetype maxLength) {
    const QByteArray bytes = flagBytesFromText(text);
    qsizetype i = 0;
    for (; i < maxLength && i < bytes.size() && bytes[i] != '\0'; ++i)
        flags[i] = bytes[i];
    for (; i < maxLength; ++i)
        flags[i] = '\0';
}
