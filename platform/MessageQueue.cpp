#include "platform/MessageQueue.h"

#include "platform/Clock.h"

namespace plat {

void MessageQueue::Post(const PlatMessage& msg)
{
    PlatMessage copy = msg;
    if (copy.timeMs == 0)
        copy.timeMs = CurrentMs32();
    queue_.push_back(copy);
}

std::optional<PlatMessage> MessageQueue::Peek(bool remove)
{
    if (queue_.empty())
        return std::nullopt;
    PlatMessage msg = queue_.front();
    if (remove)
        queue_.pop_front();
    return msg;
}

bool MessageQueue::WaitUntil(uint64_t deadlineMs)
{
    if (!queue_.empty())
        return true;
    if (source_) {
        source_(*this, deadlineMs);
        if (!queue_.empty())
            return true;
    }
    GetClock().SleepUntil(deadlineMs);
    return !queue_.empty();
}

MessageQueue& GetMessageQueue()
{
    static MessageQueue queue;
    return queue;
}

}  // namespace plat
