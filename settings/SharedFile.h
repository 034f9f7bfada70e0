// Opening the configuration file by its UTF-16 path without denying other processes any
// access; one implementation per platform (SharedFileWin32.cpp, SharedFilePosix.cpp).
#pragma once

#include <cstdio>
#include <string>

// What separates a folder from a file name in a path of this platform.
#ifdef _WIN32
inline constexpr char16_t PathSeparator = u'\\';
#else
inline constexpr char16_t PathSeparator = u'/';
#endif

// The file at `path` opened with the stdio `mode` ("r+b", "wb"); nullptr when it cannot be
// opened that way or when the path holds a NUL, which would name a different file.
std::FILE* OpenSharedFile(const std::u16string& path, const char* mode);
