// Another program under the same Wine, for the capture and tray tests: it changes and reads the
// clipboard as any application would, keeps clipboard viewers of its own that log what reaches
// them, and asks the shell whether a notification-area icon exists.
//   OtherProgram text HEX           UTF-16 text (hexadecimal code units) onto the clipboard
//   OtherProgram bitmap             a small picture, and nothing else, onto the clipboard
//   OtherProgram clipboard          prints the clipboard's Unicode text as hexadecimal, "-" if none
//   OtherProgram tray-icon HWND ID  exit code 0 when the shell holds icon ID of window HWND
//   OtherProgram tray-area          moves Wine's stand-alone notification area to a free part of
//                                   the screen and prints its client rectangle there
//   OtherProgram viewers LOG CMDS   viewers V1, V2, V3 join the clipboard chain in this order; each
//                                   line appended to the file CMDS is a command: "leave Vn",
//                                   "join V4", "mark TEXT", "quit". What they see goes to LOG.
#include <windows.h>
#include <shellapi.h>

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

Viewer Viewers[4] = {{"V1"}, {"V2"}, {"V3"}, {"V4"}};
FILE* Log = nullptr;

void Write(const std::string& line)
{
    std::fputs((line + "\n").c_str(), Log);
    std::fflush(Log);
}

Viewer* ViewerOf(HWND window)
{
    for (Viewer& v : Viewers)
        if (v.window == window)
            return &v;
    return nullptr;
}

std::string NameOf(HWND window)
{
    if (Viewer* v = ViewerOf(window))
        return v->name;
    return window ? "other" : "none";
}

// A well-behaved viewer: passes every change on and keeps its successor up to date. One that
// has left the chain has no successor and passes nothing on.
LRESULT CALLBACK ViewerProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    Viewer* self = ViewerOf(window);
    if (self && message == WM_DRAWCLIPBOARD) {
        Write(std::string(self->name) + " draw");
        if (self->next)
            SendMessageW(self->next, message, wParam, lParam);
        return 0;
    }
    if (self && message == WM_CHANGECBCHAIN) {
        HWND removed = reinterpret_cast<HWND>(wParam);
        Write(std::string(self->name) + " change " + NameOf(removed));
        if (removed == self->next)
            self->next = reinterpret_cast<HWND>(lParam);
        else if (self->next)
            SendMessageW(self->next, message, wParam, lParam);
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

std::wstring FromHex(const char* hex)
{
    std::wstring text;
    if (std::strcmp(hex, "-") == 0)
        return text;
    for (std::size_t i = 0; hex[i] && hex[i + 1] && hex[i + 2] && hex[i + 3]; i += 4)
        text.push_back(static_cast<wchar_t>(std::stoul(std::string(hex + i, 4), nullptr, 16)));
    return text;
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

int PutText(const std::wstring& text)
{
    std::size_t bytes = (text.size() + 1) * sizeof(wchar_t);
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes);
    std::memcpy(GlobalLock(memory), text.c_str(), bytes);
    GlobalUnlock(memory);
    return PutOnClipboard(CF_UNICODETEXT, memory) ? 0 : 1;
}

int PutBitmap()
{
    static const WORD pixels[8] = {0x5555, 0xAAAA, 0x5555, 0xAAAA, 0x5555, 0xAAAA, 0x5555, 0xAAAA};
    HBITMAP bitmap = CreateBitmap(8, 8, 1, 1, pixels);
    return PutOnClipboard(CF_BITMAP, bitmap) ? 0 : 1;
}

int PrintClipboard()
{
    std::string hex = "-";
    if (OpenClipboard(nullptr)) {
        if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
            if (const wchar_t* text = static_cast<const wchar_t*>(GlobalLock(data))) {
                hex.clear();
                char unit[8];
                for (; *text; ++text) {
                    std::snprintf(unit, sizeof unit, "%04x", static_cast<unsigned>(*text));
                    hex += unit;
                }
                GlobalUnlock(data);
            }
        }
        CloseClipboard();
    }
    std::printf("%s\n", hex.c_str());
    return 0;
}

// NIM_MODIFY that changes nothing succeeds exactly when the shell knows the icon.
int TrayIconExists(const char* window, const char* id)
{
    NOTIFYICONDATAW data = {};
    data.cbSize = NOTIFYICONDATAW_V3_SIZE;
    data.hWnd = reinterpret_cast<HWND>(static_cast<INT_PTR>(std::stoll(window)));
    data.uID = static_cast<UINT>(std::stoul(id));
    return Shell_NotifyIconW(NIM_MODIFY, &data) ? 0 : 1;
}

// Wine shows the icons in a window of its own when no desktop panel takes them, at the top left
// where the tests' windows open too. Without a window manager nothing raises it reliably, so it
// goes where no other window is.
int TrayArea()
{
    HWND tray = FindWindowW(nullptr, L"Wine System Tray");
    if (!tray)
        return 1;
    SetWindowPos(tray, HWND_TOPMOST, 700, 700, 0, 0, SWP_NOSIZE | SWP_NOACTIVATE);
    RECT client = {};
    GetClientRect(tray, &client);
    MapWindowPoints(tray, nullptr, reinterpret_cast<POINT*>(&client), 2);
    std::printf("%ld %ld %ld %ld\n", client.left, client.top, client.right, client.bottom);
    return 0;
}

void Join(Viewer& viewer)
{
    viewer.next = SetClipboardViewer(viewer.window);
    viewer.inChain = true;
    Write(std::string(viewer.name) + " joined, next " + NameOf(viewer.next));
}

void Leave(Viewer& viewer)
{
    ChangeClipboardChain(viewer.window, viewer.next);
    viewer.inChain = false;
    viewer.next = nullptr;
    Write(std::string(viewer.name) + " left");
}

// Runs one command line; false for "quit".
bool RunViewerCommand(const std::string& command)
{
    if (command == "quit")
        return false;
    if (command.rfind("mark ", 0) == 0)
        Write(command);
    for (Viewer& v : Viewers) {
        if (command == std::string("leave ") + v.name && v.inChain)
            Leave(v);
        if (command == std::string("join ") + v.name && !v.inChain)
            Join(v);
    }
    return true;
}

int RunViewers(const wchar_t* logPath, const wchar_t* commandPath)
{
    Log = _wfopen(logPath, L"a");
    if (!Log)
        return 1;
    WNDCLASSW windowClass = {};
    windowClass.lpfnWndProc = ViewerProcedure;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = L"OtherProgramViewer";
    RegisterClassW(&windowClass);
    for (Viewer& v : Viewers)
        v.window = CreateWindowExW(0, windowClass.lpszClassName, L"", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                                   windowClass.hInstance, nullptr);
    for (int i = 0; i < 3; ++i)
        Join(Viewers[i]);
    Write("ready");
    long done = 0;
    for (;;) {
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE))
            DispatchMessageW(&message);
        if (FILE* commands = _wfopen(commandPath, L"rb")) {
            std::fseek(commands, done, SEEK_SET);
            char line[256];
            while (std::fgets(line, sizeof line, commands)) {
                std::string command(line);
                if (command.empty() || command.back() != '\n')
                    break; // a line still being written
                done = std::ftell(commands);
                while (!command.empty() && (command.back() == '\n' || command.back() == '\r'))
                    command.pop_back();
                if (!RunViewerCommand(command)) {
                    std::fclose(commands);
                    return 0;
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
    std::string arguments[3];
    for (int i = 2; i < argc && i < 5; ++i)
        for (const wchar_t* c = argv[i]; *c; ++c)
            arguments[i - 2].push_back(static_cast<char>(*c));
    if (command == L"text" && argc == 3)
        return PutText(FromHex(arguments[0].c_str()));
    if (command == L"bitmap")
        return PutBitmap();
    if (command == L"clipboard")
        return PrintClipboard();
    if (command == L"tray-icon" && argc == 4)
        return TrayIconExists(arguments[0].c_str(), arguments[1].c_str());
    if (command == L"tray-area")
        return TrayArea();
    if (command == L"viewers" && argc == 4)
        return RunViewers(argv[2], argv[3]);
    std::fputs("usage: OtherProgram text HEX | bitmap | clipboard | tray-icon HWND ID | tray-area | viewers LOG CMDS\n", stderr);
    return 64;
}
