#include "engine/framework/TimerEvent.h"

#include <algorithm>

#include "engine/framework/PtrArray.h"
#include "engine/framework/Stopwatch.h"

namespace {

// Never destroyed: objects destroyed at exit (a sound in a process-wide slot that still fades,
// when a fatal report ends the program) leave the queue after every static has gone.
CPtrArray& Queue()
{
    static CPtrArray& queue = *new CPtrArray;
    return queue;
}

CTimerEvent* EventAt(int32_t i) { return static_cast<CTimerEvent*>(Queue().GetAt(i)); }

// An event is due once its due value is not later than its clock's count, compared unsigned: a
// period of 2^31 ticks or more waits its full length, and a due value that wrapped past 2^32
// counts as reached until the clock wraps too, as the queue has always decided.
bool IsReached(const CTimerEvent& e) { return e.GetDue() <= e.GetClock()->Elapsed(); }

// Ticks until the event falls due; 0 once it is due.
uint32_t Remaining(const CTimerEvent& e) { return IsReached(e) ? 0 : e.GetDue() - e.GetClock()->Elapsed(); }

} // namespace

CTimerEvent::CTimerEvent(uint32_t period, Callback callback, void* argument, CStopwatch* clock)
    : clock_(clock ? clock : GetGameClock()), period_(period), due_(clock_->Elapsed() + period),
      argument_(argument), callback_(callback)
{
    Queue().Add(this);
}

CTimerEvent::~CTimerEvent() { Queue().RemoveAt(Queue().IndexOf(this)); }

bool CTimerEvent::IsDue() const { return IsReached(*this); }

void CTimerEvent::Fire()
{
    due_ = clock_->Elapsed() + period_;
    if (callback_)
        callback_(argument_);
}

void RunDueTimers()
{
    CPtrArray& queue = Queue();
    // Two cursors follow removals made by callbacks: the next event to visit and the end
    // of the events that existed when the walk began. Each event fires at most once per
    // walk, and an event a callback creates (a restarted timer) waits for the next walk.
    CPtrArrayCursor next(queue, 0);
    CPtrArrayCursor end(queue, queue.GetCount());
    while (next.index < std::min(end.index, queue.GetCount())) {
        CTimerEvent* e = EventAt(next.index++);
        if (e && e->IsDue())
            e->Fire();
    }
}

int32_t GetTimerCount() { return Queue().GetCount(); }

std::optional<uint32_t> TicksUntilNextTimer()
{
    std::optional<uint32_t> best;
    for (int32_t i = 0; i < Queue().GetCount(); ++i) {
        const CTimerEvent* e = EventAt(i);
        if (!e || e->GetClock()->IsPaused())
            continue;
        // A period-0 event runs on every pass, but it never makes a pass worth waking for:
        // for the pump's sleep it falls due at the next tick.
        const uint32_t floor = e->GetPeriod() == 0 ? 1 : 0;
        const uint32_t ticks = std::max(Remaining(*e), floor);
        if (!best || ticks < *best)
            best = ticks;
    }
    return best;
}

void ClearTimerQueue() { Queue().RemoveAll(); }
