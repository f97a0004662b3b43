// A rewrite of the ID3v2 tag that is interrupted (killed, disk full, work file blocked) must leave
// the MP3 byte for byte as it was before or as it is after the rewrite, never shortened.
#include "meta/id3v2.h"
#include "mp3_fixture.h"
#include "temp_dir.h"

#include <chrono>
#include <csignal>
#include <filesystem>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

using namespace harlune;
using namespace harlune::test;
namespace fs = std::filesystem;

namespace {

int killAtStep = 0; // the hook's call number at which the child kills itself
int stepsSeen = 0;

void killAtChosenStep(std::string_view) {
    if (++stepsSeen == killAtStep)
        ::raise(SIGKILL);
}

struct Contents {
    std::string before, after;
};

// 3 MB of audio behind an old tag, an ID3v1 block at the end; the new tag is shorter.
Contents makeContents(TID3v2Tag& tag) {
    const std::string rest = audio(3000000) + id3v1Block("Keep me");
    Contents c;
    c.before =
        id3v2Tag(textFrame("TIT2", "Old title") + textFrame("TALB", "Old album"), 4000) + rest;
    tag.Title = "New title";
    c.after = buildId3v2Tag(tag) + rest;
    return c;
}

// Runs WriteTag in a child process; returns its wait status.
template <class Setup> int writeInChild(const std::string& path, TID3v2Tag tag, Setup setup) {
    pid_t pid = ::fork();
    if (pid == 0) {
        setup();
        bool ok = tag.WriteTag(path);
        ::_exit(ok ? 0 : 1);
    }
    int status = 0;
    ::waitpid(pid, &status, 0);
    return status;
}

} // namespace

TEST(Id3v2Rewrite, KilledAtEveryStepLeavesTheOldOrTheNewFile) {
    TempDir dir;
    TID3v2Tag tag;
    const Contents c = makeContents(tag);
    const std::string p = dir.file("song.mp3");
    int oldSeen = 0, newSeen = 0;
    for (int step = 1; step < 50; ++step) {
        dir.write("song.mp3", c.before);
        int status = writeInChild(p, tag, [step] {
            killAtStep = step;
            setRewriteStepHook(killAtChosenStep);
        });
        const std::string now = TempDir::read(p);
        ASSERT_TRUE(now == c.before || now == c.after)
            << "step " << step << ": " << now.size() << " bytes";
        (now == c.before ? oldSeen : newSeen)++;
        if (WIFEXITED(status)) {
            EXPECT_EQ(WEXITSTATUS(status), 0);
            EXPECT_TRUE(now == c.after);
            EXPECT_FALSE(fs::exists(p + ".tmp"));
            break;
        }
        ASSERT_TRUE(WIFSIGNALED(status));
    }
    // Killed before the rename: old file; after it: new file; and the run got to the end.
    EXPECT_GE(oldSeen, 4);
    EXPECT_GE(newSeen, 2);
}

TEST(Id3v2Rewrite, KilledAtRandomMomentsLeavesTheOldOrTheNewFile) {
    TempDir dir;
    TID3v2Tag tag;
    const Contents c = makeContents(tag);
    const std::string p = dir.file("song.mp3");
    for (int delayUs : {0, 200, 1000, 2000, 4000, 8000, 15000, 30000}) {
        dir.write("song.mp3", c.before);
        pid_t pid = ::fork();
        if (pid == 0) {
            bool ok = tag.WriteTag(p);
            ::_exit(ok ? 0 : 1);
        }
        std::this_thread::sleep_for(std::chrono::microseconds(delayUs));
        ::kill(pid, SIGKILL);
        int status = 0;
        ::waitpid(pid, &status, 0);
        const std::string now = TempDir::read(p);
        ASSERT_TRUE(now == c.before || now == c.after)
            << "after " << delayUs << " us: " << now.size() << " bytes";
    }
}

TEST(Id3v2Rewrite, FullDiskLeavesTheOldFileAndNoWorkFile) {
    TempDir dir;
    TID3v2Tag tag;
    const Contents c = makeContents(tag);
    const std::string p = dir.write("song.mp3", c.before);
    // The file-size limit makes writes beyond 1 MB fail as a full disk would.
    int status = writeInChild(p, tag, [] {
        std::signal(SIGXFSZ, SIG_IGN);
        struct rlimit limit {
            1000000, 1000000
        };
        ::setrlimit(RLIMIT_FSIZE, &limit);
    });
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 1); // reported as a failure
    EXPECT_TRUE(TempDir::read(p) == c.before);
    EXPECT_FALSE(fs::exists(p + ".tmp"));

    // In this process, to see the message.
    struct rlimit saved {};
    ::getrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, SIG_IGN);
    struct rlimit limit {
        1000000, saved.rlim_max
    };
    ::setrlimit(RLIMIT_FSIZE, &limit);
    TID3v2Tag again = tag;
    const bool ok = again.WriteTag(p);
    ::setrlimit(RLIMIT_FSIZE, &saved);
    EXPECT_FALSE(ok);
    EXPECT_EQ(again.ErrorText, "Fehler beim Schreiben der Zieldatei! (E206)");
    EXPECT_TRUE(TempDir::read(p) == c.before);
}

TEST(Id3v2Rewrite, WorkFileThatCannotBeCreatedLeavesTheFile) {
    TempDir dir;
    TID3v2Tag tag;
    const Contents c = makeContents(tag);
    const std::string p = dir.write("song.mp3", c.before);
    dir.write("song.mp3.tmp/blocker", "x"); // a folder where the work file should go
    EXPECT_FALSE(tag.WriteTag(p));
    EXPECT_EQ(tag.ErrorText, "Fehler beim anlegen von TMP-Datei! (E204)");
    EXPECT_TRUE(TempDir::read(p) == c.before);
}
