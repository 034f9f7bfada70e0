"""Closing only minimises; File, Exit ends the program."""

from harness import *


def test_close_box_alt_f4_and_system_menu_close_minimise():
    ways = [
        ("the close box", lambda app: app.click(*close_box(app))),
        ("Alt+F4", lambda app: app.key("alt+F4")),
        ("the system menu's Close", lambda app: app.key("alt+space", "c")),
    ]
    with App() as app:
        app.start()
        for name, close in ways:
            # The keyboard goes to the window under the pointer; a click into the article pane
            # gives it the focus and changes nothing, even if taken for a double click.
            app.click_control(app.pane(0))
            close(app)
            app.wait_for(lambda: app.info(app.window)["iconic"], "the window to minimise after %s" % name)
            check(app.running(), "the program ended after %s" % name)
            check(app.answers(), "the program does not answer after %s" % name)
            check_equal(app.message_boxes(), [], "message boxes after %s" % name)
            # Restored as the taskbar would, it shows what it showed before.
            app.driver("show", app.window, SW_RESTORE)
            app.wait_for(lambda: not app.info(app.window)["iconic"], "the window to be restored")
            check_equal(app.view(0), ("a", expected_listing(ENGLISH_GERMAN, "a"), "ein, eine\n"),
                        "English German after %s" % name)
        app.screenshot("restored")


def close_box(app):
    """The caption's close button, which Wine draws at the right end of the caption."""
    left, top, right, bottom = app.info(app.window)["rect"]
    client_top = app.info(app.window)["client"][1]
    return right - 14, top + 12 if client_top - top > 20 else top + 8


def test_file_exit_ends_the_program_with_exit_code_0():
    with App() as app:
        app.start()
        app.click_control(app.pane(0))
        # File is the first popup; E&xit is chosen by its mnemonic.
        app.key("alt+f")
        app.wait_for(lambda: app.screenshot("file-menu"), "the screenshot")
        app.key("x")
        check_equal(app.exit_code(), 0, "exit code after File, Exit")
