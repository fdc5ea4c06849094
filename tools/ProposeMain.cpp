// Proposes titles and readings from the command line, with the engine the window uses:
//
//   kanaroll_propose LISTINFO NAMELIST QUERIES
//
// LISTINFO is MAME's -listinfo or -listxml output, NAMELIST a name list (Shift-JIS, or UTF-8 with
// the byte-order mark). QUERIES holds one query a line, "ZIP" or "ZIP<TAB>TITLE", in the name list's
// encoding. Every game a query names counts as untranslated: its lines in NAMELIST are left out and
// the engine learns from the rest. For each query one line goes to the standard output,
// "ZIP<TAB>title<TAB>reading", in the name list's encoding with LF line ends; a field is empty where
// there is no proposal. A query with a TITLE is a title the user typed: it is repeated, and the
// reading is proposed from it.
#include <cstdio>
#include <exception>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "catalogue/GameList.h"
#include "catalogue/IoError.h"
#include "catalogue/ListInfoReader.h"
#include "catalogue/LoadProgress.h"
#include "catalogue/NameListReader.h"
#include "proposals/ProposalEngine.h"
#include "replace/ReplacePatterns.h"

namespace {

using namespace kanaroll;

struct Query {
    std::string zip;
    std::string title;
    bool hasTitle = false;
};

int Fail(const std::string& message) {
    std::cerr << "kanaroll_propose: " << message << '\n';
    return 1;
}

// The queries, one a line; a line ends at LF or CR LF, and a byte-order mark is not part of the
// first query.
bool ReadQueries(const std::filesystem::path& file, std::vector<Query>& queries) {
    std::ifstream in(file, std::ios::binary);
    if (!in) return false;
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad()) return false;
    if (bytes.starts_with("\xEF\xBB\xBF")) bytes.erase(0, 3);
    std::size_t start = 0;
    while (start < bytes.size()) {
        std::size_t end = bytes.find('\n', start);
        if (end == std::string::npos) end = bytes.size();
        std::string line = bytes.substr(start, end - start);
        if (line.ends_with('\r')) line.pop_back();
        Query query;
        const auto tab = line.find('\t');
        query.zip = line.substr(0, tab);
        if (tab != std::string::npos) {
            query.title = line.substr(tab + 1);
            query.hasTitle = true;
        }
        queries.push_back(std::move(query));
        start = end + 1;
    }
    return true;
}

bool Readable(const std::filesystem::path& file) {
    std::error_code error;
    if (!std::filesystem::is_regular_file(file, error)) return false;
    std::ifstream in(file, std::ios::binary);
    return static_cast<bool>(in);
}

std::string ZipOf(std::string_view line) {
    return std::string(line.substr(0, line.find('\t')));
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 4) {
        std::cerr << "usage: kanaroll_propose LISTINFO NAMELIST QUERIES\n";
        return 2;
    }
    const std::filesystem::path listInfo = argv[1];
    const std::filesystem::path nameList = argv[2];
    const std::filesystem::path queryFile = argv[3];
    for (const auto& file : {listInfo, nameList, queryFile})
        if (!Readable(file)) return Fail("cannot read " + file.string());
    try {
        std::vector<Query> queries;
        if (!ReadQueries(queryFile, queries)) return Fail("cannot read " + queryFile.string());
        const TextCodec& codec = NameListCodec(nameList);
        GameList games;
        NoLoadProgress progress;
        if (!ReadListInfo(listInfo, games, progress, codec))
            return Fail(listInfo.string() + " is no listinfo.txt that can be read");
        int translated = 0;
        LoadedNameList loaded = MergeNameList(nameList, games, translated, codec);

        // The queried games are the ones to translate: whatever the list says of them is unlearned.
        std::unordered_set<std::string> asked;
        for (const Query& query : queries) asked.insert(query.zip);
        std::unordered_map<std::string, TRecordset*> byZip;
        for (auto& record : games.Items()) {
            byZip.emplace(record->zipName, record.get());
            if (asked.count(record->zipName) && record->translated) {
                record->japaneseName = record->englishName;
                record->reading.clear();
                record->translated = false;
            }
        }
        std::vector<KeptNameListLine> kept;
        for (KeptNameListLine& line : loaded.keptLines)
            if (!asked.count(ZipOf(line.bytes))) kept.push_back(std::move(line));

        ProposalEngine engine;
        engine.Learn(games, codec, DefaultReplaceRules(codec), kept);

        std::string out;
        for (const Query& query : queries) {
            TRecordset unknown;
            unknown.zipName = query.zip;
            const auto found = byZip.find(query.zip);
            const TRecordset& game = found == byZip.end() ? unknown : *found->second;
            out += query.zip;
            out += '\t';
            if (query.hasTitle) {
                out += query.title;
                out += '\t';
                out += engine.ProposeReadingForTitle(game, query.title);
            } else {
                out += engine.ProposeTitle(game);
                out += '\t';
                out += engine.ProposeReading(game);
            }
            out += '\n';
        }
        std::fwrite(out.data(), 1, out.size(), stdout);
        if (std::fflush(stdout) != 0) return Fail("cannot write the proposals");
    } catch (const std::exception& error) {
        return Fail(error.what());
    }
    return 0;
}
