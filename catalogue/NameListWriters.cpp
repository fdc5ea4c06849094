#include "catalogue/NameListWriters.h"

#include <string>
#include <string_view>

#include "catalogue/ListLines.h"
#include "catalogue/Recode.h"
#include "catalogue/TextFile.h"

namespace kanaroll {

namespace {

// Column 6 of the MANE32J format: a clone names its master, a NeoGeo master says so.
std::string_view MasterColumn(const TRecordset& game) {
    if (!game.isMaster) return game.parentName;
    return game.isNeoGeo ? "neogeo" : "";
}

}  // namespace

void WriteMame32J(const std::filesystem::path& path, const GameList& games, const LoadedNameList& list,
                  const TextCodec& catalogueCodec) {
    WriteListLines(path, ListLines(games, list, catalogueCodec, ListFormat::Mame32J));
}

void WriteMame32J(const std::filesystem::path& path, const GameList& games) {
    WriteMame32J(path, games, LoadedNameList{}, ShiftJisCodec());
}

void WriteMameUiList(const std::filesystem::path& path, const GameList& games, const LoadedNameList& list,
                     const TextCodec& catalogueCodec) {
    WriteListLines(path, ListLines(games, list, catalogueCodec, ListFormat::MameUi));
}

void WriteMane32J(const std::filesystem::path& path, const GameList& games, const TextCodec& catalogueCodec) {
    LineWriter writer(path);
    const TextRecoder toShiftJis(catalogueCodec, ShiftJisCodec());
    std::string storage[7];
    for (const TRecordset* game : games.InFileOrder()) {
        // An untranslated game carries its English title in both name columns.
        const std::string_view title = game->translated ? game->japaneseName : game->englishName;
        const std::string_view reading = game->translated ? game->reading : game->englishName;
        const std::string channels = std::to_string(game->soundChannels);
        writer.WriteFields({toShiftJis(game->zipName, storage[0]), toShiftJis(title, storage[1]),
                            toShiftJis(reading, storage[2]), toShiftJis(game->manufacturer, storage[3]),
                            toShiftJis(game->year, storage[4]), toShiftJis(MasterColumn(*game), storage[5]),
                            game->hasSamples ? "Sample" : "", game->isVector ? "vector" : "raster", channels,
                            toShiftJis(game->controlType, storage[6]),
                            game->statusGood ? "good" : "preliminary"});
    }
    writer.Commit();
}

void WriteMane32J(const std::filesystem::path& path, const GameList& games) {
    WriteMane32J(path, games, ShiftJisCodec());
}

}  // namespace kanaroll
