#include "bench/CatalogueGenerator.h"

#include <algorithm>
#include <string_view>
#include <unordered_set>
#include <utility>

#include "bench/BenchRandom.h"
#include "bench/GameVocabulary.h"

namespace kanaroll::bench {

namespace {

constexpr int kMaxClonesPerFamily = 12;

// The BIOS sets of the resource blocks; a game never takes one of these names.
constexpr std::string_view kResourceNames[] = {"neogeo", "pgm", "decocass", "playch10", "cvs"};

template <typename T>
const T& PickFrom(BenchRandom& random, std::span<const T> items) {
    return items[static_cast<std::size_t>(random.Below(static_cast<int>(items.size())))];
}

// A board location such as "6e", unique for every index below 126.
std::string Location(int index) {
    std::string location;
    location += static_cast<char>('1' + (index / 14) % 9);
    location += static_cast<char>('a' + index % 14);
    return location;
}

std::string TwoDigits(int value) {
    std::string text;
    text += static_cast<char>('0' + (value / 10) % 10);
    text += static_cast<char>('0' + value % 10);
    return text;
}

std::uint32_t PowerOfTwo(BenchRandom& random, int lowestShift, int highestShift) {
    return std::uint32_t{1} << random.Between(lowestShift, highestShift);
}

}  // namespace

// What the generator remembers between games: the names taken so far and the master of the
// current family, which its clones copy.
struct CatalogueGenerator::State {
    explicit State(std::uint64_t seed) : random(seed) {}

    BenchRandom random;
    int produced = 0;
    std::unordered_set<std::string> usedNames;

    GeneratedGame master;
    int clonesOfMaster = 0;
    int romScheme = 0;
    int boardId = 0;
    std::string englishBase;  // the master's title without its region
    std::string japaneseBase;
};

CatalogueGenerator::CatalogueGenerator(const CatalogueOptions& options)
    : m_options(options), m_state(std::make_unique<State>(options.seed)) {
    for (std::string_view name : kResourceNames) m_state->usedNames.emplace(name);
}

CatalogueGenerator::~CatalogueGenerator() = default;

namespace {

class GameBuilder {
public:
    GameBuilder(const CatalogueOptions& options, BenchRandom& random, std::unordered_set<std::string>& used)
        : m_options(options), m_random(random), m_used(used) {}

    std::string UniqueMasterName() {
        for (;;) {
            std::string name;
            const int syllables = m_random.Between(2, 3);
            for (int i = 0; i < syllables; ++i) name += PickFrom(m_random, NameSyllables());
            // At most six characters, so that a clone's suffix keeps it within MAME's eight.
            if (syllables == 2 && m_random.Percent(25)) name += static_cast<char>('2' + m_random.Below(8));
            if (Claim(name)) return name;
            for (char digit = '2'; digit <= '9'; ++digit)
                if (Claim(name + digit)) return name + digit;
        }
    }

    std::string UniqueCloneName(const std::string& masterName) {
        for (int attempt = 0; attempt < 8; ++attempt) {
            std::string name = masterName + std::string(PickFrom(m_random, CloneSuffixes()));
            if (Claim(name)) return name;
        }
        for (int number = 2;; ++number) {
            std::string name = masterName + "c" + std::to_string(number);
            if (Claim(name)) return name;
        }
    }

    void Title(std::string& english, std::string& japanese, std::string& reading) {
        const int roll = m_random.Below(10);
        const int wordCount = roll < 3 ? 1 : roll < 8 ? 2 : 3;
        const bool quoteLast = wordCount > 1 && m_random.PerMille(5);
        for (int i = 0; i < wordCount; ++i) {
            const TitleWord& word = PickFrom(m_random, TitleWords());
            if (i > 0) english += ' ';
            if (quoteLast && i == wordCount - 1) {
                english += "\\\"";  // MAME writes an inner quote as a C escape
                english += word.english;
                english += "\\\"";
            } else {
                english += word.english;
            }
            japanese += word.japanese;
            reading += word.reading;
        }
        if (m_random.PerMille(10)) {
            const TitleWord& word = PickFrom(m_random, RareTitleWords());
            english += ' ';
            english += word.english;
            japanese += word.japanese;
            reading += word.reading;
        }
        if (m_random.Percent(20)) {
            const TitleWord& numeral = PickFrom(m_random, Numerals());
            english += numeral.english;
            japanese += numeral.japanese;
            reading += numeral.reading;
        }
        if (m_random.Percent(10)) {
            const TitleWord& first = PickFrom(m_random, TitleWords());
            const TitleWord& second = PickFrom(m_random, TitleWords());
            english += " - The ";
            english += first.english;
            english += ' ';
            english += second.english;
            japanese += " ";
            japanese += first.japanese;
            japanese += second.japanese;
        }
    }

    std::string Manufacturer(bool neoGeo) {
        if (neoGeo) return std::string(PickFrom(m_random, NeoGeoManufacturers()));
        std::string maker(PickFrom(m_random, Manufacturers()));
        if (m_random.Percent(8)) maker += " (" + std::string(PickFrom(m_random, Licensees())) + " license)";
        return maker;
    }

    void Hardware(GeneratedGame& game, const HardwareProfile& profile) {
        game.chips.clear();
        for (const ProfileChip& chip : profile.chips)
            game.chips.push_back({chip.kind, std::string(chip.name), chip.clock});
        game.video = {profile.vector, profile.vertical, profile.width,
                      profile.height, profile.colors,   std::string(profile.refresh)};
        game.soundChannels = profile.soundChannels;

        game.input = {};
        game.input.players = profile.maxButtons == 0 ? 1 : m_random.Percent(5) ? 4 : m_random.Between(1, 2);
        game.input.control = std::string(profile.controls[static_cast<std::size_t>(
            m_random.Below(static_cast<int>(profile.controls.size())))]);
        game.input.buttons = profile.maxButtons == 0 ? 0 : m_random.Between(1, profile.maxButtons);
        game.input.coins = m_random.Between(1, 4);
        game.input.service = m_random.Percent(10);
        game.input.tilt = m_random.Percent(5);

        game.driver = {};
        game.driver.statusGood = m_random.Percent(90);
        game.driver.colorGood = m_random.Percent(95);
        game.driver.soundGood = m_random.Percent(85);
        game.driver.paletteSize = profile.colors;
    }

    void DipSwitches(GeneratedGame& game, bool neoGeo) {
        game.dipSwitches.clear();
        if (neoGeo) return;  // the BIOS settings stand in for DIP switches
        const auto all = kanaroll::bench::DipSwitches();
        const int count = m_random.Between(2, 8);
        const int first = m_random.Below(static_cast<int>(all.size()));
        for (int i = 0; i < count; ++i)
            game.dipSwitches.push_back(
                all[static_cast<std::size_t>((first + i) % static_cast<int>(all.size()))]);
    }

    // The ROMs of a master: program, audio program, graphics, sound and PROMs, in that order.
    void MasterRoms(GeneratedGame& game, bool neoGeo, int scheme, int boardId) {
        game.roms.clear();
        const int total = neoGeo ? m_random.Between(m_options.minRoms, std::min(12, m_options.maxRoms))
                                 : m_random.Between(m_options.minRoms, m_options.maxRoms);
        if (neoGeo) {
            static constexpr std::string_view kParts[] = {"p", "s", "m", "v", "c"};
            const std::string id = std::to_string(200 + boardId % 100);
            int counts[5] = {1, 1, 1, 1, 1};
            for (int extra = total - 5; extra > 0; --extra) ++counts[m_random.Percent(60) ? 4 : 3];
            static constexpr std::string_view kRegions[] = {"cpu1", "gfx1", "cpu2", "sound1", "gfx3"};
            for (int part = 0; part < 5; ++part) {
                std::uint32_t offset = 0;
                for (int i = 1; i <= counts[part]; ++i) {
                    const std::uint32_t size = part == 1   ? 131072
                                               : part == 2 ? 131072
                                                           : PowerOfTwo(m_random, 20, 22);
                    AddRom(game, id + "-" + std::string(kParts[part]) + std::to_string(i) + ".bin", size,
                           std::string(kRegions[part]), offset);
                    offset += size;
                }
            }
            return;
        }
        const bool audioCpu = std::any_of(game.chips.begin(), game.chips.end(), [](const ChipEntry& chip) {
            return chip.kind == ChipEntry::Kind::AudioCpu;
        });
        int program = std::max(1, total / 6);
        int audio = audioCpu && total > program + 2 ? 1 : 0;
        int proms = std::min(3, total - program - audio - 1);
        proms = proms > 0 ? m_random.Between(0, proms) : 0;
        int sound = std::min(4, total - program - audio - proms - 1);
        sound = sound > 0 ? m_random.Between(0, sound) : 0;
        const int graphics = total - program - audio - proms - sound;
        int index = 0;
        Region(game, scheme, boardId, index, program, "cpu1", 14, 19);
        Region(game, scheme, boardId, index, audio, "cpu2", 13, 16);
        Region(game, scheme, boardId, index, graphics, graphics > 8 && m_random.Percent(50) ? "gfx2" : "gfx1",
               15, 22);
        Region(game, scheme, boardId, index, sound, "sound1", 16, 20);
        Region(game, scheme, boardId, index, proms, "proms", 5, 9);
    }

    // A clone shares most ROMs with its master (written with "merge") and has some of its own.
    void CloneRoms(GeneratedGame& clone, const GeneratedGame& master) {
        clone.roms.clear();
        int index = 0;
        for (const RomEntry& rom : master.roms) {
            if (m_random.Percent(65)) {
                RomEntry shared = rom;
                shared.merge = rom.name;
                clone.roms.push_back(std::move(shared));
            } else {
                RomEntry own = rom;
                own.name = clone.name + "." + Location(index);
                own.merge.clear();
                own.crc = m_random.Next32();
                own.flags = m_random.PerMille(5) ? "baddump" : "";
                clone.roms.push_back(std::move(own));
            }
            ++index;
        }
    }

    void Samples(GeneratedGame& game) {
        game.samples.clear();
        const auto names = SampleNames();
        const int count = m_random.Between(3, 10);
        const int first = m_random.Below(static_cast<int>(names.size()));
        for (int i = 0; i < count; ++i)
            game.samples.emplace_back(
                names[static_cast<std::size_t>((first + i) % static_cast<int>(names.size()))]);
    }

private:
    bool Claim(const std::string& name) { return m_used.insert(name).second; }

    void Region(GeneratedGame& game, int scheme, int boardId, int& index, int count,
                const std::string& region, int lowestShift, int highestShift) {
        std::uint32_t offset = 0;
        for (int i = 0; i < count; ++i, ++index) {
            std::string name;
            switch (scheme) {
                case 0:
                    name = game.name + "." + Location(index);
                    break;
                case 1:
                    name = game.name + "_" + TwoDigits(index) + static_cast<char>('a' + index % 8) + ".bin";
                    break;
                case 2:
                    name = "136" + std::to_string(100 + boardId % 900) + "-" + std::to_string(100 + index) +
                           "." + Location(index);
                    break;
                default:
                    name = game.name + "-" + std::to_string(index + 1) + Location(index) + ".bin";
                    break;
            }
            const std::uint32_t size = PowerOfTwo(m_random, lowestShift, highestShift);
            AddRom(game, std::move(name), size, region, offset);
            offset += size;
        }
    }

    void AddRom(GeneratedGame& game, std::string name, std::uint32_t size, std::string region,
                std::uint32_t offset) {
        RomEntry rom;
        rom.name = std::move(name);
        rom.size = size;
        rom.region = std::move(region);
        rom.offset = offset;
        if (m_random.PerMille(8)) {
            rom.flags = "nodump";
        } else {
            rom.crc = m_random.Next32();
            if (m_random.PerMille(5)) rom.flags = "baddump";
        }
        game.roms.push_back(std::move(rom));
    }

    const CatalogueOptions& m_options;
    BenchRandom& m_random;
    std::unordered_set<std::string>& m_used;
};

}  // namespace

bool CatalogueGenerator::Next(GeneratedGame& game) {
    State& state = *m_state;
    if (state.produced >= m_options.gameCount) return false;
    BenchRandom& random = state.random;
    GameBuilder builder(m_options, random, state.usedNames);

    const bool clone = state.produced > 0 && state.clonesOfMaster < kMaxClonesPerFamily &&
                       random.Percent(m_options.clonePercent);
    ++state.produced;

    if (clone) {
        const GeneratedGame& master = state.master;
        game = master;
        game.name = builder.UniqueCloneName(master.name);
        game.cloneOf = master.name;
        game.romOf = master.name;
        const RegionWord& region = PickFrom(random, CloneRegions());
        std::string extra;
        switch (random.Below(5)) {
            case 0:
                extra = " set " + std::to_string(random.Between(1, 4));
                break;
            case 1:
                extra = " rev " + std::string(1, static_cast<char>('A' + random.Below(4)));
                break;
            case 2:  // a build date, yymmdd
                extra = " " + std::to_string(random.Between(80, 99) * 10000 + random.Between(1, 12) * 100 +
                                             random.Between(1, 28));
                break;
            default:
                break;
        }
        game.description = state.englishBase + " (" + std::string(region.english) + extra + ")";
        game.japaneseTitle = state.japaneseBase + " (" + std::string(region.japanese) + extra + ")";
        if (region.english == "bootleg") game.manufacturer = "bootleg";
        if (!master.year.empty() && random.Percent(20))
            game.year = std::to_string(std::stoi(master.year) + 1);
        builder.CloneRoms(game, master);
        game.driver.statusGood = random.Percent(80);
        ++state.clonesOfMaster;
        return true;
    }

    const bool neoGeo = random.Percent(m_options.neoGeoPercent);
    const bool vector = !neoGeo && random.Percent(m_options.vectorPercent);
    const bool samples = !neoGeo && random.Percent(m_options.samplePercent);
    const HardwareProfile& profile = neoGeo    ? NeoGeoProfile()
                                     : vector  ? random.Pick(VectorProfiles())
                                     : samples ? random.Pick(SampleProfiles())
                                               : random.Pick(RegularProfiles());

    game = GeneratedGame{};
    game.name = builder.UniqueMasterName();
    std::string english;
    std::string japanese;
    builder.Title(english, japanese, game.reading);
    state.englishBase = english;
    state.japaneseBase = japanese;
    if (random.Percent(60)) {
        const RegionWord& region = PickFrom(random, MasterRegions());
        const std::string set = random.Percent(30) ? " set 1" : "";
        english += " (" + std::string(region.english) + set + ")";
        japanese += " (" + std::string(region.japanese) + set + ")";
    }
    game.description = std::move(english);
    game.japaneseTitle = std::move(japanese);
    if (!random.Percent(3))
        game.year = std::to_string(neoGeo ? 1990 + random.Below(15) : 1975 + random.Below(30));
    game.manufacturer = builder.Manufacturer(neoGeo);
    if (neoGeo) game.romOf = "neogeo";
    builder.Hardware(game, profile);
    builder.DipSwitches(game, neoGeo);
    state.romScheme = random.Below(4);
    state.boardId = random.Below(100000);
    builder.MasterRoms(game, neoGeo, state.romScheme, state.boardId);
    if (profile.playsSamples && (samples || random.Percent(50))) {
        game.sampleOf = game.name;
        builder.Samples(game);
    }

    state.master = game;
    state.clonesOfMaster = 0;
    return true;
}

std::vector<GeneratedResource> CatalogueGenerator::Resources() const {
    BenchRandom random(BenchRandom::Derive(m_options.seed, 0x5245534F55524345ULL));
    struct Bios {
        std::string_view name, description, year, manufacturer;
        std::vector<std::string_view> roms;
    };
    static const Bios kBioses[] = {
        {"neogeo",
         "Neo-Geo",
         "1990",
         "SNK",
         {"neo-geo.rom", "ng-sm1.rom", "ng-sfix.rom", "000-lo.lo", "sp-s2.sp1", "asia-s3.rom", "vs-bios.rom",
          "sp-j2.sp1"}},
        {"pgm",
         "PGM (Polygame Master) System BIOS",
         "1997",
         "IGS",
         {"pgm_t01s.rom", "pgm_m01s.rom", "pgm_p01s.rom"}},
        {"decocass",
         "DECO Cassette System",
         "1981",
         "Data East",
         {"v0r-.7e", "v1-.5a", "v2.3m", "dsp-3_p0-b.m9"}},
        {"playch10",
         "PlayChoice-10 BIOS",
         "1986",
         "Nintendo of America",
         {"pch1-c.8t", "pch1-c.8p", "pch1-c.8m"}},
        {"cvs", "CVS Bios", "1981", "Century Electronics", {"5b.bin", "6b.bin", "7b.bin"}},
    };
    std::vector<GeneratedResource> resources;
    for (const Bios& bios : kBioses) {
        GeneratedResource resource{std::string(bios.name),
                                   std::string(bios.description),
                                   std::string(bios.year),
                                   std::string(bios.manufacturer),
                                   {}};
        std::uint32_t offset = 0;
        for (std::string_view rom : bios.roms) {
            RomEntry entry;
            entry.name = std::string(rom);
            entry.size = PowerOfTwo(random, 11, 17);
            entry.crc = random.Next32();
            entry.region = "user1";
            entry.offset = offset;
            offset += entry.size;
            resource.roms.push_back(std::move(entry));
        }
        resources.push_back(std::move(resource));
    }
    return resources;
}

}  // namespace kanaroll::bench
