// The two scans under every look-up: a substring search and a single-unit search over 16-bit
// code units. Each keystroke scans a whole text twice, so both run close to memory speed: on
// x86-64 a vector filter on the key's first and last units picks candidates 32 or 64 positions
// at a time (SSE2, or AVX2 where the processor has it) and only those are compared in full.
// Every load stays inside text[0, length): a block is taken only while all its positions can
// still hold a whole key, and the rest goes through narrower blocks and then one at a time.
#include "dictionary/TextScan.h"

#include <bit>
#include <cstdint>
#include <cstring>

#include "dictionary/LookupEngine.h"

#if defined(__x86_64__) || defined(_M_X64)
#define DICTIONARY_SCAN_X86 1
#include <immintrin.h>
#endif

static_assert(std::endian::native == std::endian::little, "article texts are little-endian code units");

namespace {

// The prefetch runs this many units (2 KiB) ahead of the block being filtered.
constexpr std::size_t Ahead = 1024;

bool MiddleMatches(const char16_t* candidate, std::u16string_view key)
{
    // First and last units are already known to match.
    return std::memcmp(candidate + 1, key.data() + 1, (key.size() - 2) * sizeof(char16_t)) == 0;
}

// Tries each position in `mask` (bit k for at + k), lowest first.
template <typename Mask>
const char16_t* VerifyCandidates(const char16_t* at, Mask mask, std::u16string_view key)
{
    for (; mask != 0; mask &= mask - 1) {
        const char16_t* candidate = at + std::countr_zero(mask);
        if (MiddleMatches(candidate, key))
            return candidate;
    }
    return nullptr;
}

const char16_t* ScanPortable(const char16_t* text, std::size_t i, std::size_t positions, std::u16string_view key)
{
    const char16_t first = key.front();
    const char16_t last = key.back();
    const std::size_t lastOffset = key.size() - 1;
    for (; i < positions; ++i) {
        if (text[i] == first && text[i + lastOffset] == last && MiddleMatches(text + i, key))
            return text + i;
    }
    return nullptr;
}

#if DICTIONARY_SCAN_X86

inline __m128i Load(const char16_t* at)
{
    return _mm_loadu_si128(reinterpret_cast<const __m128i*>(at));
}

// Candidates among the 32 positions from `at`: one bit per position.
template <bool Prefetch>
inline const char16_t* Sse2Blocks(const char16_t* text, std::size_t& i, std::size_t stop, std::u16string_view key)
{
    const std::size_t lastOffset = key.size() - 1;
    const __m128i first = _mm_set1_epi16(static_cast<short>(key.front()));
    const __m128i last = _mm_set1_epi16(static_cast<short>(key.back()));
    for (; i + 32 <= stop; i += 32) {
        const char16_t* at = text + i;
        if constexpr (Prefetch)
            _mm_prefetch(reinterpret_cast<const char*>(at + Ahead), _MM_HINT_T0);
        const char16_t* end = at + lastOffset;
        const __m128i e0 = _mm_and_si128(_mm_cmpeq_epi16(Load(at), first), _mm_cmpeq_epi16(Load(end), last));
        const __m128i e1 = _mm_and_si128(_mm_cmpeq_epi16(Load(at + 8), first), _mm_cmpeq_epi16(Load(end + 8), last));
        const __m128i e2 = _mm_and_si128(_mm_cmpeq_epi16(Load(at + 16), first), _mm_cmpeq_epi16(Load(end + 16), last));
        const __m128i e3 = _mm_and_si128(_mm_cmpeq_epi16(Load(at + 24), first), _mm_cmpeq_epi16(Load(end + 24), last));
        const __m128i p0 = _mm_packs_epi16(e0, e1);
        const __m128i p1 = _mm_packs_epi16(e2, e3);
        if (_mm_movemask_epi8(_mm_or_si128(p0, p1)) == 0)
            continue;
        const std::uint32_t mask = static_cast<std::uint32_t>(_mm_movemask_epi8(p0))
                                   | static_cast<std::uint32_t>(_mm_movemask_epi8(p1)) << 16;
        if (const char16_t* found = VerifyCandidates(at, mask, key))
            return found;
    }
    return nullptr;
}

const char16_t* ScanSse2(const char16_t* text, std::size_t& i, std::size_t positions, std::u16string_view key)
{
    // The prefetching loop stops where its prefetch would leave the text; the rest needs none.
    if (positions > Ahead) {
        if (const char16_t* found = Sse2Blocks<true>(text, i, positions - Ahead, key))
            return found;
    }
    if (const char16_t* found = Sse2Blocks<false>(text, i, positions, key))
        return found;
    const __m128i first = _mm_set1_epi16(static_cast<short>(key.front()));
    const __m128i last = _mm_set1_epi16(static_cast<short>(key.back()));
    for (; i + 8 <= positions; i += 8) {
        const __m128i e = _mm_and_si128(_mm_cmpeq_epi16(Load(text + i), first),
                                        _mm_cmpeq_epi16(Load(text + i + key.size() - 1), last));
        const auto mask = static_cast<std::uint32_t>(_mm_movemask_epi8(_mm_packs_epi16(e, _mm_setzero_si128())));
        if (const char16_t* found = VerifyCandidates(text + i, mask, key))
            return found;
    }
    return nullptr;
}

#if defined(__GNUC__)
#define DICTIONARY_SCAN_AVX2 1

__attribute__((target("avx2"))) inline __m256i Load256(const char16_t* at)
{
    return _mm256_loadu_si256(reinterpret_cast<const __m256i*>(at));
}

// The positions of two 16-unit comparisons as 32 bits in text order (packs works per lane).
__attribute__((target("avx2"))) inline std::uint32_t Avx2Mask(__m256i low, __m256i high)
{
    const __m256i packed = _mm256_permute4x64_epi64(_mm256_packs_epi16(low, high), 0xD8);
    return static_cast<std::uint32_t>(_mm256_movemask_epi8(packed));
}

// Candidates among the 64 positions from `at`.
template <bool Prefetch>
__attribute__((target("avx2"))) inline const char16_t* Avx2Blocks(const char16_t* text, std::size_t& i,
                                                                  std::size_t stop, std::u16string_view key)
{
    const std::size_t lastOffset = key.size() - 1;
    const __m256i first = _mm256_set1_epi16(static_cast<short>(key.front()));
    const __m256i last = _mm256_set1_epi16(static_cast<short>(key.back()));
    for (; i + 64 <= stop; i += 64) {
        const char16_t* at = text + i;
        if constexpr (Prefetch) {
            _mm_prefetch(reinterpret_cast<const char*>(at + Ahead), _MM_HINT_T0);
            _mm_prefetch(reinterpret_cast<const char*>(at + Ahead + 32), _MM_HINT_T0);
        }
        const char16_t* end = at + lastOffset;
        const __m256i e0 = _mm256_and_si256(_mm256_cmpeq_epi16(Load256(at), first), _mm256_cmpeq_epi16(Load256(end), last));
        const __m256i e1 = _mm256_and_si256(_mm256_cmpeq_epi16(Load256(at + 16), first), _mm256_cmpeq_epi16(Load256(end + 16), last));
        const __m256i e2 = _mm256_and_si256(_mm256_cmpeq_epi16(Load256(at + 32), first), _mm256_cmpeq_epi16(Load256(end + 32), last));
        const __m256i e3 = _mm256_and_si256(_mm256_cmpeq_epi16(Load256(at + 48), first), _mm256_cmpeq_epi16(Load256(end + 48), last));
        const __m256i any = _mm256_or_si256(_mm256_or_si256(e0, e1), _mm256_or_si256(e2, e3));
        if (_mm256_testz_si256(any, any))
            continue;
        const std::uint64_t mask = Avx2Mask(e0, e1) | static_cast<std::uint64_t>(Avx2Mask(e2, e3)) << 32;
        if (const char16_t* found = VerifyCandidates(at, mask, key))
            return found;
    }
    return nullptr;
}

__attribute__((target("avx2"))) const char16_t* ScanAvx2(const char16_t* text, std::size_t& i,
                                                         std::size_t positions, std::u16string_view key)
{
    if (positions > Ahead) {
        if (const char16_t* found = Avx2Blocks<true>(text, i, positions - Ahead, key))
            return found;
    }
    return Avx2Blocks<false>(text, i, positions, key);
}

#endif
#endif

ScanLevel FindBestScanLevel()
{
#if DICTIONARY_SCAN_AVX2
    __builtin_cpu_init();
    if (__builtin_cpu_supports("avx2"))
        return ScanLevel::Avx2;
#endif
#if DICTIONARY_SCAN_X86
    return ScanLevel::Sse2;
#else
    return ScanLevel::Portable;
#endif
}

const ScanLevel BestLevel = FindBestScanLevel();

} // namespace

ScanLevel BestScanLevel()
{
    return BestLevel;
}

const char16_t* FindFirstWith(ScanLevel level, const char16_t* text, std::size_t length, std::u16string_view key)
{
    const std::size_t m = key.size();
    if (m == 0)
        return text;
    if (m > length)
        return nullptr;
    if (m == 1 && level != ScanLevel::Portable)
        return FindUnit(text, length, key.front());

    // A match may start at any of these positions; its last unit is then still inside the text.
    const std::size_t positions = length - m + 1;
    std::size_t i = 0;
    // Each level scans what its blocks can cover and leaves the remainder to the next narrower one.
    switch (level) {
    case ScanLevel::Avx2:
#if DICTIONARY_SCAN_AVX2
        if (const char16_t* found = ScanAvx2(text, i, positions, key))
            return found;
#endif
        [[fallthrough]];
    case ScanLevel::Sse2:
#if DICTIONARY_SCAN_X86
        if (const char16_t* found = ScanSse2(text, i, positions, key))
            return found;
#endif
        [[fallthrough]];
    case ScanLevel::Portable:
        break;
    }
    if (m == 1) {
        for (; i < length; ++i) {
            if (text[i] == key.front())
                return text + i;
        }
        return nullptr;
    }
    return ScanPortable(text, i, positions, key);
}

const char16_t* FindFirst(const char16_t* text, std::size_t length, std::u16string_view key)
{
    return FindFirstWith(BestLevel, text, length, key);
}

const char16_t* FindUnit(const char16_t* text, std::size_t length, char16_t unit)
{
    std::size_t i = 0;
#if DICTIONARY_SCAN_X86
    const __m128i wanted = _mm_set1_epi16(static_cast<short>(unit));
    for (; i + 32 <= length; i += 32) {
        const __m128i p0 = _mm_packs_epi16(_mm_cmpeq_epi16(Load(text + i), wanted),
                                           _mm_cmpeq_epi16(Load(text + i + 8), wanted));
        const __m128i p1 = _mm_packs_epi16(_mm_cmpeq_epi16(Load(text + i + 16), wanted),
                                           _mm_cmpeq_epi16(Load(text + i + 24), wanted));
        if (_mm_movemask_epi8(_mm_or_si128(p0, p1)) != 0) {
            const std::uint32_t mask = static_cast<std::uint32_t>(_mm_movemask_epi8(p0))
                                       | static_cast<std::uint32_t>(_mm_movemask_epi8(p1)) << 16;
            return text + i + std::countr_zero(mask);
        }
    }
    for (; i + 8 <= length; i += 8) {
        const __m128i p = _mm_packs_epi16(_mm_cmpeq_epi16(Load(text + i), wanted), _mm_setzero_si128());
        const auto mask = static_cast<std::uint32_t>(_mm_movemask_epi8(p));
        if (mask != 0)
            return text + i + std::countr_zero(mask);
    }
#endif
    for (; i < length; ++i) {
        if (text[i] == unit)
            return text + i;
    }
    return nullptr;
}
