// The catalogue's codec: Shift-JIS, or UTF-8 when the name list is kept in UTF-8. kanaroll.ini stays
// Shift-JIS whatever the catalogue holds.
#include "catalogue/IoError.h"
#include "catalogue/NameListReader.h"
#include "catalogue/Recode.h"
#include "catalogue/SettingsFile.h"
#include "mainwindow/TForm1.h"

namespace kanaroll {

void TForm1::ChooseCodec(const NameListChoice* nameList) {
    const TextCodec* codec = &ShiftJisCodec();
    if (nameList) {
        try {
            codec = &NameListCodec(nameList->file);
        } catch (const IoError&) {
            // The merge meets the same failure and reports it; the catalogue is read meanwhile.
        }
    }
    UseCodec(*codec);
}

void TForm1::UseCodec(const TextCodec& codec) {
    if (&codec == m_codec) return;
    // The rules are applied to the catalogue's texts, so they move into its codec; they go back to
    // Shift-JIS when kanaroll.ini is written.
    m_state.replaceRules = RecodeRules(m_state.replaceRules, *m_codec, codec);
    m_codec = &codec;
    // The byte limits of the title and reading count the bytes stored in the new codec.
    InstallFieldHooks();
}

void TForm1::WriteSettings() {
    // The condition editor refuses what Shift-JIS cannot hold, so the rules convert without loss.
    SaveSettings(m_state.exeDir / "kanaroll.ini", m_state.mamePath,
                 RecodeRules(m_state.replaceRules, *m_codec, ShiftJisCodec()));
}

}  // namespace kanaroll
