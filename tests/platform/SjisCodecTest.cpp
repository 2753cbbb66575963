#include "platform/SjisCodec.h"

#include <QStringDecoder>
#include <QStringEncoder>
#include <gtest/gtest.h>

#include <initializer_list>
#include <random>

using namespace Qt::StringLiterals;
using sjis::LineBreaks;

namespace {

QByteArray bytesOf(std::initializer_list<int> values) {
    QByteArray bytes;
    for (int v : values)
        bytes.append(char(v));
    return bytes;
}

QString unitsOf(std::initializer_list<char16_t> units) {
    QString text;
    for (char16_t u : units)
        text.append(QChar(u));
    return text;
}

QByteArray roundTrip(const QByteArray& bytes, LineBreaks lineBreaks = LineBreaks::AsIs) {
    return sjis::encode(sjis::decode(bytes, lineBreaks), lineBreaks);
}

// Random bytes that favour what makes decoding interesting: lead bytes,
// trail bytes, ASCII runs long enough for the eight-byte paths, CR and LF.
QByteArray randomBytes(std::mt19937& rng, bool avoidDuplicateLeads, bool withLineBreaks) {
    std::uniform_int_distribution<int> kind(0, 9), byte(0, 255), len(0, 80), run(1, 20);
    QByteArray bytes;
    const int n = len(rng);
    while (bytes.size() < n) {
        int b;
        switch (kind(rng)) {
        case 0:
        case 1: // an ASCII run
            for (int i = run(rng); i > 0; --i)
                bytes.append(char(0x20 + byte(rng) % 0x5F));
            continue;
        case 2:
            b = withLineBreaks ? (byte(rng) % 2 ? '\r' : '\n') : 'x';
            break;
        case 3:
        case 4:
        case 5: // a lead byte
            b = 0x81 + byte(rng) % 0x1F;
            if (byte(rng) % 2)
                b = 0xE0 + byte(rng) % 0x1D;
            break;
        default:
            b = byte(rng);
        }
        // The codes that Windows writes differently all have one of these leads.
        if (avoidDuplicateLeads && (b == 0x87 || b == 0xED || b == 0xEE || b == 0xFA))
            b = 0x88;
        if (!withLineBreaks && (b == '\r' || b == '\n'))
            b = 'x';
        bytes.append(char(b));
    }
    return bytes;
}

} // namespace

TEST(SjisCodec, EveryDoubleByteCodeMatchesWindowsAndRoundTrips) {
    QStringDecoder windowsDecoder("windows-31j", QStringConverter::Flag::Stateless);
    QStringEncoder windowsEncoder("windows-31j", QStringConverter::Flag::Stateless);
    ASSERT_TRUE(windowsDecoder.isValid());
    int assigned = 0, duplicates = 0;
    for (int lead = 0x81; lead <= 0xFC; ++lead) {
        for (int trail = 0x40; trail <= 0xFC; ++trail) {
            if ((lead >= 0xA0 && lead < 0xE0) || trail == 0x7F)
                continue;
            const QByteArray code = bytesOf({lead, trail});
            const QString ours = sjis::decode(code);
            const QString windows = windowsDecoder.decode(code);
            SCOPED_TRACE(code.toHex().toStdString());
            if (windows.size() == 1 && windows != u"\uFFFD"_s && windows != u"\x1A"_s) {
                ++assigned;
                EXPECT_EQ(ours, windows);
                const QByteArray back = sjis::encode(ours);
                if (back != code) {
                    ++duplicates;
                    EXPECT_EQ(back, windowsEncoder.encode(ours));
                    EXPECT_EQ(sjis::decode(back), ours);
                }
            } else {
                // Not a character: each byte is held on its own (an ASCII
                // trail byte as itself) and comes back unchanged.
                EXPECT_EQ(ours.front(), QChar(0xF700 + lead));
                EXPECT_EQ(sjis::encode(ours), code);
            }
        }
    }
    EXPECT_GT(assigned, 9000);  // JIS X 0208, NEC and IBM extensions, user-defined area
    EXPECT_GT(duplicates, 350); // NEC-selected IBM extensions and NEC row 13
    EXPECT_LT(duplicates, 400);
}

TEST(SjisCodec, TrickyCodes) {
    // Yen sign and overline positions are backslash and tilde, as on Windows.
    EXPECT_EQ(sjis::decode("\\~"), u"\\~"_s);
    EXPECT_EQ(sjis::decode(bytesOf({0x81, 0x60})), u"\uFF5E"_s); // FULLWIDTH TILDE, not WAVE DASH
    EXPECT_EQ(sjis::decode(bytesOf({0x81, 0x5F})), u"\uFF3C"_s);
    EXPECT_EQ(sjis::encode(u"\uFF5E\uFF3C"), bytesOf({0x81, 0x60, 0x81, 0x5F}));

    // Duplicate codes come back in the code Windows writes.
    EXPECT_EQ(sjis::decode(bytesOf({0x87, 0x90})), u"\u2252"_s);
    EXPECT_EQ(roundTrip(bytesOf({0x87, 0x90})), bytesOf({0x81, 0xE0}));
    EXPECT_EQ(roundTrip(bytesOf({0x81, 0xE0})), bytesOf({0x81, 0xE0}));
    EXPECT_EQ(roundTrip(bytesOf({0xED, 0x40})), bytesOf({0xFA, 0x5C})); // NEC-selected IBM -> IBM
    EXPECT_EQ(roundTrip(bytesOf({0xFA, 0x5C})), bytesOf({0xFA, 0x5C}));
    EXPECT_EQ(roundTrip(bytesOf({0xFA, 0x4A})), bytesOf({0x87, 0x54})); // Roman numeral one -> NEC row 13
    EXPECT_EQ(roundTrip(bytesOf({0xEE, 0xF9})), bytesOf({0x81, 0xCA})); // NOT SIGN -> JIS row 2

    // User-defined area.
    EXPECT_EQ(sjis::decode(bytesOf({0xF0, 0x40, 0xF9, 0xFC})), u"\uE000\uE757"_s);
    EXPECT_EQ(roundTrip(bytesOf({0xF0, 0x40, 0xF9, 0xFC})), bytesOf({0xF0, 0x40, 0xF9, 0xFC}));

    // Half-width katakana.
    for (int b = 0xA1; b <= 0xDF; ++b) {
        EXPECT_EQ(sjis::decode(bytesOf({b})), QString(QChar(0xFF61 + b - 0xA1)));
        EXPECT_EQ(roundTrip(bytesOf({b})), bytesOf({b}));
    }

    // Bytes that are no character are held as reserved code points.
    const QByteArray invalid = bytesOf({0x80, 0xA0, 0xFD, 0xFE, 0xFF});
    EXPECT_EQ(sjis::decode(invalid), unitsOf({0xF780, 0xF7A0, 0xF7FD, 0xF7FE, 0xF7FF}));
    EXPECT_EQ(roundTrip(invalid), invalid);

    // A lone lead byte at the end; a lead byte before an ASCII byte; an
    // unassigned pair; NUL bytes.
    EXPECT_EQ(sjis::decode(bytesOf({'a', 0x82})), unitsOf({u'a', 0xF782}));
    EXPECT_EQ(sjis::decode(bytesOf({0x82, '\n', 0x85, 'A'})), unitsOf({0xF782, u'\n', 0xF785, u'A'}));
    EXPECT_EQ(sjis::decode(bytesOf({0x85, 0x81, 0x40})), unitsOf({0xF785, 0xF781, u'@'}));
    EXPECT_EQ(sjis::decode(bytesOf({0, 'x', 0})), unitsOf({0, u'x', 0}));
    for (const QByteArray& bytes : {bytesOf({'a', 0x82}), bytesOf({0x82, '\r', '\n', 0x85, 'A'}),
                                    bytesOf({0x85, 0x81, 0x40}), bytesOf({0, 'x', 0})}) {
        EXPECT_EQ(roundTrip(bytes), bytes);
        EXPECT_EQ(roundTrip(bytes, LineBreaks::CrLf), bytes);
    }

    // Ordinary Japanese.
    EXPECT_EQ(sjis::decode(bytesOf({0x93, 0xFA, 0x8B, 0x4C, 0x82, 0xA0})), u"日記あ"_s);
}

TEST(SjisCodec, RandomBytesSurviveDecodeAndEncode) {
    std::mt19937 rng(932);
    for (int i = 0; i < 3000; ++i) {
        // Any bytes: one more round trip changes nothing and no byte is lost.
        const QByteArray any = randomBytes(rng, false, true);
        const QString text = sjis::decode(any);
        const QByteArray written = sjis::encode(text);
        ASSERT_EQ(written.size(), any.size()) << any.toHex().toStdString();
        ASSERT_EQ(sjis::decode(written), text) << any.toHex().toStdString();

        // Without duplicate codes, byte for byte.
        const QByteArray plain = randomBytes(rng, true, true);
        ASSERT_EQ(roundTrip(plain), plain) << plain.toHex().toStdString();

        // CR LF lines: the same bytes again in CR LF mode, and the length
        // counted as written.
        QByteArray lines = randomBytes(rng, true, false);
        lines.replace("xx", "\r\n");
        ASSERT_EQ(roundTrip(lines, LineBreaks::CrLf), lines) << lines.toHex().toStdString();
        const QString lineText = sjis::decode(lines, LineBreaks::CrLf);
        ASSERT_FALSE(lineText.contains(u'\r'));
        ASSERT_EQ(sjis::byteLength(lineText), lines.size());
    }
}

TEST(SjisCodec, CharactersCp932CannotHoldBecomeReferences) {
    EXPECT_EQ(sjis::encode(u"a😀b"), "a&#x1F600;b");
    EXPECT_EQ(sjis::encode(u"𠀋"), "&#x2000B;");                                   // CJK extension B
    EXPECT_EQ(sjis::encode(unitsOf({0xD83D, u'a', 0xDE00})), "&#xD83D;a&#xDE00;"); // lone surrogates
    EXPECT_EQ(sjis::encode(unitsOf({0xD83D})), "&#xD83D;");
    EXPECT_EQ(sjis::encode(u"é\u301C\u00A5"), "&#xE9;&#x301C;&#xA5;");
    // Many references in a row outgrow the first guess at the size.
    EXPECT_EQ(sjis::encode(QString(1000, QChar(0x4E02))), QByteArray("&#x4E02;").repeated(1000));
    // A reserved code point is its byte.
    EXPECT_EQ(sjis::encode(unitsOf({0xF700, 0xF7FE})), bytesOf({0x00, 0xFE}));

    EXPECT_EQ(sjis::byteLength(u"a😀b"), 11);
    EXPECT_EQ(sjis::byteLength(unitsOf({0xD83D, 0xF7FE})), 9);
}

TEST(SjisCodec, LineBreaks) {
    const QByteArray mixed = "<p>first line</p>\r\nsecond\rthird\nfourth\r\r\n";
    EXPECT_EQ(sjis::decode(mixed, LineBreaks::CrLf), u"<p>first line</p>\nsecond\nthird\nfourth\n\n"_s);
    EXPECT_EQ(sjis::decode(mixed), QString::fromLatin1(mixed));
    EXPECT_EQ(sjis::decode("\r", LineBreaks::CrLf), u"\n"_s);

    const QString text = u"<html>\n日記の本文です。\n\nend"_s;
    const QByteArray crlf = sjis::encode(text, LineBreaks::CrLf);
    EXPECT_EQ(crlf, sjis::encode(u"<html>\r\n日記の本文です。\r\n\r\nend"_s));
    EXPECT_EQ(sjis::encode(text).count('\r'), 0);
    EXPECT_EQ(sjis::byteLength(text), crlf.size());

    // An editor's raw text separates its lines with U+2029 (and U+2028).
    const QString raw = u"<html>\u2029日記の本文です。\u2029\u2028end"_s;
    EXPECT_EQ(sjis::encode(raw, LineBreaks::CrLf), crlf);
    EXPECT_EQ(sjis::byteLength(raw), crlf.size());
}

TEST(SjisCodec, ByteLengthAndTruncation) {
    const QString half(128, u'a');
    const QString full(64, u'あ');
    EXPECT_EQ(sjis::byteLength(half), 128);
    EXPECT_EQ(sjis::byteLength(full), 128);
    EXPECT_EQ(sjis::byteLength(u"ｱ"_s), 1);
    EXPECT_EQ(sjis::truncateToBytes(half + u'b', 128), half);
    EXPECT_EQ(sjis::truncateToBytes(full, 128), full);
    // A full-width character that would straddle the limit is left out whole.
    EXPECT_EQ(sjis::truncateToBytes(u'a' + full, 128), u'a' + full.left(63));
    EXPECT_EQ(sjis::truncateToBytes(u"a\nb"_s, 2), u"a"_s);
    EXPECT_EQ(sjis::truncateToBytes(u"a\nb"_s, 3), u"a\n"_s);
    // A surrogate pair goes whole or not at all.
    EXPECT_EQ(sjis::truncateToBytes(u"a😀"_s, 9), u"a"_s);
    EXPECT_EQ(sjis::truncateToBytes(u"a😀"_s, 10), u"a😀"_s);
    EXPECT_EQ(sjis::truncateToBytes(u"abc"_s, 0), QString());
}

TEST(SjisCodec, PagesKeepTheCodesTheyWereReadWith) {
    struct Case {
        const char* name;
        QByteArray bytes;
        QByteArray written;
    };
    const Case cases[] = {
        {"NEC row 13", bytesOf({0x87, 0x90}), bytesOf({0x87, 0x90})},
        {"its twin in JIS row 2", bytesOf({0x81, 0xE0}), bytesOf({0x81, 0xE0})},
        {"NEC-selected IBM", bytesOf({0xED, 0x40}), bytesOf({0xED, 0x40})},
        {"IBM", bytesOf({0xFA, 0x5C}), bytesOf({0xFA, 0x5C})},
        {"IBM Roman numeral", bytesOf({0xFA, 0x4A}), bytesOf({0xFA, 0x4A})},
        {"first form wins, JIS first", bytesOf({0x81, 0xE0, 'a', 0x87, 0x90}),
         bytesOf({0x81, 0xE0, 'a', 0x81, 0xE0})},
        {"first form wins, NEC first", bytesOf({0x87, 0x90, 0x81, 0xE0}), bytesOf({0x87, 0x90, 0x87, 0x90})},
        {"three codes of NOT SIGN", bytesOf({0xEE, 0xF9, 0x81, 0xCA, 0xFA, 0x54}),
         bytesOf({0xEE, 0xF9, 0xEE, 0xF9, 0xEE, 0xF9})},
        {"three codes of BECAUSE", bytesOf({0xFA, 0x5B, 0x87, 0x9A, 0x81, 0xE6}),
         bytesOf({0xFA, 0x5B, 0xFA, 0x5B, 0xFA, 0x5B})},
        {"each character its own", bytesOf({0xED, 0x40, 0x87, 0x90, 0xFA, 0x5C, 0x81, 0xE0}),
         bytesOf({0xED, 0x40, 0x87, 0x90, 0xED, 0x40, 0x87, 0x90})},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        for (sjis::LineEnding ending : {sjis::LineEnding::CrLf, sjis::LineEnding::Lf, sjis::LineEnding::Cr}) {
            sjis::CodeChoices choices;
            const QString text = sjis::decodeLines(c.bytes, ending, &choices);
            EXPECT_EQ(text, sjis::decode(c.bytes));
            EXPECT_EQ(sjis::encodeLines(text, ending, choices), c.written);
        }
    }

    // Text added to the page takes the page's codes; a character it never
    // used takes the code Windows writes.
    sjis::CodeChoices choices;
    QString text = sjis::decodeLines(bytesOf({0xED, 0x40, 0x87, 0x90}), sjis::LineEnding::CrLf, &choices);
    text += u"\u7E8A\u2252\u2261\n"_s;
    EXPECT_EQ(sjis::encodeLines(text, sjis::LineEnding::CrLf, choices),
              bytesOf({0xED, 0x40, 0x87, 0x90, 0xED, 0x40, 0x87, 0x90, 0x81, 0xDF, '\r', '\n'}));

    // Plain text chooses nothing; the first choice of a character wins.
    choices = {};
    sjis::decodeLines(sjis::encode(u"日記 ≒ ① ≒ ∵"_s), sjis::LineEnding::CrLf, &choices);
    EXPECT_EQ(choices.entries().size(), 2u); // ≒ and ∵ have twins, ① has one code
    choices = {};
    EXPECT_FALSE(choices.choose(0x8140)); // a full-width space has one code
    EXPECT_FALSE(choices.choose(0x4141));
    EXPECT_TRUE(choices.choose(0x8790));
    EXPECT_FALSE(choices.choose(0x81E0));
    EXPECT_EQ(choices.codeOf(u'\u2252'), 0x8790);
    EXPECT_EQ(choices.codeOf(u'a'), 0);
}
