#include <gtest/gtest.h>

#include "tests/engine/controls/WindowsKit.h"

namespace {

using namespace wtest;

class FocusTest : public WindowsTest {
protected:
    void SetUp() override
    {
        WindowsTest::SetUp();
        root = Root(300, 200, log);
        wnd = MakeWindow(CWind::kTypeTopLevel, root);
    }
    void TearDown() override { delete wnd; }

    // A control added to the root frame, which puts it in the window's list.
    TestControl* Add(const char* name, int16_t order = -1, int32_t kind = 1)
    {
        auto* c = new TestControl(log, name, CRect(0, 0, 10, 10), order, kind);
        root->AddChild(c, false);
        return c;
    }
    std::vector<CWindControl*> Order()
    {
        std::vector<CWindControl*> out;
        for (CList::Node* n = wnd->GetControls().GetHeadNode(); n; n = n->next)
            out.push_back(static_cast<CWindControl*>(n->item));
        return out;
    }

    CFrame* root = nullptr;
    CWind* wnd = nullptr;
};

TEST_F(FocusTest, TabOrderPlacesControlsAtHeadTailOrBeforeTheFirstEqualOrHigher)
{
    struct Case {
        std::vector<int16_t> existing;
        int16_t added;
        size_t position;
    };
    const Case cases[] = {
        {{1, 5, 7}, 5, 1},  // before the existing 5
        {{1, 5, 7}, 9, 3},  // after everything
        {{1, 5, 7}, 0, 0},  // 0 at the head
        {{1, 5, 7}, -1, 3}, // negative at the tail
        {{1, 5, 7}, 1, 0},  //
        {{}, 4, 0},
    };
    for (const Case& c : cases) {
        for (CFrame* child : ChildFrames(*root))
            child->Destroy();
        std::vector<CWindControl*> made;
        for (int16_t order : c.existing)
            made.push_back(Add("c", order));
        TestControl* added = Add("new", c.added);
        made.insert(made.begin() + static_cast<std::ptrdiff_t>(c.position), added);
        EXPECT_EQ(Order(), made) << c.added;
    }
}

TEST_F(FocusTest, FocusMovesInTabOrderWrapsAndSkipsControlsThatCannotTakeIt)
{
    wnd->Activate();
    TestControl* a = Add("a");
    TestControl* hidden = Add("hidden");
    TestControl* b = Add("b");
    TestControl* disabled = Add("disabled");
    TestControl* passive = Add("passive");
    hidden->Hide(false, false);
    disabled->Enable(false);
    passive->inputMode = 0;
    EXPECT_EQ(wnd->GetFocusControl(), a); // the first control added takes the focus
    EXPECT_EQ(CWind::GetKeyFocus(), a);
    wnd->FocusNext();
    EXPECT_EQ(wnd->GetFocusControl(), b);
    wnd->FocusNext(); // wraps to the head
    EXPECT_EQ(wnd->GetFocusControl(), a);
    wnd->FocusPrev(); // wraps to the tail
    EXPECT_EQ(wnd->GetFocusControl(), b);
    EXPECT_TRUE(b->hasFocus);
    EXPECT_FALSE(a->hasFocus);

    // With no other control able to take it, the focus stays.
    a->Hide(false, false);
    wnd->FocusNext();
    EXPECT_EQ(wnd->GetFocusControl(), b);

    for (TestControl* refused : {hidden, disabled, passive})
        EXPECT_FALSE(wnd->SetFocusControl(refused));
    EXPECT_EQ(wnd->GetFocusControl(), b);
    EXPECT_TRUE(wnd->SetFocusControl(b)); // already the focus control
    EXPECT_FALSE(CWind::SetKeyFocus(b));  // already the key focus
}

TEST_F(FocusTest, RemovingTheFocusControlMovesTheFocusOnOrClearsIt)
{
    wnd->Activate();
    TestControl* a = Add("a");
    TestControl* b = Add("b");
    a->MakeDefault(true);
    wnd->SetDefaultControl(a);
    root->RemoveChild(*a);
    EXPECT_EQ(wnd->GetFocusControl(), b);
    EXPECT_EQ(wnd->GetDefaultControl(), nullptr);
    root->RemoveChild(*b);
    EXPECT_EQ(wnd->GetFocusControl(), nullptr);
    EXPECT_EQ(CWind::GetKeyFocus(), nullptr);
    delete a;
    delete b;
}

TEST_F(FocusTest, TheKeyFocusFollowsActivation)
{
    TestControl* a = Add("a");
    EXPECT_EQ(CWind::GetKeyFocus(), nullptr); // the window is not active yet
    wnd->Activate();
    EXPECT_EQ(CWind::GetKeyFocus(), a);
    wnd->Deactivate();
    EXPECT_EQ(CWind::GetKeyFocus(), nullptr);
    EXPECT_EQ(wnd->GetFocusControl(), a);
    wnd->Activate();
    EXPECT_EQ(CWind::GetKeyFocus(), a);
    EXPECT_EQ(log, (Log{"a:focus=1", "a:focus=0", "a:focus=1"}));
}

TEST_F(FocusTest, DefaultControlsAreToldOnlyWhenSetOrReplaced)
{
    auto* preset = new TestControl(log, "preset", CRect(0, 0, 5, 5));
    preset->MakeDefault(true);
    root->AddChild(preset, false);
    TestControl* other = Add("other");
    EXPECT_EQ(wnd->GetDefaultControl(), preset);
    EXPECT_EQ(log, Log{});
    wnd->SetDefaultControl(other);
    EXPECT_EQ(log, Log{"other:default=1"}); // the previous default is not told
    log.clear();
    wnd->ReplaceDefaultControl(preset);
    EXPECT_EQ(log, (Log{"other:default=0", "preset:default=1"}));
}

TEST_F(FocusTest, GroupsKeepOneChoiceForTheirMembers)
{
    TestControl* a = Add("a", -1, CWindControl::kKindRadioFrame);
    TestControl* b = Add("b", -1, CWindControl::kKindNativeRadio);
    TestControl* other = Add("other", -1, CWindControl::kKindRadioFrame);
    TestControl* plain = Add("plain");
    a->groupId = b->groupId = 3;
    other->groupId = 4;
    plain->groupId = 3;
    wnd->SelectInGroup(b);
    EXPECT_EQ(wnd->GetGroupValue(3), b);
    EXPECT_EQ(a->choice, b);
    EXPECT_EQ(other->choice, nullptr);
    EXPECT_EQ(plain->choice, nullptr); // not a grouped kind
    wnd->SelectInGroup(plain);         // does nothing
    EXPECT_EQ(wnd->GetGroupValue(3), b);
    EXPECT_EQ(wnd->GetGroupValue(9), nullptr);
    other->groupId = 0;
    other->choice = a;
    wnd->SelectInGroup(nullptr); // group 0 loses its choice
    EXPECT_EQ(other->choice, nullptr);
    EXPECT_EQ(wnd->FindControlById(b->GetId()), b);
}

TEST_F(FocusTest, ADeletedControlLeavesEveryRecord)
{
    wnd->Activate();
    TestControl* a = Add("a");
    wnd->SetCancelControl(a);
    wnd->SetDefaultControl(a);
    delete a;
    EXPECT_EQ(wnd->GetFocusControl(), nullptr);
    EXPECT_EQ(wnd->GetDefaultControl(), nullptr);
    EXPECT_EQ(wnd->GetCancelControl(), nullptr);
    EXPECT_EQ(CWind::GetKeyFocus(), nullptr);
    EXPECT_TRUE(Order().empty());
}

} // namespace
