#pragma once

#include <filesystem>

#include "catalogue/GameList.h"

namespace kanaroll {

// The Mame32J format: ZIP name, Japanese title, reading, manufacturer, for translated games only,
// in listinfo.txt order. Every line ends with CR LF. Throws IoError; the previous file stays intact
// when the write fails.
void WriteMame32J(const std::filesystem::path& path, const GameList& games);

// The MANE32J format: eleven columns for every game, in listinfo.txt order.
void WriteMane32J(const std::filesystem::path& path, const GameList& games);

}  // namespace kanaroll
