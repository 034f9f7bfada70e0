"""The word capture: Ctrl+Insert in another program looks its selection up; Cut, Copy and Paste
send their key strokes; the clipboard viewer chain stays whole when other viewers come and go."""

import os
import subprocess
import time

from harness import *
from other_program import OTHER_PROGRAM, Notepad, clipboard_text, put_bitmap, put_text, windows_path

IDM_EDIT_CUT = 159
IDM_EDIT_COPY = 160
IDM_EDIT_PASTE = 161
SW_MINIMIZE = 6
# How long a change that must not happen is given to show up.
QUIET_SECONDS = 1.5


def command(app, identifier):
    app.driver("post", app.window, WM_COMMAND, identifier, 0)


def hot_key(app):
    """The user's Ctrl+Insert, through the X server to whichever window has the focus."""
    app.key("ctrl+Insert")


def minimise(app):
    app.driver("show", app.window, SW_MINIMIZE)
    app.wait_for(lambda: app.info(app.window)["iconic"], "the window minimised")


def wait_for_capture(app, word, what):
    """The window in front and not minimised, its English German word box holding `word`, the
    list and pane showing the search for it."""
    articles = dict(ENGLISH_GERMAN)
    expected_pane = normalise_lines(article_text(articles[word])) if word in articles else ""
    app.wait_equal(lambda: app.view(0), (word, expected_listing(ENGLISH_GERMAN, word), expected_pane),
                   what + ": word box, list and pane")
    window = app.info(app.window)
    check(window["foreground"], what + ": the dictionary is not the foreground window")
    check(not window["iconic"], what + ": the dictionary is still minimised")
    check(window["visible"], what + ": the dictionary is hidden")


def check_unchanged(app, view, iconic, what):
    time.sleep(QUIET_SECONDS)
    check_equal(app.view(0), view, what + ": English German view")
    check_equal(app.info(app.window)["iconic"], iconic, what + ": minimised")


def test_capture_from_another_program():
    with App() as app:
        app.start()
        notepad = Notepad(app, "  house  ")
        try:
            notepad.focus()
            app.key("ctrl+a")
            hot_key(app)
            wait_for_capture(app, "house", "spaces around the word")
            app.screenshot("house-captured")

            # Minimised (as the close box leaves it), the window comes back for a capture.
            minimise(app)
            notepad.replace_text("  dog  ")
            app.key("ctrl+a")
            hot_key(app)
            wait_for_capture(app, "dog", "captured while minimised")

            # Only spaces are trimmed: a line break at the end stays, and with it the spaces in
            # front of it; the search finds nothing for that word.
            notepad.replace_text("cat  ", line_break=True)
            app.key("ctrl+a")
            hot_key(app)
            wait_for_capture(app, "cat  \r\n", "a text ending in a line break")

            notepad.replace_text("   ")
            app.key("ctrl+a")
            hot_key(app)
            wait_for_capture(app, "", "spaces only")

            # Nothing selected: Ctrl+C changes nothing and the capture stays armed until the
            # next copy, here the user's own Ctrl+C in notepad.
            notepad.replace_text("  bath ")
            view = app.view(0)
            hot_key(app)
            check_unchanged(app, view, False, "hot key with nothing selected")
            check(app.info(notepad.window)["foreground"], "notepad left the front without a copy")
            app.key("ctrl+a", "ctrl+c")
            wait_for_capture(app, "bath", "the next copy after the hot key")

            # A picture: the window is shown and raised, nothing is searched, the capture is
            # disarmed, so the next text on the clipboard is not taken.
            notepad.focus()
            app.key("End")
            minimise(app)
            view = app.view(0)
            hot_key(app)
            time.sleep(0.5)
            put_bitmap(app)
            app.wait_for(lambda: not app.info(app.window)["iconic"], "the window restored for a picture")
            app.wait_for(lambda: app.info(app.window)["foreground"], "the window in front after a picture")
            check_unchanged(app, view, False, "a picture on the clipboard")
            minimise(app)
            put_text(app, "dog")
            check_unchanged(app, view, True, "a copy after the capture was disarmed")
        finally:
            notepad.close()


def test_cut_copy_paste_send_their_key_strokes_and_copy_does_not_arm():
    with App() as app:
        app.start()
        app.click_word_box(0)
        app.wait_for(lambda: app.info(app.window)["foreground"], "the dictionary in front")
        app.key("End", "shift+Home")
        app.type_text("  dog ")
        app.wait_equal(lambda: app.view(0), ("  dog ", [], ""), "the typed word")

        # Copy puts the selection on the clipboard; were the capture armed, its own change
        # would come back trimmed into the word box.
        app.key("End", "shift+Home")
        command(app, IDM_EDIT_COPY)
        app.wait_for(lambda: clipboard_text(app) == "  dog ", "Edit, Copy to put the word on the clipboard")
        check_unchanged(app, ("  dog ", [], ""), False, "Edit, Copy")
        put_text(app, "house")
        check_unchanged(app, ("  dog ", [], ""), False, "a copy elsewhere after Edit, Copy")

        app.click_word_box(0)
        app.key("End", "shift+Home")
        command(app, IDM_EDIT_PASTE)
        app.wait_equal(lambda: app.view(0), ("house", expected_listing(ENGLISH_GERMAN, "house"), "Haus\n"),
                       "the pasted word")

        app.key("End", "shift+Home")
        command(app, IDM_EDIT_CUT)
        app.wait_equal(lambda: app.word_box_text(0), "", "word box after Cut")
        check_equal(clipboard_text(app), "house", "clipboard after Cut")


def viewer_lines(log, mark):
    """The log lines after the line `mark TEXT`, once the next mark or the end is reached."""
    with open(log) as f:
        lines = [line.strip() for line in f]
    if "mark " + mark not in lines:
        return []
    rest = lines[lines.index("mark " + mark) + 1:]
    return [line for line in rest[:next((i for i, l in enumerate(rest) if l.startswith("mark ")), len(rest))]]


def test_viewer_chain_survives_viewers_leaving_and_joining():
    with App() as app:
        log = os.path.join(app.folder, "viewers.log")
        commands = os.path.join(app.folder, "viewers.txt")
        open(commands, "w").close()
        viewers = subprocess.Popen(
            [app.env["WINELOADER"], OTHER_PROGRAM, "viewers", windows_path(log), windows_path(commands)],
            env=app.env, stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
            start_new_session=True)

        def send(*lines):
            with open(commands, "a") as f:
                f.write("".join(line + "\n" for line in lines))

        def after(mark, expected):
            app.wait_for(lambda: os.path.exists(log) and expected.issubset(set(viewer_lines(log, mark))),
                         "%s after %r" % (sorted(expected), mark))
            time.sleep(0.5)
            return set(viewer_lines(log, mark))

        try:
            app.wait_for(lambda: os.path.exists(log) and "ready" in open(log).read(), "the viewers")
            # The dictionary joins last: the chain is dictionary, V3, V2, V1.
            app.start()

            send("mark all")
            put_text(app, "a")
            check_equal(after("all", {"V3 draw", "V2 draw", "V1 draw"}), {"V3 draw", "V2 draw", "V1 draw"},
                        "viewers told of a change")

            # V2 leaves from the middle: the news travels on from the dictionary to V3.
            send("mark V2 leaves", "leave V2")
            after("V2 leaves", {"V3 change V2", "V2 left"})
            send("mark after V2")
            put_text(app, "b")
            check_equal(after("after V2", {"V3 draw", "V1 draw"}), {"V3 draw", "V1 draw"},
                        "viewers told of a change after V2 left")

            # V3, the dictionary's successor, leaves: the dictionary now passes changes to V1.
            send("mark V3 leaves", "leave V3")
            after("V3 leaves", {"V3 left"})
            send("mark after V3")
            put_text(app, "c")
            check_equal(after("after V3", {"V1 draw"}), {"V1 draw"}, "viewers told of a change after V3 left")

            # V4 joins in front of the dictionary; changes still pass through it to V1.
            send("mark V4 joins", "join V4")
            after("V4 joins", {"V4 joined, next other"})
            send("mark after V4")
            put_text(app, "d")
            check_equal(after("after V4", {"V4 draw", "V1 draw"}), {"V4 draw", "V1 draw"},
                        "viewers told of a change after V4 joined")
        finally:
            send("quit")
            try:
                viewers.wait(timeout=10)
            except subprocess.TimeoutExpired:
                viewers.kill()
                viewers.wait()
