#include <gtest/gtest.h>

#include "engine/framework/Doc.h"
#include "game/base/save/Diary.h"
#include "game/travel/HealthCond.h"
#include "game/travel/Party.h"
#include "tests/game/travel/TravelFixture.h"
#include "tests/game/travel/TravelRecords.h"

namespace traveltest {
namespace {

class PartyTest : public TravelTest {
protected:
    void SetUp() override
    {
        TravelTest::SetUp();
        AddRecord("OCP", 4, "93504, 1, 2, 3, 4, 0");
        AddRecord("PPL", 7, "30, 4, 5, 6, 7, 8, 0, 93507, 93508");
        AddRecord("PPL", 8, "45, 4, 13, 9, 1, 1, 0, 0, 0");
        AddItemType(132, 0, 0, 2500, -1, {30});
        AddItemType(182, 0, 0, 2500, -1, {30});
        AddItemType(143, 0, 0, 800, -1, {30});
        AddItemType(35, 0, 0, 100, -1, {1});
        AddItemType(82, 0, 16, 200, -1, {48});
        AddItemType(116, 10, 160, 0, 10, {2, 14, 27});
        AddItemType(167, 10, 160, 0, 60, {2, 14, 28});
    }
};

TEST_F(PartyTest, ANewPartyHasItsLeaderAndNothingElse)
{
    Open();
    auto party = NewParty();
    EXPECT_EQ(party->CountMembers(false), 1);
    EXPECT_EQ(party->CountMembers(true), 1);
    EXPECT_EQ(party->GetMorale(), 90);
    EXPECT_EQ(party->GetRation(), 2);
    EXPECT_EQ(party->GetMoney(), 0.0);
    EXPECT_EQ(party->GetSupplies()->GetCount(), 0);
    const CPartyMember* leader = party->GetMember(0);
    ASSERT_NE(leader, nullptr);
    EXPECT_STREQ(leader->GetName().GetText(), "Bo");
    EXPECT_EQ(leader->GetAge(), 17);
    EXPECT_EQ(leader->GetOccupation(), 4);
    EXPECT_EQ(leader->GetSkill(3), 4);
    EXPECT_EQ(leader->GetHealth(), 900);
    EXPECT_EQ(leader->GetLevel(), 4) << "full health from the start";
    EXPECT_EQ(leader->GetId(), 0);
    EXPECT_EQ(party->GetMember(1), nullptr);
    EXPECT_EQ(party->GetMember(-1), nullptr);
    EXPECT_TRUE(party->IsMember(leader));
    EXPECT_FALSE(party->IsMember(nullptr));
}

TEST_F(PartyTest, MoraleAndMoneyStayInTheirRanges)
{
    Open();
    auto party = NewParty();
    const struct {
        int16_t delta;
        int16_t morale;
    } cases[] = {{200, 100}, {-500, -50}, {30, -20}, {-30, -50}, {150, 100}, {-1, 99}};
    for (const auto& c : cases) {
        party->AddMorale(c.delta);
        EXPECT_EQ(party->GetMorale(), c.morale) << c.delta;
    }
    party->AddMoney(12.5);
    party->AddMoney(-20);
    EXPECT_EQ(party->GetMoney(), 0.0);
    party->AddMoney(3.25);
    EXPECT_EQ(party->GetMoney(), 3.25);
}

TEST_F(PartyTest, TheTravelRateFallsWithTheLoadButNeverStopsWithAnimals)
{
    AddItemType(189, 0, 16, 0, -1, {48}); // load = 16-weight units / 16
    AddItemType(190, 0, 2000000000, 0, -1, {48});
    AddItemType(191, 0, 2000000000, 0, -1, {48});
    Open();
    auto party = NewParty();
    CSupplyList& s = *party->GetSupplies();
    struct Case {
        int16_t animals;
        int16_t goods; // weight 16 each: one load unit
        int32_t rate;
        int32_t state;
    };
    const Case cases[] = {
        {0, 0, 0, CParty::kNoAnimals},      {1, 599, 25, CParty::kLoadWithinLimit},
        {1, 600, 25, CParty::kOverloaded},  {1, 647, 24, CParty::kOverloaded},
        {1, 1199, 13, CParty::kOverloaded}, {1, 1799, 1, CParty::kOverloaded},
        {1, 9000, 1, CParty::kOverloaded},  {9, 4799, 25, CParty::kLoadWithinLimit},
        {9, 9599, 13, CParty::kOverloaded},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.animals << " " << c.goods);
        s.Clear();
        s.AddItem(132, c.animals);
        s.AddItem(189, c.goods);
        EXPECT_EQ(party->GetLoad(), c.goods + 1);
        EXPECT_EQ(party->GetTravelRate(), c.rate);
        EXPECT_EQ(party->GetLoadState(), c.state);
        EXPECT_EQ(party->CanTravel(), c.rate > 0);
    }
    s.Clear();
    for (int i = 0; i < 3; ++i)
        s.AddItem(189, 20000);
    EXPECT_EQ(party->GetLoad(), 32767);
    // Weights past 32 bits stop at the largest rather than wrapping below 0.
    s.Clear();
    s.AddItem(190, 2);
    s.AddItem(191, 2);
    EXPECT_EQ(s.GetTotalWeight(), 2147483647);
    EXPECT_EQ(party->GetLoad(), 32767);
}

TEST_F(PartyTest, DraughtAnimalsSwitchStatesOneAtATime)
{
    Open();
    auto party = NewParty();
    CSupplyList& s = *party->GetSupplies();
    EXPECT_FALSE(party->Switch132To182());
    s.AddItem(132, 3);
    EXPECT_TRUE(party->Switch132To182());
    EXPECT_EQ(party->GetItem132Total(), 2);
    EXPECT_EQ(party->GetItem182Total(), 1);
    EXPECT_TRUE(party->Switch182To132());
    EXPECT_FALSE(party->Switch182To132());
    party->TakeItems132(2);
    EXPECT_EQ(party->GetItem132Total(), 1);
    party->TakeItems182(1); // none held: nothing
    EXPECT_EQ(party->GetItem182Total(), 0);
    party->TakeItems132(-3); // a negative number takes nothing and adds nothing
    EXPECT_EQ(party->GetItem132Total(), 1);

    // An emptied batch before a held one: the animal switched is one that is there.
    s.Clear();
    s.AppendItem(std::make_unique<CItem>(132, 0, 0.0));
    s.AppendItem(std::make_unique<CItem>(132, 2, 0.0));
    EXPECT_TRUE(party->Switch132To182());
    EXPECT_EQ(party->GetItem132Total(), 1);
    EXPECT_EQ(party->GetItem182Total(), 1);
    party->TakeItems182(1);

    CSupplyList found;
    found.AddItem(35, 12);
    found.AddItem(82, 2);
    party->TakeItems(found);
    EXPECT_EQ(found.GetCount(), 0);
    EXPECT_EQ(party->GetMoney(), 12.0);
    EXPECT_EQ(s.GetTotal(82), 2);
}

TEST_F(PartyTest, OnlyTravellingMembersLendTheirSkills)
{
    Open();
    auto party = NewParty();
    Join(*party, 1, 7); // skills 5, 6, 7, 8; occupation 4
    Join(*party, 2, 8); // skill 13
    EXPECT_TRUE(party->HasSkill(13));
    EXPECT_TRUE(party->HasOccupation(4));
    party->GetMember(2)->SetStatus(0); // dead or gone
    EXPECT_FALSE(party->HasSkill(13));
    EXPECT_EQ(party->CountMembers(true), 2);
    // Slot 1 empty: slot 2's skills still count while it travels.
    party->GetMember(2)->SetStatus(CPartyMember::kStatusTravelling);
    party->DeleteMember(1);
    EXPECT_TRUE(party->HasSkill(13));
    EXPECT_FALSE(party->HasSkill(5));
    EXPECT_EQ(party->CountMembers(true), 2);
    EXPECT_EQ(party->CountMembers(false), 3);
}

// Food items of every eating tag, each with units enough for a day.
class EatingTest : public PartyTest {
protected:
    void SetUp() override
    {
        PartyTest::SetUp();
        AddItemType(203, 0, 16, 0, -1, {34}); // cooking gear
        AddItemType(25, 100, 16, 0, -1, {2, 3});
        AddItemType(33, 100, 16, 0, -1, {2, 16});
        AddItemType(16, 100, 16, 0, -1, {2, 15});
        AddItemType(19, 100, 16, 0, -1, {2, 14});
        AddItemType(5, 100, 16, 0, -1, {2, 13});
        AddItemType(64, 100, 16, 0, -1, {40});
        AddItemType(159, 10, 16, 0, 20, {2, 13, 27}); // spoils
    }

    int16_t Units(CParty& party, int16_t type)
    {
        return party.GetSupplies()->FindItem(type)->GetTotalUnits();
    }
};

TEST_F(EatingTest, AMissingGroupRaisesTheNeedOfTheNext)
{
    Open();
    auto party = NewParty();
    Join(*party, 1, 7);
    CSupplyList& s = *party->GetSupplies();
    s.AddItem(203, 1);
    s.AddItem(5, 1); // only tag 13: 6 → 8 → 11 → 17 → 34
    {
        ScriptedDraws draws;
        draws.Draw(0, 0, 0); // the one tag-13 item
        EXPECT_TRUE(party->EatDay());
    }
    EXPECT_EQ(Units(*party, 5), 100 - 34);

    // Every group there: each is asked for the same 6 units.
    for (int16_t t : {25, 33, 16, 19})
        s.AddItem(t, 1);
    {
        ScriptedDraws draws;
        for (int i = 0; i < 5; ++i)
            draws.Draw(0, 0, 0);
        EXPECT_TRUE(party->EatDay());
    }
    for (int16_t t : {25, 33, 16, 19})
        EXPECT_EQ(Units(*party, t), 94) << t;
    EXPECT_EQ(Units(*party, 5), 60);
}

TEST_F(EatingTest, TheRationCookingGearAndSkill9SetTheNeed)
{
    Open();
    auto party = NewParty();
    Join(*party, 1, 7);
    Join(*party, 2, 8); // skill 9
    CSupplyList& s = *party->GetSupplies();
    for (int16_t t : {25, 33, 16, 19, 5})
        s.AddItem(t, 1);
    struct Case {
        int32_t ration;
        bool gear;
        bool skill9;
        int16_t eaten;
    };
    const Case cases[] = {
        {2, true, false, 6}, {1, true, false, 4}, {0, true, false, 2}, {2, false, false, 7},
        {2, true, true, 7},  {2, false, true, 8}, {0, false, true, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.ration << " " << c.gear << " " << c.skill9);
        party->SetRation(c.ration);
        s.SetItemCount(203, c.gear ? 1 : 0);
        s.RemoveEmpty();
        party->GetMember(2)->SetStatus(c.skill9 ? CPartyMember::kStatusTravelling : 0);
        const int16_t before = Units(*party, 5);
        ScriptedDraws draws;
        for (int i = 0; i < 5; ++i)
            draws.Draw(0, 0, 0);
        EXPECT_TRUE(party->EatDay());
        EXPECT_EQ(before - Units(*party, 5), c.eaten);
    }
}

TEST_F(EatingTest, TheDaysStrainComesFromTheTripAndTheFood)
{
    AddItemType(209, 10, 16, 0, -1, {5}); // comforts
    Open();
    auto party = NewParty();
    struct Case {
        int32_t mode, pace, ration;
        int16_t low, high, precip;
        bool comforts;
        int32_t strain;
    };
    const Case cases[] = {
        {0, 0, 2, 50, 70, 0, true, 0},   {0, 0, 2, 50, 70, 0, false, 30}, {0, 0, 1, 50, 70, 0, true, 45},
        {0, 0, 0, 50, 70, 0, true, 60},  {0, 0, 2, 9, 70, 0, true, 25},   {0, 1, 2, 50, 70, 0, true, 45},
        {0, 2, 2, 50, 70, 0, true, 60},  {0, 0, 2, 50, 70, 3, true, 20},  {0, 0, 2, 50, 96, 0, true, 25},
        {0, 2, 0, 5, 96, 1, false, 220}, {1, 2, 2, 50, 96, 1, true, -50}, {2, 1, 2, 50, 70, 0, true, 45},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.mode << " " << c.pace << " " << c.ration << " " << c.low << " "
                                        << c.high << " " << c.precip << " " << c.comforts);
        trip_.mode = c.mode;
        trip_.pace = c.pace;
        trip_.low = c.low;
        trip_.high = c.high;
        trip_.precip = c.precip;
        party->SetRation(c.ration);
        party->GetSupplies()->SetItemCount(209, c.comforts ? 1 : 0);
        party->GetSupplies()->SetItemCount(5, 1); // something to eat, so no day is hungry
        party->GetSupplies()->RemoveEmpty();
        ScriptedDraws draws;
        draws.Draw(c.strain - 15, c.strain + 15, c.strain, 2);
        draws.Draw(0, 0, 0);
        party->DailyUpdate(8);
        EXPECT_EQ(party->GetHungryDays(), 0);
    }
}

TEST_F(EatingTest, ADayOnSideDishesAloneIsAHungryDay)
{
    Open();
    auto party = NewParty();
    CPartyMember& leader = *party->GetMember(0);
    leader.Damage(300);
    CSupplyList& s = *party->GetSupplies();
    s.AddItem(25, 1);
    s.AddItem(33, 1);
    for (int day = 1; day <= 2; ++day) {
        const int32_t strain = 30 + (day == 1 ? 0 : 80);
        ScriptedDraws draws;
        draws.Draw(strain - 15, strain + 15, strain, 2);
        draws.Draw(0, 0, 0).Draw(0, 0, 0); // tags 3 and 16
        party->DailyUpdate(12);
        EXPECT_EQ(party->GetHungryDays(), day);
    }
    // The second call completed the leader's day (24 hours), worn by hunger:
    // wear = 110 + (1 mod 10) × 10 + 600 / 10 − 110 = 70, so health 600 + 100 − 70.
    EXPECT_EQ(leader.GetHourCount(), 0);
    EXPECT_EQ(leader.GetHealth(), 630);
}

TEST_F(EatingTest, FoodSpoilsFasterInTheHeat)
{
    AddItemType(75, 10, 16, 0, 2, {2, 15});
    Open();
    auto party = NewParty();
    party->GetMember(0)->SetStatus(0); // nobody travels: no strain to draw
    CSupplyList& s = *party->GetSupplies();
    struct Case {
        int16_t high;
        int lasts; // days the item is still there after
    };
    for (const Case& c : {Case{81, 0}, Case{50, 1}, Case{45, 3}}) {
        SCOPED_TRACE(c.high);
        trip_.high = c.high;
        s.Clear();
        s.AddItem(75, 5);
        for (int day = 1; day <= 3; ++day) {
            ScriptedDraws draws;
            if (day <= c.lasts)
                draws.Draw(0, 0, 0); // eaten from
            party->DailyUpdate(8);
            EXPECT_EQ(s.FindItem(75) != nullptr, day <= c.lasts) << day;
            EXPECT_EQ(party->IsSpoiledToday(), day == c.lasts + 1) << day;
        }
    }
}

TEST_F(EatingTest, AnimalsEatFeedWhereThereIsNoGrass)
{
    AddItemType(181, 4, 16, 0, -1, {40});
    Open();
    auto party = NewParty();
    CSupplyList& s = *party->GetSupplies();
    s.AddItem(132, 3);
    s.AddItem(181, 1); // 4 units
    s.AddItem(64, 1);  // 100 units
    s.AddItem(5, 1);
    {
        ScriptedDraws draws;
        draws.Draw(15, 45, 30, 2).Draw(0, 0, 0);
        party->DailyUpdate(8); // grass: nothing eaten
    }
    EXPECT_EQ(s.GetTotal(181), 1);
    trip_.possible = {59};
    {
        ScriptedDraws draws;
        draws.Draw(15, 45, 30, 2).Draw(0, 0, 0);
        party->DailyUpdate(8);
    }
    EXPECT_EQ(s.FindItem(181), nullptr); // used up, then removed
    EXPECT_EQ(s.FindItem(64)->GetTotalUnits(), 98);
}

TEST_F(PartyTest, TheFoodCheckSetsTheSceneFlagsAndButchers)
{
    AddItemType(5, 10, 320, 0, -1, {2, 13});
    AddItemType(16, 10, 16, 0, -1, {2, 15});
    AddItemType(164, 1, 16, 0, -1, {48});
    AddStrings(CDiary::kStringList, {"diary"});
    Open();
    auto party = NewParty();
    CSupplyList& s = *party->GetSupplies();
    CDiary diary;
    trip_.diary = &diary;
    auto flag = [&](int16_t f) { return static_cast<int>(trip_.flags[static_cast<size_t>(f)]); };

    party->CheckFood(); // nothing at all
    EXPECT_EQ(flag(CPartyTrip::kFlagNoFood), 1);
    EXPECT_EQ(flag(CPartyTrip::kFlagNoDraughtAnimals), 1);
    EXPECT_EQ(flag(CPartyTrip::kFlagLowFood), 0);
    EXPECT_EQ(flag(CPartyTrip::kFlagNoMeat), 0);
    EXPECT_EQ(flag(CPartyTrip::kFlagNoTag15First), 0);
    EXPECT_EQ(flag(CPartyTrip::kFlagSomeonePoor), 0);
    EXPECT_EQ(flag(CPartyTrip::kFlagPoorHealth), 0);
    EXPECT_EQ(flag(CPartyTrip::kFlagMoraleAbove80), 1);

    s.AddItem(5, 1); // 320 / 16 = 20: not enough for one
    s.AddItem(132, 2);
    s.AddItem(143, 0); // an emptied pig is not butchered
    party->AddMorale(-60);
    party->GetMember(0)->Damage(850);
    party->CheckFood();
    EXPECT_EQ(flag(CPartyTrip::kFlagNoFood), 0);
    EXPECT_EQ(flag(CPartyTrip::kFlagNoDraughtAnimals), 0);
    EXPECT_EQ(flag(CPartyTrip::kFlagLowFood), 1);
    EXPECT_EQ(flag(CPartyTrip::kFlagNoMeat), 1);
    EXPECT_EQ(flag(CPartyTrip::kFlagNoTag15First), 1);
    EXPECT_EQ(flag(CPartyTrip::kFlagNoTag15Second), 1);
    EXPECT_EQ(flag(CPartyTrip::kFlagSomeonePoor), 1);
    EXPECT_EQ(flag(CPartyTrip::kFlagPoorHealth), 1);
    EXPECT_EQ(flag(CPartyTrip::kFlagMoraleAbove80), 0);
    EXPECT_EQ(flag(CPartyTrip::kFlagMorale26To40), 1);

    // A pig is butchered when the meat is gone: meat (salted while the salt lasts) and a diary line.
    s.AddItem(143, 2);
    s.AddItem(16, 1);
    {
        ScriptedDraws draws;
        draws.Draw(20, 40, 30, 2).Draw(0, 1, 1);
        party->CheckFood();
    }
    EXPECT_EQ(flag(CPartyTrip::kFlagNoMeat), 0);
    EXPECT_EQ(flag(CPartyTrip::kFlagNoTag15First), 0);
    EXPECT_EQ(s.GetTotal(143), 1);
    EXPECT_EQ(s.GetTotal(116), 30);
    EXPECT_NE(std::string(diary.GetText().GetText()).find("Getting low on meat, so we butchered a pig.\r\n"),
              std::string::npos);
    // With meat there is nothing to butcher.
    party->CheckFood();
    EXPECT_EQ(s.GetTotal(143), 1);

    const struct {
        int16_t morale;
        int16_t flag;
    } bands[] = {{25, CPartyTrip::kFlagMoraleBelow26},
                 {26, CPartyTrip::kFlagMorale26To40},
                 {40, CPartyTrip::kFlagMorale26To40},
                 {41, CPartyTrip::kFlagMorale41To50},
                 {50, CPartyTrip::kFlagMorale41To50},
                 {51, -1},
                 {80, -1},
                 {81, CPartyTrip::kFlagMoraleAbove80}};
    for (const auto& b : bands) {
        party->AddMorale(static_cast<int16_t>(b.morale - party->GetMorale()));
        party->CheckFood();
        for (int16_t f : {CPartyTrip::kFlagMoraleBelow26, CPartyTrip::kFlagMorale26To40,
                          CPartyTrip::kFlagMorale41To50, CPartyTrip::kFlagMoraleAbove80})
            EXPECT_EQ(flag(f), f == b.flag ? 1 : 0) << b.morale << " " << f;
    }
}

TEST_F(PartyTest, TheRecordRoundTripsAndDamagedOnesAreRefused)
{
    AddHealth(
        2, {.incMin = 2, .incMax = 2, .actMin = 3, .actMax = 3, .sevMin = 10, .sevMax = 10, .recognise = 0});
    Open();
    auto party = NewParty();
    Join(*party, 2, 7);
    party->GetSupplies()->AddItem(82, 4, 0.75);
    party->AddMoney(123.45);
    party->AddMorale(-7);
    party->SetRation(1);
    {
        ScriptedDraws draws;
        draws.Draw(0, 100, 50).Draw(10, 10, 10).Draw(2, 2, 2);
        party->GetMember(0)->AddCondition(2, 1);
    }
    const std::string bytes = SaveBytes([&](CDoc& doc) { party->Save(doc); });
    // Fixed part, the leader, an empty slot 1 kept as an empty member, person 7, 1 item.
    EXPECT_EQ(bytes.substr(0, 2), std::string("\0\3", 2));
    EXPECT_EQ(bytes.substr(10, 8), std::string("\0\0\0\0\0\0\0\0", 8)); // the spare float, little-endian
    CParty loaded;
    EXPECT_EQ(LoadBytes(bytes, [&](CDoc& doc) { loaded.Load(doc); }), CDoc::kOk);
    EXPECT_EQ(SaveBytes([&](CDoc& doc) { loaded.Save(doc); }), bytes);
    EXPECT_EQ(loaded.GetMoney(), 123.45);
    EXPECT_EQ(loaded.GetMember(2)->GetId(), 7);
    ASSERT_EQ(loaded.GetMember(0)->GetConditionCount(), 1);
    EXPECT_EQ(loaded.GetMember(0)->GetCondition(0)->GetPerson(), loaded.GetMember(0));
    EXPECT_EQ(loaded.GetMember(0)->GetCondition(0)->GetDef().severityMax, 10); // "HLT" read again

    struct Case {
        const char* what;
        std::string bytes;
    };
    std::string sixMembers = bytes;
    sixMembers[1] = 6;
    std::string negative = bytes;
    negative[0] = '\xFF';
    const Case cases[] = {
        {"six members", sixMembers},
        {"negative count", negative},
        {"cut in the fixed part", bytes.substr(0, 30)},
        {"cut in a member", bytes.substr(0, 80)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        CParty refused;
        EXPECT_EQ(LoadBytes(c.bytes, [&](CDoc& doc) { refused.Load(doc); }), CDoc::kStreamFailure);
        EXPECT_LE(refused.CountMembers(false), 5);
    }
}

} // namespace
} // namespace traveltest
