#include "base/numbers.h"
#include "base/text.h"

#include <gtest/gtest.h>

using namespace harlune;

TEST(Text, TrimRemovesBytesUpTo32Only) {
    EXPECT_EQ(trim(std::string("\t\r\n \x01 abc \x1f\0", 11)), "abc");
    EXPECT_EQ(trim("\xA0x\xA0"), "\xA0x\xA0"); // no-break space is not blank
    EXPECT_EQ(trimLeft("  a "), "a ");
    EXPECT_EQ(trimRight("  a "), "  a");
    EXPECT_EQ(trim("   "), "");
}

TEST(Text, SplitAndReplace) {
    EXPECT_EQ(split("a\xA1\xA1"
                    "b\xA1",
                    '\xA1'),
              (std::vector<std::string>{"a", "", "b", ""}));
    EXPECT_EQ(replaceAll("a\n\rb\n\r", "\n\r", "|"), "a|b|");
    EXPECT_EQ(asciiUpper("abc\xE4z"), "ABC\xE4Z");
}

TEST(Numbers, RoundsHalfToEven) {
    const std::pair<double, int64_t> cases[] = {{0.5, 0},     {1.5, 2},   {2.5, 2},    {215.5, 216},
                                                {214.5, 214}, {-2.5, -2}, {2.4999, 2}, {2.5001, 3}};
    for (auto [value, expected] : cases)
        EXPECT_EQ(roundHalfEven(value), expected) << value;
}

TEST(Numbers, IntegerReadingFallsBackToTheDefault) {
    const std::pair<const char*, int> cases[] = {{"42", 42},
                                                 {"-7", -7},
                                                 {"+3", 3},
                                                 {"  12", 12},
                                                 {"$1F", 31},
                                                 {"0x10", 16},
                                                 {"", -1},
                                                 {"12a", -1},
                                                 {"a", -1},
                                                 {"12 ", -1},
                                                 {"-", -1},
                                                 {"1.5", -1},
                                                 {"2147483647", 2147483647},
                                                 {"2147483648", -1},
                                                 {"-2147483648", -2147483647 - 1}};
    for (auto [text, expected] : cases)
        EXPECT_EQ(toIntDef(text, -1), expected) << text;
    EXPECT_TRUE(isInteger("100"));
    EXPECT_FALSE(isInteger("1e2"));
}

TEST(Numbers, LeadingNumbers) {
    EXPECT_DOUBLE_EQ(leadingNumber("3.52a"), 3.52);
    EXPECT_DOUBLE_EQ(leadingNumber("2.9"), 2.9);
    EXPECT_DOUBLE_EQ(leadingNumber("abc"), 0.0);
    EXPECT_DOUBLE_EQ(leadingNumber(" 3"), 3.0);
    EXPECT_EQ(leadingInt("3/12", 0), 3);
    EXPECT_EQ(leadingInt("x3", -5), -5);
    EXPECT_EQ(formatFixed(8.0, 2), "8.00");
}
