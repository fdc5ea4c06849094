#pragma once

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "catalogue/GameList.h"
#include "catalogue/LoadProgress.h"
#include "catalogue/NameListFormat.h"
#include "catalogue/TextCodec.h"

namespace kanaroll {

// The name list that the start-up merges: "mame32j.lst" when it exists in the program's folder,
// else "mane32j.lst", else none.
struct NameListChoice {
    std::filesystem::path file;
    std::string displayName;  // "Mame32j.lst" or "Mane32j.lst", for the status text
};
std::optional<NameListChoice> ChooseNameList(const std::filesystem::path& exeDir);

// The codec of a name list: UTF-8 when the file begins with the UTF-8 byte-order mark, else
// Shift-JIS. Known before listinfo.txt is read, so that the catalogue is built in it. Throws
// IoError when the file cannot be read.
const TextCodec& NameListCodec(const std::filesystem::path& file);

// Merges every line of `file` into the first untranslated game of its ZIP name, marking the game
// translated and counting it in `translatedCount`. The first line for a ZIP name wins.
//
// A Shift-JIS list gives the first three TAB-terminated fields: ZIP name, Japanese title, reading.
// A list that begins with the UTF-8 byte-order mark is UTF-8, the mark is not part of the first
// line, and its fields end at the next TAB or at the end of the line (a ZIP name needs its TAB);
// further columns are ignored in both. Texts reach the catalogue in `catalogueCodec`.
//
// Returns the list's format and the lines no game took (unknown ZIP names, later lines of a ZIP
// name, lines without a TAB, empty lines), byte for byte, for the Mame32J writer. An I/O error is
// thrown; games merged before it stay merged and counted.
LoadedNameList MergeNameList(const std::filesystem::path& file, GameList& games, int& translatedCount,
                             const TextCodec& catalogueCodec = ShiftJisCodec());

// The Shift-JIS merge over lines from any source: `nextLine` gives the next line, false at the end.
// Tests feed it lines and failures.
using NameListLineSource = std::function<bool(std::string_view& line)>;
void MergeNameListLines(const NameListLineSource& nextLine, GameList& games, int& translatedCount);

// The start-up step: shows the progress text and wait cursor and merges the chosen list.
LoadedNameList ReadNameList(const NameListChoice& choice, GameList& games, int& translatedCount,
                            LoadProgress& progress, const TextCodec& catalogueCodec = ShiftJisCodec());
// The same, choosing the list first; nothing happens (and nothing is kept) without one.
LoadedNameList ReadNameList(const std::filesystem::path& exeDir, GameList& games, int& translatedCount,
                            LoadProgress& progress, const TextCodec& catalogueCodec = ShiftJisCodec());

}  // namespace kanaroll
