#include "meta/id3v1.h"
#include "mp3_fixture.h"
#include "temp_dir.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <sys/stat.h>

using namespace harlune;
using namespace harlune::test;

namespace {

uintmax_t sizeOf(const std::string& path) {
    return std::filesystem::file_size(path);
}

} // namespace

TEST(GenreNames, HoldTheStoredSpellings) {
    ASSERT_EQ(GenreNames.size(), 126u);
    EXPECT_STREQ(GenreNames[0], "Blues");
    EXPECT_STREQ(GenreNames[17], "Rock");
    EXPECT_STREQ(GenreNames[67], "Psychadelic");
    EXPECT_STREQ(GenreNames[93], "Psychedelic Rock");
    EXPECT_STREQ(GenreNames[117], "Poweer Ballad");
    EXPECT_STREQ(GenreNames[118], "Rhytmic Soul");
    EXPECT_STREQ(GenreNames[123], "A Capela");
    EXPECT_STREQ(GenreNames[125], "Dance Hall");
}

TEST(CleanTagText, KeepsPrintableAsciiLineBreaksAndNineLetters) {
    struct Case {
        std::string in, out;
    } cases[] = {
        {"  Abc  ", "Abc"},
        {"a\tb", "a        b"},
        {"a\r\nb", "a\r\nb"},
        {"Caf\xE9 na\xEFve", "Caf nave"}, // é, ï dropped
        {"\xE4\xC4\xF6\xD6\xFC\xDC\xDF\xA1\xBF", "\xE4\xC4\xF6\xD6\xFC\xDC\xDF\xA1\xBF"},
        {"a\x01\x7F\x80\xFF"
         "b",
         "ab"},
        {"\xE9 x", "x"}, // trimmed after dropping
    };
    for (const auto& c : cases)
        EXPECT_EQ(CleanTagText(c.in), c.out) << c.in;
}

TEST(Id3v1, FilesOf200BytesOrLessAndMissingFilesAreRefused) {
    TempDir dir;
    std::string small = dir.write("small.mp3", audio(200));
    std::string ok = dir.write("ok.mp3", audio(201));
    TID3Tag tag;
    EXPECT_FALSE(tag.ReadTag(small));
    EXPECT_EQ(tag.ErrorText, "Datei <= 200 Bytes! (E101)");
    EXPECT_FALSE(tag.WriteTag(small));
    EXPECT_EQ(tag.ErrorText, "Datei <= 200 Bytes! (E104)");
    EXPECT_FALSE(tag.RemoveTag(small));
    EXPECT_EQ(tag.ErrorText, "Datei <= 200 Bytes! (E108)");
    EXPECT_EQ(sizeOf(small), 200u);

    EXPECT_TRUE(tag.ReadTag(ok));
    EXPECT_EQ(tag.ErrorText, "");

    std::string missing = dir.file("none.mp3");
    EXPECT_FALSE(tag.ReadTag(missing));
    EXPECT_EQ(tag.ErrorText, "Datei " + missing + " existiert nicht! (E100)");
    EXPECT_FALSE(tag.WriteTag(missing));
    EXPECT_EQ(tag.ErrorText, "Datei " + missing + " existiert nicht! (E103)");
    EXPECT_FALSE(tag.RemoveTag(missing));
    EXPECT_EQ(tag.ErrorText, "Datei " + missing + " existiert nicht! (E107)");
    EXPECT_FALSE(std::filesystem::exists(missing));

    // A folder exists but cannot be read as a file: the system's text and the catch-all code.
    EXPECT_FALSE(tag.ReadTag(dir.path()));
    EXPECT_EQ(tag.ErrorText, "Is a directory(E111)");
    EXPECT_FALSE(tag.WriteTag(dir.path()));
    EXPECT_EQ(tag.ErrorText, "Is a directory(E112)");
    EXPECT_FALSE(tag.RemoveTag(dir.path()));
    EXPECT_EQ(tag.ErrorText, "Is a directory(E110)");
}

TEST(Id3v1, ReadsTheBlockFieldByField) {
    TempDir dir;
    // Control bytes become blanks, é is dropped, ß and ¡ survive, the comment uses 29 bytes.
    std::string block = id3v1Block("Ti\x01tle \xE9t\xE9",
                                   "Stra\xDF"
                                   "e \xA1Hola",
                                   "Album", "1999", std::string(28, 'c') + "Z", 0, 17);
    std::string p = dir.write("a.mp3", audio(1000) + block);
    TID3Tag tag;
    ASSERT_TRUE(tag.ReadTag(p));
    EXPECT_EQ(tag.Title, "Ti tle t");
    EXPECT_EQ(tag.Artist, "Stra\xDF"
                          "e \xA1Hola");
    EXPECT_EQ(tag.Album, "Album");
    EXPECT_EQ(tag.Year, "1999");
    EXPECT_EQ(tag.Comment, std::string(28, 'c') + "Z");
    EXPECT_EQ(tag.Track, "0");
    EXPECT_EQ(tag.Genre, "Rock");
    EXPECT_EQ(tag.ErrorText, "");

    struct Case {
        unsigned char genreByte;
        const char* genre;
    } cases[] = {{0, "Blues"}, {125, "Dance Hall"}, {126, ""}, {200, ""}, {255, ""}};
    for (const auto& c : cases) {
        dir.write("g.mp3", audio(300) + id3v1Block("x", "", "", "", "", 7, c.genreByte));
        ASSERT_TRUE(tag.ReadTag(dir.file("g.mp3")));
        EXPECT_EQ(tag.Genre, c.genre) << int(c.genreByte);
        EXPECT_EQ(tag.Track, "7");
    }
}

TEST(Id3v1, FileWithoutBlockReadsEmptyAndRemoveLeavesItAlone) {
    TempDir dir;
    const std::string bytes = audio(5000);
    std::string p = dir.write("plain.mp3", bytes);
    TID3Tag tag;
    tag.Title = "stale";
    ASSERT_TRUE(tag.ReadTag(p));
    EXPECT_EQ(tag.Title, "");
    EXPECT_EQ(tag.Track, "");
    EXPECT_EQ(tag.Genre, "");
    ASSERT_TRUE(tag.RemoveTag(p));
    EXPECT_TRUE(TempDir::read(p) == bytes);
}

TEST(Id3v1, WritePositionReplacesReusesOrAppends) {
    TempDir dir;
    const std::string body = audio(3000);
    TID3Tag tag;
    tag.Title = "First";

    // Last bytes neither "TAG" nor all zero: the block is appended (exactly 128 bytes more).
    std::string p = dir.write("a.mp3", body);
    ASSERT_TRUE(tag.WriteTag(p));
    EXPECT_EQ(sizeOf(p), 3128u);
    EXPECT_TRUE(TempDir::read(p).substr(0, 3000) == body);

    // An existing block is replaced in place.
    tag = TID3Tag();
    tag.Title = "Second";
    ASSERT_TRUE(tag.WriteTag(p));
    EXPECT_EQ(sizeOf(p), 3128u);
    ASSERT_TRUE(tag.ReadTag(p));
    EXPECT_EQ(tag.Title, "Second");

    // RemoveTag leaves 128 zero bytes, which the next write reuses.
    ASSERT_TRUE(tag.RemoveTag(p));
    EXPECT_EQ(sizeOf(p), 3128u);
    EXPECT_EQ(TempDir::read(p).substr(3000), std::string(128, '\0'));
    ASSERT_TRUE(tag.ReadTag(p));
    EXPECT_EQ(tag.Title, "");
    tag.Title = "Third";
    ASSERT_TRUE(tag.WriteTag(p));
    EXPECT_EQ(sizeOf(p), 3128u);
    EXPECT_TRUE(TempDir::read(p).substr(0, 3000) == body);
    ASSERT_TRUE(tag.ReadTag(p));
    EXPECT_EQ(tag.Title, "Third");
}

TEST(Id3v1, FieldsAreFittedAndStoredBack) {
    TempDir dir;
    std::string p = dir.write("a.mp3", audio(500));
    TID3Tag tag;
    tag.Title = std::string(30, 'T') + "X"; // 31 characters
    tag.Artist = "Art";
    tag.Year = "19999";
    tag.Comment = std::string(29, 'c') + "Y"; // the 30th character is lost
    ASSERT_TRUE(tag.WriteTag(p));
    EXPECT_EQ(tag.Title, std::string(30, 'T'));
    EXPECT_EQ(tag.Artist, std::string("Art") + std::string(27, '\0'));
    EXPECT_EQ(tag.Year, "1999");

    const std::string block = TempDir::read(p).substr(500);
    ASSERT_EQ(block.size(), 128u);
    EXPECT_EQ(block.substr(97, 29), std::string(29, 'c')); // fills byte 125
    TID3Tag back;
    ASSERT_TRUE(back.ReadTag(p));
    EXPECT_EQ(back.Title, std::string(30, 'T'));
    EXPECT_EQ(back.Artist, "Art");
    EXPECT_EQ(back.Comment, std::string(29, 'c'));
}

TEST(Id3v1, TrackAndGenreBytes) {
    struct Case {
        const char* track;
        unsigned char trackByte;
        const char* genre;
        unsigned char genreByte;
    } cases[] = {
        {"3/12", 3, " rOcK ", 17},
        {"300", 0, "ROCK", 17},
        {"abc", 0, "", 0},
        {" 7", 7, "Polka", 75},
        {"255", 255, "Samba2", 0},
        {"256", 0, "dance hall", 125},
        {"", 0, "Poweer Ballad", 117},
        {"-3", 253, "Power Ballad", 0},
    };
    for (const auto& c : cases) {
        TID3Tag tag;
        tag.Track = c.track;
        tag.Genre = c.genre;
        const std::string block = buildId3v1Block(tag);
        EXPECT_EQ(static_cast<unsigned char>(block[126]), c.trackByte) << c.track;
        EXPECT_EQ(static_cast<unsigned char>(block[127]), c.genreByte) << c.genre;
    }

    // An unknown genre is written as 0 and so reads back as Blues.
    TempDir dir;
    std::string p = dir.write("a.mp3", audio(500));
    TID3Tag tag;
    tag.Genre = "Krautrock";
    tag.Track = "3/12";
    ASSERT_TRUE(tag.WriteTag(p));
    ASSERT_TRUE(tag.ReadTag(p));
    EXPECT_EQ(tag.Genre, "Blues");
    EXPECT_EQ(tag.Track, "3");
}

TEST(Id3v1, ReadingMakesAReadOnlyFileWritable) {
    TempDir dir;
    std::string p = dir.write("ro.mp3", audio(500) + id3v1Block("Title"));
    ASSERT_EQ(::chmod(p.c_str(), 0444), 0);
    TID3Tag tag;
    ASSERT_TRUE(tag.ReadTag(p));
    EXPECT_EQ(tag.Title, "Title");
    struct stat st {};
    ASSERT_EQ(::stat(p.c_str(), &st), 0);
    EXPECT_TRUE(st.st_mode & S_IWUSR);
    EXPECT_EQ(st.st_mode & 0777, 0644u);
}

TEST(Id3v1, ReadsFromMemory) {
    const std::string bytes = audio(300) + id3v1Block("Mem", "Ory");
    MemorySource source(bytes);
    TID3Tag tag;
    ASSERT_TRUE(tag.ReadTag(source));
    EXPECT_EQ(tag.Title, "Mem");
    EXPECT_EQ(tag.Artist, "Ory");
    MemorySource tiny(std::string_view(bytes).substr(0, 200));
    EXPECT_FALSE(tag.ReadTag(tiny));
    EXPECT_EQ(tag.ErrorText, "Datei <= 200 Bytes! (E101)");
}
