#include <gtest/gtest.h>

#include <vector>

#include "article_test_support.h"
#include "dictionary/LookupEngine.h"

namespace {

const std::u16string M1 =
    u"Dictionary article file not found, please try reinstall application or download latest version from ";
const std::u16string M2 =
    u"Dictionary article file not found, please try reinstall application or download latest version ";

// The plain record "\n|a|x\n" as it is stored on disk.
const std::string ExampleStored("\x0C\x02\x7E\x02\x63\x02\x7E\x02\x7A\x02\x0C\x02", 12);

std::string Bytes(const unsigned char* buffer, std::size_t count)
{
    return std::string(reinterpret_cast<const char*>(buffer), count);
}

// Platform file access with failures injected per direction, in the order the files are opened.
enum class Fault { None, Size, Allocation, Read };

struct Script {
    Fault fault[2] = {Fault::None, Fault::None};
    int opens = 0;  // files opened successfully
    int closes = 0;
    int sized = 0;  // size requests so far, which tells the direction
    int allocations = 0;
    int reads = 0;
    std::vector<std::u16string> tried; // every path handed to open
};
Script Current;

ArticleFile* ScriptOpen(const std::u16string& path)
{
    Current.tried.push_back(path);
    ArticleFile* file = PlatformArticleFiles().open(path);
    if (file != nullptr)
        ++Current.opens;
    return file;
}

bool ScriptSize(ArticleFile* file, std::uint32_t& bytes)
{
    if (Current.fault[Current.sized++] == Fault::Size)
        return false;
    return PlatformArticleFiles().size(file, bytes);
}

unsigned char* ScriptAllocate(std::uint32_t bytes)
{
    if (Current.fault[Current.allocations++] == Fault::Allocation)
        return nullptr;
    return AllocateArticleBuffer(bytes);
}

bool ScriptRead(ArticleFile* file, unsigned char* buffer, std::uint32_t bytes)
{
    if (Current.fault[Current.reads++] == Fault::Read) {
        // Fail half way, after part of the data has landed in the buffer.
        PlatformArticleFiles().read(file, buffer, bytes / 2);
        return false;
    }
    return PlatformArticleFiles().read(file, buffer, bytes);
}

void ScriptClose(ArticleFile* file)
{
    ++Current.closes;
    PlatformArticleFiles().close(file);
}

const ArticleFileAccess ScriptedAccess = {ScriptOpen, ScriptSize, ScriptRead, ScriptClose, ScriptAllocate};

} // namespace

TEST(ArticleFiles, NamesAndPaths)
{
    EXPECT_EQ(ArticleFileName(EnglishToGerman), u"Articles_English_German.dat");
    EXPECT_EQ(ArticleFileName(GermanToEnglish), u"Articles_German_English.dat");
    EXPECT_EQ(ArticleFilePath(u"C:", EnglishToGerman), u"C:\\Articles\\Articles_English_German.dat");
    EXPECT_EQ(ArticleFilePath(u"D:\\Programs\\Wörterbuch", GermanToEnglish),
              u"D:\\Programs\\Wörterbuch\\Articles\\Articles_German_English.dat");
}

TEST(ArticleFiles, MessageTextsEndWithTheSiteRoot)
{
    EXPECT_EQ(ArticleMessageText(ArticleLoadMessage::FileNotFound), M1 + SiteRootUrl);
    EXPECT_EQ(ArticleMessageText(ArticleLoadMessage::SizeUnknown), M2 + SiteRootUrl);
    EXPECT_EQ(ArticleMessageText(ArticleLoadMessage::None), u"");
}

TEST(ArticleFiles, ExampleRecordIsStoredAsDocumentedAndReadsBack)
{
    EXPECT_EQ(ScrambledBytes(u"\n|a|x\n"), ExampleStored);

    TemporaryFolder folder;
    folder.Write(u"eg.dat", ExampleStored);
    folder.Write(u"ge.dat", ExampleStored);
    ScopedStore scoped;
    ArticleStore& store = scoped.store;
    ASSERT_EQ(LoadArticleFiles(store, folder.File(u"eg.dat"), folder.File(u"ge.dat")), ArticleLoadMessage::None);
    ASSERT_TRUE(store.loaded);
    EXPECT_EQ(store.size[0], 12u);
    EXPECT_EQ(Bytes(store.text[0], 12), ExampleStored) << "loading alone leaves the bytes scrambled";

    DescrambleArticles(store);
    const std::string plain("\x0A\x00\x7C\x00\x61\x00\x7C\x00\x78\x00\x0A\x00", 12);
    for (int d = 0; d < 2; ++d) {
        EXPECT_EQ(Bytes(store.text[d], 14), plain + std::string(2, '\0')) << "the terminator stays zero";
        EXPECT_EQ(store.units[d], 6u);
        const ListingOutcome listing = ListHeadwords(store, static_cast<Direction>(d), u"a");
        EXPECT_EQ(listing.kind, ListingKind::Listed);
        EXPECT_EQ(listing.headwords, std::vector<std::u16string>{u"a"});
        // No "|" follows the only article, so it has no end.
        EXPECT_EQ(FindArticle(store, static_cast<Direction>(d), u"a").kind, ArticleKind::NoArticleEnd);
    }

    DescrambleArticles(store);
    EXPECT_EQ(Bytes(store.text[0], 12), plain) << "a second descrambling changes nothing";
}

TEST(ArticleFiles, OddSizeEndsWithAUnitWhoseHighByteIsZero)
{
    // "\n|a|x\n" and then a single byte 7E: the last unit is "|" with the buffer's zero as high byte.
    TemporaryFolder folder;
    const std::string stored = ExampleStored + "\x7E";
    folder.Write(u"eg.dat", stored);
    folder.Write(u"ge.dat", ExampleStored);
    ScopedStore scoped;
    ArticleStore& store = scoped.store;
    ASSERT_EQ(LoadArticleFiles(store, folder.File(u"eg.dat"), folder.File(u"ge.dat")), ArticleLoadMessage::None);
    DescrambleArticles(store);
    EXPECT_EQ(store.size[0], 13u);
    EXPECT_EQ(store.units[0], 7u);
    EXPECT_EQ(store.text[0][12], 0x7C);
    // One spare byte and a whole zero unit after the data, all still zero.
    EXPECT_EQ(Bytes(store.text[0] + 13, 3), std::string(3, '\0'));
    const ArticleOutcome outcome = FindArticle(store, EnglishToGerman, u"a");
    EXPECT_EQ(outcome.kind, ArticleKind::Found);
    EXPECT_EQ(outcome.article, u"x\n");
    EXPECT_EQ(FindArticle(store, GermanToEnglish, u"a").kind, ArticleKind::NoArticleEnd);
}

TEST(ArticleFiles, ZeroUnitEndsTheText)
{
    ScopedStore scoped;
    FillStore(scoped, std::u16string(u"\n|a|1\n|b|2\n\0\n|c|3\n|", 20));
    EXPECT_EQ(scoped.store.units[0], 11u);
    EXPECT_EQ(ListHeadwords(scoped.store, EnglishToGerman, u"c").kind, ListingKind::NoMatch);
    EXPECT_EQ(FindArticle(scoped.store, EnglishToGerman, u"b").kind, ArticleKind::NoArticleEnd);
}

// Each row: what exists on disk and what goes wrong, then the outcome the caller sees.
TEST(ArticleFiles, LoadFailuresTable)
{
    enum class Disk { Present, Missing, Empty, Folder };
    const struct {
        const char* name;
        Disk disk[2];
        Fault fault[2];
        ArticleLoadMessage message;
        bool loaded;
        int tried;         // paths handed to open
        bool retained;     // direction 0's buffer kept for the store after direction 1 failed
        bool text[2];      // buffers published
    } cases[] = {
        {"both present", {Disk::Present, Disk::Present}, {}, ArticleLoadMessage::None, true, 2, false, {true, true}},
        {"0 missing", {Disk::Missing, Disk::Present}, {}, ArticleLoadMessage::FileNotFound, false, 1, false, {false, false}},
        {"0 is a folder", {Disk::Folder, Disk::Present}, {}, ArticleLoadMessage::FileNotFound, false, 1, false, {false, false}},
        {"0 size fails", {Disk::Present, Disk::Present}, {Fault::Size, Fault::None}, ArticleLoadMessage::FileNotFound, false, 1, false, {false, false}},
        {"1 missing", {Disk::Present, Disk::Missing}, {}, ArticleLoadMessage::FileNotFound, false, 2, true, {false, false}},
        {"1 size fails", {Disk::Present, Disk::Present}, {Fault::None, Fault::Size}, ArticleLoadMessage::SizeUnknown, false, 2, true, {false, false}},
        {"0 not allocated", {Disk::Present, Disk::Present}, {Fault::Allocation, Fault::None}, ArticleLoadMessage::None, false, 2, false, {false, true}},
        {"1 not allocated", {Disk::Present, Disk::Present}, {Fault::None, Fault::Allocation}, ArticleLoadMessage::None, false, 2, false, {true, false}},
        {"0 not allocated, 1 missing", {Disk::Present, Disk::Missing}, {Fault::Allocation, Fault::None}, ArticleLoadMessage::FileNotFound, false, 2, false, {false, false}},
        {"0 empty", {Disk::Empty, Disk::Present}, {}, ArticleLoadMessage::None, false, 2, false, {true, true}},
        {"1 empty", {Disk::Present, Disk::Empty}, {}, ArticleLoadMessage::None, false, 2, false, {true, true}},
        {"0 read error", {Disk::Present, Disk::Present}, {Fault::Read, Fault::None}, ArticleLoadMessage::None, true, 2, false, {true, true}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TemporaryFolder folder;
        for (int d = 0; d < 2; ++d) {
            const std::u16string name = ArticleFileName(static_cast<Direction>(d));
            if (c.disk[d] == Disk::Present)
                folder.Write(name, ExampleStored);
            else if (c.disk[d] == Disk::Empty)
                folder.Write(name, "");
            else if (c.disk[d] == Disk::Folder)
                std::filesystem::create_directory(folder.path / std::filesystem::path(name));
        }
        Current = Script{};
        Current.fault[0] = c.fault[0];
        Current.fault[1] = c.fault[1];

        ScopedStore scoped;
        ArticleStore& store = scoped.store;
        const ArticleLoadMessage message = LoadArticleFiles(store, folder.File(ArticleFileName(EnglishToGerman)),
                                                            folder.File(ArticleFileName(GermanToEnglish)), ScriptedAccess);
        EXPECT_EQ(message, c.message);
        EXPECT_EQ(store.loaded, c.loaded);
        EXPECT_EQ(static_cast<int>(Current.tried.size()), c.tried);
        EXPECT_EQ(Current.closes, Current.opens) << "every opened file is closed";
        EXPECT_EQ(store.retained != nullptr, c.retained);
        if (c.retained) {
            EXPECT_EQ(Bytes(store.retained, 12), ExampleStored);
        }
        for (int d = 0; d < 2; ++d)
            EXPECT_EQ(store.text[d] != nullptr, c.text[d]) << "direction " << d;

        DescrambleArticles(store);
        const ListingKind listing0 = ListHeadwords(store, EnglishToGerman, u"a").kind;
        const ListingKind listing1 = ListHeadwords(store, GermanToEnglish, u"a").kind;
        if (!c.loaded) {
            EXPECT_EQ(listing0, ListingKind::NotLoaded);
            EXPECT_EQ(listing1, ListingKind::NotLoaded);
            EXPECT_EQ(FindArticle(store, GermanToEnglish, u"a").kind, ArticleKind::NotLoaded);
            for (int d = 0; d < 2; ++d) {
                if (store.text[d] != nullptr && store.size[d] != 0) {
                    EXPECT_EQ(Bytes(store.text[d], 12), ExampleStored) << "nothing is descrambled unless both texts are there";
                }
            }
        } else if (c.fault[0] == Fault::Read) {
            // The unreported read error leaves zeros, which descramble to FE everywhere.
            EXPECT_EQ(Bytes(store.text[0], 14), std::string(12, '\xFE') + std::string(2, '\0'));
            EXPECT_EQ(listing0, ListingKind::NoMatch);
            EXPECT_EQ(listing1, ListingKind::Listed);
        } else {
            EXPECT_EQ(listing0, ListingKind::Listed);
            EXPECT_EQ(listing1, ListingKind::Listed);
        }

        FreeArticleBuffers(store);
        EXPECT_EQ(store.text[0], nullptr);
        EXPECT_EQ(store.text[1], nullptr);
        EXPECT_EQ(store.retained, nullptr);
        EXPECT_FALSE(store.loaded);
    }
}

TEST(ArticleFiles, ReloadingReplacesWhatTheStoreHeld)
{
    TemporaryFolder folder;
    folder.Write(u"eg.dat", ExampleStored);
    ScopedStore scoped;
    ArticleStore& store = scoped.store;
    ASSERT_EQ(LoadArticleFiles(store, folder.File(u"eg.dat"), folder.File(u"none.dat")), ArticleLoadMessage::FileNotFound);
    ASSERT_NE(store.retained, nullptr);
    ASSERT_EQ(LoadArticleFiles(store, folder.File(u"eg.dat"), folder.File(u"eg.dat")), ArticleLoadMessage::None);
    EXPECT_EQ(store.retained, nullptr);
    EXPECT_TRUE(store.loaded);
}

TEST(ArticleFiles, LargeFilesAreReadWholeInSeveralPieces)
{
    // Two and a half read chunks and an odd byte, filled with a pattern that shows any piece
    // landing at the wrong offset.
    std::string large(ArticleReadChunkBytes * 5 / 2 + 1, '\0');
    for (std::size_t i = 0; i < large.size(); ++i)
        large[i] = static_cast<char>((i * 131 + i / 4093) % 251 + 3);
    TemporaryFolder folder;
    folder.Write(u"eg.dat", large);
    folder.Write(u"ge.dat", ExampleStored);
    ScopedStore scoped;
    ArticleStore& store = scoped.store;
    ASSERT_EQ(LoadArticleFiles(store, folder.File(u"eg.dat"), folder.File(u"ge.dat")), ArticleLoadMessage::None);
    ASSERT_EQ(store.size[0], large.size());
    EXPECT_TRUE(Bytes(store.text[0], large.size()) == large);
    DescrambleArticles(store);
    EXPECT_EQ(store.units[0], (large.size() + 1) / 2) << "no data byte descrambles to zero";
}

TEST(ArticleFiles, FolderNamesBeyondAsciiWork)
{
    for (const std::u16string leaf : {u"Wörterbuch", u"Словарь 辞書"}) {
        TemporaryFolder folder(leaf);
        folder.Write(u"Articles_English_German.dat", ScrambledBytes(u"\n|a|x\n|"));
        folder.Write(u"Articles_German_English.dat", ScrambledBytes(u"\n|b|y\n|"));
        ScopedStore scoped;
        ArticleStore& store = scoped.store;
        ASSERT_EQ(LoadArticleFiles(store, folder.File(ArticleFileName(EnglishToGerman)),
                                   folder.File(ArticleFileName(GermanToEnglish))),
                  ArticleLoadMessage::None);
        DescrambleArticles(store);
        EXPECT_EQ(FindArticle(store, EnglishToGerman, u"a").article, u"x\n");
        EXPECT_EQ(FindArticle(store, GermanToEnglish, u"b").article, u"y\n");
    }
}
