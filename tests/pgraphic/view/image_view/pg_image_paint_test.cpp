#include "pgraphic/view/image_view/pg_image.h"
#include "pgraphic/view/transparent/pg_label.h"
#include "tests/pgraphic/view/image_view/view_test_util.h"

#include <QPainter>
#include <QWidget>
#include <gtest/gtest.h>

using namespace ViewTest;

namespace {

constexpr TColor kMargin = 0x1E140A; // RGB(10, 20, 30)

} // namespace

TEST(PGImagePaint, StretchedPictureTakesThePixelUnderEachCentre) {
    const auto View = ShownView(320, 200);
    View->SetStretch(sAlways);
    const auto Logo = MakePicture(640, 400);
    View->SetPixelGraphic(Logo.get());
    const QImage Image = Shot(*View);
    for (const QPoint P : {QPoint(0, 0), QPoint(1, 1), QPoint(100, 57), QPoint(319, 199)}) {
        EXPECT_EQ(At(Image, P.x(), P.y()), ToRgb(PictureColor(2 * P.x() + 1, 2 * P.y() + 1)))
            << P.x() << ", " << P.y();
    }
}

TEST(PGImagePaint, AViewInsideAWindowPaintsItsWholeArea) {
    QWidget Window;
    Window.resize(200, 160);
    auto* View = new TPGImage(&Window);
    View->SetBounds(13, 17, 120, 100); // sunken frame of 2 pixels
    View->SetStretch(sAlways);
    const auto Picture = MakePicture(60, 48);
    View->SetPixelGraphic(Picture.get());
    Window.show();
    QApplication::processEvents();
    const QImage Image = Window.grab().toImage().convertToFormat(QImage::Format_RGB32);
    // The client area is 116 x 96 at (15, 19); each picture pixel covers about 2 x 2.
    EXPECT_EQ(At(Image, 15, 19), ToRgb(PictureColor(0, 0)));
    EXPECT_EQ(At(Image, 15 + 115, 19 + 95), ToRgb(PictureColor(59, 47)));
}

TEST(PGImagePaint, MarginsTakeTheViewsColour) {
    const auto View = ShownView(100, 100);
    View->SetColor(kMargin);
    View->SetCenter(true);
    const auto Picture = MakePicture(50, 40);
    View->SetPixelGraphic(Picture.get());
    const QImage Image = Shot(*View);
    EXPECT_EQ(At(Image, 24, 50), ToRgb(kMargin));
    EXPECT_EQ(At(Image, 25, 30), ToRgb(PictureColor(0, 0)));
    EXPECT_EQ(At(Image, 74, 69), ToRgb(PictureColor(49, 39)));
    EXPECT_EQ(At(Image, 75, 69), ToRgb(kMargin));
    EXPECT_EQ(At(Image, 50, 70), ToRgb(kMargin));
    // An empty view is all margin.
    View->SetPixelGraphic(nullptr);
    const QImage Empty = Shot(*View);
    EXPECT_EQ(At(Empty, 0, 0), ToRgb(kMargin));
    EXPECT_EQ(At(Empty, 99, 99), ToRgb(kMargin));
}

TEST(PGImagePaint, MirroredTilesAroundACentredPicture) {
    const auto View = ShownView(100, 100);
    View->SetCenter(true);
    View->SetTiling(tMirror);
    const auto Picture = MakePicture(10, 10);
    View->SetPixelGraphic(Picture.get());
    ASSERT_EQ(View->PicBox()->geometry(), QRect(45, 45, 10, 10));
    const QImage Image = Shot(*View);
    for (int Y = 0; Y < 10; ++Y) {
        for (int X = 0; X < 10; ++X) {
            EXPECT_EQ(At(Image, 45 + X, 45 + Y), ToRgb(PictureColor(X, Y)));
            // Odd columns and rows are turned around, also on the negative side.
            EXPECT_EQ(At(Image, 55 + X, 45 + Y), ToRgb(PictureColor(9 - X, Y)));
            EXPECT_EQ(At(Image, 35 + X, 25 + Y), ToRgb(PictureColor(9 - X, Y)));
            EXPECT_EQ(At(Image, 45 + X, 35 + Y), ToRgb(PictureColor(X, 9 - Y)));
            EXPECT_EQ(At(Image, 35 + X, 35 + Y), ToRgb(PictureColor(9 - X, 9 - Y)));
        }
    }
    // The cut tiles at the edges: columns and rows -5 and 5 are odd.
    EXPECT_EQ(At(Image, 0, 0), ToRgb(PictureColor(4, 4)));
    EXPECT_EQ(At(Image, 99, 99), ToRgb(PictureColor(5, 5)));
}

TEST(PGImagePaint, FewMirroredTilesAndFlipsPaintTurnedAround) {
    // Three tiles in a row: the two mirrored ones are painted without a mirrored copy.
    const auto View = ShownView(100, 10);
    View->SetCenter(true);
    View->SetTiling(tMirrorHorizontal);
    const auto Picture = MakePicture(40, 10);
    View->SetPixelGraphic(Picture.get());
    ASSERT_EQ(View->PicBox()->geometry(), QRect(30, 0, 40, 10));
    QImage Image = Shot(*View);
    for (int X = 0; X < 30; ++X) {
        EXPECT_EQ(At(Image, X, 3), ToRgb(PictureColor(39 - (X + 10), 3))) << X;
        EXPECT_EQ(At(Image, 70 + X, 3), ToRgb(PictureColor(39 - X, 3))) << X;
    }
    EXPECT_EQ(At(Image, 30, 3), ToRgb(PictureColor(0, 3)));
    // Flipping turns every tile around once more; the picture itself is left as it is.
    View->SetFlipHorizontal(true);
    View->SetFlipVertical(true);
    Image = Shot(*View);
    EXPECT_EQ(At(Image, 30, 0), ToRgb(PictureColor(39, 9)));
    EXPECT_EQ(At(Image, 70, 0), ToRgb(PictureColor(0, 9)));
    EXPECT_EQ(View->PixelGraphic()->Pixels(0, 0), static_cast<std::uint32_t>(PictureColor(0, 0)));
}

namespace {

// A transparent label that counts its invalidations.
class TCountingLabel : public TPGLabel {
public:
    using TPGLabel::TPGLabel;
    int Invalidations = 0;
    void Invalidate() override {
        ++Invalidations;
        TPGLabel::Invalidate();
    }
};

} // namespace

TEST(PGImagePaint, InvalidatingReachesTransparentChildrenOnly) {
    const auto View = ShownView(100, 100);
    auto* Transparent = new TCountingLabel("over the picture", View->viewport());
    auto* Opaque = new TCountingLabel("boxed", View->viewport());
    Opaque->SetTransparent(false);
    Transparent->Invalidations = Opaque->Invalidations = 0;
    View->SetTiling(tRepeat);
    EXPECT_EQ(Transparent->Invalidations, 1);
    EXPECT_EQ(Opaque->Invalidations, 0);
}

TEST(PGImagePaint, OnPaintingAndOnPaintBracketEveryPaint) {
    const auto View = ShownView(60, 60);
    std::string Order;
    View->OnPainting = [&](TObject*) { Order += "<"; };
    View->OnPaint = [&](TObject* Sender) {
        // The user may draw over the picture with the view's canvas.
        EXPECT_EQ(Sender, static_cast<TObject*>(View.get()));
        QPainter* Canvas = View->Canvas();
        ASSERT_NE(Canvas, nullptr);
        Canvas->fillRect(0, 0, 5, 5, Qt::green);
        Order += ">";
    };
    const auto Picture = MakePicture(30, 30);
    View->SetPixelGraphic(Picture.get());
    const QImage Image = Shot(*View);
    EXPECT_EQ(Order, "<>");
    EXPECT_EQ(At(Image, 2, 2), qRgb(0, 255, 0));
    EXPECT_EQ(At(Image, 6, 6), ToRgb(PictureColor(6, 6)));
}
