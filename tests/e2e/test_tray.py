"""The notification-area icon: present from start-up, a right-button release opens Show/Exit,
left clicks do nothing, Show restores and raises the window, Exit ends the program. (Wine's shell
drops the icons of a destroyed window by itself, so the removal at Exit cannot be seen from here.)"""

import time

from harness import *
from other_program import tray_area, tray_icon_exists

TRAY_ICON_ID = 123
TRAY_CALLBACK = 3345
WM_KEYDOWN = 0x0100
VK_RETURN, VK_ESCAPE, VK_DOWN = 0x0D, 0x1B, 0x28
WM_LBUTTONUP, WM_LBUTTONDBLCLK, WM_RBUTTONDOWN, WM_RBUTTONUP = 0x0202, 0x0203, 0x0204, 0x0205
SW_MINIMIZE = 6
MENU_CLASS = "#32768"


def visible_menu(app):
    """A popup menu window of the dictionary's own process that is up, or 0."""
    menu = int(app.driver("find", hex_text(MENU_CLASS), hex_text(app.wine_folder))["hwnd"])
    return menu if menu and app.info(menu)["visible"] else 0


def open_menu(app, timeout=15.0):
    return app.wait_for(lambda: visible_menu(app), "the tray menu", timeout)


def menu_keys(app, *keys):
    """Key strokes for the open menu. The menu's own loop reads them from the program's queue,
    which spares the test the keyboard focus of a display without a window manager."""
    for key in keys:
        app.driver("post", app.window, WM_KEYDOWN, key, 0)


def check_no_menu(app, what):
    time.sleep(1.0)
    check(not visible_menu(app), what + " opened a menu")


def test_tray_icon_menu_show_and_exit():
    with App() as app:
        app.start()
        check(tray_icon_exists(app, app.window, TRAY_ICON_ID), "no tray icon after start-up")

        # The user's own clicks on the icon, in the window where Wine shows the notification
        # area. Left clicks do nothing. (They also make that window active first: without a
        # window manager Wine activates it on the first click, late enough to cancel a menu
        # that the same click opened.) A right click opens the menu.
        left, top, right, bottom = tray_area(app)
        x, y = left + 10, (top + bottom) // 2
        app.click(x, y, count=2)
        check_no_menu(app, "left clicks on the icon")
        app.xdotool("click", 3)
        open_menu(app)
        menu_keys(app, VK_ESCAPE)
        app.wait_for(lambda: not visible_menu(app), "the menu to close on Escape")
        check(app.running(), "the program ended without a command")
        check(not app.info(app.window)["iconic"], "closing the menu minimised the window")

        # The callback as the shell sends it: only a right-button release of icon 123 counts.
        for event in (WM_LBUTTONUP, WM_LBUTTONDBLCLK, WM_RBUTTONDOWN):
            app.driver("post", app.window, TRAY_CALLBACK, TRAY_ICON_ID, event)
        app.driver("post", app.window, TRAY_CALLBACK, TRAY_ICON_ID + 1, WM_RBUTTONUP)
        check_no_menu(app, "other icon events")

        before = app.info(app.window)["rect"]
        app.driver("show", app.window, SW_MINIMIZE)
        app.wait_for(lambda: app.info(app.window)["iconic"], "the window minimised")
        app.driver("post", app.window, TRAY_CALLBACK, TRAY_ICON_ID, WM_RBUTTONUP)
        open_menu(app)
        menu_keys(app, VK_DOWN, VK_RETURN)
        app.wait_for(lambda: not app.info(app.window)["iconic"], "Show to restore the window")
        app.wait_for(lambda: app.info(app.window)["foreground"], "Show to bring the window to the front")
        check_equal(app.info(app.window)["rect"], before, "the restored window's place and size")

        # A second menu, loaded afresh: Exit.
        app.driver("post", app.window, TRAY_CALLBACK, TRAY_ICON_ID, WM_RBUTTONUP)
        open_menu(app)
        menu_keys(app, VK_DOWN, VK_DOWN, VK_RETURN)
        check_equal(app.exit_code(), 0, "exit code after the tray menu's Exit")
