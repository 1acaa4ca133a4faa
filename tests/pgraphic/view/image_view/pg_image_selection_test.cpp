#include "pgraphic/view/image_view/pg_image.h"
#include "tests/pgraphic/view/image_view/view_test_util.h"

#include <QPaintEvent>
#include <QScrollBar>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

using namespace ViewTest;

namespace {

// A 100 x 75 picture shown at twice its size: image pixel = picture-box pixel / 2.
std::unique_ptr<TPGImage> DoubledView(TActionMode Mode) {
    auto View = ShownView(200, 150);
    View->SetStretch(sAlways);
    const auto Picture = MakePicture(100, 75);
    View->SetPixelGraphic(Picture.get());
    View->SetActionMode(Mode);
    return View;
}

void Drag(QWidget* Widget, QPoint From, QPoint To) {
    QTest::mousePress(Widget, Qt::LeftButton, {}, From);
    QTest::mouseMove(Widget, To);
    QTest::mouseRelease(Widget, Qt::LeftButton, {}, To);
}

TPGSelectionBounds Bounds(const TPGImage& View) {
    return {View.SelectionLeft(), View.SelectionTop(), View.SelectionWidth(),
            View.SelectionHeight()};
}

QTimer* AntsTimer(TPGImage& View) {
    return View.findChild<QTimer*>("MarchingAnts");
}

// Adds up the area that the view's client area repaints.
class TPaintedArea : public QObject {
public:
    long long Area = 0;
    int Paints = 0;
    bool eventFilter(QObject*, QEvent* Event) override {
        if (Event->type() == QEvent::Paint) {
            ++Paints;
            for (const QRect& R : static_cast<QPaintEvent*>(Event)->region()) {
                Area += static_cast<long long>(R.width()) * R.height();
            }
        }
        return false;
    }
};

long long RegionArea(const QRegion& Region) {
    long long Area = 0;
    for (const QRect& R : Region) {
        Area += static_cast<long long>(R.width()) * R.height();
    }
    return Area;
}

} // namespace

TEST(PGImageSelection, DraggingUpAndLeftCreatesASelectionEndingAtTheAnchor) {
    const auto View = DoubledView(amMoveResizeCreateSelection);
    int Made = 0;
    View->OnSelectionMade = [&](TObject*) { ++Made; };
    Drag(View->PicBox(), {101, 81}, {40, 20});
    EXPECT_TRUE(View->Selection());
    EXPECT_EQ(Bounds(*View), (TPGSelectionBounds{20, 10, 31, 31}));
    EXPECT_EQ(Made, 1);
    EXPECT_EQ(View->DragAction(), daNone);
    EXPECT_NE(AntsTimer(*View), nullptr);
}

TEST(PGImageSelection, ResizingByAHandleStopsAtOnePixel) {
    const auto View = DoubledView(amMoveResizeCreateSelection);
    View->SetSelectionBounds(10, 10, 20, 20);
    View->SetSelection(true);
    ASSERT_EQ(View->SelectionRectOnBox(), (TPGRect{20, 20, 60, 60}));
    // The left handle lies 3 to 8 pixels left of the frame, at its middle.
    QTest::mousePress(View->PicBox(), Qt::LeftButton, {}, {14, 40});
    EXPECT_EQ(View->DragAction(), daSizeLeft);
    QTest::mouseMove(View->PicBox(), {190, 40});
    QTest::mouseRelease(View->PicBox(), Qt::LeftButton, {}, {190, 40});
    EXPECT_EQ(Bounds(*View), (TPGSelectionBounds{29, 10, 1, 20}));
    // The bottom-right handle: width and height follow the mouse.
    QTest::mousePress(View->PicBox(), Qt::LeftButton, {}, {65, 65});
    EXPECT_EQ(View->DragAction(), daSizeBottomRight);
    QTest::mouseMove(View->PicBox(), {101, 91});
    QTest::mouseRelease(View->PicBox(), Qt::LeftButton, {}, {101, 91});
    EXPECT_EQ(Bounds(*View), (TPGSelectionBounds{29, 10, 19, 33}));
}

TEST(PGImageSelection, MovingFarLeftKeepsTheLastColumnOnThePicture) {
    const auto View = DoubledView(amMoveSelection);
    View->SetSelectionBounds(40, 30, 10, 8);
    View->SetSelection(true);
    Drag(View->PicBox(), {90, 70}, {-400, 70});
    EXPECT_EQ(Bounds(*View), (TPGSelectionBounds{-9, 30, 10, 8}));
    Drag(View->PicBox(), {0, 70}, {180, 400});
    EXPECT_EQ(Bounds(*View), (TPGSelectionBounds{81, 74, 10, 8}));
}

TEST(PGImageSelection, ModesThatMustDoNothing) {
    // A press outside the selection in amMoveSelection.
    const auto View = DoubledView(amMoveSelection);
    View->SetSelectionBounds(10, 10, 5, 5);
    View->SetSelection(true);
    int Changes = 0;
    View->OnSelectionChange = [&](TObject*) { ++Changes; };
    Drag(View->PicBox(), {150, 120}, {160, 130});
    EXPECT_EQ(Changes, 0);
    EXPECT_EQ(View->DragAction(), daNone);
    // amNone: nothing anywhere, not even on the selection.
    View->SetActionMode(amNone);
    QTest::mousePress(View->PicBox(), Qt::LeftButton, {}, {24, 24});
    EXPECT_EQ(View->DragAction(), daNone);
    QTest::mouseMove(View->PicBox(), {100, 100});
    QTest::mouseRelease(View->PicBox(), Qt::LeftButton, {}, {100, 100});
    EXPECT_EQ(Changes, 0);
    EXPECT_EQ(View->PicBox()->cursor().shape(), Qt::ArrowCursor);
    // Moving a picture that fits: no drag, no hand.
    View->SetActionMode(amMoveImage);
    View->SetSelection(false);
    QTest::mouseMove(View->PicBox(), {50, 50});
    QTest::mousePress(View->PicBox(), Qt::LeftButton, {}, {50, 50});
    EXPECT_EQ(View->DragAction(), daNone);
    EXPECT_NE(View->PicBox()->cursor().shape(), Qt::BitmapCursor);
    QTest::mouseRelease(View->PicBox(), Qt::LeftButton, {}, {50, 50});
    // Buttons other than the left one start nothing.
    View->SetActionMode(amMoveResizeCreateSelection);
    QTest::mousePress(View->PicBox(), Qt::RightButton, {}, {50, 50});
    EXPECT_EQ(View->DragAction(), daNone);
    EXPECT_FALSE(View->Selection());
    QTest::mouseRelease(View->PicBox(), Qt::RightButton, {}, {50, 50});
}

TEST(PGImageSelection, DraggingThePictureKeepsTheGrabbedPointUnderTheMouse) {
    const auto View = ShownView(200, 150);
    const auto Picture = MakePicture(400, 300);
    View->SetPixelGraphic(Picture.get());
    QTest::mouseMove(View->PicBox(), {100, 100});
    EXPECT_EQ(View->PicBox()->cursor().shape(), Qt::BitmapCursor); // the open hand
    QTest::mousePress(View->PicBox(), Qt::LeftButton, {}, {100, 100});
    EXPECT_EQ(View->DragAction(), daMoveImage);
    // The box moves under the mouse: its coordinates of the same screen point change.
    QTest::mouseMove(View->PicBox(), {60, 70});
    EXPECT_EQ(View->horizontalScrollBar()->value(), 40);
    EXPECT_EQ(View->verticalScrollBar()->value(), 30);
    QTest::mouseMove(View->PicBox(), {90, 90});
    EXPECT_EQ(View->horizontalScrollBar()->value(), 50);
    EXPECT_EQ(View->verticalScrollBar()->value(), 40);
    QTest::mouseRelease(View->PicBox(), Qt::LeftButton, {}, {90, 90});
    EXPECT_EQ(View->DragAction(), daNone);
    EXPECT_FALSE(View->Selection());
}

TEST(PGImageSelection, AntsTimerLivesExactlyWhileTheSelectionDoes) {
    const auto View = DoubledView(amMoveImage);
    EXPECT_EQ(AntsTimer(*View), nullptr);
    View->SetSelection(true);
    ASSERT_NE(AntsTimer(*View), nullptr);
    EXPECT_TRUE(AntsTimer(*View)->isActive());
    EXPECT_EQ(AntsTimer(*View)->interval(), 50);
    View->SetSelection(false);
    EXPECT_EQ(AntsTimer(*View), nullptr);
    View->SetSelection(true);
    EXPECT_NE(AntsTimer(*View), nullptr);
}

TEST(PGImageSelection, AntsMarchInTheTwoSelectionColours) {
    const auto View = DoubledView(amMoveImage);
    View->SetSelectionColor1(0x00FF00);
    View->SetSelectionColor2(0xFF0000);
    View->SetSelectionBounds(10, 10, 20, 10);
    View->SetSelection(true);
    const auto FramePixels = [&] {
        const QImage Image = Shot(*View);
        std::vector<QRgb> Pixels;
        for (int X = 19; X < 61; ++X) {
            Pixels.push_back(At(Image, X, 19));
        }
        return Pixels;
    };
    const std::vector<QRgb> Before = FramePixels();
    for (const QRgb C : Before) {
        EXPECT_TRUE(C == qRgb(0, 255, 0) || C == qRgb(0, 0, 255)) << std::hex << C;
    }
    EXPECT_NE(std::count(Before.begin(), Before.end(), qRgb(0, 255, 0)), 0);
    EXPECT_NE(std::count(Before.begin(), Before.end(), qRgb(0, 0, 255)), 0);
    QTest::qWait(130);
    EXPECT_NE(FramePixels(), Before);
    // Inside the frame the picture shows through.
    EXPECT_EQ(At(Shot(*View), 30, 30), ToRgb(PictureColor(15, 15)));
}

TEST(PGImageSelection, DraggingRepaintsOnlyTheStripsAroundTheFrame) {
    const auto View = DoubledView(amMoveSelection);
    View->SetSelectionBounds(20, 20, 30, 20);
    View->SetSelection(true);
    QApplication::processEvents();
    TPaintedArea Painted;
    View->viewport()->installEventFilter(&Painted);
    // Expected: the one-pixel strips around the old and the new frame.
    QTest::mousePress(View->PicBox(), Qt::LeftButton, {}, {60, 60});
    const QRect Old(39, 39, 62, 42);
    const QRect New(41, 39, 62, 42);
    QRegion Strips =
        (QRegion(Old) - Old.adjusted(1, 1, -1, -1)) + (QRegion(New) - New.adjusted(1, 1, -1, -1));
    QTest::mouseMove(View->PicBox(), {62, 60});
    EXPECT_EQ(Bounds(*View), (TPGSelectionBounds{21, 20, 30, 20}));
    EXPECT_EQ(Painted.Paints, 1);
    EXPECT_EQ(Painted.Area, RegionArea(Strips));
    EXPECT_LT(Painted.Area * 20, 200 * 150);
    QTest::mouseRelease(View->PicBox(), Qt::LeftButton, {}, {62, 60});
    // With handles the strips are eight pixels wide.
    View->SetActionMode(amMoveResizeCreateSelection);
    QApplication::processEvents();
    Painted.Area = 0;
    View->SetSelectionLeft(22);
    EXPECT_LT(Painted.Area, 2LL * 2 * (62 + 42) * 8 + 1);
    EXPECT_GT(Painted.Area, 0);
}

TEST(PGImageSelection, PictureBoxHandlersRunInTheirOrder) {
    const auto View = DoubledView(amMoveResizeCreateSelection);
    std::vector<TDragAction> SeenDown;
    std::vector<TDragAction> SeenUp;
    View->SetPicBoxOnMouseDown([&](TObject*, TMouseButton, TShiftState, int, int) {
        SeenDown.push_back(View->DragAction());
    });
    View->SetPicBoxOnMouseUp([&](TObject*, TMouseButton, TShiftState, int, int) {
        SeenUp.push_back(View->DragAction());
    });
    bool CanvasDuringPaint = false;
    View->SetPicBoxOnPaint([&](TObject* Sender) {
        EXPECT_EQ(Sender, static_cast<TObject*>(View->PicBox()));
        CanvasDuringPaint = View->PicBox()->Canvas() != nullptr;
    });
    Drag(View->PicBox(), {10, 10}, {30, 30});
    // The view's own handling comes first on press, last on release.
    ASSERT_EQ(SeenDown.size(), 1U);
    EXPECT_EQ(SeenDown[0], daCreateSelection);
    ASSERT_EQ(SeenUp.size(), 1U);
    EXPECT_EQ(SeenUp[0], daCreateSelection);
    Shot(*View);
    EXPECT_TRUE(CanvasDuringPaint);
}

TEST(PGImageSelection, PreviewWindowClosesOnAClickAnywhere) {
    QWidget Window;
    Window.resize(200, 100);
    auto* View = new TPGImage(&Window);
    View->SetBorderStyle(bsNone);
    View->setGeometry(0, 0, 200, 100);
    View->SetStretch(sAlwaysKAR);
    View->SetActionMode(amNone);
    int Closes = 0;
    const auto Close = [&](TObject*) {
        ++Closes;
        Window.close();
    };
    View->OnClick = Close;
    View->SetPicBoxOnClick(Close);
    const auto Picture = MakePicture(100, 100);
    View->SetPixelGraphic(Picture.get());
    Window.show();
    QApplication::processEvents();
    ASSERT_EQ(View->PicBox()->geometry(), QRect(0, 0, 100, 100));
    QTest::mouseClick(View->PicBox(), Qt::LeftButton, {}, {50, 50});
    EXPECT_EQ(Closes, 1);
    EXPECT_FALSE(Window.isVisible());
    EXPECT_FALSE(View->Selection());
    Window.show();
    QTest::mouseClick(View->viewport(), Qt::LeftButton, {}, {150, 50});
    EXPECT_EQ(Closes, 2);
}

TEST(PGImageSelection, CursorsFollowModeSelectionAndHandles) {
    const auto View = DoubledView(amMoveResizeCreateSelection);
    QTest::mouseMove(View->PicBox(), {150, 120});
    EXPECT_EQ(View->PicBox()->cursor().shape(), Qt::BitmapCursor); // the cross
    EXPECT_EQ(View->PicBox()->cursor().hotSpot(), QPoint(15, 15));
    View->SetSelectionBounds(10, 10, 20, 20);
    View->SetSelection(true);
    QTest::mouseMove(View->PicBox(), {40, 40});
    EXPECT_EQ(View->PicBox()->cursor().hotSpot(), QPoint(16, 15)); // the move arrow
    QTest::mouseMove(View->PicBox(), {14, 40});
    EXPECT_EQ(View->PicBox()->cursor().shape(), Qt::SizeHorCursor);
    QTest::mouseMove(View->PicBox(), {14, 14});
    EXPECT_EQ(View->PicBox()->cursor().shape(), Qt::SizeFDiagCursor);
    QTest::mouseMove(View->PicBox(), {40, 65});
    EXPECT_EQ(View->PicBox()->cursor().shape(), Qt::SizeVerCursor);
    // The handler has the last word.
    View->PicBoxOnSetCursor = [](TObject*, QCursor& Cursor) { Cursor = Qt::PointingHandCursor; };
    QTest::mouseMove(View->PicBox(), {41, 65});
    EXPECT_EQ(View->PicBox()->cursor().shape(), Qt::PointingHandCursor);
}

TEST(PGImageSelection, DraggingBeyondTheEdgeScrollsFivePixelsATick) {
    const auto View = ShownView(200, 150);
    const auto Picture = MakePicture(400, 300);
    View->SetPixelGraphic(Picture.get());
    View->SetActionMode(amMoveResizeCreateSelection);
    QTest::mousePress(View->PicBox(), Qt::LeftButton, {}, {50, 50});
    ASSERT_NE(View->findChild<QTimer*>("AutoScroll"), nullptr);
    QTest::mouseMove(View->PicBox(), {View->ClientWidth() + 10, 50});
    ASSERT_TRUE(QTest::qWaitFor([&] { return View->horizontalScrollBar()->value() >= 10; }));
    EXPECT_EQ(View->horizontalScrollBar()->value() % 5, 0);
    EXPECT_EQ(View->verticalScrollBar()->value(), 0);
    QTest::mouseRelease(View->PicBox(), Qt::LeftButton, {}, {View->ClientWidth() + 10, 50});
    EXPECT_EQ(View->findChild<QTimer*>("AutoScroll"), nullptr);
    EXPECT_TRUE(View->Selection());
}
