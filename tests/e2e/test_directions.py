"""Switching directions: the tabs and the View menu show one direction's controls and search nothing."""

from harness import *

SHOWN = (True, True, True, True)
HIDDEN = (False, False, False, False)
STARTED = ("a", expected_listing(ENGLISH_GERMAN, "a"), "ein, eine\n")


def click_tab(app, index):
    left, top, right, bottom = app.tabs()["rects"][index]
    app.click((left + right) // 2, (top + bottom) // 2)


def test_tab_clicks_switch_the_visible_controls_without_searching():
    with App() as app:
        app.start()
        click_tab(app, 1)
        app.wait_equal(app.visible_controls, [HIDDEN, SHOWN], "controls after clicking German English")
        check_equal(app.tabs()["selected"], 1, "selected tab")
        check_equal(app.view(1), ("", [], ""), "German English, shown for the first time")
        check_equal(app.view(0), STARTED, "English German, hidden")
        app.screenshot("german-english")
        # A search here fills only this direction; going back shows the first as it was.
        app.click_word_box(1)
        app.type_text("Ap")
        app.wait_equal(lambda: app.view(1), ("Ap", ["Apfel", "Baum", "Buch", "Hund", "Haus", "Katze"], ""),
                       "German English after typing Ap")
        click_tab(app, 0)
        app.wait_equal(app.visible_controls, [SHOWN, HIDDEN], "controls after clicking English German")
        check_equal(app.view(0), STARTED, "English German, shown again")
        check_equal(app.view(1)[0], "Ap", "German English word box, hidden")


def test_view_menu_switches_the_visible_controls_without_searching():
    with App() as app:
        app.start()
        app.click_word_box()
        # Opened from the keyboard, the View popup highlights its first item, English German.
        app.key("alt+v", "Down", "Return")
        app.wait_equal(app.visible_controls, [HIDDEN, SHOWN], "controls after View, German English")
        check_equal(app.tabs()["selected"], 1, "selected tab")
        check_equal(app.view(1), ("", [], ""), "German English, shown for the first time")
        app.screenshot("view-german-english")
        app.key("alt+v", "Return")
        app.wait_equal(app.visible_controls, [SHOWN, HIDDEN], "controls after View, English German")
        check_equal(app.tabs()["selected"], 0, "selected tab")
        check_equal(app.view(0), STARTED, "English German, shown again")
        check_equal(app.view(1), ("", [], ""), "German English, still never searched")


def test_default_language_id_selects_the_start_direction():
    cases = [
        # Configuration.dat, the direction selected at start
        ("LoadOnStart=false\r\nAlwaysOnTop=false\r\nDefaultLanguageId=1\r\n", 1),
        ("DefaultLanguageId=1abc\n", 1),
        ("DefaultLanguageId= 1\n", 1),
        ("DefaultLanguageId=0\r\n", 0),
        ("DefaultLanguageId=2\r\n", 0),
        ("DefaultLanguageId=-1\r\n", 0),
        ("DefaultLanguageId=x\r\n", 0),
        ("LoadOnStart=false\r\n", 0),
    ]
    for configuration, selected in cases:
        with App(configuration=configuration) as app:
            app.start()
            what = "with %r" % configuration
            check_equal(app.tabs()["selected"], selected, "selected tab " + what)
            expected = [HIDDEN, HIDDEN]
            expected[selected] = SHOWN
            check_equal(app.visible_controls(), expected, "visible controls " + what)
            records = GERMAN_ENGLISH if selected else ENGLISH_GERMAN
            check_equal(app.view(selected), ("a", expected_listing(records, "a"),
                                             normalise_lines(article_text(records[0][1]))),
                        "the selected direction " + what)
            check_equal(app.view(1 - selected), ("", [], ""), "the other direction " + what)
            if selected == 1 and configuration.startswith("LoadOnStart"):
                app.screenshot("german-english-at-start")
