#include "pgraphic/image/canvas.h"
#include "pgraphic/image/pixel_graphic.h"

#include <QFont>
#include <QImage>
#include <QPainter>
#include <gtest/gtest.h>

namespace {

constexpr TColor kRed = RGB(255, 0, 0);
constexpr TColor kGreen = RGB(0, 255, 0);
constexpr TColor kWhite = RGB(255, 255, 255);

QColor Qc(TColor C) {
    return QColor(GetRValue(C), GetGValue(C), GetBValue(C));
}

// A palette image whose entries are the given colours.
void SetPalette(TPixelGraphic& Image, std::initializer_list<TColor> Colors) {
    Image.SetPaletteCount(static_cast<int>(Colors.size()));
    int I = 0;
    for (const TColor C : Colors) {
        Image.SetPaletteColors(I++, C);
    }
}

// The pixels (raw values) inside Rect equal Inside, all others Outside.
::testing::AssertionResult RectOfValue(const TPixelGraphic& Image, const QRect& Rect,
                                       std::uint32_t Inside, std::uint32_t Outside) {
    for (int Y = 0; Y < Image.Height(); ++Y) {
        for (int X = 0; X < Image.Width(); ++X) {
            const std::uint32_t Expected = Rect.contains(X, Y) ? Inside : Outside;
            if (Image.Pixels(X, Y) != Expected) {
                return ::testing::AssertionFailure()
                       << "pixel (" << X << ", " << Y << ") is " << std::hex << Image.Pixels(X, Y)
                       << ", expected " << Expected;
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
    Image.Canvas().Painter().fillRect(QRect(2, 1, 4, 3), Qc(RGB(10, 20, 30)));
    EXPECT_TRUE(RectOfValue(Image, QRect(2, 1, 4, 3), RGB(10, 20, 30), 0));
    // Blue, green, red in the bottom-up rows of the buffer.
    const std::uint8_t* Row = Image.ScanLine(1);
    EXPECT_EQ(Row[6], 30);
    EXPECT_EQ(Row[7], 20);
    EXPECT_EQ(Row[8], 10);
    EXPECT_EQ(Row, Image.ScanLines() + 5 * Image.BytesPerLine());
}

TEST(Canvas, TextLandsInBufferWithinItsBounds) {
    for (const TPGBitCount Format : {bc24, bc8}) {
        TPixelGraphic Image;
        Image.SetSize(80, 40, Format);
        if (Format == bc8) {
            Image.SetPaletteIdent(pGray256);
        }
        Image.SetBackGroundColor(kWhite);
        Image.Clear();
        QPainter& Painter = Image.Canvas().Painter();
        QFont Font("Liberation Sans");
        Font.setPixelSize(24);
        Painter.setFont(Font);
        Painter.setPen(Qt::black);
        const QRect Box(0, 0, 80, 40);
        const QRect Bounds = Painter.boundingRect(Box, Qt::AlignHCenter, "Wo");
        Painter.drawText(Box, Qt::AlignHCenter, "Wo");

        const std::uint32_t White = Format == bc24 ? static_cast<std::uint32_t>(kWhite) : 255;
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
        EXPECT_EQ(Image.Pixels(Bounds.center().x(), 38), White);
    }
}

TEST(Canvas, PaletteImagesGetNearestIndicesAndKeepUntouchedOnes) {
    TPixelGraphic Image;
    Image.SetSize(6, 4, bc8);
    // Entries 0 and 2 are both black: an untouched pixel must keep the index it has.
    SetPalette(Image, {RGB(0, 0, 0), kWhite, RGB(0, 0, 0), kRed});
    for (int X = 0; X < 6; ++X) {
        Image.SetPixel(X, 0, 2);
        Image.SetPixel(X, 3, 1);
    }
    Image.Canvas().Painter().fillRect(QRect(1, 1, 3, 3), QColor(240, 30, 20));
    for (int X = 0; X < 6; ++X) {
        EXPECT_EQ(Image.Pixels(X, 0), 2u) << X;
        EXPECT_EQ(Image.Pixels(X, 1), X >= 1 && X <= 3 ? 3u : 0u) << X;
        EXPECT_EQ(Image.Pixels(X, 3), X >= 1 && X <= 3 ? 3u : 1u) << X;
    }
}

TEST(Canvas, OneAndFourBitImages) {
    TPixelGraphic Mono;
    Mono.SetSize(11, 3, bc1);
    Mono.SetPaletteIdent(pBlackWhite);
    Mono.Canvas().Painter().fillRect(QRect(3, 1, 7, 1), Qt::white);
    EXPECT_TRUE(RectOfValue(Mono, QRect(3, 1, 7, 1), 1, 0));

    TPixelGraphic Sys;
    Sys.SetSize(5, 5, bc4);
    Sys.SetPaletteIdent(pSys16);
    Sys.Canvas().Painter().fillRect(QRect(1, 2, 3, 2), QColor(0, 0, 250));
    EXPECT_TRUE(RectOfValue(Sys, QRect(1, 2, 3, 2), 12, 0));

    // A palette longer than the format holds: only the entries the colour table shows count.
    TPixelGraphic Long;
    Long.SetSize(3, 1, bc4);
    Long.SetPaletteCount(20);
    Long.SetPaletteColors(5, RGB(0, 0, 200));
    Long.SetPaletteColors(18, RGB(0, 0, 255));
    Long.Canvas().Painter().fillRect(QRect(0, 0, 3, 1), QColor(0, 0, 255));
    EXPECT_EQ(Long.Pixels(1, 0), 5u);
}

TEST(Canvas, EmptyOrShortPaletteShowsEntryZero) {
    TPixelGraphic Image;
    Image.SetSize(4, 2, bc8);
    SetPalette(Image, {RGB(1, 2, 3), kRed});
    Image.SetPixel(0, 0, 200); // beyond the palette: the colour table shows entry 0 there
    Image.SetPixel(1, 0, 1);
    TPGCanvas& Canvas = Image.Canvas();
    EXPECT_EQ(ViewPixel(Canvas, 0, 0), qRgb(1, 2, 3));
    EXPECT_EQ(ViewPixel(Canvas, 1, 0), qRgb(255, 0, 0));

    TPixelGraphic Bare;
    Bare.SetSize(4, 2, bc8);
    Bare.SetPixel(0, 0, 7);
    EXPECT_EQ(ViewPixel(Bare.Canvas(), 0, 0), qRgb(0, 0, 0));
    Bare.Canvas().Painter().fillRect(QRect(0, 0, 2, 1), Qt::white);
    EXPECT_EQ(Bare.Pixels(0, 0), 0u);
    EXPECT_EQ(Bare.Pixels(1, 0), 0u);
}

TEST(Canvas, DirectPixelChangesAreSeenByTheNextDrawing) {
    TPixelGraphic Image;
    Image.SetSize(4, 4, bc24);
    QPainter* Painter = &Image.Canvas().Painter();
    Painter->fillRect(QRect(0, 0, 4, 1), Qc(kRed));
    Image.SetPixel(0, 3, static_cast<std::uint32_t>(kGreen)); // flushes the drawing first
    EXPECT_FALSE(Image.Canvas().HandleAllocated());
    EXPECT_EQ(Image.Pixels(2, 0), static_cast<std::uint32_t>(kRed));

    // Inverting reads the destination: the new view holds the pixel set directly.
    Painter = &Image.Canvas().Painter();
    Painter->setCompositionMode(QPainter::RasterOp_NotDestination);
    Painter->fillRect(QRect(0, 2, 1, 2), Qt::black);
    EXPECT_EQ(Image.Pixels(0, 3), static_cast<std::uint32_t>(RGB(255, 0, 255)));
    EXPECT_EQ(Image.Pixels(0, 2), static_cast<std::uint32_t>(kWhite));
    EXPECT_EQ(Image.Pixels(0, 0), static_cast<std::uint32_t>(kRed));
}

TEST(Canvas, PainterSettingsOutliveTheHandle) {
    TPixelGraphic Image;
    Image.SetSize(5, 5, bc24);
    QPainter& Painter = Image.Canvas().Painter();
    Painter.setPen(QPen(QColor(1, 2, 3), 1));
    Painter.setBrush(QColor(9, 8, 7));
    QFont Font("Liberation Serif");
    Font.setPixelSize(31);
    Painter.setFont(Font);
    Image.Pixels(0, 0);
    QPainter& Again = Image.Canvas().Painter();
    EXPECT_EQ(Again.pen().color(), QColor(1, 2, 3));
    EXPECT_EQ(Again.brush().color(), QColor(9, 8, 7));
    EXPECT_EQ(Again.font().pixelSize(), 31);
    Again.drawRect(QRect(1, 1, 2, 2));
    EXPECT_EQ(Image.Pixels(1, 1), static_cast<std::uint32_t>(RGB(1, 2, 3)));
    EXPECT_EQ(Image.Pixels(2, 2), static_cast<std::uint32_t>(RGB(9, 8, 7)));
}

TEST(Canvas, PaletteChangeAfterDrawingTakesEffect) {
    TPixelGraphic Image;
    Image.SetSize(4, 1, bc8);
    SetPalette(Image, {RGB(0, 0, 0), kRed});
    Image.Canvas().Painter().fillRect(QRect(0, 0, 2, 1), Qt::red);
    Image.SetPaletteColors(1, kGreen); // releases the view: drawing so far is in the buffer
    EXPECT_EQ(Image.Pixels(1, 0), 1u);
    TPGCanvas& Canvas = Image.Canvas();
    EXPECT_EQ(ViewPixel(Canvas, 1, 0), qRgb(0, 255, 0));
    Canvas.Painter().fillRect(QRect(2, 0, 1, 1), QColor(10, 240, 10));
    EXPECT_EQ(Image.Pixels(2, 0), 1u);
    EXPECT_EQ(Image.Pixels(3, 0), 0u);
}

TEST(Canvas, ResizingWithUnflushedDrawing) {
    // The drawing goes back into the old buffer in its own layout, whatever the new size.
    TPixelGraphic Image;
    Image.SetSize(2, 2, bc24);
    Image.Canvas().Painter().fillRect(QRect(0, 0, 2, 2), Qt::white);
    Image.SetSize(40, 30, bc8);
    EXPECT_EQ(Image.Pixels(39, 29), 0u);
    Image.Canvas().Painter().fillRect(QRect(0, 0, 40, 30), Qt::white);
    Image.SetSize(3, 1, bc24);
    EXPECT_EQ(Image.Pixels(2, 0), 0u);
    Image.Canvas().Painter().fillRect(QRect(0, 0, 1, 1), Qt::white);
    Image.CopyFrom(nullptr);
    EXPECT_TRUE(Image.IsEmpty());
}

TEST(Canvas, EmptyImageDrawsNothingButMeasures) {
    TPixelGraphic Image;
    QPainter& Painter = Image.Canvas().Painter();
    EXPECT_TRUE(Painter.isActive());
    Painter.fillRect(QRect(0, 0, 10, 10), Qt::white);
    QFont Font("Liberation Sans");
    Font.setPixelSize(20);
    Painter.setFont(Font);
    EXPECT_GT(Painter.boundingRect(QRect(0, 0, 600, 0), Qt::TextWordWrap, "Hello").height(), 15);
    Image.Flush();
    EXPECT_TRUE(Image.IsEmpty());
}

TEST(Canvas, OnlyOneCanvasOfAnImageHoldsAView) {
    TPixelGraphic Image;
    Image.SetSize(3, 1, bc24);
    TPGCanvas Second(Image);
    Image.Canvas().Painter().fillRect(QRect(0, 0, 1, 1), Qt::red);
    Second.Painter().fillRect(QRect(1, 0, 1, 1), Qt::green);
    EXPECT_FALSE(Image.Canvas().HandleAllocated());
    EXPECT_TRUE(Second.HandleAllocated());
    // The image's own flush reaches the second canvas too.
    EXPECT_EQ(Image.Pixels(1, 0), static_cast<std::uint32_t>(kGreen));
    EXPECT_FALSE(Second.HandleAllocated());
    EXPECT_EQ(Image.Pixels(0, 0), static_cast<std::uint32_t>(kRed));

    Second.Painter().fillRect(QRect(2, 0, 1, 1), Qt::white);
    TPixelGraphic Other;
    Other.SetSize(1, 1, bc24);
    Other.Canvas().Painter().fillRect(QRect(0, 0, 1, 1), Qt::white);
    ReleaseAllCanvases();
    EXPECT_FALSE(Second.HandleAllocated());
    EXPECT_FALSE(Other.Canvas().HandleAllocated());
    EXPECT_EQ(Image.Pixels(2, 0), static_cast<std::uint32_t>(kWhite));
    EXPECT_EQ(Other.Pixels(0, 0), static_cast<std::uint32_t>(kWhite));
}

TEST(Canvas, ChangeEventReachesTheImage) {
    TPixelGraphic Image;
    Image.SetSize(2, 2, bc24);
    int Changes = 0;
    Image.OnChange = [&](TObject* Sender) {
        EXPECT_EQ(Sender, &Image);
        ++Changes;
    };
    Image.Canvas().Changed();
    EXPECT_EQ(Changes, 1);
    Image.BeginUpdate();
    Image.Canvas().Changed();
    EXPECT_EQ(Changes, 1);
    Image.EndUpdate();
    EXPECT_EQ(Changes, 2);
    TPixelGraphic Source;
    Source.SetSize(1, 1, bc24);
    Image.Canvas().Draw(0, 0, Source);
    EXPECT_EQ(Changes, 3);
}

TEST(Canvas, DrawUsesTheCopyModeAndMayDrawTheImageItself) {
    TPixelGraphic Source;
    Source.SetSize(2, 1, bc24);
    Source.SetPixel(0, 0, static_cast<std::uint32_t>(RGB(0x0F, 0xF0, 0x33)));
    Source.SetPixel(1, 0, static_cast<std::uint32_t>(kWhite));
    TPixelGraphic Dest;
    Dest.SetSize(4, 2, bc24);
    Dest.SetBackGroundColor(RGB(0xFF, 0x0F, 0x11));
    Dest.Clear();
    Dest.Canvas().SetCopyMode(cmSrcInvert);
    Dest.Canvas().Draw(1, 1, Source);
    EXPECT_EQ(Dest.Pixels(1, 1), static_cast<std::uint32_t>(RGB(0xF0, 0xFF, 0x22)));
    EXPECT_EQ(Dest.Pixels(2, 1), static_cast<std::uint32_t>(RGB(0x00, 0xF0, 0xEE)));
    EXPECT_EQ(Dest.Pixels(1, 0), static_cast<std::uint32_t>(RGB(0xFF, 0x0F, 0x11)));

    // The image drawn onto itself, including drawing not yet written back.
    Dest.Canvas().SetCopyMode(cmSrcCopy);
    Dest.Canvas().Painter().fillRect(QRect(0, 0, 1, 1), Qt::black);
    Dest.Canvas().StretchDraw(QRect(0, 1, 4, 2), Dest); // row 0 onto row 1
    EXPECT_EQ(Dest.Pixels(0, 1), 0u);
    for (int X = 1; X < 4; ++X) {
        EXPECT_EQ(Dest.Pixels(X, 1), static_cast<std::uint32_t>(RGB(0xFF, 0x0F, 0x11))) << X;
    }
}
