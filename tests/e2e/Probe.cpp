// Loaded into the dictionary's process by the end-to-end driver, which then starts ProbeMain
// on a thread of its own there. Menus cannot be read from another process under Wine, and a
// search is best timed from inside.
#include <windows.h>
#include <commctrl.h>

#include "ProbeProtocol.h"

namespace {

void ReadMenuStates(ProbeBlock& block)
{
    HMENU menu = GetMenu(reinterpret_cast<HWND>(block.window));
    block.menuFound = menu != nullptr;
    for (std::uint32_t i = 0; i < block.count && i < ProbeMaxItems; ++i)
        block.results[i] = menu != nullptr ? static_cast<std::int32_t>(GetMenuState(menu, block.ids[i], MF_BYCOMMAND)) : -1;
}

std::int64_t Now()
{
    LARGE_INTEGER counter;
    QueryPerformanceCounter(&counter);
    return counter.QuadPart;
}

void TimeSearches(ProbeBlock& block)
{
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    block.frequency = frequency.QuadPart;
    HWND window = reinterpret_cast<HWND>(block.window);
    HWND box = reinterpret_cast<HWND>(block.wordBox);
    HWND list = reinterpret_cast<HWND>(block.wordList);
    HWND pane = reinterpret_cast<HWND>(block.articlePane);
    const WPARAM change = MAKEWPARAM(1221 + block.direction, CBN_EDITCHANGE);
    const wchar_t* word = block.words;
    for (std::uint32_t i = 0; i < block.count && i < ProbeMaxItems; ++i) {
        SendMessageW(box, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(word));
        std::int64_t start = Now();
        SendMessageW(window, WM_NULL, 0, 0);
        block.baseline[i] = Now() - start;
        start = Now();
        SendMessageW(window, WM_COMMAND, change, reinterpret_cast<LPARAM>(box));
        block.results[i] = Now() - start;
        block.listed[i] = static_cast<std::int32_t>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
        block.paneLength[i] = static_cast<std::int32_t>(SendMessageW(pane, WM_GETTEXTLENGTH, 0, 0));
        while (*word != L'\0')
            ++word;
        ++word;
    }
}

} // namespace

extern "C" __declspec(dllexport) DWORD WINAPI ProbeMain(void* parameter)
{
    ProbeBlock& block = *static_cast<ProbeBlock*>(parameter);
    switch (block.command) {
    case ProbeMenuStates: ReadMenuStates(block); break;
    case ProbeTimeSearches: TimeSearches(block); break;
    }
    return 0;
}
