#include "pgraphic/view/image_view/pg_image.h"

#include "pgraphic/image/pixel_graphic.h"
#include "pgraphic/view/image_view/view_painting.h"
#include "pgraphic/view/transparent/transparent_control.h"
#include "platform/qt/qt_color.h"

#include <QPaintEvent>
#include <QPainter>
#include <QScopedValueRollback>

TPGImage::TPGImage(QWidget* Parent)
    : QAbstractScrollArea(Parent), FPicture(FDisplay, *this), FPicBox(new TPicBox(viewport())),
      FLayout(*this, *FPicBox), FTracker(*this, *this, *FPicBox, FLayout, *this),
      FDisplay(*this,
               [this](std::unique_ptr<TPixelGraphic> Image) {
                   ReceivePaintPixelGraphic(std::move(Image));
               }),
      FPictureChanged(FPicture.OnChange.Connect([this] { PixelGraphicChanged(); })),
      FDisplayProgress(FDisplay.OnProgress.Connect([this] { ProgressArrived(); })) {
    // The view paints its whole client area itself; nothing is erased first.
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
    viewport()->setAutoFillBackground(false);
    viewport()->setMouseTracking(true);
    FLayout.ApplyFrame();
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);

    FPicBox->setGeometry(0, 0, 0, 0);
    FPicBox->InheritColor(FColor);
    FPicBox->ParentShowHintSource = [this] { return FShowHint; };

    resize(100, 100);
    FLayout.ResetScrollBars();
}

TPGImage::~TPGImage() {
    StopWorker();
}

// --- The picture -----------------------------------------------------------------------------

TPixelGraphic* TPGImage::EditablePixelGraphic() {
    StopWorker();
    return FPicture.Get();
}

void TPGImage::PixelGraphicChanged() {
    StopWorker();
    const TPixelGraphic* Picture = FPicture.Get();
    FLayout.SetImageSize(Picture != nullptr ? Picture->Width() : 0,
                         Picture != nullptr ? Picture->Height() : 0);
    const TPGPoint Wanted = FLayout.AutoSize(FAutoSizeLimits);
    if (OnNewAutoSize) {
        OnNewAutoSize(this, Wanted.X, Wanted.Y);
    }
    FDisplay.Invalidate();
    if (FAutoSize && (Wanted.X != width() || Wanted.Y != height())) {
        SetBounds(x(), y(), Wanted.X, Wanted.Y);
    } else {
        ArrangePicBox(false);
    }
    if (OnPixelGraphicChange) {
        OnPixelGraphicChange(this);
    }
}

// --- Layout --------------------------------------------------------------------------------------

void TPGImage::ArrangePicBox(bool Force) {
    const TPGDisplaySize Size = FLayout.DisplaySize();
    if (FLayout.SetScale(Size.Scale) && OnZoomFactorChange) {
        OnZoomFactorChange(this);
    }
    FLayout.Arrange(Size, Force);
    Invalidate();
}

void TPGImage::SetBounds(int Left, int Top, int Width, int Height) {
    FLayout.SetBounds(Left, Top, Width, Height);
    ArrangePicBox(true);
}

void TPGImage::resizeEvent(QResizeEvent* Event) {
    QAbstractScrollArea::resizeEvent(Event);
    if (FLayout.TakeResize()) {
        ArrangePicBox(true);
    }
}

void TPGImage::scrollContentsBy(int /*Dx*/, int /*Dy*/) {
    FLayout.PositionPicBox();
    viewport()->update();
}

void TPGImage::ApplyFrameAndArrange() {
    FLayout.ApplyFrame();
    ArrangePicBox(true);
}

// --- Properties with more than one reaction ------------------------------------------------------

void TPGImage::SetActionMode(TActionMode Value) {
    if (FTracker.SetActionMode(Value)) {
        Invalidate();
    }
}

void TPGImage::SetAutoSize(bool Value) {
    FAutoSize = Value;
    PixelGraphicChanged();
}

void TPGImage::RefreshWhen(bool Condition) {
    if (Condition) {
        PixelGraphicChanged();
    }
}

void TPGImage::SetColor(TColor Value) {
    SetIfChanged(FColor, Value, [this, Value] {
        FPicBox->InheritColor(Value);
        Invalidate();
    });
}

void TPGImage::SetPicBoxParentColor(bool Value) {
    FPicBox->SetParentColor(Value);
    FPicBox->InheritColor(FColor);
}

void TPGImage::SetPalette8BitSys24BitGraphic(TPalette8BitSys24BitGraphic Value) {
    if (IsPalette8BitSys24BitGraphic(Value)) {
        SetAndRefresh(Display().Palettes.Palette8BitSys24BitGraphic, Value);
    }
}

void TPGImage::SetPalette8BitSys8BitGraphic(TPalette8BitSys8BitGraphic Value) {
    if (IsPalette8BitSys8BitGraphic(Value)) {
        SetAndRefresh(Display().Palettes.Palette8BitSys8BitGraphic, Value);
    }
}

void TPGImage::SetUseThread(bool Value) {
    SetIfChanged(Display().UseThread, Value, [this] {
        StopWorker();
        FDisplay.Invalidate();
        Invalidate();
    });
}

// --- Display copy --------------------------------------------------------------------------------

void TPGImage::DisplayChanged() {
    FDisplay.Invalidate();
    Invalidate();
}

bool TPGImage::CheckPaintPixelGraphic() {
    return FDisplay.Check(FPicture.Get(), FLayout.BoxWidth(), FLayout.BoxHeight());
}

void TPGImage::ReceivePaintPixelGraphic(std::unique_ptr<TPixelGraphic> Image) {
    if (ReduceOnLoad()) {
        // From now on the reduced picture is the view's own and is shown directly; the size
        // fields keep the original picture's size.
        FPicture.Adopt(std::move(Image));
    } else {
        FDisplay.Take(std::move(Image));
    }
    Invalidate();
}

void TPGImage::customEvent(QEvent* Event) {
    if (!FDisplay.HandleEvent(Event)) {
        QAbstractScrollArea::customEvent(Event);
    }
}

void TPGImage::ProgressArrived() {
    if (!FClockStyle.Visible) {
        return;
    }
    // The clocks are redrawn at once, also over a kept old copy.
    QRegion Clocks;
    for (const TPGPoint& At : PGProgressClockPositions(FLayout.BoxOnClient(), FProgress5Clocks)) {
        Clocks += QRect(At.X, At.Y, kPGClockSize, kPGClockSize);
    }
    if (Clocks.isEmpty()) {
        return;
    }
    const QScopedValueRollback OverPicture(FClocksOverPicture, true);
    viewport()->repaint(Clocks);
}

// --- Painting ------------------------------------------------------------------------------------

void TPGImage::Invalidate() {
    viewport()->update();
    // Controls that let the picture show through repaint over its new look.
    InvalidateTransparentChildren(*viewport());
    InvalidateTransparentChildren(*this);
}

void TPGImage::paintEvent(QPaintEvent* Event) {
    if (FLayout.Arranging()) {
        return;
    }
    QPainter Painter(viewport());
    const QScopedValueRollback CanvasScope(FCanvas, &Painter);
    FPaintRegion = Event->region();
    Paint();
}

void TPGImage::Paint() {
    if (FLayout.Arranging() || FCanvas == nullptr) {
        return;
    }
    QPainter& Painter = *FCanvas;
    const TPGRect Display = FLayout.BoxOnClient();
    const QSize Client = viewport()->size();
    const bool UseCopy = CheckPaintPixelGraphic();
    TPixelGraphic* Shown = UseCopy ? FDisplay.Copy() : FPicture.Get();
    if (OnPainting) {
        OnPainting(this);
    }
    const auto Clocks = [&] {
        PGDrawProgressClocks(Painter, Display, FProgress5Clocks, FDisplay.ProgressStep(),
                             FDisplay.ProgressPercent(), FClockStyle);
    };
    try {
        if (FTiling == tNone || Shown == nullptr) {
            PGPaintMargins(Painter, Display, Client, ToQColor(FColor));
        }
        if (Shown != nullptr) {
            PGPaintTiles(Painter, *Shown, Display, Client, FPaintRegion, FTiling, FFlipHorizontal,
                         FFlipVertical);
            if (FClocksOverPicture) {
                Clocks();
            }
        } else if (Display.Width() > 0 && Display.Height() > 0) {
            PGPaintEmptyBox(Painter, Display, FPicBoxFrameColor, FPicBox->Color());
            Clocks();
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
