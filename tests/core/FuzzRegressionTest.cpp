// Inputs that the fuzz targets of tests/fuzz found to break a property, kept as ordinary cases.

#include <gtest/gtest.h>
#include <string>
#include <string_view>
#include <vector>

#include "catalogue/TextFile.h"
#include "tests/support/TempFolder.h"

namespace kanaroll {
namespace {

using testing::TempFolder;
using Lines = std::vector<std::string>;

// LineReaderFuzz: a line ended by Ctrl-Z whose rest did not lie in the buffer yet came back
// garbled, since skipping that rest reads on and moves (or reallocates) the bytes the line viewed.
TEST(FuzzRegression, LineEndedByCtrlZSurvivesReadingOnToItsLineEnd) {
    TempFolder folder;
    const auto path = folder.Write("ctrl-z.txt",
                                   "before\x1A"
                                   "after\r\nnext\r\n\x1A"
                                   "end of file\r\n");
    for (const std::size_t chunk : {1, 2, 3, 5, 8}) {
        LineReader reader(path, chunk);
        Lines lines;
        std::string_view line;
        while (reader.Next(line)) lines.emplace_back(line);
        EXPECT_EQ(lines, (Lines{"before", "next"})) << "chunk size " << chunk;
    }
    // Taken with CR dropped from it, and with a rest far longer than the buffer.
    const auto crPath = folder.Write("cr.txt", "a\rb\x1A" + std::string(5000, 'x') + "\nc\n");
    LineReader reader(crPath, 16);
    std::string_view line;
    ASSERT_TRUE(reader.Next(line));
    EXPECT_EQ(line, "ab");
    ASSERT_TRUE(reader.Next(line));
    EXPECT_EQ(line, "c");
}

}  // namespace
}  // namespace kanaroll
