// Trimming of captured text. Portable: only U+0020 is removed, and only at the two ends;
// tabs, line breaks, no-break spaces and everything else stay where they are.
#pragma once

#include <string>
#include <string_view>

// `text` without its leading and trailing space characters; spaces only give the empty text.
std::u16string TrimSpaces(std::u16string_view text);
