// Resource and command identifiers, shared by the resource script and the C++ code.
// Plain #defines: the resource compiler cannot read enums.
#pragma once

// Strings
#define IDS_APP_TITLE           103
#define IDS_WINDOW_CLASS        109

// Icons
#define IDI_MAIN                107
#define IDI_SMALL               108
#define IDI_TRAY                2210

// Menus and accelerators
#define IDR_MAINMENU            109
#define IDR_ACCELERATORS        109
#define IDR_TRAYMENU            10201

// Bitmaps
#define IDB_TOOLBAR             37682

// Dialogs
#define IDD_ABOUT               1033
#define IDD_OPTIONS             37818

// Commands: accelerators and menus
#define IDM_ABOUT_KEY           104
#define IDM_EXIT                105
#define IDM_FILE_NEW            155
#define IDM_FILE_OPEN           156
#define IDM_FILE_PRINT          157
#define IDM_FILE_PRINT_PREVIEW  158
#define IDM_EDIT_CUT            159
#define IDM_EDIT_COPY           160
#define IDM_EDIT_PASTE          161
#define IDM_VIEW_ENGLISH_GERMAN 162
#define IDM_VIEW_GERMAN_ENGLISH 163
#define IDM_VIEW_ALWAYS_ON_TOP  164
#define IDM_TOOLS_OPTIONS       165
#define IDM_HELP_SEARCH         166
#define IDM_HELP_CONTENTS       167
#define IDM_HELP_UPDATES        169
#define IDM_HELP_SUPPORT        170
#define IDM_HELP_ABOUT          171
#define IDM_TRAY_SHOW           224
#define IDM_TRAY_EXIT           225

// Commands: toolbar
#define IDM_TOOLBAR_NEW_ARTICLE  10501
#define IDM_TOOLBAR_ADD_LANGUAGE 10502
#define IDM_TOOLBAR_SAVE         10503
#define IDM_TOOLBAR_PRINT        10504
#define IDM_TOOLBAR_CUT          10505
#define IDM_TOOLBAR_COPY         10506
#define IDM_TOOLBAR_PASTE        10507
#define IDM_TOOLBAR_HELP         10508

// Controls of the main window; per direction d the identifier is the base + d
#define IDC_DIRECTION_TAB       23
#define IDC_WORD_LIST           1030
#define IDC_PRONOUNCE           1040
#define IDC_ARTICLE_PANE        1050
#define IDC_WORD_BOX            1221
#define IDC_TOOLBAR             1020555

// Controls of the options dialog
#define IDC_OPTIONS_LANGUAGE    420
#define IDC_OPTIONS_LOAD_ON_START 421
#define IDC_OPTIONS_ALWAYS_ON_TOP 422
#define IDC_OPTIONS_SAVE        423

// Controls of the About dialog
#define IDC_ABOUT_VERSION       1437
#define IDC_ABOUT_SYSTEM_INFO   554
#define IDC_ABOUT_DICTIONARIES  35485
#define IDC_ABOUT_DETAILS       35486
