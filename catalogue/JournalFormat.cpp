#include "catalogue/JournalFormat.h"

#include <algorithm>
#include <limits>
#include <stdexcept>

namespace kanaroll {

namespace {

constexpr char kHeadKind = 'H';
constexpr char kEditKind = 'E';
constexpr std::size_t kLengthBytes = 4;
constexpr std::size_t kChecksumBytes = 4;

constexpr std::uint64_t RotateLeft(std::uint64_t value, int bits) {
    return (value << bits) | (value >> (64 - bits));
}

// Little-endian, whatever the machine: the same bytes from both builds.
std::uint64_t LoadWord(const char* bytes, std::size_t count) {
    std::uint64_t word = 0;
    for (std::size_t k = 0; k < count; ++k)
        word |= std::uint64_t{static_cast<unsigned char>(bytes[k])} << (8 * k);
    return word;
}

void PutInteger(std::string& out, std::uint64_t value, std::size_t bytes) {
    for (std::size_t k = 0; k < bytes; ++k) out += static_cast<char>((value >> (8 * k)) & 0xFF);
}

void PutText(std::string& out, std::string_view text) {
    if (text.size() > std::numeric_limits<std::uint32_t>::max())
        throw std::length_error("a text too long for the journal");
    PutInteger(out, text.size(), 4);
    out.append(text);
}

// A frame is written around its payload in place: a length to fill in, the payload, the checksum.
std::size_t BeginFrame(std::string& out) {
    const std::size_t start = out.size();
    out.append(kLengthBytes, '\0');
    return start;
}

std::uint32_t FrameChecksum(std::string_view lengthAndPayload) {
    return static_cast<std::uint32_t>(JournalHash(lengthAndPayload));
}

void EndFrame(std::string& out, std::size_t start) {
    const std::size_t payload = out.size() - start - kLengthBytes;
    if (payload > std::numeric_limits<std::uint32_t>::max())
        throw std::length_error("a record too long for the journal");
    for (std::size_t k = 0; k < kLengthBytes; ++k)
        out[start + k] = static_cast<char>((payload >> (8 * k)) & 0xFF);
    PutInteger(out, FrameChecksum(std::string_view(out).substr(start)), kChecksumBytes);
}

// Takes integers and texts from the front of a payload; every Take is false once the bytes run out.
class PayloadReader {
public:
    explicit PayloadReader(std::string_view bytes) : m_bytes(bytes) {}

    template <typename Integer>
    bool Take(Integer& value) {
        if (m_bytes.size() < sizeof(Integer)) return false;
        value = static_cast<Integer>(LoadWord(m_bytes.data(), sizeof(Integer)));
        m_bytes.remove_prefix(sizeof(Integer));
        return true;
    }

    bool TakeText(std::string& text) {
        std::uint32_t length = 0;
        if (!Take(length) || m_bytes.size() < length) return false;
        text.assign(m_bytes.substr(0, length));
        m_bytes.remove_prefix(length);
        return true;
    }

    bool AtEnd() const { return m_bytes.empty(); }

private:
    std::string_view m_bytes;
};

enum class FrameStatus { Whole, RunsPastEnd, BadChecksum, BadLength };

struct Frame {
    FrameStatus status = FrameStatus::BadLength;
    std::string_view payload;
    std::size_t size = 0;  // the whole frame, when its length could be read
};

Frame ReadFrame(std::string_view bytes) {
    Frame frame;
    if (bytes.size() < kLengthBytes) {
        frame.status = FrameStatus::RunsPastEnd;
        return frame;
    }
    const std::uint64_t length = LoadWord(bytes.data(), kLengthBytes);
    if (length == 0) return frame;  // every payload has at least its kind
    const std::uint64_t size = kLengthBytes + length + kChecksumBytes;
    frame.size =
        static_cast<std::size_t>(std::min<std::uint64_t>(size, std::numeric_limits<std::size_t>::max()));
    if (size > bytes.size()) {
        frame.status = FrameStatus::RunsPastEnd;
        return frame;
    }
    const std::size_t checked = kLengthBytes + static_cast<std::size_t>(length);
    const auto checksum = static_cast<std::uint32_t>(LoadWord(bytes.data() + checked, kChecksumBytes));
    if (checksum != FrameChecksum(bytes.substr(0, checked))) {
        frame.status = FrameStatus::BadChecksum;
        return frame;
    }
    frame.status = FrameStatus::Whole;
    frame.payload = bytes.substr(kLengthBytes, static_cast<std::size_t>(length));
    return frame;
}

bool DecodeEdit(std::string_view payload, JournalEdit& edit) {
    PayloadReader reader(payload);
    char kind = 0;
    std::uint8_t field = 0;
    if (!reader.Take(kind) || kind != kEditKind || !reader.Take(field) || field > 1) return false;
    edit.field = static_cast<EditedField>(field);
    return reader.Take(edit.listOrder) && reader.TakeText(edit.zipName) && reader.TakeText(edit.text) &&
           reader.AtEnd();
}

JournalProblem DecodeHead(std::string_view payload, JournalIdentity& identity) {
    PayloadReader reader(payload);
    char kind = 0;
    std::uint16_t version = 0;
    if (!reader.Take(kind) || kind != kHeadKind || !reader.Take(version) || version == 0)
        return JournalProblem::DamagedHead;
    if (version > kJournalVersion) return JournalProblem::NewerFormat;
    const bool whole = reader.Take(identity.codePage) && reader.Take(identity.catalogue.gameCount) &&
                       reader.Take(identity.catalogue.zipNamesHash) && reader.Take(identity.nameList.size) &&
                       reader.Take(identity.nameList.hash) && reader.AtEnd();
    return whole ? JournalProblem::None : JournalProblem::DamagedHead;
}

bool AllZero(std::string_view bytes) {
    return std::all_of(bytes.begin(), bytes.end(), [](char c) { return c == '\0'; });
}

// What a crash leaves at the end: a record the system did not get whole, or one whose last bytes,
// or all of it, read as zeros because the file system grew the file without writing them.
bool IsTornTail(const Frame& frame, std::string_view rest) {
    if (AllZero(rest)) return true;
    if (rest.size() > kLongestTornRecord) return false;
    return frame.status == FrameStatus::RunsPastEnd ||
           (frame.status == FrameStatus::BadChecksum && AllZero(rest.substr(frame.size)));
}

}  // namespace

void JournalHasher::Mix(std::uint64_t word) {
    word *= 0x87C37B91114253D5ULL;
    word = RotateLeft(word, 31);
    word *= 0x4CF5AD432745937FULL;
    m_state ^= word;
    m_state = RotateLeft(m_state, 27) * 5 + 0x52DCE729;
}

void JournalHasher::Add(std::string_view bytes) {
    std::size_t filled = m_length % 8;
    m_length += bytes.size();
    if (filled != 0) {
        const std::size_t take = std::min(8 - filled, bytes.size());
        m_pending |= LoadWord(bytes.data(), take) << (8 * filled);
        bytes.remove_prefix(take);
        if (filled + take < 8) return;
        Mix(m_pending);
        m_pending = 0;
    }
    while (bytes.size() >= 8) {
        Mix(LoadWord(bytes.data(), 8));
        bytes.remove_prefix(8);
    }
    m_pending = LoadWord(bytes.data(), bytes.size());
}

std::uint64_t JournalHasher::Value() const {
    JournalHasher last = *this;
    if (m_length % 8 != 0) last.Mix(m_pending);
    std::uint64_t value = last.m_state ^ m_length;
    value ^= value >> 33;
    value *= 0xFF51AFD7ED558CCDULL;
    value ^= value >> 33;
    value *= 0xC4CEB9FE1A85EC53ULL;
    value ^= value >> 33;
    return value;
}

std::uint64_t JournalHash(std::string_view bytes) {
    JournalHasher hasher;
    hasher.Add(bytes);
    return hasher.Value();
}

void AppendJournalFrame(std::string& out, std::string_view payload) {
    const std::size_t start = BeginFrame(out);
    out.append(payload);
    EndFrame(out, start);
}

void AppendJournalHead(std::string& out, const JournalIdentity& identity) {
    out.append(kJournalMagic);
    const std::size_t start = BeginFrame(out);
    out += kHeadKind;
    PutInteger(out, kJournalVersion, 2);
    PutInteger(out, identity.codePage, 4);
    PutInteger(out, identity.catalogue.gameCount, 4);
    PutInteger(out, identity.catalogue.zipNamesHash, 8);
    PutInteger(out, identity.nameList.size, 8);
    PutInteger(out, identity.nameList.hash, 8);
    EndFrame(out, start);
}

void AppendJournalEdit(std::string& out, std::int32_t listOrder, std::string_view zipName, EditedField field,
                       std::string_view text) {
    const std::size_t start = BeginFrame(out);
    out += kEditKind;
    out += static_cast<char>(field);
    PutInteger(out, static_cast<std::uint32_t>(listOrder), 4);
    PutText(out, zipName);
    PutText(out, text);
    EndFrame(out, start);
}

JournalContents ParseJournal(std::string_view bytes) {
    JournalContents contents;
    if (bytes.empty()) return contents;
    if (!bytes.starts_with(kJournalMagic)) {
        contents.problem = JournalProblem::NotAJournal;
        return contents;
    }
    bytes.remove_prefix(kJournalMagic.size());
    const Frame head = ReadFrame(bytes);
    contents.problem = head.status == FrameStatus::Whole ? DecodeHead(head.payload, contents.identity)
                                                         : JournalProblem::DamagedHead;
    if (!contents.Readable()) {
        contents.identity = {};
        return contents;
    }
    bytes.remove_prefix(head.size);

    while (!bytes.empty()) {
        const Frame frame = ReadFrame(bytes);
        JournalEdit edit;
        if (frame.status == FrameStatus::Whole && DecodeEdit(frame.payload, edit)) {
            contents.edits.push_back(std::move(edit));
            bytes.remove_prefix(frame.size);
            continue;
        }
        // A whole record that holds no edit was written by no version of the program: damage.
        const bool torn = frame.status != FrameStatus::Whole && IsTornTail(frame, bytes);
        (torn ? contents.tornBytes : contents.damagedBytes) = bytes.size();
        break;
    }
    return contents;
}

}  // namespace kanaroll
