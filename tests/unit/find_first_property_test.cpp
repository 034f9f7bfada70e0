#include <gtest/gtest.h>

#include <memory>
#include <random>
#include <string>
#include <vector>

#include "dictionary/LookupEngine.h"
#include "dictionary/TextScan.h"

namespace {

// The plain forward search the fast one must agree with.
const char16_t* ReferenceFind(const char16_t* text, std::size_t length, std::u16string_view key)
{
    if (key.size() > length)
        return nullptr;
    for (std::size_t i = 0; i + key.size() <= length; ++i) {
        std::size_t k = 0;
        while (k < key.size() && text[i + k] == key[k])
            ++k;
        if (k == key.size())
            return text + i;
    }
    return nullptr;
}

// The text in a heap block of exactly its own size, `shift` units into it, so that the
// sanitizer catches any load past the end and the scans meet every alignment.
struct ExactText {
    std::unique_ptr<char16_t[]> block;
    const char16_t* text;
    std::size_t length;
    ExactText(const std::u16string& content, std::size_t shift)
        : block(new char16_t[shift + content.size()]), text(block.get() + shift), length(content.size())
    {
        std::fill(block.get(), block.get() + shift, u'\xFFFF');
        std::copy(content.begin(), content.end(), block.get() + shift);
    }
};

std::ptrdiff_t Offset(const char16_t* found, const char16_t* text)
{
    return found == nullptr ? -1 : found - text;
}

// Every level this processor runs, so that each vector path and the portable one are checked.
std::vector<ScanLevel> Levels()
{
    std::vector<ScanLevel> levels;
    for (ScanLevel level : {ScanLevel::Portable, ScanLevel::Sse2, ScanLevel::Avx2}) {
        if (level <= BestScanLevel())
            levels.push_back(level);
    }
    return levels;
}

const char* LevelName(ScanLevel level)
{
    return level == ScanLevel::Avx2 ? "AVX2" : level == ScanLevel::Sse2 ? "SSE2" : "portable";
}

} // namespace

TEST(FindFirst, AgreesWithAPlainSearchOnRandomTexts)
{
    // Small alphabets make first-and-last candidates frequent; units above 0x7FFF check that
    // nothing compares as signed.
    const std::u16string alphabets[] = {u"a", u"ab", u"\n|a", u"abc", u"\n|ab\x8000\xFFFF", u"abcdefghijklmnopqrstuvwxyz\n|"};
    std::mt19937 random(20240611);
    for (int round = 0; round < 3000; ++round) {
        const std::u16string& alphabet = alphabets[round % std::size(alphabets)];
        std::uniform_int_distribution<std::size_t> pick(0, alphabet.size() - 1);
        // Mostly short texts, some long enough for the prefetching loop and every tail length.
        const std::size_t length = round % 10 == 0 ? 1000 + random() % 4000 : random() % 200;
        std::u16string content(length, u'\0');
        for (auto& unit : content)
            unit = alphabet[pick(random)];
        const ExactText text(content, random() % 8);

        for (int k = 0; k < 8; ++k) {
            const std::size_t keyLength = 1 + random() % 40;
            std::u16string key;
            switch (k % 4) {
            case 0: // a piece of the text, so usually a hit
                if (keyLength <= length) {
                    key = content.substr(random() % (length - keyLength + 1), keyLength);
                    break;
                }
                [[fallthrough]];
            case 1: // random over the same alphabet
                for (std::size_t i = 0; i < keyLength; ++i)
                    key.push_back(alphabet[pick(random)]);
                break;
            case 2: // the very end of the text, with its first unit changed now and then
                key = content.substr(length - std::min(keyLength, length));
                if (!key.empty() && random() % 2)
                    key[0] = alphabet[pick(random)];
                break;
            case 3: // the very start, with its last unit changed now and then
                key = content.substr(0, std::min(keyLength, length));
                if (!key.empty() && random() % 2)
                    key.back() = alphabet[pick(random)];
                break;
            }
            if (key.empty())
                key = alphabet.substr(0, 1);
            const std::ptrdiff_t expected = Offset(ReferenceFind(text.text, text.length, key), text.text);
            ASSERT_EQ(Offset(FindFirst(text.text, text.length, key), text.text), expected);
            for (ScanLevel level : Levels()) {
                ASSERT_EQ(Offset(FindFirstWith(level, text.text, text.length, key), text.text), expected)
                    << LevelName(level) << ", round " << round << ", text length " << length << ", key length "
                    << key.size();
            }
        }
    }
#if defined(__x86_64__) || defined(_M_X64)
    EXPECT_GE(BestScanLevel(), ScanLevel::Sse2) << "SSE2 is part of every x86-64 processor";
#endif
}

TEST(FindFirst, OneRepeatedUnitAndMatchesAtTheEdges)
{
    for (std::size_t length : {0u, 1u, 7u, 8u, 9u, 31u, 32u, 33u, 63u, 1055u, 1056u, 1057u, 3001u}) {
        const std::u16string same(length, u'a');
        const ExactText text(same, 1);
        for (std::size_t keyLength : {1u, 2u, 3u, 8u, 17u, 32u, 33u, 40u}) {
            SCOPED_TRACE(testing::Message() << length << " units, key " << keyLength);
            const std::u16string hit(keyLength, u'a');
            // One differing unit at the end of the key only fits at the text's end.
            std::u16string atEnd(keyLength, u'a');
            atEnd.back() = u'b';
            std::u16string endText = same;
            if (length > 0)
                endText.back() = u'b';
            const ExactText ending(endText, 0);
            for (ScanLevel level : Levels()) {
                SCOPED_TRACE(LevelName(level));
                EXPECT_EQ(Offset(FindFirstWith(level, text.text, length, hit), text.text), keyLength <= length ? 0 : -1);
                EXPECT_EQ(Offset(FindFirstWith(level, ending.text, length, atEnd), ending.text),
                          keyLength <= length ? static_cast<std::ptrdiff_t>(length - keyLength) : -1);
                EXPECT_EQ(FindFirstWith(level, text.text, length, atEnd), nullptr);
            }
        }
    }
}

TEST(FindFirst, MatchesOnlyAtCodeUnitBoundaries)
{
    // Bytes 42 41 44 43 0A 7C 00 7C: the keys below appear only when read from an odd byte.
    const std::u16string content = {0x4142, 0x4344, 0x7C0A, 0x7C00};
    const ExactText text(content, 0);
    for (ScanLevel level : Levels()) {
        SCOPED_TRACE(LevelName(level));
        for (const std::u16string& key : {std::u16string{0x4441}, std::u16string{0x4441, 0x0A43}, std::u16string{0x0A43, 0x007C}})
            EXPECT_EQ(FindFirstWith(level, text.text, text.length, key), nullptr);
        EXPECT_EQ(Offset(FindFirstWith(level, text.text, text.length, std::u16string{0x4344, 0x7C0A}), text.text), 1);
    }
}

TEST(FindFirst, EmptyKeyMatchesAtTheStart)
{
    const ExactText text(u"abc", 0);
    for (ScanLevel level : Levels()) {
        EXPECT_EQ(FindFirstWith(level, text.text, text.length, u""), text.text);
        EXPECT_EQ(FindFirstWith(level, text.text, 0, u""), text.text);
    }
}

TEST(FindUnit, AgreesWithAPlainSearch)
{
    std::mt19937 random(77);
    for (int round = 0; round < 2000; ++round) {
        const std::size_t length = random() % 300;
        std::u16string content(length, u'\0');
        for (auto& unit : content)
            unit = random() % 64 == 0 ? u'|' : static_cast<char16_t>(u'a' + random() % 3);
        const ExactText text(content, random() % 8);
        const std::size_t start = length == 0 ? 0 : random() % length;
        const std::size_t expected = content.find(u'|', start);
        EXPECT_EQ(Offset(FindUnit(text.text + start, length - start, u'|'), text.text),
                  expected == std::u16string::npos ? -1 : static_cast<std::ptrdiff_t>(expected));
    }
}
