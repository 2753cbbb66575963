#include "platform/SjisCodec.h"

#include "platform/CodecBits.h"

#include <QStringDecoder>
#include <QStringEncoder>
#include <QtGlobal>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <iterator>

// The tables are built once, on first use, from the system's ICU converter
// "windows-31j" (the same mapping Windows uses for code page 932). The loops
// below then run on the tables alone: ICU replaces a byte it cannot map and
// drops a lone lead byte at the end, so it could not give the bytes back.

namespace sjis {
namespace {

using namespace codecbits;

constexpr char16_t kLeadMark = 0xFFFF;        // singleByte: the byte starts a double-byte character
constexpr std::uint32_t kNoCode = 0xFFFFFFFF; // toCp932: CP932 cannot hold the character
constexpr std::uint32_t kMissingBit = 0x80000000;
constexpr std::uint32_t kLookAside = 0xFFFFFFFE; // pageCodes: the page decides the code

// An entry of toCp932: the bytes in memory order, and their count above them.
constexpr std::uint32_t oneByte(int b) {
    return std::uint32_t(b) | 1u << 16;
}
constexpr std::uint32_t bytePair(int first, int second) {
    return std::uint32_t(first | second << 8) | 2u << 16;
}
constexpr std::uint32_t kCrLfPair = bytePair('\r', '\n');
constexpr std::uint32_t kLineFeed = oneByte('\n');

bool isLeadByte(int b) {
    return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}
bool isTrailByte(int b) {
    return b >= 0x40 && b <= 0xFC && b != 0x7F;
}

// A character with more than one code.
struct Duplicate {
    char16_t character;
    std::uint8_t count;
    std::uint16_t codes[3]; // lead << 8 | trail
};

struct Tables {
    // A byte on its own: the character, the reserved code point of an invalid
    // byte, or kLeadMark.
    char16_t singleByte[256];
    // [(lead << 8 | trail) - 0x8000] -> character; 0 where the pair is not
    // assigned, and for every first byte that cannot lead.
    char16_t doubleByte[0x8000];
    // UTF-16 code unit -> oneByte() or bytePair() of its CP932 code, or kNoCode.
    std::uint32_t toCp932[65536];
    // toCp932 for writing a page: kLookAside for the editor's separators and
    // every character with more than one code, whose code the page decides.
    std::uint32_t pageCodes[65536];
    // Bit (lead << 8 | trail) - 0x8000 is set when the code's character has
    // other codes too.
    std::uint64_t duplicateBits[0x8000 / 64];
    // The characters with more than one code, by character.
    std::vector<Duplicate> duplicates;

    Tables();
    void buildDoubleBytes();
    void buildPreferredCodes(const QString& duplicated);
    void buildDuplicates(const QString& duplicated);

    bool isDuplicateCode(unsigned index) const { return duplicateBits[index >> 6] >> (index & 63) & 1; }
    const Duplicate* findDuplicate(char16_t c) const {
        const auto found = std::lower_bound(duplicates.begin(), duplicates.end(), c,
                                            [](const Duplicate& d, char16_t x) { return d.character < x; });
        return found != duplicates.end() && found->character == c ? &*found : nullptr;
    }
};

Tables::Tables() {
    std::fill(std::begin(toCp932), std::end(toCp932), kNoCode);
    for (int b = 0; b < 256; ++b) {
        if (b < 0x80)
            singleByte[b] = char16_t(b);
        else if (b >= 0xA1 && b <= 0xDF) // half-width katakana
            singleByte[b] = char16_t(0xFF61 + (b - 0xA1));
        else if (isLeadByte(b))
            singleByte[b] = kLeadMark;
        else // 0x80, 0xA0, 0xFD-0xFF: no character in CP932
            singleByte[b] = char16_t(kReservedBase + b);
        if (singleByte[b] != kLeadMark)
            toCp932[singleByte[b]] = oneByte(b);
        // Any byte, a lead byte included, may turn up alone and be held as its
        // reserved code point, which is written back as that byte.
        toCp932[kReservedBase + b] = oneByte(b);
    }
    // Text is written with CR LF line breaks far more often than without.
    toCp932[u'\n'] = kCrLfPair;
    // The editor's own paragraph and line separators are line breaks too.
    toCp932[0x2029] = kCrLfPair;
    toCp932[0x2028] = kCrLfPair;
    std::memset(doubleByte, 0, sizeof doubleByte);
    std::memset(duplicateBits, 0, sizeof duplicateBits);
    buildDoubleBytes();
    std::memcpy(pageCodes, toCp932, sizeof pageCodes);
    pageCodes[0x2028] = pageCodes[0x2029] = kLookAside;
    for (const Duplicate& d : duplicates)
        pageCodes[d.character] = kLookAside;
}

void Tables::buildDoubleBytes() {
    QStringDecoder decoder("windows-31j", QStringConverter::Flag::Stateless);
    if (!decoder.isValid()) {
        qCritical("sjis: no CP932 converter in this Qt build; double-byte characters are kept as bytes");
        return;
    }
    // All lead/trail pairs in one call, each followed by a line feed (which no
    // lead or trail byte equals), so the result splits into one piece per pair.
    QByteArray pairs;
    pairs.reserve(60 * 189 * 3);
    for (int lead = 0x81; lead <= 0xFC; ++lead) {
        if (!isLeadByte(lead))
            continue;
        for (int trail = 0x40; trail <= 0xFC; ++trail) {
            if (!isTrailByte(trail))
                continue;
            pairs.append(char(lead)).append(char(trail)).append('\n');
        }
    }
    const QString decoded = decoder.decode(pairs);
    QString duplicated;
    qsizetype pos = 0;
    for (qsizetype i = 0; i < pairs.size(); i += 3) {
        const qsizetype lineEnd = decoded.indexOf(u'\n', pos);
        if (lineEnd < 0) {
            qCritical("sjis: unexpected result from the CP932 converter");
            return;
        }
        const QStringView piece = QStringView(decoded).mid(pos, lineEnd - pos);
        pos = lineEnd + 1;
        // ICU stands in U+FFFD or U+001A for a pair it cannot map; no
        // assigned pair maps to either, nor into the single-byte repertoire.
        if (piece.size() != 1)
            continue;
        const char16_t c = piece.front().unicode();
        if (c == 0xFFFD || c == 0x1A || c < 0x80)
            continue;
        const auto lead = std::uint8_t(pairs[i]);
        const auto trail = std::uint8_t(pairs[i + 1]);
        doubleByte[(lead << 8 | trail) - 0x8000] = c;
        if (toCp932[c] == kNoCode)
            toCp932[c] = bytePair(lead, trail);
        else if (!duplicated.contains(QChar(c)))
            duplicated.append(QChar(c));
    }
    buildPreferredCodes(duplicated);
    buildDuplicates(duplicated);
}

// A character with more than one code (NEC and IBM extensions) is written in
// the code Windows writes; ICU's encoder knows which one that is.
void Tables::buildPreferredCodes(const QString& duplicated) {
    QStringEncoder encoder("windows-31j", QStringConverter::Flag::Stateless);
    if (!encoder.isValid() || duplicated.isEmpty())
        return;
    QString query;
    for (QChar c : duplicated)
        query.append(c).append(u'\n');
    const QByteArray codes = encoder.encode(query);
    qsizetype pos = 0;
    for (QChar c : duplicated) {
        const qsizetype lineEnd = codes.indexOf('\n', pos);
        if (lineEnd < 0)
            return;
        if (lineEnd - pos == 2) {
            const auto lead = std::uint8_t(codes[pos]);
            const auto trail = std::uint8_t(codes[pos + 1]);
            if (isLeadByte(lead) && doubleByte[(lead << 8 | trail) - 0x8000] == c.unicode())
                toCp932[c.unicode()] = bytePair(lead, trail);
        }
        pos = lineEnd + 1;
    }
}

// Every code of each character that has several, so that a page can keep the
// code it wrote the character in.
void Tables::buildDuplicates(const QString& duplicated) {
    duplicates.reserve(duplicated.size());
    for (QChar c : duplicated)
        duplicates.push_back({c.unicode(), 0, {}});
    std::sort(duplicates.begin(), duplicates.end(),
              [](const Duplicate& a, const Duplicate& b) { return a.character < b.character; });
    for (unsigned index = 0; index < 0x8000; ++index) {
        const char16_t c = doubleByte[index];
        auto* d = c ? const_cast<Duplicate*>(findDuplicate(c)) : nullptr;
        if (!d)
            continue;
        if (d->count == std::size(d->codes)) {
            qCritical("sjis: a character with more than three codes");
            continue;
        }
        d->codes[d->count++] = std::uint16_t(0x8000 + index);
        duplicateBits[index >> 6] |= std::uint64_t(1) << (index & 63);
    }
}

const Tables& tables() {
    static const Tables instance;
    return instance;
}

// Bytes the character at p takes when written with CR LF line breaks;
// advances p past it.
qsizetype takeCharLength(const Tables& t, const char16_t*& p, const char16_t* end) {
    const std::uint32_t code = t.toCp932[*p];
    if (code != kNoCode) {
        ++p;
        return code >> 16;
    }
    return referenceLength(takeCodePoint(p, end));
}

// How decoding treats CR.
enum class CrRule {
    AsIs,     // a character like any other
    Break,    // CR LF and a lone CR are one line break each
    StrayByte // CR LF is a line break; a lone CR is held as its reserved code point
};

// While decoding, the first code met of each character that has several.
class FirstCodes {
public:
    explicit FirstCodes(const Tables& t) : t_(t), first_(t.duplicates.size(), 0) {
        std::memcpy(pending_, t.duplicateBits, sizeof pending_);
    }

    // Whether the code at index (lead << 8 | trail) - 0x8000 has yet to be
    // recorded: a code of a character with several, met for the first time.
    bool pending(unsigned index) const { return pending_[index >> 6] >> (index & 63) & 1; }

    void meet(unsigned index, char16_t c) {
        const Duplicate* d = t_.findDuplicate(c);
        first_[std::size_t(d - t_.duplicates.data())] = std::uint16_t(0x8000 + index);
        // The character's other codes no longer matter either.
        for (int i = 0; i < d->count; ++i) {
            const unsigned other = d->codes[i] - 0x8000u;
            pending_[other >> 6] &= ~(std::uint64_t(1) << (other & 63));
        }
    }

    CodeChoices choices() const {
        CodeChoices result;
        for (std::uint16_t code : first_) {
            if (code)
                result.choose(code);
        }
        return result;
    }

private:
    const Tables& t_;
    std::vector<std::uint16_t> first_; // per entry of t_.duplicates; 0 while not met
    std::uint64_t pending_[0x8000 / 64];
};

template <CrRule Cr, bool Track> QString decodeText(QByteArrayView bytes, FirstCodes* firstCodes) {
    const Tables& t = tables();
    QString text(bytes.size(), Qt::Uninitialized);
    adviseHugePages(text.data(), text.size() * 2);
    char16_t* const begin = reinterpret_cast<char16_t*>(text.data());
    char16_t* out = begin;
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
    const auto* const end = p + bytes.size();

    while (p < end) {
        // Runs of ASCII, eight bytes at a time.
        while (end - p >= 8) {
            std::uint64_t w;
            std::memcpy(&w, p, 8);
            if ((w & kHighBits) || (Cr != CrRule::AsIs && hasByte(w, '\r')))
                break;
            for (int i = 0; i < 8; ++i)
                out[i] = p[i];
            p += 8;
            out += 8;
        }
        while (p < end && *p < 0x80) {
            if (Cr != CrRule::AsIs && *p == '\r') {
                ++p;
                if (p < end && *p == '\n') {
                    *out++ = u'\n';
                    ++p;
                } else {
                    *out++ = Cr == CrRule::Break ? u'\n' : char16_t(kReservedBase + '\r');
                }
            } else {
                *out++ = *p++;
            }
        }
        // Runs of anything else. A byte that cannot lead has an empty row in
        // doubleByte, so one look-up of the two bytes decides the common case.
        while (end - p >= 2 && *p >= 0x80) {
            std::uint16_t twoBytes;
            std::memcpy(&twoBytes, p, 2);
            const unsigned index = std::uint16_t(twoBytes << 8 | twoBytes >> 8) - 0x8000u;
            const char16_t c = t.doubleByte[index];
            if (c) {
                if constexpr (Track) {
                    if (firstCodes->pending(index))
                        firstCodes->meet(index, c);
                }
                *out++ = c;
                p += 2;
                continue;
            }
            const char16_t single = t.singleByte[*p];
            if (single != kLeadMark) {
                *out++ = single;
                ++p;
                continue;
            }
            // An unassigned pair. As in the WHATWG decoder, an ASCII byte
            // after the lead stands for itself, any other byte goes with it.
            *out++ = char16_t(kReservedBase + *p++);
            if (*p >= 0x80)
                *out++ = char16_t(kReservedBase + *p++);
        }
        if (end - p == 1 && *p >= 0x80) {
            const char16_t single = t.singleByte[*p];
            *out++ = single != kLeadMark ? single : char16_t(kReservedBase + *p); // a lone lead byte
            ++p;
        }
    }
    text.truncate(out - begin);
    return text;
}

// What a page decides: its line ending and the codes it chose.
struct PageChoices {
    std::uint32_t lineEnding;
    const CodeChoices& codes;

    std::uint32_t codeOf(char16_t c, const Tables& t) const {
        if (c == 0x2028 || c == 0x2029)
            return lineEnding;
        const std::uint16_t code = codes.codeOf(c);
        return code ? bytePair(code >> 8, code & 0xFF) : t.toCp932[c];
    }
};

// Writes text through codes, a toCp932 table, or the pageCodes table with the
// page's choices. A LineFeed byte other than 0 is what '\n' is written as,
// whatever the table says; as LF, runs of ASCII need not stop at it.
template <char LineFeed>
QByteArray encodeText(QStringView text, const std::uint32_t* codes, const PageChoices* page = nullptr) {
    const Tables& t = tables();
    // Two bytes per code unit hold everything but character references, which
    // make room for themselves. So a byte pair can always be stored whole and
    // the output advanced by its real length.
    QByteArray bytes(text.size() * 2, Qt::Uninitialized);
    adviseHugePages(bytes.data(), bytes.size());
    char* base = bytes.data();
    char* out = base;
    const char16_t* p = text.utf16();
    const char16_t* const end = p + text.size();

    while (p < end) {
        // Runs of ASCII, eight code units at a time.
        while (end - p >= 8) {
            std::uint64_t w1, w2;
            std::memcpy(&w1, p, 8);
            std::memcpy(&w2, p + 4, 8);
            if (((w1 | w2) & 0xFF80FF80FF80FF80ull) ||
                (LineFeed != '\n' && (hasByte(w1, '\n') || hasByte(w2, '\n'))))
                break;
            for (int i = 0; i < 8; ++i)
                out[i] = char(p[i]);
            p += 8;
            out += 8;
        }
        // Anything else, four units at a time while all four have a code, for
        // up to sixteen units before trying ASCII again.
        for (int round = 0; round < 4 && end - p >= 4; ++round) {
            std::uint32_t four[4];
            std::uint32_t any = 0;
            for (int i = 0; i < 4; ++i) {
                four[i] = LineFeed && p[i] == u'\n' ? oneByte(LineFeed) : codes[p[i]];
                any |= four[i];
            }
            if (any & kMissingBit)
                break;
            for (std::uint32_t code : four) {
                std::memcpy(out, &code, 2);
                out += code >> 16;
            }
            p += 4;
        }
        // One unit on its own: a character reference, or one near the end.
        if (p == end)
            break;
        std::uint32_t code = LineFeed && *p == u'\n' ? oneByte(LineFeed) : codes[*p];
        if (code == kLookAside)
            code = page->codeOf(*p, t);
        if (code != kNoCode) {
            std::memcpy(out, &code, 2);
            out += code >> 16;
            ++p;
            continue;
        }
        const char32_t cp = takeCodePoint(p, end);
        const qsizetype written = out - base;
        const qsizetype needed = written + referenceLength(cp) + 2 * (end - p);
        if (needed > bytes.size()) {
            bytes.resize(std::max(needed, bytes.size() + bytes.size() / 2));
            base = bytes.data();
            out = base + written;
        }
        out = writeReference(out, cp);
    }
    bytes.truncate(out - base);
    return bytes;
}

} // namespace

QString decode(QByteArrayView bytes, LineBreaks lineBreaks) {
    return lineBreaks == LineBreaks::CrLf ? decodeText<CrRule::Break, false>(bytes, nullptr)
                                          : decodeText<CrRule::AsIs, false>(bytes, nullptr);
}

QByteArray encode(QStringView text, LineBreaks lineBreaks) {
    const Tables& t = tables();
    return lineBreaks == LineBreaks::CrLf ? encodeText<0>(text, t.toCp932)
                                          : encodeText<'\n'>(text, t.toCp932);
}

bool CodeChoices::choose(std::uint16_t code) {
    const Tables& t = tables();
    if (code < 0x8000 || !t.isDuplicateCode(code - 0x8000u))
        return false;
    const char16_t c = t.doubleByte[code - 0x8000];
    const auto found = std::lower_bound(entries_.begin(), entries_.end(), c,
                                        [](const auto& entry, char16_t x) { return entry.first < x; });
    if (found != entries_.end() && found->first == c)
        return false;
    entries_.insert(found, {c, code});
    return true;
}

std::uint16_t CodeChoices::codeOf(char16_t c) const {
    const auto found = std::lower_bound(entries_.begin(), entries_.end(), c,
                                        [](const auto& entry, char16_t x) { return entry.first < x; });
    return found != entries_.end() && found->first == c ? found->second : 0;
}

QString decodeLines(QByteArrayView bytes, LineEnding ending, CodeChoices* choices) {
    const bool crBreaks = ending == LineEnding::Cr;
    if (!choices) {
        return crBreaks ? decodeText<CrRule::Break, false>(bytes, nullptr)
                        : decodeText<CrRule::StrayByte, false>(bytes, nullptr);
    }
    FirstCodes firstCodes(tables());
    QString text = crBreaks ? decodeText<CrRule::Break, true>(bytes, &firstCodes)
                            : decodeText<CrRule::StrayByte, true>(bytes, &firstCodes);
    *choices = firstCodes.choices();
    return text;
}

QByteArray encodeLines(QStringView text, LineEnding ending, const CodeChoices& choices) {
    const Tables& t = tables();
    if (ending == LineEnding::CrLf && choices.isEmpty())
        return encodeText<0>(text, t.toCp932);
    const std::uint32_t lineEnding = ending == LineEnding::CrLf ? kCrLfPair
                                     : ending == LineEnding::Lf ? kLineFeed
                                                                : oneByte('\r');
    const PageChoices page{lineEnding, choices};
    switch (ending) {
    case LineEnding::Lf:
        return encodeText<'\n'>(text, t.pageCodes, &page);
    case LineEnding::Cr:
        return encodeText<'\r'>(text, t.pageCodes, &page);
    case LineEnding::CrLf:
        break;
    }
    return encodeText<0>(text, t.pageCodes, &page);
}

qsizetype byteLength(QStringView text) {
    const Tables& t = tables();
    qsizetype length = 0;
    const char16_t* p = text.utf16();
    const char16_t* const end = p + text.size();
    while (p < end)
        length += takeCharLength(t, p, end);
    return length;
}

QString truncateToBytes(QStringView text, qsizetype maxBytes) {
    const Tables& t = tables();
    qsizetype length = 0;
    const char16_t* const begin = text.utf16();
    const char16_t* p = begin;
    const char16_t* const end = p + text.size();
    while (p < end) {
        const char16_t* next = p;
        length += takeCharLength(t, next, end);
        if (length > maxBytes)
            break;
        p = next;
    }
    return text.first(p - begin).toString();
}

} // namespace sjis
