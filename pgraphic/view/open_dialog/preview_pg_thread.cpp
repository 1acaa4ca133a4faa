#include "pgraphic/view/open_dialog/preview_pg_thread.h"

#include "pgraphic/image/pixel_graphic.h"
#include "pgraphic/view/image_view/paint_copy_rules.h"
#include "pgraphic/view/open_dialog/preview_geometry.h"
#include "pgraphic/view/worker/worker_events.h"

#include <filesystem>
#include <system_error>

// Reports go out at most once per 100 ms, and whenever the percentage enters a new sixteenth.
TCreateOpenSaveDialogPaintPGThread::TCreateOpenSaveDialogPaintPGThread()
    : TPGImageWorker({100, 16, false}) {}

TCreateOpenSaveDialogPaintPGThread::~TCreateOpenSaveDialogPaintPGThread() {
    Stop();
}

void TCreateOpenSaveDialogPaintPGThread::SetMaxSize(int Width, int Height) {
    FMaxWidth = Width;
    FMaxHeight = Height;
}

void TCreateOpenSaveDialogPaintPGThread::Execute() {
    // Nothing may escape a thread: a preview that fails is simply not shown.
    try {
        if (auto Preview = Work()) {
            PGPostImageReady(TargetWindow(), Run(), std::move(Preview));
        }
    } catch (...) {
    }
}

std::unique_ptr<TPixelGraphic> TCreateOpenSaveDialogPaintPGThread::Work() {
    BeginRun();
    std::error_code Error;
    // A panel without an inside has no room for a preview; it is not made at full size.
    if (!std::filesystem::is_regular_file(FFileName, Error) || FMaxWidth < 1 || FMaxHeight < 1) {
        return nullptr;
    }
    auto Image = NewImage();
    Image->SetReadWarningAction(pgwaIgnore);
    Image->SetFastRead(true);
    Image->LoadFromFile(FFileName);
    if (!Terminated()) {
        if (const auto Size =
                PGPreviewScaledSize(Image->Width(), Image->Height(), FMaxWidth, FMaxHeight)) {
            auto Scaled = NewImage();
            Scaled->SetSize(Size->Width, Size->Height, bc24);
            Scaled->SetStretchMode(FStretchMode);
            ReplaceByConversion(Image, std::move(Scaled));
        }
        ReduceColors(Image);
    }
    if (Terminated()) {
        return nullptr;
    }
    // The preview outlives this object: it must not report here any more.
    Image->OnProgress = nullptr;
    return Image;
}

void TCreateOpenSaveDialogPaintPGThread::ReduceColors(std::unique_ptr<TPixelGraphic>& Image) {
    if (FDisplayDepth > 8 || Terminated()) {
        return;
    }
    const TPGPaintTargetFormat Format =
        PGPaintTargetFormat(FDisplayDepth, Image->BitCount(), FPalettes.Palette8BitSys24BitGraphic,
                            FPalettes.Palette8BitSys8BitGraphic);
    auto Reduced = NewImage();
    Reduced->SetSize(Image->Width(), Image->Height(), Format.BitCount);
    if (Format.OptimizePalette) {
        Reduced->CreateOptimizedPalette(*Image, kPGOptimizedDisplayColors, true);
    } else if (Format.PaletteIdent) {
        Reduced->SetPaletteIdent(*Format.PaletteIdent);
    } else if (Format.CopyPalette) {
        Reduced->CopyPalette(*Image);
    }
    ReplaceByConversion(Image, std::move(Reduced));
}

void TCreateOpenSaveDialogPaintPGThread::ReplaceByConversion(
    std::unique_ptr<TPixelGraphic>& Image, std::unique_ptr<TPixelGraphic> Converted) {
    ++FStep;
    Converted->StretchFrom(*Image);
    Image = std::move(Converted);
}
