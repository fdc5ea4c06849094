#pragma once

#include <string>
#include <string_view>

#include "catalogue/TRecordset.h"
#include "catalogue/TReplacePatterns.h"
#include "catalogue/TextCodec.h"

// Moving texts from one codec to another: a UTF-8 name list makes the whole catalogue UTF-8, while
// listinfo.txt, kanaroll.ini and the MANE32J format stay Shift-JIS.
namespace kanaroll {

// True when every byte is below 0x80: such a text is the same in every codec Kanaroll knows.
bool IsAscii(std::string_view text);

// `text` from the codec `from` in the codec `to`. Characters `to` cannot hold become "?" and bytes
// that form no character in `from` become U+FFFD (in UTF-8) or "?" (in Shift-JIS). ASCII text and
// texts whose codecs are the same come back unchanged without being decoded.
std::string Recode(std::string_view text, const TextCodec& from, const TextCodec& to);

// Recodes `text` in place; a no-op for ASCII text and for equal codecs.
void RecodeInPlace(std::string& text, const TextCodec& from, const TextCodec& to);

// Texts of one codec in another, for a writer that converts tens of thousands of them: unchanged
// where the codecs agree or the text is ASCII, else converted into `storage`, whose memory is reused.
class TextRecoder {
public:
    TextRecoder(const TextCodec& from, const TextCodec& to) : m_from(from), m_to(to) {}

    bool Needed() const { return &m_from != &m_to; }
    std::string_view operator()(std::string_view text, std::string& storage) const {
        if (!Needed() || IsAscii(text)) return text;
        storage.clear();
        if (&m_from == &Utf8Codec()) {
            m_to.AppendFromUtf8(text, storage);
        } else if (&m_to == &Utf8Codec()) {
            m_from.AppendToUtf8(text, storage);
        } else {
            storage = Recode(text, m_from, m_to);
        }
        return storage;
    }

private:
    const TextCodec& m_from;
    const TextCodec& m_to;
};

// Every text of a game.
void RecodeTexts(TRecordset& game, const TextCodec& from, const TextCodec& to);

// Search and replacement texts of every rule.
ReplaceRuleList RecodeRules(const ReplaceRuleList& rules, const TextCodec& from, const TextCodec& to);

}  // namespace kanaroll
