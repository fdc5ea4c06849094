#pragma once

#include <string_view>

#include "catalogue/TRecordset.h"

// The seven columns that both game lists show.
namespace kanaroll::columns {

constexpr int kZipName = 0;
constexpr int kEnglishName = 1;
constexpr int kJapaneseName = 2;
constexpr int kManufacturer = 3;
constexpr int kYear = 4;
constexpr int kParent = 5;
constexpr int kTranslated = 6;
constexpr int kCount = 7;

// The catalogue text of a cell; empty for the translated column, which shows a mark.
inline std::string_view CellText(const TRecordset& game, int column) {
    switch (column) {
        case kZipName:
            return game.zipName;
        case kEnglishName:
            return game.englishName;
        case kJapaneseName:
            return game.japaneseName;
        case kManufacturer:
            return game.manufacturer;
        case kYear:
            return game.year;
        case kParent:
            return game.parentName;
        default:
            return {};
    }
}

inline const wchar_t* TranslatedMark(bool translated) {
    return translated ? L"○" : L"×";
}

// Row icons: a master set, a clone.
inline int RowImage(const TRecordset& game) {
    return game.isMaster ? 0 : 1;
}

}  // namespace kanaroll::columns
