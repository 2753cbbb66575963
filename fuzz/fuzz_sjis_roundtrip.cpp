// Any bytes survive the CP932 codec: decoding and encoding give the same bytes
// back (duplicate codes in the code Windows writes), byte counts match what is
// written, and a cut never goes past its limit or splits a character. The
// second half of the input is also taken as UTF-16 text to encode.

#include "FuzzCheck.h"
#include "platform/SjisCodec.h"

#include <QStringDecoder>
#include <QStringEncoder>

#include <bitset>
#include <cstdint>
#include <cstring>
#include <memory>

namespace {

bool isLead(unsigned char b) {
    return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}

// Which double-byte codes are characters, and which of those Windows writes
// in another code, taken from ICU one code at a time, apart from the codec's
// own tables.
struct Reference {
    std::bitset<65536> assigned;
    std::bitset<65536> rewritten;

    Reference() {
        QStringDecoder decoder("windows-31j", QStringConverter::Flag::Stateless);
        QStringEncoder encoder("windows-31j", QStringConverter::Flag::Stateless);
        CHECK(decoder.isValid() && encoder.isValid());
        for (int lead = 0x81; lead <= 0xFC; ++lead) {
            if (!isLead(lead))
                continue;
            for (int trail = 0x40; trail <= 0xFC; ++trail) {
                const char code[2] = {char(lead), char(trail)};
                const QString c = decoder.decode(QByteArrayView(code, 2));
                if (c.size() != 1 || c.front() == QChar(0xFFFD) || c.front() == QChar(0x1A))
                    continue;
                assigned.set(lead << 8 | trail);
                if (QByteArray(encoder.encode(c)) != QByteArrayView(code, 2))
                    rewritten.set(lead << 8 | trail);
            }
        }
    }
};

const Reference& reference() {
    static const std::unique_ptr<Reference> instance = std::make_unique<Reference>();
    return *instance;
}

// Whether the bytes hold a code Windows writes differently, reading them the
// way the codec does: an unassigned pair takes its second byte along unless
// that byte is ASCII.
bool hasRewrittenCode(QByteArrayView bytes) {
    const Reference& ref = reference();
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const auto lead = static_cast<unsigned char>(bytes[i]);
        if (!isLead(lead) || i + 1 == bytes.size())
            continue;
        const auto trail = static_cast<unsigned char>(bytes[i + 1]);
        const int code = lead << 8 | trail;
        if (ref.rewritten.test(code))
            return true;
        if (ref.assigned.test(code) || trail >= 0x80)
            ++i;
    }
    return false;
}

// Every CR is followed by LF and every LF follows a CR.
bool hasOnlyCrLf(QByteArrayView bytes) {
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        if (bytes[i] == '\r' && (i + 1 == bytes.size() || bytes[i + 1] != '\n'))
            return false;
        if (bytes[i] == '\n' && (i == 0 || bytes[i - 1] != '\r'))
            return false;
    }
    return true;
}

void checkTruncation(const QString& text, qsizetype limit) {
    const QString cut = sjis::truncateToBytes(text, limit);
    CHECK(text.startsWith(cut));
    CHECK(sjis::byteLength(cut) <= limit);
    if (cut.size() < text.size()) {
        // The next character, surrogate pair whole, would not have fitted.
        qsizetype next = cut.size() + 1;
        if (text[cut.size()].isHighSurrogate() && next < text.size() && text[next].isLowSurrogate())
            ++next;
        CHECK(sjis::byteLength(QStringView(text).first(next)) > limit);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArrayView bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    const bool rewritten = hasRewrittenCode(bytes);

    // Characters and bytes one to one.
    const QString text = sjis::decode(bytes);
    const QByteArray written = sjis::encode(text);
    CHECK(written.size() == bytes.size());
    CHECK(sjis::decode(written) == text);
    if (!rewritten)
        CHECK(written == bytes);
    CHECK(sjis::byteLength(text) == sjis::encode(text, sjis::LineBreaks::CrLf).size());

    // CR LF lines.
    const QString lines = sjis::decode(bytes, sjis::LineBreaks::CrLf);
    CHECK(!lines.contains(u'\r'));
    const QByteArray writtenLines = sjis::encode(lines, sjis::LineBreaks::CrLf);
    CHECK(sjis::byteLength(lines) == writtenLines.size());
    CHECK(sjis::decode(writtenLines, sjis::LineBreaks::CrLf) == lines);
    if (!rewritten && hasOnlyCrLf(bytes))
        CHECK(writtenLines == bytes);

    const qsizetype limit = size ? data[0] % 160 : 0;
    checkTruncation(lines, limit);

    // The second half as UTF-16 text: anything, lone surrogates included.
    const qsizetype units = qsizetype(size / 4);
    QString utf16(units, Qt::Uninitialized);
    if (units > 0)
        std::memcpy(utf16.data(), data + size - 2 * units, std::size_t(units) * 2);
    const QByteArray encoded = sjis::encode(utf16, sjis::LineBreaks::CrLf);
    CHECK(sjis::byteLength(utf16) == encoded.size());
    const QString reread = sjis::decode(encoded);
    CHECK(sjis::encode(reread).size() == encoded.size());
    CHECK(sjis::decode(sjis::encode(reread)) == reread);
    checkTruncation(utf16, limit);
    return 0;
}
