#include "catalogue/NameListWriters.h"

#include <string>
#include <string_view>

#include "catalogue/TextFile.h"

namespace kanaroll {

namespace {

// Column 6 of the MANE32J format: a clone names its master, a NeoGeo master says so.
std::string_view MasterColumn(const TRecordset& game) {
    if (!game.isMaster) return game.parentName;
    return game.isNeoGeo ? "neogeo" : "";
}

}  // namespace

void WriteMame32J(const std::filesystem::path& path, const GameList& games) {
    LineWriter writer(path);
    for (const TRecordset* game : games.InFileOrder()) {
        if (!game->translated) continue;
        writer.WriteFields({game->zipName, game->japaneseName, game->reading, game->manufacturer});
    }
    writer.Commit();
}

void WriteMane32J(const std::filesystem::path& path, const GameList& games) {
    LineWriter writer(path);
    for (const TRecordset* game : games.InFileOrder()) {
        // An untranslated game carries its English title in both name columns.
        const std::string_view title = game->translated ? game->japaneseName : game->englishName;
        const std::string_view reading = game->translated ? game->reading : game->englishName;
        const std::string channels = std::to_string(game->soundChannels);
        writer.WriteFields({game->zipName, title, reading, game->manufacturer, game->year,
                            MasterColumn(*game), game->hasSamples ? "Sample" : "",
                            game->isVector ? "vector" : "raster", channels, game->controlType,
                            game->statusGood ? "good" : "preliminary"});
    }
    writer.Commit();
}

}  // namespace kanaroll
