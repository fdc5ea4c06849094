// The detail panel, the family list and the editing of a game's title and reading.
#include <string>
#include <utility>
#include <vector>

#include "catalogue/StoredEdit.h"
#include "mainwindow/GameColumns.h"
#include "mainwindow/TForm1.h"
#include "platform/ByteLimitedEdit.h"
#include "platform/Controls.h"
#include "platform/WindowHook.h"

namespace kanaroll {

namespace {

constexpr int kNameBytes = 255;  // the longest title or reading a person can type

// Sets a flag for a scope and puts back what it held, on every way out.
class FlagScope {
public:
    explicit FlagScope(bool& flag) : m_flag(flag), m_saved(flag) { m_flag = true; }
    ~FlagScope() { m_flag = m_saved; }
    FlagScope(const FlagScope&) = delete;
    FlagScope& operator=(const FlagScope&) = delete;

private:
    bool& m_flag;
    bool m_saved;
};

bool IsGame(const GameList& games, int index) {
    return index >= 0 && index < games.Count();
}

bool IsMouseFocusMessage(UINT message) {
    switch (message) {
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK:
        case WM_RBUTTONDOWN:
        case WM_RBUTTONUP:
        case WM_MBUTTONDOWN:
        case WM_CONTEXTMENU:
            return true;
        default:
            return false;
    }
}

}  // namespace

void TForm1::InstallFieldHooks() {
    // The byte limits first: the key handling below is installed later and so sees Enter before the
    // limit, which refuses line breaks. They count the bytes the text takes as stored, in the codec's
    // code page: two for a kanji in Shift-JIS, three in UTF-8, where every character can be typed.
    LimitEditBytes(m_ui.Edit1, m_codec->CodePage(), kNameBytes);
    LimitEditBytes(m_ui.Edit2, m_codec->CodePage(), kNameBytes);
    for (HWND field : {m_ui.Edit1, m_ui.Edit2, m_ui.Edit3, m_ui.ListView2}) {
        hook::Install(field, FieldHookProc, this);
    }
}

void TForm1::ListView1SelectItem(int item, bool selected) {
    if (!selected || !IsGame(m_games, item)) return;
    // The edits of the game left behind go on the disk: a power cut loses at most the game typed.
    FlushJournal();
    const TRecordset& game = m_games[item];
    {
        FlagScope filling(m_state.fillingDetails);
        const std::wstring title = ToWide(game.zipName);
        m_groupBox1->SetTitle(title, m_boldFont.Get());
        window::SetText(m_ui.GroupBox1, title);  // also the frame's name, for whatever reads captions
        edit::FillText(m_ui.Edit1, ToWide(game.japaneseName));
        edit::FillText(m_ui.Edit2, ToWide(game.reading));
        // The read-only fields often show what they showed (games of one driver share their
        // hardware), and each text set costs a layout and several repaint requests under Wine.
        edit::ChangeText(m_ui.Edit3, ToWide(game.englishName));
        edit::ChangeText(m_ui.Memo1, ToWide(game.cpuText));
        edit::ChangeText(m_ui.Memo2, ToWide(game.soundText));
        edit::ChangeText(m_ui.Edit4, ToWide(game.videoText));
        SetStatus(1, game.statusGood ? L"" : L"動作不可");
    }
    m_state.undoJapaneseName = game.japaneseName;
    m_state.undoReading = game.reading;

    const std::string familyKey = game.FamilyKey();
    if (familyKey != m_state.familyKey) RebuildFamilyList(familyKey);
    if (!m_state.syncingSelection) SelectInFamilyList(game.zipName);
    m_state.familyKey = familyKey;

    m_state.currentIndex = item;
    RefreshLaunchEntry(game);
    ShowProposals(game);
    SetStatus(3, L"");
}

void TForm1::RebuildFamilyList(const std::string& familyKey) {
    // Only the rows change. Resuming the redraw invalidates the whole list, its header with it, and
    // repainting the seven captions costs more than the rows (some 4 ms under Wine): a header that
    // had nothing to paint before is left so.
    const HWND header = listview::Header(m_ui.ListView2);
    const bool headerPainted = header && !GetUpdateRect(header, nullptr, FALSE);
    {
        SuspendedRedraw redraw(m_ui.ListView2);
        // Rows come and go here; none of that is a selection by the user.
        FlagScope syncing(m_state.syncingSelection);
        listview::DeleteAllItems(m_ui.ListView2);

        m_families.BuildUnlessBuiltFor(m_games);
        const Family family = m_families.Of(familyKey);
        int row = 0;
        // The master row shows the master's icon and the others the clone's, whatever the games
        // are (a clone of a clone heads the family of its own clones).
        auto addRow = [&](const TRecordset& game, int image) {
            listview::InsertItem(m_ui.ListView2, row, ToWide(game.zipName), image);
            for (int column = columns::kEnglishName; column < columns::kTranslated; ++column) {
                listview::SetItemText(m_ui.ListView2, row, column, ToWide(columns::CellText(game, column)));
            }
            listview::SetItemText(m_ui.ListView2, row, columns::kTranslated,
                                  columns::TranslatedMark(game.translated));
            ++row;
        };
        if (family.master) addRow(*family.master, 0);
        for (const TRecordset* clone : family.clones) addRow(*clone, 1);
    }
    if (headerPainted) ValidateRect(header, nullptr);
}

void TForm1::SelectInFamilyList(const std::string& zipName) {
    const std::wstring caption = ToWide(zipName);
    const int rows = listview::ItemCount(m_ui.ListView2);
    for (int row = 0; row < rows; ++row) {
        if (listview::ItemText(m_ui.ListView2, row, columns::kZipName) != caption) continue;
        FlagScope syncing(m_state.syncingSelection);
        listview::SelectAndFocus(m_ui.ListView2, row);
        listview::EnsureVisible(m_ui.ListView2, row);
        return;
    }
}

void TForm1::ListView2SelectItem(int item, bool selected) {
    // A row losing its selection carries the old game: only the newly selected row counts.
    if (m_state.syncingSelection || !selected || item < 0) return;
    FlagScope syncing(m_state.syncingSelection);
    const std::string zipName = FromWide(listview::ItemText(m_ui.ListView2, item, columns::kZipName));
    for (int index = 0; index < m_games.Count(); ++index) {
        if (m_games[index].zipName == zipName) {
            SelectGameRow(m_ui.ListView1, index);
            return;
        }
    }
}

// The family-list row of the current game: the one with the focus mark, which the selection keeps
// there, unless the mark was moved on its own (Ctrl with an arrow key); then the row is found by its
// ZIP name, so that another game's row is never changed.
void TForm1::SetFamilyCell(int subItem, std::wstring_view text) {
    if (!IsGame(m_games, m_state.currentIndex)) return;
    const std::wstring caption = ToWide(m_games[m_state.currentIndex].zipName);
    int row = listview::FocusedItem(m_ui.ListView2);
    if (row < 0 || listview::ItemText(m_ui.ListView2, row, columns::kZipName) != caption) {
        row = -1;
        const int rows = listview::ItemCount(m_ui.ListView2);
        for (int candidate = 0; candidate < rows && row < 0; ++candidate) {
            if (listview::ItemText(m_ui.ListView2, candidate, columns::kZipName) == caption) row = candidate;
        }
    }
    if (row >= 0) listview::SetItemText(m_ui.ListView2, row, subItem, text);
}

// Typing and every edit by program (F3, reset, undo, Edit1Exit) store through the rules of
// StoredEdit.h, as the replay of a journal does, and go into the journal before anything else.
void TForm1::Edit1Change() {
    if (m_state.fillingDetails || !IsGame(m_games, m_state.currentIndex)) return;
    TRecordset& game = m_games[m_state.currentIndex];
    // The control also reports changes that changed nothing, such as an undo with nothing to undo.
    if (!StoreJapaneseName(game, FromWide(window::Text(m_ui.Edit1)))) return;
    JournalEdit(game, EditedField::JapaneseName);
    listview::RedrawItem(m_ui.ListView1, m_state.currentIndex);
    SetFamilyCell(columns::kJapaneseName, ToWide(game.japaneseName));
    m_state.modified = true;
    SetStatus(2, L"変更あり");
    FollowTypedTitle(game);
}

void TForm1::Edit2Change() {
    if (m_state.fillingDetails || !IsGame(m_games, m_state.currentIndex)) return;
    TRecordset& game = m_games[m_state.currentIndex];
    // A report that changed nothing leaves the translated flag alone: a named game without reading
    // stays translated until its reading is typed and emptied again.
    const bool wasTranslated = game.translated;
    if (!StoreReading(game, FromWide(window::Text(m_ui.Edit2)), m_state.translatedCount)) return;
    JournalEdit(game, EditedField::Reading);
    m_state.modified = true;
    SetStatus(2, L"変更あり");
    if (game.translated != wasTranslated) {
        ShowTotals();
        SetFamilyCell(columns::kTranslated, columns::TranslatedMark(game.translated));
    }
    listview::RedrawItem(m_ui.ListView1, m_state.currentIndex);
}

void TForm1::Edit1Enter() {
    // A click places the caret where it falls.
    if (!m_mouseFocusing) ApplyJapaneseNameSelection();
}

void TForm1::ApplyJapaneseNameSelection() {
    // The positions are the control's UTF-16 positions, so the search runs on the text it shows,
    // whichever codec the catalogue holds: " (" is found the same in a Shift-JIS or a UTF-8 title.
    const std::wstring text = window::Text(m_ui.Edit1);
    const std::size_t regionStart = text.find(L" (");
    const int end = static_cast<int>(regionStart == std::wstring::npos ? text.size() : regionStart);
    // Anchored at the end, so the caret stands at the start and the start is what is shown.
    edit::SetSelection(m_ui.Edit1, end, 0);
    edit::ScrollCaret(m_ui.Edit1);
}

void TForm1::Edit1Exit() {
    if (!IsGame(m_games, m_state.currentIndex) || !window::Text(m_ui.Edit1).empty()) return;
    edit::ChangeText(m_ui.Edit1, ToWide(m_games[m_state.currentIndex].englishName));
}

// A list selects the clicked row first and takes the focus afterwards (Wine's does), and the
// selection refills the title field with the next game's title: the field would be left only then,
// and an emptied title would stay empty in the game that was being edited. Taking the focus first
// leaves the field as Tab does, while that game is still the current one.
void TForm1::FocusListBeforeClick(HWND list, UINT message) {
    switch (message) {
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK:
        case WM_RBUTTONDOWN:
        case WM_RBUTTONDBLCLK:
            if (GetFocus() != list) SetFocus(list);
            return;
        default:
            return;
    }
}

void TForm1::Edit2DblClick() {
    edit::SetSelection(m_ui.Edit2, 0, -1);
}

void TForm1::Button1Click() {
    if (!IsGame(m_games, m_state.currentIndex)) return;
    edit::ChangeText(m_ui.Edit1, ToWide(m_games[m_state.currentIndex].englishName));
    edit::ChangeText(m_ui.Edit2, L"");
}

void TForm1::Button2Click() {
    if (!IsGame(m_games, m_state.currentIndex)) return;
    // Copies: the change handlers run in between.
    const std::wstring japaneseName = ToWide(m_state.undoJapaneseName);
    const std::wstring reading = ToWide(m_state.undoReading);
    edit::ChangeText(m_ui.Edit1, japaneseName);
    edit::ChangeText(m_ui.Edit2, reading);
}

LRESULT TForm1::FieldHookProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, void* self) {
    if (message == WM_NCDESTROY) return hook::CallNext(window, message, wParam, lParam);
    auto* form = static_cast<TForm1*>(self);
    return Guarded([&] { return form->FieldMessage(window, message, wParam, lParam); },
                   static_cast<LRESULT>(0));
}

LRESULT TForm1::FieldMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (window == m_ui.ListView2) FocusListBeforeClick(window, message);
    if (const auto answered = KeyMessage(window, message, wParam, lParam)) return *answered;
    const bool isEdit = window == m_ui.Edit1 || window == m_ui.Edit2 || window == m_ui.Edit3;
    switch (message) {
        case WM_SETFOCUS:
            if (window == m_ui.Edit2 && !m_mouseFocusing) {
                const LRESULT result = hook::CallNext(window, message, wParam, lParam);
                edit::SetSelection(window, 0, -1);
                return result;
            }
            break;
        default:
            if (isEdit && IsMouseFocusMessage(message)) {
                const bool saved = m_mouseFocusing;
                m_mouseFocusing = true;
                const LRESULT result = hook::CallNext(window, message, wParam, lParam);
                m_mouseFocusing = saved;
                if (message == WM_LBUTTONDBLCLK && window == m_ui.Edit2) Edit2DblClick();
                return result;
            }
            break;
    }
    return hook::CallNext(window, message, wParam, lParam);
}

}  // namespace kanaroll
