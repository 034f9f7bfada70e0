#include "common/Identity.h"

std::u16string ToDecimalText(std::int32_t value)
{
    // Work on the magnitude as unsigned so that -2147483648 needs no special case.
    std::uint32_t magnitude = value < 0 ? 0u - static_cast<std::uint32_t>(value)
                                        : static_cast<std::uint32_t>(value);
    char16_t digits[12];
    int count = 0;
    do {
        digits[count++] = static_cast<char16_t>(u'0' + magnitude % 10);
        magnitude /= 10;
    } while (magnitude != 0);
    std::u16string text;
    if (value < 0)
        text.push_back(u'-');
    while (count > 0)
        text.push_back(digits[--count]);
    return text;
}
