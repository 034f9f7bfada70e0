// The settings store and its file, Configuration.dat. Portable; the caller passes the
// folder that holds the file (the program passes ExecutableDirectory()).
#pragma once

#include <map>
#include <optional>
#include <string>
#include <string_view>

// Ordered multimap from key to value: keys compare code unit by code unit; entries with
// equal keys keep the order in which they were added.
using ConfigStore = std::multimap<std::u16string, std::u16string>;

// The program's one store, empty before the entry point.
extern ConfigStore Settings;

// Empties `store`, then reads `directory`/Configuration.dat into it, one byte per character
// (opened "r+": a file that cannot be opened for reading and writing reads as no lines).
// Reports nothing.
void LoadConfiguration(ConfigStore& store, const std::u16string& directory);

// Writes the three lines LoadOnStart, AlwaysOnTop, DefaultLanguageId (CR LF each, fallbacks
// "true", "false", "0") to `directory`/Configuration.dat, one byte per character ("?" for a
// character beyond U+00FF). Reports nothing; a file that cannot be opened stays as it was.
void SaveConfiguration(const ConfigStore& store, const std::u16string& directory);

// The value of the first entry with `key`, or nothing.
std::optional<std::u16string> GetSetting(const ConfigStore& store, std::u16string_view key);

// Replaces the value of the first entry with `key`, or adds an entry when there is none.
void SetSetting(ConfigStore& store, std::u16string_view key, std::u16string_view value);

// True when the setting is present and begins with "true" (case-sensitive).
bool IsSettingTrue(const ConfigStore& store, std::u16string_view key);

// A value read as a decimal integer by the rule of _wtoi: leading white space, optional sign,
// digits up to the first non-digit; no digits gives 0; beyond the int range, INT_MAX or INT_MIN.
int ReadDecimalSetting(std::u16string_view value);
