// The run of the soak test. The seed is fixed and printed. To replay another run:
//   KANAROLL_SOAK_SEED=N KANAROLL_SOAK_ACTIONS=N gui_tests.exe --gtest_filter='SoakTest.*'
#include "tests/gui/SoakTest.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>

namespace kanaroll::testing::soak {

void SoakTest::StartSoak() {
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
void SoakTest::Soak(std::uint64_t seed, int actions) {
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
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    if (!m_problem.empty()) {
        std::string recent;
        for (const auto& line : m_recent) recent += "  " + line + "\n";
        ADD_FAILURE() << "seed " << seed << ", action " << done << ": " << m_problem << "\nthe focus is on "
                      << ControlName(GetFocus()) << " in " << ControlName(GetActiveWindow())
                      << "\nthe last actions:\n"
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

const TRecordset* SoakTest::Current() const {
    const int index = State().currentIndex;
    return index >= 0 && index < form->Games().Count() ? &form->Games()[index] : nullptr;
}

const TRecordset* SoakTest::GameOfZip(std::wstring_view zip) const {
    const std::string bytes = B(zip);
    for (int index = 0; index < form->Games().Count(); ++index) {
        if (form->Games()[index].zipName == bytes) return &form->Games()[index];
    }
    return nullptr;
}

std::wstring SoakTest::W(std::string_view bytes) const {
    return ToWide(bytes, form->Codec().CodePage());
}

std::string SoakTest::B(std::wstring_view text) const {
    return FromWide(text, form->Codec().CodePage());
}

std::string SoakTest::Describe(const std::string& title, const std::string& reading, bool translated) const {
    return "\"" + WideToUtf8(W(title)) + "\" / \"" + WideToUtf8(W(reading)) + "\"" +
           (translated ? " translated" : "");
}

std::string SoakTest::ControlName(HWND control) const {
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

std::string SoakTest::KeyName(UINT key) {
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

void SoakTest::Log(const std::string& action) {
    m_recent.push_back("#" + std::to_string(m_step) + " " + action);
    if (m_recent.size() > kRecentActions) m_recent.pop_front();
}

namespace {

std::uint64_t SeedFromEnvironment() {
    const char* text = std::getenv("KANAROLL_SOAK_SEED");
    return text ? std::strtoull(text, nullptr, 0) : kSeed;
}

int ActionsFromEnvironment() {
    const char* text = std::getenv("KANAROLL_SOAK_ACTIONS");
    return text ? std::atoi(text) : kActions;
}

}  // namespace

TEST_F(SoakTest, TenThousandRandomActionsKeepTheCatalogueTheListsAndTheFilesInStep) {
    StartSoak();
    Soak(SeedFromEnvironment(), ActionsFromEnvironment());
}

}  // namespace kanaroll::testing::soak
