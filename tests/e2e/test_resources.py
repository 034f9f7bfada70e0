"""The resources in the installed program file, read as Windows reads them."""

from harness import *

SEPARATOR = None
MAIN_MENU = [
    ("&File  ", [("New", 155), ("Open", 156), SEPARATOR, ("Print", 157), ("Print Preview", 158), SEPARATOR,
                 ("E&xit", 105)]),
    ("&Edit  ", [("Cut", 159), ("Copy", 160), ("Paste", 161)]),
    ("&View  ", [("English German", 162), ("German English", 163), SEPARATOR, ("Always on Top", 164)]),
    ("&Tools  ", [("Options", 165)]),
    ("&Help  ", [("Search", 166), ("Contents", 167), SEPARATOR, ("Check for Updates", 169),
                 ("Technical Support", 170), SEPARATOR, ("About", 171)]),
]
TRAY_MENU = [("&File  ", [("Show", 224), ("E&xit", 225)])]
FALT = 0x10


def menu_shape(items):
    shape = []
    for item in items:
        check_equal(item["state"], 0 if not item["separator"] else item["state"], "state of %r" % item["text"])
        if item["separator"]:
            shape.append(SEPARATOR)
        elif "items" in item:
            shape.append((item["text"], menu_shape(item["items"])))
        else:
            check_equal(item["type"], 0, "flags of %r" % item["text"])
            shape.append((item["text"], item["id"]))
    return shape


def test_program_file_resources():
    with App() as app:
        found = app.driver("resources", hex_text(app.wine_folder + "\\EnglishGermanDictionary.exe"))
    check_equal(found["string103"], WINDOW_TITLE, "string 103")
    check_equal(found["string109"], WINDOW_CLASS, "string 109")
    check_equal(menu_shape(found["menu109"]), MAIN_MENU, "menu 109")
    check_equal(menu_shape(found["menu10201"]), TRAY_MENU, "menu 10201")
    # Character accelerators: Alt without FVIRTKEY, so the typed "?" and "/" match.
    check_equal(found["accelerators109"], [[FALT, ord("?"), 104], [FALT, ord("/"), 104]], "accelerators 109")
    for group in ("icon107", "icon108", "icon2210"):
        check_equal(found[group], [[32, 32, 32], [24, 24, 32], [16, 16, 32]], "icon group " + group[4:])
    check_equal(found["bitmap37682"], [129, 16, 24], "toolbar bitmap: width, height, bits per pixel")
    manifest = found["manifest"] or ""
    for part in ('name="Microsoft.Windows.Common-Controls" version="6.0.0.0"', 'level="asInvoker"'):
        check(part in " ".join(manifest.split()), "the manifest lacks %s" % part)
    check_equal(found.get("fileVersion"), [1, 2, 15, 0], "file version")
    check_equal(found.get("productVersion"), "1.2.15", "product version")
