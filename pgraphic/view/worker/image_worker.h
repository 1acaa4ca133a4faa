#pragma once

#include "core/object.h"
#include "pgraphic/view/worker/progress_throttle.h"
#include "pgraphic/view/worker/worker_thread.h"

#include <cstdint>
#include <memory>

class QObject;
class TPixelGraphic;

// What the display worker of the image view and the preview worker of the picture open dialog
// share: one run on a thread of its own that can be stopped, the number its posted events carry
// (worker_events.h), the window they are posted to, and images whose progress reports become the
// run's progress, a stage at a time.
//
// A derived worker stops the thread in its own destructor, before its fields go.
class TPGImageWorker : public TObject {
public:
    TPGImageWorker(const TPGImageWorker&) = delete;
    TPGImageWorker& operator=(const TPGImageWorker&) = delete;
    ~TPGImageWorker() override = default;

    // Inactive (the start): Resume and the run do nothing.
    bool Inactive() const { return FInactive; }
    void SetInactive(bool Value) { FInactive = Value; }
    // Where progress and the result are posted.
    void SetTargetWindow(QObject* Window) { FTargetWindow = Window; }

    // The number that the events of this run carry.
    std::uint64_t Run() const { return FRun; }

    // Starts the run on the thread (nothing when inactive).
    void Resume();
    void Terminate() { FThread.Terminate(); }
    bool Terminated() const { return FThread.Terminated(); }
    void WaitFor() { FThread.WaitFor(); }

protected:
    explicit TPGImageWorker(TPGProgressThrottle::TRule ProgressRule);

    // The run on the thread; nothing may escape it.
    virtual void Execute() = 0;
    // Whether progress reports are posted to the target window.
    virtual bool PostsProgress() const { return true; }

    // Begins a run at stage 1.
    void BeginRun();
    // A new image that reports its progress to the run.
    std::unique_ptr<TPixelGraphic> NewImage();
    QObject* TargetWindow() const { return FTargetWindow; }
    void Stop() { FThread.Stop(); }
    // Passes on Step of Max of the current stage (as throttled) and answers whether the run was
    // stopped.
    void ImageProgress(int Step, int Max, bool& Abort);

    // The stage the run is at.
    int FStep = 1;

private:
    bool FInactive = true;
    QObject* FTargetWindow = nullptr;
    TPGProgressThrottle FThrottle;
    std::uint64_t FRun;
    // Last: stopped before the fields above go.
    TPGWorkerThread FThread;
};
