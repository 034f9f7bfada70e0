// The notification-area icon and its Show/Exit menu. Win32 only; the icon is added once after
// start-up and removed once at teardown; the menu is loaded afresh for every right click.
#pragma once

#include <windows.h>
#include <shellapi.h>

inline constexpr UINT TrayIconId = 123;                    // uID of the program's one icon
inline constexpr UINT TrayCallbackMessage = WM_USER + 2321; // 3345: the icon's mouse events

extern NOTIFYICONDATAW TrayIconData; // filled once by AddTrayIcon, passed again for removal

// Shows the icon (icon group 2210, no tooltip) for the main window; failures are silent.
void AddTrayIcon(HINSTANCE instance);

// Removes the icon added by AddTrayIcon.
void RemoveTrayIcon();

// TrayCallbackMessage: a right-button release over the icon opens the tray menu; every event
// then gets default processing, whose result is returned.
LRESULT OnTrayCallback(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Shows the first submenu of `menu` at the cursor on behalf of `window`, then destroys `menu`.
// True when TrackPopupMenu reported success.
bool ShowTrayMenu(HMENU menu, HWND window);

// Tray menu, "Show": restores the main window and brings it to the front.
void ShowFromTray();
