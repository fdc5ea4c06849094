// The two event chains the windows rely on, checked on bare controls in a hidden parent that
// records what they tell it: the program's edit of a field raises its change event exactly when
// the text changes, and a row selected by the program raises the selection events at once, the old
// row's loss before the new row's gain. Both events must have arrived when the call returns: the
// handlers that act on them run inside it. Also the kernel handle owner, which two kinds of failed
// calls give two kinds of empty handle.
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>
#include <string>
#include <utility>
#include <vector>

#include "platform/Controls.h"
#include "platform/Handles.h"

namespace kanaroll::testing {
namespace {

// A hidden top-level window that writes down the notifications of its children, as short texts:
// "change" for an edit's EN_CHANGE, "row N on" and "row N off" for a list row's selection.
class RecordingParent {
public:
    RecordingParent() {
        WNDCLASSW windowClass{};
        windowClass.lpfnWndProc = &RecordingParent::Procedure;
        windowClass.hInstance = GetModuleHandleW(nullptr);
        windowClass.lpszClassName = L"KanarollTestRecordingParent";
        RegisterClassW(&windowClass);  // fails harmlessly when already registered
        m_window = CreateWindowExW(0, windowClass.lpszClassName, L"", WS_OVERLAPPEDWINDOW, 0, 0, 400, 300,
                                   nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
        SetWindowLongPtrW(m_window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    }
    ~RecordingParent() { DestroyWindow(m_window); }
    RecordingParent(const RecordingParent&) = delete;
    RecordingParent& operator=(const RecordingParent&) = delete;

    HWND Child(const wchar_t* className, DWORD style) const {
        return CreateWindowExW(0, className, L"", WS_CHILD | WS_VISIBLE | style, 0, 0, 300, 200, m_window,
                               reinterpret_cast<HMENU>(static_cast<INT_PTR>(1)), GetModuleHandleW(nullptr),
                               nullptr);
    }

    // What was recorded since the last call.
    std::vector<std::string> Take() { return std::exchange(m_events, {}); }

private:
    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        auto* self = reinterpret_cast<RecordingParent*>(GetWindowLongPtrW(window, GWLP_USERDATA));
        if (self && message == WM_COMMAND && HIWORD(wParam) == EN_CHANGE) self->m_events.push_back("change");
        if (self && message == WM_NOTIFY) {
            const auto& header = *reinterpret_cast<const NMHDR*>(lParam);
            if (header.code == LVN_ITEMCHANGED) {
                if (const auto change = listview::SelectionChangeOf(header)) {
                    self->m_events.push_back("row " + std::to_string(change->item) +
                                             (change->selected ? " on" : " off"));
                }
            }
        }
        return DefWindowProcW(window, message, wParam, lParam);
    }

    HWND m_window = nullptr;
    std::vector<std::string> m_events;
};

using Events = std::vector<std::string>;

TEST(ControlEventsTest, ChangingAFieldRaisesOneChangeForADifferentTextAndNoneForTheSame) {
    RecordingParent parent;
    const HWND field = parent.Child(WC_EDITW, ES_AUTOHSCROLL);
    parent.Take();

    EXPECT_TRUE(edit::ChangeText(field, L"パックマン"));
    EXPECT_EQ(parent.Take(), Events{"change"});
    EXPECT_FALSE(edit::ChangeText(field, L"パックマン"));
    EXPECT_EQ(parent.Take(), Events{});
    EXPECT_TRUE(edit::ChangeText(field, L""));
    EXPECT_EQ(parent.Take(), Events{"change"});
    EXPECT_FALSE(edit::ChangeText(field, L""));
    EXPECT_EQ(parent.Take(), Events{});
    EXPECT_EQ(window::Text(field), L"");

    // Filling raises the event every time, the same text too: the caller keeps its handler out.
    edit::FillText(field, L"ぱっくまん");
    EXPECT_EQ(parent.Take(), Events{"change"});
    edit::FillText(field, L"ぱっくまん");
    EXPECT_EQ(parent.Take(), Events{"change"});
    EXPECT_EQ(window::Text(field), L"ぱっくまん");
}

// Both kinds of list the main window has: the game list, whose rows are supplied on demand, and the
// family list, which holds its rows.
class RowSelectionTest : public ::testing::TestWithParam<bool> {
protected:
    static constexpr int kRows = 40;

    void SetUp() override {
        const bool virtualRows = GetParam();
        list = parent.Child(
            WC_LISTVIEWW, LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS | (virtualRows ? LVS_OWNERDATA : 0));
        listview::AddColumn(list, 0, L"ZIP名", 80);
        if (virtualRows) {
            listview::SetVirtualItemCount(list, kRows);
        } else {
            for (int row = 0; row < kRows; ++row) listview::InsertItem(list, row, L"game", I_IMAGENONE);
        }
        parent.Take();
    }

    RecordingParent parent;
    HWND list = nullptr;
};

TEST_P(RowSelectionTest, SelectingARowByProgramRaisesTheOldRowsLossThenTheNewRowsGainAtOnce) {
    listview::SelectAndFocus(list, 3);
    EXPECT_EQ(parent.Take(), Events{"row 3 on"});
    EXPECT_EQ(listview::FocusedItem(list), 3);

    // With and without the caller saying which row is selected now; the result is the same.
    listview::SelectAndFocus(list, 30, 3);
    EXPECT_EQ(parent.Take(), (Events{"row 3 off", "row 30 on"}));
    listview::SelectAndFocus(list, 5);
    EXPECT_EQ(parent.Take(), (Events{"row 30 off", "row 5 on"}));
    EXPECT_EQ(listview::SelectedItem(list), 5);
    EXPECT_EQ(listview::FocusedItem(list), 5);

    // The selected row again: no selection changes hands.
    listview::SelectAndFocus(list, 5, 5);
    EXPECT_EQ(parent.Take(), Events{});
    // A stale hint is only a hint.
    listview::SelectAndFocus(list, 7, 12);
    EXPECT_EQ(parent.Take(), (Events{"row 5 off", "row 7 on"}));
    EXPECT_EQ(listview::SelectedItem(list), 7);
}

INSTANTIATE_TEST_SUITE_P(VirtualAndOrdinaryLists, RowSelectionTest, ::testing::Bool(),
                         [](const auto& info) { return info.param ? "Virtual" : "Ordinary"; });

TEST(ControlEventsTest, AKernelHandleIsHeldOnlyWhenItIsNeitherNullNorInvalid) {
    UniqueHandle missing(CreateFileW(L"Z:\\no\\such\\folder\\file.txt", GENERIC_READ, 0, nullptr,
                                     OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    ASSERT_EQ(missing.Get(), INVALID_HANDLE_VALUE);
    EXPECT_FALSE(missing);
    EXPECT_FALSE(UniqueHandle(OpenMutexW(SYNCHRONIZE, FALSE, L"KanarollNoSuchMutex")));

    UniqueHandle event(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    ASSERT_TRUE(event);
    const HANDLE raw = event.Get();
    UniqueHandle moved(std::move(event));
    EXPECT_FALSE(event);
    EXPECT_TRUE(moved);
    moved.Reset();
    DWORD flags = 0;
    EXPECT_FALSE(GetHandleInformation(raw, &flags));  // closed
}

}  // namespace
}  // namespace kanaroll::testing
