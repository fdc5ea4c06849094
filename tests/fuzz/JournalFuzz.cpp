// The input's first line is a catalogue: ZIP names separated by TABs, repeats and empty names
// allowed. The rest is a journal: after "R" its bytes as they are; after "S" (a journal of this
// catalogue) or "C" (of another one) payloads separated by "|#|", each framed with a right
// checksum, so that the fuzzer reaches the decoding of records and not only the checksums.
//
// Properties: the reader takes anything; what it reads is written back to the same edits; a journal
// cut short gives a prefix of its edits; the plan sends an edit only to the game it names (its place
// and ZIP name in the same catalogue, the only game of its ZIP name in another), accounts for every
// edit, and the replay changes as many games as the plan said.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "catalogue/RecoveryJournal.h"
#include "catalogue/RecoveryPlan.h"
#include "tests/fuzz/FuzzSupport.h"

namespace kanaroll::fuzz {
namespace {

GameList Catalogue(std::string_view line) {
    GameList games;
    for (const auto name : Split(line, '\t')) {
        auto game = std::make_unique<TRecordset>();
        game->zipName = name;
        game->englishName = game->japaneseName = "game " + std::to_string(games.Count());
        game->translated = games.Count() % 3 == 0;
        game->listOrder = games.Count();
        games.Append(std::move(game));
        if (games.Count() == 64) break;
    }
    return games;
}

std::string Journal(std::string_view rest, const JournalIdentity& identity) {
    if (rest.empty() || rest[0] == 'R') return std::string(rest.empty() ? rest : rest.substr(1));
    JournalIdentity head = identity;
    if (rest[0] == 'C') ++head.catalogue.gameCount;
    std::string bytes;
    AppendJournalHead(bytes, head);
    rest.remove_prefix(1);
    for (;;) {
        const auto separator = rest.find("|#|");
        AppendJournalFrame(bytes, rest.substr(0, separator));
        if (separator == std::string_view::npos) return bytes;
        rest.remove_prefix(separator + 3);
    }
}

bool IsPrefix(const std::vector<JournalEdit>& part, const std::vector<JournalEdit>& whole) {
    if (part.size() > whole.size()) return false;
    for (std::size_t i = 0; i < part.size(); ++i)
        if (!(part[i] == whole[i])) return false;
    return true;
}

void CheckWrittenBack(const JournalContents& contents) {
    std::string bytes;
    AppendJournalHead(bytes, contents.identity);
    for (const JournalEdit& edit : contents.edits)
        AppendJournalEdit(bytes, edit.listOrder, edit.zipName, edit.field, edit.text);
    const JournalContents again = ParseJournal(bytes);
    FUZZ_CHECK(again.Readable() && again.identity == contents.identity);
    FUZZ_CHECK(again.edits == contents.edits);
    FUZZ_CHECK(again.tornBytes == 0 && !again.Damaged());
}

// The game an edit belongs to, found by a plain scan: -1 for none, -2 for several.
int ExpectedGame(const GameList& games, const JournalEdit& edit, bool sameCatalogue) {
    int found = -1;
    for (int i = 0; i < games.Count(); ++i) {
        if (games[i].zipName != edit.zipName || (sameCatalogue && games[i].listOrder != edit.listOrder))
            continue;
        found = found == -1 ? i : -2;
    }
    return found;
}

void CheckPlan(const JournalContents& contents, GameList& games, const JournalIdentity& current) {
    const RecoveryPlan plan = PlanRecovery(contents, games, current);
    FUZZ_CHECK(plan.damaged == (contents.Damaged() || !contents.Readable()));
    FUZZ_CHECK(plan.catalogueChanged ==
               (contents.Readable() && !(contents.identity.catalogue == current.catalogue)));
    std::size_t applied = 0;
    std::size_t left = 0;
    const std::vector<JournalEdit>& edits = contents.Readable() ? contents.edits : std::vector<JournalEdit>{};
    for (const JournalEdit& edit : edits) {
        const int game = ExpectedGame(games, edit, !plan.catalogueChanged);
        if (game >= 0) {
            FUZZ_CHECK(applied < plan.edits.size());
            const ReplayEdit& planned = plan.edits[applied++];
            FUZZ_CHECK(planned.game == game && planned.field == edit.field && planned.text == edit.text);
        } else {
            FUZZ_CHECK(left < plan.unapplied.size() && plan.unapplied[left].edit == edit);
            FUZZ_CHECK((plan.unapplied[left++].reason == UnappliedReason::AmbiguousZipName) == (game == -2));
        }
    }
    FUZZ_CHECK(applied == plan.edits.size() && left == plan.unapplied.size());
    FUZZ_CHECK(plan.firstGame == (plan.edits.empty() ? -1 : plan.edits.front().game));

    int translatedCount = games.CountTranslated();
    FUZZ_CHECK(ReplayRecovery(plan, games, translatedCount) == plan.gamesChanged);
    FUZZ_CHECK(translatedCount == games.CountTranslated());
}

}  // namespace
}  // namespace kanaroll::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace kanaroll;
    using namespace kanaroll::fuzz;
    const std::string_view input = AsText(data, size);
    const auto lineEnd = input.find('\n');
    GameList games = Catalogue(input.substr(0, lineEnd));
    const JournalIdentity current{IdentifyCatalogue(games), {}, 932};
    const std::string bytes =
        Journal(lineEnd == std::string_view::npos ? std::string_view{} : input.substr(lineEnd + 1), current);

    const JournalContents contents = ParseJournal(bytes);
    if (contents.Readable()) CheckWrittenBack(contents);
    for (const std::size_t cut : {bytes.size() / 2, bytes.size() - (bytes.empty() ? 0 : 1)}) {
        const JournalContents part = ParseJournal(std::string_view(bytes).substr(0, cut));
        FUZZ_CHECK(!contents.Readable() || !part.Readable() || IsPrefix(part.edits, contents.edits));
    }
    CheckPlan(contents, games, current);
    return 0;
}
