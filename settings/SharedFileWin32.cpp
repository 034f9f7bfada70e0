#include "settings/SharedFile.h"

#include <share.h>

#include "common/WideText.h"

std::FILE* OpenSharedFile(const std::u16string& path, const char* mode)
{
    if (path.find(u'\0') != std::u16string::npos)
        return nullptr;
    std::wstring wideMode(mode, mode + std::char_traits<char>::length(mode));
    return _wfsopen(Wide(path), wideMode.c_str(), _SH_DENYNO);
}
