#include "catalogue/RecoveryJournal.h"

#include <cstdint>
#include <string_view>
#include <system_error>
#include <utility>

#include "catalogue/IoError.h"
#include "catalogue/RecoveryPlan.h"
#include "catalogue/TextFile.h"

namespace kanaroll {

namespace {

constexpr std::size_t kChunk = 1 << 20;

void AddLength(JournalHasher& hasher, std::size_t length) {
    char bytes[4];
    for (std::size_t k = 0; k < 4; ++k) bytes[k] = static_cast<char>((length >> (8 * k)) & 0xFF);
    hasher.Add(std::string_view(bytes, 4));
}

// Every byte of a file, through the file layer; with `journalOnly`, only the first chunk of a file
// that does not begin as a journal, which is all that tells it is none.
std::string ReadBytes(const std::filesystem::path& path, bool journalOnly = false) {
    InputFile file(path);
    std::string bytes;
    for (;;) {
        const std::size_t size = bytes.size();
        bytes.resize(size + kChunk);
        const std::size_t got = file.Read(bytes.data() + size, kChunk);
        bytes.resize(size + got);
        if (got == 0 || (journalOnly && !bytes.starts_with(kJournalMagic))) return bytes;
    }
}

bool Taken(const std::filesystem::path& path) {
    std::error_code error;
    return std::filesystem::exists(std::filesystem::symlink_status(path, error));
}

}  // namespace

CatalogueIdentity IdentifyCatalogue(const GameList& games) {
    JournalHasher hasher;
    for (const TRecordset* game : games.InFileOrder()) {
        AddLength(hasher, game->zipName.size());
        hasher.Add(game->zipName);
    }
    return {static_cast<std::uint32_t>(games.Count()), hasher.Value()};
}

NameListIdentity IdentifyNameList(const std::filesystem::path& file) {
    JournalHasher hasher;
    std::uint64_t size = 0;
    if (FileExists(file)) {
        InputFile input(file);
        std::string buffer(kChunk, '\0');
        while (const std::size_t got = input.Read(buffer.data(), buffer.size())) {
            hasher.Add(std::string_view(buffer.data(), got));
            size += got;
        }
    }
    return {size, hasher.Value()};
}

std::optional<JournalContents> ReadJournal(const std::filesystem::path& path) {
    if (!Taken(path)) return std::nullopt;
    return ParseJournal(ReadBytes(path, true));
}

std::tm LocalTimeNow() {
    const std::time_t now = std::time(nullptr);
    const std::tm* local = std::localtime(&now);  // one thread: the C library's own buffer is safe here
    return local ? *local : std::tm{};
}

std::filesystem::path JournalAsideName(const std::filesystem::path& path, const std::tm& when) {
    char stamp[32];
    if (std::strftime(stamp, sizeof stamp, "-%Y-%m-%d-%H%M%S", &when) == 0) stamp[0] = '\0';
    std::filesystem::path name = path.stem();
    name += stamp;
    for (int attempt = 1;; ++attempt) {
        std::filesystem::path candidate = name;
        if (attempt > 1) candidate += "-" + std::to_string(attempt);
        candidate += path.extension();
        candidate = path.parent_path() / candidate;
        if (!Taken(candidate)) return candidate;
    }
}

std::filesystem::path MoveJournalAside(const std::filesystem::path& path, const std::tm& when) {
    const std::filesystem::path aside = JournalAsideName(path, when);
    RenameFile(path, aside);
    return aside;
}

std::filesystem::path CopyJournalAside(const std::filesystem::path& path, const std::tm& when) {
    const std::string bytes = ReadBytes(path);
    const std::filesystem::path aside = JournalAsideName(path, when);
    ReplacingFileWriter writer(aside);
    writer.Write(bytes);
    writer.Commit();
    return aside;
}

RecoveryJournal::RecoveryJournal(std::filesystem::path path) : m_path(std::move(path)) {}

RecoveryJournal::~RecoveryJournal() = default;

template <typename Step>
void RecoveryJournal::Failing(Step step) {
    try {
        step();
    } catch (...) {
        m_file.reset();
        m_unsynced = false;
        throw;
    }
}

void RecoveryJournal::Start(const JournalIdentity& identity) {
    StartWith(identity, RecoveryPlan{}, GameList{});
}

void RecoveryJournal::StartWith(const JournalIdentity& identity, const RecoveryPlan& plan,
                                const GameList& games) {
    Failing([&] {
        // Windows replaces no file that is open, and the journal is rewritten as a whole anyway.
        m_file.reset();
        m_unsynced = false;
        std::string bytes;
        AppendJournalHead(bytes, identity);
        for (const ReplayEdit& edit : plan.edits) {
            const TRecordset& game = games[edit.game];
            AppendJournalEdit(bytes, game.listOrder, game.zipName, edit.field, edit.text);
        }
        ReplacingFileWriter writer(m_path);
        writer.Write(bytes);
        writer.Commit();
        m_file = std::make_unique<AppendingFile>(m_path);
    });
}

void RecoveryJournal::Append(const TRecordset& game, EditedField field) {
    if (!m_file) return;
    Failing([&] {
        m_record.clear();
        AppendJournalEdit(m_record, game.listOrder, game.zipName, field, FieldText(game, field));
        m_file->Append(m_record);
        m_unsynced = true;
    });
}

void RecoveryJournal::Flush() {
    if (!m_file || !m_unsynced) return;
    Failing([&] {
        m_file->Sync();
        m_unsynced = false;
    });
}

void RecoveryJournal::Delete() {
    m_file.reset();
    m_unsynced = false;
    RemoveFile(m_path);
}

void RecoveryJournal::Close() {
    if (!m_file) return;
    Failing([&] {
        m_file->Close();
        m_file.reset();
        m_unsynced = false;
    });
}

}  // namespace kanaroll
