#include <gtest/gtest.h>

#include "engine/controls/native/ListBoxCtl.h"
#include "engine/resources/TplRecLoader.h"
#include "platform/Input.h"
#include "platform/widgets/Widgets.h"
#include "tests/engine/controls/native/NativeKit.h"

namespace {

using namespace ntest;

std::unique_ptr<CTplRec> List(std::initializer_list<const char*> entries)
{
    auto list = std::make_unique<CTplRec>();
    for (const char* e : entries)
        list->Add(std::make_unique<CStr>(e));
    return list;
}

class ListBoxCtlTest : public NativeTest {
protected:
    void SetUp() override
    {
        NativeTest::SetUp();
        deftext::AddFolderLibrary({{"STR", 1400, "\"Apple\"\n\"Berry\"\n\"Cherry\"\n\"Damson\"\n"},
                                   {"STR", 1401, "\"Ash\"\n\"Birch\"\n\"Cedar\"\n"},
                                   {"STR", 1402, "\"Yew\"\n\"Zelkova\"\n"}});
    }
    // Sends the widget's command notification to the window, as the widget does.
    void Command(CControl* control, uint32_t code)
    {
        plat::SendWindowMessage(wnd->GetHwnd(), plat::msg::Command,
                                plat::PackWords(0, static_cast<int32_t>(code)),
                                static_cast<intptr_t>(control->GetHwnd()));
    }
};

TEST_F(ListBoxCtlTest, TheCurrentItemStaysInTheListWhileTheWidgetMaySelectNothing)
{
    auto* empty = Add(new CListBoxCtl(1, CRect(10, 10, 60, 110), target, nullptr, 0, 2));
    EXPECT_EQ(empty->GetCurSel(), -1);
    EXPECT_EQ(plat::GetListCurrent(empty->GetHwnd()), -1);

    auto* box = Add(new CListBoxCtl(2, CRect(70, 10, 120, 110), target, List({"a", "b", "c"}), 0, 1));
    box->SetNotifyType(60);
    EXPECT_EQ(plat::GetListCount(box->GetHwnd()), 3);
    EXPECT_EQ(plat::GetListCurrent(box->GetHwnd()), 1);
    box->SetCurSel(5);
    EXPECT_EQ(box->GetCurSel(), 2);
    EXPECT_EQ(plat::GetListCurrent(box->GetHwnd()), -1);
    EXPECT_EQ(box->GetCurrentString()->GetText(), std::string("c"));
    box->SetCurSel(-4);
    EXPECT_EQ(box->GetCurSel(), -1);
    EXPECT_EQ(box->GetCurrentString(), nullptr);

    box->AddString(std::make_unique<CStr>("d"));
    EXPECT_EQ(box->GetCount(), 4);
    EXPECT_EQ(plat::GetListString(box->GetHwnd(), 3), "d");
    box->SetCurSel(3);
    box->SetList(List({"x", "y"}));
    EXPECT_EQ(box->GetCurSel(), 1) << "lowered into the new list";
    EXPECT_EQ(plat::GetListCount(box->GetHwnd()), 2);
    box->Clear();
    EXPECT_EQ(box->GetCurSel(), -1);
    EXPECT_EQ(plat::GetListCount(box->GetHwnd()), 0);

    // A selection by the user notifies with the item.
    box->SetList(List({"x", "y", "z"}));
    plat::SetListCurrent(box->GetHwnd(), 2);
    Command(box, plat::notify::ListSelChange);
    ASSERT_EQ(target->notes.size(), 1u);
    EXPECT_EQ(target->notes[0].words[3], 2);
    EXPECT_EQ(box->GetCurSel(), 2);
}

TEST_F(ListBoxCtlTest, DoubleClicksAndEnterSendTheTemplatesMessageToItsOwnTarget)
{
    // Kind 0x28: frame values, control values, fontid, strlistid, strlibmsk, curitem,
    // dmssgwhoid, tmp, dusr1. The first sends no double-click message; the second sends 77 to
    // the objects of id 900 (the test's target).
    auto* quiet =
        Build<CListBoxCtl>("0x28, 21, 0, 0x9, 0,0,0,0, 10, 10, 90, 110, 1, 900, 70, 0, 0, 0, 1400, -1, 0, 0, "
                           "0, 0\n"
                           "0x28, 22, 0, 0x9, 0,0,0,0, 10, 150, 90, 250, 2, 0, 71, 0, 0, 0, 1400, -1, 1, "
                           "900, 77, 5\n",
                           21);
    auto* loud = dynamic_cast<CListBoxCtl*>(wnd->FindControlById(22));
    ASSERT_TRUE(quiet && loud);
    EXPECT_EQ(loud->GetCount(), 4);
    EXPECT_EQ(plat::GetListString(loud->GetHwnd(), 0), "Apple");
    wnd->Invalidate(nullptr);
    wtest::PumpAll();

    const auto doubleClick = [&](int x, int y) {
        for (int i = 0; i < 2; ++i) {
            plat::InjectMouseButton(plat::MouseButton::Left, true, At(x, y));
            plat::InjectMouseButton(plat::MouseButton::Left, false, At(x, y));
        }
        wtest::PumpAll();
    };
    doubleClick(20, 12);
    for (const Note& n : target->notes)
        EXPECT_NE(n.id, 77);
    target->notes.clear();
    doubleClick(160, 12);
    ASSERT_FALSE(target->notes.empty());
    EXPECT_EQ(target->notes.back().id, 77);
    EXPECT_EQ(target->notes.back().words[0], 5);
    EXPECT_EQ(target->notes.back().words[3], 0);
    EXPECT_EQ(target->notes.back().sender, loud);

    // Letters reach the widget (its type-ahead); Enter acts as a double click.
    ASSERT_TRUE(wnd->SetFocusControl(loud));
    target->notes.clear();
    plat::TypeText("c");
    wtest::PumpAll();
    EXPECT_EQ(plat::GetListCurrent(loud->GetHwnd()), 2);
    Key(plat::key::Enter);
    ASSERT_FALSE(target->notes.empty());
    EXPECT_EQ(target->notes.back().id, 77);
    EXPECT_EQ(target->notes.back().words[3], 2);
}

TEST_F(ListBoxCtlTest, AReloadSelectsTheFirstEntryTheOldTextSortsAtOrAfter)
{
    struct Case {
        int32_t from, to;
        int16_t current;
        int16_t want;
    };
    const Case cases[] = {
        {1400, 1401, 2, 0},  // "Cherry" >= "Ash": the first entry
        {1400, 1402, 0, 0},  // "Apple" sorts before every entry: none, so 0
        {1402, 1400, 1, 0},  // "Zelkova" >= "Apple"
        {1400, 9999, 1, -1}, // a missing list: empty
    };
    for (const Case& c : cases) {
        auto* box = Add(new CListBoxCtl(3, CRect(10, 10, 60, 110), target,
                                        CreateTplRec(c.from, 0xFFFFFFFF, false), 0, c.current));
        box->SetNotifyType(60);
        target->notes.clear();
        CMessage reload(CListBoxCtl::kMsgReload, c.to, static_cast<MsgWord>(0xFFFFFFFF), -1);
        EXPECT_TRUE(box->HandleMessage(reload, nullptr));
        EXPECT_EQ(box->GetCurSel(), c.want) << c.from << "->" << c.to;
        ASSERT_EQ(target->notes.size(), 1u);
        EXPECT_EQ(target->notes[0].words[3], c.want);
        root->RemoveChild(*box);
        delete box;
    }
}

TEST_F(ListBoxCtlTest, AComboCountsFromOneAndKeepsItsOpenListInsideTheWindow)
{
    // Kind 0x29: frame values, control values, fontid, strlistid, strlibid, curitem, winht.
    auto* combo =
        Build<CComboBox>("0x29, 31, 0, 0x9, 0,0,0,0, 10, 10, 30, 110, 1, 900, 80, 0, 0, 0, 1400, -1, 0, 0\n"
                         "0x29, 32, 0, 0x9, 0,0,0,0, 40, 10, 60, 110, 2, 900, 81, 0, 0, 0, 1400, -1, 2, 30\n",
                         31);
    auto* low = dynamic_cast<CComboBox*>(wnd->FindControlById(32));
    ASSERT_TRUE(combo && low);
    EXPECT_EQ(combo->GetValue(), 1);
    EXPECT_EQ(plat::GetListCurrent(combo->GetHwnd()), 0);
    EXPECT_EQ(combo->GetMax(), 4);
    EXPECT_EQ(plat::GetListCurrent(low->GetHwnd()), 1);
    EXPECT_EQ(low->GetWindowHeight(), 30) << "no taller than the template's height";

    plat::SetListCurrent(combo->GetHwnd(), 2);
    Command(combo, plat::notify::ComboSelChange);
    ASSERT_EQ(target->notes.size(), 1u);
    EXPECT_EQ(target->notes[0].id, 80);
    EXPECT_EQ(target->notes[0].words[3], 3);

    Command(low, plat::notify::ComboSetFocus);
    EXPECT_EQ(wnd->GetFocusControl(), low);
    combo->SetValue(4);
    EXPECT_EQ(plat::GetListCurrent(combo->GetHwnd()), 3);

    // Many entries in a 240-high window: the open list stops 10 short of the root's height.
    auto many = std::make_unique<CTplRec>();
    for (int i = 0; i < 40; ++i)
        many->Add(std::make_unique<CStr>("entry"));
    auto* tall = Add(new CComboBox(33, CRect(70, 10, 90, 110), 82, target, std::move(many), 0, 0, 0));
    EXPECT_EQ(tall->GetWindowHeight(), 230);
    tall->SetList(List({"one", "two"}), 2);
    EXPECT_EQ(plat::GetListCount(tall->GetHwnd()), 2);
    EXPECT_EQ(plat::GetListCurrent(tall->GetHwnd()), 1);

    // Characters typed while the combo has the focus stay with the window.
    wnd->SetFocusControl(combo);
    plat::TypeText("d");
    wtest::PumpAll();
    EXPECT_EQ(plat::GetListCurrent(combo->GetHwnd()), 3);
}

} // namespace
