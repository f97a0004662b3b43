#include "base/cp1252.h"
#include "base/ini_file.h"
#include "base/line_file.h"
#include "base/paths.h"
#include "temp_dir.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

using namespace harlune;
using harlune::test::TempDir;

TEST(LineFile, ReadsCrLfAndLfAndWritesCrLf) {
    TempDir dir;
    std::string p = dir.write("a.txt", "one\r\ntwo\nthree\r\n\r\nlast");
    std::vector<std::string> lines;
    ASSERT_TRUE(readLines(p, lines));
    EXPECT_EQ(lines, (std::vector<std::string>{"one", "two", "three", "", "last"}));

    ASSERT_TRUE(writeLines(dir.file("b.txt"), {"x", "\xE4"}));
    ASSERT_TRUE(appendLines(dir.file("b.txt"), {"y"}));
    EXPECT_EQ(TempDir::read(dir.file("b.txt")), "x\r\n\xE4\r\ny\r\n");
    EXPECT_FALSE(readLines(dir.file("missing"), lines));
}

TEST(LineFile, ReaderHandlesLinesLongerThanItsBuffer) {
    TempDir dir;
    std::string big(200000, 'x');
    std::string p = dir.write("big.txt", big + "\r\nend");
    LineReader r(p);
    std::string line;
    ASSERT_TRUE(r.next(line));
    EXPECT_EQ(line, big);
    ASSERT_TRUE(r.next(line));
    EXPECT_EQ(line, "end");
    EXPECT_FALSE(r.next(line));
    EXPECT_TRUE(r.atEnd());
}

TEST(Paths, NamesAndCaseVariants) {
    EXPECT_EQ(fileNamePart("C:\\Musik\\Song.mp3"), "Song.mp3");
    EXPECT_EQ(fileNamePart("/m/a/b.mp3"), "b.mp3");
    EXPECT_EQ(folderPart("C:\\Musik\\Song.mp3"), "C:\\Musik");
    EXPECT_EQ(joinPath("/a/", "b"), "/a/b");

    TempDir dir;
    dir.write("List.ALB", "#EXTALB\r\n");
    bool conflict = true;
    auto found = findCaseVariant(dir.file("List.alb"), &conflict);
    ASSERT_TRUE(found);
    EXPECT_EQ(*found, dir.file("List.ALB"));
    EXPECT_FALSE(conflict);
    dir.write("List.Alb", "");
    EXPECT_FALSE(findCaseVariant(dir.file("List.alb"), &conflict));
    EXPECT_TRUE(conflict);
    EXPECT_FALSE(findCaseVariant(dir.file("none.alb")));
}

TEST(Paths, FileNamesOutsideTheCodePageAreReachable) {
    TempDir dir;
    // Names as the file system holds them: UTF-8 outside the code page, and bytes that are no
    // UTF-8 at all.
    for (std::string utf8 : {"\xE6\x97\xA5\xE6\x9C\xAC.mp3", "raw\xFF.mp3"}) {
        std::string onDisk = cp1252ToUtf8(dir.path()) + "/" + utf8;
        std::FILE* f = std::fopen(onDisk.c_str(), "wb");
        ASSERT_TRUE(f);
        std::fputs("data", f);
        std::fclose(f);
        std::string core = dir.path() + "/" + utf8ToCp1252(utf8);
        EXPECT_TRUE(fileExists(core)) << utf8;
        EXPECT_EQ(TempDir::read(core), "data");
        EXPECT_EQ(fromFsPath(fsPath(core)), core);
    }
}

TEST(IniFile, ReadsWithTheConfigurationRules) {
    IniFile ini;
    ini.parse("; comment\r\n[konfig]\r\nSuchDelay = 750 \r\nBAD=12x\r\nFLAG=7\r\nOFF=0\r\n"
              "NAME=  Hans  \r\n[OTHER]\r\nKEY=1\r\n");
    EXPECT_EQ(ini.readInteger("KONFIG", "SUCHDELAY", 500), 750);
    EXPECT_EQ(ini.readInteger("KONFIG", "BAD", 500), 500);
    EXPECT_EQ(ini.readInteger("KONFIG", "MISSING", 5), 5);
    EXPECT_TRUE(ini.readBool("KONFIG", "FLAG", false));
    EXPECT_FALSE(ini.readBool("KONFIG", "OFF", true));
    EXPECT_TRUE(ini.readBool("KONFIG", "BAD", true));
    EXPECT_EQ(ini.readString("KONFIG", "name", "x"), "Hans");
    EXPECT_EQ(ini.readString("KONFIG", "missing", "def"), "def");
}

TEST(IniFile, WritingKeepsEverythingElse) {
    TempDir dir;
    std::string p = dir.write("h.ini", "; top\r\n[A]\r\nx=1\r\n\r\n[KONFIG]\r\nKey=old\r\n");
    IniFile ini(p);
    ASSERT_TRUE(ini.load());
    ini.writeString("konfig", "KEY", "/ADD ");
    ini.writeBool("KONFIG", "NEW", true);
    ini.writeInteger("B", "n", -3);
    ASSERT_TRUE(ini.save());
    EXPECT_EQ(TempDir::read(p),
              "; top\r\n[A]\r\nx=1\r\n\r\n[KONFIG]\r\nKey=/ADD \r\nNEW=1\r\n[B]\r\nn=-3\r\n");
    ini.eraseSection("konfig");
    EXPECT_FALSE(ini.hasKey("KONFIG", "KEY"));
    EXPECT_EQ(ini.readString("A", "X", ""), "1");
}

TEST(IniFile, MissingFileIsEmptyAndUnwritableFileFails) {
    TempDir dir;
    IniFile ini(dir.file("none.ini"));
    EXPECT_TRUE(ini.load());
    EXPECT_TRUE(ini.sections().empty());

    std::string p = dir.write("ro.ini", "[K]\r\na=1\r\n");
    ::chmod(p.c_str(), 0444);
    IniFile ro(p);
    ASSERT_TRUE(ro.load());
    ro.writeString("K", "a", "2");
    std::string error;
    if (::geteuid() != 0) { // root writes anything
        EXPECT_FALSE(ro.save(&error));
        EXPECT_FALSE(error.empty());
        EXPECT_EQ(TempDir::read(p), "[K]\r\na=1\r\n");
    }
}
