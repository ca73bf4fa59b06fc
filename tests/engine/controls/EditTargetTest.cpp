// Edit-menu targets announce themselves, and their going away, to the application.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "engine/controls/EditTarget.h"
#include "engine/framework/Str.h"
#include "tests/engine/controls/WindowsKit.h"

namespace {

using namespace wtest;

// What the application was told: the target (word 2) and the value (word 3) of each -36.
struct Announcement {
    MsgWord target;
    MsgWord value;
    bool operator==(const Announcement&) const = default;
};

class EditTargetTest : public WindowsTest {
protected:
    void SetUp() override
    {
        WindowsTest::SetUp();
        appl.onMessage = [this](CMessage& m) {
            if (m.GetId() == CEditTarget::kMsgEditTarget)
                told.push_back({m.GetParam(2), m.GetParam(3)});
        };
    }
    static MsgWord Word(const CEditTarget* t) { return reinterpret_cast<MsgWord>(t); }

    TestAppl appl{log};
    std::vector<Announcement> told;
};

TEST_F(EditTargetTest, ActivatingAndClearingAnnounceTheTarget)
{
    CEditTarget target;
    EXPECT_FALSE(target.IsActive());
    EXPECT_EQ(target.Undo(), nullptr);
    target.Activate(77);
    EXPECT_TRUE(target.IsActive());
    SetEditTargetWord(5);
    ClearEditTarget();
    EXPECT_EQ(GetEditTargetWord(), 0);
    EXPECT_EQ(told, (std::vector<Announcement>{{Word(&target), 77}, {0, 0}}));

    // Deactivating clears the word only for an active target, and announces nothing.
    SetEditTargetWord(5);
    target.Deactivate();
    EXPECT_EQ(GetEditTargetWord(), 0);
    SetEditTargetWord(6);
    target.Deactivate();
    EXPECT_EQ(GetEditTargetWord(), 6);
    target.SetActive(true);
    EXPECT_TRUE(target.IsActive());
    EXPECT_EQ(told.size(), 2u);
}

TEST_F(EditTargetTest, DestroyingAnActiveTargetAnnouncesNoTarget)
{
    auto active = std::make_unique<CEditTarget>();
    auto idle = std::make_unique<CEditTarget>();
    active->Activate(1);
    SetEditTargetWord(8);
    idle.reset();
    EXPECT_EQ(told.size(), 1u) << "an inactive target goes quietly";
    active.reset();
    EXPECT_EQ(GetEditTargetWord(), 0);
    ASSERT_EQ(told.size(), 2u);
    EXPECT_EQ(told.back(), (Announcement{0, 0}));
}

} // namespace
