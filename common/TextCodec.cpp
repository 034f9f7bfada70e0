#include "common/TextCodec.h"

#include <cstdint>

namespace {

constexpr char16_t Replacement = 0xFFFD;

bool IsHighSurrogate(char32_t unit) { return unit >= 0xD800 && unit <= 0xDBFF; }
bool IsLowSurrogate(char32_t unit) { return unit >= 0xDC00 && unit <= 0xDFFF; }

void AppendCodePoint(std::u16string& out, char32_t cp)
{
    if (cp < 0x10000) {
        out.push_back(static_cast<char16_t>(cp));
    } else {
        cp -= 0x10000;
        out.push_back(static_cast<char16_t>(0xD800 + (cp >> 10)));
        out.push_back(static_cast<char16_t>(0xDC00 + (cp & 0x3FF)));
    }
}

void AppendUtf8(std::string& out, char32_t cp)
{
    if (cp < 0x80) {
        out.push_back(static_cast<char>(cp));
    } else if (cp < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else if (cp < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    }
}

// Calls visit(codePoint, isLoneSurrogate) for each code point of a UTF-16 text.
template <typename Visit>
void ForEachCodePoint(std::u16string_view text, Visit visit)
{
    for (std::size_t i = 0; i < text.size(); ++i) {
        char32_t unit = text[i];
        if (IsHighSurrogate(unit) && i + 1 < text.size() && IsLowSurrogate(text[i + 1])) {
            visit(0x10000 + ((unit - 0xD800) << 10) + (text[i + 1] - 0xDC00), false);
            ++i;
        } else {
            visit(unit, IsHighSurrogate(unit) || IsLowSurrogate(unit));
        }
    }
}

} // namespace

std::u16string Utf8ToUtf16(std::string_view text)
{
    std::u16string out;
    out.reserve(text.size());
    const auto* bytes = reinterpret_cast<const unsigned char*>(text.data());
    const std::size_t size = text.size();
    std::size_t i = 0;
    while (i < size) {
        const unsigned char lead = bytes[i];
        if (lead < 0x80) {
            out.push_back(lead);
            ++i;
            continue;
        }
        int length = 0;
        char32_t cp = 0;
        char32_t minimum = 0;
        if (lead >= 0xC2 && lead <= 0xDF) {
            length = 2; cp = lead & 0x1F; minimum = 0x80;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            length = 3; cp = lead & 0x0F; minimum = 0x800;
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            length = 4; cp = lead & 0x07; minimum = 0x10000;
        }
        bool ok = length != 0 && i + length <= size;
        for (int k = 1; ok && k < length; ++k) {
            if ((bytes[i + k] & 0xC0) != 0x80)
                ok = false;
            else
                cp = (cp << 6) | (bytes[i + k] & 0x3F);
        }
        if (ok && (cp < minimum || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)))
            ok = false;
        if (ok) {
            AppendCodePoint(out, cp);
            i += length;
        } else {
            out.push_back(Replacement);
            ++i;
        }
    }
    return out;
}

std::string Utf16ToUtf8(std::u16string_view text)
{
    std::string out;
    out.reserve(text.size());
    ForEachCodePoint(text, [&](char32_t cp, bool lone) { AppendUtf8(out, lone ? Replacement : cp); });
    return out;
}

std::string JsonQuoted(std::u16string_view text)
{
    static const char hex[] = "0123456789abcdef";
    std::string out = "\"";
    auto escapeUnit = [&](char32_t unit) {
        out += "\\u";
        for (int shift = 12; shift >= 0; shift -= 4)
            out.push_back(hex[(unit >> shift) & 0xF]);
    };
    ForEachCodePoint(text, [&](char32_t cp, bool lone) {
        switch (cp) {
        case '"': out += "\\\""; return;
        case '\\': out += "\\\\"; return;
        case '\n': out += "\\n"; return;
        case '\r': out += "\\r"; return;
        case '\t': out += "\\t"; return;
        case '\b': out += "\\b"; return;
        case '\f': out += "\\f"; return;
        default: break;
        }
        if (cp < 0x20 || lone)
            escapeUnit(cp);
        else
            AppendUtf8(out, cp);
    });
    out.push_back('"');
    return out;
}
