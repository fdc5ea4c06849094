#pragma once

#include <filesystem>
#include <set>
#include <string>
#include <string_view>

#include "bench/BenchmarkFiles.h"
#include "bench/CatalogueGenerator.h"

// MAME's -listxml output for generated games, in the <machine> layout of today's MAME (modelled on
// 0.26x): the XML declaration and the DOCTYPE with its internal DTD, the <mame> root, one <machine>
// per game with its ROMs (crc and sha1), device references, samples, chips, display, sound, input
// with one <control> per player, DIP switches with locations and values, driver and features; then
// the BIOS sets (isbios="yes") and the devices the games refer to (isdevice="yes", runnable="no"),
// which a reader of the catalogue leaves out.
namespace kanaroll::bench {

class ListXmlWriter {
public:
    void AppendHeader(std::string& out) const;
    // Appends the game and remembers the devices it refers to.
    void AppendMachine(std::string& out, const GeneratedGame& game);
    void AppendBios(std::string& out, const GeneratedResource& bios) const;
    // The devices referred to so far, then the root's end tag.
    void AppendFooter(std::string& out) const;

private:
    std::set<std::string, std::less<>> m_devices;
};

// Streams a whole generated catalogue in this layout into `path`, as WriteListInfo does for
// -listinfo; the facts count the games only. Throws std::runtime_error when the file cannot be
// written.
CatalogueFacts WriteListXml(const std::filesystem::path& path, const CatalogueOptions& options);

// A description as MAME's -listinfo quotes it (with C escapes such as \") as the plain text that
// -listxml writes.
std::string PlainDescription(std::string_view quoted);

}  // namespace kanaroll::bench
