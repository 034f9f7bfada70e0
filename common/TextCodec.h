// UTF-8 <-> UTF-16 conversion (POSIX file names, the tools' input and output) and JSON escaping.
// Portable; nothing is lost silently except where stated (invalid input becomes U+FFFD).
#pragma once

#include <string>
#include <string_view>

// UTF-8 to UTF-16. Each byte that does not start a well-formed sequence becomes U+FFFD.
std::u16string Utf8ToUtf16(std::string_view text);

// UTF-16 to UTF-8. An unpaired surrogate becomes U+FFFD (use JsonQuoted to keep it).
std::string Utf16ToUtf8(std::u16string_view text);

// A JSON string literal, quotes included, in UTF-8. Control characters, '"' and '\' are
// escaped; an unpaired surrogate is written as a \uXXXX escape so that it survives.
std::string JsonQuoted(std::u16string_view text);
