#include "pgraphic/view/worker/worker_thread.h"

#include <stdexcept>
#include <utility>

TPGWorkerThread::~TPGWorkerThread() {
    Stop();
}

void TPGWorkerThread::Start(std::function<void()> Work) {
    if (FThread.joinable()) {
        throw std::logic_error("worker thread started twice");
    }
    FThread = std::thread(std::move(Work));
}

void TPGWorkerThread::WaitFor() {
    if (FThread.joinable() && FThread.get_id() != std::this_thread::get_id()) {
        FThread.join();
    }
}
