#include "app/status_model.h"

#include "base/text.h"
#include "fake_clock.h"

#include <gtest/gtest.h>

namespace harlune {
namespace {

using test::FakeClock;

constexpr double kUnit = 1.0 / 100000; // one time unit in days

struct StatusFixture : ::testing::Test {
    FakeClock clock;
    StatusModel model{clock};
    const StatusView& v = model.view();

    // Starts an operation: the window is shown and item 1 resets the measurement.
    void start(long long total, bool quadratic = false) {
        model.show();
        model.pos(1, total, quadratic, "/mp3/first.mp3");
    }
    void after(double units) { clock.set(clock.now() + units * kUnit); }
};

TEST_F(StatusFixture, TwoHundredFiftyItemsInTwoUnits) {
    start(1000);
    after(2);
    EXPECT_TRUE(model.pos(250, 1000, false, "D:\\Musik\\Interpret - Titel.mp3"));
    EXPECT_EQ(v.fileName, "Interpret - Titel.mp3");
    EXPECT_EQ(v.timePerItem, "8.00 ms");
    EXPECT_EQ(v.rate, "7500");
    EXPECT_EQ(v.speedBar, 7500);
    EXPECT_EQ(v.remainingTime, "00:00:06 (lin.)"); // 750 left at 0.008 each
    EXPECT_EQ(v.total, 1000);
    EXPECT_EQ(v.current, 250);
    EXPECT_EQ(v.remaining, 750);
    EXPECT_EQ(v.progressPosition, 250);
    EXPECT_EQ(v.progressMaximum, 1000);
    EXPECT_EQ(v.applicationTitle, "Harlune (25%)");
}

TEST_F(StatusFixture, ItemOneResetsTheMeasurement) {
    start(1000);
    after(2);
    model.pos(250, 1000, false, "a.mp3");
    model.addlog("Datei", "defekt");
    ASSERT_NE(v.timePerItem, "--");

    model.pos(1, 1000, false, "b.mp3");
    EXPECT_EQ(v.timePerItem, "--");
    EXPECT_EQ(v.rate, "--");
    EXPECT_EQ(v.remainingTime, "--");
    EXPECT_EQ(v.speedBar, 0);
    EXPECT_TRUE(v.log.empty());
    // Counting starts again from 0 at this moment.
    after(4);
    model.pos(250, 1000, false, "c.mp3");
    EXPECT_EQ(v.timePerItem, "16.00 ms");
}

TEST_F(StatusFixture, FieldsUpdateAfter250ItemsOrAfter30UnitsAndMoreThan10) {
    struct Case {
        long long items;
        double units;
        bool updates;
    };
    const Case cases[] = {{250, 0.5, true},
                          {249, 29.9, false},
                          {11, 30.01, true},
                          {10, 300, false},
                          {11, 29.9, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.items);
        start(100000);
        after(c.units);
        model.pos(c.items, 100000, false, "x.mp3");
        EXPECT_EQ(v.timePerItem != "--", c.updates);
    }
}

TEST_F(StatusFixture, QuadraticEstimate) {
    std::vector<std::string> shown;
    model.onActionShown = [&] { shown.push_back(trim(v.action)); };
    start(1000, true);
    after(2);
    model.pos(250, 1000, true, "x.mp3");
    // 750 left: 0.1 * 2 / 750 for each of 750 * 749 / 2 pairs = 74.9 units.
    EXPECT_EQ(v.remainingTime, "00:01:14 (exp.)");
    EXPECT_EQ(shown, (std::vector<std::string>{"int. Verarbeitung", "- -"}));
    EXPECT_EQ(v.action.size(), 100u);

    // At the last item nothing is left: no division by zero.
    after(2);
    model.pos(1000, 1000, true, "y.mp3");
    EXPECT_EQ(v.remainingTime, "00:00:00 (exp.)");
    EXPECT_EQ(v.applicationTitle, "Harlune");
}

TEST(StatusFormat, RemainingTimeBelowAndAboveOneDay) {
    const std::pair<double, const char*> cases[] = {
        {0, "00:00:00"},         {3661, "01:01:01"},      {86399, "23:59:59"},
        {86400, "01d 00:00:00"}, {90061, "01d 01:01:01"}, {3 * 86400 + 5, "03d 00:00:05"},
    };
    for (const auto& [units, text] : cases)
        EXPECT_EQ(formatRemainingTime(units), text) << units;
}

TEST(StatusFormat, TimePerItemUnits) {
    const std::pair<double, const char*> cases[] = {
        {2.5, "2.50 s"},      {1, "1.00 s"},      {0.008, "8.00 ms"},
        {2.5e-5, "25.00 us"}, {3e-8, "30.00 ns"}, {4e-11, "40.00 ps"},
    };
    for (const auto& [units, text] : cases)
        EXPECT_EQ(formatTimePerItem(units), text) << units;
}

TEST_F(StatusFixture, ApplicationTitle) {
    start(200);
    EXPECT_EQ(v.applicationTitle, "Harlune (0%)");
    model.pos(151, 200, false, "x"); // 75.5 % shows truncated
    EXPECT_EQ(v.applicationTitle, "Harlune (75%)");
    model.pos(199, 200, false, "x"); // 99.5 rounds to 100
    EXPECT_EQ(v.applicationTitle, "Harlune");

    model.close();
    model.pos(20, 200, false, "x"); // a hidden window leaves the title alone
    EXPECT_EQ(v.applicationTitle, "Harlune");
}

TEST_F(StatusFixture, TotalZeroShowsNothingToDo) {
    start(0);
    after(40);
    EXPECT_TRUE(model.pos(300, 0, true, "x.mp3"));
    EXPECT_EQ(v.progressPosition, 0);
    EXPECT_EQ(v.progressMaximum, 1);
    EXPECT_EQ(v.applicationTitle, "Harlune (0%)");
    EXPECT_EQ(v.remaining, -300);
    EXPECT_EQ(v.remainingTime, "00:00:00 (exp.)");
}

TEST_F(StatusFixture, NoTimePassedOrClockSetBackShowsNoNonsense) {
    start(10000);
    model.pos(400, 10000, false, "x"); // 400 items, no time passed
    EXPECT_EQ(v.timePerItem, "--");
    after(-1000);
    model.pos(700, 10000, false, "x");
    EXPECT_EQ(v.timePerItem, "--");
    after(3);
    model.pos(1000, 10000, false, "x"); // measured from the set-back moment
    EXPECT_EQ(v.timePerItem, "10.00 ms");
}

TEST_F(StatusFixture, HeartbeatSwapsEveryFifthCall) {
    start(100);
    std::string seen;
    for (int i = 2; i <= 11; ++i) {
        model.pos(i, 100, false, "x");
        seen += v.greenDot ? 'g' : 'r';
    }
    EXPECT_EQ(seen, "gggrrrrrgg");
}

TEST_F(StatusFixture, ActionTextIsPaddedWhileVisible) {
    model.setaktion("versteckt");
    EXPECT_EQ(v.action, "--");
    model.show();
    model.setaktion("Lese Verzeichnis");
    EXPECT_EQ(v.action, "Lese Verzeichnis" + std::string(84, ' '));
    const std::string longText(120, 'x');
    model.setaktion(longText);
    EXPECT_EQ(v.action, longText);
}

TEST_F(StatusFixture, CloseframeStaysOpenForRemarksAndClosingResets) {
    start(10);
    model.setaktion("Kopieren");
    model.closeframe();
    EXPECT_FALSE(model.visible());
    EXPECT_FALSE(model.pos(2, 10, false, "x")); // the operation sees the window closed

    start(10);
    model.addlog("a.mp3", "Tag defekt");
    EXPECT_EQ(model.logText(), "a.mp3\n>Tag defekt\n");
    model.setaktion("fertig");
    for (int i = 2; i <= 5; ++i)
        model.pos(i, 10, false, "x"); // the red dot shows
    ASSERT_FALSE(v.greenDot);
    model.closeframe();
    EXPECT_TRUE(model.visible());

    model.close(); // the user's "schließen"
    EXPECT_FALSE(model.visible());
    EXPECT_EQ(v.action, "--");
    EXPECT_TRUE(v.log.empty());
    EXPECT_EQ(v.applicationTitle, "Harlune");
    EXPECT_TRUE(v.greenDot);
}

} // namespace
} // namespace harlune
