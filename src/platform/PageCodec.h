#pragma once
// A diary page keeps its own bytes: the encoding it was written in (CP932 or
// UTF-8, with or without a byte-order mark), its line endings and, for CP932,
// the codes it used for characters that have more than one. Opening a page
// and saving it unchanged gives the same bytes back.
//
// Bytes that are no character of the page's encoding, and a CR that does not
// end a line, are held in memory as reserved code points (U+F700 + byte), the
// same scheme as the CP932 codec's, and written back as those bytes. So are
// the bytes of a UTF-8 line or paragraph separator (U+2028, U+2029) and of
// U+FDD0 and U+FDD1: the editor would take them for line breaks.
//
// Byte counts and limits stay CP932 counts (sjis::byteLength) whatever the
// page's encoding.

#include "platform/SjisCodec.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

namespace pagecodec {

enum class PageEncoding { Cp932, Utf8 };

using LineEnding = sjis::LineEnding;

// How a page is written. The default is the form of everything the program
// writes of its own: CP932 with CR LF.
struct PageFormat {
    PageEncoding encoding = PageEncoding::Cp932;
    bool bom = false; // a UTF-8 byte-order mark; never written for CP932
    LineEnding lineEnding = LineEnding::CrLf;
    sjis::CodeChoices codeChoices; // CP932 only

    bool operator==(const PageFormat&) const = default;
};

struct DecodedPage {
    QString text; // lines separated by '\n'
    PageFormat format;
};

// Decides a page's encoding and line ending in one pass over its bytes
// (codeChoices stays empty: those come from decoding).
//
// UTF-8 when the page starts with a UTF-8 byte-order mark, or holds valid
// UTF-8 with at least one multi-byte sequence, or declares UTF-8 near its
// start (<meta charset="utf-8">, <meta http-equiv="Content-Type"
// content="text/html; charset=utf-8"> or <?xml ... encoding="utf-8"?>);
// otherwise CP932, pure ASCII included.
//
// Line ending: CR LF or LF when the page ends its lines with only that one;
// CR when it uses lone CRs and nothing else; CR LF when it mixes CR LF and LF
// (its lines are then all written back with CR LF) or has no line break. In a
// page with CR LF or LF lines a lone CR is a stray byte, not a line break.
PageFormat detectPage(QByteArrayView bytes);

// The page's text and format. Encoding the text unchanged in that format gives
// the same bytes, for any bytes, except that a page mixing CR LF and LF comes
// back with CR LF throughout, and a CP932 page writing one character in two of
// its codes comes back with the first code met throughout.
DecodedPage decodePage(QByteArrayView bytes);

// The page's bytes: its encoding, byte-order mark, line ending ('\n', U+2029
// and U+2028 alike) and chosen codes. A character CP932 cannot hold, and a
// lone surrogate in either encoding, is written as "&#xHHHH;".
QByteArray encodePage(QStringView text, const PageFormat& format);

} // namespace pagecodec
