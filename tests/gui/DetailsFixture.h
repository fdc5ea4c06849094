#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "tests/gui/MainWindowFixture.h"

namespace kanaroll::testing {

// The main window on a small catalogue with two families and a clone whose master is missing:
//   0 pacman   master           1 puckman  clone of pacman (named: パックマン / ぱっくまん)
//   2 galaga   master, driver not good (named: ギャラガ, no reading)
//   3 pacmanf  clone of pacman  4 orphan1, 5 orphan2  clones of "missing", which is not listed
//   6 zzyzx    master (named: ぷよぷよ (日本版) / ぷよぷよ)
class DetailsTest : public MainWindowTest {
protected:
    static constexpr int kGames = 7;

    void StartFamilies(std::string_view extraNameLines = {}) {
        WriteListInfo({{.zip = "pacman", .description = "Pac-Man"},
                       {.zip = "puckman", .description = "Puck Man (Japan)", .cloneOf = "pacman"},
                       {.zip = "galaga", .description = "Galaga", .statusGood = false},
                       {.zip = "pacmanf", .description = "Pac-Man (bootleg)", .cloneOf = "pacman"},
                       {.zip = "orphan1", .description = "Orphan (Japan)", .cloneOf = "missing"},
                       {.zip = "orphan2", .description = "Orphan (World)", .cloneOf = "missing"},
                       {.zip = "zzyzx", .description = "Zzyzx Puzzle (Japan)"}});
        WriteFile("mame32j.lst", std::string("puckman\tパックマン\tぱっくまん\tNamco\r\n"
                                             "galaga\tギャラガ\t\r\n"
                                             "zzyzx\tぷよぷよ (日本版)\tぷよぷよ\tCompile\r\n") +
                                     std::string(extraNameLines));
        Start();
    }

    // The game of that ZIP name in the catalogue, and its row in the game list.
    int Row(std::string_view zip) const {
        for (int index = 0; index < form->Games().Count(); ++index) {
            if (form->Games()[index].zipName == zip) return index;
        }
        return -1;
    }
    const TRecordset& Game(std::string_view zip) const { return form->Games()[Row(zip)]; }

    // A click on a row, as the mouse sends it.
    void ClickRow(HWND list, int row) {
        RECT bounds{LVIR_LABEL, 0, 0, 0};
        SendMessageW(list, LVM_GETITEMRECT, row, reinterpret_cast<LPARAM>(&bounds));
        ClickAt(list, bounds.left + 6, (bounds.top + bounds.bottom) / 2);
    }
    void ClickAt(HWND window, int x, int y) {
        const LPARAM at = MAKELPARAM(x, y);
        PostMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, at);
        PostMessageW(window, WM_LBUTTONUP, 0, at);
        Pump();
    }
    void ClickHeader(int column) {
        RECT rect{};
        SendMessageW(form->HeaderHandle(), HDM_GETITEMRECT, column, reinterpret_cast<LPARAM>(&rect));
        ClickAt(form->HeaderHandle(), (rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
    }
    void ClickButton(HWND button) {
        SendMessageW(button, BM_CLICK, 0, 0);
        Pump();
    }

    // The ZIP names of the family list's rows, top to bottom, and their icons.
    std::vector<std::wstring> FamilyRows() const {
        std::vector<std::wstring> rows;
        for (int row = 0; row < listview::ItemCount(Ui().ListView2); ++row)
            rows.push_back(Cell(Ui().ListView2, row, 0));
        return rows;
    }
    std::vector<int> FamilyIcons() const {
        std::vector<int> icons;
        for (int row = 0; row < listview::ItemCount(Ui().ListView2); ++row) {
            icons.push_back(listview::ItemImage(Ui().ListView2, row));
        }
        return icons;
    }
    int FamilyRow(std::wstring_view zip) const {
        for (int row = 0; row < listview::ItemCount(Ui().ListView2); ++row) {
            if (Cell(Ui().ListView2, row, 0) == zip) return row;
        }
        return -1;
    }

    std::wstring Totals(int untranslated) const {
        return L"合計：" + std::to_wstring(kGames) + L"件   未訳：" + std::to_wstring(untranslated) + L"件";
    }
    std::pair<int, int> Selection(HWND edit) const { return edit::Selection(edit); }
};

}  // namespace kanaroll::testing
