// Long use: thousands of random actions of a person at the main window (selections, typing, Enter,
// F3, sorts, reset, undo, rule edits, saves) on a catalogue of 2,000 games. After every action the
// catalogue, the counters, both lists, the detail panel and the status bar must agree with each
// other and with what the actions did, and every file saved must read back as the catalogue.
//
// The seed is fixed and printed. To replay another run:
//   KANAROLL_SOAK_SEED=N KANAROLL_SOAK_ACTIONS=N gui_tests.exe --gtest_filter='SoakTest.*'
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <deque>
#include <filesystem>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "catalogue/SettingsFile.h"
#include "mainwindow/GameColumns.h"
#include "mainwindow/GameOrder.h"
#include "platform/WaitCursor.h"
#include "replace/TitleReplace.h"
#include "tests/gui/DetailsFixture.h"
#include "tests/gui/MessageLoopProbe.h"
#include "tests/gui/SortHeaderSupport.h"

namespace kanaroll::testing {
namespace {

constexpr std::uint64_t kSeed = 0x4B414E41;
constexpr int kActions = 10'000;
constexpr int kSoakGames = 2'000;
constexpr int kFullListCheckEvery = 500;
constexpr int kMaxRules = 12;  // the replace dialog shows them all without scrolling
constexpr DWORD kTypeAheadPauseMs = 1'100;
constexpr int kRecentActions = 30;
// 10,000 actions take about a minute on a quiet machine of two cores. One busy with other work runs
// them several times slower (each action waits on the Wine server many times): the run stops at
// this bound then, fewer actions done.
constexpr double kTimeBoundSeconds = 150;

// splitmix64: the same numbers with every compiler, so that a seed replays anywhere.
class Random {
public:
    explicit Random(std::uint64_t seed) : m_state(seed) {}
    std::uint64_t Next() {
        std::uint64_t z = (m_state += 0x9E3779B97F4A7C15ULL);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
        return z ^ (z >> 31);
    }
    int Below(int bound) {
        return bound <= 0 ? 0 : static_cast<int>(Next() % static_cast<std::uint64_t>(bound));
    }
    bool Chance(int percent) { return Below(100) < percent; }
    template <typename T, std::size_t N>
    const T& Pick(const T (&items)[N]) {
        return items[Below(static_cast<int>(N))];
    }

private:
    std::uint64_t m_state;
};

// The catalogue of the soak: masters with families of up to seven clones, a few clones whose
// master is missing, and a name list (UTF-8 here, Shift-JIS on disk) for about half the games,
// some with an empty reading and a few with an empty title.
struct SoakFiles {
    std::vector<ListInfoGame> games;
    std::string nameList;
};

SoakFiles MakeSoakFiles() {
    static constexpr const char* kSyllables[] = {
        "pac", "gal", "dig", "xev", "bub", "ras", "tet", "sf",  "mk",  "kof", "puy", "gra", "out",
        "cho", "don", "nin", "spl", "ark", "bom", "cir", "dar", "esp", "fan", "gun", "hal"};
    static constexpr const char* kCloneSuffixes[] = {"j", "u", "a", "b", "2", "o", "w"};
    static constexpr const char* kWords[] = {"Pac",  "Galaxy", "Dragon", "Street", "Fighter", "Puzzle",
                                             "Star", "Ninja",  "Turbo",  "Super",  "Bubble",  "Out",
                                             "Run",  "Force",  "Man",    "Attack", "Bomber",  "Circus"};
    static constexpr const char* kRegions[] = {" (Japan)", " (US)",        " (World)",      " (bootleg)",
                                               " (set 2)", " (prototype)", " (Japan, US)",  " [BET]",
                                               " (Asia)",  " (Europe)",    " (US) (Japan)", ""};
    static constexpr const char* kMakers[] = {"Namco", "Capcom", "Sega",      "Taito",  "Konami",
                                              "SNK",   "Irem",   "Data East", "bootleg"};
    static constexpr const char* kKatakana[] = {"パックマン", "ギャラガ", "ドラゴン", "ストリート",
                                                "ファイター", "パズル",   "スター",   "ニンジャ",
                                                "ターボ",     "スーパー"};
    static constexpr const char* kJapaneseRegions[] = {" (日本版)", " (米国版)", " (海外版)", " (Japan)", ""};
    static constexpr const char* kHiragana[] = {"ぱっくまん", "ぎゃらが", "どらごん", "すとりーと",
                                                "ふぁいたー", "ぱずる",   "すたー",   "にんじゃ",
                                                "たーぼ",     "すーぱー"};

    Random random(0x4B414E41524F4C4CULL);
    SoakFiles files;
    std::set<std::string> zips;
    std::string master;
    int clonesOfMaster = 0;
    for (int index = 0; index < kSoakGames; ++index) {
        const bool clone = !master.empty() && clonesOfMaster < 7 && random.Chance(35);
        const bool orphan = !clone && random.Chance(2);
        std::string zip;
        do {
            zip = clone ? master + random.Pick(kCloneSuffixes)
                        : std::string(random.Pick(kSyllables)) + random.Pick(kSyllables);
            if (random.Chance(30)) zip += static_cast<char>('0' + random.Below(10));
        } while (zips.contains(zip));
        zips.insert(zip);

        ListInfoGame game;
        game.zip = zip;
        const int words = 1 + random.Below(3);
        for (int word = 0; word < words; ++word)
            game.description += (word ? " " : "") + std::string(random.Pick(kWords));
        if (clone || orphan || random.Chance(30)) game.description += random.Pick(kRegions);
        game.year = random.Chance(5) ? "19??" : std::to_string(1978 + random.Below(22));
        game.manufacturer = random.Pick(kMakers);
        if (clone) {
            game.cloneOf = master;
            ++clonesOfMaster;
        } else if (orphan) {
            game.cloneOf = "lostset" + std::to_string(random.Below(6));
        } else {
            master = zip;
            clonesOfMaster = 0;
            game.neoGeo = random.Chance(3);
        }
        game.vector = random.Chance(3);
        game.statusGood = !random.Chance(15);

        if (random.Chance(55)) {
            std::string title = random.Pick(kKatakana);
            if (random.Chance(40)) title += random.Pick(kKatakana);
            title += random.Pick(kJapaneseRegions);
            if (random.Chance(1)) title.clear();
            std::string reading;
            if (!random.Chance(4)) {
                reading = random.Pick(kHiragana);
                if (random.Chance(40)) reading += random.Pick(kHiragana);
            }
            files.nameList += zip + "\t" + title + "\t" + reading + "\t" + game.manufacturer + "\r\n";
        }
        files.games.push_back(std::move(game));
    }
    return files;
}

// What the typing actions type: letters, digits, parentheses, kana, kanji, full-width signs, and
// characters Shift-JIS cannot hold (which the fields refuse).
std::wstring RandomTitleText(Random& random) {
    static constexpr const wchar_t* kPieces[] = {L"a",  L"Z",  L"q",  L"1",          L" ",  L" ",  L"(",
                                                 L")",  L"パ", L"ッ", L"ク",         L"マ", L"ン", L"日",
                                                 L"本", L"版", L"ー", L"・",         L"（", L"）", L"Japan",
                                                 L"US", L" (", L"é",  L"\U0001F600", L"ｶﾞ", L"〜", L"-"};
    std::wstring text;
    const int pieces = 1 + random.Below(5);
    for (int piece = 0; piece < pieces; ++piece) text += random.Pick(kPieces);
    return text;
}

std::wstring RandomReadingText(Random& random) {
    static constexpr const wchar_t* kPieces[] = {L"ぱ", L"っ", L"く", L"ま", L"ん", L"あ", L"い",
                                                 L"う", L"ー", L"が", L"1",  L" ",  L"ゔ", L"é"};
    std::wstring text;
    const int pieces = 1 + random.Below(4);
    for (int piece = 0; piece < pieces; ++piece) text += random.Pick(kPieces);
    return text;
}

// Rule texts: search texts are ASCII and replacements hold no ASCII, so that however often F3 is
// pressed, a title never grows without end.
constexpr const wchar_t* kRuleSearches[] = {L"Japan",   L"US",    L"World", L"Asia", L"Europe",
                                            L"bootleg", L"set 2", L"Pac",   L"Man",  L"Star",
                                            L"a",       L"e",     L" ",     L"[BET]"};
constexpr const wchar_t* kRuleReplacements[] = {L"日本版", L"米国版",   L"海外版", L"アジア版", L"欧州版",
                                                L"海賊版", L"セット２", L"パック", L"マン",     L"",
                                                L"ア",     L"エ",       L"・"};

// The time the actions of each kind and the checks after them take, summed over a run and shown
// at its end: where a slow run spends its time. Names in parentheses are parts of other entries.
class Timings {
public:
    Timings() { QueryPerformanceFrequency(&m_frequency); }
    void Add(const char* name, LONGLONG ticks) {
        auto entry = std::find_if(m_entries.begin(), m_entries.end(),
                                  [&](const Entry& each) { return std::string_view(each.name) == name; });
        if (entry == m_entries.end()) entry = m_entries.insert(m_entries.end(), Entry{name});
        ++entry->count;
        entry->ticks += ticks;
    }
    void Print() const {
        std::vector<Entry> entries = m_entries;
        std::sort(entries.begin(), entries.end(),
                  [](const Entry& a, const Entry& b) { return a.ticks > b.ticks; });
        LONGLONG total = 0;
        for (const Entry& entry : entries) total += entry.name[0] == '(' ? 0 : entry.ticks;
        std::printf("[   SOAK   ] time per kind of action and check, %.1f s in all:\n", Seconds(total));
        for (const Entry& entry : entries) {
            std::printf("[   SOAK   ]   %-22s %6d x %6.2f ms = %5.1f s\n", entry.name, entry.count,
                        1000 * Seconds(entry.ticks) / entry.count, Seconds(entry.ticks));
        }
        std::fflush(stdout);
    }

private:
    struct Entry {
        const char* name;
        int count = 0;
        LONGLONG ticks = 0;
    };
    double Seconds(LONGLONG ticks) const { return static_cast<double>(ticks) / m_frequency.QuadPart; }

    LARGE_INTEGER m_frequency{};
    std::vector<Entry> m_entries;
};

class Stopwatch {
public:
    Stopwatch(Timings& timings, const char* name) : m_timings(timings), m_name(name) {
        QueryPerformanceCounter(&m_start);
    }
    ~Stopwatch() {
        LARGE_INTEGER end;
        QueryPerformanceCounter(&end);
        m_timings.Add(m_name, end.QuadPart - m_start.QuadPart);
    }
    Stopwatch(const Stopwatch&) = delete;
    Stopwatch& operator=(const Stopwatch&) = delete;

private:
    Timings& m_timings;
    const char* m_name;
    LARGE_INTEGER m_start{};
};

struct ModelGame {
    std::string zip;
    std::string englishName;
    std::string manufacturer;
    std::string japaneseName;
    std::string reading;
    bool translated = false;
};

class SoakTest : public DetailsTest {
protected:
    void StartSoak() {
        const SoakFiles files = MakeSoakFiles();
        WriteListInfo(files.games);
        WriteFile("mame32j.lst", files.nameList);
        Start();
        // A low window, as some people keep it: the game list shows fewer rows, which keeps the
        // repainting after each action short. Every column stays in view.
        SetWindowPos(form->Handle(), nullptr, 0, 0, 950, 440, SWP_NOMOVE | SWP_NOZORDER);
        Pump();
        ASSERT_EQ(form->Games().Count(), kSoakGames);
        ASSERT_TRUE(services.messageBoxes.empty());
        m_model.assign(kSoakGames, {});
        for (int index = 0; index < kSoakGames; ++index) {
            const TRecordset& game = form->Games()[index];
            ASSERT_TRUE(game.listOrder >= 0 && game.listOrder < kSoakGames);
            m_model[game.listOrder] = {game.zipName,      game.englishName, game.manufacturer,
                                       game.japaneseName, game.reading,     game.translated};
        }
        m_rules = State().replaceRules;
        m_undo = {Current()->japaneseName, Current()->reading};
    }

    // Runs `actions` random actions from `seed`; stops at the first broken expectation and reports
    // it with the actions that led there. Then closes the window, saving, and reads back the files.
    void Soak(std::uint64_t seed, int actions) {
        std::printf("[   SOAK   ] seed %llu, %d actions on %d games\n", static_cast<unsigned long long>(seed),
                    actions, kSoakGames);
        RecordProperty("seed", std::to_string(seed));
        Random random(seed);
        const auto start = std::chrono::steady_clock::now();
        int done = 0;
        bool bounded = false;
        for (; done < actions; ++done) {
            if (std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count() >
                kTimeBoundSeconds) {
                bounded = true;
                break;
            }
            m_step = done;
            BeginStep();
            PerformRandomAction(random);
            EndStep();
            if (!m_problem.empty()) break;
            if ((done + 1) % 2'000 == 0) {
                const double elapsed =
                    std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
                std::printf("[   SOAK   ] %d actions, %.1f s\n", done + 1, elapsed);
                std::fflush(stdout);
            }
        }
        const double seconds =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        if (!m_problem.empty()) {
            std::string recent;
            for (const auto& line : m_recent) recent += "  " + line + "\n";
            ADD_FAILURE() << "seed " << seed << ", action " << done << ": " << m_problem
                          << "\nthe focus is on " << ControlName(GetFocus()) << " in "
                          << ControlName(GetActiveWindow()) << "\nthe last actions:\n"
                          << recent;
            return;
        }
        CheckUneditedFields();
        CheckWholeGameList();
        ASSERT_TRUE(m_problem.empty()) << m_problem;
        if (bounded) std::printf("[   SOAK   ] stopped by the time bound of %.0f s\n", kTimeBoundSeconds);
        std::printf(
            "[   SOAK   ] %d actions in %.1f s (%d quick saves, %d outputs, %d sorts, %d rule edits, %d "
            "F3)\n",
            done, seconds, m_counts.quickSaves, m_counts.outputs, m_counts.sorts, m_counts.ruleEdits,
            m_counts.replaces);
        m_timings.Print();
        CloseAndCheckFiles();
    }

private:
    // ---- The actions ----------------------------------------------------------------------------

    void PerformRandomAction(Random& random) {
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

    void ListKeys(Random& random) {
        static constexpr UINT kKeys[] = {VK_DOWN, VK_DOWN,  VK_DOWN, VK_UP, VK_UP,
                                         VK_NEXT, VK_PRIOR, VK_HOME, VK_END};
        PressKeyIn(Ui().ListView1, "the game list", random.Pick(kKeys));
    }

    void PressKeyIn(HWND list, const std::string& listName, UINT key) {
        FocusList(list);
        Log("key " + KeyName(key) + " in " + listName);
        PressKey(key);
    }

    void ClickGameRow(Random& random) {
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
    void TypeAhead(Random& random) {
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

    void FamilyKeys(Random& random) {
        static constexpr UINT kKeys[] = {VK_DOWN, VK_DOWN, VK_UP, VK_HOME, VK_END};
        PressKeyIn(Ui().ListView2, "the family list", random.Pick(kKeys));
    }

    void ClickFamilyRow(Random& random) {
        const HWND list = Ui().ListView2;
        const int rows = listview::ItemCount(list);
        if (rows == 0) return;
        const int row = random.Below(rows);
        listview::EnsureVisible(list, row);  // as the scroll bar would
        Log("click family row " + std::to_string(row) + " (" + WideToUtf8(Cell(list, row, 0)) + ")");
        ClickRow(list, row);
    }

    void EnterInList(Random& random) {
        const HWND list = random.Chance(70) ? Ui().ListView1 : Ui().ListView2;
        FocusList(list);
        Log(std::string("Enter in the ") + (list == Ui().ListView1 ? "game" : "family") + " list");
        PressKey(VK_RETURN);
        Expect(GetFocus() == Ui().Edit1, "Enter in a list did not move the focus to the title field");
        ExpectEntrySelection();
    }

    void TypeTitle(Random& random) {
        EnsureFocus(Ui().Edit1, random);
        const std::wstring text = RandomTitleText(random);
        Log("type \"" + WideToUtf8(text) + "\" in the title field");
        Type(text);
    }

    void TypeReading(Random& random) {
        EnsureFocus(Ui().Edit2, random);
        const std::wstring text = RandomReadingText(random);
        Log("type \"" + WideToUtf8(text) + "\" in the reading field");
        Type(text);
    }

    void EditingKeys(Random& random) {
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

    void EnterInTitle(Random& random) {
        EnsureFocus(Ui().Edit1, random);
        Log("Enter in the title field");
        PressKey(VK_RETURN);
        Expect(GetFocus() == Ui().Edit2, "Enter in the title field did not move the focus to the reading");
        const int length = static_cast<int>(Shown(Ui().Edit2).size());
        Expect(ShownSelection(Ui().Edit2) == std::make_pair(0, length), "the reading was not selected whole");
    }

    void EnterInReading(Random& random) {
        EnsureFocus(Ui().Edit2, random);
        const int row = listview::SelectedItem(Ui().ListView1);
        Log("Enter in the reading field on row " + std::to_string(row));
        PressKey(VK_RETURN);
        const int expected = row + 1 < form->Games().Count() ? row + 1 : row;
        Expect(State().currentIndex == expected, "Enter in the reading field did not move to the next game");
        Expect(GetFocus() == Ui().Edit1, "Enter in the reading field did not move the focus to the title");
        ExpectEntrySelection();
    }

    void TabKey(Random& random) {
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

    void ClickField(Random& random) {
        const HWND kFields[] = {Ui().Edit1, Ui().Edit2, Ui().Edit3};
        const HWND field = random.Pick(kFields);
        ClickInside(field, random);
        Log("click into " + ControlName(field));
    }

    void DoubleClickReading(Random& random) {
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
    void F3(Random& random) {
        const HWND kPlaces[] = {Ui().Edit1, Ui().Edit1,     Ui().Edit2,
                                Ui().Edit3, Ui().ListView1, Ui().ListView2};
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
        Log(std::string(modifier == 1   ? "Shift+"
                        : modifier == 2 ? "Ctrl+"
                                        : "") +
            "F3 in " + ControlName(place));
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

    void Sort(Random& random) {
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
                                                        (ownerDrawn ? "" : "not ") +
                                                        "drawn with the indicator");
        }
    }

    void Reset(Random& random) {
        const std::string english = Current()->englishName;
        Log("click リセット");
        ClickButtonAsAPerson(Ui().Button1, random);
        Expect(Shown(Ui().Edit1) == W(english), "リセット did not put the English title back");
        Expect(Shown(Ui().Edit2).empty(), "リセット did not empty the reading");
    }

    void Undo(Random& random) {
        Log("click 元に戻す");
        const auto undo = m_undo;
        ClickButtonAsAPerson(Ui().Button2, random);
        Expect(Shown(Ui().Edit1) == W(undo.japaneseName), "元に戻す did not put the title back");
        Expect(Shown(Ui().Edit2) == W(undo.reading), "元に戻す did not put the reading back");
    }

    void QuickSave(Random& random) {
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
    void Output(Random& random) {
        const bool mane32j = random.Chance(50);
        ClickButtonAsAPerson(mane32j ? Ui().RadioButton2 : Ui().RadioButton1, random);
        const bool cancel = random.Chance(15);
        const auto path = folder / ("output" + std::to_string(random.Below(3)) + ".lst");
        services.fileDialogAnswers.push_back(cancel ? std::nullopt
                                                    : std::optional<std::wstring>(path.wstring()));
        Log(std::string("output ") + (mane32j ? "MANE32J" : "Mame32J") +
            (cancel ? ", dialog cancelled" : " to " + path.filename().string()));
        const bool modifiedBefore = State().modified;
        const std::string before =
            std::filesystem::exists(path) ? folder.ReadFile(path) : std::string("(none)");
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
    void RuleDialog(Random& random) {
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

    void NewRule(Random& random) {
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
        Log("new rule \"" + WideToUtf8(W(rule.searchText)) + "\" -> \"" +
            WideToUtf8(W(rule.replacementText)) + "\"" + (rule.onlyInParentheses ? " in parentheses" : "") +
            (cancel ? ", cancelled" : ""));
        ClickButton(replaceDialog->Ui().Button2);
        if (!cancel) m_rules.push_back(rule);
        Expect(!IsWindowVisible(conditionEditor->Handle()), "the condition editor stayed open");
        Expect(GetFocus() == replaceDialog->Ui().Button5, "the focus did not go back to 置換(&R)");
    }

    void EditRule(Random& random) {
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
            SendMessageW(replaceDialog->Ui().ListView1, LVM_GETITEMRECT, row,
                         reinterpret_cast<LPARAM>(&bounds));
            SendMessageW(replaceDialog->Ui().ListView1, WM_LBUTTONDBLCLK, MK_LBUTTON,
                         MAKELPARAM(bounds.left + 4, (bounds.top + bounds.bottom) / 2));
            Pump();
        } else {
            ClickButton(replaceDialog->Ui().Button3);
        }
        if (!cancel && change != 9) m_rules[row] = rule;
        Expect(!IsWindowVisible(conditionEditor->Handle()), "the condition editor stayed open");
    }

    void DeleteRule(Random& random) {
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

    void CloseRuleDialog(Random& random) {
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
        if (way < 2) Expect(GetFocus() == Ui().Edit1, "closing the replace dialog did not focus the title");
    }

    // A click on a rule's row of the replace dialog; the row, or -1 when there is none.
    int ClickRuleRow(Random& random) {
        if (m_rules.empty()) return -1;
        const int row = random.Below(static_cast<int>(m_rules.size()));
        ClickRow(replaceDialog->Ui().ListView1, row);
        if (listview::SelectedItem(replaceDialog->Ui().ListView1) != row) {
            Fail("a click on rule row " + std::to_string(row) + " did not select it");
            return -1;
        }
        return row;
    }

    void PostTyping(HWND edit, std::wstring_view text) {
        for (wchar_t c : text) PostMessageW(edit, WM_CHAR, c, 1);
    }

    // OK by its button or by Enter, or 閉じる; then 閉じる again should the editor still be open
    // (OK with an empty search text keeps it open).
    void PostConfirm(bool cancel, Random& random) {
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

    // ---- Ways of getting somewhere --------------------------------------------------------------

    void FocusList(HWND list) {
        if (GetFocus() != list) Focus(list);
    }

    // Into a field as a person gets there: a click, Tab or Enter from where they are, or straight.
    void EnsureFocus(HWND field, Random& random) {
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

    void ClickInside(HWND control, Random& random) {
        RECT client{};
        GetClientRect(control, &client);
        ClickAt(control, 2 + random.Below(std::max<int>(client.right - 4, 1)), client.bottom / 2);
    }

    // A mouse click (the button takes the focus) or the click of its shortcut (it does not).
    void ClickButtonAsAPerson(HWND button, Random& random) {
        if (random.Chance(70)) {
            RECT client{};
            GetClientRect(button, &client);
            ClickAt(button, client.right / 2, client.bottom / 2);
        } else {
            ClickButton(button);
        }
    }

    // ---- Expectations ---------------------------------------------------------------------------

    void Expect(bool condition, const std::string& problem) {
        if (!condition) Fail(problem);
    }
    void Fail(const std::string& problem) {
        if (m_problem.empty()) m_problem = problem;
    }

    // The title field holds its main part selected: from the start up to the first " (".
    void ExpectEntrySelection() {
        const std::wstring text = Shown(Ui().Edit1);
        const std::size_t region = text.find(L" (");
        const int end = static_cast<int>(region == std::wstring::npos ? text.size() : region);
        Expect(ShownSelection(Ui().Edit1) == std::make_pair(0, end), "the title's main part is not selected");
    }

    // Runs an action that applies the replace rules and checks its outcome against the rules.
    template <typename Act>
    void ExpectReplacement(Act act) {
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
            Expect(Current()->japaneseName == expected,
                   "the title became \"" + WideToUtf8(W(Current()->japaneseName)) + "\", expected \"" +
                       WideToUtf8(W(expected)) + "\"");
        }
    }

    // A write that went through: the file holds the catalogue, and the changes count as saved.
    void ExpectSaved(const std::filesystem::path& path, bool mane32j) {
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
            Fail(path.filename().string() + " differs from the catalogue at byte " + std::to_string(at) +
                 " (" + std::to_string(written.size()) + " bytes, expected " +
                 std::to_string(expected.size()) + "), in the line \"" +
                 WideToUtf8(W(expected.substr(lineStart, expected.find('\r', lineStart) - lineStart))) +
                 "\"");
        }
        auto temporary = path;
        temporary += ".kanaroll-new";
        Expect(!std::filesystem::exists(temporary), "a save left its temporary file");
    }

    // The Mame32J file of the model: every translated game, in listinfo.txt order.
    std::string ExpectedMame32J() const {
        std::string text;
        for (const ModelGame& game : m_model) {
            if (!game.translated) continue;
            text +=
                game.zip + "\t" + game.japaneseName + "\t" + game.reading + "\t" + game.manufacturer + "\r\n";
        }
        return text;
    }

    std::string ExpectedMane32J() const {
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

    // ---- After every action ---------------------------------------------------------------------

    void BeginStep() {
        m_zipBefore = Current() ? Current()->zipName : std::string();
        m_indexBefore = State().currentIndex;
        m_selectionMayRepeat = false;
    }

    void EndStep() {
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

    template <typename Check>
    void Timed(const char* name, Check check) {
        const Stopwatch watch(m_timings, name);
        check();
    }

    // Only the game current before or after the action may have changed, and only as editing
    // changes a game: the translated flag follows a changed reading, and the game left behind may
    // only have got its English title back for an emptied title.
    // `saved`: the action has just written the list, which cleared `modified` after the edits.
    void CheckCatalogueAgainstModel(bool saved = false) {
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
                return Fail(game.zipName + " changed though it was not current (" + m_zipBefore +
                            " before, " + zipAfter +
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
    void CheckUneditedFields() {
        for (int index = 0; index < form->Games().Count(); ++index) {
            const TRecordset& game = form->Games()[index];
            if (game.listOrder < 0 || game.listOrder >= kSoakGames) return Fail("listOrder out of range");
            const ModelGame& model = m_model[game.listOrder];
            if (model.englishName != game.englishName || model.manufacturer != game.manufacturer) {
                return Fail(game.zipName + "'s English title or maker changed");
            }
        }
    }

    void CheckCounters() {
        const int count = form->Games().Count();
        const int translated = form->Games().CountTranslated();
        Expect(State().translatedCount == translated,
               "translatedCount is " + std::to_string(State().translatedCount) + ", but " +
                   std::to_string(translated) + " games are translated");
        Expect(Status(0) == L"合計：" + std::to_wstring(count) + L"件   未訳：" +
                                std::to_wstring(count - translated) + L"件",
               "panel 0 shows \"" + WideToUtf8(Status(0)) + "\"");
        Expect(State().modified == (Status(2) == L"変更あり"),
               std::string("modified is ") + (State().modified ? "set" : "clear") + " but panel 2 shows \"" +
                   WideToUtf8(Status(2)) + "\"");
    }

    void CheckDetailPanel(const TRecordset& game) {
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
        Expect(Status(1) == (game.statusGood ? L"" : L"動作不可"),
               "panel 1 does not follow the driver status");
    }

    // The family list holds the master of the current game's family first, then its clones, each
    // row as the catalogue has the game now, and the current game's row selected.
    void CheckFamilyList(const TRecordset& current) {
        const std::string& key = current.FamilyKey();
        if (State().familyKey != key)
            return Fail("the family list shows " + State().familyKey + ", not " + key);
        const GameList& games = form->Games();
        const TRecordset* master = nullptr;
        std::multiset<std::wstring> clones;
        for (int index = 0; index < games.Count(); ++index) {
            if (!master && games[index].zipName == key) master = &games[index];
            if (!games[index].isMaster && games[index].parentName == key)
                clones.insert(W(games[index].zipName));
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
        const int selected =
            static_cast<int>(Ask(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
        Expect(selected >= 0 && ShownCell(list, selected, columns::kZipName) == W(current.zipName),
               "the family list does not select the current game");
    }

    // The rows of the current game and of the one before, as the list shows them; the visible
    // page every hundred actions; every row now and then.
    void CheckGameListRows() {
        const HWND list = Ui().ListView1;
        if (listview::ItemCount(list) != form->Games().Count())
            return Fail("the game list lost its row count");
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

    void CheckWholeGameList() {
        for (int row = 0; row < form->Games().Count(); ++row) {
            if (std::string problem = RowProblem(Ui().ListView1, row, form->Games()[row]); !problem.empty()) {
                return Fail("game row " + std::to_string(row) + ": " + problem);
            }
        }
    }

    std::string RowProblem(HWND list, int row, const TRecordset& game) const {
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
    void CheckUndo(const TRecordset& current) {
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

    void CheckRules() {
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
    void CloseAndCheckFiles() {
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

    // ---- Small helpers --------------------------------------------------------------------------

    // The checks read the controls' data from the controls themselves, past the hooks the window
    // puts on the fields and the family list: what is checked is what the control holds, and the
    // checks read dozens of texts after every action without running the program's handlers.
    static LRESULT Ask(HWND control, UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
        const auto procedure = reinterpret_cast<WNDPROC>(GetClassLongPtrW(control, GCLP_WNDPROC));
        return CallWindowProcW(procedure, control, message, wParam, lParam);
    }
    static std::wstring Shown(HWND control) {
        std::wstring text(512, L'\0');
        for (;;) {
            const auto length = static_cast<std::size_t>(
                Ask(control, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data())));
            if (length + 1 < text.size()) return text.substr(0, length);
            text.resize(text.size() * 4);
        }
    }
    static std::wstring ShownCell(HWND list, int row, int column) {
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
    static int ShownImage(HWND list, int row) {
        LVITEMW item{};
        item.mask = LVIF_IMAGE;
        item.iItem = row;
        return Ask(list, LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item)) ? item.iImage : -1;
    }
    static std::pair<int, int> ShownSelection(HWND edit) {
        DWORD start = 0;
        DWORD end = 0;
        Ask(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
        return {static_cast<int>(start), static_cast<int>(end)};
    }

    const TRecordset* Current() const {
        const int index = State().currentIndex;
        return index >= 0 && index < form->Games().Count() ? &form->Games()[index] : nullptr;
    }
    const TRecordset* GameOfZip(std::wstring_view zip) const {
        const std::string bytes = B(zip);
        for (int index = 0; index < form->Games().Count(); ++index) {
            if (form->Games()[index].zipName == bytes) return &form->Games()[index];
        }
        return nullptr;
    }
    std::wstring W(std::string_view bytes) const { return ToWide(bytes, form->Codec().CodePage()); }
    std::string B(std::wstring_view text) const { return FromWide(text, form->Codec().CodePage()); }

    std::string Describe(const std::string& title, const std::string& reading, bool translated) const {
        return "\"" + WideToUtf8(W(title)) + "\" / \"" + WideToUtf8(W(reading)) + "\"" +
               (translated ? " translated" : "");
    }

    std::string ControlName(HWND control) const {
        if (control == Ui().Edit1) return "the title field";
        if (control == Ui().Edit2) return "the reading field";
        if (control == Ui().Edit3) return "the English title";
        if (control == Ui().ListView1) return "the game list";
        if (control == Ui().ListView2) return "the family list";
        if (!control) return "nothing";
        std::wstring name = Text(control);
        if (name.empty()) {
            wchar_t className[64] = {};
            GetClassNameW(control, className, 64);
            name = className;
        }
        return "\"" + WideToUtf8(name) + "\"";
    }
    static std::string KeyName(UINT key) {
        switch (key) {
            case VK_DOWN:
                return "Down";
            case VK_UP:
                return "Up";
            case VK_NEXT:
                return "PageDown";
            case VK_PRIOR:
                return "PageUp";
            case VK_HOME:
                return "Home";
            case VK_END:
                return "End";
            default:
                return std::to_string(key);
        }
    }

    void Log(const std::string& action) {
        m_recent.push_back("#" + std::to_string(m_step) + " " + action);
        if (m_recent.size() > kRecentActions) m_recent.pop_front();
    }

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

std::uint64_t SeedFromEnvironment() {
    const char* text = std::getenv("KANAROLL_SOAK_SEED");
    return text ? std::strtoull(text, nullptr, 0) : kSeed;
}

int ActionsFromEnvironment() {
    const char* text = std::getenv("KANAROLL_SOAK_ACTIONS");
    return text ? std::atoi(text) : kActions;
}

TEST_F(SoakTest, TenThousandRandomActionsKeepTheCatalogueTheListsAndTheFilesInStep) {
    StartSoak();
    Soak(SeedFromEnvironment(), ActionsFromEnvironment());
}

}  // namespace
}  // namespace kanaroll::testing
