// The CP932 codec on a 50 MB diary page, against glibc's iconv on the same data.

#include "platform/SjisCodec.h"

#include <QString>
#include <QStringList>
#include <benchmark/benchmark.h>

#include <iconv.h>
#include <random>
#include <sys/mman.h>

using namespace Qt::StringLiterals;

namespace {

constexpr qsizetype kPageBytes = 50 * 1024 * 1024;

// A page of diary entries: HTML markup around lines of kanji, kana, full-width
// letters and punctuation, with CR LF line breaks.
const QByteArray& page() {
    static const QByteArray bytes = [] {
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
        QString text;
        text.reserve(kPageBytes / 2 + 1024);
        while (text.size() < kPageBytes / 2) {
            const int t = tag(rng);
            text += openers[t];
            for (int n = length(rng); n > 0; --n)
                text += words[word(rng)];
            text += closers[t];
            text += u"\r\n"_s;
        }
        QByteArray encoded = sjis::encode(text);
        encoded.truncate(encoded.lastIndexOf("\r\n") + 2);
        return encoded;
    }();
    return bytes;
}

void BM_Decode(benchmark::State& state) {
    const QByteArray& bytes = page();
    for (auto _ : state) {
        QString text = sjis::decode(bytes, sjis::LineBreaks::CrLf);
        benchmark::DoNotOptimize(text.data());
    }
    state.SetBytesProcessed(state.iterations() * bytes.size());
}

void BM_Encode(benchmark::State& state) {
    const QByteArray& bytes = page();
    const QString text = sjis::decode(bytes, sjis::LineBreaks::CrLf);
    if (sjis::encode(text, sjis::LineBreaks::CrLf) != bytes)
        state.SkipWithError("encode does not give the page back");
    for (auto _ : state) {
        QByteArray out = sjis::encode(text, sjis::LineBreaks::CrLf);
        benchmark::DoNotOptimize(out.data());
    }
    state.SetBytesProcessed(state.iterations() * bytes.size());
}

// iconv into a buffer allocated per run and advised to use huge pages, as the
// codec does with its result, so both pay the same for fresh memory.
void adviseHugePages(void* data, size_t size) {
    const auto first = (reinterpret_cast<std::uintptr_t>(data) + 4095) & ~std::uintptr_t(4095);
    const auto last = (reinterpret_cast<std::uintptr_t>(data) + size) & ~std::uintptr_t(4095);
    if (last > first)
        madvise(reinterpret_cast<void*>(first), last - first, MADV_HUGEPAGE);
}

bool iconvAll(iconv_t cd, const char* in, size_t inSize, char* out, size_t outSize) {
    adviseHugePages(out, outSize);
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
    char* inPtr = const_cast<char*>(in);
    return iconv(cd, &inPtr, &inSize, &out, &outSize) != size_t(-1) && inSize == 0;
}

void BM_IconvDecode(benchmark::State& state) {
    const QByteArray& bytes = page();
    iconv_t cd = iconv_open("UTF-16LE", "CP932");
    for (auto _ : state) {
        QString text(bytes.size(), Qt::Uninitialized);
        if (!iconvAll(cd, bytes.constData(), size_t(bytes.size()), reinterpret_cast<char*>(text.data()),
                      size_t(text.size()) * 2)) {
            state.SkipWithError("iconv could not decode the page");
            break;
        }
        benchmark::DoNotOptimize(text.data());
    }
    iconv_close(cd);
    state.SetBytesProcessed(state.iterations() * page().size());
}

void BM_IconvEncode(benchmark::State& state) {
    const QByteArray& bytes = page();
    const QString text = sjis::decode(bytes); // CR LF kept, so iconv writes the same bytes
    iconv_t cd = iconv_open("CP932", "UTF-16LE");
    for (auto _ : state) {
        QByteArray out(text.size() * 2, Qt::Uninitialized);
        if (!iconvAll(cd, reinterpret_cast<const char*>(text.constData()), size_t(text.size()) * 2,
                      out.data(), size_t(out.size()))) {
            state.SkipWithError("iconv could not encode the page");
            break;
        }
        benchmark::DoNotOptimize(out.data());
    }
    iconv_close(cd);
    state.SetBytesProcessed(state.iterations() * bytes.size());
}

} // namespace

BENCHMARK(BM_Decode)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Encode)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_IconvDecode)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_IconvEncode)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
