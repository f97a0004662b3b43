#include "base/cp1252.h"

#include <gtest/gtest.h>

using namespace harlune;

TEST(Cp1252, ConvertsTheRangeWhereItDiffersFromLatin1) {
    struct Case {
        std::string cp, utf8;
    } cases[] = {
        {"abc", "abc"},
        {"\x80", "\xE2\x82\xAC"},                                 // euro sign
        {"\x8A\x9A", "\xC5\xA0\xC5\xA1"},                         // S and s with caron
        {"\x9F", "\xC5\xB8"},                                     // Y with diaeresis
        {"\xE4\xF6\xFC\xDF", "\xC3\xA4\xC3\xB6\xC3\xBC\xC3\x9F"}, // umlauts and sharp s
        {"\xA1", "\xC2\xA1"},                                     // the record separator
        {"\x8D", "\xC2\x8D"}, // undefined byte kept as C1 control
    };
    for (const auto& c : cases) {
        EXPECT_EQ(cp1252ToUtf8(c.cp), c.utf8) << c.cp;
        EXPECT_EQ(utf8ToCp1252(c.utf8), c.cp) << c.utf8;
    }
}

TEST(Cp1252, NamesOutsideTheCodePageSurviveTheRoundTrip) {
    const std::string names[] = {
        "\xE6\x97\xA5\xE6\x9C\xAC.mp3", // CJK
        "caf\xC3\xA9 \xF0\x9F\x8E\xB5", // accent and an emoji (4-byte UTF-8)
        "bad\xFF\xFE bytes.mp3",        // no UTF-8 at all
        "trail\xC3",                    // cut-off sequence
        "\xC2\x81 control",             // U+0081 (the escape byte's own code point)
        "\xED\xA0\x80 surrogate",       // encoded surrogate: invalid
        std::string("nul\0inside", 10),
    };
    for (const auto& name : names) {
        std::string cp = utf8ToCp1252(name);
        EXPECT_EQ(cp1252ToUtf8(cp), name);
    }
    EXPECT_EQ(utf8ToCp1252("\xE6\x97\xA5"), "\x81u65E5;");
    EXPECT_EQ(utf8ToCp1252("\xFF"), "\x81xFF");
}

TEST(Cp1252, AStrayEscapeByteIsShownAsItsControlCharacter) {
    EXPECT_EQ(cp1252ToUtf8("a\x81zz"), "a\xC2\x81zz");
    EXPECT_EQ(cp1252ToUtf8("\x81u12"), "\xC2\x81u12"); // no closing ';'
}
