// The CP932 codec on a 50 MB diary page, against glibc's iconv on the same data.

#include "DiaryPage.h"
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

const QByteArray& page() {
    static const QByteArray bytes = bench::diaryPage(kPageBytes);
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
