// Trading with a traveller (template list 1029, the plain trader's stock 2) and the
// supplies-discard dialog (1031) of the sample data, driven while their windows run: the
// deal check's verdicts, what a deal moves between the party and the trader, and what a
// discard leaves behind.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>

#include "engine/controls/ImageFrame.h"
#include "engine/controls/TextFrame.h"
#include "engine/controls/input/CaptionFrame.h"
#include "engine/controls/input/RangeFrame.h"
#include "engine/controls/input/TextBtnFrame.h"
#include "engine/framework/Message.h"
#include "engine/framework/MsgMgr.h"
#include "engine/framework/Util.h"
#include "engine/graphics/FontList.h"
#include "engine/resources/DefinitionTextHooks.h"
#include "engine/resources/LibraryHooks.h"
#include "engine/resources/Registrar.h"
#include "game/base/TwoColListFrm.h"
#include "game/shell/TemplateTypes.h"
#include "game/travel/Item.h"
#include "game/travel/Market.h"
#include "game/travel/Party.h"
#include "game/travel/SupplyList.h"
#include "game/travel/Travel.h"
#include "tests/engine/controls/native/NativeKit.h"
#include "tests/game/travel/SampleData.h"

namespace {

constexpr int16_t kHardtack = 40, kRope = 82, kClothing = 91, kDollars = 35, kFlour = 5;
constexpr int16_t kPlainTrader = 2;

template <class T> T* Find(CFrame* frame, int32_t id)
{
    return frame ? dynamic_cast<T*>(frame->FindObject(CBaseObj::kAnyKind, id)) : nullptr;
}

class TradeTest : public ntest::NativeTest {
protected:
    void SetUp() override
    {
        NativeTest::SetUp();
        appl = std::make_unique<wtest::TestAppl>(log);
        traveltest::OpenSampleData();
        InstallDefinitionTextHooks();
        InstallLibraryHooks();
        CRegistrar::Clear();
        RegisterTemplateTypes();
        FontList fonts;
        ASSERT_TRUE(LoadFontList(fonts));
        ASSERT_EQ(CDrawEnv::InitFonts(&fonts), 0);
        CUtil::SetRandomSeed(5);
        travel = std::make_unique<CTravel>(CRect(0, 0, 480, 640));
        travel->OnAttach();
        supplies = travel->GetParty()->GetSupplies();
        supplies->Clear();
    }
    void TearDown() override
    {
        travel.reset();
        NativeTest::TearDown();
    }

    // Opens the plain trader's window and runs `during` while it is shown, then closes it.
    void Trade(const std::function<void(CFrame&)>& during)
    {
        bool shown = false;
        wtest::Later act([&] {
            CFrame* window = travel->GetTradeWindow();
            ASSERT_NE(window, nullptr);
            shown = true;
            during(*window);
            SendMsg(*window, kMsgEndModal, 0, 0, nullptr);
        });
        travel->StartTrade(kPlainTrader, 0);
        EXPECT_TRUE(shown);
        EXPECT_EQ(travel->GetTradeWindow(), nullptr) << "the window goes with the trade";
        EXPECT_EQ(travel->GetTraderMarket(), nullptr);
    }

    // The trader's line of the item type (-1 when it has none).
    int32_t TraderLine(int16_t type) const
    {
        const CMarket* market = travel->GetTraderMarket();
        for (int16_t i = 0; i < market->GetItemCount(); ++i)
            if (market->GetItemId(i) == type)
                return i;
        return -1;
    }
    // Picks a trader line and a party row with their quantities as a player would, and
    // answers the deal button's verdict.
    std::string Pick(CFrame& window, int32_t line, int32_t asked, int32_t row, int32_t offered)
    {
        Find<CTwoColListFrm>(&window, 12000)->SetItemIndex(line);
        travel->OnTraderItemPicked();
        Find<CTwoColListFrm>(&window, 12050)->SetItemIndex(row);
        travel->OnOwnItemPicked();
        Find<CRangeFrame>(&window, 465)->SetValue(asked);
        Find<CRangeFrame>(&window, 466)->SetValue(offered);
        travel->UpdateTradeLabels();
        return Verdict(window);
    }
    static std::string Verdict(CFrame& window)
    {
        auto* button = Find<CTextBtnFrame>(&window, 200);
        return std::string(button->GetCaption()->GetText()->GetText()) +
               (button->IsEnabled() ? " (enabled)" : "");
    }
    static std::string Label(CFrame& window, int32_t id)
    {
        return Find<CTextFrame>(&window, id)->GetText()->GetText();
    }

    std::unique_ptr<wtest::TestAppl> appl;
    std::unique_ptr<CTravel> travel;
    CSupplyList* supplies = nullptr;
};

TEST_F(TradeTest, TheTraderTakesOnlyAnOfferWorthStrictlyMore)
{
    supplies->AddItem(kHardtack, 10);
    Trade([&](CFrame& window) {
        const int32_t line = TraderLine(kHardtack);
        ASSERT_GE(line, 0);
        // The party's only row is its hardtack: like for like weighs the quantities alone.
        EXPECT_EQ(Pick(window, line, 2, 0, 2), "No thanks!");
        EXPECT_EQ(Label(window, 12010), "Hardtack");
        EXPECT_EQ(Pick(window, line, 2, 0, 3), "It's a deal! (enabled)");
        EXPECT_EQ(Pick(window, line, 3, 0, 2), "No thanks!");
    });
}

TEST_F(TradeTest, APartyWithNothingListedHasNothingToOffer)
{
    // An item emptied to nothing keeps the supplies from being empty, so the window shows,
    // but the party's list is.
    supplies->AddItem(kFlour, 1);
    supplies->FindItem(kFlour)->RemovePackages(1);
    Trade([&](CFrame& window) { EXPECT_EQ(Verdict(window), "You have nothing!"); });

    // With no supplies at all the window never shows.
    supplies->Clear();
    bool shown = false;
    wtest::Later never([&] { shown = travel->GetTradeWindow() != nullptr; }, 2);
    travel->StartTrade(kPlainTrader, 0);
    EXPECT_FALSE(shown);
}

TEST_F(TradeTest, NothingPickedOnEitherSideIsNoDealAndAnAcceptChangesNothing)
{
    supplies->AddItem(kHardtack, 10);
    Trade([&](CFrame& window) {
        const int32_t line = TraderLine(kRope);
        for (const auto& [traderRow, partyRow] : {std::pair{-1, 0}, std::pair{line, -1}}) {
            Pick(window, line, 1, 0, 10);
            Find<CTwoColListFrm>(&window, 12000)->SetItemIndex(traderRow);
            Find<CTwoColListFrm>(&window, 12050)->SetItemIndex(partyRow);
            travel->UpdateTradeLabels();
            EXPECT_EQ(Verdict(window), "No thanks!") << traderRow << " " << partyRow;
            travel->AcceptTrade();
            EXPECT_EQ(supplies->GetTotal(kHardtack), 10);
            EXPECT_EQ(supplies->GetTotal(kRope), 0);
        }
    });
}

TEST_F(TradeTest, BuyingOutALineRemovesItFromTheTradersList)
{
    supplies->AddItem(kClothing, 20);
    Trade([&](CFrame& window) {
        const int32_t line = TraderLine(kRope);
        const int16_t rope = travel->GetTraderMarket()->GetQuantity(static_cast<int16_t>(line));
        const int16_t lines = travel->GetTraderMarket()->GetItemCount();
        const int32_t offer =
            CItem(kRope, 1, 0.0).GetPackagePrice() * rope / CItem(kClothing, 1, 0.0).GetPackagePrice() + 1;
        ASSERT_EQ(Pick(window, line, rope, 0, offer), "It's a deal! (enabled)");
        travel->AcceptTrade();
        EXPECT_EQ(supplies->GetTotal(kRope), rope);
        EXPECT_EQ(supplies->GetTotal(kClothing), 20 - offer);
        EXPECT_EQ(TraderLine(kRope), -1);
        EXPECT_EQ(travel->GetTraderMarket()->GetItemCount(), lines - 1)
            << "the clothing line grew, the rope went";
        EXPECT_EQ(Find<CTwoColListFrm>(&window, 12000)->GetItemCount(), lines - 1);
    });
}

TEST_F(TradeTest, DollarsGoToThePartysMoneyNotItsSupplies)
{
    supplies->AddItem(kClothing, 20);
    const double before = travel->GetParty()->GetMoney();
    Trade([&](CFrame& window) {
        ASSERT_EQ(Pick(window, TraderLine(kDollars), 3, 0, 20), "It's a deal! (enabled)");
        travel->AcceptTrade();
    });
    EXPECT_EQ(travel->GetParty()->GetMoney(), before + 3);
    EXPECT_EQ(supplies->GetTotal(kDollars), 0);
}

TEST_F(TradeTest, AnOfferSpanningTwoItemsGivesTheTraderWhatTheyHeld)
{
    supplies->AppendItem(std::make_unique<CItem>(kHardtack, 3, 0.0));
    supplies->AppendItem(std::make_unique<CItem>(kHardtack, 4, 0.0));
    Trade([&](CFrame& window) {
        const int32_t line = TraderLine(kHardtack);
        const int16_t stocked = travel->GetTraderMarket()->GetQuantity(static_cast<int16_t>(line));
        ASSERT_EQ(Pick(window, TraderLine(kDollars), 1, 0, 5), "It's a deal! (enabled)");
        travel->AcceptTrade();
        EXPECT_EQ(travel->GetTraderMarket()->GetQuantity(static_cast<int16_t>(TraderLine(kHardtack))),
                  stocked + 5);
    });
    EXPECT_EQ(supplies->CountOf(kHardtack), 2) << "the first item is used up and gone";
    EXPECT_EQ(supplies->GetCount(), 1);
}

TEST_F(TradeTest, TradeCommandsWithNoTradeWindowChangeNothing)
{
    supplies->AddItem(kHardtack, 4);
    const double money = travel->GetParty()->GetMoney();
    for (int32_t id : {CTravel::kMsgFillTradeLists, CTravel::kMsgTraderItemPicked, CTravel::kMsgOwnItemPicked,
                       CTravel::kMsgAcceptTrade, CTravel::kMsgOwnListChange, CTravel::kMsgTradeQuantity}) {
        CMessage message(id, 0, 0, -1);
        EXPECT_TRUE(travel->HandleTradeCommand(message, nullptr)) << id;
        EXPECT_EQ(travel->GetTradeWindow(), nullptr) << id;
    }
    EXPECT_EQ(supplies->GetTotal(kHardtack), 4);
    EXPECT_EQ(travel->GetParty()->GetMoney(), money);
}

class DiscardTest : public TradeTest {
protected:
    // Runs the discard dialog for the category; `during` sees it, then `ender` ends it.
    void Discard(int16_t category, const std::function<void(CFrame&)>& during, int32_t ender)
    {
        wtest::Later act([&] {
            CFrame* dialog = wnd->GetTopFrame();
            ASSERT_NE(dialog, nullptr);
            during(*dialog);
            CFrame* button = Find<CFrame>(dialog, ender);
            ASSERT_NE(button, nullptr);
            SendMsg(*dialog, kMsgEndModal, 0, 0, button);
        });
        CMessage message(CTravel::kMsgDiscard, category, 0, -1);
        travel->HandleMessage(message, nullptr);
    }
};

TEST_F(DiscardTest, EveryCategoryListsEveryHeldTypeAndTheDiscardTakesThePickedRow)
{
    supplies->AddItem(kFlour, 6);
    supplies->AddItem(kRope, 2);
    Discard(
        1,
        [&](CFrame& dialog) {
            EXPECT_EQ(Find<CTwoColListFrm>(&dialog, 12050)->GetItemCount(), 2);
            EXPECT_EQ(Label(dialog, 12011), "Flour") << "the first row is offered";
            EXPECT_EQ(Find<CRangeFrame>(&dialog, 466)->GetMax(), 6);
            Find<CRangeFrame>(&dialog, 466)->SetValue(4);
        },
        933);
    EXPECT_EQ(supplies->GetTotal(kFlour), 2);
    EXPECT_EQ(supplies->GetTotal(kRope), 2);

    // Keeping it discards nothing.
    Discard(
        1, [](CFrame&) {}, 934);
    EXPECT_EQ(supplies->GetTotal(kFlour), 2);
}

TEST_F(DiscardTest, ASingleItemIsOfferedWholeAndOnceDiscardedIsListedNoMore)
{
    supplies->AddItem(kRope, 1);
    Discard(
        1,
        [&](CFrame& dialog) {
            EXPECT_EQ(Find<CTwoColListFrm>(&dialog, 12050)->GetItemCount(), 1);
            EXPECT_EQ(Find<CRangeFrame>(&dialog, 466)->GetMax(), 1);
            Find<CRangeFrame>(&dialog, 466)->SetValue(1);
        },
        933);
    EXPECT_EQ(supplies->GetTotal(kRope), 0);
    // The emptied item waits for the day's sweep; the dialog lists it no more.
    Discard(
        1, [&](CFrame& dialog) { EXPECT_EQ(Find<CTwoColListFrm>(&dialog, 12050)->GetItemCount(), 0); }, 933);
}

TEST_F(DiscardTest, WithNothingPickedNothingIsDiscarded)
{
    supplies->AddItem(kRope, 2);
    Discard(
        1, [&](CFrame& dialog) { Find<CTwoColListFrm>(&dialog, 12050)->SetItemIndex(-1); }, 933);
    EXPECT_EQ(supplies->GetTotal(kRope), 2);

    // A category the party holds nothing of lists no rows.
    Discard(
        77, [&](CFrame& dialog) { EXPECT_EQ(Find<CTwoColListFrm>(&dialog, 12050)->GetItemCount(), 0); }, 933);
    EXPECT_EQ(supplies->GetTotal(kRope), 2);
}

} // namespace
