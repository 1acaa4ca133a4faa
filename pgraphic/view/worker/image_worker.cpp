#include "pgraphic/view/worker/image_worker.h"

#include "pgraphic/image/pixel_graphic.h"
#include "pgraphic/view/worker/worker_events.h"

TPGImageWorker::TPGImageWorker(TPGProgressThrottle::TRule ProgressRule)
    : FThrottle(ProgressRule), FRun(PGNewWorkerRun()) {}

void TPGImageWorker::Resume() {
    if (!FInactive) {
        FThread.Start([this] { Execute(); });
    }
}

void TPGImageWorker::BeginRun() {
    FStep = 1;
    FThrottle.Start(TPGProgressThrottle::Now());
}

std::unique_ptr<TPixelGraphic> TPGImageWorker::NewImage() {
    auto Image = std::make_unique<TPixelGraphic>();
    Image->OnProgress = [this](TObject*, int Step, int Max, bool& Abort) {
        ImageProgress(Step, Max, Abort);
    };
    return Image;
}

void TPGImageWorker::ImageProgress(int Step, int Max, bool& Abort) {
    const auto Percent = FThrottle.Report(Step, Max, TPGProgressThrottle::Now());
    if (Percent && PostsProgress()) {
        PGPostProgress(FTargetWindow, FRun, FStep, *Percent);
    }
    Abort = Terminated();
}
