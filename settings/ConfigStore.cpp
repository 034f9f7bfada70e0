#include "settings/ConfigStore.h"

#include <climits>
#include <cstdio>
#include <iterator>

#include "settings/SharedFile.h"

ConfigStore Settings;

namespace {

constexpr char16_t ConfigurationFileName[] = u"Configuration.dat";

// Longest line the file may hold, its line end not counted; a longer one ends the reading.
constexpr std::size_t MaxLineLength = 1023;

// The three keys the file holds after a save, with the value written when one is absent.
constexpr struct {
    const char16_t* key;
    const char16_t* fallback;
} SavedSettings[] = {
    {u"LoadOnStart", u"true"},
    {u"AlwaysOnTop", u"false"},
    {u"DefaultLanguageId", u"0"},
};

std::u16string ConfigurationPath(const std::u16string& directory)
{
    return directory + PathSeparator + ConfigurationFileName;
}

// Key before the first "=", value after it; a line without one is both key and value.
void AddLine(ConfigStore& store, std::u16string_view line)
{
    line = line.substr(0, line.find(u'\0'));
    std::size_t equals = line.find(u'=');
    if (equals == std::u16string_view::npos)
        store.emplace(std::u16string(line), std::u16string(line));
    else
        store.emplace(std::u16string(line.substr(0, equals)), std::u16string(line.substr(equals + 1)));
}

// Reads line after line, one byte per character. Binary mode on every platform keeps the
// bytes identical everywhere: the CR before an LF is dropped here, a Ctrl-Z byte is text.
void ReadLines(ConfigStore& store, std::FILE* file)
{
    std::u16string line;
    for (;;) {
        int byte = std::getc(file);
        if (byte == EOF)
            break;
        if (byte == '\n') {
            if (!line.empty() && line.back() == u'\r')
                line.pop_back();
            if (line.size() > MaxLineLength)
                return;
            AddLine(store, line);
            line.clear();
            continue;
        }
        // One more than the limit may still be a CR that the coming LF removes.
        if (line.size() > MaxLineLength)
            return;
        line.push_back(static_cast<char16_t>(static_cast<unsigned char>(byte)));
    }
    if (std::ferror(file) || line.empty() || line.size() > MaxLineLength)
        return;
    AddLine(store, line);
}

// One byte per character; a character beyond U+00FF, which the file cannot hold, becomes "?".
std::string FileBytes(std::u16string_view text)
{
    std::string bytes;
    bytes.reserve(text.size());
    for (char16_t c : text)
        bytes.push_back(c <= 0xFF ? static_cast<char>(static_cast<unsigned char>(c)) : '?');
    return bytes;
}

bool IsBlank(char16_t c)
{
    return c == u' ' || (c >= u'\t' && c <= u'\r');
}

} // namespace

void LoadConfiguration(ConfigStore& store, const std::u16string& directory)
{
    std::FILE* file = OpenSharedFile(ConfigurationPath(directory), "r+b");
    store.clear();
    if (file == nullptr)
        return;
    ReadLines(store, file);
    std::fclose(file);
}

void SaveConfiguration(const ConfigStore& store, const std::u16string& directory)
{
    std::string lines[std::size(SavedSettings)];
    for (std::size_t i = 0; i < std::size(SavedSettings); ++i) {
        std::u16string text = SavedSettings[i].key;
        text += u'=';
        text += GetSetting(store, SavedSettings[i].key).value_or(SavedSettings[i].fallback);
        lines[i] = FileBytes(text) + "\r\n";
    }
    std::FILE* file = OpenSharedFile(ConfigurationPath(directory), "wb");
    if (file == nullptr)
        return;
    for (const std::string& line : lines) {
        if (std::fwrite(line.data(), 1, line.size(), file) != line.size() || std::fflush(file) != 0)
            break;
    }
    std::fclose(file);
}

std::optional<std::u16string> GetSetting(const ConfigStore& store, std::u16string_view key)
{
    // find() may return any of several equal keys; lower_bound gives the first added.
    auto entry = store.lower_bound(std::u16string(key));
    if (entry == store.end() || entry->first != key)
        return std::nullopt;
    return entry->second;
}

void SetSetting(ConfigStore& store, std::u16string_view key, std::u16string_view value)
{
    std::u16string keyText(key);
    auto entry = store.lower_bound(keyText);
    if (entry != store.end() && entry->first == key)
        entry->second = value;
    else
        store.emplace_hint(entry, std::move(keyText), std::u16string(value));
}

bool IsSettingTrue(const ConfigStore& store, std::u16string_view key)
{
    std::optional<std::u16string> value = GetSetting(store, key);
    return value && value->starts_with(u"true");
}

int ReadDecimalSetting(std::u16string_view value)
{
    std::size_t i = 0;
    while (i < value.size() && IsBlank(value[i]))
        ++i;
    bool negative = false;
    if (i < value.size() && (value[i] == u'+' || value[i] == u'-')) {
        negative = value[i] == u'-';
        ++i;
    }
    // A run of digits too long for an int saturates at INT_MAX or INT_MIN, as strtol does.
    const long long limit = negative ? -static_cast<long long>(INT_MIN) : INT_MAX;
    long long magnitude = 0;
    for (; i < value.size() && value[i] >= u'0' && value[i] <= u'9'; ++i) {
        magnitude = magnitude * 10 + (value[i] - u'0');
        if (magnitude > limit)
            magnitude = limit;
    }
    return static_cast<int>(negative ? -magnitude : magnitude);
}
