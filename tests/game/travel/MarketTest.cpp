#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "engine/framework/Doc.h"
#include "engine/framework/Util.h"
#include "game/travel/Market.h"
#include "game/travel/Party.h"
#include "game/travel/Trip.h"
#include "tests/game/travel/SampleData.h"
#include "tests/game/travel/TravelFixture.h"
#include "tests/game/travel/TravelRecords.h"

namespace traveltest {
namespace {

struct Entry {
    int16_t type, minimum, maximum;
    int16_t markup1 = 0;
    int16_t chance = 100;
    int16_t markup7 = 0;
};

class MarketTest : public TravelTest {
protected:
    // Draws the tests do not script come from a fixed seed.
    void SetUp() override
    {
        TravelTest::SetUp();
        CUtil::SetRandomSeed(1);
    }
    // Stock record `id` from its entries (markup columns 1 and 7 as given, the others 0).
    void AddStock(int32_t id, const std::vector<Entry>& entries)
    {
        std::ostringstream text;
        for (const Entry& e : entries)
            text << e.type << ", " << e.minimum << ", " << e.maximum << ", " << e.chance << ", 0, "
                 << e.markup1 << ", 0, 0, 0, 0, 0, " << e.markup7 << ",\n";
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

// A scripted draw: its range and the answer.
struct Draw {
    int32_t lo, hi, value;
};

TEST_F(MarketTest, EachEntryDrawsItsChanceThenItsQuantity)
{
    struct Case {
        const char* what;
        Entry entry;
        int16_t people;
        std::vector<Draw> draws;
        int16_t lines;
        int16_t quantity;
    } cases[] = {
        {"k per person: no quantity draw", {4, -3, 0}, 5, {{0, 99, 99}}, 1, 15},
        {"k per person, four people", {4, -3, 50}, 4, {{0, 99, 0}}, 1, 12},
        {"between minimum and maximum", {4, 2, 7}, 5, {{0, 99, 0}, {2, 7, 6}}, 1, 6},
        {"both capped", {4, 1000, 2000}, 5, {{0, 99, 0}, {800, 900, 850}}, 1, 850},
        {"maximum below the minimum: no draw", {4, 5, 2}, 5, {{0, 99, 0}}, 1, 5},
        {"capped minimum above the maximum", {4, 1200, 3}, 5, {{0, 99, 0}}, 1, 800},
        {"a negative maximum", {4, 0, -4}, 5, {{0, 99, 0}}, 1, 0},
        {"many per person", {4, -300, 0}, 5, {{0, 99, 0}}, 1, 1500},
        {"per person held within 16 bits", {4, -20000, 0}, 5, {{0, 99, 0}}, 1, 32767},
        {"a draw below the chance", {4, 2, 7, 0, 50}, 5, {{0, 99, 49}, {2, 7, 3}}, 1, 3},
        {"a draw at the chance skips the entry", {4, 2, 7, 0, 50}, 5, {{0, 99, 50}}, 0, 0},
        {"chance 0 is never stocked", {4, 2, 7, 0, 0}, 5, {{0, 99, 0}}, 0, 0},
        {"nor a negative chance", {4, -3, 0, 0, -5}, 5, {{0, 99, 0}}, 0, 0},
    };
    AddPrices();
    for (int32_t i = 0; i < static_cast<int32_t>(std::size(cases)); ++i)
        AddStock(100 + i, {cases[i].entry});
    Open();
    for (int32_t i = 0; i < static_cast<int32_t>(std::size(cases)); ++i) {
        SCOPED_TRACE(cases[i].what);
        ScriptedDraws draws;
        for (const Draw& d : cases[i].draws)
            draws.Draw(d.lo, d.hi, d.value);
        const CMarket market(static_cast<int16_t>(100 + i), 1, 205, cases[i].people);
        ASSERT_EQ(market.GetItemCount(), cases[i].lines);
        EXPECT_EQ(market.GetQuantity(0), cases[i].quantity);
    }
}

TEST_F(MarketTest, AFailedChanceSkipsOnlyItsEntry)
{
    AddPrices();
    AddStock(
        1, {{3, 1, 2, 0, 100}, {9, 1, 2, 0, 60}, {11, 4, 4, 0, 100}, {12, -1, 0, 0, 30}, {13, 1, 2, 0, 90}});
    Open();
    ScriptedDraws draws;
    draws.Draw(0, 99, 20).Draw(1, 2, 2); // 3 stocked
    draws.Draw(0, 99, 60);               // 9 skipped
    draws.Draw(0, 99, 59).Draw(4, 4, 4); // 11 stocked
    draws.Draw(0, 99, 29);               // 12 stocked, 5 per person
    draws.Draw(0, 99, 95);               // 13 skipped
    const CMarket market(1, 1, 205, 5);
    ASSERT_EQ(market.GetItemCount(), 3);
    EXPECT_EQ(market.GetItemId(0), 3);
    EXPECT_EQ(market.GetQuantity(0), 2);
    EXPECT_EQ(market.GetItemId(1), 11);
    EXPECT_DOUBLE_EQ(market.GetPrice(1), 11.0);
    EXPECT_EQ(market.GetCategory(1), 4);
    EXPECT_EQ(market.GetItemId(2), 12);
    EXPECT_EQ(market.GetQuantity(2), 5);
    EXPECT_EQ(market.GetItemId(3), 0) << "nothing past the stocked lines";
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
    EXPECT_DOUBLE_EQ(CMarket(1, 8, 205, 5).GetPrice(0), 2.5) << "column 8 is taken as 7, no markup";
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

TEST_F(MarketTest, HostileRecordsStockWhatTheyCan)
{
    AddPrices();
    AddStock(7, {{3, 1, 1}, {214, 1, 1}, {-2, 1, 1}, {9, 2, 2}});
    AddStock(8, {{3, 1, 1, 20, 100, 40}});
    // The record ends inside its second entry: the words it lacks read 0, a chance of 0.
    AddRecord("STO", 9, "3, 1, 1, 100, 0, 20, 0, 0, 0, 0, 0, 0,\n9, 2");
    Open();
    const CMarket skipped(7, 1, 205, 5);
    ASSERT_EQ(skipped.GetItemCount(), 2) << "item types 214 and -2 are skipped";
    EXPECT_EQ(skipped.GetItemId(0), 3);
    EXPECT_EQ(skipped.GetItemId(1), 9);
    EXPECT_EQ(skipped.GetQuantity(1), 2);
    EXPECT_EQ(CMarket(7, 1, 2, 5).GetItemCount(), 1) << "skipped entries count toward the limit";
    EXPECT_DOUBLE_EQ(CMarket(8, 9, 205, 5).GetPrice(0), 4.2) << "column 9 is taken as 7";
    EXPECT_DOUBLE_EQ(CMarket(8, -1, 205, 5).GetPrice(0), 3.0) << "column -1 is taken as 0";
    const CMarket shortRecord(9, 1, 205, 5);
    ASSERT_EQ(shortRecord.GetItemCount(), 1);
    EXPECT_DOUBLE_EQ(shortRecord.GetPrice(0), 3.6);
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
    // Person 1's record: $6 a person, flour marked up 10% in column 1, coffee (chance 90) and
    // a blanket (chance 80).
    std::unique_ptr<CMarket> first;
    {
        ScriptedDraws draws;
        draws.Draw(0, 99, 99);               // dollars
        draws.Draw(0, 99, 99).Draw(2, 3, 3); // flour
        draws.Draw(0, 99, 90);               // no coffee
        draws.Draw(0, 99, 79).Draw(1, 1, 1); // a blanket
        first = CTrip::MakePersonMarket(1);
    }
    ASSERT_EQ(first->GetItemCount(), 3);
    EXPECT_EQ(first->GetQuantity(0), 30);
    EXPECT_EQ(first->GetItemId(1), 5);
    EXPECT_EQ(first->GetQuantity(1), 3);
    EXPECT_DOUBLE_EQ(first->GetPrice(1), 4.4);
    EXPECT_EQ(first->GetItemId(2), 115);

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
