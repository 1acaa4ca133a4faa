#include "pgraphic/view/image_view/stretch_layout.h"

#include <cmath>
#include <gtest/gtest.h>
#include <limits>

namespace {

constexpr int kBar = 16;

TPGViewArea Area(int W, int H) {
    return {W, H, kBar, kBar};
}

void ExpectSize(const TPGDisplaySize& Size, int W, int H, long double Scale) {
    EXPECT_EQ(Size.Width, W);
    EXPECT_EQ(Size.Height, H);
    EXPECT_EQ(Size.Scale, Scale);
}

} // namespace

TEST(StretchLayout, FittingRulesOfTheLogoViews) {
    // The logo previews: 640 x 400 in 320 x 200.
    ExpectSize(PGDisplaySize(640, 400, Area(320, 200), sAlways, 1), 320, 200, -1);
    // Equal ratios fill the height: width trunc(200 * 1.6) = 320.
    ExpectSize(PGDisplaySize(640, 400, Area(320, 200), sAlwaysKAR, 1), 320, 200, 0.5L);
    // A tall picture is cut to whole pixels, not rounded.
    const TPGDisplaySize Tall = PGDisplaySize(100, 300, Area(200, 200), sAlwaysKAR, 1);
    ExpectSize(Tall, 66, 200, 200.0L / 300);
    // A wide one fills the width.
    ExpectSize(PGDisplaySize(300, 100, Area(200, 200), sAlwaysKAR, 1), 200, 66, 200.0L / 300);
}

TEST(StretchLayout, ShrinkAndEnlargeActOnlyWhenTheirConditionHolds) {
    ExpectSize(PGDisplaySize(50, 40, Area(200, 200), sShrink, 1), 50, 40, 1);
    ExpectSize(PGDisplaySize(300, 40, Area(200, 200), sShrink, 1), 200, 40, -1);
    ExpectSize(PGDisplaySize(50, 40, Area(200, 200), sShrinkKAR, 1), 50, 40, 1);
    ExpectSize(PGDisplaySize(400, 100, Area(200, 200), sShrinkKAR, 1), 200, 50, 0.5L);
    // Enlarging leaves room for the bar the other edge needs: the tall picture scrolls.
    ExpectSize(PGDisplaySize(100, 300, Area(200, 200), sEnlarge, 1), 200 - kBar, 300, -1);
    ExpectSize(PGDisplaySize(100, 50, Area(200, 200), sEnlarge, 1), 200, 200, -1);
    ExpectSize(PGDisplaySize(100, 50, Area(200, 200), sEnlargeKAR, 1), 200, 100, 2);
    ExpectSize(PGDisplaySize(300, 50, Area(200, 200), sEnlargeKAR, 1), 300, 50, 1);
}

TEST(StretchLayout, LongerEdgeFillsTheShorterEdgeLessOneBar) {
    // 400 x 100 fitted is 200 x 50, too small: the height fills the area less a bar and the
    // picture scrolls sideways.
    const TPGDisplaySize Wide = PGDisplaySize(400, 100, Area(200, 200), sAlwaysLongerEdgeKAR, 1);
    ExpectSize(Wide, 736, 184, 1.84L);
    const TPGDisplaySize High = PGDisplaySize(100, 400, Area(200, 200), sAlwaysLongerEdgeKAR, 1);
    ExpectSize(High, 184, 736, 1.84L);
    // A picture that fits nearly square keeps the fit.
    ExpectSize(PGDisplaySize(300, 290, Area(200, 200), sAlwaysLongerEdgeKAR, 1), 200, 193,
               200.0L / 300);
    // Shrinking by the longer edge only when the natural size needs both bars.
    ExpectSize(PGDisplaySize(400, 100, Area(200, 200), sShrinkLongerEdgeKAR, 1), 400, 100, 1);
    ExpectSize(PGDisplaySize(800, 300, Area(200, 200), sShrinkLongerEdgeKAR, 1), 490, 184,
               184.0L / 300);
    // Small pictures are fitted, large ones as above.
    ExpectSize(PGDisplaySize(50, 25, Area(200, 200), sEnlargeShrinkLongerEdgeKAR, 1), 200, 100, 4);
    ExpectSize(PGDisplaySize(800, 300, Area(200, 200), sEnlargeShrinkLongerEdgeKAR, 1), 490, 184,
               184.0L / 300);
    ExpectSize(PGDisplaySize(100, 50, Area(200, 200), sEnlargeLongerEdgeKAR, 1), 368, 184,
               184.0L / 50);
    ExpectSize(PGDisplaySize(300, 250, Area(200, 200), sEnlargeLongerEdgeKAR, 1), 300, 250, 1);
}

TEST(StretchLayout, ZoomRoundsHalvesToEvenAndIgnoresFactorsUpToZero) {
    ExpectSize(PGDisplaySize(5, 5, Area(200, 200), sZoomKAR, 0.5L), 2, 2, 0.5L);
    ExpectSize(PGDisplaySize(7, 7, Area(200, 200), sZoomKAR, 0.5L), 4, 4, 0.5L);
    ExpectSize(PGDisplaySize(5, 5, Area(200, 200), sZoomKAR, 0), 5, 5, 1);
    ExpectSize(PGDisplaySize(5, 5, Area(200, 200), sZoomKAR, -2), 5, 5, 1);
    ExpectSize(PGDisplaySize(5, 5, Area(200, 200), sZoomKAR,
                             std::numeric_limits<long double>::quiet_NaN()),
               5, 5, 1);
    // An absurd factor cannot overflow the size.
    const TPGDisplaySize Huge = PGDisplaySize(5000, 5000, Area(200, 200), sZoomKAR, 1e30L);
    EXPECT_EQ(Huge.Width, kPGMaxDisplayExtent);
    EXPECT_EQ(Huge.Height, kPGMaxDisplayExtent);
}

TEST(StretchLayout, NaturalSizeWithoutPictureOrArea) {
    ExpectSize(PGDisplaySize(0, 0, Area(200, 200), sAlways, 1), 0, 0, 1);
    ExpectSize(PGDisplaySize(640, 400, Area(0, 200), sAlways, 1), 640, 400, 1);
    ExpectSize(PGDisplaySize(640, 400, Area(-4, -4), sAlwaysKAR, 1), 640, 400, 1);
}

TEST(StretchLayout, ScrollBarsCountEachOtherOnce) {
    // Only the width exceeds, but the horizontal bar makes the height exceed too.
    const TPGScrollBars Both = PGScrollBarsFor(300, 190, Area(200, 200));
    EXPECT_TRUE(Both.Horizontal);
    EXPECT_TRUE(Both.Vertical);
    EXPECT_EQ(Both.ClientWidth, 184);
    EXPECT_EQ(Both.ClientHeight, 184);
    // The second pass: the vertical bar makes the width exceed.
    const TPGScrollBars Second = PGScrollBarsFor(190, 300, Area(200, 200));
    EXPECT_TRUE(Second.Horizontal && Second.Vertical);
    const TPGScrollBars None = PGScrollBarsFor(200, 200, Area(200, 200));
    EXPECT_FALSE(None.Horizontal || None.Vertical);
    EXPECT_EQ(None.ClientWidth, 200);
}

TEST(StretchLayout, CentringUsesTheAreaTheBarsLeave) {
    EXPECT_EQ(PGCenteredPosition(100, 50, PGScrollBarsFor(100, 50, Area(200, 200))),
              (TPGPoint{50, 75}));
    // Wider than the area: no margin left and right; the bar takes height from the margins.
    EXPECT_EQ(PGCenteredPosition(300, 50, PGScrollBarsFor(300, 50, Area(200, 200))),
              (TPGPoint{0, 67}));
    EXPECT_EQ(PGCenteredPosition(99, 99, PGScrollBarsFor(99, 99, Area(200, 200))),
              (TPGPoint{50, 50}));
}

TEST(StretchLayout, AutoSizeAddsBorderAndTheBarsItsLimitsNeed) {
    EXPECT_EQ(PGAutoSize(640, 400, 2, Area(0, 0), {}), (TPGPoint{644, 404}));
    // Cut in width: a horizontal bar below the picture.
    EXPECT_EQ(PGAutoSize(640, 400, 2, Area(0, 0), {0, 300, 0, 2147483647}), (TPGPoint{300, 420}));
    // Cut in height only after the horizontal bar was added: then the vertical bar too.
    EXPECT_EQ(PGAutoSize(640, 400, 0, Area(0, 0), {0, 300, 0, 410}), (TPGPoint{300, 410}));
    // The minimum wins over the maximum.
    EXPECT_EQ(PGAutoSize(10, 10, 0, Area(0, 0), {500, 100, 50, 20}), (TPGPoint{500, 50}));
    // The largest picture plus border cannot overflow.
    EXPECT_EQ(PGAutoSize(2147483647, 10, 2, Area(0, 0), {}).X, 2147483647);
}
