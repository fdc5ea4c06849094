#include <gtest/gtest.h>
#include <string>

#include "catalogue/HardwareText.h"
#include "catalogue/IoError.h"

namespace kanaroll::hardware {
namespace {

std::string Chip(std::string_view line) {
    std::string text;
    AppendClockedChip(text, line);
    return text;
}

std::string Sound(std::string_view line) {
    std::string text;
    AppendSoundChip(text, line);
    return text;
}

TEST(ChipDescription, NamesTheChipAndItsClockInMegaOrKilohertz) {
    EXPECT_EQ(Chip("\tchip ( type cpu name Z80 clock 3072000 )"), "Z80 @ 3.072000MHz");
    EXPECT_EQ(Chip("\tchip ( type cpu name M6502 clock 384000 )"), "M6502 @ 384.000KHz");
    EXPECT_EQ(Chip("\tchip ( type cpu name I8039 clock 999999 )"), "I8039 @ 999.999KHz");
    EXPECT_EQ(Chip("\tchip ( type cpu name I8039 clock 1000000 )"), "I8039 @ 1.000000MHz");
    EXPECT_EQ(Chip("\tchip ( type cpu name Z80 clock 0 )"), "Z80 @ 0.000KHz");
    EXPECT_EQ(Chip("\tchip ( type cpu name 68000 clock 12000000 )"), "68000 @ 12.000000MHz");
    // The clock goes by the text-to-integer conversion, hexadecimal included.
    EXPECT_EQ(Chip("\tchip ( type cpu name Z80 clock $3E8 )"), "Z80 @ 1.000KHz");
}

TEST(ChipDescription, TakesFixedOffsetsAroundItsKeywords) {
    // The name is whatever lies between "name " and " clock", however odd.
    EXPECT_EQ(Chip("\tchip ( type cpu name  clock 1000000 )"), " @ 1.000000MHz");
    EXPECT_EQ(Chip("\tchip ( type cpu name My CPU clock 1000000 )"), "My CPU @ 1.000000MHz");
    // The clock ends one byte before ")": without the blank it loses its last digit.
    EXPECT_EQ(Chip("\tchip ( type cpu name Z80 clock 3000)"), "Z80 @ 0.300KHz");
    // A clock that is no integer, has no ")" behind it or is missing fails the conversion.
    for (const char* line :
         {"\tchip ( type cpu name Z80 clock 3.5 )", "\tchip ( type cpu name Z80 clock 3000",
          "\tchip ( type cpu name Z80 )", "\tchip ( type cpu name Z80 clock )"}) {
        EXPECT_THROW(Chip(line), ConversionError) << line;
    }
}

TEST(SoundDescription, IsTheNameAloneWithoutAClock) {
    EXPECT_EQ(Sound("\tchip ( type audio name DAC )"), "DAC");
    EXPECT_EQ(Sound("\tchip ( type audio name AY-3-8910 clock 1500000 )"), "AY-3-8910 @ 1.500000MHz");
    EXPECT_EQ(Sound("\tchip ( type audio name DAC)"), "DA");  // no blank before ")": loses a byte
    EXPECT_EQ(Sound("\tchip ( type audio name )"), "");
    EXPECT_EQ(Sound("\tchip ( type audio name DAC"), "");  // no ")": nothing
}

TEST(VideoLine, BuildsSizeAndRateFromBlankEndedValues) {
    std::string video;
    ApplyVideoLine(video,
                   "\tvideo ( screen raster orientation vertical x 224 y 288 colors 256 freq 60.606060 )");
    EXPECT_EQ(video, "224 x 288 @ 60.606060Hz");
    // A later size replaces the text; a rate is appended to what is there.
    ApplyVideoLine(video, "\tvideo ( x 320 y 240 )");
    EXPECT_EQ(video, "320 x 240");
    ApplyVideoLine(video, "\tvideo ( freq 50 )");
    EXPECT_EQ(video, "320 x 240 @ 50Hz");

    std::string noSize;
    ApplyVideoLine(noSize, "\tvideo ( screen raster freq 60 )");
    EXPECT_EQ(noSize, "");  // no size: the rate has nothing to go behind
    std::string cutShort;
    ApplyVideoLine(cutShort, "\tvideo ( x 224 y 288");
    EXPECT_EQ(cutShort, "224 x ");  // a value at the line end has no blank behind it
    ApplyVideoLine(cutShort, "\tvideo ( freq)");
    EXPECT_EQ(cutShort, "224 x  @ Hz");
}

TEST(DescriptionList, MergesEqualItemsWhereTheFirstStood) {
    DescriptionList list;
    EXPECT_EQ(list.TakeGrouped(), "");
    for (const char* item : {"A", "B", "A"}) list.Add() = item;
    EXPECT_EQ(list.TakeGrouped(), "2 x A, B");
    EXPECT_EQ(list.Size(), 0u);

    // The list is reused: nothing of the previous game may show through.
    for (const char* item : {"Z80 @ 3.072000MHz", "M6809 @ 1.500000MHz", "Z80 @ 3.072000MHz"})
        list.Add() = item;
    EXPECT_EQ(list.TakeGrouped(), "2 x Z80 @ 3.072000MHz, M6809 @ 1.500000MHz");
    for (const char* item : {"Z80 @ 3.072000MHz", "Z80 @ 3.072000MHz (sound)", "Z80 @ 4.000000MHz", "",
                             "Z80 @ 3.072000MHz", "Z80 @ 3.072000MHz", "", "C"}) {
        list.Add() = item;
    }
    EXPECT_EQ(list.TakeGrouped(), "3 x Z80 @ 3.072000MHz, Z80 @ 3.072000MHz (sound), Z80 @ 4.000000MHz, C");
    list.Add() = "only";
    EXPECT_EQ(list[0], "only");
    EXPECT_EQ(list.TakeGrouped(), "only");
}

}  // namespace
}  // namespace kanaroll::hardware
