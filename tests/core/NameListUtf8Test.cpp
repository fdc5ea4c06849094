// Name lists kept in UTF-8: read with the byte-order mark, the catalogue in UTF-8, and written back
// the way they came; MANE32J stays Shift-JIS.
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>

#include "catalogue/IoError.h"
#include "catalogue/ListInfoReader.h"
#include "catalogue/NameListReader.h"
#include "catalogue/NameListWriters.h"
#include "catalogue/Recode.h"
#include "catalogue/TextCodec.h"
#include "tests/support/Catalogues.h"
#include "tests/support/ListInfoText.h"
#include "tests/support/TempFolder.h"

namespace kanaroll {
namespace {

using testing::TempFolder;

constexpr std::string_view kBom = "\xEF\xBB\xBF";

GameList Catalogue(std::initializer_list<std::string> zipNames) {
    return testing::UntranslatedCatalogue(zipNames, "Maker");
}

struct Read {
    GameList games;
    int translated = 0;
    LoadedNameList loaded;
};

Read Merge(const TempFolder& folder, std::string_view list, GameList games,
           const TextCodec& codec = Utf8Codec()) {
    Read read{std::move(games)};
    read.loaded = MergeNameList(folder.Write("mame32j.lst", list), read.games, read.translated, codec);
    return read;
}

std::string Save(const TempFolder& folder, const Read& read, const TextCodec& codec = Utf8Codec()) {
    WriteMame32J(folder / "saved.lst", read.games, read.loaded, codec);
    return folder.Read("saved.lst");
}

// Characters of today's lists that Shift-JIS has no code for: simplified Chinese, Korean, accented
// Latin, ゔ, and one beyond the 16-bit plane.
const std::string kBeyond = "简体 한국 é ゔ 🎮";

TEST(Utf8NameList, TheMarkMakesAUtf8ListWhoseLastColumnEndsWithItsLine) {
    TempFolder folder;
    const Read read = Merge(folder,
                            std::string(kBom) + "first\t" + kBeyond +
                                "\tよみ\n"
                                "second\tTitle\tReading\tMaker\textra\n"  // further columns ignored
                                "third\tOnly a title\n"                   // the title ends with the line
                                "no tab here\n"                           // names no game
                                "fourth\t\t\n",
                            Catalogue({"first", "second", "third", "fourth", "fifth"}));
    EXPECT_EQ(read.translated, 4);
    EXPECT_EQ(read.games[0].zipName, "first");  // the mark is not part of the first ZIP name
    EXPECT_EQ(read.games[0].japaneseName, kBeyond);
    EXPECT_EQ(read.games[0].reading, "よみ");
    EXPECT_EQ(read.games[1].reading, "Reading");
    EXPECT_EQ(read.games[2].japaneseName, "Only a title");
    EXPECT_EQ(read.games[2].reading, "");
    EXPECT_TRUE(read.games[3].translated);
    EXPECT_FALSE(read.games[4].translated);
    ASSERT_EQ(read.loaded.keptLines.size(), 1u);
    EXPECT_EQ(read.loaded.keptLines[0].bytes, "no tab here");
    EXPECT_FALSE(read.loaded.keptLines[0].zipName);

    const NameListFormat& format = read.loaded.format;
    EXPECT_EQ(format.codec, &Utf8Codec());
    EXPECT_TRUE(format.byteOrderMark);
    EXPECT_EQ(format.columns, 3);  // the first line with a TAB has three fields
    EXPECT_EQ(format.lineEnd, "\n");
    EXPECT_TRUE(format.finalLineEnd);

    // Without the mark, the same bytes are a Shift-JIS list, fields ending only at a TAB.
    const Read sjis = Merge(folder, "third\tOnly a title\n", Catalogue({"third"}), ShiftJisCodec());
    EXPECT_EQ(sjis.games[0].japaneseName, "");
    EXPECT_EQ(sjis.loaded.format, NameListFormat{});
}

// In a UTF-8 list a ZIP name needs its TAB: a line without one names no game, not even one whose
// ZIP name is empty, and it is written back whatever becomes of that game. A line with an empty ZIP
// name before its TAB does name it.
TEST(Utf8NameList, ALineWithoutATabNamesNotEvenTheNamelessGame) {
    TempFolder folder;
    Read read =
        Merge(folder, std::string(kBom) + "no tab\n\tNameless\tなし\n\tLater\t\n", Catalogue({"a", ""}));
    EXPECT_EQ(read.translated, 1);
    EXPECT_EQ(read.games[1].japaneseName, "Nameless");
    ASSERT_EQ(read.loaded.keptLines.size(), 2u);
    EXPECT_FALSE(read.loaded.keptLines[0].zipName);
    EXPECT_EQ(read.loaded.keptLines[1].zipName, std::optional<std::string>(""));

    read.games[1].reading.clear();
    read.games[1].translated = false;
    EXPECT_EQ(Save(folder, read), std::string(kBom) + "no tab\n");
}

// An unedited list in catalogue order comes back byte for byte, whatever line end it used and
// whether its last line had one; in four columns it keeps its manufacturers.
TEST(Utf8NameList, AnUneditedListInCatalogueOrderSavesToTheSameBytes) {
    TempFolder folder;
    const std::string lines[] = {"a\t" + kBeyond + "\tえー", "b\tＢ\t", "c\t\tしー"};
    for (const std::string_view lineEnd : {"\n", "\r\n"}) {
        for (const bool finalLineEnd : {false, true}) {
            std::string list(kBom);
            for (const std::string& line : lines) list += line + std::string(lineEnd);
            if (!finalLineEnd) list.resize(list.size() - lineEnd.size());
            SCOPED_TRACE(::testing::PrintToString(list));
            const Read read = Merge(folder, list, Catalogue({"a", "b", "c", "d"}));
            EXPECT_EQ(read.loaded.format.lineEnd, lineEnd);
            EXPECT_EQ(read.loaded.format.finalLineEnd, finalLineEnd);
            EXPECT_EQ(Save(folder, read), list);
        }
    }
    const std::string fourColumns = std::string(kBom) + "a\tA\tえー\tMaker\r\nb\tB\tびー\tMaker\r\n";
    const Read read = Merge(folder, fourColumns, Catalogue({"a", "b"}));
    EXPECT_EQ(read.loaded.format.columns, 4);
    EXPECT_EQ(Save(folder, read), fourColumns);

    // A list of nothing but its mark stays one.
    EXPECT_EQ(Save(folder, Merge(folder, kBom, Catalogue({"a"}))), kBom);
}

TEST(Utf8NameList, EditedTextsAndOtherOrdersReadBackAsTheyWereSaved) {
    TempFolder folder;
    Read read = Merge(folder, std::string(kBom) + "unknown\t未知\tみち\nb\tB\tびー\na\tA\tえー",
                      Catalogue({"a", "b", "c"}));
    read.games[0].japaneseName = kBeyond;
    read.games[0].reading = "ゔぁ🎮";
    read.games[2].japaneseName = "新しい";
    read.games[2].reading = "あたらしい";
    read.games[2].translated = true;
    const std::string saved = Save(folder, read);
    EXPECT_EQ(saved, std::string(kBom) + "a\t" + kBeyond + "\tゔぁ🎮\nb\tB\tびー\nc\t新しい\tあたらしい\n" +
                         "unknown\t未知\tみち");

    const Read again = Merge(folder, saved, Catalogue({"a", "b", "c"}));
    EXPECT_EQ(again.translated, 3);
    EXPECT_EQ(again.games[0].japaneseName, kBeyond);
    EXPECT_EQ(again.games[0].reading, "ゔぁ🎮");
    EXPECT_EQ(again.games[2].reading, "あたらしい");
    EXPECT_EQ(Save(folder, again), saved);
}

// Whoever merges a list into a catalogue of the other codec gets its texts converted both ways;
// the kept lines stay as they stood.
TEST(Utf8NameList, ACatalogueOfTheOtherCodecGetsItsTextsConverted) {
    TempFolder folder;
    const Read read = Merge(folder, std::string(kBom) + "a\tゲーム ゔ\tげーむ\nzz\t未知\tみち\n",
                            Catalogue({"a"}), ShiftJisCodec());
    EXPECT_EQ(read.games[0].japaneseName, Sjis("ゲーム ?"));
    EXPECT_EQ(read.games[0].reading, Sjis("げーむ"));
    EXPECT_EQ(Save(folder, read, ShiftJisCodec()),
              std::string(kBom) + "a\tゲーム ?\tげーむ\nzz\t未知\tみち\n");

    const Read sjisList = Merge(folder, "a\t" + Sjis("ゲーム") + "\t" + Sjis("げーむ") + "\tMaker\r\n",
                                Catalogue({"a"}), Utf8Codec());
    EXPECT_EQ(sjisList.games[0].japaneseName, "ゲーム");
    Read edited = Merge(folder, "a\t" + Sjis("ゲーム") + "\tr\t\r\n", Catalogue({"a"}), Utf8Codec());
    edited.games[0].japaneseName = "ゲーム 한";
    EXPECT_EQ(Save(folder, edited), "a\t" + Sjis("ゲーム ?") + "\tr\tMaker\r\n");
}

TEST(Utf8NameList, Mane32JFromAUtf8CatalogueIsShiftJisWithQuestionMarks) {
    TempFolder folder;
    const Read read =
        Merge(folder, std::string(kBom) + "a\tゲーム 简体 한국\tげーむ\n", Catalogue({"a", "b"}));
    WriteMane32J(folder / "MANE32J.lst", read.games, Utf8Codec());
    EXPECT_EQ(folder.Read("MANE32J.lst"),
              "a\t" + Sjis("ゲーム ?体 ??") + "\t" + Sjis("げーむ") +
                  "\tMaker\t????\t\t\traster\t0\t\tpreliminary\r\n" +
                  "b\tEnglish b\tEnglish b\tMaker\t????\t\t\traster\t0\t\tpreliminary\r\n");
}

TEST(Utf8NameList, TheCodecIsKnownFromTheFirstBytesAlone) {
    TempFolder folder;
    EXPECT_EQ(&NameListCodec(folder.Write("utf8", std::string(kBom) + "a\tb")), &Utf8Codec());
    EXPECT_EQ(&NameListCodec(folder.Write("mark only", kBom)), &Utf8Codec());
    EXPECT_EQ(&NameListCodec(folder.Write("sjis", "a\t" + Sjis("ア"))), &ShiftJisCodec());
    EXPECT_EQ(&NameListCodec(folder.Write("short", "\xEF\xBB")), &ShiftJisCodec());
    EXPECT_EQ(&NameListCodec(folder.Write("empty", "")), &ShiftJisCodec());
    std::filesystem::create_directory(folder / "folder");
    EXPECT_THROW(NameListCodec(folder / "folder"), IoError);
}

// listinfo.txt is Shift-JIS: a UTF-8 catalogue gets its texts converted.
TEST(Utf8NameList, ListInfoTextsEnterAUtf8CatalogueConverted) {
    TempFolder folder;
    const auto file =
        folder.Write("listinfo.txt",
                     testing::ListInfoText(
                         {{.zip = "jp", .description = Sjis("ゲーム"), .manufacturer = Sjis("株式会社")}}));
    GameList games;
    NoLoadProgress quiet;
    ASSERT_TRUE(ReadListInfo(file, games, quiet, Utf8Codec()));
    ASSERT_EQ(games.Count(), 1);
    EXPECT_EQ(games[0].englishName, "ゲーム");
    EXPECT_EQ(games[0].japaneseName, "ゲーム");
    EXPECT_EQ(games[0].manufacturer, "株式会社");
    EXPECT_EQ(games[0].cpuText, "Z80 @ 3.072000MHz");  // ASCII, as it was
}

TEST(Recode, ConvertsOnlyWhatIsNotAscii) {
    EXPECT_TRUE(IsAscii(""));
    EXPECT_TRUE(IsAscii("0123456789abcdef\x7F"));
    EXPECT_FALSE(IsAscii("01234567\x80"));  // past the first eight bytes
    EXPECT_FALSE(
        IsAscii("0123456\x80"
                "89"));
    EXPECT_EQ(Recode(Sjis("ゲーム"), ShiftJisCodec(), Utf8Codec()), "ゲーム");
    EXPECT_EQ(Recode("ゲーム한", Utf8Codec(), ShiftJisCodec()), Sjis("ゲーム?"));
    EXPECT_EQ(Recode("\xFF", ShiftJisCodec(), ShiftJisCodec()), "\xFF");
    const ReplaceRuleList rules{{"Japan", Sjis("日本版"), true}};
    EXPECT_EQ(RecodeRules(rules, ShiftJisCodec(), Utf8Codec()), (ReplaceRuleList{{"Japan", "日本版", true}}));
}

}  // namespace
}  // namespace kanaroll
