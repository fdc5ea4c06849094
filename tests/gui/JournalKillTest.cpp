// A program killed in the middle of an editing session loses nothing it had stored. A helper
// process (this test program started again) runs a scripted session on the real windows: typing in
// both fields, F3, reset, undo, an emptied title left, Enter to the next game, sorts, selections
// and quick saves. Before each action it writes the edits the action must store (and each save)
// into memory it shares with the test, and after the action how many of them have returned. It is
// killed with TerminateProcess at a random point: either while it waits just before writing a
// chosen journal record, or as soon as a chosen number of edits has returned while it runs on.
//
// A restart answered "Yes" must then hold exactly the list on the disk with the edits stored since
// the save that wrote it: all that had returned, and none that had not been written. (The list
// itself is what the Mame32J format keeps: translated games only, so a title typed for a game
// without reading is the English one again after a save and a restart.)
//
// 200 kills by default, each with its seed printed. KANAROLL_JOURNAL_KILLS sets the number, and
// KANAROLL_JOURNAL_KILL_SEED=<seed> replays one.
#include <windows.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <deque>
#include <filesystem>
#include <gtest/gtest.h>
#include <iterator>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "app/ProgramWindows.h"
#include "catalogue/FileFaults.h"
#include "catalogue/RecoveryJournal.h"
#include "catalogue/TextCodec.h"
#include "mainwindow/ControlIds.h"
#include "platform/Application.h"
#include "platform/Controls.h"
#include "platform/WideText.h"
#include "replace/ReplacePatterns.h"
#include "replace/TitleReplace.h"
#include "tests/gui/HelperProcess.h"
#include "tests/gui/SoakModel.h"
#include "tests/support/FakeServices.h"
#include "tests/support/ListInfoText.h"
#include "tests/support/TempFolder.h"

namespace kanaroll::testing {
namespace {

using soak::Random;

constexpr int kDefaultKills = 200;
constexpr int kSessionActions = 90;
constexpr int kLatestKillPoint = 130;  // entries of the log; a session logs about 120
constexpr std::uint8_t kSaveMark = 2;  // a log entry that is a quick save, not an edit
constexpr std::uint32_t kMaxLoggedEdits = 2048;
constexpr DWORD kHelperTimeoutMs = 120'000;

// One edit the script expects, in the catalogue's bytes, or a save (field kSaveMark).
struct LoggedEdit {
    std::int32_t listOrder;
    std::uint8_t field;
    std::uint8_t length;
    char text[255];
};

// The memory the helper and the test share. The helper writes each edit before its count, so
// that every edit below `expected` is whole whenever the helper dies.
struct SessionLog {
    std::atomic<std::uint32_t> expected;
    std::atomic<std::uint32_t> returned;
    std::atomic<std::int32_t> blockedAfterAppends;  // -1 unless the helper waits before a record
    std::atomic<std::uint32_t> finished;            // the session ran to its end
    LoggedEdit edits[kMaxLoggedEdits];
};

class SharedLog {
public:
    SharedLog(const std::wstring& name, bool create) {
        const HANDLE mapping = create ? CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0,
                                                           sizeof(SessionLog), name.c_str())
                                      : OpenFileMappingW(FILE_MAP_ALL_ACCESS, FALSE, name.c_str());
        if (!mapping) return;
        m_mapping.Reset(mapping);
        m_log =
            static_cast<SessionLog*>(MapViewOfFile(mapping, FILE_MAP_ALL_ACCESS, 0, 0, sizeof(SessionLog)));
    }
    ~SharedLog() {
        if (m_log) UnmapViewOfFile(m_log);
    }
    SharedLog(const SharedLog&) = delete;
    SharedLog& operator=(const SharedLog&) = delete;
    SessionLog* operator->() const { return m_log; }
    SessionLog& operator*() const { return *m_log; }
    explicit operator bool() const { return m_log != nullptr; }

private:
    UniqueHandle m_mapping;
    SessionLog* m_log = nullptr;
};

// The catalogue of the session: families, titles the rules rewrite, a ZIP name that two games
// share, a named game without reading, and a name list for some of them.
void WriteSessionFiles(const TempFolder& folder) {
    folder.Write("listinfo.txt",
                 ListInfoText({{.zip = "pacman", .description = "Pac-Man"},
                               {.zip = "puckman", .description = "Puck Man (Japan)", .cloneOf = "pacman"},
                               {.zip = "pacmanf", .description = "Pac-Man (bootleg)", .cloneOf = "pacman"},
                               {.zip = "galaga", .description = "Galaga"},
                               {.zip = "galagao", .description = "Galaga (US)", .cloneOf = "galaga"},
                               {.zip = "twin", .description = "Twin (World)"},
                               {.zip = "twin", .description = "Twin (Japan)"},
                               {.zip = "xevious", .description = "Xevious (Japan)"},
                               {.zip = "digdug", .description = "Dig Dug"},
                               {.zip = "mappy", .description = "Mappy (US)"},
                               {.zip = "mappyj", .description = "Mappy (Japan)", .cloneOf = "mappy"},
                               {.zip = "bosco", .description = "Bosconian (Europe)"}}));
    folder.Write("mame32j.lst", Sjis("puckman\tパックマン\tぱっくまん\tNamco\r\n"
                                     "galaga\tギャラガ\t\r\n"
                                     "twin\tツイン\tついん\r\n"
                                     "xevious\tゼビウス (Japan)\tぜびうす\r\n"));
}

struct GameNames {
    std::string japaneseName;
    std::string reading;
    bool translated = false;
    bool operator==(const GameNames&) const = default;
};

// The three windows on a program folder in this process, and what a person does to them.
class Session {
public:
    explicit Session(const std::filesystem::path& folder, std::deque<int> answers = {}) {
        services.messageBoxAnswers = std::move(answers);
        m_application = std::make_unique<Application>(services);
        m_windows = std::make_unique<ProgramWindows>(*m_application, folder);
        Form().Show();
        Pump();
    }
    ~Session() {
        m_windows.reset();
        m_application.reset();
    }
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;

    TForm1& Form() { return m_windows->mainForm; }
    const TForm1::Controls& Ui() { return Form().Ui(); }

    void Pump() {
        for (int round = 0; round < 5; ++round) m_application->ProcessMessages();
    }
    void Focus(HWND control) {
        SetFocus(control);
        Pump();
    }
    void PressKey(UINT key) {
        const HWND target = GetFocus();
        const UINT scan = MapVirtualKeyW(key, MAPVK_VK_TO_VSC);
        PostMessageW(target, WM_KEYDOWN, key, 1 | (scan << 16));
        PostMessageW(target, WM_KEYUP, key, 1 | (scan << 16) | (3u << 30));
        Pump();
    }
    void TypeCharacter(wchar_t c) {
        PostMessageW(GetFocus(), WM_CHAR, c, 1);
        Pump();
    }
    void Click(HWND button) {
        SendMessageW(button, BM_CLICK, 0, 0);
        Pump();
    }
    void ClickHeader(int column) {
        RECT rect{};
        SendMessageW(Form().HeaderHandle(), HDM_GETITEMRECT, column, reinterpret_cast<LPARAM>(&rect));
        const LPARAM at = MAKELPARAM((rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
        PostMessageW(Form().HeaderHandle(), WM_LBUTTONDOWN, MK_LBUTTON, at);
        PostMessageW(Form().HeaderHandle(), WM_LBUTTONUP, 0, at);
        Pump();
    }

    // Every game's names, by its place in listinfo.txt.
    std::vector<GameNames> Names() const {
        std::vector<GameNames> names;
        for (const TRecordset* game : m_windows->mainForm.Games().InFileOrder())
            names.push_back({game->japaneseName, game->reading, game->translated});
        return names;
    }

    FakeServices services;

private:
    std::unique_ptr<Application> m_application;
    std::unique_ptr<ProgramWindows> m_windows;
};

// ---- The helper: the scripted session and its model ------------------------------------------

class ScriptedSession {
public:
    ScriptedSession(Session& session, SessionLog& log, std::uint64_t seed)
        : m_session(session), m_log(log), m_random(seed), m_model(session.Names()) {
        for (const TRecordset* game : session.Form().Games().InFileOrder())
            m_english.push_back(game->englishName);
    }

    void Run() {
        for (int action = 0; action < kSessionActions; ++action) {
            switch (m_random.Below(12)) {
                case 0:
                case 1:
                    TypeInto(m_session.Ui().Edit1, EditedField::JapaneseName);
                    break;
                case 2:
                case 3:
                    TypeInto(m_session.Ui().Edit2, EditedField::Reading);
                    break;
                case 4:
                    EraseReading();
                    break;
                case 5:
                    F3();
                    break;
                case 6:
                    ResetOrUndo(m_random.Chance(50));
                    break;
                case 7:
                    EraseTitleAndLeave();
                    break;
                case 8:
                case 9:
                    m_session.Focus(m_session.Ui().Edit2);
                    m_session.PressKey(VK_RETURN);  // the next game
                    break;
                case 10:
                    if (m_random.Chance(50)) {
                        m_session.ClickHeader(m_random.Below(7));
                    } else {
                        const int row = m_random.Below(m_session.Form().Games().Count());
                        listview::SelectAndFocus(m_session.Ui().ListView1, row);
                        listview::EnsureVisible(m_session.Ui().ListView1, row);
                        m_session.Pump();
                    }
                    break;
                default:
                    if (m_random.Chance(30)) {
                        Log(-1, kSaveMark, {});
                        PostMessageW(m_session.Form().Handle(), WM_COMMAND, MAKEWPARAM(ids::kN3, 0), 0);
                        m_session.Pump();
                    }
                    break;
            }
            Returned();
        }
    }

private:
    int CurrentOrder() {
        const int index = m_session.Form().State().currentIndex;
        return m_session.Form().Games()[index].listOrder;
    }
    GameNames& Current() { return m_model[static_cast<std::size_t>(CurrentOrder())]; }
    std::string& Text(EditedField field) {
        return field == EditedField::JapaneseName ? Current().japaneseName : Current().reading;
    }

    // What the next edit must store, logged before the action that stores it.
    void Expect(EditedField field, const std::string& text) {
        if (Text(field) == text) return;
        Text(field) = text;
        if (field == EditedField::Reading) Current().translated = !text.empty();
        Log(CurrentOrder(), static_cast<std::uint8_t>(field), text);
    }
    void Log(int listOrder, std::uint8_t field, const std::string& text) {
        const std::uint32_t at = m_log.expected.load();
        if (at >= kMaxLoggedEdits) std::abort();
        LoggedEdit& edit = m_log.edits[at];
        edit.listOrder = listOrder;
        edit.field = field;
        edit.length = static_cast<std::uint8_t>(text.size());
        text.copy(edit.text, text.size());
        m_log.expected.store(at + 1);
    }
    void Returned() { m_log.returned.store(m_log.expected.load()); }

    void TypeInto(HWND field, EditedField which) {
        static constexpr wchar_t kTitleCharacters[] = L"aZ7 (アパ漢ー";
        static constexpr wchar_t kReadingCharacters[] = L"あかぱーxん";
        m_session.Focus(field);
        const bool replaceAll = m_random.Chance(40) || Text(which).size() > 200;
        const auto length = static_cast<WPARAM>(GetWindowTextLengthW(field));
        SendMessageW(field, EM_SETSEL, replaceAll ? 0 : length, replaceAll ? -1 : length);
        const int count = 1 + m_random.Below(4);
        for (int k = 0; k < count; ++k) {
            const wchar_t c =
                which == EditedField::JapaneseName
                    ? kTitleCharacters[m_random.Below(static_cast<int>(std::size(kTitleCharacters)) - 1)]
                    : kReadingCharacters[m_random.Below(static_cast<int>(std::size(kReadingCharacters)) - 1)];
            const std::string typed = FromWide(std::wstring(1, c), 932);
            Expect(which, replaceAll && k == 0 ? typed : Text(which) + typed);
            m_session.TypeCharacter(c);
            Returned();
        }
    }
    void EraseReading() {
        m_session.Focus(m_session.Ui().Edit2);
        SendMessageW(m_session.Ui().Edit2, EM_SETSEL, 0, -1);
        Expect(EditedField::Reading, "");
        m_session.PressKey(VK_BACK);
    }
    void EraseTitleAndLeave() {
        m_session.Focus(m_session.Ui().Edit1);
        SendMessageW(m_session.Ui().Edit1, EM_SETSEL, 0, -1);
        Expect(EditedField::JapaneseName, "");
        m_session.PressKey(VK_BACK);
        Returned();
        Expect(EditedField::JapaneseName, m_english[static_cast<std::size_t>(CurrentOrder())]);
        m_session.Focus(m_session.Ui().Edit2);
    }
    void F3() {
        m_session.Focus(m_session.Ui().Edit1);
        Expect(EditedField::JapaneseName,
               ApplyRulesToTitle(Text(EditedField::JapaneseName), m_rules, ShiftJisCodec()));
        m_session.PressKey(VK_F3);
    }
    void ResetOrUndo(bool reset) {
        const MainState& state = m_session.Form().State();
        Expect(EditedField::JapaneseName,
               reset ? m_english[static_cast<std::size_t>(CurrentOrder())] : state.undoJapaneseName);
        Expect(EditedField::Reading, reset ? std::string() : state.undoReading);
        m_session.Click(reset ? m_session.Ui().Button1 : m_session.Ui().Button2);
    }

    Session& m_session;
    SessionLog& m_log;
    Random m_random;
    std::vector<GameNames> m_model;  // by listOrder
    std::vector<std::string> m_english;
    ReplaceRuleList m_rules = DefaultReplaceRules();
};

// The helper's detail: "<seed> <wait-before-record> <mapping>", the record -1 for a kill from
// outside.
TEST(HelperProcess, DISABLED_JournalEditingSession) {
    std::wistringstream detail(HelperEnvironment(L"KANAROLL_HELPER_DETAIL"));
    std::uint64_t seed = 0;
    int waitBeforeRecord = -1;
    std::wstring mapping;
    detail >> seed >> waitBeforeRecord >> mapping;
    SharedLog log(mapping, false);
    ASSERT_TRUE(log);

    Session session(HelperEnvironment(L"KANAROLL_HELPER_FILE"));
    int appended = 0;
    SetFileFaultHook([&](FileStep step, const std::filesystem::path& file) {
        if (step != FileStep::Write || file.filename() != kJournalFileName) return 0;
        if (appended == waitBeforeRecord) {
            log->blockedAfterAppends.store(appended);
            SignalHelperReady();
            Sleep(kHelperTimeoutMs);
        }
        ++appended;
        return 0;
    });
    if (waitBeforeRecord < 0) SignalHelperReady();
    ScriptedSession(session, *log, seed).Run();
    log->finished.store(1);
    SignalHelperReady();  // the session ended before its point: the kill comes now
    Sleep(kHelperTimeoutMs);
}

// ---- The test ---------------------------------------------------------------------------------

int KillCount() {
    const char* text = std::getenv("KANAROLL_JOURNAL_KILLS");
    return text ? std::atoi(text) : kDefaultKills;
}

// The names after the logged edits in [from, to), saves skipped.
std::vector<GameNames> WithEdits(std::vector<GameNames> names, const SessionLog& log, std::uint32_t from,
                                 std::uint32_t to) {
    for (std::uint32_t k = from; k < to; ++k) {
        const LoggedEdit& edit = log.edits[k];
        if (edit.field == kSaveMark) continue;
        GameNames& game = names[static_cast<std::size_t>(edit.listOrder)];
        const std::string text(edit.text, edit.length);
        if (edit.field == static_cast<std::uint8_t>(EditedField::JapaneseName)) {
            game.japaneseName = text;
        } else {
            game.reading = text;
            game.translated = !text.empty();
        }
    }
    return names;
}

// For a failure's message: the games whose names differ.
std::string Differences(const std::vector<GameNames>& restored, const std::vector<GameNames>& expected) {
    std::string text = "\nrestored / expected from the last save on, with the edits that returned:";
    for (std::size_t k = 0; k < restored.size() && k < expected.size(); ++k) {
        if (restored[k] == expected[k]) continue;
        auto show = [](const GameNames& game) {
            return WideToUtf8(ToWide(game.japaneseName, 932)) + " | " +
                   WideToUtf8(ToWide(game.reading, 932)) + (game.translated ? " (translated)" : "");
        };
        text += "\n  game " + std::to_string(k) + ": " + show(restored[k]) + "  /  " + show(expected[k]);
    }
    return text;
}

// What the program makes of the list on the disk alone: the journal is held aside meanwhile.
std::vector<GameNames> NamesFromTheListAlone(const TempFolder& folder) {
    const auto journal = folder / kJournalFileName;
    const auto held = folder / "held.journal";
    std::filesystem::rename(journal, held);
    std::vector<GameNames> names = Session(folder.Path()).Names();
    std::filesystem::rename(held, journal);  // over the journal that start wrote
    return names;
}

TEST(JournalKillTest, ARestartAfterAKillAtAnyPointHoldsExactlyTheEditsStoredBeforeIt) {
    std::uint64_t firstSeed = 0;
    int kills = KillCount();
    if (const char* replay = std::getenv("KANAROLL_JOURNAL_KILL_SEED")) {
        firstSeed = std::strtoull(replay, nullptr, 0);
        kills = 1;
    } else {
        firstSeed = static_cast<std::uint64_t>(std::chrono::system_clock::now().time_since_epoch().count());
    }
    std::printf("  %d kills from seed %llu\n", kills, static_cast<unsigned long long>(firstSeed));

    for (int kill = 0; kill < kills; ++kill) {
        const std::uint64_t seed = firstSeed + static_cast<std::uint64_t>(kill);
        Random choice(seed ^ 0x6B696C6CULL);
        const bool fromOutside = choice.Chance(40);
        const int point = choice.Below(kLatestKillPoint);
        SCOPED_TRACE("KANAROLL_JOURNAL_KILL_SEED=" + std::to_string(seed));

        TempFolder folder;
        WriteSessionFiles(folder);
        const std::wstring mapping =
            L"KanarollJournalKill-" + std::to_wstring(GetCurrentProcessId()) + L"-" + std::to_wstring(kill);
        SharedLog log(mapping, true);
        ASSERT_TRUE(log);
        log->blockedAfterAppends.store(-1);
        {
            const std::wstring detail =
                std::to_wstring(seed) + L" " + std::to_wstring(fromOutside ? -1 : point) + L" " + mapping;
            HelperProcess helper("JournalEditingSession", folder.Path().wstring(), detail);
            ASSERT_TRUE(helper.Started());
            ASSERT_TRUE(helper.WaitUntilReady(kHelperTimeoutMs));
            if (fromOutside) {
                // While it runs on: as soon as that many entries have returned.
                const auto until =
                    std::chrono::steady_clock::now() + std::chrono::milliseconds(kHelperTimeoutMs);
                while (log->returned.load() < static_cast<std::uint32_t>(point) &&
                       std::chrono::steady_clock::now() < until && !log->finished.load()) {
                    Sleep(0);
                }
            }
            helper.Kill();
        }
        const std::uint32_t returned = log->returned.load();
        const std::uint32_t logged = log->expected.load();
        const std::int32_t blocked = log->blockedAfterAppends.load();

        const auto left = ReadJournal(folder / kJournalFileName);
        ASSERT_TRUE(left);
        EXPECT_TRUE(left->Readable());
        EXPECT_FALSE(left->Damaged());

        // The save the list on the disk may come from: the last that returned, or one under way.
        std::uint32_t lastSave = 0;
        std::uint32_t saveUnderWay = 0;
        for (std::uint32_t k = 0; k < logged; ++k) {
            if (log->edits[k].field != kSaveMark) continue;
            (k < returned ? lastSave : saveUnderWay) = k + 1;
        }
        const std::vector<GameNames> fromList = NamesFromTheListAlone(folder);
        Session restarted(folder.Path(), {IDYES});
        const std::vector<GameNames> restored = restarted.Names();

        // The one count of logged entries that gives the restored names.
        std::vector<std::uint32_t> sources{lastSave};
        if (saveUnderWay) sources.push_back(saveUnderWay);
        int stored = -1;
        for (const std::uint32_t since : sources) {
            for (std::uint32_t upTo = std::max(since, returned); upTo <= logged && stored < 0; ++upTo) {
                if (WithEdits(fromList, *log, since, upTo) == restored) stored = static_cast<int>(upTo);
            }
        }
        std::printf("  seed %llu: %s %d; %u entries returned, %u logged; restored as after %d\n",
                    static_cast<unsigned long long>(seed),
                    fromOutside ? "killed running after entry" : "killed waiting before record", point,
                    returned, logged, stored);
        EXPECT_GE(stored, 0) << "the restart holds no state the session went through from entry " << returned
                             << Differences(restored, WithEdits(fromList, *log, lastSave, returned));
        if (blocked >= 0) {
            // Exactly the records written before the one it waited before.
            std::uint32_t upTo = 0;
            for (int edits = 0; upTo < logged; ++upTo) {
                if (log->edits[upTo].field == kSaveMark) continue;
                if (edits++ == blocked) break;
            }
            EXPECT_EQ(restored, WithEdits(fromList, *log, lastSave, upTo))
                << "waiting before record " << blocked
                << Differences(restored, WithEdits(fromList, *log, lastSave, upTo));
        }

        int translated = 0;
        for (const GameNames& game : restored) translated += game.translated ? 1 : 0;
        EXPECT_EQ(restarted.Form().State().translatedCount, translated);
        EXPECT_LE(restarted.services.messageBoxes.size(), 1u);
        if (HasFailure()) return;
    }
}

}  // namespace
}  // namespace kanaroll::testing
