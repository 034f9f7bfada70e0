// The version tag and the vendor page URLs, composed before the entry point; the four page
// URLs get the days-since-installation suffix once at start-up. Portable but for the clock
// and file-time reading of DaysSinceInstallation/AppendUsageDays (VendorLinksWin32.cpp).
#pragma once

#include <cstdint>
#include <string>

extern std::u16string VersionTag;          // "1.2.15 German"
extern std::u16string DownloadUrl;         // SiteRootUrl + "download_german?client=DesktopVersion_" + VersionTag
extern std::u16string ContactUrl;          // SiteRootUrl + "contact_us?client=DesktopVersion_" + VersionTag
extern std::u16string HomeUrl;             // SiteRootUrl + "/home?client=DesktopVersion_" + VersionTag
extern std::u16string SessionCompletedUrl; // HomeUrl's text + "&SessionCompleted"

struct CalendarDate {
    int year;  // four digits
    int month; // 1 to 12
    int day;   // 1 to 31
};

// 365 days a year, 30 a month, in signed 32-bit arithmetic; not clamped.
std::int32_t DaysBetween(const CalendarDate& created, const CalendarDate& today);

// Appends "&ApplicationTotalDays_" and the decimal day count to the four page URLs, in the
// order download, contact, home, session completed; a URL that already has it gets none.
void AppendDaySuffix(std::int32_t days);

#ifdef _WIN32
// Days from `directory`'s creation (UTC date) to today's local date; 0 when the creation time
// cannot be read.
std::int32_t DaysSinceCreation(const std::u16string& directory);

// Days from the executable folder's creation (UTC date) to today's local date; 0 when the
// creation time cannot be read.
std::int32_t DaysSinceInstallation();

// AppendDaySuffix(DaysSinceInstallation()); called once at start-up.
void AppendUsageDays();
#endif
