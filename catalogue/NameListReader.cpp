#include "catalogue/NameListReader.h"

#include <cstddef>
#include <unordered_map>
#include <vector>

#include "catalogue/TextFile.h"

namespace kanaroll {

namespace {

struct NameListFields {
    std::string_view zipName;
    std::string_view title;
    std::string_view reading;
};

// Each field is the text up to the TAB that ends it. Where a TAB is missing the field is empty and
// nothing is removed, so every later field is empty too: the rest of the line holds no TAB either.
NameListFields CutFields(std::string_view line) {
    const auto take = [&line]() -> std::string_view {
        const auto tab = line.find('\t');
        if (tab == std::string_view::npos) return {};
        const auto field = line.substr(0, tab);
        line.remove_prefix(tab + 1);
        return field;
    };
    NameListFields fields;
    fields.zipName = take();
    fields.title = take();
    fields.reading = take();
    return fields;
}

// Finds the first untranslated game of a ZIP name in catalogue order, as a scan from index 0 that
// skips translated games would, in constant time per line. Each name keeps its games' indexes in
// ascending order and a cursor that passes over the ones already translated; a flag only ever turns
// true during a merge, so the cursor never has to go back.
class UntranslatedByZipName {
public:
    explicit UntranslatedByZipName(GameList& games) : m_games(games) {
        m_byName.reserve(static_cast<std::size_t>(games.Count()));
        for (int index = 0; index < games.Count(); ++index) {
            const auto [entry, inserted] = m_byName.try_emplace(games[index].zipName, Games{index, {}, 0});
            if (!inserted) entry->second.later.push_back(index);
        }
    }

    TRecordset* Find(std::string_view zipName) {
        const auto found = m_byName.find(zipName);
        if (found == m_byName.end()) return nullptr;
        Games& games = found->second;
        for (; games.cursor <= games.later.size(); ++games.cursor) {
            TRecordset& game = m_games[games.At(games.cursor)];
            if (!game.translated) return &game;
        }
        return nullptr;
    }

private:
    struct Games {
        int first;
        std::vector<int> later;  // ZIP names are unique in a catalogue from listinfo.txt: mostly empty
        std::size_t cursor = 0;
        int At(std::size_t position) const { return position == 0 ? first : later[position - 1]; }
    };

    GameList& m_games;
    // The keys view the games' zipName, which the merge never changes.
    std::unordered_map<std::string_view, Games> m_byName;
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

void MergeNameListLines(const NameListLineSource& nextLine, GameList& games, int& translatedCount) {
    UntranslatedByZipName untranslated(games);
    std::string_view line;
    while (nextLine(line)) {
        const NameListFields fields = CutFields(line);
        TRecordset* game = untranslated.Find(fields.zipName);
        if (!game) continue;
        game->japaneseName.assign(fields.title);
        game->reading.assign(fields.reading);
        game->translated = true;
        ++translatedCount;
    }
}

void MergeNameList(const std::filesystem::path& file, GameList& games, int& translatedCount) {
    LineReader reader(file);
    MergeNameListLines([&reader](std::string_view& line) { return reader.Next(line); }, games,
                       translatedCount);
}

void ReadNameList(const std::filesystem::path& exeDir, GameList& games, int& translatedCount,
                  LoadProgress& progress) {
    const auto choice = ChooseNameList(exeDir);
    if (!choice) return;
    const LoadWaitCursor waitCursor(progress);
    const ProgressTextClearer clearer(progress);  // runs before the cursor returns
    progress.SetStatusText(0, choice->displayName + "から読み込み中...");
    progress.ProcessPendingMessages();
    MergeNameList(choice->file, games, translatedCount);
}

}  // namespace kanaroll
