// Prints every field of every game that ReadListInfo gives for a listinfo.txt, once with the
// catalogue in Shift-JIS and once in UTF-8, so that two builds of the readers can be compared
// byte for byte (scripts/bench compares today's against a reference build).
//
//   dump_catalogue LISTINFO
//
// One line per game, fields in the record's order, separated by TABs; a TAB, CR, LF, backslash or
// other control byte inside a text is written as an escape, so that every line stays one game.
#include <cstdio>
#include <exception>
#include <filesystem>
#include <string>
#include <string_view>

#include "catalogue/GameList.h"
#include "catalogue/ListInfoReader.h"
#include "catalogue/LoadProgress.h"
#include "catalogue/TextCodec.h"

namespace {

void PutText(std::string& out, std::string_view text) {
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '\\') {
            out += "\\\\";
        } else if (byte < 0x20 || byte == 0x7F) {
            char escape[8];
            std::snprintf(escape, sizeof escape, "\\x%02X", byte);
            out += escape;
        } else {
            out += c;
        }
    }
}

void PutField(std::string& out, std::string_view text) {
    out += '\t';
    PutText(out, text);
}

void PutField(std::string& out, bool value) {
    out += value ? "\t1" : "\t0";
}

void PutField(std::string& out, std::int32_t value) {
    out += '\t';
    out += std::to_string(value);
}

// False when the file did not read.
bool Dump(const std::filesystem::path& file, const kanaroll::TextCodec& codec, const char* codecName) {
    kanaroll::GameList games;
    kanaroll::NoLoadProgress progress;
    const bool read = kanaroll::ReadListInfo(file, games, progress, codec);
    std::printf("%s: %s, %d games\n", codecName, read ? "read" : "FAILED", games.Count());
    std::string line;
    for (int i = 0; i < games.Count(); ++i) {
        const kanaroll::TRecordset& game = games[i];
        line.clear();
        PutText(line, game.zipName);
        PutField(line, game.englishName);
        PutField(line, game.japaneseName);
        PutField(line, game.reading);
        PutField(line, game.manufacturer);
        PutField(line, game.year);
        PutField(line, game.isMaster);
        PutField(line, game.parentName);
        PutField(line, game.translated);
        PutField(line, game.isNeoGeo);
        PutField(line, game.isVector);
        PutField(line, game.controlType);
        PutField(line, game.hasSamples);
        PutField(line, game.statusGood);
        PutField(line, game.soundChannels);
        PutField(line, game.listOrder);
        PutField(line, game.cpuText);
        PutField(line, game.soundText);
        PutField(line, game.paletteSize);
        PutField(line, game.videoText);
        line += '\n';
        std::fwrite(line.data(), 1, line.size(), stdout);
    }
    return read;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: dump_catalogue LISTINFO\n");
        return 2;
    }
    try {
        const bool shiftJis = Dump(argv[1], kanaroll::ShiftJisCodec(), "Shift-JIS");
        const bool utf8 = Dump(argv[1], kanaroll::Utf8Codec(), "UTF-8");
        return shiftJis && utf8 ? 0 : 1;
    } catch (const std::exception& error) {
        std::fprintf(stderr, "dump_catalogue: %s\n", error.what());
        return 1;
    }
}
