#include "catalogue/NameListWriters.h"

#include <string>
#include <string_view>
#include <unordered_set>

#include "catalogue/Recode.h"
#include "catalogue/TextFile.h"

namespace kanaroll {

namespace {

// Writes the lines of a name list in its format: the byte-order mark first when it has one, the
// format's line end between lines and after the last when the format says so.
class ListFileWriter {
public:
    ListFileWriter(const std::filesystem::path& path, const NameListFormat& format)
        : m_file(path), m_lineEnd(format.lineEnd), m_finalLineEnd(format.finalLineEnd) {
        if (format.byteOrderMark) m_file.Write("\xEF\xBB\xBF");
    }

    void BeginLine() {
        if (m_anyLine) m_file.Write(m_lineEnd);
        m_anyLine = true;
    }
    void Write(std::string_view bytes) { m_file.Write(bytes); }
    void WriteField(std::string_view text) { m_file.WriteField(text); }

    // `endOfFile` (a Ctrl-Z that started a line, and what followed it) goes last, on a line of its own.
    void Commit(std::string_view endOfFile) {
        if (m_anyLine && (m_finalLineEnd || !endOfFile.empty())) m_file.Write(m_lineEnd);
        m_file.Write(endOfFile);
        m_file.Commit();
    }

private:
    ReplacingFileWriter m_file;
    std::string_view m_lineEnd;
    bool m_finalLineEnd;
    bool m_anyLine = false;
};

// Catalogue texts in the codec of the file: unchanged where the codecs agree or the text is ASCII.
class TextRecoder {
public:
    TextRecoder(const TextCodec& from, const TextCodec& to) : m_from(from), m_to(to) {}

    bool Needed() const { return &m_from != &m_to; }
    std::string_view operator()(std::string_view text, std::string& storage) const {
        if (!Needed() || IsAscii(text)) return text;
        if (&m_from == &Utf8Codec()) {
            storage.clear();  // keeps its memory: a writer converts tens of thousands of texts
            m_to.AppendFromUtf8(text, storage);
        } else {
            storage = Recode(text, m_from, m_to);
        }
        return storage;
    }

private:
    const TextCodec& m_from;
    const TextCodec& m_to;
};

// Column 6 of the MANE32J format: a clone names its master, a NeoGeo master says so.
std::string_view MasterColumn(const TRecordset& game) {
    if (!game.isMaster) return game.parentName;
    return game.isNeoGeo ? "neogeo" : "";
}

// The ZIP names (in the catalogue's codec) that a line read at the next start would translate a
// game of: those of untranslated games.
std::unordered_set<std::string_view> UntranslatedZipNames(const GameList& games) {
    std::unordered_set<std::string_view> names;
    for (const auto& game : games.Items())
        if (!game->translated) names.insert(game->zipName);
    return names;
}

void WriteKeptLines(ListFileWriter& out, const GameList& games, const LoadedNameList& list) {
    if (list.keptLines.empty()) return;
    const std::unordered_set<std::string_view> untranslated = UntranslatedZipNames(games);
    for (const KeptNameListLine& kept : list.keptLines) {
        if (kept.zipName && untranslated.contains(*kept.zipName)) continue;
        out.BeginLine();
        out.Write(kept.bytes);
    }
}

}  // namespace

void WriteMame32J(const std::filesystem::path& path, const GameList& games, const LoadedNameList& list,
                  const TextCodec& catalogueCodec) {
    const NameListFormat& format = list.format;
    ListFileWriter out(path, format);
    const TextRecoder toList(catalogueCodec, *format.codec);
    std::string storage[4];
    for (const TRecordset* game : games.InFileOrder()) {
        if (!game->translated) continue;
        out.BeginLine();
        out.WriteField(toList(game->zipName, storage[0]));
        out.Write("\t");
        out.WriteField(toList(game->japaneseName, storage[1]));
        out.Write("\t");
        out.WriteField(toList(game->reading, storage[2]));
        if (format.columns >= 4) {
            out.Write("\t");
            out.WriteField(toList(game->manufacturer, storage[3]));
        }
    }
    WriteKeptLines(out, games, list);
    out.Commit(list.endOfFile);
}

void WriteMame32J(const std::filesystem::path& path, const GameList& games) {
    WriteMame32J(path, games, LoadedNameList{}, ShiftJisCodec());
}

void WriteMane32J(const std::filesystem::path& path, const GameList& games, const TextCodec& catalogueCodec) {
    LineWriter writer(path);
    const TextRecoder toShiftJis(catalogueCodec, ShiftJisCodec());
    std::string storage[7];
    for (const TRecordset* game : games.InFileOrder()) {
        // An untranslated game carries its English title in both name columns.
        const std::string_view title = game->translated ? game->japaneseName : game->englishName;
        const std::string_view reading = game->translated ? game->reading : game->englishName;
        const std::string channels = std::to_string(game->soundChannels);
        writer.WriteFields({toShiftJis(game->zipName, storage[0]), toShiftJis(title, storage[1]),
                            toShiftJis(reading, storage[2]), toShiftJis(game->manufacturer, storage[3]),
                            toShiftJis(game->year, storage[4]), toShiftJis(MasterColumn(*game), storage[5]),
                            game->hasSamples ? "Sample" : "", game->isVector ? "vector" : "raster", channels,
                            toShiftJis(game->controlType, storage[6]),
                            game->statusGood ? "good" : "preliminary"});
    }
    writer.Commit();
}

void WriteMane32J(const std::filesystem::path& path, const GameList& games) {
    WriteMane32J(path, games, ShiftJisCodec());
}

}  // namespace kanaroll
