// listinfo.txt holding MAME's -listxml output. The inputs are written by hand after the two layouts
// MAME has printed: <game> elements (0.70 to 0.161; modelled on 0.106) and <machine> elements (0.162
// on; modelled on 0.26x).
#include <cstdint>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <string>
#include <vector>

#include "catalogue/IoError.h"
#include "catalogue/ListInfoReader.h"
#include "catalogue/ListXmlReader.h"
#include "catalogue/TextCodec.h"
#include "tests/support/Catalogues.h"
#include "tests/support/RecordingProgress.h"
#include "tests/support/TempFolder.h"

namespace kanaroll {
namespace {

using ::testing::ElementsAre;
using testing::TempFolder;

struct ReadOutcome {
    bool ok = false;
    GameList games;
};

ReadOutcome Read(std::string_view bytes, const TextCodec& codec = ShiftJisCodec()) {
    TempFolder folder;
    ReadOutcome outcome;
    NoLoadProgress progress;
    outcome.ok = ReadListInfo(folder.Write("listinfo.txt", bytes), outcome.games, progress, codec);
    return outcome;
}

std::string Document(std::string_view machines) {
    return "<?xml version=\"1.0\"?>\n<mame build=\"0.262 (mame0262)\" debug=\"no\" mameconfig=\"10\">\n" +
           std::string(machines) + "</mame>\n";
}

// The one game of a document whose only machine has these attributes and children.
TRecordset ReadMachine(std::string_view attributes, std::string_view children) {
    const ReadOutcome outcome = Read(Document("\t<machine name=\"g\"" + std::string(attributes) + ">\n" +
                                              std::string(children) + "\t</machine>\n"));
    EXPECT_TRUE(outcome.ok);
    EXPECT_EQ(outcome.games.Count(), 1);
    return outcome.games.Empty() ? TRecordset{} : outcome.games[0];
}

using testing::ZipNames;

// As MAME 0.262 prints it, with the DTD cut short.
constexpr std::string_view kMachineLayout = R"xml(<?xml version="1.0"?>
<!DOCTYPE mame [
<!ELEMENT mame (machine+)>
	<!ATTLIST mame build CDATA #IMPLIED>
	<!ATTLIST mame debug (yes|no) "no">
	<!ELEMENT machine (description, year?, manufacturer?, biosset*, rom*, disk*, device_ref*, sample*, chip*, display*, sound?, input?, dipswitch*, configuration*, port*, adjuster*, driver?, feature*, device*, slot*, softwarelist*, ramoption*)>
		<!ATTLIST machine name CDATA #REQUIRED>
		<!ATTLIST machine isbios (yes|no) "no">
		<!ATTLIST machine runnable (yes|no) "yes">
]>

<mame build="0.262 (mame0262)" debug="no" mameconfig="10">
	<machine name="neogeo" sourcefile="neogeo/neogeo.cpp" isbios="yes">
		<description>Neo-Geo MV-6F</description>
		<year>1990</year>
		<manufacturer>SNK</manufacturer>
	</machine>
	<machine name="puckman" sourcefile="pacman/pacman.cpp">
		<description>Puck Man (Japan set 1)</description>
		<year>1980</year>
		<manufacturer>Namco</manufacturer>
		<rom name="pm1_prg1.6e" size="2048" crc="f36e88ab" sha1="813cecf44bf5464b1aed64b36f5047e4c79ba176" region="maincpu" offset="0"/>
		<device_ref name="z80"/>
		<device_ref name="namco"/>
		<chip type="cpu" tag="maincpu" name="Zilog Z80" clock="3072000"/>
		<chip type="audio" tag="speaker" name="Speaker"/>
		<chip type="audio" tag="namco" name="Namco" clock="96000"/>
		<display tag="screen" type="raster" rotate="90" width="288" height="224" refresh="60.606061" pixclock="6144000" htotal="384" hbend="0" hbstart="288" vtotal="264" vbend="0" vbstart="224" />
		<sound channels="1"/>
		<input players="2" coins="2" service="yes">
			<control type="joy" player="1" ways="4"/>
			<control type="joy" player="2" ways="4"/>
		</input>
		<dipswitch name="Coinage" tag="DSW1" mask="3">
			<diplocation name="SW1" number="1"/>
			<dipvalue name="2 Coins/1 Credit" value="3"/>
			<dipvalue name="1 Coin/1 Credit" value="1" default="yes"/>
		</dipswitch>
		<driver status="good" emulation="good" savestate="supported"/>
	</machine>
	<machine name="pacman" sourcefile="pacman/pacman.cpp" cloneof="puckman" romof="puckman">
		<description>Pac-Man (Midway)</description>
		<year>1980</year>
		<manufacturer>Namco (Midway license)</manufacturer>
		<chip type="cpu" tag="maincpu" name="Zilog Z80" clock="3072000"/>
		<display tag="screen" type="raster" rotate="90" width="288" height="224" refresh="60.606061" />
		<sound channels="1"/>
		<input players="2" coins="2">
			<control type="joy" player="1" ways="4"/>
		</input>
		<driver status="good" emulation="good" savestate="supported"/>
	</machine>
	<machine name="mslug" sourcefile="neogeo/neogeo.cpp" romof="neogeo">
		<description>Metal Slug - Super Vehicle-001</description>
		<year>1996</year>
		<manufacturer>Nazca</manufacturer>
		<biosset name="euro" description="Europe MVS (Ver. 2)" default="yes"/>
		<chip type="cpu" tag="maincpu" name="Motorola MC68000" clock="12000000"/>
		<chip type="cpu" tag="audiocpu" name="Zilog Z80" clock="4000000"/>
		<chip type="audio" tag="ymsnd" name="Yamaha YM2610" clock="8000000"/>
		<display tag="screen" type="raster" rotate="0" width="320" height="224" refresh="59.185606" />
		<sound channels="2"/>
		<input players="2" coins="2" service="yes">
			<control type="joy" player="1" buttons="4" ways="8"/>
		</input>
		<driver status="good" emulation="good" savestate="supported"/>
	</machine>
	<machine name="z80" sourcefile="src/devices/cpu/z80/z80.cpp" isdevice="yes" runnable="no">
		<description>Zilog Z80</description>
	</machine>
	<machine name="asteroid" sourcefile="atari/asteroid.cpp" sampleof="asteroid">
		<description>Asteroids (rev 4)</description>
		<year>1979</year>
		<manufacturer>Atari</manufacturer>
		<sample name="explode1"/>
		<chip type="cpu" tag="maincpu" name="MOS Technology 6502" clock="1512000"/>
		<chip type="audio" tag="discrete" name="Discrete"/>
		<display tag="screen" type="vector" flipx="no" refresh="61.523438" />
		<sound channels="1"/>
		<input players="2" coins="2" tilt="yes">
			<control type="only_buttons" buttons="4"/>
		</input>
		<driver status="imperfect" emulation="good" savestate="supported"/>
	</machine>
</mame>
)xml";

TEST(ReadListXml, ReadsTheMachineLayoutOfTodaysMame) {
    const ReadOutcome outcome = Read(kMachineLayout);
    ASSERT_TRUE(outcome.ok);
    // The BIOS and the device are left out, and the order counts only the games taken.
    EXPECT_THAT(ZipNames(outcome.games), ElementsAre("puckman#0", "pacman#1", "mslug#2", "asteroid#3"));

    const TRecordset& puckman = outcome.games[0];
    EXPECT_EQ(puckman.englishName, "Puck Man (Japan set 1)");
    EXPECT_EQ(puckman.japaneseName, "Puck Man (Japan set 1)");
    EXPECT_EQ(puckman.reading, "");
    EXPECT_EQ(puckman.year, "1980");
    EXPECT_EQ(puckman.manufacturer, "Namco");
    EXPECT_TRUE(puckman.isMaster);
    EXPECT_EQ(puckman.parentName, "");
    EXPECT_FALSE(puckman.translated);
    EXPECT_FALSE(puckman.isNeoGeo);
    EXPECT_FALSE(puckman.isVector);
    EXPECT_FALSE(puckman.hasSamples);
    EXPECT_TRUE(puckman.statusGood);
    EXPECT_EQ(puckman.controlType, "joy4way");
    EXPECT_EQ(puckman.soundChannels, 1);
    EXPECT_EQ(puckman.cpuText, "Zilog Z80 @ 3.072000MHz");
    EXPECT_EQ(puckman.soundText, "Speaker, Namco @ 96.000KHz");
    EXPECT_EQ(puckman.paletteSize, 0);
    // Today's MAME gives no palette size, so there is no colour count to show.
    EXPECT_EQ(puckman.videoText, "288 x 224 @ 60.606061Hz");

    const TRecordset& pacman = outcome.games[1];
    EXPECT_FALSE(pacman.isMaster);
    EXPECT_EQ(pacman.parentName, "puckman");
    EXPECT_FALSE(pacman.isNeoGeo);
    EXPECT_EQ(pacman.manufacturer, "Namco (Midway license)");

    const TRecordset& mslug = outcome.games[2];
    EXPECT_TRUE(mslug.isNeoGeo);
    EXPECT_TRUE(mslug.isMaster);
    EXPECT_EQ(mslug.controlType, "joy8way");
    EXPECT_EQ(mslug.soundChannels, 2);
    EXPECT_EQ(mslug.cpuText, "Motorola MC68000 @ 12.000000MHz, Zilog Z80 @ 4.000000MHz");
    EXPECT_EQ(mslug.soundText, "Yamaha YM2610 @ 8.000000MHz");
    EXPECT_EQ(mslug.videoText, "320 x 224 @ 59.185606Hz");

    const TRecordset& asteroid = outcome.games[3];
    EXPECT_TRUE(asteroid.isVector);
    EXPECT_TRUE(asteroid.hasSamples);
    EXPECT_FALSE(asteroid.statusGood);
    EXPECT_EQ(asteroid.controlType, "only_buttons");
    EXPECT_EQ(asteroid.videoText, "Vector Game");
    EXPECT_EQ(asteroid.soundText, "Discrete");
}

// As MAME 0.106 printed it: <game>, <video>, a control attribute, soundonly and palettesize.
constexpr std::string_view kGameLayout = R"xml(<?xml version="1.0"?>
<!DOCTYPE mame [
<!ELEMENT mame (game+)>
	<!ELEMENT game (description, year?, manufacturer, history?, biosset*, rom*, disk*, sample*, chip*, video?, sound?, input?, dipswitch*, driver?)>
		<!ATTLIST game name CDATA #REQUIRED>
		<!ATTLIST game runnable (yes|no) "yes">
		<!ELEMENT chip EMPTY>
			<!ATTLIST chip type (cpu|audio) #REQUIRED>
			<!ATTLIST chip soundonly (yes|no) "no">
]>

<mame build="0.106 (Jun 12 2006)">
	<game name="galaxian" sourcefile="galaxian.c">
		<description>Galaxian (Namco set 1)</description>
		<year>1979</year>
		<manufacturer>Namco</manufacturer>
		<rom name="galmidw.u" size="2048" crc="745e2d61" sha1="e65f74e73b4fc2e9b2f2c9d84d4a4b3a0e1c3f79" region="cpu1" offset="0"/>
		<chip type="cpu" name="Z80" clock="3072000"/>
		<chip type="audio" name="Custom"/>
		<video screen="raster" orientation="vertical" width="224" height="256" aspectx="3" aspecty="4" refresh="60.606060"/>
		<sound channels="1"/>
		<input players="2" buttons="1" coins="2" control="joy2way"/>
		<driver status="good" color="good" sound="good" palettesize="98"/>
	</game>
	<game name="neogeo" sourcefile="neogeo.c" runnable="no">
		<description>Neo-Geo</description>
		<year>1990</year>
		<manufacturer>SNK</manufacturer>
	</game>
	<game name="1941" sourcefile="cps1.c">
		<description>1941 - Counter Attack (World)</description>
		<year>1990</year>
		<manufacturer>Capcom</manufacturer>
		<chip type="cpu" name="68000" clock="10000000"/>
		<chip type="cpu" name="Z80" clock="3579545" soundonly="yes"/>
		<chip type="audio" name="YM2151" clock="3579545"/>
		<chip type="audio" name="OKIM6295" clock="7576"/>
		<video screen="raster" orientation="vertical" width="384" height="224" aspectx="4" aspecty="3" refresh="59.637405"/>
		<sound channels="2"/>
		<input players="2" buttons="2" coins="2" control="joy8way"/>
		<driver status="preliminary" color="good" sound="good" palettesize="4096"/>
	</game>
	<game name="bzone" sourcefile="bzone.c">
		<description>Battle Zone (rev 2)</description>
		<year>1980</year>
		<manufacturer>Atari</manufacturer>
		<chip type="cpu" name="M6502" clock="1512000"/>
		<video screen="vector" orientation="horizontal" refresh="40.000000"/>
		<sound channels="1"/>
		<input players="1" buttons="3" coins="2" control="doublejoy2way"/>
		<driver status="good" color="good" sound="good" palettesize="32768"/>
	</game>
</mame>
)xml";

TEST(ReadListXml, ReadsTheGameLayoutOfOlderMame) {
    const ReadOutcome outcome = Read(kGameLayout);
    ASSERT_TRUE(outcome.ok);
    EXPECT_THAT(ZipNames(outcome.games), ElementsAre("galaxian#0", "1941#1", "bzone#2"));

    const TRecordset& galaxian = outcome.games[0];
    EXPECT_EQ(galaxian.englishName, "Galaxian (Namco set 1)");
    EXPECT_EQ(galaxian.controlType, "joy2way");
    EXPECT_EQ(galaxian.paletteSize, 98);
    EXPECT_EQ(galaxian.videoText, "224 x 256 @ 60.606060Hz, 98 Colors");
    EXPECT_EQ(galaxian.cpuText, "Z80 @ 3.072000MHz");
    EXPECT_EQ(galaxian.soundText, "Custom");
    EXPECT_TRUE(galaxian.statusGood);

    const TRecordset& capcom = outcome.games[1];
    EXPECT_EQ(capcom.cpuText, "68000 @ 10.000000MHz, Z80 @ 3.579545MHz (sound)");
    EXPECT_EQ(capcom.soundText, "YM2151 @ 3.579545MHz, OKIM6295 @ 7.576KHz");
    EXPECT_EQ(capcom.videoText, "384 x 224 @ 59.637405Hz, 4096 Colors");
    EXPECT_EQ(capcom.soundChannels, 2);
    EXPECT_FALSE(capcom.statusGood);

    const TRecordset& bzone = outcome.games[2];
    EXPECT_TRUE(bzone.isVector);
    EXPECT_EQ(bzone.paletteSize, 32768);
    EXPECT_EQ(bzone.videoText, "Vector Game");
    EXPECT_EQ(bzone.controlType, "doublejoy2way");
}

TEST(ReadListXml, DefaultsHoldForAMachineThatGivesNothing) {
    const TRecordset game = ReadMachine("", "");
    EXPECT_EQ(game.zipName, "g");
    EXPECT_EQ(game.englishName, "");
    EXPECT_EQ(game.year, "????");
    EXPECT_TRUE(game.isMaster);
    EXPECT_EQ(game.soundChannels, 0);
    EXPECT_EQ(game.cpuText, "");
    EXPECT_EQ(game.videoText, "");
    EXPECT_FALSE(game.statusGood);

    // A self-closing machine is a machine too, and an empty year is taken as written.
    const ReadOutcome outcome = Read(Document("<machine name=\"a\"/><game name=\"b\"><year/></game>"));
    ASSERT_TRUE(outcome.ok);
    EXPECT_THAT(ZipNames(outcome.games), ElementsAre("a#0", "b#1"));
    EXPECT_EQ(outcome.games[1].year, "");
}

TEST(ReadListXml, MachineAttributes) {
    EXPECT_TRUE(ReadMachine(" romof=\"neogeo\"", "").isNeoGeo);
    EXPECT_FALSE(ReadMachine(" romof=\"neogeo2\"", "").isNeoGeo);
    EXPECT_TRUE(ReadMachine(" sampleof=\"invaders\"", "").hasSamples);
    EXPECT_TRUE(ReadMachine("", "<sample name=\"1\"/>").hasSamples);
    EXPECT_FALSE(ReadMachine(" isbios=\"no\" isdevice=\"no\" runnable=\"yes\"", "").zipName.empty());

    const ReadOutcome skipped =
        Read(Document("<machine name=\"bios\" isbios=\"yes\"/><machine name=\"dev\" isdevice=\"yes\"/>"
                      "<machine name=\"a\"/><machine name=\"norun\" runnable=\"no\"/><game name=\"b\"/>"
                      "<softwarelist name=\"not a machine\"/>"));
    ASSERT_TRUE(skipped.ok);
    EXPECT_THAT(ZipNames(skipped.games), ElementsAre("a#0", "b#1"));
}

TEST(ReadListXml, ChipsAreDescribedAndGroupedAsForListInfo) {
    const TRecordset game = ReadMachine(
        "",
        "<chip type=\"cpu\" name=\"Z80\" clock=\"3072000\"/><chip type=\"cpu\" name=\"M6809\" "
        "clock=\"1500000\"/>"
        "<chip type=\"cpu\" name=\"Z80\" clock=\"3072000\"/><chip type=\"cpu\" name=\"Z80\" "
        "clock=\"3072000\" "
        "soundonly=\"yes\"/><chip type=\"cpu\" name=\"I8039\" clock=\"999999\"/>"
        "<chip type=\"audio\" name=\"DAC\"/><chip type=\"audio\" name=\"YM2203\" clock=\"3000000\"/>"
        "<chip type=\"audio\" name=\"DAC\"/><chip type=\"audio\" name=\"AY-3-8910\" clock=\"1000000\"/>"
        "<chip type=\"video\" name=\"not listed\"/>");
    EXPECT_EQ(game.cpuText,
              "2 x Z80 @ 3.072000MHz, M6809 @ 1.500000MHz, Z80 @ 3.072000MHz (sound), I8039 @ 999.999KHz");
    EXPECT_EQ(game.soundText, "2 x DAC, YM2203 @ 3.000000MHz, AY-3-8910 @ 1.000000MHz");

    // Clocks beyond 32 bits, as today's fastest CPUs have; a CPU without a clock is its name.
    EXPECT_EQ(ReadMachine("",
                          "<chip type=\"cpu\" name=\"Pentium 4\" clock=\"3200000000\"/>"
                          "<chip type=\"cpu\" name=\"Netlist\"/>")
                  .cpuText,
              "Pentium 4 @ 3200.000000MHz, Netlist");
}

TEST(ReadListXml, ScreensGiveTheFirstRasterSizeOrVectorGame) {
    EXPECT_EQ(ReadMachine("",
                          "<display type=\"raster\" width=\"256\" height=\"224\" refresh=\"60\"/>"
                          "<display type=\"raster\" width=\"640\" height=\"480\" refresh=\"30\"/>")
                  .videoText,
              "256 x 224 @ 60Hz");
    EXPECT_EQ(ReadMachine("", "<display type=\"lcd\" width=\"160\" height=\"144\" refresh=\"59.732155\"/>")
                  .videoText,
              "160 x 144 @ 59.732155Hz");
    // Without a size the rate has nothing to go with, as in the -listinfo video rule.
    EXPECT_EQ(ReadMachine("", "<display type=\"raster\" refresh=\"60\"/>").videoText, "");
    EXPECT_EQ(ReadMachine("", "<display type=\"raster\" width=\"256\" height=\"224\"/>").videoText,
              "256 x 224");
    EXPECT_EQ(ReadMachine("", "<driver palettesize=\"0\"/>").videoText, ", 0 Colors");

    const TRecordset both =
        ReadMachine("",
                    "<display type=\"raster\" width=\"256\" height=\"224\" refresh=\"60\"/>"
                    "<display type=\"vector\" refresh=\"60\"/><driver palettesize=\"16\"/>");
    EXPECT_TRUE(both.isVector);
    EXPECT_EQ(both.videoText, "Vector Game");
    EXPECT_EQ(both.paletteSize, 16);
}

TEST(ReadListXml, SoundInputAndDriver) {
    EXPECT_EQ(ReadMachine("", "<sound channels=\"12\"/>").soundChannels, 12);
    EXPECT_EQ(ReadMachine("", "<input players=\"1\"/>").controlType, "");
    EXPECT_EQ(ReadMachine("", "<input><control type=\"joy\" ways=\"8\"/><control type=\"dial\"/></input>")
                  .controlType,
              "joy8way");
    EXPECT_EQ(ReadMachine("", "<input><control type=\"trackball\" player=\"1\"/></input>").controlType,
              "trackball");
    EXPECT_EQ(ReadMachine("", "<input><control type=\"joy\" ways=\"vertical2\"/></input>").controlType,
              "vjoy2way");
    EXPECT_EQ(
        ReadMachine("", "<input><control type=\"doublejoy\" ways=\"8\" ways2=\"8\"/></input>").controlType,
        "doublejoy8way");
    EXPECT_EQ(ReadMachine("", "<input><control type=\"joy\" ways=\"5 (half8)\"/></input>").controlType,
              "joy5way");
    EXPECT_EQ(ReadMachine("", "<input><control type=\"joy\" ways=\"strange\"/></input>").controlType, "joy");
    EXPECT_TRUE(ReadMachine("", "<driver status=\"good\"/>").statusGood);
    EXPECT_FALSE(ReadMachine("", "<driver status=\"imperfect\" emulation=\"good\"/>").statusGood);
}

TEST(ReadListXml, EntitiesReferencesAndCDataAreDecoded) {
    const TRecordset game = ReadMachine(" name=\"a&amp;b\"",
                                        "<description>&quot;Tom &amp; Jerry&quot; &lt;&#74;&#x61;pan&gt; "
                                        "&apos;<![CDATA[<raw> &amp;]]></description>"
                                        "<manufacturer>Sega &#x2F; Toaplan</manufacturer>");
    EXPECT_EQ(game.zipName, "a&b");
    EXPECT_EQ(game.englishName, "\"Tom & Jerry\" <Japan> '<raw> &amp;");
    EXPECT_EQ(game.japaneseName, game.englishName);
    EXPECT_EQ(game.manufacturer, "Sega / Toaplan");
}

TEST(ReadListXml, Utf8TextsAreConvertedAndWhatShiftJisLacksBecomesAQuestionMark) {
    const std::string machine = Document(
        "<machine name=\"puyo\"><description>ぷよぷよ Pokémon 🎮</description>"
        "<manufacturer>T&#x14D;y&#x14D; / 東亜</manufacturer></machine>");
    const ReadOutcome shiftJis = Read(machine);
    ASSERT_TRUE(shiftJis.ok);
    EXPECT_EQ(shiftJis.games[0].englishName, Sjis("ぷよぷよ Pok") + "?mon ?");
    EXPECT_EQ(shiftJis.games[0].manufacturer, "T?y? / " + Sjis("東亜"));

    const ReadOutcome utf8 = Read(machine, Utf8Codec());
    ASSERT_TRUE(utf8.ok);
    EXPECT_EQ(utf8.games[0].englishName, "ぷよぷよ Pokémon 🎮");
    EXPECT_EQ(utf8.games[0].manufacturer, "Tōyō / 東亜");
}

TEST(ReadListXml, AMalformedElementOrABadNumberFailsAndKeepsTheGamesBeforeIt) {
    const std::string before = "<machine name=\"a\"/><machine name=\"b\"><year>1980</year></machine>";
    for (const std::string bad : {
             "<machine name=\"c\"><year>1981</yaer></machine>",  // end tag of another element
             "<machine name=\"c\" name2=oops/>",                 // unquoted attribute
             "<machine name=\"c\"><description>&#x110000;</description></machine>",  // no character
             "<machine name=\"c\"><chip type=\"cpu\" name=\"Z80\" clock=\"3.5MHz\"/></machine>",
             "<machine name=\"c\"><chip type=\"audio\" name=\"DAC\" clock=\"\"/></machine>",
             "<machine name=\"c\"><sound channels=\"two\"/></machine>",
             "<machine name=\"c\"><driver palettesize=\"\"/></machine>",
         }) {
        const ReadOutcome outcome = Read(Document(before + bad + "<machine name=\"d\"/>"));
        EXPECT_FALSE(outcome.ok) << bad;
        EXPECT_THAT(ZipNames(outcome.games), ElementsAre("a#0", "b#1")) << bad;
    }
}

TEST(ReadListXml, NestingIsParsedAsDeepAsTheSplitterAllows) {
    std::string deep = "<machine name=\"deep\">";
    for (std::size_t i = 1; i < ListXmlElements::kMaxDepth; ++i) deep += "<configuration>";
    for (std::size_t i = 1; i < ListXmlElements::kMaxDepth; ++i) deep += "</configuration>";
    const ReadOutcome outcome = Read(Document(deep + "</machine><machine name=\"next\"/>"));
    ASSERT_TRUE(outcome.ok);
    EXPECT_THAT(ZipNames(outcome.games), ElementsAre("deep#0", "next#1"));
    const std::string deeper =
        "<machine name=\"x\"><input>" + deep.substr(deep.find('>') + 1) + "</input></machine>";
    const std::string deeperLeftOut =
        "<machine name=\"x\"><dipswitch>" + deep.substr(deep.find('>') + 1) + "</dipswitch></machine>";
    for (const std::string& tooDeep : {deeper, deeperLeftOut}) {
        const ReadOutcome refused = Read(Document("<machine name=\"a\"/>" + tooDeep));
        EXPECT_FALSE(refused.ok);
        EXPECT_THAT(ZipNames(refused.games), ElementsAre("a#0"));
    }
}

// A file cut short (MAME stopped while writing it) reads as a -listinfo file cut short does: the
// machines before the cut, and no failure.
TEST(ReadListXml, ATruncatedFileKeepsTheWholeMachinesReadBeforeTheCut) {
    const std::string text(kMachineLayout);
    const ReadOutcome insideMachine = Read(text.substr(0, text.find("<sound", text.find("mslug"))));
    EXPECT_TRUE(insideMachine.ok);
    EXPECT_THAT(ZipNames(insideMachine.games), ElementsAre("puckman#0", "pacman#1"));

    // Inside a child that is left out unparsed, as inside any other.
    const ReadOutcome insideDipSwitch = Read(text.substr(0, text.find("<dipvalue") + 20));
    EXPECT_TRUE(insideDipSwitch.ok);
    EXPECT_THAT(ZipNames(insideDipSwitch.games), ElementsAre());

    const ReadOutcome insideTag = Read(text.substr(0, text.find("mslug") + 2));
    EXPECT_TRUE(insideTag.ok);
    EXPECT_THAT(ZipNames(insideTag.games), ElementsAre("puckman#0", "pacman#1"));

    const ReadOutcome betweenMachines = Read(text.substr(0, text.find("</mame>")));
    EXPECT_TRUE(betweenMachines.ok);
    EXPECT_EQ(betweenMachines.games.Count(), 4);

    // A file of nothing but its prolog holds no catalogue at all.
    EXPECT_FALSE(Read("<?xml version=\"1.0\"?>\n").ok);
}

TEST(ReadListXml, OnlyAFileThatBeginsAsXmlIsReadAsXml) {
    const std::string machine = "<mame><machine name=\"a\"/></mame>";
    TempFolder folder;
    EXPECT_TRUE(IsListXml(folder.Write("1", "\xEF\xBB\xBF \r\n\t<?xml version=\"1.0\"?>" + machine)));
    EXPECT_TRUE(IsListXml(folder.Write("2", machine)));
    EXPECT_TRUE(IsListXml(folder.Write("3", std::string(10000, ' ') + "<mame>")));
    EXPECT_FALSE(IsListXml(folder.Write("4", "game (\n\tname a\n")));
    EXPECT_FALSE(IsListXml(folder.Write("5", "<!DOCTYPE mame>" + machine)));
    EXPECT_FALSE(IsListXml(folder.Write("6", "<?xm")));
    EXPECT_FALSE(IsListXml(folder.Write("7", "\xEF\xBB\xBF")));
    EXPECT_FALSE(IsListXml(folder.Write("8", "")));
    EXPECT_FALSE(IsListXml(folder.Write("9", " \xEF\xBB\xBF<mame>")));  // the mark counts only first

    const ReadOutcome withBom = Read("\xEF\xBB\xBF\r\n" + machine);
    ASSERT_TRUE(withBom.ok);
    EXPECT_THAT(ZipNames(withBom.games), ElementsAre("a#0"));

    // -listinfo text that merely holds XML is read as -listinfo.
    const ReadOutcome listInfo = Read("game (\n\tname x\n\tdescription \"<mame>\"\n)\n\n");
    ASSERT_TRUE(listInfo.ok);
    EXPECT_EQ(listInfo.games[0].englishName, "<mame>");
}

using testing::RecordingProgress;

TEST(ReadListXml, ShowsTheSameProgressAsListInfoAndRestoresTheCursorOnFailure) {
    TempFolder folder;
    GameList games;
    RecordingProgress success;
    EXPECT_TRUE(ReadListInfo(folder.Write("ok.xml", Document("<machine name=\"a\"/>")), games, success));
    EXPECT_THAT(success.calls, ElementsAre("text0:listinfo.txtを解析中...", "pump", "wait", "restore",
                                           "text0:", "text1:", "text2:"));
    RecordingProgress failure;
    EXPECT_FALSE(ReadListInfo(folder.Write("bad.xml", Document("<machine name=\"a\">")), games, failure));
    EXPECT_THAT(failure.calls, ElementsAre("text0:listinfo.txtを解析中...", "pump", "wait", "restore"));
}

// Bytes changed, dropped and repeated at random places: `edits` of them, by the generator `next`.
template <typename Random>
std::string Damage(std::string text, Random& next) {
    static constexpr char kByteList[] = "<>/\"'=&;#x![]-?CDATA \n\0\xFF";
    constexpr std::string_view kBytes(kByteList, sizeof kByteList - 1);
    const int edits = 1 + static_cast<int>(next() % 6);
    for (int edit = 0; edit < edits; ++edit) {
        const std::size_t at = next() % text.size();
        switch (next() % 3) {
            case 0:
                text[at] = kBytes[next() % kBytes.size()];
                break;
            case 1:
                text.erase(at, next() % 40);
                break;
            default:
                text.insert(at, text.substr(next() % text.size(), next() % 60));
                break;
        }
    }
    return text;
}

// A reproducible generator for Damage.
struct Lcg {
    std::uint32_t state = 12345;
    std::uint32_t operator()() {
        state = state * 1103515245u + 12345u;
        return state >> 8;
    }
};

// Damaged files must give a result, never a crash, a hang or a read outside the buffers (the
// native build runs this under ASan and UBSan). Whatever is read keeps listOrder in step with the
// list.
TEST(ReadListXml, DamagedFilesNeverCrash) {
    const std::string original = std::string(kMachineLayout) + std::string(kGameLayout);
    Lcg next;
    int failures = 0;
    for (int round = 0; round < 300; ++round) {
        const ReadOutcome outcome = Read(Damage(original, next));
        failures += outcome.ok ? 0 : 1;
        for (int i = 0; i < outcome.games.Count(); ++i) ASSERT_EQ(outcome.games[i].listOrder, i);
    }
    EXPECT_GT(failures, 0);
}

// Every field of every game, for comparing two reads.
std::vector<std::string> AllFields(const GameList& games) {
    std::vector<std::string> all;
    for (const auto& game : games.Items()) {
        const TRecordset& g = *game;
        std::string fields;
        for (const std::string* text :
             {&g.zipName, &g.englishName, &g.japaneseName, &g.reading, &g.manufacturer, &g.year,
              &g.parentName, &g.controlType, &g.cpuText, &g.soundText, &g.videoText}) {
            fields += *text + '|';
        }
        for (const bool flag : {g.isMaster, g.translated, g.isNeoGeo, g.isVector, g.hasSamples, g.statusGood})
            fields += flag ? '1' : '0';
        for (const std::int32_t number : {g.soundChannels, g.listOrder, g.paletteSize})
            fields += '|' + std::to_string(number);
        all.push_back(fields);
    }
    return all;
}

struct DirectRead {
    bool ok = true;
    std::vector<std::string> games;  // AllFields
};

DirectRead ReadParsing(std::string_view bytes, ListXmlParsing parsing) {
    TempFolder folder;
    DirectRead read;
    GameList games;
    try {
        ReadListXml(folder.Write("listinfo.txt", bytes), games, ShiftJisCodec(), parsing);
    } catch (const XmlFormatError&) {
        read.ok = false;
    } catch (const ConversionError&) {
        read.ok = false;
    }
    read.games = AllFields(games);
    return read;
}

// Leaving out the children the catalogue does not use changes nothing in the catalogue.
TEST(ReadListXml, ParsingOnlyTheUsedChildrenGivesTheCatalogueOfWholeElements) {
    for (const std::string_view layout : {kMachineLayout, kGameLayout}) {
        const DirectRead used = ReadParsing(layout, ListXmlParsing::UsedChildren);
        const DirectRead whole = ReadParsing(layout, ListXmlParsing::WholeElements);
        ASSERT_TRUE(used.ok);
        ASSERT_TRUE(whole.ok);
        EXPECT_EQ(used.games, whole.games);
    }
}

// On damaged files too: wherever a whole parse reads a game, the quick one reads the same game,
// and it refuses a file only where the whole parse does. (It may read on where the whole parse
// stops at a malformed attribute of a child the catalogue does not use.)
TEST(ReadListXml, DamagedFilesGiveTheGamesAWholeParseGives) {
    const std::string original = std::string(kMachineLayout) + std::string(kGameLayout);
    Lcg next;
    int differences = 0;
    for (int round = 0; round < 400; ++round) {
        const std::string damaged = Damage(original, next);
        const DirectRead used = ReadParsing(damaged, ListXmlParsing::UsedChildren);
        const DirectRead whole = ReadParsing(damaged, ListXmlParsing::WholeElements);
        ASSERT_LE(whole.games.size(), used.games.size()) << damaged;
        for (std::size_t i = 0; i < whole.games.size(); ++i)
            ASSERT_EQ(used.games[i], whole.games[i]) << damaged;
        if (whole.ok) {
            ASSERT_TRUE(used.ok) << damaged;
            ASSERT_EQ(used.games.size(), whole.games.size()) << damaged;
        }
        differences += whole.ok != used.ok ? 1 : 0;
    }
    EXPECT_GT(differences, 0);
}

// A child the catalogue does not use may hold anything that looks like the end of its machine: in
// an attribute value, a comment, a CDATA section, or as an entity.
TEST(ReadListXml, WhatLooksLikeAnEndInsideALeftOutChildEndsNothing) {
    const ReadOutcome outcome =
        Read(Document("<machine name=\"a\">\n"
                      "\t<description>Alpha</description>\n"
                      "\t<rom name=\"</machine>\" size=\"1\"/>\n"
                      "\t<!-- </machine><machine name=\"fake\"> -->\n"
                      "\t<dipswitch name=\"&lt;/machine&gt;\"><![CDATA[</machine>]]><?x </machine> ?>\n"
                      "\t\t<dipvalue name='</machine>' value=\"&#60;/machine>\"/>\n"
                      "\t</dipswitch>\n"
                      "\t<chip type=\"cpu\" name=\"Z80\" clock=\"3072000\"/>\n"
                      "\t<driver status=\"good\"/>\n"
                      "</machine>\n"
                      "<machine name=\"b\"><year>1982</year></machine>\n"));
    ASSERT_TRUE(outcome.ok);
    EXPECT_THAT(ZipNames(outcome.games), ElementsAre("a#0", "b#1"));
    EXPECT_EQ(outcome.games[0].englishName, "Alpha");
    EXPECT_EQ(outcome.games[0].cpuText, "Z80 @ 3.072000MHz");
    EXPECT_TRUE(outcome.games[0].statusGood);
    EXPECT_EQ(outcome.games[1].year, "1982");
}

// What a whole parse refuses in a left-out child is refused still, but for the syntax of its
// attributes, which is not parsed.
TEST(ReadListXml, ALeftOutChildIsCheckedForAllButItsAttributes) {
    const std::string before = "<machine name=\"a\"/>";
    for (const std::string bad : {"<dipswitch></dipswatch>", "<rom name=\"&#x110000;\"/>",
                                  "<rom name=\"&#65\"/>", "<dipswitch>&#1114112;</dipswitch>"}) {
        const ReadOutcome outcome = Read(Document(before + "<machine name=\"b\">" + bad + "</machine>"));
        EXPECT_FALSE(outcome.ok) << bad;
        EXPECT_THAT(ZipNames(outcome.games), ElementsAre("a#0")) << bad;
    }
    const std::string unparsed =
        Document(before + "<machine name=\"b\"><rom name=oops/><rom name/></machine>");
    EXPECT_TRUE(ReadParsing(unparsed, ListXmlParsing::UsedChildren).ok);
    EXPECT_FALSE(ReadParsing(unparsed, ListXmlParsing::WholeElements).ok);
}

// An entity declared by the document may stand for anything, an end tag too; the parser keeps it as
// it stands wherever it is used, so it ends no machine, in a left-out child or a used one.
TEST(ReadListXml, ADeclaredEntityEndsNothingWhereverItIsUsed) {
    const std::string document =
        "<?xml version=\"1.0\"?>\n"
        "<!DOCTYPE mame [\n<!ENTITY end \"</machine>\">\n<!ENTITY fake '<machine name=\"fake\">'>\n]>\n"
        "<mame>\n"
        "<machine name=\"a\">\n"
        "\t<rom name=\"&end;&fake;\" size=\"1\"/>\n"
        "\t<dipswitch name=\"x\">&end;<dipvalue name=\"&fake;\"/>&end;</dipswitch>\n"
        "\t<description>A&end;</description>\n"
        "\t<year>1980</year>\n"
        "</machine>\n"
        "<machine name=\"b\"/>\n"
        "</mame>\n";
    const ReadOutcome outcome = Read(document);
    ASSERT_TRUE(outcome.ok);
    EXPECT_THAT(ZipNames(outcome.games), ElementsAre("a#0", "b#1"));
    EXPECT_EQ(outcome.games[0].englishName, "A&end;");
    EXPECT_EQ(outcome.games[0].year, "1980");
    EXPECT_EQ(ReadParsing(document, ListXmlParsing::UsedChildren).games,
              ReadParsing(document, ListXmlParsing::WholeElements).games);
}

// A cut at any byte of a machine, inside a left-out child's attribute value, comment, CDATA section,
// processing instruction or reference as anywhere else, keeps the machines before it and fails
// nothing.
TEST(ReadListXml, ACutAnywhereInsideALeftOutChildKeepsTheMachinesBefore) {
    const std::string first = "<machine name=\"a\"><description>A</description></machine>\n";
    const std::string second =
        "<machine name=\"b\">\n"
        "\t<rom name=\"</machine>\" size=\"1\"/>\n"
        "\t<!-- </machine> -->\n"
        "\t<dipswitch name=\"&lt;/machine&gt;\"><![CDATA[</machine>]]><?x </machine> ?>\n"
        "\t\t<dipvalue name='</machine>' value=\"&#60;/machine>\"/>\n"
        "\t</dipswitch>\n"
        "\t<driver status=\"good\"/>\n"
        "</machine>";
    const std::string text = Document(first + second);
    const std::size_t start = text.find(second);
    for (std::size_t length = start; length < start + second.size(); ++length) {
        const ReadOutcome outcome = Read(text.substr(0, length));
        EXPECT_TRUE(outcome.ok) << "cut at " << length;
        EXPECT_THAT(ZipNames(outcome.games), ElementsAre("a#0")) << "cut at " << length;
    }
    EXPECT_THAT(ZipNames(Read(text.substr(0, start + second.size())).games), ElementsAre("a#0", "b#1"));
}

// Quotes in the names of left-out children, which the parser takes as bytes of the names, open no
// value: the machine ends where the parser ends it, and both reads give the same games.
TEST(ReadListXml, AQuoteInTheNameOfALeftOutChildEndsItsMachineWhereTheParserDoes) {
    const std::string document = Document(
        "<machine name=\"a\"><rom\"x name=\"1\"/><dipswitch a\"b=\"2\" c='\"'>"
        "<dipvalue/></dipswitch><description>A</description></machine>\n"
        "<machine name=\"b\"><description>B</description></machine>\n");
    const ReadOutcome outcome = Read(document);
    ASSERT_TRUE(outcome.ok);
    EXPECT_THAT(ZipNames(outcome.games), ElementsAre("a#0", "b#1"));
    EXPECT_EQ(outcome.games[0].englishName, "A");
    EXPECT_EQ(outcome.games[1].englishName, "B");
    const DirectRead whole = ReadParsing(document, ListXmlParsing::WholeElements);
    EXPECT_TRUE(whole.ok);
    EXPECT_EQ(ReadParsing(document, ListXmlParsing::UsedChildren).games, whole.games);
}

}  // namespace
}  // namespace kanaroll
