#include "meta/id3v2.h"
#include "mp3_fixture.h"
#include "temp_dir.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <sys/stat.h>

using namespace harlune;
using namespace harlune::test;
namespace fs = std::filesystem;

namespace {

TID3v2Tag readBytes(const std::string& bytes) {
    MemorySource source(bytes);
    TID3v2Tag tag;
    EXPECT_TRUE(tag.ReadTag(source)) << tag.ErrorText;
    return tag;
}

} // namespace

TEST(Id3v2Read, FrameRules) {
    struct Case {
        const char* what;
        std::string frames;
        std::string TID3v2Tag::*field;
        std::string expected;
    } cases[] = {
        {"plain text", textFrame("TIT2", "Song"), &TID3v2Tag::Title, "Song"},
        {"zero bytes become blanks", textFrame("TPE1", std::string("A\0B", 3)), &TID3v2Tag::Artist,
         "A B"},
        {"genre reference dropped", textFrame("TCON", "(17)Rock"), &TID3v2Tag::Genre, "Rock"},
        {"genre reference alone", textFrame("TCON", "(17)"), &TID3v2Tag::Genre, ""},
        {"short genre kept", textFrame("TCON", "(1)"), &TID3v2Tag::Genre, "(1)"},
        {"second frame wins", textFrame("TIT2", "One") + textFrame("TIT2", "Two"),
         &TID3v2Tag::Title, "Two"},
        {"compressed frame empty",
         textFrame("TIT2", "Plain") + frame("TIT2", std::string("\0xyz", 4), 0x80),
         &TID3v2Tag::Title, ""},
        {"UTF-16 letters separated by blanks",
         frame("TIT2", std::string("\x01\xFF\xFE"
                                   "A\0b\0c\0",
                                   9)),
         &TID3v2Tag::Title, "A b c"},
        {"UTF-16 big-endian", frame("TIT2", std::string("\x01\xFE\xFF\0A\0b\0c", 9)),
         &TID3v2Tag::Title, "A b c"},
        {"empty frame in the middle",
         textFrame("TIT2", "T") + frame("TXXX", "") + textFrame("TALB", "Alb"), &TID3v2Tag::Album,
         "Alb"},
        {"comment", frame("COMM", std::string("\0ENG\0Nice one", 14)), &TID3v2Tag::Comment,
         "Nice one"},
        // Only an empty description is expected: the first letter of another one is lost.
        {"comment with a description", frame("COMM", std::string("\0engDesc\0Text", 13)),
         &TID3v2Tag::Comment, "esc Text"},
        {"url", frame("WXXX", std::string("\0\0http://x.org", 14)), &TID3v2Tag::Url,
         "http://x.org"},
        {"rating",
         frame("PRIV", std::string("\0HARLUNE\xA1"
                                   "4\xA1Party",
                                   16)),
         &TID3v2Tag::Priv,
         "HARLUNE\xA1"
         "4\xA1Party"},
        {"other PRIV content filtered", frame("PRIV", std::string("\0WM/Owner\0\x01\x02\xE9x", 14)),
         &TID3v2Tag::Priv, "WM/Owner x"},
        {"tab becomes eight blanks", textFrame("TCOM", "a\tb"), &TID3v2Tag::Composer, "a        b"},
        {"unknown frames ignored", textFrame("TXXX", "x") + textFrame("TENC", "LAME"),
         &TID3v2Tag::EncodedBy, "LAME"},
    };
    for (const auto& c : cases) {
        TID3v2Tag tag = readBytes(id3v2Tag(c.frames, 20) + audio(500));
        EXPECT_EQ(tag.*c.field, c.expected) << c.what;
        EXPECT_EQ(tag.ErrorText, "") << c.what;
    }
}

TEST(Id3v2Read, TagsWithoutUsableFrames) {
    // No "ID3" at the start.
    TID3v2Tag tag = readBytes(audio(500));
    EXPECT_EQ(tag.Title, "");

    // A 2.2 tag: three-character identifiers and 6-byte frame headers do not fit the walk.
    std::string v22 = std::string("TT2\0\0\x05", 6) + std::string("\0Song", 5) +
                      std::string("TP1\0\0\x07", 6) + std::string("\0Artist", 7);
    tag = readBytes(id3v2Tag(v22, 10, 2) + audio(500));
    EXPECT_EQ(tag.Title + tag.Artist + tag.Album + tag.Priv, "");

    // A frame cut short by the end of the tag is dropped; earlier ones are kept.
    std::string frames = textFrame("TIT2", "Kept") + textFrame("TPE1", "Lost");
    std::string bytes = tagHeader(static_cast<uint32_t>(frames.size() - 2)) + frames + audio(500);
    tag = readBytes(bytes);
    EXPECT_EQ(tag.Title, "Kept");
    EXPECT_EQ(tag.Artist, "");
}

TEST(Id3v2Read, OversizedAndTruncatedTagsReadWithARemark) {
    // 2,000,000 bytes: only the first 1,024,000 are looked at.
    std::string frames = textFrame("TIT2", "Early") + frame("TXXX", std::string(1100000, 'x')) +
                         textFrame("TPE1", "Late");
    std::string big = id3v2Tag(frames, 2000000 - frames.size()) + audio(500);
    TID3v2Tag tag = readBytes(big);
    EXPECT_EQ(tag.ErrorText, "ID3v2-Tag ist gr\xF6\xDF"
                             "er 1 MB!");
    EXPECT_EQ(tag.Title, "Early");
    EXPECT_EQ(tag.Artist, "");

    // A tag that claims 300,000 bytes in a file of 1,000: what is there is read.
    std::string cut = tagHeader(300000) + textFrame("TIT2", "Short") + audio(900);
    tag = readBytes(cut);
    EXPECT_EQ(tag.ErrorText, "ID3v2-Tag konnte nicht vollst\xE4ndig gelesen werden!");
    EXPECT_EQ(tag.Title, "Short");
}

TEST(Id3v2Read, RefusalsAndFileErrors) {
    TempDir dir;
    TID3v2Tag tag;
    std::string missing = dir.file("none.mp3");
    EXPECT_FALSE(tag.ReadTag(missing));
    EXPECT_EQ(tag.ErrorText, "Datei " + missing + " exisitiert nicht! (E200)");
    EXPECT_FALSE(tag.WriteTag(missing));
    EXPECT_EQ(tag.ErrorText, "Datei " + missing + " exisitiert nicht! (E200)");

    std::string small = dir.write("small.mp3", id3v2Tag(textFrame("TIT2", "x")) + audio(150));
    ASSERT_LE(fs::file_size(small), 200u);
    EXPECT_FALSE(tag.ReadTag(small));
    EXPECT_EQ(tag.ErrorText, "Datei <= 200 Bytes! (E201)");
    EXPECT_FALSE(tag.RemoveTag(small));
    EXPECT_EQ(tag.ErrorText, "Datei <= 200 Bytes! (E201)");

    EXPECT_FALSE(tag.ReadTag(dir.path()));
    EXPECT_EQ(tag.ErrorText, "Is a directory(E208)");
    EXPECT_FALSE(tag.WriteTag(dir.path()));
    EXPECT_EQ(tag.ErrorText, "Is a directory(E209,New)");
    EXPECT_FALSE(tag.RemoveTag(dir.path()));
    EXPECT_EQ(tag.ErrorText, "Is a directory(E209,Kill)");
}

TEST(Id3v2Write, BuildsTheThirteenFramesInOrder) {
    TID3v2Tag tag;
    tag.Track = "3";
    tag.Title = "T";
    tag.Artist = "Ar";
    tag.Album = "Al";
    tag.Year = "1999";
    tag.Genre = "Rock";
    tag.Comment = "C";
    tag.OrigArtist = "O";
    tag.Composer = "Co";
    tag.Url = "U";
    tag.CopyrightInfo = "Cp";
    tag.EncodedBy = "E";
    tag.Priv = "P";
    std::string frames =
        textFrame("TIT2", "T") + textFrame("TPE1", "Ar") + textFrame("TALB", "Al") +
        textFrame("TYER", "1999") + textFrame("TCON", "Rock") + textFrame("TRCK", "3") +
        textFrame("TOPE", "O") + textFrame("TCOM", "Co") + frame("WXXX", std::string("\0\0U", 3)) +
        frame("COMM", std::string("\0ENG\0C", 6)) + textFrame("TCOP", "Cp") +
        textFrame("TENC", "E") + textFrame("PRIV", "P");
    EXPECT_TRUE(buildId3v2Tag(tag) == id3v2Tag(frames, 30));
    EXPECT_EQ(buildId3v2Tag(TID3v2Tag()), "");

    // A size above 127 needs the synchsafe form.
    TID3v2Tag longTitle;
    longTitle.Title = std::string(200, 'x');
    std::string built = buildId3v2Tag(longTitle);
    ASSERT_EQ(built.size(), 10u + 10 + 201 + 30);
    EXPECT_EQ(built.substr(6, 4), std::string("\0\0\x01\x71", 4)); // 241 = 1*128 + 113
}

TEST(Id3v2Write, ReplacesTheOldTagAndKeepsAudioAndId3v1) {
    TempDir dir;
    const std::string rest = audio(5000) + id3v1Block("V1 title");
    // An old tag of 300,000 bytes: all four size bytes count.
    std::string old =
        id3v2Tag(textFrame("TIT2", "Old") + textFrame("TPE1", "Old artist"), 300000 - 14 - 21);
    ASSERT_EQ(old.size(), 300010u);
    std::string p = dir.write("a.mp3", old + rest);

    TID3v2Tag tag;
    tag.Title = "  New title ";
    ASSERT_TRUE(tag.WriteTag(p)) << tag.ErrorText;
    EXPECT_EQ(tag.Title, "New title"); // trimmed in place
    const std::string now = TempDir::read(p);
    ASSERT_EQ(now.size(), 10 + (10 + 1 + 9) + 30 + rest.size());
    EXPECT_TRUE(now.substr(now.size() - rest.size()) == rest);
    EXPECT_FALSE(fs::exists(p + ".tmp"));

    TID3v2Tag back;
    ASSERT_TRUE(back.ReadTag(p));
    EXPECT_EQ(back.Title, "New title");
    EXPECT_EQ(back.Artist, "");

    // All fields empty: the tag is removed.
    TID3v2Tag empty;
    empty.Comment = "   ";
    ASSERT_TRUE(empty.WriteTag(p));
    EXPECT_TRUE(TempDir::read(p) == rest);
}

TEST(Id3v2Write, CommentAndRatingReadBackExactly) {
    TempDir dir;
    std::string p = dir.write("a.mp3", audio(3000));
    TID3v2Tag tag;
    tag.Comment = "Line one\r\nLine two";
    tag.Priv = "HARLUNE\xA1"
               "5\xA1Gute Laune";
    tag.Url = "http://example.org/x";
    tag.Genre = "Rock";
    ASSERT_TRUE(tag.WriteTag(p));
    TID3v2Tag back;
    ASSERT_TRUE(back.ReadTag(p));
    EXPECT_EQ(back.Comment, "Line one\r\nLine two");
    EXPECT_EQ(back.Priv, "HARLUNE\xA1"
                         "5\xA1Gute Laune");
    EXPECT_EQ(back.Url, "http://example.org/x");
    EXPECT_EQ(back.Genre, "Rock");
    EXPECT_TRUE(TempDir::read(p).substr(TempDir::read(p).size() - 3000) == audio(3000));
}

TEST(Id3v2Write, RemoveWithoutTagTouchesNothing) {
    TempDir dir;
    const std::string bytes = audio(3000);
    std::string p = dir.write("a.mp3", bytes);
    TID3v2Tag tag;
    ASSERT_TRUE(tag.RemoveTag(p));
    EXPECT_TRUE(TempDir::read(p) == bytes);
    EXPECT_FALSE(fs::exists(p + ".tmp"));
    ASSERT_TRUE(tag.WriteTag(p)); // nothing to write either
    EXPECT_TRUE(TempDir::read(p) == bytes);
}

TEST(Id3v2Write, ATagTooLargeToReadBackIsRefused) {
    TempDir dir;
    const std::string bytes = id3v2Tag(textFrame("TIT2", "Old")) + audio(3000);
    std::string p = dir.write("a.mp3", bytes);
    TID3v2Tag tag;
    tag.Comment = std::string(1100000, 'c');
    EXPECT_FALSE(tag.WriteTag(p));
    EXPECT_EQ(tag.ErrorText, "Der neue ID3v2-Tag ist gr\xF6\xDF"
                             "er 1 MB!(E209,New)");
    EXPECT_TRUE(TempDir::read(p) == bytes);
}

TEST(Id3v2Write, KeepsModeAndLinksAndReplacesAnOldWorkFile) {
    TempDir dir;
    std::string real = dir.write("music/real.mp3", audio(3000));
    ASSERT_EQ(::chmod(real.c_str(), 0640), 0);
    dir.write("music/real.mp3.tmp", "left over");
    std::string link = dir.file("link.mp3");
    fs::create_symlink(real, link);

    TID3v2Tag tag;
    tag.Title = "Linked";
    ASSERT_TRUE(tag.WriteTag(link)) << tag.ErrorText;
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_FALSE(fs::exists(real + ".tmp"));
    struct stat st {};
    ASSERT_EQ(::stat(real.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0640u);
    TID3v2Tag back;
    ASSERT_TRUE(back.ReadTag(real));
    EXPECT_EQ(back.Title, "Linked");
}
