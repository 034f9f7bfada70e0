// The two scans under every look-up: a substring search and a single-unit search over 16-bit
// code units. Each keystroke scans a whole text twice, so both run close to memory speed: on
// x86-64 a vector filter on two units of the key, its first and (normally) its last, picks
// candidates 32 or 64 positions at a time (SSE2, or AVX2 where the processor has it) and only
// those are compared in full.
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

// The second unit the filter looks at. Line feeds and bars are the commonest units of a record
// text and every look-up key ends in a word or in "|", so the last unit that is neither filters
// far better than a closing "|" would.
std::size_t ProbeOffset(std::u16string_view key)
{
    for (std::size_t offset = key.size() - 1; offset > 0; --offset) {
        if (key[offset] != u'|' && key[offset] != u'\n')
            return offset;
    }
    return key.size() - 1;
}

bool RestMatches(const char16_t* candidate, std::u16string_view key)
{
    // The first unit is already known to match.
    return std::memcmp(candidate + 1, key.data() + 1, (key.size() - 1) * sizeof(char16_t)) == 0;
}

// Tries each position in `mask` (bit k for at + k), lowest first.
template <typename Mask>
const char16_t* VerifyCandidates(const char16_t* at, Mask mask, std::u16string_view key)
{
    for (; mask != 0; mask &= mask - 1) {
        const char16_t* candidate = at + std::countr_zero(mask);
        if (RestMatches(candidate, key))
            return candidate;
    }
    return nullptr;
}

const char16_t* ScanPortable(const char16_t* text, std::size_t i, std::size_t positions, std::u16string_view key,
                             std::size_t probe)
{
    const char16_t first = key.front();
    const char16_t second = key[probe];
    for (; i < positions; ++i) {
        if (text[i] == first && text[i + probe] == second && RestMatches(text + i, key))
            return text + i;
    }
    return nullptr;
}

#if DICTIONARY_SCAN_X86

inline __m128i Load(const char16_t* at)
{
    return _mm_loadu_si128(reinterpret_cast<const __m128i*>(at));
}

// For `at` on a 16-byte boundary; such a load folds into the comparison that uses it.
inline __m128i LoadAligned(const char16_t* at)
{
    return _mm_load_si128(reinterpret_cast<const __m128i*>(at));
}

// Scans positions one at a time up to the next `Bytes` boundary, where the vector loops then
// start. When fewer positions are left than that, it scans none: they are too few for a block
// of Bytes / 2 units and go to the narrower loops.
template <std::size_t Bytes>
const char16_t* AlignStart(const char16_t* text, std::size_t& i, std::size_t positions, std::u16string_view key,
                           std::size_t probe)
{
    const std::size_t lead = ((Bytes - (reinterpret_cast<std::uintptr_t>(text + i) & (Bytes - 1))) & (Bytes - 1))
                             / sizeof(char16_t);
    if (lead == 0 || i + lead >= positions)
        return nullptr;
    const char16_t* found = ScanPortable(text, i, i + lead, key, probe);
    i += lead;
    return found;
}

// Candidates among the 32 positions from `at`: one bit per position.
template <bool Prefetch>
inline const char16_t* Sse2Blocks(const char16_t* text, std::size_t& i, std::size_t stop, std::u16string_view key,
                                  std::size_t probe)
{
    const __m128i first = _mm_set1_epi16(static_cast<short>(key.front()));
    const __m128i second = _mm_set1_epi16(static_cast<short>(key[probe]));
    for (; i + 32 <= stop; i += 32) {
        const char16_t* at = text + i;
        if constexpr (Prefetch)
            _mm_prefetch(reinterpret_cast<const char*>(at + Ahead), _MM_HINT_T0);
        const char16_t* probed = at + probe;
        const __m128i e0 = _mm_and_si128(_mm_cmpeq_epi16(LoadAligned(at), first), _mm_cmpeq_epi16(Load(probed), second));
        const __m128i e1 = _mm_and_si128(_mm_cmpeq_epi16(LoadAligned(at + 8), first), _mm_cmpeq_epi16(Load(probed + 8), second));
        const __m128i e2 = _mm_and_si128(_mm_cmpeq_epi16(LoadAligned(at + 16), first), _mm_cmpeq_epi16(Load(probed + 16), second));
        const __m128i e3 = _mm_and_si128(_mm_cmpeq_epi16(LoadAligned(at + 24), first), _mm_cmpeq_epi16(Load(probed + 24), second));
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

const char16_t* ScanSse2(const char16_t* text, std::size_t& i, std::size_t positions, std::u16string_view key,
                         std::size_t probe)
{
    if (const char16_t* found = AlignStart<16>(text, i, positions, key, probe))
        return found;
    // The prefetching loop stops where its prefetch would leave the text; the rest needs none.
    if (positions > Ahead) {
        if (const char16_t* found = Sse2Blocks<true>(text, i, positions - Ahead, key, probe))
            return found;
    }
    if (const char16_t* found = Sse2Blocks<false>(text, i, positions, key, probe))
        return found;
    const __m128i first = _mm_set1_epi16(static_cast<short>(key.front()));
    const __m128i second = _mm_set1_epi16(static_cast<short>(key[probe]));
    for (; i + 8 <= positions; i += 8) {
        const __m128i e = _mm_and_si128(_mm_cmpeq_epi16(LoadAligned(text + i), first),
                                        _mm_cmpeq_epi16(Load(text + i + probe), second));
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
                                                                  std::size_t stop, std::u16string_view key,
                                                                  std::size_t probe)
{
    const __m256i first = _mm256_set1_epi16(static_cast<short>(key.front()));
    const __m256i second = _mm256_set1_epi16(static_cast<short>(key[probe]));
    for (; i + 64 <= stop; i += 64) {
        const char16_t* at = text + i;
        if constexpr (Prefetch) {
            _mm_prefetch(reinterpret_cast<const char*>(at + Ahead), _MM_HINT_T0);
            _mm_prefetch(reinterpret_cast<const char*>(at + Ahead + 32), _MM_HINT_T0);
        }
        const char16_t* probed = at + probe;
        const __m256i e0 = _mm256_and_si256(_mm256_cmpeq_epi16(Load256(at), first), _mm256_cmpeq_epi16(Load256(probed), second));
        const __m256i e1 = _mm256_and_si256(_mm256_cmpeq_epi16(Load256(at + 16), first), _mm256_cmpeq_epi16(Load256(probed + 16), second));
        const __m256i e2 = _mm256_and_si256(_mm256_cmpeq_epi16(Load256(at + 32), first), _mm256_cmpeq_epi16(Load256(probed + 32), second));
        const __m256i e3 = _mm256_and_si256(_mm256_cmpeq_epi16(Load256(at + 48), first), _mm256_cmpeq_epi16(Load256(probed + 48), second));
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
                                                         std::size_t positions, std::u16string_view key,
                                                         std::size_t probe)
{
    // The first unit's loads are made 32-byte aligned so that none of them splits a cache line.
    if (const char16_t* found = AlignStart<32>(text, i, positions, key, probe))
        return found;
    if (positions > Ahead) {
        if (const char16_t* found = Avx2Blocks<true>(text, i, positions - Ahead, key, probe))
            return found;
    }
    return Avx2Blocks<false>(text, i, positions, key, probe);
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

} // namespace

ScanLevel BestScanLevel()
{
    static const ScanLevel best = FindBestScanLevel();
    return best;
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
    const std::size_t probe = m == 1 ? 0 : ProbeOffset(key);
    std::size_t i = 0;
    // Each level scans what its blocks can cover and leaves the remainder to the next narrower one.
    switch (level) {
    case ScanLevel::Avx2:
#if DICTIONARY_SCAN_AVX2
        if (const char16_t* found = ScanAvx2(text, i, positions, key, probe))
            return found;
#endif
        [[fallthrough]];
    case ScanLevel::Sse2:
#if DICTIONARY_SCAN_X86
        if (const char16_t* found = ScanSse2(text, i, positions, key, probe))
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
    return ScanPortable(text, i, positions, key, probe);
}

const char16_t* FindFirst(const char16_t* text, std::size_t length, std::u16string_view key)
{
    return FindFirstWith(BestScanLevel(), text, length, key);
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
