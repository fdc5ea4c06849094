#include "bench/ListXmlGenerator.h"

#include <cstdio>
#include <fstream>
#include <stdexcept>

namespace kanaroll::bench {

namespace {

constexpr std::size_t kFlushSize = 4 << 20;

// The DTD that MAME 0.26x prints before its catalogue.
constexpr std::string_view kProlog = R"dtd(<?xml version="1.0"?>
<!DOCTYPE mame [
<!ELEMENT mame (machine+)>
	<!ATTLIST mame build CDATA #IMPLIED>
	<!ATTLIST mame debug (yes|no) "no">
	<!ATTLIST mame mameconfig CDATA #REQUIRED>
	<!ELEMENT machine (description, year?, manufacturer?, biosset*, rom*, disk*, device_ref*, sample*, chip*, display*, sound?, input?, dipswitch*, configuration*, port*, adjuster*, driver?, feature*, device*, slot*, softwarelist*, ramoption*)>
		<!ATTLIST machine name CDATA #REQUIRED>
		<!ATTLIST machine sourcefile CDATA #IMPLIED>
		<!ATTLIST machine isbios (yes|no) "no">
		<!ATTLIST machine isdevice (yes|no) "no">
		<!ATTLIST machine ismechanical (yes|no) "no">
		<!ATTLIST machine runnable (yes|no) "yes">
		<!ATTLIST machine cloneof CDATA #IMPLIED>
		<!ATTLIST machine romof CDATA #IMPLIED>
		<!ATTLIST machine sampleof CDATA #IMPLIED>
		<!ELEMENT description (#PCDATA)>
		<!ELEMENT year (#PCDATA)>
		<!ELEMENT manufacturer (#PCDATA)>
		<!ELEMENT biosset EMPTY>
			<!ATTLIST biosset name CDATA #REQUIRED>
			<!ATTLIST biosset description CDATA #REQUIRED>
			<!ATTLIST biosset default (yes|no) "no">
		<!ELEMENT rom EMPTY>
			<!ATTLIST rom name CDATA #REQUIRED>
			<!ATTLIST rom bios CDATA #IMPLIED>
			<!ATTLIST rom size CDATA #REQUIRED>
			<!ATTLIST rom crc CDATA #IMPLIED>
			<!ATTLIST rom sha1 CDATA #IMPLIED>
			<!ATTLIST rom merge CDATA #IMPLIED>
			<!ATTLIST rom region CDATA #IMPLIED>
			<!ATTLIST rom offset CDATA #IMPLIED>
			<!ATTLIST rom status (baddump|nodump|good) "good">
			<!ATTLIST rom optional (yes|no) "no">
		<!ELEMENT disk EMPTY>
			<!ATTLIST disk name CDATA #REQUIRED>
			<!ATTLIST disk sha1 CDATA #IMPLIED>
			<!ATTLIST disk merge CDATA #IMPLIED>
			<!ATTLIST disk region CDATA #IMPLIED>
			<!ATTLIST disk index CDATA #IMPLIED>
			<!ATTLIST disk writable (yes|no) "no">
			<!ATTLIST disk status (baddump|nodump|good) "good">
			<!ATTLIST disk optional (yes|no) "no">
		<!ELEMENT device_ref EMPTY>
			<!ATTLIST device_ref name CDATA #REQUIRED>
		<!ELEMENT sample EMPTY>
			<!ATTLIST sample name CDATA #REQUIRED>
		<!ELEMENT chip EMPTY>
			<!ATTLIST chip name CDATA #REQUIRED>
			<!ATTLIST chip tag CDATA #IMPLIED>
			<!ATTLIST chip type (cpu|audio) #REQUIRED>
			<!ATTLIST chip clock CDATA #IMPLIED>
		<!ELEMENT display EMPTY>
			<!ATTLIST display tag CDATA #IMPLIED>
			<!ATTLIST display type (raster|vector|lcd|svg|unknown) #REQUIRED>
			<!ATTLIST display rotate (0|90|180|270) #IMPLIED>
			<!ATTLIST display flipx (yes|no) "no">
			<!ATTLIST display width CDATA #IMPLIED>
			<!ATTLIST display height CDATA #IMPLIED>
			<!ATTLIST display refresh CDATA #REQUIRED>
			<!ATTLIST display pixclock CDATA #IMPLIED>
			<!ATTLIST display htotal CDATA #IMPLIED>
			<!ATTLIST display hbend CDATA #IMPLIED>
			<!ATTLIST display hbstart CDATA #IMPLIED>
			<!ATTLIST display vtotal CDATA #IMPLIED>
			<!ATTLIST display vbend CDATA #IMPLIED>
			<!ATTLIST display vbstart CDATA #IMPLIED>
		<!ELEMENT sound EMPTY>
			<!ATTLIST sound channels CDATA #REQUIRED>
		<!ELEMENT input (control*)>
			<!ATTLIST input service (yes|no) "no">
			<!ATTLIST input tilt (yes|no) "no">
			<!ATTLIST input players CDATA #REQUIRED>
			<!ATTLIST input coins CDATA #IMPLIED>
			<!ELEMENT control EMPTY>
				<!ATTLIST control type CDATA #REQUIRED>
				<!ATTLIST control player CDATA #IMPLIED>
				<!ATTLIST control buttons CDATA #IMPLIED>
				<!ATTLIST control reqbuttons CDATA #IMPLIED>
				<!ATTLIST control minimum CDATA #IMPLIED>
				<!ATTLIST control maximum CDATA #IMPLIED>
				<!ATTLIST control sensitivity CDATA #IMPLIED>
				<!ATTLIST control keydelta CDATA #IMPLIED>
				<!ATTLIST control reverse (yes|no) "no">
				<!ATTLIST control ways CDATA #IMPLIED>
				<!ATTLIST control ways2 CDATA #IMPLIED>
				<!ATTLIST control ways3 CDATA #IMPLIED>
		<!ELEMENT dipswitch (diplocation*, dipvalue*)>
			<!ATTLIST dipswitch name CDATA #REQUIRED>
			<!ATTLIST dipswitch tag CDATA #REQUIRED>
			<!ATTLIST dipswitch mask CDATA #REQUIRED>
			<!ELEMENT diplocation EMPTY>
				<!ATTLIST diplocation name CDATA #REQUIRED>
				<!ATTLIST diplocation number CDATA #REQUIRED>
				<!ATTLIST diplocation inverted (yes|no) "no">
			<!ELEMENT dipvalue EMPTY>
				<!ATTLIST dipvalue name CDATA #REQUIRED>
				<!ATTLIST dipvalue value CDATA #REQUIRED>
				<!ATTLIST dipvalue default (yes|no) "no">
		<!ELEMENT driver EMPTY>
			<!ATTLIST driver status (good|imperfect|preliminary) #REQUIRED>
			<!ATTLIST driver emulation (good|imperfect|preliminary) #REQUIRED>
			<!ATTLIST driver cocktail (good|imperfect|preliminary) #IMPLIED>
			<!ATTLIST driver savestate (supported|unsupported) #REQUIRED>
			<!ATTLIST driver requiresartwork (yes|no) "no">
			<!ATTLIST driver unofficial (yes|no) "no">
			<!ATTLIST driver nosoundhardware (yes|no) "no">
			<!ATTLIST driver incomplete (yes|no) "no">
		<!ELEMENT feature EMPTY>
			<!ATTLIST feature type (protection|timing|graphics|palette|sound|capture|camera|microphone|controls|keyboard|mouse|media|disk|printer|tape|punch|drum|rom|comms|lan|wan) #REQUIRED>
			<!ATTLIST feature status (unemulated|imperfect) #IMPLIED>
			<!ATTLIST feature overall (unemulated|imperfect) #IMPLIED>
]>

<mame build="0.262 (mame0262)" debug="no" mameconfig="10">
)dtd";

void AppendNumber(std::string& out, std::uint64_t value) {
    char buffer[24];
    const int length = std::snprintf(buffer, sizeof buffer, "%llu", static_cast<unsigned long long>(value));
    out.append(buffer, static_cast<std::size_t>(length));
}

void AppendHex(std::string& out, std::uint64_t value, int digits) {
    char buffer[24];
    const int length =
        std::snprintf(buffer, sizeof buffer, "%0*llx", digits, static_cast<unsigned long long>(value));
    out.append(buffer, static_cast<std::size_t>(length));
}

// Text as MAME escapes it in attribute values and character data.
void AppendEscaped(std::string& out, std::string_view text) {
    for (char c : text) {
        switch (c) {
            case '&':
                out += "&amp;";
                break;
            case '<':
                out += "&lt;";
                break;
            case '>':
                out += "&gt;";
                break;
            case '"':
                out += "&quot;";
                break;
            case '\'':
                out += "&apos;";
                break;
            default:
                out += c;
        }
    }
}

void AppendAttribute(std::string& out, std::string_view name, std::string_view value) {
    out += ' ';
    out += name;
    out += "=\"";
    AppendEscaped(out, value);
    out += '"';
}

void AppendAttribute(std::string& out, std::string_view name, std::uint64_t value) {
    out += ' ';
    out += name;
    out += "=\"";
    AppendNumber(out, value);
    out += '"';
}

void AppendTextElement(std::string& out, std::string_view name, std::string_view text) {
    out += "\t\t<";
    out += name;
    out += '>';
    AppendEscaped(out, text);
    out += "</";
    out += name;
    out += ">\n";
}

// The device a chip of that name is: lower case, letters and digits only ("YM2151" is "ym2151").
std::string DeviceName(std::string_view chip) {
    std::string name;
    for (char c : chip) {
        if (c >= 'A' && c <= 'Z')
            name += static_cast<char>(c - 'A' + 'a');
        else if ((c >= 'a' && c <= 'z') || (c >= '0' && c <= '9'))
            name += c;
    }
    return name.empty() ? "device" : name;
}

// A SHA-1 for a ROM, fixed by its CRC and name.
void AppendSha1(std::string& out, const RomEntry& rom) {
    std::uint64_t hash = 0xCBF29CE484222325ULL ^ rom.crc;
    for (char c : rom.name) hash = (hash ^ static_cast<unsigned char>(c)) * 0x100000001B3ULL;
    for (int part = 0; part < 3; ++part) {
        hash ^= hash >> 29;
        hash *= 0xBF58476D1CE4E5B9ULL;
        hash ^= hash >> 32;
        AppendHex(out, part < 2 ? hash : hash & 0xFFFFFFFFULL, part < 2 ? 16 : 8);
    }
}

void AppendRom(std::string& out, const RomEntry& rom) {
    out += "\t\t<rom";
    AppendAttribute(out, "name", rom.name);
    if (!rom.merge.empty()) AppendAttribute(out, "merge", rom.merge);
    AppendAttribute(out, "size", rom.size);
    if (rom.flags != "nodump") {
        out += " crc=\"";
        AppendHex(out, rom.crc, 8);
        out += "\" sha1=\"";
        AppendSha1(out, rom);
        out += '"';
    }
    AppendAttribute(out, "region", rom.region == "cpu1" ? std::string_view("maincpu") : rom.region);
    out += " offset=\"";
    AppendHex(out, rom.offset, 1);
    out += '"';
    if (!rom.flags.empty()) AppendAttribute(out, "status", rom.flags);
    out += "/>\n";
}

// -listinfo's control word as today's <control> attributes: "joy8way" is type "joy" with ways
// "8", "vjoy2way" is ways "vertical2", "doublejoy8way" has ways2 as well.
void AppendControl(std::string& out, std::string_view word, int player, int buttons) {
    std::string_view type = word;
    std::string ways;
    bool vertical = false;
    if (word.size() > 4 && word.substr(word.size() - 3) == "way") {
        std::size_t digits = word.size() - 3;
        while (digits > 0 && word[digits - 1] >= '0' && word[digits - 1] <= '9') --digits;
        if (digits < word.size() - 3) {
            type = word.substr(0, digits);
            ways = std::string(word.substr(digits, word.size() - 3 - digits));
            if (type.starts_with("v")) {
                type.remove_prefix(1);
                vertical = true;
            }
        }
    }
    out += "\t\t\t<control";
    AppendAttribute(out, "type", type);
    AppendAttribute(out, "player", static_cast<std::uint64_t>(player));
    if (buttons > 0) AppendAttribute(out, "buttons", static_cast<std::uint64_t>(buttons));
    if (!ways.empty()) {
        const std::string value = vertical ? "vertical" + ways : ways;
        AppendAttribute(out, "ways", value);
        if (type == "doublejoy") AppendAttribute(out, "ways2", value);
    }
    if (type == "dial" || type == "paddle" || type == "trackball" || type == "pedal" || type == "stick") {
        out += " minimum=\"0\" maximum=\"255\" sensitivity=\"50\" keydelta=\"10\"";
    }
    out += "/>\n";
}

void AppendDipSwitch(std::string& out, const DipSwitchEntry& dip, int& bit) {
    int bits = 0;
    while ((std::size_t{1} << bits) < dip.entries.size()) ++bits;
    const std::string tag = bit < 8 ? "DSW1" : "DSW2";
    const int shift = bit % 8;
    out += "\t\t<dipswitch";
    AppendAttribute(out, "name", dip.name);
    AppendAttribute(out, "tag", tag);
    AppendAttribute(out, "mask", static_cast<std::uint64_t>(((1u << bits) - 1) << shift));
    out += ">\n";
    for (int i = 0; i < bits; ++i) {
        out += "\t\t\t<diplocation name=\"SW";
        out += tag.back();
        out += "\" number=\"";
        AppendNumber(out, static_cast<std::uint64_t>(shift + i + 1));
        out += "\"/>\n";
    }
    for (std::size_t i = 0; i < dip.entries.size(); ++i) {
        out += "\t\t\t<dipvalue";
        AppendAttribute(out, "name", dip.entries[i]);
        AppendAttribute(out, "value", static_cast<std::uint64_t>(i << shift));
        if (dip.entries[i] == dip.defaultEntry) out += " default=\"yes\"";
        out += "/>\n";
    }
    out += "\t\t</dipswitch>\n";
    bit = (bit + bits) % 16;
}

}  // namespace

std::string PlainDescription(std::string_view quoted) {
    std::string plain;
    for (std::size_t i = 0; i < quoted.size(); ++i) {
        if (quoted[i] == '\\' && i + 1 < quoted.size()) ++i;
        plain += quoted[i];
    }
    return plain;
}

void ListXmlWriter::AppendHeader(std::string& out) const {
    out += kProlog;
}

void ListXmlWriter::AppendMachine(std::string& out, const GeneratedGame& game) {
    const std::string& family = game.cloneOf.empty() ? game.name : game.cloneOf;
    std::string source = game.manufacturer.substr(0, game.manufacturer.find(' '));
    for (char& c : source) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    out += "\t<machine";
    AppendAttribute(out, "name", game.name);
    AppendAttribute(out, "sourcefile", source + "/" + family + ".cpp");
    if (!game.cloneOf.empty()) AppendAttribute(out, "cloneof", game.cloneOf);
    if (!game.romOf.empty()) AppendAttribute(out, "romof", game.romOf);
    if (!game.sampleOf.empty()) AppendAttribute(out, "sampleof", game.sampleOf);
    out += ">\n";
    AppendTextElement(out, "description", PlainDescription(game.description));
    if (!game.year.empty()) AppendTextElement(out, "year", game.year);
    AppendTextElement(out, "manufacturer", game.manufacturer);
    for (const RomEntry& rom : game.roms) AppendRom(out, rom);

    std::set<std::string, std::less<>> refs;
    for (const ChipEntry& chip : game.chips) refs.insert(DeviceName(chip.name));
    for (std::string_view device : {"screen", "palette", "gfxdecode", "speaker", "watchdog"})
        refs.emplace(device);
    for (const std::string& ref : refs) {
        out += "\t\t<device_ref name=\"";
        out += ref;
        out += "\"/>\n";
        m_devices.insert(ref);
    }
    for (const std::string& sample : game.samples) {
        out += "\t\t<sample";
        AppendAttribute(out, "name", sample.substr(0, sample.rfind(".wav")));
        out += "/>\n";
    }

    int cpus = 0;
    for (const ChipEntry& chip : game.chips) {
        if (chip.kind == ChipEntry::Kind::Audio) continue;
        out += "\t\t<chip type=\"cpu\"";
        AppendAttribute(out, "tag",
                        chip.kind == ChipEntry::Kind::AudioCpu ? "audiocpu"
                        : cpus++ == 0                          ? "maincpu"
                                                               : "subcpu");
        AppendAttribute(out, "name", chip.name);
        if (chip.clock != 0) AppendAttribute(out, "clock", chip.clock);
        out += "/>\n";
    }
    out += "\t\t<chip type=\"audio\" tag=\"speaker\" name=\"Speaker\"/>\n";
    for (const ChipEntry& chip : game.chips) {
        if (chip.kind != ChipEntry::Kind::Audio) continue;
        out += "\t\t<chip type=\"audio\"";
        AppendAttribute(out, "tag", DeviceName(chip.name));
        AppendAttribute(out, "name", chip.name);
        if (chip.clock != 0) AppendAttribute(out, "clock", chip.clock);
        out += "/>\n";
    }

    const VideoEntry& video = game.video;
    out += "\t\t<display tag=\"screen\"";
    AppendAttribute(out, "type", video.vector ? "vector" : "raster");
    AppendAttribute(out, "rotate", video.vertical ? "90" : "0");
    if (video.vector) {
        out += " flipx=\"no\"";
    } else {
        const auto width = static_cast<std::uint64_t>(video.width);
        const auto height = static_cast<std::uint64_t>(video.height);
        AppendAttribute(out, "width", width);
        AppendAttribute(out, "height", height);
    }
    AppendAttribute(out, "refresh", video.refresh);
    if (!video.vector) {
        const auto htotal = static_cast<std::uint64_t>(video.width + 96);
        const auto vtotal = static_cast<std::uint64_t>(video.height + 40);
        AppendAttribute(out, "pixclock", htotal * vtotal * 60);
        AppendAttribute(out, "htotal", htotal);
        out += " hbend=\"0\"";
        AppendAttribute(out, "hbstart", static_cast<std::uint64_t>(video.width));
        AppendAttribute(out, "vtotal", vtotal);
        out += " vbend=\"0\"";
        AppendAttribute(out, "vbstart", static_cast<std::uint64_t>(video.height));
    }
    out += " />\n";
    out += "\t\t<sound";
    AppendAttribute(out, "channels", static_cast<std::uint64_t>(game.soundChannels));
    out += "/>\n";

    const InputEntry& input = game.input;
    out += "\t\t<input";
    AppendAttribute(out, "players", static_cast<std::uint64_t>(input.players));
    AppendAttribute(out, "coins", static_cast<std::uint64_t>(input.coins));
    if (input.service) out += " service=\"yes\"";
    if (input.tilt) out += " tilt=\"yes\"";
    out += ">\n";
    for (int player = 1; player <= input.players && !input.control.empty(); ++player)
        AppendControl(out, input.control, player, input.buttons);
    out += "\t\t</input>\n";

    int bit = 0;
    for (const DipSwitchEntry& dip : game.dipSwitches) AppendDipSwitch(out, dip, bit);

    const DriverEntry& driver = game.driver;
    out += driver.statusGood ? "\t\t<driver status=\"good\" emulation=\"good\""
                             : "\t\t<driver status=\"preliminary\" emulation=\"preliminary\"";
    out += " savestate=\"supported\"/>\n";
    if (!driver.colorGood) out += "\t\t<feature type=\"palette\" status=\"imperfect\"/>\n";
    if (!driver.soundGood) out += "\t\t<feature type=\"sound\" status=\"imperfect\"/>\n";
    out += "\t</machine>\n";
}

void ListXmlWriter::AppendBios(std::string& out, const GeneratedResource& bios) const {
    out += "\t<machine";
    AppendAttribute(out, "name", bios.name);
    AppendAttribute(out, "sourcefile", bios.name + ".cpp");
    out += " isbios=\"yes\">\n";
    AppendTextElement(out, "description", bios.description);
    AppendTextElement(out, "year", bios.year);
    AppendTextElement(out, "manufacturer", bios.manufacturer);
    for (const RomEntry& rom : bios.roms) AppendRom(out, rom);
    out += "\t</machine>\n";
}

void ListXmlWriter::AppendFooter(std::string& out) const {
    for (const std::string& device : m_devices) {
        out += "\t<machine";
        AppendAttribute(out, "name", device);
        AppendAttribute(out, "sourcefile", "src/devices/" + device + "/" + device + ".cpp");
        out += " isdevice=\"yes\" runnable=\"no\">\n";
        AppendTextElement(out, "description", device);
        out += "\t</machine>\n";
    }
    out += "</mame>\n";
}

CatalogueFacts WriteListXml(const std::filesystem::path& path, const CatalogueOptions& options) {
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    if (!file) throw std::runtime_error("cannot create " + path.string());
    CatalogueFacts facts;
    std::uint64_t hash = 0xCBF29CE484222325ULL;
    const auto flush = [&](std::string& buffer) {
        for (char c : buffer) hash = (hash ^ static_cast<unsigned char>(c)) * 0x100000001B3ULL;
        file.write(buffer.data(), static_cast<std::streamsize>(buffer.size()));
        if (!file) throw std::runtime_error("cannot write " + path.string());
        facts.listInfoBytes += buffer.size();
        buffer.clear();
    };

    CatalogueGenerator generator(options);
    ListXmlWriter writer;
    std::string buffer;
    buffer.reserve(kFlushSize + 65536);
    writer.AppendHeader(buffer);
    GeneratedGame game;
    while (generator.Next(game)) {
        writer.AppendMachine(buffer, game);
        ++facts.games;
        if (!game.cloneOf.empty()) ++facts.clones;
        if (game.romOf == "neogeo") ++facts.neoGeoMasters;
        if (game.video.vector) ++facts.vectorGames;
        if (!game.sampleOf.empty() || !game.samples.empty()) ++facts.sampleGames;
        if (game.driver.statusGood) ++facts.statusGood;
        if (buffer.size() >= kFlushSize) flush(buffer);
    }
    for (const GeneratedResource& bios : generator.Resources()) writer.AppendBios(buffer, bios);
    writer.AppendFooter(buffer);
    flush(buffer);
    file.close();
    if (!file) throw std::runtime_error("cannot write " + path.string());
    facts.listInfoHash = hash;
    return facts;
}

}  // namespace kanaroll::bench
