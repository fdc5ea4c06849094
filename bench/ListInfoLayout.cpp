#include "bench/ListInfoLayout.h"

#include <cstdio>

namespace kanaroll::bench {

namespace {

// Appends through a fixed buffer: integers and hex without locale or stream state.
void AppendNumber(std::string& out, std::uint32_t value) {
    char buffer[16];
    const int length = std::snprintf(buffer, sizeof buffer, "%u", static_cast<unsigned>(value));
    out.append(buffer, static_cast<std::size_t>(length));
}

void AppendHex(std::string& out, std::uint32_t value, bool padded) {
    char buffer[16];
    const int length =
        std::snprintf(buffer, sizeof buffer, padded ? "%08x" : "%x", static_cast<unsigned>(value));
    out.append(buffer, static_cast<std::size_t>(length));
}

class BlockWriter {
public:
    BlockWriter(std::string& out, std::string_view lineEnd) : m_out(out), m_lineEnd(lineEnd) {}

    void Line(std::string_view text) {
        m_out += text;
        m_out += m_lineEnd;
    }
    void Property(std::string_view key, std::string_view value) {
        m_out += '\t';
        m_out += key;
        m_out += ' ';
        m_out += value;
        m_out += m_lineEnd;
    }
    void Quoted(std::string_view key, std::string_view value) {
        m_out += '\t';
        m_out += key;
        m_out += " \"";
        m_out += value;
        m_out += '"';
        m_out += m_lineEnd;
    }

    void Rom(const RomEntry& rom) {
        m_out += "\trom ( name ";
        m_out += rom.name;
        if (!rom.merge.empty()) {
            m_out += " merge ";
            m_out += rom.merge;
        }
        m_out += " size ";
        AppendNumber(m_out, rom.size);
        if (rom.flags != "nodump") {
            m_out += " crc ";
            AppendHex(m_out, rom.crc, true);
        }
        m_out += " region ";
        m_out += rom.region;
        m_out += " offs ";
        AppendHex(m_out, rom.offset, false);
        if (!rom.flags.empty()) {
            m_out += " flags ";
            m_out += rom.flags;
        }
        m_out += " )";
        m_out += m_lineEnd;
    }

    void Chip(const ChipEntry& chip) {
        switch (chip.kind) {
            case ChipEntry::Kind::Cpu:
                m_out += "\tchip ( type cpu name ";
                break;
            case ChipEntry::Kind::AudioCpu:
                m_out += "\tchip ( type cpu flags audio name ";
                break;
            case ChipEntry::Kind::Audio:
                m_out += "\tchip ( type audio name ";
                break;
        }
        m_out += chip.name;
        if (chip.clock != 0) {
            m_out += " clock ";
            AppendNumber(m_out, chip.clock);
        }
        m_out += " )";
        m_out += m_lineEnd;
    }

    void Video(const VideoEntry& video) {
        m_out += video.vector ? "\tvideo ( screen vector" : "\tvideo ( screen raster";
        m_out += video.vertical ? " orientation vertical" : " orientation horizontal";
        if (!video.vector) {
            m_out += " x ";
            AppendNumber(m_out, static_cast<std::uint32_t>(video.width));
            m_out += " y ";
            AppendNumber(m_out, static_cast<std::uint32_t>(video.height));
        }
        m_out += " colors ";
        AppendNumber(m_out, static_cast<std::uint32_t>(video.colors));
        m_out += " freq ";
        m_out += video.refresh;
        m_out += " )";
        m_out += m_lineEnd;
    }

    void Sound(int channels) {
        m_out += "\tsound ( channels ";
        AppendNumber(m_out, static_cast<std::uint32_t>(channels));
        m_out += " )";
        m_out += m_lineEnd;
    }

    void Input(const InputEntry& input) {
        m_out += "\tinput ( players ";
        AppendNumber(m_out, static_cast<std::uint32_t>(input.players));
        if (!input.control.empty()) {
            m_out += " control ";
            m_out += input.control;
        }
        if (input.buttons > 0) {
            m_out += " buttons ";
            AppendNumber(m_out, static_cast<std::uint32_t>(input.buttons));
        }
        m_out += " coins ";
        AppendNumber(m_out, static_cast<std::uint32_t>(input.coins));
        if (input.service) m_out += " service yes";
        if (input.tilt) m_out += " tilt yes";
        m_out += " )";
        m_out += m_lineEnd;
    }

    void DipSwitch(const DipSwitchEntry& dip) {
        m_out += "\tdipswitch ( name \"";
        m_out += dip.name;
        m_out += '"';
        for (const std::string& entry : dip.entries) {
            m_out += " entry \"";
            m_out += entry;
            m_out += '"';
        }
        m_out += " default \"";
        m_out += dip.defaultEntry;
        m_out += "\" )";
        m_out += m_lineEnd;
    }

    void Driver(const DriverEntry& driver) {
        m_out += driver.statusGood ? "\tdriver ( status good" : "\tdriver ( status preliminary";
        m_out += driver.colorGood ? " color good" : " color imperfect";
        m_out += driver.soundGood ? " sound good" : " sound imperfect";
        m_out += " palettesize ";
        AppendNumber(m_out, static_cast<std::uint32_t>(driver.paletteSize));
        m_out += " )";
        m_out += m_lineEnd;
    }

private:
    std::string& m_out;
    std::string_view m_lineEnd;
};

}  // namespace

void AppendListInfoGame(std::string& out, const GeneratedGame& game, std::string_view lineEnd) {
    BlockWriter block(out, lineEnd);
    block.Line("game (");
    block.Property("name", game.name);
    block.Quoted("description", game.description);
    if (!game.year.empty()) block.Property("year", game.year);
    block.Quoted("manufacturer", game.manufacturer);
    if (!game.cloneOf.empty()) block.Property("cloneof", game.cloneOf);
    if (!game.romOf.empty()) block.Property("romof", game.romOf);
    for (const RomEntry& rom : game.roms) block.Rom(rom);
    if (!game.sampleOf.empty()) block.Property("sampleof", game.sampleOf);
    for (const std::string& sample : game.samples) block.Property("sample", sample);
    for (const ChipEntry& chip : game.chips) block.Chip(chip);
    block.Video(game.video);
    block.Sound(game.soundChannels);
    block.Input(game.input);
    for (const DipSwitchEntry& dip : game.dipSwitches) block.DipSwitch(dip);
    block.Driver(game.driver);
    block.Line(")");
    block.Line("");
}

void AppendListInfoResource(std::string& out, const GeneratedResource& resource, std::string_view lineEnd) {
    BlockWriter block(out, lineEnd);
    block.Line("resource (");
    block.Property("name", resource.name);
    block.Quoted("description", resource.description);
    block.Property("year", resource.year);
    block.Quoted("manufacturer", resource.manufacturer);
    for (const RomEntry& rom : resource.roms) block.Rom(rom);
    block.Line(")");
    block.Line("");
}

}  // namespace kanaroll::bench
