// The trade window and the supplies-discard dialog in the game started on the sample data:
// application command 305 reaches the travel module, which runs the plain trader's window, and
// message 406 its discard dialog. Their golden pictures hold both windows over the travel
// screen; run the tests once with QM_UPDATE_GOLDEN=1 in the environment to write them again
// (text pixels depend on the fonts installed).
#include <gtest/gtest.h>

#include <utility>

#include "engine/controls/ImageFrame.h"
#include "engine/controls/Wind.h"
#include "engine/framework/Message.h"
#include "engine/framework/MsgMgr.h"
#include "engine/framework/Util.h"
#include "game/base/GameGlobals.h"
#include "game/base/MainWnd.h"
#include "game/base/ModuleConstructors.h"
#include "game/base/ModuleLinks.h"
#include "game/base/ModuleMgr.h"
#include "game/base/TwoColListFrm.h"
#include "game/shell/QM3Appl.h"
#include "game/travel/Market.h"
#include "game/travel/Party.h"
#include "game/travel/SupplyList.h"
#include "game/travel/Travel.h"
#include "tests/engine/controls/WindowsKit.h"
#include "tests/game/shell/SampleGame.h"

namespace {

// A landmark module that only counts the notices its characters would get.
class CountingLandmark : public CFrameModule, public CLandmarkLink {
public:
    explicit CountingLandmark(const CRect& rect) : CFrameModule(rect) {}
    void NotifyCharacters() override { ++notices; }
    int32_t notices = 0;
};

class TradeScreen : public shelltest::SampleGameScreen {
protected:
    void SetUp() override
    {
        CUtil::SetRandomSeed(3);
        SampleGameScreen::SetUp();
        ASSERT_NE(Travel(), nullptr);
        // Neither the opening nor the travel screen is shown, so the pictures hold the windows
        // alone over the game window.
        GetModuleMgr()->GetModule(0)->GetGraphic()->Hide(true, false);
        CSupplyList& supplies = *Travel()->GetParty()->GetSupplies();
        supplies.AddItem(5, 12);  // flour
        supplies.AddItem(82, 1);  // rope
        supplies.AddItem(132, 4); // oxen
    }
    static CTravel* Travel()
    {
        return dynamic_cast<CTravel*>(GetModuleMgr()->GetModule(CModuleMgr::kTravel));
    }
};

TEST_F(TradeScreen, TheApplicationOpensThePlainTradersWindow)
{
    bool shown = false;
    wtest::Later look([&] {
        CFrame* window = Travel()->GetTradeWindow();
        ASSERT_NE(window, nullptr);
        shown = true;
        auto* own = dynamic_cast<CTwoColListFrm*>(window->FindObject(CBaseObj::kAnyKind, 12050));
        ASSERT_NE(own, nullptr);
        EXPECT_EQ(own->GetItemCount(), 3);
        shelltest::ExpectGameWindowGolden("trade-window.png", 480);
        SendMsg(*window, kMsgEndModal, 0, 0, nullptr);
    });
    SendMsg(*appl, CTravel::kMsgTrade, 2, 0, nullptr);
    EXPECT_TRUE(shown);
    EXPECT_EQ(Travel()->GetTradeWindow(), nullptr);
}

TEST_F(TradeScreen, ALandmarksTraderTradesWithNoLandmarkModuleToTell)
{
    // A trader of a landmark's stock tells the landmark's characters when the landmark module
    // is there; with slot 9 empty the trade opens all the same.
    ASSERT_EQ(GetModuleMgr()->GetModule(CModuleMgr::kLandmark), nullptr);
    bool shown = false;
    wtest::Later look([&] {
        CFrame* window = Travel()->GetTradeWindow();
        ASSERT_NE(window, nullptr);
        shown = true;
        EXPECT_GT(Travel()->GetTraderMarket()->GetItemCount(), 0);
        SendMsg(*window, kMsgEndModal, 0, 0, nullptr);
    });
    SendMsg(*appl, CTravel::kMsgTrade, 1, 0, nullptr);
    EXPECT_TRUE(shown);
}

TEST_F(TradeScreen, OnlyALandmarksTraderTellsTheLandmarksCharacters)
{
    // With the landmark module in slot 9, a trader of a landmark's stock (1) tells its
    // characters as the trade begins; the plain trader (stock 2) is nobody's character.
    SetModuleConstructor(CModuleMgr::kLandmark, [](const CRect& rect, CModuleMgr&) -> CModule* {
        return new CountingLandmark(rect);
    });
    ASSERT_TRUE(GetModuleMgr()->CreateModule(CModuleMgr::kLandmark));
    auto* landmark = GetModuleMgr()->GetModuleAs<CountingLandmark>(CModuleMgr::kLandmark);
    ASSERT_NE(landmark, nullptr);
    for (const auto& [stock, notices] : {std::pair{2, 0}, std::pair{1, 1}, std::pair{2, 1}}) {
        wtest::Later close([&] { SendMsg(*Travel()->GetTradeWindow(), kMsgEndModal, 0, 0, nullptr); });
        SendMsg(*appl, CTravel::kMsgTrade, stock, 0, nullptr);
        EXPECT_EQ(landmark->notices, notices) << "after a trade with stock " << stock;
    }
}

TEST_F(TradeScreen, TheDiscardDialogListsTheGoodsOfTheCategory)
{
    bool shown = false;
    wtest::Later look([&] {
        CFrame* dialog = GetMainWnd()->GetOwnerWnd()->GetTopFrame();
        ASSERT_NE(dialog, nullptr);
        shown = dialog->FindObject(CBaseObj::kAnyKind, 933) != nullptr;
        shelltest::ExpectGameWindowGolden("discard-dialog.png", 480);
        SendMsg(*dialog, kMsgEndModal, 0, 0, nullptr);
    });
    // A route event asks for it while the travel screen runs (a suspended screen is disabled).
    Travel()->Enable(true, false, false);
    SendMsg(*Travel(), CTravel::kMsgDiscard, 1, 0, nullptr);
    EXPECT_TRUE(shown);
}

} // namespace
