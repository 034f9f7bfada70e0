#!/usr/bin/env python3
"""Measures, not a test: measure.py [ARTICLES_FOLDER]

1. The time from a change of the word box to the updated word list and article pane, inside
   the running program on the real English to German file: the probe sets the word box text
   and sends the word box's CBN_EDITCHANGE command, timed with QueryPerformanceCounter. The
   words are the prefixes of randomly chosen headwords, as if typed letter by letter. A sent
   WM_NULL is timed the same way, as the cost of the probe's cross-thread send alone.
2. Start-up under Wine: CreateProcessW from the driver until the program first waits for input
   (WaitForInputIdle) and until its word list is filled, next to an empty Win32 window started
   the same way.

ARTICLES_FOLDER defaults to out/articles (made by `make articles`)."""

import os
import random
import shutil
import statistics
import sys
import tempfile

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

from harness import (ENGLISH_FILE, GERMAN_FILE, PROGRAM, ROOT, TOOLS, WINDOW_CLASS, App, hex_text)

TYPED_HEADWORDS = 60
LAUNCHES = 5


def headwords(path):
    with open(path, "rb") as f:
        data = f.read()
    text = data.translate(bytes((b - 2) & 0xFF for b in range(256))).decode("utf-16-le", "replace")
    words = []
    for record in text.split("\n|")[1:]:
        headword = record.split("|", 1)[0]
        if 3 <= len(headword) <= 12 and headword.isalpha() and headword.isascii():
            words.append(headword)
    return words


def typed_words(path):
    chosen = random.Random(20261211).sample(headwords(path), TYPED_HEADWORDS)
    return [word[:n] for word in chosen for n in range(1, len(word) + 1)]


def percentile(values, fraction):
    ordered = sorted(values)
    return ordered[min(len(ordered) - 1, int(fraction * len(ordered)))]


def time_searches(words, **files):
    with App(**files) as app:
        app.start()
        app.wait_for(lambda: app.items(0), "the initial search")
        return app.driver("time-search", app.window, 0, *[hex_text(w) for w in words])


def measure_searches(articles):
    words = typed_words(os.path.join(articles, ENGLISH_FILE))
    with open(os.path.join(articles, ENGLISH_FILE), "rb") as f:
        english = f.read()
    with open(os.path.join(articles, GERMAN_FILE), "rb") as f:
        german = f.read()
    reply = time_searches(words, english_bytes=english, german_bytes=german)
    # The same words on the tests' small dictionary: what the controls alone cost.
    small = time_searches(words)
    times = [t / 1000.0 for t in reply["microseconds"]]
    baseline = [t / 1000.0 for t in reply["baselineMicroseconds"]]
    print("Search on a change of the word box (English to German, %d bytes, %d changes):"
          % (len(english), len(times)))
    print("  median %.1f ms, 10th percentile %.1f ms, 90th percentile %.1f ms, max %.1f ms"
          % (statistics.median(times), percentile(times, 0.1), percentile(times, 0.9), max(times)))
    print("  a sent WM_NULL alone: median %.2f ms" % statistics.median(baseline))
    print("  the same changes on the tests' 40-record dictionary: median %.1f ms"
          % statistics.median(t / 1000.0 for t in small["microseconds"]))
    listed = reply["listed"]
    print("  words with a listing: %d, with an article: %d"
          % (sum(1 for n in listed if n > 0), sum(1 for n in reply["paneLength"] if n > 0)))


def measure_start_up(articles):
    folder = tempfile.mkdtemp(prefix="dict-measure-")
    try:
        shutil.copy2(PROGRAM, folder)
        os.makedirs(os.path.join(folder, "Articles"))
        for name in (ENGLISH_FILE, GERMAN_FILE):
            os.symlink(os.path.abspath(os.path.join(articles, name)), os.path.join(folder, "Articles", name))
        program = "Z:" + os.path.join(folder, "EnglishGermanDictionary.exe").replace("/", "\\")
        empty = "Z:" + os.path.join(TOOLS, "EmptyWindow.exe").replace("/", "\\")
        with App() as app:
            for name, path, window_class in (("dictionary", program, WINDOW_CLASS),
                                             ("empty window", empty, "E2eEmptyWindow")):
                runs = [app.driver("launch", hex_text(path), hex_text(window_class)) for _ in range(LAUNCHES + 1)]
                runs = runs[1:]  # the first warms the file cache
                idle = statistics.median(float(r["idleMs"]) for r in runs)
                filled = statistics.median(float(r["filledMs"]) for r in runs)
                print("Start-up of the %s (median of %d): first wait for input %.0f ms%s"
                      % (name, LAUNCHES, idle,
                         ", word list filled %.0f ms" % filled if window_class == WINDOW_CLASS else ""))
    finally:
        shutil.rmtree(folder, ignore_errors=True)


def main():
    articles = sys.argv[1] if len(sys.argv) > 1 else os.path.join(ROOT, "out", "articles")
    measure_searches(articles)
    measure_start_up(articles)


if __name__ == "__main__":
    main()
