#include "search/grid_operations.h"

#include <gtest/gtest.h>

using namespace harlune;

namespace {
// A full album record from its twelve fields.
std::string record(std::initializer_list<std::string> fields) {
    std::string r;
    for (const auto& f : fields)
        r += f + "\xA1";
    return r;
}
const std::string kRecord = record({"Album X", "3:30", "MPEG 1", "Layer III", "Stereo", "44100 Hz",
                                    "128 kbit", " ", "3", "Rock", "2026-12-01", "7"});
} // namespace

TEST(GridOperations, MarkingTwiceRestoresTheCell) {
    const std::string cell = resultCell0(16, "Abc");
    EXPECT_EQ(cell, "  17. Abc");
    const std::string marked = toggleMark(cell);
    EXPECT_EQ(marked, "\xD7"
                      "17. Abc");
    EXPECT_TRUE(isMarked(marked));
    EXPECT_EQ(toggleMark(marked), cell);
    EXPECT_EQ(withMark(marked), marked);
    EXPECT_EQ(withMark(cell), marked);
}

TEST(GridOperations, ExtraInformationText) {
    struct Case {
        ExtraInfoSwitches s;
        std::string record, expected;
    };
    ExtraInfoSwitches all{true, true, true, true, true, true, true, true, true, true, true, true};
    ExtraInfoSwitches none{false, false, false, false, false, false,
                           false, false, false, false, false, false};
    ExtraInfoSwitches defaults;
    ExtraInfoSwitches track = none;
    track.TrackNr = true;
    const Case cases[] = {
        {defaults, kRecord, " (3:30, * * * , Rock) "},
        {all, kRecord,
         " (3:30, MPEG 1, Layer III, Stereo, 44100 Hz, 128 kbit, C:\\Musik, * * * , Rock, "
         "2026-12-01, Album X, 07) "},
        {none, kRecord, ""},
        {defaults, record({"A", "??", "", "", "", "", "", " ", "0", "  ", "", "-"}),
         " (??, unbew., _keine Gruppe_) "},
        {defaults, "Dummy-Album (by Harlune Import)", " (, _keine Gruppe_) "},
        {track, record({"", "", "", "", "", "", "", " ", "", "", "", "-"}), " (-) "},
        {track, record({"", "", "", "", "", "", "", " ", "", "", "", "12"}), " (12) "},
    };
    for (const auto& c : cases)
        EXPECT_EQ(extraInfoText(c.s, "C:\\Musik\\a.mp3", c.record), c.expected) << c.record;
}

TEST(GridOperations, SortKeys) {
    EXPECT_EQ(sortKey(1,
                      "\xD7"
                      "17. Abc",
                      "", ""),
              "abc");
    EXPECT_EQ(sortKey(1, "  3. The. End", "", ""), "the. end");
    EXPECT_EQ(sortKey(1, "  NoDot", "", ""), "nodot");
    EXPECT_EQ(sortKey(3, "", "", kRecord), "3:30");
    EXPECT_EQ(sortKey(5, "", "", kRecord), "00128 kbit");
    EXPECT_EQ(sortKey(4, "", "", kRecord), "0044100 hz");
    EXPECT_EQ(sortKey(6, "", "C:\\Musik\\A\\x.mp3", kRecord), "c:\\musik\\a");
    EXPECT_EQ(sortKey(10, "", "", kRecord), "7");
    EXPECT_EQ(sortKey(8, "", "", "\xC4rger"), ""); // field 8 of a bare album name
}

TEST(GridOperations, SortOrderFollowsTextOrderOfTheKeys) {
    // Length as text: "10:02" before "3:45"; bit rates zero-padded: 96 before 128.
    EXPECT_EQ(sortOrder({"3:45", "10:02"}, false), (std::vector<size_t>{1, 0}));
    EXPECT_EQ(sortOrder({sortKey(5, "", "",
                                 "\xA1\xA1\xA1\xA1\xA1\xA1"
                                 "128 kbit"),
                         sortKey(5, "", "",
                                 "\xA1\xA1\xA1\xA1\xA1\xA1"
                                 "96 kbit")},
                        false),
              (std::vector<size_t>{1, 0}));
    EXPECT_EQ(sortOrder({"b", "c", "a", "\xE4", "B"}, false), (std::vector<size_t>{4, 2, 0, 1, 3}));
    EXPECT_EQ(sortOrder({"b", "c", "a"}, true), (std::vector<size_t>{1, 0, 2}));
    // Equal keys end where the quicksort puts them (not a stable order).
    EXPECT_EQ(sortOrder({"x", "x", "x"}, false), (std::vector<size_t>{2, 1, 0}));
    EXPECT_TRUE(sortOrder({}, false).empty());
}

TEST(GridOperations, TotalPlayTime) {
    int64_t total = 0;
    for (const char* l : {"3:30", "2:45", "??"})
        total += lengthSeconds(l);
    EXPECT_EQ(total, 375);
    EXPECT_EQ(playTimeText(total, 3), "Die Spieldauer betr\xE4gt \n\r0 Stunden, 6 Minuten und 15 "
                                      "Sekunden\n\r\n\r(3 Titel verarbeitet)");
    EXPECT_EQ(lengthSeconds("1:2:3"), 62);
    EXPECT_EQ(lengthSeconds("x:yz"), 0);
    EXPECT_EQ(lengthSeconds("12"), 0);
    EXPECT_EQ(playTimeText(3 * 3600 + 61, 1), "Die Spieldauer betr\xE4gt \n\r3 Stunden, 1 Minuten "
                                              "und 1 Sekunden\n\r\n\r(1 Titel verarbeitet)");
}
