#pragma once

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "catalogue/GameList.h"
#include "catalogue/NameListWriters.h"
#include "catalogue/SettingsFile.h"
#include "catalogue/TextCodec.h"

// The files Kanaroll writes, each through its real writer, from generated contents of any size.
namespace kanaroll::testing {

// `count` translated games; `variant` changes every title, so that two variants give files of the
// same size and different bytes.
inline GameList TranslatedCatalogue(int count, char variant = 'a') {
    GameList games;
    const std::string title = Sjis("ゲーム");
    const std::string reading = Sjis("げーむ");
    for (int index = 0; index < count; ++index) {
        auto game = std::make_unique<TRecordset>();
        game->zipName = "g" + std::to_string(100000 + index);
        game->englishName = "Game " + std::to_string(index);
        game->japaneseName = title + std::to_string(index) + variant;
        game->reading = reading;
        game->manufacturer = "Maker";
        game->translated = true;
        game->listOrder = index;
        games.Append(std::move(game));
    }
    return games;
}

inline ReplaceRuleList ManyRules(int count, char variant = 'a') {
    ReplaceRuleList rules;
    for (int index = 0; index < count; ++index)
        rules.push_back({"Search" + std::to_string(index), Sjis("置換") + variant, index % 2 == 0});
    return rules;
}

// One of the files the program writes. `Write` makes a file of about `lines` lines.
struct WriteTarget {
    const char* fileName;
    void (*write)(const std::filesystem::path& file, int lines, char variant);
};

inline void WriteMame32JFile(const std::filesystem::path& file, int lines, char variant) {
    WriteMame32J(file, TranslatedCatalogue(lines, variant));
}
inline void WriteMane32JFile(const std::filesystem::path& file, int lines, char variant) {
    WriteMane32J(file, TranslatedCatalogue(lines, variant));
}
inline void WriteSettingsFile(const std::filesystem::path& file, int lines, char variant) {
    SaveSettings(file, std::string("C:\\MAME\\mame") + variant + ".exe", ManyRules(lines, variant));
}

inline const std::vector<WriteTarget>& AllWriteTargets() {
    static const std::vector<WriteTarget> targets{{"mame32j.lst", &WriteMame32JFile},
                                                  {"MANE32J.lst", &WriteMane32JFile},
                                                  {"kanaroll.ini", &WriteSettingsFile}};
    return targets;
}

// Enough lines for a file of more than one block of the writer (1 MiB), so that it is written in
// two writes at least.
constexpr int kLinesOfABigFile = 40000;

}  // namespace kanaroll::testing
