#include "pgraphic/view/image_view/view_picture.h"

#include "pgraphic/image/pg_exceptions.h"
#include "pgraphic/image/pixel_graphic.h"
#include "pgraphic/view/image_view/pg_image.h"
#include "platform/paths.h"
#include "platform/qt/wait_cursor.h"

TPGViewPicture::TPGViewPicture(TPGImage& View) : FView(View) {}

TPGViewPicture::~TPGViewPicture() = default;

void TPGViewPicture::Forward(TPixelGraphic& Image, bool WithChange) {
    TPGImage& View = FView;
    Image.OnProgressStart = [&View](TObject* Sender) {
        if (View.OnPixelGraphicProgressStart) {
            View.OnPixelGraphicProgressStart(Sender);
        }
    };
    Image.OnProgress = [&View](TObject* Sender, int Step, int Max, bool& Abort) {
        if (View.OnPixelGraphicProgress) {
            View.OnPixelGraphicProgress(Sender, Step, Max, Abort);
        }
    };
    Image.OnProgressEnd = [&View](TObject* Sender) {
        if (View.OnPixelGraphicProgressEnd) {
            View.OnPixelGraphicProgressEnd(Sender);
        }
    };
    if (WithChange) {
        Image.OnChange = [&View](TObject*) { View.PixelGraphicChanged(); };
    } else {
        Image.OnChange = nullptr;
    }
}

void TPGViewPicture::Release() {
    FView.StopWorker();
    FPicture.reset();
    FView.DiscardPaintPixelGraphic();
}

void TPGViewPicture::Assign(const TPixelGraphic* Value) {
    Release();
    if (Value != nullptr) {
        auto Copy = std::make_unique<TPixelGraphic>();
        Copy->CopyFrom(Value);
        Forward(*Copy, true);
        FPicture = std::move(Copy);
    }
    FView.PixelGraphicChanged();
}

void TPGViewPicture::Load(const std::string& FileName, int Index, bool ShowHourGlass) {
    FFileName.clear();
    std::unique_ptr<TPixelGraphic> Loaded;
    try {
        const TWaitCursor Wait(ShowHourGlass);
        Release();
        if (!ExtractFileName(FileName).empty()) {
            Loaded = std::make_unique<TPixelGraphic>();
            Loaded->SetReadWarningAction(FWarnings.ReadWarningAction);
            Loaded->SetBackGroundColor(FBackGroundColor);
            Forward(*Loaded, false);
            Loaded->LoadFromFileExt(FileName, Index);
            Forward(*Loaded, true);
            FPicture = std::move(Loaded);
        }
        FFileName = FileName;
    } catch (...) {
        Loaded.reset();
        FView.PixelGraphicChanged();
        throw;
    }
    FView.PixelGraphicChanged();
}

void TPGViewPicture::Save(const std::string& FileName) {
    FFileName.clear();
    if (!FPicture) {
        throw EPGEmpty(TPGLangStrId::IsEmpty, "PixelGraphic");
    }
    FPicture->SetSaveColorResWarningAction(FWarnings.SaveColorResWarningAction);
    FPicture->SaveToFile(FileName);
    FFileName = FileName;
}

void TPGViewPicture::Adopt(std::unique_ptr<TPixelGraphic> Image) {
    FPicture.reset();
    FView.FDisplay.Drop();
    Forward(*Image, true);
    FPicture = std::move(Image);
}
