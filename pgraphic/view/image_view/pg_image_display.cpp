// The image view control: the display copy made by the worker, its progress and its result.

#include "pgraphic/image/pixel_graphic.h"
#include "pgraphic/view/image_view/paint_copy_rules.h"
#include "pgraphic/view/image_view/paint_pg_thread.h"
#include "pgraphic/view/image_view/pg_image.h"
#include "pgraphic/view/worker/worker_events.h"
#include "platform/display.h"

void TPGImage::StopWorker() {
    FThread->Terminate();
    FThread->WaitFor();
}

void TPGImage::DiscardPaintPixelGraphic() {
    if (FKeepOldPaintPixelGraphic && FUseThread) {
        // The old copy stays on screen, stretched, until the new one arrives.
        FPaintInvalid = true;
    } else {
        FPaintPixelGraphic.reset();
    }
}

void TPGImage::DisplayChanged() {
    FPaintInvalid = true;
    Invalidate();
}

bool TPGImage::CheckPaintPixelGraphic() {
    const int ScreenBits = ScreenColorDepth();
    const int BoxWidth = FBox.Width();
    const int BoxHeight = FBox.Height();
    FPaintInvalid = FPaintInvalid || (FStretchMode != smFast && !FReduceOnLoad &&
                                      (FPaintWidth != BoxWidth || FPaintHeight != BoxHeight));
    TPGPaintCopyNeed Need;
    if (FPixelGraphic) {
        Need =
            PGPaintCopyNeed({FPixelGraphic->BitCountNum(), FPixelGraphic->PaletteIdent(),
                             FPixelGraphic->Width(), FPixelGraphic->Height(), BoxWidth, BoxHeight,
                             ScreenBits, FStretchMode, FReduceOnLoad, FPaintInvalid, FPalette8});
    }
    const bool KeepOld = FKeepOldPaintPixelGraphic && FUseThread;
    if (FPaintPixelGraphic && ((FPaintInvalid && !KeepOld) || !Need.Needed)) {
        StopWorker();
        FPaintPixelGraphic.reset();
    }
    if (!Need.Needed || (!FPaintInvalid && (FPaintPixelGraphic || !FThread->Terminated()))) {
        return Need.Needed;
    }
    StopWorker();
    if (FPaintPixelGraphic && !KeepOld) {
        FPaintPixelGraphic.reset();
    }
    FProgressStep = 1;
    FProgressPercent = 0;
    // A preparation that cannot be set up shows what the view has (the empty box and clocks).
    try {
        StartPaintPreparation(ScreenBits, Need.Stretch);
    } catch (...) {
    }
    return Need.Needed;
}

void TPGImage::StartPaintPreparation(int ScreenBits, bool Stretch) {
    FThread.reset();
    FThread = std::make_unique<TCreatePaintPGThread>();
    TCreatePaintPGThread& Thread = *FThread;
    Thread.SetInactive(!FUseThread);
    Thread.SetPostMessages(FUseThread);
    if (!FUseThread) {
        Thread.SetResultCallback([this](std::unique_ptr<TPixelGraphic> Image) {
            ReceivePaintPixelGraphic(std::move(Image));
        });
    }
    Thread.SetTargetWindow(this);
    Thread.SetSource(FPixelGraphic.get());

    const int BoxWidth = FBox.Width();
    const int BoxHeight = FBox.Height();
    TPGBitCount IntermediateBits = FPixelGraphic->BitCount();
    if (PGStretchFirst(FAllow24BitStretch, Stretch, ScreenBits, FPalette24)) {
        TPixelGraphic& Intermediate = Thread.CreateIntermediate();
        try {
            Intermediate.SetSize(BoxWidth, BoxHeight, bc24);
        } catch (const std::exception&) {
            Intermediate.SetSize(1, 1, bc24);
        }
        Intermediate.SetStretchMode(FStretchMode);
        IntermediateBits = bc24;
    }

    const TPGPaintTargetFormat Format =
        PGPaintTargetFormat(ScreenBits, IntermediateBits, FPalette24, FPalette8);
    TPixelGraphic& Target = Thread.CreateTarget();
    Target.SetBitCount(Format.BitCount);
    if (Format.PaletteIdent) {
        Target.SetPaletteIdent(*Format.PaletteIdent);
    }
    Thread.SetOptimizePalette(Format.OptimizePalette);
    if (Format.CopyPalette) {
        Target.CopyPalette(*FPixelGraphic);
    }
    // With smFast the device scales the copy when painting; otherwise it is made at the
    // display size.
    const int Width = FStretchMode != smFast ? BoxWidth : FPixelGraphic->Width();
    const int Height = FStretchMode != smFast ? BoxHeight : FPixelGraphic->Height();
    try {
        Target.SetSize(Width, Height, Target.BitCount());
    } catch (const std::exception&) {
        Target.SetSize(1, 1, Target.BitCount());
    }
    FPaintWidth = Width;
    FPaintHeight = Height;
    Target.SetStretchMode(FStretchMode);
    Target.SetDither(FDither);
    Target.SetDitherErrorLimit(FDitherErrorLimit);
    Target.SetDitherErrorLimitAuto(FDitherErrorLimitAuto);
    Target.SetDitherErrorLimitSoft(FDitherErrorLimitSoft);
    Target.SetRGBWeighting(FRGBWeighting);

    FPaintInvalid = false;
    if (FUseThread) {
        Thread.Resume();
    } else {
        // The result arrives through the callback before this returns.
        Thread.Work();
    }
}

void TPGImage::ReceivePaintPixelGraphic(std::unique_ptr<TPixelGraphic> Image) {
    if (FReduceOnLoad) {
        // From now on the reduced picture is the view's own and is shown directly; the size
        // fields keep the original picture's size.
        FPixelGraphic.reset();
        FPaintPixelGraphic.reset();
        AttachForwarding(*Image, true);
        FPixelGraphic = std::move(Image);
    } else {
        FPaintPixelGraphic = std::move(Image);
    }
    Invalidate();
}

void TPGImage::customEvent(QEvent* Event) {
    // Events of a run that has since been stopped are stale: the picture or the settings they
    // were made for have changed.
    const bool Handled = PGHandleWorkerEvent(
        Event, *FThread,
        [this](std::unique_ptr<TPixelGraphic> Image) {
            ReceivePaintPixelGraphic(std::move(Image));
        },
        [this](int Step, int Percent) { ProgressArrived(Step, Percent); });
    if (!Handled) {
        QAbstractScrollArea::customEvent(Event);
    }
}
