#include "tests/gui/SoakModel.h"

#include <set>

namespace kanaroll::testing::soak {

SoakFiles MakeSoakFiles() {
    static constexpr const char* kSyllables[] = {
        "pac", "gal", "dig", "xev", "bub", "ras", "tet", "sf",  "mk",  "kof", "puy", "gra", "out",
        "cho", "don", "nin", "spl", "ark", "bom", "cir", "dar", "esp", "fan", "gun", "hal"};
    static constexpr const char* kCloneSuffixes[] = {"j", "u", "a", "b", "2", "o", "w"};
    static constexpr const char* kWords[] = {"Pac",  "Galaxy", "Dragon", "Street", "Fighter", "Puzzle",
                                             "Star", "Ninja",  "Turbo",  "Super",  "Bubble",  "Out",
                                             "Run",  "Force",  "Man",    "Attack", "Bomber",  "Circus"};
    static constexpr const char* kRegions[] = {" (Japan)", " (US)",        " (World)",      " (bootleg)",
                                               " (set 2)", " (prototype)", " (Japan, US)",  " [BET]",
                                               " (Asia)",  " (Europe)",    " (US) (Japan)", ""};
    static constexpr const char* kMakers[] = {"Namco", "Capcom", "Sega",      "Taito",  "Konami",
                                              "SNK",   "Irem",   "Data East", "bootleg"};
    static constexpr const char* kKatakana[] = {"パックマン", "ギャラガ", "ドラゴン", "ストリート",
                                                "ファイター", "パズル",   "スター",   "ニンジャ",
                                                "ターボ",     "スーパー"};
    static constexpr const char* kJapaneseRegions[] = {" (日本版)", " (米国版)", " (海外版)", " (Japan)", ""};
    static constexpr const char* kHiragana[] = {"ぱっくまん", "ぎゃらが", "どらごん", "すとりーと",
                                                "ふぁいたー", "ぱずる",   "すたー",   "にんじゃ",
                                                "たーぼ",     "すーぱー"};

    Random random(0x4B414E41524F4C4CULL);
    SoakFiles files;
    std::set<std::string> zips;
    std::string master;
    int clonesOfMaster = 0;
    for (int index = 0; index < kSoakGames; ++index) {
        const bool clone = !master.empty() && clonesOfMaster < 7 && random.Chance(35);
        const bool orphan = !clone && random.Chance(2);
        std::string zip;
        do {
            zip = clone ? master + random.Pick(kCloneSuffixes)
                        : std::string(random.Pick(kSyllables)) + random.Pick(kSyllables);
            if (random.Chance(30)) zip += static_cast<char>('0' + random.Below(10));
        } while (zips.contains(zip));
        zips.insert(zip);

        ListInfoGame game;
        game.zip = zip;
        const int words = 1 + random.Below(3);
        for (int word = 0; word < words; ++word)
            game.description += (word ? " " : "") + std::string(random.Pick(kWords));
        if (clone || orphan || random.Chance(30)) game.description += random.Pick(kRegions);
        game.year = random.Chance(5) ? "19??" : std::to_string(1978 + random.Below(22));
        game.manufacturer = random.Pick(kMakers);
        if (clone) {
            game.cloneOf = master;
            ++clonesOfMaster;
        } else if (orphan) {
            game.cloneOf = "lostset" + std::to_string(random.Below(6));
        } else {
            master = zip;
            clonesOfMaster = 0;
            game.neoGeo = random.Chance(3);
        }
        game.vector = random.Chance(3);
        game.statusGood = !random.Chance(15);

        if (random.Chance(55)) {
            std::string title = random.Pick(kKatakana);
            if (random.Chance(40)) title += random.Pick(kKatakana);
            title += random.Pick(kJapaneseRegions);
            if (random.Chance(1)) title.clear();
            std::string reading;
            if (!random.Chance(4)) {
                reading = random.Pick(kHiragana);
                if (random.Chance(40)) reading += random.Pick(kHiragana);
            }
            files.nameList += zip + "\t" + title + "\t" + reading + "\t" + game.manufacturer + "\r\n";
        }
        files.games.push_back(std::move(game));
    }
    return files;
}

std::wstring RandomTitleText(Random& random) {
    static constexpr const wchar_t* kPieces[] = {L"a",  L"Z",  L"q",  L"1",          L" ",  L" ",  L"(",
                                                 L")",  L"パ", L"ッ", L"ク",         L"マ", L"ン", L"日",
                                                 L"本", L"版", L"ー", L"・",         L"（", L"）", L"Japan",
                                                 L"US", L" (", L"é",  L"\U0001F600", L"ｶﾞ", L"〜", L"-"};
    std::wstring text;
    const int pieces = 1 + random.Below(5);
    for (int piece = 0; piece < pieces; ++piece) text += random.Pick(kPieces);
    return text;
}

std::wstring RandomReadingText(Random& random) {
    static constexpr const wchar_t* kPieces[] = {L"ぱ", L"っ", L"く", L"ま", L"ん", L"あ", L"い",
                                                 L"う", L"ー", L"が", L"1",  L" ",  L"ゔ", L"é"};
    std::wstring text;
    const int pieces = 1 + random.Below(4);
    for (int piece = 0; piece < pieces; ++piece) text += random.Pick(kPieces);
    return text;
}

}  // namespace kanaroll::testing::soak
