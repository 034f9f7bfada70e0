"""Commands without an action yet: the toolbar's first four buttons and the Pronounce button."""

from harness import *

TOOLBAR_BUTTONS = {10501: 0, 10502: 1, 10503: 2, 10504: 3}  # command: position


def test_toolbar_buttons_and_pronounce_do_nothing_visible():
    with App() as app:
        app.start()
        before = (app.view(0), app.view(1), app.visible_controls(), app.info(app.window)["rect"])
        toolbar = app.control(TOOLBAR)
        for command, position in TOOLBAR_BUTTONS.items():
            button = app.driver("toolbar-rect", toolbar, position)
            check(button["ok"], "no rectangle for toolbar position %d" % position)
            left, top, right, bottom = button["rect"]
            check(right - left >= 16 and bottom - top >= 16, "toolbar button %d is too small" % command)
            app.click((left + right) // 2, (top + bottom) // 2)
            app.click_control(app.control(PRONOUNCE))
            check(app.answers(), "the program does not answer after toolbar button %d" % command)
            check_equal(app.message_boxes(), [], "windows opened by toolbar button %d" % command)
            check_equal((app.view(0), app.view(1), app.visible_controls(), app.info(app.window)["rect"]), before,
                        "the window after toolbar button %d and Pronounce" % command)
        check(app.running(), "the program ended")
        check(not app.info(app.window)["iconic"], "the window was minimised")
