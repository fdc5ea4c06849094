#!/usr/bin/env python3
"""Writes the small bad-input files of tests/badinput: listinfo.txt files, name lists and settings
files that are damaged the ways files on a user's disk get damaged (cut off, NUL bytes, Ctrl-Z,
lone CRs, a Shift-JIS lead byte at a line end, bytes that are no Shift-JIS at all). The large ones
(a million empty lines, lines of 1 MB, 100,000 duplicate ZIP names, thousands of rules) are made by
tests/core/BadInputTest.cpp at test time.

Run it from anywhere; it rewrites the files beside itself. tests/core/BadInputTest.cpp states what
the program makes of each file.
"""

import sys
from pathlib import Path

HERE = Path(__file__).resolve().parent
sys.path.insert(0, str(HERE.parent.parent / "scripts" / "lib"))
import listinfo  # noqa: E402  (the layout shared with the demo generator)


def sjis(text: str) -> bytes:
    return text.encode("cp932")


def block(zip_name: bytes, description: bytes, manufacturer: bytes = b"Namco", extra: bytes = b"",
          eol: bytes = b"\r\n") -> bytes:
    """One "game (" block as MAME's -listinfo writes it."""
    properties = [
        listinfo.prop(b"name", zip_name),
        listinfo.quoted(b"description", description),
        listinfo.prop(b"year", b"1980"),
        listinfo.quoted(b"manufacturer", manufacturer),
        b"chip ( type cpu name Z80 clock 3072000 )",
        b"video ( screen raster orientation vertical x 224 y 288 colors 512 freq 60.606060 )",
        b"sound ( channels 1 )",
        b"driver ( status good color good sound good palettesize 512 )",
    ]
    return listinfo.block(b"game", properties, eol, extra)


LISTINFO = {
    # A complete block, then a block that stops in the middle of its description line, then the
    # first letters of a "game (" line.
    "truncated-block.txt": block(b"pacman", b"Pac-Man")
    + b'game (\r\n\tname galaga\r\n\tdescription "Gala'
    + b"",
    "truncated-after-game.txt": block(b"pacman", b"Pac-Man") + b"gam",
    # The channel count was cut off: no number where one must be.
    "truncated-number.txt": block(b"pacman", b"Pac-Man") + b"game (\r\n\tname galaga\r\n\tsound ( chan",
    # A block whose second line is not its name line, one whose name line has no name, then a
    # normal one.
    "no-name-line.txt": b'game (\r\n\tdescription "Lost"\r\n\tyear 1990\r\n)\r\n\r\n'
    + b'game (\r\n\tname\r\n\tdescription "Nameless"\r\n)\r\n\r\n'
    + block(b"pacman", b"Pac-Man"),
    # NUL bytes: one after "game (" (no block then), and inside a name, a title and a maker.
    "nul-bytes.txt": b"game (\x00\r\n\tname ghost\r\n)\r\n\r\n"
    + block(b"pac\x00man", b"Pac\x00Man", b"Na\x00mco"),
    # Ctrl-Z inside a description and a name line ends that line; one at the start of a line ends
    # the file, so the last block is never read.
    "ctrl-z.txt": block(b"pacman", b'Pac-Man\x1a junk"')
    + block(b"gal\x1aaga", b"Galaga")
    + b"\x1a"
    + block(b"never", b"Never Read"),
    # Lone CRs vanish from a line: "ga\rme (" opens a block; a part with CR-only line ends is one
    # long line and no block.
    "lone-cr.txt": b'ga\rme (\r\n\tna\rme pacman\r\n\tdescription "Pac\rMan"\r\n\tyear 19\r\r\n)\r\n\r\n'
    + block(b"mac", b"Mac", eol=b"\r"),
    # A Shift-JIS lead byte (0x82) as the last byte of a name, a title, a maker and a year, before
    # CR LF, LF or a closing quote.
    "lead-byte-at-line-end.txt": b"game (\r\n\tname pac\x82\r\n\tdescription \"Title\x82\"\r\n"
    + b"\tyear 19\x88\n\tmanufacturer \"\x82\"\r\n\tcloneof par\x82\n)\r\n\r\n",
    # Bytes that are no Shift-JIS: 0x80, 0xA0, 0xFD-0xFF, a lead byte followed by a blank or by
    # nothing, in every text of a block.
    "invalid-sjis.txt": block(b"bad\x80\xa0", b"\xfd\xfe\xff \x81\x20x \x9f", b"\x81", b"\tinput ( control \xe0\xff )\r\n"),
}

NAMELIST = {
    # The last line stops after the first letters of the title: no TAB after it.
    "truncated.lst": sjis("pacman\tパックマン\tぱっくまん\tNamco\r\ngalaga\tギャラ"),
    # A NUL inside a ZIP name (no game then) and inside a title.
    "nul-bytes.lst": sjis("pac") + b"\x00" + sjis("man\tパックマン\tぱっくまん\t\r\ngalaga\tギャ")
    + b"\x00" + sjis("ラガ\tぎゃらが\t\r\n"),
    # Ctrl-Z inside a title ends the line before the TAB after the title; one at a line start ends
    # the list.
    "ctrl-z.lst": sjis("pacman\tパック") + b"\x1a" + sjis("マン\tぱっくまん\t\r\n") + b"\x1a"
    + sjis("galaga\tギャラガ\tぎゃらが\t\r\n"),
    # Lone CRs inside the fields vanish.
    "lone-cr.lst": sjis("pacman\tパック\rマン\tぱっ\rくまん\t\r\r\ngalaga\tギャラガ\tぎゃらが\t\r\n"),
    # Lead bytes as the last byte of a title (before a TAB), of a reading and of a line.
    "lead-byte-at-line-end.lst": sjis("pacman\tパック") + b"\x82\t" + sjis("ぱっ") + b"\x82\t\r\n"
    + sjis("galaga\tギャラガ\tぎゃらが\tNamco") + b"\x82\r\n",
    # Bytes that are no Shift-JIS in a title and a reading.
    "invalid-sjis.lst": b"pacman\t\x80\xa0\xfd\xfe\xff\x81\x20\t\x9f\t\r\n",
}

SETTINGS = {
    # Rule lines holding more TABs, fewer TABs, no TAB, only "P", a second key, the path key.
    "rules-with-tabs.ini": b"MAMEPath:=C:\\nowhere\\mame.exe\r\n"
    + b"ReplaceText:=a\tb\tc\tP\r\n"
    + b"ReplaceText:=\t\t\r\n"
    + b"ReplaceText:=x\t\tP\r\n"
    + b"ReplaceText:=only\r\n"
    + b"ReplaceText:=P\r\n"
    + b"ReplaceText:=ReplaceText:=y\tz\tP\r\n"
    + b"ReplaceText:=MAMEPath:\tm\t\r\n"
    + sjis("ReplaceText:=Japan\t日本版\tP\r\n"),
    # The last rule line stops inside its replacement text.
    "truncated.ini": sjis("MAMEPath:=\r\nReplaceText:=US\t米国版\tP\r\nReplaceText:=Japan\t日本"),
    # A NUL inside a search text, a Ctrl-Z after a flag, lone CRs, and a Ctrl-Z that ends the file.
    "nul-ctrl-z-cr.ini": b"ReplaceText:=Ja\x00pan\t" + sjis("日本版") + b"\tP\r\n"
    + b"ReplaceText:=US\t" + sjis("米国版") + b"\tP\x1ajunk\r\n"
    + b"ReplaceText:=Wor\rld\t" + sjis("海外版") + b"\t\rP\r\n"
    + b"\x1aReplaceText:=never\t\t\r\n",
}


def main() -> None:
    for folder, files in (("listinfo", LISTINFO), ("namelist", NAMELIST), ("settings", SETTINGS)):
        target = HERE / folder
        target.mkdir(exist_ok=True)
        for name, data in files.items():
            (target / name).write_bytes(data)


if __name__ == "__main__":
    main()
