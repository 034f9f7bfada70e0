// Helpers for the tools' tests: whole files, temporary folders, and the records of a text.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

inline std::string ReadBytes(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream buffer;
    buffer << in.rdbuf();
    return buffer.str();
}

inline void WriteBytes(const std::filesystem::path& path, const std::string& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    ASSERT_TRUE(out.good()) << path;
}

// A fresh folder under the system's temporary folder, removed with everything in it.
struct TemporaryFolder {
    std::filesystem::path path;
    TemporaryFolder()
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "dict-tools-XXXXXX").string();
        if (mkdtemp(pattern.data()) != nullptr)
            path = pattern;
    }
    ~TemporaryFolder()
    {
        std::error_code ignored;
        if (!path.empty())
            std::filesystem::remove_all(path, ignored);
    }
    TemporaryFolder(const TemporaryFolder&) = delete;
    TemporaryFolder& operator=(const TemporaryFolder&) = delete;
};

struct PlainRecord {
    std::u16string headword;
    std::u16string article;
};

// The records of a well-formed text: each opens with line feed and "|", its headword runs to the
// next "|", its article to the next record's opening (its line feed included) or the text's end.
inline std::vector<PlainRecord> SplitRecords(std::u16string_view text)
{
    std::vector<PlainRecord> records;
    std::size_t open = text.find(u"\n|");
    while (open != std::u16string_view::npos) {
        const std::size_t headwordStart = open + 2;
        const std::size_t bar = text.find(u'|', headwordStart);
        if (bar == std::u16string_view::npos) {
            records.push_back({std::u16string(text.substr(headwordStart)), u""});
            break;
        }
        const std::size_t next = text.find(u"\n|", bar + 1);
        const std::size_t articleEnd = next == std::u16string_view::npos ? text.size() : next + 1;
        records.push_back({std::u16string(text.substr(headwordStart, bar - headwordStart)),
                           std::u16string(text.substr(bar + 1, articleEnd - bar - 1))});
        open = next;
    }
    return records;
}
