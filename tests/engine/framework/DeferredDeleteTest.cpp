#include <gtest/gtest.h>

#include "engine/framework/DeferredDelete.h"
#include "tests/engine/framework/TestObjects.h"

namespace {

// Counts its own destruction.
class Counted : public CBaseObj {
public:
    explicit Counted(int& deleted) : CBaseObj(1, 1, nullptr), deleted_(deleted) {}
    ~Counted() override { ++deleted_; }

private:
    int& deleted_;
};

TEST(DeferredDelete, OutsideADispatchTheObjectGoesAtOnce)
{
    int deleted = 0;
    DeleteWhenSafe(new Counted(deleted));
    EXPECT_EQ(deleted, 1);
    DeleteWhenSafe(nullptr);
}

TEST(DeferredDelete, InsideNestedDispatchesTheObjectLivesUntilTheOutermostEnds)
{
    int deleted = 0;
    auto* object = new Counted(deleted);
    {
        CDispatchScope outer;
        {
            CDispatchScope inner;
            DeleteWhenSafe(object);
            DeleteWhenSafe(object); // handed in twice, freed once
            EXPECT_TRUE(IsDeletePending(object));
        }
        EXPECT_EQ(deleted, 0);
        EXPECT_EQ(GetDispatchDepth(), 1);
    }
    EXPECT_EQ(deleted, 1);
    EXPECT_EQ(GetDispatchDepth(), 0);
}

TEST(DeferredDelete, APumpPassIsADispatch)
{
    // A live object that deletes itself from its own handler while the pump delivers.
    fwtest::Log log;
    auto* probe = new fwtest::Probe(log, "p", 5, 7);
    probe->onMessage = [probe](CMessage&) {
        UnregisterLiveObject(probe);
        DeleteWhenSafe(probe);
        EXPECT_EQ(GetLiveObjectCount(), 0);
        return true; // the handler still returns through the object's own code
    };
    CBaseObj key(5, 7, nullptr);
    {
        CDispatchScope pass;
        SendMsg(key, 42, 0, 0, nullptr);
        EXPECT_TRUE(IsDeletePending(probe));
    }
    EXPECT_EQ(log, fwtest::Log{"p:42"});
}

} // namespace
