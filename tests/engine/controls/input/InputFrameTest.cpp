#include <gtest/gtest.h>

#include "engine/controls/InputState.h"
#include "engine/controls/input/InputFrame.h"
#include "engine/framework/MsgMgr.h"
#include "tests/engine/controls/input/ControlsKit.h"

namespace {

using namespace ctest;

// A control that logs its window and mouse slots.
class Probe : public CInputFrame {
public:
    Probe(Log& log, std::string name, const CRect& rect, CBaseObj* target = nullptr, uint32_t mode = 2)
        : CInputFrame(1, kNewId, rect, 77, target), log_(log), name_(std::move(name))
    {
        SetInputMode(mode);
    }
    void CreateWnd() override { log_.push_back(name_ + ":create"); }
    void DestroyWnd() override { log_.push_back(name_ + ":destroy"); }
    void EnableWnd(bool enable) override
    {
        log_.push_back(name_ + ":enablewnd=" + std::to_string(enable));
        CInputFrame::EnableWnd(enable);
    }
    void Draw(bool whole) override
    {
        log_.push_back(name_ + ":draw");
        CInputFrame::Draw(whole);
    }
    void OnMouseDown(bool inside, CMessage&) override
    {
        log_.push_back(name_ + ":down/" + std::to_string(inside));
    }
    void OnMouseMove(bool inside, CMessage&) override
    {
        log_.push_back(name_ + ":move/" + std::to_string(inside));
    }
    void OnMouseUp(bool inside, CMessage&) override
    {
        log_.push_back(name_ + ":up/" + std::to_string(inside));
    }

private:
    Log& log_;
    std::string name_;
};

class InputFrameTest : public ControlsTest {
protected:
    Probe* Make(const char* name, int16_t order, uint32_t mode = 2)
    {
        auto* p = new Probe(log, name, CRect(10, 10, 30, 60), target, mode);
        p->SetTabOrder(order);
        return p;
    }
    std::vector<CWindControl*> Order()
    {
        std::vector<CWindControl*> out;
        for (CList::Node* n = wnd->GetControls().GetHeadNode(); n; n = n->next)
            out.push_back(static_cast<CWindControl*>(n->item));
        return out;
    }
};

TEST_F(InputFrameTest, ANewControlIsTransparentTakesInputAndWaitsAtTheTailOfTheTabOrder)
{
    Probe p(log, "p", CRect(0, 0, 10, 10));
    EXPECT_EQ(p.GetTabOrder(), -1);
    EXPECT_EQ(p.GetKind(), CInputFrame::kKind);
    EXPECT_TRUE(p.IsTransparent());
    EXPECT_TRUE(p.TakesInput());
    EXPECT_TRUE(p.IsActiveRequested());
    EXPECT_TRUE(p.IsWndEnabled());
    EXPECT_FALSE(p.IsLive()); // not addressed until it is attached
    p.SetDefault(true);       // a plain control never becomes the default
    EXPECT_FALSE(p.IsDefault());
    EXPECT_FALSE(p.WantsKey(13));
    EXPECT_EQ(p.GetHwnd(), 0u);
}

TEST_F(InputFrameTest, TabOrderPlacesNewControlsAtTheTailTheHeadOrBeforeEqualOrders)
{
    Probe* a = Add(Make("a", -1));
    Probe* b = Add(Make("b", 3));
    Probe* c = Add(Make("c", 0)); // the head
    Probe* d = Add(Make("d", 3)); // before the earlier 3, past the -1 before it
    Probe* e = Add(Make("e", -1));
    EXPECT_EQ(Order(), (std::vector<CWindControl*>{c, a, d, b, e}));
    a->SetTabOrder(5); // an attached control takes its new place at once
    EXPECT_EQ(Order(), (std::vector<CWindControl*>{c, d, b, e, a}));
}

TEST_F(InputFrameTest, AttachingRegistersEntersTheListAndTakesTheFocusDetachingUndoesIt)
{
    Probe* passive = Add(Make("passive", -1, 0));
    EXPECT_EQ(wnd->GetFocusControl(), nullptr); // input mode 0 is never focused
    Probe* p = Add(Make("p", -1));
    EXPECT_EQ(log, (Log{"passive:create", "p:create"}));
    EXPECT_TRUE(p->IsLive());
    EXPECT_TRUE(wnd->HasControl(p));
    EXPECT_EQ(wnd->GetFocusControl(), p);
    EXPECT_TRUE(p->HasFocus());
    Key(plat::key::Tab); // Tab passes over the passive control and wraps to p
    EXPECT_EQ(wnd->GetFocusControl(), p);

    log.clear();
    root->RemoveChild(*p);
    EXPECT_FALSE(p->IsLive());
    EXPECT_FALSE(wnd->HasControl(p));
    EXPECT_EQ(wnd->GetFocusControl(), nullptr);
    EXPECT_FALSE(p->HasFocus());
    EXPECT_EQ(log, (Log{"p:draw", "p:destroy"}));
    delete p;
    EXPECT_TRUE(wnd->HasControl(passive));
}

TEST_F(InputFrameTest, AControlMovedToASecondWindowLeavesTheFirst)
{
    Probe* p = Add(Make("p", -1));
    CFrame* root2 = wtest::Root(100, 100, log);
    CWind* second = wtest::MakeWindow(CWind::kTypeTopLevel, root2);
    p->SetOwner(second);
    EXPECT_FALSE(wnd->HasControl(p));
    EXPECT_TRUE(second->HasControl(p));
    EXPECT_EQ(wnd->GetFocusControl(), nullptr);
    p->SetOwner(nullptr);
    EXPECT_FALSE(second->HasControl(p));
    root->RemoveChild(*p);
    delete p;
    delete second;
}

TEST_F(InputFrameTest, OnlyTheMouseMessageIsHandledAndReachesTheSlotByItsKind)
{
    Probe* p = Add(Make("p", -1));
    log.clear();
    const CPoint in(20, 20), out(100, 100);
    struct Case {
        int32_t kind;
        const CPoint* point;
        const char* expected;
    };
    const Case cases[] = {{1, &in, "p:down/1"}, {2, &out, "p:move/0"}, {0, &in, "p:up/1"}, {7, &in, nullptr}};
    for (const Case& c : cases) {
        log.clear();
        CMessage m(kMsgMouse);
        m.SetParam(c.kind, 2);
        m.SetParamPtr(c.point, 4);
        EXPECT_TRUE(p->HandleMessage(m, nullptr)) << c.kind;
        EXPECT_EQ(log, c.expected ? Log{c.expected} : Log{}) << c.kind;
    }
    CMessage key(kMsgKey);
    EXPECT_FALSE(p->HandleMessage(key, nullptr));
}

TEST_F(InputFrameTest, DisablingReleasesAHeldCaptureFirstAndAnUnchangedStateDoesNothing)
{
    Probe* p = Add(Make("p", -1));
    Down(20, 20);
    ASSERT_EQ(GetCaptureObj(), p);
    log.clear();
    p->Enable(false);
    EXPECT_EQ(GetCaptureObj(), nullptr);
    EXPECT_FALSE(p->IsWndEnabled());
    EXPECT_EQ(log, (Log{"p:enablewnd=0", "p:draw"}));
    log.clear();
    p->Enable(false); // unchanged: no redraw
    EXPECT_EQ(log, Log{});
    Up(20, 20); // the release after a lost capture reaches nobody
    EXPECT_EQ(log, Log{});

    // The effective state is the request and the enabled bit.
    p->SetActive(true);
    EXPECT_FALSE(p->IsWndEnabled());
    p->Enable(true);
    EXPECT_TRUE(p->IsWndEnabled());
    p->SetActive(false);
    EXPECT_FALSE(p->IsWndEnabled());
}

TEST_F(InputFrameTest, NotificationsGoAtOnceWithTheControlAsSenderToAnObjectOrAKey)
{
    Probe* p = Add(Make("p", -1));
    p->SetNotifyParam(5, 0);
    p->SetNotifyParam(6, 1);
    p->SetNotifyParam(7, 2); // only words 0 and 1 are the caller's
    p->SendNotify();
    ASSERT_EQ(target->notes.size(), 1u);
    EXPECT_EQ(target->notes[0].id, 77);
    EXPECT_EQ(target->notes[0].sender, p);
    EXPECT_EQ(target->Words(0), std::vector<MsgWord>{5});
    EXPECT_EQ(target->Words(1), std::vector<MsgWord>{6});
    EXPECT_EQ(target->Words(2), std::vector<MsgWord>{0});
    EXPECT_TRUE(p->IsTargetLive());

    {
        // A key (any kind, the target's id) is copied: the caller's key may go at once.
        CBaseObj key(CBaseObj::kAnyKind, target->GetId(), nullptr);
        p->SetNotifyTarget(&key);
    }
    EXPECT_FALSE(p->IsTargetLive());
    p->SetNotifyType(78);
    p->SendNotify();
    ASSERT_EQ(target->notes.size(), 2u);
    EXPECT_EQ(target->notes[1].id, 78);
    p->SetNotifyTarget(nullptr); // the copy is deleted when replaced
    p->SendNotify();
    EXPECT_EQ(target->notes.size(), 2u);
}

} // namespace
