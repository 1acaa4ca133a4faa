#include "pgraphic/image/palettes.h"
#include "pgraphic/view/image_view/pg_image.h"
#include "pgraphic/view/worker/worker_events.h"
#include "platform/display.h"
#include "tests/pgraphic/view/image_view/view_test_util.h"

#include <QTest>
#include <gtest/gtest.h>

using namespace ViewTest;

namespace {

// Runs each test at a display depth and goes back to the default afterwards.
class PGImageDisplay : public ::testing::Test {
protected:
    void TearDown() override { SetScreenColorDepth(0); }
};

// Counts the worker's results that reach a view.
class TResultCounter : public QObject {
public:
    int Results = 0;
    std::vector<int> Steps;
    bool eventFilter(QObject*, QEvent* Event) override {
        if (Event->type() == TPGImageReadyEvent::EventType()) {
            ++Results;
        }
        if (Event->type() == TPGProgressReportEvent::EventType()) {
            Steps.push_back(static_cast<TPGProgressReportEvent*>(Event)->Step());
        }
        return false;
    }
};

bool WaitForCopy(const TPGImage& View) {
    return QTest::qWaitFor([&] { return View.PaintPixelGraphic() != nullptr; }, 20000);
}

// A noisy picture, slow to reduce.
std::unique_ptr<TPixelGraphic> Noise(int Width, int Height) {
    auto Picture = std::make_unique<TPixelGraphic>();
    Picture->SetSize(Width, Height, bc24);
    std::uint32_t Seed = 12345;
    for (int Y = 0; Y < Height; ++Y) {
        std::uint8_t* Row = Picture->ScanLine(Y);
        for (int X = 0; X < 3 * Width; ++X) {
            Seed = Seed * 1103515245U + 12345U;
            Row[X] = static_cast<std::uint8_t>(Seed >> 24);
        }
    }
    return Picture;
}

} // namespace

TEST_F(PGImageDisplay, TrueColourDisplayPaintsThePictureItself) {
    const auto View = ShownView(100, 100);
    View->SetStretch(sAlways);
    const auto Picture = MakePicture(50, 50);
    View->SetPixelGraphic(Picture.get());
    Shot(*View);
    QApplication::processEvents();
    EXPECT_EQ(View->PaintPixelGraphic(), nullptr);
    // Resampling by the view itself makes a copy of the display size, anew for every size.
    View->SetStretchMode(smPrecise);
    Shot(*View);
    ASSERT_TRUE(WaitForCopy(*View));
    EXPECT_EQ(View->PaintPixelGraphic()->BitCount(), bc24);
    EXPECT_EQ(View->PaintPixelGraphic()->Width(), 100);
    View->resize(80, 90);
    QApplication::processEvents();
    Shot(*View);
    ASSERT_TRUE(QTest::qWaitFor([&] {
        return View->PaintPixelGraphic() != nullptr && View->PaintPixelGraphic()->Width() == 80;
    }));
    EXPECT_EQ(View->PaintPixelGraphic()->Height(), 90);
}

TEST_F(PGImageDisplay, EightBitDisplayShowsClocksThenAnOptimisedCopy) {
    SetScreenColorDepth(8);
    const auto View = ShownView(320, 200);
    TResultCounter Counter;
    View->installEventFilter(&Counter);
    View->SetStretch(sAlways);
    View->SetPicBoxColor(0x00FF00);
    View->SetPicBoxFrameColor(0x0000FF);
    const auto Picture = Noise(640, 400);
    View->SetPixelGraphic(Picture.get());
    // The first paint starts the worker; its result is a posted event, not handled yet.
    const QImage Preparing = Shot(*View);
    EXPECT_EQ(View->PaintPixelGraphic(), nullptr);
    EXPECT_EQ(At(Preparing, 0, 0), qRgb(255, 0, 0));     // outline
    EXPECT_EQ(At(Preparing, 40, 40), qRgb(0, 255, 0));   // inside
    EXPECT_NE(At(Preparing, 160, 100), qRgb(0, 255, 0)); // the centre clock
    EXPECT_NE(At(Preparing, 12, 12), qRgb(0, 255, 0));   // a corner clock
    ASSERT_TRUE(WaitForCopy(*View));
    const TPixelGraphic& Copy = *View->PaintPixelGraphic();
    EXPECT_EQ(Copy.BitCount(), bc8);
    EXPECT_EQ(Copy.Width(), 640); // smFast: the painter scales it
    ASSERT_EQ(Copy.PaletteCount(), 252);
    const auto Sys16 = FixedPalette(pSys16);
    for (int I = 0; I < 16; ++I) {
        EXPECT_EQ(Copy.PaletteColors(236 + I), Sys16[static_cast<std::size_t>(I)]);
    }
    EXPECT_EQ(Counter.Results, 1);
    // Progress came from stage 1 (palette) to at most stage 2 (reduction), in order.
    EXPECT_TRUE(std::is_sorted(Counter.Steps.begin(), Counter.Steps.end()));
    for (const int Step : Counter.Steps) {
        EXPECT_TRUE(Step == 1 || Step == 2) << Step;
    }
    // The copy is what the view shows now.
    const QImage Shown = Shot(*View);
    EXPECT_NE(At(Shown, 40, 40), qRgb(0, 255, 0));
}

TEST_F(PGImageDisplay, PalettePicturesThatTheDisplayCanShowNeedNoCopy) {
    SetScreenColorDepth(8);
    const auto View = ShownView(50, 50);
    TPixelGraphic Picture;
    Picture.SetSize(20, 20, bc8);
    Picture.SetPaletteIdent(pSpecial216);
    View->SetPalette8BitSys8BitGraphic(pSpecial216);
    View->SetPixelGraphic(&Picture);
    Shot(*View);
    QApplication::processEvents();
    EXPECT_EQ(View->PaintPixelGraphic(), nullptr);
    View->SetPalette8BitSys8BitGraphic(pSource);
    Shot(*View);
    QApplication::processEvents();
    EXPECT_EQ(View->PaintPixelGraphic(), nullptr);
    // Another chosen palette: remapped to it.
    View->SetPalette8BitSys8BitGraphic(pGray256);
    Shot(*View);
    ASSERT_TRUE(WaitForCopy(*View));
    EXPECT_EQ(View->PaintPixelGraphic()->PaletteIdent(), pGray256);
}

TEST_F(PGImageDisplay, SixteenColourDisplay) {
    SetScreenColorDepth(4);
    const auto View = ShownView(50, 50);
    TPixelGraphic System;
    System.SetSize(20, 20, bc4);
    System.SetPaletteIdent(pSys16);
    View->SetPixelGraphic(&System);
    Shot(*View);
    QApplication::processEvents();
    EXPECT_EQ(View->PaintPixelGraphic(), nullptr);
    const auto Picture = MakePicture(20, 20);
    View->SetPixelGraphic(Picture.get());
    Shot(*View);
    ASSERT_TRUE(WaitForCopy(*View));
    EXPECT_EQ(View->PaintPixelGraphic()->BitCount(), bc4);
    EXPECT_EQ(View->PaintPixelGraphic()->PaletteIdent(), pSys16);
}

TEST_F(PGImageDisplay, ANewPictureCancelsTheRunningPreparation) {
    SetScreenColorDepth(8);
    const auto View = ShownView(200, 150);
    TResultCounter Counter;
    View->installEventFilter(&Counter);
    View->SetStretch(sAlways);
    const auto Large = Noise(2000, 1500);
    View->SetPixelGraphic(Large.get());
    Shot(*View); // starts the run
    const auto Small = MakePicture(40, 30);
    View->SetPixelGraphic(Small.get()); // stops it: it posts nothing and frees its copy
    Shot(*View);
    ASSERT_TRUE(WaitForCopy(*View));
    QTest::qWait(50);
    EXPECT_EQ(Counter.Results, 1);
    EXPECT_EQ(View->PaintPixelGraphic()->Width(), 40);
    // Changing the view's own picture stops a run that reads it, before the change.
    View->SetPixelGraphic(Large.get());
    Shot(*View);
    View->EditablePixelGraphic()->SetSize(50, 20, bc24);
    ASSERT_TRUE(QTest::qWaitFor([&] {
        return View->PaintPixelGraphic() != nullptr && View->PaintPixelGraphic()->Width() == 50;
    }));
    QTest::qWait(50);
    EXPECT_EQ(Counter.Results, 2);
    // Destroying a view while its worker runs stops the worker first.
    View->SetPixelGraphic(Large.get());
    Shot(*View);
}

TEST_F(PGImageDisplay, ResultsOfStoppedRunsAreDropped) {
    SetScreenColorDepth(8);
    const auto View = ShownView(50, 50);
    const auto Picture = MakePicture(20, 20);
    View->SetPixelGraphic(Picture.get());
    // A result from a run that is not the view's current one (its image is freed with the event).
    PGPostImageReady(View.get(), 0, MakePicture(3, 3));
    PGPostProgress(View.get(), 0, 5, 50);
    QApplication::processEvents();
    EXPECT_EQ(View->PaintPixelGraphic(), nullptr);
    EXPECT_EQ(View->ProgressStep(), 1);
}

TEST_F(PGImageDisplay, WithoutThreadTheCopyIsMadeInThePaint) {
    SetScreenColorDepth(8);
    const auto View = ShownView(100, 100);
    View->SetUseThread(false);
    View->SetPicBoxColor(0x00FF00);
    View->SetStretch(sAlways);
    const auto Picture = MakePicture(50, 50);
    View->SetPixelGraphic(Picture.get());
    const QImage Image = Shot(*View);
    ASSERT_NE(View->PaintPixelGraphic(), nullptr);
    EXPECT_EQ(View->PaintPixelGraphic()->BitCount(), bc8);
    // The same paint already showed the copy: no empty box, no clocks.
    EXPECT_NE(At(Image, 50, 50), qRgb(0, 255, 0));
    EXPECT_NE(At(Image, 5, 5), qRgb(0, 255, 0));
}

TEST_F(PGImageDisplay, KeptOldCopyStaysUntilTheNewOneArrives) {
    SetScreenColorDepth(8);
    const auto View = ShownView(100, 100);
    View->SetKeepOldPaintPixelGraphic(true);
    View->SetStretch(sAlways);
    const auto First = MakePicture(50, 50);
    View->SetPixelGraphic(First.get());
    Shot(*View);
    ASSERT_TRUE(WaitForCopy(*View));
    const TPixelGraphic* Old = View->PaintPixelGraphic();
    const auto Second = MakePicture(60, 60);
    View->SetPixelGraphic(Second.get());
    Shot(*View);
    EXPECT_EQ(View->PaintPixelGraphic(), Old);
    ASSERT_TRUE(QTest::qWaitFor([&] {
        return View->PaintPixelGraphic() != nullptr && View->PaintPixelGraphic()->Width() == 60;
    }));
}

TEST_F(PGImageDisplay, ADisplayChangeMakesTheCopyAnew) {
    const auto View = ShownView(100, 100);
    const auto Picture = MakePicture(50, 50);
    View->SetPixelGraphic(Picture.get());
    Shot(*View);
    EXPECT_EQ(View->PaintPixelGraphic(), nullptr);
    SetScreenColorDepth(4);
    View->DisplayChanged();
    Shot(*View);
    ASSERT_TRUE(WaitForCopy(*View));
    EXPECT_EQ(View->PaintPixelGraphic()->BitCount(), bc4);
    SetScreenColorDepth(24);
    View->DisplayChanged();
    Shot(*View);
    EXPECT_EQ(View->PaintPixelGraphic(), nullptr);
}

TEST_F(PGImageDisplay, AnEightBitPictureIsOnlyRemappedToItsNewPalette) {
    SetScreenColorDepth(8);
    const auto View = ShownView(60, 60);
    TPixelGraphic Picture;
    Picture.SetSize(30, 20, bc8);
    Picture.SetPaletteCount(4);
    const TColor Colors[] = {RGB(250, 10, 10), RGB(10, 250, 10), RGB(10, 10, 250), RGB(90, 90, 9)};
    for (int I = 0; I < 4; ++I) {
        Picture.SetPaletteColors(I, Colors[I]);
    }
    for (int Y = 0; Y < 20; ++Y) {
        for (int X = 0; X < 30; ++X) {
            Picture.SetPixel(X, Y, static_cast<std::uint32_t>((X + Y) % 4));
        }
    }
    View->SetPixelGraphic(&Picture);
    Shot(*View);
    ASSERT_TRUE(WaitForCopy(*View));
    const TPixelGraphic& Copy = *View->PaintPixelGraphic();
    EXPECT_EQ(Copy.BitCount(), bc8);
    // Four colours and the system colours; every pixel keeps its colour exactly.
    EXPECT_EQ(Copy.PaletteCount(), 20);
    for (int Y = 0; Y < 20; ++Y) {
        for (int X = 0; X < 30; ++X) {
            EXPECT_EQ(Copy.PixelColors(X, Y), Picture.PixelColors(X, Y)) << X << ", " << Y;
        }
    }
}

TEST_F(PGImageDisplay, ReducedOnLoadThePictureItselfIsReplaced) {
    SetScreenColorDepth(8);
    const auto View = ShownView(100, 80);
    View->SetReduceOnLoad(true);
    View->SetStretch(sAlways);
    View->SetStretchMode(smPrecise);
    View->SetAllow24BitStretch(true);
    const auto Picture = MakePicture(200, 160);
    View->SetPixelGraphic(Picture.get());
    Shot(*View);
    ASSERT_TRUE(QTest::qWaitFor([&] { return View->PixelGraphic()->BitCount() == bc8; }));
    // Resampled to the display size first, then given an optimised palette.
    EXPECT_EQ(View->PixelGraphic()->Width(), 100);
    EXPECT_EQ(View->PixelGraphic()->Height(), 80);
    EXPECT_EQ(View->PaintPixelGraphic(), nullptr);
    // Now shown directly, at the size of the original picture's layout.
    Shot(*View);
    QApplication::processEvents();
    EXPECT_EQ(View->PaintPixelGraphic(), nullptr);
    EXPECT_EQ(View->PicBox()->size(), QSize(100, 80));
}
