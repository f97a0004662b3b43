// harlune-cli build over a folder tree of files built byte by byte (the program is named by
// HARLUNE_CLI): the pair it writes loads completely, with each file's extra information.
#include "base/paths.h"
#include "cli_runner.h"
#include "fake_dialogs.h"
#include "index/fields.h"
#include "index/index_files.h"
#include "meta/mp3_fixture.h"
#include "meta/tag_reader.h"
#include "temp_dir.h"

#include <array>
#include <cstdio>
#include <cstdlib>
#include <gtest/gtest.h>
#include <sys/wait.h>

using namespace harlune;
using namespace harlune::test;

namespace {

struct CliBuild : ::testing::Test {
    TempDir dir;
    void SetUp() override {
        if (!std::getenv("HARLUNE_CLI"))
            GTEST_SKIP() << "HARLUNE_CLI not set";
        dir.makeProgramFolder();
        const std::string rated = frame("PRIV", std::string("\0HARLUNE\xA1"
                                                            "4\xA1Party",
                                                            16));
        dir.write("Musik/a.mp3",
                  id3v2Tag(textFrame("TIT2", "Eins") + textFrame("TPE1", "Band") +
                           textFrame("TALB", "Platte") + textFrame("TRCK", "3/12") + rated) +
                      audio(400000));
        dir.write("Musik/Pop/b.mp3", audio(200000) + id3v1Block("Zwei", "", "V1", "", "", 7));
        // A name outside Windows-1252 (snowman) and one with a Latin-1 letter.
        dir.write("Musik/Pop/Neu/M\xFCller \x81u2603;.mp3", audio(300000, "\xFF\xF3\x48\xC4"));
        dir.write("Musik/Pop/kein.txt", "x");
    }
    std::string prog() { return "--prog '" + dir.path() + "' "; }
};

std::string_view info0Length(const MP3Index& grid) {
    return fieldView(grid.record(0), kFieldLaenge);
}

} // namespace

TEST_F(CliBuild, PairLoadsWithTheExtraInformationOfEachFile) {
    CliResult r = runCli(prog() + "build Test '" + dir.file("Musik") + "'");
    ASSERT_EQ(r.status, 0);
    const std::string list = dir.file("Playlists/Test.M3U");
    EXPECT_EQ(r.out, "MP3 Liste wurde erstellt!\n\nVerwendete ID3v1Tags/Dateinamen: 2\n"
                     "Verwendete ID3v2Tags: 1\n");

    MP3Index grid;
    GroupList groups;
    FakeDialogs dialogs;
    std::string error;
    ASSERT_TRUE(Listehinzufuegen(grid, groups, dialogs, list, error)) << error;
    ASSERT_EQ(grid.size(), 3u);
    const std::string musik = dir.file("Musik");
    const std::vector<std::pair<std::string, std::string>> expected = {
        {"Band - Eins", musik + "/a.mp3"},
        {"Zwei", musik + "/Pop/b.mp3"},
        {"M\xFCller \x81u2603;", musik + "/Pop/Neu/M\xFCller \x81u2603;.mp3"},
    };
    for (size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(grid.title(i), expected[i].first);
        EXPECT_EQ(grid.path(i), expected[i].second);
        FileInfo info;
        loadFileInfo(expected[i].second, info);
        EXPECT_EQ(fieldView(grid.record(i), kFieldLaenge), info.header.Laenge);
        EXPECT_EQ(grid.record(i).substr(grid.record(i).find('\xA1') + 1), extraInfoFields(info));
    }
    EXPECT_EQ(getfield(grid.record(0), kFieldAlbum), "Platte");
    EXPECT_EQ(getfield(grid.record(0), kFieldWertung), "4");
    EXPECT_EQ(getfield(grid.record(0), kFieldGruppe), "Party");
    EXPECT_EQ(getfield(grid.record(0), kFieldTrackNr), "3/12");
    EXPECT_EQ(getfield(grid.record(1), kFieldAlbum), "V1");
    EXPECT_EQ(getfield(grid.record(1), kFieldTrackNr), "7");
    EXPECT_EQ(groups.names(), std::vector<std::string>{"Party"});

    // harlune-cli search lists the whole pair, each row with its extra information.
    CliResult listed = runCli(prog() + "search --index '" + list + "' --extra '*'");
    ASSERT_EQ(listed.status, 0);
    EXPECT_EQ(std::count(listed.out.begin(), listed.out.end(), '\n'), 4);
    EXPECT_NE(listed.out.find("  1. Band - Eins\t (" + std::string(info0Length(grid)) + ", "),
              std::string::npos)
        << listed.out;
    EXPECT_NE(listed.out.find("  3. M\xC3\xBCller \xE2\x98\x83\t ("), std::string::npos)
        << listed.out;
    EXPECT_TRUE(listed.out.ends_with("=> 3 MP3s\n")) << listed.out;
}

TEST_F(CliBuild, OverwriteNeedsYesAndOptionsApply) {
    ASSERT_EQ(runCli(prog() + "build Test '" + dir.file("Musik/Pop") + "' --flat").status, 0);
    const std::string before = TempDir::read(dir.file("Playlists/Test.M3U"));
    EXPECT_EQ(before, "#EXTM3U\r\n#EXTINF:13,Zwei\r\n" + dir.file("Musik/Pop/b.mp3") + "\r\n");

    // The overwrite question is answered No without --yes.
    EXPECT_EQ(runCli(prog() + "build Test '" + dir.file("Musik") + "'").status, 1);
    EXPECT_EQ(TempDir::read(dir.file("Playlists/Test.M3U")), before);

    ASSERT_EQ(runCli("--yes " + prog() + "build Test '" + dir.file("Musik/Pop") +
                     "' --flat --filenames --dynamic")
                  .status,
              0);
    EXPECT_EQ(TempDir::read(dir.file("Playlists/Test.M3U")),
              "#EXTM3U\r\n#EXTINF:0,b\r\n" + dir.file("Musik/Pop/b.mp3") + "\r\n");
    EXPECT_EQ(TempDir::read(dir.file("Playlists/Test.ALB")), "#EXTALB\r\n\r\n");
}

TEST_F(CliBuild, WebIndexWithStoredCredentials) {
    // The preview question needs Yes.
    ASSERT_EQ(runCli("--yes " + prog() + "build Web '" + dir.file("Musik/Pop") +
                     "' --flat --web '" + dir.file("Musik") +
                     "' http://host/mp3 --credentials anna:pw")
                  .status,
              0);
    EXPECT_EQ(TempDir::read(dir.file("Playlists/Web.M3U")),
              "#EXTM3U\r\n#EXTINF:13,Zwei\r\nhttp://anna:pw@host/mp3/Pop/b.mp3\r\n");
    EXPECT_EQ(runCli(prog() + "build Web").status, 2);
}
