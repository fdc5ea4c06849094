#pragma once

#include <filesystem>

#include "catalogue/GameList.h"
#include "catalogue/ListXmlElements.h"
#include "catalogue/TextCodec.h"

// MAME's -listxml output, which every MAME since 0.84 prints instead of -listinfo, read into the
// same catalogue. Both layouts are read, and any mix of them: <game> elements (MAME 0.70 to 0.161)
// with <video>, a control attribute on <input>, palettesize on <driver> and soundonly on <chip>, and
// the <machine> elements of today's MAME with <display> and <control> elements inside <input>.
namespace kanaroll {

// True when the file holds -listxml output rather than -listinfo text: after an optional UTF-8
// byte-order mark and blanks (space, TAB, CR, LF) it begins with "<?xml" or "<mame". Throws IoError
// when the file cannot be read.
bool IsListXml(const std::filesystem::path& file);

// Reads the <machine> or <game> children of the root element into `games`, appended in file order
// with listOrder counted over the games taken. BIOS sets, devices and machines that cannot run are
// left out, as the resource blocks of -listinfo are. The XML's UTF-8 texts are converted to `codec`;
// a character it cannot hold becomes "?".
//
// Each game gets what -listinfo would have given it: the description as English and Japanese
// title, year, manufacturer, cloneof as parent, romof="neogeo", samples, the CPU and sound chips
// described and grouped as for -listinfo (with " (sound)" for soundonly="yes"), the first raster
// screen as "W x H @ RHz" with ", N Colors" when a palette size is given, "Vector Game" for a vector
// screen, the sound channels, the first control ("joy" with ways="8" as "joy8way") and whether the
// driver status is good.
//
// Throws IoError when reading fails, ConversionError when a clock, channel count or palette size is
// no integer, and XmlFormatError when the XML is malformed or holds no element. The games appended
// before the failure stay; the one being read goes. A file that ends inside its root element (MAME
// stopped while writing it) is no failure: the catalogue ends with the last whole machine.
//
// Only the children of a machine that give the catalogue something are parsed; the rest (ROMs, DIP
// switches, ports, slots, devices: most of today's output) is passed over as ListXmlElements
// describes, checked for its structure, its end tags, character references and NUL bytes, but not
// for the syntax of its attributes. WholeElements parses every machine whole instead: the same
// catalogue, slower, refusing more damaged files. The tests compare the two.
enum class ListXmlParsing { UsedChildren, WholeElements };
void ReadListXml(const std::filesystem::path& file, GameList& games, const TextCodec& codec = ShiftJisCodec(),
                 ListXmlParsing parsing = ListXmlParsing::UsedChildren);

}  // namespace kanaroll
