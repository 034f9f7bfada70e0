#include <gtest/gtest.h>

#include <climits>
#include <string>

#ifdef _WIN32
#include <windows.h>
#include <filesystem>

#include "TempFolder.h"
#endif

#include "common/Identity.h"
#include "vendor/VendorLinks.h"

namespace {

const std::u16string Host = VendorHost;
const std::u16string DownloadText = u"http://" + Host + u"/download_german?client=DesktopVersion_1.2.15 German";
const std::u16string ContactText = u"http://" + Host + u"/contact_us?client=DesktopVersion_1.2.15 German";
const std::u16string HomeText = u"http://" + Host + u"//home?client=DesktopVersion_1.2.15 German";
const std::u16string SessionCompletedText = HomeText + u"&SessionCompleted";

// The page URLs are process-wide; each test starts from and leaves them without a suffix.
class VendorUrls : public ::testing::Test {
protected:
    void SetUp() override { Restore(); }
    void TearDown() override { Restore(); }

    static void Restore()
    {
        DownloadUrl = DownloadText;
        ContactUrl = ContactText;
        HomeUrl = HomeText;
        SessionCompletedUrl = SessionCompletedText;
    }

    static void ExpectSuffix(const std::u16string& suffix)
    {
        EXPECT_EQ(DownloadUrl, DownloadText + suffix);
        EXPECT_EQ(ContactUrl, ContactText + suffix);
        EXPECT_EQ(HomeUrl, HomeText + suffix);
        EXPECT_EQ(SessionCompletedUrl, SessionCompletedText + suffix);
        EXPECT_EQ(VersionTag, u"1.2.15 German");
    }
};

TEST(VendorLinks, StringsAreComposedBeforeTheEntryPoint)
{
    EXPECT_EQ(VersionTag, u"1.2.15 German");
    EXPECT_EQ(DownloadUrl, DownloadText);
    EXPECT_EQ(ContactUrl, ContactText);
    EXPECT_EQ(HomeUrl, HomeText);
    EXPECT_EQ(SessionCompletedUrl, SessionCompletedText);
    EXPECT_NE(HomeUrl.find(Host + u"//home?"), std::u16string::npos);
}

TEST_F(VendorUrls, DaySuffixGoesBehindEveryPageUrlOnce)
{
    const struct {
        std::int32_t days;
        const char16_t* suffix;
    } cases[] = {
        {0, u"&ApplicationTotalDays_0"},
        {5, u"&ApplicationTotalDays_5"},
        {-3, u"&ApplicationTotalDays_-3"},
        {INT32_MIN, u"&ApplicationTotalDays_-2147483648"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.days);
        Restore();
        AppendDaySuffix(c.days);
        ExpectSuffix(c.suffix);
        AppendDaySuffix(12);
        ExpectSuffix(c.suffix);
    }
}

TEST(VendorLinks, DaysBetweenCountsYearsAs365AndMonthsAs30Days)
{
    const struct {
        CalendarDate created;
        CalendarDate today;
        std::int32_t days;
    } cases[] = {
        {{2024, 6, 10}, {2024, 6, 10}, 0},
        {{2024, 1, 31}, {2024, 2, 1}, 0},
        {{2023, 12, 31}, {2024, 1, 1}, 5},
        {{2024, 3, 1}, {2024, 2, 28}, -3},
        {{2024, 6, 11}, {2024, 6, 10}, -1},
        {{2024, 6, 9}, {2024, 6, 10}, 1},
        {{2000, 1, 1}, {2024, 6, 10}, 8919},
        {{2024, 6, 10}, {2000, 1, 1}, -8919},
        // Far outside real dates the sum wraps like a signed 32-bit one.
        {{-2000000000, 12, 31}, {2000000000, 1, 1}, -288881000},
    };
    for (const auto& c : cases)
        EXPECT_EQ(DaysBetween(c.created, c.today), c.days)
            << c.created.year << '-' << c.created.month << '-' << c.created.day << " to "
            << c.today.year << '-' << c.today.month << '-' << c.today.day;
}

#ifdef _WIN32

CalendarDate LocalToday()
{
    SYSTEMTIME now;
    GetLocalTime(&now);
    return {now.wYear, now.wMonth, now.wDay};
}

TEST(DaysSinceCreation, CountsFromTheFolderCreationDate)
{
    TempFolder fresh;
    std::int32_t days = DaysSinceCreation(fresh.Text());
    EXPECT_GE(days, -1);
    EXPECT_LE(days, 1);

    // Wine cannot store a creation time and reports the last write time when that is earlier,
    // so both are set.
    HANDLE folder = CreateFileW(fresh.Path().c_str(), FILE_WRITE_ATTRIBUTES,
                                FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    ASSERT_NE(folder, INVALID_HANDLE_VALUE);
    SYSTEMTIME created{};
    created.wYear = 2020;
    created.wMonth = 1;
    created.wDay = 31;
    created.wHour = 12;
    FILETIME time;
    ASSERT_TRUE(SystemTimeToFileTime(&created, &time));
    EXPECT_TRUE(SetFileTime(folder, &time, nullptr, &time));
    CloseHandle(folder);
    EXPECT_EQ(DaysSinceCreation(fresh.Text()), DaysBetween({2020, 1, 31}, LocalToday()));
}

TEST(DaysSinceCreation, IsZeroWhenTheFolderCannotBeRead)
{
    TempFolder parent;
    EXPECT_EQ(DaysSinceCreation((parent.Path() / "missing").u16string()), 0);
    EXPECT_EQ(DaysSinceCreation(u""), 0);
}

TEST(DaysSinceInstallation, CountsFromTheTestProgramsFolder)
{
    wchar_t path[MAX_PATH];
    DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
    ASSERT_GT(length, 0u);
    ASSERT_LT(length, static_cast<DWORD>(MAX_PATH));
    std::filesystem::path folder = std::filesystem::path(path).parent_path();

    // The build made the folder; a build tree is not a year old.
    std::int32_t days = DaysSinceInstallation();
    EXPECT_GE(days, -1);
    EXPECT_LE(days, 365);
    EXPECT_EQ(days, DaysSinceCreation(folder.u16string()));
}

TEST_F(VendorUrls, UsageDaysAreAppendedToTheFourPageUrls)
{
    AppendUsageDays();
    ExpectSuffix(u"&ApplicationTotalDays_" + ToDecimalText(DaysSinceInstallation()));
}

#endif

} // namespace
