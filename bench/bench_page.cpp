// A 50 MB diary page as the page codec sees it: deciding its encoding and line
// ending (on 50 MB of each form), and opening (decoding) and saving (encoding)
// the same page held in UTF-8 and in CP932, with CR LF and with LF lines.
//
// The UTF-8 page holds the same text as the 50 MB CP932 one, so it has more
// bytes (three per kana or kanji instead of two); compare the times of opening
// and saving, not the rates.

#include "DiaryPage.h"
#include "platform/PageCodec.h"
#include "platform/SjisCodec.h"

#include <QString>
#include <benchmark/benchmark.h>

using namespace Qt::StringLiterals;
using pagecodec::LineEnding;
using pagecodec::PageEncoding;

namespace {

constexpr qsizetype kPageBytes = 50 * 1024 * 1024;

const QString& pageText() {
    static const QString text = sjis::decode(bench::diaryPage(kPageBytes), sjis::LineBreaks::CrLf);
    return text;
}

pagecodec::PageFormat formatOf(PageEncoding encoding, LineEnding ending) {
    pagecodec::PageFormat format;
    format.encoding = encoding;
    format.lineEnding = ending;
    return format;
}

// The page's bytes in each form: [encoding][line ending].
const QByteArray& pageBytes(PageEncoding encoding, LineEnding ending) {
    static QByteArray pages[2][3];
    QByteArray& page = pages[int(encoding)][int(ending)];
    if (page.isEmpty())
        page = pagecodec::encodePage(pageText(), formatOf(encoding, ending));
    return page;
}

PageEncoding encodingArg(const benchmark::State& state) {
    return state.range(0) ? PageEncoding::Utf8 : PageEncoding::Cp932;
}

LineEnding endingArg(const benchmark::State& state) {
    return state.range(1) ? LineEnding::Lf : LineEnding::CrLf;
}

// Deciding is timed on 50 MB of each form: the UTF-8 page cut at a line end.
QByteArrayView first50MB(const QByteArray& bytes) {
    return QByteArrayView(bytes).first(bytes.lastIndexOf('\n', kPageBytes - 1) + 1);
}

void BM_Detect(benchmark::State& state) {
    const QByteArrayView bytes = first50MB(pageBytes(encodingArg(state), endingArg(state)));
    if (pagecodec::detectPage(bytes) != formatOf(encodingArg(state), endingArg(state)))
        state.SkipWithError("the page is decided wrongly");
    for (auto _ : state) {
        pagecodec::PageFormat format = pagecodec::detectPage(bytes);
        benchmark::DoNotOptimize(format);
    }
    state.SetBytesProcessed(state.iterations() * bytes.size());
}

void BM_Decode(benchmark::State& state) {
    const QByteArray& bytes = pageBytes(encodingArg(state), endingArg(state));
    if (pagecodec::decodePage(bytes).text != pageText())
        state.SkipWithError("the page does not decode to its text");
    for (auto _ : state) {
        pagecodec::DecodedPage page = pagecodec::decodePage(bytes);
        benchmark::DoNotOptimize(page.text.data());
    }
    state.SetBytesProcessed(state.iterations() * bytes.size());
}

void BM_Encode(benchmark::State& state) {
    const QByteArray& bytes = pageBytes(encodingArg(state), endingArg(state));
    const pagecodec::PageFormat format = pagecodec::decodePage(bytes).format;
    if (pagecodec::encodePage(pageText(), format) != bytes)
        state.SkipWithError("encode does not give the page back");
    for (auto _ : state) {
        QByteArray out = pagecodec::encodePage(pageText(), format);
        benchmark::DoNotOptimize(out.data());
    }
    state.SetBytesProcessed(state.iterations() * bytes.size());
}

// The plain CP932 decode the program used before pages kept their own bytes.
void BM_PlainCp932Decode(benchmark::State& state) {
    const QByteArray& bytes = pageBytes(PageEncoding::Cp932, LineEnding::CrLf);
    for (auto _ : state) {
        QString text = sjis::decode(bytes, sjis::LineBreaks::CrLf);
        benchmark::DoNotOptimize(text.data());
    }
    state.SetBytesProcessed(state.iterations() * bytes.size());
}

void pageForms(benchmark::internal::Benchmark* b) {
    b->ArgNames({"utf8", "lf"});
    for (int utf8 : {0, 1})
        for (int lf : {0, 1})
            b->Args({utf8, lf});
    b->Unit(benchmark::kMillisecond);
}

} // namespace

BENCHMARK(BM_Detect)->Apply(pageForms);
BENCHMARK(BM_Decode)->Apply(pageForms);
BENCHMARK(BM_Encode)->Apply(pageForms);
BENCHMARK(BM_PlainCp932Decode)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
