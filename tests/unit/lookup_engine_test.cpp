#include <gtest/gtest.h>

#include <vector>

#include "article_test_support.h"
#include "dictionary/LookupEngine.h"

namespace {

using Words = std::vector<std::u16string>;

// Five records; the last article has no closing "|".
const std::u16string Five = u"\n|a|1\n|aa|2\n|ab|3\n|b|4\n|ba|5\n";

std::u16string Record(int number)
{
    const char16_t digits[] = {static_cast<char16_t>(u'0' + number / 10), static_cast<char16_t>(u'0' + number % 10), 0};
    return u"\n|w" + std::u16string(digits) + u"|x";
}

// Records w00 ... w(count-1), then a record opening whose headword never closes.
std::u16string RecordsThenBrokenEnd(int count)
{
    std::u16string text;
    for (int i = 0; i < count; ++i)
        text += Record(i);
    return text + u"\n|zz";
}

Words Numbered(int from, int to)
{
    Words words;
    for (int i = from; i < to; ++i)
        words.push_back(Record(i).substr(2, 3));
    return words;
}

} // namespace

TEST(ListHeadwords, CasesTable)
{
    const struct {
        const char* name;
        std::u16string text;
        std::u16string word;
        ListingKind kind;
        Words headwords;
    } cases[] = {
        {"records after the first match whatever they hold", Five, u"a", ListingKind::Listed, {u"a", u"aa", u"ab", u"b", u"ba"}},
        {"empty word starts at the first record", Five, u"", ListingKind::Listed, {u"a", u"aa", u"ab", u"b", u"ba"}},
        {"prefix that is no headword", Five, u"ab", ListingKind::Listed, {u"ab", u"b", u"ba"}},
        {"only the last record matches", Five, u"ba", ListingKind::Listed, {u"ba"}},
        {"no headword begins with it", Five, u"c", ListingKind::NoMatch, {}},
        {"case differs", Five, u"A", ListingKind::NoMatch, {}},
        {"longer than every headword", Five, u"aaa", ListingKind::NoMatch, {}},
        {"word with a bar matches across the article", Five, u"b|4", ListingKind::Listed, {u"b", u"ba"}},
        {"word with a line feed", Five, u"a|1\n|aa", ListingKind::Listed, {u"a", u"aa", u"ab", u"b", u"ba"}},
        {"first record without a leading line feed", u"|a|1\n|b|2\n|c|3", u"a", ListingKind::NoMatch, {}},
        {"second record of such a text", u"|a|1\n|b|2\n|c|3", u"b", ListingKind::Listed, {u"b", u"c"}},
        {"duplicates both listed", u"\n|a|1\n|a|2\n|b|3\n", u"a", ListingKind::Listed, {u"a", u"a", u"b"}},
        {"walk meets an unclosed headword", u"\n|a|1\n|b|2\n|c", u"a", ListingKind::Abandoned, {}},
        {"match is the unclosed headword", u"\n|a|1\n|b|2\n|c", u"c", ListingKind::Abandoned, {}},
        {"text ends right after a bar", u"\n|a|1\n|", u"a", ListingKind::Abandoned, {}},
        {"25 reached before the broken end", RecordsThenBrokenEnd(30), u"w00", ListingKind::Listed, Numbered(0, 25)},
        {"25th record is the last whole one", RecordsThenBrokenEnd(30), u"w05", ListingKind::Listed, Numbered(5, 30)},
        {"24 then the broken end", RecordsThenBrokenEnd(30), u"w06", ListingKind::Abandoned, {}},
        {"exactly 25, the 26th never looked at", RecordsThenBrokenEnd(25), u"w0", ListingKind::Listed, Numbered(0, 25)},
        {"empty headword", u"\n||e\n|b|2\n", u"", ListingKind::Listed, {u"", u"b"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ScopedStore scoped;
        FillStore(scoped, c.text);
        for (Direction d : {EnglishToGerman, GermanToEnglish}) {
            const ListingOutcome outcome = ListHeadwords(scoped.store, d, c.word);
            EXPECT_STREQ(ListingKindName(outcome.kind), ListingKindName(c.kind));
            EXPECT_EQ(outcome.headwords, c.headwords);
        }
    }
}

TEST(FindArticle, CasesTable)
{
    const struct {
        const char* name;
        std::u16string text;
        std::u16string word;
        ArticleKind kind;
        std::u16string article;
    } cases[] = {
        {"whole headwords only", Five, u"a", ArticleKind::Found, u"1\n"},
        {"a later record", Five, u"ab", ArticleKind::Found, u"3\n"},
        {"empty word finds only an empty headword", Five, u"", ArticleKind::NotFound, u""},
        {"no such headword", Five, u"c", ArticleKind::NotFound, u""},
        {"case differs", Five, u"AA", ArticleKind::NotFound, u""},
        {"last record has no article end", Five, u"ba", ArticleKind::NoArticleEnd, u""},
        {"line break inside an article", u"\n|a|one\r\ntwo\r\n|b|", u"a", ArticleKind::Found, u"one\r\ntwo\r\n"},
        {"empty article", u"\n|a||b|2\n|", u"a", ArticleKind::Found, u""},
        {"empty headword", u"\n|a|1\n||e\n|b|2\n", u"", ArticleKind::Found, u"e\n"},
        {"duplicates: the first wins", u"\n|a|1\n|a|2\n|", u"a", ArticleKind::Found, u"1\n"},
        {"word with a bar and a line feed", Five, u"a|1\n|aa", ArticleKind::Found, u"2\n"},
        {"first record without a leading line feed", u"|a|1\n|b|2\n|", u"a", ArticleKind::NotFound, u""},
        {"second record of such a text", u"|a|1\n|b|2\n|", u"b", ArticleKind::Found, u"2\n"},
        {"text ends at the headword's bar", u"\n|a|", u"a", ArticleKind::NoArticleEnd, u""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ScopedStore scoped;
        FillStore(scoped, c.text);
        for (Direction d : {EnglishToGerman, GermanToEnglish}) {
            const ArticleOutcome outcome = FindArticle(scoped.store, d, c.word);
            EXPECT_STREQ(ArticleKindName(outcome.kind), ArticleKindName(c.kind));
            EXPECT_EQ(outcome.article, c.article);
        }
    }
}

TEST(LookupEngine, EachDirectionSearchesItsOwnText)
{
    ScopedStore scoped;
    FillStore(scoped, ScrambledBytes(u"\n|house|Haus\n|hat|Hut\n"), ScrambledBytes(u"\n|Haus|house\n|Hut|hat\n"));
    EXPECT_EQ(FindArticle(scoped.store, EnglishToGerman, u"house").article, u"Haus\n");
    EXPECT_EQ(FindArticle(scoped.store, GermanToEnglish, u"house").kind, ArticleKind::NotFound);
    EXPECT_EQ(ListHeadwords(scoped.store, GermanToEnglish, u"Ha").headwords, (Words{u"Haus", u"Hut"}));
    EXPECT_EQ(ListHeadwords(scoped.store, EnglishToGerman, u"Ha").kind, ListingKind::NoMatch);
}

TEST(LookupEngine, NotLoadedStoreRefusesBothSearches)
{
    ScopedStore scoped;
    EXPECT_EQ(ListHeadwords(scoped.store, EnglishToGerman, u"a").kind, ListingKind::NotLoaded);
    EXPECT_EQ(FindArticle(scoped.store, GermanToEnglish, u"a").kind, ArticleKind::NotLoaded);
    // A store with one empty text counts as not loaded even though the other text is fine.
    FillStore(scoped, ScrambledBytes(u"\n|a|1\n|"), "");
    EXPECT_EQ(ListHeadwords(scoped.store, EnglishToGerman, u"a").kind, ListingKind::NotLoaded);
    EXPECT_EQ(FindArticle(scoped.store, EnglishToGerman, u"a").kind, ArticleKind::NotLoaded);
}

TEST(LookupEngine, LongWordsHeadwordsAndArticlesComeBackWhole)
{
    // Beyond 494 units of word, 999 of headword and 49,999 of article.
    std::u16string headword;
    for (int i = 0; i < 1500; ++i)
        headword.push_back(static_cast<char16_t>(u'a' + i % 26));
    std::u16string article;
    for (int i = 0; i < 60000; ++i)
        article.push_back(static_cast<char16_t>(i % 50 == 49 ? u'\n' : u'0' + i % 10));
    const std::u16string text = u"\n|short|s\n|" + headword + u"|" + article + u"|next|n\n";
    ScopedStore scoped;
    FillStore(scoped, text);

    const ListingOutcome listing = ListHeadwords(scoped.store, EnglishToGerman, headword.substr(0, 600));
    ASSERT_EQ(listing.kind, ListingKind::Listed);
    EXPECT_EQ(listing.headwords, (Words{headword, u"next"}));
    const ArticleOutcome found = FindArticle(scoped.store, EnglishToGerman, headword);
    ASSERT_EQ(found.kind, ArticleKind::Found);
    EXPECT_EQ(found.article, article);
    // A word that runs past the headword's end by one unit is no headword.
    EXPECT_EQ(FindArticle(scoped.store, EnglishToGerman, headword + u"x").kind, ArticleKind::NotFound);
    EXPECT_EQ(ListHeadwords(scoped.store, EnglishToGerman, headword + u"|" + article).headwords, (Words{headword, u"next"}));
}

TEST(LookupEngine, KindNames)
{
    EXPECT_STREQ(ListingKindName(ListingKind::NotLoaded), "NotLoaded");
    EXPECT_STREQ(ListingKindName(ListingKind::NoMatch), "NoMatch");
    EXPECT_STREQ(ListingKindName(ListingKind::Abandoned), "Abandoned");
    EXPECT_STREQ(ListingKindName(ListingKind::Listed), "Listed");
    EXPECT_STREQ(ArticleKindName(ArticleKind::NotLoaded), "NotLoaded");
    EXPECT_STREQ(ArticleKindName(ArticleKind::NotFound), "NotFound");
    EXPECT_STREQ(ArticleKindName(ArticleKind::NoArticleEnd), "NoArticleEnd");
    EXPECT_STREQ(ArticleKindName(ArticleKind::Found), "Found");
}
