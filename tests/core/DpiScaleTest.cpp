#include <gtest/gtest.h>

#include "platform/DpiScale.h"

namespace kanaroll {
namespace {

TEST(DpiScaleTest, NinetySixDpiKeepsEveryLengthAndOtherDensitiesRoundHalvesAwayFromZero) {
    const DpiScale design(96);
    for (int length : {-950, -1, 0, 1, 7, 285, 950}) EXPECT_EQ(design(length), length);
    // A density the platform could not tell (0) is taken as 96 dpi.
    EXPECT_TRUE(DpiScale(0).IsDesignDpi());
    EXPECT_EQ(DpiScale(0)(667), 667);

    const DpiScale oneAndAHalf(144);
    EXPECT_EQ(oneAndAHalf(1), 2);  // 1.5
    EXPECT_EQ(oneAndAHalf(3), 5);  // 4.5
    EXPECT_EQ(oneAndAHalf(-1), -2);
    EXPECT_EQ(oneAndAHalf(-3), -5);
    EXPECT_EQ(oneAndAHalf(950), 1425);
    EXPECT_EQ(DpiScale(120)(13), 16);  // 16.25
    EXPECT_EQ(DpiScale(192)(667), 1334);
}

TEST(DpiScaleTest, AWidthMeasuredAtOneDensityIsCarriedToAnother) {
    // A column the user widened to 151 pixels at 144 dpi: 201 at 192, and back to 151.
    EXPECT_EQ(DpiScale(192).From(151, 144), 201);
    EXPECT_EQ(DpiScale(144).From(201, 192), 151);
    EXPECT_EQ(DpiScale(96).From(300, 96), 300);
    // Doubling and halving loses nothing.
    for (int width = 0; width < 500; ++width) EXPECT_EQ(DpiScale(96).From(DpiScale(192)(width), 192), width);
    // A nonsense source density leaves the length alone.
    EXPECT_EQ(DpiScale(144).From(80, 0), 80);
}

}  // namespace
}  // namespace kanaroll
