// The main window's process-wide state and the operations other subsystems call on it.
// Win32 only. All of it lives from start-up to process exit and is used on the UI thread.
#pragma once

#include <windows.h>

#include "common/Identity.h"

extern HINSTANCE Instance;           // module handle passed to wWinMain; resources load from it
extern wchar_t WindowTitle[100];     // string resource 103, loaded first thing in wWinMain
extern wchar_t WindowClassName[100]; // string resource 109: the class name WIN32VERSION_10
extern HWND MainWindow;              // the one top-level window, set once CreateWindowExW returns
extern HWND DirectionTab;            // tab control whose selection is the current direction
extern HWND Toolbar;                 // flat toolbar across the top
extern HWND WordBoxes[2];            // combo boxes where the user types, by Direction
extern HWND PronounceButtons[2];     // Pronounce push buttons, by Direction
extern HWND WordLists[2];            // one-column list views of headwords, by Direction
extern HWND ArticlePanes[2];         // read-only rich edit panes (children of DirectionTab), by Direction
extern HMODULE RichEditLibrary;      // RICHED20.DLL, loaded before the panes, freed at teardown
extern int CurrentDirection;         // the direction whose controls WM_PAINT last showed
extern HANDLE NotificationThreadHandle; // the notification thread started last

// The current direction: the tab control's selection, read afresh.
Direction SelectedDirection();

// Shows the selected direction's four controls and hides the other four.
void ShowDirectionControls();

// A modal "Info Message" box with an OK button, owned by the main window.
void ShowInfoMessage(const std::u16string& text);

// Registers the window class WIN32VERSION_10 (name from string resource 109); result not examined.
void RegisterMainWindowClass(HINSTANCE instance);

// Creates the main window and brings up everything that needs it; false when there is no window.
bool StartInstance(HINSTANCE instance, int showCommand);

// The window procedure of the class: one case per message, each one call.
LRESULT CALLBACK MainWindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Places every control from the main window's current client size.
void LayoutControls();
