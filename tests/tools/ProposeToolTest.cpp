// The command-line proposal program, run as a maintainer runs it: its contract on queries, output
// and failures.
#include <cstdio>
#include <gtest/gtest.h>
#include <string>

#include "catalogue/TextCodec.h"
#include "tests/support/ListInfoText.h"
#include "tests/support/TempFolder.h"

namespace kanaroll {
namespace {

using testing::ListInfoBlock;
using testing::ListInfoGame;
using testing::TempFolder;

struct ToolRun {
    int status = -1;
    std::string output;  // standard output and error, in that order
};

ToolRun Propose(const std::string& arguments) {
    const std::string command = std::string(KANAROLL_PROPOSE_PROGRAM) + " " + arguments + " 2>&1";
    ToolRun run;
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) return run;
    char buffer[4096];
    std::size_t got;
    while ((got = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) run.output.append(buffer, got);
    run.status = pclose(pipe);
    return run;
}

class ProposeToolTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::string listInfo;
        for (const ListInfoGame& game :
             {ListInfoGame{.zip = "aliens", .description = "Aliens (World set 1)"},
              ListInfoGame{.zip = "aliens2", .description = "Aliens (World set 2)", .cloneOf = "aliens"},
              ListInfoGame{.zip = "aliens3", .description = "Aliens (World set 3)", .cloneOf = "aliens"},
              ListInfoGame{.zip = "mjvegas", .description = "Mahjong Vegas (Japan)"},
              ListInfoGame{.zip = "cafedoll", .description = "Mahjong Cafe Doll"}})
            listInfo += ListInfoBlock(game);
        folder.Write("listinfo.txt", listInfo);
        folder.Write("mame32j.lst", Sjis("aliens\tエイリアンズ (海外版 set 1)\tえいりあんず_w1\tKonami\r\n"
                                         "aliens2\tエイリアンズ (海外版 set 2)\tえいりあんず_w2\tKonami\r\n"
                                         "aliens3\tエイリアンズ (海外版 set 3)\tえいりあんず_w3\tKonami\r\n"
                                         "mjvegas\t麻雀ベガス (日本版)\tまーじゃんべがす\tNichibutsu\r\n"
                                         "gone\tゴーン\tごーん\tNobody\r\n"));
    }

    std::string Arguments(const std::string& queries) {
        folder.Write("queries.txt", queries);
        return (folder / "listinfo.txt").string() + " " + (folder / "mame32j.lst").string() + " " +
               (folder / "queries.txt").string();
    }

    TempFolder folder;
};

TEST_F(ProposeToolTest, OneLinePerQueryInTheListsEncodingWithLfEnds) {
    const ToolRun run = Propose(Arguments(Sjis("aliens3\r\ncafedoll\t麻雀カフェドール\nunknown\naliens2\n")));
    EXPECT_EQ(run.status, 0);
    // aliens3 is asked for, so its own line is not learned from; aliens2 likewise.
    EXPECT_EQ(run.output, Sjis("aliens3\tエイリアンズ (海外版 set 3)\tえいりあんず_w3\n"
                               "cafedoll\t麻雀カフェドール\tまーじゃんかふぇどーる\n"
                               "unknown\t\t\n"
                               "aliens2\tエイリアンズ (海外版 set 2)\tえいりあんず_w2\n"));
}

TEST_F(ProposeToolTest, AQueriedGamesOwnLineIsNotLearnedFrom) {
    // Asked on its own, mjvegas has nothing left to learn its name from.
    const ToolRun run = Propose(Arguments("mjvegas\n"));
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.output, "mjvegas\t\t\n");
}

TEST_F(ProposeToolTest, ALineNoGameTookStillTeaches) {
    // "gone" names no game of the catalogue, yet its reading is the list's.
    const ToolRun run = Propose(Arguments(Sjis("new\tゴーン (日本版)\n")));
    EXPECT_EQ(run.output, Sjis("new\tゴーン (日本版)\tごーん\n"));
}

TEST_F(ProposeToolTest, BadArgumentsAndUnreadableFilesFailWithAMessage) {
    ToolRun run = Propose("");
    EXPECT_NE(run.status, 0);
    EXPECT_NE(run.output.find("usage: kanaroll_propose LISTINFO NAMELIST QUERIES"), std::string::npos);
    run = Propose(Arguments("aliens\n") + " extra");
    EXPECT_NE(run.status, 0);
    run = Propose((folder / "listinfo.txt").string() + " " + (folder / "missing.lst").string() + " " +
                  (folder / "queries.txt").string());
    EXPECT_NE(run.status, 0);
    EXPECT_NE(run.output.find("cannot read"), std::string::npos);
    EXPECT_NE(run.output.find("missing.lst"), std::string::npos);
    run = Propose(folder.Path().string() + " " + (folder / "mame32j.lst").string() + " " +
                  (folder / "queries.txt").string());
    EXPECT_NE(run.status, 0);
}

}  // namespace
}  // namespace kanaroll
