#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "catalogue/TRecordset.h"

// Storing an edited title or reading in a game: the rules of typing into the two fields, in one
// place, so that a replay of stored edits changes the catalogue exactly as the typing did.
namespace kanaroll {

enum class EditedField : std::uint8_t {
    JapaneseName = 0,  // the Japanese title (Edit1)
    Reading = 1,       // its kana reading (Edit2)
};

// The game's text of that field.
inline const std::string& FieldText(const TRecordset& game, EditedField field) {
    return field == EditedField::JapaneseName ? game.japaneseName : game.reading;
}

// Stores the title; false when the game already held it (then nothing is stored and nothing is
// unsaved). The translated flag does not follow the title.
inline bool StoreJapaneseName(TRecordset& game, std::string_view text) {
    if (game.japaneseName == text) return false;
    game.japaneseName = text;
    return true;
}

// Stores the reading; false when the game already held it. A stored reading decides the
// translated flag, and `translatedCount` moves when the flag flips; a game that a name list marked
// translated without a reading keeps its flag until a reading is stored.
inline bool StoreReading(TRecordset& game, std::string_view text, int& translatedCount) {
    if (game.reading == text) return false;
    game.reading = text;
    const bool translated = !game.reading.empty();
    if (translated != game.translated) {
        translatedCount += translated ? 1 : -1;
        game.translated = translated;
    }
    return true;
}

inline bool StoreEdit(TRecordset& game, EditedField field, std::string_view text, int& translatedCount) {
    return field == EditedField::JapaneseName ? StoreJapaneseName(game, text)
                                              : StoreReading(game, text, translatedCount);
}

}  // namespace kanaroll
