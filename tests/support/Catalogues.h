#pragma once

#include <initializer_list>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "catalogue/GameList.h"

namespace kanaroll::testing {

// A catalogue as listinfo.txt would give it, in the given order: every game untranslated, its
// Japanese title its English one ("English <zip>"), each made by `manufacturer`.
inline GameList UntranslatedCatalogue(std::initializer_list<std::string> zipNames,
                                      std::string_view manufacturer = "") {
    GameList games;
    for (const std::string& zipName : zipNames) {
        auto game = std::make_unique<TRecordset>();
        game->zipName = zipName;
        game->englishName = game->japaneseName = "English " + zipName;
        game->manufacturer = manufacturer;
        game->listOrder = games.Count();
        games.Append(std::move(game));
    }
    return games;
}

// Each game's ZIP name and listOrder, "zip#order", in the catalogue's order.
inline std::vector<std::string> ZipNames(const GameList& games) {
    std::vector<std::string> names;
    for (const auto& game : games.Items())
        names.push_back(game->zipName + "#" + std::to_string(game->listOrder));
    return names;
}

}  // namespace kanaroll::testing
