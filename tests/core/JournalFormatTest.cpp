// The journal's bytes as a crash leaves them: cut anywhere, filled with zeros by the file system,
// damaged in the middle, or not a journal at all. Whole records always come back; a torn last one
// is left out; nothing is read past damage; a journal whose head is not whole gives nothing.
#include <gtest/gtest.h>
#include <string>
#include <vector>

#include "catalogue/JournalFormat.h"
#include "catalogue/TextCodec.h"

namespace kanaroll {
namespace {

const JournalIdentity kIdentity{{3, 0x1122334455667788ULL}, {4096, 0x99AABBCCDDEEFF00ULL}, 932};

// Edits as typing makes them, with the awkward names and bytes a catalogue may hold.
const std::vector<JournalEdit> kEdits{
    {0, "pacman", EditedField::JapaneseName, Sjis("パックマン")},
    {1, "", EditedField::Reading, Sjis("あ")},                             // an empty ZIP name
    {2, "dup", EditedField::Reading, ""},                                  // a reading emptied
    {3, "dup", EditedField::JapaneseName, std::string("a\0\x1A\r\n", 5)},  // odd bytes are kept
    {4, "galaga", EditedField::JapaneseName, std::string(300, 'x')},
};

struct Journal {
    std::string bytes;
    std::size_t headEnd = 0;
    std::vector<std::size_t> recordEnds;  // where each edit record ends

    std::size_t RecordStart(std::size_t record) const {
        return record == 0 ? headEnd : recordEnds[record - 1];
    }
};

Journal Written(const std::vector<JournalEdit>& edits = kEdits) {
    Journal journal;
    AppendJournalHead(journal.bytes, kIdentity);
    journal.headEnd = journal.bytes.size();
    for (const JournalEdit& edit : edits) {
        AppendJournalEdit(journal.bytes, edit.listOrder, edit.zipName, edit.field, edit.text);
        journal.recordEnds.push_back(journal.bytes.size());
    }
    return journal;
}

std::vector<JournalEdit> FirstEdits(std::size_t count) {
    return {kEdits.begin(), kEdits.begin() + static_cast<std::ptrdiff_t>(count)};
}

TEST(JournalFormat, EveryRecordComesBackAsItWasWritten) {
    const JournalContents contents = ParseJournal(Written().bytes);
    EXPECT_TRUE(contents.Readable());
    EXPECT_EQ(contents.identity, kIdentity);
    EXPECT_EQ(contents.edits, kEdits);
    EXPECT_EQ(contents.tornBytes, 0u);
    EXPECT_FALSE(contents.Damaged());

    const JournalContents empty = ParseJournal("");
    EXPECT_TRUE(empty.Readable());
    EXPECT_TRUE(empty.edits.empty());
}

// A journal cut at every byte of its last two records, as a crash during an append leaves it, and
// the same with the missing bytes present as zeros, as a file system that grew the file before a
// power cut leaves it.
TEST(JournalFormat, ACutAnywhereInTheLastTwoRecordsKeepsEveryWholeRecordAndLeavesTheTornOneOut) {
    const Journal journal = Written();
    const std::size_t from = journal.recordEnds[journal.recordEnds.size() - 3];
    for (std::size_t cut = from; cut <= journal.bytes.size(); ++cut) {
        SCOPED_TRACE("cut at " + std::to_string(cut));
        const std::size_t whole = [&] {
            std::size_t count = 0;
            for (const std::size_t end : journal.recordEnds) count += end <= cut ? 1 : 0;
            return count;
        }();
        const std::size_t wholeEnd = journal.recordEnds[whole - 1];
        for (const bool zeroFilled : {false, true}) {
            std::string bytes = journal.bytes.substr(0, cut);
            if (zeroFilled && whole < journal.recordEnds.size())
                bytes.resize(journal.recordEnds[whole], '\0');
            const JournalContents contents = ParseJournal(bytes);
            EXPECT_TRUE(contents.Readable());
            EXPECT_EQ(contents.edits, FirstEdits(whole)) << "zero-filled " << zeroFilled;
            EXPECT_EQ(contents.tornBytes, bytes.size() - wholeEnd);
            EXPECT_FALSE(contents.Damaged());
        }
    }
    // Zeros after the last whole record, as much as a block or more of them.
    const JournalContents zeros = ParseJournal(journal.bytes + std::string(8192, '\0'));
    EXPECT_EQ(zeros.edits, kEdits);
    EXPECT_EQ(zeros.tornBytes, 8192u);
}

// A changed byte inside any record but the last is damage: the records before it are taken, none
// after it, and the plan will keep the file aside. In the last record it may look like a torn
// write; either way that record alone is left out.
TEST(JournalFormat, DamageInTheMiddleStopsTheReadingThere) {
    const Journal journal = Written();
    for (std::size_t record = 0; record < kEdits.size(); ++record) {
        const std::size_t start = journal.RecordStart(record);
        // Its length, its kind, its field, the last byte of its checksum.
        for (const std::size_t at : {start, start + 4, start + 5, journal.recordEnds[record] - 1}) {
            SCOPED_TRACE("record " + std::to_string(record) + ", byte " + std::to_string(at));
            std::string bytes = journal.bytes;
            bytes[at] ^= 0x40;
            const JournalContents contents = ParseJournal(bytes);
            EXPECT_TRUE(contents.Readable());
            EXPECT_EQ(contents.edits, FirstEdits(record));
            const std::size_t rest = bytes.size() - journal.RecordStart(record);
            if (record + 1 < kEdits.size()) {
                EXPECT_EQ(contents.damagedBytes, rest);
            } else {
                EXPECT_EQ(contents.tornBytes + contents.damagedBytes, rest);
            }
        }
    }
    // A damaged length early in a long journal that sends its record past the end is no torn tail:
    // what follows it is not lost without a word.
    std::vector<JournalEdit> many(1000, kEdits[4]);
    Journal longJournal = Written(many);
    longJournal.bytes[longJournal.RecordStart(1) + 2] = '\x7F';
    const JournalContents cut = ParseJournal(longJournal.bytes);
    EXPECT_EQ(cut.edits.size(), 1u);
    EXPECT_EQ(cut.damagedBytes, longJournal.bytes.size() - longJournal.RecordStart(1));

    // A whole record that holds no edit was never written by the program.
    Journal strange = Written({kEdits[0]});
    AppendJournalFrame(strange.bytes, "X");
    AppendJournalEdit(strange.bytes, 1, "b", EditedField::Reading, "r");
    const JournalContents contents = ParseJournal(strange.bytes);
    EXPECT_EQ(contents.edits, FirstEdits(1));
    EXPECT_TRUE(contents.Damaged());
}

TEST(JournalFormat, AJournalWithoutAWholeHeadGivesNothing) {
    const std::string head = Written({}).bytes;
    struct Case {
        const char* what;
        std::string bytes;
        JournalProblem problem;
    };
    std::string flipped = Written().bytes;
    flipped[kJournalMagic.size() + 9] ^= 0x01;  // a byte of the head's payload
    std::string newer(kJournalMagic);
    AppendJournalFrame(newer, std::string("H\x02\x00", 3) + std::string(36, '\0'));
    std::string garbage;
    for (unsigned value = 12345; garbage.size() < 4096; value = value * 1103515245 + 12345)
        garbage += static_cast<char>(value >> 16);
    const Case cases[] = {
        {"garbage", garbage, JournalProblem::NotAJournal},
        {"a text file", "ZIP\ttitle\treading\r\n", JournalProblem::NotAJournal},
        {"the magic alone", std::string(kJournalMagic), JournalProblem::DamagedHead},
        {"a head cut short", head.substr(0, head.size() - 1), JournalProblem::DamagedHead},
        {"a changed byte in the head", flipped, JournalProblem::DamagedHead},
        {"the magic and garbage", std::string(kJournalMagic) + garbage, JournalProblem::DamagedHead},
        {"a later format", newer, JournalProblem::NewerFormat},
    };
    for (const Case& c : cases) {
        const JournalContents contents = ParseJournal(c.bytes);
        EXPECT_EQ(contents.problem, c.problem) << c.what;
        EXPECT_TRUE(contents.edits.empty()) << c.what;
        EXPECT_EQ(contents.identity, JournalIdentity{}) << c.what;
    }
}

TEST(JournalHasher, GivesTheSameValueForTheSameBytesInAnyPieces) {
    const std::string bytes = Written().bytes;
    const std::uint64_t whole = JournalHash(bytes);
    for (const std::size_t piece : {1, 3, 7, 8, 13, 64}) {
        JournalHasher hasher;
        for (std::size_t at = 0; at < bytes.size(); at += piece)
            hasher.Add(std::string_view(bytes).substr(at, piece));
        EXPECT_EQ(hasher.Value(), whole) << piece;
    }
    EXPECT_NE(JournalHash(""), JournalHash(std::string(1, '\0')));
    EXPECT_NE(JournalHash(std::string(8, '\0')), JournalHash(std::string(16, '\0')));
}

}  // namespace
}  // namespace kanaroll
