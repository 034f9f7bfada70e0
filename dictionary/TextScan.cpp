// The two scans under every look-up: a substring search and a single-unit search over 16-bit
// code units. Each keystroke scans a whole text twice, so both run close to memory speed: on
// x86-64 an SSE2 filter on the key's first and last units picks candidates 32 positions at a
// time and only those are compared in full. Every load stays inside text[0, length).
#include <bit>
#include <cstring>

#include "dictionary/LookupEngine.h"

#if defined(__SSE2__) || defined(_M_X64)
#define DICTIONARY_SCAN_SSE2 1
#include <emmintrin.h>
#endif

static_assert(std::endian::native == std::endian::little, "article texts are little-endian code units");

namespace {

bool MiddleMatches(const char16_t* candidate, std::u16string_view key)
{
    // First and last units are already known to match.
    return std::memcmp(candidate + 1, key.data() + 1, (key.size() - 2) * sizeof(char16_t)) == 0;
}

#if DICTIONARY_SCAN_SSE2

inline __m128i Load(const char16_t* at)
{
    return _mm_loadu_si128(reinterpret_cast<const __m128i*>(at));
}

// Bit k set when position k of the 16 behind `first` (and `last`) is a candidate.
inline unsigned PackedMask(__m128i low, __m128i high)
{
    return static_cast<unsigned>(_mm_movemask_epi8(_mm_packs_epi16(low, high)));
}

// Positions are checked this many at a time; the prefetch runs this many units ahead (2 KiB).
constexpr std::size_t Block = 32;
constexpr std::size_t Ahead = 1024;

template <bool Prefetch>
inline const char16_t* ScanBlocks(const char16_t* text, std::size_t& i, std::size_t stop, std::u16string_view key)
{
    const std::size_t lastOffset = key.size() - 1;
    const __m128i first = _mm_set1_epi16(static_cast<short>(key.front()));
    const __m128i last = _mm_set1_epi16(static_cast<short>(key.back()));
    for (; i + Block <= stop; i += Block) {
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
        unsigned mask = static_cast<unsigned>(_mm_movemask_epi8(p0))
                        | static_cast<unsigned>(_mm_movemask_epi8(p1)) << 16;
        for (; mask != 0; mask &= mask - 1) {
            const char16_t* candidate = at + std::countr_zero(mask);
            if (MiddleMatches(candidate, key))
                return candidate;
        }
    }
    return nullptr;
}

#endif

} // namespace

const char16_t* FindUnit(const char16_t* text, std::size_t length, char16_t unit)
{
    std::size_t i = 0;
#if DICTIONARY_SCAN_SSE2
    const __m128i wanted = _mm_set1_epi16(static_cast<short>(unit));
    for (; i + 32 <= length; i += 32) {
        const __m128i e0 = _mm_cmpeq_epi16(Load(text + i), wanted);
        const __m128i e1 = _mm_cmpeq_epi16(Load(text + i + 8), wanted);
        const __m128i e2 = _mm_cmpeq_epi16(Load(text + i + 16), wanted);
        const __m128i e3 = _mm_cmpeq_epi16(Load(text + i + 24), wanted);
        const __m128i p0 = _mm_packs_epi16(e0, e1);
        const __m128i p1 = _mm_packs_epi16(e2, e3);
        if (_mm_movemask_epi8(_mm_or_si128(p0, p1)) != 0) {
            const unsigned mask = static_cast<unsigned>(_mm_movemask_epi8(p0))
                                  | static_cast<unsigned>(_mm_movemask_epi8(p1)) << 16;
            return text + i + std::countr_zero(mask);
        }
    }
    for (; i + 8 <= length; i += 8) {
        const unsigned mask = PackedMask(_mm_cmpeq_epi16(Load(text + i), wanted), _mm_setzero_si128());
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

const char16_t* FindFirst(const char16_t* text, std::size_t length, std::u16string_view key)
{
    const std::size_t m = key.size();
    if (m == 0)
        return text;
    if (m > length)
        return nullptr;
    if (m == 1)
        return FindUnit(text, length, key.front());

    // A match may start at any of these positions; its last unit is then still inside the text.
    const std::size_t positions = length - m + 1;
    std::size_t i = 0;
#if DICTIONARY_SCAN_SSE2
    // The prefetching loop stops where its prefetch would leave the text; the rest needs none.
    if (positions > Ahead) {
        if (const char16_t* found = ScanBlocks<true>(text, i, positions - Ahead, key))
            return found;
    }
    if (const char16_t* found = ScanBlocks<false>(text, i, positions, key))
        return found;
    const __m128i first = _mm_set1_epi16(static_cast<short>(key.front()));
    const __m128i last = _mm_set1_epi16(static_cast<short>(key.back()));
    for (; i + 8 <= positions; i += 8) {
        const __m128i e = _mm_and_si128(_mm_cmpeq_epi16(Load(text + i), first),
                                        _mm_cmpeq_epi16(Load(text + i + m - 1), last));
        for (unsigned mask = PackedMask(e, _mm_setzero_si128()); mask != 0; mask &= mask - 1) {
            const char16_t* candidate = text + i + std::countr_zero(mask);
            if (MiddleMatches(candidate, key))
                return candidate;
        }
    }
    for (; i < positions; ++i) {
        if (text[i] == key.front() && text[i + m - 1] == key.back() && MiddleMatches(text + i, key))
            return text + i;
    }
#else
    while (i < positions) {
        const char16_t* candidate = FindUnit(text + i, positions - i, key.front());
        if (candidate == nullptr)
            return nullptr;
        if (candidate[m - 1] == key.back() && MiddleMatches(candidate, key))
            return candidate;
        i = static_cast<std::size_t>(candidate - text) + 1;
    }
#endif
    return nullptr;
}
