// The game list: rows supplied on demand from the catalogue, the incremental search by ZIP name
// (its keys come from TForm1Keys.cpp), and sorting by a column.
#include <algorithm>
#include <cstdint>

#include "mainwindow/GameColumns.h"
#include "mainwindow/GameOrder.h"
#include "mainwindow/TForm1.h"
#include "platform/Controls.h"

namespace kanaroll {

void TForm1::ListView1Data(NMLVDISPINFOW& request) const {
    LVITEMW& item = request.item;
    if (item.iItem < 0 || item.iItem >= m_games.Count()) return;
    const TRecordset& game = m_games[item.iItem];
    if ((item.mask & LVIF_TEXT) && item.pszText && item.cchTextMax > 0) {
        const std::wstring text = item.iSubItem == columns::kTranslated
                                      ? std::wstring(columns::TranslatedMark(game.translated))
                                      : ToWide(columns::CellText(game, item.iSubItem));
        const std::size_t length = std::min(text.size(), static_cast<std::size_t>(item.cchTextMax - 1));
        std::copy_n(text.data(), length, item.pszText);
        item.pszText[length] = L'\0';
    }
    if (item.mask & LVIF_IMAGE) item.iImage = columns::RowImage(game);
}

int TForm1::ListView1DataFind(const NMLVFINDITEMW& request) const {
    const LVFINDINFOW& find = request.lvfi;
    if (!(find.flags & (LVFI_STRING | LVFI_PARTIAL)) || (find.flags & (LVFI_PARAM | LVFI_NEARESTXY)) ||
        !find.psz) {
        return -1;
    }
    return FindZipPrefix(m_games, FromWide(find.psz), request.iStart, (find.flags & LVFI_WRAP) != 0,
                         *m_codec);
}

// The list's own search is not asked for everywhere a virtual list runs (Wine never asks), so the
// type-ahead is done here as the platform's list does it and answered by the same search.
bool TForm1::TypeAhead(wchar_t key) {
    if (key < L' ') return true;  // control characters find nothing and must not beep
    if (m_games.Empty()) return false;
    // The time the key was typed, not the time it is handled: a slow repaint between two keys of
    // one word must not split the word.
    const auto search = m_typeAhead.Add(key, static_cast<std::uint32_t>(GetMessageTime()),
                                        listview::FocusedItem(m_ui.ListView1), m_games.Count());
    NMLVFINDITEMW request{};
    request.iStart = search.startRow;
    request.lvfi.flags = LVFI_STRING | LVFI_PARTIAL | LVFI_WRAP;
    request.lvfi.psz = search.text.c_str();
    const int row = ListView1DataFind(request);
    if (row >= 0) SelectGameRow(m_ui.ListView1, row);
    return true;
}

void TForm1::SelectGameRow(HWND list, int row) {
    // The current game's row is the selected one: the list need not look for it.
    const bool current = list == m_ui.ListView1 && m_state.currentIndex >= 0;
    listview::SelectAndFocus(list, row, current ? m_state.currentIndex : -1);
    listview::EnsureVisible(list, row);
}

int TForm1::CurrentRow() const {
    // Asking the list walks its rows under Wine: the current game's row is tried first.
    const int current = m_state.currentIndex;
    return current >= 0 && listview::IsSelected(m_ui.ListView1, current)
               ? current
               : listview::SelectedItem(m_ui.ListView1);
}

void TForm1::ListView1ColumnClick(int column) {
    const int previousColumn = m_state.sort.ColumnClicked(column);
    SetHeaderOwnerDraw(previousColumn, false);
    const bool hasCurrent = m_state.currentIndex >= 0 && m_state.currentIndex < m_games.Count();
    const int selectedRow = m_state.currentIndex;  // the list keeps the row selected, not the game
    // The current game is found again as itself, not as the first game of its ZIP name: names are
    // unique in MAME's catalogue but not in every listinfo.txt (every block without a name line has
    // the empty one), and the first game of the name could be another than the one in the panel,
    // left in the selected row so that nothing shows the change, and taking the edits.
    const TRecordset* current = hasCurrent ? &m_games[m_state.currentIndex] : nullptr;

    SortGames(m_games, m_state.sort.sortKey);
    // Clones are listed in the new order from the next family on. Indexing the families again
    // takes some 10 to 20 ms under Wine (the games are read in their new, scattered order): it is
    // left until the new order has been on the screen for a moment, so that neither the click nor
    // the next Enter waits for it. A family shown before then indexes them itself.
    m_families.Clear();
    SetTimer(Handle(), kFamilyIndexTimer, kFamilyIndexDelayMs, nullptr);

    if (!hasCurrent) {  // no game is current: just show the new order
        InvalidateRect(m_ui.ListView1, nullptr, TRUE);
        return;
    }
    for (int index = 0; index < m_games.Count(); ++index) {
        if (&m_games[index] == current) {
            m_state.currentIndex = index;
            break;
        }
    }
    SuspendedRedraw redraw(m_ui.ListView1);
    // Every row is invalidated at once: asking the list to redraw each item costs seconds on a
    // long catalogue under Wine.
    InvalidateRect(m_ui.ListView1, nullptr, TRUE);
    listview::EnsureVisible(m_ui.ListView1, m_state.currentIndex);
    listview::SelectAndFocus(m_ui.ListView1, m_state.currentIndex, selectedRow);
}

void TForm1::FocusJapaneseName() {
    SetFocus(m_ui.Edit1);
}

}  // namespace kanaroll
