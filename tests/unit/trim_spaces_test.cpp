#include <gtest/gtest.h>

#include <iterator>
#include <string>

#include "capture/TrimSpaces.h"

namespace {

struct TrimCase {
    const char16_t* captured;
    const char16_t* expected;
};

// Only U+0020 goes, and only at the ends: what another program copies keeps its line
// breaks, tabs and no-break spaces, and inner spaces stay.
const TrimCase TrimCases[] = {
    {u"Haus", u"Haus"},
    {u"  Haus  ", u"Haus"},
    {u"   Haus", u"Haus"},
    {u"Haus   ", u"Haus"},
    {u" Haus\r\n", u"Haus\r\n"},
    {u"\tHaus ", u"\tHaus"},
    {u"\u00A0Haus\u00A0 ", u"\u00A0Haus\u00A0"},
    {u"  das Haus  ", u"das Haus"},
    {u" . ", u"."},
    {u"   ", u""},
    {u" ", u""},
    {u"", u""},
    {u"\r\n", u"\r\n"},
    {u" \u00FCber ", u"\u00FCber"},
    {u" \U0001F4D6 ", u"\U0001F4D6"},
};

TEST(TrimSpaces, RemovesOnlySpacesAtBothEnds)
{
    for (std::size_t i = 0; i < std::size(TrimCases); ++i) {
        SCOPED_TRACE(testing::Message() << "case " << i);
        EXPECT_EQ(TrimSpaces(TrimCases[i].captured), std::u16string(TrimCases[i].expected));
    }
}

} // namespace
