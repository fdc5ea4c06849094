#include "bench/gui/GuiBench.h"

#include <cstdlib>
#include <stdexcept>
#include <system_error>

#include "catalogue/RecoveryJournal.h"
#include "platform/WideText.h"

namespace kanaroll::bench::gui {

namespace {

constexpr DWORD kReadyTimeoutMs = 60'000;

std::filesystem::path FreshTemporaryFolder() {
    return std::filesystem::temp_directory_path() /
           ("kanaroll-gui-bench-" + std::to_string(GetCurrentProcessId()) + "-" +
            std::to_string(GetTickCount()));
}

// kanaroll.exe of the same build: bench/gui/gui_benchmarks.exe sits two folders below it.
std::filesystem::path ProgramOfThisBuild() {
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    return std::filesystem::path(path).parent_path().parent_path().parent_path() / "kanaroll.exe";
}

}  // namespace

Bench::Bench(BenchOptions options) : m_options(std::move(options)) {
    m_folder = m_options.folder.empty() ? FreshTemporaryFolder() : m_options.folder;
    CatalogueOptions catalogue;
    catalogue.gameCount = m_options.games;
    m_files = WriteBenchmarkFiles(m_folder, catalogue);
    // The journal an earlier run's windows left in a kept folder would bring up its question.
    std::error_code ignored;
    std::filesystem::remove(m_folder / kJournalFileName, ignored);
    if (m_options.exe.empty()) m_options.exe = ProgramOfThisBuild();
    if (!m_options.realCatalogue.empty()) {
        // Copies, so that the program may write beside them (its settings, a saved list) without
        // touching the originals.
        m_realFolder = m_folder / "real";
        std::filesystem::create_directories(m_realFolder);
        constexpr auto overwrite = std::filesystem::copy_options::overwrite_existing;
        std::filesystem::copy_file(m_options.realCatalogue, m_realFolder / "listinfo.txt", overwrite);
        if (!m_options.realNameList.empty())
            std::filesystem::copy_file(m_options.realNameList, m_realFolder / "mame32j.lst", overwrite);
    }
}

Bench::~Bench() {
    EndProgram();
    EndSession();
    if (!m_options.keepFolder && m_options.folder.empty()) {
        std::error_code ignored;
        std::filesystem::remove_all(m_folder, ignored);
    }
}

MainWindowSession& Bench::Session() {
    return m_session ? *m_session : StartSession();
}

MainWindowSession& Bench::StartSession() {
    EndSession();
    m_session = std::make_unique<MainWindowSession>(m_folder);
    if (!m_session->WaitUntilReady(kReadyTimeoutMs)) {
        const std::wstring box = m_session->FirstMessageBox();
        EndSession();
        throw std::runtime_error(box.empty() ? "the first game was not selected in time"
                                             : "the window showed a message box: " + WideToUtf8(box));
    }
    return *m_session;
}

void Bench::EndSession() {
    m_session.reset();
}

StartedProgram& Bench::StartProgram() {
    return StartProgram(m_folder);
}

StartedProgram& Bench::StartProgram(const std::filesystem::path& folder) {
    EndProgram();
    if (!std::filesystem::exists(m_options.exe)) {
        throw std::runtime_error("no kanaroll.exe at " + WideToUtf8(m_options.exe.wstring()));
    }
    // The program finds its files beside itself, so it runs from a copy in the program folder.
    const auto copy = folder / "kanaroll.exe";
    std::filesystem::copy_file(m_options.exe, copy, std::filesystem::copy_options::overwrite_existing);
    m_program = std::make_unique<StartedProgram>(copy);
    return *m_program;
}

void Bench::EndProgram() {
    if (m_program) m_program->Close(10'000);
    m_program.reset();
}

Figures RunCase(Bench& bench, const GuiCase& guiCase) {
    Figures figures{
        .name = guiCase.name, .targetMs = guiCase.targetMs, .samples = {}, .cpuMs = 0, .note = {}};
    const int repetitions =
        bench.Options().repetitions > 0 ? bench.Options().repetitions : guiCase.repetitions;
    // With KANAROLL_BENCH_MARKERS set, each timed action is framed by debug strings, so that a
    // trace of Wine's server calls (WINEDEBUG=+server,+debugstr) can be cut into actions.
    const bool markers = std::getenv("KANAROLL_BENCH_MARKERS") != nullptr;
    try {
        if (guiCase.setUp) guiCase.setUp(bench);
        for (int repetition = 0; repetition < repetitions; ++repetition) {
            if (guiCase.beforeEach) guiCase.beforeEach(bench, repetition);
            if (markers) OutputDebugStringA("kanaroll: timed action begins\n");
            const double cpuBefore = ProcessCpuMs();
            const Stopwatch clock;
            guiCase.measured(bench, repetition);
            figures.samples.push_back(clock.ElapsedMs());
            figures.cpuMs += ProcessCpuMs() - cpuBefore;
            if (markers) OutputDebugStringA("kanaroll: timed action ends\n");
            if (guiCase.afterEach) guiCase.afterEach(bench, repetition);
        }
    } catch (const std::exception& error) {
        figures.samples.clear();
        figures.note = error.what();
    }
    return figures;
}

}  // namespace kanaroll::bench::gui
