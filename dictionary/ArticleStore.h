// The two article files in memory: reading, descrambling and releasing them.
// Portable; the file access underneath is POSIX or Win32 (ArticleFilesPosix.cpp / ArticleFilesWin32.cpp).
#pragma once

#include <cstdint>
#include <string>

#include "common/Identity.h"

// Both directions' texts. Each buffer is zero-filled, holds the file's bytes (descrambled once
// loaded) and then a whole zero code unit (one spare byte more for an odd size), so every
// 16-bit scan ends inside it. Texts and sizes are published together, after both files are read.
struct ArticleStore {
    unsigned char* text[2] = {nullptr, nullptr}; // owned buffers, indexed by Direction
    std::uint32_t size[2] = {0, 0};              // file lengths in bytes
    std::uint32_t units[2] = {0, 0};             // code units before the first zero unit, set by DescrambleArticles
    bool loaded = false;                         // both files read and neither empty
    bool descrambled = false;                    // DescrambleArticles has run on these texts
    unsigned char* retained = nullptr;           // direction 0's buffer when direction 1 failed; never searched
};

// The program's one store; tests and tools may use stores of their own.
extern ArticleStore Articles;

// What the loader asks the caller to show: nothing, message M1 or message M2.
enum class ArticleLoadMessage {
    None,
    FileNotFound, // M1: a file cannot be opened, or direction 0's size cannot be taken
    SizeUnknown,  // M2: direction 1's file opened but its size cannot be taken
};

// "Articles_English_German.dat" for direction 0, "Articles_German_English.dat" for direction 1.
std::u16string ArticleFileName(Direction direction);

// `executableDirectory` + "\Articles\" + ArticleFileName(direction); the directory ends without a backslash.
std::u16string ArticleFilePath(const std::u16string& executableDirectory, Direction direction);

// Reads both files (direction 0 first; direction 1 is not tried when 0 fails) into `store`,
// emptying it first. Buffers read before a failure stay owned by the store.
ArticleLoadMessage LoadArticleFiles(ArticleStore& store, const std::u16string& englishGermanPath,
                                    const std::u16string& germanEnglishPath);

// Subtracts 2 (mod 256) from every data byte of both texts, once; does nothing unless both
// buffers exist with non-zero sizes, and nothing on a second call. Also measures `units`.
void DescrambleArticles(ArticleStore& store);

// Frees both buffers (direction 0 first), and a retained one, and leaves the store empty and not loaded.
void FreeArticleBuffers(ArticleStore& store);

// The full text of a load message, ending with SiteRootUrl; empty for None.
std::u16string ArticleMessageText(ArticleLoadMessage message);
