#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <string>
#include <utility>
#include <vector>

#include "catalogue/IoError.h"
#include "catalogue/ListXmlElements.h"
#include "tests/support/TempFolder.h"

namespace kanaroll {
namespace {

using ::testing::ElementsAre;
using ::testing::Pair;
using testing::TempFolder;

using Elements = std::vector<std::pair<std::string, std::string>>;

struct Split {
    Elements elements;
    bool failed = false;
};

// Every element the stream gives, until it ends or refuses the file.
Split SplitAll(ListXmlElements& stream) {
    Split split;
    std::string_view name;
    std::string_view element;
    try {
        while (stream.Next(name, element)) split.elements.emplace_back(name, element);
    } catch (const XmlFormatError&) {
        split.failed = true;
    }
    return split;
}

Split SplitFile(const std::filesystem::path& file, std::size_t chunkSize,
                std::size_t maxElementSize = ListXmlElements::kDefaultMaxElementSize) {
    ListXmlElements stream(file, chunkSize, maxElementSize);
    return SplitAll(stream);
}

Split SplitText(std::string_view text, std::size_t chunkSize = ListXmlElements::kDefaultChunkSize,
                std::size_t maxElementSize = ListXmlElements::kDefaultMaxElementSize) {
    TempFolder folder;
    return SplitFile(folder.Write("listinfo.txt", text), chunkSize, maxElementSize);
}

// Everything that could throw off a search for the end of an element: ">" and "<" in attribute
// values, both quote styles, CDATA sections and comments that hold end tags, processing
// instructions, nested elements of the same name, and a DOCTYPE whose internal subset holds "]" and
// ">" in literals and in a comment.
constexpr std::string_view kTricky =
    "\xEF\xBB\xBF<?xml version=\"1.0\"?>\r\n"
    "<!-- made by hand; </mame> here ends nothing -->\n"
    "<!DOCTYPE mame [\n"
    "<!ELEMENT mame (machine+)>\n"
    "\t<!ATTLIST mame build CDATA #IMPLIED>\n"
    "\t<!-- a comment with ] and > in it -->\n"
    "\t<!ATTLIST machine note CDATA \"a ] b > c\">\n"
    "\t<!ATTLIST machine other CDATA 'it\"s'>\n"
    "]>\n"
    "<mame build=\"0.262 (mame0262)\" debug=\"no\" mameconfig=\"10\">\n"
    "\t<machine name=\"a\" note=\"x > y\" other='</machine>'>\n"
    "\t\t<description><![CDATA[A <b> </machine> ]]]></description>\n"
    "\t\t<!-- </machine> -->\n"
    "\t\t<?pi </machine> ?>\n"
    "\t\t<machine name=\"inner\"><machine/></machine>\n"
    "\t</machine>\n"
    "\ttext between machines\n"
    "\t<machine name=\"b\"/>\n"
    "\t<game name=\"c\" ><year>1980</year></game >\n"
    "</mame>\n"
    "after the root: <<< not read";

Elements TrickyElements() {
    return {{"machine",
             "<machine name=\"a\" note=\"x > y\" other='</machine>'>\n"
             "\t\t<description><![CDATA[A <b> </machine> ]]]></description>\n"
             "\t\t<!-- </machine> -->\n"
             "\t\t<?pi </machine> ?>\n"
             "\t\t<machine name=\"inner\"><machine/></machine>\n"
             "\t</machine>"},
            {"machine", "<machine name=\"b\"/>"},
            {"game", "<game name=\"c\" ><year>1980</year></game >"}};
}

TEST(ListXmlElements, FindsEachChildOfTheRootWhateverItsMarkupHolds) {
    const Split split = SplitText(kTricky);
    EXPECT_FALSE(split.failed);
    EXPECT_EQ(split.elements, TrickyElements());
}

TEST(ListXmlElements, ChunkBoundariesFallingAnywhereChangeNothing) {
    TempFolder folder;
    const auto file = folder.Write("listinfo.txt", kTricky);
    for (std::size_t chunk = 1; chunk <= 64; ++chunk) {
        const Split split = SplitFile(file, chunk);
        EXPECT_FALSE(split.failed) << "chunk " << chunk;
        EXPECT_EQ(split.elements, TrickyElements()) << "chunk " << chunk;
    }
}

TEST(ListXmlElements, AFileCutAnywhereBeforeTheRootEndsFailsAfterTheWholeElements) {
    const std::string text(kTricky);
    const std::size_t rootEnd = text.rfind("</mame>") + 7;
    const Elements all = TrickyElements();
    for (std::size_t length = 0; length < rootEnd; ++length) {
        const Split split = SplitText(text.substr(0, length), 7);
        EXPECT_TRUE(split.failed) << "cut at " << length;
        ASSERT_LE(split.elements.size(), all.size());
        for (std::size_t i = 0; i < split.elements.size(); ++i) EXPECT_EQ(split.elements[i], all[i]);
    }
    EXPECT_FALSE(SplitText(text.substr(0, rootEnd), 7).failed);
}

TEST(ListXmlElements, RootsWithoutChildrenAndMarkupThatCannotBeXml) {
    EXPECT_THAT(SplitText("<mame/>").elements, ElementsAre());
    EXPECT_FALSE(SplitText("<mame/>").failed);
    EXPECT_FALSE(SplitText("<?xml version=\"1.0\"?><mame></mame>").failed);
    EXPECT_THAT(SplitText("<mame>\n<machine name='x'/>\n</mame>").elements,
                ElementsAre(Pair("machine", "<machine name='x'/>")));

    EXPECT_TRUE(SplitText("<?xml version=\"1.0\"?>").failed);            // no root at all
    EXPECT_TRUE(SplitText("<?xml version=\"1.0\"?>\ngame (\n").failed);  // text before the root
    EXPECT_TRUE(SplitText("<mame><!ENTITY x 'y'></mame>").failed);       // no such markup here
    EXPECT_TRUE(SplitText("<mame><machine><!DOCTYPE x></machine></mame>").failed);
    EXPECT_TRUE(SplitText("<mame>< machine/></mame>").failed);  // a tag without a name
    EXPECT_TRUE(SplitText("<mame><machine name=\"x\"<year/></machine></mame>").failed);
    EXPECT_TRUE(SplitText("<mame><machine name=\"x></machine></mame>").failed);  // unended quote
    EXPECT_TRUE(SplitText("</mame>").failed);
}

TEST(ListXmlElements, AnElementLargerThanTheLimitFailsInsteadOfFillingMemory) {
    const std::string big = "<mame><machine>" + std::string(5000, 'x') + "</machine></mame>";
    EXPECT_TRUE(SplitText(big, 512, 4096).failed);
    EXPECT_FALSE(SplitText(big, 512, 8192).failed);
    // A comment in the prolog counts as well: nothing unbounded is held.
    EXPECT_TRUE(SplitText("<!--" + std::string(5000, '-') + "-><mame/>", 512, 4096).failed);
}

TEST(ListXmlElements, ElementsNestedTooDeeplyAreRefused) {
    const auto nested = [](std::size_t depth) {
        std::string text = "<mame>";
        for (std::size_t i = 0; i < depth; ++i) text += "<a x='>'>";
        for (std::size_t i = 0; i < depth; ++i) text += "</a>";
        return text + "</mame>";
    };
    EXPECT_FALSE(SplitText(nested(ListXmlElements::kMaxDepth)).failed);
    EXPECT_TRUE(SplitText(nested(ListXmlElements::kMaxDepth + 1)).failed);
    EXPECT_TRUE(SplitText(nested(1'000'000)).failed);
}

// What a reader of games takes: the machines, and of their children only these.
constexpr std::string_view kElements[] = {"machine"};
constexpr std::string_view kChildren[] = {"description", "display", "input"};

Split SplitSelected(std::string_view text, std::size_t chunkSize = ListXmlElements::kDefaultChunkSize) {
    TempFolder folder;
    ListXmlElements stream(folder.Write("listinfo.txt", text), {kElements, kChildren}, chunkSize);
    return SplitAll(stream);
}

std::string Root(std::string_view children) {
    return "<?xml version=\"1.0\"?>\n<mame>\n" + std::string(children) + "</mame>\n";
}

// Children that are left out may hold anything that could pass for the end of their machine.
constexpr std::string_view kMachineWithAllSorts =
    "<machine name=\"a\" note='x > y'>\n"
    "\t<description>Alpha &amp; <![CDATA[</machine>]]></description>\n"
    "\t<rom name=\"</machine>\" size=\"1\"/>\n"
    "\t<!-- </machine> -->\n"
    "\t<?pi </machine> ?>\n"
    "\t<dipswitch name=\"&lt;/machine&gt; &unknown; &#x41;\">Text &amp; <![CDATA[</machine>]]>\n"
    "\t\t<dipvalue name='it\"s' value=\"1\"/>\n"
    "\t</dipswitch >\n"
    "\t<display type=\"raster\" width=\"256\"/>\n"
    "\ttext between children\n"
    "\t<input players=\"2\"><control type=\"joy\"/></input>\n"
    "\t<descriptions/>\n"
    "</machine>";

TEST(ListXmlElements, ASelectionLeavesOutTheChildrenItDoesNotName) {
    const std::string text =
        Root(std::string(kMachineWithAllSorts) +
             "\n<other><rom/></other-end>\n<machine name=\"b\"/>\n<machine name=\"c\"></machine>\n");
    const Elements expected = {
        {"machine",
         "<machine name=\"a\" note='x > y'>"
         "<description>Alpha &amp; <![CDATA[</machine>]]></description>"
         "<display type=\"raster\" width=\"256\"/>"
         "<input players=\"2\"><control type=\"joy\"/></input>"
         "</machine>"},
        // An element the reader does not parse comes whole and unchecked, as without a selection.
        {"other", "<other><rom/></other-end>"},
        {"machine", "<machine name=\"b\"/>"},
        {"machine", "<machine name=\"c\"></machine>"},
    };
    for (std::size_t chunk : {1, 2, 3, 5, 7, 11, 16, 63, 64, 65, 1 << 20}) {
        const Split split = SplitSelected(text, chunk);
        EXPECT_FALSE(split.failed) << "chunk " << chunk;
        EXPECT_EQ(split.elements, expected) << "chunk " << chunk;
    }
}

// The parser would have refused each of these, had it seen the left-out child: the splitter
// refuses them in its place. In an element the reader does not parse, they pass as before.
TEST(ListXmlElements, WhatIsLeftOutIsStillCheckedForWhatTheParserWouldRefuse) {
    using namespace std::string_literals;
    for (const std::string& bad : {
             "<dipswitch name=\"x\"></dipswatch>"s,    // an end tag of another element
             "<dipswitch name=\"x\"></dip>"s,          // ... or of a part of its name
             "<dipswitch name=\"x\"></dipswitch x>"s,  // more than blanks after the name
             "<rom name=\"&#x110000;\"/>"s,            // a reference to no character
             "<rom name=\"&#65\"/>"s,                  // a reference without its ";"
             "<dipswitch>&#X41;</dipswitch>"s,         // "X" is no hexadecimal reference
             "<rom name=\"a\0b\"/>"s,                  // NUL bytes, anywhere
             "<dipswitch>a\0b</dipswitch>"s, "<dipswitch><!-- \0 --></dipswitch>"s,
             "<dipswitch>< dipvalue/></dipswitch>"s,  // a tag without a name
             "<rom name=\"a\"<rom/>"s,                // a tag that does not end
         }) {
        const std::string machine = "<machine name=\"x\"><description>X</description>" + bad + "</machine>";
        const Split refused = SplitSelected(Root("<machine name=\"before\"/>" + machine));
        EXPECT_TRUE(refused.failed) << bad;
        EXPECT_THAT(refused.elements, ElementsAre(Pair("machine", "<machine name=\"before\"/>"))) << bad;

        const std::string other = "<other>" + bad + "</other>";
        const bool structural = bad.find("<rom name=\"a\"<") != std::string::npos;
        EXPECT_EQ(SplitSelected(Root(other)).failed, structural) << bad;
    }
    // Blanks may follow an end tag's name, and a named entity is anyone's to define.
    for (const std::string good :
         {"<dipswitch></dipswitch \t\r\n>", "<rom name=\"&unknown; &amp &#x41;&#65;\"/>",
          "<dipswitch>&#x10FFFF;&#1a;</dipswitch>", "<dipswitch>& a</dipswitch>"}) {
        EXPECT_FALSE(SplitSelected(Root("<machine>" + good + "</machine>")).failed) << good;
    }
}

// A quote opens a value only after "=": in a tag's name or an attribute's name it is one of its
// bytes, for the parser and so for the splitter, with a selection and without.
TEST(ListXmlElements, AQuoteInANameOpensNoValue) {
    const std::string machine =
        "<machine><rom\"x name=\"1\"/><dipswitch a\"b=\"2\" c='\"'>"
        "<dipvalue/></dipswitch><description>A</description></machine>";
    const Elements whole = {{"machine", machine}, {"machine", "<machine name=\"b\"/>"}};
    EXPECT_EQ(SplitText(Root(machine + "<machine name=\"b\"/>")).elements, whole);
    const Split selected = SplitSelected(Root(machine + "<machine name=\"b\"/>"), 3);
    EXPECT_FALSE(selected.failed);
    EXPECT_EQ(selected.elements,
              (Elements{{"machine", "<machine><description>A</description></machine>"}, whole[1]}));

    // For the parser the machine ends at its "</machine>", and the NUL after it lies outside: the
    // fuzzer found this, where the splitter ran on to the second quote and refused the NUL.
    const std::string nul = std::string("<e><machine><\"/></machine>") + '\0' + "\"/></e>";
    const Split outside = SplitSelected(nul);
    EXPECT_FALSE(outside.failed);
    EXPECT_THAT(outside.elements, ElementsAre(Pair("machine", "<machine></machine>")));
}

TEST(ListXmlElements, ACutInsideALeftOutChildEndsAfterTheWholeMachines) {
    const std::string first = "<machine name=\"a\"><description>A</description></machine>";
    const std::string text = Root(first + "\n" + std::string(kMachineWithAllSorts));
    const std::size_t second = text.find(kMachineWithAllSorts);
    TempFolder folder;
    for (std::size_t length = second; length < second + kMachineWithAllSorts.size(); ++length) {
        ListXmlElements stream(folder.Write("cut.xml", text.substr(0, length)), {kElements, kChildren}, 5);
        std::string_view name;
        std::string_view element;
        ASSERT_TRUE(stream.Next(name, element));
        EXPECT_EQ(element, first);
        EXPECT_THROW(stream.Next(name, element), XmlTruncatedError) << "cut at " << length;
    }
}

TEST(ListXmlElements, LeftOutChildrenCountTowardsTheNestingLimit) {
    const auto nested = [](std::size_t depth) {
        std::string text = "<mame><machine>";
        for (std::size_t i = 1; i < depth; ++i) text += "<port x='>'>";
        for (std::size_t i = 1; i < depth; ++i) text += "</port>";
        return text + "</machine></mame>";
    };
    EXPECT_THAT(SplitSelected(nested(ListXmlElements::kMaxDepth)).elements,
                ElementsAre(Pair("machine", "<machine></machine>")));
    EXPECT_TRUE(SplitSelected(nested(ListXmlElements::kMaxDepth + 1)).failed);
}

TEST(ListXmlElements, AFileThatCannotBeOpenedIsAnIoError) {
    TempFolder folder;
    EXPECT_THROW(ListXmlElements(folder / "missing.xml"), IoError);
}

}  // namespace
}  // namespace kanaroll
