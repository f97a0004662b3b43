// harlune-cli tags / extra over files built byte by byte (the program is named by HARLUNE_CLI).
#include "cli_runner.h"
#include "meta/mp3_fixture.h"
#include "temp_dir.h"

#include <array>
#include <cstdio>
#include <cstdlib>
#include <gtest/gtest.h>
#include <sys/wait.h>

using namespace harlune::test;

TEST(CliTags, PrintsBothTagsAndTheHeader) {
    if (!std::getenv("HARLUNE_CLI"))
        GTEST_SKIP() << "HARLUNE_CLI not set";
    TempDir dir;
    // A name outside Windows-1252 (snowman), a Latin-1 title, a two-line comment and a rating.
    const std::string tag = id3v2Tag(textFrame("TIT2", "Stra\xDF"
                                                       "e") +
                                     textFrame("TPE1", "Art") + textFrame("TRCK", "3/12") +
                                     frame("COMM", std::string("\0ENG\0a\r\nb\\c", 12)) +
                                     frame("PRIV", std::string("\0HARLUNE\xA1"
                                                               "4\xA1Party",
                                                               16)));
    const std::string name = "M\xC3\xBCller \xE2\x98\x83.mp3"; // UTF-8
    const std::string path = dir.path() + "/" + name;
    {
        FILE* f = std::fopen(path.c_str(), "wb");
        ASSERT_NE(f, nullptr);
        const std::string bytes =
            tag + audio(4000000) +
            id3v1Block("V1 Title", "V1 Artist", "V1 Album", "1999", "", 5, 17);
        std::fwrite(bytes.data(), 1, bytes.size(), f);
        std::fclose(f);
    }

    CliResult r = runCli("tags '" + path + "'");
    EXPECT_EQ(r.status, 0);
    const std::string headerPosition = std::to_string(tag.size()) + " (FF FB 90 44)";
    EXPECT_EQ(r.out, "ID3v1.Track=5\n"
                     "ID3v1.Title=V1 Title\n"
                     "ID3v1.Artist=V1 Artist\n"
                     "ID3v1.Album=V1 Album\n"
                     "ID3v1.Year=1999\n"
                     "ID3v1.Genre=Rock\n"
                     "ID3v1.Comment=\n"
                     "ID3v2.Track=3/12\n"
                     "ID3v2.Title=Stra\xC3\x9F"
                     "e\n"
                     "ID3v2.Artist=Art\n"
                     "ID3v2.Album=\n"
                     "ID3v2.Year=\n"
                     "ID3v2.Genre=\n"
                     "ID3v2.Comment=a\\r\\nb\\\\c\n"
                     "ID3v2.OrigArtist=\n"
                     "ID3v2.Composer=\n"
                     "ID3v2.Url=\n"
                     "ID3v2.CopyrightInfo=\n"
                     "ID3v2.EncodedBy=\n"
                     "ID3v2.Priv=HARLUNE\xC2\xA1"
                     "4\xC2\xA1Party\n"
                     "Header.framesync=ja\n"
                     "Header.MPEGAudioversion=MPEG Version 1\n"
                     "Header.Layer=Layer III\n"
                     "Header.CRC=nein\n"
                     "Header.Bitrate=128 kbit\n"
                     "Header.samplingrate=44100 Hz\n"
                     "Header.padded=nein\n"
                     "Header.privat=nein\n"
                     "Header.mode=Joint stereo\n"
                     "Header.extension=keine\n"
                     "Header.copyright=nein\n"
                     "Header.original=ja\n"
                     "Header.emphasis=keine\n"
                     "Header.Laenge=4:10\n"
                     "Header.headerposition=" +
                         headerPosition + "\n");

    r = runCli("extra '" + path + "' 'Alb\xC3\xBCm'");
    EXPECT_EQ(r.status, 0);
    ASSERT_GT(r.out.size(), 20u);
    // The date is the file's own; everything else is fixed.
    const std::string start = "Alb\xC3\xBCm\xC2\xA1"
                              "4:10\xC2\xA1MPEG Version 1\xC2\xA1Layer III"
                              "\xC2\xA1Joint stereo\xC2\xA1"
                              "44100 Hz\xC2\xA1"
                              "128 kbit\xC2\xA1 "
                              "\xC2\xA1"
                              "4\xC2\xA1Party\xC2\xA1";
    EXPECT_EQ(r.out.substr(0, start.size()), start);
    const std::string rest = r.out.substr(start.size());
    EXPECT_EQ(rest.size(), 10 + 2 + 4 + 2 + 1u) << rest; // yyyy-mm-dd¡3/12¡ + newline
    EXPECT_EQ(rest.substr(10), "\xC2\xA1"
                               "3/12\xC2\xA1\n");
}

TEST(CliTags, MissingFilesAndUsage) {
    if (!std::getenv("HARLUNE_CLI"))
        GTEST_SKIP() << "HARLUNE_CLI not set";
    TempDir dir;
    const std::string missing = dir.file("none.mp3");
    CliResult r = runCli("tags '" + missing + "'");
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.out.find("ID3v1.ErrorText=Datei " + missing + " existiert nicht! (E100)\n"),
              std::string::npos);
    EXPECT_NE(r.out.find("ID3v2.ErrorText=Datei " + missing + " exisitiert nicht! (E200)\n"),
              std::string::npos);
    EXPECT_NE(r.out.find("Header.headerposition=--\n"), std::string::npos);

    EXPECT_EQ(runCli("extra '" + missing + "'").status, 1);
    EXPECT_EQ(runCli("tags").status, 2);
    EXPECT_EQ(runCli("extra").status, 2);
}
