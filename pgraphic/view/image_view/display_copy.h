#pragma once

#include "core/multicast_event.h"
#include "pgraphic/image/image_options.h"
#include "pgraphic/view/view_types.h"

#include <functional>
#include <memory>

class QEvent;
class QObject;
class TCreatePaintPGThread;
class TPixelGraphic;

// The properties of an image view that decide its display copy.
struct TPGDisplayCopyOptions {
    // A view shows its picture scaled by the display (smFast) unless told otherwise.
    TPGConversionOptions Conversion{.StretchMode = smFast};
    TPGDisplayPalettes Palettes;
    bool Allow24BitStretch = false;
    bool ReduceOnLoad = false;
    bool UseThread = true;
    bool KeepOldPaintPixelGraphic = false;

    friend bool operator==(const TPGDisplayCopyOptions&, const TPGDisplayCopyOptions&) = default;
};

// The copy of an image view's picture that is shown instead of the picture: on displays of 8
// bits or fewer, and when the view resamples the picture itself. A worker makes it (on its own
// thread, or at once without UseThread) and reports its progress meanwhile; the view hands the
// worker's events to HandleEvent. The view owns one and stops its worker before anything the
// worker reads changes.
class TPGDisplayCopy {
public:
    // Takes each finished copy: to Take it, or to keep it otherwise.
    using TReceiver = std::function<void(std::unique_ptr<TPixelGraphic> Image)>;

    // Window: where the worker posts its progress and the finished copy.
    TPGDisplayCopy(QObject& Window, TReceiver Receive);
    TPGDisplayCopy(const TPGDisplayCopy&) = delete;
    TPGDisplayCopy& operator=(const TPGDisplayCopy&) = delete;
    // Stops the worker.
    ~TPGDisplayCopy();

    // The options; the view has the copy made anew after a change that shows.
    TPGDisplayCopyOptions& Options() { return FOptions; }
    const TPGDisplayCopyOptions& Options() const { return FOptions; }

    // The copy (none while there is none).
    TPixelGraphic* Copy() const { return FCopy.get(); }
    // The stage the worker reached and how far into it, for the progress clocks.
    int ProgressStep() const { return FProgressStep; }
    int ProgressPercent() const { return FProgressPercent; }

    // Stops the worker: terminate, then wait.
    void StopWorker();
    // The copy is out of date: the next Check makes it anew.
    void Invalidate() { FInvalid = true; }
    // The picture is going: the copy goes too, unless the old one stays on screen (stretched)
    // until the new one arrives.
    void Discard();
    // Drops the copy.
    void Drop();
    // Shows Image as the copy.
    void Take(std::unique_ptr<TPixelGraphic> Image);
    // Whether a copy of Source is to be shown in a display rectangle of BoxWidth x BoxHeight;
    // starts making it when needed.
    bool Check(const TPixelGraphic* Source, int BoxWidth, int BoxHeight);
    // Hands a worker event of the current run to the receiver or to OnProgress. True for every
    // worker event; false for any other.
    bool HandleEvent(QEvent* Event);

    // The worker reached a new stage or percentage (ProgressStep, ProgressPercent).
    TMulticastEvent<> OnProgress;

private:
    void Start(const TPixelGraphic& Source, int ScreenBits, bool Stretch, int BoxWidth,
               int BoxHeight);
    QObject& FWindow;
    TReceiver FReceive;
    TPGDisplayCopyOptions FOptions;
    std::unique_ptr<TPixelGraphic> FCopy;
    bool FInvalid = false;
    // The size of the copy last started.
    int FWidth = 0;
    int FHeight = 0;
    int FProgressStep = 1;
    int FProgressPercent = 0;
    // Last: stopped before anything it reads goes.
    std::unique_ptr<TCreatePaintPGThread> FThread;
};
