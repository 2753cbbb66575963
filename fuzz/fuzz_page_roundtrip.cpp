// Any bytes opened as a diary page and saved unchanged come back as the same
// bytes, with two allowed changes worked out here apart from the codec: a page
// that mixes CR LF and LF lines is written with CR LF throughout, and a CP932
// page that writes one character in two of its codes is written with the code
// met first. Reading the written bytes again gives the same text.

#include "FuzzCheck.h"
#include "platform/PageCodec.h"

#include <QStringDecoder>

#include <cstdint>
#include <memory>
#include <vector>

namespace {

bool isLead(unsigned char b) {
    return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}

// The character of each double-byte code, from ICU one code at a time, apart
// from the codec's own tables; 0 where the code is no character.
struct Reference {
    char16_t character[65536] = {};

    Reference() {
        QStringDecoder decoder("windows-31j", QStringConverter::Flag::Stateless);
        CHECK(decoder.isValid());
        for (int lead = 0x81; lead <= 0xFC; ++lead) {
            if (!isLead(lead))
                continue;
            for (int trail = 0x40; trail <= 0xFC; ++trail) {
                const char code[2] = {char(lead), char(trail)};
                const QString c = decoder.decode(QByteArrayView(code, 2));
                if (c.size() == 1 && c.front() != QChar(0xFFFD) && c.front() != QChar(0x1A))
                    character[lead << 8 | trail] = c.front().unicode();
            }
        }
    }
};

const Reference& reference() {
    static const std::unique_ptr<Reference> instance = std::make_unique<Reference>();
    return *instance;
}

// Whether CP932 bytes write some character in two different codes, reading
// them the way the codec does: an unassigned pair takes its second byte along
// unless that byte is ASCII.
bool mixesCodes(QByteArrayView bytes) {
    const Reference& ref = reference();
    // The first code of each character met, cleared again after each input.
    static std::uint16_t firstCode[65536];
    std::vector<char16_t> met;
    bool mixed = false;
    for (qsizetype i = 0; i + 1 < bytes.size() && !mixed; ++i) {
        const auto lead = static_cast<unsigned char>(bytes[i]);
        if (!isLead(lead))
            continue;
        const auto trail = static_cast<unsigned char>(bytes[i + 1]);
        const auto code = std::uint16_t(lead << 8 | trail);
        if (const char16_t c = ref.character[code]) {
            if (!firstCode[c]) {
                firstCode[c] = code;
                met.push_back(c);
            }
            mixed = firstCode[c] != code;
            ++i;
        } else if (trail >= 0x80) {
            ++i;
        }
    }
    for (char16_t c : met)
        firstCode[c] = 0;
    return mixed;
}

// The bytes with every LF that follows no CR written as CR LF, when the page
// has lines of both kinds; otherwise the bytes unchanged.
QByteArray withOneLineEnding(QByteArrayView bytes) {
    bool crLf = false, lf = false;
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        if (bytes[i] == '\n')
            (i > 0 && bytes[i - 1] == '\r' ? crLf : lf) = true;
    }
    if (!(crLf && lf))
        return bytes.toByteArray();
    QByteArray result;
    result.reserve(bytes.size() * 2);
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        if (bytes[i] == '\n' && !(i > 0 && bytes[i - 1] == '\r'))
            result.append('\r');
        result.append(bytes[i]);
    }
    return result;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArrayView bytes(reinterpret_cast<const char*>(data), qsizetype(size));

    const pagecodec::PageFormat detected = pagecodec::detectPage(bytes);
    const pagecodec::DecodedPage page = pagecodec::decodePage(bytes);
    CHECK(page.format.encoding == detected.encoding);
    CHECK(page.format.bom == detected.bom);
    CHECK(page.format.lineEnding == detected.lineEnding);
    CHECK(!page.text.contains(u'\r'));
    CHECK(!page.format.bom || page.format.encoding == pagecodec::PageEncoding::Utf8);
    if (page.format.encoding == pagecodec::PageEncoding::Utf8)
        CHECK(page.format.codeChoices.isEmpty());

    const QByteArray written = pagecodec::encodePage(page.text, page.format);
    const bool cp932 = page.format.encoding == pagecodec::PageEncoding::Cp932;
    if (!(cp932 && mixesCodes(bytes)))
        CHECK(written == withOneLineEnding(bytes));

    // Read again: the same text, and written again the same bytes.
    const pagecodec::DecodedPage again = pagecodec::decodePage(written);
    if (again.format.encoding == page.format.encoding) {
        CHECK(again.text == page.text);
        CHECK(again.format.lineEnding == page.format.lineEnding);
        CHECK(pagecodec::encodePage(again.text, again.format) == written);
    }
    return 0;
}
