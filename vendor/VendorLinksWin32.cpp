#include "vendor/VendorLinks.h"

#include <windows.h>

#include "common/ExecutableDirectory.h"
#include "common/WideText.h"

std::int32_t DaysSinceCreation(const std::u16string& directory)
{
    // "C:" alone names the drive's current directory; a program in the root means "C:\".
    std::u16string path = directory;
    if (path.size() == 2 && path[1] == u':')
        path.push_back(u'\\');
    WIN32_FILE_ATTRIBUTE_DATA attributes;
    SYSTEMTIME created;
    if (!GetFileAttributesExW(Wide(path), GetFileExInfoStandard, &attributes)
        || !FileTimeToSystemTime(&attributes.ftCreationTime, &created))
        return 0;
    SYSTEMTIME today;
    GetLocalTime(&today);
    return DaysBetween({created.wYear, created.wMonth, created.wDay},
                       {today.wYear, today.wMonth, today.wDay});
}

std::int32_t DaysSinceInstallation()
{
    return DaysSinceCreation(ExecutableDirectory());
}

void AppendUsageDays()
{
    AppendDaySuffix(DaysSinceInstallation());
}
