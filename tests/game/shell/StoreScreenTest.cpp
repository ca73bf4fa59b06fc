// The store window (template list 902000) in the game started on the sample data, over a test
// landmark module in slot 9 that keeps a store: the outfitting store's goods ("STO" 1) and its
// three outfits (100, 102, 104) unless a test gives others. The window is driven by its
// messages and its controls as a player drives them: the category selector (2331), the count
// controls of the purchase list's row panels and the buy message (441). Its golden pictures show
// the window before and after three units are picked and bought; run the tests once with
// QM_UPDATE_GOLDEN=1 in the environment to write them again (text pixels depend on the fonts
// installed).
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "engine/controls/TextFrame.h"
#include "engine/controls/TplList.h"
#include "engine/controls/input/ScrollBar.h"
#include "engine/framework/MsgMgr.h"
#include "engine/framework/Str.h"
#include "engine/framework/Util.h"
#include "engine/resources/LibMgr.h"
#include "game/base/GameGlobals.h"
#include "game/base/MainWnd.h"
#include "game/base/ModuleConstructors.h"
#include "game/base/ModuleMgr.h"
#include "game/base/SpinFrm.h"
#include "game/landmarks/InfoPanelCtl.h"
#include "game/landmarks/ItemListCtl.h"
#include "game/landmarks/Store.h"
#include "game/landmarks/TradeListCtl.h"
#include "game/travel/Market.h"
#include "game/travel/Party.h"
#include "game/travel/SupplyList.h"
#include "game/travel/Travel.h"
#include "platform/Desktop.h"
#include "platform/Window.h"
#include "tests/game/landmarks/MarketLines.h"
#include "tests/game/shell/SampleGame.h"

namespace {

constexpr int32_t kStoreList = 902000;
constexpr int16_t kOxen = 132, kFlour = 5, kRice = 8, kBlanket = 115, kWheel = 189;

// A landmark module that is nothing but a store.
class StoreModule : public CFrameModule, public CStore {
public:
    StoreModule(const CRect& rect, std::unique_ptr<CMarket> market, CStore::Outfits outfits)
        : CFrameModule(rect), CStore(std::move(market), std::move(outfits))
    {
    }
};

using storetest::Line;
using storetest::MarketOf;

std::string TextOf(CFrame* frame)
{
    auto* text = dynamic_cast<CTextFrame*>(frame);
    const std::unique_ptr<CStr> value = text ? text->GetText() : nullptr;
    return value && value->GetText() ? value->GetText() : "(none)";
}

class StoreScreen : public shelltest::SampleGameScreen {
protected:
    void SetUp() override
    {
        CUtil::SetRandomSeed(3);
        SampleGameScreen::SetUp();
        ASSERT_NE(Travel(), nullptr);
        // The pictures hold the window alone over the game window.
        GetModuleMgr()->GetModule(0)->GetGraphic()->Hide(true, false);
        SetMoney(100.0);
    }
    void TearDown() override
    {
        window.reset();
        SampleGameScreen::TearDown();
    }

    static CTravel* Travel() { return GetModuleMgr()->GetModuleAs<CTravel>(CModuleMgr::kTravel); }
    static CParty& Party() { return *Travel()->GetParty(); }
    static void SetMoney(double dollars) { Party().AddMoney(dollars - Party().GetMoney()); }
    static StoreModule* Store() { return GetModuleMgr()->GetModuleAs<StoreModule>(CModuleMgr::kLandmark); }

    // Slot 9 holds a store of the market and the outfits (the sample store's by default).
    void MakeStore(std::function<std::unique_ptr<CMarket>()> market = nullptr,
                   std::function<CStore::Outfits()> outfits = nullptr)
    {
        SetModuleConstructor(
            CModuleMgr::kLandmark, [market, outfits](const CRect& rect, CModuleMgr&) -> CModule* {
                CStore::Outfits made;
                if (outfits) {
                    made = outfits();
                } else {
                    for (int16_t i = 0; i < CStoreLink::kOutfitCount; ++i)
                        made[static_cast<size_t>(i)] =
                            std::make_unique<CMarket>(static_cast<int16_t>(100 + 2 * i), 1, 100, 5);
                }
                return new StoreModule(rect, market ? market() : std::make_unique<CMarket>(1, 1, 205, 5),
                                       std::move(made));
            });
        ASSERT_TRUE(GetModuleMgr()->CreateModule(CModuleMgr::kLandmark));
        Store()->GetGraphic()->Hide(true, false);
    }

    // Builds the store window as the landmark's scene opens it, the category chosen, and shows it.
    void Open(int32_t category)
    {
        CTplList list(kStoreList, CLibMgr::kAllLibraries, GetRsrcCache());
        window.reset(dynamic_cast<CTradeListCtl*>(list.Build(nullptr, GetMainWnd(), 0)));
        ASSERT_NE(window, nullptr);
        ASSERT_NE(List(), nullptr);
        Selector()->SetValue(category);
        window->ShowWnd();
    }

    CFrame* Root() const { return window->GetFirstFrame(); }
    CItemListCtl* List() const { return Root()->FindAs<CItemListCtl>(CTradeListCtl::kList); }
    CSpinFrm* Selector() const { return Root()->FindAs<CSpinFrm>(CTradeListCtl::kSelector); }
    CInfoPanelCtl* Panel(int16_t i) const { return List()->GetPanel(i); }
    CSpinFrm* Count(int16_t panel) const { return dynamic_cast<CSpinFrm*>(Panel(panel)->GetCountControl()); }
    std::string Text(int32_t id) const { return TextOf(Root()->FindObject(CBaseObj::kAnyKind, id)); }
    std::string PanelText(int16_t panel, uint32_t kind) const
    {
        return TextOf(Panel(panel)->FindObject(kind, CBaseObj::kAnyId));
    }

    // Steps a panel's count as its arrows do, n times (down for a negative n).
    void Pick(int16_t panel, int32_t n)
    {
        for (int32_t i = 0; i < (n < 0 ? -n : n); ++i)
            Count(panel)->Step(n < 0 ? CSpinFrm::kDown : CSpinFrm::kUp, 1);
    }
    // Another category, as the selector's arrows choose it (its change asks the window to fill).
    void Choose(int32_t category)
    {
        while (Selector()->GetValue() != category)
            Selector()->Step(Selector()->GetValue() < category ? CSpinFrm::kUp : CSpinFrm::kDown, 1);
    }
    void Buy() { SendMsg(*window, CTradeListCtl::kMsgBuy, 0, 0, nullptr); }

    void ExpectGolden(const char* name)
    {
        plat::UpdateWindow(window->GetHwnd());
        shelltest::ExpectGameWindowGolden(name, 480);
    }

    std::unique_ptr<CTradeListCtl> window;
};

TEST_F(StoreScreen, ThreeUnitsPickedAndBought)
{
    MakeStore();
    Open(CTradeListCtl::kCategoryAll);
    const CMarket& market = *Store()->GetMarket();
    ASSERT_EQ(market.GetItemId(0), kOxen);
    const int16_t stock = market.GetQuantity(0);
    EXPECT_EQ(List()->GetRowTotal(), market.GetItemCount());
    EXPECT_NE(List()->GetScrollBar(), nullptr) << "more than eight rows";
    EXPECT_EQ(Text(CItemListCtl::kMoneyText), "100.00");
    ExpectGolden("store-window.png");

    // Oxen at 27.50 (25.00 marked up 10%).
    Pick(0, 3);
    EXPECT_EQ(PanelText(0, CInfoPanelCtl::kLineTotalText), "82.50");
    EXPECT_EQ(Text(CItemListCtl::kBillText), "82.50");
    Buy();
    EXPECT_DOUBLE_EQ(Party().GetMoney(), 17.5);
    EXPECT_EQ(Party().GetSupplies()->GetTotal(kOxen), 3);
    EXPECT_EQ(market.GetQuantity(0), stock - 3);
    // The list shows the same goods again, nothing picked.
    EXPECT_EQ(List()->GetRowCount(0), 0);
    EXPECT_EQ(Count(0)->GetValue(), 0);
    EXPECT_EQ(PanelText(0, CInfoPanelCtl::kStockText), std::to_string(stock - 3));
    EXPECT_EQ(PanelText(0, CInfoPanelCtl::kOwnedText), "3");
    EXPECT_EQ(Text(CItemListCtl::kBillText), "0.00");
    EXPECT_EQ(Text(CItemListCtl::kMoneyText), "17.50");
    ExpectGolden("store-window-bought.png");
}

TEST_F(StoreScreen, PicksOutlastAChangeOfCategory)
{
    MakeStore();
    // Category 4 is the food (price category 3): flour, cornmeal, rice, ...
    Open(4);
    ASSERT_EQ(List()->GetRowItem(0), kFlour);
    ASSERT_EQ(List()->GetRowItem(2), kRice);
    Pick(0, 2);
    Pick(2, 1);
    const std::string bill = Text(CItemListCtl::kBillText);
    Choose(5);
    EXPECT_NE(List()->GetRowItem(0), kFlour);
    EXPECT_EQ(Store()->GetCartCount(kFlour), 2);
    EXPECT_EQ(Store()->GetCartCount(kRice), 1);
    Choose(4);
    EXPECT_EQ(List()->GetRowCount(0), 2);
    EXPECT_EQ(List()->GetRowCount(2), 1);
    EXPECT_EQ(Count(0)->GetValue(), 2);
    EXPECT_EQ(Count(2)->GetValue(), 1);
    EXPECT_EQ(Text(CItemListCtl::kBillText), bill) << "the bill runs across the categories";
    // Both are bought, with the picks of no other category.
    const double money = Party().GetMoney();
    Buy();
    EXPECT_EQ(Party().GetSupplies()->GetTotal(kFlour), 2);
    EXPECT_EQ(Party().GetSupplies()->GetTotal(kRice), 1);
    EXPECT_DOUBLE_EQ(Party().GetMoney(), money - 2 * 4.4 - 5.5);
    EXPECT_EQ(Store()->GetCartCount(kFlour), 0) << "a new cart";
}

TEST_F(StoreScreen, OneInStockIsNamedSingularTwoPlural)
{
    MakeStore([] { return MarketOf({{kBlanket, 1, 4.4}, {kWheel, 2, 11.0}}); });
    Open(CTradeListCtl::kCategoryAll);
    EXPECT_EQ(PanelText(0, CInfoPanelCtl::kNameText), "Blanket");
    EXPECT_EQ(PanelText(1, CInfoPanelCtl::kNameText), "Wagon wheels");
    EXPECT_EQ(PanelText(1, CInfoPanelCtl::kPriceText), "11.00");
    EXPECT_EQ(Count(1)->GetMax(), 2) << "no more than the stock";
}

TEST_F(StoreScreen, OutfitsAreOfferedBeforeThePartySetsOut)
{
    MakeStore();
    Open(CTradeListCtl::kCategoryOutfits);
    ASSERT_EQ(List()->GetRowTotal(), 3);
    EXPECT_EQ(PanelText(1, CInfoPanelCtl::kNameText), "A family outfit");
    char value[32];
    std::snprintf(value, sizeof value, "%.2f",
                  static_cast<double>(static_cast<float>(Store()->GetOutfitValue(1))));
    EXPECT_EQ(PanelText(1, CInfoPanelCtl::kPriceText), value);
    // The family outfit picked puts its goods into the cart, and they are bought from the store.
    SetMoney(1000.0);
    const CMarket& outfit = *Store()->GetOutfitMarket(1);
    std::vector<int16_t> before;
    for (int16_t line = 0; line < outfit.GetItemCount(); ++line)
        before.push_back(Party().GetSupplies()->GetTotal(outfit.GetItemId(line)));
    Pick(1, 1);
    Buy();
    for (int16_t line = 0; line < outfit.GetItemCount(); ++line)
        EXPECT_EQ(Party().GetSupplies()->GetTotal(outfit.GetItemId(line)) - before[static_cast<size_t>(line)],
                  outfit.GetQuantity(line))
            << "item type " << outfit.GetItemId(line);

    // Once the party is on its way (the trip word 2 on), there are none.
    Travel()->PlaceOnNode(2);
    SendMsg(*window, CTradeListCtl::kMsgFill, 0, 0, nullptr);
    EXPECT_EQ(List()->GetRowTotal(), 0);
}

TEST_F(StoreScreen, AStoreWithoutAnOutfitListsNoneForIt)
{
    MakeStore(nullptr, [] {
        CStore::Outfits outfits;
        outfits[2] = std::make_unique<CMarket>(104, 1, 100, 5);
        return outfits;
    });
    Open(CTradeListCtl::kCategoryOutfits);
    ASSERT_EQ(List()->GetRowTotal(), 1);
    EXPECT_EQ(PanelText(0, CInfoPanelCtl::kNameText), "A hunter's outfit");
    // Picked and bought: the missing outfits put nothing into the cart.
    SetMoney(1000.0);
    Pick(0, 1);
    Buy();
    EXPECT_EQ(Party().GetSupplies()->GetTotal(156), 1) << "the hunting rifle";
}

TEST_F(StoreScreen, WithoutALandmarkTheListStaysEmptyAndNothingIsBought)
{
    Open(CTradeListCtl::kCategoryAll);
    EXPECT_EQ(List()->GetRowTotal(), 0);
    Buy();
    EXPECT_DOUBLE_EQ(Party().GetMoney(), 100.0);
}

TEST_F(StoreScreen, LineTotalsAreWholeCents)
{
    MakeStore([] { return MarketOf({{kFlour, 5, 1.995}}); });
    Open(CTradeListCtl::kCategoryAll);
    Pick(0, 3);
    EXPECT_EQ(PanelText(0, CInfoPanelCtl::kLineTotalText), "6.00");
    EXPECT_EQ(Text(CItemListCtl::kBillText), "6.00");
    EXPECT_DOUBLE_EQ(List()->GetTotal(), 6.0);
}

TEST_F(StoreScreen, APickBeyondTheMoneyIsRefusedAndItsCountGoesBack)
{
    MakeStore([] { return MarketOf({{kFlour, 5, 4.0}, {kRice, 5, 2.0}, {16, 5, 2.01}}); });
    SetMoney(10.0);
    Open(CTradeListCtl::kCategoryAll);
    Pick(0, 2);
    EXPECT_EQ(Text(CItemListCtl::kBillText), "8.00");
    Pick(1, 1);
    EXPECT_EQ(Text(CItemListCtl::kBillText), "10.00") << "a bill equal to the money";
    EXPECT_EQ(List()->GetRowCount(1), 1);
    Pick(1, -1);
    EXPECT_EQ(Text(CItemListCtl::kBillText), "8.00");
    Pick(2, 1);
    EXPECT_EQ(Count(2)->GetValue(), 0) << "2.01 more is refused";
    EXPECT_EQ(List()->GetRowCount(2), 0);
    EXPECT_EQ(PanelText(2, CInfoPanelCtl::kLineTotalText), "0.00");
    EXPECT_EQ(Text(CItemListCtl::kBillText), "8.00");
}

TEST_F(StoreScreen, NineRowsScrollByOne)
{
    std::vector<Line> lines;
    for (int16_t i = 0; i < 9; ++i)
        lines.push_back({static_cast<int16_t>(kFlour + i), 3, 1.0});
    MakeStore([lines] { return MarketOf(lines); });
    Open(CTradeListCtl::kCategoryAll);
    CScrollBar* bar = List()->GetScrollBar();
    ASSERT_NE(bar, nullptr);
    EXPECT_EQ(bar->GetMin(), 0);
    EXPECT_EQ(bar->GetMax(), 1);
    EXPECT_EQ(bar->GetPageSize(), 8);
    bar->SetValue(1);
    bar->SendNotify();
    EXPECT_EQ(List()->GetFirstRow(), 1);
    for (int16_t i = 0; i < CItemListCtl::kPanelCount; ++i) {
        EXPECT_EQ(Panel(i)->GetIndex(), i + 1);
        EXPECT_TRUE(Panel(i)->IsShown());
    }
    // A choice of fewer rows takes the bar away.
    Choose(CTradeListCtl::kCategoryNone);
    EXPECT_EQ(List()->GetScrollBar(), nullptr);
}

TEST_F(StoreScreen, AnEmptyListShowsOneEmptyRow)
{
    MakeStore();
    Open(CTradeListCtl::kCategoryNone);
    EXPECT_EQ(List()->GetRowTotal(), 0);
    EXPECT_TRUE(Panel(0)->IsShown());
    EXPECT_EQ(PanelText(0, CInfoPanelCtl::kNameText), "");
    for (int16_t i = 1; i < CItemListCtl::kPanelCount; ++i)
        EXPECT_FALSE(Panel(i)->IsShown()) << "panel " << i;
    // A row whose count is below 1 counts nothing.
    CItemRow row;
    row.count = -1;
    row.itemType = kFlour;
    List()->AddRow(row, true);
    EXPECT_EQ(List()->GetRowCount(0), 0);
    EXPECT_EQ(List()->GetRowCount(1), 0) << "past the rows";
    // The list holds 214 rows; more are not taken.
    row.count = 1;
    for (int16_t i = 1; i <= CItemListCtl::kMaxRows; ++i)
        List()->AddRow(row, false);
    EXPECT_EQ(List()->GetRowTotal(), CItemListCtl::kMaxRows);
    EXPECT_EQ(List()->GetRowCount(CItemListCtl::kMaxRows - 1), 1);
}

TEST_F(StoreScreen, TheListDrawsItsOutlineAndTwoRulesInColourZero)
{
    MakeStore();
    Open(CTradeListCtl::kCategoryAll);
    plat::UpdateWindow(window->GetHwnd());
    const auto pixel = [this](int h, int v) {
        const plat::Point at = plat::ClientToScreen(window->GetHwnd(), {h, v});
        return plat::DesktopPixel(at.x, at.y);
    };
    const CRect& drawn = List()->GetDrawnRect();
    const int title = List()->GetTitleRect().GetBottom();
    const int footer = drawn.GetBottom() - CItemListCtl::kFooterLine;
    const int h = drawn.GetLeft() + 300;
    EXPECT_EQ(pixel(drawn.GetLeft(), drawn.GetTop() + 100), 0) << "the outline's left";
    EXPECT_EQ(pixel(drawn.GetRight() - 1, drawn.GetTop() + 100), 0) << "the outline's right";
    EXPECT_EQ(pixel(h, drawn.GetTop()), 0) << "the outline's top";
    EXPECT_EQ(pixel(h, drawn.GetBottom() - 1), 0) << "the outline's bottom";
    EXPECT_NE(pixel(h, title - 1), 0);
    EXPECT_EQ(pixel(h, title), 0) << "the title's rule, two rows";
    EXPECT_EQ(pixel(h, title + 1), 0);
    EXPECT_NE(pixel(h, title + 2), 0);
    EXPECT_NE(pixel(h, footer - 1), 0);
    EXPECT_EQ(pixel(h, footer), 0) << "the foot's rule, one row";
    EXPECT_NE(pixel(h, footer + 1), 0);
}

} // namespace
