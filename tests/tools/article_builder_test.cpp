#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "dictionary/LookupEngine.h"
#include "tests/tools/tools_test_support.h"
#include "tools/ArticleBuilder.h"

namespace {

using namespace std::string_literals;

DingList SampleList()
{
    return ParseDingList(ReadBytes(DICT_TEST_FIXTURES "/ding-sample.txt"));
}

std::vector<std::u16string> HeadwordsOf(const std::vector<PlainRecord>& records)
{
    std::vector<std::u16string> headwords;
    for (const PlainRecord& record : records)
        headwords.push_back(record.headword);
    return headwords;
}

std::u16string ArticleOf(const std::vector<PlainRecord>& records, std::u16string_view headword)
{
    for (const PlainRecord& record : records)
        if (record.headword == headword)
            return record.article;
    ADD_FAILURE() << "no record for the headword";
    return u"";
}

// What every built text must hold for the lookup to read it as intended.
void ExpectWellFormed(const std::u16string& text)
{
    ASSERT_GE(text.size(), 2u);
    EXPECT_EQ(text.substr(0, 2), u"\n|");
    EXPECT_EQ(text.find(u'\0'), std::u16string::npos);
    const std::vector<PlainRecord> records = SplitRecords(text);
    ASSERT_FALSE(records.empty());
    EXPECT_EQ(records.back().headword, EndHeadword);
    EXPECT_EQ(records.back().article, u"");
    EXPECT_EQ(text.substr(text.size() - 3), u"|\u25A0|");
    for (std::size_t i = 0; i < records.size(); ++i) {
        const PlainRecord& record = records[i];
        EXPECT_FALSE(record.headword.empty()) << i;
        if (i > 0) {
            EXPECT_LT(records[i - 1].headword, record.headword) << i; // sorted and unique
        }
        if (i + 1 == records.size())
            break;
        EXPECT_EQ(record.article.find(u'|'), std::u16string::npos) << i;
        // Lines end with CR LF, and the last one's line feed opens the next record.
        ASSERT_GE(record.article.size(), 2u) << i;
        EXPECT_EQ(record.article.substr(record.article.size() - 2), u"\r\n") << i;
        EXPECT_EQ(record.article.find(u"\n|"), std::u16string::npos) << i;
        for (std::size_t at = record.article.find(u'\n'); at != std::u16string::npos;
             at = record.article.find(u'\n', at + 1))
            EXPECT_EQ(record.article[at - 1], u'\r') << i;
    }
}

TEST(HeadwordsOfSide, TermsWithoutTheirAnnotations)
{
    const struct {
        const char16_t* side;
        std::vector<std::u16string> headwords;
    } cases[] = {
        {u"Haus {n}", {u"Haus"}},
        {u"Haus {n}; Zuhause {n} | Häuser {pl}", {u"Haus", u"Zuhause", u"Häuser"}},
        {u"Abbau {m} (Druck; Vakuum)", {u"Abbau"}},
        {u"das A und O [ugs.]", {u"das A und O"}},
        {u"eel trap; weel [archaic] <weely>", {u"eel trap", u"weel"}},
        // A group glued to a word holds optional letters: both spellings, the long one first.
        {u"(micro)chip manufacture;integrated circuit",
         {u"microchip manufacture", u"chip manufacture", u"integrated circuit"}},
        {u"behavio(u)r; backward(s) compatibility",
         {u"behaviour", u"behavior", u"backwards compatibility", u"backward compatibility"}},
        {u"(Gesetzes-)Lücken {pl}", {u"Gesetzes-Lücken", u"Lücken"}},
        // ... but never a spelling that begins with punctuation or leaves a hyphen hanging.
        {u"(E)-2-Butenal {n}", {u"E-2-Butenal"}},
        {u"pre-(combustion) chamber", {u"pre-combustion chamber"}},
        // A sign or a Roman numeral in a glued group is written as it is.
        {u"Chlor(III)-haltig; (–)-α-Bisabolol", {u"Chlor(III)-haltig", u"(–)-α-Bisabolol"}},
        // A group with a blank, or apart from the words, is an annotation.
        {u"Bitte schön(, hier haben Sie es)!", {u"Bitte schön!"}},
        {u"tail end (of an animal) [humor.]", {u"tail end"}},
        {u"Sus (scrofa (wild)) domestica", {u"Sus domestica"}},
        {u"(a < b) c; d", {u"c", u"d"}},
        {u"öffnende runde Klammer / ( /", {u"öffnende runde Klammer / ( /"}},
        {u"x ] y", {u"x ] y"}},
        {u"a|b {n}", {u"a\u00A6b"}},
        {u"  spaced   out  ", {u"spaced out"}},
        {u"{n}; ; (nur Anmerkung) |  | x", {u"x"}},
        // Phrases of four words or more beside a term of one or two words repeat its line.
        {u"Amtsstunden {pl}; Öffnungszeiten {pl} für den Publikumsverkehr | Amtszeit des Rates",
         {u"Amtsstunden", u"Amtszeit des Rates"}},
        {u"fool; dull old stick in the mud; silly old sod | old stick in the mud; silly old sod",
         {u"fool", u"silly old sod", u"old stick in the mud", u"silly old sod"}},
        {u"", {}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(HeadwordsOfSide(c.side), c.headwords) << &c - cases;
}

TEST(HeadwordsOfSide, EnglishInfinitivesWithoutTo)
{
    const struct {
        const char16_t* side;
        std::vector<std::u16string> headwords;
    } cases[] = {
        {u"to scavenge {vi}", {u"scavenge", u"to scavenge"}},
        {u"to scavenge sth.; to tick off sb. | to go home", {u"scavenge sth.", u"tick off sb.", u"go home"}},
        {u"to (micro)manage sth.; to (micro)manage",
         {u"micromanage sth.", u"manage sth.", u"micromanage", u"to micromanage", u"manage", u"to manage"}},
        {u"to 911 [Am.]; to   be", {u"911", u"to 911", u"be", u"to be"}},
        // Phrases are counted without the marker: three words stay beside a short term, four go.
        {u"to annoy sb.; to grate on sb.; to grate on sb.’s nerves; to get sb. riled up",
         {u"annoy sb.", u"grate on sb."}},
        {u"to get sb. riled up; to get on sb.’s nerves", {u"get sb. riled up", u"get on sb.’s nerves"}},
        // Only a leading lower-case "to", a blank and a word.
        {u"to-do list; tomorrow; to; to ...; go to bed | To err is human",
         {u"to-do list", u"tomorrow", u"to", u"to ...", u"go to bed", u"To err is human"}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(HeadwordsOfSide(c.side, StripInfinitiveTo), c.headwords) << &c - cases;
    EXPECT_EQ(HeadwordsOfSide(u"to scavenge"), std::vector<std::u16string>{u"to scavenge"});
}

TEST(ParseDingList, EntriesNotesAndSkippedLines)
{
    const DingList list = ParseDingList("# Version :: 1\r\n"
                                        "#  License :: GPL\n"
                                        "\n"
                                        "   \n"
                                        "no separator here\n"
                                        "Haus {n} :: house\r\n"
                                        " Tab\there\0NUL  ::  bad \xFF byte \n"
                                        "last :: line without a line break"s);
    EXPECT_EQ(list.notes, (std::vector<std::u16string>{u"Version :: 1", u"License :: GPL"}));
    EXPECT_EQ(list.skippedLines, 1u);
    ASSERT_EQ(list.entries.size(), 3u);
    EXPECT_EQ(list.entries[0].german, u"Haus {n}");
    EXPECT_EQ(list.entries[0].english, u"house");
    // Control characters become spaces; an invalid byte becomes U+FFFD.
    EXPECT_EQ(list.entries[1].german, u"Tab here NUL");
    EXPECT_EQ(list.entries[1].english, u"bad \uFFFD byte");
    EXPECT_EQ(list.entries[2].english, u"line without a line break");
}

TEST(BuildArticleText, SampleHeadwordsAndArticles)
{
    const DingList list = SampleList();
    EXPECT_EQ(list.entries.size(), 11u);
    EXPECT_EQ(list.skippedLines, 1u);

    const ArticleText germanEnglish = BuildArticleText(list, GermanToEnglish);
    ExpectWellFormed(germanEnglish.text);
    const std::vector<PlainRecord> de = SplitRecords(germanEnglish.text);
    EXPECT_EQ(HeadwordsOf(de), (std::vector<std::u16string>{
                                   u"Aasfresser", u"Abbau", u"Chipfertigung", u"Chipherstellung", u"Haus",
                                   u"Hausmann", u"Häuser", u"Pipe\u00A6Symbol", u"Zebra", u"Zuhause", u"haus",
                                   u"nach Hause gehen", u"runde Klammer", u"Ähre", u"Über",
                                   u"öffnende runde Klammer / ( /", EndHeadword}));
    EXPECT_EQ(germanEnglish.headwords, de.size() - 1);
    // Merged over entries, one line per entry part, in input order.
    EXPECT_EQ(ArticleOf(de, u"Haus"), u"Haus {n} :: house\r\nHaus {n}; Zuhause {n} :: home\r\n");
    EXPECT_EQ(ArticleOf(de, u"Aasfresser"),
              u"Aasfresser {m} [zool.] :: scavenger; carrion eater\r\nAasfresser {pl} :: scavengers; carrion eaters\r\n");
    // Sides with different numbers of parts: the whole entry, its separators replaced.
    EXPECT_EQ(ArticleOf(de, u"haus"), u"haus {adj} [humor.] \u00A6 Hausmann {m} :: homely\r\n");
    EXPECT_EQ(ArticleOf(de, u"Hausmann"), ArticleOf(de, u"haus"));
    EXPECT_EQ(ArticleOf(de, u"Pipe\u00A6Symbol"), u"Pipe\u00A6Symbol {n} [comp.] :: pipe\u00A6symbol\r\n");
    EXPECT_EQ(ArticleOf(de, u"Über"), u"Über {prp} :: over; above\r\n");

    const ArticleText englishGerman = BuildArticleText(list, EnglishToGerman);
    ExpectWellFormed(englishGerman.text);
    const std::vector<PlainRecord> en = SplitRecords(englishGerman.text);
    EXPECT_EQ(HeadwordsOf(en), (std::vector<std::u16string>{
                                   u"above", u"carrion eater", u"carrion eaters", u"chip manufacture",
                                   u"chip production", u"decay", u"ear", u"go home", u"home", u"homely", u"house", u"houses",
                                   u"microchip manufacture", u"microchip production",
                                   u"opening round bracket / ( /", u"over", u"pipe\u00A6symbol", u"round bracket",
                                   u"scavenger", u"scavengers", u"zebra", EndHeadword}));
    // Both spellings of a term with optional letters lead to the same line.
    EXPECT_EQ(ArticleOf(en, u"microchip production"),
              u"(micro)chip manufacture;(micro)chip production :: Chipfertigung {f};Chipherstellung {f}\r\n");
    EXPECT_EQ(ArticleOf(en, u"chip production"), ArticleOf(en, u"microchip production"));
    EXPECT_EQ(ArticleOf(en, u"home"), u"home :: Haus {n}; Zuhause {n}\r\n");
    // The headword drops the infinitive marker; the line keeps it.
    EXPECT_EQ(ArticleOf(en, u"go home"), u"to go home :: nach Hause gehen\r\n");
    EXPECT_EQ(ArticleOf(en, u"homely"), u"homely :: haus {adj} [humor.] \u00A6 Hausmann {m}\r\n");
    EXPECT_EQ(ArticleOf(en, u"decay"), u"decay (pressure; vacuum) :: Abbau {m} (Druck; Vakuum)\r\n");
}

TEST(BuildArticleText, SameInputSameBytes)
{
    const std::string source = ReadBytes(DICT_TEST_FIXTURES "/ding-sample.txt");
    for (Direction direction : {EnglishToGerman, GermanToEnglish}) {
        const std::string first = ScrambleArticleText(BuildArticleText(ParseDingList(source), direction).text);
        const std::string second = ScrambleArticleText(BuildArticleText(ParseDingList(source), direction).text);
        EXPECT_EQ(first, second);
    }
}

TEST(BuildArticleText, RoundTripThroughTheLookup)
{
    const DingList list = SampleList();
    const ArticleText texts[2] = {BuildArticleText(list, EnglishToGerman), BuildArticleText(list, GermanToEnglish)};
    TemporaryFolder folder;
    const std::filesystem::path paths[2] = {folder.path / "en.dat", folder.path / "de.dat"};
    for (int d = 0; d < 2; ++d)
        WriteBytes(paths[d], ScrambleArticleText(texts[d].text));

    ArticleStore store;
    ASSERT_EQ(LoadArticleFiles(store, paths[0].u16string(), paths[1].u16string()), ArticleLoadMessage::None);
    DescrambleArticles(store);
    ASSERT_TRUE(store.loaded);
    for (Direction direction : {EnglishToGerman, GermanToEnglish}) {
        const std::vector<PlainRecord> records = SplitRecords(texts[direction].text);
        for (std::size_t i = 0; i + 1 < records.size(); ++i) {
            const ArticleOutcome article = FindArticle(store, direction, records[i].headword);
            EXPECT_EQ(article.kind, ArticleKind::Found) << direction << " " << i;
            EXPECT_EQ(article.article, records[i].article) << direction << " " << i;
            const ListingOutcome listing = ListHeadwords(store, direction, records[i].headword);
            ASSERT_EQ(listing.kind, ListingKind::Listed) << direction << " " << i;
            EXPECT_EQ(listing.headwords.front(), records[i].headword) << direction << " " << i;
        }
        // Near the end: the last real headword is found, and the listing stops at the end record.
        const std::u16string& last = records[records.size() - 2].headword;
        const ListingOutcome nearEnd = ListHeadwords(store, direction, last);
        ASSERT_EQ(nearEnd.kind, ListingKind::Listed);
        EXPECT_EQ(nearEnd.headwords, (std::vector<std::u16string>{last, EndHeadword}));
        EXPECT_EQ(FindArticle(store, direction, EndHeadword).kind, ArticleKind::NoArticleEnd);
        // The empty word lists from the first record; nothing has an empty headword.
        EXPECT_EQ(ListHeadwords(store, direction, u"").headwords.front(), records.front().headword);
        EXPECT_EQ(FindArticle(store, direction, u"").kind, ArticleKind::NotFound);
    }
    FreeArticleBuffers(store);
}

TEST(BuildArticleText, LongArticlesKeepWholeLinesWithinTheLimit)
{
    DingList list;
    const std::u16string translation(1000, u'x');
    for (int i = 0; i < 60; ++i) // 60 lines of about 1,000 units: more than an article holds
        list.entries.push_back({u"Wort {n}", translation});
    list.entries.push_back({u"Riese {m}", std::u16string(MaxArticleUnits + 10, u'y')});
    const ArticleText built = BuildArticleText(list, GermanToEnglish);
    ExpectWellFormed(built.text);
    EXPECT_EQ(built.shortenedArticles, 2u);

    const std::vector<PlainRecord> records = SplitRecords(built.text);
    const std::u16string line = u"Wort {n} :: " + translation + u"\r\n";
    const std::u16string words = ArticleOf(records, u"Wort");
    EXPECT_LE(words.size(), MaxArticleUnits);
    EXPECT_EQ(words.size() % line.size(), 0u);
    EXPECT_EQ(words.size() / line.size(), MaxArticleUnits / line.size());
    const std::u16string giant = ArticleOf(records, u"Riese");
    EXPECT_EQ(giant.size(), MaxArticleUnits);
    EXPECT_EQ(giant.substr(0, 12), u"Riese {m} ::");
}

TEST(BuildArticleText, EndRecordSortsAfterEveryHeadword)
{
    DingList list;
    list.entries.push_back({u"\u25A0 Quadrat", u"square"});
    list.entries.push_back({u"\U0001D11E {m}", u"G clef"}); // surrogates sort after U+25A0
    list.entries.push_back({u"Haus", u"house"});
    const std::u16string text = BuildArticleText(list, GermanToEnglish).text;
    const std::vector<PlainRecord> records = SplitRecords(text);
    ASSERT_EQ(records.size(), 4u);
    EXPECT_EQ(records[2].headword, u"\U0001D11E");
    EXPECT_EQ(records[3].headword, u"\U0001D11E\u25A0");
    EXPECT_EQ(text.substr(text.size() - 5), u"|\U0001D11E\u25A0|");
}

TEST(BuildArticleText, EmptyListAndOverlongTerms)
{
    EXPECT_EQ(BuildArticleText(DingList{}, EnglishToGerman).text, u"\n|\u25A0|");

    DingList list;
    list.entries.push_back({std::u16string(MaxHeadwordUnits + 1, u'a') + u"; kurz", u"short"});
    const ArticleText built = BuildArticleText(list, GermanToEnglish);
    EXPECT_EQ(built.droppedHeadwords, 1u);
    EXPECT_EQ(HeadwordsOf(SplitRecords(built.text)), (std::vector<std::u16string>{u"kurz", EndHeadword}));
}

// Other tests take the "good" fixture set for what the builder writes; keep it that way.
TEST(FixtureSets, GoodSetHasTheBuildersForm)
{
    for (const char* name : {"Articles_English_German.txt", "Articles_German_English.txt"}) {
        SCOPED_TRACE(name);
        ExpectWellFormed(PlainRecordText(ReadBytes(std::string(DICT_TEST_FIXTURES "/articles/good/") + name)));
    }
}

TEST(ScrambleArticleText, EveryByteRaisedByTwo)
{
    EXPECT_EQ(ScrambleArticleText(u"\n|a|x\n"), "\x0C\x02\x7E\x02\x63\x02\x7E\x02\x7A\x02\x0C\x02"s);
    EXPECT_EQ(ScrambleArticleText(u"\u00FE\uFFFF\u0100"), "\x00\x02\x01\x01\x02\x03"s);
}

TEST(PlainRecordText, LineBreaksAndEscapes)
{
    const struct {
        const char* plain;
        std::u16string text;
    } cases[] = {
        {"\n|a|x\n", u"\n|a|x\r\n"},
        {"\r\n|a|x\r\n|b|y", u"\n|a|x\r\n|b|y"},
        {"a\nb\r\n", u"a\r\nb\r\n"},
        {"lone\rCR", u"lone\rCR"},
        {"\\u{D83D}|\\u{0}|\\u{1F600}", u"\xD83D|" + std::u16string(1, u'\0') + u"|\U0001F600"},
        {"\\\\u{41} \\u{41} \\n \\u{} \\u{XYZ} \\u{110000} \\u{41", u"\\u{41} A \\n \\u{} \\u{XYZ} \\u{110000} \\u{41"},
        {"Stra\xC3\x9F" "e", u"Straße"},
        {"", u""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(PlainRecordText(c.plain), c.text) << c.plain;
}

} // namespace
