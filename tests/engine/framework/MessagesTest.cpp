#include <gtest/gtest.h>

#include <memory>

#include "engine/framework/Stopwatch.h"
#include "tests/engine/framework/TestObjects.h"
#include "tests/support/TestEnv.h"

namespace {

using fwtest::Log;
using fwtest::Probe;

const CBaseObj kEveryone(CBaseObj::kAnyKind, CBaseObj::kAnyId, nullptr);

CBaseObj Key(uint32_t kind, int32_t id) { return CBaseObj(kind, id, nullptr); }

TEST(MessageTest, WordsArePointerSizedAndKeepNumbers)
{
    CMessage m(42, -1, 7);
    EXPECT_EQ(m.GetDelay(), -1);
    EXPECT_EQ(m.GetDueTick(), 0u);
    EXPECT_EQ(static_cast<int32_t>(m.GetParam(0)), -1);
    EXPECT_EQ(m.GetParam(1), 7);
    for (int i = 2; i < 6; ++i)
        EXPECT_EQ(m.GetParam(i), 0);
    int local = 0;
    EXPECT_EQ(m.SetParamPtr(&local, 2), 2);
    EXPECT_EQ(m.GetParamPtr<int>(2), &local);
    EXPECT_EQ(m.SetParam(static_cast<int32_t>(0x80000001u), 5), 5);
    EXPECT_EQ(static_cast<uint32_t>(m.GetParam(5)), 0x80000001u);
    m.SetParam(9, 6); // outside the record: ignored
    EXPECT_EQ(m.GetParam(6), 0);

    CMessage copy(1);
    copy = m;
    copy.SetId(43);
    EXPECT_EQ(copy.GetParamPtr<int>(2), &local);
    EXPECT_EQ(copy.GetId(), 43);
}

TEST(DeliveryTest, FirstHandlerOrEveryone)
{
    Log log;
    Probe a(log, "a"), b(log, "b"), c(log, "c", 6);
    CBaseObj key = Key(5, 1);
    EXPECT_TRUE(SendMsg(key, 10, 0, 0, nullptr));
    EXPECT_EQ(log, (Log{"a:10"}));

    log.clear();
    a.answer = false;
    EXPECT_TRUE(SendMsg(key, 11, 0, 0, nullptr));
    EXPECT_EQ(log, (Log{"a:11", "b:11"}));

    log.clear();
    b.Enable(false);
    CMessage all(12);
    CBaseObj everyone(kEveryone);
    DeliverMessage(everyone, all, nullptr, true);
    EXPECT_EQ(log, (Log{"a:12", "c:12"})); // registration order, disabled skipped

    // An event object addressed itself is called directly, live or not.
    log.clear();
    Probe loose(log, "loose", 5, 1, nullptr, false);
    EXPECT_TRUE(SendMsg(loose, 13, 0, 0, nullptr));
    loose.Enable(false);
    EXPECT_FALSE(SendMsg(loose, 14, 0, 0, nullptr));
    EXPECT_EQ(log, (Log{"loose:13"}));

    // Id 0 is accepted and dropped.
    log.clear();
    EXPECT_TRUE(SendMsg(key, 0, 0, 0, nullptr));
    EXPECT_TRUE(log.empty());
}

TEST(DeliveryTest, RegistrationIsOnceAndUnregisterIsSafe)
{
    Log log;
    Probe a(log, "a", 5, 1, nullptr, false);
    RegisterLiveObject(&a);
    RegisterLiveObject(&a);
    EXPECT_EQ(GetLiveObjectCount(), 1);
    EXPECT_TRUE(a.IsLive());
    Probe stray(log, "stray", 5, 1, nullptr, false);
    UnregisterLiveObject(&stray);
    EXPECT_EQ(GetLiveObjectCount(), 1);
    UnregisterLiveObject(&a);
    EXPECT_FALSE(a.IsLive());
    EXPECT_EQ(GetLiveObjectCount(), 0);
}

TEST(DeliveryTest, ObjectsDeletingThemselvesInABroadcastDoNotHideTheNextOne)
{
    Log log;
    auto* a = new Probe(log, "a");
    auto* b = new Probe(log, "b");
    auto* c = new Probe(log, "c");
    auto* d = new Probe(log, "d");
    b->onMessage = [b](CMessage&) {
        delete b; // leaves the live list from inside its own handler
        return true;
    };
    c->onMessage = [a](CMessage&) {
        delete a; // an object already visited, below the walk's position
        return true;
    };
    CMessage m(20);
    BroadcastMessage(m, nullptr);
    EXPECT_EQ(log, (Log{"a:20", "b:20", "c:20", "d:20"}));
    EXPECT_EQ(GetLiveObjectCount(), 2);

    // Objects registered by a handler are visited in the same walk.
    log.clear();
    c->onMessage = nullptr;
    std::unique_ptr<Probe> late;
    d->onMessage = [&](CMessage&) {
        if (!late)
            late = std::make_unique<Probe>(log, "late");
        return true;
    };
    BroadcastMessage(m, nullptr);
    EXPECT_EQ(log, (Log{"c:20", "d:20", "late:20"}));
    delete c;
    delete d;
}

TEST(QueueTest, DueMessagesNewestFirstOnTheNextPass)
{
    Log log;
    Probe a(log, "a");
    CBaseObj key = Key(5, 1);
    EXPECT_TRUE(SendMessageRecord(key, 1, 0, 0, 0, nullptr));
    EXPECT_TRUE(SendMessageRecord(key, 2, 0, 0, 0, nullptr));
    EXPECT_TRUE(SendMessageRecord(key, 3, 2, 0, 0, nullptr));
    EXPECT_TRUE(log.empty());
    EXPECT_EQ(TicksUntilNextMessage(), 0u);

    // A handler's queued message waits for the next pass.
    a.onMessage = [&](CMessage& m) {
        if (m.GetId() == 1)
            SendMessageRecord(key, 4, 0, 0, 0, nullptr);
        return true;
    };
    ProcessDueMessages();
    EXPECT_EQ(log, (Log{"a:2", "a:1"}));
    ProcessDueMessages();
    EXPECT_EQ(log, (Log{"a:2", "a:1", "a:4"}));
    EXPECT_EQ(TicksUntilNextMessage(), 2u);

    qmtest::Clock().Advance(2 * 17);
    ProcessDueMessages();
    EXPECT_EQ(log.back(), "a:3");
    EXPECT_EQ(GetPendingMessageCount(), 0);
    EXPECT_EQ(TicksUntilNextMessage(), std::nullopt);
}

TEST(QueueTest, ADelayedBroadcastReachesEveryObjectWhenDue)
{
    Log log;
    Probe a(log, "a");
    Probe b(log, "b");
    CMessage m(30, 0, 0, 1);
    EXPECT_TRUE(BroadcastMessage(m, nullptr));
    ProcessDueMessages();
    EXPECT_TRUE(log.empty());
    qmtest::Clock().Advance(17);
    ProcessDueMessages();
    EXPECT_EQ(log, (Log{"a:30", "b:30"})) << "not only the first that handles it";
}

TEST(QueueTest, QueuedMessagesFindTheObjectsLiveAtDelivery)
{
    Log log;
    auto gone = std::make_unique<Probe>(log, "gone", 5, 1);
    CBaseObj key = Key(5, 1);
    CMessage m(30, 0, 0, 0);
    DeliverMessage(*gone, m, gone.get(), false); // queued through a plain copy of the key
    gone.reset();
    ProcessDueMessages();
    EXPECT_TRUE(log.empty());
    EXPECT_EQ(GetPendingMessageCount(), 0);

    // The copy matches an object registered after queuing; a sender that went away in the
    // meantime arrives as null.
    CBaseObj* seenSender = reinterpret_cast<CBaseObj*>(1);
    auto sender = std::make_unique<Probe>(log, "sender", 9, 9);
    DeliverMessageDelayed(key, m, 0, sender.get());
    sender.reset();
    Probe later(log, "later");
    struct SenderSpy : fwtest::Probe {
        using Probe::Probe;
        CBaseObj** out = nullptr;
        bool HandleMessage(CMessage& msg, CBaseObj* s) override
        {
            *out = s;
            return Probe::HandleMessage(msg, s);
        }
    };
    later.Enable(false);
    SenderSpy spy(log, "spy");
    spy.out = &seenSender;
    ProcessDueMessages();
    EXPECT_EQ(log, (Log{"spy:30"}));
    EXPECT_EQ(seenSender, nullptr);

    // Missing copies queue nothing.
    QueueMessage(nullptr, std::make_unique<CMessage>(1, 0, 0, 0), nullptr);
    QueueMessage(std::make_unique<CBaseObj>(key), nullptr, nullptr);
    EXPECT_EQ(GetPendingMessageCount(), 0);
}

TEST(QueueTest, NestedPumpInsideAHandlerDeliversEachMessageOnce)
{
    Log log;
    Probe a(log, "a");
    CBaseObj key = Key(5, 1);
    for (int id = 1; id <= 4; ++id)
        SendMessageRecord(key, id, 0, 0, 0, nullptr);
    // The newest message's handler runs a nested pass, as a modal loop does: it delivers
    // and removes every entry below the outer walk's position.
    a.onMessage = [&](CMessage& m) {
        if (m.GetId() == 4)
            ProcessDueMessages();
        return true;
    };
    ProcessDueMessages();
    EXPECT_EQ(log, (Log{"a:4", "a:3", "a:2", "a:1"}));
    EXPECT_EQ(GetPendingMessageCount(), 0);
}

TEST(QueueTest, ManagerLifetimeOwnsTheArrays)
{
    Log log;
    auto mgr = std::make_unique<CMsgMgr>();
    Probe a(log, "a");
    CBaseObj key = Key(5, 1);
    SendMessageRecord(key, 1, 5, 0, 0, nullptr);
    mgr.reset(); // frees the pending message undelivered, marks the object not live
    EXPECT_FALSE(a.IsLive());
    EXPECT_EQ(GetPendingMessageCount(), 0);
    EXPECT_EQ(GetLiveObjectCount(), 0);
    ProcessDueMessages();
    EXPECT_TRUE(log.empty());
}

} // namespace
