#include "platform/PageCodec.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <random>

using namespace Qt::StringLiterals;
using pagecodec::LineEnding;
using pagecodec::PageEncoding;
using pagecodec::PageFormat;

namespace {

QByteArray bytesOf(std::initializer_list<int> values) {
    QByteArray bytes;
    for (int v : values)
        bytes.append(char(v));
    return bytes;
}

QByteArray utf8(const QString& text) {
    return text.toUtf8();
}

QByteArray cp932(const QString& text) {
    return sjis::encode(text);
}

QByteArray roundTrip(const QByteArray& bytes) {
    const pagecodec::DecodedPage page = pagecodec::decodePage(bytes);
    return pagecodec::encodePage(page.text, page.format);
}

PageFormat formatOf(PageEncoding encoding, LineEnding ending, bool bom = false) {
    PageFormat format;
    format.encoding = encoding;
    format.lineEnding = ending;
    format.bom = bom;
    return format;
}

std::string hex(const QByteArray& bytes) {
    return bytes.toHex(' ').toStdString();
}

} // namespace

TEST(PageCodec, DecidesTheEncoding) {
    struct Case {
        const char* name;
        QByteArray bytes;
        PageEncoding encoding;
        bool bom;
    };
    const QByteArray longHead = QByteArray("<!-- ") + QByteArray(20 * 1024, 'x') + " -->";
    const Case cases[] = {
        {"byte-order mark", "\xEF\xBB\xBF<p>x</p>", PageEncoding::Utf8, true},
        {"byte-order mark before CP932 bytes", "\xEF\xBB\xBF<p>" + cp932(u"日記"_s), PageEncoding::Utf8,
         true},
        {"valid UTF-8 with Japanese", utf8(u"<p>お金</p>"_s), PageEncoding::Utf8, false},
        {"valid UTF-8, four-byte sequence", utf8(u"<p>😀</p>"_s), PageEncoding::Utf8, false},
        {"CP932 Japanese", cp932(u"<p>お金</p>"_s), PageEncoding::Cp932, false},
        {"ASCII only", "<html><body>diary</body></html>", PageEncoding::Cp932, false},
        {"empty", "", PageEncoding::Cp932, false},
        // CP932 "闃ｱ" is the same bytes as UTF-8 "花": valid UTF-8 wins.
        {"CP932 that is valid UTF-8", bytesOf({0xE8, 0x8A, 0xB1}), PageEncoding::Utf8, false},
        {"overlong form", "<p>\xC0\xAF</p>", PageEncoding::Cp932, false},
        {"encoded surrogate", "<p>\xED\xA0\x80</p>", PageEncoding::Cp932, false},
        {"above U+10FFFF", "<p>\xF4\x90\x80\x80</p>", PageEncoding::Cp932, false},
        {"UTF-8 cut short at the end", utf8(u"あい"_s).chopped(1), PageEncoding::Cp932, false},
        {"UTF-8 with one stray byte", utf8(u"あい"_s) + "\x82", PageEncoding::Cp932, false},
        {"meta charset", "<head><meta charset=\"utf-8\"></head>", PageEncoding::Utf8, false},
        {"meta charset, capitals, no quotes", "<META CHARSET=UTF-8>", PageEncoding::Utf8, false},
        {"meta charset utf8, single quotes", "<meta charset = 'utf8' />", PageEncoding::Utf8, false},
        {"http-equiv", "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=UTF-8\">",
         PageEncoding::Utf8, false},
        {"http-equiv, content first", "<meta content='text/html;charset=utf-8' http-equiv='content-type'>",
         PageEncoding::Utf8, false},
        {"http-equiv Shift_JIS",
         "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=Shift_JIS\">", PageEncoding::Cp932,
         false},
        {"meta UTF-8 over CP932 bytes", "<meta charset=\"utf-8\"><p>" + cp932(u"日記"_s), PageEncoding::Utf8,
         false},
        {"meta inside a comment", "<!-- <meta charset=\"utf-8\"> --><p>x</p>", PageEncoding::Cp932, false},
        {"first declaration counts", "<meta charset=\"shift_jis\"><meta charset=\"utf-8\">",
         PageEncoding::Cp932, false},
        {"charset as another attribute's value", "<meta name=\"charset\" content=\"utf-8\">",
         PageEncoding::Cp932, false},
        {"meta far down the page", longHead + "<meta charset=\"utf-8\">", PageEncoding::Cp932, false},
        {"xml declaration", "<?xml version=\"1.0\" encoding=\"UTF-8\"?><p/>", PageEncoding::Utf8, false},
        {"xml declaration Shift_JIS", "<?xml version=\"1.0\" encoding=\"Shift_JIS\"?><p/>",
         PageEncoding::Cp932, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const PageFormat format = pagecodec::detectPage(c.bytes);
        EXPECT_EQ(format.encoding, c.encoding);
        EXPECT_EQ(format.bom, c.bom);
        const pagecodec::DecodedPage page = pagecodec::decodePage(c.bytes);
        EXPECT_EQ(page.format.encoding, c.encoding);
        EXPECT_EQ(pagecodec::encodePage(page.text, page.format), c.bytes);
    }
    EXPECT_EQ(pagecodec::decodePage(bytesOf({0xE8, 0x8A, 0xB1})).text, u"花"_s);
}

TEST(PageCodec, DecidesTheLineEnding) {
    struct Case {
        const char* name;
        QByteArray bytes;
        LineEnding ending;
        QString text;
        QByteArray written; // empty: the same bytes
    };
    const Case cases[] = {
        {"CR LF", "a\r\nb\r\n", LineEnding::CrLf, u"a\nb\n"_s, {}},
        {"LF", "a\nb\n", LineEnding::Lf, u"a\nb\n"_s, {}},
        {"CR alone", "a\rb\r", LineEnding::Cr, u"a\nb\n"_s, {}},
        {"no line break", "a", LineEnding::CrLf, u"a"_s, {}},
        {"lone CR in an LF page", "a\nb\rc\n", LineEnding::Lf, u"a\nb\uF70Dc\n"_s, {}},
        {"lone CR in a CR LF page", "a\r\nb\rc", LineEnding::CrLf, u"a\nb\uF70Dc"_s, {}},
        {"CR before CR LF", "a\r\r\n", LineEnding::CrLf, u"a\uF70D\n"_s, {}},
        {"lone CR and LF", "a\rb\nc", LineEnding::Lf, u"a\uF70Db\nc"_s, {}},
        {"CR LF and LF mixed", "a\r\nb\nc\r", LineEnding::CrLf, u"a\nb\nc\uF70D"_s, "a\r\nb\r\nc\r"},
        {"LF first, then CR LF", "a\nb\r\n", LineEnding::CrLf, u"a\nb\n"_s, "a\r\nb\r\n"},
    };
    // Each case in a CP932 page, a UTF-8 page and a UTF-8 page with a mark.
    struct Form {
        PageEncoding encoding;
        QByteArray prefix;
        bool bom;
    };
    const Form forms[] = {{PageEncoding::Cp932, cp932(u"日記"_s), false},
                          {PageEncoding::Utf8, utf8(u"日記"_s), false},
                          {PageEncoding::Utf8, "\xEF\xBB\xBF" + utf8(u"日記"_s), true}};
    for (const Case& c : cases) {
        for (const Form& form : forms) {
            SCOPED_TRACE(std::string(c.name) +
                         (form.encoding == PageEncoding::Utf8 ? " in UTF-8" : " in CP932"));
            const QByteArray bytes = form.prefix + c.bytes;
            const pagecodec::DecodedPage page = pagecodec::decodePage(bytes);
            EXPECT_EQ(page.format.lineEnding, c.ending);
            EXPECT_EQ(page.format.encoding, form.encoding);
            EXPECT_EQ(page.text, u"日記"_s + c.text);
            const QByteArray written = c.written.isEmpty() ? bytes : form.prefix + c.written;
            EXPECT_EQ(pagecodec::encodePage(page.text, page.format), written);
        }
    }
}

TEST(PageCodec, EveryCodeAndByteComesBackUnchanged) {
    // All lead and trail pairs, assigned or not, alone and in an LF page.
    int pairs = 0;
    for (int lead = 0x81; lead <= 0xFC; ++lead) {
        for (int trail = 0x40; trail <= 0xFC; ++trail) {
            if (lead >= 0xA0 && lead < 0xE0)
                continue;
            ++pairs;
            const QByteArray code = bytesOf({lead, trail});
            ASSERT_EQ(roundTrip(code), code) << hex(code);
            const QByteArray line = "<p>" + code + "</p>\n";
            ASSERT_EQ(roundTrip(line), line) << hex(line);
        }
    }
    EXPECT_EQ(pairs, 11340);

    // Every byte alone, in an LF page, after a byte-order mark and in a page
    // that declares UTF-8.
    for (int b = 0; b < 256; ++b) {
        const QByteArray one = bytesOf({b});
        for (const QByteArray& bytes :
             {one, "a\n" + one + " b\n", "\xEF\xBB\xBF" + one, "<meta charset=\"utf-8\">" + one + "\n"}) {
            ASSERT_EQ(roundTrip(bytes), bytes) << hex(bytes);
        }
    }
}

TEST(PageCodec, PagesOfEachFormComeBackUnchanged) {
    const QString text = u"<html>\n<head><title>日記</title></head>\n<body>\n"
                         u"<p>今日は①と≒、纊と￢、ｶﾀｶﾅ、料金・釜・懐・燕。</p>\n\n</body>\n</html>\n"_s;
    const PageFormat formats[] = {
        formatOf(PageEncoding::Cp932, LineEnding::CrLf),
        formatOf(PageEncoding::Cp932, LineEnding::Lf),
        formatOf(PageEncoding::Cp932, LineEnding::Cr),
        formatOf(PageEncoding::Utf8, LineEnding::CrLf),
        formatOf(PageEncoding::Utf8, LineEnding::Lf),
        formatOf(PageEncoding::Utf8, LineEnding::CrLf, true),
        formatOf(PageEncoding::Utf8, LineEnding::Lf, true),
    };
    for (const PageFormat& format : formats) {
        SCOPED_TRACE(int(format.encoding) * 10 + int(format.lineEnding) + (format.bom ? 100 : 0));
        const QByteArray bytes = pagecodec::encodePage(text, format);
        const pagecodec::DecodedPage page = pagecodec::decodePage(bytes);
        EXPECT_EQ(page.text, text);
        EXPECT_EQ(page.format.encoding, format.encoding);
        EXPECT_EQ(page.format.bom, format.bom);
        EXPECT_EQ(page.format.lineEnding, format.lineEnding);
        EXPECT_EQ(pagecodec::encodePage(page.text, page.format), bytes);
    }

    // Bytes that are no UTF-8 in a UTF-8 page, a character of the range that
    // stands for stray bytes, and sequences cut short.
    const QByteArray bom = "\xEF\xBB\xBF";
    for (const QByteArray& bytes :
         {bom + utf8(u"お金"_s) + "\x82\xA0\xFF\xC0\xAF\n",
          bom + "\xEE\x9E\x80 \xEF\x9C\x8D\n" + utf8(u"𠀋"_s),
          bom + utf8(u"あ"_s).chopped(1) + "\n" + utf8(u"😀"_s).chopped(1), bom + bom + "x",
          "<meta charset=\"utf-8\">\r\n" + cp932(u"日記"_s) + "\r\n" + utf8(u"日記"_s)}) {
        EXPECT_EQ(roundTrip(bytes), bytes) << hex(bytes);
    }

    // Characters an editor takes for a line break stay characters of their line.
    for (const QByteArray& bytes :
         {utf8(u"日記\u2028a\u2029b\uFDD0c\uFDD1\n"_s), bom + utf8(u"x\u2029\r\ny"_s)}) {
        const QString text = pagecodec::decodePage(bytes).text;
        EXPECT_EQ(text.count(u'\n'), 1) << hex(bytes);
        for (char16_t c : {u'\u2028', u'\u2029', u'\uFDD0', u'\uFDD1'})
            EXPECT_FALSE(text.contains(QChar(c))) << hex(bytes);
        EXPECT_EQ(roundTrip(bytes), bytes) << hex(bytes);
    }
}

TEST(PageCodec, RandomPagesComeBackUnchanged) {
    // Bytes that favour lead bytes, UTF-8 sequences and line breaks, with one
    // line ending per page and no CP932 code that has a twin.
    std::mt19937 rng(65001);
    std::uniform_int_distribution<int> kind(0, 9), byte(0, 255), length(0, 120);
    const QByteArray pieces[] = {utf8(u"日"_s), utf8(u"😀"_s), cp932(u"記"_s), "\xEF\xBB\xBF", "abcdefghij"};
    const char* endings[] = {"\r\n", "\n", "\r"};
    for (int i = 0; i < 4000; ++i) {
        const char* ending = endings[i % 3];
        QByteArray bytes;
        for (int n = length(rng); bytes.size() < n;) {
            const int k = kind(rng);
            if (k < 5) {
                bytes += pieces[k];
            } else if (k == 5) {
                bytes += ending;
            } else {
                int b = byte(rng);
                if (b == '\r' || b == '\n' || b == 0x87 || b == 0xED || b == 0xEE || b == 0xFA)
                    b = 0x88;
                bytes += char(b);
            }
        }
        ASSERT_EQ(roundTrip(bytes), bytes) << hex(bytes);
    }
}

TEST(PageCodec, Utf8PageKeepsItsCharactersThroughAnEdit) {
    const QByteArray bytes = utf8(u"<p>お金</p>\n"_s);
    pagecodec::DecodedPage page = pagecodec::decodePage(bytes);
    ASSERT_EQ(page.format.encoding, PageEncoding::Utf8);
    EXPECT_EQ(page.text, u"<p>お金</p>\n"_s);
    EXPECT_EQ(sjis::byteLength(page.text), 13); // counted in CP932 bytes, the line break as two

    // Edited and edited back: the same bytes, 金 still E9 87 91.
    page.text.insert(3, u"x"_s);
    page.text.remove(3, 1);
    const QByteArray written = pagecodec::encodePage(page.text, page.format);
    EXPECT_EQ(written, bytes);
    EXPECT_TRUE(written.contains("\xE9\x87\x91"));

    // An entry put in goes in as UTF-8 with the page's line ending.
    page.text.insert(0, u"<h2>今日</h2>\u2029"_s);
    EXPECT_EQ(pagecodec::encodePage(page.text, page.format), utf8(u"<h2>今日</h2>\n<p>お金</p>\n"_s));
}

TEST(PageCodec, WritesWhatThePageFormCannotHold) {
    struct Case {
        const char* name;
        QString text;
        PageFormat format;
        QByteArray bytes;
    };
    const Case cases[] = {
        {"separators in CP932 CR LF", u"a\u2029b\u2028c\n"_s, formatOf(PageEncoding::Cp932, LineEnding::CrLf),
         "a\r\nb\r\nc\r\n"},
        {"separators in CP932 LF", u"a\u2029b\u2028c\n"_s, formatOf(PageEncoding::Cp932, LineEnding::Lf),
         "a\nb\nc\n"},
        {"separators in CP932 CR", u"a\u2029b\u2028c\n"_s, formatOf(PageEncoding::Cp932, LineEnding::Cr),
         "a\rb\rc\r"},
        {"separators in UTF-8 LF", u"a\u2029b\u2028c\n"_s, formatOf(PageEncoding::Utf8, LineEnding::Lf),
         "a\nb\nc\n"},
        {"separators in UTF-8 CR LF", u"a\u2029b\n"_s, formatOf(PageEncoding::Utf8, LineEnding::CrLf),
         "a\r\nb\r\n"},
        {"emoji in CP932", u"a😀"_s, formatOf(PageEncoding::Cp932, LineEnding::Lf), "a&#x1F600;"},
        {"emoji in UTF-8", u"a😀"_s, formatOf(PageEncoding::Utf8, LineEnding::Lf), "a\xF0\x9F\x98\x80"},
        {"lone surrogate in UTF-8", u"a"_s + QChar(0xD83D) + u"b"_s,
         formatOf(PageEncoding::Utf8, LineEnding::Lf), "a&#xD83D;b"},
        {"stray bytes in UTF-8", u"\uF780\uF70D\uF7FF"_s, formatOf(PageEncoding::Utf8, LineEnding::Lf),
         "\x80\r\xFF"},
        {"mark only in UTF-8", u"é"_s, formatOf(PageEncoding::Cp932, LineEnding::Lf, true), "&#xE9;"},
        {"mark in UTF-8", u"é"_s, formatOf(PageEncoding::Utf8, LineEnding::Lf, true), "\xEF\xBB\xBF\xC3\xA9"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(pagecodec::encodePage(c.text, c.format), c.bytes);
    }
    // Many references in a row outgrow the first guess at the size.
    EXPECT_EQ(
        pagecodec::encodePage(QString(1000, QChar(0xDC00)), formatOf(PageEncoding::Utf8, LineEnding::Lf)),
        QByteArray("&#xDC00;").repeated(1000));
}
