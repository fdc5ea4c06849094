#pragma once

#include <filesystem>

#include "catalogue/GameList.h"
#include "catalogue/NameListFormat.h"
#include "catalogue/TextCodec.h"

namespace kanaroll {

// The Mame32J format: ZIP name, Japanese title, reading and (in four columns) manufacturer, for
// translated games only, in listinfo.txt order, then the lines of the list read at start that no
// game took, as they stood. Written in the list's format: a Shift-JIS list with four columns and CR
// LF after every line, a UTF-8 list the way it came. Texts are converted from `catalogueCodec` to the
// list's codec where the two differ.
//
// A kept line that would give a translation to a game the user has left untranslated at the next
// start (a later line of a game whose reading the user emptied) is left out of the file; it stays
// kept, for a save after the game is translated again.
//
// Throws IoError; the previous file stays intact when the write fails.
void WriteMame32J(const std::filesystem::path& path, const GameList& games, const LoadedNameList& list,
                  const TextCodec& catalogueCodec);
// A Shift-JIS catalogue in the Shift-JIS format, nothing kept.
void WriteMame32J(const std::filesystem::path& path, const GameList& games);

// The list MAME's own UI reads (its "System Names" option, from its history path) on any system,
// whatever the Windows code page: UTF-8 with the byte-order mark, ZIP name, title and reading, for
// translated games only, in listinfo.txt order, CR LF after every line. Shift-JIS texts convert as
// code page 932 defines them. The kept lines that name a game the catalogue lacks follow, converted
// and cut to three columns, the first line of each ZIP name only (see ListLines.h).
//
// Throws IoError; the previous file stays intact when the write fails.
void WriteMameUiList(const std::filesystem::path& path, const GameList& games, const LoadedNameList& list,
                     const TextCodec& catalogueCodec);

// The MANE32J format: eleven columns for every game, in listinfo.txt order, always Shift-JIS with
// CR LF after every line for the tools that read it; characters Shift-JIS cannot hold become "?".
void WriteMane32J(const std::filesystem::path& path, const GameList& games, const TextCodec& catalogueCodec);
// A Shift-JIS catalogue.
void WriteMane32J(const std::filesystem::path& path, const GameList& games);

}  // namespace kanaroll
