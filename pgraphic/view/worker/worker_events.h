#pragma once

#include <QEvent>
#include <cstdint>
#include <functional>
#include <memory>
#include <utility>

class QObject;
class TPixelGraphic;

// Results and progress of a worker thread reach its window as posted events: they are handled on
// the window's thread, in the order they were posted. Each carries the number of the run that
// posted it, so that the window can drop what a run it has since stopped left in the queue. An
// event that is never delivered (its receiver went away) frees the image it carries.

// A new run number, unique in the process.
std::uint64_t PGNewWorkerRun();

// A finished image.
class TPGImageReadyEvent : public QEvent {
public:
    TPGImageReadyEvent(std::uint64_t Run, std::unique_ptr<TPixelGraphic> Image);
    ~TPGImageReadyEvent() override;
    static QEvent::Type EventType();

    std::uint64_t Run() const { return FRun; }
    std::unique_ptr<TPixelGraphic> TakeImage();

private:
    std::uint64_t FRun;
    std::unique_ptr<TPixelGraphic> FImage;
};

// The stage a worker is at and how far it got in it.
class TPGProgressReportEvent : public QEvent {
public:
    TPGProgressReportEvent(std::uint64_t Run, int Step, int Percent);
    static QEvent::Type EventType();

    std::uint64_t Run() const { return FRun; }
    int Step() const { return FStep; }
    int Percent() const { return FPercent; }

private:
    std::uint64_t FRun;
    int FStep;
    int FPercent;
};

// Post the events to Receiver (from any thread).
void PGPostImageReady(QObject* Receiver, std::uint64_t Run, std::unique_ptr<TPixelGraphic> Image);
void PGPostProgress(QObject* Receiver, std::uint64_t Run, int Step, int Percent);

// What a window does with its worker's events: Current tells whether a run's events still count
// (events of a run that has since been stopped are stale), Ready takes the finished image,
// Progress the stage and percentage.
struct TPGWorkerEventHandlers {
    std::function<bool(std::uint64_t Run)> Current;
    std::function<void(std::unique_ptr<TPixelGraphic> Image)> Ready;
    std::function<void(int Step, int Percent)> Progress;
};

// Hands Event to the handlers when it is a worker event of a current run. True for every worker
// event, current or stale; false for any other event.
bool PGHandleWorkerEvent(QEvent* Event, const TPGWorkerEventHandlers& Handlers);

// The same for a window that owns one worker at a time: a run's events count while it is the
// worker's run and has not been stopped. The finished image is handed on after joining the run,
// which is immediate: its last event is the image.
template <typename TWorker>
bool PGHandleWorkerEvent(QEvent* Event, TWorker& Worker,
                         std::function<void(std::unique_ptr<TPixelGraphic> Image)> Ready,
                         std::function<void(int Step, int Percent)> Progress) {
    TPGWorkerEventHandlers Handlers;
    Handlers.Current = [&Worker](std::uint64_t Run) {
        return Run == Worker.Run() && !Worker.Terminated();
    };
    Handlers.Ready = [&Worker, &Ready](std::unique_ptr<TPixelGraphic> Image) {
        Worker.WaitFor();
        Ready(std::move(Image));
    };
    Handlers.Progress = std::move(Progress);
    return PGHandleWorkerEvent(Event, Handlers);
}
