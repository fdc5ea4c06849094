#include <gtest/gtest.h>

#include "catalogue/IntegerText.h"
#include "catalogue/IoError.h"

namespace kanaroll {
namespace {

TEST(ParseInteger, TakesBlanksSignDecimalAndHexadecimal) {
    EXPECT_EQ(ParseInteger("42"), 42);
    EXPECT_EQ(ParseInteger("  -7"), -7);
    EXPECT_EQ(ParseInteger("+3"), 3);
    EXPECT_EQ(ParseInteger("$1F"), 31);
    EXPECT_EQ(ParseInteger("x10"), 16);
    EXPECT_EQ(ParseInteger("X10"), 16);
    EXPECT_EQ(ParseInteger("0x10"), 16);
    EXPECT_EQ(ParseInteger("0XfF"), 255);
    EXPECT_EQ(ParseInteger("-$10"), -16);
    EXPECT_EQ(ParseInteger("2147483647"), 2147483647);
    EXPECT_EQ(ParseInteger("-2147483648"), -2147483647 - 1);
    EXPECT_EQ(ParseInteger("007"), 7);
}

TEST(ParseInteger, RefusesEverythingElseWithItsMessage) {
    for (const char* text : {"", " ", "-", "+", "$", "0x", "12 ", "1.5", "2147483648", "-2147483649", "abc",
                             "1a", "\t1", "0x-1"}) {
        EXPECT_FALSE(TryParseInteger(text).has_value()) << text;
    }
    try {
        ParseInteger("12a");
        FAIL();
    } catch (const ConversionError& error) {
        EXPECT_STREQ(error.what(), "'12a' は整数ではありません");
    }
}

TEST(FormatFixed, UsesAFullStopAndPrintfWidths) {
    EXPECT_EQ(FormatFixed(3.072, 5, 6), "3.072000");
    EXPECT_EQ(FormatFixed(384.0, 3, 3), "384.000");
    EXPECT_EQ(FormatFixed(999.999, 3, 3), "999.999");
    EXPECT_EQ(FormatFixed(1.0, 10, 2), "      1.00");
    EXPECT_EQ(FormatFixed(-0.005, 3, 3), "-0.005");
}

TEST(IoError, MessagesFollowTheNumber) {
    EXPECT_STREQ(IoError(2).what(), "ファイルが見つかりません");
    EXPECT_STREQ(IoError(3).what(), "ファイル名の指定が間違っています");
    EXPECT_STREQ(IoError(4).what(), "オープンしたファイルが多すぎます");
    EXPECT_STREQ(IoError(5).what(), "ファイルへのアクセスが拒否されました");
    EXPECT_STREQ(IoError(100).what(), "ファイルの末尾以降を読み込みました");
    EXPECT_STREQ(IoError(101).what(), "ディスクがいっぱいです");
    EXPECT_STREQ(IoError(106).what(), "入力値が数値ではありません");
    EXPECT_STREQ(IoError(32).what(), "I/O エラー (32)");
    EXPECT_STREQ(IoError(1005).what(), "I/O エラー (1005)");
    EXPECT_EQ(IoError(4).Number(), 4);
}

TEST(ErrorBoxText, AppendsAFullStopByTheLastByte) {
    EXPECT_EQ(ErrorBoxText("ディスクがいっぱいです"), "ディスクがいっぱいです.");
    EXPECT_EQ(ErrorBoxText("I/O エラー (32)"), "I/O エラー (32)");
    EXPECT_EQ(ErrorBoxText("end."), "end.");
    EXPECT_EQ(ErrorBoxText("a/"), "a/.");
    EXPECT_EQ(ErrorBoxText(""), "");
}

}  // namespace
}  // namespace kanaroll
