#include <gtest/gtest.h>
#include <random>
#include <string>
#include <vector>

#include "catalogue/IoError.h"
#include "catalogue/NameListLines.h"
#include "catalogue/TextFile.h"
#include "tests/support/TempFolder.h"

namespace kanaroll {
namespace {

using testing::TempFolder;

struct ReadBack {
    std::vector<std::string> texts;
    std::string rawAndEnds;  // every line's raw bytes and line end, one after the other
    std::string endOfFile;
    bool bom = false;
};

ReadBack ReadAll(const std::filesystem::path& file, std::size_t chunk = 1 << 20) {
    NameListLines lines(file, chunk);
    ReadBack back;
    std::vector<NameListLine> batch;
    while (lines.NextBatch(batch)) {
        EXPECT_FALSE(batch.empty());
        for (const NameListLine& line : batch) {
            back.texts.emplace_back(line.text);
            back.rawAndEnds.append(line.raw);
            back.rawAndEnds.append(line.end);
        }
    }
    back.endOfFile = lines.EndOfFile();
    back.bom = lines.HadUtf8Bom();
    EXPECT_FALSE(lines.NextBatch(batch));
    return back;
}

std::vector<std::string> LineReaderTexts(const std::filesystem::path& file) {
    LineReader reader(file);
    reader.SkipUtf8Bom();
    std::vector<std::string> texts;
    std::string_view line;
    while (reader.Next(line)) texts.emplace_back(line);
    return texts;
}

TEST(NameListLines, KeepsWhatTheLineRulesDropInTheRawBytes) {
    TempFolder folder;
    const ReadBack back = ReadAll(folder.Write("list",
                                               "a\rb\tx\r\n"  // a lone CR: gone from the text only
                                               "cd\x1A"
                                               "ef\tg\n"  // a Ctrl-Z cuts the text, not the raw line
                                               "\r\n"
                                               "last\r"));  // no line end; its CR is a lone one
    EXPECT_EQ(back.texts, (std::vector<std::string>{"ab\tx", "cd", "", "last"}));
    EXPECT_EQ(back.rawAndEnds,
              "a\rb\tx\r\ncd\x1A"
              "ef\tg\n\r\nlast\r");
    EXPECT_EQ(back.endOfFile, "");
    EXPECT_FALSE(back.bom);
}

TEST(NameListLines, ACtrlZThatStartsALineEndsTheLinesAndIsKeptWithTheRest) {
    TempFolder folder;
    const ReadBack back = ReadAll(folder.Write("list",
                                               "\xEF\xBB\xBF"
                                               "a\tb\n\x1A"
                                               "junk\nmore"),
                                  2);
    EXPECT_TRUE(back.bom);
    EXPECT_EQ(back.texts, std::vector<std::string>{"a\tb"});
    EXPECT_EQ(back.endOfFile,
              "\x1A"
              "junk\nmore");

    const ReadBack onlyMark = ReadAll(folder.Write("mark", "\x1A"));
    EXPECT_TRUE(onlyMark.texts.empty());
    EXPECT_EQ(onlyMark.endOfFile, "\x1A");
    EXPECT_TRUE(ReadAll(folder.Write("bom", "\xEF\xBB\xBF")).bom);
    EXPECT_FALSE(ReadAll(folder.Write("short", "\xEF\xBB")).bom);
}

// The texts must be the line reader's, line for line, whatever the bytes and the chunk edges; and
// the raw bytes with their line ends, the byte-order mark and the end-of-file mark give the file back.
TEST(NameListLines, GivesTheLineReadersTextsAndTheFileBackWhole) {
    std::mt19937 random(20240611);
    const char alphabet[] = {'a', '\t', '\r', '\n', '\x1A', '\xEF', '\xBB', '\xBF', '\x82', '\0'};
    TempFolder folder;
    for (int round = 0; round < 400; ++round) {
        std::string bytes = round % 3 == 0 ? "\xEF\xBB\xBF" : "";
        const int length = static_cast<int>(random() % 40);
        for (int i = 0; i < length; ++i) bytes += alphabet[random() % sizeof alphabet];
        const auto file = folder.Write("list", bytes);
        const std::size_t chunk = 1 + random() % 8;
        SCOPED_TRACE(::testing::PrintToString(bytes) + " chunk " + std::to_string(chunk));

        const ReadBack back = ReadAll(file, chunk);
        ASSERT_EQ(back.texts, LineReaderTexts(file));
        ASSERT_EQ((back.bom ? "\xEF\xBB\xBF" : "") + back.rawAndEnds + back.endOfFile, bytes);
    }
}

TEST(NameListLines, AFileThatCannotBeReadThrows) {
    TempFolder folder;
    EXPECT_THROW(NameListLines(folder / "missing"), IoError);
    std::filesystem::create_directory(folder / "folder");
    EXPECT_THROW(ReadAll(folder / "folder"), IoError);
}

}  // namespace
}  // namespace kanaroll
