#include "bench/TypingJournal.h"

#include <string>

#include "catalogue/RecoveryJournal.h"
#include "catalogue/TextCodec.h"

namespace kanaroll::bench {

namespace {
constexpr int kKeystrokesPerField = 10;
}

void WriteTypingJournal(const std::filesystem::path& path, const JournalIdentity& identity,
                        const GameList& games, int records) {
    RecoveryJournal journal(path);
    journal.Start(identity);
    const std::string title = Sjis("ストリートファイターII ダッシュ");
    const std::string reading = Sjis("すとりーとふぁいたーつーだっしゅ");
    int written = 0;
    for (int game = 0; written < records; game = (game + 97) % games.Count()) {
        TRecordset edited = games[game];
        for (int key = 1; key <= kKeystrokesPerField && written < records; ++key, ++written) {
            edited.japaneseName = title.substr(0, 2 * key);
            journal.Append(edited, EditedField::JapaneseName);
        }
        for (int key = 1; key <= kKeystrokesPerField && written < records; ++key, ++written) {
            edited.reading = reading.substr(0, 2 * key);
            journal.Append(edited, EditedField::Reading);
        }
    }
    journal.Close();
}

}  // namespace kanaroll::bench
