#include "bench/BenchmarkFiles.h"

#include <fstream>
#include <stdexcept>
#include <string>

#include "bench/ListInfoLayout.h"

namespace kanaroll::bench {

namespace {

constexpr std::size_t kFlushSize = 4 << 20;

class HashingFileWriter {
public:
    explicit HashingFileWriter(const std::filesystem::path& path)
        : m_path(path), m_out(path, std::ios::binary | std::ios::trunc) {
        if (!m_out) throw std::runtime_error("cannot create " + path.string());
    }

    void Write(const std::string& bytes) {
        for (char c : bytes) {
            m_hash ^= static_cast<unsigned char>(c);
            m_hash *= 0x100000001B3ULL;
        }
        m_out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        m_size += bytes.size();
        if (!m_out) throw std::runtime_error("cannot write " + m_path.string());
    }

    void Close() {
        m_out.close();
        if (!m_out) throw std::runtime_error("cannot write " + m_path.string());
    }

    std::uintmax_t Size() const { return m_size; }
    std::uint64_t Hash() const { return m_hash; }

private:
    std::filesystem::path m_path;
    std::ofstream m_out;
    std::uintmax_t m_size = 0;
    std::uint64_t m_hash = 0xCBF29CE484222325ULL;
};

}  // namespace

CatalogueFacts WriteListInfo(const std::filesystem::path& path, const CatalogueOptions& options,
                             std::vector<NameListEntry>* entries) {
    CatalogueGenerator generator(options);
    HashingFileWriter file(path);
    CatalogueFacts facts;
    std::string buffer;
    buffer.reserve(kFlushSize + 65536);
    GeneratedGame game;
    while (generator.Next(game)) {
        AppendListInfoGame(buffer, game);
        ++facts.games;
        if (!game.cloneOf.empty()) ++facts.clones;
        if (game.romOf == "neogeo") ++facts.neoGeoMasters;
        if (game.video.vector) ++facts.vectorGames;
        if (!game.sampleOf.empty()) ++facts.sampleGames;
        if (game.driver.statusGood) ++facts.statusGood;
        if (entries) entries->push_back(NameListEntryOf(game));
        if (buffer.size() >= kFlushSize) {
            file.Write(buffer);
            buffer.clear();
        }
    }
    for (const GeneratedResource& resource : generator.Resources()) AppendListInfoResource(buffer, resource);
    file.Write(buffer);
    file.Close();
    facts.listInfoBytes = file.Size();
    facts.listInfoHash = file.Hash();
    return facts;
}

BenchmarkFiles WriteBenchmarkFiles(const std::filesystem::path& folder, const CatalogueOptions& options) {
    std::filesystem::create_directories(folder);
    BenchmarkFiles files;
    files.folder = folder;
    files.listInfo = folder / "listinfo.txt";
    files.nameList = folder / "mame32j.lst";
    files.shuffledNameList = folder / "mame32j-shuffled.lst";
    files.partialNameList = folder / "mame32j-partial.lst";

    std::vector<NameListEntry> entries;
    entries.reserve(static_cast<std::size_t>(options.gameCount));
    files.facts = WriteListInfo(files.listInfo, options, &entries);
    files.nameListLines = WriteMame32JList(files.nameList, entries);
    NameListOptions shuffled;
    shuffled.shuffled = true;
    WriteMame32JList(files.shuffledNameList, entries, shuffled);
    NameListOptions partial;
    partial.percent = 80;
    files.partialNameListLines = WriteMame32JList(files.partialNameList, entries, partial);
    return files;
}

}  // namespace kanaroll::bench
