#pragma once

#include <windows.h>

#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "bench/BenchmarkFiles.h"
#include "bench/gui/MainWindowSession.h"
#include "bench/gui/MainWindowWatch.h"
#include "bench/gui/Timing.h"

// The GUI benchmark: cases that act on the real windows as a person would and are timed until
// the result is on the screen. A case is a few functions over the Bench context; only `measured`
// is timed. Adding a case (a keystroke in a field, Enter to the next game, saving from the
// window) means adding one entry to GuiCases() in GuiCases.cpp.
namespace kanaroll::bench::gui {

struct BenchOptions {
    int games = 50'000;
    int repetitions = 0;           // 0: each case's own count
    std::filesystem::path folder;  // the program folder; empty: a fresh temporary one
    std::filesystem::path exe;     // kanaroll.exe for the real start; empty: the one of this build
    bool realStart = true;         // also time kanaroll.exe started as a process
    // A real catalogue (such as MAME's -listxml output) and name list for another real start;
    // empty: none.
    std::filesystem::path realCatalogue;
    std::filesystem::path realNameList;
    // Why there is no real catalogue on this machine: its cases are then reported skipped with
    // this reason rather than left out. Empty: they are left out.
    std::string realCatalogueMissing;
    bool allowSkips = false;  // a skipped case does not fail the run
    bool keepFolder = false;
    std::string only;  // run only the cases whose name contains this text; empty: all
};

// What the cases share: the generated program folder and, once a case asks for it, the windows
// created in this process with the catalogue loaded.
class Bench {
public:
    explicit Bench(BenchOptions options);
    ~Bench();
    Bench(const Bench&) = delete;
    Bench& operator=(const Bench&) = delete;

    const BenchOptions& Options() const { return m_options; }
    const std::filesystem::path& Folder() const { return m_folder; }
    const BenchmarkFiles& Files() const { return m_files; }
    // The program folder with the real catalogue as listinfo.txt and the real name list as
    // mame32j.lst; empty without a real catalogue.
    const std::filesystem::path& RealFolder() const { return m_realFolder; }

    // The windows of this process with the first game selected; created on first use.
    MainWindowSession& Session();
    // Creates the windows and waits until the first game is selected; throws when it is not.
    MainWindowSession& StartSession();
    void EndSession();

    // kanaroll.exe copied into the program folder (or `folder`) and started there.
    StartedProgram& StartProgram();
    StartedProgram& StartProgram(const std::filesystem::path& folder);
    void EndProgram();

private:
    BenchOptions m_options;
    std::filesystem::path m_folder;
    BenchmarkFiles m_files;
    std::filesystem::path m_realFolder;
    std::unique_ptr<MainWindowSession> m_session;
    std::unique_ptr<StartedProgram> m_program;
};

struct GuiCase {
    std::string name;
    double targetMs = 0;  // 0: reported without a target
    int repetitions = 5;
    std::function<void(Bench&)> setUp;            // once, untimed
    std::function<void(Bench&, int)> beforeEach;  // untimed
    std::function<void(Bench&, int)> measured;    // timed: from the action to the result painted
    std::function<void(Bench&, int)> afterEach;   // untimed
};

// The cases in the order they run.
std::vector<GuiCase> GuiCases(const BenchOptions& options);

// Runs a case; a case that throws is reported with its reason instead of figures.
Figures RunCase(Bench& bench, const GuiCase& guiCase);

}  // namespace kanaroll::bench::gui
