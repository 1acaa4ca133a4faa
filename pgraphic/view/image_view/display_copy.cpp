#include "pgraphic/view/image_view/display_copy.h"

#include "pgraphic/image/pixel_graphic.h"
#include "pgraphic/view/image_view/paint_copy_rules.h"
#include "pgraphic/view/image_view/paint_pg_thread.h"
#include "pgraphic/view/worker/worker_events.h"
#include "platform/display.h"

TPGDisplayCopy::TPGDisplayCopy(QObject& Window, TReceiver Receive)
    : FWindow(Window), FReceive(std::move(Receive)),
      FThread(std::make_unique<TCreatePaintPGThread>()) {}

TPGDisplayCopy::~TPGDisplayCopy() {
    StopWorker();
}

void TPGDisplayCopy::StopWorker() {
    FThread->Terminate();
    FThread->WaitFor();
}

void TPGDisplayCopy::Discard() {
    if (FOptions.KeepOldPaintPixelGraphic && FOptions.UseThread) {
        // The old copy stays on screen, stretched, until the new one arrives.
        FInvalid = true;
    } else {
        FCopy.reset();
    }
}

void TPGDisplayCopy::Drop() {
    FCopy.reset();
}

void TPGDisplayCopy::Take(std::unique_ptr<TPixelGraphic> Image) {
    FCopy = std::move(Image);
}

bool TPGDisplayCopy::Check(const TPixelGraphic* Source, int BoxWidth, int BoxHeight) {
    const int ScreenBits = ScreenColorDepth();
    const TStretchMode StretchMode = FOptions.Conversion.StretchMode;
    FInvalid = FInvalid || (StretchMode != smFast && !FOptions.ReduceOnLoad &&
                            (FWidth != BoxWidth || FHeight != BoxHeight));
    TPGPaintCopyNeed Need;
    if (Source != nullptr) {
        Need = PGPaintCopyNeed({Source->BitCountNum(), Source->PaletteIdent(), Source->Width(),
                                Source->Height(), BoxWidth, BoxHeight, ScreenBits, StretchMode,
                                FOptions.ReduceOnLoad, FInvalid,
                                FOptions.Palettes.Palette8BitSys8BitGraphic});
    }
    const bool KeepOld = FOptions.KeepOldPaintPixelGraphic && FOptions.UseThread;
    if (FCopy && ((FInvalid && !KeepOld) || !Need.Needed)) {
        StopWorker();
        FCopy.reset();
    }
    if (!Need.Needed || (!FInvalid && (FCopy || !FThread->Terminated()))) {
        return Need.Needed;
    }
    // Any copy still held is an old one kept on screen: an invalid one went above unless kept,
    // and a valid one returned.
    StopWorker();
    FProgressStep = 1;
    FProgressPercent = 0;
    // A preparation that cannot be set up shows what the view has (the empty box and clocks).
    try {
        Start(*Source, ScreenBits, Need.Stretch, BoxWidth, BoxHeight);
    } catch (...) {
    }
    return Need.Needed;
}

void TPGDisplayCopy::Start(const TPixelGraphic& Source, int ScreenBits, bool Stretch, int BoxWidth,
                           int BoxHeight) {
    FThread.reset();
    FThread = std::make_unique<TCreatePaintPGThread>();
    TCreatePaintPGThread& Thread = *FThread;
    const bool UseThread = FOptions.UseThread;
    Thread.SetInactive(!UseThread);
    Thread.SetPostMessages(UseThread);
    if (!UseThread) {
        Thread.SetResultCallback(FReceive);
    }
    Thread.SetTargetWindow(&FWindow);
    Thread.SetSource(&Source);

    const TStretchMode StretchMode = FOptions.Conversion.StretchMode;
    const TPGDisplayPalettes& Palettes = FOptions.Palettes;
    TPGBitCount IntermediateBits = Source.BitCount();
    if (PGStretchFirst(FOptions.Allow24BitStretch, Stretch, ScreenBits,
                       Palettes.Palette8BitSys24BitGraphic)) {
        TPixelGraphic& Intermediate = Thread.CreateIntermediate();
        try {
            Intermediate.SetSize(BoxWidth, BoxHeight, bc24);
        } catch (const std::exception&) {
            Intermediate.SetSize(1, 1, bc24);
        }
        Intermediate.SetStretchMode(StretchMode);
        IntermediateBits = bc24;
    }

    const TPGPaintTargetFormat Format =
        PGPaintTargetFormat(ScreenBits, IntermediateBits, Palettes.Palette8BitSys24BitGraphic,
                            Palettes.Palette8BitSys8BitGraphic);
    TPixelGraphic& Target = Thread.CreateTarget();
    Target.SetBitCount(Format.BitCount);
    if (Format.PaletteIdent) {
        Target.SetPaletteIdent(*Format.PaletteIdent);
    }
    Thread.SetOptimizePalette(Format.OptimizePalette);
    if (Format.CopyPalette) {
        Target.CopyPalette(Source);
    }
    // With smFast the device scales the copy when painting; otherwise it is made at the
    // display size.
    const int Width = StretchMode != smFast ? BoxWidth : Source.Width();
    const int Height = StretchMode != smFast ? BoxHeight : Source.Height();
    try {
        Target.SetSize(Width, Height, Target.BitCount());
    } catch (const std::exception&) {
        Target.SetSize(1, 1, Target.BitCount());
    }
    FWidth = Width;
    FHeight = Height;
    Target.SetConversionOptions(FOptions.Conversion);

    FInvalid = false;
    if (UseThread) {
        Thread.Resume();
    } else {
        // The result arrives through the callback before this returns.
        Thread.Work();
    }
}

bool TPGDisplayCopy::HandleEvent(QEvent* Event) {
    // Events of a run that has since been stopped are stale: the picture or the settings they
    // were made for have changed.
    return PGHandleWorkerEvent(Event, *FThread, FReceive, [this](int Step, int Percent) {
        FProgressStep = Step;
        FProgressPercent = Percent;
        OnProgress();
    });
}
