// Times the main window on a generated catalogue: the start to the first selected game, a sort by
// each column, and a search that finds nothing. Prints a table of median, min and max against the
// targets; the exit status is 1 when a median misses its target or a case was skipped (it threw,
// or could not run here), unless --allow-skips.
//
//   gui_benchmarks [--games N] [--repetitions N] [--exe KANAROLL_EXE] [--folder PATH] [--no-real-start]
//                  [--real-catalogue FILE [--real-namelist FILE] | --real-catalogue-missing REASON]
//                  [--only TEXT] [--keep] [--allow-skips]
//
// --only runs the cases whose name contains TEXT ("sort", "search", "start").
// --real-catalogue also times the start of kanaroll.exe on that file (such as MAME's -listxml
// output) as its listinfo.txt, with --real-namelist as its mame32j.lst.
// --real-catalogue-missing reports the cases on the real catalogue as skipped for REASON.
// --allow-skips lets a run with skipped cases pass; they are still named with their reasons.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <filesystem>
#include <string>

#include "bench/gui/GuiBench.h"

namespace {

using namespace kanaroll::bench::gui;

void Usage() {
    std::fprintf(
        stderr,
        "usage: gui_benchmarks [--games N] [--repetitions N] [--exe KANAROLL_EXE] [--folder PATH]"
        " [--no-real-start] [--real-catalogue FILE [--real-namelist FILE] | --real-catalogue-missing REASON]"
        " [--only TEXT] [--keep] [--allow-skips]\n");
}

const char* WineVersion() {
    using Version = const char*(CDECL*)();
    const HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
    const FARPROC address = ntdll ? GetProcAddress(ntdll, "wine_get_version") : nullptr;
    // Through void*, which any function pointer converts to, as GetProcAddress results must.
    const auto version = reinterpret_cast<Version>(reinterpret_cast<void*>(address));
    return version ? version() : nullptr;
}

}  // namespace

int main(int argc, char** argv) {
    BenchOptions options;
    for (int index = 1; index < argc; ++index) {
        const std::string argument = argv[index];
        const bool hasValue = index + 1 < argc;
        if (argument == "--games" && hasValue) {
            options.games = std::atoi(argv[++index]);
        } else if (argument == "--repetitions" && hasValue) {
            options.repetitions = std::atoi(argv[++index]);
        } else if (argument == "--exe" && hasValue) {
            options.exe = argv[++index];
        } else if (argument == "--folder" && hasValue) {
            options.folder = argv[++index];
        } else if (argument == "--no-real-start") {
            options.realStart = false;
        } else if (argument == "--real-catalogue" && hasValue) {
            options.realCatalogue = argv[++index];
        } else if (argument == "--real-namelist" && hasValue) {
            options.realNameList = argv[++index];
        } else if (argument == "--real-catalogue-missing" && hasValue) {
            options.realCatalogueMissing = argv[++index];
        } else if (argument == "--allow-skips") {
            options.allowSkips = true;
        } else if (argument == "--only" && hasValue) {
            options.only = argv[++index];
        } else if (argument == "--keep") {
            options.keepFolder = true;
        } else {
            Usage();
            return 2;
        }
    }
    if (options.games <= 0) {
        Usage();
        return 2;
    }

    INITCOMMONCONTROLSEX controls{sizeof controls,
                                  ICC_LISTVIEW_CLASSES | ICC_BAR_CLASSES | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);
    SYSTEM_INFO system{};
    GetSystemInfo(&system);
    const char* wine = WineVersion();

    try {
        const Stopwatch generation;
        Bench bench(options);
        std::printf(
            "GUI benchmark: %d games (listinfo.txt %llu bytes, mame32j.lst %d lines, generated in %.1f s),"
            " %lu processors, %s%s\n",
            bench.Files().facts.games, static_cast<unsigned long long>(bench.Files().facts.listInfoBytes),
            bench.Files().nameListLines, generation.ElapsedMs() / 1000, system.dwNumberOfProcessors,
            wine ? "Wine " : "Windows", wine ? wine : "");
        if (!bench.RealFolder().empty()) {
            std::printf("Real catalogue: %s (%llu bytes)%s%s\n", options.realCatalogue.string().c_str(),
                        static_cast<unsigned long long>(std::filesystem::file_size(options.realCatalogue)),
                        options.realNameList.empty() ? "" : ", name list ",
                        options.realNameList.string().c_str());
        }
        std::fflush(stdout);

        std::vector<Figures> results;
        for (const GuiCase& guiCase : GuiCases(bench.Options())) {
            if (guiCase.name.find(options.only) == std::string::npos) continue;
            results.push_back(RunCase(bench, guiCase));
            const Figures& figures = results.back();
            if (figures.samples.empty()) {
                std::printf("  %s: skipped (%s)\n", figures.name.c_str(), figures.note.c_str());
            } else {
                std::printf("  %s: median %.2f ms\n", figures.name.c_str(), figures.Median());
            }
            std::fflush(stdout);
        }
        std::printf("\n");
        PrintTable(results, stdout);
        return PrintVerdict(results, options.allowSkips, stdout);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "gui_benchmarks: %s\n", error.what());
        return 1;
    }
}
