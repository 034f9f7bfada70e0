"""The vendor's side: the start and exit notifications, the About box, the help page and the two
vendor pages. These tests run the copy of the program built with the vendor host 127.0.0.1
(CMake's e2e.vendor.build_localhost_program), listen on 127.0.0.1 port 80 themselves, and point
the prefix's handlers for http and .html at ShellRecorder.exe, which records what the shell hands
it."""

import datetime
import shutil
import socket
import subprocess
import tempfile
import time

from harness import *
from vendor_listener import VendorListener

check_equal(VENDOR_HOST, "127.0.0.1", "vendor host of the program under test")

AGENT = "Sendarix notification agent"
VERSION_TAG = "1.2.15 German"
HOME_PIECE = "/home?client=DesktopVersion_"
DAYS_PIECE = "&ApplicationTotalDays_"
SESSION_PIECE = "&SessionCompleted"
ABOUT_CAPTION = "About"
ABOUT_VERSION, ABOUT_SYSTEM_INFO, ABOUT_DICTIONARIES, ABOUT_DETAILS = 1437, 554, 35485, 35486
HELP_BUTTON_POSITION = 9  # the toolbar's question mark, after seven buttons and two separators


def install_help_page(app):
    """The help page as the build installed it beside the program, copied into the test's folder."""
    installed = os.path.join(os.path.dirname(PROGRAM), "Help")
    with open(os.path.join(installed, "Help.EN.html"), "rb") as f, \
            open(os.path.join(ROOT, "vendor", "Help", "Help.EN.html"), "rb") as g:
        check(f.read() == g.read(), "the installed help page differs from vendor/Help/Help.EN.html")
    shutil.copytree(installed, os.path.join(app.folder, "Help"))


def without_proxy(app):
    """WinINet takes the preconfigured proxy, which under Wine includes http_proxy."""
    for name in ("http_proxy", "HTTP_PROXY", "all_proxy", "ALL_PROXY"):
        app.env.pop(name, None)


def expected_days(folder):
    """Days from the folder's creation (UTC date) to today (local date), 365 a year, 30 a month."""
    created = datetime.datetime.utcfromtimestamp(os.stat(folder).st_mtime).date()
    today = datetime.date.today()
    return 365 * (today.year - created.year) + 30 * (today.month - created.month) + (today.day - created.day)


def notification_url(session_completed, days):
    return ("http://127.0.0.1/" + HOME_PIECE + VERSION_TAG + (SESSION_PIECE if session_completed else "")
            + DAYS_PIECE + str(days))


def check_notification(request, session_completed, days, what):
    check_equal(request.method, "HEAD", "method of the %s" % what)
    check_equal(request.headers.get("user-agent"), AGENT, "user agent of the %s" % what)
    check_equal(request.headers.get("host"), "127.0.0.1", "host of the %s" % what)
    # The target is the whole URL. Wine's WinINet writes it with a slash in front and the blank
    # of the version tag as %20; both are taken back here, nothing else is.
    target = request.target
    url = target[1:] if target.startswith("/http://") else target
    check_equal(url.replace("%20", " "), notification_url(session_completed, days),
                "request target of the %s (as sent: %r)" % (what, target))

class ShellRecorder:
    """Points HKEY_CLASSES_ROOT's handlers for http URLs and .html files in the test prefix at
    ShellRecorder.exe, and afterwards puts back exactly what was there. Wine reads
    HKEY_CLASSES_ROOT from HKLM\\Software\\Classes only, so the keys are replaced there."""

    CLASSES = "HKLM\\Software\\Classes\\"
    PROGID = "EnglishGermanDictionaryTestRecorder"

    def __init__(self, env):
        self.env = env
        self.folder = tempfile.mkdtemp(prefix="dict-shell-")
        self.record = os.path.join(self.folder, "record.txt")
        self.saved = {}

    def reg(self, *arguments, check_result=True):
        result = subprocess.run([self.env["WINELOADER"], "reg"] + list(arguments), env=self.env,
                                stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        if check_result:
            check_equal(result.returncode, 0, "reg %s" % " ".join(arguments))
        return result.returncode == 0

    def __enter__(self):
        try:
            for key in ("http", ".html", self.PROGID):
                saved = os.path.join(self.folder, "saved-%d.reg" % len(self.saved))
                if self.reg("export", self.CLASSES + key, wine_path(saved), "/y", check_result=False):
                    self.saved[key] = saved
                else:
                    self.saved[key] = None
            command = '"%s" "%s" "%%1"' % (wine_path(os.path.join(TOOLS, "ShellRecorder.exe")),
                                           wine_path(self.record))
            self.reg("add", self.CLASSES + "http\\shell\\open\\command", "/ve", "/d", command, "/f")
            self.reg("add", self.CLASSES + ".html", "/ve", "/d", self.PROGID, "/f")
            self.reg("add", self.CLASSES + self.PROGID + "\\shell\\open\\command", "/ve", "/d", command, "/f")
        except BaseException:
            self.restore()
            raise
        return self

    def __exit__(self, *exception):
        self.restore()
        return False

    def restore(self):
        for key, saved in self.saved.items():
            self.reg("delete", self.CLASSES + key, "/f", check_result=False)
            if saved is not None:
                self.reg("import", wine_path(saved))
        shutil.rmtree(self.folder, ignore_errors=True)

    def records(self):
        try:
            with open(self.record, encoding="utf-8") as f:
                return f.read().splitlines()
        except FileNotFoundError:
            return []


def wine_path(path):
    return "Z:" + path.replace("/", "\\")


def open_help_item(app, downs):
    """Help menu by keyboard: Alt+H opens it on "Search"; Down skips the separators."""
    app.key("alt+h", *(["Down"] * downs), "Return")



def exit_by_file_menu(app):
    """File, Exit; checks exit code 0 and gives the seconds from the keys to the process's end."""
    asked = time.monotonic()
    app.key("alt+f", "x")
    check_equal(app.exit_code(), 0, "exit code after File, Exit")
    return time.monotonic() - asked


def test_notifications_help_page_and_vendor_pages():
    with VendorListener("answer") as listener, App() as app:
        install_help_page(app)
        without_proxy(app)
        days = expected_days(app.folder)
        with ShellRecorder(app.env) as shell:
            started = time.monotonic()
            app.start()
            start_up = time.monotonic() - started
            start_request = listener.wait_for(lambda r: HOME_PIECE in r.target, "start notification")
            check_notification(start_request, False, days, "start notification")

            help_path = app.wine_folder + "\\Help\\Help.EN.html"
            download = "http://127.0.0.1/download_german?client=DesktopVersion_" + VERSION_TAG + DAYS_PIECE + str(days)
            contact = "http://127.0.0.1/contact_us?client=DesktopVersion_" + VERSION_TAG + DAYS_PIECE + str(days)
            help_button = app.driver("toolbar-rect", app.control(TOOLBAR), HELP_BUTTON_POSITION)
            check(help_button["ok"], "no rectangle for the toolbar's help button")
            left, top, right, bottom = help_button["rect"]
            actions = [
                ("Help, Search", lambda: open_help_item(app, 0), help_path),
                ("Help, Contents", lambda: open_help_item(app, 1), help_path),
                ("the toolbar's help button", lambda: app.click((left + right) // 2, (top + bottom) // 2), help_path),
                ("Help, Check for Updates", lambda: open_help_item(app, 2), download),
                ("Help, Technical Support", lambda: open_help_item(app, 3), contact),
            ]
            expected = []
            for what, act, handed in actions:
                act()
                expected.append(handed)
                app.wait_equal(shell.records, expected, "what the shell was handed after %s" % what)
                check(app.answers(), "the program does not answer after %s" % what)
                check_equal(app.message_boxes(), [], "dialogs after %s" % what)

            ended = exit_by_file_menu(app)
        exit_request = listener.wait_for(lambda r: SESSION_PIECE in r.target, "exit notification")
        check_notification(exit_request, True, days, "exit notification")
        check_equal(len(listener.received()), 2, "requests received")
        print("answering host: start-up %.2f s, File Exit to process end %.2f s" % (start_up, ended))


def about_box(app):
    boxes = [b for b in app.message_boxes() if b["caption"] == ABOUT_CAPTION]
    return boxes[0]["hwnd"] if len(boxes) == 1 else None


def about_text(app, dialog, identifier):
    return app.text(int(app.driver("child", dialog, identifier)["hwnd"]))


def check_about_box(app, dialog, how):
    check_equal(about_text(app, dialog, ABOUT_VERSION), "Version " + VERSION_TAG, "version line (%s)" % how)
    check_equal(normalise_lines(about_text(app, dialog, ABOUT_DICTIONARIES)),
                "Articles English German 10,189,890 bytes\nArticles German English 6,191,052 bytes",
                "installed dictionaries (%s)" % how)
    check_equal(normalise_lines(about_text(app, dialog, ABOUT_DETAILS)),
                "English to German, German to English Talking Desktop dictionary for Windows OS. \n\n"
                "Windows Vista Ready! \nSlang words Included.  \nFast browsing, audio pronunciation, "
                "system tray launch, context menu extension, add new word definition and article.",
                "product details (%s)" % how)
    check_equal(about_text(app, dialog, ABOUT_SYSTEM_INFO), "System info", "System info button (%s)" % how)
    check_equal([b["owner"] for b in app.message_boxes()], [app.window], "owner of About (%s)" % how)
    check(not app.info(app.window)["enabled"], "the main window takes input while About is open (%s)" % how)


def wait_about_closed(app, dialog, how):
    def closed():
        window = app.info(dialog)
        return not window["exists"] or not window["visible"]
    app.wait_for(closed, "About to close after %s" % how)
    app.wait_for(lambda: app.info(app.window)["enabled"], "the main window to take input after %s" % how)


def close_box(app, window):
    """The close button that Wine draws at the right end of a caption."""
    left, top, right, _ = app.info(window)["rect"]
    return right - 14, top + (12 if app.info(window)["client"][1] - top > 20 else 8)


def system_information_window(app):
    hwnd = int(app.driver("find", hex_text("#32770"), hex_text("C:\\windows\\system32"))["hwnd"])
    if hwnd and app.info(hwnd)["image"].lower().endswith("\\msinfo32.exe") and app.info(hwnd)["visible"]:
        return hwnd
    return None


def close_system_information(app, tool):
    """Closes the tool's window as its OK button would; ends its process if that does not help."""
    process = app.info(tool)["process"]
    app.driver("press", tool, IDOK)
    try:
        app.wait_for(lambda: not app.info(tool)["exists"], "the system information tool to close", timeout=5)
    except TestFailure:
        app.driver("terminate", process)
        raise


def test_about_box_and_no_vendor_host():
    """Nothing listens on port 80: the program runs and ends as usual, showing no message."""
    with socket.socket() as probe:
        check(probe.connect_ex(("127.0.0.1", 80)) != 0, "something listens on 127.0.0.1 port 80")
    with App() as app:
        without_proxy(app)
        started = time.monotonic()
        app.start()
        start_up = time.monotonic() - started
        ways = [
            ("Alt+/ and Enter", lambda: app.key("alt+slash"), lambda dialog: app.key("Return")),
            ("Help, About and Esc", lambda: open_help_item(app, 4), lambda dialog: app.key("Escape")),
            ("Alt+/ and the close box", lambda: app.key("alt+slash"),
             lambda dialog: app.click(*close_box(app, dialog))),
        ]
        for how, open_about, end_about in ways:
            open_about()
            dialog = app.wait_for(lambda: about_box(app), "About after %s" % how)
            check_about_box(app, dialog, how)
            end_about(dialog)
            wait_about_closed(app, dialog, how)
        app.screenshot("after-about")

        # Alt+/ goes to the control that has the focus: typed in the word box it opens nothing.
        app.click_word_box()
        app.key("End", "alt+slash", "q")
        app.wait_equal(lambda: app.word_box_text(0), "aq", "the word box after Alt+/ and q")
        check_equal(app.message_boxes(), [], "dialogs after Alt+/ in the word box")

        # System info starts the system information tool and leaves About open; Ok ends it.
        open_help_item(app, 4)
        dialog = app.wait_for(lambda: about_box(app), "About for System info")
        app.click_control(int(app.driver("child", dialog, ABOUT_SYSTEM_INFO)["hwnd"]))
        tool = app.wait_for(lambda: system_information_window(app), "the system information tool")
        try:
            check(app.info(dialog)["visible"], "About closed when System info started the tool")
            check_equal(about_box(app), dialog, "About after System info")
        finally:
            close_system_information(app, tool)
        app.click_control(int(app.driver("child", dialog, IDOK)["hwnd"]))
        wait_about_closed(app, dialog, "Ok")
        check_equal(app.message_boxes(), [], "dialogs after About")

        print("no host: start-up %.2f s, File Exit to process end %.2f s" % (start_up, exit_by_file_menu(app)))


def test_silent_vendor_host_holds_up_nothing():
    """The host accepts connections and never answers: the program works and ends as usual, and
    the exit notification still leaves before the process ends."""
    with VendorListener("silent") as listener, App() as app:
        without_proxy(app)
        days = expected_days(app.folder)
        started = time.monotonic()
        app.start()
        start_up = time.monotonic() - started
        start_request = listener.wait_for(lambda r: HOME_PIECE in r.target, "start notification")
        check_notification(start_request, False, days, "start notification")

        # While the start notification waits for an answer that never comes, searching works.
        app.click_word_box()
        app.key("End", "BackSpace")
        app.type_text("house")
        app.wait_equal(lambda: app.view(0)[2], "Haus\n", "the article of house")
        check_equal(app.message_boxes(), [], "dialogs while the host keeps silent")

        ended = exit_by_file_menu(app)
        exit_request = listener.wait_for(lambda r: SESSION_PIECE in r.target, "exit notification")
        check_notification(exit_request, True, days, "exit notification")
        print("silent host: start-up %.2f s, File Exit to process end %.2f s" % (start_up, ended))
