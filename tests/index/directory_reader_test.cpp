// The breadth-first folder walk and the choice of mounted file systems.
#include "index/directory_reader.h"

#include "fake_dialogs.h"
#include "temp_dir.h"

#include "base/paths.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <unistd.h>

using namespace harlune;
using namespace harlune::test;
namespace fs = std::filesystem;

namespace {

class WalkWindow : public Progress {
public:
    long long cancelAt = -1, calls = 0;
    bool shown = false, closed = false;
    std::vector<std::string> folders;
    void show() override { shown = true; }
    void setaktion(std::string_view) override {}
    bool pos(long long, long long, bool, std::string_view path) override {
        folders.emplace_back(path);
        return ++calls != cancelAt;
    }
    void addlog(std::string_view, std::string_view) override {}
    void closeframe() override { closed = true; }
};

struct Tree : ::testing::Test {
    TempDir dir;
    FakeDialogs dialogs;
    std::string root;
    void SetUp() override {
        for (const char* f : {"b.mp3", "a.MP3", "note.txt", "x.mp3x", "Sub2/c.mp3", "Sub1/d.mp3",
                              "Sub1/Deep/e.mp3"})
            dir.write(std::string("top/") + f, "x");
        root = dir.file("top") + "/";
    }
};

} // namespace

TEST(Mp3Names, MaskTakesTheExtensionInAnyCase) {
    EXPECT_TRUE(isMp3Name("a.mp3"));
    EXPECT_TRUE(isMp3Name("A.Mp3"));
    EXPECT_TRUE(isMp3Name(".mp3"));
    EXPECT_FALSE(isMp3Name("a.mp3x"));
    EXPECT_FALSE(isMp3Name("mp3"));
}

TEST_F(Tree, BreadthFirstInNameOrder) {
    WalkWindow window;
    DirectoryWalk w = Getfilepath(dir.file("top"), {}, dialogs, &window);
    EXPECT_EQ(w.directories, (std::vector<std::string>{root, root + "Sub1/", root + "Sub2/",
                                                       root + "Sub1/Deep/"}));
    EXPECT_EQ(w.files,
              (std::vector<std::string>{root + "a.MP3", root + "b.mp3", root + "Sub1/d.mp3",
                                        root + "Sub2/c.mp3", root + "Sub1/Deep/e.mp3"}));
    EXPECT_TRUE(window.shown);
    EXPECT_TRUE(window.closed);
    EXPECT_EQ(window.folders, w.directories);
    EXPECT_FALSE(w.cancelled);
}

TEST_F(Tree, WithoutSubdirectories) {
    DirectoryWalk w = Getfilepath(root, {false, false}, dialogs);
    EXPECT_EQ(w.directories, std::vector<std::string>{root});
    EXPECT_EQ(w.files, (std::vector<std::string>{root + "a.MP3", root + "b.mp3"}));
}

TEST_F(Tree, CancelKeepsWhatWasFound) {
    WalkWindow window;
    window.cancelAt = 2;
    DirectoryWalk w = Getfilepath(root, {}, dialogs, &window);
    EXPECT_TRUE(w.cancelled);
    EXPECT_EQ(w.files.size(), 2u);
    EXPECT_TRUE(window.closed);
}

TEST_F(Tree, LinkLoopIsReadOnce) {
    fs::create_directory_symlink(fsPath(root), fsPath(root + "Sub1/loop"));
    DirectoryWalk w = Getfilepath(root, {}, dialogs);
    EXPECT_EQ(w.files.size(), 5u);
}

TEST_F(Tree, UnreadableFolderAsksWhetherToStop) {
    if (::geteuid() == 0) {
        // root reads every folder; a missing start folder gives the same question.
        dialogs.addAnswer("no");
        DirectoryWalk w = Getfilepath(root + "missing", {}, dialogs);
        EXPECT_TRUE(w.files.empty());
        ASSERT_EQ(dialogs.texts("confirm").size(), 1u);
        EXPECT_EQ(dialogs.texts("confirm")[0],
                  std::string(kWalkErrorText) + root + "missing/" + kWalkErrorEndText);
        return;
    }
    fs::permissions(fsPath(root + "Sub1"), fs::perms::none);
    dialogs.addAnswer("no");
    DirectoryWalk w = Getfilepath(root, {}, dialogs);
    EXPECT_EQ(w.files.size(), 3u); // Sub1 skipped, the walk went on
    dialogs.addAnswer("yes");
    w = Getfilepath(root, {}, dialogs);
    EXPECT_TRUE(w.stopped);
    EXPECT_EQ(dialogs.texts("information").size(), 1u);
    fs::permissions(fsPath(root + "Sub1"), fs::perms::owner_all);
}

TEST(MountPoints, OnlyFileSystemsWithUserData) {
    const char* table = "overlay / overlay rw 0 0\n"
                        "proc /proc proc rw 0 0\n"
                        "tmpfs /dev tmpfs rw 0 0\n"
                        "/dev/sda1 /home ext4 rw 0 0\n"
                        "/dev/sdb1 /media/USB\\040Stick vfat rw 0 0\n"
                        "tmpfs /run/user/1000 tmpfs rw 0 0\n"
                        "/dev/sdc1 /run/media/anna/CD iso9660 ro 0 0\n"
                        "/dev/sdd1 /run/lock ext4 rw 0 0\n"
                        "sysfs /sys sysfs rw 0 0\n"
                        "cgroup2 /sys/fs/cgroup cgroup2 rw 0 0\n"
                        "/dev/sda1 /home ext4 rw 0 0\n"
                        "server:/x /net/x nfs4 rw 0 0\n";
    EXPECT_EQ(dataMountPoints(table), (std::vector<std::string>{"/", "/home", "/media/USB Stick",
                                                                "/run/media/anna/CD", "/net/x"}));
}
