"""Missing article files: the loader's message, then the not-loaded message twice per search."""

import time

from harness import *


def next_message(app, what):
    """Waits for the one message box up, checks it, and gives the word box text at that time."""
    boxes = app.wait_for(app.message_boxes, what)
    check_equal(len(boxes), 1, "message boxes up at %s" % what)
    box = boxes[0]
    check_equal((box["caption"], box["text"]), (INFO_CAPTION, NOT_FOUND_MESSAGE), what)
    check_equal(int(box["owner"]), app.window, "owner of %s" % what)
    check_equal([b["id"] for b in box["buttons"]], [IDOK], "buttons of %s" % what)
    word = app.word_box_text(0)
    app.press_ok(box)
    return word


def check_no_more_messages(app, what):
    app.wait_for(app.answers, "the program to answer after %s" % what)
    deadline = time.monotonic() + 1.5
    while time.monotonic() < deadline:
        check_equal(app.message_boxes(), [], "message boxes after %s" % what)
        time.sleep(0.1)


def test_missing_article_file_reports_once_then_twice_per_search():
    for missing in (ENGLISH_FILE, GERMAN_FILE):
        english = None if missing == ENGLISH_FILE else ENGLISH_GERMAN
        german = None if missing == GERMAN_FILE else GERMAN_ENGLISH
        with App(english=english, german=german) as app:
            app.start(ready=False)
            # The loader's message comes before the initial search has put "a" into the word box.
            check_equal(next_message(app, "the load message without %s" % missing), "",
                        "word box during the load message")
            app.screenshot("load-message")
            for n in (1, 2):
                check_equal(next_message(app, "not-loaded message %d of the initial search" % n), "a",
                            "word box during the initial search's message %d" % n)
            check_no_more_messages(app, "the initial search without %s" % missing)
            # The program runs on: each further search shows the message twice and changes nothing.
            check_equal(app.view(0), ("a", [], ""), "English German without %s" % missing)
            app.click_word_box()
            app.key("End")
            app.type_text("b")
            for n in (1, 2):
                check_equal(next_message(app, "not-loaded message %d after typing" % n), "ab",
                            "word box during the message %d after typing" % n)
            check_no_more_messages(app, "typing without %s" % missing)
            check_equal(app.view(0), ("ab", [], ""), "English German after typing")
            check(app.running(), "the program ended")
