#pragma once

#include <string_view>

#include "catalogue/GameList.h"
#include "catalogue/TextCodec.h"

namespace kanaroll {

// Byte-wise comparison that folds only ASCII a-z onto A-Z (wherever the byte stands); at the first
// differing pair the difference of the folded bytes, else the difference of the lengths.
int CompareText(std::string_view a, std::string_view b);

// Orders two games by sortKey (±1 to ±7: column index + 1, negative for descending), with the
// reading as tie-break unless sortKey is +1. A missing record compares equal.
int CompareGames(const TRecordset* a, const TRecordset* b, int sortKey);

// Sorts the list in place with the game list's quicksort (not stable; ties land where it puts them:
// the pivot is the record in the middle of each range, and the partition swaps equal records).
void SortGames(GameList& games, int sortKey);

// The column-header state of the game list.
struct SortState {
    int sortKey = 0;      // 0 unsorted, else ±(column + 1)
    int sortColumn = -1;  // column clicked last
    bool sortAscending = false;

    // Applies a click on `column` (0 to 6): the same column again flips the direction, another one
    // starts ascending. Returns the column that was sorted before (-1 for none).
    int ColumnClicked(int column);
};

// The incremental search of the game list: the first row from `startRow` on (wrapping to row 0
// when `wrap` is set, and stopping once every row was probed) whose upper-cased ZIP name begins
// with the upper-cased `typed` text; -1 when none does. A negative start row starts at row 0, and a
// start row past the last row behaves as the end of the list: -1 without wrap, else on from row 0.
// An empty list gives -1; each row is probed at most once.
int FindZipPrefix(const GameList& games, std::string_view typed, int startRow, bool wrap,
                  const TextCodec& codec);

}  // namespace kanaroll
