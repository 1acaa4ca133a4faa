// The image view control: construction, the picture and its files, and the properties.

#include "pgraphic/view/image_view/pg_image.h"

#include "pgraphic/image/pg_exceptions.h"
#include "pgraphic/image/pixel_graphic.h"
#include "pgraphic/view/image_view/paint_pg_thread.h"
#include "platform/paths.h"
#include "platform/qt/wait_cursor.h"

#include <QScrollBar>
#include <QTimer>

TPGImage::TPGImage(QWidget* Parent)
    : QAbstractScrollArea(Parent), FThread(std::make_unique<TCreatePaintPGThread>()) {
    // The view paints its whole client area itself; nothing is erased first.
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
    viewport()->setAutoFillBackground(false);
    viewport()->setMouseTracking(true);
    ApplyFrame();
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);

    FPicBox = new TPicBox(viewport());
    FPicBox->setGeometry(0, 0, 0, 0);
    FPicBox->InheritColor(FColor);
    FPicBox->ParentShowHintSource = [this] { return FShowHint; };
    FPicBox->InternalMouseDown = [this](TObject*, TMouseButton Button, TShiftState, int X, int Y) {
        PicBoxMouseDown(Button, X, Y);
    };
    FPicBox->InternalMouseMove = [this](TObject*, TShiftState, int X, int Y) {
        PicBoxMouseMove(X, Y);
    };
    FPicBox->InternalMouseUp = [this](TObject*, TMouseButton, TShiftState, int, int) {
        PicBoxMouseUp();
    };
    FPicBox->InternalPaint = [this](TObject*) { DrawSelection(); };

    resize(100, 100);
    const TPGViewArea Area = ViewArea();
    FBars = PGScrollBarsFor(0, 0, Area);
}

TPGImage::~TPGImage() {
    StopWorker();
}

// --- The picture -----------------------------------------------------------------------------

TPixelGraphic* TPGImage::EditablePixelGraphic() {
    StopWorker();
    return FPixelGraphic.get();
}

void TPGImage::AttachForwarding(TPixelGraphic& Image, bool WithChange) {
    Image.OnProgressStart = [this](TObject* Sender) {
        if (OnPixelGraphicProgressStart) {
            OnPixelGraphicProgressStart(Sender);
        }
    };
    Image.OnProgress = [this](TObject* Sender, int Step, int Max, bool& Abort) {
        if (OnPixelGraphicProgress) {
            OnPixelGraphicProgress(Sender, Step, Max, Abort);
        }
    };
    Image.OnProgressEnd = [this](TObject* Sender) {
        if (OnPixelGraphicProgressEnd) {
            OnPixelGraphicProgressEnd(Sender);
        }
    };
    if (WithChange) {
        Image.OnChange = [this](TObject*) { PixelGraphicChanged(); };
    } else {
        Image.OnChange = nullptr;
    }
}

void TPGImage::SetPixelGraphic(const TPixelGraphic* Value) {
    StopWorker();
    FPixelGraphic.reset();
    DiscardPaintPixelGraphic();
    if (Value != nullptr) {
        auto Copy = std::make_unique<TPixelGraphic>();
        Copy->CopyFrom(Value);
        AttachForwarding(*Copy, true);
        FPixelGraphic = std::move(Copy);
    }
    PixelGraphicChanged();
}

void TPGImage::LoadFromFileExt(const std::string& FileName, int Index) {
    FFileName.clear();
    std::unique_ptr<TPixelGraphic> Loaded;
    try {
        const TWaitCursor Wait(FShowHourGlass);
        StopWorker();
        FPixelGraphic.reset();
        DiscardPaintPixelGraphic();
        if (!ExtractFileName(FileName).empty()) {
            Loaded = std::make_unique<TPixelGraphic>();
            Loaded->SetReadWarningAction(FReadWarningAction);
            Loaded->SetBackGroundColor(FBackGroundColor);
            AttachForwarding(*Loaded, false);
            Loaded->LoadFromFileExt(FileName, Index);
            AttachForwarding(*Loaded, true);
            FPixelGraphic = std::move(Loaded);
        }
        FFileName = FileName;
    } catch (...) {
        Loaded.reset();
        PixelGraphicChanged();
        throw;
    }
    PixelGraphicChanged();
}

void TPGImage::SaveToFile(const std::string& FileName) {
    FFileName.clear();
    if (!FPixelGraphic) {
        throw EPGEmpty(TPGLangStrId::IsEmpty, "PixelGraphic");
    }
    FPixelGraphic->SetSaveColorResWarningAction(FSaveColorResWarningAction);
    FPixelGraphic->SaveToFile(FileName);
    FFileName = FileName;
}

void TPGImage::SetFileName(const std::string& Value) {
    FFileName = Value;
    LoadFromFile(Value);
}

// --- Properties --------------------------------------------------------------------------------

void TPGImage::SetActionMode(TActionMode Value) {
    if (Value != FActionMode) {
        FActionMode = Value;
        Invalidate();
    }
}

void TPGImage::SetAllow24BitStretch(bool Value) {
    if (Value != FAllow24BitStretch) {
        FAllow24BitStretch = Value;
        PixelGraphicChanged();
    }
}

void TPGImage::SetAutoScroll(bool Value) {
    if (Value != FAutoScroll) {
        FAutoScroll = Value;
        ArrangePicBox(true);
    }
}

void TPGImage::SetAutoSize(bool Value) {
    FAutoSize = Value;
    PixelGraphicChanged();
}

namespace {

// Stores a limit of the auto size; the picture is laid out anew when AutoSize is on.
template <typename TChanged>
void SetLimit(int& Field, int Value, bool AutoSize, TChanged Changed) {
    if (Value != Field) {
        Field = Value;
        if (AutoSize) {
            Changed();
        }
    }
}

} // namespace

void TPGImage::SetAutoSizeMaxHeight(int Value) {
    SetLimit(FAutoSizeLimits.MaxHeight, Value, FAutoSize, [this] { PixelGraphicChanged(); });
}

void TPGImage::SetAutoSizeMinHeight(int Value) {
    SetLimit(FAutoSizeLimits.MinHeight, Value, FAutoSize, [this] { PixelGraphicChanged(); });
}

void TPGImage::SetAutoSizeMaxWidth(int Value) {
    SetLimit(FAutoSizeLimits.MaxWidth, Value, FAutoSize, [this] { PixelGraphicChanged(); });
}

void TPGImage::SetAutoSizeMinWidth(int Value) {
    SetLimit(FAutoSizeLimits.MinWidth, Value, FAutoSize, [this] { PixelGraphicChanged(); });
}

void TPGImage::SetBorderStyle(TBorderStyle Value) {
    if (Value != FBorderStyle) {
        FBorderStyle = Value;
        ApplyFrame();
        ArrangePicBox(true);
    }
}

void TPGImage::SetCtl3D(bool Value) {
    if (Value != FCtl3D) {
        FCtl3D = Value;
        ApplyFrame();
        ArrangePicBox(true);
    }
}

void TPGImage::SetCenter(bool Value) {
    if (Value != FCenter) {
        FCenter = Value;
        ArrangePicBox(true);
    }
}

void TPGImage::SetColor(TColor Value) {
    if (Value != FColor) {
        FColor = Value;
        FPicBox->InheritColor(Value);
        Invalidate();
    }
}

void TPGImage::SetPicBoxParentColor(bool Value) {
    FPicBox->SetParentColor(Value);
    FPicBox->InheritColor(FColor);
}

void TPGImage::SetDither(bool Value) {
    if (Value != FDither) {
        FDither = Value;
        PixelGraphicChanged();
    }
}

void TPGImage::SetDitherErrorLimit(std::uint8_t Value) {
    if (Value != FDitherErrorLimit) {
        FDitherErrorLimit = Value;
        if (FDither) {
            PixelGraphicChanged();
        }
    }
}

void TPGImage::SetDitherErrorLimitAuto(bool Value) {
    if (Value != FDitherErrorLimitAuto) {
        FDitherErrorLimitAuto = Value;
        if (FDither) {
            PixelGraphicChanged();
        }
    }
}

void TPGImage::SetDitherErrorLimitSoft(bool Value) {
    if (Value != FDitherErrorLimitSoft) {
        FDitherErrorLimitSoft = Value;
        if (FDither) {
            PixelGraphicChanged();
        }
    }
}

void TPGImage::SetFlipHorizontal(bool Value) {
    if (Value != FFlipHorizontal) {
        FFlipHorizontal = Value;
        Invalidate();
    }
}

void TPGImage::SetFlipVertical(bool Value) {
    if (Value != FFlipVertical) {
        FFlipVertical = Value;
        Invalidate();
    }
}

void TPGImage::SetPalette8BitSys24BitGraphic(TPalette8BitSys24BitGraphic Value) {
    if (Value != FPalette24 && IsPalette8BitSys24BitGraphic(Value)) {
        FPalette24 = Value;
        PixelGraphicChanged();
    }
}

void TPGImage::SetPalette8BitSys8BitGraphic(TPalette8BitSys8BitGraphic Value) {
    if (Value != FPalette8 && IsPalette8BitSys8BitGraphic(Value)) {
        FPalette8 = Value;
        PixelGraphicChanged();
    }
}

void TPGImage::SetRGBWeighting(bool Value) {
    if (Value != FRGBWeighting) {
        FRGBWeighting = Value;
        PixelGraphicChanged();
    }
}

void TPGImage::SetStretch(TStretch Value) {
    if (Value != FStretch) {
        FStretch = Value;
        ArrangePicBox(true);
    }
}

void TPGImage::SetStretchMode(TStretchMode Value) {
    if (Value != FStretchMode) {
        FStretchMode = Value;
        PixelGraphicChanged();
    }
}

void TPGImage::SetTiling(TTiling Value) {
    if (Value != FTiling) {
        FTiling = Value;
        Invalidate();
    }
}

void TPGImage::SetUseThread(bool Value) {
    if (Value != FUseThread) {
        StopWorker();
        FPaintInvalid = true;
        FUseThread = Value;
        Invalidate();
    }
}

void TPGImage::SetZoomFactor(long double Value) {
    if (Value != FZoomFactor) {
        FZoomFactor = Value;
        ArrangePicBox(true);
    }
}
