#pragma once

#include <filesystem>

#include "catalogue/GameList.h"
#include "catalogue/JournalFormat.h"

namespace kanaroll::bench {

// A recovery journal of `records` records of typing on `games`: a game after another, its title
// and then its reading a keystroke at a time (ten keys each), as a long session leaves it.
void WriteTypingJournal(const std::filesystem::path& path, const JournalIdentity& identity,
                        const GameList& games, int records);

}  // namespace kanaroll::bench
