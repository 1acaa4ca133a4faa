#include "pgraphic/view/image_view/paint_pg_thread.h"

#include "pgraphic/image/pixel_graphic.h"
#include "pgraphic/view/image_view/paint_copy_rules.h"
#include "pgraphic/view/worker/worker_events.h"

#include <array>
#include <cstdint>

TCreatePaintPGThread::TCreatePaintPGThread() : TPGImageWorker({}) {}

TCreatePaintPGThread::~TCreatePaintPGThread() {
    Stop();
}

TPixelGraphic& TCreatePaintPGThread::CreateIntermediate() {
    FIntermediate = NewImage();
    return *FIntermediate;
}

TPixelGraphic& TCreatePaintPGThread::CreateTarget() {
    FTarget = NewImage();
    return *FTarget;
}

void TCreatePaintPGThread::Execute() {
    // Nothing may escape a thread; a failed run shows nothing and leaves no image behind.
    try {
        Work();
    } catch (...) {
        FIntermediate.reset();
        FTarget.reset();
    }
}

void TCreatePaintPGThread::Work() {
    BeginRun();
    if (FSource == nullptr || FTarget == nullptr) {
        return;
    }
    const TPixelGraphic& Intermediate = FIntermediate ? *FIntermediate : *FSource;
    if (!Terminated() && FIntermediate) {
        FIntermediate->StretchFrom(*FSource);
        ++FStep;
    }
    if (!Terminated() && FOptimizePalette) {
        FTarget->CreateOptimizedPalette(Intermediate, kPGOptimizedDisplayColors, true);
        ++FStep;
    }
    if (!Terminated()) {
        if (FOptimizePalette && Intermediate.BitCount() == bc8 &&
            Intermediate.Width() == FTarget->Width() &&
            Intermediate.Height() == FTarget->Height()) {
            Remap(Intermediate);
        } else {
            FTarget->StretchFrom(Intermediate);
        }
        ++FStep;
    }
    FIntermediate.reset();
    Deliver();
}

void TCreatePaintPGThread::Deliver() {
    if (Terminated()) {
        FTarget.reset();
        return;
    }
    // The copy outlives this object: it must not report here any more.
    FTarget->OnProgress = nullptr;
    if (FPostMessages) {
        PGPostImageReady(TargetWindow(), Run(), std::move(FTarget));
    } else if (FResultCallback) {
        FResultCallback(std::move(FTarget));
    } else {
        FTarget.reset();
    }
}

void TCreatePaintPGThread::Remap(const TPixelGraphic& Intermediate) {
    // Every entry of the old palette maps to its nearest entry of the new one; the pixels only
    // go through that table.
    std::array<std::uint8_t, 256> Map{};
    const bool Cached = FTarget->UseColorCache();
    FTarget->SetUseColorCache(false);
    for (int I = 0; I < Intermediate.PaletteCount() && I < 256; ++I) {
        Map[static_cast<std::size_t>(I)] =
            static_cast<std::uint8_t>(FTarget->NearestIndex(Intermediate.PaletteColors(I)));
    }
    FTarget->SetUseColorCache(Cached);
    const int W = FTarget->Width();
    const int H = FTarget->Height();
    for (int Y = 0; Y < H; ++Y) {
        const std::uint8_t* From = Intermediate.ScanLine(Y);
        std::uint8_t* To = FTarget->ScanLine(Y);
        for (int X = 0; X < W; ++X) {
            To[X] = Map[From[X]];
        }
        bool Abort = false;
        ImageProgress(Y, H - 1, Abort);
        if (Abort) {
            break;
        }
    }
    FTarget->NotifyChange(FTarget.get());
}
