#include <cstdint>
#include <gtest/gtest.h>

#include "platform/TypeAheadBuffer.h"

// The timing of the game list's type-ahead, which the window tests cannot wait for: they type
// faster than the delay.
namespace kanaroll {
namespace {

constexpr int kRows = 10;

TEST(GameListTypeAheadTest, CharactersWithinTheDelayAreCollected) {
    TypeAheadBuffer buffer;
    EXPECT_EQ(buffer.Add(L'p', 5000, 0, kRows).text, L"p");
    EXPECT_EQ(buffer.Add(L'a', 5999, 0, kRows).text, L"pa");
    EXPECT_EQ(buffer.Add(L'c', 6998, 0, kRows).text, L"pac");  // the delay counts from the last key
}

TEST(GameListTypeAheadTest, APauseOfTheDelayStartsANewSearchBehindTheFocusedRow) {
    TypeAheadBuffer buffer;
    buffer.Add(L'p', 5000, 0, kRows);
    buffer.Add(L'a', 5100, 3, kRows);
    const auto search = buffer.Add(L'g', 6100, 3, kRows);
    EXPECT_EQ(search.text, L"g");
    EXPECT_EQ(search.startRow, 4);
}

TEST(GameListTypeAheadTest, ALongerTextStartsAtTheFocusedRowItself) {
    TypeAheadBuffer buffer;
    EXPECT_EQ(buffer.Add(L'p', 100, 2, kRows).startRow, 3);
    EXPECT_EQ(buffer.Add(L'a', 200, 3, kRows).startRow, 3);
}

TEST(GameListTypeAheadTest, TheSameLetterAgainLooksForThatLetterBehindTheFocusedRow) {
    TypeAheadBuffer buffer;
    buffer.Add(L'p', 100, 2, kRows);
    const auto again = buffer.Add(L'p', 200, 3, kRows);
    EXPECT_EQ(again.text, L"p");
    EXPECT_EQ(again.startRow, 4);
    EXPECT_EQ(buffer.Add(L'a', 300, 4, kRows).text, L"ppa");  // another letter: the whole text again
}

TEST(GameListTypeAheadTest, TheStartWrapsAndANoFocusStartsAtTheTop) {
    TypeAheadBuffer buffer;
    EXPECT_EQ(buffer.Add(L'x', 100, kRows - 1, kRows).startRow, 0);
    TypeAheadBuffer other;
    EXPECT_EQ(other.Add(L'x', 100, -1, kRows).startRow, 0);
}

TEST(GameListTypeAheadTest, TheMessageClockMayWrapBetweenTwoKeys) {
    TypeAheadBuffer buffer;
    buffer.Add(L'p', UINT32_MAX - 100, 0, kRows);
    EXPECT_EQ(buffer.Add(L'a', 200, 0, kRows).text, L"pa");
    EXPECT_EQ(buffer.Add(L'c', 1200, 0, kRows).text, L"c");
}

}  // namespace
}  // namespace kanaroll
