// The landmark store's state: its outfits' values, the cart, and the purchase of the cart
// from the market, line by line, as far as the party's money goes.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "engine/framework/Util.h"
#include "game/landmarks/Store.h"
#include "game/travel/Market.h"
#include "game/travel/Party.h"
#include "game/travel/SupplyList.h"
#include "tests/game/landmarks/MarketLines.h"

namespace {

using storetest::Line;
using storetest::LinesOf;
using storetest::MarketOf;

class StoreTest : public ::testing::Test {
protected:
    void SetUp() override { CUtil::SetRandomSeed(1); }
};

TEST_F(StoreTest, PurchaseBuysTheCartAsFarAsTheMoneyGoes)
{
    struct Case {
        const char* what;
        std::vector<Line> lines;
        std::vector<std::pair<int16_t, int16_t>> cart; // item type, count
        double money;
        double moneyAfter;
        std::vector<std::pair<int16_t, int16_t>> bought; // item type, supplies after
        std::vector<Line> left;
    } cases[] = {
        {"a charge equal to the money", {{5, 10, 2.5}}, {{5, 4}}, 10.0, 0.0, {{5, 4}}, {{5, 6, 2.5}}},
        {"1.996 is charged as 2.00 a unit", {{5, 10, 1.996}}, {{5, 3}}, 10.0, 4.0, {{5, 3}}, {{5, 7, 1.996}}},
        {"1.996 against 1.999: refused",
         {{5, 10, 1.996}},
         {{5, 1}},
         1.999,
         1.999,
         {{5, 0}},
         {{5, 10, 1.996}}},
        {"a whole line bought: the next is examined in its place",
         {{5, 2, 1.0}, {8, 5, 1.0}, {16, 1, 1.0}},
         {{5, 2}, {8, 1}},
         10.0,
         7.0,
         {{5, 2}, {8, 1}, {16, 0}},
         {{8, 4, 1.0}, {16, 1, 1.0}}},
        {"a line too dear is skipped, a cheaper one after it bought",
         {{5, 9, 3.0}, {8, 9, 1.0}},
         {{5, 3}, {8, 2}},
         5.0,
         3.0,
         {{5, 0}, {8, 2}},
         {{5, 9, 3.0}, {8, 7, 1.0}}},
        {"nothing in the cart", {{5, 9, 3.0}}, {}, 5.0, 5.0, {{5, 0}}, {{5, 9, 3.0}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        CStore store(MarketOf(c.lines), {});
        store.NewCart();
        for (const auto& [type, count] : c.cart)
            store.SetCartCount(type, count, 0.0);
        CParty party;
        party.AddMoney(c.money);
        store.Purchase(party);
        EXPECT_DOUBLE_EQ(party.GetMoney(), c.moneyAfter);
        for (const auto& [type, total] : c.bought)
            EXPECT_EQ(party.GetSupplies()->GetTotal(type), total) << "item type " << type;
        EXPECT_EQ(LinesOf(*store.GetMarket()), c.left);
        for (const auto& [type, count] : c.cart)
            EXPECT_EQ(store.GetCartCount(type), count) << "the cart is left as it was";
    }
}

TEST_F(StoreTest, AStoreWithoutMarketOrCartBuysNothing)
{
    CParty party;
    party.AddMoney(10.0);
    CStore empty(nullptr, {});
    empty.NewCart();
    empty.SetCartCount(5, 2, 0.0);
    empty.Purchase(party);
    CStore noCart(MarketOf({{5, 3, 1.0}}), {});
    noCart.SetCartCount(5, 2, 0.0);
    EXPECT_EQ(noCart.GetCartCount(5), 0) << "no cart before the first NewCart";
    noCart.Purchase(party);
    EXPECT_DOUBLE_EQ(party.GetMoney(), 10.0);
    EXPECT_EQ(party.GetSupplies()->GetTotal(5), 0);
}

TEST_F(StoreTest, TheOutfitsKeepTheValueTheyHadWhenTheStoreOpened)
{
    CStore::Outfits outfits;
    outfits[0] = MarketOf({{132, 4, 25.0}, {5, 10, 4.4}});
    outfits[2] = MarketOf({{16, 3, 3.3}});
    CStore store(nullptr, std::move(outfits));
    EXPECT_DOUBLE_EQ(store.GetOutfitValue(0), 100.0 + 44.0 + 0.005);
    EXPECT_EQ(store.GetOutfitMarket(1), nullptr);
    EXPECT_DOUBLE_EQ(store.GetOutfitValue(1), 0.0);
    store.GetOutfitMarket(2)->TakeFromLine(0, 3);
    EXPECT_DOUBLE_EQ(store.GetOutfitValue(2), 3 * 3.3 + 0.005);
    EXPECT_EQ(store.GetOutfitMarket(3), nullptr);
    EXPECT_EQ(store.GetOutfitMarket(-1), nullptr);
    EXPECT_DOUBLE_EQ(store.GetOutfitValue(3), 0.0);
}

TEST(PriceInCents, RoundsToTheNearestCent)
{
    EXPECT_EQ(PriceInCents(1.996), 200);
    EXPECT_EQ(PriceInCents(1.995), 200);
    EXPECT_EQ(PriceInCents(static_cast<double>(1.995f)), 200);
    EXPECT_EQ(PriceInCents(1.994), 199);
    EXPECT_EQ(PriceInCents(0.0), 0);
    EXPECT_EQ(PriceInCents(2.5), 250);
}

} // namespace
