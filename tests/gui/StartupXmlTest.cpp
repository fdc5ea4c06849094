// The start-up on a listinfo.txt made by "MAME -listxml > listinfo.txt".
#include <string>

#include "tests/gui/MainWindowFixture.h"

namespace kanaroll::testing {
namespace {

constexpr char kMachines[] = R"xml(<?xml version="1.0"?>
<!DOCTYPE mame [
<!ELEMENT mame (machine+)>
	<!ATTLIST mame build CDATA #IMPLIED>
	<!ATTLIST machine isbios (yes|no) "no">
]>

<mame build="0.262 (mame0262)" debug="no" mameconfig="10">
	<machine name="neogeo" sourcefile="neogeo/neogeo.cpp" isbios="yes">
		<description>Neo-Geo MV-6F</description>
	</machine>
	<machine name="puckman" sourcefile="pacman/pacman.cpp">
		<description>Puck Man (Japan set 1)</description>
		<year>1980</year>
		<manufacturer>Namco</manufacturer>
		<chip type="cpu" tag="maincpu" name="Zilog Z80" clock="3072000"/>
		<chip type="audio" tag="namco" name="Namco" clock="96000"/>
		<display tag="screen" type="raster" rotate="90" width="288" height="224" refresh="60.606061" />
		<sound channels="1"/>
		<input players="2" coins="2"><control type="joy" player="1" ways="4"/></input>
		<driver status="good" emulation="good" savestate="supported"/>
	</machine>
	<machine name="pacman" sourcefile="pacman/pacman.cpp" cloneof="puckman" romof="puckman">
		<description>Pac-Man (Midway)</description>
		<year>1980</year>
		<manufacturer>Namco (Midway license)</manufacturer>
		<driver status="imperfect" emulation="good" savestate="supported"/>
	</machine>
	<machine name="z80" sourcefile="src/devices/cpu/z80/z80.cpp" isdevice="yes" runnable="no">
		<description>Zilog Z80</description>
	</machine>
	<machine name="tomjerry" sourcefile="misc/tomjerry.cpp">
		<description>Tom &amp; Jerry &#x2014; Pok&#xE9;mon</description>
		<year>19??</year>
		<manufacturer>&lt;unknown&gt;</manufacturer>
	</machine>
</mame>
)xml";

class StartupXmlTest : public MainWindowTest {};

TEST_F(StartupXmlTest, LoadsTheCatalogueFromListXmlOutput) {
    folder.Write("listinfo.txt", kMachines);
    WriteFile("mame32j.lst", "pacman\tパックマン\tぱっくまん\tNamco\r\n");
    Start();

    EXPECT_TRUE(services.messageBoxes.empty());
    EXPECT_FALSE(app->Terminated());
    EXPECT_EQ(Status(0), L"合計：3件   未訳：2件");
    ASSERT_EQ(listview::ItemCount(Ui().ListView1), 3);
    EXPECT_EQ(Cell(Ui().ListView1, 0, 0), L"puckman");
    EXPECT_EQ(Cell(Ui().ListView1, 0, 1), L"Puck Man (Japan set 1)");
    EXPECT_EQ(Cell(Ui().ListView1, 1, 2), L"パックマン");
    // The em dash takes Shift-JIS's own dash (0x815C, shown as U+2015); an e with an accent has no
    // code and becomes "?".
    EXPECT_EQ(Cell(Ui().ListView1, 2, 1), L"Tom & Jerry \x2015 Pok?mon");
    EXPECT_EQ(Cell(Ui().ListView1, 2, 3), L"<unknown>");
    EXPECT_EQ(Cell(Ui().ListView1, 2, 4), L"19??");

    // The first game is selected, and its hardware shows as -listinfo would have shown it.
    EXPECT_EQ(State().currentIndex, 0);
    EXPECT_EQ(Text(Ui().Memo1), L"Zilog Z80 @ 3.072000MHz");
    EXPECT_EQ(Text(Ui().Memo2), L"Namco @ 96.000KHz");
    EXPECT_EQ(Text(Ui().Edit4), L"288 x 224 @ 60.606061Hz");
    EXPECT_EQ(Status(1), L"");
    EXPECT_EQ(form->Games()[1].parentName, "puckman");
    EXPECT_FALSE(form->Games()[1].statusGood);
}

TEST_F(StartupXmlTest, AMalformedMachineShowsTheReadFailureAndEnds) {
    std::string broken = kMachines;
    broken.replace(broken.find("</year>"), 7, "</yaer>");
    folder.Write("listinfo.txt", broken);
    Start();

    ASSERT_EQ(services.messageBoxes.size(), 1u);
    EXPECT_EQ(services.messageBoxes[0].caption, L"エラー");
    EXPECT_EQ(services.messageBoxes[0].text, L"listinfo.txtからの読み込みに失敗しました");
    EXPECT_EQ(services.messageBoxes[0].type & MB_ICONMASK, static_cast<UINT>(MB_ICONERROR));
    EXPECT_TRUE(app->Terminated());
}

}  // namespace
}  // namespace kanaroll::testing
