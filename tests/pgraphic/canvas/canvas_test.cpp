#include "pgraphic/canvas/canvas.h"
#include "pgraphic/image/pixel_graphic.h"

#include <QFont>
#include <QImage>
#include <QPainter>
#include <gtest/gtest.h>

namespace {

constexpr std::uint32_t kRed = RGB(255, 0, 0), kGreen = RGB(0, 255, 0), kWhite = RGB(255, 255, 255);

void SetPalette(TPixelGraphic& Image, std::initializer_list<TColor> Colors) {
    Image.SetPaletteCount(static_cast<int>(Colors.size()));
    int I = 0;
    for (const TColor C : Colors) {
        Image.SetPaletteColors(I++, C);
    }
}

// Raw value Inside for the pixels in Rect, Outside for all others.
::testing::AssertionResult RectOfValue(const TPixelGraphic& Image, const QRect& Rect,
                                       std::uint32_t Inside, std::uint32_t Outside) {
    for (int Y = 0; Y < Image.Height(); ++Y) {
        for (int X = 0; X < Image.Width(); ++X) {
            if (Image.Pixels(X, Y) != (Rect.contains(X, Y) ? Inside : Outside)) {
                return ::testing::AssertionFailure()
                       << "pixel (" << X << ", " << Y << ") is " << std::hex << Image.Pixels(X, Y);
            }
        }
    }
    return ::testing::AssertionSuccess();
}

QRgb ViewPixel(TPGCanvas& Canvas, int X, int Y) {
    return static_cast<QImage*>(Canvas.Painter().device())->pixel(X, Y);
}

} // namespace

TEST(Canvas, FilledRectangleLandsInTrueColorBuffer) {
    TPixelGraphic Image;
    Image.SetSize(9, 7, bc24);
    PGCanvasOf(Image).Painter().fillRect(QRect(2, 1, 4, 3), QColor(10, 20, 30));
    EXPECT_TRUE(RectOfValue(Image, QRect(2, 1, 4, 3), RGB(10, 20, 30), 0));
    const std::uint8_t* Row = Image.ScanLines() + 5 * Image.BytesPerLine(); // row 1, bottom-up
    EXPECT_EQ(Row[6], 30);
    EXPECT_EQ(Row[7], 20);
    EXPECT_EQ(Row[8], 10);
}

TEST(Canvas, TextLandsInBufferWithinItsBounds) {
    for (const TPGBitCount Format : {bc24, bc8}) {
        TPixelGraphic Image;
        Image.SetSize(80, 40, Format);
        if (Format == bc8) {
            Image.SetPaletteIdent(pGray256);
        }
        Image.SetBackGroundColor(static_cast<TColor>(kWhite));
        Image.Clear();
        QPainter& Painter = PGCanvasOf(Image).Painter();
        QFont Font("Liberation Sans");
        Font.setPixelSize(24);
        Painter.setFont(Font);
        const QRect Bounds = Painter.boundingRect(QRect(0, 0, 80, 40), Qt::AlignHCenter, "Wo");
        Painter.drawText(QRect(0, 0, 80, 40), Qt::AlignHCenter, "Wo");

        const std::uint32_t White = Format == bc24 ? kWhite : 255;
        int Inked = 0;
        for (int Y = 0; Y < Image.Height(); ++Y) {
            for (int X = 0; X < Image.Width(); ++X) {
                if (Image.Pixels(X, Y) != White) {
                    ++Inked;
                    EXPECT_TRUE(Bounds.contains(X, Y)) << X << ", " << Y;
                }
            }
        }
        EXPECT_GT(Inked, 40) << "format " << Format;
    }
}

TEST(Canvas, PaletteImagesGetNearestIndicesAndKeepUntouchedOnes) {
    TPixelGraphic Image;
    Image.SetSize(6, 4, bc8);
    SetPalette(Image, {RGB(0, 0, 0), RGB(255, 255, 255), RGB(0, 0, 0), RGB(255, 0, 0)});
    for (int X = 0; X < 6; ++X) {
        Image.SetPixel(X, 0, 2); // black through the duplicate entry
        Image.SetPixel(X, 3, 1);
    }
    PGCanvasOf(Image).Painter().fillRect(QRect(1, 1, 3, 3), QColor(240, 30, 20));
    for (int X = 0; X < 6; ++X) {
        const bool Drawn = X >= 1 && X <= 3;
        EXPECT_EQ(Image.Pixels(X, 0), 2u) << X;
        EXPECT_EQ(Image.Pixels(X, 1), Drawn ? 3u : 0u) << X;
        EXPECT_EQ(Image.Pixels(X, 3), Drawn ? 3u : 1u) << X;
    }

    TPixelGraphic Mono;
    Mono.SetSize(11, 3, bc1);
    Mono.SetPaletteIdent(pBlackWhite);
    PGCanvasOf(Mono).Painter().fillRect(QRect(3, 1, 7, 1), Qt::white);
    EXPECT_TRUE(RectOfValue(Mono, QRect(3, 1, 7, 1), 1, 0));

    TPixelGraphic Sys;
    Sys.SetSize(5, 5, bc4);
    Sys.SetPaletteIdent(pSys16);
    PGCanvasOf(Sys).Painter().fillRect(QRect(1, 2, 3, 2), QColor(0, 0, 250));
    EXPECT_TRUE(RectOfValue(Sys, QRect(1, 2, 3, 2), 12, 0));

    // More entries than a 4-bit pixel can index: only the colour table's 16 count.
    TPixelGraphic Long;
    Long.SetSize(3, 1, bc4);
    Long.SetPaletteCount(20);
    Long.SetPaletteColors(5, RGB(0, 0, 200));
    Long.SetPaletteColors(18, RGB(0, 0, 255));
    PGCanvasOf(Long).Painter().fillRect(QRect(0, 0, 3, 1), QColor(0, 0, 255));
    EXPECT_EQ(Long.Pixels(1, 0), 5u);
}

TEST(Canvas, ColourTableRepeatsEntryZeroBeyondThePalette) {
    TPixelGraphic Image;
    Image.SetSize(4, 2, bc8);
    SetPalette(Image, {RGB(1, 2, 3), RGB(255, 0, 0)});
    Image.SetPixel(0, 0, 200);
    Image.SetPixel(1, 0, 1);
    EXPECT_EQ(ViewPixel(PGCanvasOf(Image), 0, 0), qRgb(1, 2, 3));
    EXPECT_EQ(ViewPixel(PGCanvasOf(Image), 1, 0), qRgb(255, 0, 0));

    // Without a palette everything shows black and drawing can only give index 0.
    TPixelGraphic Bare;
    Bare.SetSize(4, 2, bc8);
    Bare.SetPixel(0, 0, 7);
    EXPECT_EQ(ViewPixel(PGCanvasOf(Bare), 0, 0), qRgb(0, 0, 0));
    PGCanvasOf(Bare).Painter().fillRect(QRect(0, 0, 2, 1), Qt::white);
    EXPECT_TRUE(RectOfValue(Bare, QRect(), 0, 0));
}

TEST(Canvas, FlushRuleBothWays) {
    TPixelGraphic Image;
    Image.SetSize(4, 4, bc24);
    QPainter& Painter = PGCanvasOf(Image).Painter();
    Painter.setPen(QColor(1, 2, 3));
    Painter.setBrush(QColor(9, 8, 7));
    Painter.fillRect(QRect(0, 0, 4, 1), Qt::red);
    Image.SetPixel(0, 3, kGreen); // flushes the drawing first
    EXPECT_FALSE(PGCanvasOf(Image).HandleAllocated());
    EXPECT_EQ(Image.Pixels(2, 0), kRed);

    // The next view holds the direct change (inverting reads it); pen and brush carry over.
    QPainter& Again = PGCanvasOf(Image).Painter();
    EXPECT_EQ(Again.pen().color(), QColor(1, 2, 3));
    Again.setCompositionMode(QPainter::RasterOp_NotDestination);
    Again.fillRect(QRect(0, 2, 1, 2), Qt::black);
    Again.setCompositionMode(QPainter::CompositionMode_SourceOver);
    Again.drawRect(QRect(1, 1, 2, 2));
    EXPECT_EQ(Image.Pixels(0, 3), static_cast<std::uint32_t>(RGB(255, 0, 255)));
    EXPECT_EQ(Image.Pixels(0, 2), kWhite);
    EXPECT_EQ(Image.Pixels(1, 1), static_cast<std::uint32_t>(RGB(1, 2, 3)));
    EXPECT_EQ(Image.Pixels(2, 2), static_cast<std::uint32_t>(RGB(9, 8, 7)));
}

TEST(Canvas, PaletteChangeAfterDrawingTakesEffect) {
    TPixelGraphic Image;
    Image.SetSize(4, 1, bc8);
    SetPalette(Image, {RGB(0, 0, 0), RGB(255, 0, 0)});
    PGCanvasOf(Image).Painter().fillRect(QRect(0, 0, 2, 1), Qt::red);
    Image.SetPaletteColors(1, RGB(0, 255, 0));
    EXPECT_EQ(Image.Pixels(1, 0), 1u);
    EXPECT_EQ(ViewPixel(PGCanvasOf(Image), 1, 0), qRgb(0, 255, 0));
    PGCanvasOf(Image).Painter().fillRect(QRect(2, 0, 1, 1), QColor(10, 240, 10));
    EXPECT_TRUE(RectOfValue(Image, QRect(0, 0, 3, 1), 1, 0));
}

TEST(Canvas, ResizingAndEmptyingWithUnflushedDrawing) {
    // The drawing goes back into the old buffer in its own layout, whatever the new size.
    TPixelGraphic Image;
    Image.SetSize(2, 2, bc24);
    PGCanvasOf(Image).Painter().fillRect(QRect(0, 0, 2, 2), Qt::white);
    Image.SetSize(40, 30, bc8);
    EXPECT_TRUE(RectOfValue(Image, QRect(), 0, 0));
    PGCanvasOf(Image).Painter().fillRect(QRect(0, 0, 40, 30), Qt::white);
    Image.SetSize(3, 1, bc24);
    EXPECT_TRUE(RectOfValue(Image, QRect(), 0, 0));
    PGCanvasOf(Image).Painter().fillRect(QRect(0, 0, 1, 1), Qt::white);
    Image.CopyFrom(nullptr);

    // An empty image draws nothing, but its painter still measures text.
    QPainter& Painter = PGCanvasOf(Image).Painter();
    ASSERT_TRUE(Painter.isActive());
    Painter.fillRect(QRect(0, 0, 10, 10), Qt::white);
    QFont Font("Liberation Sans");
    Font.setPixelSize(20);
    Painter.setFont(Font);
    EXPECT_GT(Painter.boundingRect(QRect(0, 0, 600, 0), Qt::TextWordWrap, "Hello").height(), 15);
    Image.Flush();
    EXPECT_TRUE(Image.IsEmpty());
}

TEST(Canvas, OnlyOneCanvasOfAnImageHoldsAView) {
    TPixelGraphic Image, Other;
    Image.SetSize(3, 1, bc24);
    Other.SetSize(1, 1, bc24);
    TPGCanvas Second(Image);
    PGCanvasOf(Image).Painter().fillRect(QRect(0, 0, 1, 1), Qt::red);
    Second.Painter().fillRect(QRect(1, 0, 1, 1), Qt::green);
    EXPECT_FALSE(PGCanvasOf(Image).HandleAllocated());
    EXPECT_EQ(Image.Pixels(1, 0), kGreen); // the image's flush reaches the second canvas
    EXPECT_FALSE(Second.HandleAllocated());
    EXPECT_EQ(Image.Pixels(0, 0), kRed);

    Second.Painter().fillRect(QRect(2, 0, 1, 1), Qt::white);
    PGCanvasOf(Other).Painter().fillRect(QRect(0, 0, 1, 1), Qt::white);
    ReleaseAllCanvases();
    EXPECT_FALSE(Second.HandleAllocated());
    EXPECT_FALSE(PGCanvasOf(Other).HandleAllocated());
    EXPECT_EQ(Image.Pixels(2, 0), kWhite);
    EXPECT_EQ(Other.Pixels(0, 0), kWhite);
}

TEST(Canvas, DrawUsesTheCopyModeReportsAndMayDrawTheImageItself) {
    TPixelGraphic Source, Dest;
    Source.SetSize(2, 1, bc24);
    Source.SetPixel(0, 0, RGB(0x0F, 0xF0, 0x33));
    Source.SetPixel(1, 0, kWhite);
    Dest.SetSize(4, 2, bc24);
    Dest.SetBackGroundColor(RGB(0xFF, 0x0F, 0x11));
    Dest.Clear();
    int Changes = 0;
    Dest.OnChange = [&](TObject* Sender) { Changes += Sender == &Dest ? 1 : 100; };
    PGCanvasOf(Dest).SetCopyMode(cmSrcInvert);
    PGCanvasOf(Dest).Draw(1, 1, Source);
    EXPECT_EQ(Changes, 1);
    EXPECT_EQ(Dest.Pixels(1, 1), static_cast<std::uint32_t>(RGB(0xF0, 0xFF, 0x22)));
    EXPECT_EQ(Dest.Pixels(2, 1), static_cast<std::uint32_t>(RGB(0x00, 0xF0, 0xEE)));
    EXPECT_EQ(Dest.Pixels(1, 0), static_cast<std::uint32_t>(RGB(0xFF, 0x0F, 0x11)));

    // Drawn onto itself, the image includes drawing not yet written back.
    PGCanvasOf(Dest).SetCopyMode(cmSrcCopy);
    PGCanvasOf(Dest).Painter().fillRect(QRect(0, 0, 1, 1), Qt::black);
    PGCanvasOf(Dest).StretchDraw(QRect(0, 1, 4, 2), Dest); // row 0 onto row 1
    EXPECT_TRUE(RectOfValue(Dest, QRect(0, 0, 1, 2), 0, RGB(0xFF, 0x0F, 0x11)));
}
