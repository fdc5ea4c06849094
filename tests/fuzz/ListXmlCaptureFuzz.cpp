// The input is what a MAME printed. The capture judges it the same whatever pieces it comes in, as
// a pipe may cut it anywhere; a good verdict needs a root whose end tag ends the input; and
// listinfo.txt stays as it was until a good output is put in place.

#include <cstdint>
#include <string>
#include <string_view>

#include "catalogue/ListXmlCapture.h"
#include "tests/fuzz/FuzzSupport.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace kanaroll;
    using namespace kanaroll::fuzz;
    const std::string_view output = AsText(data, size);
    const std::string old = "game (\n)\n";
    const auto listInfo = WriteScratchFile("listinfo.txt", old);

    bool first = true;
    ListXmlProblem problem = ListXmlProblem::None;
    for (const std::size_t piece : {std::size_t{1}, std::size_t{3}, std::size_t{64}, size + 1}) {
        if (piece == 1 && size > 4096) continue;
        ListXmlCapture capture(listInfo, 1 << 16);
        for (std::size_t at = 0; at < size; at += piece)
            if (!capture.Take(output.substr(at, piece))) break;
        const ListXmlVerdict verdict = capture.Judge({});
        FUZZ_CHECK(first || verdict.problem == problem);
        first = false;
        problem = verdict.problem;
        FUZZ_CHECK(ReadScratchFile(listInfo) == old);
        if (verdict.Good()) {
            const std::string root = ListXmlRootName(output);
            FUZZ_CHECK(!root.empty());
            FUZZ_CHECK(output.find("</" + root) != std::string_view::npos);
            FUZZ_CHECK(output.find('\0') == std::string_view::npos);
        }
    }
    return 0;
}
