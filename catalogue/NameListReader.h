#pragma once

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "catalogue/GameList.h"
#include "catalogue/LoadProgress.h"

namespace kanaroll {

// The name list that the start-up merges: "mame32j.lst" when it exists in the program's folder,
// else "mane32j.lst", else none.
struct NameListChoice {
    std::filesystem::path file;
    std::string displayName;  // "Mame32j.lst" or "Mane32j.lst", for the status text
};
std::optional<NameListChoice> ChooseNameList(const std::filesystem::path& exeDir);

// Merges the first three TAB-terminated fields (ZIP name, Japanese title, reading) of every line of
// `file` into the first untranslated game of that ZIP name, marking it translated and counting it in
// `translatedCount`. The first line for a ZIP name wins; lines naming no game are skipped. An I/O
// error is thrown; games merged before it stay merged and counted.
void MergeNameList(const std::filesystem::path& file, GameList& games, int& translatedCount);

// The same merge over lines from any source: `nextLine` gives the next line, false at the end.
// MergeNameList reads the file through it; tests feed it lines and failures.
using NameListLineSource = std::function<bool(std::string_view& line)>;
void MergeNameListLines(const NameListLineSource& nextLine, GameList& games, int& translatedCount);

// The start-up step: chooses the list, shows the progress text and wait cursor, merges it.
void ReadNameList(const std::filesystem::path& exeDir, GameList& games, int& translatedCount,
                  LoadProgress& progress);

}  // namespace kanaroll
