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
RECT BoundsInParent(HWND window);
}  // namespace window

// The two ways of putting a text into an edit field. The program edits a field by ChangeText, and
// its change handler then acts as for typing; it fills fields from a record by FillText, under a
// flag of its own that keeps its change handler out.
namespace edit {
// As typing would: when the text differs the field raises exactly one change event, when it is the
// same none (a plain WM_SETTEXT always notifies). True when the text changed. Also the cheap way to
// refresh a read-only field that often shows the same text.
bool ChangeText(HWND edit, std::wstring_view text);
// Puts the text in whatever the field held: the field raises its change event every time, even for
// the same text, and the caret goes to the start.
void FillText(HWND edit, std::wstring_view text);
// Replaces the whole text as typing over a full selection would: one change event when the text
// differs, and the field's own undo (Ctrl+Z) brings the old text back.
void TypeText(HWND edit, std::wstring_view text);
// The grey text an empty field shows (common controls 6), also while it has the focus; empty
// removes it. Up to 255 characters are read back.
void SetCueText(HWND edit, std::wstring_view text);
std::wstring CueText(HWND edit);
void SetSelection(HWND edit, int start, int end);
std::pair<int, int> Selection(HWND edit);
// Scrolls the caret into view.
void ScrollCaret(HWND edit);
}  // namespace edit

namespace listview {
void SetExtendedStyle(HWND list, DWORD styles);
// The row icons; a list made with LVS_SHAREIMAGELISTS leaves them to their owner.
void SetSmallImages(HWND list, HIMAGELIST images);
void AddColumn(HWND list, int index, std::wstring_view caption, int width, int format = LVCFMT_LEFT);
struct ColumnInfo {
    int width;
    std::wstring caption;  // up to 255 characters
};
ColumnInfo Column(HWND list, int column);
int ColumnWidth(HWND list, int column);
void SetColumnWidth(HWND list, int column, int width);
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
// A row's rectangle in the list's client area: LVIR_BOUNDS, LVIR_ICON, LVIR_LABEL or
// LVIR_SELECTBOUNDS; nothing for a row the list does not have.
std::optional<RECT> ItemRect(HWND list, int item, int part = LVIR_BOUNDS);
HWND Header(HWND list);
// What an LVN_ITEMCHANGED notification tells of a row's selection: the row and whether it is now
// selected; nothing when the notification changed no row's selection.
struct SelectionChange {
    int item;
    bool selected;
};
std::optional<SelectionChange> SelectionChangeOf(const NMHDR& itemChanged);
}  // namespace listview

namespace header {
// The format flags (HDF_...) of an item; nothing when the header has no such item.
std::optional<int> ItemFormat(HWND header, int item);
void SetItemFormat(HWND header, int item, int format);
}  // namespace header

namespace button {
bool IsChecked(HWND button);
void SetChecked(HWND button, bool checked);
// The icon a push button shows beside its caption; the caller keeps it alive.
void SetIcon(HWND button, HICON icon);
}  // namespace button

namespace statusbar {
// Puts the bar back at the bottom of its parent, as wide as the parent.
void FitToParent(HWND bar);
void SetParts(HWND bar, std::initializer_list<int> widths);  // -1: the rest
void SetText(HWND bar, int panel, std::wstring_view text);
std::wstring Text(HWND bar, int panel);
}  // namespace statusbar

}  // namespace kanaroll
