#pragma once

#include "pgraphic/view/worker/image_worker.h"

#include <functional>
#include <memory>

class TPixelGraphic;

// Makes the display copy of a view's picture: optionally resamples the picture into a true-colour
// intermediate of the display size, optionally computes an optimised palette for the copy, then
// resamples and colour-reduces into the copy (or only remaps an 8-bit picture's pixels when just
// its palette changes). Runs on its own thread and posts progress and the finished copy to the
// view as events, or runs on the caller's thread and hands the copy to a callback.
//
// The view owns one such object at a time and sets it up before Resume: the source picture (read
// only; the view stops the run before it changes or frees it), the target and the intermediate
// it creates through this object so that they report their progress here. A run that was
// terminated frees what it made and posts nothing.
class TCreatePaintPGThread : public TPGImageWorker {
public:
    using TResultCallback = std::function<void(std::unique_ptr<TPixelGraphic> Image)>;

    // An inactive object: Resume and the run do nothing.
    TCreatePaintPGThread();
    // Stops the thread.
    ~TCreatePaintPGThread() override;

    // Whether progress and the result are posted to the target window (else the callback gets
    // the result and no progress is shown).
    bool PostMessages() const { return FPostMessages; }
    void SetPostMessages(bool Value) { FPostMessages = Value; }
    void SetResultCallback(TResultCallback Callback) { FResultCallback = std::move(Callback); }

    void SetSource(const TPixelGraphic* Source) { FSource = Source; }
    // A true-colour image the source is resampled into first (StretchFirst).
    TPixelGraphic& CreateIntermediate();
    // The display copy.
    TPixelGraphic& CreateTarget();
    bool StretchFirst() const { return FIntermediate != nullptr; }
    void SetOptimizePalette(bool Value) { FOptimizePalette = Value; }

    // The run itself, on the calling thread: raises what the image operations raise.
    void Work();

protected:
    void Execute() override;
    bool PostsProgress() const override { return FPostMessages; }

private:
    void Remap(const TPixelGraphic& Intermediate);
    void Deliver();

    bool FOptimizePalette = false;
    const TPixelGraphic* FSource = nullptr;
    std::unique_ptr<TPixelGraphic> FTarget;
    std::unique_ptr<TPixelGraphic> FIntermediate;
    bool FPostMessages = false;
    TResultCallback FResultCallback;
};
