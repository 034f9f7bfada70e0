// The Win32 boundary for text: portable code holds UTF-16 in char16_t, Win32 takes wchar_t.
// On Windows both are 16-bit code units, so the views below copy nothing.
#pragma once

#include <string>

static_assert(sizeof(wchar_t) == sizeof(char16_t), "Win32 text is UTF-16");

// The string's code units as a NUL-terminated wide string; valid while `text` lives unchanged.
inline const wchar_t* Wide(const std::u16string& text)
{
    return reinterpret_cast<const wchar_t*>(text.c_str());
}

inline const wchar_t* Wide(const char16_t* text)
{
    return reinterpret_cast<const wchar_t*>(text);
}

// A copy of a NUL-terminated wide string (or of its first `length` units) as portable text.
inline std::u16string FromWide(const wchar_t* text)
{
    return std::u16string(reinterpret_cast<const char16_t*>(text));
}

inline std::u16string FromWide(const wchar_t* text, std::size_t length)
{
    return std::u16string(reinterpret_cast<const char16_t*>(text), length);
}
