#include "proposals/UntranslatedSearch.h"

namespace kanaroll {

int FindUntranslated(const GameList& games, int from, bool forward) {
    const int count = games.Count();
    if (count == 0) return -1;
    const auto& items = games.Items();
    if (from < 0 || from >= count) from = forward ? count - 1 : 0;
    int row = from;
    for (int step = 0; step < count; ++step) {
        row = forward ? (row + 1 == count ? 0 : row + 1) : (row == 0 ? count - 1 : row - 1);
        if (!items[static_cast<std::size_t>(row)]->translated) return row;
    }
    return -1;
}

}  // namespace kanaroll
