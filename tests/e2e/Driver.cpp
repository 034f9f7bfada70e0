// The end-to-end tests' hands and eyes inside Wine: a console program that reads one command a
// line from standard input and answers each with one line of JSON on standard output. It finds
// the dictionary's windows, reads its controls the way another process must (structures and
// buffers placed in the program's memory where the system does not marshal a message), and
// loads a probe DLL into the program for what only works from inside (menu states, timing).
// Text goes both ways as hexadecimal UTF-16 code units, so no quoting is needed on the way in.
#include <windows.h>
#include <commctrl.h>
#include <psapi.h>

#include <cstdint>
#include <cstdio>
#include <initializer_list>
#include <iostream>
#include <memory>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "ProbeProtocol.h"

namespace {

// ---- JSON output ----------------------------------------------------------------------------

std::string JsonText(const std::wstring& text)
{
    std::string out = "\"";
    char escape[8];
    for (wchar_t unit : text) {
        if (unit == L'"' || unit == L'\\') {
            out += '\\';
            out += static_cast<char>(unit);
        } else if (unit >= 0x20 && unit < 0x7F) {
            out += static_cast<char>(unit);
        } else {
            std::snprintf(escape, sizeof escape, "\\u%04x", static_cast<unsigned>(unit));
            out += escape;
        }
    }
    return out + "\"";
}

std::string JsonNumber(long long value)
{
    return std::to_string(value);
}

std::string JsonHandle(const void* handle)
{
    return std::to_string(reinterpret_cast<std::uintptr_t>(handle));
}

std::string JsonNumbers(std::initializer_list<long long> values)
{
    std::string out;
    out += '[';
    for (long long value : values) {
        if (out.size() > 1)
            out += ',';
        out += JsonNumber(value);
    }
    out += ']';
    return out;
}

std::string JsonRect(const RECT& r)
{
    return JsonNumbers({r.left, r.top, r.right, r.bottom});
}

struct Json {
    std::string body;
    Json& Add(const char* key, const std::string& value)
    {
        body += body.empty() ? "{" : ",";
        body += "\"";
        body += key;
        body += "\":";
        body += value;
        return *this;
    }
    std::string Text() const { return body.empty() ? "{}" : body + "}"; }
};

std::string JsonArray(const std::vector<std::string>& values)
{
    std::string out = "[";
    for (std::size_t i = 0; i < values.size(); ++i)
        out += (i ? "," : "") + values[i];
    return out + "]";
}

// ---- arguments ------------------------------------------------------------------------------

std::wstring FromHex(const std::string& hex)
{
    std::wstring text;
    if (hex == "-")
        return text;
    for (std::size_t i = 0; i + 4 <= hex.size(); i += 4)
        text.push_back(static_cast<wchar_t>(std::stoul(hex.substr(i, 4), nullptr, 16)));
    return text;
}

HWND ToWindow(const std::string& value)
{
    return reinterpret_cast<HWND>(static_cast<std::uintptr_t>(std::stoull(value)));
}

// ---- reading windows ------------------------------------------------------------------------

constexpr UINT SendTimeoutMs = 5000;

bool SendWithTimeout(HWND window, UINT message, WPARAM wParam, LPARAM lParam, DWORD_PTR& result)
{
    return SendMessageTimeoutW(window, message, wParam, lParam, SMTO_NORMAL, SendTimeoutMs, &result) != 0;
}

// WM_GETTEXT is marshalled between processes by the system.
std::wstring WindowText(HWND window)
{
    DWORD_PTR length = 0;
    if (!SendWithTimeout(window, WM_GETTEXTLENGTH, 0, 0, length))
        throw std::runtime_error("WM_GETTEXTLENGTH timed out");
    std::vector<wchar_t> buffer(length + 1, L'\0');
    DWORD_PTR copied = 0;
    if (!SendWithTimeout(window, WM_GETTEXT, buffer.size(), reinterpret_cast<LPARAM>(buffer.data()), copied))
        throw std::runtime_error("WM_GETTEXT timed out");
    return std::wstring(buffer.data(), copied);
}

std::wstring ClassName(HWND window)
{
    wchar_t name[256] = {};
    GetClassNameW(window, name, 256);
    return name;
}

DWORD ProcessOf(HWND window)
{
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    return process;
}

std::wstring ProcessImage(DWORD processId)
{
    HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId);
    if (process == nullptr)
        return std::wstring();
    wchar_t path[MAX_PATH * 4] = {};
    DWORD length = MAX_PATH * 4;
    if (!QueryFullProcessImageNameW(process, 0, path, &length))
        length = 0;
    CloseHandle(process);
    return std::wstring(path, length);
}

// Memory in the program's process, for the messages whose structures the system passes as
// they are: LVM_GETITEMTEXTW, TCM_GETITEMW, TCM_GETITEMRECT.
class RemoteMemory {
public:
    RemoteMemory(HWND window, std::size_t size) : size_(size)
    {
        process_ = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, ProcessOf(window));
        if (process_ == nullptr)
            throw std::runtime_error("OpenProcess failed");
        address_ = VirtualAllocEx(process_, nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
        if (address_ == nullptr) {
            CloseHandle(process_);
            throw std::runtime_error("VirtualAllocEx failed");
        }
    }
    ~RemoteMemory()
    {
        VirtualFreeEx(process_, address_, 0, MEM_RELEASE);
        CloseHandle(process_);
    }
    RemoteMemory(const RemoteMemory&) = delete;
    RemoteMemory& operator=(const RemoteMemory&) = delete;

    char* Address(std::size_t offset = 0) const { return static_cast<char*>(address_) + offset; }
    void Write(std::size_t offset, const void* data, std::size_t bytes) const
    {
        if (!WriteProcessMemory(process_, Address(offset), data, bytes, nullptr))
            throw std::runtime_error("WriteProcessMemory failed");
    }
    void Read(std::size_t offset, void* data, std::size_t bytes) const
    {
        if (!ReadProcessMemory(process_, Address(offset), data, bytes, nullptr))
            throw std::runtime_error("ReadProcessMemory failed");
    }

private:
    HANDLE process_ = nullptr;
    void* address_ = nullptr;
    std::size_t size_;
};

// The texts of a list view's items, read through one block in the program's memory that grows
// for an item that does not fit.
std::vector<std::wstring> ListItemTexts(HWND list, int count)
{
    std::vector<std::wstring> texts;
    std::size_t capacity = 1024;
    auto memory = std::make_unique<RemoteMemory>(list, sizeof(LVITEMW) + capacity * sizeof(wchar_t));
    for (int index = 0; index < count;) {
        LVITEMW item = {};
        item.iSubItem = 0;
        item.pszText = reinterpret_cast<wchar_t*>(memory->Address(sizeof(LVITEMW)));
        item.cchTextMax = static_cast<int>(capacity);
        memory->Write(0, &item, sizeof item);
        DWORD_PTR copied = 0;
        if (!SendWithTimeout(list, LVM_GETITEMTEXTW, index, reinterpret_cast<LPARAM>(memory->Address()), copied))
            throw std::runtime_error("LVM_GETITEMTEXTW timed out");
        if (copied + 1 >= capacity && capacity < (1u << 22)) {
            capacity *= 4;
            memory = std::make_unique<RemoteMemory>(list, sizeof(LVITEMW) + capacity * sizeof(wchar_t));
            continue;
        }
        std::wstring text(copied, L'\0');
        memory->Read(sizeof(LVITEMW), text.data(), copied * sizeof(wchar_t));
        texts.push_back(text);
        ++index;
    }
    return texts;
}

// ---- the probe DLL --------------------------------------------------------------------------

std::wstring DriverDirectory()
{
    wchar_t path[MAX_PATH * 4] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH * 4);
    std::wstring text = path;
    return text.substr(0, text.rfind(L'\\'));
}

HMODULE RemoteModule(HANDLE process, const wchar_t* name)
{
    HMODULE modules[1024];
    DWORD needed = 0;
    if (!EnumProcessModulesEx(process, modules, sizeof modules, &needed, LIST_MODULES_ALL))
        return nullptr;
    for (DWORD i = 0; i < needed / sizeof(HMODULE) && i < 1024; ++i) {
        wchar_t base[MAX_PATH] = {};
        GetModuleBaseNameW(process, modules[i], base, MAX_PATH);
        if (lstrcmpiW(base, name) == 0)
            return modules[i];
    }
    return nullptr;
}

// The address in the other process of a function exported by a module loaded in both.
void* RemoteFunction(HANDLE process, HMODULE local, const wchar_t* moduleName, const char* function)
{
    HMODULE remote = RemoteModule(process, moduleName);
    FARPROC address = GetProcAddress(local, function);
    if (remote == nullptr || address == nullptr)
        return nullptr;
    return reinterpret_cast<char*>(remote) + (reinterpret_cast<char*>(address) - reinterpret_cast<char*>(local));
}

bool RunRemoteThread(HANDLE process, void* start, void* argument, DWORD timeoutMs)
{
    HANDLE thread = CreateRemoteThread(process, nullptr, 0, reinterpret_cast<LPTHREAD_START_ROUTINE>(start), argument,
                                       0, nullptr);
    if (thread == nullptr)
        return false;
    const bool ended = WaitForSingleObject(thread, timeoutMs) == WAIT_OBJECT_0;
    CloseHandle(thread);
    return ended;
}

// Runs ProbeMain in the program's process on `block`; the block comes back filled in.
void RunProbe(HWND window, ProbeBlock& block, DWORD timeoutMs)
{
    static const std::wstring probePath = DriverDirectory() + L"\\E2eProbe.dll";
    static HMODULE localProbe = LoadLibraryW(probePath.c_str());
    if (localProbe == nullptr)
        throw std::runtime_error("cannot load E2eProbe.dll in the driver");
    HANDLE process = OpenProcess(PROCESS_ALL_ACCESS, FALSE, ProcessOf(window));
    if (process == nullptr)
        throw std::runtime_error("OpenProcess failed");
    struct Closer {
        HANDLE handle;
        ~Closer() { CloseHandle(handle); }
    } closer{process};

    if (RemoteModule(process, L"E2eProbe.dll") == nullptr) {
        const std::size_t bytes = (probePath.size() + 1) * sizeof(wchar_t);
        void* path = VirtualAllocEx(process, nullptr, bytes, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
        WriteProcessMemory(process, path, probePath.c_str(), bytes, nullptr);
        void* loadLibrary = RemoteFunction(process, GetModuleHandleW(L"kernel32.dll"), L"kernel32.dll", "LoadLibraryW");
        const bool loaded = loadLibrary != nullptr && RunRemoteThread(process, loadLibrary, path, 10000);
        VirtualFreeEx(process, path, 0, MEM_RELEASE);
        if (!loaded || RemoteModule(process, L"E2eProbe.dll") == nullptr)
            throw std::runtime_error("cannot load E2eProbe.dll into the program");
    }
    void* probeMain = RemoteFunction(process, localProbe, L"E2eProbe.dll", "ProbeMain");
    void* remoteBlock = VirtualAllocEx(process, nullptr, sizeof block, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
    if (probeMain == nullptr || remoteBlock == nullptr)
        throw std::runtime_error("cannot prepare the probe");
    WriteProcessMemory(process, remoteBlock, &block, sizeof block, nullptr);
    const bool ended = RunRemoteThread(process, probeMain, remoteBlock, timeoutMs);
    if (ended)
        ReadProcessMemory(process, remoteBlock, &block, sizeof block, nullptr);
    VirtualFreeEx(process, remoteBlock, 0, MEM_RELEASE);
    if (!ended)
        throw std::runtime_error("the probe did not finish");
}

// ---- commands -------------------------------------------------------------------------------

using Arguments = std::vector<std::string>;

std::string WindowFacts(HWND window)
{
    RECT rect = {}, client = {};
    GetWindowRect(window, &rect);
    GetClientRect(window, &client);
    MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&client), 2);
    wchar_t title[1024] = {};
    GetWindowTextW(window, title, 1024);
    return Json()
        .Add("exists", IsWindow(window) ? "true" : "false")
        .Add("class", JsonText(ClassName(window)))
        .Add("title", JsonText(title))
        .Add("visible", IsWindowVisible(window) ? "true" : "false")
        .Add("iconic", IsIconic(window) ? "true" : "false")
        .Add("enabled", IsWindowEnabled(window) ? "true" : "false")
        .Add("style", JsonNumber(static_cast<DWORD>(GetWindowLongW(window, GWL_STYLE))))
        .Add("exstyle", JsonNumber(static_cast<DWORD>(GetWindowLongW(window, GWL_EXSTYLE))))
        .Add("id", JsonNumber(GetDlgCtrlID(window)))
        .Add("parent", JsonHandle(GetAncestor(window, GA_PARENT)))
        .Add("rect", JsonRect(rect))
        .Add("client", JsonRect(client))
        .Add("process", JsonNumber(ProcessOf(window)))
        .Add("image", JsonText(ProcessImage(ProcessOf(window))))
        .Add("topmost", (GetWindowLongW(window, GWL_EXSTYLE) & WS_EX_TOPMOST) ? "true" : "false")
        .Add("foreground", GetForegroundWindow() == window ? "true" : "false")
        .Text();
}

struct WindowSearch {
    std::wstring className;
    std::wstring folder;
    HWND found;
};

BOOL CALLBACK MatchWindow(HWND window, LPARAM parameter)
{
    WindowSearch& search = *reinterpret_cast<WindowSearch*>(parameter);
    if (ClassName(window) != search.className)
        return TRUE;
    const std::wstring image = ProcessImage(ProcessOf(window));
    if (!search.folder.empty()
        && (image.size() <= search.folder.size()
            || CompareStringOrdinal(image.c_str(), static_cast<int>(search.folder.size()), search.folder.c_str(),
                                    static_cast<int>(search.folder.size()), TRUE) != CSTR_EQUAL
            || image[search.folder.size()] != L'\\'))
        return TRUE;
    search.found = window;
    return FALSE;
}

// find CLASS FOLDER: a top-level window of CLASS whose program was started from FOLDER ("-":
// from anywhere); 0 when there is none.
std::string FindCommand(const Arguments& a)
{
    WindowSearch search{FromHex(a.at(1)), FromHex(a.at(2)), nullptr};
    EnumWindows(MatchWindow, reinterpret_cast<LPARAM>(&search));
    return Json().Add("hwnd", JsonHandle(search.found)).Text();
}

std::string ChildCommand(const Arguments& a)
{
    return Json().Add("hwnd", JsonHandle(GetDlgItem(ToWindow(a.at(1)), std::stoi(a.at(2))))).Text();
}

std::string ChildrenCommand(const Arguments& a)
{
    std::vector<std::string> children;
    for (HWND child = GetWindow(ToWindow(a.at(1)), GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT))
        children.push_back(JsonHandle(child));
    return Json().Add("children", JsonArray(children)).Text();
}

std::string ListCommand(const Arguments& a)
{
    HWND list = ToWindow(a.at(1));
    DWORD_PTR count = 0, mark = 0, top = 0, perPage = 0;
    SendWithTimeout(list, LVM_GETITEMCOUNT, 0, 0, count);
    SendWithTimeout(list, LVM_GETSELECTIONMARK, 0, 0, mark);
    SendWithTimeout(list, LVM_GETTOPINDEX, 0, 0, top);
    SendWithTimeout(list, LVM_GETCOUNTPERPAGE, 0, 0, perPage);
    std::vector<std::string> items;
    for (const std::wstring& text : ListItemTexts(list, static_cast<int>(count)))
        items.push_back(JsonText(text));
    return Json()
        .Add("items", JsonArray(items))
        .Add("selectionMark", JsonNumber(static_cast<int>(mark)))
        .Add("top", JsonNumber(static_cast<int>(top)))
        .Add("perPage", JsonNumber(static_cast<int>(perPage)))
        .Text();
}

// list-item-rect LIST INDEX: the item's bounds on the screen.
std::string ListItemRectCommand(const Arguments& a)
{
    HWND list = ToWindow(a.at(1));
    RemoteMemory memory(list, sizeof(RECT));
    RECT rect = {};
    rect.left = LVIR_BOUNDS;
    memory.Write(0, &rect, sizeof rect);
    DWORD_PTR ok = 0;
    SendWithTimeout(list, LVM_GETITEMRECT, std::stoi(a.at(2)), reinterpret_cast<LPARAM>(memory.Address()), ok);
    memory.Read(0, &rect, sizeof rect);
    MapWindowPoints(list, nullptr, reinterpret_cast<POINT*>(&rect), 2);
    return Json().Add("ok", ok ? "true" : "false").Add("rect", JsonRect(rect)).Text();
}

// toolbar-rect TOOLBAR INDEX: the button's bounds on the screen.
std::string ToolbarRectCommand(const Arguments& a)
{
    HWND toolbar = ToWindow(a.at(1));
    RemoteMemory memory(toolbar, sizeof(RECT));
    DWORD_PTR ok = 0;
    SendWithTimeout(toolbar, TB_GETITEMRECT, std::stoi(a.at(2)), reinterpret_cast<LPARAM>(memory.Address()), ok);
    RECT rect = {};
    memory.Read(0, &rect, sizeof rect);
    MapWindowPoints(toolbar, nullptr, reinterpret_cast<POINT*>(&rect), 2);
    return Json().Add("ok", ok ? "true" : "false").Add("rect", JsonRect(rect)).Text();
}

std::string TabsCommand(const Arguments& a)
{
    HWND tab = ToWindow(a.at(1));
    DWORD_PTR count = 0, selected = 0;
    SendWithTimeout(tab, TCM_GETITEMCOUNT, 0, 0, count);
    SendWithTimeout(tab, TCM_GETCURSEL, 0, 0, selected);
    std::vector<std::string> captions, rects;
    constexpr int capacity = 256;
    for (int i = 0; i < static_cast<int>(count); ++i) {
        RemoteMemory memory(tab, sizeof(TCITEMW) + capacity * sizeof(wchar_t) + sizeof(RECT));
        TCITEMW item = {};
        item.mask = TCIF_TEXT;
        item.pszText = reinterpret_cast<wchar_t*>(memory.Address(sizeof(TCITEMW)));
        item.cchTextMax = capacity;
        memory.Write(0, &item, sizeof item);
        DWORD_PTR ok = 0;
        SendWithTimeout(tab, TCM_GETITEMW, i, reinterpret_cast<LPARAM>(memory.Address()), ok);
        std::vector<wchar_t> text(capacity, L'\0');
        memory.Read(sizeof(TCITEMW), text.data(), capacity * sizeof(wchar_t));
        text.back() = L'\0';
        captions.push_back(JsonText(text.data()));
        const std::size_t rectOffset = sizeof(TCITEMW) + capacity * sizeof(wchar_t);
        SendWithTimeout(tab, TCM_GETITEMRECT, i, reinterpret_cast<LPARAM>(memory.Address(rectOffset)), ok);
        RECT rect = {};
        memory.Read(rectOffset, &rect, sizeof rect);
        MapWindowPoints(tab, nullptr, reinterpret_cast<POINT*>(&rect), 2);
        rects.push_back(JsonRect(rect));
    }
    return Json()
        .Add("selected", JsonNumber(static_cast<int>(selected)))
        .Add("captions", JsonArray(captions))
        .Add("rects", JsonArray(rects))
        .Text();
}

// menu WINDOW ID...: GetMenuState of each identifier, read inside the program.
std::string MenuCommand(const Arguments& a)
{
    ProbeBlock* block = new ProbeBlock();
    struct Deleter {
        ProbeBlock* block;
        ~Deleter() { delete block; }
    } deleter{block};
    block->command = ProbeMenuStates;
    block->window = reinterpret_cast<std::uintptr_t>(ToWindow(a.at(1)));
    for (std::size_t i = 2; i < a.size() && block->count < ProbeMaxItems; ++i)
        block->ids[block->count++] = static_cast<std::uint32_t>(std::stoul(a[i]));
    RunProbe(ToWindow(a.at(1)), *block, 10000);
    std::vector<std::string> states;
    for (std::uint32_t i = 0; i < block->count; ++i)
        states.push_back(JsonNumber(block->results[i]));
    return Json().Add("menu", block->menuFound ? "true" : "false").Add("states", JsonArray(states)).Text();
}

// time-search WINDOW DIRECTION WORD...: each word set into the word box, then the word box's
// change command timed inside the program.
std::string TimeSearchCommand(const Arguments& a)
{
    HWND window = ToWindow(a.at(1));
    const int direction = std::stoi(a.at(2));
    ProbeBlock* block = new ProbeBlock();
    struct Deleter {
        ProbeBlock* block;
        ~Deleter() { delete block; }
    } deleter{block};
    block->command = ProbeTimeSearches;
    block->window = reinterpret_cast<std::uintptr_t>(window);
    block->direction = direction;
    block->wordBox = reinterpret_cast<std::uintptr_t>(GetDlgItem(window, 1221 + direction));
    block->wordList = reinterpret_cast<std::uintptr_t>(GetDlgItem(window, 1030 + direction));
    block->articlePane = reinterpret_cast<std::uintptr_t>(GetDlgItem(GetDlgItem(window, 23), 1050 + direction));
    std::size_t used = 0;
    for (std::size_t i = 3; i < a.size() && block->count < ProbeMaxItems; ++i) {
        const std::wstring word = FromHex(a[i]);
        if (used + word.size() + 1 > ProbeWordUnits)
            break;
        word.copy(block->words + used, word.size());
        used += word.size() + 1;
        ++block->count;
    }
    RunProbe(window, *block, 600000);
    std::vector<std::string> times, baselines, listed, panes;
    for (std::uint32_t i = 0; i < block->count; ++i) {
        times.push_back(JsonNumber(block->results[i] * 1000000 / block->frequency));
        baselines.push_back(JsonNumber(block->baseline[i] * 1000000 / block->frequency));
        listed.push_back(JsonNumber(block->listed[i]));
        panes.push_back(JsonNumber(block->paneLength[i]));
    }
    return Json()
        .Add("microseconds", JsonArray(times))
        .Add("baselineMicroseconds", JsonArray(baselines))
        .Add("listed", JsonArray(listed))
        .Add("paneLength", JsonArray(panes))
        .Text();
}

struct BoxSearch {
    DWORD process;
    std::vector<std::string> boxes;
};

void CollectVisibleBox(HWND window, BoxSearch& search);

BOOL CALLBACK CollectMessageBox(HWND window, LPARAM parameter)
{
    BoxSearch& search = *reinterpret_cast<BoxSearch*>(parameter);
    // A hidden box is finished and may be destroyed at any moment: reading it could fail.
    if (ProcessOf(window) != search.process || ClassName(window) != L"#32770" || !IsWindowVisible(window))
        return TRUE;
    try {
        CollectVisibleBox(window, search);
    } catch (const std::runtime_error&) {
        // Gone while it was read.
    }
    return TRUE;
}

void CollectVisibleBox(HWND window, BoxSearch& search)
{
    const std::wstring caption = WindowText(window);
    std::wstring text;
    std::vector<std::string> buttons;
    for (HWND child = GetWindow(window, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
        const std::wstring childClass = ClassName(child);
        if (lstrcmpiW(childClass.c_str(), L"Static") == 0) {
            const std::wstring childText = WindowText(child);
            if (!childText.empty())
                text = childText;
        } else if (lstrcmpiW(childClass.c_str(), L"Button") == 0) {
            buttons.push_back(Json().Add("id", JsonNumber(GetDlgCtrlID(child))).Add("text", JsonText(WindowText(child))).Text());
        }
    }
    search.boxes.push_back(Json()
                               .Add("hwnd", JsonHandle(window))
                               .Add("caption", JsonText(caption))
                               .Add("text", JsonText(text))
                               .Add("visible", IsWindowVisible(window) ? "true" : "false")
                               .Add("owner", JsonHandle(GetWindow(window, GW_OWNER)))
                               .Add("buttons", JsonArray(buttons))
                               .Text());
}

// boxes PROCESS: the visible dialog windows (message boxes among them) of a process.
std::string BoxesCommand(const Arguments& a)
{
    BoxSearch search{static_cast<DWORD>(std::stoul(a.at(1))), {}};
    EnumWindows(CollectMessageBox, reinterpret_cast<LPARAM>(&search));
    return Json().Add("boxes", JsonArray(search.boxes)).Text();
}

// press DIALOG ID: what a click on the dialog's button sends.
std::string PressCommand(const Arguments& a)
{
    HWND dialog = ToWindow(a.at(1));
    const int id = std::stoi(a.at(2));
    const BOOL posted = PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                                     reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
    return Json().Add("posted", posted ? "true" : "false").Text();
}

// minmax WINDOW: WM_GETMINMAXINFO sent with every field set to a distinct value, as returned.
std::string MinMaxCommand(const Arguments& a)
{
    MINMAXINFO info = {{101, 102}, {103, 104}, {105, 106}, {107, 108}, {109, 110}};
    DWORD_PTR result = 1;
    const bool answered = SendWithTimeout(ToWindow(a.at(1)), WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info), result);
    std::vector<std::string> fields;
    for (const POINT& p : {info.ptReserved, info.ptMaxSize, info.ptMaxPosition, info.ptMinTrackSize, info.ptMaxTrackSize})
        fields.push_back(JsonNumbers({p.x, p.y}));
    return Json()
        .Add("answered", answered ? "true" : "false")
        .Add("result", JsonNumber(static_cast<long long>(result)))
        .Add("fields", JsonArray(fields))
        .Text();
}

std::string ShowCommand(const Arguments& a)
{
    ShowWindow(ToWindow(a.at(1)), std::stoi(a.at(2)));
    return Json().Text();
}

std::string PostCommand(const Arguments& a)
{
    const BOOL posted = PostMessageW(ToWindow(a.at(1)), static_cast<UINT>(std::stoul(a.at(2))),
                                     static_cast<WPARAM>(std::stoull(a.at(3))), static_cast<LPARAM>(std::stoll(a.at(4))));
    return Json().Add("posted", posted ? "true" : "false").Text();
}

// send WINDOW MESSAGE WPARAM LPARAM: the result of a message that carries no pointer.
std::string SendCommand(const Arguments& a)
{
    DWORD_PTR result = 0;
    const bool answered = SendWithTimeout(ToWindow(a.at(1)), static_cast<UINT>(std::stoul(a.at(2))),
                                          static_cast<WPARAM>(std::stoull(a.at(3))), static_cast<LPARAM>(std::stoll(a.at(4))),
                                          result);
    if (!answered)
        throw std::runtime_error("the message was not answered");
    return Json().Add("result", JsonNumber(static_cast<long long>(result))).Text();
}

// ping WINDOW: whether the window's thread answers a sent message.
std::string PingCommand(const Arguments& a)
{
    DWORD_PTR result = 0;
    const bool answered = SendWithTimeout(ToWindow(a.at(1)), WM_NULL, 0, 0, result);
    return Json().Add("answered", answered ? "true" : "false").Text();
}

std::string TextCommand(const Arguments& a)
{
    return Json().Add("text", JsonText(WindowText(ToWindow(a.at(1))))).Text();
}

std::string WindowCommand(const Arguments& a)
{
    return WindowFacts(ToWindow(a.at(1)));
}

// setup: Wine draws the window frames itself, as there is no window manager on the test display.
std::string SetupCommand(const Arguments&)
{
    HKEY key = nullptr;
    LONG status = RegCreateKeyExW(HKEY_CURRENT_USER, L"Software\\Wine\\X11 Driver", 0, nullptr, 0, KEY_SET_VALUE,
                                  nullptr, &key, nullptr);
    if (status == ERROR_SUCCESS) {
        const wchar_t no[] = L"N";
        status = RegSetValueExW(key, L"Decorated", 0, REG_SZ, reinterpret_cast<const BYTE*>(no), sizeof no);
        if (status == ERROR_SUCCESS)
            status = RegSetValueExW(key, L"Managed", 0, REG_SZ, reinterpret_cast<const BYTE*>(no), sizeof no);
        RegCloseKey(key);
    }
    return Json().Add("ok", status == ERROR_SUCCESS ? "true" : "false").Text();
}

double Milliseconds(const LARGE_INTEGER& start, const LARGE_INTEGER& end)
{
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(end.QuadPart - start.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

// launch EXE CLASS: starts a program, waits until it first waits for input and until its window
// of CLASS exists (and, for the dictionary, its word list is filled), then ends it.
std::string LaunchCommand(const Arguments& a)
{
    std::wstring path = FromHex(a.at(1));
    const std::wstring className = FromHex(a.at(2));
    const std::wstring folder = path.substr(0, path.rfind(L'\\'));
    std::wstring commandLine = L"\"" + path + L"\"";
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    LARGE_INTEGER start, idle, window, filled;
    QueryPerformanceCounter(&start);
    if (!CreateProcessW(path.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(), &startup,
                        &process))
        throw std::runtime_error("CreateProcessW failed");
    const DWORD waited = WaitForInputIdle(process.hProcess, 60000);
    QueryPerformanceCounter(&idle);
    HWND found = nullptr;
    for (int i = 0; i < 60000 && found == nullptr; ++i) {
        found = FindWindowW(className.c_str(), nullptr);
        if (found == nullptr)
            Sleep(1);
    }
    QueryPerformanceCounter(&window);
    HWND list = found != nullptr ? GetDlgItem(found, 1030) : nullptr;
    if (list == nullptr)
        list = found != nullptr ? GetDlgItem(found, 1031) : nullptr;
    for (int i = 0; list != nullptr && i < 60000; ++i) {
        DWORD_PTR count = 0;
        if (SendWithTimeout(list, LVM_GETITEMCOUNT, 0, 0, count) && count > 0)
            break;
        Sleep(1);
    }
    QueryPerformanceCounter(&filled);
    TerminateProcess(process.hProcess, 0);
    WaitForSingleObject(process.hProcess, 10000);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return Json()
        .Add("inputIdle", waited == 0 ? "true" : "false")
        .Add("idleMs", std::to_string(Milliseconds(start, idle)))
        .Add("windowMs", std::to_string(Milliseconds(start, window)))
        .Add("filledMs", std::to_string(Milliseconds(start, filled)))
        .Add("found", found != nullptr ? "true" : "false")
        .Text();
}

std::string MenuItems(HMENU menu)
{
    std::vector<std::string> items;
    const int count = GetMenuItemCount(menu);
    for (int i = 0; i < count; ++i) {
        wchar_t text[256] = {};
        MENUITEMINFOW info = {};
        info.cbSize = sizeof info;
        info.fMask = MIIM_FTYPE | MIIM_ID | MIIM_STATE | MIIM_SUBMENU | MIIM_STRING;
        info.dwTypeData = text;
        info.cch = 255;
        GetMenuItemInfoW(menu, i, TRUE, &info);
        Json item;
        item.Add("text", JsonText(text))
            .Add("id", JsonNumber(info.hSubMenu != nullptr ? -1 : static_cast<long long>(info.wID)))
            .Add("separator", (info.fType & MFT_SEPARATOR) ? "true" : "false")
            .Add("state", JsonNumber(info.fState))
            .Add("type", JsonNumber(info.fType));
        if (info.hSubMenu != nullptr)
            item.Add("items", MenuItems(info.hSubMenu));
        items.push_back(item.Text());
    }
    return JsonArray(items);
}

std::string IconGroup(HMODULE module, int id)
{
    HRSRC found = FindResourceW(module, MAKEINTRESOURCEW(id), RT_GROUP_ICON);
    if (found == nullptr)
        return "null";
    const BYTE* data = static_cast<const BYTE*>(LockResource(LoadResource(module, found)));
    // GRPICONDIR: reserved, type, count; then 14-byte entries: width, height, colours,
    // reserved, planes, bit count, bytes, identifier.
    const WORD count = *reinterpret_cast<const WORD*>(data + 4);
    std::vector<std::string> entries;
    for (WORD i = 0; i < count; ++i) {
        const BYTE* entry = data + 6 + 14 * i;
        const int width = entry[0] == 0 ? 256 : entry[0];
        const int height = entry[1] == 0 ? 256 : entry[1];
        const int bits = *reinterpret_cast<const WORD*>(entry + 6);
        entries.push_back(JsonNumbers({width, height, bits}));
    }
    return JsonArray(entries);
}

std::string ResourceText(HMODULE module, int id, const wchar_t* type)
{
    HRSRC found = FindResourceW(module, MAKEINTRESOURCEW(id), type);
    if (found == nullptr)
        return "null";
    const char* data = static_cast<const char*>(LockResource(LoadResource(module, found)));
    const std::string text(data, SizeofResource(module, found));
    return JsonText(std::wstring(text.begin(), text.end()));
}

// resources EXE: what the program file holds: strings, menus, accelerators, icons, the toolbar
// bitmap, the manifest and the version.
std::string ResourcesCommand(const Arguments& a)
{
    const std::wstring path = FromHex(a.at(1));
    HMODULE module = LoadLibraryExW(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    if (module == nullptr)
        throw std::runtime_error("cannot load the program file");
    Json json;
    wchar_t text[256] = {};
    LoadStringW(module, 103, text, 256);
    json.Add("string103", JsonText(text));
    LoadStringW(module, 109, text, 256);
    json.Add("string109", JsonText(text));
    for (int id : {109, 10201}) {
        HMENU menu = LoadMenuW(module, MAKEINTRESOURCEW(id));
        json.Add(id == 109 ? "menu109" : "menu10201", menu != nullptr ? MenuItems(menu) : "null");
        if (menu != nullptr)
            DestroyMenu(menu);
    }
    HACCEL accelerators = LoadAcceleratorsW(module, MAKEINTRESOURCEW(109));
    std::vector<std::string> entries;
    if (accelerators != nullptr) {
        ACCEL table[16];
        const int count = CopyAcceleratorTableW(accelerators, table, 16);
        for (int i = 0; i < count; ++i)
            entries.push_back(JsonNumbers({table[i].fVirt, table[i].key, table[i].cmd}));
    }
    json.Add("accelerators109", accelerators != nullptr ? JsonArray(entries) : "null");
    for (int id : {107, 108, 2210})
        json.Add(id == 107 ? "icon107" : id == 108 ? "icon108" : "icon2210", IconGroup(module, id));
    HRSRC bitmap = FindResourceW(module, MAKEINTRESOURCEW(37682), RT_BITMAP);
    if (bitmap != nullptr) {
        const BITMAPINFOHEADER* header = static_cast<const BITMAPINFOHEADER*>(LockResource(LoadResource(module, bitmap)));
        json.Add("bitmap37682", JsonNumbers({header->biWidth, header->biHeight, header->biBitCount}));
    } else {
        json.Add("bitmap37682", "null");
    }
    json.Add("manifest", ResourceText(module, 1, MAKEINTRESOURCEW(24)));
    FreeLibrary(module);

    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeW(path.c_str(), &ignored);
    std::vector<BYTE> version(size);
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    if (size != 0 && GetFileVersionInfoW(path.c_str(), 0, size, version.data())
        && VerQueryValueW(version.data(), L"\\", reinterpret_cast<void**>(&fixed), &length) && fixed != nullptr) {
        json.Add("fileVersion", JsonNumbers({HIWORD(fixed->dwFileVersionMS), LOWORD(fixed->dwFileVersionMS),
                                             HIWORD(fixed->dwFileVersionLS), LOWORD(fixed->dwFileVersionLS)}));
        wchar_t* productVersion = nullptr;
        if (VerQueryValueW(version.data(), L"\\StringFileInfo\\040904B0\\ProductVersion",
                           reinterpret_cast<void**>(&productVersion), &length) && productVersion != nullptr)
            json.Add("productVersion", JsonText(productVersion));
    }
    return json.Text();
}

std::string TerminateCommand(const Arguments& a)
{
    HANDLE process = OpenProcess(PROCESS_TERMINATE, FALSE, static_cast<DWORD>(std::stoul(a.at(1))));
    const bool done = process != nullptr && TerminateProcess(process, 1);
    if (process != nullptr)
        CloseHandle(process);
    return Json().Add("terminated", done ? "true" : "false").Text();
}

std::string Run(const Arguments& a)
{
    const std::string& name = a.at(0);
    if (name == "find") return FindCommand(a);
    if (name == "window") return WindowCommand(a);
    if (name == "child") return ChildCommand(a);
    if (name == "children") return ChildrenCommand(a);
    if (name == "text") return TextCommand(a);
    if (name == "list") return ListCommand(a);
    if (name == "list-item-rect") return ListItemRectCommand(a);
    if (name == "tabs") return TabsCommand(a);
    if (name == "toolbar-rect") return ToolbarRectCommand(a);
    if (name == "menu") return MenuCommand(a);
    if (name == "boxes") return BoxesCommand(a);
    if (name == "press") return PressCommand(a);
    if (name == "minmax") return MinMaxCommand(a);
    if (name == "show") return ShowCommand(a);
    if (name == "post") return PostCommand(a);
    if (name == "send") return SendCommand(a);
    if (name == "ping") return PingCommand(a);
    if (name == "setup") return SetupCommand(a);
    if (name == "launch") return LaunchCommand(a);
    if (name == "time-search") return TimeSearchCommand(a);
    if (name == "terminate") return TerminateCommand(a);
    if (name == "resources") return ResourcesCommand(a);
    throw std::runtime_error("unknown command " + name);
}

} // namespace

int wmain()
{
    std::string line;
    while (std::getline(std::cin, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        std::istringstream words(line);
        Arguments arguments;
        for (std::string word; words >> word;)
            arguments.push_back(word);
        if (arguments.empty())
            continue;
        if (arguments[0] == "quit")
            break;
        std::string answer;
        try {
            answer = "{\"ok\":true,\"value\":" + Run(arguments) + "}";
        } catch (const std::exception& error) {
            answer = "{\"ok\":false,\"error\":" + JsonText(std::wstring(error.what(), error.what() + std::char_traits<char>::length(error.what()))) + "}";
        }
        std::fwrite(answer.data(), 1, answer.size(), stdout);
        std::fputc('\n', stdout);
        std::fflush(stdout);
    }
    return 0;
}
