#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

// A deterministic source of realistic MAME games for benchmarks: the same options give the same
// games, byte for byte, on every platform. The games are kept as structured records so that each
// output layout (today MAME's -listinfo text and the Japanese name lists, later -listxml) is only
// a formatter over them; see ListInfoLayout.h and NameListGenerator.h.
namespace kanaroll::bench {

struct CatalogueOptions {
    int gameCount = 50'000;
    std::uint64_t seed = 0x4B414E41524F4C4CULL;  // fixed: the same catalogue every run
    int clonePercent = 33;                       // share of games that are clones of the master before them
    int neoGeoPercent = 4;  // share of masters that run on the NeoGeo BIOS ("romof neogeo")
    int vectorPercent = 2;  // share of masters with a vector screen
    int samplePercent = 4;  // share of masters that play sound samples
    int minRoms = 5;
    int maxRoms = 40;
};

struct RomEntry {
    std::string name;
    std::string merge;  // the parent's ROM of the same contents, for a clone; else empty
    std::uint32_t size = 0;
    std::uint32_t crc = 0;
    std::string region;
    std::uint32_t offset = 0;
    std::string flags;  // "nodump", "baddump" or empty
};

struct ChipEntry {
    enum class Kind { Cpu, AudioCpu, Audio };
    Kind kind = Kind::Cpu;
    std::string name;
    std::uint32_t clock = 0;  // 0: the chip has no clock
};

struct VideoEntry {
    bool vector = false;
    bool vertical = false;
    int width = 0;  // not written for vector screens
    int height = 0;
    int colors = 0;
    std::string refresh;  // "60.606060": written as text, never through a float
};

struct InputEntry {
    int players = 1;
    std::string control;  // empty: the line has no control
    int buttons = 0;
    int coins = 1;
    bool service = false;
    bool tilt = false;
};

struct DipSwitchEntry {
    std::string name;
    std::vector<std::string> entries;
    std::string defaultEntry;
};

struct DriverEntry {
    bool statusGood = true;
    bool colorGood = true;
    bool soundGood = true;
    int paletteSize = 0;
};

struct GeneratedGame {
    std::string name;         // ZIP name, unique
    std::string description;  // English title as MAME quotes it (may hold C escapes such as \")
    std::string year;         // empty: no year line
    std::string manufacturer;
    std::string cloneOf;  // empty for a master
    std::string romOf;    // the parent for a clone, "neogeo" for a NeoGeo master
    std::vector<RomEntry> roms;
    std::string sampleOf;  // empty: no samples
    std::vector<std::string> samples;
    std::vector<ChipEntry> chips;
    VideoEntry video;
    int soundChannels = 1;
    InputEntry input;
    std::vector<DipSwitchEntry> dipSwitches;
    DriverEntry driver;

    // The entry of the Japanese name list, in UTF-8 (the list writer converts to its codec).
    std::string japaneseTitle;
    std::string reading;  // hiragana; the same for a whole family, as in the real lists
};

// A "resource (" block, such as the NeoGeo BIOS, written after the games.
struct GeneratedResource {
    std::string name;
    std::string description;
    std::string year;
    std::string manufacturer;
    std::vector<RomEntry> roms;
};

// Produces the games one by one in file order, so that a catalogue of any size can be streamed
// to disk without being held in memory.
class CatalogueGenerator {
public:
    explicit CatalogueGenerator(const CatalogueOptions& options);
    ~CatalogueGenerator();
    CatalogueGenerator(const CatalogueGenerator&) = delete;
    CatalogueGenerator& operator=(const CatalogueGenerator&) = delete;

    const CatalogueOptions& Options() const { return m_options; }

    // Fills `game` with the next game; false after the last one.
    bool Next(GeneratedGame& game);

    // The resource blocks that follow the games (the BIOS sets the games refer to).
    std::vector<GeneratedResource> Resources() const;

private:
    struct State;

    CatalogueOptions m_options;
    std::unique_ptr<State> m_state;
};

}  // namespace kanaroll::bench
