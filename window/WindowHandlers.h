// Message handlers of the main window, called only by MainWindowProcedure. Each returns the
// window procedure's result for its message.
#pragma once

#include <windows.h>

// WM_CREATE: the rich edit library, the tab control, both directions' controls and the toolbar.
// Uses `window` (the message's own handle): MainWindow is not set yet.
LRESULT OnCreate(HWND window);

// WM_PAINT: layout, then the selected direction's controls shown and the other's hidden.
LRESULT OnPaint(HWND window);

// WM_GETMINMAXINFO: minimum tracking size 250 x 210, every other field left as it came.
LRESULT OnGetMinMaxInfo(LPARAM minMaxInfo);

// WM_CLOSE: minimises; the program ends only through an Exit command.
LRESULT OnClose();

// WM_DESTROY: the teardown, ending with the quit message.
LRESULT OnDestroy();

// WM_COMMAND: word-box searches first, then the command table.
LRESULT OnCommand(HWND window, WPARAM wParam, LPARAM lParam);

// WM_NOTIFY: tab changes and word-list double clicks.
LRESULT OnNotify(WPARAM wParam, LPARAM lParam);
