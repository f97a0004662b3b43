#include "index/mp3_index.h"

#include <gtest/gtest.h>

using namespace harlune;

namespace {
// Texts of varied length (some empty) so that offsets and block boundaries get exercised.
std::string textFor(char tag, size_t i) {
    if (i % 7 == 3)
        return "";
    return std::string(1, tag) + std::to_string(i) + std::string(i % 13, '\xA1');
}
} // namespace

TEST(MP3Index, KeepsEveryEntryInLoadOrderAcrossBlocks) {
    MP3Index index;
    EXPECT_TRUE(index.empty());
    const size_t n = 3 * MP3Index::kBlockRows + 5;
    for (size_t i = 0; i < n; ++i) {
        index.append(textFor('t', i), textFor('p', i), i < n / 2 ? "C:/one.m3u" : "C:/two.m3u",
                     textFor('r', i));
    }
    ASSERT_EQ(index.size(), n);
    EXPECT_FALSE(index.empty());
    for (size_t i = 0; i < n; ++i) {
        ASSERT_EQ(index.title(i), textFor('t', i)) << i;
        ASSERT_EQ(index.path(i), textFor('p', i)) << i;
        ASSERT_EQ(index.record(i), textFor('r', i)) << i;
        ASSERT_EQ(index.listFile(i), i < n / 2 ? "C:/one.m3u" : "C:/two.m3u") << i;
        ASSERT_EQ(index.cell(i, MP3Index::kRecord), index.record(i));
    }
    // Each list path is stored once.
    EXPECT_EQ(index.listFiles(), (std::vector<std::string>{"C:/one.m3u", "C:/two.m3u"}));

    size_t visited = 0;
    index.forEachTitle([&](size_t row, std::string_view title) {
        EXPECT_EQ(row, visited);
        EXPECT_EQ(title, textFor('t', row));
        ++visited;
    });
    EXPECT_EQ(visited, n);

    index.clear();
    EXPECT_TRUE(index.empty());
    EXPECT_TRUE(index.listFiles().empty());
    index.append("x", "y", "z", "w");
    EXPECT_EQ(index.entry(0).listFile, "z");
    EXPECT_EQ(index.listFileId(0), 0u);
}

TEST(MP3Index, AnEntryWithAnEmptyTitleIsAnEntry) {
    // Emptiness is the entry count: an entry whose title is empty is never taken for "nothing
    // loaded" and never overwritten by the next entry.
    MP3Index index;
    index.append("", "NoFolder.mp3", "a.m3u", "");
    EXPECT_FALSE(index.empty());
    index.append("Second", "C:\\Second.mp3", "a.m3u", "");
    ASSERT_EQ(index.size(), 2u);
    EXPECT_EQ(index.path(0), "NoFolder.mp3");
    EXPECT_EQ(index.title(1), "Second");
}
