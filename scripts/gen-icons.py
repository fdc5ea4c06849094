#!/usr/bin/env python3
"""Draws Kanaroll's icons as .ico files in app/icons (16 x 16, 32-bit with an AND mask):
master.ico  a document sheet with a chip drawn across it (a master set),
clone.ico   the same sheet twice, one behind the other (a clone set),
save.ico    a small floppy disk for the output button,
kanaroll.ico the program's icon (the master sheet at 16 and 32 pixels)."""
import pathlib
import struct

INK = (40, 40, 40, 255)
PAPER = (255, 255, 255, 255)
FOLD = (200, 200, 200, 255)
CHIP = (30, 90, 170, 255)
PIN = (150, 150, 150, 255)
SHADE = (235, 235, 235, 255)
CLEAR = (0, 0, 0, 0)


def canvas(size):
    return [[CLEAR for _ in range(size)] for _ in range(size)]


def rect(img, x0, y0, x1, y1, colour):
    for y in range(y0, y1 + 1):
        for x in range(x0, x1 + 1):
            img[y][x] = colour


def frame(img, x0, y0, x1, y1, colour):
    for x in range(x0, x1 + 1):
        img[y0][x] = img[y1][x] = colour
    for y in range(y0, y1 + 1):
        img[y][x0] = img[y][x1] = colour


def sheet(img, x0, y0, w, h, paper=PAPER):
    x1, y1 = x0 + w - 1, y0 + h - 1
    rect(img, x0, y0, x1, y1, paper)
    frame(img, x0, y0, x1, y1, INK)
    # a folded corner at the top right
    for i in range(3):
        for j in range(3 - i):
            img[y0 + i][x1 - j] = CLEAR
    img[y0][x1 - 3] = INK
    img[y0 + 1][x1 - 2] = INK
    img[y0 + 2][x1 - 1] = INK
    img[y0 + 3][x1] = INK
    img[y0 + 1][x1 - 3] = FOLD
    img[y0 + 2][x1 - 3] = FOLD
    img[y0 + 3][x1 - 3] = FOLD
    img[y0 + 3][x1 - 2] = FOLD
    img[y0 + 3][x1 - 1] = FOLD


def chip(img, cx, cy, w, h):
    x0, y0 = cx - w // 2, cy - h // 2
    rect(img, x0, y0, x0 + w - 1, y0 + h - 1, CHIP)
    for x in range(x0 + 1, x0 + w - 1, 2):
        img[y0 - 1][x] = PIN
        img[y0 + h][x] = PIN


def master(size=16):
    img = canvas(size)
    s = size // 16
    sheet(img, 2 * s, 1 * s, 11 * s, 14 * s)
    chip(img, 7 * s + s // 2, 8 * s, 7 * s, 4 * s)
    return img


def clone():
    img = canvas(16)
    sheet(img, 5, 0, 10, 12, SHADE)
    sheet(img, 1, 3, 10, 12)
    chip(img, 6, 9, 6, 3)
    return img


def save():
    img = canvas(16)
    rect(img, 1, 1, 14, 14, (40, 70, 140, 255))
    frame(img, 1, 1, 14, 14, INK)
    rect(img, 4, 2, 11, 6, PAPER)
    rect(img, 9, 3, 10, 5, INK)
    rect(img, 3, 9, 12, 14, (210, 210, 210, 255))
    frame(img, 3, 9, 12, 14, INK)
    img[1][14] = CLEAR
    return img


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
write_ico(icons / "master.ico", [master()])
write_ico(icons / "clone.ico", [clone()])
write_ico(icons / "save.ico", [save()])
write_ico(icons / "kanaroll.ico", [master(), master(32)])
