#include "pgraphic/view/worker/worker_events.h"

#include "pgraphic/image/pixel_graphic.h"

#include <QCoreApplication>
#include <QObject>
#include <atomic>
#include <utility>

namespace {

QEvent::Type Registered() {
    return static_cast<QEvent::Type>(QEvent::registerEventType());
}

} // namespace

std::uint64_t PGNewWorkerRun() {
    static std::atomic<std::uint64_t> Last{0};
    return ++Last;
}

TPGImageReadyEvent::TPGImageReadyEvent(std::uint64_t Run, std::unique_ptr<TPixelGraphic> Image)
    : QEvent(EventType()), FRun(Run), FImage(std::move(Image)) {}

TPGImageReadyEvent::~TPGImageReadyEvent() = default;

QEvent::Type TPGImageReadyEvent::EventType() {
    static const QEvent::Type Type = Registered();
    return Type;
}

std::unique_ptr<TPixelGraphic> TPGImageReadyEvent::TakeImage() {
    return std::move(FImage);
}

TPGProgressReportEvent::TPGProgressReportEvent(std::uint64_t Run, int Step, int Percent)
    : QEvent(EventType()), FRun(Run), FStep(Step), FPercent(Percent) {}

QEvent::Type TPGProgressReportEvent::EventType() {
    static const QEvent::Type Type = Registered();
    return Type;
}

void PGPostImageReady(QObject* Receiver, std::uint64_t Run, std::unique_ptr<TPixelGraphic> Image) {
    QCoreApplication::postEvent(Receiver, new TPGImageReadyEvent(Run, std::move(Image)));
}

void PGPostProgress(QObject* Receiver, std::uint64_t Run, int Step, int Percent) {
    QCoreApplication::postEvent(Receiver, new TPGProgressReportEvent(Run, Step, Percent));
}

bool PGHandleWorkerEvent(QEvent* Event, const TPGWorkerEventHandlers& Handlers) {
    if (Event->type() == TPGImageReadyEvent::EventType()) {
        auto* Ready = static_cast<TPGImageReadyEvent*>(Event);
        if (Handlers.Current(Ready->Run())) {
            Handlers.Ready(Ready->TakeImage());
        }
        return true;
    }
    if (Event->type() == TPGProgressReportEvent::EventType()) {
        const auto* Report = static_cast<TPGProgressReportEvent*>(Event);
        if (Handlers.Current(Report->Run())) {
            Handlers.Progress(Report->Step(), Report->Percent());
        }
        return true;
    }
    return false;
}
