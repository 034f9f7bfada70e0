#include "window/TrayIcon.h"

#include "resources/resource.h"
#include "window/MainWindow.h"

NOTIFYICONDATAW TrayIconData;

void AddTrayIcon(HINSTANCE instance)
{
    // The layout that ends with guidItem: understood by every shell since Windows XP.
    ZeroMemory(&TrayIconData, sizeof TrayIconData);
    TrayIconData.cbSize = NOTIFYICONDATAW_V3_SIZE;
    TrayIconData.hWnd = MainWindow;
    TrayIconData.uID = TrayIconId;
    TrayIconData.uFlags = NIF_MESSAGE | NIF_ICON;
    TrayIconData.uCallbackMessage = TrayCallbackMessage;
    TrayIconData.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(IDI_TRAY));
    Shell_NotifyIconW(NIM_ADD, &TrayIconData);
}

void RemoveTrayIcon()
{
    Shell_NotifyIconW(NIM_DELETE, &TrayIconData);
}

LRESULT OnTrayCallback(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (window == MainWindow && wParam == TrayIconId && lParam == WM_RBUTTONUP) {
        if (HMENU menu = LoadMenuW(Instance, MAKEINTRESOURCEW(IDR_TRAYMENU)))
            ShowTrayMenu(menu, window);
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

bool ShowTrayMenu(HMENU menu, HWND window)
{
    HMENU popup = GetSubMenu(menu, 0);
    if (!popup) {
        DestroyMenu(menu);
        return false;
    }
    // Without being in front the window would not see the click elsewhere that closes the menu.
    SetForegroundWindow(window);
    POINT cursor = {};
    GetCursorPos(&cursor);
    BOOL chosen = TrackPopupMenu(popup, 0, cursor.x, cursor.y, 0, window, nullptr);
    DestroyMenu(menu);
    return chosen != FALSE;
}

void ShowFromTray()
{
    ShowWindow(MainWindow, SW_SHOWNORMAL);
    SetForegroundWindow(MainWindow);
}
