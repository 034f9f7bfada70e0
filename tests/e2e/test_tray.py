"""The notification-area icon: present from start-up, a right-button release opens Show/Exit,
left clicks do nothing, Show restores and raises the window, Exit ends the program. (Wine's shell
drops the icons of a destroyed window by itself, so the removal at Exit cannot be seen from here.)"""

import subprocess
import time

from harness import *
from other_program import tray_icon_exists

TRAY_ICON_ID = 123
TRAY_CALLBACK = 3345
WM_LBUTTONUP, WM_RBUTTONDOWN, WM_RBUTTONUP, WM_LBUTTONDBLCLK = 0x0202, 0x0204, 0x0205, 0x0203
SW_MINIMIZE = 6
MENU_CLASS = "#32768"


def open_menu(app):
    """The tray menu's window once it is up."""
    return app.wait_for(lambda: visible_menu(app), "the tray menu")


def visible_menu(app):
    menu = int(app.driver("find", hex_text(MENU_CLASS), "-")["hwnd"])
    return menu if menu and app.info(menu)["visible"] else 0


def choose(app, menu, position):
    """Clicks item `position` of the two-item menu."""
    left, top, right, bottom = app.info(menu)["rect"]
    app.click((left + right) // 2, top + (bottom - top) * (2 * position + 1) // 4)


def tray_window_spot(app):
    """Where Wine's stand-alone notification area shows the first icon, raised above the
    other windows (the test display has no window manager to do that)."""
    found = subprocess.run(["xdotool", "search", "--name", "^Wine System Tray$"], env=app.env,
                           stdin=subprocess.DEVNULL, stdout=subprocess.PIPE, stderr=subprocess.DEVNULL)
    window = found.stdout.split()[0].decode() if found.stdout.split() else None
    check(window is not None, "Wine shows no notification area")
    app.xdotool("windowraise", window)
    geometry = subprocess.run(["xdotool", "getwindowgeometry", "--shell", window], env=app.env,
                              stdin=subprocess.DEVNULL, stdout=subprocess.PIPE, check=True).stdout.decode()
    values = dict(line.split("=", 1) for line in geometry.split())
    return int(values["X"]) + 10, int(values["Y"]) + 10


def check_no_menu(app, what):
    time.sleep(1.0)
    check(not visible_menu(app), what + " opened a menu")


def test_tray_icon_menu_show_and_exit():
    with App() as app:
        app.start()
        check(tray_icon_exists(app, app.window, TRAY_ICON_ID), "no tray icon after start-up")

        # The user's own clicks on the icon in Wine's notification area.
        x, y = tray_window_spot(app)
        app.xdotool("mousemove", x, y)
        time.sleep(0.1)
        app.xdotool("click", "3")
        menu = open_menu(app)
        app.screenshot("tray-menu")
        # A click elsewhere (here on the main window's caption) closes it without a command.
        left, top, right, bottom = app.info(app.window)["rect"]
        app.click(left + 250, top + 10)
        app.wait_for(lambda: not visible_menu(app), "the menu to close on a click elsewhere")
        time.sleep(0.5)
        check(app.running(), "the program ended without a command")
        check(not app.info(app.window)["iconic"], "a click elsewhere minimised the window")
        app.click(x, y, count=2)
        check_no_menu(app, "left clicks on the icon")

        # The callback as the shell sends it: only a right-button release opens the menu.
        for event in (WM_LBUTTONUP, WM_LBUTTONDBLCLK, WM_RBUTTONDOWN):
            app.driver("post", app.window, TRAY_CALLBACK, TRAY_ICON_ID, event)
        app.driver("post", app.window, TRAY_CALLBACK, TRAY_ICON_ID + 1, WM_RBUTTONUP)
        check_no_menu(app, "other icon events")

        app.driver("show", app.window, SW_MINIMIZE)
        app.wait_for(lambda: app.info(app.window)["iconic"], "the window minimised")
        app.driver("post", app.window, TRAY_CALLBACK, TRAY_ICON_ID, WM_RBUTTONUP)
        choose(app, open_menu(app), 0)
        app.wait_for(lambda: not app.info(app.window)["iconic"], "Show to restore the window")
        window = app.info(app.window)
        check(window["foreground"], "Show left the window behind another")
        left, top, right, bottom = window["rect"]
        check_equal((right - left, bottom - top), (380, 323), "the restored window's size")

        app.driver("post", app.window, TRAY_CALLBACK, TRAY_ICON_ID, WM_RBUTTONUP)
        choose(app, open_menu(app), 1)
        check_equal(app.exit_code(), 0, "exit code after the tray menu's Exit")
