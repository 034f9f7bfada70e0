// Article file access on Windows: UTF-16 paths straight to CreateFileW.
#include <windows.h>

#include <new>

#include "common/WideText.h"
#include "dictionary/ArticleFiles.h"

struct ArticleFile {
    HANDLE handle;
};

namespace {

ArticleFile* OpenArticleFile(const std::u16string& path)
{
    const HANDLE handle = CreateFileW(Wide(path), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                      FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE)
        return nullptr;
    ArticleFile* file = new (std::nothrow) ArticleFile{handle};
    if (file == nullptr)
        CloseHandle(handle);
    return file;
}

bool ArticleFileSize(ArticleFile* file, std::uint32_t& bytes)
{
    // Asking for the high part as well: without it a file of 4 GiB or more would pass as its
    // low 32 bits and be read truncated.
    DWORD high = 0;
    SetLastError(NO_ERROR);
    const DWORD low = GetFileSize(file->handle, &high);
    if (low == INVALID_FILE_SIZE && GetLastError() != NO_ERROR)
        return false;
    if (high != 0)
        return false;
    bytes = low;
    return true;
}

bool ReadArticleFile(ArticleFile* file, unsigned char* buffer, std::uint32_t bytes)
{
    std::uint32_t done = 0;
    while (done < bytes) {
        const DWORD piece = bytes - done < ArticleReadChunkBytes ? bytes - done : ArticleReadChunkBytes;
        DWORD got = 0;
        if (!ReadFile(file->handle, buffer + done, piece, &got, nullptr))
            return false;
        if (got == 0)
            break; // the file shrank since its size was taken; the rest keeps its zero fill
        done += got;
    }
    return true;
}

void CloseArticleFile(ArticleFile* file)
{
    CloseHandle(file->handle);
    delete file;
}

const ArticleFileAccess Win32Access = {
    OpenArticleFile, ArticleFileSize, ReadArticleFile, CloseArticleFile, AllocateArticleBuffer,
};

} // namespace

const ArticleFileAccess& PlatformArticleFiles()
{
    return Win32Access;
}
