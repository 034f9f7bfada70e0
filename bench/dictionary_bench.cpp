// Costs of one keystroke's look-up (a listing and an exact lookup) over a text the size of the
// English–German articles, against one memchr pass over the same bytes in the same run.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <map>
#include <random>
#include <string>
#include <vector>

#include <emmintrin.h>

#include "dictionary/ArticleFiles.h"
#include "dictionary/ArticleStore.h"
#include "dictionary/LookupEngine.h"
#include "dictionary/TextScan.h"

namespace {

// The installed English–German file's size.
constexpr std::size_t TextBytes = 10189890;

ArticleStore BenchStore;
std::u16string MiddleHeadword; // a headword half way through the text
const std::u16string MissingWord = u"zzyzxq";

std::u16string RandomWord(std::mt19937& random, std::size_t minimum, std::size_t maximum)
{
    static const std::u16string letters = u"abcdefghijklmnopqrstuvwxyzäöüß";
    std::u16string word(minimum + random() % (maximum - minimum + 1), u' ');
    for (auto& unit : word)
        unit = letters[random() % (random() % 4 == 0 ? letters.size() : 26)];
    return word;
}

// Sorted records "\n|headword|article\r" up to the target size, then a closing "|".
std::u16string RecordText()
{
    std::mt19937 random(12345);
    const std::size_t units = TextBytes / 2;
    std::vector<std::u16string> headwords;
    for (std::size_t estimate = 0; estimate < units; estimate += 110)
        headwords.push_back(RandomWord(random, 2, 14));
    std::sort(headwords.begin(), headwords.end());
    std::u16string text;
    text.reserve(units + 1000);
    for (const auto& headword : headwords) {
        if (text.size() >= units - 1)
            break;
        if (MiddleHeadword.empty() && text.size() >= units / 2 && headword != MissingWord)
            MiddleHeadword = headword;
        text += u"\n|" + headword + u"|";
        const std::size_t words = 3 + random() % 25;
        for (std::size_t i = 0; i < words; ++i)
            text += (i ? u", " : u"") + RandomWord(random, 1, 10);
        text += u"\r";
    }
    text.resize(units - 1);
    text += u"|";
    return text;
}

bool BuildStore()
{
    const std::u16string text = RecordText();
    for (int d = 0; d < 2; ++d) {
        const auto size = static_cast<std::uint32_t>(text.size() * 2);
        BenchStore.text[d] = AllocateArticleBuffer(size);
        if (BenchStore.text[d] == nullptr)
            return false;
        // Stored scrambled, as on disk, so that the real descrambling runs.
        for (std::size_t i = 0; i < text.size(); ++i) {
            BenchStore.text[d][2 * i] = static_cast<unsigned char>((text[i] & 0xFF) + 2);
            BenchStore.text[d][2 * i + 1] = static_cast<unsigned char>((text[i] >> 8) + 2);
        }
        BenchStore.size[d] = size;
    }
    BenchStore.loaded = true;
    DescrambleArticles(BenchStore);
    return BenchStore.units[0] == text.size()
           && ListHeadwords(BenchStore, EnglishToGerman, MissingWord).kind == ListingKind::NoMatch
           && FindArticle(BenchStore, EnglishToGerman, MiddleHeadword).kind == ArticleKind::Found
           && std::memchr(BenchStore.text[0], 0x01, BenchStore.size[0]) == nullptr;
}

// Evicts the text from every cache level, so that the next pass reads it from memory.
void FlushText()
{
    for (std::uint32_t offset = 0; offset < BenchStore.size[0] + 2; offset += 64)
        _mm_clflush(BenchStore.text[0] + offset);
    _mm_mfence();
}

// Each pass of the Cold variants starts with the text evicted; the flush is not timed.
template <bool Cold>
void Prepare(benchmark::State& state)
{
    if constexpr (Cold) {
        state.PauseTiming();
        FlushText();
        state.ResumeTiming();
    }
}

template <bool Cold>
void NoMatchPair(benchmark::State& state)
{
    for (auto _ : state) {
        Prepare<Cold>(state);
        benchmark::DoNotOptimize(ListHeadwords(BenchStore, EnglishToGerman, MissingWord));
        benchmark::DoNotOptimize(FindArticle(BenchStore, EnglishToGerman, MissingWord));
    }
    state.SetBytesProcessed(state.iterations() * 2 * static_cast<std::int64_t>(BenchStore.size[0]));
}

template <bool Cold>
void TypicalLookup(benchmark::State& state)
{
    for (auto _ : state) {
        Prepare<Cold>(state);
        benchmark::DoNotOptimize(ListHeadwords(BenchStore, EnglishToGerman, MiddleHeadword));
        benchmark::DoNotOptimize(FindArticle(BenchStore, EnglishToGerman, MiddleHeadword));
    }
}

// One full scan, at the best level or at a chosen one.
template <bool Cold>
void OneFindFirst(benchmark::State& state)
{
    const auto* text = reinterpret_cast<const char16_t*>(BenchStore.text[0]);
    const std::u16string key = u"\n|" + MissingWord;
    const auto level = state.range(0) < 0 ? BestScanLevel() : static_cast<ScanLevel>(state.range(0));
    for (auto _ : state) {
        Prepare<Cold>(state);
        benchmark::DoNotOptimize(FindFirstWith(level, text, BenchStore.units[0], key));
    }
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(BenchStore.size[0]));
}

template <bool Cold>
void Memchr(benchmark::State& state)
{
    for (auto _ : state) {
        Prepare<Cold>(state);
        benchmark::DoNotOptimize(std::memchr(BenchStore.text[0], 0x01, BenchStore.size[0]));
    }
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(BenchStore.size[0]));
}

// Console output as usual, and the best processor time per iteration of each benchmark kept for
// the ratios: on a shared machine the wall clock also counts time spent descheduled.
class TimeKeeper : public benchmark::ConsoleReporter {
public:
    std::map<std::string, double> best;
    void ReportRuns(const std::vector<Run>& runs) override
    {
        for (const Run& run : runs) {
            // Single runs, or the medians when only aggregates are reported.
            const bool usable = run.run_type == Run::RT_Iteration ? run.iterations != 0
                                                                   : run.aggregate_name == "median";
            if (!usable || run.error_occurred)
                continue;
            const double microseconds = run.GetAdjustedCPUTime(); // every benchmark here reports in us
            auto [entry, added] = best.emplace(run.run_name.function_name, microseconds);
            if (!added)
                entry->second = std::min(entry->second, microseconds);
        }
        ConsoleReporter::ReportRuns(runs);
    }
};

} // namespace

int main(int argc, char** argv)
{
    if (!BuildStore()) {
        std::fprintf(stderr, "the benchmark text could not be built\n");
        return 1;
    }
    benchmark::RegisterBenchmark("Memchr", Memchr<false>)->Unit(benchmark::kMicrosecond);
    benchmark::RegisterBenchmark("OneFindFirst", OneFindFirst<false>)->Arg(-1)->Unit(benchmark::kMicrosecond);
    benchmark::RegisterBenchmark("OneFindFirstSse2", OneFindFirst<false>)
        ->Arg(static_cast<int>(ScanLevel::Sse2))
        ->Unit(benchmark::kMicrosecond);
    benchmark::RegisterBenchmark("OneFindFirstPortable", OneFindFirst<false>)
        ->Arg(static_cast<int>(ScanLevel::Portable))
        ->Unit(benchmark::kMicrosecond);
    benchmark::RegisterBenchmark("NoMatchPair", NoMatchPair<false>)->Unit(benchmark::kMicrosecond);
    benchmark::RegisterBenchmark("TypicalLookup", TypicalLookup<false>)->Unit(benchmark::kMicrosecond);
    benchmark::RegisterBenchmark("ColdMemchr", Memchr<true>)->Unit(benchmark::kMicrosecond);
    benchmark::RegisterBenchmark("ColdOneFindFirst", OneFindFirst<true>)->Arg(-1)->Unit(benchmark::kMicrosecond);
    benchmark::RegisterBenchmark("ColdOneFindFirstSse2", OneFindFirst<true>)
        ->Arg(static_cast<int>(ScanLevel::Sse2))
        ->Unit(benchmark::kMicrosecond);
    benchmark::RegisterBenchmark("ColdNoMatchPair", NoMatchPair<true>)->Unit(benchmark::kMicrosecond);
    benchmark::RegisterBenchmark("ColdTypicalLookup", TypicalLookup<true>)->Unit(benchmark::kMicrosecond);
    benchmark::Initialize(&argc, argv);
    TimeKeeper reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();

    std::printf("\ntext: %u bytes; best processor time per iteration, in memchr passes of the same cache state\n",
                BenchStore.size[0]);
    for (const std::string prefix : {"", "Cold"}) {
        const auto memchrTime = reporter.best.find(prefix + "Memchr");
        if (memchrTime == reporter.best.end())
            continue;
        std::printf("%-22s %8.1f us\n", memchrTime->first.c_str(), memchrTime->second);
        for (const char* name : {"OneFindFirst", "OneFindFirstSse2", "OneFindFirstPortable", "NoMatchPair", "TypicalLookup"}) {
            const auto time = reporter.best.find(prefix + name);
            if (time != reporter.best.end())
                std::printf("%-22s %8.1f us = %.2f memchr passes\n", time->first.c_str(), time->second,
                            time->second / memchrTime->second);
        }
    }
    FreeArticleBuffers(BenchStore);
    return 0;
}
