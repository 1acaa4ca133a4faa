#pragma once

#include "core/events.h"
#include "core/object.h"
#include "pgraphic/canvas/raster_op.h"
#include "pgraphic/image/pixel_graphic.h"

#include <QBrush>
#include <QFont>
#include <QImage>
#include <QPainter>
#include <QPen>
#include <QPointF>
#include <QRect>
#include <cstdint>
#include <optional>

// The drawing surface of a TPixelGraphic. Drawing goes through a QPainter on a true-colour view
// of the pixels (the canvas's handle), acquired on first use. The image flushes the canvas before
// every direct access to its pixels: the pixels the drawing changed are written back (mapped to
// the nearest palette entry in palette images) and the view is dropped, so the next drawing
// starts from the current pixels and colour table. Pen, brush, font and the other settings of
// the painter carry over from one handle to the next.
//
// At most one canvas of an image holds a view at a time. A canvas must not outlive its image.
class TPGCanvas : public TObject, public TPGSurface {
public:
    explicit TPGCanvas(TPixelGraphic& Image);
    ~TPGCanvas() override;

    TPixelGraphic& Image() const { return FImage; }

    // The painter that draws into the image, with a handle acquired when there is none. A flush
    // of the image ends it: ask for it again for every run of drawing.
    QPainter& Painter();
    bool HandleAllocated() const { return FHandleAllocated; }
    // Copies the current pixels into a fresh view and begins the painter on it; another canvas
    // of the same image gives up its view first.
    void AcquireHandle();

    // Both write the drawing back and drop the view of every canvas of the image.
    void ReleaseHandle() override;
    void Flush() override;

    // The raster operation used by Draw and StretchDraw (cmSrcCopy unless set).
    void SetCopyMode(std::uint32_t Value) { FCopyMode = Value; }
    // Paints Graphic unscaled at (X, Y) / scaled into Rect with the copy mode, then Changed.
    void Draw(int X, int Y, TPixelGraphic& Graphic);
    void StretchDraw(const QRect& Rect, TPixelGraphic& Graphic);

    // Announces finished drawing through OnChange. Drawing through the painter does not announce
    // itself; call this after a run of drawing that the image's observers should see.
    void Changed();
    // The image's own canvas reports to the image's change notification.
    TNotifyEvent OnChange;

    // The view that Painter draws on when it is the painter of a canvas of Image, else none.
    static const QImage* ViewPaintedBy(const TPixelGraphic& Image, const QPainter& Painter);

private:
    friend void ReleaseCanvasesOf(const TPixelGraphic& Image);
    friend void ReleaseAllCanvases();

    // Where the view's pixels go back to: the buffer and its layout at the time of acquiring.
    struct TTarget {
        std::uint8_t* Bits = nullptr;
        int Width = 0;
        int Height = 0;
        std::uint32_t BytesPerLine = 0;
        TPGBitCount BitCount = bc24;
        QList<QRgb> ColorTable;
    };

    // Settings of the painter that outlive a handle.
    struct TPainterSettings {
        QPen Pen;
        QBrush Brush;
        QPointF BrushOrigin;
        QFont Font;
        QBrush Background;
        Qt::BGMode BackgroundMode = Qt::TransparentMode;
        QPainter::RenderHints Hints;
        QPainter::CompositionMode Mode = QPainter::CompositionMode_SourceOver;
        qreal Opacity = 1.0;
    };

    void DropHandle();
    void WriteBack(const QImage& View, const QImage& Original, const TTarget& Target);
    int IndexOf(QRgb Color, const TTarget& Target);

    TPixelGraphic& FImage;
    QImage FView;     // the pixels being drawn on
    QImage FOriginal; // of a palette image: the view as acquired, to find the changed pixels
    TTarget FTarget;
    QPainter FPainter;
    std::optional<TPainterSettings> FSettings;
    bool FHandleAllocated = false;
    std::uint32_t FCopyMode = cmSrcCopy;
};

// The canvas of Image (the image's Canvas property): created on first use with the image's
// NotifyChange as its change event and attached as the image's surface; marks drawing as pending.
// It lives here rather than on TPixelGraphic so that the image library links no Qt.
TPGCanvas& PGCanvasOf(TPixelGraphic& Image);

// Writes back and drops the view of every canvas of Image.
void ReleaseCanvasesOf(const TPixelGraphic& Image);
// Writes back and drops every view (at shutdown).
void ReleaseAllCanvases();
