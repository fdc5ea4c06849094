// The checks before a save: what MAME would cut or warn about, each found with the game concerned.
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>

#include "catalogue/ListChecks.h"
#include "catalogue/NameListReader.h"
#include "catalogue/NameListWriters.h"
#include "catalogue/TextCodec.h"
#include "mainwindow/GameOrder.h"
#include "tests/support/Catalogues.h"
#include "tests/support/TempFolder.h"

namespace kanaroll {
namespace {

using testing::TempFolder;

struct Loaded {
    GameList games;
    int translated = 0;
    LoadedNameList list;
};

Loaded Load(std::string_view list, std::initializer_list<std::string> zipNames,
            const TextCodec& codec = ShiftJisCodec()) {
    const TempFolder folder;
    Loaded loaded{testing::UntranslatedCatalogue(zipNames, "Maker")};
    loaded.list = MergeNameList(folder.Write("mame32j.lst", list), loaded.games, loaded.translated, codec);
    return loaded;
}

ListCheckReport Check(const Loaded& loaded, ListFormat format, const TextCodec& codec = ShiftJisCodec()) {
    return CheckList(ListLines(loaded.games, loaded.list, codec, format));
}

std::vector<ListProblem> Problems(const ListCheckReport& report) {
    std::vector<ListProblem> problems;
    for (const ListFinding& finding : report.findings) problems.push_back(finding.problem);
    return problems;
}

std::string Repeat(std::string_view text, int times) {
    std::string repeated;
    for (int i = 0; i < times; ++i) repeated += text;
    return repeated;
}

// MAME converts a Shift-JIS list to UTF-8 before the line meets its buffer: a kana takes two bytes
// in the file and three in the buffer.
TEST(ListChecks, ALineIsTooLongByTheUtf8BytesMameReadsItAs) {
    const std::string kana = Sjis("あ");
    // "g\t" + title + "\t" + reading + "\tMaker": 2 + 1 + 6 + 1 + 5 = 15 bytes besides the kana.
    const auto line = [&](int kanaCount) {
        return "g\t" + Repeat(kana, kanaCount) + "\t" + Sjis("よみ") + "\t\n";
    };
    EXPECT_EQ(MameLineBytes(Sjis("あ") + "a", ShiftJisCodec()), 4u);
    EXPECT_EQ(MameLineBytes("あa", Utf8Codec()), 4u);

    // 339 kana are 678 bytes in the file and 1,017 + 15 = 1,032 in MAME's buffer.
    const Loaded tooLong = Load(line(339), {"g"});
    const ListCheckReport report = Check(tooLong, ListFormat::Mame32J);
    ASSERT_EQ(Problems(report), std::vector<ListProblem>{ListProblem::LineTooLong});
    EXPECT_EQ(report.findings[0].bytes, 1032u);
    EXPECT_EQ(report.findings[0].game, 0);
    EXPECT_EQ(report.findings[0].zipName, "g");

    // 336 kana give 1,008 + 15 = 1,023 bytes; one more ASCII byte still fits, a second does not.
    Loaded fits = Load(line(336), {"g"});
    EXPECT_TRUE(Check(fits, ListFormat::Mame32J).Clean());
    fits.games[0].manufacturer = "M";       // Maker -> M: 1,019
    fits.games[0].japaneseName += "ABCDE";  // 1,024
    EXPECT_TRUE(Check(fits, ListFormat::Mame32J).Clean());
    fits.games[0].japaneseName += "F";
    EXPECT_EQ(Problems(Check(fits, ListFormat::Mame32J)), std::vector<ListProblem>{ListProblem::LineTooLong});
    // The list for MAME's UI has no manufacturer: 1,023 bytes.
    EXPECT_TRUE(Check(fits, ListFormat::MameUi).Clean());
}

TEST(ListChecks, ADuplicateZipNameIsFoundWithTheLineThatHadItFirst) {
    // A Mame32J save writes a later line of a game back as it stood; MAME would warn about it.
    const Loaded loaded =
        Load("pacman\tP\t" + Sjis("ぱ") + "\t\n" + "unknown\tU\t" + Sjis("う") + "\t\n" + "pacman\tLater\t" +
                 Sjis("ぱ") + "\t\n" + "unknown\tAgain\t" + Sjis("う") + "\t\n",
             {"galaga", "pacman"});
    const ListCheckReport report = Check(loaded, ListFormat::Mame32J);
    ASSERT_EQ(Problems(report),
              (std::vector<ListProblem>{ListProblem::DuplicateZipName, ListProblem::DuplicateZipName}));
    // Line 1 is pacman's own; the kept lines follow: unknown (2), pacman (3), unknown (4).
    EXPECT_EQ(report.findings[0].lineNumber, 3);
    EXPECT_EQ(report.findings[0].firstLineNumber, 1);
    EXPECT_EQ(report.findings[0].game, 1);  // the kept line concerns the catalogue's pacman
    EXPECT_EQ(report.findings[1].lineNumber, 4);
    EXPECT_EQ(report.findings[1].firstLineNumber, 2);
    EXPECT_EQ(report.findings[1].game, -1);  // a game the catalogue lacks
    EXPECT_EQ(report.FirstGame(), 1);

    // The list for MAME's UI takes one line of each name.
    EXPECT_TRUE(Check(loaded, ListFormat::MameUi).Clean());
}

TEST(ListChecks, ATitleIsEmptyWhenOnlyBlanksAreLeftOfIt) {
    EXPECT_TRUE(EmptyForMame(""));
    EXPECT_TRUE(EmptyForMame(" \v\f "));
    EXPECT_FALSE(EmptyForMame(Sjis("　")));  // MAME keeps a full-width blank
    EXPECT_FALSE(EmptyForMame(" a "));

    Loaded loaded = Load("a\t\t" + Sjis("あ") + "\t\nb\t  \t" + Sjis("び") + "\t\nc\t" + Sjis("　") + "\t" +
                             Sjis("し") + "\t\nno tab at all\n",
                         {"a", "b", "c"});
    const ListCheckReport report = Check(loaded, ListFormat::Mame32J);
    EXPECT_EQ(Problems(report), (std::vector<ListProblem>{ListProblem::EmptyTitle, ListProblem::EmptyTitle}));
    EXPECT_EQ(report.findings[1].zipName, "b");
}

TEST(ListChecks, AReadingNeedsAKanaLetter) {
    const TextCodec& sjis = ShiftJisCodec();
    for (const char* reading : {"ぱっくまん", "パ", "ｱ", "ゝ", "ヴ"})
        EXPECT_TRUE(HoldsKana(Sjis(reading), sjis)) << reading;
    for (const char* reading : {"", "pacman", "1942", "ー・", "ﾞﾟｰ", "漢字", "ＡＢＣ"})
        EXPECT_FALSE(HoldsKana(Sjis(reading), sjis)) << reading;
    // "＜A": read from its second byte, 0x83 0x41 would be "ア".
    EXPECT_FALSE(
        HoldsKana("\x81\x83"
                  "A",
                  sjis));
    EXPECT_TRUE(HoldsKana("ゔ", Utf8Codec()));
    EXPECT_FALSE(HoldsKana("한국", Utf8Codec()));

    // The reading is the third field as MAME splits the line; one that is missing holds no kana
    // either.
    const Loaded loaded = Load("a\tA\tpacman\t\nb\tB\t" + Sjis("び") + "\t\nc\tC\t\t\n", {"a", "b", "c"});
    const ListCheckReport report = Check(loaded, ListFormat::Mame32J);
    ASSERT_EQ(report.findings.size(), 2u);
    EXPECT_EQ(report.findings[0].problem, ListProblem::ReadingWithoutKana);
    EXPECT_EQ(report.findings[0].zipName, "a");
    EXPECT_EQ(report.findings[1].zipName, "c");
}

// The findings name games by their index in the GameList as it is now, sorted or not, and come in
// the order of the file's lines.
TEST(ListChecks, FindingsComeInLineOrderWithTheirGamesIndexInTheSortedList) {
    Loaded loaded = Load("zeta\t\t" + Sjis("ぜ") + "\t\nalpha\tA\tnone\t\n", {"zeta", "alpha"});
    SortGames(loaded.games, 1);  // alpha now at index 0
    const ListCheckReport report = Check(loaded, ListFormat::Mame32J);
    ASSERT_EQ(Problems(report),
              (std::vector<ListProblem>{ListProblem::EmptyTitle, ListProblem::ReadingWithoutKana}));
    EXPECT_EQ(report.findings[0].game, 1);
    EXPECT_EQ(report.findings[1].game, 0);
    EXPECT_EQ(report.FirstGame(), 1);
    EXPECT_EQ(DescribeFindings(report, 1), "1行目 (zeta): タイトルが空です\r\nほか1件");
    EXPECT_EQ(DescribeFindings(report, 5),
              "1行目 (zeta): タイトルが空です\r\n2行目 (alpha): 読みにかなが1文字もありません");
}

// The checks see the very lines the writers write.
TEST(ListChecks, SeeTheLinesTheWriterWrites) {
    class Recorder final : public ListCheck {
    public:
        explicit Recorder(std::string& lines) : m_lines(lines) {}
        void Check(const CheckedLine& checked, std::vector<ListFinding>&) override {
            m_lines += std::string(checked.line.text) + "\r\n";
        }

    private:
        std::string& m_lines;
    };
    const Loaded loaded = Load("pacman\t" + Sjis("パックマン") + "\t" + Sjis("ぱっくまん") + "\tNamco\r\n" +
                                   "other\t" + Sjis("他") + "\t\t\r\nnote\r\n",
                               {"galaga", "pacman"});
    for (const ListFormat format : {ListFormat::Mame32J, ListFormat::MameUi}) {
        const TempFolder folder;
        const ListLines lines(loaded.games, loaded.list, ShiftJisCodec(), format);
        std::string seen;
        std::vector<std::unique_ptr<ListCheck>> checks;
        checks.push_back(std::make_unique<Recorder>(seen));
        EXPECT_TRUE(CheckList(lines, checks).Clean());
        WriteListLines(folder / "list.lst", lines);
        const std::string bom = format == ListFormat::MameUi ? "\xEF\xBB\xBF" : "";
        EXPECT_EQ(bom + seen, folder.Read("list.lst"));
    }
}

}  // namespace
}  // namespace kanaroll
