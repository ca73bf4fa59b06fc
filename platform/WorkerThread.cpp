#include "platform/WorkerThread.h"

#include <atomic>
#include <system_error>
#include <utility>

namespace plat {

namespace {

std::atomic<bool> g_refused{false};

} // namespace

void SetWorkerThreadsRefused(bool refused) { g_refused = refused; }

WorkerThread::~WorkerThread()
{
    RequestStop();
    if (OnThisThread())
        thread_.detach(); // cannot join itself; nothing of it is used afterwards
    else
        Join();
}

bool WorkerThread::Start(std::function<void()> body)
{
    Join();
    if (g_refused)
        return false;
    stop_ = false;
    clock_ = &GetClock();
    clock_->AddWorker();
    try {
        thread_ = std::thread([clock = clock_, body = std::move(body)] {
            SetOnWorkerThread(true);
            body();
            clock->RemoveWorker();
        });
    } catch (const std::system_error&) {
        clock_->RemoveWorker(); // no thread: nothing for the clock to wait for
        return false;
    }
    return true;
}

void WorkerThread::RequestStop()
{
    stop_ = true;
    if (clock_)
        clock_->WakeStopped();
}

void WorkerThread::Join()
{
    if (thread_.joinable() && !OnThisThread())
        thread_.join();
}

bool WorkerThread::WaitUntil(uint64_t ms) { return (clock_ ? *clock_ : GetClock()).WaitUntil(ms, stop_); }

} // namespace plat
