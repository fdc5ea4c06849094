// The input is a text file. LineReader reads it in chunks of several sizes, down to one byte, so that
// line ends, CR LF pairs, Ctrl-Z and the byte-order mark fall across chunk edges; every reading
// must give the lines (and what ended each) that the line rules give, read one byte at a time.
// Every reader of ours stands on this one.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "catalogue/TextFile.h"
#include "tests/fuzz/FuzzSupport.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace kanaroll;
    using namespace kanaroll::fuzz;
    const std::string_view bytes = AsText(data, size);
    const auto path = WriteScratchFile("lines.txt", bytes);

    constexpr std::string_view kBom = "\xEF\xBB\xBF";
    // Larger than the inputs the fuzzer makes, so it reads as the readers' 1 MiB chunk does, but
    // without the cost of mapping a megabyte twice per input.
    constexpr std::size_t kWholeFile = 8192;
    for (const bool skipBom : {false, true}) {
        // The mark is only ever taken off the first line, so it counts only at the very start.
        const bool hasBom = skipBom && bytes.starts_with(kBom);
        const auto expected = ReferenceLines(hasBom ? bytes.substr(kBom.size()) : bytes);
        // Every read of a chunk is a call into the system: single bytes only for short inputs.
        auto chunks =
            skipBom ? std::vector<std::size_t>{3, kWholeFile} : std::vector<std::size_t>{2, 7, kWholeFile};
        if (!skipBom && size <= 512) chunks.push_back(1);
        for (const std::size_t chunk : chunks) {
            LineReader reader(path, chunk);
            if (skipBom) reader.SkipUtf8Bom();
            std::string_view line;
            std::size_t count = 0;
            while (reader.Next(line)) {
                FUZZ_CHECK(count < expected.size());
                FUZZ_CHECK(line == expected[count].text);
                FUZZ_CHECK(reader.LastLineEnd() == expected[count].end);
                ++count;
            }
            FUZZ_CHECK(count == expected.size());
            FUZZ_CHECK(!reader.Next(line));  // the end stays the end
            FUZZ_CHECK(reader.HadUtf8Bom() == hasBom);
        }
    }
    return 0;
}
