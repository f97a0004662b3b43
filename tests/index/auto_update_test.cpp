// The automatic update of "Autoload" over a watched folder on disk.
#include "index/auto_update.h"

#include "base/paths.h"
#include "fake_dialogs.h"
#include "meta/mp3_fixture.h"
#include "meta/recording_progress.h"
#include "temp_dir.h"

#include <filesystem>
#include <gtest/gtest.h>

using namespace harlune;
using namespace harlune::test;

namespace {

struct AutoUpdate : ::testing::Test {
    TempDir dir;
    FakeDialogs dialogs;
    RecordingProgress status;
    IndexSelector selector;
    std::unique_ptr<IndexBuilder> builder;
    bool aktiv = true;
    std::string folder;
    int anz = 0;
    int saves = 0, starts = 0, stops = 0;
    AutoUpdateHooks hooks;

    void SetUp() override {
        dir.makeProgramFolder();
        builder = std::make_unique<IndexBuilder>(dir.file("Playlists"), dialogs, status);
        folder = dir.file("Neu");
        hooks.saveConfiguration = [this] { ++saves; };
        hooks.startTimer = [this] { ++starts; };
        hooks.stopTimer = [this] { ++stops; };
    }
    void put(const std::string& name) {
        dir.write("Neu/" + name, audio(1000) + id3v1Block("T", "A"));
    }
    AutoUpdateOutcome tick() {
        return doautoaktualisierung({aktiv, folder, anz}, *builder, selector, dialogs, hooks);
    }
    std::string autoload() { return TempDir::read(dir.file("Playlists/Autoload.M3U")); }
};

} // namespace

TEST(AutoUpdateTick, OnlyWhenOnEnabledAndActive) {
    EXPECT_TRUE(autoUpdateTickDue(true, true, true));
    EXPECT_FALSE(autoUpdateTickDue(false, true, true));
    EXPECT_FALSE(autoUpdateTickDue(true, false, true)); // a modal dialog is open
    EXPECT_FALSE(autoUpdateTickDue(true, true, false)); // another program is active
}

TEST_F(AutoUpdate, CountsFilesFoldersAndOnlyTheFirstLevel) {
    put("a.mp3");
    put("b.MP3");
    dir.write("Neu/c.txt", "x");
    put("Sub/d.mp3");
    put("Sub/Deeper/e.mp3");
    std::filesystem::create_directories(fsPath(dir.file("Neu/Leer")));
    EXPECT_EQ(autoUpdateFolderCount(folder), 5); // a, b, the folder, Sub, Leer
    put("Sub/Deeper/f.mp3");
    EXPECT_EQ(autoUpdateFolderCount(folder), 5);
}

TEST_F(AutoUpdate, NewFileAsksAndYesRebuildsWithoutTheOverwriteQuestion) {
    put("a.mp3");
    put("Sub/b.mp3");
    anz = autoUpdateFolderCount(folder);
    EXPECT_EQ(tick(), AutoUpdateOutcome::Unchanged);
    EXPECT_EQ(saves, 0);

    // A file in a sub-subfolder changes nothing.
    put("Sub/Deep/x.mp3");
    EXPECT_EQ(tick(), AutoUpdateOutcome::Unchanged);

    dir.write("Playlists/Autoload.M3U", "#EXTM3U\r\n");
    dir.write("Playlists/Autoload.ALB", "#EXTALB\r\n");
    put("c.mp3");
    dialogs.addAnswer("yes");
    builder->options.alles_eintragen = false;
    EXPECT_EQ(tick(), AutoUpdateOutcome::Rebuilt);
    EXPECT_EQ(dialogs.texts("confirm"), std::vector<std::string>{kAutoUpdateQuestion});
    EXPECT_EQ(anz, 4);
    EXPECT_EQ(saves, 1);
    EXPECT_EQ(stops, 3);
    EXPECT_EQ(starts, 3);
    // Subfolders at every depth are read; the other options keep their values.
    const std::string m3u = autoload();
    for (const char* f : {"/a.mp3", "/c.mp3", "/Sub/b.mp3", "/Sub/Deep/x.mp3"})
        EXPECT_NE(m3u.find(folder + f), std::string::npos) << f;
    EXPECT_EQ(TempDir::read(dir.file("Playlists/Autoload.ALB")), "#EXTALB\r\n\r\n\r\n\r\n\r\n");
    EXPECT_EQ(selector.text, dir.file("Playlists/Autoload.M3U"));
}

TEST_F(AutoUpdate, NoStoresTheCountAndAsksOnlyAfterTheNextChange) {
    put("a.mp3");
    dialogs.addAnswer("no");
    EXPECT_EQ(tick(), AutoUpdateOutcome::Declined);
    EXPECT_EQ(anz, 2);
    EXPECT_EQ(saves, 1);
    EXPECT_TRUE(autoload().empty());

    EXPECT_EQ(tick(), AutoUpdateOutcome::Unchanged);
    std::filesystem::remove(fsPath(dir.file("Neu/a.mp3"))); // removing counts too
    dialogs.addAnswer("no");
    EXPECT_EQ(tick(), AutoUpdateOutcome::Declined);
    EXPECT_EQ(anz, 1);
    EXPECT_EQ(dialogs.texts("confirm").size(), 2u);
}

TEST_F(AutoUpdate, MissingFolderSwitchesTheUpdateOff) {
    folder = dir.file("gibtsnicht");
    EXPECT_EQ(tick(), AutoUpdateOutcome::FolderMissing);
    EXPECT_FALSE(aktiv);
    EXPECT_EQ(dialogs.texts("warning"), std::vector<std::string>{kAutoUpdateInvalidFolderText});
    EXPECT_EQ(stops, 1);
    EXPECT_EQ(starts, 0); // the timer stays stopped
}
