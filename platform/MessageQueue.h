#pragma once
// The queue of platform messages the application pump reads: window messages, input and
// messages posted to the program. Post, peek without waiting, and wait until a deadline or
// the next posted message. The window system adds windows, input and painting on top.
#include <cstdint>
#include <deque>
#include <functional>
#include <optional>

namespace plat {

// Window handles are opaque pointer-sized numbers; 0 means none.
using WindowHandle = uintptr_t;

struct PlatMessage {
    WindowHandle window = 0;
    uint32_t message = 0;
    uintptr_t wParam = 0;   // pointer-sized so that parameters may carry pointers
    intptr_t lParam = 0;
    uint32_t timeMs = 0;    // the clock's milliseconds when posted
};

class MessageQueue {
public:
    void Post(const PlatMessage& msg);
    // Takes (or, with remove false, copies) the oldest message; nullopt when empty.
    std::optional<PlatMessage> Peek(bool remove = true);
    bool Empty() const { return queue_.empty(); }
    size_t Size() const { return queue_.size(); }
    // Waits until a message is queued or the clock reaches deadlineMs, whichever comes
    // first; returns true when a message is waiting. With a fake clock the wait moves the
    // clock to the deadline, so it never blocks. A source of outside events (the real
    // window backend) can be hooked in through SetEventSource.
    bool WaitUntil(uint64_t deadlineMs);
    void Clear() { queue_.clear(); }

    // A backend's event pump: called with the deadline while waiting; it moves outside
    // events into the queue and may block up to the deadline. Empty for headless runs.
    using EventSource = std::function<void(MessageQueue& queue, uint64_t deadlineMs)>;
    void SetEventSource(EventSource source) { source_ = std::move(source); }

private:
    std::deque<PlatMessage> queue_;
    EventSource source_;
};

MessageQueue& GetMessageQueue();

}  // namespace plat
