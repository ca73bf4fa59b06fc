#include <gtest/gtest.h>

#include <cstring>

#include "engine/framework/Doc.h"
#include "engine/framework/Str.h"
#include "engine/resources/LibMgr.h"
#include "game/travel/SupplyList.h"
#include "tests/game/travel/TravelFixture.h"
#include "tests/game/travel/TravelRecords.h"

namespace traveltest {
namespace {

class SuppliesTest : public TravelTest {
protected:
    void SetUp() override
    {
        TravelTest::SetUp();
        AddItemType(5, 4, 64, 333, -1, {2, 13});           // divided into 4 units, keeps
        AddItemType(19, 10, 160, 500, 30, {2, 14, 27}, 3); // perishable
        AddItemType(82, 0, 80, 200, -1, {48}, 6);          // not divided into units
        AddItemType(116, 10, 160, 0, 10, {2, 14});
        AddItemType(167, 10, 160, 0, 60, {2, 14, 28});
        AddItemType(69, 10, 160, 0, 5, {2, 14});
        AddItemType(166, 10, 160, 0, 60, {2, 14, 28});
        AddItemType(164, 1, 16, 200, -1, {48}, 4); // salt: one unit a package
    }
};

TEST_F(SuppliesTest, ConsumingUnitsOpensPackagesAsItGoes)
{
    Open();
    struct Case {
        int16_t type, packages, before, need;
        int16_t taken, packagesAfter, partialAfter;
    };
    const Case cases[] = {
        {5, 2, 0, 5, 5, 0, 3},  // opens both packages
        {5, 1, 0, 10, 4, 0, 0}, // takes what there is
        {5, 3, 1, 2, 2, 2, 1},  // from the opened package (3 left of it); nothing more opened
        {5, 3, 3, 2, 2, 1, 3},  // the opened package's last unit, then the next package
        {5, 2, 4, 4, 4, 0, 0},  // exactly the opened package's units
        {5, 0, 0, 3, 0, 0, 0},  // nothing held
        {5, 2, 0, 0, 0, 2, 0},  // no need opens nothing
        {5, 2, 0, -3, 0, 2, 0}, // nor does a negative one add units
        {82, 2, 0, 7, 7, 2, 0}, // not divided: the whole need, nothing changes
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.type << " " << c.packages << " " << c.before << " " << c.need);
        CItem item(c.type, c.packages, 0.0);
        item.Consume(c.before);
        EXPECT_EQ(item.Consume(c.need), c.taken);
        EXPECT_EQ(item.GetCount(true), c.packagesAfter);
        EXPECT_EQ(item.GetPartial(), c.partialAfter);
    }
}

TEST_F(SuppliesTest, CountsWeightsAndValues)
{
    Open();
    CItem item(5, 4, 1.5);
    item.Consume(3); // 3 packages and 1 unit of 4
    EXPECT_EQ(item.GetCount(false), 4);
    EXPECT_EQ(item.GetCount(true), 3);
    EXPECT_EQ(item.GetTotalUnits(), 13);
    EXPECT_EQ(item.GetPackagePrice(), 499);             // 333 × 1.5 = 499.5
    EXPECT_EQ(item.GetValue(), 1621);                   // 499 × 3 + 0.25 × 499 = 1621.75
    EXPECT_EQ(item.GetTotalWeight(), 208);              // 64 × 3 + 0.25 × 64
    EXPECT_EQ(CItem(5, 2, 0.0).GetPackagePrice(), 333); // factor 0 counts as 1
    EXPECT_EQ(CItem(82, 3, 0.0).GetValue(), 600);       // without units the partial share is 0
    CItem missing(93, 3, 0.0);                          // no record: zeros, but the type stays
    EXPECT_EQ(missing.GetType(), 93);
    EXPECT_EQ(missing.GetTotalWeight(), 0);
    EXPECT_TRUE(missing.IsPerishable()); // shelf life 0 from the missing record

    int16_t removed = -1;
    EXPECT_TRUE(item.RemovePackages(-2, &removed)); // takes nothing, adds nothing
    EXPECT_EQ(removed, 0);
    EXPECT_EQ(item.GetCount(false), 4);
    EXPECT_FALSE(item.RemovePackages(5, &removed)); // more than held: all of it, the opened one too
    EXPECT_EQ(removed, 4);
    EXPECT_EQ(item.GetCount(false), 0);

    CItem many(82, 32000, 0.0);
    many.AddPackages(2000);
    EXPECT_EQ(many.GetCount(false), 32767);
    many.AddPackages(-40000);
    EXPECT_EQ(many.GetCount(false), 0);
}

TEST_F(SuppliesTest, GoodsThatKeepMergeWhilePerishablesFormBatches)
{
    Open();
    CSupplyList list;
    list.AddItem(5, 2);
    list.AddItem(5, 3);
    list.AddItem(19, 1);
    list.AddItem(19, 2);
    EXPECT_EQ(list.GetCount(), 3);
    EXPECT_EQ(list.CountOf(5), 5);
    EXPECT_EQ(list.CountOf(19), 1);
    EXPECT_EQ(list.GetTotal(19), 3);
    EXPECT_EQ(list.GetTotal(82), 0);

    list.SetItemCount(19, 7); // the first batch only
    EXPECT_EQ(list.CountOf(19), 7);
    EXPECT_EQ(list.GetTotal(19), 9);
    list.SetItemCount(82, 0);
    EXPECT_EQ(list.FindItem(82), nullptr);
    list.SetItemCount(82, 4);
    EXPECT_EQ(list.CountOf(82), 4);

    for (int i = 0; i < 3; ++i)
        list.AddItem(19, 20000);
    EXPECT_EQ(list.GetTotal(19), 32767);

    list.FindItem(5)->Consume(2); // 4 packages and 2 units left
    list.SetItemCount(5, 1);      // the opened package goes too
    EXPECT_EQ(list.FindItem(5)->GetPartial(), 0);
    EXPECT_EQ(list.CountOf(5), 1);
}

TEST_F(SuppliesTest, CollectionsAndRemovingEmptyItems)
{
    Open();
    CSupplyList list;
    list.AddItem(5, 1);   // keeps: shelf -1
    list.AddItem(19, 1);  // 30 days
    list.AddItem(116, 1); // 10 days
    list.AddItem(82, 0);
    auto types = [](const std::vector<CItem*>& items) {
        std::vector<int16_t> t;
        for (CItem* i : items)
            t.push_back(i->GetType());
        return t;
    };
    EXPECT_EQ(types(list.CollectByTag(2)), (std::vector<int16_t>{5, 19, 116}));
    EXPECT_EQ(types(list.CollectByTag(2, 15)), (std::vector<int16_t>{5, 116}));
    EXPECT_EQ(types(list.CollectByTag(14)), (std::vector<int16_t>{19, 116}));
    EXPECT_EQ(types(list.CollectByCategory(6)), (std::vector<int16_t>{82}));
    EXPECT_TRUE(list.HasTag(48));
    EXPECT_FALSE(list.HasTag(13 + 100));
    EXPECT_EQ(list.GetTotalWeight(), 64 + 160 + 160);
    EXPECT_EQ(list.GetTotalValue(), 333 + 500);
    list.RemoveEmpty();
    EXPECT_EQ(types(list.CollectByCategory(6)), (std::vector<int16_t>{}));
    EXPECT_EQ(list.GetCount(), 3);
}

TEST_F(SuppliesTest, MeatAndCatchAreSaltedWhileTheSaltLasts)
{
    Open();
    struct Case {
        bool catchOfFish;
        int16_t salt; // units (packages of one unit); -1 none held
        int32_t amount;
        int16_t preserved, plain, saltLeft;
    };
    const Case cases[] = {
        {false, -1, 20, 0, 20, -1}, {false, 1, 20, 8, 12, 0}, {false, 5, 20, 20, 0, 2},
        {false, 3, 24, 24, 0, 0},   {false, 0, 5, 0, 5, 0},   {true, 1, 20, 8, 12, 0},
        {true, -1, 9, 0, 9, -1},    {false, 5, 0, 0, 0, 5},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.catchOfFish << " " << c.salt << " " << c.amount);
        CSupplyList list;
        if (c.salt >= 0)
            list.AddItem(CSupplyList::kSalt, c.salt);
        c.catchOfFish ? list.AddCatch(c.amount) : list.AddMeat(c.amount);
        EXPECT_EQ(list.GetTotal(c.catchOfFish ? CSupplyList::kSaltedCatch : CSupplyList::kSaltedMeat),
                  c.preserved);
        EXPECT_EQ(list.GetTotal(c.catchOfFish ? CSupplyList::kCatch : CSupplyList::kMeat), c.plain);
        if (c.salt >= 0) {
            EXPECT_EQ(list.FindItem(CSupplyList::kSalt)->GetTotalUnits(), c.saltLeft);
        }
        // Nothing of a zero amount is added.
        EXPECT_EQ(list.GetCount(), (c.salt >= 0 ? 1 : 0) + (c.preserved > 0 ? 1 : 0) + (c.plain > 0 ? 1 : 0));
    }
}

TEST_F(SuppliesTest, AFindDrawsAnEntryAndACountPerRound)
{
    AddRecord("FVT", 1, "3, 5, 2, 82, 0, 0");
    Open();
    {
        ScriptedDraws draws;
        draws.Draw(0, 1, 1).Draw(0, 2, 2).Draw(0, 1, 0).Draw(0, 3, 3).Draw(0, 1, 1).Draw(0, 2, 1);
        const auto find = CSupplyList::MakeFind(99); // 3 rounds
        EXPECT_EQ(find->GetTotal(82), 3);
        EXPECT_EQ(find->GetTotal(5), 3);
    }
    {
        ScriptedDraws none;
        EXPECT_EQ(CSupplyList::MakeFind(24)->GetCount(), 0);
    }
}

TEST_F(SuppliesTest, AnEmptyOrMissingFindTableFindsNothing)
{
    AddRecord("FVT", 1, "0, 0");
    Open();
    ScriptedDraws none; // not even the terminator is drawn
    EXPECT_EQ(CSupplyList::MakeFind(100)->GetCount(), 0);
    GetLibMgr()->RemoveLibraryByIndex(0);
    EXPECT_EQ(CSupplyList::MakeFind(100)->GetCount(), 0);
}

TEST_F(SuppliesTest, LossesDrawPerPackageAndListAtMostSixNames)
{
    std::vector<std::string> names(213, "");
    const int16_t types[] = {5, 19, 82, 116, 164, 167, 69};
    for (int16_t t : types)
        names[static_cast<size_t>(t - 1)] = std::string("N").append(std::to_string(t));
    AddStrings(CSupplyList::kItemNameList, names);
    AddStrings(CSupplyList::kLossTitleList, {"Lost in the river:", "Stolen:"});
    AddItemType(5, 4, 64, 333, -1, {2, 13, 48});
    Open();
    std::vector<std::string> shown;
    SetLossReporter([&](const CStr& text) { shown.push_back(text.GetText()); });

    CSupplyList list;
    list.AddItem(5, 2);  // tag 48: the full percent with the flag
    list.AddItem(82, 3); // tag 48 too
    list.AddItem(116, 2);
    {
        ScriptedDraws draws;
        // Item 5: 40 % each; item 82: 40 %; item 116: 20 % (half).
        draws.Draw(1, 100, 40).Draw(1, 100, 41);
        draws.Draw(1, 100, 90).Draw(1, 100, 1).Draw(1, 100, 40);
        draws.Draw(1, 100, 21).Draw(1, 100, 80);
        list.LoseItems(40, 1, true);
    }
    EXPECT_EQ(list.GetTotal(5), 1);
    EXPECT_EQ(list.GetTotal(82), 1);
    EXPECT_EQ(list.GetTotal(116), 2);
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0], "Stolen:\nN5, N82, ");

    // Without the flag every item loses at half the percent; at 100 or more all goes, undrawn.
    {
        ScriptedDraws none;
        list.LoseItems(200, 0, false);
    }
    EXPECT_EQ(list.GetCount(), 0);
    EXPECT_EQ(shown[1], "Lost in the river:\nN5, N82, N116, ");

    // Nothing lost: nothing shown.
    list.AddItem(5, 1);
    {
        ScriptedDraws draws;
        draws.Draw(1, 100, 50);
        list.LoseItems(20, 0, false);
    }
    EXPECT_EQ(shown.size(), 2u);

    CSupplyList six, seven;
    for (int16_t t : types) {
        seven.AddItem(t, 1);
        if (t != 69)
            six.AddItem(t, 1);
    }
    EXPECT_STREQ(CSupplyList::MakeLossText(0, six)->GetText(),
                 "Lost in the river:\nN5, N19, N82, N116, N164, N167, etc.");
    EXPECT_STREQ(CSupplyList::MakeLossText(0, seven)->GetText(),
                 "Lost in the river:\nN5, N19, N69, N82, N116, N164, etc.");
}

TEST_F(SuppliesTest, TheRecordRoundTripsByteForByte)
{
    Open();
    CSupplyList list;
    list.AddItem(5, 3, 1.25);
    list.FindItem(5)->Consume(1);
    list.AddItem(19, 2);
    list.FindItem(19)->AgeOneDay();
    list.AddItem(82, 0);
    const std::string bytes = SaveBytes([&](CDoc& doc) { list.Save(doc); });
    ASSERT_EQ(bytes.size(), 2u + 3 * 16);
    EXPECT_EQ(bytes.substr(0, 10), std::string("\0\3\0\5\0\2\0\3\xFF\xFF", 10));
    CSupplyList loaded;
    loaded.AddItem(116, 1); // loading appends
    EXPECT_EQ(LoadBytes(bytes, [&](CDoc& doc) { loaded.Load(doc); }), CDoc::kOk);
    ASSERT_EQ(loaded.GetCount(), 4);
    std::unique_ptr<CItem> first(loaded.FindItem(116));
    loaded.RemoveItem(first.get());
    EXPECT_EQ(SaveBytes([&](CDoc& doc) { loaded.Save(doc); }), std::string("\0\3", 2) + bytes.substr(2));
    EXPECT_EQ(loaded.FindItem(19)->GetShelfLife(), 29);
    EXPECT_EQ(loaded.FindItem(5)->GetUnitsPerPackage(), 4); // the record is read again
}

TEST_F(SuppliesTest, DamagedRecordsAreRefused)
{
    Open();
    struct Case {
        const char* what;
        std::string bytes;
    };
    const std::string item = std::string("\0\5\0\1\0\0\xFF\xFF", 8) + std::string(8, '\0');
    const Case cases[] = {
        {"negative count", std::string("\xFF\xFF", 2)},
        {"more items than bytes", std::string("\0\2", 2) + item},
        {"negative packages", std::string("\0\1\0\5\xFF\xFF\0\0\xFF\xFF", 10) + std::string(8, '\0')},
        {"negative units", std::string("\0\1\0\5\0\1\x80\0\xFF\xFF", 10) + std::string(8, '\0')},
        {"cut short", std::string("\0\1", 2) + item.substr(0, 12)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        CSupplyList list;
        EXPECT_EQ(LoadBytes(c.bytes, [&](CDoc& doc) { list.Load(doc); }), CDoc::kStreamFailure);
        EXPECT_EQ(list.GetCount(), 0);
    }
}

} // namespace
} // namespace traveltest
