// Painting an image, scaled with nearest pixels, onto a QPainter.

#include "pgraphic/canvas/painting.h"

#include "pgraphic/canvas/canvas.h"
#include "pgraphic/canvas/qimage_pixels.h"
#include "pgraphic/canvas/raster_op.h"
#include "pgraphic/image/pixel_graphic.h"

#include <QPaintDevice>
#include <QTransform>
#include <cmath>
#include <cstdlib>

namespace {

// Keeps the painter's state as it was, also when drawing fails.
class TPainterStateGuard {
public:
    explicit TPainterStateGuard(QPainter& Painter) : FPainter(Painter) { FPainter.save(); }
    TPainterStateGuard(const TPainterStateGuard&) = delete;
    TPainterStateGuard& operator=(const TPainterStateGuard&) = delete;
    ~TPainterStateGuard() { FPainter.restore(); }

private:
    QPainter& FPainter;
};

// Draws Source scaled with nearest pixels into Rect. A negative width or height mirrors the
// picture; it then covers x + width + 1 .. x (y likewise), the columns left of x inclusive.
void StretchDraw(QPainter& Painter, const TPGPixelSource& Source, const QRect& Rect,
                 QPainter::CompositionMode Mode) {
    const int W = Rect.width();
    const int H = Rect.height();
    if (W == 0 || H == 0) {
        return;
    }
    const bool MirrorX = W < 0;
    const bool MirrorY = H < 0;
    const QRect Dest(MirrorX ? Rect.x() + W + 1 : Rect.x(), MirrorY ? Rect.y() + H + 1 : Rect.y(),
                     std::abs(W), std::abs(H));

    const TPainterStateGuard Guard(Painter);
    Painter.setCompositionMode(Mode);
    Painter.setRenderHint(QPainter::SmoothPixmapTransform, false);

    const QTransform& Transform = Painter.deviceTransform();
    const QPaintDevice* Device = Painter.device();
    const bool Shifted = Transform.type() <= QTransform::TxTranslate &&
                         Transform.dx() == std::floor(Transform.dx()) &&
                         Transform.dy() == std::floor(Transform.dy()) && Device != nullptr &&
                         Device->devicePixelRatio() == 1.0;
    if (Shifted) {
        // Device pixels are logical pixels moved by whole pixels: only the part that can show
        // is scaled, exactly by the rule of PGScaledImage.
        // The device's own area in logical pixels. A widget's painter paints into its window,
        // moved by the widget's place in it: that redirection is part of the device transform but
        // not of the widget's area.
        const QTransform Logical = Painter.combinedTransform();
        const int Dx = static_cast<int>(Logical.dx());
        const int Dy = static_cast<int>(Logical.dy());
        QRect Visible = Dest & QRect(-Dx, -Dy, Device->width(), Device->height());
        if (Painter.hasClipping()) {
            Visible &= Painter.clipBoundingRect().toAlignedRect();
        }
        if (Visible.isEmpty()) {
            return;
        }
        const QImage Part = PGScaledImage(Source, Dest.size(), Visible.translated(-Dest.topLeft()),
                                          MirrorX, MirrorY);
        Painter.drawImage(Visible.topLeft(), Part);
    } else {
        // Rotated, scaled or fractional transforms: Qt maps the whole picture, still without
        // smoothing.
        const QImage Whole = PGWholeImage(Source).mirrored(MirrorX, MirrorY);
        Painter.drawImage(QRectF(Dest), Whole, QRectF(Whole.rect()));
    }
}

} // namespace

void DrawToDC(TPixelGraphic& Image, QPainter& Painter, const QRect& Rect, bool /*Background*/,
              std::uint32_t RasterOp) {
    // Background only chose how a hardware palette was realised; there is none here.
    if (Image.Width() <= 0 || Image.Height() <= 0 || Image.IsEmpty()) {
        return;
    }
    const QPainter::CompositionMode Mode = PGCompositionModeOf(RasterOp);
    if (!Painter.isActive()) {
        return;
    }
    // Painted onto its own canvas, the image is read from the view, which holds the latest
    // drawing; flushing would end the very painter drawn with.
    if (const QImage* View = TPGCanvas::ViewPaintedBy(Image, Painter)) {
        const QImage Copy = View->copy();
        StretchDraw(Painter, PGPixelSource(Copy), Rect, Mode);
        return;
    }
    // ScanLines flushes pending drawing first.
    const std::uint8_t* Bits = Image.ScanLines();
    StretchDraw(Painter,
                PGPixelSource(Bits, Image.Width(), Image.Height(), Image.BytesPerLine(),
                              Image.BitCount(), PGColorTable(Image)),
                Rect, Mode);
}

void PaintTo(TPixelGraphic& Image, QPainter& Painter, const QRect& Rect) {
    DrawToDC(Image, Painter, Rect, true, PGRasterOpOf(Painter.compositionMode()));
}
