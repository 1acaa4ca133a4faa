#include "platform/display.h"

#include <gtest/gtest.h>
#include <stdlib.h>

namespace {

// Restores the defaults and the environment a test changed.
class DisplayTest : public ::testing::Test {
protected:
    void TearDown() override {
        SetScreenColorDepth(0);
        SetScreenPixelsPerInch(0);
        ::unsetenv("VESPERA_DISPLAY_DEPTH");
        ::unsetenv("VESPERA_PIXELS_PER_INCH");
        SetBeepHook(nullptr);
    }
};

TEST_F(DisplayTest, DepthComesFromSetterThenEnvironmentThenDefault) {
    ::unsetenv("VESPERA_DISPLAY_DEPTH");
    EXPECT_EQ(ScreenColorDepth(), 24);
    ::setenv("VESPERA_DISPLAY_DEPTH", "8", 1);
    EXPECT_EQ(ScreenColorDepth(), 8);
    SetScreenColorDepth(4);
    EXPECT_EQ(ScreenColorDepth(), 4);
    SetScreenColorDepth(0);
    EXPECT_EQ(ScreenColorDepth(), 8);
}

TEST_F(DisplayTest, DepthFromEnvironmentMustBeADisplayDepth) {
    for (const char* Bad : {"", "7", "8x", "x8", "-8", "99999999999"}) {
        ::setenv("VESPERA_DISPLAY_DEPTH", Bad, 1);
        EXPECT_EQ(ScreenColorDepth(), 24) << '"' << Bad << '"';
    }
}

TEST_F(DisplayTest, PixelsPerInchFromEnvironmentWithinBounds) {
    EXPECT_EQ(ScreenPixelsPerInch(), 96);
    ::setenv("VESPERA_PIXELS_PER_INCH", "120", 1);
    EXPECT_EQ(ScreenPixelsPerInch(), 120);
    ::setenv("VESPERA_PIXELS_PER_INCH", "5", 1);
    EXPECT_EQ(ScreenPixelsPerInch(), 96);
    SetScreenPixelsPerInch(72);
    EXPECT_EQ(ScreenPixelsPerInch(), 72);
}

TEST_F(DisplayTest, BeepGoesThroughTheInstalledHook) {
    int Beeps = 0;
    EXPECT_FALSE(SetBeepHook([&] { ++Beeps; }));
    Beep();
    Beep();
    EXPECT_EQ(Beeps, 2);
    EXPECT_TRUE(SetBeepHook(nullptr));
}

} // namespace
