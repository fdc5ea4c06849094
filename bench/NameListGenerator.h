#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "bench/CatalogueGenerator.h"
#include "catalogue/TextCodec.h"

// Japanese name lists for generated catalogues, in the Mame32J format: ZIP name TAB Japanese title
// TAB kana reading TAB manufacturer, every line ended by CR LF, texts in the list's codec.
namespace kanaroll::bench {

struct NameListEntry {
    std::string zipName;
    std::string japaneseTitle;  // in the codec of the list
    std::string reading;
    std::string manufacturer;
};

NameListEntry NameListEntryOf(const GeneratedGame& game, const TextCodec& codec = ShiftJisCodec());

struct NameListOptions {
    int percent = 100;      // share of the entries that get a line
    bool shuffled = false;  // false: catalogue order, as the published lists keep it
    std::uint64_t seed = 0x4E414D454C495354ULL;
};

// Writes the list and returns the number of lines written. Throws std::runtime_error when the file
// cannot be written.
int WriteMame32JList(const std::filesystem::path& path, const std::vector<NameListEntry>& entries,
                     const NameListOptions& options = {});

}  // namespace kanaroll::bench
