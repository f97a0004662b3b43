// Files encoded by lame and tagged by mutagen and eyeD3 read back with the values those tools
// wrote (as far as the reading rules allow), and tags written here read back in mutagen. Skipped
// when the tools are not installed.
#include "meta/frame_header.h"
#include "meta/id3v1.h"
#include "meta/id3v2.h"
#include "temp_dir.h"

#include <array>
#include <cstdio>
#include <gtest/gtest.h>

using namespace harlune;
using harlune::test::TempDir;

namespace {

const char* const kPython = "/usr/bin/python3";

// Runs a shell command; returns its exit status and standard output.
int run(const std::string& command, std::string* output = nullptr) {
    FILE* pipe = ::popen(command.c_str(), "r");
    if (!pipe)
        return -1;
    std::array<char, 4096> buffer{};
    size_t n;
    while ((n = std::fread(buffer.data(), 1, buffer.size(), pipe)) > 0)
        if (output)
            output->append(buffer.data(), n);
    return ::pclose(pipe);
}

bool haveTools(bool eyed3 = false) {
    if (run("command -v lame >/dev/null") != 0)
        return false;
    if (run(std::string(kPython) + " -c 'import mutagen' 2>/dev/null") != 0)
        return false;
    return !eyed3 || run("command -v eyeD3 >/dev/null") == 0;
}

// One second of stereo sine, encoded by lame with its defaults (128 kbit, 44.1 kHz).
std::string makeMp3(const TempDir& dir, const std::string& name) {
    const std::string wav = dir.file(name + ".wav"), mp3 = dir.file(name);
    const std::string script =
        "import wave, struct, math, sys\n"
        "w = wave.open(sys.argv[1], 'wb'); w.setnchannels(2); w.setsampwidth(2)\n"
        "w.setframerate(44100)\n"
        "w.writeframes(b''.join(struct.pack('<hh', int(8000 * math.sin(i * 0.05)),\n"
        "    int(8000 * math.sin(i * 0.07))) for i in range(44100)))\n"
        "w.close()\n";
    dir.write("sine.py", script);
    EXPECT_EQ(run(std::string(kPython) + " " + dir.file("sine.py") + " '" + wav + "'"), 0);
    EXPECT_EQ(run("lame --quiet '" + wav + "' '" + mp3 + "'"), 0);
    return mp3;
}

// Runs a mutagen script with the file as sys.argv[1]; returns what it prints.
std::string mutagen(const TempDir& dir, const std::string& file, const std::string& body) {
    dir.write("tagger.py", "import sys\n"
                           "from mutagen.id3 import ID3, TIT2, TPE1, TALB, TYER, TCON, TRCK, "
                           "COMM, TCOM, TOPE, TCOP, TENC, WXXX, PRIV\n"
                           "f = sys.argv[1]\n" +
                               body);
    std::string out;
    EXPECT_EQ(run(std::string(kPython) + " " + dir.file("tagger.py") + " '" + file + "'", &out), 0);
    return out;
}

} // namespace

TEST(Interop, LameFrameHeader) {
    if (!haveTools())
        GTEST_SKIP() << "lame or mutagen missing";
    TempDir dir;
    std::string mp3 = makeMp3(dir, "plain.mp3");
    HeaderInfo h;
    ASSERT_TRUE(getframeheader(mp3, h));
    EXPECT_EQ(h.headerposition.substr(0, 5), "0 (FF");
    EXPECT_EQ(h.framesync, "ja");
    EXPECT_EQ(h.MPEGAudioversion, "MPEG Version 1");
    EXPECT_EQ(h.Layer, "Layer III");
    EXPECT_EQ(h.Bitrate, "128 kbit");
    EXPECT_EQ(h.samplingrate, "44100 Hz");
    EXPECT_EQ(h.Laenge, "0:01");

    // Behind a tag written by mutagen the header is found at the tag's end.
    mutagen(dir, mp3,
            "t = ID3(); t.add(TIT2(encoding=0, text='x'))\n"
            "t.save(f, v2_version=3, padding=lambda info: 5000)\n");
    ASSERT_TRUE(getframeheader(mp3, h));
    EXPECT_EQ(h.headerposition.find("Datei"), std::string::npos) << h.headerposition;
    EXPECT_EQ(h.headerposition.substr(0, 8), "5023 (FF"); // 10 + (10 + 3) + 5000
}

TEST(Interop, MutagenLatin1Version23AndVersion1) {
    if (!haveTools())
        GTEST_SKIP() << "lame or mutagen missing";
    TempDir dir;
    std::string mp3 = makeMp3(dir, "a.mp3");
    mutagen(dir, mp3,
            "t = ID3()\n"
            "t.add(TIT2(encoding=0, text='Stra\\xdfe \\xe9t\\xe9'))\n"
            "t.add(TPE1(encoding=0, text='The Artist'))\n"
            "t.add(TALB(encoding=0, text='The Album'))\n"
            "t.add(TYER(encoding=0, text='1999'))\n"
            "t.add(TCON(encoding=0, text='(17)Rock'))\n"
            "t.add(TRCK(encoding=0, text='3/12'))\n"
            "t.add(COMM(encoding=0, lang='eng', desc='', text='Nice \\xa1!'))\n"
            "t.add(TCOM(encoding=0, text='Composer'))\n"
            "t.add(TOPE(encoding=0, text='Orig'))\n"
            "t.add(TCOP(encoding=0, text='(c) 1999'))\n"
            "t.add(TENC(encoding=0, text='Encoder'))\n"
            "t.add(WXXX(encoding=0, desc='', url='http://example.org/'))\n"
            "t.add(PRIV(owner='', data=b'HARLUNE\\xa1' b'3\\xa1Party'))\n"
            "t.save(f, v2_version=3, v1=2)\n");
    TID3v2Tag v2;
    ASSERT_TRUE(v2.ReadTag(mp3)) << v2.ErrorText;
    EXPECT_EQ(v2.Title, "Stra\xDF"
                        "e t"); // é dropped by the character filter
    EXPECT_EQ(v2.Artist, "The Artist");
    EXPECT_EQ(v2.Album, "The Album");
    EXPECT_EQ(v2.Year, "1999");
    EXPECT_EQ(v2.Genre, "Rock");
    EXPECT_EQ(v2.Track, "3/12");
    EXPECT_EQ(v2.Comment, "Nice \xA1!");
    EXPECT_EQ(v2.Composer, "Composer");
    EXPECT_EQ(v2.OrigArtist, "Orig");
    EXPECT_EQ(v2.CopyrightInfo, "(c) 1999");
    EXPECT_EQ(v2.EncodedBy, "Encoder");
    EXPECT_EQ(v2.Url, "http://example.org/");
    EXPECT_EQ(v2.Priv, "HARLUNE\xA1"
                       "3\xA1Party");

    TID3Tag v1;
    ASSERT_TRUE(v1.ReadTag(mp3)) << v1.ErrorText;
    EXPECT_EQ(v1.Title, "Stra\xDF"
                        "e t");
    EXPECT_EQ(v1.Artist, "The Artist");
    EXPECT_EQ(v1.Album, "The Album");
    EXPECT_EQ(v1.Year, "1999");
    EXPECT_EQ(v1.Genre, "Rock");
    EXPECT_EQ(v1.Track, "3");
    EXPECT_EQ(v1.Comment, ""); // mutagen puts no comment into the ID3v1 block
}

TEST(Interop, MutagenUtf16AndVersion24) {
    if (!haveTools())
        GTEST_SKIP() << "lame or mutagen missing";
    TempDir dir;
    std::string mp3 = makeMp3(dir, "a.mp3");
    // UTF-16 is not decoded: the zero halves of the letters become blanks.
    mutagen(dir, mp3,
            "t = ID3()\n"
            "t.add(TIT2(encoding=1, text='Abc'))\n"
            "t.add(TPE1(encoding=2, text='Xy'))\n"
            "t.add(TALB(encoding=3, text='Plain \\xe4'))\n"
            "t.save(f, v2_version=4)\n");
    TID3v2Tag v2;
    ASSERT_TRUE(v2.ReadTag(mp3)) << v2.ErrorText;
    EXPECT_EQ(v2.Title, "A b c");
    EXPECT_EQ(v2.Artist, "X y");
    EXPECT_EQ(v2.Album, "Plain"); // UTF-8 bytes of ä are dropped by the filter
}

TEST(Interop, EyeD3Tags) {
    if (!haveTools(true))
        GTEST_SKIP() << "lame, mutagen or eyeD3 missing";
    TempDir dir;
    std::string mp3 = makeMp3(dir, "a.mp3");
    const std::string args = "-t 'Eye Title' -a 'Eye Artist' -A 'Eye Album' -n 7 -G Jazz "
                             "-c 'Eye comment' '" +
                             mp3 + "'";
    // eyeD3 writes UTF-16 unless told otherwise: the letters come out separated by blanks.
    ASSERT_EQ(run("eyeD3 --no-color --to-v2.3 " + args + " >/dev/null"), 0);
    TID3v2Tag v2;
    ASSERT_TRUE(v2.ReadTag(mp3)) << v2.ErrorText;
    EXPECT_EQ(v2.Title, "E y e   T i t l e");
    EXPECT_EQ(v2.Track, "0 7"); // eyeD3 writes "07"
    EXPECT_EQ(v2.Genre, "J a z z");
    EXPECT_EQ(v2.Comment, "E y e   c o m m e n t");

    ASSERT_EQ(run("eyeD3 --no-color --to-v2.3 --encoding latin1 " + args + " >/dev/null"), 0);
    ASSERT_TRUE(v2.ReadTag(mp3)) << v2.ErrorText;
    EXPECT_EQ(v2.Title, "Eye Title");
    EXPECT_EQ(v2.Artist, "Eye Artist");
    EXPECT_EQ(v2.Album, "Eye Album");
    EXPECT_EQ(v2.Track, "07");
    EXPECT_EQ(v2.Genre, "Jazz");
    EXPECT_EQ(v2.Comment, "Eye comment");

    ASSERT_EQ(run("eyeD3 --no-color -1 -t 'V1 Title' -a 'V1 Artist' -n 9 -G Jazz '" + mp3 +
                  "' >/dev/null"),
              0);
    TID3Tag v1;
    ASSERT_TRUE(v1.ReadTag(mp3)) << v1.ErrorText;
    EXPECT_EQ(v1.Title, "V1 Title");
    EXPECT_EQ(v1.Artist, "V1 Artist");
    EXPECT_EQ(v1.Track, "9");
    EXPECT_EQ(v1.Genre, "Jazz");
}

TEST(Interop, TagsWrittenHereReadBackInMutagen) {
    if (!haveTools())
        GTEST_SKIP() << "lame or mutagen missing";
    TempDir dir;
    std::string mp3 = makeMp3(dir, "a.mp3");
    TID3v2Tag v2;
    v2.Title = "Stra\xDF"
               "e";
    v2.Artist = "Artist";
    v2.Album = "Album";
    v2.Year = "2004";
    v2.Genre = "Rock";
    v2.Track = "3";
    v2.OrigArtist = "Orig";
    v2.Composer = "Comp";
    v2.Url = "http://x.org/";
    v2.Comment = "Line";
    v2.CopyrightInfo = "Copy";
    v2.EncodedBy = "Enc";
    v2.Priv = "HARLUNE\xA1"
              "2\xA1Gruppe";
    ASSERT_TRUE(v2.WriteTag(mp3)) << v2.ErrorText;
    TID3Tag v1;
    v1.Title = "V1 \xC4";
    v1.Artist = "V1 Artist";
    v1.Album = "V1 Album";
    v1.Year = "2004";
    v1.Comment = "V1 comment";
    v1.Track = "3";
    v1.Genre = "Jazz";
    ASSERT_TRUE(v1.WriteTag(mp3)) << v1.ErrorText;

    // mutagen as it stores them (v2.3 frames untranslated), and the ID3v1 block parsed alone.
    std::string out = mutagen(
        dir, mp3,
        "t = ID3(f, translate=False)\n"
        "print(t.version)\n"
        "for k in ['TIT2','TPE1','TALB','TYER','TCON','TRCK','TOPE','TCOM','TCOP','TENC']:\n"
        "    print(k, int(t[k].encoding), t[k].text[0].encode('latin-1').hex())\n"
        "w = t.getall('WXXX')[0]; print('WXXX', repr(w.desc), w.url)\n"
        "c = t.getall('COMM')[0]; print('COMM', c.lang, repr(c.desc), c.text[0])\n"
        "p = t.getall('PRIV')[0]; print('PRIV', repr(p.owner), p.data.hex())\n"
        "data = open(f, 'rb').read()[-128:]\n"
        "from mutagen.id3._id3v1 import ParseID3v1\n"
        "v1 = ParseID3v1(data)\n"
        "for k in ['TIT2','TPE1','TALB','TDRC','TRCK','TCON']:\n"
        "    print('v1', k, str(v1[k].text[0]).encode('latin-1').hex())\n"
        "print('v1 COMM', v1['COMM'].text[0])\n");
    auto hex = [](std::string_view s) {
        std::string h;
        char b[3];
        for (unsigned char c : s) {
            std::snprintf(b, sizeof b, "%02x", c);
            h += b;
        }
        return h;
    };
    const std::string expected = "(2, 3, 0)\n"
                                 "TIT2 0 " +
                                 hex("Stra\xDF"
                                     "e") +
                                 "\n"
                                 "TPE1 0 " +
                                 hex("Artist") +
                                 "\n"
                                 "TALB 0 " +
                                 hex("Album") +
                                 "\n"
                                 "TYER 0 " +
                                 hex("2004") +
                                 "\n"
                                 "TCON 0 " +
                                 hex("Rock") +
                                 "\n"
                                 "TRCK 0 " +
                                 hex("3") +
                                 "\n"
                                 "TOPE 0 " +
                                 hex("Orig") +
                                 "\n"
                                 "TCOM 0 " +
                                 hex("Comp") +
                                 "\n"
                                 "TCOP 0 " +
                                 hex("Copy") +
                                 "\n"
                                 "TENC 0 " +
                                 hex("Enc") +
                                 "\n"
                                 "WXXX '' http://x.org/\n"
                                 "COMM ENG '' Line\n"
                                 "PRIV '' " +
                                 hex("HARLUNE\xA1"
                                     "2\xA1Gruppe") +
                                 "\n"
                                 "v1 TIT2 " +
                                 hex("V1 \xC4") +
                                 "\n"
                                 "v1 TPE1 " +
                                 hex("V1 Artist") +
                                 "\n"
                                 "v1 TALB " +
                                 hex("V1 Album") +
                                 "\n"
                                 "v1 TDRC " +
                                 hex("2004") +
                                 "\n"
                                 "v1 TRCK " +
                                 hex("3") +
                                 "\n"
                                 "v1 TCON " +
                                 hex("8") +
                                 "\n" // mutagen gives the number: 8 is Jazz
                                 "v1 COMM V1 comment\n";
    EXPECT_EQ(out, expected);
}
