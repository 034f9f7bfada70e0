// Article file access on POSIX systems: paths go to the file system as UTF-8.
#include <cerrno>
#include <cstdint>
#include <new>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "common/TextCodec.h"
#include "dictionary/ArticleFiles.h"

struct ArticleFile {
    int descriptor;
};

namespace {

ArticleFile* OpenArticleFile(const std::u16string& path)
{
    const int descriptor = ::open(Utf16ToUtf8(path).c_str(), O_RDONLY | O_CLOEXEC);
    if (descriptor < 0)
        return nullptr;
    // A folder opens on POSIX but not on Windows; refuse it here as well.
    struct stat status {};
    if (::fstat(descriptor, &status) == 0 && S_ISDIR(status.st_mode)) {
        ::close(descriptor);
        return nullptr;
    }
    ArticleFile* file = new (std::nothrow) ArticleFile{descriptor};
    if (file == nullptr)
        ::close(descriptor);
    return file;
}

bool ArticleFileSize(ArticleFile* file, std::uint32_t& bytes)
{
    struct stat status {};
    if (::fstat(file->descriptor, &status) != 0 || status.st_size < 0 || status.st_size > UINT32_MAX)
        return false;
    bytes = static_cast<std::uint32_t>(status.st_size);
    return true;
}

bool ReadArticleFile(ArticleFile* file, unsigned char* buffer, std::uint32_t bytes)
{
    std::uint32_t done = 0;
    while (done < bytes) {
        const std::uint32_t piece = bytes - done < ArticleReadChunkBytes ? bytes - done : ArticleReadChunkBytes;
        const ssize_t got = ::read(file->descriptor, buffer + done, piece);
        if (got < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        if (got == 0)
            break; // the file shrank since its size was taken; the rest keeps its zero fill
        done += static_cast<std::uint32_t>(got);
    }
    return true;
}

void CloseArticleFile(ArticleFile* file)
{
    ::close(file->descriptor);
    delete file;
}

const ArticleFileAccess PosixAccess = {
    OpenArticleFile, ArticleFileSize, ReadArticleFile, CloseArticleFile, AllocateArticleBuffer,
};

} // namespace

const ArticleFileAccess& PlatformArticleFiles()
{
    return PosixAccess;
}
