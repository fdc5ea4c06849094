#pragma once

// Long use: thousands of random actions of a person at the main window (selections, typing, Enter,
// F3, sorts, reset, undo, rule edits, saves) on a catalogue of 2,000 games. After every action the
// catalogue, the counters, both lists, the detail panel and the status bar must agree with each
// other and with what the actions did, and every file saved must read back as the catalogue.
//
// The test's parts: SoakModel (the catalogue and the model of what it should hold), SoakActions.cpp
// (what a person does), SoakChecks.cpp (what must hold after each action) and SoakTest.cpp (the run).
#include <windows.h>

#include <cstdint>
#include <deque>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "tests/gui/DetailsFixture.h"
#include "tests/gui/MessageLoopProbe.h"
#include "tests/gui/SoakModel.h"
#include "tests/gui/SoakTimings.h"

namespace kanaroll::testing::soak {

class SoakTest : public DetailsTest {
protected:
    void StartSoak();
    // Runs `actions` random actions from `seed`; stops at the first broken expectation and reports
    // it with the actions that led there. Then closes the window, saving, and reads back the files.
    void Soak(std::uint64_t seed, int actions);

private:
    // ---- The actions (SoakActions.cpp) ------------------------------------------------------------
    void PerformRandomAction(Random& random);
    void ListKeys(Random& random);
    void PressKeyIn(HWND list, const std::string& listName, UINT key);
    void ClickGameRow(Random& random);
    void TypeAhead(Random& random);
    void FamilyKeys(Random& random);
    void ClickFamilyRow(Random& random);
    void EnterInList(Random& random);
    void TypeTitle(Random& random);
    void TypeReading(Random& random);
    void EditingKeys(Random& random);
    void EnterInTitle(Random& random);
    void EnterInReading(Random& random);
    void TabKey(Random& random);
    void ClickField(Random& random);
    void DoubleClickReading(Random& random);
    void F3(Random& random);
    void Sort(Random& random);
    void Reset(Random& random);
    void Undo(Random& random);
    void QuickSave(Random& random);
    void Output(Random& random);
    void RuleDialog(Random& random);
    void NewRule(Random& random);
    void EditRule(Random& random);
    void DeleteRule(Random& random);
    void CloseRuleDialog(Random& random);
    int ClickRuleRow(Random& random);
    void PostTyping(HWND edit, std::wstring_view text);
    void PostConfirm(bool cancel, Random& random);
    void FocusList(HWND list);
    void EnsureFocus(HWND field, Random& random);
    void ClickInside(HWND control, Random& random);
    void ClickButtonAsAPerson(HWND button, Random& random);

    // ---- The checks (SoakChecks.cpp) --------------------------------------------------------------
    void Expect(bool condition, const std::string& problem);
    void Fail(const std::string& problem);
    void ExpectEntrySelection();
    void ExpectReplacement(const std::function<void()>& act);
    void ExpectSaved(const std::filesystem::path& path, bool mane32j);
    std::string ExpectedMame32J() const;
    std::string ExpectedMane32J() const;
    void BeginStep();
    void EndStep();
    void Timed(const char* name, const std::function<void()>& check);
    void CheckCatalogueAgainstModel(bool saved = false);
    void CheckUneditedFields();
    void CheckCounters();
    void CheckDetailPanel(const TRecordset& game);
    void CheckFamilyList(const TRecordset& current);
    void CheckGameListRows();
    void CheckWholeGameList();
    std::string RowProblem(HWND list, int row, const TRecordset& game) const;
    void CheckUndo(const TRecordset& current);
    void CheckRules();
    void CloseAndCheckFiles();
    static LRESULT Ask(HWND control, UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
    static std::wstring Shown(HWND control);
    static std::wstring ShownCell(HWND list, int row, int column);
    static int ShownImage(HWND list, int row);
    static std::pair<int, int> ShownSelection(HWND edit);

    // ---- Small helpers (SoakTest.cpp) -------------------------------------------------------------
    const TRecordset* Current() const;
    const TRecordset* GameOfZip(std::wstring_view zip) const;
    std::wstring W(std::string_view bytes) const;
    std::string B(std::wstring_view text) const;
    std::string Describe(const std::string& title, const std::string& reading, bool translated) const;
    std::string ControlName(HWND control) const;
    static std::string KeyName(UINT key);
    void Log(const std::string& action);

    struct UndoValues {
        std::string japaneseName;
        std::string reading;
        bool operator==(const UndoValues&) const = default;
    };
    struct Counts {
        int quickSaves = 0;
        int outputs = 0;
        int sorts = 0;
        int ruleEdits = 0;
        int replaces = 0;
    };

    std::vector<ModelGame> m_model;  // by listOrder
    ReplaceRuleList m_rules;
    UndoValues m_undo;
    int m_sortKey = 0;
    int m_expectedBoxes = 0;
    int m_step = 0;
    std::string m_zipBefore;
    int m_indexBefore = -1;
    bool m_selectionMayRepeat = false;
    DWORD m_lastTypeAhead = 0;
    std::string m_problem;
    std::deque<std::string> m_recent;
    Counts m_counts;
    Timings m_timings;
    Probe m_probe;
};

}  // namespace kanaroll::testing::soak
