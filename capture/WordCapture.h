// Word capture: the global hot key Ctrl+Insert makes the foreground program copy its selection,
// and the main window, a clipboard viewer, looks the copied text up. Also synthesises the
// Ctrl+letter key strokes of Cut, Copy and Paste. Win32 only; everything runs on the UI thread.
#pragma once

#include <windows.h>

#include <optional>
#include <string>

inline constexpr int CaptureHotKeyId = 1; // the program's only hot key: Ctrl+Insert

extern bool CaptureArmed;        // set by the hot key, cleared once a clipboard change has been handled
extern HWND NextClipboardViewer; // the window after the main window in the clipboard viewer chain, or null

// RegisterHotKey(window, 1, MOD_CONTROL, VK_INSERT); a key held by another program is ignored.
void RegisterCaptureHotKey(HWND window);

// UnregisterHotKey(window, 1).
void UnregisterCaptureHotKey(HWND window);

// SetClipboardViewer(window), keeping its result as NextClipboardViewer.
void JoinClipboardChain(HWND window);

// ChangeClipboardChain(window, NextClipboardViewer).
void LeaveClipboardChain(HWND window);

// Control plus the letter key of `letter` (C, X or V), down and up, into the system's input
// stream; whichever window has the keyboard focus receives them. Returns at once.
void SendCtrlKeystroke(wchar_t letter);

// WM_HOTKEY: hot key 1 arms the capture and sends Ctrl+C. Returns 0.
LRESULT OnHotKey(WPARAM hotKeyId);

// WM_DRAWCLIPBOARD: passes the change on, then, when armed, takes the clipboard's text, shows
// and raises the main window, looks the text up and disarms. Returns 0.
LRESULT OnDrawClipboard(WPARAM wParam, LPARAM lParam);

// WM_CHANGECBCHAIN: `removed` leaves the chain and `next` followed it. Returns 0.
LRESULT OnChangeClipboardChain(WPARAM removed, LPARAM next);

// Puts the captured text, trimmed of spaces, into the current direction's word box and runs the
// search; does nothing without captured text. Catches every exception and then ends silently.
void TakeCapturedText(const std::optional<std::u16string>& captured);
