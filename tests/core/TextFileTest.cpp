#include <gtest/gtest.h>
#include <string>
#include <vector>

#include "catalogue/IoError.h"
#include "catalogue/TextFile.h"
#include "tests/support/TempFolder.h"

namespace kanaroll {
namespace {

using testing::TempFolder;

std::vector<std::string> ReadLines(const std::filesystem::path& path, std::size_t chunk = 1 << 20) {
    LineReader reader(path, chunk);
    std::vector<std::string> lines;
    std::string_view line;
    while (reader.Next(line)) lines.emplace_back(line);
    return lines;
}

using Lines = std::vector<std::string>;

TEST(LineReader, EndsLinesAtLfAndCrLfAndReadsALastLineWithoutEnd) {
    TempFolder folder;
    EXPECT_EQ(ReadLines(folder.Write("a", "one\r\ntwo\nthree")), (Lines{"one", "two", "three"}));
    EXPECT_EQ(ReadLines(folder.Write("b", "one\r\n\r\n")), (Lines{"one", ""}));
    EXPECT_EQ(ReadLines(folder.Write("c", "")), Lines{});
    EXPECT_EQ(ReadLines(folder.Write("d", "\n")), Lines{""});
}

TEST(LineReader, DropsALoneCarriageReturn) {
    TempFolder folder;
    EXPECT_EQ(ReadLines(folder.Write("a", "a\rb\r\r\nc\r")), (Lines{"ab", "c"}));
}

TEST(LineReader, CtrlZEndsItsLineAndAtALineStartTheFile) {
    TempFolder folder;
    EXPECT_EQ(ReadLines(folder.Write("a",
                                     "ab\x1A"
                                     "cd\nef\n\x1Agh\nij\n")),
              (Lines{"ab", "ef"}));
    EXPECT_EQ(ReadLines(folder.Write("b",
                                     "ab\x1A"
                                     "cd")),
              Lines{"ab"});
    EXPECT_EQ(ReadLines(folder.Write("c", "\x1A")), Lines{});
}

TEST(LineReader, ReadsLinesLongerThanItsChunksAndAcrossChunkEdges) {
    TempFolder folder;
    const std::string longLine(100000, 'x');
    std::string bytes = "short\r\n" + longLine + "\r\n" + std::string(1, '\0') + "nul\n";
    EXPECT_EQ(ReadLines(folder.Write("a", bytes), 7), (Lines{"short", longLine, std::string("\0nul", 4)}));
    // A CR LF split between two chunks still ends the line once.
    EXPECT_EQ(ReadLines(folder.Write("b", "abc\r\ndef\r\n"), 4), (Lines{"abc", "def"}));
}

TEST(LineReader, SkipsTheUtf8MarkOnlyWhenAsked) {
    TempFolder folder;
    const auto path = folder.Write("a", "\xEF\xBB\xBFzip\n");
    EXPECT_EQ(ReadLines(path), Lines{"\xEF\xBB\xBFzip"});
    LineReader reader(path);
    reader.SkipUtf8Bom();
    std::string_view line;
    ASSERT_TRUE(reader.Next(line));
    EXPECT_EQ(line, "zip");
    EXPECT_TRUE(reader.HadUtf8Bom());
    EXPECT_EQ(reader.LastLineEnd(), "\n");
}

TEST(LineReader, MissingFileIsIoError2) {
    TempFolder folder;
    try {
        LineReader reader(folder / "missing.txt");
        FAIL() << "no error";
    } catch (const IoError& error) {
        EXPECT_EQ(error.Number(), 2);
        EXPECT_STREQ(error.what(), "ファイルが見つかりません");
    }
}

TEST(LineWriter, EndsEveryLineWithCrLfAndJoinsFieldsWithTabs) {
    TempFolder folder;
    LineWriter writer(folder / "out.lst");
    writer.WriteFields({"zip", "", "x"});
    writer.WriteLine("last");
    writer.Commit();
    EXPECT_EQ(folder.Read("out.lst"), "zip\t\tx\r\nlast\r\n");
}

TEST(LineWriter, CanKeepAnotherLineEndAndNoFinalOne) {
    TempFolder folder;
    LineWriter writer(folder / "out.lst", {.lineEnd = "\n", .finalLineEnd = false});
    writer.WriteLine("a");
    writer.WriteLine("b");
    writer.Commit();
    EXPECT_EQ(folder.Read("out.lst"), "a\nb");
}

TEST(ReplacingFileWriter, LeavesThePreviousFileUntilCommittedAndCleansUp) {
    TempFolder folder;
    folder.Write("list.lst", "old");
    {
        LineWriter writer(folder / "list.lst");
        writer.WriteLine("new");
        EXPECT_EQ(folder.Read("list.lst"), "old");
        // Destroyed without Commit: as when a write fails half-way.
    }
    EXPECT_EQ(folder.Read("list.lst"), "old");
    EXPECT_FALSE(std::filesystem::exists(folder / "list.lst.kanaroll-new"));
    LineWriter writer(folder / "list.lst");
    writer.WriteLine("new");
    writer.Commit();
    EXPECT_EQ(folder.Read("list.lst"), "new\r\n");
    EXPECT_FALSE(std::filesystem::exists(folder / "list.lst.kanaroll-new"));
}

TEST(ReplacingFileWriter, MissingFolderIsAnIoError) {
    TempFolder folder;
    EXPECT_THROW(LineWriter(folder / "no" / "such" / "list.lst"), IoError);
}

TEST(FileExists, IsTrueOnlyForFiles) {
    TempFolder folder;
    folder.Write("file", "");
    EXPECT_TRUE(FileExists(folder / "file"));
    EXPECT_FALSE(FileExists(folder.Path()));
    EXPECT_FALSE(FileExists(folder / "missing"));
    EXPECT_FALSE(FileExists(""));
}

}  // namespace
}  // namespace kanaroll
