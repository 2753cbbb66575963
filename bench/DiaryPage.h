#pragma once
// A generated diary page for the benchmarks: HTML markup around lines of kanji,
// kana, full-width letters and punctuation, with CR LF line breaks, in CP932;
// and the same page in UTF-8, or packed into one single line.

#include "platform/SjisCodec.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <random>

namespace bench {

using namespace Qt::StringLiterals;

// About pageBytes bytes of CP932 ending in a whole line.
inline QByteArray diaryPage(qsizetype pageBytes) {
    const QStringList words = {
        u"今日"_s,   u"は"_s,   u"朝から"_s,     u"天気"_s,   u"が"_s,       u"良く"_s, u"公園"_s,
        u"まで"_s,   u"散歩"_s, u"しました"_s,   u"。"_s,     u"、"_s,       u"友達"_s, u"と"_s,
        u"駅前"_s,   u"の"_s,   u"喫茶店"_s,     u"で"_s,     u"コーヒー"_s, u"を"_s,   u"飲み"_s,
        u"ながら"_s, u"写真"_s, u"の"_s,         u"話"_s,     u"です"_s,     u"「"_s,   u"ホームページ"_s,
        u"」"_s,     u"更新"_s, u"１２月３日"_s, u"（金）"_s, u"ＰＣ"_s,     u"！"_s,   u"？"_s,
        u"…"_s,      u"夕方"_s, u"雨"_s,         u"降り"_s,   u"始め"_s,     u"ｶﾒﾗ"_s,  u"読書"_s,
        u"音楽"_s,   u"週末"_s, u"日記"_s,       u"書く"_s,   u"時間"_s,     u"東京"_s,
    };
    const QStringList openers = {u"<p>"_s,
                                 u"<br>"_s,
                                 u"<div class=\"day\">"_s,
                                 u"<b>"_s,
                                 u"<a href=\"http://example.com/diary/2001/12.html#d3\">"_s,
                                 u"<font color=\"#336699\">"_s,
                                 u"<h2>"_s,
                                 QString()};
    const QStringList closers = {u"</p>"_s, QString(),    u"</div>"_s, u"</b>"_s,
                                 u"</a>"_s, u"</font>"_s, u"</h2>"_s,  QString()};
    std::mt19937 rng(932);
    std::uniform_int_distribution<int> word(0, int(words.size()) - 1);
    std::uniform_int_distribution<int> tag(0, int(openers.size()) - 1);
    std::uniform_int_distribution<int> length(4, 30);
    QList<qsizetype> wordBytes;
    for (const QString& w : words)
        wordBytes << sjis::byteLength(w);
    QString text;
    text.reserve(pageBytes * 2 / 3 + 1024);
    for (qsizetype bytes = 0; bytes < pageBytes;) {
        const int t = tag(rng);
        text += openers[t];
        bytes += openers[t].size() + closers[t].size() + 2;
        for (int n = length(rng); n > 0; --n) {
            const int w = word(rng);
            text += words[w];
            bytes += wordBytes[w];
        }
        text += closers[t];
        text += u"\r\n"_s;
    }
    QByteArray encoded = sjis::encode(text);
    return encoded;
}

// The text of diaryPage(pageBytes) in UTF-8 (more bytes: three per kana or kanji).
inline QByteArray utf8DiaryPage(qsizetype cp932Bytes) {
    return sjis::decode(diaryPage(cp932Bytes)).toUtf8();
}

// About pageBytes bytes of CP932 without a single line break, as some site
// tools pack a page.
inline QByteArray singleLineDiaryPage(qsizetype pageBytes) {
    return diaryPage(pageBytes).replace("\r\n", "");
}

} // namespace bench
