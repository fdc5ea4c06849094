// Every key the main window answers, and where each goes. The game list, the family list and the
// three title fields carry hooks (InstallHeaderHooks, InstallFieldHooks) that hand their messages to
// KeyMessage first; what it leaves goes on to the control.
//
//   game list        Enter      the title field (ListView1KeyPress)
//                    a letter   the type-ahead by ZIP name (TypeAhead, TForm1GameList.cpp)
//   family list      Enter      the title field
//   both lists       F5         starts MAME on the game, when the menu entry is enabled (PopExecuteClick)
//                    F3         rewrites the title by the rules (N1Click)
//                    Ctrl+S     quick save of mame32j.lst (N3Click)
//                    F4         takes the proposed title and reading (TakeProposal, TForm1Proposals.cpp)
//   the 3 fields     F5, Ctrl+S as in the lists; an emptied title is given its English title
//                               back first, as leaving the field gives it (FieldShortcut)
//   title (Edit1)    Enter      the reading field
//                    F3         rewrites the title, then selects its main part (Edit1KeyDown)
//                    F4         takes the proposed title
//   reading (Edit2)  Enter      the next game, and the title field
//                    Shift+Enter  the next untranslated game, and the title field
//                    F3         rewrites the title, then goes to the title field (Edit2KeyDown)
//                    F4         takes the proposed reading (the cue text)
//   English (Edit3)  F3         as in the reading field (Edit3KeyDown)
//   all of them      F8         the next untranslated game, and the title field (GoToUntranslated)
//                    Shift+F8   the previous untranslated game, and the title field
//
// The popup menu shows F3, F4, F5, F8, Shift+F8 and Ctrl+S as its entries' shortcuts (ListShortcut
// answers them in the lists).
// Tab, Shift+Tab and the buttons' mnemonics are the dialog manager's, which Application runs for
// the main window.
#include "mainwindow/ControlIds.h"
#include "mainwindow/TForm1.h"
#include "platform/Controls.h"
#include "platform/WindowHook.h"

namespace kanaroll {

std::optional<LRESULT> TForm1::KeyMessage(HWND control, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_GETDLGCODE:
            return DialogCode(control, wParam, lParam);
        case WM_KEYDOWN:
        case WM_SYSKEYDOWN:
            if (KeyDown(control, wParam, message == WM_SYSKEYDOWN)) return 0;
            return std::nullopt;
        case WM_CHAR:
            if (KeyPress(control, static_cast<wchar_t>(wParam))) return 0;
            return std::nullopt;
        default:
            return std::nullopt;
    }
}

// Which keys the control takes from the dialog manager: Enter in the lists and in the editable
// fields, which would otherwise press no button here.
LRESULT TForm1::DialogCode(HWND control, WPARAM wParam, LPARAM lParam) {
    LRESULT code = hook::CallNext(control, WM_GETDLGCODE, wParam, lParam);
    const auto* key = reinterpret_cast<const MSG*>(lParam);
    if (control == m_ui.ListView1) {
        if (key && key->message == WM_KEYDOWN && key->wParam == VK_RETURN) code |= DLGC_WANTMESSAGE;
        return code;
    }
    // The dialog manager selects the whole text of a field entered by Tab; the title field makes its
    // own selection instead.
    if (control == m_ui.Edit1) code &= ~static_cast<LRESULT>(DLGC_HASSETSEL);
    if (key && (key->message == WM_KEYDOWN || key->message == WM_CHAR) && key->wParam == VK_RETURN &&
        control != m_ui.Edit3) {
        code |= DLGC_WANTMESSAGE | DLGC_WANTALLKEYS;
    }
    return code;
}

bool TForm1::KeyDown(HWND control, WPARAM key, bool withAlt) {
    if (control == m_ui.ListView1) return !withAlt && (key == VK_RETURN || ListShortcut(key));
    // Enter does its work as a character (KeyPress); its key-down must not reach the control.
    if (key == VK_RETURN && control != m_ui.Edit3) return true;
    if (key == VK_F3) {
        if (control == m_ui.Edit1) return Edit1KeyDown(key);
        if (control == m_ui.Edit2) return Edit2KeyDown(key);
        if (control == m_ui.Edit3) return Edit3KeyDown(key);
    }
    if (withAlt) return false;
    if (control == m_ui.ListView2) return ListShortcut(key);
    if (control == m_ui.Edit1 || control == m_ui.Edit2 || control == m_ui.Edit3)
        return ProposalKey(control, key) || FieldShortcut(control, key);
    return false;
}

bool TForm1::KeyPress(HWND control, wchar_t key) {
    if (control == m_ui.ListView1) return ListView1KeyPress(key) || TypeAhead(key);
    // The character Ctrl+S types after its key-down saved: it means nothing to a field.
    constexpr wchar_t kCtrlS = 0x13;
    if (key == kCtrlS && m_menuAttached &&
        (control == m_ui.Edit1 || control == m_ui.Edit2 || control == m_ui.Edit3)) {
        return true;
    }
    if (key != L'\r') return false;
    if (control == m_ui.ListView2 || control == m_ui.Edit1) {
        SetFocus(control == m_ui.Edit1 ? m_ui.Edit2 : m_ui.Edit1);
        return true;
    }
    if (control == m_ui.Edit2) {
        if (GetKeyState(VK_SHIFT) < 0) {
            // Also when none is left: the title field takes the focus, as after Enter on the last row.
            SelectUntranslated(true);
        } else {
            const int row = CurrentRow();
            if (row >= 0 && row + 1 < m_games.Count()) SelectGameRow(m_ui.ListView1, row + 1);
        }
        SetFocus(m_ui.Edit1);
        return true;
    }
    return false;
}

bool TForm1::ListView1KeyPress(wchar_t key) {
    if (key != L'\r') return false;
    FocusJapaneseName();
    return true;
}

// F3 answers whatever modifiers are held.
bool TForm1::Edit1KeyDown(WPARAM key) {
    if (key != VK_F3) return false;
    if (ApplyReplaceRules()) ApplyJapaneseNameSelection();
    return true;
}

bool TForm1::Edit2KeyDown(WPARAM key) {
    if (key != VK_F3) return false;
    if (ApplyReplaceRules()) FocusJapaneseName();  // the entry selection runs as the focus arrives
    return true;
}

bool TForm1::Edit3KeyDown(WPARAM key) {
    return Edit2KeyDown(key);
}

namespace {
bool Held(int key) {
    return GetKeyState(key) < 0;
}
bool IsQuickSaveKey(WPARAM key) {
    return key == 'S' && Held(VK_CONTROL) && !Held(VK_SHIFT) && !Held(VK_MENU);
}
}  // namespace

// F4 in the title and reading fields, and F8 and Shift+F8 in the fields (the lists answer them as
// the menu's shortcuts). Other modifiers leave the keys to the control.
bool TForm1::ProposalKey(HWND control, WPARAM key) {
    const bool shift = GetKeyState(VK_SHIFT) < 0;
    if (GetKeyState(VK_CONTROL) < 0 || GetKeyState(VK_MENU) < 0) return false;
    if (key == VK_F8) {
        GoToUntranslated(!shift);
        return true;
    }
    if (key != VK_F4 || shift) return false;
    if (control == m_ui.Edit1) TakeProposal(ProposalPart::Title);
    if (control == m_ui.Edit2) TakeProposal(ProposalPart::Reading);
    return control == m_ui.Edit1 || control == m_ui.Edit2;
}

// The popup menu's shortcuts, which act while a list has the focus, once the catalogue is loaded.
bool TForm1::ListShortcut(WPARAM key) {
    if (!m_menuAttached) return false;
    if (Held(VK_CONTROL) || Held(VK_SHIFT) || Held(VK_MENU)) {
        if (IsQuickSaveKey(key)) {
            N3Click();
            return true;
        }
        if (key == VK_F8 && Held(VK_SHIFT) && !Held(VK_CONTROL) && !Held(VK_MENU)) {
            GoToUntranslated(false);
            return true;
        }
        return false;
    }
    switch (key) {
        case VK_F5:
            if (!(GetMenuState(m_ui.PopupMenu1, ids::kPopExecute, MF_BYCOMMAND) &
                  (MF_DISABLED | MF_GRAYED))) {
                PopExecuteClick();
            }
            return true;
        case VK_F3:
            N1Click();
            return true;
        case VK_F4:
            TakeProposal(ProposalPart::Both);
            return true;
        case VK_F8:
            GoToUntranslated(true);
            return true;
        default:
            return false;
    }
}

// The quick save and the launch work while typing too: the fields are where a person is when they
// decide to save. Every other save leaves the title field first (a click on the button, the question
// on closing), and an emptied title is then given its English title back; Ctrl+S does the same, so
// that no save writes an empty title.
bool TForm1::FieldShortcut(HWND control, WPARAM key) {
    if (key != VK_F5 && key != 'S') return false;  // the fields' own keys, F3 aside
    if (control == m_ui.Edit1 && m_menuAttached && IsQuickSaveKey(key)) Edit1Exit();
    return ListShortcut(key);
}

}  // namespace kanaroll
