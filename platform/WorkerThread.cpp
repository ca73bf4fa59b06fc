#include "platform/WorkerThread.h"

#include <utility>

namespace plat {

WorkerThread::~WorkerThread()
{
    RequestStop();
    if (OnThisThread())
        thread_.detach(); // cannot join itself; nothing of it is used afterwards
    else
        Join();
}

void WorkerThread::Start(std::function<void()> body)
{
    Join();
    stop_ = false;
    clock_ = &GetClock();
    clock_->AddWorker();
    thread_ = std::thread([clock = clock_, body = std::move(body)] {
        SetOnWorkerThread(true);
        body();
        clock->RemoveWorker();
    });
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
