#include <gtest/gtest.h>

#include <climits>

#include "common/Identity.h"

TEST(ToDecimalText, WritesTheWholeSignedRange)
{
    const struct {
        std::int32_t value;
        const char16_t* text;
    } cases[] = {
        {0, u"0"},
        {7, u"7"},
        {-3, u"-3"},
        {10, u"10"},
        {-10, u"-10"},
        {1000000, u"1000000"},
        {INT32_MAX, u"2147483647"},
        {INT32_MIN, u"-2147483648"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ToDecimalText(c.value), c.text) << c.value;
}

TEST(Identity, SiteRootUrlWrapsTheVendorHost)
{
    EXPECT_EQ(std::u16string(SiteRootUrl), u"http://" + std::u16string(VendorHost) + u"/");
    EXPECT_EQ(std::u16string(VendorHost).find_first_of(u":/"), std::u16string::npos);
}
