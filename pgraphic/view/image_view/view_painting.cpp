#include "pgraphic/view/image_view/view_painting.h"

#include "pgraphic/canvas/painting.h"
#include "pgraphic/image/pixel_graphic.h"
#include "pgraphic/view/image_view/mirrored_copy.h"
#include "pgraphic/view/image_view/tiling.h"
#include "pgraphic/view/view_rect_qt.h"
#include "platform/qt/qt_color.h"

#include <QPainter>
#include <QRegion>
#include <algorithm>
#include <array>
#include <memory>
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

void PGPaintMargins(QPainter& Painter, const TPGRect& Display, QSize Client, const QColor& Fill) {
    const int W = Client.width();
    const int H = Client.height();
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

void PGPaintTiles(QPainter& Painter, TPixelGraphic& Image, const TPGRect& Display, QSize Client,
                  const QRegion& Region, TTiling Tiling, bool FlipHorizontal, bool FlipVertical) {
    const std::vector<TPGTile> Visible =
        PGVisibleTiles(Display, Client.width(), Client.height(), ToRect(Region.boundingRect()),
                       Tiling, FlipHorizontal, FlipVertical);
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

void PGPaintEmptyBox(QPainter& Painter, const TPGRect& Display, TColor FrameColor, TColor Color) {
    // One rectangle: the outline on its outer pixels, the inside filled.
    Painter.save();
    Painter.setPen(QPen(ToQColor(FrameColor), 0));
    Painter.setBrush(ToQColor(Color));
    Painter.drawRect(Display.Left, Display.Top, Display.Width() - 1, Display.Height() - 1);
    Painter.restore();
}
