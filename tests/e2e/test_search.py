"""Searching: typing in the word box, double-clicking listed headwords, long texts."""

from harness import *


def article_of(records, word):
    for headword, article in records:
        if headword == word:
            return normalise_lines(article_text(article))
    return ""


def test_typing_updates_list_and_pane_on_every_change():
    with App() as app:
        app.start()
        app.click_word_box()
        app.key("End", "BackSpace")
        # Down to nothing: the first 25 records, and no article (no record has an empty headword).
        app.wait_equal(lambda: app.view(0), ("", [h for h, _ in ENGLISH_GERMAN[:25]], ""),
                       "the emptied word box")
        typed = ""
        for letter in "apple":
            typed += letter
            app.type_text(letter)
            app.wait_equal(lambda: app.view(0),
                           (typed, expected_listing(ENGLISH_GERMAN, typed), article_of(ENGLISH_GERMAN, typed)),
                           "after typing %r" % typed)
        app.screenshot("apple")
        check_equal(app.view(1), ("", [], ""), "the other direction")


def test_words_without_an_article():
    cases = [
        # typed, listed, why the pane is empty
        ("ap", expected_listing(ENGLISH_GERMAN, "ap"), "begins headwords but is none"),
        ("tre", ["tree", "zebra"], "begins the last two records"),
        ("q", [], "begins nothing"),
        ("Apple", [], "case counts"),
        ("zebra", [], "the last record: its article has no end, so the list is emptied too"),
    ]
    with App() as app:
        app.start()
        app.click_word_box()
        for typed, listed, why in cases:
            app.key("End", *["BackSpace"] * 8)
            app.type_text(typed)
            app.wait_equal(lambda: app.view(0), (typed, listed, ""), "after typing %r (%s)" % (typed, why))
        check_equal(expected_listing(ENGLISH_GERMAN, "ap")[0], "apple", "the fixture's first headword on ap")


def test_double_click_shows_the_listed_headword_and_keeps_the_list():
    with App() as app:
        app.start()
        app.click_word_box()
        app.key("End", "BackSpace")
        app.type_text("ab")
        listed = expected_listing(ENGLISH_GERMAN, "ab")
        app.wait_equal(lambda: app.items(0), listed, "the list for 'ab'")
        before = app.list_state(0)
        # "apple" comes later in the list and does not begin with "ab".
        row = app.driver("list-item-rect", app.control(WORD_LIST), listed.index("apple"))
        check(row["ok"], "no rectangle for the row of apple")
        left, top, right, bottom = row["rect"]
        app.click((left + right) // 2, (top + bottom) // 2, count=2)
        app.wait_equal(lambda: app.view(0), ("apple", listed, "Apfel\n"), "after the double click")
        after = app.list_state(0)
        check_equal(after["top"], before["top"], "the list's scroll position")
        check_equal(after["selectionMark"], listed.index("apple"), "the selected row")
        app.screenshot("double-clicked")


def test_double_click_without_a_selected_row_does_nothing():
    with App() as app:
        app.start()
        app.click_word_box()
        app.key("End", "BackSpace")
        app.type_text("tree")
        app.wait_equal(lambda: app.view(0), ("tree", ["tree", "zebra"], "Baum\n"), "the view for 'tree'")
        check_equal(app.list_state(0)["selectionMark"], -1, "the selection mark after a listing")
        # Below the rows: the list reports a double click, but no row holds the mark.
        left, top, right, bottom = app.info(app.control(WORD_LIST))["rect"]
        app.click(left + 30, bottom - 30, count=2)
        # Input is handled in order, so a later change proves the double click has been handled.
        app.click_word_box()
        app.key("End")
        app.type_text("s")
        app.wait_equal(lambda: app.view(0), ("trees", [], ""), "the view after the double click")


def test_long_headwords_and_articles():
    x199, x250, y1500 = "x" * 199, "x" * 250, "y" * 1500
    # 40,000 characters in 800 lines: past a rich edit's default limit of 32,767 characters.
    # (Wine does not apply that limit to WM_SETTEXT; Windows does.)
    long_article = "\r\n".join("line %03d of a long article: Wort, Wort, Wort, Wort" % n for n in range(800))
    records = [("a", "ein"), ("long", long_article), (x199, "cut to 199"), (x250, "two hundred and fifty"),
               (y1500, "fifteen hundred"), ("z", "z"), ("zz", "end")]
    with App(english=records) as app:
        app.start()
        app.click_word_box()
        app.key("End", "BackSpace")
        app.type_text("xx")
        # Headwords are listed whole, whatever their length.
        app.wait_equal(lambda: app.view(0), ("xx", [x199, x250, y1500, "z", "zz"], ""), "the view for 'xx'")
        # A double-clicked item is read into 200 characters: the lookup runs on its first 199.
        left, top, right, bottom = app.driver("list-item-rect", app.control(WORD_LIST), 1)["rect"]
        app.click((left + right) // 2, (top + bottom) // 2, count=2)
        app.wait_equal(lambda: app.view(0), (x199, [x199, x250, y1500, "z", "zz"], "cut to 199\n"),
                       "after double-clicking the 250-character headword")
        app.click_word_box()
        app.key("End", "shift+Home")
        app.type_text("long")
        app.wait_equal(lambda: app.word_box_text(0), "long", "the word box")
        pane = app.wait_for(lambda: app.pane_text(0) or None, "the long article")
        expected = normalise_lines(article_text(long_article))
        check(len(expected) > 40000, "the long article is long")
        check_equal(len(pane), len(expected), "length of the article shown")
        check_equal(pane, expected, "the long article")
        app.screenshot("long-article")
