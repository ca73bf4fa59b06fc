#include <gtest/gtest.h>

#include <cstring>

#include "engine/controls/TFrame.h"
#include "engine/framework/Stopwatch.h"
#include "engine/framework/TimerEvent.h"
#include "engine/resources/RawParser.h"
#include "engine/resources/RsrcBlock.h"
#include "tests/engine/controls/WindowsKit.h"
#include "tests/support/TestEnv.h"

namespace {

using namespace wtest;

CFrame* Child(Log& log, const char* name, CRect rect, int16_t z = 0)
{
    auto* f = new LogFrame(log, name, rect);
    f->MoveBy(0, 0, z);
    return f;
}

std::vector<CFrame*> Children(const CFrame& parent)
{
    std::vector<CFrame*> out;
    for (CFrame* c : ChildFrames(parent))
        out.push_back(c);
    return out;
}

TEST(FrameTree, ChildrenLieByDecreasingZWithEqualZInTheOrderAdded)
{
    Log log;
    CFrame parent(4, 1, CRect(0, 0, 100, 100), false);
    CFrame* a = Child(log, "a", {0, 0, 10, 10}, 5);
    CFrame* front = Child(log, "front", {0, 0, 10, 10}, 0);
    CFrame* b = Child(log, "b", {0, 0, 10, 10}, 5);
    parent.AddChild(a, false);
    parent.AddChild(front, false);
    parent.AddChild(b, false);
    EXPECT_EQ(Children(parent), (std::vector<CFrame*>{a, b, front}));
    EXPECT_EQ(a->GetParent(), &parent);

    // A change of z re-sorts: a comes forward past b and lies level with front, after it.
    a->MoveBy(0, 0, -5);
    EXPECT_EQ(Children(parent), (std::vector<CFrame*>{b, front, a}));
    // Backwards again, behind everything.
    a->MoveBy(0, 0, 9);
    EXPECT_EQ(Children(parent), (std::vector<CFrame*>{a, b, front}));
    // A move without a change of z keeps the order.
    b->MoveBy(10, 0, 0);
    EXPECT_EQ(Children(parent), (std::vector<CFrame*>{a, b, front}));
}

TEST(FrameTree, MovesCarryTheSubtreeAndTheOriginShiftsTheBoundsOnly)
{
    Log log;
    CFrame parent(4, 1, CRect(50, 100, 150, 300), false);
    CFrame* child = Child(log, "c", {60, 110, 70, 120});
    CFrame* grandchild = Child(log, "g", {61, 111, 62, 112}, 3);
    child->AddChild(grandchild, false);
    parent.AddChild(child, false);
    parent.MoveBy(10, 0, 0);
    EXPECT_EQ(Str(child->GetBounds()), "60,120,70,130");
    EXPECT_EQ(Str(grandchild->GetDrawnRect()), "61,121,62,122");
    EXPECT_EQ(grandchild->GetZ(), 3); // children keep their own z
    EXPECT_TRUE(child->IsChanged());

    CFrame frame(4, 2, CRect(50, 100, 60, 110), false);
    frame.SetOrigin(10, 0, 0);
    EXPECT_EQ(frame.GetH(), 100);
    EXPECT_EQ(frame.GetBounds().GetLeft(), 90);
    frame.SetOrigin(10, 0, 0); // the same origin again changes nothing
    EXPECT_EQ(frame.GetBounds().GetLeft(), 90);

    // The position stays origin-relative: bounds = position - origin.
    frame.SetBounds(CRect(5, 6, 25, 46));
    EXPECT_EQ(Str(frame.GetBounds()), "5,6,25,46");
    frame.MoveTo(0, 0, 0);
    EXPECT_EQ(Str(frame.GetBounds()), "0,-10,20,30");
}

TEST(FrameTree, HitTestIsHalfOpenAndFindAtPrefersTheFrontmostInputFrame)
{
    Log log;
    CFrame root(4, 1, CRect(0, 0, 100, 100), false); // takes no input
    CFrame* back = Child(log, "back", {10, 10, 50, 50}, 2);
    CFrame* front = Child(log, "front", {30, 30, 70, 70}, 1);
    auto* passive = new LogFrame(log, "passive", {72, 72, 95, 95}, CBaseObj::kNewId, false);
    auto* inside = Child(log, "inside", {80, 80, 85, 85});
    passive->AddChild(inside, false);
    root.AddChild(back, false);
    root.AddChild(front, false);
    root.AddChild(passive, false);

    struct Case {
        int16_t h, v;
        bool inputOnly;
        CFrame* expected;
    };
    const Case cases[] = {
        {20, 20, true, back},       // only the back frame
        {40, 40, true, front},      // both: the one in front wins
        {50, 20, true, nullptr},    // the right edge is outside back; root takes no input
        {50, 20, false, &root},     // without the input condition the root qualifies
        {49, 49, true, front},      //
        {75, 75, true, nullptr},    // passive takes no input
        {75, 75, false, passive},   //
        {81, 81, true, inside},     // but its child does
        {100, 100, false, nullptr}, // outside the root
    };
    for (const Case& c : cases)
        EXPECT_EQ(root.FindAt(CPoint(c.h, c.v), c.inputOnly), c.expected) << c.h << "," << c.v;

    // A frame with a help id qualifies while the help popup is on.
    passive->SetHelpId(7);
    EXPECT_EQ(root.FindAt(CPoint(75, 75), true), nullptr);
    SetPopupHelp(true);
    EXPECT_EQ(root.FindAt(CPoint(75, 75), true), passive);
    SetPopupHelp(false);

    front->Hide(false, false);
    EXPECT_EQ(root.FindAt(CPoint(40, 40), true), back);
    EXPECT_FALSE(front->HitTest(CPoint(40, 40)));
}

TEST(FrameTree, ShowAndHideFollowTheRecurseRules)
{
    Log log;
    CFrame parent(4, 1, CRect(0, 0, 10, 10), false);
    CFrame* child = Child(log, "c", {0, 0, 5, 5});
    parent.AddChild(child, false);
    child->Hide(false, false);
    parent.Show(true); // already shown: its hidden child stays hidden
    EXPECT_FALSE(child->IsShown());
    parent.Hide(true, true);
    EXPECT_FALSE(parent.IsShown());
    parent.Show(true);
    EXPECT_TRUE(parent.IsShown());
    EXPECT_TRUE(child->IsShown());
    child->SetChanged(false);
    child->Hide(false, false);
    EXPECT_TRUE(child->IsChanged());
}

TEST(FrameTree, RemoveChildFindsByKeyAndLeavesTheChildAlive)
{
    Log log;
    CFrame parent(4, 1, CRect(0, 0, 10, 10), false);
    CFrame* a = new LogFrame(log, "a", {0, 0, 5, 5}, 40);
    CFrame* b = new LogFrame(log, "b", {0, 0, 5, 5}, 41);
    parent.AddChild(a, false);
    parent.AddChild(b, false);
    EXPECT_EQ(parent.RemoveChild(CBaseObj(5, 99, nullptr)), nullptr);
    EXPECT_EQ(Children(parent).size(), 2u);
    CFrame* removed = parent.RemoveChild(CBaseObj(CBaseObj::kAnyKind, 41, nullptr));
    ASSERT_EQ(removed, b);
    EXPECT_EQ(b->GetParent(), nullptr);
    EXPECT_EQ(Children(parent), std::vector<CFrame*>{a});
    EXPECT_EQ(parent.FindObject(CBaseObj::kAnyKind, 40), a);
    EXPECT_EQ(parent.FindObject(5, 41), nullptr);
    delete b;
}

TEST(FrameTree, JustifyPlacesASpan)
{
    struct Case {
        int16_t mode, position, size, low, high;
    };
    const Case cases[] = {
        {1, 100, 31, 85, 116}, {2, 100, 31, 69, 100}, {0, 100, 31, 100, 131}, {7, -5, 10, -5, 5}};
    for (const Case& c : cases) {
        int16_t low = 0, high = 0;
        CFrame::Justify(c.mode, c.position, c.size, low, high);
        EXPECT_EQ(low, c.low) << c.mode;
        EXPECT_EQ(high, c.high) << c.mode;
    }
}

TEST(FrameTree, TimerTicksReachOnlyAnOwnedEnabledFrame)
{
    struct Ticker : CFrame {
        Ticker() : CFrame(4, 1, CRect(0, 0, 1, 1), false) {}
        bool OnTimer() override
        {
            ++ticks;
            return true;
        }
        int ticks = 0;
    } frame;
    CreateClocks();
    frame.StartTimer(1, GetRealClock());
    qmtest::Clock().Advance(40);
    RunDueTimers();
    EXPECT_EQ(frame.ticks, 0); // no owner
    CBaseObj owner(8, 1, nullptr);
    frame.SetOwner(&owner);
    qmtest::Clock().Advance(40);
    RunDueTimers();
    EXPECT_EQ(frame.ticks, 1);
    frame.Enable(false);
    qmtest::Clock().Advance(40);
    RunDueTimers();
    EXPECT_EQ(frame.ticks, 1);
    frame.SetOwner(nullptr);
}

// A frame template read from definition text.
std::unique_ptr<CTFrame> ReadFrameTemplate(const char* text)
{
    CRsrcBlock block("TPL", 1, static_cast<int32_t>(std::strlen(text)));
    std::memcpy(block.Lock(), text, std::strlen(text));
    block.Unlock();
    CRawParser parser(&block, 0xFFFFFFFF);
    parser.Preprocess();
    parser.LockSource();
    std::unique_ptr<CTFrame> tpl(static_cast<CTFrame*>(CTFrame::Read(CTFrame::kKindPlainFrame, &parser)));
    parser.UnlockSource();
    return tpl;
}

TEST(FrameTemplate, ReadsItsElevenValuesInOrderAndItsFlagsReplaceTheWholeWord)
{
    std::unique_ptr<CTFrame> tpl = ReadFrameTemplate("12, 3, 0x209, 77, -1, 5, -1, 10, 20, 30, 40");
    EXPECT_EQ(tpl->GetId(), 12);
    EXPECT_EQ(tpl->GetParentId(), 3);
    EXPECT_EQ(tpl->GetFlags(), 0x209u);
    EXPECT_EQ(tpl->GetHelpId(), 77);
    EXPECT_EQ(tpl->GetCursorId(), 5);
    EXPECT_EQ(Str(tpl->GetRect()), "10,20,30,40");
    EXPECT_TRUE(tpl->IsFrameTemplate());
    EXPECT_FALSE(tpl->IsWindowTemplate());

    std::unique_ptr<CBaseObj> made(CTFrame::CreateFrame(tpl.get()));
    auto* frame = static_cast<CFrame*>(made.get());
    EXPECT_EQ(frame->GetKind(), CFrame::kKindFrame);
    EXPECT_EQ(frame->GetId(), 12);
    EXPECT_EQ(Str(frame->GetBounds()), "10,20,30,40");
    frame->SetFlags(frame->GetFlags() | CFrame::kFlagOwnContent | CFrame::kFlagBorders);
    tpl->ApplyTo(frame);
    EXPECT_EQ(frame->GetFlags(), 0x209u | CFrame::kFlagOwnContent); // borders gone, own content kept
    EXPECT_TRUE(frame->IsDirect());
    EXPECT_EQ(frame->GetHelpId(), 77);

    // Flags 0: neither shown nor enabled; a help id of 0 leaves the object's own.
    std::unique_ptr<CTFrame> bare =
        ReadFrameTemplate("1 0 0 0 0 0 0 0 0 5 5") /* blanks separate values too */;
    bare->ApplyTo(frame);
    EXPECT_FALSE(frame->IsShown());
    EXPECT_FALSE(frame->IsEnabled());
    EXPECT_EQ(frame->GetHelpId(), 77);
}

class FrameInWindow : public WindowsTest {};

TEST_F(FrameInWindow, DrawInvalidatesTheDrawnRectangleAndATransparentFrameOnlyItsChildren)
{
    CFrame* root = Root(200, 100, log);
    CWind* w = MakeWindow(CWind::kTypeTopLevel, root);
    auto* group = new CFrame(4, 1, CRect(10, 10, 90, 190), true);
    CFrame* a = Child(log, "a", {20, 20, 30, 30});
    CFrame* b = Child(log, "b", {40, 100, 50, 120});
    group->AddChild(a, false);
    group->AddChild(b, false);
    root->AddChild(group, false);
    EXPECT_EQ(a->GetOwnerWnd(), w); // the owner reaches the whole subtree
    PumpAll();
    plat::ValidateRect(w->GetHwnd(), nullptr);

    group->Draw(false);
    EXPECT_EQ(CRect(plat::GetUpdateRect(w->GetHwnd())), CRect(20, 20, 50, 120)); // a and b only
    plat::ValidateRect(w->GetHwnd(), nullptr);
    group->Draw(true);
    EXPECT_EQ(CRect(plat::GetUpdateRect(w->GetHwnd())), CRect(10, 10, 90, 190));
    delete w;
}

TEST_F(FrameInWindow, AFrameDestroyedByItsOwnHandlerIsWithdrawnAtOnceAndFreedAfterTheDispatch)
{
    CFrame* root = Root(200, 100, log);
    CWind* w = MakeWindow(CWind::kTypeTopLevel, root);
    auto* button = new LogFrame(log, "button", {10, 10, 40, 40});
    root->AddChild(button, false);
    const int32_t live = GetLiveObjectCount();
    button->onMessage = [&](CMessage&) {
        button->Destroy();
        // Still inside the button's own handler: it is out of everything, not yet freed.
        EXPECT_EQ(button->GetParent(), nullptr);
        EXPECT_EQ(GetLiveObjectCount(), live - 1);
        EXPECT_EQ(GetHoverFrame(), nullptr);
        EXPECT_EQ(GetCaptureObj(), nullptr);
        EXPECT_TRUE(IsDeletePending(button));
    };
    plat::Click(ScreenOf(*w, 20, 20));
    PumpAll();
    EXPECT_EQ(log, Log{"button:-1/1@20,20"});
    EXPECT_EQ(root->GetChildren()->GetCount(), 0);
    EXPECT_EQ(w->GetLastPressed(), nullptr);
    delete w;
}

TEST_F(FrameInWindow, RemoveFromParentErasesAShownFrameAndKeepsItAlive)
{
    CFrame* root = Root(200, 100, log);
    CWind* w = MakeWindow(CWind::kTypeTopLevel, root);
    CFrame* a = Child(log, "a", {20, 20, 30, 30});
    CFrame* hidden = Child(log, "hidden", {40, 100, 50, 120});
    hidden->SetShown(false);
    root->AddChild(a, false);
    root->AddChild(hidden, false);
    PumpAll();
    plat::ValidateRect(w->GetHwnd(), nullptr);

    a->RemoveFromParent();
    EXPECT_EQ(a->GetParent(), nullptr);
    EXPECT_EQ(a->GetOwner(), nullptr);
    EXPECT_EQ(CRect(plat::GetUpdateRect(w->GetHwnd())), CRect(20, 20, 30, 30));
    plat::ValidateRect(w->GetHwnd(), nullptr);
    hidden->RemoveFromParent(); // not shown: nothing to erase
    EXPECT_EQ(CRect(plat::GetUpdateRect(w->GetHwnd())), CRect(0, 0, 0, 0));
    a->RemoveFromParent(); // no parent any more: nothing happens
    EXPECT_EQ(root->GetChildren()->GetCount(), 0);

    // A window's root leaves the window's layers.
    root->RemoveFromParent();
    EXPECT_EQ(w->GetFirstFrame(), nullptr);
    delete a;
    delete hidden;
    delete w;
    delete root;
}

TEST(FrameFlags, ShownAndTransparentBitsAloneChange)
{
    CFrame frame(4, 1, CRect(0, 0, 10, 10), false);
    frame.SetChanged(false);
    frame.SetShown(false);
    EXPECT_FALSE(frame.IsShown());
    EXPECT_FALSE(frame.IsChanged()); // a bit only: the caller draws when it wants to
    frame.SetTransparent(true);
    EXPECT_TRUE(frame.IsTransparent());
    EXPECT_EQ(frame.GetFlags() & ~0x8u, CFrame::kFlagTransparent);
    frame.SetShown(true);
    frame.SetTransparent(false);
    EXPECT_EQ(frame.GetFlags() & ~0x8u, CFrame::kFlagShown);
}

} // namespace
