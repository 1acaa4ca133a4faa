#include "pgraphic/view/progress_clock.h"
#include "pgraphic/view/worker/progress_throttle.h"

#include <QImage>
#include <QPainter>
#include <gtest/gtest.h>

TEST(ProgressClock, HandsTurnClockwiseFromTwelve) {
    const TPGClockHands Start = PGClockHands(1, 0);
    EXPECT_EQ(Start.Hour, (TPGPoint{0, -6}));
    EXPECT_EQ(Start.Minute, (TPGPoint{0, -7}));
    const TPGClockHands Quarter = PGClockHands(1, 25);
    EXPECT_EQ(Quarter.Minute, (TPGPoint{7, 0}));
    EXPECT_EQ(Quarter.Hour, (TPGPoint{1, -6}));
    EXPECT_EQ(PGClockHands(1, 50).Minute, (TPGPoint{0, 7}));
    EXPECT_EQ(PGClockHands(1, 75).Minute, (TPGPoint{-7, 0}));
    // Each stage moves the hour hand by a twelfth of a turn.
    EXPECT_EQ(PGClockHands(2, 0).Hour, (TPGPoint{3, -5}));
    EXPECT_EQ(PGClockHands(4, 0).Hour, (TPGPoint{6, 0}));
}

TEST(ProgressClock, OneClockInTheCentreFiveInLargeBoxes) {
    EXPECT_TRUE(PGProgressClockPositions({0, 0, 20, 50}, true).empty());
    const auto One = PGProgressClockPositions({10, 10, 31, 41}, true);
    ASSERT_EQ(One.size(), 1U);
    EXPECT_EQ(One[0], (TPGPoint{13, 18}));
    EXPECT_EQ(PGProgressClockPositions({0, 0, 101, 101}, false).size(), 1U);
    const auto Five = PGProgressClockPositions({0, 0, 320, 200}, true);
    ASSERT_EQ(Five.size(), 5U);
    EXPECT_EQ(Five[0], (TPGPoint{153, 93}));
    EXPECT_EQ(Five[1], (TPGPoint{5, 5}));
    EXPECT_EQ(Five[4], (TPGPoint{300, 180}));
}

TEST(ProgressClock, DrawsFaceOutlineAndHandsInside15Pixels) {
    QImage Image(20, 20, QImage::Format_RGB32);
    Image.fill(Qt::white);
    {
        QPainter Painter(&Image);
        PGDrawProgressClock(Painter, 2, 2, 1, 25, Qt::black, Qt::yellow);
    }
    EXPECT_EQ(Image.pixel(2 + 7, 2), qRgb(0, 0, 0));            // outline at the top
    EXPECT_EQ(Image.pixel(2 + 7, 2 + 14), qRgb(0, 0, 0));       // and at the bottom
    EXPECT_EQ(Image.pixel(2 + 3, 2 + 10), qRgb(255, 255, 0));   // face
    EXPECT_EQ(Image.pixel(2 + 12, 2 + 7), qRgb(0, 0, 0));       // minute hand pointing right
    EXPECT_EQ(Image.pixel(2 + 7, 2 + 3), qRgb(0, 0, 0));        // hour hand pointing up
    EXPECT_EQ(Image.pixel(2 + 15, 2 + 7), qRgb(255, 255, 255)); // nothing beyond 15 pixels
    EXPECT_EQ(Image.pixel(1, 9), qRgb(255, 255, 255));
}

TEST(ProgressThrottle, ViewRuleOnePerBucketAndChangedPercent) {
    TPGProgressThrottle Throttle({50, 0, true});
    Throttle.Start(1000);
    EXPECT_FALSE(Throttle.Report(10, 100, 1010)); // same bucket
    EXPECT_EQ(Throttle.Report(10, 100, 1050), 10);
    EXPECT_FALSE(Throttle.Report(10, 100, 1200)); // same percentage
    EXPECT_FALSE(Throttle.Report(50, 100, 1099)); // same bucket as the last report
    EXPECT_EQ(Throttle.Report(50, 100, 1100), 50);
    EXPECT_EQ(Throttle.Report(7, 0, 1150), 100); // no maximum: done
}

TEST(ProgressThrottle, DialogRuleAlsoReportsNewBandsAndNeedsAMaximum) {
    TPGProgressThrottle Throttle({100, 16, false});
    Throttle.Start(0);
    EXPECT_FALSE(Throttle.Report(10, 100, 10));
    EXPECT_EQ(Throttle.Report(16, 100, 20), 16); // a new band within the bucket
    EXPECT_FALSE(Throttle.Report(20, 100, 30));
    EXPECT_EQ(Throttle.Report(20, 100, 100), 20);
    EXPECT_FALSE(Throttle.Report(5, 0, 500));
}

TEST(ProgressThrottle, DialogRuleSixteenthsAlwaysReport) {
    TPGProgressThrottle Throttle({100, 16, false});
    Throttle.Start(1000);
    EXPECT_FALSE(Throttle.Report(10, 100, 1010));  // same bucket, same sixteenth
    EXPECT_EQ(Throttle.Report(16, 100, 1020), 16); // a new sixteenth
    EXPECT_FALSE(Throttle.Report(20, 100, 1030));
    EXPECT_EQ(Throttle.Report(20, 100, 1100), 20); // a new bucket
    EXPECT_FALSE(Throttle.Report(5, 0, 1300));     // no maximum: nothing to report
}
