#pragma once

#include <windows.h>

#include <commctrl.h>
#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>

// Typed little functions for the messages of the common controls, so that call sites read as what
// they do instead of raw SendMessage calls.
namespace kanaroll {

namespace window {
std::wstring Text(HWND window);
void SetText(HWND window, std::wstring_view text);
void Enable(HWND window, bool enabled);
bool IsEnabled(HWND window);
RECT BoundsInParent(HWND window);
}  // namespace window

namespace edit {
// Sets the text only when it differs, so that setting the same text raises no change event and a
// different one raises exactly one (a plain WM_SETTEXT always notifies).
bool SetTextIfDifferent(HWND edit, std::wstring_view text);
void SetSelection(HWND edit, int start, int end);
std::pair<int, int> Selection(HWND edit);
}  // namespace edit

namespace listview {
void AddColumn(HWND list, int index, std::wstring_view caption, int width, int format = LVCFMT_LEFT);
int ColumnWidth(HWND list, int column);
std::wstring ColumnCaption(HWND list, int column);
int ItemCount(HWND list);
// For a list whose rows are supplied on demand.
void SetVirtualItemCount(HWND list, int count);
int InsertItem(HWND list, int index, std::wstring_view caption, int image);
void SetItemText(HWND list, int item, int subItem, std::wstring_view text);
std::wstring ItemText(HWND list, int item, int subItem);
int ItemImage(HWND list, int item);
void DeleteAllItems(HWND list);
void DeleteItem(HWND list, int item);
int SelectedItem(HWND list);  // -1 when none
int FocusedItem(HWND list);   // -1 when none
// Selects the row (the list allows one) and gives it the focus mark. `selectedNow`, when the
// caller knows it, is the row selected before: it spares the search for it, which walks every row
// up to it under Wine.
void SelectAndFocus(HWND list, int item, int selectedNow = -1);
bool IsSelected(HWND list, int item);
void Select(HWND list, int item);
void Focus(HWND list, int item);
void EnsureVisible(HWND list, int item, bool partialOk = true);
void RedrawItem(HWND list, int item);
HWND Header(HWND list);
// What an LVN_ITEMCHANGED notification tells of a row's selection: the row and whether it is now
// selected; nothing when the notification changed no row's selection.
struct SelectionChange {
    int item;
    bool selected;
};
std::optional<SelectionChange> SelectionChangeOf(const NMHDR& itemChanged);
}  // namespace listview

namespace button {
bool IsChecked(HWND button);
void SetChecked(HWND button, bool checked);
}  // namespace button

namespace statusbar {
void SetParts(HWND bar, std::initializer_list<int> widths);  // -1: the rest
void SetText(HWND bar, int panel, std::wstring_view text);
std::wstring Text(HWND bar, int panel);
}  // namespace statusbar

}  // namespace kanaroll
