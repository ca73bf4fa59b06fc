// The landmark module in the game started on the sample data, at the outfitting store (10101)
// with a person table the test sets: the companion choice (426) with its check-list rule, the
// random companions and their outfit (427), the set-up values both popups share, and the
// supplies popup. The popups run modally; the tests act on them from inside their loops.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "engine/controls/ImageFrame.h"
#include "engine/controls/TextFrame.h"
#include "engine/controls/Wind.h"
#include "engine/controls/input/RangeFrame.h"
#include "engine/controls/native/EditField.h"
#include "engine/controls/native/StrListBox.h"
#include "engine/framework/Message.h"
#include "engine/framework/MsgMgr.h"
#include "engine/framework/Str.h"
#include "engine/framework/TplRec.h"
#include "engine/framework/Util.h"
#include "game/base/CheckListCtl.h"
#include "game/base/GameGlobals.h"
#include "game/base/MainWnd.h"
#include "game/base/ModuleConstructors.h"
#include "game/base/ModuleMgr.h"
#include "game/landmarks/Landmark.h"
#include "game/shell/QM3Appl.h"
#include "game/travel/Market.h"
#include "game/travel/Party.h"
#include "game/travel/PartyMember.h"
#include "game/travel/SupplyList.h"
#include "game/travel/Travel.h"
#include "tests/engine/controls/WindowsKit.h"
#include "tests/game/landmarks/TableTravel.h"
#include "tests/game/shell/SampleGame.h"
#include "tests/support/TestEnv.h"

namespace {

constexpr int32_t kOk = 2322, kCancel = 2328, kMonth = 2323, kStart = 2324, kChecks = 2325, kName = 2329;
constexpr int16_t kOxen = 132;

using lmtest::TableTravel;

class LandmarkScreen : public shelltest::SampleGameScreen {
protected:
    void SetUp() override
    {
        CUtil::SetRandomSeed(1);
        SetModuleConstructor(CModuleMgr::kTravel, [](const CRect& rect, CModuleMgr&) -> CModule* {
            return new TableTravel(rect);
        });
        SetModuleConstructor(CModuleMgr::kLandmark,
                             [](const CRect& rect, CModuleMgr&) -> CModule* { return new CLandmark(rect); });
        SampleGameScreen::SetUp();
        ASSERT_NE(Travel(), nullptr);
        Travel()->SetTable({1, 2, 3, 11, 16, 18, 4, 6}, true);
        // On a segment of the route, so that the travel screen taken back travels on.
        Travel()->PlaceOnNode(2);
    }
    static TableTravel* Travel() { return GetModuleMgr()->GetModuleAs<TableTravel>(CModuleMgr::kTravel); }
    static CParty& Party() { return *Travel()->GetParty(); }
    static CLandmark* Landmark() { return GetModuleMgr()->GetModuleAs<CLandmark>(CModuleMgr::kLandmark); }
    // The landmark module at the outfitting store.
    static void EnterStore()
    {
        Travel()->SetLandmarkId(CLandmark::kOutfittingStore);
        GetModuleMgr()->SetCurModule(CModuleMgr::kTravel);
        SendMsg(*GetMainWnd(), CMainWnd::kMsgRequestModule, CModuleMgr::kLandmark, 1, nullptr);
    }
    static CFrame* Popup()
    {
        CWind* top = CWind::GetTopWnd();
        return top ? top->GetTopFrame() : nullptr;
    }
    static CFrame* Element(int32_t id)
    {
        return Popup() ? Popup()->FindObject(CBaseObj::kAnyKind, id) : nullptr;
    }
    // Ends the popup as a press of the button does.
    static void Close(int32_t button) { SendMsg(*Popup(), -39, 0, 0, Element(button)); }
    // Runs the landmark message with `inside` acting on its popup once it shows.
    void RunPopup(int32_t message, std::function<void()> inside)
    {
        wtest::Later act(std::move(inside));
        SendMsg(*Landmark(), message, 0, 0, nullptr);
    }
    static std::vector<int16_t> Companions()
    {
        std::vector<int16_t> ids;
        for (int16_t slot = 1; slot < Party().CountMembers(false); ++slot)
            ids.push_back(Party().GetMember(slot)->GetId());
        return ids;
    }
    static std::string Text(int32_t id)
    {
        auto* text = dynamic_cast<CTextFrame*>(Element(id));
        const std::unique_ptr<CStr> value = text ? text->GetText() : nullptr;
        return value && value->GetText() ? value->GetText() : "(none)";
    }
    void Tick()
    {
        qmtest::Clock().Advance(17);
        appl->PumpMessage(true);
    }
};

TEST_F(LandmarkScreen, TheCheckListTakesPairsTogetherAndFourAtMost)
{
    EnterStore();
    ASSERT_NE(Landmark(), nullptr);
    ASSERT_NE(Landmark()->GetMarket(), nullptr) << "the store";
    // Table lines: 0 person 1, 1: 2, 2: 3, 3: 11, 4: 16, 5: 18, 6: 4, 7: 6.
    struct Case {
        const char* what;
        std::vector<int> checked;
        int clicked;
        std::vector<int> after;
        std::vector<int> dimmed;
        bool ok;
    } cases[] = {
        {"person 1 with two others takes 16", {1, 2}, 0, {0, 1, 2, 4}, {3, 5, 6, 7}, true},
        {"person 11 with three others is undone", {1, 2, 6}, 3, {1, 2, 6}, {0, 3, 4, 5}, true},
        {"person 1 left leaves 16", {0, 4}, 0, {}, {}, false},
        {"a single person", {}, 1, {1}, {}, true},
    };
    std::vector<std::string> names;
    RunPopup(CLandmark::kMsgChooseCompanions, [&] {
        auto* checks = dynamic_cast<CCheckListCtl*>(Element(kChecks));
        ASSERT_NE(checks, nullptr);
        EXPECT_FALSE(Element(kOk)->IsEnabled()) << "only the leader so far";
        for (int i = 0; i < 8; ++i)
            checks->SetState(i, CCheckListCtl::kChecked);
        const std::unique_ptr<CTplRec> lines = checks->GetCheckedLines();
        for (int32_t i = 0; i < lines->GetEntryCount(); ++i)
            names.push_back(lines->GetEntry(i)->GetText());
        for (const Case& c : cases) {
            SCOPED_TRACE(c.what);
            // The player's click: the list toggles the line and tells the application (431).
            for (int i = 0; i < 8; ++i)
                checks->SetState(
                    i, std::count(c.checked.begin(), c.checked.end(), i) ? CCheckListCtl::kChecked : 0);
            checks->SetItemIndex(c.clicked);
            checks->Toggle();
            std::vector<int> after, dimmed;
            for (int i = 0; i < 8; ++i) {
                if (checks->GetState(i) & CCheckListCtl::kChecked)
                    after.push_back(i);
                if (checks->GetState(i) & CCheckListCtl::kDimmed)
                    dimmed.push_back(i);
            }
            EXPECT_EQ(after, c.after);
            EXPECT_EQ(dimmed, c.dimmed);
            EXPECT_EQ(Element(kOk)->IsEnabled(), c.ok);
        }
        Close(kCancel);
    });
    EXPECT_EQ(names, (std::vector<std::string>{"Abel Cray", "Bess Lowry", "Doc Harlan", "Hank Birch",
                                               "Sadie Rourke", "Vera Lusk", "Ivy Stroud", "Lena Marsh"}));
    // Cancelled with person 2 checked: 2 joins all the same, nothing is taken, the store stays.
    EXPECT_EQ(Companions(), (std::vector<int16_t>{2}));
    Tick();
    Tick();
    EXPECT_NE(Landmark(), nullptr);
}

TEST_F(LandmarkScreen, ChosenCompanionsBringTheirGoodsAndTheSetUpValuesAreKept)
{
    EnterStore();
    const double money = Party().GetMoney();
    double dollars = 0;
    for (int16_t id : {2, 3}) {
        const CMarket& goods = *Travel()->GetMarket(static_cast<int16_t>(id - 1));
        for (int16_t line = 0; line < goods.GetItemCount(); ++line)
            if (goods.GetItemId(line) == 35)
                dollars += goods.GetQuantity(line);
    }
    Party().GetSupplies()->AddItem(kOxen, 2);
    RunPopup(CLandmark::kMsgChooseCompanions, [&] {
        auto* checks = dynamic_cast<CCheckListCtl*>(Element(kChecks));
        checks->SetState(1, CCheckListCtl::kChecked);
        checks->SetState(2, CCheckListCtl::kChecked);
        dynamic_cast<CRangeFrame*>(Element(kMonth))->SetValue(3);
        dynamic_cast<CRangeFrame*>(Element(kStart))->SetValue(10);
        dynamic_cast<CEditField*>(Element(kName))->SetText(std::make_unique<CStr>("Ada Quill"), true);
        Close(kOk);
    });
    EXPECT_EQ(Companions(), (std::vector<int16_t>{2, 3}));
    EXPECT_DOUBLE_EQ(Party().GetMoney(), money + dollars);
    EXPECT_EQ(Travel()->GetMarket(0), nullptr) << "every market slot deleted";
    EXPECT_EQ(Travel()->GetStartDate()->GetMonth(), 5);
    EXPECT_EQ(Travel()->GetCurDate()->GetMonth(), 5);
    EXPECT_EQ(Party().GetMember(0)->GetStartCode(), 21);
    EXPECT_STREQ(Party().GetMember(0)->GetName().GetText(), "Ada Quill");
    // The module leaves.
    Tick();
    Tick();
    EXPECT_EQ(Landmark(), nullptr);
    EXPECT_EQ(GetModuleMgr()->GetCurModule(), CModuleMgr::kTravel);
}

TEST_F(LandmarkScreen, CompanionsWithoutOxenShowTheOxenlessScreen)
{
    EnterStore();
    ASSERT_EQ(Party().GetSupplies()->GetTotal(kOxen), 0);
    bool told = false;
    std::unique_ptr<wtest::Later> message;
    RunPopup(CLandmark::kMsgChooseCompanions, [&] {
        dynamic_cast<CCheckListCtl*>(Element(kChecks))->SetState(1, CCheckListCtl::kChecked);
        message = std::make_unique<wtest::Later>([&] {
            told = Popup() && Popup()->GetId() == 4033;
            SendMsg(*Popup(), -39, 0, 0, nullptr);
        });
        Close(kOk);
    });
    EXPECT_TRUE(told) << "the no-oxen message";
    ASSERT_NE(Landmark()->GetScreen(), nullptr);
    EXPECT_EQ(Landmark()->GetScreen()->GetId(), 10105);
    EXPECT_NE(Travel()->GetMarket(1), nullptr) << "the goods stay with their owners";
    Tick();
    Tick();
    EXPECT_NE(Landmark(), nullptr) << "the store stays";
}

TEST_F(LandmarkScreen, RandomCompanionsComeWithTheirPartnersAndAPaidOutfit)
{
    EnterStore();
    std::vector<std::string> shown;
    std::vector<std::string> outfit;
    RunPopup(CLandmark::kMsgRandomCompanions, [&] {
        for (int32_t id = 4340; id < 4344; ++id)
            shown.push_back(Text(id));
        // The outfit's list (288 with title 6 and 0) over the popup.
        wtest::Later look([&] {
            auto* list = dynamic_cast<CStrListBox*>(Element(12040));
            ASSERT_NE(list, nullptr);
            for (int32_t i = 0; i < list->GetList()->GetEntryCount(); ++i)
                outfit.push_back(list->GetList()->GetEntry(i)->GetText());
            SendMsg(*Popup(), -39, 0, 0, nullptr);
        });
        SendMsg(*appl, 288, 6, 0, nullptr);
        Close(kOk);
    });
    ASSERT_EQ(Companions().size(), 4u);
    const std::vector<int16_t> ids = Companions();
    for (int16_t id : ids) {
        EXPECT_TRUE(Travel()->IsPersonListed(id)) << id;
        if (const int16_t partner = CTrip::GetPartner(id)) {
            EXPECT_NE(std::find(ids.begin(), ids.end(), partner), ids.end()) << id << " without " << partner;
        }
    }
    EXPECT_EQ(shown.size(), 4u);
    EXPECT_EQ(outfit.front(), "6");
    EXPECT_EQ(outfit[1], "Oxen");
    EXPECT_EQ(Party().GetSupplies()->GetTotal(kOxen), 6);
    EXPECT_EQ(Travel()->GetMarket(0), nullptr) << "every market slot deleted";
    Tick();
    Tick();
    EXPECT_EQ(Landmark(), nullptr);
}

TEST_F(LandmarkScreen, ThePartysSuppliesAreListedByQuantityAndName)
{
    EnterStore();
    Party().GetSupplies()->AddItem(kOxen, 1);
    Party().GetSupplies()->AddItem(5, 1200);
    std::vector<std::string> lines;
    std::string title;
    wtest::Later look([&] {
        title = Text(10020);
        const CTplRec* list = dynamic_cast<CStrListBox*>(Element(12040))->GetList();
        for (int32_t i = 0; i < list->GetEntryCount(); ++i)
            lines.push_back(list->GetEntry(i)->GetText());
        SendMsg(*Popup(), -39, 0, 0, nullptr);
    });
    SendMsg(*appl, 288, 5, 1, nullptr);
    EXPECT_EQ(title, "What your wagon carries");
    ASSERT_GE(lines.size(), 4u);
    EXPECT_EQ(lines[0], "1,200");
    EXPECT_EQ(lines[1], "Flour");
    EXPECT_EQ(lines[lines.size() - 2], "1");
    EXPECT_EQ(lines.back(), "Oxen");
}

} // namespace
