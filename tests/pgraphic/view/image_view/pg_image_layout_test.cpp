#include "pgraphic/view/image_view/pg_image.h"
#include "tests/pgraphic/view/image_view/view_test_util.h"

#include <QScrollBar>
#include <QStyle>
#include <gtest/gtest.h>

using namespace ViewTest;

namespace {

int BarExtent(const TPGImage& View) {
    return View.style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, &View);
}

} // namespace

TEST(PGImageLayout, DefaultsOfANewView) {
    TPGImage View;
    EXPECT_EQ(View.size(), QSize(100, 100));
    EXPECT_EQ(View.frameWidth(), 2);
    EXPECT_EQ(View.ClientWidth(), 96);
    EXPECT_EQ(View.ActionMode(), amMoveImage);
    EXPECT_EQ(View.Stretch(), sNeverKAR);
    EXPECT_EQ(View.StretchMode(), smFast);
    EXPECT_EQ(View.Tiling(), tNone);
    EXPECT_TRUE(View.UseThread());
    EXPECT_TRUE(View.Dither());
    EXPECT_EQ(View.DitherErrorLimit(), 32);
    EXPECT_EQ(View.Palette8BitSys24BitGraphic(), pOptimized252Sys16);
    EXPECT_EQ(View.Palette8BitSys8BitGraphic(), pOptimized252Sys16);
    EXPECT_EQ(View.AutoSizeMaxWidth(), 2147483647);
    EXPECT_EQ(View.ZoomFactor(), 1.0L);
    EXPECT_EQ(View.Scale(), 1.0L);
    EXPECT_EQ(View.SelectionWidth(), 1);
    EXPECT_EQ(View.SelectionColor1(), 0xFFFFFF);
    EXPECT_EQ(View.SelectionColor2(), 0x0000FF);
    EXPECT_EQ(View.ReadWarningAction(), pgwaOKCancelBox);
    EXPECT_EQ(View.PixelGraphic(), nullptr);
    EXPECT_EQ(View.PicBox()->size(), QSize(0, 0));
    // The frame is as wide as the layout assumes.
    View.SetCtl3D(false);
    EXPECT_EQ(View.frameWidth(), 1);
    View.SetBorderStyle(bsNone);
    EXPECT_EQ(View.frameWidth(), 0);
    EXPECT_EQ(View.ClientWidth(), 100);
    // Out-of-range palette choices are ignored.
    View.SetPalette8BitSys24BitGraphic(pSource);
    EXPECT_EQ(View.Palette8BitSys24BitGraphic(), pOptimized252Sys16);
}

TEST(PGImageLayout, LogoPreviewFillsTheView) {
    const auto View = ShownView(320, 200);
    int ZoomEvents = 0;
    View->OnZoomFactorChange = [&](TObject*) { ++ZoomEvents; };
    View->SetStretch(sAlways);
    const auto Logo = MakePicture(640, 400);
    View->SetPixelGraphic(Logo.get());
    EXPECT_EQ(View->PicBox()->geometry(), QRect(0, 0, 320, 200));
    EXPECT_EQ(View->Scale(), -1.0L);
    EXPECT_EQ(ZoomEvents, 1);
    EXPECT_FALSE(View->horizontalScrollBar()->isVisible());
    View->SetStretch(sAlwaysKAR);
    EXPECT_EQ(View->PicBox()->geometry(), QRect(0, 0, 320, 200));
    EXPECT_EQ(View->Scale(), 0.5L);
    EXPECT_EQ(ZoomEvents, 2);
    // The view holds a copy: the caller's picture can change or go.
    EXPECT_NE(View->PixelGraphic(), Logo.get());
    EXPECT_EQ(View->PixelGraphic()->Pixels(5, 7), static_cast<std::uint32_t>(PictureColor(5, 7)));
}

TEST(PGImageLayout, ShrinkingASmallPictureKeepsTheNaturalScale) {
    const auto View = ShownView(200, 200);
    int ZoomEvents = 0;
    View->OnZoomFactorChange = [&](TObject*) { ++ZoomEvents; };
    View->SetStretch(sShrink);
    const auto Picture = MakePicture(50, 40);
    View->SetPixelGraphic(Picture.get());
    View->SetCenter(true);
    View->resize(150, 180);
    QApplication::processEvents();
    EXPECT_EQ(View->Scale(), 1.0L);
    EXPECT_EQ(ZoomEvents, 0);
    EXPECT_EQ(View->PicBox()->geometry(), QRect(50, 70, 50, 40));
}

TEST(PGImageLayout, ScrollBarsTakeTheirRoomFromTheClientArea) {
    const auto View = ShownView(200, 200);
    const int Bar = BarExtent(*View);
    const auto Picture = MakePicture(300, 190);
    View->SetPixelGraphic(Picture.get());
    QApplication::processEvents();
    // The horizontal bar makes the picture too tall as well.
    EXPECT_TRUE(View->horizontalScrollBar()->isVisible());
    EXPECT_TRUE(View->verticalScrollBar()->isVisible());
    EXPECT_EQ(View->ClientWidth(), 200 - Bar);
    EXPECT_EQ(View->viewport()->width(), View->ClientWidth());
    EXPECT_EQ(View->viewport()->height(), View->ClientHeight());
    EXPECT_EQ(View->horizontalScrollBar()->maximum(), 300 - View->ClientWidth());
    const auto Small = MakePicture(20, 20);
    View->SetPixelGraphic(Small.get());
    QApplication::processEvents();
    EXPECT_FALSE(View->horizontalScrollBar()->isVisible());
    EXPECT_EQ(View->viewport()->width(), 200);
}

TEST(PGImageLayout, CentringKeepsTheUsersScrollUntilTheViewIsResized) {
    const auto View = ShownView(200, 200);
    View->SetCenter(true);
    const auto Picture = MakePicture(400, 300);
    View->SetPixelGraphic(Picture.get());
    QApplication::processEvents();
    QScrollBar& H = *View->horizontalScrollBar();
    QScrollBar& V = *View->verticalScrollBar();
    EXPECT_EQ(H.value(), (400 - View->ClientWidth()) / 2);
    EXPECT_EQ(V.value(), (300 - View->ClientHeight()) / 2);
    EXPECT_EQ(View->PicBox()->pos(), QPoint(-H.value(), -V.value()));
    H.setValue(0);
    V.setValue(7);
    EXPECT_EQ(View->PicBox()->pos(), QPoint(0, -7));
    // A new picture of the same displayed size keeps the place the user scrolled to.
    const auto Other = MakePicture(400, 300);
    View->SetPixelGraphic(Other.get());
    EXPECT_EQ(H.value(), 0);
    EXPECT_EQ(V.value(), 7);
    View->resize(220, 210);
    QApplication::processEvents();
    EXPECT_EQ(H.value(), (400 - View->ClientWidth()) / 2);
    EXPECT_EQ(V.value(), (300 - View->ClientHeight()) / 2);
    // RearrangeAlways puts it back at every change.
    V.setValue(0);
    View->SetRearrangeAlways(true);
    View->SetPixelGraphic(Other.get());
    EXPECT_EQ(V.value(), (300 - View->ClientHeight()) / 2);
}

TEST(PGImageLayout, AutoSizeFollowsThePictureWithinItsLimits) {
    TPGImage View;
    QSize Announced;
    View.OnNewAutoSize = [&](TObject*, int W, int H) { Announced = QSize(W, H); };
    const auto Picture = MakePicture(64, 40);
    View.SetPixelGraphic(Picture.get());
    // Announced also without AutoSize.
    EXPECT_EQ(Announced, QSize(68, 44));
    EXPECT_EQ(View.size(), QSize(100, 100));
    View.SetAutoSize(true);
    EXPECT_EQ(View.size(), QSize(68, 44));
    EXPECT_EQ(View.PicBox()->geometry(), QRect(0, 0, 64, 40));
    View.SetAutoSizeMaxWidth(50);
    EXPECT_EQ(View.size(), QSize(50, 44 + BarExtent(View)));
    View.SetAutoSizeMinWidth(80);
    EXPECT_EQ(View.width(), 80);
    // Without a picture: border only, within the limits.
    View.SetPixelGraphic(nullptr);
    EXPECT_EQ(View.size(), QSize(80, 4));
}

TEST(PGImageLayout, ZoomAndEmptyViews) {
    const auto View = ShownView(100, 100);
    View->SetStretch(sZoomKAR);
    View->SetZoomFactor(0.5L);
    const auto Picture = MakePicture(5, 5);
    View->SetPixelGraphic(Picture.get());
    EXPECT_EQ(View->PicBox()->size(), QSize(2, 2));
    EXPECT_EQ(View->Scale(), 0.5L);
    View->SetZoomFactor(0.0L);
    EXPECT_EQ(View->PicBox()->size(), QSize(5, 5));
    EXPECT_EQ(View->Scale(), 1.0L);
    View->SetPixelGraphic(nullptr);
    EXPECT_EQ(View->PicBox()->geometry(), QRect(0, 0, 0, 0));
}
