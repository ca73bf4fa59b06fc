#pragma once
// A thread that works beside the GUI thread: it waits on the clock in use between its
// rounds, a stop request cuts such a wait short, and it is joined, never killed. The clock
// counts it from Start, before the thread runs, so a fake clock moved by a test waits for it.
#include <atomic>
#include <functional>
#include <thread>

#include "platform/Clock.h"

namespace plat {

class WorkerThread {
public:
    WorkerThread() = default;
    // Asks the thread to stop and joins it.
    ~WorkerThread();
    WorkerThread(const WorkerThread&) = delete;
    WorkerThread& operator=(const WorkerThread&) = delete;

    // Runs body on a new thread; a thread started before is joined first. False when the
    // system would not make a thread.
    bool Start(std::function<void()> body);
    // Cuts the thread's current or next wait short; any thread may ask.
    void RequestStop();
    bool StopRequested() const { return stop_.load(); }
    // Waits for the thread to end. Does nothing without a thread, and on the thread itself
    // (which leaves the join to its owner).
    void Join();
    // Waits on the clock until ms or a stop request; false for the stop. (Called on another
    // thread, a fake clock jumps ahead instead.)
    bool WaitUntil(uint64_t ms);
    bool OnThisThread() const { return thread_.get_id() == std::this_thread::get_id(); }

private:
    std::thread thread_;
    std::atomic<bool> stop_{false};
    Clock* clock_ = nullptr;
};

// For tests: while set, every Start fails as it does when the system makes no thread.
// ResetPlatform clears it.
void SetWorkerThreadsRefused(bool refused);

} // namespace plat
