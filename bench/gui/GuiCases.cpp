// The cases of the GUI benchmark. Each one acts as a person would (a header click, a typed key)
// and is timed until the window has painted the result.
#include <algorithm>
#include <cctype>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <iterator>
#include <memory>
#include <stdexcept>
#include <string>
#include <utility>

#include "bench/ListXmlGenerator.h"
#include "bench/gui/GuiBench.h"
#include "bench/gui/JournalCases.h"
#include "catalogue/ListInfoReader.h"
#include "catalogue/NameListReader.h"
#include "mainwindow/ControlIds.h"
#include "mainwindow/GameColumns.h"
#include "mainwindow/GameOrder.h"
#include "platform/Controls.h"
#include "platform/MameListXml.h"
#include "platform/WideText.h"

namespace kanaroll::bench::gui {

namespace {

constexpr DWORD kReadyTimeoutMs = 60'000;
constexpr double kReadyTargetMs = 1500;
constexpr double kRealCatalogueReadyTargetMs = 1200;
constexpr double kSortTargetMs = 100;
constexpr double kSearchTargetMs = 20;
constexpr double kKeystrokeTargetMs = 5;
constexpr double kSaveTargetMs = 100;
constexpr double kNewCatalogueTargetMs = 2000;

const wchar_t* const kColumnNames[columns::kCount] = {
    L"ZIP name", L"English title", L"Japanese title", L"manufacturer", L"year", L"master", L"translated"};

// A first character that begins no ZIP name of the catalogue, so that every key typed after it
// finds nothing and the search probes every row.
wchar_t CharacterThatStartsNoZipName(const GameList& games) {
    bool used[128] = {};
    for (int index = 0; index < games.Count(); ++index) {
        const std::string& zip = games[index].zipName;
        if (!zip.empty()) used[std::toupper(static_cast<unsigned char>(zip[0])) & 0x7F] = true;
    }
    for (const char c : std::string("QXZJVYKWUIOPHGFEDCBAMNLTSR9876543210")) {
        if (!used[static_cast<unsigned char>(c)]) return static_cast<wchar_t>(std::tolower(c));
    }
    throw std::runtime_error("every letter and digit begins some ZIP name");
}

// kanaroll.exe started as a process in `folder` of the bench, timed until its first game is
// selected.
GuiCase RealStart(std::string name, double targetMs, const std::filesystem::path& (Bench::*folder)() const) {
    return {
        .name = std::move(name),
        .targetMs = targetMs,
        .repetitions = 3,
        .setUp = [](Bench& bench) { bench.EndSession(); },  // one TForm1 at a time
        .measured =
            [folder](Bench& bench, int) {
                std::wstring problem;
                if (!bench.StartProgram((bench.*folder)()).WaitUntilReady(kReadyTimeoutMs, problem)) {
                    throw std::runtime_error(WideToUtf8(problem));
                }
            },
        .afterEach = [](Bench& bench, int) { bench.EndProgram(); },
    };
}

GuiCase InProcessStart() {
    return {
        .name = "start to first game selected (windows)",
        .targetMs = kReadyTargetMs,
        .beforeEach = [](Bench& bench, int) { bench.EndSession(); },
        .measured = [](Bench& bench, int) { bench.StartSession(); },
    };
}

// A click on the header sorts by that column. Before each timed click an untimed click on the
// next column puts the list in another order, so that every timed click sorts for real.
GuiCase SortClick(int column) {
    return {
        .name = "sort click: " + WideToUtf8(kColumnNames[column]),
        .targetMs = kSortTargetMs,
        .beforeEach =
            [column](Bench& bench, int) {
                MainWindowSession& session = bench.Session();
                session.ClickColumn((column + 1) % columns::kCount);
                session.PaintNow();
            },
        .measured =
            [column](Bench& bench, int) {
                MainWindowSession& session = bench.Session();
                session.ClickColumn(column);
                session.PaintNow();
            },
    };
}

// Keys typed in the game list that match no ZIP name: each one searches every row and moves
// nothing.
GuiCase SearchMiss() {
    auto key = std::make_shared<wchar_t>(L'\0');
    auto selectedBefore = std::make_shared<int>(-1);
    return {
        .name = "search miss: a key typed in the game list",
        .targetMs = kSearchTargetMs,
        .repetitions = 15,
        .setUp =
            [key, selectedBefore](Bench& bench) {
                MainWindowSession& session = bench.Session();
                *key = CharacterThatStartsNoZipName(session.Form().Games());
                std::printf("  (the search types '%c', which begins no ZIP name)\n", static_cast<char>(*key));
                session.Focus(session.Ui().ListView1);
                *selectedBefore = listview::SelectedItem(session.Ui().ListView1);
            },
        .measured =
            [key](Bench& bench, int) {
                MainWindowSession& session = bench.Session();
                session.TypeText(session.Ui().ListView1, std::wstring(1, *key));
                session.PaintNow();
            },
        .afterEach =
            [selectedBefore](Bench& bench, int) {
                if (listview::SelectedItem(bench.Session().Ui().ListView1) != *selectedBefore) {
                    throw std::runtime_error("the typed key found a game: not a miss");
                }
            },
    };
}

// For reading the figures above: what a sort click is made of. The catalogue's own sort, on a
// catalogue of this process's own (no window), from another column's order as in SortClick.
GuiCase SortAlone(int column) {
    auto games = std::make_shared<GameList>();
    return {
        .name = "  reference: the sort alone, " + WideToUtf8(kColumnNames[column]),
        .setUp =
            [games](Bench& bench) {
                NoLoadProgress quiet;
                if (!ReadListInfo(bench.Folder() / "listinfo.txt", *games, quiet)) {
                    throw std::runtime_error("listinfo.txt could not be read");
                }
                int translated = 0;
                MergeNameList(bench.Folder() / "mame32j.lst", *games, translated);
            },
        .beforeEach = [games, column](Bench&, int) { SortGames(*games, (column + 1) % columns::kCount + 1); },
        .measured = [games, column](Bench&, int) { SortGames(*games, column + 1); },
    };
}

// The game list painted again after it was invalidated whole, as after any change of order.
GuiCase ListRepaint() {
    return {
        .name = "  reference: the game list repainted",
        .measured =
            [](Bench& bench, int) {
                MainWindowSession& session = bench.Session();
                InvalidateRect(session.Ui().ListView1, nullptr, TRUE);
                session.PaintNow();
            },
    };
}

// LVM_REDRAWITEMS over every row, as a way to repaint the list after a sort.
GuiCase RedrawEveryRow() {
    return {
        .name = "  reference: LVM_REDRAWITEMS of every row",
        .measured =
            [](Bench& bench, int) {
                MainWindowSession& session = bench.Session();
                const HWND list = session.Ui().ListView1;
                SendMessageW(list, LVM_REDRAWITEMS, 0, listview::ItemCount(list) - 1);
                session.PaintNow();
            },
    };
}

// Selecting a row by program, as a sort click does to keep the current game selected: the row
// some way below the selected one, with the detail panel following it.
GuiCase SelectRow() {
    return {
        .name = "  reference: a row selected by program",
        .measured =
            [](Bench& bench, int repetition) {
                MainWindowSession& session = bench.Session();
                const HWND list = session.Ui().ListView1;
                const int rows = listview::ItemCount(list);
                const int row = (std::max(listview::SelectedItem(list), 0) + 997 * (repetition + 1)) % rows;
                listview::SelectAndFocus(list, row);
                listview::EnsureVisible(list, row);
                session.Pump();
                session.PaintNow();
            },
    };
}

// Holds keys down, as far as GetKeyState and TranslateMessage can tell, for its lifetime.
class HeldKeys {
public:
    explicit HeldKeys(std::initializer_list<int> keys) {
        GetKeyboardState(m_saved);
        BYTE state[256];
        std::copy(std::begin(m_saved), std::end(m_saved), std::begin(state));
        for (int key : keys) state[key] |= 0x80;
        SetKeyboardState(state);
    }
    ~HeldKeys() { SetKeyboardState(m_saved); }
    HeldKeys(const HeldKeys&) = delete;
    HeldKeys& operator=(const HeldKeys&) = delete;

private:
    BYTE m_saved[256];
};

const TRecordset& CurrentGame(MainWindowSession& session) {
    const int index = session.Form().State().currentIndex;
    if (index < 0) throw std::runtime_error("no game is current");
    return session.Form().Games()[index];
}

// One character typed into a field (a WM_CHAR handled through the form's dispatch) until the
// field, the catalogue, both lists' cells and the status bar show it. In the reading field every
// other character is the first of an emptied reading, which also translates the game again and
// changes the totals.
GuiCase Keystroke(bool reading) {
    return {
        .name = reading ? "keystroke in the reading field (Edit2)" : "keystroke in the title field (Edit1)",
        .targetMs = kKeystrokeTargetMs,
        .repetitions = 20,
        .beforeEach =
            [reading](Bench& bench, int repetition) {
                MainWindowSession& session = bench.Session();
                const HWND field = reading ? session.Ui().Edit2 : session.Ui().Edit1;
                if (GetFocus() != field) session.Focus(field);
                if (reading && repetition % 2 == 0) {
                    SendMessageW(field, EM_SETSEL, 0, -1);
                    session.PressKey(field, VK_BACK);
                    if (CurrentGame(session).translated)
                        throw std::runtime_error("emptying the reading kept the game translated");
                } else if (repetition == 0 || window::Text(field).size() > 60) {
                    SendMessageW(field, EM_SETSEL, 0, -1);
                    session.PressKey(field, VK_BACK);
                }
                session.PressKey(field, VK_END);
                session.PaintNow();
            },
        .measured =
            [reading](Bench& bench, int) {
                MainWindowSession& session = bench.Session();
                session.TypeText(reading ? session.Ui().Edit2 : session.Ui().Edit1, reading ? L"か" : L"x");
                session.PaintNow();
            },
        .afterEach =
            [reading](Bench& bench, int) {
                MainWindowSession& session = bench.Session();
                const TRecordset& game = CurrentGame(session);
                const std::string& stored = reading ? game.reading : game.japaneseName;
                const std::wstring shown = window::Text(reading ? session.Ui().Edit2 : session.Ui().Edit1);
                if (ToWide(stored, session.Form().Codec().CodePage()) != shown || shown.empty() ||
                    shown.back() != (reading ? L'か' : L'x')) {
                    throw std::runtime_error("the typed character did not reach the catalogue");
                }
                if (reading && !game.translated)
                    throw std::runtime_error("a reading did not translate the game");
            },
    };
}

// Enter in the reading field: the next game is selected, shown in the detail panel with its family,
// and the title field takes the focus. Working down the list, the selection soon reaches the
// bottom row and every Enter scrolls the list by a row; until then the next row is in view. With
// a character typed on the game first (untimed), Enter also puts the recovery journal on the disk.
GuiCase EnterToNextGame(bool scrolling, bool afterKeystroke = false) {
    auto before = std::make_shared<int>(-1);
    return {
        .name = afterKeystroke
                    ? "  reference: Enter to the next game in view after a keystroke (journal flushed)"
                : scrolling ? "Enter in the reading field to the next game, list scrolling"
                            : "Enter in the reading field to the next game in view",
        .targetMs = afterKeystroke ? 0 : kKeystrokeTargetMs,
        .repetitions = 20,
        // From the middle of the catalogue: the list control finds its selected row by walking
        // the rows before it.
        .setUp =
            [](Bench& bench) {
                MainWindowSession& session = bench.Session();
                const HWND list = session.Ui().ListView1;
                const int row = listview::ItemCount(list) / 2;
                listview::SelectAndFocus(list, row);
                listview::EnsureVisible(list, row);
                session.Pump();
                session.PaintNow();
            },
        .beforeEach =
            [before, scrolling, afterKeystroke](Bench& bench, int) {
                MainWindowSession& session = bench.Session();
                *before = session.Form().State().currentIndex;
                // The selected row at the bottom of the list, or at its top.
                const HWND list = session.Ui().ListView1;
                if (!scrolling) {
                    const auto rowsShown = static_cast<int>(SendMessageW(list, LVM_GETCOUNTPERPAGE, 0, 0));
                    listview::EnsureVisible(list, *before + rowsShown);
                }
                listview::EnsureVisible(list, *before);
                session.Focus(session.Ui().Edit2);
                if (afterKeystroke) {
                    session.PressKey(session.Ui().Edit2, VK_END);
                    session.TypeText(session.Ui().Edit2, L"か");
                }
                session.PaintNow();
            },
        .measured =
            [](Bench& bench, int) {
                MainWindowSession& session = bench.Session();
                session.PressKey(session.Ui().Edit2, VK_RETURN);
                session.PaintNow();
            },
        .afterEach =
            [before](Bench& bench, int) {
                MainWindowSession& session = bench.Session();
                const int now = session.Form().State().currentIndex;
                if (now != *before + 1 || GetFocus() != session.Ui().Edit1) {
                    throw std::runtime_error("Enter did not move from game " + std::to_string(*before) +
                                             " to the next (now " + std::to_string(now) + ")");
                }
            },
    };
}

// For reading the figures above: what Wine's list view alone spends scrolling the game list by a
// row and painting the row that comes into view, as it does when Enter selects the row below the
// last one shown. No handler of the program runs but the list's cell texts.
GuiCase ScrollOneRow() {
    return {
        .name = "  reference: the game list scrolled by a row",
        .repetitions = 20,
        .measured =
            [](Bench& bench, int) {
                MainWindowSession& session = bench.Session();
                const HWND list = session.Ui().ListView1;
                RECT row{.left = LVIR_BOUNDS, .top = 0, .right = 0, .bottom = 0};
                SendMessageW(list, LVM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&row));
                SendMessageW(list, LVM_SCROLL, 0, row.bottom - row.top);
                session.PaintNow();
            },
    };
}

// Ctrl+S in the game list: mame32j.lst written beside the program, every game of the catalogue
// being translated.
GuiCase QuickSave() {
    return {
        .name = "quick save, Ctrl+S in the game list (Mame32J)",
        .targetMs = kSaveTargetMs,
        .beforeEach =
            [](Bench& bench, int) {
                MainWindowSession& session = bench.Session();
                session.Focus(session.Ui().ListView1);
                std::filesystem::remove(bench.Folder() / "mame32j.lst");
            },
        .measured =
            [](Bench& bench, int) {
                MainWindowSession& session = bench.Session();
                {
                    HeldKeys control({VK_CONTROL});
                    session.PressKey(session.Ui().ListView1, 'S');
                }
                session.PaintNow();
            },
        .afterEach =
            [](Bench& bench, int) {
                MainWindowSession& session = bench.Session();
                if (session.Form().State().modified ||
                    !std::filesystem::exists(bench.Folder() / "mame32j.lst") ||
                    !session.Services().messageBoxes.empty()) {
                    throw std::runtime_error("quick save did not write mame32j.lst");
                }
            },
    };
}

// The output button with MANE32J chosen; the save dialog answers at once with a file in the
// program folder.
GuiCase OutputMane32J() {
    return {
        .name = "output button, MANE32J",
        .targetMs = kSaveTargetMs,
        .setUp =
            [](Bench& bench) {
                MainWindowSession& session = bench.Session();
                SendMessageW(session.Ui().RadioButton2, BM_CLICK, 0, 0);
                session.Pump();
            },
        .beforeEach =
            [](Bench& bench, int) {
                MainWindowSession& session = bench.Session();
                const auto path = bench.Folder() / "MANE32J.lst";
                std::filesystem::remove(path);
                session.Services().fileDialogAnswers.push_back(path.wstring());
                session.PaintNow();
            },
        .measured =
            [](Bench& bench, int) {
                MainWindowSession& session = bench.Session();
                SendMessageW(session.Ui().BitBtn1, BM_CLICK, 0, 0);
                session.Pump();
                session.PaintNow();
            },
        .afterEach =
            [](Bench& bench, int) {
                MainWindowSession& session = bench.Session();
                if (!session.Services().fileDialogAnswers.empty() ||
                    !std::filesystem::exists(bench.Folder() / "MANE32J.lst") ||
                    !session.Services().messageBoxes.empty()) {
                    throw std::runtime_error("the output button did not write MANE32J.lst");
                }
            },
    };
}

// The popup entry makes the catalogue anew with MAME: a stand-in (tests/helpers/FakeMame.exe)
// replays the generated games' -listxml output at full speed. Untimed, the entry is chosen and
// the output taken until MAME has ended, the end's notification left waiting; timed is what
// follows: judging the output, reading the catalogue from the temporary file, putting it in place,
// reading the name list again, up to the new catalogue's first game selected and painted. The
// output is written once into the program folder; after the case listinfo.txt is that output,
// which the cases after it would load, so it comes last. With the installed MAME's real output
// (--real-catalogue) the stand-in replays that instead, and the real name list (--real-namelist)
// takes the generated one's place, so that the reload reads what a user of today's MAME has.
GuiCase CatalogueFromMame(const BenchOptions& options, bool real) {
    return {
        .name = real ? "new catalogue (installed MAME's output, real list): end of output to first game"
                     : "new catalogue: end of MAME's output to first game",
        .targetMs = kNewCatalogueTargetMs,
        .repetitions = 3,
        .setUp =
            [games = options.games, real, realXml = options.realCatalogue,
             realList = options.realNameList](Bench& bench) {
                bench.EndSession();
                std::filesystem::path xml = realXml;
                if (real) {
                    if (!realList.empty())
                        std::filesystem::copy_file(realList, bench.Folder() / "mame32j.lst",
                                                   std::filesystem::copy_options::overwrite_existing);
                } else {
                    CatalogueOptions catalogue;
                    catalogue.gameCount = games;
                    xml = bench.Folder() / "listxml-output.xml";
                    WriteListXml(xml, catalogue);
                }
                wchar_t self[MAX_PATH] = {};
                GetModuleFileNameW(nullptr, self, MAX_PATH);
                // bench/gui/gui_benchmarks.exe; the stand-in is tests/FakeMame.exe of the same build.
                const auto build = std::filesystem::path(self).parent_path().parent_path().parent_path();
                const auto mame = bench.Folder() / "mame" / "mame.exe";
                std::filesystem::create_directories(mame.parent_path());
                std::filesystem::copy_file(build / "tests" / "FakeMame.exe", mame,
                                           std::filesystem::copy_options::overwrite_existing);
                std::ofstream(bench.Folder() / "kanaroll.ini", std::ios::binary)
                    << "MAMEPath:=" + FromWide(mame.wstring(), 932) + "\r\n";
                SetEnvironmentVariableW(L"KANAROLL_FAKE_MAME", (L"replay|" + xml.wstring()).c_str());
            },
        .beforeEach =
            [](Bench& bench, int) {
                MainWindowSession& session = bench.Session();
                TForm1& form = session.Form();
                session.PaintNow();
                PostMessageW(form.Handle(), WM_COMMAND, MAKEWPARAM(ids::kRemakeCatalogue, 0), 0);
                const ULONGLONG until = GetTickCount64() + 120'000;
                // Every message is handled but the run's notifications once MAME has ended.
                for (;;) {
                    const MameListXml* run = form.CatalogueRun();
                    MSG message{};
                    if (run && run->Ended()) break;
                    if (GetTickCount64() >= until)
                        throw std::runtime_error("MAME's output did not end in time");
                    if (!PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
                        MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
                        continue;
                    }
                    TranslateMessage(&message);
                    DispatchMessageW(&message);
                    if (!session.Services().messageBoxes.empty())
                        throw std::runtime_error("a message box: " + WideToUtf8(session.FirstMessageBox()));
                }
            },
        .measured =
            [](Bench& bench, int) {
                MainWindowSession& session = bench.Session();
                const HWND form = session.Form().Handle();
                const ULONGLONG until = GetTickCount64() + 120'000;
                while (session.Form().CatalogueRun() || !IsWindowEnabled(form)) {
                    if (GetTickCount64() >= until)
                        throw std::runtime_error("the new catalogue did not come in time");
                    session.Pump();
                }
                session.PaintNow();
            },
        .afterEach =
            [](Bench& bench, int) {
                MainWindowSession& session = bench.Session();
                const std::wstring panel = statusbar::Text(session.Ui().StatusBar1, 3);
                if (!session.Services().messageBoxes.empty())
                    throw std::runtime_error("a message box: " + WideToUtf8(session.FirstMessageBox()));
                if (panel.find(L"新しいマシン") == std::wstring::npos ||
                    listview::SelectedItem(session.Ui().ListView1) != 0)
                    throw std::runtime_error(
                        "the new catalogue was not loaded (status: " + WideToUtf8(panel) + ")");
            },
    };
}

// A case this machine cannot run, reported skipped with `reason`.
GuiCase Unavailable(GuiCase guiCase, const std::string& reason) {
    guiCase.setUp = [reason](Bench&) { throw std::runtime_error(reason); };
    return guiCase;
}

}  // namespace

std::vector<GuiCase> GuiCases(const BenchOptions& options) {
    std::vector<GuiCase> cases;
    // The cases on the real catalogue, when there is one or when its absence is to be reported.
    const bool realCases = !options.realCatalogue.empty() || !options.realCatalogueMissing.empty();
    const auto onRealCatalogue = [&options](GuiCase guiCase) {
        return options.realCatalogue.empty() ? Unavailable(std::move(guiCase), options.realCatalogueMissing)
                                             : std::move(guiCase);
    };
    if (options.realStart) {
        cases.push_back(
            RealStart("start to first game selected (kanaroll.exe)", kReadyTargetMs, &Bench::Folder));
        if (realCases) {
            cases.push_back(
                onRealCatalogue(RealStart("start to first game selected (kanaroll.exe, real catalogue)",
                                          kRealCatalogueReadyTargetMs, &Bench::RealFolder)));
        }
    }
    cases.push_back(InProcessStart());
    for (int column = 0; column < columns::kCount; ++column) cases.push_back(SortClick(column));
    cases.push_back(SortAlone(columns::kZipName));
    cases.push_back(SortAlone(columns::kEnglishName));
    cases.push_back(ListRepaint());
    cases.push_back(RedrawEveryRow());
    cases.push_back(SelectRow());
    cases.push_back(SearchMiss());
    cases.push_back(Keystroke(false));
    cases.push_back(Keystroke(true));
    cases.push_back(EnterToNextGame(true));
    cases.push_back(EnterToNextGame(false));
    cases.push_back(EnterToNextGame(false, true));
    cases.push_back(ScrollOneRow());
    AddJournalCases(cases);
    cases.push_back(QuickSave());
    cases.push_back(OutputMane32J());
    cases.push_back(CatalogueFromMame(options, false));
    // Replaces the name list of the program folder: after every other case.
    if (realCases) cases.push_back(onRealCatalogue(CatalogueFromMame(options, true)));
    return cases;
}

}  // namespace kanaroll::bench::gui
