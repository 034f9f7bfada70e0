// The entry point: start-up in its fixed order, the message loop, and the exit code.
#include <windows.h>
#include <commctrl.h>

#include <optional>
#include <string>

#include "capture/WordCapture.h"
#include "common/ExecutableDirectory.h"
#include "dictionary/ArticleStore.h"
#include "dictionary/SearchView.h"
#include "resources/resource.h"
#include "settings/ConfigStore.h"
#include "settings/OptionsDialog.h"
#include "vendor/UsageNotifier.h"
#include "vendor/VendorLinks.h"
#include "window/MainWindow.h"
#include "window/TrayIcon.h"

namespace {

// Tab 0, then the tab of DefaultLanguageId. Only 0 and 1 are taken: the tab control refuses 2
// or more by itself, but a negative index would leave it without a selected direction.
void SelectStartDirection()
{
    SendMessageW(DirectionTab, TCM_SETCURSEL, 0, 0);
    const std::optional<std::u16string> setting = GetSetting(Settings, u"DefaultLanguageId");
    if (!setting)
        return;
    const int index = ReadDecimalSetting(*setting);
    if (index == EnglishToGerman || index == GermanToEnglish)
        SendMessageW(DirectionTab, TCM_SETCURSEL, index, 0);
}

// The File items that nothing in the program serves.
void GrayUnusedFileItems()
{
    HMENU menu = GetMenu(MainWindow);
    for (int command = IDM_FILE_NEW; command <= IDM_FILE_PRINT_PREVIEW; ++command)
        EnableMenuItem(menu, command, MF_BYCOMMAND | MF_GRAYED);
}

// Accelerators go to the window the key message is addressed to, so they reach the main
// window procedure only while the main window itself has the keyboard focus.
int RunMessageLoop(HACCEL accelerators)
{
    MSG message = {};
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        if (TranslateAcceleratorW(message.hwnd, accelerators, &message))
            continue;
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return static_cast<int>(message.wParam);
}

} // namespace

bool StartInstance(HINSTANCE instance, int showCommand)
{
    Instance = instance;
    HWND window = CreateWindowExW(0, WindowClassName, WindowTitle, WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, 0, 380, 323,
                                  nullptr, nullptr, instance, nullptr);
    if (window == nullptr)
        return false;
    MainWindow = window;
    RegisterCaptureHotKey(MainWindow);
    LoadConfiguration(Settings, ExecutableDirectory());
    ApplyStoredAutoStart();
    ShowWindow(MainWindow, showCommand);
    UpdateWindow(MainWindow);
    SelectStartDirection();
    ShowDirectionControls();
    JoinClipboardChain(MainWindow);
    AppendUsageDays();
    LaunchStartNotification();
    GrayUnusedFileItems();
    LoadInstalledArticles();
    DescrambleArticles(Articles);
    InitialSearch();
    return true;
}

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int showCommand)
{
    LoadStringW(instance, IDS_APP_TITLE, WindowTitle, 100);
    LoadStringW(instance, IDS_WINDOW_CLASS, WindowClassName, 100);
    RegisterMainWindowClass(instance);
    if (!StartInstance(instance, showCommand))
        return 0;
    AddTrayIcon(instance);
    ApplyStoredAlwaysOnTop();
    HACCEL accelerators = LoadAcceleratorsW(instance, MAKEINTRESOURCEW(IDR_ACCELERATORS));
    const int exitCode = RunMessageLoop(accelerators);
    AwaitExitRequestSent();
    return exitCode;
}
