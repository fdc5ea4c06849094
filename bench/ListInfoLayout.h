#pragma once

#include <string>
#include <string_view>

#include "bench/CatalogueGenerator.h"

// MAME's -listinfo text for generated games: one "game (" block per game with one property per
// line, in the key order of the MAME versions that wrote this layout (name, description, year,
// manufacturer, cloneof, romof, rom, sampleof, sample, chip, video, sound, input, dipswitch,
// driver), then ")" and an empty line; "resource (" blocks after the games.
namespace kanaroll::bench {

void AppendListInfoGame(std::string& out, const GeneratedGame& game, std::string_view lineEnd = "\r\n");
void AppendListInfoResource(std::string& out, const GeneratedResource& resource,
                            std::string_view lineEnd = "\r\n");

}  // namespace kanaroll::bench
