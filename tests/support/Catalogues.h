#pragma once

#include <initializer_list>
#include <memory>
#include <string>
#include <string_view>

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

}  // namespace kanaroll::testing
