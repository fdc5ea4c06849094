#include "bench/ListInfoLayout.h"

#include "tests/support/ListInfoWriter.h"

namespace kanaroll::bench {

namespace {

using kanaroll::testing::ListInfoWriter;

void Rom(ListInfoWriter& block, const RomEntry& rom) {
    block.Open("rom").Word("name", rom.name);
    if (!rom.merge.empty()) block.Word("merge", rom.merge);
    block.Word("size", rom.size);
    if (rom.flags != "nodump") block.Hex("crc", rom.crc, 8);
    block.Word("region", rom.region).Hex("offs", rom.offset);
    if (!rom.flags.empty()) block.Word("flags", rom.flags);
    block.Close();
}

void Chip(ListInfoWriter& block, const ChipEntry& chip) {
    block.Open("chip");
    switch (chip.kind) {
        case ChipEntry::Kind::Cpu:
            block.Word("type", "cpu");
            break;
        case ChipEntry::Kind::AudioCpu:
            block.Word("type", "cpu").Word("flags", "audio");
            break;
        case ChipEntry::Kind::Audio:
            block.Word("type", "audio");
            break;
    }
    block.Word("name", chip.name);
    if (chip.clock != 0) block.Word("clock", chip.clock);
    block.Close();
}

void Video(ListInfoWriter& block, const VideoEntry& video) {
    block.Open("video").Word("screen", video.vector ? "vector" : "raster");
    block.Word("orientation", video.vertical ? "vertical" : "horizontal");
    if (!video.vector) {
        block.Word("x", static_cast<std::uint32_t>(video.width));
        block.Word("y", static_cast<std::uint32_t>(video.height));
    }
    block.Word("colors", static_cast<std::uint32_t>(video.colors)).Word("freq", video.refresh).Close();
}

void Input(ListInfoWriter& block, const InputEntry& input) {
    block.Open("input").Word("players", static_cast<std::uint32_t>(input.players));
    if (!input.control.empty()) block.Word("control", input.control);
    if (input.buttons > 0) block.Word("buttons", static_cast<std::uint32_t>(input.buttons));
    block.Word("coins", static_cast<std::uint32_t>(input.coins));
    if (input.service) block.Word("service", "yes");
    if (input.tilt) block.Word("tilt", "yes");
    block.Close();
}

void DipSwitch(ListInfoWriter& block, const DipSwitchEntry& dip) {
    block.Open("dipswitch").QuotedWord("name", dip.name);
    for (const std::string& entry : dip.entries) block.QuotedWord("entry", entry);
    block.QuotedWord("default", dip.defaultEntry).Close();
}

void Driver(ListInfoWriter& block, const DriverEntry& driver) {
    block.Open("driver").Word("status", driver.statusGood ? "good" : "preliminary");
    block.Word("color", driver.colorGood ? "good" : "imperfect");
    block.Word("sound", driver.soundGood ? "good" : "imperfect");
    block.Word("palettesize", static_cast<std::uint32_t>(driver.paletteSize)).Close();
}

}  // namespace

void AppendListInfoGame(std::string& out, const GeneratedGame& game, std::string_view lineEnd) {
    ListInfoWriter block(out, lineEnd);
    block.BeginBlock("game");
    block.Property("name", game.name);
    block.Quoted("description", game.description);
    if (!game.year.empty()) block.Property("year", game.year);
    block.Quoted("manufacturer", game.manufacturer);
    if (!game.cloneOf.empty()) block.Property("cloneof", game.cloneOf);
    if (!game.romOf.empty()) block.Property("romof", game.romOf);
    for (const RomEntry& rom : game.roms) Rom(block, rom);
    if (!game.sampleOf.empty()) block.Property("sampleof", game.sampleOf);
    for (const std::string& sample : game.samples) block.Property("sample", sample);
    for (const ChipEntry& chip : game.chips) Chip(block, chip);
    Video(block, game.video);
    block.Open("sound").Word("channels", static_cast<std::uint32_t>(game.soundChannels)).Close();
    Input(block, game.input);
    for (const DipSwitchEntry& dip : game.dipSwitches) DipSwitch(block, dip);
    Driver(block, game.driver);
    block.EndBlock();
}

void AppendListInfoResource(std::string& out, const GeneratedResource& resource, std::string_view lineEnd) {
    ListInfoWriter block(out, lineEnd);
    block.BeginBlock("resource");
    block.Property("name", resource.name);
    block.Quoted("description", resource.description);
    block.Property("year", resource.year);
    block.Quoted("manufacturer", resource.manufacturer);
    for (const RomEntry& rom : resource.roms) Rom(block, rom);
    block.EndBlock();
}

}  // namespace kanaroll::bench
