#include <gtest/gtest.h>

#include <climits>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <utility>
#include <vector>

#ifdef _WIN32
#include <windows.h>
#else
#include <fcntl.h>
#include <unistd.h>
#endif

#include "settings/ConfigStore.h"
#include "TempFolder.h"

using namespace std::string_literals;

namespace {

using Entries = std::vector<std::pair<std::u16string, std::u16string>>;

Entries EntriesOf(const ConfigStore& store)
{
    return Entries(store.begin(), store.end());
}

class ConfigFile : public ::testing::Test {
protected:
    std::filesystem::path FilePath() const { return folder.Path() / "Configuration.dat"; }

    void WriteFile(const std::string& bytes) const
    {
        std::ofstream(FilePath(), std::ios::binary) << bytes;
    }

    std::string ReadFile() const
    {
        std::ifstream in(FilePath(), std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }

    Entries Load(const std::string& bytes)
    {
        WriteFile(bytes);
        LoadConfiguration(store, folder.Text());
        return EntriesOf(store);
    }

    // Makes the file read-only; false when the file can still be opened for writing, as for
    // root, whom POSIX permission bits do not bind (Wine maps the read-only attribute to them).
    bool MakeFileReadOnly() const
    {
#ifdef _WIN32
        SetFileAttributesW(FilePath().c_str(), FILE_ATTRIBUTE_READONLY);
        HANDLE probe = CreateFileW(FilePath().c_str(), GENERIC_WRITE,
                                   FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                   OPEN_EXISTING, 0, nullptr);
        if (probe == INVALID_HANDLE_VALUE)
            return true;
        CloseHandle(probe);
        return false;
#else
        std::filesystem::permissions(FilePath(), std::filesystem::perms::owner_read
                                                   | std::filesystem::perms::group_read
                                                   | std::filesystem::perms::others_read);
        int probe = open(FilePath().c_str(), O_WRONLY);
        if (probe < 0)
            return true;
        close(probe);
        return false;
#endif
    }

    TempFolder folder;
    ConfigStore store;
};

const std::string Line1023(1023, 'x');
const std::string Line1024(1024, 'x');

TEST_F(ConfigFile, ReadsLinesAsKeyValueEntries)
{
    const struct {
        const char* name;
        std::string bytes;
        Entries entries;
    } cases[] = {
        {"empty file", "", {}},
        {"last line without line end", "A=1\r\nB=2", {{u"A", u"1"}, {u"B", u"2"}}},
        {"CR LF line ends", "A=1\r\nB=2\r\n", {{u"A", u"1"}, {u"B", u"2"}}},
        {"LF line ends", "A=1\nB=2\n", {{u"A", u"1"}, {u"B", u"2"}}},
        {"split at the first equals sign", "K=a=b\n", {{u"K", u"a=b"}}},
        {"no equals sign", "word\r\n", {{u"word", u"word"}}},
        {"empty lines", "\r\n\n", {{u"", u""}, {u"", u""}}},
        {"empty key and value", "=\n", {{u"", u""}}},
        {"nothing trimmed", " LoadOnStart=true\n\tK = v \n",
         {{u"\tK ", u" v "}, {u" LoadOnStart", u"true"}}},
        {"lone CR inside a value", "K=a\rb\r\n", {{u"K", u"a\rb"}}},
        {"only the CR before LF dropped", "K=v\r\r\n", {{u"K", u"v\r"}}},
        {"CR at the end of the file kept", "K=v\r", {{u"K", u"v\r"}}},
        {"bytes 0x80 to 0xFF", "K=\x80\xE4\xFF\n", {{u"K", u"\u0080\u00E4\u00FF"}}},
        {"byte-order mark is text", "\xEF\xBB\xBFK=v\n", {{u"\u00EF\u00BB\u00BFK", u"v"}}},
        {"Ctrl-Z is text", "K=a\x1A" "b\nL=c\n", {{u"K", u"a\x1A" u"b"}, {u"L", u"c"}}},
        {"NUL ends the line's text", "K=ab\0cd\nL=1\n"s, {{u"K", u"ab"}, {u"L", u"1"}}},
        {"NUL first", "\0K=v\n"s, {{u"", u""}}},
        {"duplicates keep file order", "A=true\nB=x\nA=false\n",
         {{u"A", u"true"}, {u"A", u"false"}, {u"B", u"x"}}},
        {"1023 characters", "A=1\n" + Line1023 + "\nC=3", {{u"A", u"1"}, {u"C", u"3"}, {std::u16string(1023, u'x'), std::u16string(1023, u'x')}}},
        {"1023 characters and CR LF", "A=1\r\n" + Line1023 + "\r\nC=3\r\n",
         {{u"A", u"1"}, {u"C", u"3"}, {std::u16string(1023, u'x'), std::u16string(1023, u'x')}}},
        {"1024 characters end the reading", "A=1\n" + Line1024 + "\nC=3\n", {{u"A", u"1"}}},
        {"1024 with CR LF", "A=1\r\n" + Line1024 + "\r\nC=3\r\n", {{u"A", u"1"}}},
        {"1023 and a CR at the end of the file", "A=1\n" + Line1023 + "\r", {{u"A", u"1"}}},
        {"long last line", "A=1\n" + Line1024, {{u"A", u"1"}}},
        {"a long line ends all reading", "A=1\n" + std::string(5000, 'y') + "\nB=2\n", {{u"A", u"1"}}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Load(c.bytes), c.entries) << c.name;
}

TEST_F(ConfigFile, LoadEmptiesTheStoreFirst)
{
    store.emplace(u"Old", u"1");
    EXPECT_EQ(Load("New=2\n"), (Entries{{u"New", u"2"}}));

    store.emplace(u"Old", u"1");
    std::filesystem::remove(FilePath());
    LoadConfiguration(store, folder.Text());
    EXPECT_TRUE(store.empty());
}

TEST_F(ConfigFile, FileThatCannotBeOpenedForWritingReadsAsEmpty)
{
    WriteFile("LoadOnStart=true\r\n");
    if (!MakeFileReadOnly())
        GTEST_SKIP() << "a read-only file stays writable for this user (root)";
    store.emplace(u"Old", u"1");
    LoadConfiguration(store, folder.Text());
    EXPECT_TRUE(store.empty());
}

TEST_F(ConfigFile, FolderInPlaceOfTheFileReadsAsEmptyAndIsNotReplaced)
{
    std::filesystem::create_directory(FilePath());
    store.emplace(u"Old", u"1");
    LoadConfiguration(store, folder.Text());
    EXPECT_TRUE(store.empty());
    SaveConfiguration(store, folder.Text());
    EXPECT_TRUE(std::filesystem::is_directory(FilePath()));
}

TEST_F(ConfigFile, SaveWritesTheThreeLinesByteForByte)
{
    SetSetting(store, u"LoadOnStart", u"true");
    SetSetting(store, u"AlwaysOnTop", u"false");
    SetSetting(store, u"DefaultLanguageId", u"1");
    SaveConfiguration(store, folder.Text());
    const std::string expected = "LoadOnStart=true\r\nAlwaysOnTop=false\r\nDefaultLanguageId=1\r\n";
    EXPECT_EQ(expected.size(), 58u);
    EXPECT_EQ(ReadFile(), expected);
}

TEST_F(ConfigFile, SaveFallsBackForAbsentKeysAndKeepsEmptyValues)
{
    SaveConfiguration(store, folder.Text());
    EXPECT_EQ(ReadFile(), "LoadOnStart=true\r\nAlwaysOnTop=false\r\nDefaultLanguageId=0\r\n");

    SetSetting(store, u"AlwaysOnTop", u"");
    SetSetting(store, u"DefaultLanguageId", u"\u00E4\u20AC");
    SaveConfiguration(store, folder.Text());
    EXPECT_EQ(ReadFile(), "LoadOnStart=true\r\nAlwaysOnTop=\r\nDefaultLanguageId=\xE4?\r\n");
}

TEST_F(ConfigFile, SaveReplacesDuplicatesAndOtherKeys)
{
    Load("Other=1\nAlwaysOnTop=true\nAlwaysOnTop=false\nLoadOnStart=false\n"
         "DefaultLanguageId=1\nZ=" + std::string(400, 'z') + "\n");
    EXPECT_EQ(GetSetting(store, u"AlwaysOnTop"), u"true");

    SetSetting(store, u"AlwaysOnTop", u"false");
    EXPECT_EQ(EntriesOf(store)[0], (std::pair<std::u16string, std::u16string>{u"AlwaysOnTop", u"false"}));
    EXPECT_EQ(EntriesOf(store)[1], (std::pair<std::u16string, std::u16string>{u"AlwaysOnTop", u"false"}));

    SaveConfiguration(store, folder.Text());
    EXPECT_EQ(ReadFile(), "LoadOnStart=false\r\nAlwaysOnTop=false\r\nDefaultLanguageId=1\r\n");
    LoadConfiguration(store, folder.Text());
    EXPECT_EQ(EntriesOf(store),
              (Entries{{u"AlwaysOnTop", u"false"}, {u"DefaultLanguageId", u"1"}, {u"LoadOnStart", u"false"}}));
}

TEST_F(ConfigFile, FailedSaveLeavesEverythingAsItWas)
{
    const std::u16string missing = (folder.Path() / "missing").u16string();
    SaveConfiguration(store, missing);
    EXPECT_FALSE(std::filesystem::exists(folder.Path() / "missing"));

    WriteFile("AlwaysOnTop=true\n");
    if (!MakeFileReadOnly())
        GTEST_SKIP() << "a read-only file stays writable for this user (root)";
    SaveConfiguration(store, folder.Text());
    EXPECT_EQ(ReadFile(), "AlwaysOnTop=true\n");
}

TEST_F(ConfigFile, SaveThenLoadRoundTripsHighBytes)
{
    SetSetting(store, u"LoadOnStart", u"\u0080\u00FF=");
    SaveConfiguration(store, folder.Text());
    LoadConfiguration(store, folder.Text());
    EXPECT_EQ(GetSetting(store, u"LoadOnStart"), u"\u0080\u00FF=");
}

TEST(ConfigStore, GetSettingFindsTheFirstAddedEntry)
{
    ConfigStore store;
    EXPECT_EQ(GetSetting(store, u"K"), std::nullopt);
    store.emplace(u"K", u"");
    store.emplace(u"K", u"second");
    store.emplace(u"Ka", u"longer key");
    store.emplace(u"", u"empty key");
    EXPECT_EQ(GetSetting(store, u"K"), u"");
    EXPECT_EQ(GetSetting(store, u"k"), std::nullopt);
    EXPECT_EQ(GetSetting(store, u""), u"empty key");
    EXPECT_EQ(GetSetting(store, u"Ka"), u"longer key");
    EXPECT_EQ(GetSetting(store, u"Kb"), std::nullopt);
}

TEST(ConfigStore, SetSettingReplacesOnlyTheFirstEntryOrAdds)
{
    ConfigStore store;
    store.emplace(u"Ka", u"other");
    SetSetting(store, u"K", u"new");
    EXPECT_EQ(EntriesOf(store), (Entries{{u"K", u"new"}, {u"Ka", u"other"}}));

    store.emplace(u"K", u"later");
    SetSetting(store, u"K", u"changed");
    EXPECT_EQ(EntriesOf(store), (Entries{{u"K", u"changed"}, {u"K", u"later"}, {u"Ka", u"other"}}));
}

TEST(ConfigStore, FlagIsOnWhenTheValueBeginsWithTrue)
{
    const struct {
        const char16_t* value;
        bool on;
    } cases[] = {
        {u"true", true}, {u"true ", true}, {u"trueish", true}, {u"True", false},
        {u" true", false}, {u"TRUE", false}, {u"tru", false}, {u"yes", false},
        {u"1", false}, {u"", false},
    };
    for (const auto& c : cases) {
        ConfigStore store{{u"LoadOnStart", c.value}};
        EXPECT_EQ(IsSettingTrue(store, u"LoadOnStart"), c.on) << ::testing::PrintToString(std::u16string(c.value));
    }
    EXPECT_FALSE(IsSettingTrue(ConfigStore{}, u"LoadOnStart"));
    EXPECT_FALSE(IsSettingTrue(ConfigStore{{u"LoadOnStart", u"false"}, {u"LoadOnStart", u"true"}}, u"LoadOnStart"));
}

TEST(ConfigStore, DecimalSettingFollowsWtoi)
{
    const struct {
        std::u16string value;
        int number;
    } cases[] = {
        {u"1", 1}, {u"1abc", 1}, {u" 1", 1}, {u"\t\r\n\v\f 1", 1}, {u"", 0}, {u"abc", 0},
        {u"-1", -1}, {u"+7", 7}, {u"007", 7}, {u"12 3", 12}, {u"-", 0}, {u"- 1", 0},
        {u"+-1", 0}, {u"0x10", 0}, {u"1.9", 1}, {u"\u0661", 0},
        {u"2147483647", INT_MAX}, {u"-2147483648", INT_MIN},
        {u"2147483648", INT_MAX}, {u"-2147483649", INT_MIN},
        {u"99999999999999999999999", INT_MAX}, {u"-" + std::u16string(2000, u'9'), INT_MIN},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ReadDecimalSetting(c.value), c.number) << ::testing::PrintToString(c.value);
}

} // namespace
