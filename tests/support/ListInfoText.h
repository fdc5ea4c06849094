#pragma once

#include <string>
#include <vector>

#include "tests/support/ListInfoWriter.h"

namespace kanaroll::testing {

// One game of a listinfo.txt written for a test, in MAME's -listinfo layout.
struct ListInfoGame {
    std::string zip;
    std::string description;
    std::string year = "1980";
    std::string manufacturer = "Namco";
    std::string cloneOf;  // empty: a master
    bool neoGeo = false;
    bool vector = false;
    bool statusGood = true;
    std::vector<std::string> extraLines;  // written before the block's closing line, each with its TAB
};

inline std::string ListInfoBlock(const ListInfoGame& game) {
    std::string text;
    ListInfoWriter block(text);
    block.BeginBlock("game");
    block.Property("name", game.zip);
    if (!game.cloneOf.empty()) {
        block.Property("cloneof", game.cloneOf);
        block.Property("romof", game.cloneOf);
    }
    if (game.neoGeo) block.Property("romof", "neogeo");
    block.Quoted("description", game.description);
    block.Property("year", game.year);
    block.Quoted("manufacturer", game.manufacturer);
    block.Open("rom").Word("name", game.zip + ".1").Word("size", "4096").Word("crc", "12345678").Close();
    block.Open("chip").Word("type", "cpu").Word("name", "Z80").Word("clock", "3072000").Close();
    block.Open("chip").Word("type", "audio").Word("name", "Namco").Word("clock", "96000").Close();
    if (game.vector) {
        block.Property("video", "( screen vector orientation horizontal x 640 y 480 freq 60 )");
    } else {
        block.Property("video",
                       "( screen raster orientation vertical x 224 y 288 colors 512 freq 60.606060 )");
    }
    block.Property("sound", "( channels 1 )");
    block.Property("input", "( players 2 control joy4way buttons 1 coins 2 )");
    block.Open("driver").Word("status", game.statusGood ? "good" : "preliminary");
    block.Word("color", "good").Word("sound", "good").Word("palettesize", "512").Close();
    for (const auto& line : game.extraLines) block.Line(line);
    block.EndBlock();
    return text;
}

inline std::string ListInfoText(const std::vector<ListInfoGame>& games) {
    std::string text;
    for (const auto& game : games) text += ListInfoBlock(game);
    return text;
}

}  // namespace kanaroll::testing
