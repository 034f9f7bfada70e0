// The program's identity strings and the small helpers every subsystem shares.
// Everything here is portable: no Win32 header is included.
#pragma once

#include <cstdint>
#include <string>

#include "BuildConfig.h"

// A translation direction; also the index of the direction tab, of each per-direction
// control table and of the two texts of the article store.
enum Direction : int {
    EnglishToGerman = 0,
    GermanToEnglish = 1,
};

// Language names; direction 0 goes from the first to the second, direction 1 back.
inline constexpr char16_t FirstLanguageName[] = u"English";
inline constexpr char16_t SecondLanguageName[] = u"German";

// Host of the vendor's web site, fixed at configure time (CMake cache variable VENDOR_HOST).
inline constexpr char16_t VendorHost[] = u"" DICT_VENDOR_HOST;

// "http://" + VendorHost + "/"; ends the article-file messages and starts the vendor URLs.
inline constexpr char16_t SiteRootUrl[] = u"http://" DICT_VENDOR_HOST u"/";

// A signed 32-bit value as decimal text: no leading zeros, "-" for negatives, no grouping.
std::u16string ToDecimalText(std::int32_t value);
