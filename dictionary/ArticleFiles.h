// The file and memory operations beneath the article loader. Portable interface; the platform's
// own set lives in ArticleFilesPosix.cpp or ArticleFilesWin32.cpp. Tests pass sets of their own
// to reach failures that real files cannot produce.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "dictionary/ArticleStore.h"

// An open article file; what it holds is the platform's business.
struct ArticleFile;

struct ArticleFileAccess {
    ArticleFile* (*open)(const std::u16string& path);                // read-only, shared for reading; nullptr when it cannot be opened
    bool (*size)(ArticleFile* file, std::uint32_t& bytes);             // false when the size cannot be taken or exceeds 32 bits
    bool (*read)(ArticleFile* file, unsigned char* buffer, std::uint32_t bytes); // false on a read error; a short file leaves the rest untouched
    void (*close)(ArticleFile* file);
    unsigned char* (*allocate)(std::uint32_t bytes);                   // AllocateArticleBuffer, or nullptr to refuse
};

// Largest piece a single platform read call is asked for; bigger files take several calls.
inline constexpr std::uint32_t ArticleReadChunkBytes = 1u << 20;

// The platform's file access with AllocateArticleBuffer.
const ArticleFileAccess& PlatformArticleFiles();

// A zero-filled buffer for a file of `bytes` bytes plus a whole zero code unit after them
// (one spare byte more for an odd size); nullptr when it cannot be had. Freed with std::free.
unsigned char* AllocateArticleBuffer(std::uint32_t bytes);

// LoadArticleFiles with the given file access.
ArticleLoadMessage LoadArticleFiles(ArticleStore& store, const std::u16string& englishGermanPath,
                                    const std::u16string& germanEnglishPath, const ArticleFileAccess& access);
