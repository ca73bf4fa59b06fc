#include <gtest/gtest.h>

#include "engine/controls/native/Button.h"
#include "engine/graphics/Font.h"
#include "platform/Input.h"
#include "platform/widgets/Widgets.h"
#include "tests/engine/controls/native/NativeKit.h"

namespace {

using namespace ntest;

using ButtonTest = NativeTest;

std::unique_ptr<CStr> Text(const char* s) { return std::make_unique<CStr>(s); }

TEST_F(ButtonTest, ACheckBoxShowsItsMarkOnceItsWidgetExistsAndAClickFlipsItBeforeNotifying)
{
    auto* box = new CCheckBox(1, CRect(10, 10, 30, 110), 40, target, Text("Wet"), true, 0);
    auto* push = new CButton(2, CRect(40, 10, 60, 110), 41, target, Text("Go"), 0, false);
    EXPECT_EQ(box->GetHwnd(), 0u);
    Add(box);
    Add(push);
    EXPECT_TRUE(plat::GetButtonCheck(box->GetHwnd()));
    EXPECT_FALSE(plat::GetButtonCheck(push->GetHwnd()));
    push->SetValue(1);
    EXPECT_FALSE(plat::GetButtonCheck(push->GetHwnd())) << "a push button never gets a mark";
    wnd->Invalidate(nullptr);
    wtest::PumpAll();

    ClickAt(20, 20);
    ASSERT_EQ(target->notes.size(), 1u);
    EXPECT_EQ(target->notes[0].id, 40);
    EXPECT_EQ(target->notes[0].words[3], 0);
    EXPECT_EQ(box->GetValue(), 0);
    EXPECT_FALSE(plat::GetButtonCheck(box->GetHwnd()));

    box->SetChecked(true);
    EXPECT_TRUE(plat::GetButtonCheck(box->GetHwnd()));
    EXPECT_EQ(target->notes.size(), 1u) << "SetChecked does not notify";

    ClickAt(20, 50);
    ASSERT_EQ(target->notes.size(), 2u);
    EXPECT_EQ(target->notes[1].id, 41);
    EXPECT_EQ(plat::GetWidgetText(push->GetHwnd()), "Go");
}

TEST_F(ButtonTest, TheDefaultFlagRemakesTheWidgetAndMovesTheWindowsDefault)
{
    auto* first = Add(new CButton(1, CRect(10, 10, 30, 110), 40, target, Text("One"), 0, true));
    auto* second = Add(new CButton(2, CRect(40, 10, 60, 110), 41, target, Text("Two"), 0, false));
    EXPECT_EQ(wnd->GetDefaultControl(), first);
    EXPECT_NE(plat::GetStyle(first->GetHwnd()) & plat::wstyle::DefPushButton, 0u);

    const plat::WindowHandle old = second->GetHwnd();
    second->SetDefault(true);
    EXPECT_FALSE(plat::IsWindow(old));
    EXPECT_NE(plat::GetStyle(second->GetHwnd()) & plat::wstyle::DefPushButton, 0u);
    EXPECT_EQ(plat::GetWidgetText(second->GetHwnd()), "Two") << "the caption survives";
    EXPECT_EQ(wnd->GetDefaultControl(), second);
    EXPECT_FALSE(first->IsDefault());
    EXPECT_EQ(plat::GetStyle(first->GetHwnd()) & plat::wstyle::DefPushButton, 0u);

    Key(plat::key::Enter);
    ASSERT_EQ(target->notes.size(), 1u);
    EXPECT_EQ(target->notes[0].id, 41);

    second->SetDefault(false);
    EXPECT_EQ(wnd->GetDefaultControl(), nullptr);
    EXPECT_EQ(plat::GetStyle(second->GetHwnd()) & plat::wstyle::DefPushButton, 0u);

    // A default button hidden and shown again claims the default back.
    first->SetDefault(true);
    wnd->SetDefaultControl(nullptr);
    first->Hide(false, false);
    first->Show(false);
    EXPECT_EQ(wnd->GetDefaultControl(), first);
}

TEST_F(ButtonTest, RadioButtonsTurnTheirGroupsChoiceOffAndNotifyBoth)
{
    auto radio = [&](int32_t id, int top, int32_t group, bool on) {
        return Add(new CRadioButton(id, CRect(top, 10, top + 20, 110), 50, target, Text("R"), group, on, 0));
    };
    CRadioButton* a = radio(1, 10, 7, true);
    CRadioButton* b = radio(2, 40, 7, false);
    CRadioButton* c = radio(3, 70, 8, true);
    CRadioButton* d = radio(4, 100, 8, false);
    wnd->Invalidate(nullptr);
    wtest::PumpAll();
    EXPECT_EQ(wnd->GetGroupValue(7), a);
    EXPECT_EQ(wnd->GetGroupValue(8), c);

    struct Step {
        int clickTop;
        std::vector<std::pair<const CBaseObj*, MsgWord>> notes; // (sender, word 3)
    };
    const Step steps[] = {
        {40, {{a, 0}, {b, 1}}},  // the group changes: the old choice goes off first
        {40, {{b, 1}}},          // a radio already on notifies once and stays on
        {100, {{c, 0}, {d, 1}}}, // the other group, on its own
        {10, {{b, 0}, {a, 1}}},
    };
    for (const Step& step : steps) {
        target->notes.clear();
        ClickAt(20, step.clickTop + 10);
        std::vector<std::pair<const CBaseObj*, MsgWord>> got;
        for (const Note& n : target->notes)
            got.emplace_back(n.sender, n.words[3]);
        EXPECT_EQ(got, step.notes) << "click at " << step.clickTop;
    }
    EXPECT_EQ(a->GetValue(), 1);
    EXPECT_EQ(b->GetValue(), 0);
    EXPECT_EQ(c->GetValue(), 0);
    EXPECT_EQ(d->GetValue(), 1);
    EXPECT_TRUE(plat::GetButtonCheck(a->GetHwnd()));
    EXPECT_FALSE(plat::GetButtonCheck(b->GetHwnd()));
    EXPECT_EQ(wnd->GetGroupValue(7), a);
    EXPECT_EQ(wnd->GetGroupValue(8), d);

    // A radio that joins while on takes its group over.
    target->notes.clear();
    CRadioButton* e = radio(5, 130, 7, true);
    EXPECT_EQ(a->GetValue(), 0);
    EXPECT_EQ(wnd->GetGroupValue(7), e);
    ASSERT_EQ(target->notes.size(), 1u);
    EXPECT_EQ(target->notes[0].sender, a);

    // The choice deleted while in the window: the group is left without one.
    delete e;
    EXPECT_EQ(wnd->GetGroupValue(7), nullptr);
    target->notes.clear();
    b->SetChecked(true);
    ASSERT_EQ(target->notes.size(), 1u);
    EXPECT_EQ(wnd->GetGroupValue(7), b);
}

TEST_F(ButtonTest, TemplatesGiveCaptionsStatesGroupsAndTheDefault)
{
    InstallTestFont();
    deftext::AddFolderLibrary({{"STR", 1400, "\"Ford\"\n\"Caulk\"\n"}});
    // The frame values, the control values, fontid, the caption, then switchon and groupid.
    const std::string text =
        "0x1c, 11, 0, 0x9, 0,0,0,0, 10, 10, 30, 110, 1, 0, 60, 0, 0, 5, 1400, -1, 1\n"
        "0x1b, 12, 0, 0x9, 0,0,0,0, 40, 10, 60, 110, 2, 0, 61, 0, 0, 99, \"Wait\"\n"
        "0x1f, 13, 0, 0x9, 0,0,0,0, 70, 10, 90, 110, 3, 0, 62, 0, 0, 5, \"Mark\", 1\n"
        "0x21, 14, 0, 0x9, 0,0,0,0, 100, 10, 120, 110, 4, 0, 63, 0, 0, 5, \"Ra\xD5\", 0, 9\n";
    auto* ford = Build<CButton>(text, 11);
    auto* wait = dynamic_cast<CButton*>(wnd->FindControlById(12));
    auto* mark = dynamic_cast<CCheckBox*>(wnd->FindControlById(13));
    auto* ra = dynamic_cast<CRadioButton*>(wnd->FindControlById(14));
    ASSERT_TRUE(ford && wait && mark && ra);
    EXPECT_EQ(plat::GetWidgetText(ford->GetHwnd()), "Caulk");
    EXPECT_TRUE(ford->IsDefault());
    EXPECT_EQ(wnd->GetDefaultControl(), ford);
    ASSERT_NE(CDrawEnv::GetFontTable()->Find(kTestFont), nullptr);
    EXPECT_NE(CDrawEnv::GetFontTable()->Find(kTestFont)->GetHandle(), nullptr);
    EXPECT_NE(plat::GetWidgetFont(ford->GetHwnd()), nullptr);
    EXPECT_EQ(plat::GetWidgetFont(wait->GetHwnd()), nullptr) << "an unknown font leaves the system font";
    EXPECT_EQ(plat::GetWidgetText(ra->GetHwnd()), "Ra\x92") << "converted through the font's map";
    EXPECT_TRUE(plat::GetButtonCheck(mark->GetHwnd()));
    EXPECT_EQ(mark->GetControlKind(), CControl::kKindCheckBox);
    EXPECT_EQ(ra->GetGroupId(), 9);
    EXPECT_EQ(ra->GetValue(), 0);
    EXPECT_TRUE(ra->IsDirect());

    wait->SetText(std::make_unique<CStr>("Later"));
    EXPECT_EQ(plat::GetWidgetText(wait->GetHwnd()), "Later");
}

} // namespace
