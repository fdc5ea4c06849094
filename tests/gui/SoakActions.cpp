// What a person does at the windows, chosen at random.
#include <algorithm>
#include <optional>

#include "mainwindow/GameColumns.h"
#include "mainwindow/GameOrder.h"
#include "tests/gui/SoakTest.h"
#include "tests/gui/SortHeaderSupport.h"

namespace kanaroll::testing::soak {

void SoakTest::PerformRandomAction(Random& random) {
    struct Weighted {
        int weight;
        void (SoakTest::*action)(Random&);
        const char* name;
    };
    // Relative weights. The type-ahead is rare, as each one waits for the search of the one
    // before to expire.
    static constexpr Weighted kActionsByWeight[] = {
        {54, &SoakTest::ListKeys, "ListKeys"},
        {24, &SoakTest::ClickGameRow, "ClickGameRow"},
        {1, &SoakTest::TypeAhead, "TypeAhead"},
        {18, &SoakTest::FamilyKeys, "FamilyKeys"},
        {12, &SoakTest::ClickFamilyRow, "ClickFamilyRow"},
        {18, &SoakTest::EnterInList, "EnterInList"},
        {80, &SoakTest::TypeTitle, "TypeTitle"},
        {68, &SoakTest::TypeReading, "TypeReading"},
        {54, &SoakTest::EditingKeys, "EditingKeys"},
        {30, &SoakTest::EnterInTitle, "EnterInTitle"},
        {48, &SoakTest::EnterInReading, "EnterInReading"},
        {12, &SoakTest::TabKey, "TabKey"},
        {12, &SoakTest::ClickField, "ClickField"},
        {6, &SoakTest::DoubleClickReading, "DoubleClickReading"},
        {30, &SoakTest::F3, "F3"},
        {18, &SoakTest::Sort, "Sort"},
        {18, &SoakTest::Reset, "Reset"},
        {18, &SoakTest::Undo, "Undo"},
        {24, &SoakTest::RuleDialog, "RuleDialog"},
        {12, &SoakTest::QuickSave, "QuickSave"},
        {6, &SoakTest::Output, "Output"},
    };
    int total = 0;
    for (const auto& entry : kActionsByWeight) total += entry.weight;
    int pick = random.Below(total);
    for (const auto& entry : kActionsByWeight) {
        if (pick < entry.weight) {
            const Stopwatch watch(m_timings, entry.name);
            (this->*entry.action)(random);
            return;
        }
        pick -= entry.weight;
    }
}

void SoakTest::ListKeys(Random& random) {
    static constexpr UINT kKeys[] = {VK_DOWN, VK_DOWN,  VK_DOWN, VK_UP, VK_UP,
                                     VK_NEXT, VK_PRIOR, VK_HOME, VK_END};
    PressKeyIn(Ui().ListView1, "the game list", random.Pick(kKeys));
}

void SoakTest::PressKeyIn(HWND list, const std::string& listName, UINT key) {
    FocusList(list);
    Log("key " + KeyName(key) + " in " + listName);
    PressKey(key);
}

void SoakTest::ClickGameRow(Random& random) {
    const HWND list = Ui().ListView1;
    if (random.Chance(40)) {
        // The scroll bar first, a page or more up or down.
        const WPARAM direction = random.Chance(50) ? SB_PAGEDOWN : SB_PAGEUP;
        const int pages = 1 + random.Below(20);
        for (int page = 0; page < pages; ++page) PostMessageW(list, WM_VSCROLL, direction, 0);
        Pump();
        Log("scroll " + std::to_string(pages) + " pages " + (direction == SB_PAGEDOWN ? "down" : "up"));
    }
    const int top = static_cast<int>(SendMessageW(list, LVM_GETTOPINDEX, 0, 0));
    const int visible = std::min(static_cast<int>(SendMessageW(list, LVM_GETCOUNTPERPAGE, 0, 0)),
                                 form->Games().Count() - top);
    const int row = top + random.Below(std::max(visible, 1));
    Log("click game row " + std::to_string(row) + " (" + form->Games()[row].zipName + ")");
    ClickRow(list, row);
}

// The type-ahead joins keys typed within a second; the pause keeps each action a search of its
// own, so that a seed replays whatever the speed of the machine.
void SoakTest::TypeAhead(Random& random) {
    while (GetTickCount() - m_lastTypeAhead < kTypeAheadPauseMs) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
        Pump();
    }
    static constexpr wchar_t kFirst[] = L"pgdxbrtsmkcondeafhP";
    std::wstring text(1, kFirst[random.Below(static_cast<int>(std::size(kFirst)) - 1)]);
    if (random.Chance(50)) text += static_cast<wchar_t>(L'a' + random.Below(26));
    FocusList(Ui().ListView1);
    Log("type-ahead \"" + WideToUtf8(text) + "\" in the game list");
    m_selectionMayRepeat = true;
    Type(text);
    m_lastTypeAhead = GetTickCount();
}

void SoakTest::FamilyKeys(Random& random) {
    static constexpr UINT kKeys[] = {VK_DOWN, VK_DOWN, VK_UP, VK_HOME, VK_END};
    PressKeyIn(Ui().ListView2, "the family list", random.Pick(kKeys));
}

void SoakTest::ClickFamilyRow(Random& random) {
    const HWND list = Ui().ListView2;
    const int rows = listview::ItemCount(list);
    if (rows == 0) return;
    const int row = random.Below(rows);
    listview::EnsureVisible(list, row);  // as the scroll bar would
    Log("click family row " + std::to_string(row) + " (" + WideToUtf8(Cell(list, row, 0)) + ")");
    ClickRow(list, row);
}

void SoakTest::EnterInList(Random& random) {
    const HWND list = random.Chance(70) ? Ui().ListView1 : Ui().ListView2;
    FocusList(list);
    Log(std::string("Enter in the ") + (list == Ui().ListView1 ? "game" : "family") + " list");
    PressKey(VK_RETURN);
    Expect(GetFocus() == Ui().Edit1, "Enter in a list did not move the focus to the title field");
    ExpectEntrySelection();
}

void SoakTest::TypeTitle(Random& random) {
    EnsureFocus(Ui().Edit1, random);
    const std::wstring text = RandomTitleText(random);
    Log("type \"" + WideToUtf8(text) + "\" in the title field");
    Type(text);
}

void SoakTest::TypeReading(Random& random) {
    EnsureFocus(Ui().Edit2, random);
    const std::wstring text = RandomReadingText(random);
    Log("type \"" + WideToUtf8(text) + "\" in the reading field");
    Type(text);
}

void SoakTest::EditingKeys(Random& random) {
    const HWND field = random.Chance(50) ? Ui().Edit1 : Ui().Edit2;
    EnsureFocus(field, random);
    const std::string where = field == Ui().Edit1 ? " in the title field" : " in the reading field";
    switch (random.Below(8)) {
        case 0:
        case 1: {
            const int presses = 1 + random.Below(4);
            Log(std::to_string(presses) + " x Backspace" + where);
            for (int press = 0; press < presses; ++press) PressKey(VK_BACK);
            break;
        }
        case 2:
            Log("Delete" + where);
            PressKey(VK_DELETE);
            break;
        case 3:
            Log("Home" + where);
            PressKey(VK_HOME);
            break;
        case 4:
            Log("End" + where);
            PressKey(VK_END);
            break;
        case 5: {
            Log("Shift+Home, Backspace" + where);
            {
                HeldModifiers shift({VK_SHIFT});
                PressKey(VK_HOME);
            }
            PressKey(VK_BACK);
            break;
        }
        case 6: {
            Log("Ctrl+Z" + where);
            HeldModifiers control({VK_CONTROL});
            PressKey('Z');
            break;
        }
        default:
            Log("Left, Left" + where);
            PressKey(VK_LEFT);
            PressKey(VK_LEFT);
            break;
    }
}

void SoakTest::EnterInTitle(Random& random) {
    EnsureFocus(Ui().Edit1, random);
    Log("Enter in the title field");
    PressKey(VK_RETURN);
    Expect(GetFocus() == Ui().Edit2, "Enter in the title field did not move the focus to the reading");
    const int length = static_cast<int>(Shown(Ui().Edit2).size());
    Expect(ShownSelection(Ui().Edit2) == std::make_pair(0, length), "the reading was not selected whole");
}

void SoakTest::EnterInReading(Random& random) {
    EnsureFocus(Ui().Edit2, random);
    const int row = listview::SelectedItem(Ui().ListView1);
    Log("Enter in the reading field on row " + std::to_string(row));
    PressKey(VK_RETURN);
    const int expected = row + 1 < form->Games().Count() ? row + 1 : row;
    Expect(State().currentIndex == expected, "Enter in the reading field did not move to the next game");
    Expect(GetFocus() == Ui().Edit1, "Enter in the reading field did not move the focus to the title");
    ExpectEntrySelection();
}

void SoakTest::TabKey(Random& random) {
    const HWND kFrom[] = {Ui().Edit1, Ui().Edit2, Ui().ListView1, Ui().ListView2};
    const HWND from = random.Pick(kFrom);
    const bool back = random.Chance(30);
    if (from == Ui().Edit1 || from == Ui().Edit2) {
        EnsureFocus(from, random);
    } else {
        FocusList(from);
    }
    Log(std::string(back ? "Shift+Tab" : "Tab") + " from " + ControlName(from));
    if (back) {
        HeldModifiers shift({VK_SHIFT});
        PressKey(VK_TAB);
    } else {
        PressKey(VK_TAB);
    }
}

void SoakTest::ClickField(Random& random) {
    const HWND kFields[] = {Ui().Edit1, Ui().Edit2, Ui().Edit3};
    const HWND field = random.Pick(kFields);
    ClickInside(field, random);
    Log("click into " + ControlName(field));
}

void SoakTest::DoubleClickReading(Random& random) {
    EnsureFocus(Ui().Edit2, random);
    RECT client{};
    GetClientRect(Ui().Edit2, &client);
    const LPARAM at = MAKELPARAM(4 + random.Below(std::max<int>(client.right - 8, 1)), client.bottom / 2);
    PostMessageW(Ui().Edit2, WM_LBUTTONDOWN, MK_LBUTTON, at);
    PostMessageW(Ui().Edit2, WM_LBUTTONUP, 0, at);
    PostMessageW(Ui().Edit2, WM_LBUTTONDBLCLK, MK_LBUTTON, at);
    PostMessageW(Ui().Edit2, WM_LBUTTONUP, 0, at);
    Log("double-click in the reading field");
    Pump();
    const int length = static_cast<int>(Shown(Ui().Edit2).size());
    Expect(ShownSelection(Ui().Edit2) == std::make_pair(0, length),
           "a double-click did not select the reading");
}

// F3 in one of the three fields (any modifiers) or in one of the lists.
void SoakTest::F3(Random& random) {
    const HWND kPlaces[] = {Ui().Edit1, Ui().Edit1, Ui().Edit2, Ui().Edit3, Ui().ListView1, Ui().ListView2};
    const HWND place = random.Pick(kPlaces);
    if (place == Ui().Edit3) {
        if (GetFocus() != place) ClickInside(place, random);
    } else if (place == Ui().Edit1 || place == Ui().Edit2) {
        EnsureFocus(place, random);
    } else {
        FocusList(place);
    }
    const bool isField = place == Ui().Edit1 || place == Ui().Edit2 || place == Ui().Edit3;
    const int modifier = isField ? random.Below(3) : 0;
    Log(std::string(modifier == 1 ? "Shift+" : modifier == 2 ? "Ctrl+" : "") + "F3 in " + ControlName(place));
    ExpectReplacement([&] {
        if (modifier == 0) {
            PressKey(VK_F3);
        } else {
            HeldModifiers held({modifier == 1 ? VK_SHIFT : VK_CONTROL});
            PressKey(VK_F3);
        }
    });
    if (isField && Status(3) == L"置換されました") {
        Expect(GetFocus() == Ui().Edit1, "a replacement did not leave the focus in the title field");
        ExpectEntrySelection();
    } else if (GetFocus() != place) {
        Fail("F3 moved the focus without replacing anything");
    }
}

void SoakTest::Sort(Random& random) {
    const int column = random.Below(columns::kCount);
    const std::string zip = Current()->zipName;
    m_sortKey = std::abs(m_sortKey) == column + 1 ? -m_sortKey : column + 1;
    Log("click the header of column " + std::to_string(column));
    PressHeader(form->HeaderHandle(), column);
    ReleaseHeader(form->HeaderHandle(), column);
    Pump();
    ++m_counts.sorts;
    Expect(State().sort.sortKey == m_sortKey, "the sort key is " + std::to_string(State().sort.sortKey) +
                                                  ", expected " + std::to_string(m_sortKey));
    Expect(State().sort.sortColumn == column, "the sorted column was not remembered");
    Expect(Current() && Current()->zipName == zip, "the current game changed with a sort");
    const GameList& games = form->Games();
    for (int index = 0; index + 1 < games.Count(); ++index) {
        if (CompareGames(&games[index], &games[index + 1], m_sortKey) > 0) {
            Fail("the games are not in order after the sort, at row " + std::to_string(index));
            break;
        }
    }
    for (int other = 0; other < columns::kCount; ++other) {
        const bool ownerDrawn = (HeaderFormat(form->HeaderHandle(), other) & HDF_OWNERDRAW) != 0;
        Expect(ownerDrawn == (other == column), "column " + std::to_string(other) + " is " +
                                                    (ownerDrawn ? "" : "not ") + "drawn with the indicator");
    }
}

void SoakTest::Reset(Random& random) {
    const std::string english = Current()->englishName;
    Log("click リセット");
    ClickButtonAsAPerson(Ui().Button1, random);
    Expect(Shown(Ui().Edit1) == W(english), "リセット did not put the English title back");
    Expect(Shown(Ui().Edit2).empty(), "リセット did not empty the reading");
}

void SoakTest::Undo(Random& random) {
    Log("click 元に戻す");
    const auto undo = m_undo;
    ClickButtonAsAPerson(Ui().Button2, random);
    Expect(Shown(Ui().Edit1) == W(undo.japaneseName), "元に戻す did not put the title back");
    Expect(Shown(Ui().Edit2) == W(undo.reading), "元に戻す did not put the reading back");
}

void SoakTest::QuickSave(Random& random) {
    const HWND list = random.Chance(60) ? Ui().ListView1 : Ui().ListView2;
    FocusList(list);
    Log(std::string("Ctrl+S in the ") + (list == Ui().ListView1 ? "game" : "family") + " list");
    {
        HeldModifiers control({VK_CONTROL});
        PressKey('S');
    }
    ++m_counts.quickSaves;
    Expect(Status(3) == L"mame32j.lstに保存しました", "quick save did not say so in panel 3");
    ExpectSaved(folder / "mame32j.lst", false);
}

// The output button in either format; now and then the save dialog is cancelled.
void SoakTest::Output(Random& random) {
    const bool mane32j = random.Chance(50);
    ClickButtonAsAPerson(mane32j ? Ui().RadioButton2 : Ui().RadioButton1, random);
    const bool cancel = random.Chance(15);
    const auto path = folder / ("output" + std::to_string(random.Below(3)) + ".lst");
    services.fileDialogAnswers.push_back(cancel ? std::nullopt : std::optional<std::wstring>(path.wstring()));
    Log(std::string("output ") + (mane32j ? "MANE32J" : "Mame32J") +
        (cancel ? ", dialog cancelled" : " to " + path.filename().string()));
    const bool modifiedBefore = State().modified;
    const std::string before = std::filesystem::exists(path) ? folder.ReadFile(path) : std::string("(none)");
    const std::size_t dialogs = services.fileDialogs.size();
    const std::wstring panel3 = Status(3);
    ClickButton(Ui().BitBtn1);
    ++m_counts.outputs;
    Expect(services.fileDialogs.size() == dialogs + 1, "the output button showed no save dialog");
    Expect(services.fileDialogAnswers.empty(), "the save dialog's answer was not taken");
    Expect(Status(3) == panel3, "the output button wrote into panel 3");
    if (cancel) {
        Expect(State().modified == modifiedBefore, "a cancelled output changed the unsaved state");
        const std::string after =
            std::filesystem::exists(path) ? folder.ReadFile(path) : std::string("(none)");
        Expect(after == before, "a cancelled output wrote a file");
        return;
    }
    ExpectSaved(path, mane32j);
}

// The replace dialog and the condition editor, driven through their buttons. The editor is
// modal: what it should get is posted before the click that opens it, followed by a click on
// its close button that ends it should it still be open.
void SoakTest::RuleDialog(Random& random) {
    const HWND dialog = replaceDialog->Handle();
    const auto& controls = replaceDialog->Ui();
    if (!IsWindowVisible(dialog)) {
        Log("open the replace dialog");
        ClickButtonAsAPerson(Ui().Button3, random);
        Expect(IsWindowVisible(dialog), "the replace dialog did not open");
        Expect(GetFocus() == controls.Button5, "the replace dialog did not focus 置換(&R)");
        Expect(m_rules.empty() || listview::SelectedItem(controls.ListView1) == 0,
               "the replace dialog did not select its first rule");
        CheckRules();
        return;
    }
    const int rules = static_cast<int>(m_rules.size());
    int choice = random.Below(100);
    if (rules >= kMaxRules && choice < 55) choice = 55 + random.Below(20);  // delete instead
    if (rules == 0 && choice >= 30 && choice < 75) choice = random.Below(30);
    ++m_counts.ruleEdits;
    if (choice < 30) {
        NewRule(random);
    } else if (choice < 55) {
        EditRule(random);
    } else if (choice < 75) {
        DeleteRule(random);
    } else if (choice < 90) {
        const bool byEnter = random.Chance(50);
        Log(byEnter ? "Enter on 置換(&R) in the replace dialog" : "click 置換(&R) in the replace dialog");
        // The dialog takes the focus first, which may give an emptied title its English one back.
        Focus(controls.Button5);
        if (byEnter) {
            ExpectReplacement([&] { PressKey(VK_RETURN); });
        } else {
            ExpectReplacement([&] { ClickButton(controls.Button5); });
        }
    } else {
        CloseRuleDialog(random);
    }
    CheckRules();
}

void SoakTest::NewRule(Random& random) {
    const auto& editor = conditionEditor->Ui();
    const bool cancel = random.Chance(10);
    TReplacePatterns rule{B(random.Pick(kRuleSearches)), B(random.Pick(kRuleReplacements)), true};
    PostTyping(editor.Edit1, W(rule.searchText));
    PostTyping(editor.Edit2, W(rule.replacementText));
    if (random.Chance(40)) {
        PostMessageW(editor.CheckBox1, BM_CLICK, 0, 0);
        rule.onlyInParentheses = false;
    }
    PostConfirm(cancel, random);
    Log("new rule \"" + WideToUtf8(W(rule.searchText)) + "\" -> \"" + WideToUtf8(W(rule.replacementText)) +
        "\"" + (rule.onlyInParentheses ? " in parentheses" : "") + (cancel ? ", cancelled" : ""));
    ClickButton(replaceDialog->Ui().Button2);
    if (!cancel) m_rules.push_back(rule);
    Expect(!IsWindowVisible(conditionEditor->Handle()), "the condition editor stayed open");
    Expect(GetFocus() == replaceDialog->Ui().Button5, "the focus did not go back to 置換(&R)");
}

void SoakTest::EditRule(Random& random) {
    const int row = ClickRuleRow(random);
    if (row < 0) return;
    const auto& editor = conditionEditor->Ui();
    TReplacePatterns rule = m_rules[row];
    const int change = random.Below(10);
    if (change < 4 || change == 9) {
        PostMessageW(editor.Edit1, EM_SETSEL, 0, -1);
        if (change == 9) {
            PostMessageW(editor.Edit1, WM_CLEAR, 0, 0);  // an empty search: OK does nothing
        } else {
            rule.searchText = B(random.Pick(kRuleSearches));
            PostTyping(editor.Edit1, W(rule.searchText));
        }
    }
    if (change >= 3 && change < 7) {
        PostMessageW(editor.Edit2, EM_SETSEL, 0, -1);
        rule.replacementText = B(random.Pick(kRuleReplacements));
        PostMessageW(editor.Edit2, WM_CLEAR, 0, 0);
        PostTyping(editor.Edit2, W(rule.replacementText));
    }
    if (change >= 6 && change < 9) {
        PostMessageW(editor.CheckBox1, BM_CLICK, 0, 0);
        rule.onlyInParentheses = !rule.onlyInParentheses;
    }
    const bool cancel = random.Chance(10);
    PostConfirm(cancel, random);
    const bool byDoubleClick = random.Chance(40);
    Log("edit rule " + std::to_string(row) + (change == 9 ? " to an empty search" : "") +
        (cancel ? ", cancelled" : "") + (byDoubleClick ? " (double-click)" : ""));
    if (byDoubleClick) {
        RECT bounds{LVIR_BOUNDS, 0, 0, 0};
        SendMessageW(replaceDialog->Ui().ListView1, LVM_GETITEMRECT, row, reinterpret_cast<LPARAM>(&bounds));
        SendMessageW(replaceDialog->Ui().ListView1, WM_LBUTTONDBLCLK, MK_LBUTTON,
                     MAKELPARAM(bounds.left + 4, (bounds.top + bounds.bottom) / 2));
        Pump();
    } else {
        ClickButton(replaceDialog->Ui().Button3);
    }
    if (!cancel && change != 9) m_rules[row] = rule;
    Expect(!IsWindowVisible(conditionEditor->Handle()), "the condition editor stayed open");
}

void SoakTest::DeleteRule(Random& random) {
    const int row = ClickRuleRow(random);
    if (row < 0) return;
    const bool yes = random.Chance(80);
    services.messageBoxAnswers.push_back(yes ? IDYES : IDNO);
    Log("delete rule " + std::to_string(row) + (yes ? "" : ", answered No"));
    ClickButton(replaceDialog->Ui().Button4);
    ++m_expectedBoxes;
    Expect(services.messageBoxAnswers.empty(), "削除(&D) asked nothing");
    if (!services.messageBoxes.empty()) {
        const std::wstring& question = services.messageBoxes.back().text;
        Expect(question.find(W(m_rules[row].searchText)) != std::wstring::npos,
               "the question does not name the rule");
    }
    if (yes) m_rules.erase(m_rules.begin() + row);
    Expect(m_rules.empty() || !yes || listview::SelectedItem(replaceDialog->Ui().ListView1) == 0,
           "the first rule is not selected after a deletion");
}

void SoakTest::CloseRuleDialog(Random& random) {
    const int way = random.Below(3);
    Log(way == 0   ? "閉じる in the replace dialog"
        : way == 1 ? "Esc in the replace dialog"
                   : "close the replace dialog by its title bar");
    if (way == 0) {
        ClickButton(replaceDialog->Ui().BitBtn1);
    } else if (way == 1) {
        Focus(replaceDialog->Ui().Button5);
        PressKey(VK_ESCAPE);
    } else {
        PostMessageW(replaceDialog->Handle(), WM_CLOSE, 0, 0);
        Pump();
    }
    Expect(!IsWindowVisible(replaceDialog->Handle()), "the replace dialog is still shown");
    Expect(GetFocus() == Ui().Edit1, "closing the replace dialog did not focus the title");
}

// A click on a rule's row of the replace dialog; the row, or -1 when there is none.
int SoakTest::ClickRuleRow(Random& random) {
    if (m_rules.empty()) return -1;
    const int row = random.Below(static_cast<int>(m_rules.size()));
    ClickRow(replaceDialog->Ui().ListView1, row);
    if (listview::SelectedItem(replaceDialog->Ui().ListView1) != row) {
        Fail("a click on rule row " + std::to_string(row) + " did not select it");
        return -1;
    }
    return row;
}

void SoakTest::PostTyping(HWND edit, std::wstring_view text) {
    for (wchar_t c : text) PostMessageW(edit, WM_CHAR, c, 1);
}

// OK by its button or by Enter, or 閉じる; then 閉じる again should the editor still be open
// (OK with an empty search text keeps it open).
void SoakTest::PostConfirm(bool cancel, Random& random) {
    const auto& editor = conditionEditor->Ui();
    if (cancel) {
        PostMessageW(editor.BitBtn1, BM_CLICK, 0, 0);
    } else if (random.Chance(50)) {
        PostMessageW(editor.Button1, BM_CLICK, 0, 0);
    } else {
        PostMessageW(editor.Edit2, WM_KEYDOWN, VK_RETURN, 1);
        PostMessageW(editor.Edit2, WM_KEYUP, VK_RETURN, 1 | (3u << 30));
    }
    // Closed by its 閉じる button when its turn comes in the editor's message loop, should the
    // editor still be open then. (A click posted to the button itself would reach the hidden
    // editor after it closed, and a hidden button must not take the focus.)
    m_probe.Post([editorWindow = conditionEditor->Handle(), closeButton = editor.BitBtn1] {
        if (IsWindowVisible(editorWindow)) SendMessageW(closeButton, BM_CLICK, 0, 0);
    });
}

void SoakTest::FocusList(HWND list) {
    if (GetFocus() != list) Focus(list);
}

// Into a field as a person gets there: a click, Tab or Enter from where they are, or straight.
void SoakTest::EnsureFocus(HWND field, Random& random) {
    if (GetFocus() == field) return;
    switch (random.Below(3)) {
        case 0:
            ClickInside(field, random);
            Log("click into " + ControlName(field));
            break;
        case 1:
            if (field == Ui().Edit1) {
                FocusList(Ui().ListView1);
                PressKey(VK_RETURN);
                Log("Enter in the game list");
            } else {
                if (GetFocus() != Ui().Edit1) Focus(Ui().Edit1);
                PressKey(VK_RETURN);
                Log("Enter in the title field");
            }
            break;
        default:
            Focus(field);
            Log("focus " + ControlName(field));
            break;
    }
    if (GetFocus() != field) Fail("could not get to " + ControlName(field));
}

void SoakTest::ClickInside(HWND control, Random& random) {
    RECT client{};
    GetClientRect(control, &client);
    ClickAt(control, 2 + random.Below(std::max<int>(client.right - 4, 1)), client.bottom / 2);
}

// A mouse click (the button takes the focus) or the click of its shortcut (it does not).
void SoakTest::ClickButtonAsAPerson(HWND button, Random& random) {
    if (random.Chance(70)) {
        RECT client{};
        GetClientRect(button, &client);
        ClickAt(button, client.right / 2, client.bottom / 2);
    } else {
        ClickButton(button);
    }
}

}  // namespace kanaroll::testing::soak
