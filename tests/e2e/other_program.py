"""Other programs under the same Wine for the capture, options and tray tests: OtherProgram.exe
(clipboard, clipboard viewers, the shell's icons), Wine's notepad and Wine's reg."""

import os
import subprocess
import time

from harness import TOOLS, check, hex_text

OTHER_PROGRAM = os.path.join(TOOLS, "OtherProgram.exe")
RUN_KEY = r"HKLM\SOFTWARE\Microsoft\Windows\CurrentVersion\Run"
AUTO_START_VALUE = "EnglishGermanDictionary"


def windows_path(path):
    """A Linux path as Wine's drive Z: names it."""
    return "Z:" + path.replace("/", "\\")


def wine(app, *arguments, check_status=True):
    result = subprocess.run([app.env["WINELOADER"]] + [str(a) for a in arguments], env=app.env,
                            stdin=subprocess.DEVNULL, stdout=subprocess.PIPE, stderr=subprocess.DEVNULL)
    if check_status:
        check(result.returncode == 0, "%s ended with %d" % (" ".join(map(str, arguments)), result.returncode))
    return result


def put_text(app, text):
    wine(app, OTHER_PROGRAM, "text", hex_text(text))


def put_bitmap(app):
    wine(app, OTHER_PROGRAM, "bitmap")


def clipboard_text(app):
    """The clipboard's Unicode text, or None when it holds none."""
    answer = wine(app, OTHER_PROGRAM, "clipboard").stdout.decode().strip()
    if answer == "-":
        return None
    return b"".join(bytes.fromhex(answer[i + 2:i + 4] + answer[i:i + 2])
                    for i in range(0, len(answer), 4)).decode("utf-16-le")


def tray_icon_exists(app, window, identifier):
    return wine(app, OTHER_PROGRAM, "tray-icon", window, identifier, check_status=False).returncode == 0


def tray_area(app):
    """The client rectangle of Wine's notification area on the screen, once it has been moved
    to where no other window is."""
    return tuple(int(v) for v in wine(app, OTHER_PROGRAM, "tray-area").stdout.split())


def auto_start_value(app):
    """The data of the auto-start value as `reg query` shows it, or None when there is none."""
    result = wine(app, "reg", "query", RUN_KEY, "/v", AUTO_START_VALUE, check_status=False)
    if result.returncode != 0:
        return None
    for line in result.stdout.decode("utf-8", "replace").splitlines():
        fields = line.strip().split(None, 2)
        if fields and fields[0] == AUTO_START_VALUE:
            check(len(fields) >= 2 and fields[1] == "REG_SZ", "auto-start value type: %r" % line)
            return fields[2] if len(fields) == 3 else ""
    return None


def delete_auto_start_value(app):
    wine(app, "reg", "delete", RUN_KEY, "/v", AUTO_START_VALUE, "/f", check_status=False)


class Notepad:
    """Wine's notepad showing a file, the other application a user copies a word from."""

    def __init__(self, app, text):
        self.app = app
        path = os.path.join(app.folder, "Selection.txt")
        with open(path, "w", encoding="ascii", newline="") as f:
            f.write(text)
        self.process = subprocess.Popen(
            [app.env["WINELOADER"], "notepad", windows_path(path)], env=app.env,
            stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
            start_new_session=True)
        self.window = app.wait_for(lambda: int(app.driver("find", hex_text("Notepad"), "-")["hwnd"]),
                                   "notepad's window")
        self.edit = app.wait_for(lambda: int(app.driver("children", self.window)["children"][0]),
                                 "notepad's edit control")

    def focus(self):
        """Clicks into notepad's text, away from the dictionary's window, and waits until
        notepad is the foreground window."""
        left, top, right, bottom = self.app.info(self.edit)["rect"]
        self.app.click(right - 60, bottom - 60)
        self.app.wait_for(lambda: self.app.info(self.window)["foreground"], "notepad in front")

    def replace_text(self, text, line_break=False):
        """Selects everything and types `text` over it, then a line break if asked."""
        self.focus()
        self.app.key("ctrl+a")
        self.app.type_text(text)
        if line_break:
            self.app.key("Return")
        expected = text + ("\r\n" if line_break else "")
        self.app.wait_equal(self.text, expected, "notepad's text")

    def text(self):
        return self.app.text(self.edit)

    def close(self):
        if self.process.poll() is None:
            self.app.driver("terminate", self.app.info(self.window)["process"])
            try:
                self.process.wait(timeout=10)
            except subprocess.TimeoutExpired:
                self.process.kill()
                self.process.wait()
