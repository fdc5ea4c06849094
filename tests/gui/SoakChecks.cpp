// What must hold after every action, and in the files the actions saved.
#include <set>

#include "catalogue/SettingsFile.h"
#include "mainwindow/GameColumns.h"
#include "platform/WaitCursor.h"
#include "replace/TitleReplace.h"
#include "tests/gui/SoakTest.h"

namespace kanaroll::testing::soak {

void SoakTest::Expect(bool condition, const std::string& problem) {
    if (!condition) Fail(problem);
}

void SoakTest::Fail(const std::string& problem) {
    if (m_problem.empty()) m_problem = problem;
}

// The title field holds its main part selected: from the start up to the first " (".
void SoakTest::ExpectEntrySelection() {
    const std::wstring text = Shown(Ui().Edit1);
    const std::size_t region = text.find(L" (");
    const int end = static_cast<int>(region == std::wstring::npos ? text.size() : region);
    Expect(ShownSelection(Ui().Edit1) == std::make_pair(0, end), "the title's main part is not selected");
}

// Runs an action that applies the replace rules and checks its outcome against the rules.
void SoakTest::ExpectReplacement(const std::function<void()>& act) {
    const std::string title = Current()->japaneseName;
    const std::string expected = ApplyRulesToTitle(title, m_rules, form->Codec());
    const int beeps = services.beeps;
    act();
    ++m_counts.replaces;
    if (expected == title) {
        Expect(services.beeps == beeps + 1, "no beep for a title the rules leave alone");
        Expect(Status(3) == L"置換対象が見つかりませんでした", "no report of nothing replaced");
        Expect(Current()->japaneseName == title, "the rules changed a title they should leave alone");
    } else {
        Expect(services.beeps == beeps, "a beep for a replaced title");
        Expect(Status(3) == L"置換されました", "no report of the replacement");
        Expect(Current()->japaneseName == expected, "the title became \"" +
                                                        WideToUtf8(W(Current()->japaneseName)) +
                                                        "\", expected \"" + WideToUtf8(W(expected)) + "\"");
    }
}

// A write that went through: the file holds the catalogue, and the changes count as saved.
void SoakTest::ExpectSaved(const std::filesystem::path& path, bool mane32j) {
    const Stopwatch watch(m_timings, "(reading saved files)");
    Expect(!State().modified, "a save left the changes unsaved");
    Expect(Status(2).empty(), "a save left 変更あり in panel 2");
    // The action may have changed the current game before it saved (leaving an emptied title
    // gives it its English title back): the model takes that first.
    CheckCatalogueAgainstModel(true);
    CheckUneditedFields();
    if (!std::filesystem::exists(path)) return Fail("no file at " + path.string());
    const std::string written = folder.ReadFile(path);
    const std::string expected = mane32j ? ExpectedMane32J() : ExpectedMame32J();
    if (written != expected) {
        std::size_t at = 0;
        while (at < written.size() && at < expected.size() && written[at] == expected[at]) ++at;
        const std::size_t lineStart =
            expected.rfind('\n', at) == std::string::npos ? 0 : expected.rfind('\n', at) + 1;
        Fail(path.filename().string() + " differs from the catalogue at byte " + std::to_string(at) + " (" +
             std::to_string(written.size()) + " bytes, expected " + std::to_string(expected.size()) +
             "), in the line \"" +
             WideToUtf8(W(expected.substr(lineStart, expected.find('\r', lineStart) - lineStart))) + "\"");
    }
    auto temporary = path;
    temporary += ".kanaroll-new";
    Expect(!std::filesystem::exists(temporary), "a save left its temporary file");
}

// The Mame32J file of the model: every translated game, in listinfo.txt order.
std::string SoakTest::ExpectedMame32J() const {
    std::string text;
    for (const ModelGame& game : m_model) {
        if (!game.translated) continue;
        text += game.zip + "\t" + game.japaneseName + "\t" + game.reading + "\t" + game.manufacturer + "\r\n";
    }
    return text;
}

std::string SoakTest::ExpectedMane32J() const {
    std::vector<const TRecordset*> byOrder(m_model.size());
    for (int index = 0; index < form->Games().Count(); ++index) {
        byOrder[form->Games()[index].listOrder] = &form->Games()[index];
    }
    std::string text;
    for (std::size_t order = 0; order < m_model.size(); ++order) {
        const ModelGame& names = m_model[order];
        const TRecordset& game = *byOrder[order];
        const std::string master = !game.isMaster ? game.parentName : game.isNeoGeo ? "neogeo" : "";
        text += names.zip + "\t" + (names.translated ? names.japaneseName : names.englishName) + "\t" +
                (names.translated ? names.reading : names.englishName) + "\t" + game.manufacturer + "\t" +
                game.year + "\t" + master + "\t" + (game.hasSamples ? "Sample" : "") + "\t" +
                (game.isVector ? "vector" : "raster") + "\t" + std::to_string(game.soundChannels) + "\t" +
                game.controlType + "\t" + (game.statusGood ? "good" : "preliminary") + "\r\n";
    }
    return text;
}

void SoakTest::BeginStep() {
    m_zipBefore = Current() ? Current()->zipName : std::string();
    m_indexBefore = State().currentIndex;
    m_selectionMayRepeat = false;
}

void SoakTest::EndStep() {
    if (services.messageBoxes.size() != static_cast<std::size_t>(m_expectedBoxes)) {
        const auto& box = services.messageBoxes.back();
        return Fail("a message box: " + WideToUtf8(box.caption) + ": " + WideToUtf8(box.text));
    }
    if (app->Terminated()) return Fail("the program ended");
    Expect(!WaitCursor::IsShown(), "the wait cursor is still shown");
    const TRecordset* current = Current();
    if (!current) return Fail("no game is current");
    Timed("check: undo", [&] { CheckUndo(*current); });
    Timed("check: catalogue", [&] { CheckCatalogueAgainstModel(); });
    Timed("check: counters", [&] { CheckCounters(); });
    Timed("check: detail panel", [&] { CheckDetailPanel(*current); });
    Timed("check: family list", [&] { CheckFamilyList(*current); });
    Timed("check: game list rows", [&] { CheckGameListRows(); });
    if (m_step % kFullListCheckEvery == kFullListCheckEvery - 1) {
        Timed("check: whole game list", [&] {
            CheckUneditedFields();
            CheckWholeGameList();
        });
    }
}

void SoakTest::Timed(const char* name, const std::function<void()>& check) {
    const Stopwatch watch(m_timings, name);
    check();
}

// Only the game current before or after the action may have changed, and only as editing
// changes a game: the translated flag follows a changed reading, and the game left behind may
// only have got its English title back for an emptied title.
// `saved`: the action has just written the list, which cleared `modified` after the edits.
void SoakTest::CheckCatalogueAgainstModel(bool saved) {
    const GameList& games = form->Games();
    const std::string zipAfter = Current()->zipName;
    std::vector<bool> seen(m_model.size());
    bool changed = false;
    for (int index = 0; index < games.Count(); ++index) {
        const TRecordset& game = games[index];
        if (game.listOrder < 0 || game.listOrder >= kSoakGames || seen[game.listOrder]) {
            return Fail("listOrder is no longer a permutation (" + game.zipName + ")");
        }
        seen[game.listOrder] = true;
        ModelGame& model = m_model[game.listOrder];
        if (model.zip != game.zipName) {
            return Fail("the game of listOrder " + std::to_string(game.listOrder) + " is no longer " +
                        model.zip);
        }
        if (model.japaneseName == game.japaneseName && model.reading == game.reading &&
            model.translated == game.translated) {
            continue;
        }
        const bool readingChanged = model.reading != game.reading;
        const bool titleChanged = model.japaneseName != game.japaneseName;
        if (game.zipName != m_zipBefore && game.zipName != zipAfter) {
            return Fail(game.zipName + " changed though it was not current (" + m_zipBefore + " before, " +
                        zipAfter +
                        " after): " + Describe(model.japaneseName, model.reading, model.translated) +
                        " became " + Describe(game.japaneseName, game.reading, game.translated));
        }
        if (readingChanged && game.translated == game.reading.empty()) {
            return Fail(game.zipName + " is " + (game.translated ? "" : "not ") +
                        "translated with the reading \"" + WideToUtf8(W(game.reading)) + "\"");
        }
        if (!readingChanged && game.translated != model.translated) {
            return Fail(game.zipName + "'s translated flag changed without its reading");
        }
        if (game.zipName != zipAfter &&
            (readingChanged ||
             (titleChanged && !(model.japaneseName.empty() && game.japaneseName == game.englishName)))) {
            return Fail(game.zipName + " changed after it was left");
        }
        model.japaneseName = game.japaneseName;
        model.reading = game.reading;
        model.translated = game.translated;
        changed = true;
    }
    if (changed && !saved) Expect(State().modified, "an edit did not set modified");
}

// What no action changes: the English titles and the makers (the ZIP names are compared after
// every action).
void SoakTest::CheckUneditedFields() {
    for (int index = 0; index < form->Games().Count(); ++index) {
        const TRecordset& game = form->Games()[index];
        if (game.listOrder < 0 || game.listOrder >= kSoakGames) return Fail("listOrder out of range");
        const ModelGame& model = m_model[game.listOrder];
        if (model.englishName != game.englishName || model.manufacturer != game.manufacturer) {
            return Fail(game.zipName + "'s English title or maker changed");
        }
    }
}

void SoakTest::CheckCounters() {
    const int count = form->Games().Count();
    const int translated = form->Games().CountTranslated();
    Expect(State().translatedCount == translated, "translatedCount is " +
                                                      std::to_string(State().translatedCount) + ", but " +
                                                      std::to_string(translated) + " games are translated");
    Expect(Status(0) == L"合計：" + std::to_wstring(count) + L"件   未訳：" +
                            std::to_wstring(count - translated) + L"件",
           "panel 0 shows \"" + WideToUtf8(Status(0)) + "\"");
    Expect(State().modified == (Status(2) == L"変更あり"),
           std::string("modified is ") + (State().modified ? "set" : "clear") + " but panel 2 shows \"" +
               WideToUtf8(Status(2)) + "\"");
}

void SoakTest::CheckDetailPanel(const TRecordset& game) {
    const int index = State().currentIndex;
    Expect(listview::SelectedItem(Ui().ListView1) == index,
           "the selected row is " + std::to_string(listview::SelectedItem(Ui().ListView1)) +
               ", the current game " + std::to_string(index));
    Expect(listview::FocusedItem(Ui().ListView1) == index, "the focus mark is not on the current game");
    const struct {
        HWND control;
        const std::string& value;
        const char* name;
    } fields[] = {{Ui().GroupBox1, game.zipName, "frame title"},
                  {Ui().Edit3, game.englishName, "English title"},
                  {Ui().Edit1, game.japaneseName, "title field"},
                  {Ui().Edit2, game.reading, "reading field"},
                  {Ui().Memo1, game.cpuText, "CPU"},
                  {Ui().Memo2, game.soundText, "sound"},
                  {Ui().Edit4, game.videoText, "video"}};
    for (const auto& field : fields) {
        if (const std::wstring shown = Shown(field.control); shown != W(field.value)) {
            return Fail(std::string("the ") + field.name + " shows \"" + WideToUtf8(shown) + "\" for " +
                        game.zipName + "'s \"" + WideToUtf8(W(field.value)) + "\"");
        }
    }
    Expect(Status(1) == (game.statusGood ? L"" : L"動作不可"), "panel 1 does not follow the driver status");
}

// The family list holds the master of the current game's family first, then its clones, each
// row as the catalogue has the game now, and the current game's row selected.
void SoakTest::CheckFamilyList(const TRecordset& current) {
    const std::string& key = current.FamilyKey();
    if (State().familyKey != key) return Fail("the family list shows " + State().familyKey + ", not " + key);
    const GameList& games = form->Games();
    const TRecordset* master = nullptr;
    std::multiset<std::wstring> clones;
    for (int index = 0; index < games.Count(); ++index) {
        if (!master && games[index].zipName == key) master = &games[index];
        if (!games[index].isMaster && games[index].parentName == key) clones.insert(W(games[index].zipName));
    }
    const HWND list = Ui().ListView2;
    const int rows = static_cast<int>(Ask(list, LVM_GETITEMCOUNT));
    if (rows != (master ? 1 : 0) + static_cast<int>(clones.size())) {
        return Fail("the family of " + key + " has " + std::to_string(rows) + " rows");
    }
    std::multiset<std::wstring> cloneRows;
    for (int row = 0; row < rows; ++row) {
        const std::wstring zip = ShownCell(list, row, columns::kZipName);
        const bool masterRow = master && row == 0;
        if (masterRow && zip != W(master->zipName)) {
            return Fail("the family list does not begin with its master " + key);
        }
        if (!masterRow) cloneRows.insert(zip);
        if (ShownImage(list, row) != (masterRow ? 0 : 1)) return Fail("a family row has the wrong icon");
        const TRecordset* game = GameOfZip(zip);
        if (!game) return Fail("the family list names an unknown game");
        if (std::string problem = RowProblem(list, row, *game); !problem.empty()) {
            return Fail("family row " + std::to_string(row) + ": " + problem);
        }
    }
    if (cloneRows != clones) return Fail("the family list of " + key + " does not hold its clones");
    const int selected = static_cast<int>(Ask(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
    Expect(selected >= 0 && ShownCell(list, selected, columns::kZipName) == W(current.zipName),
           "the family list does not select the current game");
}

// The rows of the current game and of the one before, as the list shows them; the visible
// page every hundred actions; every row now and then.
void SoakTest::CheckGameListRows() {
    const HWND list = Ui().ListView1;
    if (listview::ItemCount(list) != form->Games().Count()) return Fail("the game list lost its row count");
    std::set<int> rows;
    rows.insert(State().currentIndex);
    rows.insert(m_indexBefore);
    if (m_step % 100 == 0) {
        const int top = static_cast<int>(SendMessageW(list, LVM_GETTOPINDEX, 0, 0));
        const int visible = static_cast<int>(SendMessageW(list, LVM_GETCOUNTPERPAGE, 0, 0));
        for (int row = top; row <= top + visible; ++row) rows.insert(row);
    }
    for (int row : rows) {
        if (row < 0 || row >= form->Games().Count()) continue;
        if (std::string problem = RowProblem(list, row, form->Games()[row]); !problem.empty()) {
            return Fail("game row " + std::to_string(row) + ": " + problem);
        }
    }
}

void SoakTest::CheckWholeGameList() {
    for (int row = 0; row < form->Games().Count(); ++row) {
        if (std::string problem = RowProblem(Ui().ListView1, row, form->Games()[row]); !problem.empty()) {
            return Fail("game row " + std::to_string(row) + ": " + problem);
        }
    }
}

std::string SoakTest::RowProblem(HWND list, int row, const TRecordset& game) const {
    for (int column = 0; column < columns::kCount; ++column) {
        const std::wstring expected = column == columns::kTranslated
                                          ? std::wstring(columns::TranslatedMark(game.translated))
                                          : W(columns::CellText(game, column));
        const std::wstring shown = ShownCell(list, row, column);
        if (shown != expected) {
            return "column " + std::to_string(column) + " shows \"" + WideToUtf8(shown) + "\" for " +
                   game.zipName + "'s \"" + WideToUtf8(expected) + "\"";
        }
    }
    return {};
}

// The undo values are the current game's as they were when it was last selected (a sort that
// moves its row selects it again). Runs before the model takes this action's edits, so the
// model still holds the values from before the action, which a game selected by it had then.
void SoakTest::CheckUndo(const TRecordset& current) {
    if (current.listOrder < 0 || current.listOrder >= kSoakGames) return;
    const ModelGame& before = m_model[current.listOrder];
    const UndoValues selected{before.japaneseName, before.reading};
    const UndoValues recorded{State().undoJapaneseName, State().undoReading};
    if (current.zipName != m_zipBefore || State().currentIndex != m_indexBefore) {
        m_undo = selected;
    } else if (m_selectionMayRepeat && recorded == selected) {
        m_undo = selected;  // a search of two letters may select another game and come back
    }
    Expect(recorded == m_undo, "the undo values are not the current game's as it was selected");
}

void SoakTest::CheckRules() {
    Expect(State().replaceRules == m_rules, "the rule list is not what the dialogs did");
    const HWND list = replaceDialog->Ui().ListView1;
    if (listview::ItemCount(list) != static_cast<int>(m_rules.size())) {
        return Fail("the replace dialog shows " + std::to_string(listview::ItemCount(list)) + " rules");
    }
    for (int row = 0; row < static_cast<int>(m_rules.size()); ++row) {
        const TReplacePatterns& rule = m_rules[row];
        if (Cell(list, row, 0) != W(rule.searchText) || Cell(list, row, 1) != W(rule.replacementText) ||
            Cell(list, row, 2) != (rule.onlyInParentheses ? L"○" : L" ")) {
            return Fail("rule row " + std::to_string(row) + " does not show its rule");
        }
    }
}

// The end of the session: closing asks to save exactly when there are changes, Yes writes
// mame32j.lst, and kanaroll.ini keeps the rules.
void SoakTest::CloseAndCheckFiles() {
    const bool modified = State().modified;
    services.messageBoxAnswers.push_back(IDYES);
    PostMessageW(form->Handle(), WM_CLOSE, 0, 0);
    Pump();
    if (modified) {
        ASSERT_EQ(services.messageBoxes.size(), static_cast<std::size_t>(m_expectedBoxes) + 1);
        EXPECT_EQ(services.messageBoxes.back().text, L"変更をmame32j.lstに保存しますか?");
        ExpectSaved(folder / "mame32j.lst", false);
        EXPECT_TRUE(m_problem.empty()) << m_problem;
    } else {
        EXPECT_EQ(services.messageBoxes.size(), static_cast<std::size_t>(m_expectedBoxes));
    }
    EXPECT_TRUE(app->Terminated());
    Destroy();
    std::string mamePath;
    ReplaceRuleList saved;
    LoadSettings(folder / "kanaroll.ini", mamePath, saved, [](const std::string&) { return false; });
    EXPECT_EQ(saved, m_rules);
}

// The checks read the controls' data from the controls themselves, past the hooks the window
// puts on the fields and the family list: what is checked is what the control holds, and the
// checks read dozens of texts after every action without running the program's handlers.
LRESULT SoakTest::Ask(HWND control, UINT message, WPARAM wParam, LPARAM lParam) {
    const auto procedure = reinterpret_cast<WNDPROC>(GetClassLongPtrW(control, GCLP_WNDPROC));
    return CallWindowProcW(procedure, control, message, wParam, lParam);
}

std::wstring SoakTest::Shown(HWND control) {
    std::wstring text(512, L'\0');
    for (;;) {
        const auto length = static_cast<std::size_t>(
            Ask(control, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data())));
        if (length + 1 < text.size()) return text.substr(0, length);
        text.resize(text.size() * 4);
    }
}

std::wstring SoakTest::ShownCell(HWND list, int row, int column) {
    std::wstring text(512, L'\0');
    for (;;) {
        LVITEMW item{};
        item.iSubItem = column;
        item.pszText = text.data();
        item.cchTextMax = static_cast<int>(text.size());
        const auto length =
            static_cast<std::size_t>(Ask(list, LVM_GETITEMTEXTW, row, reinterpret_cast<LPARAM>(&item)));
        if (length + 1 < text.size()) return text.substr(0, length);
        text.resize(text.size() * 4);
    }
}

int SoakTest::ShownImage(HWND list, int row) {
    LVITEMW item{};
    item.mask = LVIF_IMAGE;
    item.iItem = row;
    return Ask(list, LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item)) ? item.iImage : -1;
}

std::pair<int, int> SoakTest::ShownSelection(HWND edit) {
    DWORD start = 0;
    DWORD end = 0;
    Ask(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    return {static_cast<int>(start), static_cast<int>(end)};
}

}  // namespace kanaroll::testing::soak
