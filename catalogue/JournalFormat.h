#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "catalogue/StoredEdit.h"

// The bytes of the recovery journal. A journal is the 16 bytes "KANAROLL-JOURNAL", a head record,
// then one record per stored edit. Every record is framed the same way:
//
//   u32 payload length, payload, u32 checksum of the length and the payload
//
// (integers little-endian), so that a record the system never got whole, the last one after a
// crash, is recognised and left out, and damage anywhere else is seen as damage.
//
//   head payload:  'H', u16 format version (1), u32 code page of the texts, u32 number of games,
//                  u64 hash of the ZIP names in file order, u64 name list size, u64 name list hash
//   edit payload:  'E', u8 field (0 title, 1 reading), i32 listOrder of the game, u32 length and
//                  bytes of its ZIP name, u32 length and bytes of the text stored
//
// Texts are the catalogue's own bytes, in the code page the head names.
namespace kanaroll {

inline constexpr std::string_view kJournalMagic = "KANAROLL-JOURNAL";
inline constexpr std::uint16_t kJournalVersion = 1;

// A 64-bit hash of bytes, taken eight at a time: the same on every platform and in both builds.
// Bytes can be added in pieces of any size; the value depends only on the bytes.
class JournalHasher {
public:
    void Add(std::string_view bytes);
    std::uint64_t Value() const;

private:
    void Mix(std::uint64_t word);

    std::uint64_t m_state = 0x6B616E61726F6C6CULL;
    std::uint64_t m_length = 0;
    std::uint64_t m_pending = 0;  // bytes of an unfinished word, the first in the lowest byte
};

std::uint64_t JournalHash(std::string_view bytes);

// What a journal belongs to. A record addresses its game by its position in the file order, which
// only the same catalogue keeps; texts mean something only in their own code page; and a name list
// that changed since may already hold what the journal would restore.
struct CatalogueIdentity {
    std::uint32_t gameCount = 0;
    std::uint64_t zipNamesHash = 0;  // every ZIP name in file order, each with its length
    bool operator==(const CatalogueIdentity&) const = default;
};

struct NameListIdentity {
    std::uint64_t size = 0;  // 0 and the hash of no bytes when there is no name list
    std::uint64_t hash = 0;
    bool operator==(const NameListIdentity&) const = default;
};

struct JournalIdentity {
    CatalogueIdentity catalogue;
    NameListIdentity nameList;
    std::uint32_t codePage = 932;
    bool operator==(const JournalIdentity&) const = default;
};

// One stored edit: the game, by its listOrder and ZIP name, and the text its field got.
struct JournalEdit {
    std::int32_t listOrder = 0;
    std::string zipName;
    EditedField field = EditedField::JapaneseName;
    std::string text;
    bool operator==(const JournalEdit&) const = default;
};

// Why a journal cannot be read at all. Nothing of such a journal is ever applied.
enum class JournalProblem {
    None,
    NotAJournal,  // it does not begin as a journal does
    DamagedHead,  // the head record is torn or damaged, so nothing says what the edits belong to
    NewerFormat,  // written by a later version of the program
};

struct JournalContents {
    JournalProblem problem = JournalProblem::None;
    JournalIdentity identity;
    std::vector<JournalEdit> edits;  // every whole record, in the order they were stored
    std::uint64_t tornBytes = 0;     // an unfinished last record, left out
    // Bytes from a damaged record to the end, left unread: the edits before it are whole and
    // checked, the rest is lost unless someone repairs the file.
    std::uint64_t damagedBytes = 0;

    bool Readable() const { return problem == JournalProblem::None; }
    bool Damaged() const { return damagedBytes > 0; }
};

// The longest unfinished last record that still counts as torn rather than damaged: a record of a
// typed edit is far shorter, and a damaged length in the middle of the file must not pass for one.
inline constexpr std::size_t kLongestTornRecord = 64 * 1024;

// Framing: appends the record that holds `payload`.
void AppendJournalFrame(std::string& out, std::string_view payload);
// The magic and the head record.
void AppendJournalHead(std::string& out, const JournalIdentity& identity);
void AppendJournalEdit(std::string& out, std::int32_t listOrder, std::string_view zipName, EditedField field,
                       std::string_view text);

// Reads a whole journal from its bytes. An empty file is a readable journal without edits.
JournalContents ParseJournal(std::string_view bytes);

}  // namespace kanaroll
