#include "pgraphic/canvas/canvas.h"

#include "pgraphic/canvas/painting.h"
#include "pgraphic/canvas/qimage_pixels.h"
#include "pgraphic/image/pg_exceptions.h"
#include "pgraphic/image/row_pixels.h"

#include <algorithm>
#include <limits>
#include <mutex>
#include <utility>
#include <vector>

namespace {

// Dots per metre of a view: 96 pixels per inch, so point sizes give the same pixels everywhere.
constexpr int kViewDotsPerMeter = 3780;

// Every canvas that holds a view, oldest first. Allocated once and never freed, so canvases of
// images that outlive static destruction can still remove themselves.
struct TCanvasList {
    std::mutex Lock;
    std::vector<TPGCanvas*> Items;
};

TCanvasList& Canvases() {
    static auto* List = new TCanvasList;
    return *List;
}

void AddCanvas(TPGCanvas* Canvas) {
    TCanvasList& List = Canvases();
    const std::lock_guard Guard(List.Lock);
    List.Items.push_back(Canvas);
}

void RemoveCanvas(TPGCanvas* Canvas) {
    TCanvasList& List = Canvases();
    const std::lock_guard Guard(List.Lock);
    std::erase(List.Items, Canvas);
}

// The newest listed canvas that Match accepts, or none.
template <typename TMatch>
TPGCanvas* LastCanvas(TMatch Match) {
    TCanvasList& List = Canvases();
    const std::lock_guard Guard(List.Lock);
    const auto It = std::find_if(List.Items.rbegin(), List.Items.rend(), Match);
    return It == List.Items.rend() ? nullptr : *It;
}

} // namespace

// --- The image's canvas ------------------------------------------------------------------------

TPGCanvas& PGCanvasOf(TPixelGraphic& Image) {
    auto* Result = dynamic_cast<TPGCanvas*>(Image.Surface());
    if (Result == nullptr) {
        auto Created = std::make_unique<TPGCanvas>(Image);
        Created->OnChange = [&Image](TObject* Sender) { Image.NotifyChange(Sender); };
        Result = Created.get();
        Image.SetSurface(std::move(Created));
    }
    Image.SetCanvasPending();
    return *Result;
}

// --- TPGCanvas ---------------------------------------------------------------------------------

TPGCanvas::TPGCanvas(TPixelGraphic& Image) : FImage(Image) {}

TPGCanvas::~TPGCanvas() {
    DropHandle();
}

QPainter& TPGCanvas::Painter() {
    AcquireHandle();
    return FPainter;
}

void TPGCanvas::AcquireHandle() {
    if (FHandleAllocated) {
        return;
    }
    ReleaseCanvasesOf(FImage);
    // The image flushes only its own canvas; that one releases every canvas of the image.
    if (dynamic_cast<TPGCanvas*>(FImage.Surface()) == nullptr) {
        PGCanvasOf(FImage);
    }

    TTarget Target;
    QImage View;
    if (FImage.IsEmpty()) {
        // Drawing on an empty image changes nothing, but the painter still measures text.
        View = QImage(1, 1, QImage::Format_RGB32);
        View.fill(Qt::black);
    } else {
        Target.Bits = UnflushedBits(FImage);
        Target.Width = FImage.Width();
        Target.Height = FImage.Height();
        Target.BytesPerLine = FImage.BytesPerLine();
        Target.BitCount = FImage.BitCount();
        Target.ColorTable = PGColorTable(FImage);
        View = PGWholeImage(PGPixelSource(Target.Bits, Target.Width, Target.Height,
                                          Target.BytesPerLine, Target.BitCount, Target.ColorTable));
        if (View.format() != QImage::Format_RGB32) {
            View = View.convertToFormat(QImage::Format_RGB32);
        }
    }
    View.setDotsPerMeterX(kViewDotsPerMeter);
    View.setDotsPerMeterY(kViewDotsPerMeter);
    // A true-colour view goes back to the very bytes it came from; only a palette image needs
    // the view as acquired, to tell the pixels the drawing changed from those it did not.
    const bool KeepOriginal = Target.Bits != nullptr && Target.BitCount != bc24;
    QImage Original = KeepOriginal ? View.copy() : QImage();
    if (View.isNull() || (KeepOriginal && Original.isNull())) {
        throw EPixelGraphic(TPGLangStrId::Failed, "AcquireHandle");
    }

    FView = std::move(View);
    FOriginal = std::move(Original);
    FTarget = std::move(Target);
    if (!FPainter.begin(&FView)) {
        FView = QImage();
        FOriginal = QImage();
        FTarget = TTarget();
        throw EPixelGraphic(TPGLangStrId::Failed, "AcquireHandle");
    }
    if (FSettings) {
        FPainter.setPen(FSettings->Pen);
        FPainter.setBrush(FSettings->Brush);
        FPainter.setBrushOrigin(FSettings->BrushOrigin);
        FPainter.setFont(FSettings->Font);
        FPainter.setBackground(FSettings->Background);
        FPainter.setBackgroundMode(FSettings->BackgroundMode);
        FPainter.setRenderHints(FPainter.renderHints(), false);
        FPainter.setRenderHints(FSettings->Hints, true);
        FPainter.setCompositionMode(FSettings->Mode);
        FPainter.setOpacity(FSettings->Opacity);
    }
    FHandleAllocated = true;
    AddCanvas(this);
    FImage.SetCanvasPending();
}

void TPGCanvas::DropHandle() {
    if (!FHandleAllocated) {
        return;
    }
    FSettings = TPainterSettings{
        FPainter.pen(),         FPainter.brush(),           FPainter.brushOrigin(),
        FPainter.font(),        FPainter.background(),      FPainter.backgroundMode(),
        FPainter.renderHints(), FPainter.compositionMode(), FPainter.opacity()};
    FPainter.end();
    RemoveCanvas(this);
    FHandleAllocated = false;
    const QImage View = std::exchange(FView, QImage());
    const QImage Original = std::exchange(FOriginal, QImage());
    const TTarget Target = std::exchange(FTarget, TTarget());
    WriteBack(View, Original, Target);
}

void TPGCanvas::ReleaseHandle() {
    ReleaseCanvasesOf(FImage);
}

void TPGCanvas::Flush() {
    ReleaseCanvasesOf(FImage);
}

// Writes the drawing into the buffer the view was taken from, using the layout of that time: the
// image may already carry its next size while it flushes. A true-colour view is written whole
// (its untouched pixels are the bytes they came from); of a palette image only the pixels the
// drawing changed are mapped to palette entries.
void TPGCanvas::WriteBack(const QImage& View, const QImage& Original, const TTarget& Target) {
    if (Target.Bits == nullptr || Target.Bits != UnflushedBits(FImage)) {
        return;
    }
    for (int Y = 0; Y < Target.Height; ++Y) {
        const auto* Drawn = reinterpret_cast<const QRgb*>(View.constScanLine(Y));
        std::uint8_t* Row =
            Target.Bits + static_cast<std::size_t>(Target.Height - 1 - Y) * Target.BytesPerLine;
        if (Target.BitCount == bc24) {
            for (int X = 0; X < Target.Width; ++X, Row += 3) {
                Row[0] = static_cast<std::uint8_t>(qBlue(Drawn[X]));
                Row[1] = static_cast<std::uint8_t>(qGreen(Drawn[X]));
                Row[2] = static_cast<std::uint8_t>(qRed(Drawn[X]));
            }
            continue;
        }
        const auto* Before = reinterpret_cast<const QRgb*>(Original.constScanLine(Y));
        for (int X = 0; X < Target.Width; ++X) {
            const QRgb Color = Drawn[X];
            if (((Color ^ Before[X]) & 0x00FFFFFFU) != 0) {
                SetRowPixel(Row, static_cast<std::size_t>(X), Target.BitCount,
                            static_cast<std::uint32_t>(IndexOf(Color, Target)));
            }
        }
    }
}

// The palette index for a drawn colour, among the entries the colour table shows.
int TPGCanvas::IndexOf(QRgb Color, const TTarget& Target) {
    const int Count = FImage.PaletteCount();
    if (Count == 0) {
        return 0; // every entry of the table is black
    }
    const int TableSize = static_cast<int>(Target.ColorTable.size());
    const TPaletteIdent Ident = FImage.PaletteIdent();
    if (Count <= TableSize && Ident != pNone && Ident != pTrueColor) {
        const int Index = FImage.NearestIndex(RGB(static_cast<std::uint8_t>(qRed(Color)),
                                                  static_cast<std::uint8_t>(qGreen(Color)),
                                                  static_cast<std::uint8_t>(qBlue(Color))));
        if (Index >= 0 && Index < Count) {
            return Index;
        }
    }
    // A palette longer than the table, or one of a kind without a search: the nearest entry of
    // the table, the lowest index on a tie.
    int Best = 0;
    int BestDistance = std::numeric_limits<int>::max();
    for (int I = 0; I < std::min(Count, TableSize); ++I) {
        const QRgb Entry = Target.ColorTable[I];
        const int DR = qRed(Entry) - qRed(Color), DG = qGreen(Entry) - qGreen(Color),
                  DB = qBlue(Entry) - qBlue(Color);
        const int Distance = DR * DR + DG * DG + DB * DB;
        if (Distance < BestDistance) {
            Best = I;
            BestDistance = Distance;
        }
    }
    return Best;
}

void TPGCanvas::Draw(int X, int Y, TPixelGraphic& Graphic) {
    StretchDraw(QRect(X, Y, Graphic.Width(), Graphic.Height()), Graphic);
}

void TPGCanvas::StretchDraw(const QRect& Rect, TPixelGraphic& Graphic) {
    DrawToDC(Graphic, Painter(), Rect, true, FCopyMode);
    Changed();
}

void TPGCanvas::Changed() {
    if (OnChange) {
        OnChange(this);
    }
}

const QImage* TPGCanvas::ViewPaintedBy(const TPixelGraphic& Image, const QPainter& Painter) {
    const TPGCanvas* Canvas = LastCanvas(
        [&](const TPGCanvas* C) { return &C->Image() == &Image && &C->FPainter == &Painter; });
    return Canvas != nullptr ? &Canvas->FView : nullptr;
}

// --- The list of canvases ----------------------------------------------------------------------

void ReleaseCanvasesOf(const TPixelGraphic& Image) {
    while (TPGCanvas* Canvas =
               LastCanvas([&](const TPGCanvas* C) { return &C->Image() == &Image; })) {
        Canvas->DropHandle();
    }
}

void ReleaseAllCanvases() {
    while (TPGCanvas* Canvas = LastCanvas([](const TPGCanvas*) { return true; })) {
        Canvas->DropHandle();
    }
}
