#pragma once
// The one codec for every file the program reads or writes: Shift_JIS as
// Windows code page 932.
//
// Lossless: any byte sequence decodes and encodes back to the same bytes.
// A byte that is not part of a valid CP932 character is held in memory as a
// reserved code point (U+F700 + byte) and written back as that byte. The only
// exception are CP932's few duplicate codes: encode() writes them in the code
// Windows itself writes, as the side files the program writes use them. A
// page keeps the codes it was read with: decodeLines() records them in
// CodeChoices (below) and encodeLines() writes them back.
//
// A character CP932 cannot hold is written as an HTML numeric character
// reference "&#xHHHH;", never dropped.

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

#include <cstdint>
#include <utility>
#include <vector>

namespace sjis {

enum class LineBreaks {
    AsIs, // bytes and characters map one to one
    CrLf, // decode: CR LF and a lone CR become '\n'; encode: '\n' is written as CR LF
};
// Whatever the mode, the editor's paragraph and line separators (U+2029,
// U+2028) are written as CR LF: they are the line breaks of an editor's raw text.

QString decode(QByteArrayView bytes, LineBreaks lineBreaks = LineBreaks::AsIs);
QByteArray encode(QStringView text, LineBreaks lineBreaks = LineBreaks::AsIs);

// Some characters have more than one CP932 code: NEC row 13 (0x8790-0x879C)
// repeats symbols of JIS row 2 (0x81BE, 0x81BF, 0x81E0 ...), the NEC-selected
// IBM extensions (0xED40-0xEEFC) repeat the IBM extensions (0xFA40-0xFC4B),
// and a few characters have three codes (NOT SIGN: 0x81CA, 0xEEF9, 0xFA54).
// CodeChoices holds, per such character, the code a page wrote it in, so that
// the page is written back with the codes it was read with.
class CodeChoices {
public:
    // Takes code (lead << 8 | trail) for the character it stands for, unless
    // that character has a code already: the first choice wins. False when
    // code is not one of several codes of one character.
    bool choose(std::uint16_t code);

    // The code chosen for c, or 0 when none was (c is written in the code
    // Windows writes).
    std::uint16_t codeOf(char16_t c) const;

    bool isEmpty() const { return entries_.empty(); }
    // (character, code) pairs, by character.
    const std::vector<std::pair<char16_t, std::uint16_t>>& entries() const { return entries_; }

    bool operator==(const CodeChoices&) const = default;

private:
    std::vector<std::pair<char16_t, std::uint16_t>> entries_; // sorted by character
};

// How a page breaks its lines.
enum class LineEnding {
    CrLf,
    Lf,
    Cr, // old Macintosh files
};

// Reads a page. CR LF and LF become '\n'; a lone CR does too in a page whose
// lines end in CR alone, otherwise it is a stray byte, held as its reserved
// code point (U+F70D) so that it is written back where it was. When choices
// is given, each character met in one of its several codes is recorded in
// choices (which it replaces) with the code it was met in first.
QString decodeLines(QByteArrayView bytes, LineEnding ending, CodeChoices* choices = nullptr);

// Writes a page: '\n', U+2029 and U+2028 as the line ending, each character
// of choices in its chosen code, every other character as encode() does.
QByteArray encodeLines(QStringView text, LineEnding ending, const CodeChoices& choices = {});

// CP932 byte length of a text as it would be written, a line break ('\n',
// U+2029, U+2028) counting two bytes.
qsizetype byteLength(QStringView text);

// The longest prefix of text whose byteLength() is at most maxBytes; never
// splits a double-byte character (or a surrogate pair).
QString truncateToBytes(QStringView text, qsizetype maxBytes);

} // namespace sjis
