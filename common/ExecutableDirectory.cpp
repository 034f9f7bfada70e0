#include "common/ExecutableDirectory.h"

#include <windows.h>

#include <vector>

#include "common/WideText.h"

std::u16string ExecutablePath()
{
    // GetModuleFileNameW truncates silently when the buffer is too small, so grow until it fits.
    std::vector<wchar_t> buffer(MAX_PATH);
    for (;;) {
        DWORD length = GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (length == 0)
            return std::u16string();
        if (length < buffer.size())
            return FromWide(buffer.data(), length);
        buffer.resize(buffer.size() * 2);
    }
}

std::u16string ExecutableDirectory()
{
    std::u16string path = ExecutablePath();
    std::size_t slash = path.rfind(u'\\');
    return slash == std::u16string::npos ? path : path.substr(0, slash);
}
