#pragma once

#include "pgraphic/image/pixel_graphic.h"

// The progress events of one long operation on an image: the image's handlers, called with the
// sender the operation names (the image itself, or the reader or writer at work). Every
// OnProgressStart is followed by its OnProgressEnd, also when the operation fails.
class TPGProgress {
public:
    TPGProgress(const TPixelGraphic& Graphic, TObject* Sender)
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
