#pragma once

#include "pgraphic/image/pixel_graphic.h"

// The progress events of one read or write: the image's handlers, called with the sender the
// format names (the reader itself, or the image).
class TPGFormatProgress {
public:
    TPGFormatProgress(const TPixelGraphic& Graphic, TObject* Sender)
        : FGraphic(Graphic), FSender(Sender) {}

    // Fires OnProgressStart, runs Body and fires OnProgressEnd, also when Body raises.
    template <typename F>
    void Run(F&& Body) const {
        if (FGraphic.OnProgressStart) {
            FGraphic.OnProgressStart(FSender);
        }
        try {
            Body();
        } catch (...) {
            End();
            throw;
        }
        End();
    }

    // Fires OnProgress; true when the handler asks to stop.
    bool Aborted(int Step, int Max) const {
        if (!FGraphic.OnProgress) {
            return false;
        }
        bool Abort = false;
        FGraphic.OnProgress(FSender, Step, Max, Abort);
        return Abort;
    }

private:
    void End() const {
        if (FGraphic.OnProgressEnd) {
            FGraphic.OnProgressEnd(FSender);
        }
    }

    const TPixelGraphic& FGraphic;
    TObject* FSender;
};
