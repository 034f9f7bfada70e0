"""The options dialog and the start-up preferences: what Save applies and stores, what Cancel
leaves alone, View "Always on Top", and the next start."""

import os

from harness import *
from other_program import auto_start_value, delete_auto_start_value, windows_path

IDM_EXIT = 105
IDM_VIEW_ALWAYS_ON_TOP = 164
IDM_TOOLS_OPTIONS = 165
OPTIONS_CAPTION = "Application options dialog"
LANGUAGE, LOAD_ON_START, ALWAYS_ON_TOP, SAVE, CANCEL = 420, 421, 422, 423, 2
WM_CLOSE = 0x0010
CB_GETCURSEL, CB_GETCOUNT, CB_SETCURSEL = 0x0147, 0x0146, 0x014E
BM_GETCHECK = 0x00F0


def command(app, identifier):
    app.driver("post", app.window, WM_COMMAND, identifier, 0)


def configuration_bytes(load_on_start, always_on_top, language):
    return ("LoadOnStart=%s\r\nAlwaysOnTop=%s\r\nDefaultLanguageId=%s\r\n" % (
        load_on_start, always_on_top, language)).encode("ascii")


def file_bytes(app):
    path = os.path.join(app.folder, "Configuration.dat")
    if not os.path.exists(path):
        return None
    with open(path, "rb") as f:
        return f.read()


def program_path(app):
    return windows_path(os.path.join(app.folder, "EnglishGermanDictionary.exe"))


class Options:
    """The open options dialog."""

    def __init__(self, app):
        self.app = app
        command(app, IDM_TOOLS_OPTIONS)
        self.hwnd = app.wait_for(lambda: next((b["hwnd"] for b in app.message_boxes()
                                               if b["caption"] == OPTIONS_CAPTION), None), "the options dialog")
        self.controls = {}
        self.texts = []
        for child in app.driver("children", self.hwnd)["children"]:
            facts = app.info(child)
            self.controls[facts["id"]] = int(child)
            self.texts.append((facts["class"].lower(), facts["title"]))

    def send(self, control, message, wparam=0, lparam=0):
        return self.app.driver("send", self.controls[control], message, wparam, lparam)["result"]

    def state(self):
        """(selected list index, box 421 checked, box 422 checked)."""
        return (self.send(LANGUAGE, CB_GETCURSEL), self.send(LOAD_ON_START, BM_GETCHECK) != 0,
                self.send(ALWAYS_ON_TOP, BM_GETCHECK) != 0)

    def choose(self, language, load_on_start, always_on_top):
        """Picks the list item and clicks each box whose state differs, as the user would."""
        self.send(LANGUAGE, CB_SETCURSEL, language)
        _, load, top = self.state()
        if load != load_on_start:
            self.app.click_control(self.controls[LOAD_ON_START])
        if top != always_on_top:
            self.app.click_control(self.controls[ALWAYS_ON_TOP])
        self.app.wait_equal(self.state, (language, load_on_start, always_on_top), "the dialog's controls")

    def close(self, how):
        """Ends the dialog: a button by its identifier, a key, or the close box."""
        if how == "close box":
            self.app.driver("post", self.hwnd, WM_CLOSE, 0, 0)
        elif isinstance(how, int):
            self.app.driver("press", self.hwnd, how)
        else:
            self.app.key(how)
        self.app.wait_for(lambda: not self.app.info(self.hwnd)["exists"], "the dialog to close (%s)" % how)


def applied(app):
    """(selected tab, topmost, View "Always on Top" checked) of the running program."""
    states = app.menu_states(IDM_VIEW_ALWAYS_ON_TOP)
    return (app.tabs()["selected"], app.info(app.window)["topmost"],
            bool(states[IDM_VIEW_ALWAYS_ON_TOP] & MF_CHECKED))


def restart(app):
    """File, Exit, then the program once more in the same folder."""
    command(app, IDM_EXIT)
    check_equal(app.exit_code(), 0, "exit code")
    app.process = None
    app.window = None
    app.start()


def test_options_save_cancel_toggle_and_next_start():
    with App() as app:
        delete_auto_start_value(app)
        app.start()

        options = Options(app)
        for kind, text in (("static", "Default Language"), ("button", "Application start"),
                           ("button", "Load on System start"), ("button", "Always on Top"),
                           ("button", "Cancel"), ("button", "Save")):
            check((kind, text) in options.texts, "the dialog has no %s %r: %r" % (kind, text, options.texts))
        check_equal(options.send(LANGUAGE, CB_GETCOUNT), 2, "list items")
        check_equal(options.state(), (0, False, False), "the dialog without a configuration file")
        check_equal(app.text(options.controls[LANGUAGE]), "English German", "item 0")
        options.choose(1, True, True)
        check_equal(app.text(options.controls[LANGUAGE]), "German English", "item 1")
        options.close(SAVE)
        check_equal(file_bytes(app), configuration_bytes("true", "true", 1), "Configuration.dat")
        check_equal(applied(app), (1, True, True), "tab, topmost, check mark after Save")
        check_equal(auto_start_value(app), program_path(app), "auto-start value after Save")

        # Every way of leaving without Save changes nothing, whatever was changed first.
        for how in (CANCEL, "Return", "Escape", "close box"):
            options = Options(app)
            check_equal(options.state(), (1, True, True), "the dialog shows the stored preferences")
            options.choose(0, False, False)
            options.close(how)
        check_equal(applied(app), (1, True, True), "tab, topmost, check mark after Cancel")
        check_equal(file_bytes(app), configuration_bytes("true", "true", 1), "Configuration.dat after Cancel")
        check_equal(auto_start_value(app), program_path(app), "auto-start value after Cancel")

        # The next start applies what was saved, and writes the auto-start value again.
        delete_auto_start_value(app)
        restart(app)
        check_equal(applied(app), (1, True, True), "tab, topmost, check mark at the next start")
        check_equal(app.visible_controls(), [(False,) * 4, (True,) * 4], "visible controls at the next start")
        check_equal(auto_start_value(app), program_path(app), "auto-start value written at start")

        options = Options(app)
        options.choose(0, False, False)
        options.close(SAVE)
        check_equal(file_bytes(app), configuration_bytes("false", "false", 0), "Configuration.dat")
        check_equal(applied(app), (0, False, False), "tab, topmost, check mark after Save")
        check_equal(auto_start_value(app), "", "auto-start value switched off")

        # View, "Always on Top" changes the window and the check mark only; the dialog still
        # shows the stored setting, and Save without a change makes the window ordinary again.
        command(app, IDM_VIEW_ALWAYS_ON_TOP)
        app.wait_equal(lambda: applied(app), (0, True, True), "after View, Always on Top")
        command(app, IDM_VIEW_ALWAYS_ON_TOP)
        app.wait_equal(lambda: applied(app), (0, False, False), "after View, Always on Top twice")
        command(app, IDM_VIEW_ALWAYS_ON_TOP)
        app.wait_equal(lambda: applied(app), (0, True, True), "after View, Always on Top three times")
        check_equal(file_bytes(app), configuration_bytes("false", "false", 0), "Configuration.dat after View")
        options = Options(app)
        check_equal(options.state(), (0, False, False), "the dialog after View, Always on Top")
        options.close(SAVE)
        check_equal(applied(app), (0, False, False), "tab, topmost, check mark after an unchanged Save")

        # Switched off, auto-start is left alone at start; the window starts ordinary.
        restart(app)
        check_equal(applied(app), (0, False, False), "tab, topmost, check mark at the third start")
        check_equal(auto_start_value(app), "", "auto-start value at the third start")


def test_a_language_index_that_names_no_direction():
    with App(configuration="DefaultLanguageId=7\r\n") as app:
        app.start()
        check_equal(applied(app), (0, False, False), "tab, topmost, check mark at start")
        check_equal(app.visible_controls(), [(True,) * 4, (False,) * 4], "visible controls at start")
        options = Options(app)
        check_equal(options.state(), (-1, False, False), "the dialog for a stored index of 7")
        options.close(SAVE)
        check_equal(file_bytes(app), configuration_bytes("false", "false", -1), "Configuration.dat")
        check_equal(app.tabs()["selected"], 0, "tab after saving no direction")
        restart(app)
        check_equal(app.tabs()["selected"], 0, "tab at a start with the index -1")
        check_equal(app.visible_controls(), [(True,) * 4, (False,) * 4], "visible controls with the index -1")
