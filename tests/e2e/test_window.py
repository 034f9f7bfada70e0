"""The main window as it comes up: class, title, tabs, controls, the initial search, menus."""

import time

from harness import *


def test_start_up_shows_the_first_direction_filled():
    with App() as app:
        app.start()
        window = app.info(app.window)
        check_equal(window["class"], WINDOW_CLASS, "window class")
        check_equal(window["title"], WINDOW_TITLE, "window title")
        left, top, right, bottom = window["rect"]
        check_equal((right - left, bottom - top), (380, 323), "window size")
        tabs = app.tabs()
        check_equal(tabs["captions"], ["English German", "German English"], "tab captions")
        check_equal(tabs["selected"], 0, "selected tab")
        check_equal(app.view(0), ("a", expected_listing(ENGLISH_GERMAN, "a"), "ein, eine\n"),
                    "English German after start-up")
        check_equal(app.view(1), ("", [], ""), "German English after start-up")
        check_equal(app.visible_controls(), [(True, True, True, True), (False, False, False, False)],
                    "visible controls")
        app.screenshot("started")


def test_controls_have_their_identifiers_classes_and_styles():
    LVM_GETCOLUMNWIDTH, LVM_GETEXTENDEDLISTVIEWSTYLE = 0x101D, 0x1037
    CB_GETCOUNT, TB_BUTTONCOUNT, TB_COMMANDTOINDEX = 0x146, 0x418, 0x419
    with App() as app:
        app.start()
        classes = {DIRECTION_TAB: "SysTabControl32", TOOLBAR: "ToolbarWindow32"}
        for d in (0, 1):
            classes.update({WORD_BOX + d: "ComboBox", PRONOUNCE + d: "Button", WORD_LIST + d: "SysListView32"})
        for identifier, name in classes.items():
            check_equal(app.info(app.control(identifier))["class"].lower(), name.lower(),
                        "class of control %d" % identifier)
        for d in (0, 1):
            pane = app.info(app.pane(d))
            check_equal(pane["class"].lower(), "richedit20w", "class of article pane %d" % d)
            # Child, clipping siblings, border, read-only, multi-line. (The pane itself adds and
            # removes WS_VSCROLL as its text needs a scroll bar.)
            check_equal(pane["style"] & 0x44800804, 0x44800804, "style of article pane %d" % d)
            box = app.control(WORD_BOX + d)
            check_equal(app.info(box)["style"] & 0x3, 0x2, "word box %d is a drop-down combo box" % d)
            check_equal(app.driver("send", box, CB_GETCOUNT, 0, 0)["result"], 0, "items in the drop-down %d" % d)
            check_equal(app.text(app.control(PRONOUNCE + d)), "Pronounce", "Pronounce button caption")
            word_list = app.control(WORD_LIST + d)
            # Report view, one column of 130 pixels, no header, single selection, whole rows.
            check_equal(app.info(word_list)["style"] & 0x4007, 0x4005, "word list %d style" % d)
            check_equal(app.driver("send", word_list, LVM_GETCOLUMNWIDTH, 0, 0)["result"], 130, "column width")
            check_equal(app.driver("send", word_list, LVM_GETCOLUMNWIDTH, 1, 0)["result"], 0, "a second column")
            check_equal(app.driver("send", word_list, LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0)["result"] & 0x20, 0x20,
                        "full-row selection")
        toolbar = app.control(TOOLBAR)
        check_equal(app.driver("send", toolbar, TB_BUTTONCOUNT, 0, 0)["result"], 10, "toolbar entries")
        positions = [app.driver("send", toolbar, TB_COMMANDTOINDEX, c, 0)["result"] for c in range(10501, 10509)]
        check_equal(positions, [0, 1, 2, 3, 5, 6, 7, 9], "toolbar positions of commands 10501 to 10508")
        # The article pane's background, below its text.
        left, top, right, bottom = app.info(app.pane(0))["rect"]
        check_equal(app.pixel(right - 30, bottom - 30), (255, 249, 189), "article pane background")


def test_file_items_are_grayed_and_the_other_items_enabled():
    file_items = (155, 156, 157, 158)
    other_items = (105, 159, 160, 161, 162, 163, 164, 165, 166, 167, 169, 170, 171)
    with App() as app:
        app.start()
        states = app.menu_states(*(file_items + other_items + (104, 9999)))
        for command in file_items:
            check_equal(states[command] & (MF_GRAYED | MF_DISABLED | MF_CHECKED), MF_GRAYED,
                        "state of File item %d" % command)
        for command in other_items:
            check_equal(states[command], 0, "state of menu item %d" % command)
        # Command 104 stands in no menu; GetMenuState then answers -1, so the probe reads for real.
        check_equal(states[104], -1, "state of the accelerator-only command 104")
        check_equal(states[9999], -1, "state of a command that does not exist")


def test_smallest_window_is_250_by_210_and_controls_follow_the_size():
    with App() as app:
        app.start()
        # The system marshals WM_GETMINMAXINFO; every field but the minimum tracking size comes
        # back as it was sent.
        reply = app.driver("minmax", app.window)
        check(reply["answered"], "WM_GETMINMAXINFO not answered")
        check_equal(reply["result"], 0, "WM_GETMINMAXINFO result")
        check_equal(reply["fields"], [[101, 102], [103, 104], [105, 106], [250, 210], [109, 110]],
                    "MINMAXINFO after the program")
        # Dragging the bottom right corner far up and left stops at the minimum.
        left, top, right, bottom = app.info(app.window)["rect"]
        app.xdotool("mousemove", right - 2, bottom - 2)
        app.xdotool("mousedown", 1)
        for x, y in ((right - 60, bottom - 60), (left + 100, top + 100), (left + 20, top + 20)):
            app.xdotool("mousemove", x, y)
            time.sleep(0.1)
        app.xdotool("mouseup", 1)

        def size():
            l, t, r, b = app.info(app.window)["rect"]
            return (r - l, b - t)
        app.wait_equal(size, (250, 210), "the window's size after the drag")
        app.screenshot("smallest")
        check_layout(app)
        # And back out to a larger size: the controls follow through repainting alone.
        left, top, right, bottom = app.info(app.window)["rect"]
        app.xdotool("mousemove", right - 2, bottom - 2)
        app.xdotool("mousedown", 1)
        app.xdotool("mousemove", right + 150, bottom + 120)
        time.sleep(0.1)
        app.xdotool("mousemove", right + 300, bottom + 240)
        time.sleep(0.1)
        app.xdotool("mouseup", 1)
        app.wait_equal(size, (250 + 302, 210 + 242), "the window's size after the second drag")
        app.wait_for(lambda: layout_matches(app), "the controls to follow the size")
        app.screenshot("larger")
        check_layout(app)


def expected_layout(width, height):
    """Control rectangles (left, top, right, bottom) in the main window's client area."""
    layout = {
        "toolbar": (0, 0, width),
        "tab": (-1, 30, width + 3, height + 2),
    }
    for d in (0, 1):
        layout["word box %d" % d] = (7, 65, width - 112, 215)
        layout["pronounce %d" % d] = (width - 106, 63, width - 6, 85)
        layout["list %d" % d] = (7, 92, 155, height - 6)
        layout["pane %d" % d] = (157, 89, width - 7, height - 7)
    return layout


def measured_layout(app):
    client = app.info(app.window)["client"]
    origin_x, origin_y = client[0], client[1]
    width, height = client[2] - client[0], client[3] - client[1]

    def relative(hwnd):
        l, t, r, b = app.info(hwnd)["rect"]
        return (l - origin_x, t - origin_y, r - origin_x, b - origin_y)
    # A toolbar keeps the height its buttons need, whatever height it is given.
    layout = {"toolbar": relative(app.control(TOOLBAR))[:3], "tab": relative(app.control(DIRECTION_TAB))}
    for d in (0, 1):
        # A drop-down combo box keeps its own height for the closed box; its width and place count.
        box = relative(app.control(WORD_BOX + d))
        layout["word box %d" % d] = (box[0], box[1], box[2], 215)
        layout["pronounce %d" % d] = relative(app.control(PRONOUNCE + d))
        layout["list %d" % d] = relative(app.control(WORD_LIST + d))
        layout["pane %d" % d] = relative(app.pane(d))
    return width, height, layout


def layout_matches(app):
    width, height, layout = measured_layout(app)
    return layout == expected_layout(width, height)


def check_layout(app):
    width, height, layout = measured_layout(app)
    expected = expected_layout(width, height)
    for name in sorted(expected):
        check_equal(layout[name], expected[name], "%s in a client area of %d x %d" % (name, width, height))
