#include <gtest/gtest.h>

#include <string>

#include "common/TextCodec.h"

namespace {

using namespace std::string_literals;

TEST(Utf8ToUtf16, WellFormedAndBrokenSequences)
{
    const struct {
        std::string utf8;
        std::u16string utf16;
    } cases[] = {
        {"Haus", u"Haus"},
        {"Stra\xC3\x9F" "e \xE2\x96\xA0 \xF0\x9D\x84\x9E", u"Straße \u25A0 \U0001D11E"},
        {"a\0b"s, u"a"s + u'\0' + u"b"},
        {"\xFF", u"\uFFFD"},
        {"\xC3", u"\uFFFD"},                    // cut short
        {"\xC0\xAF", u"\uFFFD\uFFFD"},          // overlong
        {"\xED\xA0\x80", u"\uFFFD\uFFFD\uFFFD"}, // an encoded surrogate
        {"\xF4\x90\x80\x80", u"\uFFFD\uFFFD\uFFFD\uFFFD"}, // beyond U+10FFFF
        {"\xE2\x96x", u"\uFFFD\uFFFDx"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Utf8ToUtf16(c.utf8), c.utf16) << &c - cases;
}

TEST(Utf16ToUtf8, PairsJoinLoneSurrogatesBecomeReplacement)
{
    EXPECT_EQ(Utf16ToUtf8(u"Straße \u25A0 \U0001D11E"), "Stra\xC3\x9F" "e \xE2\x96\xA0 \xF0\x9D\x84\x9E");
    EXPECT_EQ(Utf16ToUtf8(u"a\xD83D" u"b\xDE00"), "a\xEF\xBF\xBD" "b\xEF\xBF\xBD");
    EXPECT_EQ(Utf16ToUtf8(u"\xDE00\xD83D"), "\xEF\xBF\xBD\xEF\xBF\xBD");
}

TEST(JsonQuoted, EscapesWhatJsonNeedsAndKeepsLoneSurrogates)
{
    const struct {
        std::u16string text;
        std::string json;
    } cases[] = {
        {u"", "\"\""},
        {u"x\r\n", "\"x\\r\\n\""},
        {u"\"\\/\t\b\f", "\"\\\"\\\\/\\t\\b\\f\""},
        {u"\x01"s + u'\0' + u"\x1F\x7F", "\"\\u0001\\u0000\\u001f\x7F\""},
        {u"Haus \u00A6 \U0001D11E", "\"Haus \xC2\xA6 \xF0\x9D\x84\x9E\""},
        {u"smile \xD83D", "\"smile \\ud83d\""},
        {u"\xDE00\xD83D!", "\"\\ude00\\ud83d!\""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(JsonQuoted(c.text), c.json) << &c - cases;
}

} // namespace
