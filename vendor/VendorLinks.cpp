#include "vendor/VendorLinks.h"

#include <initializer_list>

#include "common/Identity.h"

// Built top to bottom before the entry point. The identity strings they start from are
// constant-initialised arrays, so they are complete before any of these is constructed.
std::u16string VersionTag = std::u16string(u"1.2.15 ") + SecondLanguageName;
std::u16string DownloadUrl = SiteRootUrl + (u"download_german?client=DesktopVersion_" + VersionTag);
std::u16string ContactUrl = SiteRootUrl + (u"contact_us?client=DesktopVersion_" + VersionTag);
std::u16string HomeUrl = SiteRootUrl + (u"/home?client=DesktopVersion_" + VersionTag);
std::u16string SessionCompletedUrl = HomeUrl + u"&SessionCompleted";

namespace {

constexpr char16_t DaySuffixMarker[] = u"&ApplicationTotalDays_";

} // namespace

std::int32_t DaysBetween(const CalendarDate& created, const CalendarDate& today)
{
    // Unsigned arithmetic wraps like the signed 32-bit sum would, without undefined behaviour.
    auto difference = [](int later, int earlier) {
        return static_cast<std::uint32_t>(later) - static_cast<std::uint32_t>(earlier);
    };
    std::uint32_t days = 365u * difference(today.year, created.year)
                       + 30u * difference(today.month, created.month)
                       + difference(today.day, created.day);
    return static_cast<std::int32_t>(days);
}

void AppendDaySuffix(std::int32_t days)
{
    const std::u16string suffix = DaySuffixMarker + ToDecimalText(days);
    for (std::u16string* url : {&DownloadUrl, &ContactUrl, &HomeUrl, &SessionCompletedUrl}) {
        if (url->find(DaySuffixMarker) == std::u16string::npos)
            url->append(suffix);
    }
}
