#include "base/datetime.h"
#include "base/paths.h"
#include "fake_clock.h"
#include "fake_dialogs.h"
#include "index/fields.h"
#include "index/index_files.h"
#include "index/m3u_change.h"
#include "temp_dir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <unistd.h>

using namespace harlune;
using harlune::test::FakeClock;
using harlune::test::FakeDialogs;
using harlune::test::TempDir;

namespace fs = std::filesystem;

namespace {

using Lines = std::vector<std::string>;

std::string joinLines(const Lines& lines) {
    std::string out;
    for (const auto& l : lines)
        out += l + "\r\n";
    return out;
}

std::string m3uText(const Lines& entries) {
    return "#EXTM3U\r\n" + joinLines(entries);
}
std::string albText(const Lines& records) {
    return "#EXTALB\r\n" + joinLines(records);
}

// An index pair as the program names it on disk ("x.M3U", "x.ALB").
struct Pair {
    TempDir dir;
    std::string list, album;
    Pair(const Lines& entries, const Lines& records, const std::string& base = "x",
         const std::string& listExt = ".M3U", const std::string& albumExt = ".ALB") {
        list = dir.write(base + listExt, m3uText(entries));
        album = dir.write(base + albumExt, albText(records));
    }
    std::string listText() const { return TempDir::read(list); }
    std::string albumText() const { return TempDir::read(album); }
    // Names in the folder other than the pair itself (work files, kept copies).
    std::vector<std::string> strayFiles() const {
        std::vector<std::string> out;
        for (const auto& e : fs::directory_iterator(fsPath(dir.path()))) {
            std::string p = fromFsPath(e.path());
            if (p != list && p != album)
                out.push_back(fileNamePart(p));
        }
        return out;
    }
};

// The pair as the index reader sees it: the paths of its entries, or the reader's error text.
struct Loaded {
    bool ok = false;
    std::string error;
    Lines paths, records;
};
Loaded load(const std::string& list) {
    MP3Index grid;
    GroupList groups;
    FakeDialogs dialogs;
    Loaded out;
    out.ok = Listehinzufuegen(grid, groups, dialogs, list, out.error);
    for (size_t i = 0; i < grid.size(); ++i) {
        out.paths.emplace_back(grid.path(i));
        out.records.emplace_back(grid.record(i));
    }
    return out;
}

// 15 March 2024, 10:30.
FakeClock marchClock() {
    CivilDateTime t;
    t.year = 2024;
    t.month = 3;
    t.day = 15;
    t.hour = 10;
    t.minute = 30;
    return FakeClock(toDays(t));
}

AlbumRecordSource shownFile() {
    AlbumRecordSource s;
    s.id3v1Album = "Old Album";
    s.id3v2Album = "Album2";
    s.laenge = "3:25";
    s.version = "MPEG 1";
    s.layer = "Layer III";
    s.modus = "Stereo";
    s.samplingrate = "44100 Hz";
    s.bitrate = "128 kBit";
    s.rated = true;
    s.rating = 4;
    s.group = "Party";
    s.id3v1Track = "7";
    return s;
}
// The record shownFile() gives on 15 March 2024.
const std::string kNewRecord = "Album2\xA1"
                               "3:25\xA1MPEG 1\xA1Layer III\xA1Stereo\xA1"
                               "44100 Hz\xA1"
                               "128 kBit\xA1 \xA1"
                               "4\xA1Party\xA1"
                               "2024-03-15\xA1"
                               "7\xA1";
const char* const kNew = "NEW"; // stands for kNewRecord in expected album files

std::string internalError(const char* reason) {
    return std::string(kInternalErrorText) + reason;
}

} // namespace

TEST(M3Uchange, ChangesAndDeletesOneEntry) {
    struct Case {
        const char* name;
        Lines m3u, alb;
        std::string current, newTitle, newPath;
        Lines wantM3u, wantAlb;
    };
    const Case cases[] = {
        {"deleting the only entry leaves the headers",
         {"#EXTINF:200,Artist - Song", "C:\\Musik\\a.mp3"},
         {"R1"},
         "C:\\Musik\\a.mp3",
         "",
         "  ",
         {},
         {}},
        {"first entry with a title line: new title and path",
         {"#EXTINF:200,Old", "C:\\Musik\\a.mp3", "#EXTINF:100,B", "C:\\Musik\\b.mp3"},
         {"R1", "R2"},
         "C:\\Musik\\a.mp3",
         "New",
         "/music/a2.mp3",
         {"#EXTINF:0,New", "/music/a2.mp3", "#EXTINF:100,B", "C:\\Musik\\b.mp3"},
         {kNew, "R2"}},
        {"first entry without a title line gains one with a new title",
         {"C:\\Musik\\a.mp3", "C:\\Musik\\b.mp3"},
         {"R1", "R2"},
         "C:\\Musik\\a.mp3",
         "New",
         "",
         {"#EXTINF:0,New", "C:\\Musik\\a.mp3", "C:\\Musik\\b.mp3"},
         {kNew, "R2"}},
        {"only a new path keeps the old title line",
         {"#EXTINF:1,A", "/m/a.mp3", "#EXTINF:5,Keep me", "/m/b.mp3", "/m/c.mp3"},
         {"R1", "R2", "R3"},
         "/m/b.mp3",
         "",
         "/new/b.mp3",
         {"#EXTINF:1,A", "/m/a.mp3", "#EXTINF:5,Keep me", "/new/b.mp3", "/m/c.mp3"},
         {"R1", kNew, "R3"}},
        {"only a new path: an entry without a title line stays without one",
         {"/m/a.mp3", "/m/b.mp3"},
         {"R1", "R2"},
         "/m/b.mp3",
         "",
         "/new/b.mp3",
         {"/m/a.mp3", "/new/b.mp3"},
         {"R1", kNew}},
        {"the path is found regardless of letter case and kept as written",
         {"#EXTINF:1,X", "C:\\MUSIK\\A.MP3"},
         {"R1"},
         "c:\\musik\\a.mp3",
         "Y",
         "",
         {"#EXTINF:0,Y", "C:\\MUSIK\\A.MP3"},
         {kNew}},
        {"an exact match wins over an entry differing in case",
         {"/m/a.mp3", "/m/A.mp3"},
         {"R1", "R2"},
         "/m/A.mp3",
         "",
         "",
         {"/m/a.mp3"},
         {"R1"}},
        {"deleting a middle entry drops its title line and its record only",
         {"#EXTINF:1,A", "/m/a.mp3", "#EXTINF:2,B", "/m/b.mp3", "#EXTINF:3,C", "/m/c.mp3"},
         {"R1", "R2", "R3"},
         "/m/b.mp3",
         "",
         "",
         {"#EXTINF:1,A", "/m/a.mp3", "#EXTINF:3,C", "/m/c.mp3"},
         {"R1", "R3"}},
        {"lower-case title lines are title lines, as the reader takes them",
         {"#extinf:1,A", "/m/a.mp3", "#extinf:2,B", "/m/b.mp3"},
         {"R1", "R2"},
         "/m/b.mp3",
         "New",
         "",
         {"#extinf:1,A", "/m/a.mp3", "#EXTINF:0,New", "/m/b.mp3"},
         {"R1", kNew}},
        {"other lines starting with # consume a record",
         {"#EXTM3U", "/m/a.mp3"},
         {"R1", "R2"},
         "/m/a.mp3",
         "",
         "/m/z.mp3",
         {"#EXTM3U", "/m/z.mp3"},
         {"R1", kNew}},
        {"trailing blank album lines stay",
         {"/m/a.mp3", "/m/b.mp3"},
         {"R1", "R2", "", ""},
         "/m/a.mp3",
         "",
         "",
         {"/m/b.mp3"},
         {"R2", "", ""}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Pair pair(c.m3u, c.alb);
        FakeDialogs dialogs;
        FakeClock clock = marchClock();
        IndexRewriter rewriter(dialogs, clock);
        EXPECT_TRUE(rewriter.M3Uchange(pair.list, c.current, c.newTitle, c.newPath, shownFile()));
        EXPECT_TRUE(dialogs.entries().empty());

        Lines wantAlb = c.wantAlb;
        bool changed = false;
        for (auto& r : wantAlb) {
            if (r == kNew) {
                r = kNewRecord;
                changed = true;
            }
        }
        EXPECT_EQ(pair.listText(), m3uText(c.wantM3u));
        EXPECT_EQ(pair.albumText(), albText(wantAlb));
        EXPECT_EQ(rewriter.lastWrittenRecord(), changed ? kNewRecord : "");
        EXPECT_TRUE(pair.strayFiles().empty());
        Loaded after = load(pair.list);
        EXPECT_TRUE(after.ok) << after.error;
    }
}

TEST(M3Uchange, NewRecordCarriesTodaysDate) {
    Pair pair({"/m/a.mp3"}, {"Album\xA1"
                             "1:00\xA1x\xA1x\xA1x\xA1x\xA1x\xA1 \xA1"
                             "0\xA1\xA1"
                             "2001-01-01\xA1-\xA1"});
    FakeDialogs dialogs;
    FakeClock clock = marchClock();
    clock.advanceSeconds(3 * 86400.0);
    IndexRewriter rewriter(dialogs, clock);
    ASSERT_TRUE(rewriter.M3Uchange(pair.list, "/m/a.mp3", "T", "", shownFile()));
    Loaded after = load(pair.list);
    ASSERT_EQ(after.records.size(), 1u);
    EXPECT_EQ(getfield(after.records[0], kFieldDatum), "2024-03-18");
    EXPECT_EQ(after.records[0], rewriter.lastWrittenRecord());
}

TEST(M3Uchange, NewAlbumRecordChoosesAndCleansItsFields) {
    struct Case {
        const char* name;
        std::string v1Album, v2Album, v1Track, v2Track;
        bool rated;
        int rating;
        std::string group;
        std::string album, wertung, track, gruppe;
    };
    const Case cases[] = {
        {"ID3v2 preferred", "Alt", "Neu", "3", "5", true, 4, "G", "Neu", "4", "5", "G"},
        {"blank ID3v2 falls back to ID3v1", "Alt", "  ", "3", "", false, 3, "", "Alt", "0", "3",
         ""},
        {"nothing usable", " ", "", "0", "x", false, 0, "", "", "0", "-", ""},
        {"ID3v2 track 0 falls back", "", "", "12", "0", true, 1, "", "", "1", "12", ""},
        {"a track that is not a whole number falls back", "", "", "3", "3/12", true, 5, "", "", "5",
         "3", ""},
        {"separator and line breaks are left out", "",
         "A\xA1"
         "B\nC",
         "", "", true, 2, "G\r", "ABC", "2", "-", "G"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        AlbumRecordSource s;
        s.id3v1Album = c.v1Album;
        s.id3v2Album = c.v2Album;
        s.id3v1Track = c.v1Track;
        s.id3v2Track = c.v2Track;
        s.rated = c.rated;
        s.rating = c.rating;
        s.group = c.group;
        s.laenge = "??";
        std::string r = newAlbumRecord(s, "2024-03-15");
        EXPECT_EQ(std::count(r.begin(), r.end(), kFieldSeparator), kAlbumFieldCount);
        EXPECT_EQ(r.back(), kFieldSeparator);
        EXPECT_EQ(getfield(r, kFieldAlbum), c.album);
        EXPECT_EQ(getfield(r, kFieldLaenge), "??");
        EXPECT_EQ(getfield(r, kFieldReserved), " ");
        EXPECT_EQ(getfield(r, kFieldWertung), c.wertung);
        EXPECT_EQ(getfield(r, kFieldGruppe), c.gruppe);
        EXPECT_EQ(getfield(r, kFieldDatum), "2024-03-15");
        EXPECT_EQ(getfield(r, kFieldTrackNr), c.track);
    }
}

TEST(M3Uchange, RecordSourceFromAFileRead) {
    FileInfo info;
    info.id3v1.Album = "V1";
    info.id3v2.Album = "V2";
    info.id3v2.Track = "9";
    info.header.MPEGAudioversion = "MPEG 2";
    info.rating = 0;
    info.group = "G";
    std::string r = newAlbumRecord(albumRecordSourceFrom(info), "2024-01-02");
    // No header found: the length is unknown ("??"), the other header texts are as read.
    EXPECT_EQ(r, "V2\xA1??\xA1MPEG 2\xA1--\xA1--\xA1--\xA1--\xA1 \xA1"
                 "0\xA1G\xA1"
                 "2024-01-02\xA1"
                 "9\xA1");
    info.rating = 3;
    info.header.Laenge = "4:05";
    r = newAlbumRecord(albumRecordSourceFrom(info), "2024-01-02");
    EXPECT_EQ(getfield(r, kFieldWertung), "3");
    EXPECT_EQ(getfield(r, kFieldLaenge), "4:05");
}

TEST(M3Uchange, FailuresAreShownAndChangeNothing) {
    struct Case {
        const char* name;
        std::string list; // "" = the pair's list file
        std::string current, newTitle, newPath;
        bool removeAlbum;
        std::string message;
    };
    const Lines m3u{"#EXTINF:1,A", "/m/a.mp3", "/m/b.mp3"};
    const Lines alb{"R1", "R2"};
    const Case cases[] = {
        {"blank list file path", " ", "/m/a.mp3", "T", "", false, internalError(kNoListFileReason)},
        {"blank current path", "", " \t", "T", "", false, internalError(kNoCurrentPathReason)},
        {"missing list file", "MISSING", "/m/a.mp3", "T", "", false, kListFileMissingText},
        {"missing album file", "", "/m/a.mp3", "T", "", true, kAlbumFileMissingText},
        {"entry not in the list file", "", "/m/zzz.mp3", "T", "", false,
         internalError(kEntryNotFoundReason)},
        {"a path line is not matched by a title line", "", "#EXTINF:1,A", "", "", false,
         internalError(kEntryNotFoundReason)},
        {"line break in the new path", "", "/m/a.mp3", "T", "/m/x\ny.mp3", false,
         internalError(kLineBreakReason)},
        {"line break in the new title", "", "/m/a.mp3", "T\r", "", false,
         internalError(kLineBreakReason)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Pair pair(m3u, alb);
        if (c.removeAlbum)
            fs::remove(fsPath(pair.album));
        std::string list = c.list.empty()        ? pair.list
                           : c.list == "MISSING" ? pair.dir.file("none.M3U")
                                                 : c.list;
        FakeDialogs dialogs;
        FakeClock clock = marchClock();
        IndexRewriter rewriter(dialogs, clock);
        EXPECT_FALSE(rewriter.M3Uchange(list, c.current, c.newTitle, c.newPath, shownFile()));
        ASSERT_EQ(dialogs.entries().size(), 1u);
        EXPECT_EQ(dialogs.entries()[0].kind, "error");
        EXPECT_EQ(dialogs.entries()[0].text, c.message);
        EXPECT_EQ(pair.listText(), m3uText(m3u));
        if (!c.removeAlbum) {
            EXPECT_EQ(pair.albumText(), albText(alb));
        }
        EXPECT_TRUE(pair.strayFiles().empty());
        EXPECT_EQ(rewriter.lastWrittenRecord(), "");
    }
}

TEST(M3Uchange, AlbumFileFoundWhateverItsLetterCase) {
    // Index made elsewhere in lower case: the album file is replaced under its own name.
    Pair pair({"/m/a.mp3", "/m/b.mp3"}, {"R1", "R2"}, "y", ".m3u", ".alb");
    FakeDialogs dialogs;
    FakeClock clock = marchClock();
    IndexRewriter rewriter(dialogs, clock);
    ASSERT_TRUE(rewriter.M3Uchange(pair.list, "/m/a.mp3", "", ""));
    EXPECT_EQ(pair.albumText(), albText({"R2"}));
    EXPECT_TRUE(pair.strayFiles().empty());
}

TEST(M3Uchange, AmbiguousAlbumFileIsReported) {
    Pair pair({"/m/a.mp3"}, {"R1"});
    pair.dir.write("x.alb", albText({"other"}));
    FakeDialogs dialogs;
    FakeClock clock = marchClock();
    IndexRewriter rewriter(dialogs, clock);
    EXPECT_FALSE(rewriter.M3Uchange(pair.list, "/m/a.mp3", "", ""));
    ASSERT_EQ(dialogs.entries().size(), 1u);
    EXPECT_NE(dialogs.entries()[0].text.find(kAmbiguousText), std::string::npos);
    EXPECT_EQ(pair.listText(), m3uText({"/m/a.mp3"}));
}

TEST(M3Uchange, KeepsAccessRightsAndReplacesLeftoverWorkFiles) {
    Pair pair({"/m/a.mp3", "/m/b.mp3"}, {"R1", "R2"});
    fs::permissions(fsPath(pair.list), fs::perms(0640));
    // Leftovers of an interrupted earlier call, one of them read-only.
    std::string staleWork = pair.dir.write("x.M3U.TMP", "junk");
    fs::permissions(fsPath(staleWork), fs::perms(0400));
    pair.dir.write("x.ALB.TMP", "junk");
    FakeDialogs dialogs;
    FakeClock clock = marchClock();
    IndexRewriter rewriter(dialogs, clock);
    ASSERT_TRUE(rewriter.M3Uchange(pair.list, "/m/b.mp3", "", ""));
    EXPECT_EQ(fs::status(fsPath(pair.list)).permissions(), fs::perms(0640));
    EXPECT_EQ(pair.listText(), m3uText({"/m/a.mp3"}));
    EXPECT_EQ(pair.albumText(), albText({"R1"}));
    EXPECT_TRUE(pair.strayFiles().empty());
}

TEST(M3Uchange, WorkFileThatCannotBeWrittenChangesNothing) {
    Pair pair({"/m/a.mp3"}, {"R1"});
    fs::create_directories(fsPath(pair.album + ".TMP/sub"));
    FakeDialogs dialogs;
    FakeClock clock = marchClock();
    IndexRewriter rewriter(dialogs, clock);
    EXPECT_FALSE(rewriter.M3Uchange(pair.list, "/m/a.mp3", "", ""));
    ASSERT_EQ(dialogs.entries().size(), 1u);
    EXPECT_EQ(dialogs.entries()[0].text, std::string(kWriteFailedText) + pair.album + ".TMP");
    EXPECT_EQ(pair.listText(), m3uText({"/m/a.mp3"}));
    EXPECT_EQ(pair.albumText(), albText({"R1"}));
    EXPECT_FALSE(fs::exists(fsPath(pair.list + ".TMP")));
}

namespace {

// The real file operations, with the n-th call of one of them failing.
struct FailingOps {
    int failKeep = 0, failRename = 0; // 1-based call number to fail; 0: none
    int keeps = 0, renames = 0;
    IndexFileOps ops() {
        IndexFileOps real = IndexFileOps::system();
        IndexFileOps ops;
        ops.keep = [this, real](const std::string& from, const std::string& to) {
            return ++keeps != failKeep && real.keep(from, to);
        };
        ops.rename = [this, real](const std::string& from, const std::string& to) {
            return ++renames != failRename && real.rename(from, to);
        };
        return ops;
    }
};

} // namespace

TEST(M3Uchange, FailedReplacementLeavesTheOldPairLoadable) {
    struct Case {
        const char* name;
        int failKeep, failRename;
        bool deleting;
        bool albumWorkNamed; // the message names the album's work file (else the list's)
    };
    const Case cases[] = {
        {"second rename fails while deleting", 0, 2, true, true},
        {"second rename fails while changing", 0, 2, false, true},
        {"first rename fails", 0, 1, true, false},
        {"old list file cannot be kept", 1, 0, true, false},
    };
    const Lines m3u{"#EXTINF:1,A", "/m/a.mp3", "#EXTINF:2,B", "/m/b.mp3", "/m/c.mp3"};
    const Lines alb{"R1", "R2", "R3"};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Pair pair(m3u, alb);
        FailingOps failing;
        failing.failKeep = c.failKeep;
        failing.failRename = c.failRename;
        FakeDialogs dialogs;
        FakeClock clock = marchClock();
        IndexRewriter rewriter(dialogs, clock, failing.ops());
        EXPECT_FALSE(rewriter.M3Uchange(pair.list, "/m/a.mp3", c.deleting ? "" : "T",
                                        c.deleting ? "" : "/m/new.mp3", shownFile()));
        ASSERT_EQ(dialogs.entries().size(), 1u);
        EXPECT_EQ(dialogs.entries()[0].kind, "warning");
        EXPECT_EQ(dialogs.entries()[0].text, std::string(kRenameFailedText) +
                                                 (c.albumWorkNamed ? pair.album : pair.list) +
                                                 ".TMP");
        EXPECT_EQ(pair.listText(), m3uText(m3u));
        EXPECT_EQ(pair.albumText(), albText(alb));
        EXPECT_TRUE(pair.strayFiles().empty());
        EXPECT_EQ(rewriter.lastWrittenRecord(), "");
        Loaded after = load(pair.list);
        EXPECT_TRUE(after.ok) << after.error;
        EXPECT_EQ(after.records, alb);
    }
}

TEST(M3UchangeDeathTest, CrashBetweenTheRenamesLosesNoFile) {
    // The process dies right before the album file is replaced. Each name must still hold a
    // complete file, old or new.
    const Lines m3u{"#EXTINF:1,A", "/m/a.mp3", "/m/b.mp3"};
    const Lines alb{"R1", "R2"};
    for (bool deleting : {false, true}) {
        SCOPED_TRACE(deleting ? "deleting" : "changing");
        Pair pair(m3u, alb);
        EXPECT_EXIT(
            {
                IndexFileOps real = IndexFileOps::system();
                IndexFileOps ops = real;
                int renames = 0;
                ops.rename = [&](const std::string& from, const std::string& to) {
                    if (++renames == 2)
                        ::_exit(3);
                    return real.rename(from, to);
                };
                FakeDialogs dialogs;
                FakeClock clock = marchClock();
                IndexRewriter rewriter(dialogs, clock, ops);
                rewriter.M3Uchange(pair.list, "/m/a.mp3", "", deleting ? "" : "/m/new.mp3",
                                   shownFile());
                ::_exit(0);
            },
            ::testing::ExitedWithCode(3), "");
        Lines newM3u =
            deleting ? Lines{"/m/b.mp3"} : Lines{"#EXTINF:1,A", "/m/new.mp3", "/m/b.mp3"};
        EXPECT_EQ(pair.listText(), m3uText(newM3u));
        EXPECT_EQ(pair.albumText(), albText(alb));
        // The old list file and the new album file are still at hand.
        EXPECT_EQ(TempDir::read(pair.list + ".BAK"), m3uText(m3u));
        EXPECT_EQ(TempDir::read(pair.album + ".TMP"),
                  albText(deleting ? Lines{"R2"} : Lines{kNewRecord, "R2"}));
        Loaded after = load(pair.list);
        if (deleting) {
            // Entries and records no longer match in number: the reader refuses the pair
            // instead of showing entries with the records of their neighbours.
            EXPECT_FALSE(after.ok);
            EXPECT_EQ(after.error, pair.album + kAlbumTooLongText);
        } else {
            EXPECT_TRUE(after.ok) << after.error;
            EXPECT_EQ(after.paths, (Lines{"/m/new.mp3", "/m/b.mp3"}));
        }
    }
}
