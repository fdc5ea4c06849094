#include "bench/NameListGenerator.h"

#include <fstream>
#include <numeric>
#include <stdexcept>
#include <utility>

#include "bench/BenchRandom.h"

namespace kanaroll::bench {

NameListEntry NameListEntryOf(const GeneratedGame& game, const TextCodec& codec) {
    return {game.name, codec.FromUtf8(game.japaneseTitle), codec.FromUtf8(game.reading), game.manufacturer};
}

int WriteMame32JList(const std::filesystem::path& path, const std::vector<NameListEntry>& entries,
                     const NameListOptions& options) {
    BenchRandom random(options.seed);
    std::vector<std::size_t> order;
    order.reserve(entries.size());
    for (std::size_t i = 0; i < entries.size(); ++i)
        if (random.Percent(options.percent)) order.push_back(i);
    if (options.shuffled) {
        for (std::size_t i = order.size(); i > 1; --i)
            std::swap(order[i - 1], order[static_cast<std::size_t>(random.Below(static_cast<int>(i)))]);
    }

    std::string text;
    for (std::size_t index : order) {
        const NameListEntry& entry = entries[index];
        text += entry.zipName;
        text += '\t';
        text += entry.japaneseTitle;
        text += '\t';
        text += entry.reading;
        text += '\t';
        text += entry.manufacturer;
        text += "\r\n";
    }
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(text.data(), static_cast<std::streamsize>(text.size()));
    out.close();
    if (!out) throw std::runtime_error("cannot write " + path.string());
    return static_cast<int>(order.size());
}

}  // namespace kanaroll::bench
