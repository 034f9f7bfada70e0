#include "common/TextCodec.h"
#include "settings/SharedFile.h"

std::FILE* OpenSharedFile(const std::u16string& path, const char* mode)
{
    if (path.find(u'\0') != std::u16string::npos)
        return nullptr;
    return std::fopen(Utf16ToUtf8(path).c_str(), mode);
}
