// The substring scan at a chosen instruction-set level, for tests and benchmarks that compare
// the levels; FindFirst (LookupEngine.h) always takes the best one the processor runs.
#pragma once

#include <cstddef>
#include <string_view>

enum class ScanLevel { Portable, Sse2, Avx2 };

// The widest level this build and this processor support; found out once.
ScanLevel BestScanLevel();

// FindFirst at `level`, which must not exceed BestScanLevel().
const char16_t* FindFirstWith(ScanLevel level, const char16_t* text, std::size_t length, std::u16string_view key);
