#include "base/paths.h"
#include "fake_dialogs.h"
#include "index/fields.h"
#include "index/index_files.h"
#include "temp_dir.h"

#include <gtest/gtest.h>

using namespace harlune;
using harlune::test::FakeDialogs;
using harlune::test::TempDir;

namespace {

using Lines = std::vector<std::string>;

std::string joinLines(const Lines& lines, const char* eol = "\r\n") {
    std::string out;
    for (const auto& l : lines)
        out += l + eol;
    return out;
}

// Writes "<base>.m3u" and "<base>.alb" with their headers; returns the list file's path.
std::string writePair(const TempDir& dir, const std::string& base, const Lines& entries,
                      const Lines& records, const char* eol = "\r\n") {
    Lines m3u{"#EXTM3U"}, alb{"#EXTALB"};
    m3u.insert(m3u.end(), entries.begin(), entries.end());
    alb.insert(alb.end(), records.begin(), records.end());
    dir.write(base + ".alb", joinLines(alb, eol));
    return dir.write(base + ".m3u", joinLines(m3u, eol));
}

struct Row {
    std::string title, path, listFile, record;
    bool operator==(const Row&) const = default;
};
std::ostream& operator<<(std::ostream& os, const Row& r) {
    return os << "{" << r.title << " | " << r.path << " | " << r.listFile << " | " << r.record
              << "}";
}

std::vector<Row> rowsOf(const MP3Index& index) {
    std::vector<Row> rows;
    for (size_t i = 0; i < index.size(); ++i) {
        auto e = index.entry(i);
        rows.push_back({std::string(e.title), std::string(e.path), std::string(e.listFile),
                        std::string(e.record)});
    }
    return rows;
}

std::string loadFailedWarning(const std::string& errorText) {
    return std::string(kLoadFailedText) + errorText + kLoadFailedEndText;
}

struct Loader {
    MP3Index grid;
    GroupList groups;
    FakeDialogs dialogs;
    std::string error;
    bool add(const std::string& listPath) {
        return Listehinzufuegen(grid, groups, dialogs, listPath, error);
    }
};

} // namespace

TEST(IndexFiles, TitlesAndPathLines) {
    struct Case {
        const char* name;
        Lines m3u;
        Lines alb;
        std::vector<std::pair<std::string, std::string>> titleAndPath;
        const char* eol = "\r\n";
    };
    const Case cases[] = {
        {"no title lines: titles from the file names",
         {"C:\\Musik\\Song.mp3", "\\\\server\\share\\Other.MP3"},
         {"r1", "r2"},
         {{"Song", "C:\\Musik\\Song.mp3"}, {"Other", "\\\\server\\share\\Other.MP3"}}},
        {"title lines in any case, first comma only, trimmed",
         {"#extinf:123,Artist - Title", "C:\\a.mp3", "#EXTINF:0,a, b", "C:\\b.mp3",
          "#ExtInf:5,  padded \t", "C:\\c.mp3"},
         {"r1", "r2", "r3"},
         {{"Artist - Title", "C:\\a.mp3"}, {"a, b", "C:\\b.mp3"}, {"padded", "C:\\c.mp3"}}},
        {"a title line without a comma gives an empty title",
         {"#EXTINF:77", "C:\\d\\e.mp3"},
         {"r"},
         {{"", "C:\\d\\e.mp3"}}},
        {"the last title line counts, and only for the next path",
         {"#EXTINF:1,A", "#EXTINF:2,B", "C:\\x.mp3", "C:\\y.mp3"},
         {"r1", "r2"},
         {{"B", "C:\\x.mp3"}, {"y", "C:\\y.mp3"}}},
        {"other lines beginning with # are path lines with a record",
         {"#EXTM3U", "#comment", "C:\\z.mp3"},
         {"r1", "r2", "r3"},
         {{"", "#EXTM3U"}, {"", "#comment"}, {"z", "C:\\z.mp3"}}},
        {"separators, short names, paths kept untrimmed",
         {"/home/u/Song.mp3", "C:\\a/b\\c.mp3", "NoSeparator.mp3", "C:\\ab", " C:\\x\\y.mp3 ",
          "C:\\\xE4\xDF.mp3"},
         {"r1", "r2", "r3", "r4", "r5", "r6"},
         {{"Song", "/home/u/Song.mp3"},
          {"c", "C:\\a/b\\c.mp3"},
          {"", "NoSeparator.mp3"},
          {"", "C:\\ab"},
          {"y.", " C:\\x\\y.mp3 "},
          {"\xE4\xDF", "C:\\\xE4\xDF.mp3"}}},
        {"a blank line inside the list is a path line",
         {"C:\\a.mp3", "", "C:\\b.mp3"},
         {"r1", "r2", "r3"},
         {{"a", "C:\\a.mp3"}, {"", ""}, {"b", "C:\\b.mp3"}}},
        {"bare LF line ends", {"#EXTINF:1,T", "C:\\a.mp3"}, {"r1"}, {{"T", "C:\\a.mp3"}}, "\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TempDir dir;
        std::string list = writePair(dir, "x", c.m3u, c.alb, c.eol);
        Loader l;
        ASSERT_TRUE(l.add(list)) << l.error;
        std::vector<Row> want;
        for (size_t i = 0; i < c.titleAndPath.size(); ++i)
            want.push_back({c.titleAndPath[i].first, c.titleAndPath[i].second, list, c.alb[i]});
        EXPECT_EQ(rowsOf(l.grid), want);
        EXPECT_TRUE(l.dialogs.entries().empty());
    }
}

TEST(IndexFiles, AnEntryWithAnEmptyTitleIsNeverOverwritten) {
    // The first entry of the table has an empty title; appending a second pair must add to it.
    TempDir dir;
    std::string a = writePair(dir, "a", {"NoSeparator.mp3"}, {"ra"});
    std::string b = writePair(dir, "b", {"C:\\B.mp3"}, {"rb"});
    Loader l;
    ASSERT_TRUE(l.add(a));
    ASSERT_TRUE(l.add(b));
    EXPECT_EQ(rowsOf(l.grid),
              (std::vector<Row>{{"", "NoSeparator.mp3", a, "ra"}, {"B", "C:\\B.mp3", b, "rb"}}));
}

TEST(IndexFiles, Headers) {
    struct Case {
        std::string m3uHeader, albHeader;
        int invalid; // 0: loads, 1: the list file is invalid, 2: the album file is invalid
    };
    const Case cases[] = {
        {"#extm3u", "#ExtAlb", 0},   {"#EXTM3U ", "#EXTALB", 1},
        {"", "#EXTALB", 1},          {"\xEF\xBB\xBF#EXTM3U", "#EXTALB", 1},
        {"C:\\a.mp3", "#EXTALB", 1}, {"#EXTM3U", "#EXTALB2", 2},
        {"#EXTM3U", "#EXTM3U", 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.m3uHeader + " / " + c.albHeader);
        TempDir dir;
        dir.write("x.alb", c.albHeader + "\r\nrec\r\n");
        std::string list = dir.write("x.m3u", c.m3uHeader + "\r\nC:\\a.mp3\r\n");
        Loader l;
        EXPECT_EQ(l.add(list), c.invalid == 0);
        if (c.invalid == 1) {
            EXPECT_EQ(l.error, list + " ist ung\xFCltig !");
        }
        if (c.invalid == 2) {
            EXPECT_EQ(l.error, dir.file("x.alb") + " ist ung\xFCltig !");
        }
        EXPECT_EQ(l.grid.size(), c.invalid == 0 ? 1u : 0u);
    }
    // Files without any line at all have no header either.
    TempDir dir;
    dir.write("e.alb", "");
    std::string list = dir.write("e.m3u", "#EXTM3U\r\n");
    Loader l;
    EXPECT_FALSE(l.add(list));
    EXPECT_EQ(l.error, dir.file("e.alb") + " ist ung\xFCltig !");
}

TEST(IndexFiles, FilesOfDifferentLength) {
    struct Case {
        const char* name;
        Lines m3u;
        Lines alb;
        int tooLong; // 0: loads, 1: album file too long, 2: list file too long
        size_t entries;
    };
    const Case cases[] = {
        {"two blank lines after the records", {"C:\\a.mp3"}, {"r1", "", " \t"}, 0, 1},
        {"blank lines after the list", {"C:\\a.mp3", "", "  "}, {"r1"}, 0, 1},
        {"one more record", {"C:\\a.mp3", "C:\\b.mp3"}, {"r1", "r2", "r3"}, 1, 2},
        {"a record after blank lines", {"C:\\a.mp3"}, {"r1", "", "r2"}, 1, 1},
        {"one more path line", {"C:\\a.mp3", "C:\\b.mp3"}, {"r1"}, 2, 1},
        {"short album file", {"C:\\a.mp3", "C:\\b.mp3", "C:\\c.mp3"}, {"r1", "r2"}, 2, 2},
        {"a title line left over", {"C:\\a.mp3", "#EXTINF:1,x"}, {"r1"}, 2, 1},
        {"no records at all", {"#EXTINF:1,x", "C:\\a.mp3"}, {}, 2, 0},
        {"headers only", {}, {}, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TempDir dir;
        std::string list = writePair(dir, "x", c.m3u, c.alb);
        Loader l;
        EXPECT_EQ(l.add(list), c.tooLong == 0);
        if (c.tooLong == 1) {
            EXPECT_EQ(l.error,
                      dir.file("x.alb") + " ist passt nicht zur M3U Datei! (ALB ist zu lang)");
        }
        if (c.tooLong == 2) {
            EXPECT_EQ(l.error, list + " ist passt nicht zur ALB Datei! (M3U ist zu lang)");
        }
        // What was read before the failure stays.
        EXPECT_EQ(l.grid.size(), c.entries);
    }
}

TEST(IndexFiles, MissingAndUnreadableFiles) {
    TempDir dir;
    {
        Loader l;
        EXPECT_FALSE(l.add(dir.file("none.m3u")));
        EXPECT_EQ(l.error, dir.file("none.m3u") + " wurde nicht gefunden!");
        EXPECT_TRUE(l.dialogs.entries().empty());
    }
    {
        // The album file is "x.alb" whatever the letter case of its name.
        std::string list = dir.write("Upper.M3U", "#EXTM3U\r\nC:\\a.mp3\r\n");
        dir.write("Upper.ALB", "#EXTALB\r\nr\r\n");
        Loader l;
        ASSERT_TRUE(l.add(list)) << l.error;
        EXPECT_EQ(l.grid.record(0), "r");
    }
    {
        // Two spellings of the album file: a conflict, not a guess.
        std::string list = dir.write("Two.m3u", "#EXTM3U\r\n");
        dir.write("Two.alb", "#EXTALB\r\n");
        dir.write("Two.ALB", "#EXTALB\r\n");
        Loader l;
        EXPECT_FALSE(l.add(list));
        EXPECT_EQ(l.error, dir.file("Two.alb") + kAmbiguousText);
        EXPECT_TRUE(l.dialogs.entries().empty());
    }
    {
        // An album "file" that cannot be read is an error, not an empty index.
        std::string list = dir.write("Dir.m3u", "#EXTM3U\r\n");
        dir.write("Dir.alb/inner", "");
        Loader l;
        EXPECT_FALSE(l.add(list));
        EXPECT_EQ(l.error, "Fehler beim Lesen von " + dir.file("Dir.alb") + "!");
    }
}

TEST(IndexFiles, MissingAlbumFileAsksForADummy) {
    for (bool yes : {false, true}) {
        SCOPED_TRACE(yes ? "Yes" : "No");
        TempDir dir;
        std::string list =
            dir.write("Imp.M3U", "#EXTM3U\r\n#EXTINF:1,One\r\nC:\\1.mp3\r\nC:\\2.mp3\r\n");
        Loader l;
        l.dialogs.addAnswer(yes ? "yes" : "no");
        EXPECT_EQ(l.add(list), yes);
        ASSERT_EQ(l.dialogs.entries().size(), 1u);
        EXPECT_EQ(l.dialogs.entries()[0].kind, "confirm");
        EXPECT_EQ(l.dialogs.entries()[0].text,
                  "Es ist aber auch m\xF6gliche eine Dummydatei zu erzeugen,\n\rder "
                  "Albenexplorer wird damit aber nicht funktionieren !\n\rWollen Sie dies nun "
                  "tun ?");
        if (!yes) {
            EXPECT_EQ(l.error, dir.file("Imp.alb") + " wurde nicht gefunden!");
            EXPECT_FALSE(fileExists(dir.file("Imp.alb")));
            continue;
        }
        EXPECT_EQ(TempDir::read(dir.file("Imp.alb")),
                  "#EXTALB\r\nDummy-Album (by Harlune Import)\r\nDummy-Album (by Harlune "
                  "Import)\r\n");
        ASSERT_EQ(l.grid.size(), 2u);
        EXPECT_EQ(l.grid.title(0), "One");
        EXPECT_EQ(getfield(l.grid.record(1), kFieldAlbum), "Dummy-Album (by Harlune Import)");
    }
}

TEST(IndexFiles, DummyAlbumFileMatchesWhatTheReaderCounts) {
    TempDir dir;
    // Title lines get no record; every other line does, "#" lines and inner blank lines
    // included, so that the pair loads. Trailing blank lines get none.
    std::string list =
        dir.write("d.m3u", joinLines({"#EXTM3U", "#EXTINF:1,T", "C:\\a.mp3", "#comment", "",
                                      "C:\\b.mp3", "#extinf:2,U", "C:\\c.mp3", "", ""}));
    ASSERT_TRUE(createdummyalb(list, dir.file("d.alb")));
    std::string dummy = "Dummy-Album (by Harlune Import)\r\n";
    EXPECT_EQ(TempDir::read(dir.file("d.alb")),
              "#EXTALB\r\n" + dummy + dummy + dummy + dummy + dummy);
    Loader l;
    ASSERT_TRUE(l.add(list)) << l.error;
    EXPECT_EQ(l.grid.size(), 5u);
    EXPECT_EQ(l.grid.title(4), "U");

    EXPECT_FALSE(createdummyalb(dir.file("missing.m3u"), dir.file("missing.alb")));
    EXPECT_FALSE(fileExists(dir.file("missing.alb")));
    EXPECT_FALSE(createdummyalb(list, dir.file("no/such/folder/d.alb")));
}

TEST(IndexFiles, GroupListCollectsDistinctTrimmedGroups) {
    auto rec = [](const std::string& group) {
        return "Alb\xA1"
               "3:00\xA1v\xA1l\xA1m\xA1s\xA1"
               "b\xA1 \xA1"
               "0\xA1" +
               group +
               "\xA1"
               "2003-01-01\xA1-\xA1";
    };
    TempDir dir;
    std::string a = writePair(
        dir, "a", {"C:\\1", "C:\\2", "C:\\3", "C:\\4", "C:\\5", "C:\\6"},
        {rec("Party"), rec(" party "), rec("  "), rec(" Party\t"), "bare album", rec("Rock")});
    std::string b = writePair(dir, "b", {"C:\\7", "C:\\8"}, {rec("Jazz"), rec("Party")});
    Loader l;
    ASSERT_TRUE(l.add(a));
    EXPECT_EQ(l.groups.names(), (Lines{"Party", "party", "Rock"}));
    // Loading again (even after emptying the table) only adds.
    ASSERT_TRUE(ladeliste(l.grid, l.groups, l.dialogs, false, b, ""));
    EXPECT_EQ(l.groups.names(), (Lines{"Party", "party", "Rock", "Jazz"}));
}

TEST(IndexFiles, LadelisteSelectedPair) {
    TempDir dir;
    std::string list = writePair(dir, "sel", {"C:\\x.mp3"}, {"r"});
    Loader l;
    l.grid.append("old", "old", "old", "old");
    // The selector text is trimmed; the table is emptied first.
    ASSERT_TRUE(ladeliste(l.grid, l.groups, l.dialogs, false, "  " + list + " ", "unused"));
    EXPECT_EQ(rowsOf(l.grid), (std::vector<Row>{{"x", "C:\\x.mp3", list, "r"}}));
    EXPECT_TRUE(l.dialogs.entries().empty());

    EXPECT_FALSE(ladeliste(l.grid, l.groups, l.dialogs, false, dir.file("gone.m3u"), ""));
    EXPECT_TRUE(l.grid.empty());
    ASSERT_EQ(l.dialogs.entries().size(), 1u);
    EXPECT_EQ(l.dialogs.entries()[0].kind, "warning");
    EXPECT_EQ(l.dialogs.entries()[0].text,
              "Fehler beim Laden des MP3-Index:\n\r" + dir.file("gone.m3u") +
                  " wurde nicht gefunden!\n\r\n\rErstellen Sie den MP3-Index mit Harlune ggf. "
                  "neu!");
}

TEST(IndexFiles, LadelisteAllLists) {
    TempDir dir;
    const std::string folder = dir.file("Playlists");
    std::string b = writePair(dir, "Playlists/b", {"C:\\b1.mp3", "C:\\b2.mp3"}, {"rb1", "rb2"});
    dir.write("Playlists/A.ALB", "#EXTALB\r\nra\r\n");
    std::string a = dir.write("Playlists/A.M3U", "#EXTM3U\r\nC:\\a.mp3\r\n");
    dir.write("Playlists/c.txt", "#EXTM3U\r\nC:\\c.mp3\r\n");
    dir.write("Playlists/d.m3u8", "#EXTM3U\r\nC:\\d.mp3\r\n");
    dir.write("Playlists/folder.m3u/x", "");

    EXPECT_EQ(indexListFiles(folder), (Lines{folder + "/A.M3U", folder + "/b.m3u"}));
    Loader l;
    ASSERT_TRUE(ladeliste(l.grid, l.groups, l.dialogs, true, "ignored", folder));
    EXPECT_EQ(rowsOf(l.grid), (std::vector<Row>{{"a", "C:\\a.mp3", a, "ra"},
                                                {"b1", "C:\\b1.mp3", b, "rb1"},
                                                {"b2", "C:\\b2.mp3", b, "rb2"}}));

    // A failing pair stops loading; what came before it stays.
    std::string bad = dir.write("Playlists/B2.m3u", "#EXTM3U\r\nC:\\x.mp3\r\n");
    dir.write("Playlists/B2.alb", "#EXTALB\r\n");
    EXPECT_EQ(indexListFiles(folder), (Lines{a, bad, b}));
    EXPECT_FALSE(ladeliste(l.grid, l.groups, l.dialogs, true, "", folder));
    EXPECT_EQ(l.grid.size(), 1u);
    EXPECT_EQ(
        l.dialogs.texts("warning"),
        (Lines{loadFailedWarning(bad + " ist passt nicht zur ALB Datei! (M3U ist zu lang)")}));

    // No index folder: nothing to load, and that is no error.
    EXPECT_TRUE(indexListFiles(dir.file("none")).empty());
    EXPECT_TRUE(ladeliste(l.grid, l.groups, l.dialogs, true, "", dir.file("none")));
    EXPECT_TRUE(l.grid.empty());
}

TEST(IndexFiles, ListNamesSortByteWise) {
    TempDir dir;
    for (const char* name : {"\xE4.m3u", "b.m3u", "B.m3u", "a.M3u", "_.m3u"})
        dir.write(name, "");
    std::vector<std::string> want;
    for (const char* name : {"B.m3u", "_.m3u", "a.M3u", "b.m3u", "\xE4.m3u"})
        want.push_back(dir.file(name));
    EXPECT_EQ(indexListFiles(dir.path()), want);
}
