#include "window/MainWindow.h"

#include <commctrl.h>
#include <richedit.h>

#include <string>

#include "common/WideText.h"
#include "resources/resource.h"
#include "window/WindowHandlers.h"

HINSTANCE Instance = nullptr;
wchar_t WindowTitle[100] = {};
wchar_t WindowClassName[100] = {};
HWND MainWindow = nullptr;
HWND DirectionTab = nullptr;
HWND Toolbar = nullptr;
HWND WordBoxes[2] = {nullptr, nullptr};
HWND PronounceButtons[2] = {nullptr, nullptr};
HWND WordLists[2] = {nullptr, nullptr};
HWND ArticlePanes[2] = {nullptr, nullptr};
HMODULE RichEditLibrary = nullptr;
int CurrentDirection = 0;
HANDLE NotificationThreadHandle = nullptr;

namespace {

constexpr COLORREF ArticlePaneBackground = RGB(255, 249, 189);
constexpr int MinimumWindowWidth = 250;
constexpr int MinimumWindowHeight = 210;

HWND CreateChild(DWORD extendedStyle, const wchar_t* className, const wchar_t* title, DWORD style,
                 int x, int y, int width, int height, HWND parent, int identifier)
{
    return CreateWindowExW(extendedStyle, className, title, style, x, y, width, height, parent,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(identifier)), Instance, nullptr);
}

void SetGuiFont(HWND control)
{
    SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), FALSE);
}

void CreateWordBox(HWND window, int direction)
{
    WordBoxes[direction] = CreateChild(0, L"COMBOBOX", L"", WS_CHILD | WS_VISIBLE | WS_VSCROLL | CBS_DROPDOWN,
                                       5, 62, 248, 150, window, IDC_WORD_BOX + direction);
    SetGuiFont(WordBoxes[direction]);
}

void CreatePronounceButton(HWND window, int direction)
{
    PronounceButtons[direction] = CreateChild(0, L"BUTTON", L"Pronounce", WS_CHILD, 258, 63, 100, 22, window,
                                              IDC_PRONOUNCE + direction);
    SetGuiFont(PronounceButtons[direction]);
}

void CreateWordList(HWND window, int direction)
{
    HWND list = CreateChild(WS_EX_CLIENTEDGE, L"SysListView32", L"",
                            WS_CHILD | WS_VISIBLE | WS_VSCROLL | LVS_NOCOLUMNHEADER | LVS_SINGLESEL, 7, 92, 200,
                            171, window, IDC_WORD_LIST + direction);
    WordLists[direction] = list;
    SetWindowLongPtrW(list, GWL_STYLE, GetWindowLongPtrW(list, GWL_STYLE) | LVS_REPORT);
    SendMessageW(list, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT, LVS_EX_FULLROWSELECT);
    wchar_t columnText[] = L"One";
    LVCOLUMNW column = {};
    column.mask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT;
    column.fmt = LVCFMT_LEFT;
    column.cx = 130;
    column.pszText = columnText;
    SendMessageW(list, LVM_INSERTCOLUMNW, 0, reinterpret_cast<LPARAM>(&column));
    SetGuiFont(list);
}

void CreateArticlePane(int direction)
{
    HWND pane = CreateChild(0, L"RichEdit20W", nullptr,
                            WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_BORDER | WS_VSCROLL | ES_READONLY
                                | ES_MULTILINE,
                            158, 59, 200, 173, DirectionTab, IDC_ARTICLE_PANE + direction);
    ArticlePanes[direction] = pane;
    if (pane == nullptr)
        return;
    SetGuiFont(pane);
    SendMessageW(pane, EM_SETBKGNDCOLOR, 0, ArticlePaneBackground);
    // WM_SETTEXT obeys the text limit, whose default would cut a long article short.
    SendMessageW(pane, EM_EXLIMITTEXT, 0, 0x7FFFFFFE);
}

void InsertTab(int index, const std::u16string& caption)
{
    std::u16string text = caption;
    TCITEMW item = {};
    item.mask = TCIF_TEXT;
    item.pszText = const_cast<wchar_t*>(Wide(text));
    SendMessageW(DirectionTab, TCM_INSERTITEMW, index, reinterpret_cast<LPARAM>(&item));
}

void CreateToolbar(HWND window)
{
    Toolbar = CreateChild(0, TOOLBARCLASSNAMEW, nullptr, WS_CHILD | WS_VISIBLE | TBSTYLE_FLAT, 0, 0, 500, 0,
                          window, IDC_TOOLBAR);
    SendMessageW(Toolbar, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
    // The image list lives until the process ends, as the toolbar does.
    HIMAGELIST images = ImageList_LoadImageW(Instance, MAKEINTRESOURCEW(IDB_TOOLBAR), 16, 0, CLR_NONE,
                                             IMAGE_BITMAP, LR_CREATEDIBSECTION);
    SendMessageW(Toolbar, TB_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(images));

    // For a separator the image field holds its width in pixels.
    const struct {
        int image;
        int command;
        BYTE style;
    } entries[] = {
        {0, IDM_TOOLBAR_NEW_ARTICLE, TBSTYLE_BUTTON}, {1, IDM_TOOLBAR_ADD_LANGUAGE, TBSTYLE_BUTTON},
        {2, IDM_TOOLBAR_SAVE, TBSTYLE_BUTTON},        {3, IDM_TOOLBAR_PRINT, TBSTYLE_BUTTON},
        {4, 0, TBSTYLE_SEP},                          {4, IDM_TOOLBAR_CUT, TBSTYLE_BUTTON},
        {5, IDM_TOOLBAR_COPY, TBSTYLE_BUTTON},        {6, IDM_TOOLBAR_PASTE, TBSTYLE_BUTTON},
        {7, 0, TBSTYLE_SEP},                          {7, IDM_TOOLBAR_HELP, TBSTYLE_BUTTON},
    };
    TBBUTTON buttons[10] = {};
    for (int i = 0; i < 10; ++i) {
        buttons[i].iBitmap = entries[i].image;
        buttons[i].idCommand = entries[i].command;
        buttons[i].fsState = TBSTATE_ENABLED;
        buttons[i].fsStyle = entries[i].style;
    }
    SendMessageW(Toolbar, TB_ADDBUTTONSW, 10, reinterpret_cast<LPARAM>(buttons));
}

void ShowControlsOf(int direction, int showCommand)
{
    ShowWindow(PronounceButtons[direction], showCommand);
    ShowWindow(WordBoxes[direction], showCommand);
    ShowWindow(WordLists[direction], showCommand);
    ShowWindow(ArticlePanes[direction], showCommand);
}

} // namespace

void RegisterMainWindowClass(HINSTANCE instance)
{
    WNDCLASSEXW windowClass = {};
    windowClass.cbSize = sizeof windowClass;
    windowClass.style = CS_HREDRAW | CS_VREDRAW;
    windowClass.lpfnWndProc = MainWindowProcedure;
    windowClass.hInstance = instance;
    windowClass.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(IDI_MAIN));
    windowClass.hIconSm = LoadIconW(instance, MAKEINTRESOURCEW(IDI_SMALL));
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    windowClass.lpszMenuName = MAKEINTRESOURCEW(IDR_MAINMENU);
    windowClass.lpszClassName = WindowClassName;
    RegisterClassExW(&windowClass);
}

LRESULT OnCreate(HWND window)
{
    RichEditLibrary = LoadLibraryW(L"RICHED20.DLL");
    InitCommonControls();
    DirectionTab = CreateChild(WS_EX_CLIENTEDGE, WC_TABCONTROLW, L"", WS_CHILD | WS_VISIBLE, -1, 30, 367, 269,
                               window, IDC_DIRECTION_TAB);
    const std::u16string captions[2] = {
        std::u16string(FirstLanguageName) + u" " + SecondLanguageName,
        std::u16string(SecondLanguageName) + u" " + FirstLanguageName,
    };
    for (int direction = 0; direction < 2; ++direction) {
        CreateWordBox(window, direction);
        CreatePronounceButton(window, direction);
        CreateWordList(window, direction);
        if (RichEditLibrary != nullptr)
            CreateArticlePane(direction);
        InsertTab(direction, captions[direction]);
    }
    SetGuiFont(DirectionTab);
    ShowWindow(PronounceButtons[CurrentDirection], SW_SHOW);
    CreateToolbar(window);
    return 0;
}

void LayoutControls()
{
    RECT client = {};
    GetClientRect(MainWindow, &client);
    const int width = client.right;
    const int height = client.bottom;
    SetWindowPos(Toolbar, nullptr, 0, 0, width, 30, SWP_NOZORDER);
    SetWindowPos(DirectionTab, nullptr, 0, 0, width + 4, height - 28, SWP_NOMOVE | SWP_NOZORDER);
    for (int direction = 0; direction < 2; ++direction) {
        SetWindowPos(WordBoxes[direction], HWND_TOP, 7, 65, width - 119, 150, 0);
        SetWindowPos(PronounceButtons[direction], nullptr, width - 106, 63, 100, 22, SWP_NOZORDER);
        SetWindowPos(WordLists[direction], nullptr, 7, 92, 148, height - 98, SWP_NOZORDER);
        SetWindowPos(ArticlePanes[direction], nullptr, 158, 59, width - 164, height - 96, SWP_NOZORDER);
    }
}

LRESULT OnPaint(HWND window)
{
    LayoutControls();
    ShowControlsOf(CurrentDirection, SW_HIDE);
    CurrentDirection = SelectedDirection();
    ShowControlsOf(CurrentDirection, SW_SHOW);
    PAINTSTRUCT paint;
    BeginPaint(window, &paint);
    EndPaint(window, &paint);
    return 0;
}

LRESULT OnGetMinMaxInfo(LPARAM minMaxInfo)
{
    MINMAXINFO* info = reinterpret_cast<MINMAXINFO*>(minMaxInfo);
    info->ptMinTrackSize.x = MinimumWindowWidth;
    info->ptMinTrackSize.y = MinimumWindowHeight;
    return 0;
}

Direction SelectedDirection()
{
    // Start-up only ever selects tab 0 or 1, so anything else would be a tab control without a
    // selection; the tables are indexed with the result, so it falls back to direction 0.
    return SendMessageW(DirectionTab, TCM_GETCURSEL, 0, 0) == GermanToEnglish ? GermanToEnglish : EnglishToGerman;
}

void ShowDirectionControls()
{
    const int selected = SelectedDirection();
    for (int direction = 0; direction < 2; ++direction) {
        const int showCommand = direction == selected ? SW_SHOWNORMAL : SW_HIDE;
        ShowWindow(WordBoxes[direction], showCommand);
        ShowWindow(PronounceButtons[direction], showCommand);
        ShowWindow(WordLists[direction], showCommand);
        ShowWindow(ArticlePanes[direction], showCommand);
    }
}

void ShowInfoMessage(const std::u16string& text)
{
    MessageBoxW(MainWindow, Wide(text), L"Info Message", MB_OK);
}
