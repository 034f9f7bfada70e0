#include "capture/TrimSpaces.h"

std::u16string TrimSpaces(std::u16string_view text)
{
    std::size_t last = text.find_last_not_of(u' ');
    if (last == std::u16string_view::npos)
        return std::u16string();
    std::size_t first = text.find_first_not_of(u' ');
    return std::u16string(text.substr(first, last + 1 - first));
}
