#!/usr/bin/env python3
"""`make run` without a display: headless_run.py INSTALL_FOLDER SCREENSHOT_FOLDER

Starts the installed program inside a private Xvfb, waits for the end of its initial search,
saves a screenshot of its window and ends it with File, Exit."""

import os
import subprocess
import sys
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

from harness import (IDOK, WINDOW_CLASS, WORD_LIST, Driver, hex_text, session_display,
                     wait_until, wine_environment)

IDM_EXIT = 105


def wait_for(probe, what, timeout=120.0):
    return wait_until(probe, what, timeout, 0.1)


def main():
    if len(sys.argv) != 3:
        sys.exit("usage: headless_run.py INSTALL_FOLDER SCREENSHOT_FOLDER")
    folder = os.path.abspath(sys.argv[1])
    screenshots = os.path.abspath(sys.argv[2])
    env = wine_environment()
    env["DISPLAY"] = session_display()
    driver = Driver(env)
    driver("setup")
    program = subprocess.Popen([env["WINELOADER"], os.path.join(folder, "EnglishGermanDictionary.exe")],
                               cwd=folder, env=env, stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                               stderr=subprocess.DEVNULL, start_new_session=True)
    try:
        wine_folder = "Z:" + folder.replace("/", "\\")
        window = wait_for(lambda: int(driver("find", hex_text(WINDOW_CLASS), hex_text(wine_folder))["hwnd"]),
                          "the main window")
        process = driver("window", window)["process"]

        def settled():
            # A message box (missing article files) is answered with OK and shown in the picture.
            boxes = [b for b in driver("boxes", process)["boxes"] if b["visible"]]
            for box in boxes:
                print("message: %s" % box["text"])
                driver("press", box["hwnd"], IDOK)
                return False
            return driver("ping", window)["answered"]
        wait_for(settled, "the end of start-up")
        # The program answers before Wine has drawn everything that the search changed.
        time.sleep(1.0)
        driver("ping", window)
        items = driver("list", int(driver("child", window, WORD_LIST)["hwnd"]))["items"]
        print("initial search listed: %s" % ", ".join(items[:5] + (["..."] if len(items) > 5 else [])))
        # Wine shows the tray icon in a small window of its own at the top left; keep it out of the picture.
        subprocess.run(["xdotool", "search", "--name", "^Wine System Tray$", "windowmove", "%@", "1100", "950"],
                       env=env, stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        left, top, right, bottom = driver("window", window)["rect"]
        os.makedirs(screenshots, exist_ok=True)
        path = os.path.join(screenshots, "EnglishGermanDictionary.png")
        subprocess.run(["import", "-display", env["DISPLAY"], "-window", "root", "-crop",
                        "%dx%d+%d+%d" % (right - left, bottom - top, max(left, 0), max(top, 0)), "+repage", path],
                       check=True, stdin=subprocess.DEVNULL)
        print("screenshot: %s" % path)
        driver("post", window, 0x0111, IDM_EXIT, 0)
        print("exit code: %d" % program.wait(timeout=30))
    finally:
        if program.poll() is None:
            program.kill()
            program.wait()
        driver.close()


if __name__ == "__main__":
    main()
