#include "base/crash_marker.h"
#include "fake_dialogs.h"
#include "meta/tag_reader.h"
#include "mp3_fixture.h"
#include "recording_progress.h"
#include "temp_dir.h"

#include <ctime>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

using namespace harlune;
using namespace harlune::test;

namespace {

// Sets a file's modification time to noon of a local date.
void setDate(const std::string& path, int year, int month, int day) {
    std::tm tm{};
    tm.tm_year = year - 1900;
    tm.tm_mon = month - 1;
    tm.tm_mday = day;
    tm.tm_hour = 12;
    tm.tm_isdst = -1;
    struct timespec times[2] = {{std::mktime(&tm), 0}, {std::mktime(&tm), 0}};
    ASSERT_EQ(::utimensat(AT_FDCWD, path.c_str(), times, 0), 0);
}

} // namespace

TEST(ReadHeaderall, Id3v2FirstId3v1WhenItGivesNoNames) {
    TempDir dir;
    const std::string v1 =
        id3v1Block("V1 Title", "V1 Artist", "V1 Album", "1980", "v1 comment", 5, 17);
    struct Case {
        const char* what;
        std::string bytes;
        TagTexts expected;
        int id3v1, id3v2;
    } cases[] = {
        {"ID3v2 with names",
         id3v2Tag(textFrame("TIT2", "T2") +
                  textFrame("TPE1", "\x01"
                                    "A2") +
                  textFrame("TYER", "2001") + frame("COMM", std::string("\0ENG\0a\r\nb", 9)) +
                  textFrame("TRCK", "3/12")) +
             audio(1000) + v1,
         {"T2", "A2", "", "2001", "", "a\r\nb", "3/12"},
         0,
         1},
        {"ID3v2 with only a year: all texts from ID3v1",
         id3v2Tag(textFrame("TYER", "2001")) + audio(1000) + v1,
         {"V1 Title", "V1 Artist", "V1 Album", "1980", "Rock", "v1 comment", "5"},
         1,
         0},
        {"no ID3v2",
         audio(1000) + v1,
         {"V1 Title", "V1 Artist", "V1 Album", "1980", "Rock", "v1 comment", "5"},
         1,
         0},
        {"no tags", audio(1000), {}, 1, 0},
    };
    for (const auto& c : cases) {
        std::string p = dir.write("a.mp3", c.bytes);
        TagTexts out;
        out.title = "stale";
        TagCounters counters;
        ASSERT_TRUE(ReadHeaderall(p, out, counters)) << c.what;
        EXPECT_EQ(out.title, c.expected.title) << c.what;
        EXPECT_EQ(out.artist, c.expected.artist) << c.what;
        EXPECT_EQ(out.album, c.expected.album) << c.what;
        EXPECT_EQ(out.year, c.expected.year) << c.what;
        EXPECT_EQ(out.genre, c.expected.genre) << c.what;
        EXPECT_EQ(out.comment, c.expected.comment) << c.what;
        EXPECT_EQ(out.track, c.expected.track) << c.what;
        EXPECT_EQ(counters.id3v1, c.id3v1) << c.what;
        EXPECT_EQ(counters.id3v2, c.id3v2) << c.what;
    }
}

TEST(ReadHeaderall, TagErrorsGoToTheShownStatusWindow) {
    TempDir dir;
    // 150 bytes: both readers refuse the file.
    std::string p = dir.write("small.mp3", id3v2Tag(textFrame("TIT2", "x")) + audio(120));
    RecordingProgress progress;
    TagTexts out;
    TagCounters counters;
    ASSERT_TRUE(ReadHeaderall(p, out, counters, MetaStatus{&progress, true, nullptr}));
    EXPECT_EQ(progress.log,
              (std::vector<std::string>{
                  p + "|Fehler beim lesen des ID3v2 Tags: (Datei <= 200 Bytes! (E201))",
                  p + "|Fehler beim lesen des ID3v1 Tags: (Datei <= 200 Bytes! (E101))"}));
    EXPECT_EQ(progress.actions,
              (std::vector<std::string>{"lese ID3 (pr\xFC"
                                        "fen)",
                                        "lese ID3v2", "lese ID3v1 (id3v2 leer)", "--"}));
    EXPECT_EQ(counters.id3v1, 1);
    EXPECT_EQ(counters.id3v2, 0);

    // Not shown: nothing is logged.
    progress.log.clear();
    ASSERT_TRUE(ReadHeaderall(p, out, counters, MetaStatus{&progress, false, nullptr}));
    EXPECT_TRUE(progress.log.empty());

    std::string error;
    EXPECT_FALSE(ReadHeaderall(dir.file("missing.mp3"), out, counters, {}, &error));
    EXPECT_EQ(error, "No such file or directory");
    EXPECT_FALSE(ReadHeaderall(dir.path(), out, counters, {}, &error));
    EXPECT_EQ(error, "Is a directory");
}

TEST(Rating, FromThePrivText) {
    struct Case {
        const char* priv;
        int rating;
        const char* group;
    } cases[] = {
        {"HARLUNE\xA1"
         "4\xA1Party",
         4, "Party"},
        {"HARLUNE\xA1"
         "9\xA1Party",
         5, "Party"},
        {"harlune \xA1"
         "0\xA1",
         1, ""},
        {"HARLUNE\xA1"
         "3",
         3, ""},
        {"OTHER\xA1"
         "3\xA1Party",
         0, ""},
        {"   ", 0, ""},
        {"", 0, ""},
    };
    for (const auto& c : cases) {
        int rating = -1;
        std::string group = "x";
        parseRating(c.priv, rating, group);
        EXPECT_EQ(rating, c.rating) << c.priv;
        EXPECT_EQ(group, c.group) << c.priv;
    }
}

TEST(ExtraInfo, FieldsFromHeaderTagsRatingDateAndTrack) {
    TempDir dir;
    const std::string tag = id3v2Tag(textFrame("TIT2", "T") + textFrame("TRCK", "03/12") +
                                     frame("PRIV", std::string("\0HARLUNE\xA1"
                                                               "4\xA1Party",
                                                               16)));
    // 4,000,000 bytes of audio and the ID3v1 block behind the tag: 4:10 at 128 kbit.
    std::string p = dir.write("a.mp3", tag + audio(4000000) + id3v1Block("V1", "", "", "", "", 7));
    setDate(p, 2021, 3, 4);
    FileInfo info;
    loadFileInfo(p, info);
    EXPECT_TRUE(info.headerFound);
    EXPECT_TRUE(info.id3v1Read);
    EXPECT_TRUE(info.id3v2Read);
    EXPECT_EQ(info.rating, 4);
    EXPECT_EQ(info.group, "Party");
    EXPECT_EQ(extraInfoFields(info), "4:10\xA1MPEG Version 1\xA1Layer III\xA1Joint stereo\xA1"
                                     "44100 Hz\xA1"
                                     "128 kbit\xA1 \xA1"
                                     "4\xA1Party\xA1"
                                     "2021-03-04\xA1"
                                     "03/12\xA1");

    // Track: ID3v2 when it starts with a number above 0, else ID3v1, else "-".
    struct Case {
        const char *v2, *v1, *track;
    } cases[] = {{"03/12", "7", "03/12"}, {"0", "7", "7"}, {"x", "0", "-"}, {"", "", "-"}};
    for (const auto& c : cases) {
        info.id3v2.Track = c.v2;
        info.id3v1.Track = c.v1;
        std::string fields = extraInfoFields(info);
        fields.pop_back();
        EXPECT_EQ(fields.substr(fields.rfind('\xA1') + 1), c.track);
    }

    // Unrated, no header, no date.
    FileInfo empty;
    EXPECT_EQ(extraInfoFields(empty), "??\xA1--\xA1--\xA1--\xA1--\xA1--\xA1 \xA1"
                                      "0\xA1\xA1- -\xA1-\xA1");
}

TEST(ExtraInfo, LoadErrorsAreReportedOnlyWhenAsked) {
    TempDir dir;
    std::string p = dir.write("small.mp3", audio(150));
    FakeDialogs dialogs;
    RecordingProgress progress;
    FileInfo info;
    loadFileInfo(p, info, MetaStatus{&progress, false, &dialogs}, false);
    EXPECT_TRUE(dialogs.entries().empty());
    EXPECT_TRUE(info.headerFound);
    EXPECT_FALSE(info.id3v1Read);
    EXPECT_FALSE(info.id3v2Read);

    loadFileInfo(p, info, MetaStatus{&progress, false, &dialogs}, true);
    EXPECT_EQ(dialogs.texts("warning"),
              (std::vector<std::string>{"Es ist ein Fehler beim Laden des ID3v1 Tags "
                                        "aufgetreten:\n\r( Datei <= 200 Bytes! (E101))"}));
    loadFileInfo(p, info, MetaStatus{&progress, true, &dialogs}, true);
    EXPECT_EQ(progress.log,
              (std::vector<std::string>{p + "|Es ist ein Fehler beim Laden des ID3v1 Tags "
                                            "aufgetreten: ( Datei <= 200 Bytes! (E101))"}));
}

TEST(ReadExtraInfo, StoredTextOrReadFromTheFile) {
    TempDir dir;
    std::string marker = dir.file("Debug.TMP");
    setCrashMarker(marker, "3.52");
    std::string p = dir.write("a.mp3", audio(4000000));
    setDate(p, 2020, 1, 2);

    std::string stored = "Album\xA1"
                         "1:00\xA1x\xA1";
    EXPECT_EQ(ReadExtraInfo("1. Song", p, stored), ExtraInfoOrigin::Stored);
    EXPECT_EQ(stored, "Album\xA1"
                      "1:00\xA1x\xA1");
    EXPECT_NE(TempDir::read(marker).find("Zusatzinformationen aus Liste benutzen: " + p),
              std::string::npos);

    std::string bare = "Dummy-Album (by Harlune Import)";
    EXPECT_EQ(ReadExtraInfo("1. Song", p, bare), ExtraInfoOrigin::ReadFromFile);
    EXPECT_EQ(bare, "Dummy-Album (by Harlune Import)\xA1"
                    "4:10\xA1MPEG Version 1\xA1Layer III\xA1Joint stereo\xA1"
                    "44100 Hz\xA1"
                    "128 kbit\xA1 \xA1"
                    "0\xA1\xA1"
                    "2020-01-02\xA1-\xA1");
    EXPECT_NE(TempDir::read(marker).find("Zusatzinformationen aus MP3 lesen: " + p),
              std::string::npos);

    std::string untouched = "Album";
    EXPECT_EQ(ReadExtraInfo("x", p, untouched), ExtraInfoOrigin::Skipped);
    EXPECT_EQ(untouched, "Album");

    // A vanished file still gets a record, with what could not be read marked as unknown.
    std::string gone = "";
    EXPECT_EQ(ReadExtraInfo("1. Gone", dir.file("gone.mp3"), gone), ExtraInfoOrigin::ReadFromFile);
    EXPECT_EQ(gone, "\xA1??\xA1--\xA1--\xA1--\xA1--\xA1--\xA1 \xA1"
                    "0\xA1\xA1- -\xA1-\xA1");
    setCrashMarker("", "");
}
