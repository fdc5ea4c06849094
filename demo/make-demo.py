#!/usr/bin/env python3
"""Writes the demo program folder's input files beside this script:

- listinfo.txt: a small catalogue of early-1980s arcade games in MAME's -listinfo layout (the
  0.6x order: name, description, year, manufacturer, cloneof, romof, roms, samples, chips, video,
  sound, input, dip switches, driver), CR LF line ends, with "resource (" blocks at the end;
- mame32j.lst: Japanese titles and kana readings for most of them (not all, so that the list shows
  both translated and untranslated games), Shift-JIS, ZIP name TAB title TAB reading TAB
  manufacturer, CR LF.

The games, years, makers and the rough hardware are well known; the ROM names, sizes and CRCs are
made up (the CRCs are CRC-32s of made-up texts), so these files describe no real ROM set.

Run it again after changing the tables below: python3 demo/make-demo.py
"""

import pathlib
import sys
import zlib

HERE = pathlib.Path(__file__).resolve().parent
sys.path.insert(0, str(HERE.parent / "scripts" / "lib"))
import listinfo  # noqa: E402  (the layout shared with the bad-input generator)

# Hardware of a board: (cpu chips, audio chips, video, sound channels, input, palette size).
# A cpu chip is (name, clock, is_audio_cpu); an audio chip is (name, clock or 0 when it has none).
# The video is (orientation, width, height, aspect x, aspect y, refresh) for a raster screen, or
# ("vector", orientation, aspect x, aspect y, refresh).
BOARDS = {
    "pacman": ([("Z80", 3072000, False)], [("Namco", 96000)],
               ("vertical", 224, 288, 3, 4, "60.606060"), 1,
               "players 2 control joy4way buttons 1 coins 2 service yes tilt yes", 512),
    "galaga": ([("Z80", 3072000, False)] * 3, [("Namco", 96000), ("Samples", 0)],
               ("vertical", 224, 288, 3, 4, "60.606060"), 1,
               "players 2 control joy2way buttons 1 coins 2 service yes", 576),
    "digdug": ([("Z80", 3072000, False)] * 3, [("Namco", 96000)],
               ("vertical", 224, 288, 3, 4, "60.606060"), 1,
               "players 2 control joy4way buttons 1 coins 2 service yes", 512),
    "xevious": ([("Z80", 3072000, False)] * 3, [("Namco", 96000), ("Samples", 0)],
                ("vertical", 224, 288, 3, 4, "60.606060"), 1,
                "players 2 control joy8way buttons 2 coins 2 service yes", 768),
    "mappy": ([("M6809", 1536000, False), ("M6809", 1536000, True)], [("Namco 15XX", 24000)],
              ("vertical", 224, 288, 3, 4, "60.606060"), 1,
              "players 2 control joy2way buttons 1 coins 2 service yes", 512),
    "pacnpal": ([("M6809", 1536000, False), ("M6809", 1536000, True)], [("Namco 15XX", 24000)],
                ("vertical", 224, 288, 3, 4, "60.606060"), 1,
                "players 2 control joy4way buttons 1 coins 2 service yes", 512),
    "dkong": ([("Z80", 3072000, False), ("I8035", 400000, True)], [("DAC", 0), ("Samples", 0)],
              ("vertical", 224, 256, 3, 4, "60.000000"), 1,
              "players 2 control joy4way buttons 1 coins 1 service yes", 256),
    "dkong3": ([("Z80", 4000000, False), ("N2A03", 1789772, True), ("N2A03", 1789772, True)],
               [("NES", 0), ("NES", 0)],
               ("vertical", 224, 256, 3, 4, "60.000000"), 1,
               "players 2 control joy8way buttons 1 coins 1 service yes", 256),
    "mario": ([("Z80", 3072000, False), ("I8039", 730000, True)], [("DAC", 0), ("Samples", 0)],
              ("horizontal", 256, 224, 4, 3, "60.000000"), 1,
              "players 2 control joy2way buttons 1 coins 1 service yes", 256),
    "popeye": ([("Z80", 4000000, False)], [("AY-3-8910", 2000000)],
               ("horizontal", 512, 448, 4, 3, "60.000000"), 1,
               "players 2 control joy4way buttons 1 coins 2", 288),
    "invadpt2": ([("8080", 1996800, False)], [("Samples", 0)],
                 ("vertical", 224, 260, 3, 4, "60.000000"), 1,
                 "players 2 control joy2way buttons 1 coins 1 tilt yes", 8),
    "qix": ([("M6809", 1250000, False), ("M6809", 1250000, False), ("M6802", 921600, True)], [("DAC", 0)],
            ("horizontal", 256, 256, 4, 3, "60.000000"), 1,
            "players 2 control joy8way buttons 2 coins 2 service yes tilt yes", 1024),
    "elevator": ([("Z80", 4000000, False), ("Z80", 3000000, True), ("M68705", 500000, False)],
                 [("AY-3-8910", 1500000)] * 4 + [("DAC", 0)],
                 ("horizontal", 256, 224, 4, 3, "60.000000"), 1,
                 "players 2 control joy4way buttons 1 coins 2 service yes tilt yes", 64),
    "junglek": ([("Z80", 4000000, False), ("Z80", 3000000, True)],
                [("AY-3-8910", 1500000)] * 4 + [("DAC", 0)],
                ("horizontal", 256, 224, 4, 3, "60.000000"), 1,
                "players 2 control joy4way buttons 1 coins 2 service yes tilt yes", 64),
    "frogger": ([("Z80", 3072000, False), ("Z80", 1789750, True)], [("AY-3-8910", 1789750)],
                ("vertical", 224, 256, 3, 4, "60.606060"), 1,
                "players 2 control joy4way coins 2", 32),
    "scramble": ([("Z80", 3072000, False), ("Z80", 1789750, True)], [("AY-3-8910", 1789750)] * 2,
                 ("vertical", 224, 256, 3, 4, "60.606060"), 1,
                 "players 2 control joy4way buttons 2 coins 2", 40),
    "timeplt": ([("Z80", 3072000, False), ("Z80", 1789772, True)], [("AY-3-8910", 1789772)] * 2,
                ("vertical", 224, 256, 3, 4, "60.606060"), 1,
                "players 2 control joy8way buttons 1 coins 2", 288),
    "gyruss": ([("Z80", 3072000, False), ("M6809", 2000000, False), ("Z80", 3579545, True),
                ("I8039", 8000000, True)], [("AY-3-8910", 1789772)] * 5 + [("DAC", 0)],
               ("vertical", 224, 256, 3, 4, "60.606060"), 2,
               "players 2 control joy8way buttons 1 coins 2", 288),
    "circusc": ([("M6809", 2048000, False), ("Z80", 3579545, True)],
                [("SN76496", 1789772)] * 2 + [("DAC", 0)],
                ("vertical", 224, 256, 3, 4, "60.606060"), 1,
                "players 2 control joy2way buttons 1 coins 2", 768),
    "zaxxon": ([("Z80", 3041250, False)], [("Samples", 0)],
               ("vertical", 224, 256, 3, 4, "60.000000"), 1,
               "players 2 control joy8way buttons 1 coins 2 service yes", 256),
    "pengo": ([("Z80", 3072000, False)], [("Namco", 96000)],
              ("vertical", 224, 288, 3, 4, "60.606060"), 1,
              "players 2 control joy4way buttons 1 coins 2", 512),
    "williams": ([("M6809", 1000000, False), ("M6808", 894886, True)], [("DAC", 0)],
                 ("horizontal", 292, 240, 4, 3, "60.096154"), 1,
                 "players 2 control joy8way buttons 5 coins 3 tilt yes", 16),
    "robotron": ([("M6809", 1000000, False), ("M6808", 894886, True)], [("DAC", 0)],
                 ("horizontal", 292, 240, 4, 3, "60.096154"), 1,
                 "players 2 control doublejoy8way coins 3 tilt yes", 16),
    "bzone": ([("M6502", 1512000, False)], [("Pokey", 1512000), ("Custom", 0)],
              ("vector", "horizontal", 4, 3, "40.000000"), 1,
              "players 1 control doublejoy2way buttons 1 coins 2 service yes", 32768),
    "tempest": ([("M6502", 1512000, False)], [("Pokey", 1512000)] * 2,
                ("vector", "vertical", 3, 4, "60.000000"), 1,
                "players 2 control dial buttons 2 coins 2 service yes", 32768),
    "starwars": ([("M6809", 1512000, False), ("M6809", 1512000, True)],
                 [("Pokey", 1500000)] * 4 + [("TMS5220", 640000)],
                 ("vector", "horizontal", 4, 3, "30.000000"), 1,
                 "players 1 control stick buttons 4 coins 2 service yes", 32768),
    "centiped": ([("M6502", 1512000, False)], [("Pokey", 1512000)],
                 ("vertical", 240, 256, 3, 4, "60.000000"), 1,
                 "players 2 control trackball buttons 1 coins 3 tilt yes", 8),
    "milliped": ([("M6502", 1512000, False)], [("Pokey", 1512000)] * 2,
                 ("vertical", 240, 256, 3, 4, "60.000000"), 1,
                 "players 2 control trackball buttons 1 coins 3 tilt yes", 32),
    "mpatrol": ([("Z80", 3072000, False), ("M6803", 894886, True)],
                [("AY-3-8910", 894886)] * 2 + [("MSM5205", 384000)] * 2,
                ("horizontal", 240, 248, 4, 3, "56.750000"), 1,
                "players 2 control joy2way buttons 2 coins 2", 576),
    "kungfum": ([("Z80", 4000000, False), ("M6803", 894886, True)],
                [("AY-3-8910", 894886)] * 2 + [("MSM5205", 384000)] * 2,
                ("horizontal", 256, 256, 4, 3, "55.000000"), 1,
                "players 2 control joy8way buttons 2 coins 2", 512),
    "1942": ([("Z80", 4000000, False), ("Z80", 3000000, True)], [("AY-3-8910", 1500000)] * 2,
             ("vertical", 224, 256, 3, 4, "60.000000"), 1,
             "players 2 control joy8way buttons 2 coins 2", 256),
    "btime": ([("M6502", 1500000, False), ("M6502", 500000, True)], [("AY-3-8910", 1500000)] * 2,
              ("vertical", 240, 240, 3, 4, "57.444853"), 1,
              "players 2 control joy4way buttons 1 coins 2", 16),
    "decocass": ([("M6502", 750000, False), ("M6502", 500000, True), ("I8041", 500000, False)],
                 [("AY-3-8910", 1500000)] * 2,
                 ("vertical", 240, 248, 3, 4, "57.444853"), 1,
                 "players 2 control joy4way buttons 2 coins 2", 32),
    "bombjack": ([("Z80", 4000000, False), ("Z80", 3072000, True)], [("AY-3-8910", 1500000)] * 3,
                 ("horizontal", 256, 224, 4, 3, "60.000000"), 1,
                 "players 2 control joy8way buttons 1 coins 2", 128),
    "mrdo": ([("Z80", 4100000, False)], [("SN76496", 4000000)] * 2,
             ("vertical", 192, 240, 3, 4, "60.000000"), 1,
             "players 2 control joy4way buttons 1 coins 2", 64),
    "tron": ([("Z80", 2500000, False), ("Z80", 2000000, True)], [("AY-3-8910", 2000000)] * 3,
             ("horizontal", 512, 480, 4, 3, "30.000000"), 1,
             "players 1 control joy8way buttons 1 coins 3 service yes", 64),
    "phoenix": ([("8085A", 2750000, False)], [("Custom", 0), ("TMS36XX", 372)],
                ("vertical", 208, 256, 3, 4, "60.000000"), 1,
                "players 2 control joy2way buttons 2 coins 1", 256),
    "neogeo": ([("M68000", 12000000, False), ("Z80", 4000000, True)], [("YM2610", 8000000)],
               ("horizontal", 304, 224, 4, 3, "59.185606"), 2,
               "players 2 control joy8way buttons 4 coins 4 service yes", 4096),
}

# The games, in catalogue order: masters first, their clones right after them.
# (zip, description, year or None when unknown, manufacturer, master or None, board,
#  status or None for "good", whether it plays samples)
GAMES = [
    ("puckman", "PuckMan (Japan set 1)", "1980", "Namco", None, "pacman", None, False),
    ("pacman", "Pac-Man (Midway)", "1980", "[Namco] (Midway license)", "puckman", "pacman", None, False),
    ("mspacman", "Ms. Pac-Man", "1981", "Midway", None, "pacman", None, False),
    ("mspacmab", "Ms. Pac-Man (bootleg)", "1981", "bootleg", "mspacman", "pacman", None, False),
    ("mspacmbe", "Ms. Pac-Man (bootleg, encrypted)", None, "bootleg", "mspacman", "pacman", None, False),
    ("jrpacman", "Jr. Pac-Man", "1983", "Bally Midway", None, "pacman", None, False),
    ("pacnpal", "Pac & Pal", "1983", "Namco", None, "pacnpal", None, False),
    ("pacnchmp", "Pac-Man & Chomp Chomp (prototype)", "1983", "Namco", "pacnpal", "pacnpal", None, False),
    ("galaga", "Galaga (Namco rev. B)", "1981", "Namco", None, "galaga", None, True),
    ("galagao", "Galaga (Namco)", "1981", "Namco", "galaga", "galaga", None, True),
    ("galagamw", "Galaga (Midway set 1)", "1981", "Namco (Midway license)", "galaga", "galaga", None, True),
    ("digdug", "Dig Dug (rev 2)", "1982", "Namco", None, "digdug", None, False),
    ("digdugat", "Dig Dug (Atari, rev 2)", "1982", "Namco (Atari license)", "digdug", "digdug", None, False),
    ("xevious", "Xevious (Namco)", "1982", "Namco", None, "xevious", None, True),
    ("xeviousa", "Xevious (Atari, US)", "1982", "Namco (Atari license)", "xevious", "xevious", None, True),
    ("mappy", "Mappy (US)", "1983", "Namco", None, "mappy", None, False),
    ("mappyj", "Mappy (Japan)", "1983", "Namco", "mappy", "mappy", None, False),
    ("dkong", "Donkey Kong (US set 1)", "1981", "Nintendo of America", None, "dkong", None, True),
    ("dkongjp", "Donkey Kong (Japan set 1)", "1981", "Nintendo", "dkong", "dkong", None, True),
    ("dkongjr", "Donkey Kong Junior (US)", "1982", "Nintendo of America", None, "dkong", None, True),
    ("dkngjrj", "Donkey Kong Jr. (Japan)", "1982", "Nintendo", "dkongjr", "dkong", None, True),
    ("dkong3", "Donkey Kong 3 (US)", "1983", "Nintendo of America", None, "dkong3", None, False),
    ("dkong3j", "Donkey Kong 3 (Japan)", "1983", "Nintendo", "dkong3", "dkong3", None, False),
    ("mario", "Mario Bros. (US)", "1983", "Nintendo of America", None, "mario", None, True),
    ("marioj", "Mario Bros. (Japan)", "1983", "Nintendo", "mario", "mario", None, True),
    ("popeye", "Popeye (revision D)", "1982", "Nintendo", None, "popeye", None, False),
    ("popeyebl", "Popeye (bootleg)", "1982", "bootleg", "popeye", "popeye", "preliminary", False),
    ("invadpt2", "Space Invaders Part II (Taito)", "1980", "Taito", None, "invadpt2", None, True),
    ("qix", "Qix (set 1)", "1981", "Taito America Corporation", None, "qix", None, False),
    ("elevator", "Elevator Action", "1983", "Taito Corporation", None, "elevator", None, False),
    ("junglek", "Jungle King (Japan)", "1982", "Taito Corporation", None, "junglek", None, False),
    ("jungleh", "Jungle Hunt (US)", "1982", "Taito America Corporation", "junglek", "junglek", None, False),
    ("frogger", "Frogger", "1981", "Konami", None, "frogger", None, False),
    ("scramble", "Scramble", "1981", "Konami", None, "scramble", None, False),
    ("timeplt", "Time Pilot", "1982", "Konami", None, "timeplt", None, False),
    ("gyruss", "Gyruss (Konami)", "1983", "Konami", None, "gyruss", None, False),
    ("circusc", "Circus Charlie (level select)", "1984", "Konami", None, "circusc", None, False),
    ("zaxxon", "Zaxxon (set 1)", "1982", "Sega", None, "zaxxon", None, True),
    ("zaxxonj", "Zaxxon (Japan)", "1982", "Sega", "zaxxon", "zaxxon", None, True),
    ("pengo", "Pengo (set 1 rev c)", "1982", "Sega", None, "pengo", None, False),
    ("pengo2u", "Pengo (set 2 not encrypted)", "1982", "Sega", "pengo", "pengo", None, False),
    ("defender", "Defender (Red label)", "1980", "Williams", None, "williams", None, False),
    ("robotron", "Robotron (Solid Blue label)", "1982", "Williams", None, "robotron", None, False),
    ("joust", "Joust (White/Green label)", "1982", "Williams", None, "williams", None, False),
    ("bzone", "Battle Zone (rev 2)", "1980", "Atari", None, "bzone", None, False),
    ("tempest", "Tempest (rev 3)", "1980", "Atari", None, "tempest", None, False),
    ("starwars", "Star Wars (rev 2)", "1983", "Atari", None, "starwars", "preliminary", False),
    ("centiped", "Centipede (revision 3)", "1980", "Atari", None, "centiped", None, False),
    ("milliped", "Millipede", "1982", "Atari", None, "milliped", None, False),
    ("mpatrol", "Moon Patrol", "1982", "Irem", None, "mpatrol", None, False),
    ("mpatrolw", "Moon Patrol (Williams)", "1982", "Irem (Williams license)", "mpatrol", "mpatrol", None, False),
    ("kungfum", "Kung-Fu Master", "1984", "Irem", None, "kungfum", None, False),
    ("spartanx", "Spartan X (Japan)", "1984", "Irem", "kungfum", "kungfum", None, False),
    ("1942", "1942 (set 1)", "1984", "Capcom", None, "1942", None, False),
    ("1942a", "1942 (set 2)", "1984", "Capcom", "1942", "1942", None, False),
    ("btime", "Burger Time (Data East set 1)", "1982", "Data East Corporation", None, "btime", None, False),
    ("btimem", "Burger Time (Midway)", "1982", "Data East (Bally Midway license)", "btime", "btime", None, False),
    ("cburnrub", "Burnin' Rubber (DECO Cassette)", "1982", "Data East Corporation", None, "decocass",
     "preliminary", False),
    ("bombjack", "Bomb Jack (set 1)", "1984", "Tehkan", None, "bombjack", None, False),
    ("mrdo", "Mr. Do!", "1982", "Universal", None, "mrdo", None, False),
    ("mrdot", "Mr. Do! (Taito)", "1982", "Universal (Taito license)", "mrdo", "mrdo", None, False),
    ("tron", "Tron (8/9)", "1982", "Bally Midway", None, "tron", None, False),
    ("phoenix", "Phoenix (Amstar)", "1980", "Amstar", None, "phoenix", None, False),
    ("phoenixt", "Phoenix (Taito)", "1980", "Taito", "phoenix", "phoenix", None, False),
    ("nam1975", "NAM-1975", "1990", "SNK", None, "neogeo", None, False),
]

# The BIOS sets that games refer to with "romof", written after the games.
RESOURCES = [
    ("decocass", "DECO Cassette System", "1981", "Data East Corporation", ["v0a-.7e", "dsp-3_p1.bin"]),
    ("neogeo", "Neo-Geo", "1990", "SNK", ["neo-geo.rom", "sfix.sfx", "sm1.sm1", "000-lo.lo"]),
]

# Games whose board reads a cassette or a cartridge: "romof" names the BIOS set.
BIOS_OF = {"decocass": "decocass", "neogeo": "neogeo"}

# Japanese title, kana reading; games without an entry stay untranslated. Titles may keep the
# English region in parentheses, as lists often do before it is rewritten.
JAPANESE = {
    "puckman": ("パックマン", "ぱっくまん"),
    "pacman": ("パックマン (Midway)", "ぱっくまん"),
    "mspacman": ("ミズ・パックマン", "みずぱっくまん"),
    "jrpacman": ("ジュニア・パックマン", "じゅにあぱっくまん"),
    "pacnpal": ("パック&パル", "ぱっくあんどぱる"),
    "galaga": ("ギャラガ", "ぎゃらが"),
    "galagao": ("ギャラガ (旧バージョン)", "ぎゃらが"),
    "digdug": ("ディグダグ", "でぃぐだぐ"),
    "xevious": ("ゼビウス", "ぜびうす"),
    "xeviousa": ("ゼビウス (Atari, US)", "ぜびうす"),
    "mappy": ("マッピー (US)", "まっぴー"),
    "mappyj": ("マッピー (Japan)", "まっぴー"),
    "dkong": ("ドンキーコング (US set 1)", "どんきーこんぐ"),
    "dkongjr": ("ドンキーコングJR. (US)", "どんきーこんぐじゅにあ"),
    "dkong3": ("ドンキーコング3 (US)", "どんきーこんぐすりー"),
    "dkong3j": ("ドンキーコング3 (Japan)", "どんきーこんぐすりー"),
    "mario": ("マリオブラザーズ (US)", "まりおぶらざーず"),
    "popeye": ("ポパイ", "ぽぱい"),
    "invadpt2": ("スペースインベーダー パートⅡ", "すぺーすいんべーだーぱーとつー"),
    "qix": ("クイックス", "くいっくす"),
    "elevator": ("エレベーターアクション", "えれべーたーあくしょん"),
    "junglek": ("ジャングルキング (Japan)", "じゃんぐるきんぐ"),
    "jungleh": ("ジャングルハント (US)", "じゃんぐるはんと"),
    "frogger": ("フロッガー", "ふろっがー"),
    "scramble": ("スクランブル", "すくらんぶる"),
    "timeplt": ("タイムパイロット", "たいむぱいろっと"),
    "gyruss": ("ジャイラス", "じゃいらす"),
    "circusc": ("サーカスチャーリー", "さーかすちゃーりー"),
    "zaxxon": ("ザクソン", "ざくそん"),
    "pengo": ("ペンゴ", "ぺんご"),
    "defender": ("ディフェンダー", "でぃふぇんだー"),
    "robotron": ("ロボトロン", "ろぼとろん"),
    "joust": ("ジャウスト", "じゃうすと"),
    "bzone": ("バトルゾーン", "ばとるぞーん"),
    "tempest": ("テンペスト", "てんぺすと"),
    "centiped": ("センチピード", "せんちぴーど"),
    "milliped": ("ミリピード", "みりぴーど"),
    "mpatrol": ("ムーンパトロール", "むーんぱとろーる"),
    "kungfum": ("カンフーマスター", "かんふーますたー"),
    "spartanx": ("スパルタンX (Japan)", "すぱるたんえっくす"),
    "1942": ("1942", "いちきゅうよんに"),
    "btime": ("バーガータイム", "ばーがーたいむ"),
    "bombjack": ("ボンジャック", "ぼんじゃっく"),
    "mrdo": ("ミスタードゥ!", "みすたーどぅ"),
    "tron": ("トロン", "とろん"),
    "phoenix": ("フェニックス", "ふぇにっくす"),
}

# A line for a game this catalogue does not have, as older lists carry: it is skipped on loading.
UNKNOWN_ENTRIES = [("polepos", "ポールポジション", "ぽーるぽじしょん", "Namco")]

DIP_SWITCHES = [
    ("Coinage", ["2 Coins/1 Credit", "1 Coin/1 Credit", "1 Coin/2 Credits", "Free Play"], "1 Coin/1 Credit"),
    ("Lives", ["1", "2", "3", "5"], "3"),
    ("Cabinet", ["Upright", "Cocktail"], "Upright"),
]

BOARD_POSITIONS = ["1a", "1b", "2a", "2b", "3a", "3b", "4a", "5e", "5f", "6e", "6f", "6h", "6j", "7f"]


def crc(text):
    return "%08x" % zlib.crc32(text.encode("ascii"))


def own_roms(zip_name):
    """Made-up ROMs of a set: (name, size, crc, region, offset)."""
    count = 3 + zlib.crc32(zip_name.encode()) % 4
    roms = []
    for index in range(count):
        position = BOARD_POSITIONS[(index * 3 + len(zip_name)) % len(BOARD_POSITIONS)]
        name = "%s.%s" % (zip_name, position)
        region = "cpu1" if index < count - 1 else "gfx1"
        offset = "%x" % (index * 0x1000) if region == "cpu1" else "0"
        size = 4096 if index % 3 else 8192
        roms.append((name, size, crc(zip_name + "/" + name), region, offset))
    return roms


def rom_lines(zip_name, master):
    """A clone shares its master's first two ROMs (merge) and has the rest of its own."""
    roms = own_roms(zip_name)
    lines = []
    if master:
        for name, size, checksum, region, offset in own_roms(master)[:2]:
            lines.append("rom ( name %s merge %s size %d crc %s region %s offs %s )"
                         % (name, name, size, checksum, region, offset))
        roms = roms[2:]
    for name, size, checksum, region, offset in roms:
        lines.append("rom ( name %s size %d crc %s region %s offs %s )" % (name, size, checksum, region, offset))
    return lines


def chip_lines(board):
    cpus, audio = board[0], board[1]
    lines = []
    for name, clock, audio_cpu in cpus:
        flags = "flags audio " if audio_cpu else ""
        lines.append("chip ( type cpu %sname %s clock %d )" % (flags, name, clock))
    for name, clock in audio:
        if clock:
            lines.append("chip ( type audio name %s clock %d )" % (name, clock))
        else:
            lines.append("chip ( type audio name %s )" % name)
    return lines


def video_line(board):
    video = board[2]
    if video[0] == "vector":
        _, orientation, aspect_x, aspect_y, refresh = video
        return "video ( screen vector orientation %s aspectx %d aspecty %d freq %s )" % (
            orientation, aspect_x, aspect_y, refresh)
    orientation, width, height, aspect_x, aspect_y, refresh = video
    return "video ( screen raster orientation %s x %d y %d aspectx %d aspecty %d freq %s )" % (
        orientation, width, height, aspect_x, aspect_y, refresh)


def quoted(text):
    return '"' + text.replace("\\", "\\\\").replace('"', '\\"') + '"'


def game_block(game):
    zip_name, description, year, manufacturer, master, board_name, status, samples = game
    board = BOARDS[board_name]
    lines = ["name " + zip_name, "description " + quoted(description)]
    if year:  # MAME leaves the line out when the year is not a number
        lines.append("year " + year)
    lines.append("manufacturer " + quoted(manufacturer))
    if master:
        lines += ["cloneof " + master, "romof " + master]
    elif board_name in BIOS_OF:
        lines.append("romof " + BIOS_OF[board_name])
    lines += rom_lines(zip_name, master)
    if samples:
        family = master or zip_name
        lines.append("sampleof " + family)
        lines += ["sample effect%02d.wav" % number for number in range(3)]
    lines += chip_lines(board)
    lines.append(video_line(board))
    lines.append("sound ( channels %d )" % board[3])
    lines.append("input ( %s )" % board[4])
    for name, entries, default in DIP_SWITCHES[: 1 + len(zip_name) % 3]:
        parts = " ".join("entry " + quoted(entry) for entry in entries)
        lines.append("dipswitch ( name %s %s default %s )" % (quoted(name), parts, quoted(default)))
    status = status or "good"
    lines.append("driver ( status %s color good sound %s palettesize %d )" % (status, status, board[5]))
    return listinfo.block(b"game", [line.encode("ascii") for line in lines])


def resource_block(resource):
    name, description, year, manufacturer, roms = resource
    lines = ["name " + name, "description " + quoted(description), "year " + year,
             "manufacturer " + quoted(manufacturer)]
    for index, rom in enumerate(roms):
        lines.append("rom ( name %s size %d crc %s region user1 offs %x )"
                     % (rom, 0x10000 if index == 0 else 0x2000, crc(name + "/" + rom), index * 0x10000))
    return listinfo.block(b"resource", [line.encode("ascii") for line in lines])


def main():
    zip_names = [game[0] for game in GAMES]
    assert len(set(zip_names)) == len(zip_names), "ZIP names must be unique"
    masters = {game[0] for game in GAMES if game[4] is None}
    for game in GAMES:
        assert game[4] is None or game[4] in masters, game[0] + ": its master must come first"
        # The catalogue reader takes any line holding these words for a vector screen or samples.
        assert "vector" not in game[1].lower() and "sample" not in game[1].lower(), game[0]
    assert set(JAPANESE) <= set(zip_names)

    blocks = [game_block(game) for game in GAMES] + [resource_block(resource) for resource in RESOURCES]
    (HERE / "listinfo.txt").write_bytes(b"".join(blocks))

    # The name list keeps catalogue order, as published lists do; the unknown game sits where its
    # family would stand.
    entries = []
    for zip_name, _, _, manufacturer, _, _, _, _ in GAMES:
        if zip_name in JAPANESE:
            title, reading = JAPANESE[zip_name]
            entries.append("\t".join([zip_name, title, reading, manufacturer]))
        if zip_name == "pacnchmp":
            entries += ["\t".join(entry) for entry in UNKNOWN_ENTRIES]
    text = "".join(entry + "\r\n" for entry in entries)
    (HERE / "mame32j.lst").write_bytes(text.encode("cp932"))
    print("%d games (%d translated), %d resources" % (len(GAMES), len(JAPANESE), len(RESOURCES)))


if __name__ == "__main__":
    main()
