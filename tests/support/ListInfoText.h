#pragma once

#include <string>
#include <vector>

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
    std::string block = "game (\r\n\tname " + game.zip + "\r\n";
    if (!game.cloneOf.empty()) block += "\tcloneof " + game.cloneOf + "\r\n\tromof " + game.cloneOf + "\r\n";
    if (game.neoGeo) block += "\tromof neogeo\r\n";
    block += "\tdescription \"" + game.description + "\"\r\n";
    block += "\tyear " + game.year + "\r\n";
    block += "\tmanufacturer \"" + game.manufacturer + "\"\r\n";
    block += "\trom ( name " + game.zip + ".1 size 4096 crc 12345678 )\r\n";
    block += "\tchip ( type cpu name Z80 clock 3072000 )\r\n";
    block += "\tchip ( type audio name Namco clock 96000 )\r\n";
    if (game.vector) {
        block += "\tvideo ( screen vector orientation horizontal x 640 y 480 freq 60 )\r\n";
    } else {
        block += "\tvideo ( screen raster orientation vertical x 224 y 288 colors 512 freq 60.606060 )\r\n";
    }
    block += "\tsound ( channels 1 )\r\n";
    block += "\tinput ( players 2 control joy4way buttons 1 coins 2 )\r\n";
    block += game.statusGood ? "\tdriver ( status good color good sound good palettesize 512 )\r\n"
                             : "\tdriver ( status preliminary color good sound good palettesize 512 )\r\n";
    for (const auto& line : game.extraLines) block += line + "\r\n";
    block += ")\r\n\r\n";
    return block;
}

inline std::string ListInfoText(const std::vector<ListInfoGame>& games) {
    std::string text;
    for (const auto& game : games) text += ListInfoBlock(game);
    return text;
}

}  // namespace kanaroll::testing
