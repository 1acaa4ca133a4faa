#pragma once

#include <atomic>
#include <functional>
#include <thread>

// A thread that runs one piece of work and can be asked to stop. Terminate raises a flag that the
// work polls between its steps (and answers as Abort to progress reports); WaitFor joins the
// thread. Stopping a worker always means both, in this order; on a finished or never started
// thread that returns at once.
class TPGWorkerThread {
public:
    TPGWorkerThread() = default;
    TPGWorkerThread(const TPGWorkerThread&) = delete;
    TPGWorkerThread& operator=(const TPGWorkerThread&) = delete;
    // Stops the thread.
    ~TPGWorkerThread();

    // Runs Work on a new thread. Work must not let an exception escape. A thread may be started
    // once.
    void Start(std::function<void()> Work);

    void Terminate() { FTerminated.store(true, std::memory_order_release); }
    bool Terminated() const { return FTerminated.load(std::memory_order_acquire); }
    void WaitFor();
    void Stop() {
        Terminate();
        WaitFor();
    }

private:
    std::atomic<bool> FTerminated{false};
    std::thread FThread;
};
