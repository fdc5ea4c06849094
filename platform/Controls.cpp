#include "platform/Controls.h"

#include <array>
#include <vector>

namespace kanaroll {

namespace window {

std::wstring Text(HWND window) {
    const int length = GetWindowTextLengthW(window);
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    const int copied = GetWindowTextW(window, text.data(), length + 1);
    text.resize(static_cast<std::size_t>(copied));
    return text;
}

void SetText(HWND window, std::wstring_view text) {
    SetWindowTextW(window, std::wstring(text).c_str());
}

void Enable(HWND window, bool enabled) {
    EnableWindow(window, enabled ? TRUE : FALSE);
}

RECT BoundsInParent(HWND window) {
    RECT bounds{};
    GetWindowRect(window, &bounds);
    MapWindowPoints(HWND_DESKTOP, GetParent(window), reinterpret_cast<POINT*>(&bounds), 2);
    return bounds;
}

}  // namespace window

namespace edit {

bool ChangeText(HWND edit, std::wstring_view text) {
    if (window::Text(edit) == text) return false;
    window::SetText(edit, text);
    return true;
}

void FillText(HWND edit, std::wstring_view text) {
    window::SetText(edit, text);
}

void TypeText(HWND edit, std::wstring_view text) {
    if (window::Text(edit) == text) return;
    const std::wstring copy(text);
    SendMessageW(edit, EM_SETSEL, 0, -1);
    SendMessageW(edit, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(copy.c_str()));
}

void SetCueText(HWND edit, std::wstring_view text) {
    const std::wstring copy(text);
    SendMessageW(edit, EM_SETCUEBANNER, TRUE, reinterpret_cast<LPARAM>(copy.c_str()));
}

std::wstring CueText(HWND edit) {
    std::array<wchar_t, 256> text{};
    if (!SendMessageW(edit, EM_GETCUEBANNER, reinterpret_cast<WPARAM>(text.data()), text.size())) return {};
    return text.data();
}

void SetSelection(HWND edit, int start, int end) {
    SendMessageW(edit, EM_SETSEL, start, end);
}

std::pair<int, int> Selection(HWND edit) {
    DWORD start = 0;
    DWORD end = 0;
    SendMessageW(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    return {static_cast<int>(start), static_cast<int>(end)};
}

void ScrollCaret(HWND edit) {
    SendMessageW(edit, EM_SCROLLCARET, 0, 0);
}

}  // namespace edit

namespace listview {

void SetExtendedStyle(HWND list, DWORD styles) {
    SendMessageW(list, LVM_SETEXTENDEDLISTVIEWSTYLE, 0, static_cast<LPARAM>(styles));
}

void SetSmallImages(HWND list, HIMAGELIST images) {
    SendMessageW(list, LVM_SETIMAGELIST, LVSIL_SMALL, reinterpret_cast<LPARAM>(images));
}

void AddColumn(HWND list, int index, std::wstring_view caption, int width, int format) {
    std::wstring text(caption);
    LVCOLUMNW column{};
    column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT | LVCF_SUBITEM;
    column.fmt = format;
    column.cx = width;
    column.pszText = text.data();
    column.iSubItem = index;
    SendMessageW(list, LVM_INSERTCOLUMNW, index, reinterpret_cast<LPARAM>(&column));
}

int ColumnWidth(HWND list, int column) {
    return static_cast<int>(SendMessageW(list, LVM_GETCOLUMNWIDTH, column, 0));
}

void SetColumnWidth(HWND list, int column, int width) {
    SendMessageW(list, LVM_SETCOLUMNWIDTH, column, MAKELPARAM(width, 0));
}

ColumnInfo Column(HWND list, int column) {
    std::array<wchar_t, 256> caption{};
    LVCOLUMNW info{};
    info.mask = LVCF_WIDTH | LVCF_TEXT;
    info.pszText = caption.data();
    info.cchTextMax = static_cast<int>(caption.size()) - 1;
    SendMessageW(list, LVM_GETCOLUMNW, static_cast<WPARAM>(column), reinterpret_cast<LPARAM>(&info));
    return {info.cx, std::wstring(caption.data(), wcsnlen(caption.data(), caption.size()))};
}

std::wstring ColumnCaption(HWND list, int column) {
    return Column(list, column).caption;
}

int ItemCount(HWND list) {
    return static_cast<int>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
}

void SetVirtualItemCount(HWND list, int count) {
    SendMessageW(list, LVM_SETITEMCOUNT, count, 0);
}

int InsertItem(HWND list, int index, std::wstring_view caption, int image) {
    std::wstring text(caption);
    LVITEMW item{};
    item.mask = LVIF_TEXT | LVIF_IMAGE;
    item.iItem = index;
    item.pszText = text.data();
    item.iImage = image;
    return static_cast<int>(SendMessageW(list, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)));
}

void SetItemText(HWND list, int item, int subItem, std::wstring_view text) {
    std::wstring copy(text);
    LVITEMW info{};
    info.iSubItem = subItem;
    info.pszText = copy.data();
    SendMessageW(list, LVM_SETITEMTEXTW, item, reinterpret_cast<LPARAM>(&info));
}

std::wstring ItemText(HWND list, int item, int subItem) {
    std::vector<wchar_t> buffer(512);
    for (;;) {
        LVITEMW info{};
        info.iSubItem = subItem;
        info.pszText = buffer.data();
        info.cchTextMax = static_cast<int>(buffer.size());
        const auto length = static_cast<std::size_t>(
            SendMessageW(list, LVM_GETITEMTEXTW, item, reinterpret_cast<LPARAM>(&info)));
        if (length + 1 < buffer.size()) return std::wstring(buffer.data(), length);
        buffer.resize(buffer.size() * 4);
    }
}

int ItemImage(HWND list, int item) {
    LVITEMW info{};
    info.mask = LVIF_IMAGE;
    info.iItem = item;
    SendMessageW(list, LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&info));
    return info.iImage;
}

void DeleteAllItems(HWND list) {
    SendMessageW(list, LVM_DELETEALLITEMS, 0, 0);
}

void DeleteItem(HWND list, int item) {
    SendMessageW(list, LVM_DELETEITEM, item, 0);
}

int SelectedItem(HWND list) {
    return static_cast<int>(SendMessageW(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
}

int FocusedItem(HWND list) {
    return static_cast<int>(SendMessageW(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_FOCUSED));
}

namespace {
void SetState(HWND list, int item, UINT state, UINT mask) {
    LVITEMW info{};
    info.stateMask = mask;
    info.state = state;
    SendMessageW(list, LVM_SETITEMSTATE, item, reinterpret_cast<LPARAM>(&info));
}
}  // namespace

std::optional<SelectionChange> SelectionChangeOf(const NMHDR& itemChanged) {
    const auto& change = *reinterpret_cast<const NMLISTVIEW*>(&itemChanged);
    if (!(change.uChanged & LVIF_STATE) || change.iItem < 0 ||
        !((change.uNewState ^ change.uOldState) & LVIS_SELECTED)) {
        return std::nullopt;
    }
    return SelectionChange{change.iItem, (change.uNewState & LVIS_SELECTED) != 0};
}

bool IsSelected(HWND list, int item) {
    return SendMessageW(list, LVM_GETITEMSTATE, item, LVIS_SELECTED) != 0;
}

void SelectAndFocus(HWND list, int item, int selectedNow) {
    // A single-selection list clears the other rows itself, but Wine's list view does so by
    // walking every row of a virtual list (tens of milliseconds on a long one) unless no row is
    // selected at all. So the rows selected before are cleared here first, one by one; the
    // notifications are the same: the old row loses its selection, then the new one gains it.
    // (Lifting LVS_SINGLESEL for the moment instead costs two style changes, each of which
    // lays out the list's header and scroll bars again: some 9 ms apiece under Wine.)
    if (selectedNow >= 0 && selectedNow != item && IsSelected(list, selectedNow)) {
        SetState(list, selectedNow, 0, LVIS_SELECTED);
    }
    for (int selected = -1;;) {
        const auto count = SendMessageW(list, LVM_GETSELECTEDCOUNT, 0, 0);
        const bool itemSelected = IsSelected(list, item);
        if (count <= (itemSelected ? 1 : 0)) break;
        selected = static_cast<int>(SendMessageW(list, LVM_GETNEXTITEM, selected, LVNI_SELECTED));
        if (selected < 0) break;
        if (selected != item) SetState(list, selected, 0, LVIS_SELECTED);
    }
    SetState(list, item, LVIS_FOCUSED | LVIS_SELECTED, LVIS_FOCUSED | LVIS_SELECTED);
}

void Select(HWND list, int item) {
    SetState(list, item, LVIS_SELECTED, LVIS_SELECTED);
}

void Focus(HWND list, int item) {
    SetState(list, item, LVIS_FOCUSED, LVIS_FOCUSED);
}

void EnsureVisible(HWND list, int item, bool partialOk) {
    SendMessageW(list, LVM_ENSUREVISIBLE, item, partialOk ? TRUE : FALSE);
}

void RedrawItem(HWND list, int item) {
    SendMessageW(list, LVM_REDRAWITEMS, item, item);
}

std::optional<RECT> ItemRect(HWND list, int item, int part) {
    RECT bounds{part, 0, 0, 0};
    if (!SendMessageW(list, LVM_GETITEMRECT, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(&bounds))) {
        return std::nullopt;
    }
    return bounds;
}

HWND Header(HWND list) {
    return reinterpret_cast<HWND>(SendMessageW(list, LVM_GETHEADER, 0, 0));
}

}  // namespace listview

namespace header {

std::optional<int> ItemFormat(HWND header, int item) {
    HDITEMW info{};
    info.mask = HDI_FORMAT;
    if (!SendMessageW(header, HDM_GETITEMW, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(&info))) {
        return std::nullopt;
    }
    return info.fmt;
}

void SetItemFormat(HWND header, int item, int format) {
    HDITEMW info{};
    info.mask = HDI_FORMAT;
    info.fmt = format;
    SendMessageW(header, HDM_SETITEMW, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(&info));
}

}  // namespace header

namespace button {

bool IsChecked(HWND button) {
    return SendMessageW(button, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void SetChecked(HWND button, bool checked) {
    SendMessageW(button, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

void SetIcon(HWND button, HICON icon) {
    SendMessageW(button, BM_SETIMAGE, IMAGE_ICON, reinterpret_cast<LPARAM>(icon));
}

}  // namespace button

namespace statusbar {

void FitToParent(HWND bar) {
    SendMessageW(bar, WM_SIZE, 0, 0);
}

void SetParts(HWND bar, std::initializer_list<int> widths) {
    std::vector<int> rights;
    int right = 0;
    for (int width : widths) {
        right = width < 0 ? -1 : right + width;
        rights.push_back(right);
    }
    SendMessageW(bar, SB_SETPARTS, rights.size(), reinterpret_cast<LPARAM>(rights.data()));
}

void SetText(HWND bar, int panel, std::wstring_view text) {
    // The bar repaints the panel even for the text it shows already, which most selections set.
    if (Text(bar, panel) == text) return;
    std::wstring copy(text);
    SendMessageW(bar, SB_SETTEXTW, static_cast<WPARAM>(panel), reinterpret_cast<LPARAM>(copy.c_str()));
}

std::wstring Text(HWND bar, int panel) {
    const auto length = LOWORD(SendMessageW(bar, SB_GETTEXTLENGTHW, panel, 0));
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    SendMessageW(bar, SB_GETTEXTW, panel, reinterpret_cast<LPARAM>(text.data()));
    text.resize(length);
    return text;
}

}  // namespace statusbar

}  // namespace kanaroll
