// The About dialog, the local help file and the two vendor pages, opened from the Help menu,
// the toolbar's help button and the Alt+/ accelerator. Win32 only, main thread only; each
// hands its file or URL to the shell and returns without waiting or reporting a failure.
#pragma once

#include <windows.h>

#include <string>

// Dialog procedure of the About dialog (template IDD_ABOUT).
INT_PTR CALLBACK AboutDialog(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// Shows the About dialog modally, owned by the main window; returns when it has ended.
void ShowAboutDialog();

// The executable's directory followed by "\Help\Help.EN.html", built afresh on every call.
std::u16string HelpFilePath();

// Opens the help file with its default handler.
void OpenHelpFile();

// Open the download and contact pages (with their days-since-installation suffix) in the
// default browser.
void OpenDownloadPage();
void OpenContactPage();
