#!/usr/bin/env python3
"""Draws the program's artwork and writes it as Windows files.

  GenerateArtwork.py OUTPUT_FOLDER

writes Book.ico (a blue closed book at 32, 24 and 16 pixels, 32 bits per pixel) and
Toolbar.bmp (129 x 16 pixels, 24 bits per pixel: eight 16 x 16 pictures side by side and
one unused column). Everything is drawn here; nothing is read from elsewhere.
"""

import os
import struct
import sys

# ---------------------------------------------------------------------------------------------
# The book icon, drawn from shapes in a 32-unit square and sampled at each size.

NAVY = (18, 40, 100)
COVER_TOP = (70, 130, 225)
COVER_BOTTOM = (28, 78, 170)
SPINE = (20, 55, 135)
SPINE_LIGHT = (95, 150, 235)
PAGES = (250, 246, 228)
PAGE_LINE = (200, 192, 160)
GOLD = (235, 190, 60)
LABEL = (225, 236, 252)


def inside_rounded(x, y, left, top, right, bottom, radius):
    if x < left or x >= right or y < top or y >= bottom:
        return False
    cx = min(max(x, left + radius), right - radius)
    cy = min(max(y, top + radius), bottom - radius)
    return (x - cx) ** 2 + (y - cy) ** 2 <= radius ** 2


def book_colour(x, y):
    """Colour (r, g, b) of the book at unit point (x, y), or None where it is transparent."""
    # Cover, drawn last, so it is tested first.
    if inside_rounded(x, y, 4.0, 1.5, 25.5, 28.0, 2.0):
        if not inside_rounded(x, y, 5.0, 2.5, 24.5, 27.0, 1.2):
            return NAVY
        if x < 9.0:
            if 5.5 <= y < 7.0 or 22.5 <= y < 24.0:
                return GOLD
            return SPINE
        if x < 10.0:
            return SPINE_LIGHT
        if 12.5 <= x < 22.5 and 6.0 <= y < 12.5:
            if x < 13.3 or x >= 21.7 or y < 6.8 or y >= 11.7:
                return NAVY
            if 15.0 <= x < 20.2 and (8.2 <= y < 8.9 or 9.8 <= y < 10.5):
                return SPINE
            return LABEL
        t = (y - 2.5) / 24.5
        return tuple(round(a + (b - a) * t) for a, b in zip(COVER_TOP, COVER_BOTTOM))
    # Page block showing at the right and the bottom, behind the cover.
    if inside_rounded(x, y, 6.0, 3.5, 28.5, 30.5, 1.5):
        if not inside_rounded(x, y, 7.0, 4.5, 27.5, 29.5, 0.8):
            return NAVY
        if (x >= 25.5 and int(y * 2) % 3 == 0) or (y >= 28.0 and int(x * 2) % 3 == 0):
            return PAGE_LINE
        return PAGES
    return None


def draw_book(size):
    """Rows of (b, g, r, a) for a size x size book, top row first, 4 x 4 samples a pixel."""
    samples = 4
    scale = 32.0 / size
    rows = []
    for py in range(size):
        row = []
        for px in range(size):
            sums = [0, 0, 0]
            covered = 0
            for sy in range(samples):
                for sx in range(samples):
                    ux = (px + (sx + 0.5) / samples) * scale
                    uy = (py + (sy + 0.5) / samples) * scale
                    colour = book_colour(ux, uy)
                    if colour is not None:
                        covered += 1
                        for i in range(3):
                            sums[i] += colour[i]
            if covered == 0:
                row.append((0, 0, 0, 0))
            else:
                r, g, b = (round(s / covered) for s in sums)
                row.append((b, g, r, round(255 * covered / (samples * samples))))
        rows.append(row)
    return rows


def icon_image(size):
    """One icon directory entry's data: BITMAPINFOHEADER, BGRA pixels bottom-up, AND mask."""
    rows = draw_book(size)
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    pixels = b"".join(bytes(channel for pixel in row for channel in pixel) for row in reversed(rows))
    mask_stride = ((size + 31) // 32) * 4
    mask = bytearray()
    for row in reversed(rows):
        bits = bytearray(mask_stride)
        for x, pixel in enumerate(row):
            if pixel[3] == 0:
                bits[x // 8] |= 0x80 >> (x % 8)
        mask += bits
    return header + pixels + bytes(mask)


def icon_file(sizes):
    images = [icon_image(size) for size in sizes]
    data = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for size, image in zip(sizes, images):
        data += struct.pack("<BBBBHHII", size, size, 0, 0, 1, 32, len(image), offset)
        offset += len(image)
    return data + b"".join(images)


# ---------------------------------------------------------------------------------------------
# The toolbar pictures, as pixel maps: one character a pixel, colours from the palette below.

PALETTE = {
    ".": (240, 240, 240),  # button face; the image list has no mask, so this is the background
    "k": (0, 0, 0),
    "g": (128, 128, 128),
    "l": (192, 192, 192),
    "w": (255, 255, 255),
    "y": (214, 160, 32),   # back of the folder
    "Y": (255, 222, 110),  # front of the folder
    "b": (32, 56, 150),
    "r": (200, 30, 30),
    "n": (150, 96, 40),
    "G": (0, 200, 0),
}

BLANK_PAGE = [
    "................",
    "...kkkkkkk......",
    "...kwwwwwkk.....",
    "...kwwwwwkwk....",
    "...kwwwwwkwwk...",
    "...kwwwwwkkkkk..",
    "...kwwwwwwwwwk..",
    "...kwwwwwwwwwk..",
    "...kwwwwwwwwwk..",
    "...kwwwwwwwwwk..",
    "...kwwwwwwwwwk..",
    "...kwwwwwwwwwk..",
    "...kwwwwwwwwwk..",
    "...kwwwwwwwwwk..",
    "...kkkkkkkkkkk..",
    "................",
]

OPENING_FOLDER = [
    "................",
    "................",
    "..kkkk..........",
    ".kyyyyk.........",
    ".kyyyyykkkkkkk..",
    ".kyyyyyyyyyyyk..",
    ".kyyykkkkkkkkkkk",
    ".kyykYYYYYYYYYYk",
    ".kyykYYYYYYYYYk.",
    ".kykYYYYYYYYYYk.",
    ".kykYYYYYYYYYk..",
    ".kkYYYYYYYYYYk..",
    ".kkkkkkkkkkkk...",
    "................",
    "................",
    "................",
]

FLOPPY_DISK = [
    "................",
    ".kkkkkkkkkkkkkk.",
    ".kbbllllllllbbk.",
    ".kbbllllkkllbbk.",
    ".kbbllllkkllbbk.",
    ".kbbllllllllbbk.",
    ".kbbbbbbbbbbbbk.",
    ".kbbbbbbbbbbbbk.",
    ".kbbwwwwwwwwbbk.",
    ".kbbwwwwwwwwbbk.",
    ".kbbwggggggwbbk.",
    ".kbbwwwwwwwwbbk.",
    ".kbbwggggggwbbk.",
    ".kbbwwwwwwwwbbk.",
    ".kkkkkkkkkkkkkk.",
    "................",
]

PRINTER = [
    "................",
    "....kkkkkkkk....",
    "....kwwwwwwk....",
    "....kwggggwk....",
    "....kwwwwwwk....",
    "..kkkkkkkkkkkk..",
    ".kllllllllllllk.",
    ".kllllllllllgGk.",
    ".kllllllllllllk.",
    ".kggggggggggggk.",
    ".kkkwwwwwwwwkkk.",
    "...kwggggggwk...",
    "...kwwwwwwwwk...",
    "...kkkkkkkkkk...",
    "................",
    "................",
]

SCISSORS = [
    "................",
    ".....k......k...",
    ".....gk....kg...",
    "......gk..kg....",
    "......gk..kg....",
    ".......gkkg.....",
    "........kk......",
    ".......gkkg.....",
    "......rr..rr....",
    "...rrrr....rrrr.",
    "..rr..r....r..rr",
    "..r...r....r...r",
    "..r...r....r...r",
    "..rr.rr....rr.rr",
    "...rrr......rrr.",
    "................",
]

TWO_PAGES = [
    ".kkkkkk.........",
    ".kwwwwkk........",
    ".kwggwkwk.......",
    ".kwwwwkkkk......",
    ".kwggggwwk......",
    ".kwwwwkkkkkkk...",
    ".kwgggkwwwwwwkk.",
    ".kwwwwkwggggwkwk",
    ".kwgggkwwwwwwkkk",
    ".kwwwwkwggggwwwk",
    ".kkkkkkwwwwwwwwk",
    "......kwggggggwk",
    "......kwwwwwwwwk",
    "......kwggggggwk",
    "......kwwwwwwwwk",
    "......kkkkkkkkkk",
]

CLIPBOARD = [
    "......kkkk......",
    ".kkkkkkllkkkkkk.",
    ".knnnkllllknnnk.",
    ".knnkkkkkkkknnk.",
    ".knwwwwwwwwwwnk.",
    ".knwggggggggwnk.",
    ".knwwwwwwwwwwnk.",
    ".knwggggggggwnk.",
    ".knwwwwwwwwwwnk.",
    ".knwggggggwwwnk.",
    ".knwwwwwwwwwwnk.",
    ".knwggggggggwnk.",
    ".knwwwwwwwwwwnk.",
    ".knnnnnnnnnnnnk.",
    ".kkkkkkkkkkkkkk.",
    "................",
]

QUESTION_MARK = [
    "................",
    ".....bbbbb......",
    "....bbbbbbb.....",
    "...bbb...bbb....",
    "...bbb...bbb....",
    ".........bbb....",
    "........bbb.....",
    ".......bbb......",
    "......bbb.......",
    "......bbb.......",
    "......bbb.......",
    "................",
    "......bbb.......",
    "......bbb.......",
    "................",
    "................",
]

# In toolbar image order.
TOOLBAR_PICTURES = [BLANK_PAGE, OPENING_FOLDER, FLOPPY_DISK, PRINTER,
                    SCISSORS, TWO_PAGES, CLIPBOARD, QUESTION_MARK]
TOOLBAR_WIDTH = 129  # eight pictures and one column that the image list never uses


def toolbar_pixels():
    for picture in TOOLBAR_PICTURES:
        assert len(picture) == 16 and all(len(row) == 16 for row in picture), picture
    rows = []
    for y in range(16):
        line = "".join(picture[y] for picture in TOOLBAR_PICTURES)
        line += "." * (TOOLBAR_WIDTH - len(line))
        rows.append([PALETTE[c] for c in line])
    return rows


def bitmap_file(rows):
    """A 24-bit BMP file, rows given top first."""
    height = len(rows)
    width = len(rows[0])
    stride = (width * 3 + 3) & ~3
    pixels = bytearray()
    for row in reversed(rows):
        line = bytearray()
        for r, g, b in row:
            line += bytes((b, g, r))
        line += bytes(stride - len(line))
        pixels += line
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, len(pixels), 2835, 2835, 0, 0)
    header = struct.pack("<2sIHHI", b"BM", 14 + len(info) + len(pixels), 0, 0, 14 + len(info))
    return header + info + bytes(pixels)


def write_if_changed(path, data):
    try:
        with open(path, "rb") as existing:
            if existing.read() == data:
                return
    except OSError:
        pass
    with open(path, "wb") as out:
        out.write(data)


def main():
    if len(sys.argv) != 2:
        sys.exit("usage: GenerateArtwork.py OUTPUT_FOLDER")
    folder = sys.argv[1]
    os.makedirs(folder, exist_ok=True)
    write_if_changed(os.path.join(folder, "Book.ico"), icon_file([32, 24, 16]))
    write_if_changed(os.path.join(folder, "Toolbar.bmp"), bitmap_file(toolbar_pixels()))


if __name__ == "__main__":
    main()
