// The hook chain in front of a control's window procedure: order, handing on, data, the window's
// end, and that the chain is not found through window properties.
#include <windows.h>

#include <gtest/gtest.h>
#include <string>
#include <vector>

#include "platform/WindowHook.h"

namespace kanaroll::testing {
namespace {

// What the hook procedures saw, in order.
struct Journal {
    std::vector<std::string> entries;
};

struct Layer {
    std::string name;
    Journal* journal;
    UINT swallowed = 0;  // a message this layer answers itself with 42
};

LRESULT Record(HWND window, UINT message, WPARAM wParam, LPARAM lParam, void* data) {
    auto* layer = static_cast<Layer*>(data);
    if (message == WM_USER || message == WM_NCDESTROY) layer->journal->entries.push_back(layer->name);
    if (message == layer->swallowed) return 42;
    return hook::CallNext(window, message, wParam, lParam);
}

// A second procedure, so that two different layers sit on one window.
LRESULT RecordToo(HWND window, UINT message, WPARAM wParam, LPARAM lParam, void* data) {
    return Record(window, message, wParam, lParam, data);
}

// Answers WM_USER + 1 by sending WM_USER to the same window: a nested call through the chain.
LRESULT Reenter(HWND window, UINT message, WPARAM wParam, LPARAM lParam, void* data) {
    if (message == WM_USER + 1) {
        const LRESULT inner = SendMessageW(window, WM_USER, 0, 0);
        static_cast<Layer*>(data)->journal->entries.push_back("after nested");
        return inner + hook::CallNext(window, message, wParam, lParam);
    }
    return hook::CallNext(window, message, wParam, lParam);
}

class WindowHookTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_edit = CreateWindowExW(0, L"EDIT", L"text", WS_POPUP, 0, 0, 100, 20, nullptr, nullptr,
                                 GetModuleHandleW(nullptr), nullptr);
        ASSERT_NE(m_edit, nullptr);
        m_editProcedure = reinterpret_cast<WNDPROC>(GetWindowLongPtrW(m_edit, GWLP_WNDPROC));
    }
    void TearDown() override {
        if (m_edit) DestroyWindow(m_edit);
    }

    HWND m_edit = nullptr;
    WNDPROC m_editProcedure = nullptr;
    Journal m_journal;
};

TEST_F(WindowHookTest, TheLastInstalledRunsFirstAndTheControlLast) {
    Layer inner{"inner", &m_journal}, outer{"outer", &m_journal};
    ASSERT_TRUE(hook::Install(m_edit, Record, &inner));
    ASSERT_TRUE(hook::Install(m_edit, RecordToo, &outer));

    SendMessageW(m_edit, WM_USER, 0, 0);
    EXPECT_EQ(m_journal.entries, (std::vector<std::string>{"outer", "inner"}));

    // Handed on to the end, the control still does its own work.
    SendMessageW(m_edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"changed"));
    wchar_t text[16] = {};
    GetWindowTextW(m_edit, text, 16);
    EXPECT_STREQ(text, L"changed");
}

TEST_F(WindowHookTest, ALayerThatAnswersStopsTheMessage) {
    Layer inner{"inner", &m_journal}, outer{"outer", &m_journal, WM_USER};
    hook::Install(m_edit, Record, &inner);
    hook::Install(m_edit, RecordToo, &outer);

    EXPECT_EQ(SendMessageW(m_edit, WM_USER, 0, 0), 42);
    EXPECT_EQ(m_journal.entries, (std::vector<std::string>{"outer"}));
}

TEST_F(WindowHookTest, ANestedMessageWalksTheWholeChainAgain) {
    Layer inner{"inner", &m_journal}, reentering{"reentering", &m_journal};
    hook::Install(m_edit, Record, &inner);
    hook::Install(m_edit, Reenter, &reentering);

    SendMessageW(m_edit, WM_USER + 1, 0, 0);
    EXPECT_EQ(m_journal.entries, (std::vector<std::string>{"inner", "after nested"}));
}

TEST_F(WindowHookTest, InstallingAgainReplacesTheDataOnly) {
    Layer first{"first", &m_journal}, second{"second", &m_journal};
    hook::Install(m_edit, Record, &first);
    hook::Install(m_edit, Record, &second);
    EXPECT_EQ(hook::Find(m_edit, Record), &second);
    EXPECT_EQ(hook::Find(m_edit, RecordToo), nullptr);

    SendMessageW(m_edit, WM_USER, 0, 0);
    EXPECT_EQ(m_journal.entries, (std::vector<std::string>{"second"}));
}

TEST_F(WindowHookTest, EveryLayerSeesTheWindowsEndAndTheChainGoesWithIt) {
    Layer inner{"inner", &m_journal}, outer{"outer", &m_journal};
    hook::Install(m_edit, Record, &inner);
    hook::Install(m_edit, RecordToo, &outer);

    ASSERT_TRUE(DestroyWindow(m_edit));
    const HWND destroyed = m_edit;
    m_edit = nullptr;
    EXPECT_EQ(m_journal.entries, (std::vector<std::string>{"outer", "inner"}));
    EXPECT_EQ(hook::Find(destroyed, Record), nullptr);
    EXPECT_EQ(hook::Find(destroyed, RecordToo), nullptr);
}

TEST_F(WindowHookTest, TheChainIsKeptOutsideTheWindowsProperties) {
    const auto propertyCount = [](HWND window) {
        int count = 0;
        EnumPropsExW(
            window,
            [](HWND, LPWSTR, HANDLE, ULONG_PTR total) { return ++*reinterpret_cast<int*>(total), TRUE; },
            reinterpret_cast<LPARAM>(&count));
        return count;
    };
    const int before = propertyCount(m_edit);
    Layer layer{"layer", &m_journal};
    hook::Install(m_edit, Record, &layer);

    EXPECT_EQ(propertyCount(m_edit), before);
    EXPECT_NE(reinterpret_cast<WNDPROC>(GetWindowLongPtrW(m_edit, GWLP_WNDPROC)), m_editProcedure);
}

}  // namespace
}  // namespace kanaroll::testing
