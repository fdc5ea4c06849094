#pragma once

#include <string_view>

// Whether a reading is the hiragana of a katakana title, as the name lists write readings.
namespace kanaroll {

// True unless `title` is a katakana title whose reading `reading` is not its hiragana. Both are
// in code points.
//
// The title's head is its text before the first "(", "（", "/" or "／"; only a head of katakana
// letters, long vowel marks, middle dots and blanks is a katakana title (any other title gives
// true). Blanks and middle dots count for nothing on either side, and "ヴ" may be read "ゔ" or as
// the "ば" row ("ヴァ" as "ば", "ヴ" as "ぶ").
//
// A run of ASCII letters, digits and signs in the reading is one of the list's suffix codes
// ("_1", "_2sega", "a_1"), which tell apart games of the same reading. One that ends the reading
// stands for any rest of the title ("セガラリーチャンピオンシップ" read "せがらりー1_c"); one
// within it stands for nothing or for whole words, a word beginning after a blank or a middle dot
// ("ゴールデンアックス ザ デュエル" read "ごーるでんあっくす_4でゅえる"). A reading of codes alone
// does not fit.
//
// The reading may also cover only the head's first words ("ジャンプショット
// エンジニアリングサンプル" read "じゃんぷしょっと"), and where the title goes on after its head
// or its first words, it may read on beyond them ("グリーンベレー (Irem)" read
// "ぐりーんべれーあいれむ").
bool ReadingFitsTitle(std::u32string_view title, std::u32string_view reading);

}  // namespace kanaroll
