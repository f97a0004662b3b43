#include "index/fields.h"

#include <gtest/gtest.h>

using namespace harlune;

TEST(Fields, GetfieldCountsSeparators) {
    const std::string full = "Album\xA1"
                             "4:05\xA1MPEG 1\xA1Layer 3\xA1Stereo\xA1"
                             "44100\xA1"
                             "192\xA1 \xA1"
                             "3\xA1 Party \xA1"
                             "2003-05-12\xA1"
                             "7\xA1";
    struct Case {
        std::string record;
        int n;
        std::string field;
    };
    const Case cases[] = {
        {"A\xA1"
         "B\xA1",
         2, "B"},
        {"A\xA1"
         "B\xA1",
         3, ""}, // after the last separator
        {"A\xA1"
         "B\xA1",
         4, ""}, // beyond the record
        {"A", 1, "A"},
        {"A", 2, ""},
        {"", 1, ""},
        {"\xA1\xA1", 2, ""},
        {"A\xA1"
         "B",
         2, "B"}, // last field without its separator
        {"A", 0, ""},
        {"A", -1, ""},
        {"Dummy-Album (by Harlune Import)", 1, "Dummy-Album (by Harlune Import)"},
        {full, kFieldAlbum, "Album"},
        {full, kFieldReserved, " "},
        {full, kFieldGruppe, " Party "}, // not trimmed
        {full, kFieldTrackNr, "7"},
        {full, 13, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.record + " #" + std::to_string(c.n));
        EXPECT_EQ(getfield(c.record, c.n), c.field);
    }
    // A dummy record has its text as field 1 and nothing in fields 2 to 12.
    for (int n = 2; n <= kAlbumFieldCount; ++n)
        EXPECT_EQ(getfield("Dummy-Album (by Harlune Import)", n), "") << n;
}

TEST(Fields, Strupper1FoldsAsciiAndThreeUmlautsOnly) {
    const std::pair<std::string, std::string> cases[] = {
        {"abc xyz 09", "ABC XYZ 09"},
        {"ABC", "ABC"},
        {"\xE4\xF6\xFC", "\xC4\xD6\xDC"},         // ä ö ü
        {"\xC4\xD6\xDC", "\xC4\xD6\xDC"},         // Ä Ö Ü stay
        {"\xDF\xE9\xE0\xF1", "\xDF\xE9\xE0\xF1"}, // ß é à ñ stay
        {"m\xFCller", "M\xDCLLER"},
        {"{|}~`@[", "{|}~`@["}, // neighbours of the letters
        {std::string("a\0b", 3), std::string("A\0B", 3)},
    };
    for (const auto& [in, out] : cases)
        EXPECT_EQ(strupper1(in), out) << in;
}
