"""The end-to-end harness: starts the installed dictionary under Wine in a fresh folder and
drives it as a user would (xdotool key strokes and clicks on the test display) and as Windows
would (window messages sent by the driver program, which runs under the same Wine).

Each test is a function `test_...()` in a tests/e2e/test_*.py file that runs the program in
its own `with App(...) as app:` block. See README.md beside this file.
"""

import atexit
import json
import os
import shutil
import subprocess
import sys
import tempfile
import time

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.environ.get("DICT_ROOT") or os.path.normpath(os.path.join(HERE, "..", ".."))
TOOLS = os.environ.get("DICT_E2E_TOOLS") or os.path.join(ROOT, "out", "build", "windows", "tests", "e2e")
PROGRAM = os.environ.get("DICT_E2E_PROGRAM") or os.path.join(
    ROOT, "out", "dist", "EnglishGermanDictionary", "EnglishGermanDictionary.exe")
VENDOR_HOST = os.environ.get("DICT_VENDOR_HOST") or "www.sendarix.example"
SCREENSHOTS = os.path.join(ROOT, "out", "e2e")
WINE_RUN = os.environ.get("DICT_WINE_RUN") or os.path.join(ROOT, "out", "wine", "run")

# The program's fixed interface.
WINDOW_CLASS = "WIN32VERSION_10"
WINDOW_TITLE = "Sendarix English to German, German to English Talking Dictionary"
SITE_ROOT_URL = "http://%s/" % VENDOR_HOST
NOT_FOUND_MESSAGE = ("Dictionary article file not found, please try reinstall application or "
                     "download latest version from " + SITE_ROOT_URL)
INFO_CAPTION = "Info Message"
DIRECTION_TAB = 23
WORD_BOX = 1221      # + direction
PRONOUNCE = 1040     # + direction
WORD_LIST = 1030     # + direction
ARTICLE_PANE = 1050  # + direction, child of the tab control
TOOLBAR = 1020555
ENGLISH_FILE = "Articles_English_German.dat"
GERMAN_FILE = "Articles_German_English.dat"
WM_COMMAND = 0x0111
SW_RESTORE = 9
IDOK = 1
MF_GRAYED = 0x1
MF_DISABLED = 0x2
MF_CHECKED = 0x8

# A small dictionary for tests that need nothing special. Each record is (headword, article);
# the article's line break ends it, as in the installed files.
ENGLISH_GERMAN = [
    ("a", "ein, eine"), ("aa", "Lava (Brocken-)"), ("ab", "Bauchmuskel"), ("abacus", "Abakus"),
    ("abandon", "aufgeben, verlassen"), ("abbey", "Abtei"), ("able", "fähig, imstande"),
    ("about", "über, ungefähr"), ("above", "oben, über"), ("absent", "abwesend"),
    ("apple", "Apfel"), ("apply", "anwenden, sich bewerben"), ("apricot", "Aprikose"),
    ("b", "b, B"), ("ba", "Ba"), ("baby", "Baby, Säugling"), ("back", "Rücken; zurück"),
    ("bad", "schlecht"), ("bag", "Tasche"), ("ball", "Ball"), ("banana", "Banane"),
    ("band", "Band, Kapelle"), ("bank", "Bank; Ufer"), ("bar", "Bar; Stange"), ("bark", "bellen"),
    ("barn", "Scheune"), ("base", "Basis"), ("basket", "Korb"), ("bat", "Fledermaus; Schläger"),
    ("bath", "Bad"), ("be", "sein"), ("beach", "Strand"), ("bean", "Bohne"), ("bear", "Bär"),
    ("cat", "Katze"), ("dog", "Hund"), ("house", "Haus"), ("tree", "Baum"),
    ("zebra", "Zebra"),  # the last record: no bar ends its article
]
GERMAN_ENGLISH = [
    ("a", "A (note)"), ("Abend", "evening"), ("aber", "but"), ("Apfel", "apple"),
    ("Baum", "tree"), ("Buch", "book"), ("Hund", "dog"), ("Haus", "house"), ("Katze", "cat"),
]


def article_text(article):
    """The article as the program takes it from a fixture file: the text and the line break
    that ends its record."""
    return article + "\r\n"


def scrambled(records, closing_bar=False):
    """An article file: each record is line feed, |, headword, |, article, and a carriage return
    before the next record's line feed, so every article ends with CR LF. The file is UTF-16LE
    with every byte plus 2. The last article ends at a bar only when `closing_bar` is set (a
    listing that walks past that bar meets no further headword and gives up)."""
    text = "".join("\n|%s|%s\r" % record for record in records) + "\n"
    if closing_bar:
        text += "|"
    return bytes((b + 2) & 0xFF for b in text.encode("utf-16-le"))


def normalise_lines(text):
    return text.replace("\r\n", "\n").replace("\r", "\n")


def expected_listing(records, word, limit=25):
    """The headwords a search lists: from the first record whose headword begins with `word`,
    that record and those after it, at most `limit`."""
    for index, (headword, _) in enumerate(records):
        if headword.startswith(word):
            return [h for h, _ in records[index:index + limit]]
    return []


def hex_text(text):
    if text is None:
        return "-"
    units = text.encode("utf-16-le")
    return "".join("%02x%02x" % (units[i + 1], units[i]) for i in range(0, len(units), 2)) or "-"


class TestFailure(AssertionError):
    pass


def check(condition, message):
    if not condition:
        raise TestFailure(message)


def check_equal(actual, expected, what):
    if actual != expected:
        raise TestFailure("%s: expected %r, got %r" % (what, expected, actual))


# ---- the Wine session -------------------------------------------------------------------------

def wine_environment():
    env = dict(os.environ)
    env.setdefault("WINEPREFIX", os.path.join(ROOT, "out", "wine", "prefix"))
    env["WINEARCH"] = "win64"
    env["WINEDEBUG"] = "-all"
    env["WINEDLLOVERRIDES"] = "mscoree,mshtml="
    env["WINELOADER"] = "/usr/lib/wine/wine64"
    return env


_own_session = False


def _stop_own_session():
    subprocess.run([os.path.join(ROOT, "scripts", "wine-session"), "stop"],
                   stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)


def session_display():
    """The display of this run's Xvfb. Under ctest the fixture `wine` has started it; a test run
    on its own starts one here and stops it (and the Wine server) when it ends."""
    global _own_session
    display_file = os.path.join(WINE_RUN, "display")
    pid_file = os.path.join(WINE_RUN, "xvfb.pid")

    def running():
        try:
            with open(pid_file) as f:
                os.kill(int(f.read().strip()), 0)
            with open(display_file) as f:
                return f.read().strip()
        except (OSError, ValueError):
            return None

    display = running()
    if display is None and not _own_session:
        _own_session = True
        atexit.register(_stop_own_session)
        subprocess.run([os.path.join(ROOT, "scripts", "wine-session"), "start"], check=True,
                       stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        display = running()
    check(display is not None, "no Xvfb for the tests")
    return display


# ---- the driver -------------------------------------------------------------------------------

class Driver:
    """e2e_driver.exe under Wine: one command a line in, one JSON answer a line out."""

    def __init__(self, env):
        self.process = subprocess.Popen(
            [env["WINELOADER"], os.path.join(TOOLS, "e2e_driver.exe")], env=env,
            stdin=subprocess.PIPE, stdout=subprocess.PIPE, stderr=subprocess.DEVNULL,
            start_new_session=True)

    def __call__(self, *words):
        line = " ".join(str(w) for w in words) + "\n"
        self.process.stdin.write(line.encode())
        self.process.stdin.flush()
        answer = self.process.stdout.readline()
        check(answer, "the driver ended while answering %r" % line.strip())
        reply = json.loads(answer)
        if not reply["ok"]:
            raise TestFailure("driver: %s: %s" % (line.strip(), reply["error"]))
        return reply["value"]

    def close(self):
        try:
            self.process.stdin.write(b"quit\n")
            self.process.stdin.flush()
            self.process.wait(timeout=10)
        except (OSError, subprocess.TimeoutExpired):
            self.process.kill()
            self.process.wait()


# ---- the program ------------------------------------------------------------------------------


def wait_until(probe, what, timeout=15.0, interval=0.05):
    """Polls `probe` until it gives a true value and returns that value."""
    deadline = time.monotonic() + timeout
    while True:
        value = probe()
        if value:
            return value
        if time.monotonic() > deadline:
            raise TestFailure("timed out waiting for %s" % what)
        time.sleep(interval)


class App:
    """One run of the dictionary in a fresh install folder.

    english, german: records (headword, article) of the two article files; None leaves that
    file out. configuration: the text of Configuration.dat, or None for no file.
    """

    def __init__(self, english=ENGLISH_GERMAN, german=GERMAN_ENGLISH, configuration=None,
                 english_bytes=None, german_bytes=None):
        self.name = os.environ.get("DICT_E2E_TEST", "manual")
        self.env = wine_environment()
        self.env["DISPLAY"] = session_display()
        self.folder = tempfile.mkdtemp(prefix="dict-e2e-")
        self.wine_folder = "Z:" + self.folder.replace("/", "\\")
        shutil.copy2(PROGRAM, self.folder)
        articles = os.path.join(self.folder, "Articles")
        os.makedirs(articles)
        for file_name, records, raw in ((ENGLISH_FILE, english, english_bytes),
                                        (GERMAN_FILE, german, german_bytes)):
            data = raw if raw is not None else (scrambled(records) if records is not None else None)
            if data is not None:
                with open(os.path.join(articles, file_name), "wb") as f:
                    f.write(data)
        if configuration is not None:
            with open(os.path.join(self.folder, "Configuration.dat"), "wb") as f:
                f.write(configuration.encode("latin-1"))
        self.screenshot_folder = os.path.join(SCREENSHOTS, self.name)
        shutil.rmtree(self.screenshot_folder, ignore_errors=True)
        os.makedirs(self.screenshot_folder)
        self.screenshot_count = 0
        self.driver = None
        self.process = None
        self.window = None
        self.pid = None

    # -- life cycle

    def __enter__(self):
        try:
            self.driver = Driver(self.env)
            self.driver("setup")
        except BaseException:
            self.close()
            raise
        return self

    def __exit__(self, kind, value, traceback):
        if kind is not None and self.window is not None:
            try:
                self.screenshot("failure")
            except Exception:
                pass
        self.close()
        return False

    def start(self, ready=True):
        """Starts the program and waits for its main window; with `ready`, also for the end of
        start-up (the message loop answers) with no message box up."""
        check(self.process is None, "started twice")
        self.process = subprocess.Popen(
            [self.env["WINELOADER"], os.path.join(self.folder, "EnglishGermanDictionary.exe")],
            cwd=self.folder, env=self.env, stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
            stderr=subprocess.DEVNULL, start_new_session=True)
        self.window = self.wait_for(lambda: int(self.driver("find", hex_text(WINDOW_CLASS),
                                                            hex_text(self.wine_folder))["hwnd"]),
                                    "the main window")
        self.pid = self.info(self.window)["process"]
        if ready:
            self.wait_for(self.answers, "the end of start-up")
            check_equal(self.message_boxes(), [], "message boxes after start-up")
        return self

    def answers(self):
        return self.driver("ping", self.window)["answered"]

    def close(self):
        if self.process is not None and self.process.poll() is None:
            if self.driver is not None and self.pid is not None:
                try:
                    self.driver("terminate", self.pid)
                except Exception:
                    pass
            try:
                self.process.wait(timeout=10)
            except subprocess.TimeoutExpired:
                self.process.kill()
                self.process.wait()
        if self.driver is not None:
            self.driver.close()
            self.driver = None
        shutil.rmtree(self.folder, ignore_errors=True)

    def exit_code(self, timeout=15):
        """Waits for the program to end and gives its exit code; None if it is still running."""
        try:
            return self.process.wait(timeout=timeout)
        except subprocess.TimeoutExpired:
            return None

    def running(self):
        return self.process.poll() is None

    # -- waiting

    def wait_for(self, probe, what, timeout=15.0, interval=0.05):
        """Polls `probe` until it gives a true value and returns that value."""
        return wait_until(probe, what, timeout, interval)

    def wait_equal(self, probe, expected, what, timeout=15.0):
        """Polls `probe` until it gives `expected`; fails with the last value otherwise."""
        last = [None]

        def matches():
            last[0] = probe()
            return last[0] == expected
        try:
            self.wait_for(matches, what, timeout)
        except TestFailure:
            raise TestFailure("%s: expected %r, last seen %r" % (what, expected, last[0]))

    # -- reading the program

    def info(self, hwnd):
        return self.driver("window", hwnd)

    def control(self, identifier):
        hwnd = int(self.driver("child", self.window, identifier)["hwnd"])
        check(hwnd != 0, "no control %d" % identifier)
        return hwnd

    def word_box_edit(self, direction):
        """The edit field inside a word box, where a click puts the caret. (The combo box's own
        rectangle may include the height of its drop-down list.)"""
        children = self.driver("children", self.control(WORD_BOX + direction))["children"]
        check(children, "the word box has no edit field")
        return int(children[0])

    def click_word_box(self, direction=0):
        self.click_control(self.word_box_edit(direction))

    def pane(self, direction):
        hwnd = int(self.driver("child", self.control(DIRECTION_TAB), ARTICLE_PANE + direction)["hwnd"])
        check(hwnd != 0, "no article pane %d" % direction)
        return hwnd

    def text(self, hwnd):
        return self.driver("text", hwnd)["text"]

    def word_box_text(self, direction):
        return self.text(self.control(WORD_BOX + direction))

    def pane_text(self, direction):
        return normalise_lines(self.text(self.pane(direction)))

    def list_state(self, direction):
        return self.driver("list", self.control(WORD_LIST + direction))

    def items(self, direction):
        return self.list_state(direction)["items"]

    def view(self, direction):
        """(word box text, listed headwords, article pane text) of a direction."""
        return (self.word_box_text(direction), self.items(direction), self.pane_text(direction))

    def visible_controls(self):
        """For each direction, which of its four controls are visible."""
        result = []
        for d in (0, 1):
            result.append(tuple(self.info(h)["visible"] for h in (
                self.control(WORD_BOX + d), self.control(PRONOUNCE + d), self.control(WORD_LIST + d),
                self.pane(d))))
        return result

    def tabs(self):
        return self.driver("tabs", self.control(DIRECTION_TAB))

    def menu_states(self, *identifiers):
        """GetMenuState of each command on the main menu, read inside the program."""
        reply = self.driver("menu", self.window, *identifiers)
        check(reply["menu"], "the main window has no menu")
        return dict(zip(identifiers, reply["states"]))

    def message_boxes(self):
        return [b for b in self.driver("boxes", self.pid)["boxes"] if b["visible"]]

    def press_ok(self, box):
        self.driver("press", box["hwnd"], IDOK)

        # Wine hides a finished message box at once but destroys it only some time later.
        def closed():
            window = self.info(box["hwnd"])
            return not window["exists"] or not window["visible"]
        self.wait_for(closed, "the message box to close")

    # -- acting as the user

    def xdotool(self, *arguments):
        subprocess.run(["xdotool"] + [str(a) for a in arguments], env=self.env, check=True,
                       stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL)

    def centre(self, hwnd):
        left, top, right, bottom = self.info(hwnd)["rect"]
        return (left + right) // 2, (top + bottom) // 2

    def click(self, x, y, count=1):
        # No --sync: it waits for ever when the pointer is already there.
        self.xdotool("mousemove", x, y)
        time.sleep(0.1)
        self.xdotool("click", "--repeat", count, "--delay", 80, 1)

    def click_control(self, hwnd, count=1):
        self.click(*self.centre(hwnd), count=count)

    def type_text(self, text):
        self.xdotool("type", "--delay", 40, text)

    def key(self, *keys):
        self.xdotool("key", "--delay", 60, *keys)

    # -- pictures

    def pixel(self, x, y):
        """The colour (r, g, b) on the screen at (x, y)."""
        out = subprocess.run(["import", "-display", self.env["DISPLAY"], "-window", "root", "-crop",
                              "1x1+%d+%d" % (x, y), "-depth", "8", "txt:-"],
                             check=True, stdin=subprocess.DEVNULL, capture_output=True, text=True).stdout
        # "0,0: (255,249,189)  #FFF9BD  srgb(255,249,189)"
        values = out.splitlines()[-1].split("(", 1)[1].split(")", 1)[0].split(",")
        return tuple(int(float(v)) for v in values[:3])

    def screenshot(self, step):
        """Saves the main window as out/e2e/<test>/<nn>-<step>.png."""
        left, top, right, bottom = self.info(self.window)["rect"]
        left, top = max(left, 0), max(top, 0)
        self.screenshot_count += 1
        path = os.path.join(self.screenshot_folder, "%02d-%s.png" % (self.screenshot_count, step))
        subprocess.run(["import", "-display", self.env["DISPLAY"], "-window", "root", "-crop",
                        "%dx%d+%d+%d" % (max(right - left, 1), max(bottom - top, 1), left, top),
                        "+repage", path],
                       check=True, stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                       stderr=subprocess.DEVNULL)
        return path
