#include "settings/OptionsDialog.h"

#include <commctrl.h>

#include <string>

#include "common/ExecutableDirectory.h"
#include "common/Identity.h"
#include "common/WideText.h"
#include "resources/resource.h"
#include "settings/ConfigStore.h"
#include "window/MainWindow.h"

bool AlwaysOnTopState = false;

namespace {

const std::u16string AutoStartValueName =
    std::u16string(FirstLanguageName) + SecondLanguageName + u"Dictionary";

bool IsChecked(HWND dialog, int control)
{
    return SendDlgItemMessageW(dialog, control, BM_GETCHECK, 0, 0) != 0;
}

void AddLanguageItem(HWND list, const std::u16string& text)
{
    LRESULT index = SendMessageW(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Wide(text)));
    SendMessageW(list, CB_SETITEMDATA, static_cast<WPARAM>(index), 0);
}

// Fills the controls from the store, not from what is in force.
INT_PTR OnInitOptions(HWND dialog)
{
    HWND list = GetDlgItem(dialog, IDC_OPTIONS_LANGUAGE);
    AddLanguageItem(list, std::u16string(FirstLanguageName) + u" " + SecondLanguageName);
    AddLanguageItem(list, std::u16string(SecondLanguageName) + u" " + FirstLanguageName);
    SendMessageW(list, CB_SETCURSEL, 0, 0);
    if (std::optional<std::u16string> id = GetSetting(Settings, u"DefaultLanguageId")) {
        // An index that names no item leaves none selected; said explicitly, since not every
        // list implementation clears the selection for an index past its end.
        int index = ReadDecimalSetting(*id);
        bool named = index == EnglishToGerman || index == GermanToEnglish;
        SendMessageW(list, CB_SETCURSEL, named ? static_cast<WPARAM>(index) : static_cast<WPARAM>(-1), 0);
    }
    if (IsSettingTrue(Settings, u"LoadOnStart"))
        SendDlgItemMessageW(dialog, IDC_OPTIONS_LOAD_ON_START, BM_SETCHECK, BST_CHECKED, 0);
    if (IsSettingTrue(Settings, u"AlwaysOnTop"))
        SendDlgItemMessageW(dialog, IDC_OPTIONS_ALWAYS_ON_TOP, BM_SETCHECK, BST_CHECKED, 0);
    return TRUE;
}

INT_PTR OnSaveOptions(HWND dialog)
{
    int index = static_cast<int>(SendDlgItemMessageW(dialog, IDC_OPTIONS_LANGUAGE, CB_GETCURSEL, 0, 0));
    bool loadOnStart = IsChecked(dialog, IDC_OPTIONS_LOAD_ON_START);
    bool alwaysOnTop = IsChecked(dialog, IDC_OPTIONS_ALWAYS_ON_TOP);
    std::u16string loadOnStartText = loadOnStart ? u"true" : u"false";
    std::u16string alwaysOnTopText = alwaysOnTop ? u"true" : u"false";
    std::u16string languageText = ToDecimalText(index);

    SetAutoStart(loadOnStart);
    // The main window's next repaint shows the chosen direction's controls.
    SelectDirectionTab(index);
    SetAlwaysOnTop(alwaysOnTop);
    SetSetting(Settings, u"LoadOnStart", loadOnStartText);
    SetSetting(Settings, u"AlwaysOnTop", alwaysOnTopText);
    SetSetting(Settings, u"DefaultLanguageId", languageText);
    std::u16string directory = ExecutableDirectory();
    SaveConfiguration(Settings, directory);
    LoadConfiguration(Settings, directory);
    EndDialog(dialog, IDC_OPTIONS_SAVE);
    return TRUE;
}

INT_PTR OnOptionsCommand(HWND dialog, WPARAM wParam)
{
    switch (LOWORD(wParam)) {
    case IDOK:
    case IDCANCEL:
        EndDialog(dialog, LOWORD(wParam));
        return TRUE;
    case IDC_OPTIONS_SAVE:
        return OnSaveOptions(dialog);
    default:
        return FALSE;
    }
}

} // namespace

INT_PTR CALLBACK OptionsDialog(HWND dialog, UINT message, WPARAM wParam, LPARAM)
{
    switch (message) {
    case WM_INITDIALOG: return OnInitOptions(dialog);
    case WM_COMMAND:    return OnOptionsCommand(dialog, wParam);
    default:            return FALSE;
    }
}

void ShowOptionsDialog()
{
    DialogBoxParamW(Instance, MAKEINTRESOURCEW(IDD_OPTIONS), MainWindow, OptionsDialog, 0);
}

void SetAutoStart(bool on)
{
    std::u16string data = on ? ExecutablePath() : std::u16string();
    HKEY version = nullptr;
    if (RegCreateKeyW(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion", &version) != ERROR_SUCCESS)
        return;
    HKEY run = nullptr;
    if (RegCreateKeyW(version, L"Run", &run) == ERROR_SUCCESS) {
        RegSetValueExW(run, Wide(AutoStartValueName), 0, REG_SZ, reinterpret_cast<const BYTE*>(Wide(data)),
                       static_cast<DWORD>((data.size() + 1) * sizeof(wchar_t)));
        RegCloseKey(run);
    }
    RegCloseKey(version);
}

void SetAlwaysOnTop(bool on)
{
    SetWindowPos(MainWindow, on ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
                 SWP_NOSIZE | SWP_NOMOVE | SWP_SHOWWINDOW | SWP_NOOWNERZORDER);
    AlwaysOnTopState = on;
    CheckMenuItem(GetMenu(MainWindow), IDM_VIEW_ALWAYS_ON_TOP, MF_BYCOMMAND | (on ? MF_CHECKED : MF_UNCHECKED));
}

void ToggleAlwaysOnTop()
{
    SetAlwaysOnTop(!AlwaysOnTopState);
}

void SelectDirectionTab(int index)
{
    // The tab control would accept -1 and leave no tab selected; the per-direction tables are
    // indexed by the selection, so only the two directions get through.
    if (index == EnglishToGerman || index == GermanToEnglish)
        SendMessageW(DirectionTab, TCM_SETCURSEL, static_cast<WPARAM>(index), 0);
}

void ApplyStoredAutoStart()
{
    if (IsSettingTrue(Settings, u"LoadOnStart"))
        SetAutoStart(true);
}

void ApplyStoredAlwaysOnTop()
{
    if (IsSettingTrue(Settings, u"AlwaysOnTop"))
        SetAlwaysOnTop(true);
}
