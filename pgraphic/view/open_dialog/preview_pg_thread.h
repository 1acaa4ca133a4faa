#pragma once

#include "pgraphic/image/pg_types.h"
#include "pgraphic/view/view_types.h"
#include "pgraphic/view/worker/image_worker.h"

#include <memory>
#include <string>

class TPixelGraphic;

// Makes the preview of a picture file for the picture open dialog: loads the file favouring
// speed, shrinks it to fit the preview panel's inside (never enlarging it), reduces it to the
// display's colours on displays of 8 bits or fewer, and posts its progress and the finished
// preview to the dialog's window as events (worker_events.h). Each conversion is a new stage
// of the progress. Runs on its own thread; a terminated run stops inside the long operations,
// posts nothing and frees what it made; a failure of any kind ends the run without a preview.
//
// The dialog owns one such object at a time, sets it up and then resumes it.
class TCreateOpenSaveDialogPaintPGThread : public TPGImageWorker {
public:
    // An inactive object: Resume and the run do nothing.
    TCreateOpenSaveDialogPaintPGThread();
    // Stops the thread.
    ~TCreateOpenSaveDialogPaintPGThread() override;

    void SetFileName(std::string Value) { FFileName = std::move(Value); }
    // The inside of the preview panel.
    void SetMaxSize(int Width, int Height);
    void SetStretchMode(TStretchMode Value) { FStretchMode = Value; }
    void SetPalettes(const TPGDisplayPalettes& Value) { FPalettes = Value; }
    void SetPalette8BitSys24BitGraphic(TPaletteIdent Value) {
        FPalettes.Palette8BitSys24BitGraphic = Value;
    }
    void SetPalette8BitSys8BitGraphic(TPaletteIdent Value) {
        FPalettes.Palette8BitSys8BitGraphic = Value;
    }
    // Bits per pixel of the display.
    void SetDisplayDepth(int Value) { FDisplayDepth = Value; }

    // The stage reached: 1 while loading, one more for each conversion. Read it after WaitFor.
    int Step() const { return FStep; }

    // The run itself on the calling thread; raises what loading and converting raise. Returns
    // the preview unless the run was terminated, the file does not exist or the panel has no
    // inside.
    std::unique_ptr<TPixelGraphic> Work();

protected:
    void Execute() override;

private:
    void ReplaceByConversion(std::unique_ptr<TPixelGraphic>& Image,
                             std::unique_ptr<TPixelGraphic> Converted);
    void ReduceColors(std::unique_ptr<TPixelGraphic>& Image);

    std::string FFileName;
    int FMaxWidth = 0;
    int FMaxHeight = 0;
    TStretchMode FStretchMode = smPrecise;
    TPGDisplayPalettes FPalettes;
    int FDisplayDepth = 24;
};
