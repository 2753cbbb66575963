#pragma once
// The one codec for every file the program reads or writes: Shift_JIS as
// Windows code page 932.
//
// Lossless: any byte sequence decodes and encodes back to the same bytes.
// A byte that is not part of a valid CP932 character is held in memory as a
// reserved code point (U+F700 + byte) and written back as that byte. The only
// exception are CP932's few duplicate codes, which come back in the code
// Windows itself writes.
//
// A character CP932 cannot hold is written as an HTML numeric character
// reference "&#xHHHH;", never dropped.

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

namespace sjis {

enum class LineBreaks {
    AsIs, // bytes and characters map one to one
    CrLf, // decode: CR LF and a lone CR become '\n'; encode: '\n' is written as CR LF
};
// Whatever the mode, the editor's paragraph and line separators (U+2029,
// U+2028) are written as CR LF: they are the line breaks of an editor's raw text.

QString decode(QByteArrayView bytes, LineBreaks lineBreaks = LineBreaks::AsIs);
QByteArray encode(QStringView text, LineBreaks lineBreaks = LineBreaks::AsIs);

// CP932 byte length of a text as it would be written, a line break ('\n',
// U+2029, U+2028) counting two bytes.
qsizetype byteLength(QStringView text);

// The longest prefix of text whose byteLength() is at most maxBytes; never
// splits a double-byte character (or a surrogate pair).
QString truncateToBytes(QStringView text, qsizetype maxBytes);

} // namespace sjis
