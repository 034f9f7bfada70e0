// The options dialog (resource 37818) and the operations that apply a preference to the
// running system: the auto-start value in the registry and the main window's always-on-top
// state. Win32 only; everything runs on the UI thread.
#pragma once

#include <windows.h>

extern bool AlwaysOnTopState; // the main window is topmost; written only by SetAlwaysOnTop, false at start

// The dialog procedure of dialog 37818: shows the stored preferences; Save applies, stores,
// saves and reloads them; Cancel, Enter, Esc and the close box change nothing.
INT_PTR CALLBACK OptionsDialog(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// Tools, "Options": the dialog, modal to the main window; its result is not needed.
void ShowOptionsDialog();

// Writes the value "EnglishGermanDictionary" under HKLM\...\CurrentVersion\Run: the executable's
// path when `on`, the empty string otherwise. Failures are silent.
void SetAutoStart(bool on);

// Makes the main window topmost or ordinary, records the state and sets the check mark of
// View, "Always on Top".
void SetAlwaysOnTop(bool on);

// View, "Always on Top": the inverse of the current state; the store and file stay untouched.
void ToggleAlwaysOnTop();

// Selects direction tab `index` when it names a direction (0 or 1); any other index leaves the
// selection as it is, so the window always has a valid direction.
void SelectDirectionTab(int index);

// Start-up, right after LoadConfiguration: rewrites the auto-start value when LoadOnStart is on.
void ApplyStoredAutoStart();

// Start-up, after the tray icon: makes the window topmost when AlwaysOnTop is on.
void ApplyStoredAlwaysOnTop();
