#include "bench/GameVocabulary.h"

namespace kanaroll::bench {

namespace {

using Kind = ChipEntry::Kind;
constexpr Kind Cpu = Kind::Cpu;
constexpr Kind AudioCpu = Kind::AudioCpu;
constexpr Kind Audio = Kind::Audio;

constexpr TitleWord kTitleWords[] = {
    {"Street", "ストリート", "すとりーと"},
    {"Fighter", "ファイター", "ふぁいたー"},
    {"Dragon", "ドラゴン", "どらごん"},
    {"Ninja", "忍者", "にんじゃ"},
    {"Legend", "伝説", "でんせつ"},
    {"Warriors", "戦士", "せんし"},
    {"Soccer", "サッカー", "さっかー"},
    {"Baseball", "野球", "やきゅう"},
    {"Mahjong", "麻雀", "まーじゃん"},
    {"Racing", "レーシング", "れーしんぐ"},
    {"Space", "スペース", "すぺーす"},
    {"Invaders", "インベーダー", "いんべーだー"},
    {"Galaxy", "ギャラクシー", "ぎゃらくしー"},
    {"Sonic", "ソニック", "そにっく"},
    {"Soldier", "ソルジャー", "そるじゃー"},
    {"Power", "パワー", "ぱわー"},
    {"Ability", "能力", "のうりょく"},
    {"Hyper", "ハイパー", "はいぱー"},
    {"Super", "スーパー", "すーぱー"},
    {"Battle", "バトル", "ばとる"},
    {"Castle", "城", "しろ"},
    {"Demon", "魔界", "まかい"},
    {"Kingdom", "王国", "おうこく"},
    {"Tiger", "タイガー", "たいがー"},
    {"Heli", "ヘリ", "へり"},
    {"Quiz", "クイズ", "くいず"},
    {"Puzzle", "パズル", "ぱずる"},
    {"Golf", "ゴルフ", "ごるふ"},
    {"Thunder", "サンダー", "さんだー"},
    {"Force", "フォース", "ふぉーす"},
    {"Blade", "ブレード", "ぶれーど"},
    {"Storm", "ストーム", "すとーむ"},
    {"Samurai", "侍", "さむらい"},
    {"Spirits", "魂", "たましい"},
    {"Shooting", "射撃", "しゃげき"},
    {"Star", "スター", "すたー"},
    {"Wars", "ウォーズ", "うぉーず"},
    {"Metal", "メタル", "めたる"},
    {"Slug", "スラッグ", "すらっぐ"},
    {"King", "キング", "きんぐ"},
    {"Fighters", "ファイターズ", "ふぁいたーず"},
    {"Night", "ナイト", "ないと"},
    {"Hunter", "ハンター", "はんたー"},
    {"Final", "ファイナル", "ふぁいなる"},
    {"Strike", "ストライク", "すとらいく"},
    {"Dance", "ダンス", "だんす"},
    {"Robo", "ロボ", "ろぼ"},
    {"Fire", "炎", "ほのお"},
    {"Sword", "剣", "けん"},
    {"Ping Pong", "卓球", "たっきゅう"},
    {"Derby", "競馬", "けいば"},
    {"Shogi", "将棋", "しょうぎ"},
    {"Ghost", "幽霊", "ゆうれい"},
    {"Treasure", "宝", "たから"},
    {"Pirates", "海賊", "かいぞく"},
    {"Magic", "魔法", "まほう"},
    {"Ultra", "ウルトラ", "うるとら"},
    {"Cosmo", "コスモ", "こすも"},
    {"Crystal", "クリスタル", "くりすたる"},
    {"Road", "ロード", "ろーど"},
    {"Runner", "ランナー", "らんなー"},
    {"Fantasy", "ファンタジー", "ふぁんたじー"},
    {"Zone", "ゾーン", "ぞーん"},
    {"Front", "表", "おもて"},
    {"Cross", "十字", "じゅうじ"},
    {"Pac", "パック", "ぱっく"},
    {"Man", "マン", "まん"},
    {"Galaga", "ギャラガ", "ぎゃらが"},
    {"Bomber", "ボンバー", "ぼんばー"},
    {"Twin", "ツイン", "ついん"},
    {"Bee", "ビー", "びー"},
    {"Fever", "フィーバー", "ふぃーばー"},
    {"Raiden", "雷電", "らいでん"},
    {"Flash", "閃光", "せんこう"},
    {"Tank", "戦車", "せんしゃ"},
    {"Sky", "空", "そら"},
    {"Ocean", "海", "うみ"},
    {"Hero", "ヒーロー", "ひーろー"},
    {"Champion", "チャンピオン", "ちゃんぴおん"},
    {"Wrestling", "プロレス", "ぷろれす"},
    {"Boxing", "ボクシング", "ぼくしんぐ"},
    {"Volley", "バレー", "ばれー"},
    {"Rally", "ラリー", "らりー"},
    {"Express", "エクスプレス", "えくすぷれす"},
    {"Kid", "キッド", "きっど"},
    {"Jungle", "ジャングル", "じゃんぐる"},
    {"Monster", "モンスター", "もんすたー"},
    {"Princess", "姫", "ひめ"},
    {"Wonder", "ワンダー", "わんだー"},
    {"Boy", "ボーイ", "ぼーい"},
    {"Darius", "ダライアス", "だらいあす"},
    {"Gradius", "グラディウス", "ぐらでぃうす"},
    {"Salamander", "沙羅曼蛇", "さらまんだ"},
    {"Chase", "チェイス", "ちぇいす"},
    {"Turbo", "ターボ", "たーぼ"},
    {"Block", "ブロック", "ぶろっく"},
    {"Breaker", "崩し", "くずし"},
    {"Tetris", "テトリス", "てとりす"},
    {"Columns", "コラムス", "こらむす"},
    {"Bubble", "バブル", "ばぶる"},
    {"Bobble", "ボブル", "ぼぶる"},
    {"Rainbow", "レインボー", "れいんぼー"},
    {"Islands", "アイランド", "あいらんど"},
    {"Elevator", "エレベーター", "えれべーたー"},
    {"Action", "アクション", "あくしょん"},
    {"Souls", "武士道", "ぶしどう"},
    {"Warlords", "群雄", "ぐんゆう"},
};

// Titles that carry half-width katakana (single Shift-JIS bytes 0xA1-0xDF), or a circled digit
// that only code page 932 maps, as a few entries of every real list do.
constexpr TitleWord kRareTitleWords[] = {
    {"Power", "ﾊﾟﾜｰ", "ぱわー"},
    {"Kart", "ｶｰﾄ", "かーと"},
    {"Stage", "ステージ①", "すてーじいち"},
    {"Wave", "ウェーブ～", "うぇーぶ"},
};

constexpr TitleWord kNumerals[] = {
    {" II", " II", "つー"},
    {" 2", " 2", "つー"},
    {" III", " III", "すりー"},
    {" '94", " '94", "きゅうじゅうよん"},
    {" Plus", " プラス", "ぷらす"},
    {" Turbo", " ターボ", "たーぼ"},
    {" Special", " スペシャル", "すぺしゃる"},
    {" 2000", " 2000", "にせん"},
};

constexpr RegionWord kMasterRegions[] = {
    {"World", "海外版"}, {"World", "海外版"},  {"Japan", "日本版"},  {"Japan", "日本版"},
    {"US", "米国版"},    {"Europe", "欧州版"}, {"Asia", "アジア版"},
};

constexpr RegionWord kCloneRegions[] = {
    {"Japan", "日本版"},   {"Japan", "日本版"},      {"US", "米国版"},        {"US", "米国版"},
    {"Europe", "欧州版"},  {"Asia", "アジア版"},     {"Korea", "韓国版"},     {"Taiwan", "台湾版"},
    {"bootleg", "海賊版"}, {"bootleg", "海賊版"},    {"prototype", "試作版"}, {"Hispanic", "スペイン語版"},
    {"hack", "改造版"},    {"Brazil", "ブラジル版"},
};

constexpr std::string_view kManufacturers[] = {
    "Capcom",       "Namco",      "Konami",         "Sega",         "Taito",          "Irem",
    "Data East",    "Nichibutsu", "Jaleco",         "Toaplan",      "Atari",          "Midway",
    "Williams",     "Nintendo",   "Technos",        "Tecmo",        "Seibu Kaihatsu", "Video System",
    "Psikyo",       "Cave",       "Kaneko",         "Nihon Bussan", "Universal",      "Sun Electronics",
    "Alpha Denshi", "UPL",        "Kaneko / Atlus", "Visco",        "Dynax",          "Home Data",
    "Coreland",     "Orca",       "<unknown>",
};

constexpr std::string_view kNeoGeoManufacturers[] = {
    "SNK",   "SNK",    "SNK",  "ADK",         "Sunsoft", "Visco",
    "Aicom", "Saurus", "Face", "Hudson Soft", "Takara",  "Psikyo",
};

constexpr std::string_view kLicensees[] = {"Midway", "Atari", "Romstar", "Taito America", "Tecfri", "Sega"};

// Pieces of ZIP names. None of them may combine into the words the catalogue reader looks for.
constexpr std::string_view kNameSyllables[] = {
    "pa", "cm", "an", "ga", "la", "xi", "sf", "ko", "fm", "ds", "bb", "ra", "id", "en", "ti", "ge",
    "rh", "ma", "ze", "ro", "bu", "ba", "ku", "do", "ja", "mo", "ni", "pu", "ri", "ta", "zu", "ho",
    "ke", "mi", "ny", "ky", "gr", "ad", "vs", "ss", "tw", "ha", "kd", "ym", "bs", "ft", "wi", "qu",
};

constexpr std::string_view kCloneSuffixes[] = {
    "j", "u", "a", "b",  "c",  "d",  "e",  "h",  "k",  "o",  "w",
    "1", "2", "3", "bl", "jp", "us", "ua", "ja", "ce", "hf", "p",
};

constexpr std::string_view kSampleNames[] = {
    "shot.wav", "explode.wav", "bang.wav", "thrust.wav", "fire.wav",   "hit.wav", "lose.wav", "coin.wav",
    "0.wav",    "1.wav",       "2.wav",    "3.wav",      "saucer.wav", "ufo.wav", "walk.wav", "jump.wav",
};

const DipSwitchEntry kDipSwitches[] = {
    {"Lives", {"1", "2", "3", "5"}, "3"},
    {"Bonus Life", {"10000", "20000", "30000", "None"}, "20000"},
    {"Difficulty", {"Easy", "Normal", "Hard", "Hardest"}, "Normal"},
    {"Cabinet", {"Upright", "Cocktail"}, "Upright"},
    {"Flip Screen", {"Off", "On"}, "Off"},
    {"Demo Sounds", {"Off", "On"}, "On"},
    {"Coin A", {"2C_1C", "1C_1C", "1C_2C", "1C_3C"}, "1C_1C"},
    {"Coin B", {"2C_1C", "1C_1C", "1C_2C", "1C_3C"}, "1C_1C"},
    {"Free Play", {"Off", "On"}, "Off"},
    {"Service Mode", {"Off", "On"}, "Off"},
    {"Allow Continue", {"No", "Yes"}, "Yes"},
    {"Language", {"Japanese", "English"}, "English"},
    {"Unknown", {"Off", "On"}, "Off"},
};

}  // namespace

std::span<const TitleWord> TitleWords() {
    return kTitleWords;
}
std::span<const TitleWord> RareTitleWords() {
    return kRareTitleWords;
}
std::span<const TitleWord> Numerals() {
    return kNumerals;
}
std::span<const RegionWord> MasterRegions() {
    return kMasterRegions;
}
std::span<const RegionWord> CloneRegions() {
    return kCloneRegions;
}
std::span<const std::string_view> Manufacturers() {
    return kManufacturers;
}
std::span<const std::string_view> NeoGeoManufacturers() {
    return kNeoGeoManufacturers;
}
std::span<const std::string_view> Licensees() {
    return kLicensees;
}
std::span<const std::string_view> NameSyllables() {
    return kNameSyllables;
}
std::span<const std::string_view> CloneSuffixes() {
    return kCloneSuffixes;
}
std::span<const std::string_view> SampleNames() {
    return kSampleNames;
}
std::span<const DipSwitchEntry> DipSwitches() {
    return kDipSwitches;
}

// One board a row: its screen (vector, vertical, width and height, colours, refresh), its sound
// channels, its most buttons and whether it may play samples; then the controls it is built with
// and its chips. A vector screen has no width or height.
// clang-format off
const std::vector<HardwareProfile>& RegularProfiles() {
    static const std::vector<HardwareProfile> profiles = {
        // label          vector vertical width height colours refresh  channels buttons samples
        {"pacman",         false, true,  224, 288,    16, "60.606060", 1, 1, false,
         {"joy4way"}, {{Cpu, "Z80", 3072000}, {Audio, "Namco", 96000}}},
        {"cps1",           false, false, 384, 224,  4096, "59.633331", 1, 6, false,
         {"joy8way", "joy8way", "joy4way"}, {{Cpu, "M68000", 10000000}, {AudioCpu, "Z80", 3579545},
          {Audio, "YM2151", 3579545}, {Audio, "OKIM6295", 7576}}},
        {"system16",       false, false, 320, 224,  2048, "60.054389", 2, 3, false,
         {"joy8way", "joy4way"}, {{Cpu, "M68000", 10000000}, {AudioCpu, "Z80", 4000000},
          {Audio, "YM2151", 4000000}, {Audio, "UPD7759", 640000}}},
        {"konami",         false, false, 256, 224,  1024, "60.000000", 1, 2, false,
         {"joy8way"}, {{Cpu, "M6809", 1536000}, {AudioCpu, "Z80", 3579545}, {Audio, "YM2151", 3579545},
          {Audio, "K007232", 3579545}}},
        {"taito",          false, false, 256, 224,   512, "60.000000", 1, 2, false,
         {"joy8way", "joy2way"}, {{Cpu, "Z80", 6000000}, {Cpu, "Z80", 6000000}, {AudioCpu, "Z80", 4000000},
          {Audio, "YM2203", 3000000}, {Audio, "DAC", 0}, {Audio, "DAC", 0}}},
        {"irem",           false, false, 384, 256,   512, "55.017606", 1, 2, false,
         {"joy8way"}, {{Cpu, "V30", 8000000}, {AudioCpu, "Z80", 3579545}, {Audio, "YM2151", 3579545},
          {Audio, "DAC", 0}}},
        {"williams",       false, false, 292, 240,    16, "60.000000", 1, 2, false,
         {"joy8way", "doublejoy8way"}, {{Cpu, "M6809", 1000000}, {AudioCpu, "M6808", 894750},
          {Audio, "DAC", 0}}},
        {"mahjong",        false, false, 256, 240,   256, "60.000000", 1, 0, false,
         {""}, {{Cpu, "Z80", 4000000}, {Audio, "AY-3-8910", 1500000}, {Audio, "DAC", 0}}},
        {"psikyo",         false, true,  320, 224,  4096, "59.300000", 2, 3, false,
         {"joy8way"}, {{Cpu, "M68EC020", 16000000}, {AudioCpu, "Z80", 8000000}, {Audio, "YM2610", 8000000}}},
        {"seibu",          false, true,  256, 224,  2048, "59.600000", 1, 2, false,
         {"joy8way"}, {{Cpu, "V30", 10000000}, {Cpu, "V30", 10000000}, {AudioCpu, "Z80", 3579545},
          {Audio, "YM3812", 3579545}, {Audio, "OKIM6295", 8000}}},
        {"cave",           false, true,  320, 240, 32768, "57.550000", 2, 3, false,
         {"joy8way"}, {{Cpu, "M68000", 16000000}, {Audio, "YMZ280B", 16934400}}},
        {"deco",           false, false, 320, 240,  2048, "58.000000", 2, 3, false,
         {"joy8way", "trackball"}, {{Cpu, "ARM", 7000000}, {AudioCpu, "H6280", 8055000},
          {Audio, "YM2151", 3580000}, {Audio, "YM2203", 4027500}, {Audio, "OKIM6295", 7757},
          {Audio, "OKIM6295", 15514}}},
        {"silent",         false, false, 256, 224,     8, "60.000000", 0, 1, false,
         {"joy2way"}, {{Cpu, "I8080", 1996800}}},
        {"sports",         false, false, 256, 240,  1024, "60.000000", 1, 3, false,
         {"joy8way", "dial", "pedal", "paddle"}, {{Cpu, "M68000", 12000000}, {AudioCpu, "Z80", 4000000},
          {Audio, "YM2203", 4000000}, {Audio, "YM2203", 4000000}, {Audio, "MSM5205", 384000}}},
    };
    return profiles;
}

const HardwareProfile& NeoGeoProfile() {
    static const HardwareProfile profile =
        {"neogeo",         false, false, 320, 224,  4096, "59.185606", 2, 4, false,
         {"joy8way"}, {{Cpu, "M68000", 12000000}, {AudioCpu, "Z80", 4000000}, {Audio, "YM2610", 8000000}}};
    return profile;
}

const std::vector<HardwareProfile>& VectorProfiles() {
    static const std::vector<HardwareProfile> profiles = {
        {"atari-vector",   true,  false,   0,   0,   256, "40.000000", 1, 2, false,
         {"joy2way", "dial", "stick"}, {{Cpu, "M6502", 1512000}, {Audio, "POKEY", 1512000},
          {Audio, "POKEY", 1512000}}},
        {"cinematronics",  true,  false,   0,   0,   256, "38.000000", 1, 2, true,
         {"joy4way"}, {{Cpu, "CCPU", 5000000}, {Audio, "Samples", 0}}},
    };
    return profiles;
}

const std::vector<HardwareProfile>& SampleProfiles() {
    static const std::vector<HardwareProfile> profiles = {
        {"invaders",       false, true,  224, 256,     8, "60.000000", 1, 1, true,
         {"joy2way"}, {{Cpu, "I8080", 1996800}, {Audio, "Samples", 0}}},
        {"galaxian",       false, true,  224, 256,    32, "60.606060", 1, 1, true,
         {"joy2way"}, {{Cpu, "Z80", 3072000}, {Audio, "Samples", 0}, {Audio, "Custom", 0}}},
    };
    return profiles;
}
// clang-format on

}  // namespace kanaroll::bench
