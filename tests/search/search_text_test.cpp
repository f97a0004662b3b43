#include "search/search_text.h"

#include <gtest/gtest.h>

using namespace harlune;

namespace {

TEST(Zeilezerlegen, SplitsAtBlanksOnlyAndUpperCases) {
    struct Case {
        const char* text;
        std::vector<std::string> words;
    };
    const Case cases[] = {
        {"", {}},
        {"   ", {}},
        {"love", {"LOVE"}},
        {"  the   the ", {"THE", "THE"}},
        {"m\xFCller \xE9t\xE9", {"M\xDCLLER", "\xE9T\xE9"}}, // umlauts fold, é stays
        {"a\tb c", {"A\tB", "C"}},                           // only the blank separates
        {"\t x-y \r\n", {"X-Y"}},                            // trimmed ends
    };
    for (const Case& c : cases)
        EXPECT_EQ(zeilezerlegen(c.text), c.words) << c.text;
}

TEST(Zeilezerlegen, KeepsTheFirstHundredWords) {
    std::string text;
    for (int i = 0; i < 120; ++i)
        text += "w" + std::to_string(i) + " ";
    auto words = zeilezerlegen(text);
    ASSERT_EQ(words.size(), kMaxSearchWords);
    EXPECT_EQ(words.front(), "W0");
    EXPECT_EQ(words.back(), "W99");
}

TEST(Norm, RemovesControlCharactersAndTrims) {
    struct Case {
        std::string text;
        bool keepLineBreaks;
        std::string expected;
    };
    const Case cases[] = {
        {"  Ti\x01tle\x1F  ", false, "Title"},
        {"a\r\nb", false, "ab"},
        {"a\r\nb\tc", true, "a\r\nbc"},
        {std::string("x\0y", 3), false, "xy"},
        {"\r\nline\r\n", true, "line"}, // trimming takes line breaks at the ends
        {"\xC4rger \xE9t\xE9", false, "\xC4rger \xE9t\xE9"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(norm(c.text, c.keepLineBreaks), c.expected) << c.text;
}

TEST(Name, FileNameWithoutFolderAndExtension) {
    struct Case {
        const char* path;
        const char* name;
    };
    const Case cases[] = {
        {"C:\\Musik\\Song.mp3", "Song"},
        {"/home/u/Musik/Artist - Title.mp3", "Artist - Title"},
        {"\\\\server\\share\\a.b.mp3", "a.b"},
        {"Song.mp3", "Song"},
        {"C:\\x\\.mp3", ""},
        {"C:\\x\\ab", ""},
        {"", ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Name(c.path), c.name) << c.path;
}

} // namespace
