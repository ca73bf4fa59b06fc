#include <gtest/gtest.h>

#include "engine/framework/Stopwatch.h"
#include "engine/framework/TimerEvent.h"
#include "tests/engine/framework/TestObjects.h"
#include "tests/support/TestEnv.h"

namespace {

using fwtest::Log;
using fwtest::Probe;

TEST(BaseObjTest, GeneratedIdsCountDownFromMinusTwo)
{
    CBaseObj a(1, CBaseObj::kNewId, nullptr);
    CBaseObj b(1, CBaseObj::kNewId, nullptr);
    EXPECT_EQ(a.GetId(), -2);
    EXPECT_EQ(b.GetId(), -3);
    b.SetId(CBaseObj::kNewId);
    EXPECT_EQ(b.GetId(), -4);
    EXPECT_EQ(b.StoreId(-2), &b);
    EXPECT_EQ(b.GetId(), -2);
    b.SetKind(9);
    EXPECT_EQ(b.GetKind(), 9u);
}

TEST(BaseObjTest, KeyMatchingTable)
{
    CBaseObj ownerA(0, 100, nullptr), ownerB(0, 101, nullptr);
    const CBaseObj obj(7, 3, &ownerA);
    struct Case {
        uint32_t kind;
        int32_t id;
        CBaseObj* owner;
        bool match;
    };
    const Case cases[] = {
        {7, 3, &ownerA, true},
        {CBaseObj::kAnyKind, CBaseObj::kAnyId, nullptr, true},
        {7, 3, nullptr, true},
        {7, 3, &ownerB, false},
        {7, 4, &ownerA, false},
        {8, 3, &ownerA, false},
        {CBaseObj::kAnyKind, 3, &ownerA, true},
        {7, CBaseObj::kAnyId, &ownerA, true},
    };
    for (const Case& c : cases) {
        const CBaseObj key(c.kind, c.id, c.owner);
        EXPECT_EQ(obj.Matches(key), c.match) << c.kind << " " << c.id;
    }
    // Wildcards and a missing owner on the object's side match too.
    const CBaseObj any(CBaseObj::kAnyKind, CBaseObj::kAnyId, nullptr);
    EXPECT_TRUE(any.Matches(CBaseObj(1, 2, &ownerB)));
}

TEST(EventObjTest, CopyIsAPlainKeyAndEnabledStateNests)
{
    Log log;
    Probe p(log, "p", 5, 1, nullptr, false);
    EXPECT_TRUE(p.IsReceiver());
    EXPECT_TRUE(p.IsEnabled());
    EXPECT_EQ(p.GetFlags(), CEventObj::kFlagEnabled);
    const CBaseObj key(p);
    EXPECT_FALSE(key.IsReceiver());
    EXPECT_EQ(key.GetKind(), 5u);

    p.SaveEnabled(false);
    p.SaveEnabled(false); // nested: keeps the first state
    EXPECT_FALSE(p.IsEnabled());
    p.RestoreEnabled(false);
    EXPECT_TRUE(p.IsEnabled());
    p.Enable(false);
    p.RestoreEnabled(false); // nothing saved any more
    EXPECT_FALSE(p.IsEnabled());

    // A disabled object stays disabled through a save and restore.
    p.SaveEnabled(false);
    p.RestoreEnabled(false);
    EXPECT_FALSE(p.IsEnabled());
}

TEST(EventObjTest, TimerClockAndDeletion)
{
    Log log;
    auto* p = new Probe(log, "p");
    EXPECT_EQ(p->GetClock(), GetRealClock());
    p->StartTimer(5, nullptr);
    EXPECT_EQ(p->GetClock(), GetGameClock());
    EXPECT_EQ(GetTimerCount(), 1);
    p->StopTimer();
    EXPECT_EQ(p->GetClock(), GetRealClock());
    EXPECT_EQ(GetTimerCount(), 0);

    qmtest::Clock().Advance(170);
    EXPECT_EQ(p->GetClockTime(), 170u);

    // Deleting a live object with a timer takes it out of the live list and the queue.
    p->StartTimer(5, GetRealClock());
    EXPECT_EQ(GetLiveObjectCount(), 1);
    delete p;
    EXPECT_EQ(GetLiveObjectCount(), 0);
    EXPECT_EQ(GetTimerCount(), 0);
}

} // namespace
