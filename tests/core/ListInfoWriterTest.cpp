#include <gtest/gtest.h>
#include <string>

#include "catalogue/ListInfoReader.h"
#include "catalogue/LoadProgress.h"
#include "tests/support/ListInfoText.h"
#include "tests/support/ListInfoWriter.h"
#include "tests/support/TempFolder.h"

// The writer that every generated listinfo.txt of the tests and benchmarks goes through: its
// layout is MAME's, to the byte, and the program's reader takes what it writes.
namespace kanaroll {
namespace {

using testing::ListInfoWriter;

// A clone with one property of every kind the writer has: plain, quoted, and the list words
// (text, number, padded and unpadded hexadecimal, quoted).
std::string CloneBlock(std::string_view lineEnd) {
    std::string text;
    ListInfoWriter block(text, lineEnd);
    block.BeginBlock("game");
    block.Property("name", "pacman");
    block.Quoted("description", "Pac-Man (Midway)");
    block.Property("year", "1980");
    block.Quoted("manufacturer", "[Namco] (Midway license)");
    block.Property("cloneof", "puckman");
    block.Open("rom")
        .Word("name", "pacman.6e")
        .Word("size", 4096)
        .Hex("crc", 0xc1e6ab10, 8)
        .Hex("offs", 0)
        .Close();
    block.Open("chip").Word("type", "cpu").Word("name", "Z80").Word("clock", 3072000).Close();
    block.Open("chip").Word("type", "audio").Word("name", "Namco").Word("clock", 96000).Close();
    block.Open("video")
        .Word("screen", "raster")
        .Word("orientation", "vertical")
        .Word("x", 224)
        .Word("y", 288);
    block.Word("colors", 16).Word("freq", "60.606060").Close();
    block.Open("dipswitch").QuotedWord("name", "Rack Test").QuotedWord("entry", "Off").Close();
    block.Line("\tdriver ( status good palettesize 16 )");
    block.EndBlock();
    return text;
}

TEST(ListInfoWriter, WritesMameLayoutToTheByte) {
    EXPECT_EQ(
        CloneBlock("\n"),
        "game (\n\tname pacman\n\tdescription \"Pac-Man (Midway)\"\n\tyear 1980\n"
        "\tmanufacturer \"[Namco] (Midway license)\"\n\tcloneof puckman\n"
        "\trom ( name pacman.6e size 4096 crc c1e6ab10 offs 0 )\n"
        "\tchip ( type cpu name Z80 clock 3072000 )\n\tchip ( type audio name Namco clock 96000 )\n"
        "\tvideo ( screen raster orientation vertical x 224 y 288 colors 16 freq 60.606060 )\n"
        "\tdipswitch ( name \"Rack Test\" entry \"Off\" )\n\tdriver ( status good palettesize 16 )\n)\n\n");
    // CR LF is the default, as MAME wrote it on Windows, and ends every line, the empty one too.
    std::string crLf;
    ListInfoWriter(crLf).BeginBlock("resource");
    ListInfoWriter(crLf).EndBlock();
    EXPECT_EQ(crLf, "resource (\r\n)\r\n\r\n");
}

TEST(ListInfoWriter, WritesWhatTheReaderTakes) {
    for (const char* lineEnd : {"\r\n", "\n"}) {
        testing::TempFolder folder;
        const std::string text =
            CloneBlock(lineEnd) + testing::ListInfoText({{.zip = "puckman", .description = "PuckMan"}});
        GameList games;
        NoLoadProgress progress;
        ASSERT_TRUE(ReadListInfo(folder.Write("listinfo.txt", text), games, progress));
        ASSERT_EQ(games.Count(), 2);
        const TRecordset& pacman = games[0];
        EXPECT_EQ(pacman.zipName, "pacman");
        EXPECT_EQ(pacman.englishName, "Pac-Man (Midway)");
        EXPECT_EQ(pacman.year, "1980");
        EXPECT_EQ(pacman.manufacturer, "[Namco] (Midway license)");
        EXPECT_EQ(pacman.parentName, "puckman");
        EXPECT_EQ(pacman.cpuText, "Z80 @ 3.072000MHz");
        EXPECT_EQ(pacman.soundText, "Namco @ 96.000KHz");
        EXPECT_EQ(pacman.videoText, "224 x 288 @ 60.606060Hz, 16 Colors");
        EXPECT_TRUE(pacman.statusGood);
        EXPECT_EQ(games[1].zipName, "puckman");
        EXPECT_EQ(games[1].manufacturer, "Namco");
        EXPECT_EQ(games[1].controlType, "joy4way");
    }
}

}  // namespace
}  // namespace kanaroll
