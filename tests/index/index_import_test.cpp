#include "index/index_files.h"
#include "index/index_import.h"

#include "fake_dialogs.h"
#include "temp_dir.h"

#include <gtest/gtest.h>

using namespace harlune;
using harlune::test::FakeDialogs;
using harlune::test::TempDir;

namespace {

struct ImportFixture : ::testing::Test {
    TempDir dir;
    FakeDialogs dialogs;
    MP3Index grid;
    GroupList groups;
    IndexSelector selector;
    std::string indexFolder;

    void SetUp() override {
        dir.makeProgramFolder();
        indexFolder = dir.file("Playlists");
    }
    std::optional<std::string> import(const std::string& path) {
        return importIndexFile(path, indexFolder, grid, selector, dialogs);
    }
    // Loads the list file as a search would.
    size_t load(const std::string& list) {
        selector.text = list;
        EXPECT_TRUE(ladeliste(grid, groups, dialogs, false, list, indexFolder));
        return grid.size();
    }
};

const std::string kPls = "[playlist]\r\nFile1=C:\\Musik\\a.mp3\r\nTitle1=Artist - A\r\n"
                         "Length1=215\r\nFile2=/m/b.mp3\r\nTitle2=Artist - B\r\nLength2=-1\r\n"
                         "NumberOfEntries=2\r\nVersion=2\r\n";

} // namespace

TEST_F(ImportFixture, PlsFromElsewhereIsCopiedConvertedAndSelected) {
    std::string source = dir.write("else/list.pls", kPls);
    dialogs.addAnswer("yes"); // copy into the index folder
    dialogs.addAnswer("yes"); // import
    auto list = import(source);
    ASSERT_TRUE(list);
    EXPECT_EQ(*list, indexFolder + "/list.M3U");
    EXPECT_EQ(TempDir::read(*list), "#EXTM3U\r\n#EXTINF:215,Artist - A\r\nC:\\Musik\\a.mp3\r\n"
                                    "#EXTINF:-1,Artist - B\r\n/m/b.mp3\r\n");
    EXPECT_EQ(TempDir::read(indexFolder + "/list.ALB"),
              "#EXTALB\r\nDummy-Album (by Harlune Import)\r\nDummy-Album (by Harlune Import)\r\n");
    EXPECT_EQ(selector.items, std::vector<std::string>{*list});
    EXPECT_EQ(selector.text, *list);
    EXPECT_EQ(dialogs.texts("warning"), std::vector<std::string>{kNoAlbumInfoText});
    EXPECT_EQ(dialogs.texts("information"), std::vector<std::string>{kImportDoneText});
    ASSERT_EQ(load(*list), 2u);
    EXPECT_EQ(grid.title(1), "Artist - B");
}

TEST_F(ImportFixture, B4sLengthsAreRoundedHalfToEven) {
    std::string source =
        dir.write("Playlists/x.b4s",
                  "<?xml version=\"1.0\" encoding='UTF-8' standalone=\"yes\"?>\r\n<WinampXML>\r\n"
                  "<playlist num_entries=\"2\">\r\n"
                  "<entry Playstring=\"file:C:\\m\\one.mp3\">\r\n<Name>One</Name>\r\n"
                  "<Length>215500</Length>\r\n</entry>\r\n"
                  "<entry Playstring=\"file:C:\\m\\two.mp3\">\r\n<Name>Two</Name>\r\n"
                  "<Length>214500</Length>\r\n</entry>\r\n</playlist>\r\n</WinampXML>\r\n");
    dialogs.addAnswer("yes");
    auto list = import(source);
    ASSERT_TRUE(list);
    EXPECT_EQ(TempDir::read(*list), "#EXTM3U\r\n#EXTINF:216,One\r\nC:\\m\\one.mp3\r\n"
                                    "#EXTINF:214,Two\r\nC:\\m\\two.mp3\r\n");
    EXPECT_EQ(load(*list), 2u);
}

TEST_F(ImportFixture, APlaylistSavedUnderTheListFileNameIsReadBeforeItIsReplaced) {
    std::string source = dir.write("Playlists/mixed.M3U", kPls);
    dialogs.addAnswer("yes");
    auto list = import(source);
    ASSERT_TRUE(list);
    EXPECT_EQ(*list, source);
    EXPECT_EQ(load(*list), 2u);
    EXPECT_EQ(grid.path(0), "C:\\Musik\\a.mp3");
}

TEST_F(ImportFixture, RefusalsLeaveTheSelectorAlone) {
    struct Case {
        std::string name, content, message;
    } cases[] = {
        {"plain.m3u", "C:\\a.mp3\r\n", std::string(kUnknownFormatText) + "C:\\A.MP3)"},
        {"bad.alb", "#EXTALB\r\n", ""}, // list file missing: not a valid index
    };
    for (const auto& c : cases) {
        dialogs.clear();
        std::string path = dir.write("Playlists/" + c.name, c.content);
        EXPECT_FALSE(import(path)) << c.name;
        ASSERT_EQ(dialogs.texts("warning").size(), 1u) << c.name;
        if (!c.message.empty()) {
            EXPECT_EQ(dialogs.texts("warning")[0], c.message);
        }
        EXPECT_TRUE(selector.items.empty());
    }
}

TEST_F(ImportFixture, AnAlbumFileChosenElsewhereBringsItsPair) {
    dir.write("else/pair.M3U", "#EXTM3U\r\n/m/a.mp3\r\n");
    std::string alb = dir.write("else/pair.ALB", "#EXTALB\r\nAlbum\r\n");
    dialogs.addAnswer("yes");
    auto list = import(alb);
    ASSERT_TRUE(list);
    EXPECT_EQ(*list, indexFolder + "/pair.M3U");
    EXPECT_EQ(TempDir::read(indexFolder + "/pair.ALB"), "#EXTALB\r\nAlbum\r\n");
    EXPECT_EQ(load(*list), 1u);
}

TEST_F(ImportFixture, AMissingAlbumFileCanBeReplacedByADummy) {
    std::string list = dir.write("Playlists/solo.M3U", "#EXTM3U\r\n/m/a.mp3\r\n");
    dialogs.addAnswer("yes");
    ASSERT_TRUE(import(list));
    EXPECT_EQ(TempDir::read(indexFolder + "/solo.ALB"),
              "#EXTALB\r\nDummy-Album (by Harlune Import)\r\n");
    dialogs.addAnswer("no");
    std::remove((indexFolder + "/solo.ALB").c_str());
    EXPECT_FALSE(import(list));
}

TEST(IndexSelector, TheSixthIndexPushesTheOldestOut) {
    IndexSelector s;
    for (int i = 1; i <= 5; ++i)
        addRecentIndex(s, "/p/" + std::to_string(i) + ".M3U");
    addRecentIndex(s, "/p/3.M3U");
    EXPECT_EQ(s.items.size(), 5u);
    EXPECT_EQ(s.text, "/p/3.M3U");
    addRecentIndex(s, "/p/6.M3U");
    EXPECT_EQ(s.items, (std::vector<std::string>{"/p/6.M3U", "/p/1.M3U", "/p/2.M3U", "/p/3.M3U",
                                                 "/p/4.M3U"}));
    EXPECT_EQ(s.text, "/p/6.M3U");
}

TEST(ImportParsers, PlsVersionLineWritesThePendingEntry) {
    auto entries = parsePls({"[playlist]", "File1=x.mp3", "Title1 = a = b ", "Version=2"});
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(entries[0].title, "b");
    EXPECT_TRUE(parsePls({"Title1=t", "Length1=3"}).empty());
}
