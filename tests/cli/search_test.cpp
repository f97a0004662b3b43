// harlune-cli search and total over an index made by hand (the program is named by HARLUNE_CLI).
#include "cli_runner.h"
#include "search/grid_operations.h"
#include "temp_dir.h"

#include <gtest/gtest.h>

using harlune::test::CliResult;
using harlune::test::runCli;
using harlune::test::TempDir;

namespace {

CliResult cli(const TempDir& dir, const std::string& args) {
    return runCli("--prog '" + dir.path() + "' " + args);
}

struct CliSearch : ::testing::Test {
    TempDir dir;
    std::string list;
    void SetUp() override {
        if (!std::getenv("HARLUNE_CLI"))
            GTEST_SKIP() << "HARLUNE_CLI not set";
        dir.makeProgramFolder();
        list = dir.write("Playlists/Hand.M3U",
                         "#EXTM3U\r\n#EXTINF:210,Abba - Waterloo\r\n/m/Abba/Waterloo.mp3\r\n"
                         "/m/Beatles/Yesterday.mp3\r\n#extinf:165,\xC4rzte - Z\xE4hne\r\n"
                         "/m/\xC4rzte/Z\xE4hne.mp3\r\n");
        dir.write("Playlists/Hand.ALB", "#EXTALB\r\nGold\xA1"
                                        "3:30\xA1\xA1\xA1\xA1\xA1\xA1 \xA1"
                                        "4\xA1Pop\xA1\xA1"
                                        "1\xA1\r\n"
                                        "Help\xA1"
                                        "2:05\xA1\xA1\xA1\xA1\xA1\xA1 \xA1"
                                        "0\xA1\xA1\xA1-\xA1\r\n"
                                        "Ab\xA1"
                                        "2:45\xA1\xA1\xA1\xA1\xA1\xA1 \xA1"
                                        "2\xA1Punk\xA1\xA1-\xA1\r\n");
    }
};

} // namespace

TEST_F(CliSearch, PrintsTheRowsAsTheGridShowsThem) {
    CliResult r = cli(dir, "search --index '" + list + "' '*'");
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, "  1. Abba - Waterloo\n  2. Yesterday\n  3. \xC3\x84rzte - Z\xC3\xA4hne\n"
                     "=> 3 MP3s\n");
    // Umlauts fold: "ä" finds "Ä".
    r = cli(dir, "search --index '" + list + "' '\xC3\xA4rzte'");
    EXPECT_EQ(r.out, "  3. \xC3\x84rzte - Z\xC3\xA4hne\n=> 1 MP3s\n");
}

TEST_F(CliSearch, ExtraInformationSortingAndSources) {
    CliResult r = cli(dir, "search --index '" + list + "' --extra --sort 3:desc '*'");
    EXPECT_EQ(r.out, "  1. Abba - Waterloo\t (3:30, * * * * , Pop) \n"
                     "  3. \xC3\x84rzte - Z\xC3\xA4hne\t (2:45, * * , Punk) \n"
                     "  2. Yesterday\t (2:05, unbew., _keine Gruppe_) \n=> 3 MP3s\n");
    r = cli(dir, "search --index '" + list + "' --source a 'help'");
    EXPECT_EQ(r.out, "  2. Yesterday\n=> 1 MP3s\n");
    r = cli(dir, "search --index '" + list + "' --source g 'Wertung mind. : 3'");
    EXPECT_EQ(r.out, "  1. Abba - Waterloo\n=> 1 MP3s\n");
}

TEST_F(CliSearch, TotalAndFailures) {
    CliResult r = cli(dir, "total --index '" + list + "' '*'");
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, "Die Spieldauer betr\xC3\xA4gt \n0 Stunden, 8 Minuten und 20 Sekunden\n\n"
                     "(3 Titel verarbeitet)\n");
    r = cli(dir, "search --index '" + dir.file("Playlists/None.M3U") + "' x");
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out, "");
    r = cli(dir, "search --bogus x");
    EXPECT_EQ(r.status, 2);
}
