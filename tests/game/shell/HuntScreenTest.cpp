// The hunting screen (module type 7) in the game started on the sample data, the trip on the
// hunting node (node 2: the deer 5606 and the bear 5608): the items it asks for, the field it
// builds on the sample prairie, the control bar's shots, a shot and its reload, and what
// leaving settles: the meat, the ammunition of the gun used and the result window; a shot
// while reloading injures a traveller.
//
// The golden pictures hold the hunting screen and its result window; run the tests once with
// QM_UPDATE_GOLDEN=1 in the environment to write them again (text pixels depend on the fonts
// installed).
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/controls/ImageFrame.h"
#include "engine/controls/TextFrame.h"
#include "engine/controls/Wind.h"
#include "engine/framework/Appl.h"
#include "engine/framework/DeferredDelete.h"
#include "engine/framework/Message.h"
#include "engine/framework/MsgMgr.h"
#include "engine/framework/Util.h"
#include "game/action/HuntModule.h"
#include "game/base/CtrlBarFrm.h"
#include "game/base/GameGlobals.h"
#include "game/base/MainWnd.h"
#include "game/base/ModuleMgr.h"
#include "game/shell/QM3Appl.h"
#include "game/travel/Item.h"
#include "game/travel/Party.h"
#include "game/travel/PartyMember.h"
#include "game/travel/SupplyList.h"
#include "game/travel/Travel.h"
#include "platform/Input.h"
#include "platform/Window.h"
#include "tests/engine/controls/WindowsKit.h"
#include "tests/game/shell/SampleGame.h"
#include "tests/support/TestEnv.h"

namespace {

constexpr int32_t kHunt = 7;

class HuntScreen : public shelltest::SampleGameScreen {
protected:
    void SetUp() override
    {
        CUtil::SetRandomSeed(1);
        SampleGameScreen::SetUp();
        ASSERT_NE(Travel(), nullptr);
        Travel()->PlaceOnNode(2);
        CParty& party = *Travel()->GetParty();
        for (int16_t slot = 1; slot <= 2; ++slot)
            party.CreateMember(slot, slot);
        party.SetMemberCount(3);
    }
    static CTravel* Travel()
    {
        return dynamic_cast<CTravel*>(GetModuleMgr()->GetModule(CModuleMgr::kTravel));
    }
    static CHuntModule* Hunt() { return dynamic_cast<CHuntModule*>(GetModuleMgr()->GetModule(kHunt)); }
    static CSupplyList& Supplies() { return *Travel()->GetParty()->GetSupplies(); }
    static int16_t Units(int16_t type)
    {
        const CItem* item = Supplies().FindItem(type);
        return item ? item->GetTotalUnits() : 0;
    }
    // The travel screen's Hunt button.
    static void Enter()
    {
        GetModuleMgr()->SetCurModule(CModuleMgr::kTravel);
        CDispatchScope scope;
        SendMsg(*GetMainWnd(), CMainWnd::kMsgRequestModule, kHunt, 1, nullptr);
    }
    void Tick(int n = 1)
    {
        for (int i = 0; i < n; ++i) {
            qmtest::Clock().Advance(17);
            appl->PumpMessage(true);
        }
    }
    static void Shoot(int32_t objectId)
    {
        CDispatchScope scope;
        SendMsg(*Hunt(), CHuntTarget::kMsgShot, objectId, 0, nullptr);
    }
    static int32_t Conditions()
    {
        int32_t n = 0;
        CParty& party = *Travel()->GetParty();
        for (int16_t slot = 0; slot < party.CountMembers(false); ++slot)
            n += party.GetMember(slot)->GetConditionCount();
        return n;
    }
    // Leaves the hunt as its Leave button does (101 to the game window); the text of the
    // window settling shows.
    std::string LeaveAndReadResult()
    {
        std::string text = "(none)";
        wtest::Later look([&] {
            CFrame* dialog = GetMainWnd()->GetOwnerWnd()->GetTopFrame();
            auto* line = dialog ? dialog->FindAs<CTextFrame>(CHuntModule::kTextElement) : nullptr;
            if (line && line->PeekText())
                text = line->PeekText()->GetText();
            if (result_golden)
                shelltest::ExpectGameWindowGolden(result_golden, 480);
            if (dialog)
                SendMsg(*dialog, kMsgEndModal, 0, 0, nullptr);
        });
        CDispatchScope scope;
        SendMsg(*GetMainWnd(), CMainWnd::kMsgLeaveModule, 0, 0, nullptr);
        return text;
    }

    const char* result_golden = nullptr;
};

} // namespace

TEST(HuntModule, SeasonsAndCursors)
{
    const int32_t seasons[12] = {1, 1, 2, 2, 2, 0, 0, 0, 2, 2, 2, 1};
    for (int16_t month = 1; month <= 12; ++month)
        EXPECT_EQ(CHuntModule::SeasonOf(month), seasons[month - 1]) << month;
    struct Case {
        int16_t h, v;
        int32_t cursor;
    } cases[] = {{601, 200, 690000}, {600, 200, 690002}, {39, 200, 690001},
                 {40, 200, 690002},  {630, 400, 690002}, {320, 10, 690002}};
    for (const Case& c : cases)
        EXPECT_EQ(CHuntModule::CursorFor(c.h, c.v), c.cursor) << c.h << ", " << c.v;
}

TEST_F(HuntScreen, ARiflemanHuntsTheSamplePrairieAndBringsTheMeatHome)
{
    Supplies().AddItem(CHuntModule::kGun, 1);
    Supplies().AddItem(CHuntModule::kAmmunition, 2);    // 40 bullets in boxes of 20
    Supplies().AddItem(CHuntModule::kShotLimitItem, 1); // 50 units of powder
    Supplies().AddItem(CHuntModule::kSecondAmmunition, 1);
    Enter();
    ASSERT_NE(Hunt(), nullptr);
    EXPECT_EQ(Hunt()->GetWeaponMode(), 0);
    EXPECT_EQ(Hunt()->GetShotLimit(), 50);
    EXPECT_EQ(Hunt()->GetShotsLeft(), 20) << "one box of bullets";
    Tick(2);
    CHuntField* field = Hunt()->GetField();
    ASSERT_NE(field, nullptr);
    EXPECT_EQ(field->GetWidth(), 1280);
    EXPECT_EQ(Hunt()->GetAnimalKinds(), (std::vector<int16_t>{5606, 5608}));
    EXPECT_EQ(Hunt()->GetLiveAnimals(), 2);
    ASSERT_EQ(field->GetAnimals(5606).size(), 1u);
    ASSERT_NE(GetCtrlBar(), nullptr);
    EXPECT_EQ(GetCtrlBar()->GetShotCount(), 19) << "the loaded shot has no icon";
    // The mouse at the right edge scrolls the view right by 30 a tick, bringing the animals in.
    CWind& window = *GetMainWnd()->GetOwnerWnd();
    plat::SetCursorPos(plat::ClientToScreen(window.GetHwnd(), {635, 200}));
    const int32_t before = field->GetViewOffset();
    Tick(30);
    const int32_t scrolled = field->GetViewOffset();
    EXPECT_GT(scrolled, before);
    EXPECT_EQ((scrolled - before) % CHuntModule::kScrollStep, 0);
    plat::SetCursorPos(plat::ClientToScreen(window.GetHwnd(), {320, 200}));
    Tick(6);
    EXPECT_EQ(field->GetViewOffset(), scrolled) << "the middle of the view stays";
    shelltest::ExpectGameWindowGolden("hunt-screen.png", 480);

    // A shot at the deer on its near line hits (the draw 0); the reload takes an icon.
    CHuntTarget* deer = field->GetAnimals(5606)[0];
    CUtil::SetDrawSource([](int32_t lo, int32_t, int32_t) { return lo; });
    Shoot(deer->GetId());
    CUtil::SetDrawSource(nullptr);
    EXPECT_EQ(Hunt()->GetMeat(), 40) << "the deer's least meat";
    EXPECT_FALSE(Hunt()->IsLoaded());
    Tick(7);
    EXPECT_TRUE(Hunt()->IsLoaded());
    EXPECT_EQ(Hunt()->GetShotsLeft(), 19);
    EXPECT_EQ(Hunt()->GetShotsFired(), 1);
    EXPECT_EQ(GetCtrlBar()->GetShotCount(), 18);
    EXPECT_EQ(GetCtrlBar()->GetShotState(), CCtrlBarFrm::kShotReloading);

    const int16_t meat = Supplies().GetTotal(CSupplyList::kMeat);
    result_golden = "hunt-result.png";
    EXPECT_EQ(LeaveAndReadResult(), "You shot   40 pounds of meat.");
    EXPECT_EQ(Hunt(), nullptr);
    EXPECT_EQ(Units(CHuntModule::kAmmunition), 39);
    EXPECT_EQ(Units(CHuntModule::kSecondAmmunition), 25) << "the shotgun's shot stays";
    EXPECT_GT(Supplies().GetTotal(CSupplyList::kMeat), meat);
}

TEST_F(HuntScreen, TheShotgunUsesItsOwnShot)
{
    Supplies().AddItem(CHuntModule::kSecondGun, 1);
    Supplies().AddItem(CHuntModule::kSecondAmmunition, 1); // 25 units
    Supplies().AddItem(CHuntModule::kAmmunition, 1);
    Supplies().AddItem(CHuntModule::kShotLimitItem, 1);
    Enter();
    ASSERT_NE(Hunt(), nullptr);
    EXPECT_EQ(Hunt()->GetWeaponMode(), 1);
    EXPECT_EQ(Hunt()->GetShotsLeft(), 25) << "one bag of shot";
    Tick(2);
    ASSERT_NE(Hunt(), nullptr) << "after the first tick";
    CUtil::SetDrawSource([](int32_t, int32_t hi, int32_t) { return hi; });
    Shoot(0); // at nothing
    CUtil::SetDrawSource(nullptr);
    ASSERT_NE(Hunt(), nullptr) << "after the shot";
    Tick(7);
    ASSERT_NE(Hunt(), nullptr) << "after the reload";
    EXPECT_EQ(Hunt()->GetShotsFired(), 1);
    EXPECT_EQ(LeaveAndReadResult(), "You came back without any meat.");
    EXPECT_EQ(Units(CHuntModule::kSecondAmmunition), 24);
    EXPECT_EQ(Units(CHuntModule::kAmmunition), 20) << "the rifle's bullets stay";
}

TEST_F(HuntScreen, WithoutPowderTheHuntEndsBeforeItBegins)
{
    Supplies().AddItem(CHuntModule::kGun, 1);
    Supplies().AddItem(CHuntModule::kAmmunition, 1);
    std::string message;
    wtest::Later look([&] {
        CFrame* dialog = GetMainWnd()->GetOwnerWnd()->GetTopFrame();
        auto* line = dialog ? dialog->FindAs<CTextFrame>(CHuntModule::kTextElement) : nullptr;
        if (line && line->PeekText())
            message = line->PeekText()->GetText();
        if (dialog)
            SendMsg(*dialog, kMsgEndModal, 0, 0, nullptr);
    });
    Enter();
    EXPECT_EQ(message, "You have no powder horn: without powder there is no hunting.");
    Tick(3);
    EXPECT_EQ(Hunt(), nullptr);
    EXPECT_EQ(GetModuleMgr()->GetCurModule(), CModuleMgr::kTravel);
    EXPECT_EQ(Units(CHuntModule::kAmmunition), 20);
}

TEST_F(HuntScreen, AShotWhileReloadingInjuresATraveller)
{
    Supplies().AddItem(CHuntModule::kGun, 1);
    Supplies().AddItem(CHuntModule::kAmmunition, 1);
    Supplies().AddItem(CHuntModule::kShotLimitItem, 1);
    Enter();
    Tick(2);
    Shoot(0);
    Tick(7); // the reload starts the gun's animation
    ASSERT_EQ(GetCtrlBar()->GetShotState(), CCtrlBarFrm::kShotReloading);
    const int32_t before = Conditions();
    Shoot(0);
    EXPECT_TRUE(Hunt()->HadAccident());
    Shoot(0);
    Tick(3); // the hunt leaves by itself, with no result window
    EXPECT_EQ(Hunt(), nullptr);
    EXPECT_EQ(Conditions(), before + 1);
    EXPECT_EQ(Units(CHuntModule::kAmmunition), 20) << "nothing used";
}
