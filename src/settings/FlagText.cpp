#include "settings/FlagText.h"

#include "platform/SjisCodec.h"

// Flag strings are stored as text; in memory each position is one byte of the
// stored text as the store's code page (CP932) holds it, so a stray full-width
// character takes two positions, both of which the defaults pass replaces.
QByteArray flagBytesFromText(const QString& text) {
    return sjis::encode(text);
}

QString flagTextFromBytes(const char* flags, qsizetype maxLength) {
    qsizetype length = 0;
    while (length < maxLength && flags[length] != '\0')
        ++length;
    return sjis::decode(QByteArrayView(flags, length));
}

void copyFlagText(const QString& text, char* flags, qsizetype maxLength) {
    const QByteArray bytes = flagBytesFromText(text);
    qsizetype i = 0;
    for (; i < maxLength && i < bytes.size() && bytes[i] != '\0'; ++i)
        flags[i] = bytes[i];
    for (; i < maxLength; ++i)
        flags[i] = '\0';
}
