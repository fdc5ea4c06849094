#include "catalogue/NameListReader.h"

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

#include "catalogue/NameListLines.h"
#include "catalogue/Recode.h"
#include "catalogue/TabFields.h"
#include "catalogue/TextFile.h"

namespace kanaroll {

namespace {

struct NameListFields {
    std::string_view zipName;
    std::string_view title;
    std::string_view reading;
    bool namesGame = true;  // false: the line gives no ZIP name, not even an empty one
};

// Each field is the text up to the TAB that ends it; where a TAB is missing, that field and every
// later one are empty.
NameListFields CutShiftJisFields(std::string_view line) {
    NameListFields fields;
    fields.zipName = TakeTabEndedField(line);
    fields.title = TakeTabEndedField(line);
    fields.reading = TakeTabEndedField(line);
    return fields;
}

// UTF-8 lists end their last column at the end of the line, so title and reading run to the next
// TAB or to the end of the line. The ZIP name still needs its TAB: a line without one names no game,
// not even one whose ZIP name is empty.
NameListFields CutUtf8Fields(std::string_view line) {
    NameListFields fields;
    const auto first = line.find('\t');
    if (first == std::string_view::npos) {
        fields.namesGame = false;
        return fields;
    }
    fields.zipName = line.substr(0, first);
    line.remove_prefix(first + 1);
    const auto second = line.find('\t');
    fields.title = line.substr(0, second);
    if (second == std::string_view::npos) return fields;
    line.remove_prefix(second + 1);
    fields.reading = line.substr(0, line.find('\t'));
    return fields;
}

std::uint32_t HashOf(std::string_view text) {
    std::uint64_t hash = 0xCBF29CE484222325ULL;  // FNV-1a: ZIP names are a few bytes long
    for (const char c : text) hash = (hash ^ static_cast<unsigned char>(c)) * 0x100000001B3ULL;
    hash ^= hash >> 29;
    return static_cast<std::uint32_t>((hash * 0x9E3779B97F4A7C15ULL) >> 32);
}

inline void Prefetch([[maybe_unused]] const void* address) {
#if defined(__GNUC__)
    __builtin_prefetch(address);
#endif
}

// How far the merge looks ahead to ask for the memory it will touch: far enough for the memory to
// arrive, near enough that it is still cached when it is used.
constexpr std::size_t kLookAhead = 12;

// Finds the first untranslated game of a ZIP name in catalogue order, as a scan from index 0 that
// skips translated games would, in constant time per line. An open-addressing table holds one slot
// per ZIP name, with its games' indexes chained in ascending order and a cursor that passes over the
// ones already translated; a flag only ever turns true during a merge, so the cursor never has to
// go back. The table is a few flat arrays, and a lookup reads no game: the slot holds the ZIP name
// (when it is short, as they all are) and the flags are copied, because on a list in another order
// than the catalogue every game read is a cache miss.
class UntranslatedByZipName {
public:
    explicit UntranslatedByZipName(const GameList& games) : m_games(games) {
        const auto count = static_cast<std::size_t>(games.Count());
        std::size_t capacity = 16;
        while (capacity < count + count / 2) capacity *= 2;
        m_slots.assign(capacity, Slot{});
        m_mask = capacity - 1;
        m_next.assign(count, -1);
        m_translated.resize(count);
        std::vector<std::uint32_t> hashes(count);
        const auto& items = games.Items();
        for (std::size_t at = 0; at < count; ++at) {
            if (at + kLookAhead < count) Prefetch(items[at + kLookAhead].get());
            hashes[at] = HashOf(items[at]->zipName);
            m_translated[at] = items[at]->translated;
        }
        // From the last game to the first, each game goes in front of its name's chain, which so
        // ends up in ascending order.
        for (std::size_t at = count; at-- > 0;) {
            if (at >= kLookAhead) PrefetchSlot(hashes[at - kLookAhead]);
            const std::string& zipName = items[at]->zipName;
            Slot& slot = SlotOf(zipName, hashes[at]);
            if (slot.first >= 0) {
                m_next[at] = slot.first;
            } else {
                slot.length = static_cast<std::uint32_t>(zipName.size());
                if (zipName.size() <= sizeof slot.key) std::memcpy(slot.key, zipName.data(), zipName.size());
            }
            slot.first = slot.cursor = static_cast<std::int32_t>(at);
        }
    }

    void PrefetchSlot(std::uint32_t hash) const { Prefetch(&m_slots[hash & m_mask]); }

    // The index of the first untranslated game of the ZIP name (whose HashOf is `hash`), which from
    // now on counts as translated; -1 when there is none.
    int Take(std::string_view zipName, std::uint32_t hash) {
        Slot& slot = SlotOf(zipName, hash);
        for (; slot.cursor >= 0; slot.cursor = m_next[static_cast<std::size_t>(slot.cursor)]) {
            const auto at = static_cast<std::size_t>(slot.cursor);
            if (!m_translated[at]) {
                m_translated[at] = true;
                return slot.cursor;
            }
        }
        return -1;
    }

private:
    struct Slot {
        std::uint32_t hash = 0;
        std::int32_t first = -1;   // -1: an empty slot
        std::int32_t cursor = -1;  // where the search for an untranslated game resumes; -1: none left
        std::uint32_t length = 0;  // of the ZIP name
        char key[16];              // the ZIP name, when it fits
    };

    bool Holds(const Slot& slot, std::string_view zipName) const {
        if (slot.length != zipName.size()) return false;
        if (zipName.size() <= sizeof slot.key) return std::string_view(slot.key, slot.length) == zipName;
        return m_games[slot.first].zipName == zipName;
    }

    // The slot of the name, or the empty slot where it would go (which then stays empty unless the
    // caller fills it).
    Slot& SlotOf(std::string_view zipName, std::uint32_t hash) {
        for (std::size_t at = hash & m_mask;; at = (at + 1) & m_mask) {
            Slot& slot = m_slots[at];
            if (slot.first < 0) {
                slot.hash = hash;
                return slot;
            }
            if (slot.hash == hash && Holds(slot, zipName)) return slot;
        }
    }

    const GameList& m_games;
    std::vector<Slot> m_slots;
    std::size_t m_mask = 0;
    std::vector<std::int32_t> m_next;  // per game: the next game of its ZIP name, -1 after the last
    std::vector<bool> m_translated;
};

// Gives the fields of each line to the first untranslated game of its ZIP name.
class Merger {
public:
    Merger(GameList& games, int& translatedCount, const TextCodec& listCodec, const TextCodec& catalogueCodec)
        : m_games(games),
          m_index(games),
          m_translatedCount(translatedCount),
          m_listCodec(listCodec),
          m_catalogueCodec(catalogueCodec) {}

    // One line's fields; true when a game took them.
    bool Take(const NameListFields& fields) {
        if (!fields.namesGame) return false;
        const std::string_view zipName = ZipNameInCatalogue(fields.zipName, m_recodedZipName);
        const int index = m_index.Take(zipName, HashOf(zipName));
        if (index >= 0) Store(m_games[index], fields);
        return index >= 0;
    }

    // A batch of lines, each cut by `cut`; the lines no game took go to `kept`, with the ZIP name
    // they were looked up by.
    // The same as taking the lines one by one, looking a few lines ahead: on a list whose order is
    // not the catalogue's, each line's slot and game would otherwise be a cache miss of its own.
    template <typename Cut>
    void TakeBatch(const std::vector<NameListLine>& lines, Cut cut, std::vector<KeptNameListLine>& kept) {
        const std::size_t count = lines.size();
        m_fields.resize(count);
        m_zipNames.resize(count);
        m_hashes.resize(count);
        m_taken.resize(count);
        m_recodedZipNames.resize(count);
        for (std::size_t i = 0; i < count; ++i) {
            m_fields[i] = cut(lines[i].text);
            m_zipNames[i] = ZipNameInCatalogue(m_fields[i].zipName, m_recodedZipNames[i]);
            m_hashes[i] = HashOf(m_zipNames[i]);
        }
        for (std::size_t i = 0; i < count; ++i) {
            if (i + kLookAhead < count) m_index.PrefetchSlot(m_hashes[i + kLookAhead]);
            m_taken[i] = m_fields[i].namesGame ? m_index.Take(m_zipNames[i], m_hashes[i]) : -1;
        }
        const auto& items = m_games.Items();
        for (std::size_t i = 0; i < count; ++i) {
            if (i + kLookAhead < count && m_taken[i + kLookAhead] >= 0) {
                const TRecordset* ahead = items[static_cast<std::size_t>(m_taken[i + kLookAhead])].get();
                Prefetch(&ahead->japaneseName);
                Prefetch(&ahead->translated);
            }
            if (m_taken[i] >= 0) {
                Store(m_games[m_taken[i]], m_fields[i]);
            } else {
                KeptNameListLine& line = kept.emplace_back();
                line.bytes.assign(lines[i].raw);
                if (m_fields[i].namesGame) line.zipName.emplace(m_zipNames[i]);
            }
        }
    }

private:
    // The ZIP name as the catalogue spells it; `storage` holds it when it had to be converted.
    std::string_view ZipNameInCatalogue(std::string_view zipName, std::string& storage) const {
        if (&m_listCodec == &m_catalogueCodec || IsAscii(zipName)) return zipName;
        storage = Recode(zipName, m_listCodec, m_catalogueCodec);
        return storage;
    }

    void Store(TRecordset& game, const NameListFields& fields) {
        if (&m_listCodec != &m_catalogueCodec) {
            game.japaneseName = Recode(fields.title, m_listCodec, m_catalogueCodec);
            game.reading = Recode(fields.reading, m_listCodec, m_catalogueCodec);
        } else {
            game.japaneseName.assign(fields.title);
            game.reading.assign(fields.reading);
        }
        game.translated = true;
        ++m_translatedCount;
    }

    GameList& m_games;
    UntranslatedByZipName m_index;
    int& m_translatedCount;
    const TextCodec& m_listCodec;
    const TextCodec& m_catalogueCodec;
    std::string m_recodedZipName;
    // The batch's working storage, kept from one batch to the next.
    std::vector<NameListFields> m_fields;
    std::vector<std::string_view> m_zipNames;
    std::vector<std::uint32_t> m_hashes;
    std::vector<int> m_taken;
    std::vector<std::string> m_recodedZipNames;
};

// The format a UTF-8 list is written back in, once its lines are known: the line end of its first
// line that has one (CR LF when none has), three columns when its first line with a TAB has three
// fields or fewer, and a final line end when its last line had one.
class Utf8FormatFinder {
public:
    void See(const NameListLine& line) {
        if (m_lineEnd.empty()) m_lineEnd = line.end;
        if (m_columns == 0 && std::memchr(line.text.data(), '\t', line.text.size())) {
            int tabs = 0;
            for (const char c : line.text) tabs += c == '\t';
            m_columns = tabs >= 3 ? 4 : 3;
        }
        m_lastEnd = line.end;
        m_anyLine = true;
    }

    NameListFormat Format() const {
        NameListFormat format;
        format.codec = &Utf8Codec();
        format.byteOrderMark = true;
        format.columns = m_columns == 0 ? 3 : m_columns;
        format.lineEnd = m_lineEnd.empty() ? std::string_view("\r\n") : m_lineEnd;
        format.finalLineEnd = !m_anyLine || !m_lastEnd.empty();
        return format;
    }

private:
    std::string_view m_lineEnd;  // points at a literal of NameListLines
    std::string_view m_lastEnd;
    int m_columns = 0;
    bool m_anyLine = false;
};

// Clears the progress text on every way out of the read.
class ProgressTextClearer {
public:
    explicit ProgressTextClearer(LoadProgress& progress) : m_progress(progress) {}
    ~ProgressTextClearer() {
        try {
            m_progress.SetStatusText(0, "");
        } catch (...) {
            // The error that ended the read is the one to report.
        }
    }
    ProgressTextClearer(const ProgressTextClearer&) = delete;
    ProgressTextClearer& operator=(const ProgressTextClearer&) = delete;

private:
    LoadProgress& m_progress;
};

}  // namespace

std::optional<NameListChoice> ChooseNameList(const std::filesystem::path& exeDir) {
    if (FileExists(exeDir / "mame32j.lst")) return NameListChoice{exeDir / "mame32j.lst", "Mame32j.lst"};
    if (FileExists(exeDir / "mane32j.lst")) return NameListChoice{exeDir / "mane32j.lst", "Mane32j.lst"};
    return std::nullopt;
}

const TextCodec& NameListCodec(const std::filesystem::path& file) {
    InputFile input(file);
    char start[3];
    std::size_t got = 0;
    while (got < sizeof start) {
        const std::size_t read = input.Read(start + got, sizeof start - got);
        if (read == 0) break;
        got += read;
    }
    return got == 3 && std::memcmp(start, "\xEF\xBB\xBF", 3) == 0 ? Utf8Codec() : ShiftJisCodec();
}

void MergeNameListLines(const NameListLineSource& nextLine, GameList& games, int& translatedCount) {
    Merger merger(games, translatedCount, ShiftJisCodec(), ShiftJisCodec());
    std::string_view line;
    while (nextLine(line)) merger.Take(CutShiftJisFields(line));
}

LoadedNameList MergeNameList(const std::filesystem::path& file, GameList& games, int& translatedCount,
                             const TextCodec& catalogueCodec) {
    NameListLines lines(file);
    LoadedNameList loaded;
    std::vector<NameListLine> batch;
    bool more = lines.NextBatch(batch);
    const bool utf8 = lines.HadUtf8Bom();
    Merger merger(games, translatedCount, utf8 ? Utf8Codec() : ShiftJisCodec(), catalogueCodec);
    Utf8FormatFinder utf8Format;
    for (; more; more = lines.NextBatch(batch)) {
        if (utf8) {
            for (const NameListLine& line : batch) utf8Format.See(line);
            merger.TakeBatch(batch, CutUtf8Fields, loaded.keptLines);
        } else {
            merger.TakeBatch(batch, CutShiftJisFields, loaded.keptLines);
        }
    }
    if (utf8) loaded.format = utf8Format.Format();
    loaded.endOfFile.assign(lines.EndOfFile());
    return loaded;
}

LoadedNameList ReadNameList(const NameListChoice& choice, GameList& games, int& translatedCount,
                            LoadProgress& progress, const TextCodec& catalogueCodec) {
    const LoadWaitCursor waitCursor(progress);
    const ProgressTextClearer clearer(progress);  // runs before the cursor returns
    progress.SetStatusText(0, choice.displayName + "から読み込み中...");
    progress.ProcessPendingMessages();
    return MergeNameList(choice.file, games, translatedCount, catalogueCodec);
}

LoadedNameList ReadNameList(const std::filesystem::path& exeDir, GameList& games, int& translatedCount,
                            LoadProgress& progress, const TextCodec& catalogueCodec) {
    const auto choice = ChooseNameList(exeDir);
    if (!choice) return {};
    return ReadNameList(*choice, games, translatedCount, progress, catalogueCodec);
}

}  // namespace kanaroll
