// Stands in for the browser and the HTML viewer while the vendor tests run: the test points the
// shell's handlers for http and .html at it as `ShellRecorder.exe RECORD "%1"`. It appends what
// it was handed as one UTF-8 line to the file RECORD and ends.
#include <windows.h>
#include <shellapi.h>

#include <string>

namespace {

std::string Utf8(const std::wstring& text)
{
    int size = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0,
                                   nullptr, nullptr);
    std::string bytes(size > 0 ? size : 0, '\0');
    if (size > 0)
        WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), bytes.data(), size,
                            nullptr, nullptr);
    return bytes;
}

} // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int)
{
    int count = 0;
    wchar_t** arguments = CommandLineToArgvW(GetCommandLineW(), &count);
    if (arguments == nullptr || count < 2)
        return 1;
    // Anything but exactly one argument after the record file is kept whole, so that the test
    // sees how the shell split it.
    std::wstring line = count == 3 ? std::wstring(arguments[2]) : L"?" + std::wstring(GetCommandLineW());
    std::string bytes = Utf8(line) + "\n";
    HANDLE file = CreateFileW(arguments[1], FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return 1;
    DWORD written = 0;
    WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(file);
    LocalFree(arguments);
    return 0;
}
