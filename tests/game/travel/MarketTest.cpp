#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "engine/framework/Doc.h"
#include "game/travel/Market.h"
#include "game/travel/Party.h"
#include "game/travel/Trip.h"
#include "tests/game/travel/SampleData.h"
#include "tests/game/travel/TravelFixture.h"
#include "tests/game/travel/TravelRecords.h"
#include "tests/support/FatalReports.h"

namespace traveltest {
namespace {

struct Entry {
    int16_t type, minimum, maximum;
    int16_t markup1 = 0;
};

class MarketTest : public TravelTest {
protected:
    // Stock record `id` from its entries (chance 100, markup column 1 as given, the others 0).
    void AddStock(int32_t id, const std::vector<Entry>& entries)
    {
        std::ostringstream text;
        for (const Entry& e : entries)
            text << e.type << ", " << e.minimum << ", " << e.maximum << ", 100, 0, " << e.markup1
                 << ", 0, 0, 0, 0, 0, 0,\n";
        AddRecord("STO", id, text.str());
    }
    // Price record 1: item types 1..n at 100 cents x type, category type % 7.
    void AddPrices(int16_t n = CMarket::kItemTypes)
    {
        std::ostringstream text;
        for (int16_t t = 1; t <= n; ++t)
            text << 100 * t << ", " << t % 7 << ",\n";
        AddRecord("PRC", CMarket::kPriceRecord, text.str());
    }
};

TEST_F(MarketTest, EveryEntryIsStockedAtItsLargestQuantity)
{
    struct Case {
        const char* what;
        Entry entry;
        int16_t people;
        int16_t quantity;
    } cases[] = {
        {"k per person", {4, -3, 0}, 5, 15},
        {"k per person, four people", {4, -3, 50}, 4, 12},
        {"the maximum", {4, 2, 7}, 5, 7},
        {"maximum capped", {4, 1000, 2000}, 5, 900},
        {"maximum below the minimum", {4, 5, 2}, 5, 5},
        {"minimum capped too", {4, 1200, 3}, 5, 800},
        {"a negative maximum", {4, 0, -4}, 5, 0},
        {"many per person", {4, -300, 0}, 5, 900},
    };
    AddPrices();
    for (int32_t i = 0; i < static_cast<int32_t>(std::size(cases)); ++i)
        AddStock(100 + i, {cases[i].entry});
    Open();
    for (int32_t i = 0; i < static_cast<int32_t>(std::size(cases)); ++i) {
        const CMarket market(static_cast<int16_t>(100 + i), 1, 205, cases[i].people);
        ASSERT_EQ(market.GetItemCount(), 1) << cases[i].what;
        EXPECT_EQ(market.GetQuantity(0), cases[i].quantity) << cases[i].what;
    }
}

TEST_F(MarketTest, LinesFollowTheRecordUpToItsEndOrTheLimit)
{
    AddPrices();
    AddStock(1, {{3, 1, 1}, {9, 2, 2}, {0, 5, 5}, {11, 3, 3}});
    std::vector<Entry> full;
    for (int16_t i = 0; i < CMarket::kStockEntries; ++i)
        full.push_back({static_cast<int16_t>(i % CMarket::kItemTypes + 1), 1, 1});
    AddStock(2, full);
    Open();
    const CMarket ended(1, 1, 205, 5);
    ASSERT_EQ(ended.GetItemCount(), 2);
    EXPECT_EQ(ended.GetItemId(0), 3);
    EXPECT_EQ(ended.GetItemId(1), 9);
    EXPECT_EQ(ended.GetQuantity(1), 2);
    EXPECT_EQ(CMarket(1, 1, 1, 5).GetItemCount(), 1);
    EXPECT_EQ(CMarket(2, 1, 0, 5).GetItemCount(), 205);
    EXPECT_EQ(CMarket(2, 1, 214, 5).GetItemCount(), 205);
    EXPECT_EQ(CMarket(2, 1, 40, 5).GetItemCount(), 40);
    EXPECT_EQ(CMarket(2, 1, -1, 5).GetItemCount(), 0);
    EXPECT_EQ(CMarket(99, 1, 205, 5).GetItemCount(), 0) << "a missing stock record";
}

TEST_F(MarketTest, PricesAreTheBasePriceMarkedUpInTheColumn)
{
    AddRecord("PRC", CMarket::kPriceRecord, "0, 0, 0, 0, 250, 6, 199, 2");
    AddStock(1, {{3, 1, 1, 20}, {4, 1, 1, 0}, {2, 1, 1, 50}});
    AddStock(2, {{3, 1, 1, 20}});
    Open();
    const CMarket market(1, 1, 205, 5);
    EXPECT_DOUBLE_EQ(market.GetPrice(0), 3.0);
    EXPECT_EQ(market.GetCategory(0), 6);
    EXPECT_DOUBLE_EQ(market.GetPrice(1), 1.99);
    EXPECT_EQ(market.GetCategory(1), 2);
    EXPECT_DOUBLE_EQ(market.GetPrice(2), 0.0) << "a type the price record gives nothing";
    EXPECT_DOUBLE_EQ(market.GetStockValue(), 3.0 + 1.99 + 0.005);
    EXPECT_DOUBLE_EQ(CMarket(1, 0, 205, 5).GetPrice(0), 2.5) << "column 0 has no markup";
    EXPECT_DOUBLE_EQ(CMarket(1, 8, 205, 5).GetPrice(0), 2.5) << "no column 8";
    EXPECT_DOUBLE_EQ(CMarket(1, -1, 205, 5).GetPrice(0), 2.5) << "no column -1";
}

TEST_F(MarketTest, WithoutAPriceRecordGoodsCostNothing)
{
    AddStock(1, {{3, 1, 1, 20}});
    Open();
    const CMarket market(1, 1, 205, 5);
    ASSERT_EQ(market.GetItemCount(), 1);
    EXPECT_DOUBLE_EQ(market.GetPrice(0), 0.0);
    EXPECT_EQ(market.GetCategory(0), 0);
}

TEST_F(MarketTest, AnItemTypeOutsideTheTableIsAFatalReport)
{
    AddPrices();
    AddStock(7, {{3, 1, 1}, {214, 1, 1}});
    AddStock(8, {{-2, 1, 1}});
    Open();
    EXPECT_NE(qmtest::FatalBoxText([] {
                  CMarket(7, 1, 205, 5);
              }).find("Stock record 7, entry 1: item type 214 is not one of 1 to 213"),
              std::string::npos);
    EXPECT_NE(
        qmtest::FatalBoxText([] { CMarket(8, 1, 205, 5); }).find("Stock record 8, entry 0: item type -2"),
        std::string::npos);
    EXPECT_EQ(qmtest::FatalText([] { CMarket(7, 1, 1, 5); }), "(returned)")
        << "the bad entry lies past the limit";
}

TEST_F(MarketTest, TakingALineEmptyRemovesItAndMovesTheRestUp)
{
    AddPrices();
    AddStock(1, {{3, 5, 5}, {9, 2, 2}, {11, 3, 3}});
    Open();
    CMarket market(1, 1, 205, 5);
    EXPECT_EQ(market.TakeFromLine(0, 4), 0);
    EXPECT_EQ(market.GetQuantity(0), 1);
    EXPECT_EQ(market.TakeFromLine(0, 1), 1);
    ASSERT_EQ(market.GetItemCount(), 2);
    EXPECT_EQ(market.GetItemId(0), 9);
    EXPECT_DOUBLE_EQ(market.GetPrice(0), 9.0);
    EXPECT_EQ(market.GetCategory(0), 2);
    EXPECT_EQ(market.TakeFromLine(1, 3), 1);
    EXPECT_EQ(market.GetItemCount(), 1);
    EXPECT_EQ(market.TakeFromLine(1, 1), 0) << "no such line";
    EXPECT_EQ(market.TakeFromLine(-1, 1), 0);
    EXPECT_EQ(market.GetItemId(1), 0);
    EXPECT_EQ(market.TakeFromLine(0, 2), 1);
    EXPECT_EQ(market.GetItemCount(), 0);
    EXPECT_DOUBLE_EQ(market.GetStockValue(), 0.005);
}

// The sample trip's travellers carry the goods of their stock records.
TEST(PersonMarkets, ListedTravellersHaveMarketsUntilALoad)
{
    OpenSampleData();
    CTrip trip;
    trip.SetUpTrip();
    int filled = 0;
    for (int16_t slot = 0; slot < CTrip::kMarketCount; ++slot) {
        const CMarket* market = trip.GetMarket(slot);
        EXPECT_EQ(market != nullptr, trip.IsPersonListed(static_cast<int16_t>(slot + 1))) << slot;
        if (market) {
            ++filled;
            EXPECT_GT(market->GetItemCount(), 0) << "person " << slot + 1;
            EXPECT_EQ(market->GetItemId(0), 35) << "person " << slot + 1 << " carries money first";
            EXPECT_EQ(market->GetQuantity(0) % 5, 0) << "money per person, five people";
        }
    }
    EXPECT_EQ(filled, 8);
    EXPECT_EQ(trip.GetMarket(-1), nullptr);
    EXPECT_EQ(trip.GetMarket(20), nullptr);
    EXPECT_EQ(CTrip::MakePersonMarket(0), nullptr);
    EXPECT_EQ(CTrip::MakePersonMarket(21), nullptr);
    // Person 1's record: $6 a person, then flour at its maximum, marked up 10% in column 1.
    const auto first = CTrip::MakePersonMarket(1);
    ASSERT_EQ(first->GetItemCount(), 4);
    EXPECT_EQ(first->GetQuantity(0), 30);
    EXPECT_EQ(first->GetItemId(1), 5);
    EXPECT_EQ(first->GetQuantity(1), 3);
    EXPECT_DOUBLE_EQ(first->GetPrice(1), 4.4);

    trip.ResetTripState();
    for (int16_t slot = 0; slot < CTrip::kMarketCount; ++slot)
        EXPECT_EQ(trip.GetMarket(slot) != nullptr, trip.IsPersonListed(static_cast<int16_t>(slot + 1)));
    trip.DeleteMarkets();
    for (int16_t slot = 0; slot < CTrip::kMarketCount; ++slot)
        EXPECT_EQ(trip.GetMarket(slot), nullptr);

    // A loaded trip has none, whatever the trip it replaces held.
    const std::string bytes = SaveBytes([&](CDoc& doc) { trip.Save(doc); });
    CTrip loaded;
    loaded.SetUpTrip();
    ASSERT_EQ(LoadBytes(bytes, [&](CDoc& doc) { loaded.Load(doc); }), CDoc::kOk);
    for (int16_t slot = 0; slot < CTrip::kMarketCount; ++slot)
        EXPECT_EQ(loaded.GetMarket(slot), nullptr);
}

} // namespace
} // namespace traveltest
