// The image view control: painting the client area.

#include "pgraphic/canvas/painting.h"
#include "pgraphic/image/pixel_graphic.h"
#include "pgraphic/view/image_view/mirrored_copy.h"
#include "pgraphic/view/image_view/pg_image.h"
#include "pgraphic/view/progress_clock.h"
#include "pgraphic/view/image_view/tiling.h"
#include "pgraphic/view/transparent/transparent_control.h"
#include "pgraphic/view/view_rect_qt.h"
#include "platform/qt/qt_color.h"

#include <QPaintEvent>
#include <QPainter>
#include <QScopedValueRollback>
#include <algorithm>
#include <array>
#include <vector>

namespace {

// The rectangle a tile's picture is painted into: turned around along each mirrored axis, which
// paints the picture mirrored.
QRect MirroredRect(const TPGRect& Tile, TPGMirror Mirror) {
    int Left = Tile.Left;
    int Right = Tile.Right;
    int Top = Tile.Top;
    int Bottom = Tile.Bottom;
    if ((Mirror & mHorizontal) != 0) {
        Left = Tile.Right - 1;
        Right = Tile.Left - 1;
    }
    if ((Mirror & mVertical) != 0) {
        Top = Tile.Bottom - 1;
        Bottom = Tile.Top - 1;
    }
    return {Left, Top, Right - Left, Bottom - Top};
}

} // namespace

void TPGImage::Invalidate() {
    viewport()->update();
    // Controls that let the picture show through repaint over its new look.
    InvalidateTransparentChildren(*viewport());
    InvalidateTransparentChildren(*this);
}

void TPGImage::paintEvent(QPaintEvent* Event) {
    if (FArranging) {
        return;
    }
    QPainter Painter(viewport());
    const QScopedValueRollback CanvasScope(FCanvas, &Painter);
    FPaintRegion = Event->region();
    Paint();
}

void TPGImage::Paint() {
    if (FArranging || FCanvas == nullptr) {
        return;
    }
    QPainter& Painter = *FCanvas;
    const TPGRect Display = BoxOnClient();
    const bool UseCopy = CheckPaintPixelGraphic();
    TPixelGraphic* Shown = UseCopy ? FPaintPixelGraphic.get() : FPixelGraphic.get();
    if (OnPainting) {
        OnPainting(this);
    }
    try {
        if (FTiling == tNone || Shown == nullptr) {
            PaintMargins(Painter, Display);
        }
        if (Shown != nullptr) {
            PaintTiles(Painter, *Shown, Display, FPaintRegion);
            if (FClocksOverPicture) {
                PaintClocks(Painter, Display);
            }
        } else {
            PaintEmptyBox(Painter, Display);
        }
    } catch (...) {
        if (OnPaint) {
            OnPaint(this);
        }
        throw;
    }
    if (OnPaint) {
        OnPaint(this);
    }
}

void TPGImage::PaintMargins(QPainter& Painter, const TPGRect& Display) {
    const QColor Fill = ToQColor(FColor);
    const int W = viewport()->width();
    const int H = viewport()->height();
    if (Display.Top > 0) {
        Painter.fillRect(0, 0, W, Display.Top, Fill);
    }
    if (Display.Bottom < H) {
        Painter.fillRect(0, Display.Bottom, W, H - Display.Bottom, Fill);
    }
    if (Display.Left > 0) {
        Painter.fillRect(0, 0, Display.Left, H, Fill);
    }
    if (Display.Right < W) {
        Painter.fillRect(Display.Right, 0, W - Display.Right, H, Fill);
    }
}

void TPGImage::PaintTiles(QPainter& Painter, TPixelGraphic& Image, const TPGRect& Display,
                          const QRegion& Region) {
    const int ClientW = viewport()->width();
    const int ClientH = viewport()->height();
    const std::vector<TPGTile> Visible =
        PGVisibleTiles(Display, ClientW, ClientH, ToRect(Region.boundingRect()), FTiling,
                       FFlipHorizontal, FFlipVertical);
    if (Visible.empty()) {
        return;
    }
    // A mirrored copy pays off only when several tiles show it; otherwise the picture is painted
    // into the turned-around rectangle.
    const std::array<int, 4> Counts = PGMirrorCounts(Visible);
    std::array<std::unique_ptr<TPixelGraphic>, 4> Copies;
    std::array<TPixelGraphic*, 4> Sources{&Image, &Image, &Image, &Image};
    for (int Mirror = mHorizontal; Mirror <= mBoth; ++Mirror) {
        const auto I = static_cast<std::size_t>(Mirror);
        if (Counts[I] > kPGMirrorCopyThreshold) {
            Copies[I] =
                PGMirroredCopy(Image, (Mirror & mHorizontal) != 0, (Mirror & mVertical) != 0);
            Sources[I] = Copies[I].get();
        }
    }
    // Each rectangle of the region is painted on its own, so that a region of thin strips scales
    // only what the strips show.
    std::vector<const TPixelGraphic*> Realised;
    for (const QRect& Part : Region) {
        Painter.save();
        Painter.setClipRect(Part, Qt::IntersectClip);
        const TPGRect Clip = ToRect(Part);
        for (const TPGTile& Tile : Visible) {
            if (Tile.Rect.Bottom < Clip.Top || Tile.Rect.Right < Clip.Left ||
                Clip.Bottom < Tile.Rect.Top || Clip.Right < Tile.Rect.Left) {
                continue;
            }
            const auto I = static_cast<std::size_t>(Tile.Mirror);
            TPixelGraphic& Source = *Sources[I];
            // The palette is realised once per picture and paint.
            const bool First =
                std::find(Realised.begin(), Realised.end(), &Source) == Realised.end();
            if (First) {
                Realised.push_back(&Source);
            }
            Source.SetSkipRealizePalette(!First);
            const bool Direct = Copies[I] != nullptr || Tile.Mirror == mNone;
            PaintTo(Source, Painter,
                    Direct ? ToQRect(Tile.Rect) : MirroredRect(Tile.Rect, Tile.Mirror));
        }
        Painter.restore();
    }
}

void TPGImage::PaintEmptyBox(QPainter& Painter, const TPGRect& Display) {
    if (Display.Width() <= 0 || Display.Height() <= 0) {
        return;
    }
    // One rectangle: the outline on its outer pixels, the inside filled.
    Painter.save();
    Painter.setPen(QPen(ToQColor(FPicBoxFrameColor), 0));
    Painter.setBrush(ToQColor(FPicBox->Color()));
    Painter.drawRect(Display.Left, Display.Top, Display.Width() - 1, Display.Height() - 1);
    Painter.restore();
    PaintClocks(Painter, Display);
}

void TPGImage::PaintClocks(QPainter& Painter, const TPGRect& Display) {
    if (!FProgressClockVisible) {
        return;
    }
    const QColor Line = ToQColor(FProgressClockLineColor);
    const QColor Face = ToQColor(FProgressClockBkColor);
    for (const TPGPoint& At : PGProgressClockPositions(Display, FProgress5Clocks)) {
        PGDrawProgressClock(Painter, At.X, At.Y, FProgressStep, FProgressPercent, Line, Face);
    }
}

void TPGImage::ProgressArrived(int Step, int Percent) {
    FProgressStep = Step;
    FProgressPercent = Percent;
    if (!FProgressClockVisible) {
        return;
    }
    // The clocks are redrawn at once, also over a kept old copy.
    QRegion Clocks;
    for (const TPGPoint& At : PGProgressClockPositions(BoxOnClient(), FProgress5Clocks)) {
        Clocks += QRect(At.X, At.Y, kPGClockSize, kPGClockSize);
    }
    if (Clocks.isEmpty()) {
        return;
    }
    const QScopedValueRollback OverPicture(FClocksOverPicture, true);
    viewport()->repaint(Clocks);
}
