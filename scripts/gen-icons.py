#!/usr/bin/env python3
"""Draws Kanaroll's icons as .ico files in app/icons (each at 16, 20, 24, 32, 40 and 48 pixels,
32-bit with an AND mask):
master.ico  a document sheet with a chip drawn across it (a master set),
clone.ico   the same sheet twice, one behind the other (a clone set),
save.ico    a small floppy disk for the output button,
kanaroll.ico the program's icon (the master sheet)."""
import pathlib
import struct

INK = (40, 40, 40, 255)
PAPER = (255, 255, 255, 255)
FOLD = (200, 200, 200, 255)
CHIP = (30, 90, 170, 255)
PIN = (150, 150, 150, 255)
SHADE = (235, 235, 235, 255)
CLEAR = (0, 0, 0, 0)


# The sizes Windows asks for at 100 %, 125 %, 150 %, 200 %, 250 % and 300 %: each is drawn for its
# own grid, so that no screen shows a small icon stretched.
SIZES = (16, 20, 24, 32, 40, 48)


class Pen:
    """Draws a 16-pixel design on a grid of `size` pixels: positions and lengths scale, while
    outlines, pins and folds stay a few crisp pixels."""

    def __init__(self, size):
        self.size = size
        self.k = size / 16
        self.line = max(1, size // 24)
        self.img = [[CLEAR for _ in range(size)] for _ in range(size)]

    def at(self, v):  # a position of the 16-pixel design
        return int(round(v * self.k))

    def span(self, v0, length):  # first and last pixel of a run
        start = self.at(v0)
        return start, start + max(1, self.at(length)) - 1

    def rect(self, x0, y0, x1, y1, colour):  # pixels, inclusive
        for y in range(max(0, y0), min(self.size - 1, y1) + 1):
            for x in range(max(0, x0), min(self.size - 1, x1) + 1):
                self.img[y][x] = colour

    def frame(self, x0, y0, x1, y1, colour):
        t = self.line - 1
        self.rect(x0, y0, x1, y0 + t, colour)
        self.rect(x0, y1 - t, x1, y1, colour)
        self.rect(x0, y0, x0 + t, y1, colour)
        self.rect(x1 - t, y0, x1, y1, colour)


def sheet(pen, x0, y0, w, h, paper=PAPER):
    left, right = pen.span(x0, w)
    top, bottom = pen.span(y0, h)
    pen.rect(left, top, right, bottom, paper)
    pen.frame(left, top, right, bottom, INK)
    img = pen.img
    # a folded corner at the top right
    fold = max(3, round(pen.size * 3 / 32))
    for i in range(fold):
        for j in range(fold - i):
            img[top + i][right - j] = CLEAR
    for i in range(1, fold + 1):  # the turned-over paper
        img[top + i][right - fold] = FOLD
        img[top + fold][right - fold + i - 1] = FOLD
    for i in range(fold + 1):  # the fold's edge, from the top down to the right edge
        for t in range(pen.line):
            img[min(bottom, top + i + t)][right - fold + i] = INK


def chip(pen, cx, cy, w, h):
    width, height = pen.at(w), pen.at(h)
    x0 = int(cx * pen.k) - width // 2
    y0 = int(cy * pen.k) - height // 2
    pen.rect(x0, y0, x0 + width - 1, y0 + height - 1, CHIP)
    pin = pen.line
    for x in range(x0 + 1, x0 + width - 1, 2 * pin):
        pen.rect(x, y0 - pin, x + pin - 1, y0 - 1, PIN)
        pen.rect(x, y0 + height, x + pin - 1, y0 + height + pin - 1, PIN)


def master(size=16):
    pen = Pen(size)
    sheet(pen, 2, 1, 11, 14)
    chip(pen, 7.5, 8, 7, 4)
    return pen.img


def clone(size=16):
    pen = Pen(size)
    sheet(pen, 5, 0, 10, 12, SHADE)
    sheet(pen, 1, 3, 10, 12)
    chip(pen, 6, 9, 6, 3)
    return pen.img


def save(size=16):
    pen = Pen(size)
    box = lambda x0, y0, x1, y1: (pen.at(x0), pen.at(y0), pen.at(x1 + 1) - 1, pen.at(y1 + 1) - 1)
    pen.rect(*box(1, 1, 14, 14), (40, 70, 140, 255))
    pen.frame(*box(1, 1, 14, 14), INK)
    pen.rect(*box(4, 2, 11, 6), PAPER)
    pen.rect(*box(9, 3, 10, 5), INK)
    pen.rect(*box(3, 9, 12, 14), (210, 210, 210, 255))
    pen.frame(*box(3, 9, 12, 14), INK)
    _, top, right, _ = box(1, 1, 14, 14)
    pen.rect(right - pen.line + 1, top, right, top + pen.line - 1, CLEAR)  # the cut corner
    return pen.img


def bitmap(img):
    size = len(img)
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    pixels = b"".join(struct.pack("BBBB", b, g, r, a) for row in reversed(img) for (r, g, b, a) in row)
    row_bytes = ((size + 31) // 32) * 4
    mask = b""
    for row in reversed(img):
        bits = 0
        for x, (_, _, _, a) in enumerate(row):
            if a == 0:
                bits |= 1 << (row_bytes * 8 - 1 - x)
        mask += bits.to_bytes(row_bytes, "big")
    return header + pixels + mask


def write_ico(path, images):
    data = [bitmap(img) for img in images]
    out = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for img, blob in zip(images, data):
        size = len(img)
        out += struct.pack("<BBBBHHII", size % 256, size % 256, 0, 0, 1, 32, len(blob), offset)
        offset += len(blob)
    out += b"".join(data)
    path.write_bytes(out)


icons = pathlib.Path(__file__).resolve().parent.parent / "app" / "icons"
icons.mkdir(parents=True, exist_ok=True)
write_ico(icons / "master.ico", [master(size) for size in SIZES])
write_ico(icons / "clone.ico", [clone(size) for size in SIZES])
write_ico(icons / "save.ico", [save(size) for size in SIZES])
write_ico(icons / "kanaroll.ico", [master(size) for size in SIZES])
