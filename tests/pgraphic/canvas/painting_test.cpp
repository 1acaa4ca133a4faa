#include "pgraphic/canvas/canvas.h"
#include "pgraphic/canvas/painting.h"
#include "pgraphic/canvas/raster_op.h"
#include "pgraphic/image/pg_exceptions.h"
#include "pgraphic/image/pixel_graphic.h"

#include <QImage>
#include <QPainter>
#include <functional>
#include <gtest/gtest.h>
#include <vector>

namespace {

constexpr QRgb kGrey = 0xFF070707;

// A distinct colour for each source pixel.
QRgb SourceColor(int X, int Y) {
    return qRgb(10 + 40 * X, 20 + 100 * Y, 5 + X * Y);
}

void MakeSource(TPixelGraphic& Image, int Width, int Height) {
    Image.SetSize(Width, Height, bc24);
    for (int Y = 0; Y < Height; ++Y) {
        for (int X = 0; X < Width; ++X) {
            const QRgb C = SourceColor(X, Y);
            Image.SetPixel(X, Y, static_cast<std::uint32_t>(RGB(qRed(C), qGreen(C), qBlue(C))));
        }
    }
}

// A grey target of the given size after Paint drew on it.
QImage Painted(int Width, int Height, const std::function<void(QPainter&)>& Paint,
               QRgb Fill = kGrey) {
    QImage Result(Width, Height, QImage::Format_RGB32);
    Result.fill(Fill);
    QPainter Painter(&Result);
    Paint(Painter);
    return Result;
}

QImage Painted(TPixelGraphic& Source, int Width, int Height, const QRect& Rect) {
    return Painted(Width, Height,
                   [&](QPainter& P) { DrawToDC(Source, P, Rect, false, cmSrcCopy); });
}

QRgb At(const QImage& Image, int X, int Y) {
    return Image.pixel(X, Y) | 0xFF000000U;
}

} // namespace

TEST(Painting, TwiceTheSizeRepeatsEveryPixel) {
    TPixelGraphic Source;
    MakeSource(Source, 3, 2);
    const QImage Result = Painted(Source, 10, 8, QRect(1, 1, 6, 4));
    for (int Y = 0; Y < 8; ++Y) {
        for (int X = 0; X < 10; ++X) {
            const bool Inside = X >= 1 && X < 7 && Y >= 1 && Y < 5;
            EXPECT_EQ(At(Result, X, Y), Inside ? SourceColor((X - 1) / 2, (Y - 1) / 2) : kGrey)
                << X << ", " << Y;
        }
    }
}

TEST(Painting, OtherScalesTakeThePixelUnderEachCentre) {
    TPixelGraphic Row, Long, Column;
    MakeSource(Row, 3, 1);
    MakeSource(Long, 5, 1);
    MakeSource(Column, 1, 3);
    QImage Result = Painted(Row, 7, 1, QRect(0, 0, 7, 1));
    const std::vector<int> Wider = {0, 0, 1, 1, 1, 2, 2};
    for (int X = 0; X < 7; ++X) {
        EXPECT_EQ(At(Result, X, 0), SourceColor(Wider[X], 0)) << X;
    }
    Result = Painted(Long, 2, 1, QRect(0, 0, 2, 1));
    EXPECT_EQ(At(Result, 0, 0), SourceColor(1, 0));
    EXPECT_EQ(At(Result, 1, 0), SourceColor(3, 0));
    Result = Painted(Column, 1, 4, QRect(0, 0, 1, 4));
    const std::vector<int> Taller = {0, 1, 1, 2};
    for (int Y = 0; Y < 4; ++Y) {
        EXPECT_EQ(At(Result, 0, Y), SourceColor(0, Taller[Y])) << Y;
    }
}

TEST(Painting, NegativeExtentsMirror) {
    TPixelGraphic Source;
    MakeSource(Source, 3, 2);
    // Width -3 from x = 4 covers columns 2..4, the rightmost source column first.
    QImage Result = Painted(Source, 6, 2, QRect(4, 0, -3, 2));
    EXPECT_EQ(At(Result, 1, 0), kGrey);
    EXPECT_EQ(At(Result, 5, 1), kGrey);
    for (int X = 2; X <= 4; ++X) {
        EXPECT_EQ(At(Result, X, 0), SourceColor(4 - X, 0)) << X;
        EXPECT_EQ(At(Result, X, 1), SourceColor(4 - X, 1)) << X;
    }
    Result = Painted(Source, 3, 3, QRect(0, 1, 3, -2));
    EXPECT_EQ(At(Result, 1, 0), SourceColor(1, 1));
    EXPECT_EQ(At(Result, 1, 1), SourceColor(1, 0));
    EXPECT_EQ(At(Result, 1, 2), kGrey);
}

TEST(Painting, TransformedClippedAndHugeTargets) {
    TPixelGraphic Source, Small;
    MakeSource(Source, 3, 2);
    MakeSource(Small, 2, 2);
    QImage Result = Painted(10, 10, [&](QPainter& P) {
        P.translate(3, 2);
        P.setClipRect(QRect(0, 0, 2, 2));
        DrawToDC(Source, P, QRect(-1, -1, 6, 4), true, cmSrcCopy);
    });
    EXPECT_EQ(At(Result, 3, 2), SourceColor(0, 0));
    EXPECT_EQ(At(Result, 4, 3), SourceColor(1, 1));
    EXPECT_EQ(At(Result, 5, 2), kGrey);
    EXPECT_EQ(At(Result, 3, 4), kGrey);

    // A rectangle of 10^10 pixels: only what the target shows is scaled.
    Result = Painted(Small, 4, 4, QRect(-50000, -50000, 100000, 100000));
    EXPECT_EQ(Result,
              Painted(4, 4, [](QPainter& P) { P.fillRect(0, 0, 4, 4, SourceColor(1, 1)); }));

    // A scaling painter: Qt maps the pixels (source row 1 under the one row), not smoothed.
    Result = Painted(6, 3, [&](QPainter& P) {
        P.scale(2, 2);
        DrawToDC(Small, P, QRect(0, 0, 2, 1), true, cmSrcCopy);
    });
    for (int X = 0; X < 5; ++X) {
        EXPECT_EQ(At(Result, X, 1), X < 4 ? SourceColor(X / 2, 1) : kGrey) << X;
    }
    EXPECT_EQ(At(Result, 0, 2), kGrey);
}

namespace {

// A picture whose painters paint into another one, moved by Offset: as a widget's painter paints
// into its window's backing store.
class TRedirectedImage : public QImage {
public:
    TRedirectedImage(QImage& Target, int Width, int Height, QPoint Offset)
        : QImage(Width, Height, QImage::Format_RGB32), FTarget(Target), FOffset(Offset) {}

protected:
    QPaintDevice* redirected(QPoint* Offset) const override {
        *Offset = -FOffset;
        return &FTarget;
    }

private:
    QImage& FTarget;
    QPoint FOffset;
};

} // namespace

TEST(Painting, RedirectedPaintersPaintTheDevicesWholeArea) {
    TPixelGraphic Source;
    MakeSource(Source, 3, 2);
    QImage Window(20, 20, QImage::Format_RGB32);
    Window.fill(kGrey);
    TRedirectedImage Widget(Window, 6, 4, QPoint(13, 11));
    {
        QPainter P(&Widget);
        DrawToDC(Source, P, QRect(0, 0, 6, 4), true, cmSrcCopy);
    }
    for (int Y = 0; Y < 4; ++Y) {
        for (int X = 0; X < 6; ++X) {
            EXPECT_EQ(At(Window, 13 + X, 11 + Y), SourceColor(X / 2, Y / 2)) << X << ", " << Y;
        }
    }
    EXPECT_EQ(At(Window, 12, 11), kGrey);
}

TEST(Painting, PaletteImagesPaintThroughTheirColourTable) {
    TPixelGraphic Eight, Four, One;
    Eight.SetSize(3, 1, bc8);
    Eight.SetPaletteIdent(pSys16);
    Eight.SetPixel(0, 0, 9);
    Eight.SetPixel(1, 0, 200); // beyond 16 entries: entry 0
    Eight.SetPixel(2, 0, 15);
    QImage Result = Painted(Eight, 3, 1, QRect(0, 0, 3, 1));
    EXPECT_EQ(At(Result, 0, 0), qRgb(255, 0, 0));
    EXPECT_EQ(At(Result, 1, 0), qRgb(0, 0, 0));
    EXPECT_EQ(At(Result, 2, 0), qRgb(255, 255, 255));

    Four.SetSize(3, 1, bc4);
    Four.SetPaletteIdent(pGray16);
    Four.SetPixel(0, 0, 1);
    Four.SetPixel(1, 0, 14);
    Result = Painted(Four, 6, 1, QRect(0, 0, 6, 1));
    EXPECT_EQ(At(Result, 1, 0), qRgb(17, 17, 17));
    EXPECT_EQ(At(Result, 2, 0), qRgb(238, 238, 238));
    EXPECT_EQ(At(Result, 5, 0), qRgb(0, 0, 0));

    One.SetSize(10, 1, bc1);
    One.SetPaletteCount(2);
    One.SetPaletteColors(0, RGB(0, 0, 90));
    One.SetPaletteColors(1, RGB(200, 100, 0));
    One.SetPixel(9, 0, 1);
    Result = Painted(One, 10, 1, QRect(0, 0, 10, 1));
    EXPECT_EQ(At(Result, 8, 0), qRgb(0, 0, 90));
    EXPECT_EQ(At(Result, 9, 0), qRgb(200, 100, 0));
}

TEST(Painting, RasterOperationsKeepThePaintersState) {
    TPixelGraphic Source;
    Source.SetSize(1, 1, bc24);
    Source.SetPixel(0, 0, static_cast<std::uint32_t>(RGB(0x3C, 0x0F, 0xF0)));
    const QRgb S = 0x3C0FF0, D = 0x0F3355;
    const std::pair<std::uint32_t, QRgb> Cases[] = {
        {cmSrcCopy, S},         {cmSrcPaint, S | D},       {cmSrcAnd, S & D},
        {cmSrcInvert, S ^ D},   {cmNotSrcCopy, ~S},        {cmSrcErase, S & ~D},
        {cmMergePaint, ~S | D}, {cmNotSrcErase, ~(S | D)}, {cmDstInvert, ~D},
        {cmBlackness, 0},       {cmWhiteness, 0xFFFFFF},   {0x00AA0029, D},
    };
    for (const auto& [Op, Expected] : Cases) {
        const QImage Result = Painted(
            2, 1,
            [&](QPainter& P) {
                P.setCompositionMode(QPainter::CompositionMode_Multiply);
                P.setRenderHint(QPainter::SmoothPixmapTransform, true);
                DrawToDC(Source, P, QRect(0, 0, 1, 1), true, Op);
                EXPECT_EQ(P.compositionMode(), QPainter::CompositionMode_Multiply);
                EXPECT_TRUE(P.testRenderHint(QPainter::SmoothPixmapTransform));
            },
            0xFF000000 | D);
        EXPECT_EQ(Result.pixel(0, 0) & 0xFFFFFF, Expected & 0xFFFFFF) << std::hex << Op;
        EXPECT_EQ(Result.pixel(1, 0) & 0xFFFFFF, D) << std::hex << Op;
    }
    // Operations that involve a pattern have no composition mode.
    Painted(1, 1, [&](QPainter& P) {
        try {
            DrawToDC(Source, P, QRect(0, 0, 1, 1), true, 0x00F00021);
            ADD_FAILURE() << "pattern copy accepted";
        } catch (const EPixelGraphic& Error) {
            EXPECT_STREQ(Error.what(), "Invalid value for RasterOp");
        }
        EXPECT_EQ(P.compositionMode(), QPainter::CompositionMode_SourceOver);
    });
}

TEST(Painting, PaintToUsesThePaintersMode) {
    TPixelGraphic Source;
    Source.SetSize(1, 1, bc24);
    Source.SetPixel(0, 0, static_cast<std::uint32_t>(RGB(0xF0, 0xF0, 0xF0)));
    const auto PaintWith = [&](QPainter::CompositionMode Mode) {
        return At(Painted(1, 1,
                          [&](QPainter& P) {
                              P.setCompositionMode(Mode);
                              PaintTo(Source, P, QRect(0, 0, 1, 1));
                          }),
                  0, 0);
    };
    EXPECT_EQ(PaintWith(QPainter::CompositionMode_SourceOver), qRgb(0xF0, 0xF0, 0xF0));
    EXPECT_EQ(PaintWith(QPainter::RasterOp_SourceXorDestination), qRgb(0xF7, 0xF7, 0xF7));
    EXPECT_EQ(PaintWith(QPainter::RasterOp_SourceAndDestination), qRgb(0, 0, 0));
    EXPECT_EQ(PaintWith(QPainter::CompositionMode_Multiply), qRgb(0xF0, 0xF0, 0xF0));
}

TEST(Painting, NothingToPaintLeavesTheTargetAlone) {
    TPixelGraphic Empty, Source;
    MakeSource(Source, 2, 2);
    const QImage Result = Painted(3, 3, [&](QPainter& P) {
        DrawToDC(Empty, P, QRect(0, 0, 3, 3), true, 0x00F00021);
        PaintTo(Empty, P, QRect(0, 0, 3, 3));
        DrawToDC(Source, P, QRect(1, 1, 0, 2), true, cmSrcCopy);
        DrawToDC(Source, P, QRect(1, 1, 2, 0), true, cmSrcCopy);
    });
    EXPECT_EQ(Result, Painted(3, 3, [](QPainter&) {}));
    QPainter Inactive;
    DrawToDC(Source, Inactive, QRect(0, 0, 2, 2), true, cmSrcCopy);
}

TEST(Painting, PendingCanvasDrawingIsPainted) {
    TPixelGraphic Source;
    Source.SetSize(2, 1, bc8);
    Source.SetPaletteIdent(pSys16);
    PGCanvasOf(Source).Painter().fillRect(QRect(1, 0, 1, 1), QColor(250, 250, 0));
    const QImage Result = Painted(Source, 2, 1, QRect(0, 0, 2, 1));
    EXPECT_EQ(At(Result, 0, 0), qRgb(0, 0, 0));
    EXPECT_EQ(At(Result, 1, 0), qRgb(255, 255, 0));
    EXPECT_EQ(Source.Pixels(1, 0), 11u);
}
