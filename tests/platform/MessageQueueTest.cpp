#include <gtest/gtest.h>

#include "platform/Clock.h"
#include "platform/MessageQueue.h"
#include "tests/support/TestEnv.h"

namespace {

TEST(MessageQueue, PostPeekAndWaitOnTheFakeClock)
{
    plat::MessageQueue& q = plat::GetMessageQueue();
    EXPECT_FALSE(q.Peek().has_value());

    // Nothing queued: the wait moves the fake clock to the deadline instead of blocking.
    const uint64_t start = qmtest::Clock().NowMs();
    EXPECT_FALSE(q.WaitUntil(start + 500));
    EXPECT_EQ(qmtest::Clock().NowMs(), start + 500);

    q.Post({0, 7, 1, 2, 0});
    q.Post({0, 8, 3, 4, 0});
    EXPECT_TRUE(q.WaitUntil(start + 10000));
    EXPECT_EQ(qmtest::Clock().NowMs(), start + 500);  // a waiting message ends the wait at once
    EXPECT_EQ(q.Peek(false)->message, 7u);
    EXPECT_EQ(q.Peek()->message, 7u);
    EXPECT_EQ(q.Peek()->message, 8u);
    EXPECT_TRUE(q.Empty());
}

TEST(MessageQueue, EventSourceFeedsTheWait)
{
    plat::MessageQueue& q = plat::GetMessageQueue();
    q.SetEventSource([](plat::MessageQueue& queue, uint64_t) { queue.Post({0, 42, 0, 0, 0}); });
    EXPECT_TRUE(q.WaitUntil(qmtest::Clock().NowMs() + 100));
    EXPECT_EQ(q.Peek()->message, 42u);
}

}  // namespace
