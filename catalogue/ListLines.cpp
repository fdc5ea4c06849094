#include "catalogue/ListLines.h"

#include <initializer_list>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "catalogue/Prefetch.h"
#include "catalogue/Recode.h"
#include "catalogue/TabFields.h"
#include "catalogue/TextFile.h"

namespace kanaroll {

namespace {

constexpr char kCtrlZ = 26;
// How far the walk over the games asks ahead for their records, and half as far for their texts.
constexpr std::size_t kLookAhead = 16;

ListFileStyle StyleOf(const LoadedNameList& list, ListFormat format) {
    if (format == ListFormat::MameUi) return {.codec = &Utf8Codec(), .byteOrderMark = true};
    const NameListFormat& kept = list.format;
    return {.codec = kept.codec,
            .byteOrderMark = kept.byteOrderMark,
            .lineEnd = kept.lineEnd,
            .finalLineEnd = kept.finalLineEnd,
            .endOfFile = list.endOfFile};
}

// A kept line's text as the merge read it: cut at a Ctrl-Z, without its CRs.
std::string_view KeptLineText(std::string_view raw, std::string& storage) {
    const auto mark = raw.find(kCtrlZ);
    if (mark != std::string_view::npos) raw = raw.substr(0, mark);
    if (raw.find('\r') == std::string_view::npos) return raw;
    storage.clear();
    for (const char c : raw)
        if (c != '\r') storage += c;
    return storage;
}

// The field that starts `rest` and runs to the next TAB or to the end, taken off `rest` with its
// TAB; `hadTab` tells whether a TAB ended it.
std::string_view TakeField(std::string_view& rest, bool& hadTab) {
    const auto tab = rest.find('\t');
    hadTab = tab != std::string_view::npos;
    const std::string_view field = rest.substr(0, tab);
    rest.remove_prefix(hadTab ? tab + 1 : rest.size());
    return field;
}

// `line` := the fields in the file's codec, separated by TABs.
void SetLine(std::string& line, const TextRecoder& toFile, std::string& storage,
             std::initializer_list<std::string_view> fields) {
    line.clear();
    bool first = true;
    for (const std::string_view field : fields) {
        if (!first) line += '\t';
        first = false;
        AppendField(line, toFile(field, storage));
    }
}

// The ZIP names of the catalogue (in its codec), each with whether a game of that name is
// untranslated.
std::unordered_map<std::string_view, bool> CatalogueZipNames(const GameList& games) {
    std::unordered_map<std::string_view, bool> names;
    names.reserve(games.Items().size());
    for (const auto& game : games.Items()) {
        const auto [entry, added] = names.try_emplace(game->zipName, !game->translated);
        if (!added && !game->translated) entry->second = true;
    }
    return names;
}

}  // namespace

ListLines::ListLines(const GameList& games, const LoadedNameList& list, const TextCodec& catalogueCodec,
                     ListFormat format)
    : m_games(games),
      m_list(list),
      m_catalogueCodec(catalogueCodec),
      m_format(format),
      m_style(StyleOf(list, format)) {}

void ListLines::ForEach(const std::function<void(const ListLine&)>& visit) const {
    const TextRecoder toFile(m_catalogueCodec, *m_style.codec);
    const bool manufacturer = m_format == ListFormat::Mame32J && m_list.format.columns >= 4;
    std::string text;
    std::string storage;
    ListLine line;
    const std::vector<int> order = m_games.IndexesInFileOrder();
    const GameList::Records& records = m_games.Items();
    for (std::size_t at = 0; at < order.size(); ++at) {
        if (at + kLookAhead < order.size()) {
            const TRecordset& ahead = *records[static_cast<std::size_t>(order[at + kLookAhead])];
            Prefetch(&ahead);
            Prefetch(&ahead.translated);
        }
        if (at + kLookAhead / 2 < order.size()) {
            const TRecordset& ahead = *records[static_cast<std::size_t>(order[at + kLookAhead / 2])];
            if (ahead.translated) {
                Prefetch(ahead.japaneseName.data());
                Prefetch(ahead.reading.data());
            }
        }
        const int index = order[at];
        const TRecordset& game = *records[static_cast<std::size_t>(index)];
        if (!game.translated) continue;
        SetLine(text, toFile, storage, {game.zipName, game.japaneseName, game.reading});
        if (manufacturer) {
            text += '\t';
            AppendField(text, toFile(game.manufacturer, storage));
        }
        line.text = text;
        ++line.lineNumber;
        line.game = index;
        visit(line);
    }
    ForEachKept(visit, line);
}

// The Mame32J format writes every kept line back as it stood, except one that would give a game the
// user left untranslated its translation back at the next start (a later line of a game whose
// reading the user emptied); it stays kept, for a save after the game is translated again. Which
// game a line would translate is the ZIP name the merge read from it.
//
// MAME's UI takes the first line of a ZIP name and warns about the others, and it has no use for a
// line without a TAB. So the MameUi format takes a kept line only when it names a game the catalogue
// lacks, and the first line of each such name only: a later line of a catalogue's game would only be
// warned about, and one of a game the user left untranslated would bring its translation back.
void ListLines::ForEachKept(const std::function<void(const ListLine&)>& visit, ListLine& line) const {
    const std::size_t count = KeptLineCount(m_list);
    if (count == 0) return;
    const std::unordered_map<std::string_view, bool> catalogueNames = CatalogueZipNames(m_games);
    const TextRecoder toFile(*m_list.format.codec, *m_style.codec);
    std::unordered_set<std::string> namesWritten;
    std::string cleaned;
    std::string storage;
    std::string text;
    line.game = -1;
    for (std::size_t kept = 0; kept < count; ++kept) {
        const KeptNameListLine& keptLine = m_list.keptLines[kept];
        const auto known = keptLine.zipName ? catalogueNames.find(*keptLine.zipName) : catalogueNames.end();
        if (m_format == ListFormat::Mame32J) {
            if (known != catalogueNames.end() && known->second) continue;
            line.text = keptLine.bytes;
        } else {
            const MameLineFields fields = SplitAsMame(KeptLineText(keptLine.bytes, cleaned));
            if (!fields.namesGame || !keptLine.zipName || known != catalogueNames.end() ||
                !namesWritten.emplace(*keptLine.zipName).second)
                continue;
            SetLine(text, toFile, storage, {fields.zipName, fields.title, fields.reading});
            line.text = text;
        }
        ++line.lineNumber;
        line.kept = static_cast<int>(kept);
        visit(line);
    }
}

MameLineFields SplitAsMame(std::string_view text) {
    MameLineFields fields;
    std::string_view rest = text;
    const std::string_view zipName = TakeField(rest, fields.namesGame);
    if (!fields.namesGame) return fields;
    fields.zipName = zipName;
    fields.title = TakeField(rest, fields.hasReading);
    bool ignored = false;
    if (fields.hasReading) fields.reading = TakeField(rest, ignored);
    return fields;
}

void WriteListLines(const std::filesystem::path& path, const ListLines& lines) {
    const ListFileStyle& style = lines.Style();
    ReplacingFileWriter file(path);
    if (style.byteOrderMark) file.Write("\xEF\xBB\xBF");
    bool anyLine = false;
    lines.ForEach([&](const ListLine& line) {
        if (anyLine) file.Write(style.lineEnd);
        anyLine = true;
        file.Write(line.text);
    });
    if (anyLine && (style.finalLineEnd || !style.endOfFile.empty())) file.Write(style.lineEnd);
    file.Write(style.endOfFile);
    file.Commit();
}

std::size_t KeptLineCount(const LoadedNameList& list) {
    return list.keptLines.size();
}

std::string_view KeptLineBytes(const LoadedNameList& list, std::size_t index) {
    return list.keptLines[index].bytes;
}

}  // namespace kanaroll
