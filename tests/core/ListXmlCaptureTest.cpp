// MAME's -listxml output on its way into listinfo.txt: only a whole output of a MAME that ended
// well replaces the file, and every other output leaves it byte for byte.
#include <cerrno>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <string>
#include <vector>

#include "catalogue/ListXmlCapture.h"
#include "tests/support/FileFaultInjection.h"
#include "tests/support/TempFolder.h"

namespace kanaroll {
namespace {

using testing::FileFaultInjection;
using testing::TempFolder;

const std::string kOld = "game (\n\tname old\n)\n";

const std::string kOutput =
    "<?xml version=\"1.0\"?>\n"
    "<!DOCTYPE mame [\n"
    "<!ELEMENT mame (machine+)>\n"
    "\t<!ATTLIST mame debug (yes|no) \"no\">\n"
    "\t<!-- a comment with ]> and <mame> in it -->\n"
    "\t<!ATTLIST machine name CDATA \"<not]>\">\n"
    "]>\n"
    "\n"
    "<mame build=\"0.251\" debug=\"no\" mameconfig=\"10\">\n"
    "\t<machine name=\"pacman\">\n"
    "\t\t<description>Pac-Man</description>\n"
    "\t</machine>\n"
    "</mame>\n";

struct Captured {
    ListXmlVerdict verdict;
    std::string listInfo;  // what listinfo.txt holds afterwards
    bool temporaryLeft = false;
};

// Feeds `output` in pieces of `piece` bytes and judges it with `end`, putting a good output in place.
Captured Capture(std::string_view output, OutputEnd end = {}, std::size_t piece = 7,
                 std::uint64_t limit = kMaxListXmlBytes) {
    const TempFolder folder;
    const auto listInfo = folder.Write("listinfo.txt", kOld);
    Captured run;
    {
        ListXmlCapture capture(listInfo, limit);
        for (std::size_t at = 0; at < output.size(); at += piece)
            if (!capture.Take(output.substr(at, piece))) break;
        run.verdict = capture.Judge(end);
        if (run.verdict.Good()) {
            EXPECT_EQ(TempFolder::ReadFile(capture.TemporaryFile()),
                      output);  // loadable before it is put in place
            EXPECT_EQ(folder.Read("listinfo.txt"), kOld);
            capture.PutInPlace();
        }
        run.temporaryLeft = std::filesystem::exists(capture.TemporaryFile());
    }
    run.listInfo = folder.Read("listinfo.txt");
    return run;
}

TEST(ListXmlCapture, AWholeOutputReplacesListInfoOnlyWhenPutInPlace) {
    for (const std::size_t piece : {std::size_t{1}, std::size_t{7}, std::size_t{4096}}) {
        const Captured run = Capture(kOutput, {}, piece);
        EXPECT_TRUE(run.verdict.Good()) << run.verdict.Message();
        EXPECT_EQ(run.verdict.bytes, kOutput.size());
        EXPECT_EQ(run.listInfo, kOutput);
        EXPECT_FALSE(run.temporaryLeft);
    }
    // Blanks of any length after the end tag, and before its ">", are still a whole output.
    EXPECT_TRUE(Capture(kOutput + std::string(5000, '\n') + " \r\n").verdict.Good());
    std::string spaced = kOutput;
    spaced.replace(spaced.rfind("</mame>"), 7, "</mame \r\n>");
    EXPECT_TRUE(Capture(spaced, {}, 3).verdict.Good());
}

TEST(ListXmlCapture, EveryOtherEndLeavesListInfoAsItWas) {
    struct Case {
        const char* what;
        std::string output;
        OutputEnd end;
        ListXmlProblem problem;
    };
    const std::string cut = kOutput.substr(0, kOutput.size() - 9);
    const std::vector<Case> cases{
        {"cancelled", kOutput, {.cancelled = true}, ListXmlProblem::Cancelled},
        {"MAME failed", kOutput, {.exitCode = 5}, ListXmlProblem::MameFailed},
        {"reading failed", kOutput, {.readError = 109}, ListXmlProblem::ReadFailed},
        {"nothing", "", {}, ListXmlProblem::Empty},
        {"blanks only", " \r\n", {}, ListXmlProblem::NotXml},
        {"a usage text", "Usage: mame [machine] [media] [software] [options]\n", {}, ListXmlProblem::NotXml},
        {"cut in a machine", cut, {}, ListXmlProblem::Truncated},
        {"ending with another element",
         kOutput.substr(0, kOutput.rfind("</mame>")),
         {},
         ListXmlProblem::Truncated},
        {"a NUL byte", kOutput.substr(0, 40) + '\0' + kOutput.substr(40), {}, ListXmlProblem::NulByte},
        {"no root after the document type",
         "<?xml version=\"1.0\"?>\n<!DOCTYPE mame [ ]>\n",
         {},
         ListXmlProblem::NotXml},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const Captured run = Capture(c.output, c.end);
        EXPECT_EQ(run.verdict.problem, c.problem);
        EXPECT_EQ(run.listInfo, kOld);
        EXPECT_FALSE(run.temporaryLeft);
        EXPECT_TRUE(run.verdict.Message().ends_with("。listinfo.txtは元のままです")) << run.verdict.Message();
    }
    // The exit code and the read error are told.
    EXPECT_NE(Capture(kOutput, {.exitCode = 5}).verdict.Message().find("終了コード5"), std::string::npos);
    EXPECT_NE(Capture(kOutput, {.readError = 109}).verdict.Message().find("I/O エラー (109)"),
              std::string::npos);
}

// The window may ask again (a second end notification, a retry after a failed load): the verdict and
// the file it judged stay.
TEST(ListXmlCapture, ASecondJudgementGivesTheFirstVerdict) {
    const TempFolder folder;
    const auto listInfo = folder.Write("listinfo.txt", kOld);
    ListXmlCapture capture(listInfo);
    ASSERT_TRUE(capture.Take(kOutput));
    ASSERT_TRUE(capture.Judge({}).Good());
    const ListXmlVerdict again = capture.Judge({.exitCode = 3});
    EXPECT_TRUE(again.Good()) << again.Message();
    EXPECT_EQ(TempFolder::ReadFile(capture.TemporaryFile()), kOutput);
    capture.PutInPlace();
    EXPECT_EQ(folder.Read("listinfo.txt"), kOutput);
}

// A stream that never ends stops at the limit: Take refuses it, so that the reader stops MAME.
TEST(ListXmlCapture, AStreamPastTheLimitIsRefusedAsItComes) {
    const TempFolder folder;
    const auto listInfo = folder.Write("listinfo.txt", kOld);
    ListXmlCapture capture(listInfo, 1 << 16);
    const std::string chunk(4096, 'x');
    int taken = 0;
    while (capture.Take(chunk)) ++taken;
    EXPECT_EQ(taken, 16);
    EXPECT_FALSE(capture.Take(chunk));
    const ListXmlVerdict verdict = capture.Judge({});
    EXPECT_EQ(verdict.problem, ListXmlProblem::TooLarge);
    EXPECT_EQ(folder.Read("listinfo.txt"), kOld);
    EXPECT_FALSE(std::filesystem::exists(capture.TemporaryFile()));
    EXPECT_EQ(kMaxListXmlBytes, 1024u * 1024 * 1024);
}

TEST(ListXmlCapture, AFullDiskEndsTheCaptureWithItsMessage) {
    for (const FileStep step : {FileStep::Write, FileStep::Sync}) {
        const TempFolder folder;
        const auto listInfo = folder.Write("listinfo.txt", kOld);
        ListXmlVerdict verdict;
        {
            FileFaultInjection full(
                {.step = step, .occurrence = 1, .error = ENOSPC, .nameContains = "kanaroll-new"});
            ListXmlCapture capture(listInfo, kMaxListXmlBytes);
            // More than the writer holds back, so that it writes before the end.
            const std::string big =
                kOutput.substr(0, kOutput.size() - 8) + std::string(3 << 20, ' ') + "</mame>\n";
            for (std::size_t at = 0; at < big.size(); at += 65536)
                if (!capture.Take(std::string_view(big).substr(at, 65536))) break;
            verdict = capture.Judge({});
        }
        EXPECT_EQ(verdict.problem, ListXmlProblem::WriteFailed);
        EXPECT_NE(verdict.Message().find("ディスクがいっぱいです"), std::string::npos);
        EXPECT_EQ(folder.Read("listinfo.txt"), kOld);
    }
}

TEST(ListXmlCapture, TheRootIsFoundBehindWhatMayComeBeforeIt) {
    EXPECT_EQ(ListXmlRootName(kOutput), "mame");
    EXPECT_EQ(ListXmlRootName("\xEF\xBB\xBF \r\n<mame>"), "mame");
    EXPECT_EQ(ListXmlRootName("<?xml version=\"1.0\"?><!-- x --><?pi?><mess build=\"1\">"), "mess");
    EXPECT_EQ(ListXmlRootName("<?xml version=\"1.0\"?>\n<mame/>"), "mame");
    EXPECT_EQ(ListXmlRootName("<?xml version=\"1.0\"?>\n<mam"), "");  // the name may go on
    EXPECT_EQ(ListXmlRootName("<?xml version=\"1.0\"?>\nmame"), "");
    EXPECT_EQ(ListXmlRootName("<game>"), "");  // not what listinfo.txt takes as XML
    EXPECT_EQ(ListXmlRootName("<?xml version=\"1.0\"?><!DOCTYPE mame [ <!ATTLIST a b \"]>"), "");
}

// The start and the end of what `file` holds, `bytes` of each.
std::string Ends(const std::filesystem::path& file, std::size_t bytes) {
    std::ifstream in(file, std::ios::binary);
    std::string head(bytes, '\0');
    std::string tail(bytes, '\0');
    in.read(head.data(), static_cast<std::streamsize>(bytes));
    in.seekg(-static_cast<std::streamoff>(bytes), std::ios::end);
    in.read(tail.data(), static_cast<std::streamsize>(bytes));
    return head + tail;
}

// Today's MAME, when its output is at hand beside the repository: its document type and its last
// machine, as they come.
TEST(ListXmlCapture, TheRealOutputOfMame0251BeginsAndEndsAsAWholeOne) {
    const auto repository = std::filesystem::path(__FILE__).parent_path().parent_path().parent_path();
    const auto real = repository.parent_path() / "cache" / "mame0251-listxml.xml";
    if (!std::filesystem::exists(real)) GTEST_SKIP() << "no " << real.string();
    const std::string ends = Ends(real, 1 << 16);
    EXPECT_TRUE(Capture(ends, {}, 65536).verdict.Good());
    EXPECT_EQ(Capture(ends.substr(0, 1 << 16), {}, 65536).verdict.problem, ListXmlProblem::Truncated);
}

}  // namespace
}  // namespace kanaroll
