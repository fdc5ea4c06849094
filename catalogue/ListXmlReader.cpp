#include "catalogue/ListXmlReader.h"

#include <algorithm>
#include <cstdint>
#include <memory>
#include <optional>
#include <rapidxml.hpp>
#include <string>
#include <string_view>
#include <vector>

#include "catalogue/HardwareText.h"
#include "catalogue/IntegerText.h"
#include "catalogue/IoError.h"
#include "catalogue/TextFile.h"

namespace kanaroll {

namespace {

using Node = rapidxml::xml_node<char>;
using Attribute = rapidxml::xml_attribute<char>;

// Entities and character references are decoded; an end tag must name the element it closes.
// Every text is taken with its length, so the parser need not end them with a zero.
constexpr int kParseFlags = rapidxml::parse_validate_closing_tags | rapidxml::parse_no_string_terminators |
                            rapidxml::parse_no_element_values;

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

std::string_view NameOf(const Node& node) {
    return {node.name(), node.name_size()};
}

std::string_view NameOf(const Attribute& attribute) {
    return {attribute.name(), attribute.name_size()};
}

std::string_view ValueOf(const Attribute& attribute) {
    return {attribute.value(), attribute.value_size()};
}

std::optional<std::string_view> AttributeOf(const Node& node, std::string_view name) {
    for (const Attribute* attribute = node.first_attribute(); attribute;
         attribute = attribute->next_attribute()) {
        if (NameOf(*attribute) == name) return ValueOf(*attribute);
    }
    return std::nullopt;
}

// A clock in Hz. MAME writes plain integers, some of them beyond 32 bits for today's fastest CPUs.
std::int64_t ClockOf(std::string_view text) {
    if (const auto small = TryParseInteger(text)) return *small;
    if (text.empty() || text.size() > 18 ||
        !std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; })) {
        throw ConversionError(text);
    }
    std::int64_t hertz = 0;
    for (char c : text) hertz = hertz * 10 + (c - '0');
    return hertz;
}

// The control word as -listinfo printed it: "joy" with ways="8" is "joy8way", ways="vertical2" is
// "vjoy2way"; a control without ways keeps its type.
void AppendControlWord(std::string& out, std::string_view type, std::optional<std::string_view> ways) {
    if (ways && *ways == "vertical2") {
        out += 'v';
        out += type;
        out += "2way";
        return;
    }
    out += type;
    if (!ways) return;
    const auto digits = std::find_if(ways->begin(), ways->end(), [](char c) { return c < '0' || c > '9'; });
    if (digits == ways->begin()) return;
    out.append(ways->begin(), digits);
    out += "way";
}

// The elements that are games, and the children of theirs that MachineReader::TakeChild reads: the
// rest (ROMs, DIP switches, ports, slots, devices...) is left out before parsing.
constexpr std::string_view kGameElements[] = {"machine", "game"};
constexpr std::string_view kUsedChildren[] = {"description", "year",  "manufacturer", "chip",   "display",
                                              "video",       "sound", "input",        "driver", "sample"};

// Turns one parsed <machine> or <game> element into a TRecordset. Keeps the parse buffer, the
// parser's memory and the chip lists from one element to the next.
class MachineReader {
public:
    explicit MachineReader(const TextCodec& codec) : m_codec(codec) {}

    // Parses `element` and fills `game`; false for an element that the catalogue leaves out.
    bool Read(std::string_view element, TRecordset& game);

private:
    const Node& Parse(std::string_view element);
    bool TakeAttributes(const Node& machine, TRecordset& game);
    void TakeChild(const Node& child, TRecordset& game);
    void TakeChip(const Node& chip);
    void TakeScreen(const Node& screen, std::optional<std::string_view> type, TRecordset& game);
    void TakeInput(const Node& input, TRecordset& game);
    void Finish(TRecordset& game);

    // Appends UTF-8 text converted to the catalogue's codec.
    void AppendText(std::string& out, std::string_view utf8) const;
    std::string Text(std::string_view utf8) const {
        std::string text;
        AppendText(text, utf8);
        return text;
    }
    // The character data of an element, CDATA sections included.
    std::string_view ContentOf(const Node& node);

    const TextCodec& m_codec;
    std::vector<char> m_text;
    rapidxml::xml_document<char> m_document;
    std::string m_content;
    hardware::DescriptionList m_cpus;
    hardware::DescriptionList m_sounds;
    bool m_paletteGiven = false;
    bool m_screenTaken = false;
    bool m_controlTaken = false;
};

void MachineReader::AppendText(std::string& out, std::string_view utf8) const {
    if (std::all_of(utf8.begin(), utf8.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; })) {
        out.append(utf8);
    } else {
        out += m_codec.FromUtf8(utf8);
    }
}

std::string_view MachineReader::ContentOf(const Node& node) {
    const Node* child = node.first_node();
    const auto isText = [](const Node& n) {
        return n.type() == rapidxml::node_data || n.type() == rapidxml::node_cdata;
    };
    if (!child) return {};
    if (!child->next_sibling() && isText(*child)) return {child->value(), child->value_size()};
    m_content.clear();
    for (; child; child = child->next_sibling()) {
        if (isText(*child)) m_content.append(child->value(), child->value_size());
    }
    return m_content;
}

const Node& MachineReader::Parse(std::string_view element) {
    m_text.assign(element.begin(), element.end());
    m_text.push_back('\0');
    m_document.clear();
    try {
        m_document.parse<kParseFlags>(m_text.data());
    } catch (const rapidxml::parse_error& error) {
        throw XmlFormatError(error.what());
    }
    const Node* machine = m_document.first_node();
    if (!machine || machine->type() != rapidxml::node_element || machine->next_sibling())
        throw XmlFormatError("an element of listinfo.txt does not parse as one element");
    return *machine;
}

bool MachineReader::TakeAttributes(const Node& machine, TRecordset& game) {
    for (const Attribute* attribute = machine.first_attribute(); attribute;
         attribute = attribute->next_attribute()) {
        const std::string_view name = NameOf(*attribute);
        const std::string_view value = ValueOf(*attribute);
        if (name == "name") {
            game.zipName = Text(value);
        } else if (name == "cloneof") {
            game.parentName = Text(value);
            game.isMaster = false;
        } else if (name == "romof") {
            if (value == "neogeo") game.isNeoGeo = true;
        } else if (name == "sampleof") {
            game.hasSamples = true;
        } else if ((name == "isbios" || name == "isdevice") && value == "yes") {
            return false;
        } else if (name == "runnable" && value == "no") {
            return false;
        }
    }
    return true;
}

void MachineReader::TakeChip(const Node& chip) {
    const auto type = AttributeOf(chip, "type");
    if (type != "cpu" && type != "audio") return;
    std::string& description = (type == "cpu" ? m_cpus : m_sounds).Add();
    AppendText(description, AttributeOf(chip, "name").value_or(std::string_view{}));
    if (const auto clock = AttributeOf(chip, "clock")) hardware::AppendClock(description, ClockOf(*clock));
    if (type == "cpu" && AttributeOf(chip, "soundonly") == "yes") description += " (sound)";
}

// <video screen=...> of the <game> layout and <display type=...> of the <machine> layout. The
// screens of handhelds ("lcd", "svg") have a size in pixels as raster ones do.
void MachineReader::TakeScreen(const Node& screen, std::optional<std::string_view> type, TRecordset& game) {
    if (type == "vector") {
        game.isVector = true;
        return;
    }
    if (m_screenTaken || (type != "raster" && type != "lcd" && type != "svg")) return;
    m_screenTaken = true;
    const auto width = AttributeOf(screen, "width");
    const auto height = AttributeOf(screen, "height");
    if (width && height) {
        game.videoText = Text(*width);
        game.videoText += " x ";
        AppendText(game.videoText, *height);
    }
    const auto refresh = AttributeOf(screen, "refresh");
    if (!game.videoText.empty() && refresh) {
        game.videoText += " @ ";
        AppendText(game.videoText, *refresh);
        game.videoText += "Hz";
    }
}

void MachineReader::TakeInput(const Node& input, TRecordset& game) {
    if (m_controlTaken) return;
    if (const auto control = AttributeOf(input, "control")) {  // <game> layout: "joy8way" as it is
        game.controlType = Text(*control);
        m_controlTaken = true;
        return;
    }
    for (const Node* child = input.first_node(); child; child = child->next_sibling()) {
        if (child->type() != rapidxml::node_element || NameOf(*child) != "control") continue;
        std::string word;
        AppendControlWord(word, AttributeOf(*child, "type").value_or(std::string_view{}),
                          AttributeOf(*child, "ways"));
        game.controlType = Text(word);
        m_controlTaken = true;
        return;
    }
}

void MachineReader::TakeChild(const Node& child, TRecordset& game) {
    const std::string_view name = NameOf(child);
    if (name == "description") {
        game.englishName = Text(ContentOf(child));
        game.japaneseName = game.englishName;
    } else if (name == "year") {
        game.year = Text(ContentOf(child));
    } else if (name == "manufacturer") {
        game.manufacturer = Text(ContentOf(child));
    } else if (name == "chip") {
        TakeChip(child);
    } else if (name == "display") {
        TakeScreen(child, AttributeOf(child, "type"), game);
    } else if (name == "video") {
        TakeScreen(child, AttributeOf(child, "screen"), game);
    } else if (name == "sound") {
        if (const auto channels = AttributeOf(child, "channels"))
            game.soundChannels = ParseInteger(*channels);
    } else if (name == "input") {
        TakeInput(child, game);
    } else if (name == "driver") {
        if (AttributeOf(child, "status") == "good") game.statusGood = true;
        if (const auto palette = AttributeOf(child, "palettesize")) {
            game.paletteSize = ParseInteger(*palette);
            m_paletteGiven = true;
        }
    } else if (name == "sample") {
        game.hasSamples = true;
    }
}

void MachineReader::Finish(TRecordset& game) {
    game.cpuText = m_cpus.TakeGrouped();
    game.soundText = m_sounds.TakeGrouped();
    if (game.isVector) {
        game.videoText = "Vector Game";
    } else if (m_paletteGiven) {
        game.videoText += ", ";
        game.videoText += std::to_string(game.paletteSize);
        game.videoText += " Colors";
    }
}

bool MachineReader::Read(std::string_view element, TRecordset& game) {
    const Node& machine = Parse(element);
    if (!TakeAttributes(machine, game)) return false;
    m_paletteGiven = false;
    m_screenTaken = false;
    m_controlTaken = false;
    for (const Node* child = machine.first_node(); child; child = child->next_sibling()) {
        if (child->type() == rapidxml::node_element) TakeChild(*child, game);
    }
    Finish(game);
    return true;
}

}  // namespace

bool IsListXml(const std::filesystem::path& file) {
    InputFile input(file);
    std::string bytes;
    bool end = false;
    const auto readMore = [&] {
        char chunk[4096];
        const std::size_t read = input.Read(chunk, sizeof chunk);
        if (read == 0) end = true;
        bytes.append(chunk, read);
    };
    while (bytes.size() < 3 && !end) readMore();
    std::size_t at = bytes.starts_with("\xEF\xBB\xBF") ? 3 : 0;
    for (;;) {
        while (at < bytes.size() && IsBlank(bytes[at])) ++at;
        if (at < bytes.size()) break;
        if (end) return false;
        bytes.clear();
        at = 0;
        readMore();
    }
    while (bytes.size() - at < 5 && !end) readMore();
    const std::string_view start = std::string_view(bytes).substr(at);
    return start.starts_with("<?xml") || start.starts_with("<mame");
}

void ReadListXml(const std::filesystem::path& file, GameList& games, const TextCodec& codec,
                 ListXmlParsing parsing) {
    ListXmlElements elements = parsing == ListXmlParsing::UsedChildren
                                   ? ListXmlElements(file, {kGameElements, kUsedChildren})
                                   : ListXmlElements(file);
    // The parser keeps a 64 KB pool inside itself: not a thing for the stack.
    const auto reader = std::make_unique<MachineReader>(codec);
    std::int32_t count = 0;
    std::string_view name;
    std::string_view element;
    try {
        while (elements.Next(name, element)) {
            if (std::find(std::begin(kGameElements), std::end(kGameElements), name) ==
                std::end(kGameElements))
                continue;
            auto game = std::make_unique<TRecordset>();
            if (!reader->Read(element, *game)) continue;
            game->listOrder = count++;
            games.Append(std::move(game));
        }
    } catch (const XmlTruncatedError&) {
        // A file cut short ends the catalogue where it ends, as a -listinfo file does: the
        // machines before the cut are whole, and the one cut in two is left out.
    }
}

}  // namespace kanaroll
