#include "capture/WordCapture.h"

#include "capture/TrimSpaces.h"
#include "common/WideText.h"
#include "dictionary/SearchView.h"
#include "window/MainWindow.h"

bool CaptureArmed = false;
HWND NextClipboardViewer = nullptr;

namespace {

// Scan codes sent with every synthesised stroke, whatever the letter.
constexpr BYTE ControlScanCode = 0x9D;
constexpr BYTE LetterScanCode = 0x9E;

// The clipboard's CF_UNICODETEXT up to its terminating zero, or nothing when the clipboard
// cannot be opened or holds no Unicode text. The clipboard is closed again in every case.
std::optional<std::u16string> ReadClipboardText(HWND window)
{
    if (!OpenClipboard(window))
        return std::nullopt;
    std::optional<std::u16string> text;
    if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
        if (const wchar_t* units = static_cast<const wchar_t*>(GlobalLock(data))) {
            // The data is another program's; never read past the block even without a terminator.
            SIZE_T capacity = GlobalSize(data) / sizeof(wchar_t);
            SIZE_T length = 0;
            while (length < capacity && units[length] != L'\0')
                ++length;
            try {
                text = FromWide(units, length);
            } catch (...) {
                text.reset();
            }
            GlobalUnlock(data);
        }
    }
    CloseClipboard();
    return text;
}

} // namespace

void RegisterCaptureHotKey(HWND window)
{
    RegisterHotKey(window, CaptureHotKeyId, MOD_CONTROL, VK_INSERT);
}

void UnregisterCaptureHotKey(HWND window)
{
    UnregisterHotKey(window, CaptureHotKeyId);
}

void JoinClipboardChain(HWND window)
{
    NextClipboardViewer = SetClipboardViewer(window);
}

void LeaveClipboardChain(HWND window)
{
    ChangeClipboardChain(window, NextClipboardViewer);
}

void SendCtrlKeystroke(wchar_t letter)
{
    BYTE letterKey = LOBYTE(VkKeyScanW(letter));
    keybd_event(VK_CONTROL, ControlScanCode, 0, 0);
    keybd_event(letterKey, LetterScanCode, 0, 0);
    keybd_event(letterKey, LetterScanCode, KEYEVENTF_KEYUP, 0);
    keybd_event(VK_CONTROL, ControlScanCode, KEYEVENTF_KEYUP, 0);
}

LRESULT OnHotKey(WPARAM hotKeyId)
{
    if (hotKeyId != CaptureHotKeyId)
        return 0;
    CaptureArmed = true;
    SendCtrlKeystroke(L'C');
    return 0;
}

LRESULT OnDrawClipboard(WPARAM wParam, LPARAM lParam)
{
    if (NextClipboardViewer && IsWindow(NextClipboardViewer))
        PostMessageW(NextClipboardViewer, WM_DRAWCLIPBOARD, wParam, lParam);
    if (!CaptureArmed)
        return 0;
    std::optional<std::u16string> captured = ReadClipboardText(MainWindow);
    ShowWindow(MainWindow, SW_SHOWNORMAL);
    SetForegroundWindow(MainWindow);
    TakeCapturedText(captured);
    CaptureArmed = false;
    return 0;
}

LRESULT OnChangeClipboardChain(WPARAM removed, LPARAM next)
{
    // The successor leaving is replaced by its own successor; any other change concerns windows
    // further down the chain and travels on.
    HWND leaving = reinterpret_cast<HWND>(removed);
    if (leaving == NextClipboardViewer)
        NextClipboardViewer = reinterpret_cast<HWND>(next);
    else if (NextClipboardViewer)
        SendMessageW(NextClipboardViewer, WM_CHANGECBCHAIN, removed, next);
    return 0;
}

void TakeCapturedText(const std::optional<std::u16string>& captured)
{
    if (!captured)
        return;
    try {
        std::u16string word = TrimSpaces(*captured);
        SendMessageW(WordBoxes[SelectedDirection()], WM_SETTEXT, 0,
                     reinterpret_cast<LPARAM>(Wide(word)));
        RunSearch();
    } catch (...) {
        // A failed allocation ends the capture silently; the caller still disarms it.
    }
}
