#include "pgraphic/view/image_view/view_picture.h"

#include "pgraphic/image/pg_exceptions.h"
#include "pgraphic/image/pixel_graphic.h"
#include "pgraphic/view/image_view/display_copy.h"
#include "platform/paths.h"
#include "platform/qt/wait_cursor.h"

TPGViewPicture::TPGViewPicture(TPGDisplayCopy& Display, const TPGImageEvents& Events)
    : FDisplay(Display), FEvents(Events) {}

TPGViewPicture::~TPGViewPicture() = default;

void TPGViewPicture::Forward(TPixelGraphic& Image, bool WithChange) {
    const TPGImageEvents& Events = FEvents;
    Image.OnProgressStart = [&Events](TObject* Sender) {
        if (Events.OnPixelGraphicProgressStart) {
            Events.OnPixelGraphicProgressStart(Sender);
        }
    };
    Image.OnProgress = [&Events](TObject* Sender, int Step, int Max, bool& Abort) {
        if (Events.OnPixelGraphicProgress) {
            Events.OnPixelGraphicProgress(Sender, Step, Max, Abort);
        }
    };
    Image.OnProgressEnd = [&Events](TObject* Sender) {
        if (Events.OnPixelGraphicProgressEnd) {
            Events.OnPixelGraphicProgressEnd(Sender);
        }
    };
    if (WithChange) {
        Image.OnChange = [this](TObject*) { OnChange(); };
    } else {
        Image.OnChange = nullptr;
    }
}

void TPGViewPicture::Release() {
    FDisplay.StopWorker();
    FPicture.reset();
    FDisplay.Discard();
}

void TPGViewPicture::Assign(const TPixelGraphic* Value) {
    Release();
    if (Value != nullptr) {
        auto Copy = std::make_unique<TPixelGraphic>();
        Copy->CopyFrom(Value);
        Forward(*Copy, true);
        FPicture = std::move(Copy);
    }
    OnChange();
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
        OnChange();
        throw;
    }
    OnChange();
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
    FDisplay.Drop();
    Forward(*Image, true);
    FPicture = std::move(Image);
}
