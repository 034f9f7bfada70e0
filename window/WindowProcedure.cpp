// The main window procedure and the routing of commands and notifications.
#include <windows.h>
#include <commctrl.h>

#include "capture/WordCapture.h"
#include "dictionary/ArticleStore.h"
#include "dictionary/SearchView.h"
#include "resources/resource.h"
#include "settings/OptionsDialog.h"
#include "vendor/AboutDialog.h"
#include "vendor/UsageNotifier.h"
#include "window/MainWindow.h"
#include "window/TrayIcon.h"
#include "window/WindowHandlers.h"

namespace {

bool IsWordBoxSearchTrigger(int identifier, int code)
{
    const bool fromWordBox = identifier == IDC_WORD_BOX + EnglishToGerman || identifier == IDC_WORD_BOX + GermanToEnglish;
    return fromWordBox && (code == CBN_SELCHANGE || code == CBN_EDITCHANGE);
}

// View, "English German" and "German English": TCM_SETCURSEL sends no TCN_SELCHANGE, so the
// controls are switched here. No search runs.
void ShowDirection(Direction direction)
{
    SendMessageW(DirectionTab, TCM_SETCURSEL, direction, 0);
    ShowDirectionControls();
}

void ExitProgram()
{
    DestroyWindow(MainWindow);
}

} // namespace

LRESULT CALLBACK MainWindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case TrayCallbackMessage: return OnTrayCallback(window, message, wParam, lParam);
    case WM_CREATE: return OnCreate(window);
    case WM_DESTROY: return OnDestroy();
    case WM_SIZE: return 0;
    case WM_PAINT: return OnPaint(window);
    case WM_CLOSE: return OnClose();
    case WM_GETMINMAXINFO: return OnGetMinMaxInfo(lParam);
    case WM_NOTIFY: return OnNotify(wParam, lParam);
    case WM_KEYUP: return 0;
    case WM_COMMAND: return OnCommand(window, wParam, lParam);
    case WM_RBUTTONDBLCLK: return 0;
    case WM_SIZING: return 0;
    case WM_DRAWCLIPBOARD: return OnDrawClipboard(wParam, lParam);
    case WM_CHANGECBCHAIN: return OnChangeClipboardChain(wParam, lParam);
    case WM_HOTKEY: return OnHotKey(wParam);
    default: return DefWindowProcW(window, message, wParam, lParam);
    }
}

LRESULT OnCommand(HWND window, WPARAM wParam, LPARAM lParam)
{
    const int command = LOWORD(wParam);
    if (IsWordBoxSearchTrigger(command, HIWORD(wParam)))
        RunSearch();
    switch (command) {
    case IDM_ABOUT_KEY: ShowAboutDialog(); return 0;
    case IDM_EXIT: ExitProgram(); return 0;
    case IDM_FILE_NEW: return 0;
    case IDM_EDIT_CUT: case IDM_TOOLBAR_CUT: SendCtrlKeystroke(L'X'); return 0;
    case IDM_EDIT_COPY: case IDM_TOOLBAR_COPY: SendCtrlKeystroke(L'C'); return 0;
    case IDM_EDIT_PASTE: case IDM_TOOLBAR_PASTE: SendCtrlKeystroke(L'V'); return 0;
    case IDM_VIEW_ENGLISH_GERMAN: ShowDirection(EnglishToGerman); return 0;
    case IDM_VIEW_GERMAN_ENGLISH: ShowDirection(GermanToEnglish); return 0;
    case IDM_VIEW_ALWAYS_ON_TOP: ToggleAlwaysOnTop(); return 0;
    case IDM_TOOLS_OPTIONS: ShowOptionsDialog(); return 0;
    case IDM_HELP_SEARCH: OpenHelpFile(); return 0;
    case IDM_HELP_CONTENTS: OpenHelpFile(); return 0;
    case IDM_HELP_UPDATES: OpenDownloadPage(); return 0;
    case IDM_HELP_SUPPORT: OpenContactPage(); return 0;
    case IDM_HELP_ABOUT: ShowAboutDialog(); return 0;
    case IDM_TRAY_SHOW: ShowFromTray(); return 0;
    case IDM_TRAY_EXIT: ExitProgram(); return 0;
    case IDC_PRONOUNCE + EnglishToGerman: return 0;
    case IDC_PRONOUNCE + GermanToEnglish: return 0;
    case IDM_TOOLBAR_NEW_ARTICLE: return 0;
    case IDM_TOOLBAR_ADD_LANGUAGE: return 0;
    case IDM_TOOLBAR_SAVE: return 0;
    case IDM_TOOLBAR_PRINT: return 0;
    case IDM_TOOLBAR_HELP: OpenHelpFile(); return 0;
    default: return DefWindowProcW(window, WM_COMMAND, wParam, lParam);
    }
}

LRESULT OnNotify(WPARAM wParam, LPARAM lParam)
{
    const UINT code = reinterpret_cast<const NMHDR*>(lParam)->code;
    switch (wParam) {
    case IDC_DIRECTION_TAB:
        if (code == TCN_SELCHANGE)
            ShowDirectionControls();
        break;
    case IDC_WORD_LIST + EnglishToGerman:
    case IDC_WORD_LIST + GermanToEnglish:
        if (code == NM_DBLCLK)
            ShowListedWord();
        break;
    }
    return 0;
}

LRESULT OnClose()
{
    ShowWindow(MainWindow, SW_MINIMIZE);
    return 0;
}

LRESULT OnDestroy()
{
    LaunchExitNotification();
    for (int direction = 0; direction < 2; ++direction) {
        DestroyWindow(WordBoxes[direction]);
        DestroyWindow(ArticlePanes[direction]);
    }
    if (RichEditLibrary != nullptr)
        FreeLibrary(RichEditLibrary);
    RemoveTrayIcon();
    LeaveClipboardChain(MainWindow);
    UnregisterCaptureHotKey(MainWindow);
    if (NotificationThreadHandle != nullptr)
        CloseHandle(NotificationThreadHandle);
    FreeArticleBuffers(Articles);
    PostQuitMessage(0);
    return 0;
}
