#include "app/activity_log.h"

#include "base/datetime.h"
#include "base/paths.h"
#include "fake_clock.h"
#include "fake_dialogs.h"
#include "temp_dir.h"

#include <gtest/gtest.h>

namespace harlune {
namespace {

using test::FakeClock;
using test::FakeDialogs;
using test::TempDir;

// 05.03.2024 14:07:09
double when() {
    return toDays({2024, 3, 5, 14, 7, 9, 0});
}

TEST(ActivityLog, OffWritesNothing) {
    TempDir dir;
    FakeClock clock(when());
    FakeDialogs dialogs;
    ActivityLog log(clock, dialogs);
    log.configure(false, dir.file("Harlune.log"));
    EXPECT_TRUE(log.addlog("Titel (/mp3/a.mp3)"));
    EXPECT_FALSE(fileOrFolderExists(dir.file("Harlune.log")));
    EXPECT_TRUE(dialogs.entries().empty());
}

TEST(ActivityLog, NewFileGetsTheHeaderThenEntriesAreAppended) {
    TempDir dir;
    FakeClock clock(when());
    FakeDialogs dialogs;
    ActivityLog log(clock, dialogs);
    log.configure(true, dir.file("Harlune.log"));

    ASSERT_TRUE(log.addlog("01 S\xFC\xDF (/mp3/a.mp3)"));
    clock.advanceSeconds(61);
    ASSERT_TRUE(log.addlog("02 B"));
    EXPECT_EQ(TempDir::read(dir.file("Harlune.log")),
              "\r\nLogdatei - Harlune Ver. 3.52a\r\n\r\n"
              "05.03.2024 14:07:09> 01 S\xFC\xDF (/mp3/a.mp3)\r\n"
              "05.03.2024 14:08:10> 02 B\r\n");

    // An existing file, even one without the header, is only appended to.
    const std::string other = dir.write("alt.log", "fremd\r\n");
    log.configure(true, other);
    ASSERT_TRUE(log.addlog("X"));
    EXPECT_EQ(TempDir::read(other), "fremd\r\n05.03.2024 14:08:10> X\r\n");
    EXPECT_TRUE(dialogs.entries().empty());
}

TEST(ActivityLog, UnwritableFileIsReportedNotFatal) {
    TempDir dir;
    FakeClock clock(when());
    FakeDialogs dialogs;
    ActivityLog log(clock, dialogs);
    // A missing folder and a folder in place of the file fail even for root.
    for (const std::string& path : {dir.file("fehlt/Harlune.log"), dir.path()}) {
        SCOPED_TRACE(path);
        dialogs.clear();
        log.configure(true, path);
        EXPECT_FALSE(log.addlog("Titel"));
        ASSERT_EQ(dialogs.entries().size(), 1u);
        EXPECT_EQ(dialogs.entries()[0].kind, "error");
        const std::string& text = dialogs.entries()[0].text;
        const std::string head =
            "Die Logdatei \"" + path + "\" konnte nicht geschrieben werden:\n\r";
        EXPECT_EQ(text.substr(0, head.size()), head);
        EXPECT_GT(text.size(), head.size()); // the system's reason follows
    }
    EXPECT_FALSE(fileOrFolderExists(dir.file("fehlt")));
}

} // namespace
} // namespace harlune
