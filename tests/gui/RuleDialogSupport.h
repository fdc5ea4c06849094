#pragma once

#include <windows.h>

#include <gtest/gtest.h>
#include <string>
#include <string_view>
#include <vector>

#include "catalogue/TReplacePatterns.h"
#include "platform/Controls.h"
#include "platform/WideText.h"
#include "replace/ReplaceHost.h"
#include "replace/ReplacePatterns.h"
#include "replace/TForm2.h"
#include "replace/TForm3.h"
#include "tests/gui/MessageLoopProbe.h"

namespace kanaroll::testing {

// Stands for the main window where the rule dialogs are tested alone: the default rules, and a
// count of what the dialogs asked of it.
class FakeReplaceHost final : public ReplaceHost {
public:
    ReplaceRuleList rules = DefaultReplaceRules();
    bool rulesChangeTitle = true;  // what ApplyReplaceRules answers
    int applications = 0;
    int focusReturns = 0;

    ReplaceRuleList& ReplaceRules() override { return rules; }
    const TextCodec& Codec() const override { return ShiftJisCodec(); }
    bool ApplyReplaceRules() override {
        ++applications;
        return rulesChangeTitle;
    }
    void ReturnFocus() override { ++focusReturns; }
};

// Reading and driving the replace dialog and the condition editor. The editor is modal: what it
// should get is posted before the click that opens it, so that its own message loop handles it.
class RuleDialogDriver {
public:
    void Attach(TForm2& dialog, TForm3& editor) {
        m_dialog = &dialog;
        m_editor = &editor;
    }
    const TForm2::Controls& Dialog() const { return m_dialog->Ui(); }
    const TForm3::Controls& Editor() const { return m_editor->Ui(); }

    static void PostTyping(HWND edit, std::wstring_view text) {
        for (wchar_t c : text) PostMessageW(edit, WM_CHAR, c, 1);
    }
    static void PostKey(HWND control, UINT key) {
        PostMessageW(control, WM_KEYDOWN, key, 1);
        PostMessageW(control, WM_KEYUP, key, 1 | (3u << 30));
    }
    static void PostClick(HWND button) { PostMessageW(button, BM_CLICK, 0, 0); }
    // The last step of every editor session: a failing test still gets out of the modal loop.
    void PostEndEditor() {
        probe.Post([this] {
            if (IsWindowVisible(m_editor->Handle())) {
                ADD_FAILURE() << "the editor was still open";
                SendMessageW(Editor().BitBtn1, BM_CLICK, 0, 0);
            }
        });
    }

    // The three cells of a row of the rule list, joined by "|".
    std::wstring Row(int row) const {
        const HWND list = Dialog().ListView1;
        return listview::ItemText(list, row, 0) + L"|" + listview::ItemText(list, row, 1) + L"|" +
               listview::ItemText(list, row, 2);
    }
    std::vector<std::wstring> AllRows() const {
        std::vector<std::wstring> rows;
        for (int row = 0; row < listview::ItemCount(Dialog().ListView1); ++row) rows.push_back(Row(row));
        return rows;
    }
    // Rules as the list shows them.
    static std::vector<std::wstring> AsRows(const ReplaceRuleList& rules) {
        std::vector<std::wstring> rows;
        for (const auto& rule : rules) {
            rows.push_back(ToWide(rule.searchText, 932) + L"|" + ToWide(rule.replacementText, 932) + L"|" +
                           (rule.onlyInParentheses ? L"○" : L" "));
        }
        return rows;
    }

    static RECT Outer(HWND window) {
        RECT bounds{};
        GetWindowRect(window, &bounds);
        return bounds;
    }
    static SIZE ClientSize(HWND window) {
        RECT client{};
        GetClientRect(window, &client);
        return {client.right, client.bottom};
    }

    Probe probe;

private:
    TForm2* m_dialog = nullptr;
    TForm3* m_editor = nullptr;
};

inline bool operator==(const RECT& a, const RECT& b) {
    return EqualRect(&a, &b) != FALSE;
}

}  // namespace kanaroll::testing
