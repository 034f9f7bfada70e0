// A second program for the capture tests: it changes the clipboard as another application would
// and keeps clipboard viewers of its own, logging what reaches them.
//   ClipboardHelper text TEXT          Unicode text onto the clipboard
//   ClipboardHelper bitmap             a small picture (and nothing else) onto the clipboard
//   ClipboardHelper viewers LOG CMD    two viewer windows, V1 then V2, join the chain; each line
//                                      appended to the file CMD is a command: "leave V1",
//                                      "leave V2", "quit". Every message seen goes to LOG.
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>

namespace {

struct Viewer {
    const char* name;
    HWND window = nullptr;
    HWND next = nullptr;
    bool inChain = false;
};

Viewer Viewers[2] = {{"V1"}, {"V2"}};
FILE* Log = nullptr;

void Write(const char* format, const char* a, const char* b)
{
    std::fprintf(Log, format, a, b);
    std::fflush(Log);
}

const char* NameOf(HWND window)
{
    for (Viewer& v : Viewers)
        if (v.window == window)
            return v.name;
    return window ? "other" : "none";
}

Viewer* ViewerOf(HWND window)
{
    for (Viewer& v : Viewers)
        if (v.window == window)
            return &v;
    return nullptr;
}

// A well-behaved viewer: passes every change on and keeps its successor up to date.
LRESULT CALLBACK ViewerProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    Viewer* self = ViewerOf(window);
    if (self && message == WM_DRAWCLIPBOARD) {
        Write("%s draw%s\n", self->name, "");
        if (self->next)
            SendMessageW(self->next, message, wParam, lParam);
        return 0;
    }
    if (self && message == WM_CHANGECBCHAIN) {
        HWND removed = reinterpret_cast<HWND>(wParam);
        Write("%s change %s\n", self->name, NameOf(removed));
        if (removed == self->next)
            self->next = reinterpret_cast<HWND>(lParam);
        else if (self->next)
            SendMessageW(self->next, message, wParam, lParam);
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

bool PutOnClipboard(UINT format, HANDLE data)
{
    if (!OpenClipboard(nullptr))
        return false;
    EmptyClipboard();
    bool put = SetClipboardData(format, data) != nullptr;
    CloseClipboard();
    return put;
}

int PutText(const wchar_t* text)
{
    std::size_t bytes = (wcslen(text) + 1) * sizeof(wchar_t);
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes);
    std::memcpy(GlobalLock(memory), text, bytes);
    GlobalUnlock(memory);
    return PutOnClipboard(CF_UNICODETEXT, memory) ? 0 : 1;
}

int PutBitmap()
{
    static const WORD pixels[8] = {0x5555, 0xAAAA, 0x5555, 0xAAAA, 0x5555, 0xAAAA, 0x5555, 0xAAAA};
    HBITMAP bitmap = CreateBitmap(8, 8, 1, 1, pixels);
    return PutOnClipboard(CF_BITMAP, bitmap) ? 0 : 1;
}

int RunViewers(const wchar_t* logPath, const wchar_t* commandPath)
{
    Log = _wfopen(logPath, L"a");
    if (!Log)
        return 1;
    WNDCLASSW windowClass = {};
    windowClass.lpfnWndProc = ViewerProcedure;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = L"ClipboardHelperViewer";
    RegisterClassW(&windowClass);
    for (Viewer& v : Viewers) {
        v.window = CreateWindowExW(0, windowClass.lpszClassName, L"", 0, 0, 0, 0, 0, nullptr, nullptr,
                                   windowClass.hInstance, nullptr);
        v.next = SetClipboardViewer(v.window);
        v.inChain = true;
        Write("%s joined, next %s\n", v.name, NameOf(v.next));
    }
    Write("ready%s%s\n", "", "");
    long done = 0;
    for (;;) {
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE))
            DispatchMessageW(&message);
        if (FILE* commands = _wfopen(commandPath, L"r")) {
            std::fseek(commands, done, SEEK_SET);
            char line[64];
            while (std::fgets(line, sizeof line, commands)) {
                done = std::ftell(commands);
                std::string command(line);
                if (command.rfind("quit", 0) == 0) {
                    std::fclose(commands);
                    return 0;
                }
                for (Viewer& v : Viewers) {
                    if (v.inChain && command == std::string("leave ") + v.name + "\n") {
                        ChangeClipboardChain(v.window, v.next);
                        v.inChain = false;
                        Write("%s left%s\n", v.name, "");
                    }
                }
            }
            std::fclose(commands);
        }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
    }
}

} // namespace

int wmain(int argc, wchar_t** argv)
{
    std::wstring command = argc > 1 ? argv[1] : L"";
    if (command == L"text" && argc == 3)
        return PutText(argv[2]);
    if (command == L"bitmap")
        return PutBitmap();
    if (command == L"viewers" && argc == 4)
        return RunViewers(argv[2], argv[3]);
    std::fputs("usage: ClipboardHelper text TEXT | bitmap | viewers LOG COMMANDS\n", stderr);
    return 64;
}
