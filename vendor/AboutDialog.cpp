#include "vendor/AboutDialog.h"

#include <shellapi.h>

#include "common/ExecutableDirectory.h"
#include "common/WideText.h"
#include "resources/resource.h"
#include "vendor/VendorLinks.h"
#include "window/MainWindow.h"

namespace {

// The shell's default action for a file, URL or program, in a normal window, unowned.
void OpenWithShell(const wchar_t* target)
{
    ShellExecuteW(nullptr, L"open", target, nullptr, nullptr, SW_SHOWNORMAL);
}

} // namespace

INT_PTR CALLBACK AboutDialog(HWND dialog, UINT message, WPARAM wParam, LPARAM)
{
    switch (message) {
    case WM_INITDIALOG: {
        std::u16string versionLine = u"Version " + VersionTag;
        SendMessageW(GetDlgItem(dialog, IDC_ABOUT_VERSION), WM_SETTEXT, 0,
                     reinterpret_cast<LPARAM>(Wide(versionLine)));
        return TRUE;
    }
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case IDOK:
        case IDCANCEL:
            EndDialog(dialog, LOWORD(wParam));
            return TRUE;
        case IDC_ABOUT_SYSTEM_INFO:
            OpenWithShell(L"msinfo32.exe");
            return TRUE;
        }
        return FALSE;
    }
    return FALSE;
}

void ShowAboutDialog()
{
    DialogBoxParamW(Instance, MAKEINTRESOURCEW(IDD_ABOUT), MainWindow, AboutDialog, 0);
}

std::u16string HelpFilePath()
{
    return ExecutableDirectory() + u"\\Help\\Help.EN.html";
}

void OpenHelpFile()
{
    OpenWithShell(Wide(HelpFilePath()));
}

void OpenDownloadPage()
{
    OpenWithShell(Wide(DownloadUrl));
}

void OpenContactPage()
{
    OpenWithShell(Wide(ContactUrl));
}
