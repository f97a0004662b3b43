#include "fake_dialogs.h"
#include "meta/frame_header.h"
#include "mp3_fixture.h"
#include "recording_progress.h"
#include "temp_dir.h"

#include <gtest/gtest.h>

using namespace harlune;
using namespace harlune::test;

namespace {

HeaderInfo decode(std::string_view bytes, int64_t position, int64_t fileSize, bool* valid) {
    HeaderInfo info;
    *valid = DecodeFrameHeader(reinterpret_cast<const unsigned char*>(bytes.data()), position,
                               fileSize, info);
    return info;
}

HeaderInfo locate(const std::string& bytes, bool expectFound = true) {
    MemorySource source(bytes);
    HeaderInfo info;
    EXPECT_EQ(getframeheader(source, info), expectFound);
    return info;
}

// Bytes that never decode as a header: 0x49 ("I") carries the reserved version bits. (Most other
// letters do decode: the search does not ask for the sync bits.)
std::string garbage(size_t n) {
    return std::string(n, 'I');
}

const std::string kDamaged = " - Datei ist besch\xE4"
                             "digt!";

} // namespace

TEST(DecodeFrameHeader, TheCommonHeader) {
    bool valid = false;
    HeaderInfo h = decode("\xFF\xFB\x90\x44", 0, 4000000, &valid);
    EXPECT_TRUE(valid);
    EXPECT_EQ(h.framesync, "ja");
    EXPECT_EQ(h.MPEGAudioversion, "MPEG Version 1");
    EXPECT_EQ(h.Layer, "Layer III");
    EXPECT_EQ(h.CRC, "nein");
    EXPECT_EQ(h.Bitrate, "128 kbit");
    EXPECT_EQ(h.samplingrate, "44100 Hz");
    EXPECT_EQ(h.padded, "nein");
    EXPECT_EQ(h.privat, "nein");
    EXPECT_EQ(h.mode, "Joint stereo");
    EXPECT_EQ(h.extension, "keine");
    EXPECT_EQ(h.copyright, "nein");
    EXPECT_EQ(h.original, "ja");
    EXPECT_EQ(h.emphasis, "keine");
    EXPECT_EQ(h.Laenge, "4:10");
    EXPECT_EQ(h.headerposition, "--"); // set by the search, not the decoder
}

TEST(DecodeFrameHeader, FieldTable) {
    struct Case {
        const char* bytes;
        bool valid;
        const char* version;
        const char* layer;
        const char* bitrate;
        const char* rate;
        const char* mode;
        const char* extension;
        const char* other; // CRC/padded/privat/copyright/original/emphasis/framesync, joined
    } cases[] = {
        {"\xFF\xFD\xA2\x00", true, "MPEG Version 1", "Layer II", "192 kbit", "44100 Hz", "Stereo",
         "keine", "nein ja nein nein nein keine ja"},
        {"\xFF\xFF\x15\x58", true, "MPEG Version 1", "Layer I", "32 kbit", "48000 Hz",
         "Joint stereo", "bands 8 to 31", "nein nein ja ja nein keine ja"},
        {"\xFF\xF3\x84\xC0", true, "MPEG Version 2", "Layer III", "64 kbit", "24000 Hz", "Mono",
         "keine", "nein nein nein nein nein keine ja"},
        {"\xFF\xF7\x98\xB1", true, "MPEG Version 2", "Layer I", "144 kbit", "16000 Hz",
         "Dual Channel", "keine", "nein nein nein nein nein 50/15 ms ja"},
        {"\xFF\xE3\x88\x64", true, "MPEG Version 2.5", "Layer III", "64 kbit", "8000 Hz",
         "Joint stereo", "MS stereo", "nein nein nein nein ja keine ja"},
        {"\xFF\xFA\x90\x57", true, "MPEG Version 1", "Layer III", "128 kbit", "44100 Hz",
         "Joint stereo", "Intensity stereo", "ja nein nein nein ja CCIT J.17 ja"},
        {"\xFF\xFB\x90\x74", true, "MPEG Version 1", "Layer III", "128 kbit", "44100 Hz",
         "Joint stereo", "Intensity&MS stero", "nein nein nein nein ja keine ja"},
        {"\xFF\xFD\x90\x74", true, "MPEG Version 1", "Layer II", "160 kbit", "44100 Hz",
         "Joint stereo", "bands 16 to 31", "nein nein nein nein ja keine ja"},
        {"\x00\xFB\x90\x44", true, "MPEG Version 1", "Layer III", "128 kbit", "44100 Hz",
         "Joint stereo", "keine", "nein nein nein nein ja keine nein"},
        // Invalid: reserved version (bit-rate text left as it was), layer, rate, emphasis, index
        // 15, free format (no length).
        {"\xFF\xEB\x90\x44", false, "??", "Layer III", "--", "--", "Joint stereo", "keine",
         "nein nein nein nein ja keine ja"},
        {"\xFF\xF9\x90\x44", false, "MPEG Version 1", "??", "--", "44100 Hz", "Joint stereo",
         "bands 4 to 31", "nein nein nein nein ja keine ja"},
        {"\xFF\xFB\x9C\x44", false, "MPEG Version 1", "Layer III", "128 kbit", "??", "Joint stereo",
         "keine", "nein nein nein nein ja keine ja"},
        {"\xFF\xFB\x90\x46", false, "MPEG Version 1", "Layer III", "128 kbit", "44100 Hz",
         "Joint stereo", "keine", "nein nein nein nein ja ?? ja"},
        {"\xFF\xFB\xF0\x44", false, "MPEG Version 1", "Layer III", "ung\xFCltig", "44100 Hz",
         "Joint stereo", "keine", "nein nein nein nein ja keine ja"},
        {"\xFF\xFB\x00\x44", false, "MPEG Version 1", "Layer III", "frei", "44100 Hz",
         "Joint stereo", "keine", "nein nein nein nein ja keine ja"},
    };
    for (const auto& c : cases) {
        bool valid = !c.valid;
        HeaderInfo h = decode(c.bytes, 0, 1000000, &valid);
        SCOPED_TRACE(Byte2bin(static_cast<unsigned char>(c.bytes[1])) +
                     Byte2bin(static_cast<unsigned char>(c.bytes[2])) +
                     Byte2bin(static_cast<unsigned char>(c.bytes[3])));
        EXPECT_EQ(valid, c.valid);
        EXPECT_EQ(h.MPEGAudioversion, c.version);
        EXPECT_EQ(h.Layer, c.layer);
        EXPECT_EQ(h.Bitrate, c.bitrate);
        EXPECT_EQ(h.samplingrate, c.rate);
        EXPECT_EQ(h.mode, c.mode);
        EXPECT_EQ(h.extension, c.extension);
        EXPECT_EQ(h.CRC + " " + h.padded + " " + h.privat + " " + h.copyright + " " + h.original +
                      " " + h.emphasis + " " + h.framesync,
                  c.other);
        if (std::string(c.bitrate).find("kbit") == std::string::npos) {
            EXPECT_EQ(h.Laenge, "??");
        }
    }
}

TEST(DecodeFrameHeader, PlayLengthRoundsHalvesToEven) {
    struct Case {
        int64_t size, position;
        const char* header;
        const char* length;
    } cases[] = {
        {4000000, 0, "\xFF\xFB\x90\x44", "4:10"},   {4000000, 417, "\xFF\xFB\x90\x44", "4:10"},
        {40000, 0, "\xFF\xFB\x90\x44", "0:02"},     // 2500 ms -> 2 s
        {56000, 0, "\xFF\xFB\x90\x44", "0:04"},     // 3500 ms -> 4 s
        {112000, 0, "\xFF\xFB\x90\x44", "0:07"},    // 7000 ms
        {58592000, 0, "\xFF\xFB\x90\x44", "61:02"}, // 3662 s
        {3600000, 0, "\xFF\xFB\x50\x44", "7:30"},   // 64 kbit: 450000 ms
        {4000000, 0, "\xFF\xFB\x00\x44", "??"},     // free format
        {0, 0, "\xFF\xFB\x90\x44", "??"},           // empty file
    };
    for (const auto& c : cases) {
        bool valid = false;
        EXPECT_EQ(decode(c.header, c.position, c.size, &valid).Laenge, c.length) << c.size;
    }
}

TEST(GetFrameHeader, FindsTheFirstFrame) {
    struct Case {
        const char* what;
        std::string bytes;
        std::string position;
        std::string version;
    } cases[] = {
        {"at the start", audio(5000), "0 (FF FB 90 44)", "MPEG Version 1"},
        {"after an ID3v2 tag of 300,000 bytes",
         id3v2Tag(textFrame("TIT2", "x"), 300000 - 12) + audio(5000), "300010 (FF FB 90 44)",
         "MPEG Version 1"},
        {"behind the data mark of a WAV file",
         std::string("RIFF\x24\x10\0\0WAVEfmt \x10\0\0\0", 20) + std::string(16, '\x01') + "data" +
             std::string("\x00\x10\0\0", 4) + audio(4096, "\xFF\xF3\x84\xC0"),
         "44 (FF F3 84 C0)", "MPEG Version 2"},
        {"after garbage", garbage(417) + audio(5000), "417 (FF FB 90 44)" + kDamaged,
         "MPEG Version 1"},
        {"at the first decodable zero byte",
         garbage(100) + std::string("\x00\xFB\x90\x44", 4) + garbage(100) + audio(5000),
         "100 (00 FB 90 44)" + kDamaged, "MPEG Version 1"},
        {"nowhere", garbage(3000), "0 (49 49 49 49)" + kDamaged, "??"},
        {"RIFF without data mark", "RIFF" + garbage(300) + audio(5000),
         "304 (FF FB 90 44)" + kDamaged, "MPEG Version 1"},
        {"free format at the start is searched past",
         std::string("\xFF\xFB\x00\x4C", 4) + garbage(596) + audio(5000),
         "600 (FF FB 90 44)" + kDamaged, "MPEG Version 1"},
        {"the search takes a zero byte without sync bits",
         std::string("\xFF\xFB\x00\x4C", 4) + garbage(10) + std::string("\x00\xE3\x88\x64", 4) +
             audio(5000),
         "14 (00 E3 88 64)" + kDamaged, "MPEG Version 2.5"},
    };
    for (const auto& c : cases) {
        HeaderInfo h = locate(c.bytes);
        EXPECT_EQ(h.headerposition, c.position) << c.what;
        EXPECT_EQ(h.MPEGAudioversion, c.version) << c.what;
    }
}

TEST(GetFrameHeader, LengthOfAFoundHeaderCountsFrom) {
    // After a tag, the length counts from the header; a header found by searching counts from 0.
    HeaderInfo tagged = locate(id3v2Tag(textFrame("TIT2", "x"), 99988) + audio(4000000));
    EXPECT_EQ(tagged.headerposition, "100010 (FF FB 90 44)");
    EXPECT_EQ(tagged.Laenge, "4:10");
    HeaderInfo searched = locate(garbage(1000000) + audio(3000000));
    EXPECT_EQ(searched.headerposition, "0 (49 49 49 49)" + kDamaged); // beyond 102,400 bytes

    HeaderInfo near = locate(garbage(100000) + audio(4000000));
    EXPECT_EQ(near.headerposition, "100000 (FF FB 90 44)" + kDamaged);
    EXPECT_EQ(near.Laenge, "4:16"); // 4,100,000 bytes
}

TEST(GetFrameHeader, TooShortFilesAndTagsPointingPastTheEnd) {
    locate("\xFF\xFB\x90", false);
    locate(tagHeader(5000) + audio(100), false);
    locate("RIFF" + garbage(50) + "data\x01", false);
}

TEST(GetFrameHeader, FileErrorsGoToTheLogOrAWarning) {
    TempDir dir;
    HeaderInfo h;
    EXPECT_FALSE(getframeheader(dir.file("missing.mp3"), h));
    EXPECT_FALSE(getframeheader("", h));

    FakeDialogs dialogs;
    RecordingProgress progress;
    MetaStatus quiet{&progress, false, &dialogs};
    EXPECT_FALSE(getframeheader(dir.path(), h, quiet));
    ASSERT_EQ(dialogs.texts("warning").size(), 1u);
    EXPECT_EQ(dialogs.texts("warning")[0],
              "Fehler bei " + dir.path() + "\n\rGet-Header-Exception: Is a directory");

    MetaStatus shown{&progress, true, &dialogs};
    EXPECT_FALSE(getframeheader(dir.path(), h, shown));
    EXPECT_EQ(dialogs.texts("warning").size(), 1u);
    ASSERT_EQ(progress.log.size(), 1u);
    EXPECT_EQ(progress.log[0], dir.path() + "|Get-Header-Exception: Is a directory");

    progress.actions.clear();
    std::string p = dir.write("a.mp3", garbage(500) + audio(1000));
    EXPECT_TRUE(getframeheader(p, h, shown));
    EXPECT_EQ(progress.actions,
              (std::vector<std::string>{"Frameheader lesen (0)", "Frameheader lesen (3)", "--"}));
    EXPECT_EQ(h.headerposition, "500 (FF FB 90 44)" + kDamaged);
}

TEST(TagEditorHelpers, BitsAndHexDigits) {
    EXPECT_EQ(Byte2bin(0x90), "10010000");
    EXPECT_EQ(Byte2bin(0), "00000000");
    EXPECT_EQ(bin2Byte("11111011"), 0xFB);
    for (int v : {0, 1, 0x44, 0x80, 0xFF})
        EXPECT_EQ(bin2Byte(Byte2bin(static_cast<unsigned char>(v))), v);
    EXPECT_EQ(hex2int('7'), 7);
    EXPECT_EQ(hex2int('b'), 11);
    EXPECT_EQ(hex2int('F'), 15);
    EXPECT_EQ(hex2int('g'), 0);
}
