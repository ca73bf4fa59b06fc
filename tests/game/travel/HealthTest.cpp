// Party members and their health conditions: creation, conditions given and refused, the
// condition's states and flags, the kind tests with their shared marks, the causes route
// events apply, the member's day (deaths, cap decay, follow-ups) and the two records.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/framework/Doc.h"
#include "game/travel/GameRecord.h"
#include "game/travel/HealthCond.h"
#include "game/travel/Party.h"
#include "tests/game/travel/TravelFixture.h"
#include "tests/game/travel/TravelRecords.h"

namespace traveltest {
namespace {

struct Draw {
    int32_t lo, hi, value;
};

void Script(ScriptedDraws& draws, const std::vector<Draw>& list)
{
    for (const Draw& d : list)
        draws.Draw(d.lo, d.hi, d.value);
}

class HealthTest : public TravelTest {
protected:
    static constexpr int16_t kYoung = 9;    // aged 30
    static constexpr int16_t kOld = 10;     // aged 60
    static constexpr int16_t kSkilled = 11; // holds skill 13

    void SetUp() override
    {
        TravelTest::SetUp();
        std::vector<std::string> names;
        for (int i = 1; i <= 20; ++i)
            names.push_back("Person " + std::to_string(i));
        AddStrings(CPartyMember::kPersonNameList, names);
        AddRecord("PPL", kYoung, "30, 2, 1, 2, 3, 4, 0, 93509, 93510");
        AddRecord("PPL", kOld, "60, 2, 1, 2, 3, 4, 0, 0, 0");
        AddRecord("PPL", kSkilled, "35, 2, 13, 0, 0, 0, 0, 0, 0");
    }

    // Named person `id`, in no party, drawing no once flags.
    static std::unique_ptr<CPartyMember> Person(int16_t id)
    {
        ScriptedDraws draws;
        NoOnceFlags(draws);
        return std::make_unique<CPartyMember>(id);
    }

    // A condition (unrecognised unless a skill-13 member travels) made with the draws given.
    static std::unique_ptr<CHealthCond> Make(CPartyMember* person, int32_t kind, int32_t param,
                                             const std::vector<Draw>& draws)
    {
        ScriptedDraws scripted;
        Script(scripted, draws);
        return std::make_unique<CHealthCond>(person, kind, param);
    }

    // Gives the person a condition that starts active, drawing its severity and days; a
    // refusal draws nothing.
    static bool Give(CPartyMember& person, int32_t kind, const std::vector<Draw>& draws)
    {
        ScriptedDraws scripted;
        if (!draws.empty())
            scripted.Draw(0, 100, 99); // not recognised
        Script(scripted, draws);
        return person.AddCondition(kind, 2);
    }
};

TEST_F(HealthTest, AHillRecordHoldsItsDifficultyAboveItsAdviceFlag)
{
    AddRecord("HIL", 4, "131073"); // 2 × 65536 + 1
    AddRecord("HIL", 5, "-65536");
    Open();
    const CHilRecord hill(4);
    EXPECT_EQ(hill.GetValue(), 131073);
    EXPECT_EQ(hill.GetDifficulty(), 2);
    EXPECT_EQ(hill.GetAdviceFlag(), 1);
    EXPECT_EQ(CHilRecord(5).GetDifficulty(), -1);
    EXPECT_EQ(CHilRecord(5).GetAdviceFlag(), 0);
    EXPECT_EQ(CHilRecord(6).GetValue(), 0); // missing
}

TEST_F(HealthTest, AgeSetsTheCapAndRecoveryAndTheIdThePersonIndex)
{
    const struct {
        int16_t age, cap, recovery, index;
    } cases[] = {{10, 800, 80, 11},  {11, 900, 100, 18}, {20, 900, 100, 6}, {21, 1000, 100, 2},
                 {40, 1000, 100, 9}, {41, 900, 80, 8},   {50, 900, 80, 1},  {51, 800, 70, 19}};
    for (int16_t i = 0; i < 8; ++i)
        AddRecord("PPL", i + 1, std::to_string(cases[i].age) + ", 3, 0, 0, 0, 0, 0, 0, 0");
    Open();
    for (int16_t i = 0; i < 8; ++i) {
        SCOPED_TRACE(cases[i].age);
        const auto p = Person(static_cast<int16_t>(i + 1));
        EXPECT_EQ(p->GetAge(), cases[i].age);
        EXPECT_EQ(p->GetHealthCap(), cases[i].cap);
        EXPECT_EQ(p->GetRecovery(), cases[i].recovery);
        EXPECT_EQ(p->GetHealth(), cases[i].cap);
        EXPECT_EQ(p->GetPersonIndex(), cases[i].index);
        EXPECT_EQ(p->GetOccupation(), 3);
        EXPECT_EQ(p->GetStatus(), CPartyMember::kStatusTravelling);
        EXPECT_EQ(std::string(p->GetName().GetText()), "Person " + std::to_string(i + 1));
    }
    const auto skilled = Person(kSkilled);
    EXPECT_TRUE(skilled->HasSkillValue(13));
    EXPECT_FALSE(skilled->HasSkillValue(2));
    // Without its record a person is still made: age 0, no skills, no name, index 0.
    const auto unknown = Person(21);
    EXPECT_EQ(unknown->GetHealthCap(), 800);
    EXPECT_EQ(unknown->GetPersonIndex(), 0);
    EXPECT_EQ(unknown->GetName().GetLength(), 0);
}

TEST_F(HealthTest, OnceFlagsAreDrawnInOrderAndConditionsRefusedByTheRules)
{
    for (int kind : {1, 2, 17, 42})
        AddHealth(kind, {.actMin = 3, .actMax = 3, .sevMin = 5, .sevMax = 5});
    Open();
    std::unique_ptr<CPartyMember> p;
    {
        ScriptedDraws draws;
        draws.Draw(1, 100, 35).Draw(35, 75, 35); // kind 28: 35 <= 35, had it already
        draws.Draw(1, 100, 76).Draw(35, 75, 75); // kind 17: not
        draws.Draw(1, 100, 20).Draw(1, 20, 19);  // kind 34: not
        p = std::make_unique<CPartyMember>(kYoung);
    }
    const bool flags[] = {false, true, false, false, false, false}; // 42, 28, 29, 17, 34, 32
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(p->GetOnceFlag(i), flags[i]) << i;

    const std::vector<Draw> onset = {{5, 5, 5}, {3, 3, 3}};
    EXPECT_FALSE(Give(*p, 28, {}));  // once in a life, and had it
    EXPECT_TRUE(Give(*p, 1, onset)); // kinds 1, 3, 4 and 35 may come again while held
    EXPECT_TRUE(Give(*p, 1, onset));
    EXPECT_TRUE(Give(*p, 2, onset));
    EXPECT_FALSE(Give(*p, 2, {}));    // the others not
    EXPECT_TRUE(Give(*p, 42, onset)); // once: the flag is set now
    EXPECT_TRUE(p->GetOnceFlag(0));
    CHealthCond* first = p->GetCondition(0);
    EXPECT_EQ(first->GetKind(), 42); // newest first
    p->GetConditions().RemoveItem(first);
    delete first;
    EXPECT_FALSE(p->HasCondition(42));
    EXPECT_FALSE(Give(*p, 42, {}));
    EXPECT_TRUE(Give(*p, 17, onset));
    EXPECT_TRUE(p->GetOnceFlag(3));
    EXPECT_EQ(p->GetConditionCount(), 4);
    EXPECT_EQ(p->GetHealth(), 1000 - 4 * 5 - 5); // every onset dealt its severity

    p->SetStatus(3); // no longer travelling
    EXPECT_FALSE(Give(*p, 4, {}));
}

TEST_F(HealthTest, AConditionIncubatesBreaksOutRecoversAndEnds)
{
    AddHealth(2, {.incMin = 2,
                  .incMax = 3,
                  .actMin = 2,
                  .actMax = 4,
                  .recMin = 1,
                  .recMax = 2,
                  .sevMin = 10,
                  .sevMax = 20,
                  .recSev = 4,
                  .recognise = 50});
    Open();
    // The severity drawn at the start survives until the day's ended test: an onset the next
    // day uses it, a later one draws again.
    for (bool endedTestBetween : {false, true}) {
        SCOPED_TRACE(endedTestBetween);
        const auto p = Person(kYoung);
        OnsetListener listener;
        const auto c = Make(p.get(), 2, 1, {{0, 100, 49}, {10, 20, 12}, {2, 3, 2}});
        EXPECT_EQ(c->GetState(), CHealthCond::kIncubating);
        EXPECT_TRUE(c->IsRecognised()); // 49 < 50
        EXPECT_EQ(c->GetStoredSeverity(), 12);
        EXPECT_EQ(c->GetDaysLeft(), 2);
        EXPECT_EQ(c->DailyStep(), 0);
        if (endedTestBetween) {
            EXPECT_FALSE(c->EndedTest());
        }
        const int16_t severity = endedTestBetween ? 17 : 12;
        {
            ScriptedDraws draws;
            if (endedTestBetween)
                draws.Draw(10, 20, 17);
            draws.Draw(2, 4, 3);
            EXPECT_EQ(c->DailyStep(), 0);
        }
        EXPECT_EQ(c->GetState(), CHealthCond::kActive);
        EXPECT_EQ(c->GetSeverity(), severity);
        EXPECT_TRUE(c->IsAnnounced());
        ASSERT_EQ(listener.onsets.size(), 1u);
        EXPECT_EQ(listener.onsets[0].first, reinterpret_cast<MsgWord>(p.get()));
        EXPECT_EQ(listener.onsets[0].second, reinterpret_cast<MsgWord>(c.get()));
        EXPECT_EQ(p->GetOnsetMark(), 500); // half the health before the onset's damage
        EXPECT_EQ(p->GetHealth(), 1000 - severity);
        {
            ScriptedDraws draws;
            draws.Draw(1, 2, 2);
            EXPECT_EQ(c->DailyStep(), severity);
            EXPECT_EQ(c->DailyStep(), severity);
            EXPECT_EQ(c->DailyStep(), 0); // the active days are over
        }
        EXPECT_EQ(c->GetState(), CHealthCond::kRecovering);
        EXPECT_EQ(c->DailyStep(), 4);
        EXPECT_EQ(c->DailyStep(), 0);
        EXPECT_EQ(c->GetState(), CHealthCond::kEnded);
        EXPECT_TRUE(c->EndedTest());
    }
}

TEST_F(HealthTest, MissingStatesArePassedOver)
{
    AddHealth(3, {.recMin = 3, .recMax = 3, .recSev = 7});
    Open();
    const auto p = Person(kYoung);
    OnsetListener listener;
    // No incubation and no active range: straight into recovery, without an onset.
    const auto recovering = Make(p.get(), 3, 1, {{0, 100, 99}, {0, 0, 0}, {0, 0, 0}, {3, 3, 3}});
    EXPECT_EQ(recovering->GetState(), CHealthCond::kRecovering);
    EXPECT_EQ(recovering->DailyStep(), 7);
    EXPECT_EQ(recovering->DailyStep(), 7);
    EXPECT_EQ(recovering->DailyStep(), 0);
    EXPECT_TRUE(recovering->EndedTest());
    EXPECT_TRUE(listener.onsets.empty());
    EXPECT_EQ(p->GetHealth(), 1000);
    // Without its record a condition has no state at all: it ends at once.
    const auto missing = Make(p.get(), 44, 2, {{0, 100, 0}, {0, 0, 0}});
    EXPECT_EQ(missing->GetState(), CHealthCond::kEnded);
    EXPECT_FALSE(missing->IsRecognised());
    EXPECT_TRUE(missing->EndedTest());
}

TEST_F(HealthTest, TheFlagsShapeTheDamageAndTheDays)
{
    struct Day {
        std::vector<Draw> draws; // of the step and the ended test after it
        int16_t damage;
    };
    struct Case {
        const char* what;
        int32_t kind;
        Health h;
        int32_t param;
        std::vector<Draw> create; // after the recognise roll
        int16_t daysLeft;         // after creation
        std::vector<Day> days;
        int16_t health; // at the end, from 1000
    };
    const Case cases[] = {
        {"0x1: V on the first day",
         2,
         {.flags = 0x1, .v = 50, .actMin = 3, .actMax = 3, .sevMin = 10, .sevMax = 10},
         2,
         {{10, 10, 10}, {3, 3, 3}},
         3,
         {{{}, 50}, {{}, 10}, {{}, 0}},
         1000 - 10 - 60},
        {"0x4: V on the later days",
         3,
         {.flags = 0x4, .v = 50, .actMin = 3, .actMax = 3, .sevMin = 10, .sevMax = 10},
         2,
         {{10, 10, 10}, {3, 3, 3}},
         3,
         {{{}, 10}, {{}, 50}, {{}, 0}},
         1000 - 10 - 60},
        {"0x8: the severity grows by V above W",
         4,
         {.flags = 0x8, .v = 3, .w = 5, .actMin = 3, .actMax = 3, .sevMin = 10, .sevMax = 10},
         2,
         {{10, 10, 10}, {3, 3, 3}},
         3,
         {{{}, 10}, {{}, 13}, {{}, 0}},
         1000 - 10 - 23},
        {"0x8: not at W",
         5,
         {.flags = 0x8, .v = 3, .w = 10, .actMin = 3, .actMax = 3, .sevMin = 10, .sevMax = 10},
         2,
         {{10, 10, 10}, {3, 3, 3}},
         3,
         {{{}, 10}, {{}, 10}, {{}, 0}},
         1000 - 10 - 20},
        {"0x2: the person's age adds to the incubation",
         7,
         {.flags = 0x2, .incMin = 1, .incMax = 1, .actMin = 1, .actMax = 1, .sevMin = 5, .sevMax = 5},
         1,
         {{5, 5, 5}, {1, 1, 1}},
         31,
         {{{}, 0}},
         1000},
        {"0x10: the onset's severity from the incubation days",
         8,
         {.flags = 0x10, .incMin = 1, .incMax = 5, .actMin = 2, .actMax = 2, .sevMin = 10, .sevMax = 50},
         1,
         {{10, 50, 44}, {1, 5, 1}},
         1, // (50 - 10) × (5 - 1) / 4 = 40
         {{{{2, 2, 2}}, 0}, {{}, 40}, {{}, 0}},
         1000 - 40 - 40},
        {"0x20: the active days from the severity",
         9,
         {.flags = 0x20, .actMin = 2, .actMax = 10, .sevMin = 10, .sevMax = 50},
         2,
         {{10, 50, 30}},
         4, // (30 - 10) × (10 - 2) / 40
         {{{}, 30}, {{}, 30}, {{}, 30}, {{}, 0}},
         1000 - 30 - 90},
        {"0x40: every ended test starts the incubation again from (V, W)",
         10,
         {.flags = 0x40,
          .v = 2,
          .w = 3,
          .incMin = 5,
          .incMax = 5,
          .actMin = 1,
          .actMax = 1,
          .sevMin = 5,
          .sevMax = 5},
         1,
         {{5, 5, 5}, {5, 5, 5}},
         5,
         {{{{5, 5, 5}, {2, 3, 2}}, 0}, {{{5, 5, 5}, {2, 3, 3}}, 0}, {{{5, 5, 5}, {2, 3, 2}}, 0}},
         1000},
        {"0x80: active while the kind's test holds",
         23,
         {.flags = 0x80, .actMin = 9, .actMax = 9, .sevMin = 6, .sevMax = 6},
         2,
         {{6, 6, 6}},
         2,
         {{{}, 6}, {{}, 6}, {{}, 6}, {{}, 6}},
         1000 - 30},
        {"0x80: over when the test fails",
         41,
         {.flags = 0x80, .actMin = 9, .actMax = 9, .sevMin = 6, .sevMax = 6},
         2,
         {{6, 6, 6}},
         2,
         {{{}, 0}},
         1000 - 6},
        {"0x100: lethal with W percent chance",
         13,
         {.flags = 0x100, .w = 30, .actMin = 2, .actMax = 2, .sevMin = 10, .sevMax = 10},
         2,
         {{10, 10, 10}, {0, 100, 29}},
         0,
         {},
         1000 - 3000},
        {"0x100: the chance missed",
         14,
         {.flags = 0x100, .w = 30, .actMin = 2, .actMax = 2, .sevMin = 10, .sevMax = 10},
         2,
         {{10, 10, 10}, {0, 100, 30}, {2, 2, 2}},
         2,
         {{{}, 10}, {{}, 0}},
         1000 - 20},
    };
    for (const Case& c : cases)
        AddHealth(c.kind, c.h);
    Open();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const auto p = Person(kYoung);
        std::vector<Draw> create = {{0, 100, 99}};
        create.insert(create.end(), c.create.begin(), c.create.end());
        const auto cond = Make(p.get(), c.kind, c.param, create);
        EXPECT_EQ(cond->GetDaysLeft(), c.daysLeft);
        for (size_t i = 0; i < c.days.size(); ++i) {
            ScriptedDraws draws;
            Script(draws, c.days[i].draws);
            const int16_t damage = cond->DailyStep();
            EXPECT_EQ(damage, c.days[i].damage) << "day " << i + 1;
            p->Damage(damage);
            cond->EndedTest();
        }
        EXPECT_EQ(p->GetHealth(), c.health);
    }
    // Only the lethal onset killed its person, who was in no party: event 22 queued.
    ASSERT_EQ(trip_.events.size(), 1u);
    EXPECT_EQ(trip_.events[0].type, CPartyTrip::kEventMemberDied);
    EXPECT_FALSE(trip_.events[0].runNow);
}

TEST_F(HealthTest, KindTestsAndTheMarksTheyShare)
{
    AddItemType(167, 10, 160, 0, 60, {2, 14, 28});
    Open();
    auto party = NewParty();
    CPartyMember* leader = party->GetMember(0);
    // Conditions that have ended at once (no record) still answer their kind's test.
    auto cond = [&](int32_t kind) { return Make(leader, kind, 0, {{0, 100, 99}}); };
    const auto a = cond(6), b = cond(6), c33 = cond(33), c41 = cond(41), c43 = cond(43), c23 = cond(23);
    EXPECT_TRUE(a->KindTest()); // mark 0: true, and the mark takes diet counter B (0)
    party->EatDay();            // nothing eaten: both diet counters count up
    EXPECT_EQ(party->GetDietCounterB(), 1);
    EXPECT_TRUE(a->KindTest()); // still 0: true; mark 1
    EXPECT_EQ(CHealthCond::GetMark6(), 1);
    EXPECT_TRUE(b->KindTest()); // 1 >= 1
    party->GetSupplies()->AddItem(167, 1);
    {
        ScriptedDraws draws;
        draws.Draw(0, 0, 0);
        party->EatDay(); // tag 28 eaten: counter B down to 0, A up to 2
    }
    EXPECT_EQ(party->GetDietCounterB(), 0);
    EXPECT_FALSE(a->KindTest()); // 0 < 1; the mark follows to 0
    EXPECT_TRUE(b->KindTest());  // so the second test of the day holds
    EXPECT_TRUE(c33->KindTest());
    EXPECT_EQ(CHealthCond::GetMark33(), 2);
    CHealthCond::ResetMarks();
    EXPECT_EQ(CHealthCond::GetMark6(), 0);
    EXPECT_EQ(CHealthCond::GetMark33(), 0);

    EXPECT_TRUE(c23->KindTest());
    EXPECT_FALSE(c41->KindTest()); // the party has eaten
    EXPECT_FALSE(c43->KindTest());
    trip_.dryDays = 2;
    EXPECT_TRUE(c43->KindTest());
    EXPECT_FALSE(cond(5)->KindTest());
}

TEST_F(HealthTest, CausesSetSeverityChancesAndFollowUps)
{
    for (int kind = 1; kind <= 47; ++kind)
        AddHealth(kind, {.flags = 0x4, .actMin = 5, .actMax = 5, .sevMin = 10, .sevMax = 90});
    Open();
    auto party = NewParty();
    Join(*party, 1, kYoung);
    Join(*party, 2, kOld);
    Join(*party, 3, kSkilled);
    struct Case {
        int32_t cause, kind;
        bool skill13, old;
        int16_t severity; // before
        bool flag;
        std::vector<Draw> draws;
        int16_t expSeverity, chanceA, chanceB;
        int32_t followUp;
        bool flagsCleared;
    };
    const Case cases[] = {
        {1, 1, false, false, 50, true, {}, 50, 0, 50, 24, false}, // severity × 10 / 10
        {1, 1, true, false, 50, true, {}, 50, 0, 25, 24, false},  // / 20 with skill 13
        {6, 33, false, false, 100, true, {}, 100, 0, 50, 24, false},
        {6, 33, false, false, 100, false, {}, 100, 0, 100, 24, false}, // doubled without the flag
        {6, 20, true, false, 100, true, {}, 100, 0, 33, 24, false},
        {2, 5, true, false, 50, true, {}, 10, 0, 0, 0, false}, // A30 0 with skill 13: no follow-up
        {2, 5, false, false, 50, true, {}, 10, 5, 0, 30, false},
        {2, 5, false, true, 50, true, {}, 10, 50, 0, 30, false}, // × 10 past 50
        {1, 13, false, false, 50, true, {{1, 1000, 100}}, 3000, 0, 0, 0, true},
        {1, 13, true, false, 50, true, {{1, 1000, 101}}, 50, 0, 0, 0, false},
        {1, 27, false, false, 50, true, {{1, 1000, 500}}, 50, 0, 0, 0, false},
        {1, 27, false, false, 50, true, {{1, 1000, 501}}, 50, 0, 0, 0, true},
        {2, 27, false, false, 50, true, {{1, 1000, 100}}, 10, 0, 0, 0, false},
        {3, 27, true, false, 50, true, {{1, 1000, 151}}, 50, 0, 0, 0, true},
        {4, 27, false, false, 50, true, {{1, 1000, 1}}, 50, 0, 0, 0, true}, // no K entry
        {1, 19, true, false, 50, true, {{1, 1000, 50}}, 50, 0, 0, 0, false},
        {13, 19, false, false, 50, true, {{1, 1000, 1}}, 10, 0, 0, 0, true},
        {2, 2, false, false, 50, true, {}, 50, 0, 10, 19, false},
        {7, 2, false, false, 50, true, {}, 90, 0, 500, 19, false},
        {7, 2, true, false, 50, true, {}, 50, 0, 250, 19, false},
        {1, 22, false, false, 50, true, {}, 90, 100, 0, 23, false},
        {26, 22, true, false, 50, true, {}, 10, 30, 0, 23, false},
        {8, 32, false, true, 50, true, {}, 10, 10, 0, 30, false}, // A30 1 past 50, × 10
        {8, 32, false, false, 50, true, {}, 10, 0, 0, 0, false},
        {10, 25, false, false, 50, true, {{1, 1000, 101}}, 10, 0, 50, 24, false},
        {10, 25, false, false, 50, false, {{1, 1000, 100}}, 3000, 0, 100, 24, true},
        {27, 23, false, false, 50, true, {}, 50, 1000, 0, 47, false},
        {12, 1, false, false, 50, true, {}, 50, 0, 0, 0, false}, // cause 12 has no entry
        {16, 35, true, false, 50, true, {{1, 1000, 900}}, 3000, 0, 0, 0, true},
        {1, 42, true, false, 50, true, {}, 90, 3, 0, 30, false},
        {1, 12, false, false, 50, false, {}, 90, 0, 200, 24, false},
        {3, 43, false, false, 50, true, {}, 10, 0, 0, 0, false},
        {4, 36, false, false, 50, true, {}, 10, 0, 0, 0, false},
        {5, 34, true, false, 50, true, {}, 50, 3, 0, 30, false},
        {9, 46, false, false, 50, true, {}, 10, 0, 0, 0, false},
        {11, 21, false, false, 50, true, {{1, 1000, 251}}, 90, 0, 0, 0, false},
        {14, 5, false, false, 50, true, {}, 90, 5, 0, 30, false},
        {15, 9, true, false, 50, true, {}, 50, 0, 5, 24, false},
        {17, 29, false, false, 50, true, {}, 90, 0, 0, 0, false},
        {18, 42, false, true, 50, true, {}, 50, 10, 0, 30, false},
        {19, 27, false, false, 50, true, {{1, 1000, 1}}, 10, 0, 0, 0, true},
        {20, 27, true, false, 50, true, {{1, 1000, 300}}, 50, 0, 0, 0, false},
        {21, 44, false, false, 50, true, {}, 90, 10, 0, 30, false},
        {22, 30, false, false, 50, true, {}, 10, 0, 0, 0, false},
        {23, 23, true, false, 50, true, {}, 90, 0, 0, 0, false},
        {24, 17, false, false, 50, true, {}, 90, 0, 0, 0, false},
        {25, 21, false, false, 50, true, {{1, 1000, 101}}, 10, 0, 0, 0, false},
        {28, 47, false, false, 50, true, {}, 10, 0, 0, 0, false},
        {29, 35, false, false, 50, true, {}, 10, 0, 0, 0, false},
        {30, 2, false, false, 50, true, {}, 10, 0, 0, 0, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "cause " << c.cause << " kind " << c.kind << " skill " << c.skill13
                                        << " old " << c.old << " flag " << c.flag);
        party->GetMember(3)->SetStatus(c.skill13 ? CPartyMember::kStatusTravelling : 0);
        CPartyMember* person = party->GetMember(c.old ? 2 : 1);
        std::vector<Draw> create;
        if (!c.skill13)
            create.push_back({0, 100, 99}); // with skill 13 it is recognised without a draw
        create.push_back({10, 90, c.severity});
        create.push_back({5, 5, 5});
        const auto cond = Make(person, c.kind, 2, create);
        EXPECT_EQ(cond->IsRecognised(), c.skill13);
        {
            ScriptedDraws draws;
            Script(draws, c.draws);
            cond->ApplyCause(c.cause, c.flag);
        }
        EXPECT_EQ(cond->GetSeverity(), c.expSeverity);
        EXPECT_EQ(cond->GetChanceA(), c.chanceA);
        EXPECT_EQ(cond->GetChanceB(), c.chanceB);
        EXPECT_EQ(cond->GetFollowUpKind(), c.followUp);
        EXPECT_EQ(cond->GetDef().flags, c.flagsCleared ? 0 : 0x4);
        EXPECT_EQ(cond->GetLastCause(), c.cause);
        EXPECT_EQ(cond->GetSkill13Flag(), c.skill13);
    }
}

TEST_F(HealthTest, AMembersDayPassesOnlyWhenItsHoursAddUpToOne)
{
    Open();
    const auto p = Person(kYoung);
    p->Damage(300);
    for (int16_t hours : {8, 8}) {
        p->DailyUpdate(hours, 0);
        EXPECT_EQ(p->GetHealth(), 700);
    }
    p->DailyUpdate(10, 40); // 26 hours: a day, 2 hours over
    EXPECT_EQ(p->GetHourCount(), 2);
    EXPECT_EQ(p->GetHealth(), 760);
    p->DailyUpdate(22, 500); // to 24: recovery less wear
    EXPECT_EQ(p->GetHealth(), 360);
    EXPECT_EQ(p->GetHourCount(), 0);
    p->DailyUpdate(24, -2000); // never above the cap
    EXPECT_EQ(p->GetHealth(), p->GetHealthCap());
}

TEST_F(HealthTest, TheCapDecaysWhileHealthIsBelowHalfOfIt)
{
    Open();
    struct Case {
        int16_t damage;
        int16_t cap, recovery;
    };
    for (const Case& c : {Case{501, 999, 99}, Case{500, 1000, 100}}) {
        const auto p = Person(kYoung);
        p->Damage(c.damage);
        p->DailyUpdate(24, 100);
        EXPECT_EQ(p->GetHealthCap(), c.cap) << c.damage;
        EXPECT_EQ(p->GetRecovery(), c.recovery) << c.damage;
    }
    // Day after day of poor health: the cap stops at 700, the recovery at 70.
    const auto p = Person(kYoung);
    p->Damage(900);
    for (int day = 0; day < 400; ++day)
        p->DailyUpdate(24, p->GetRecovery());
    EXPECT_EQ(p->GetHealth(), 100);
    EXPECT_EQ(p->GetHealthCap(), 700);
    EXPECT_EQ(p->GetRecovery(), 70);
}

TEST_F(HealthTest, TheLevelFollowsHealthAndAnyCondition)
{
    AddHealth(2, {.actMin = 9, .actMax = 9, .sevMin = 1, .sevMax = 1});
    Open();
    const struct {
        int16_t health;
        int32_t level;
    } cases[] = {{1000, 4}, {800, 3}, {799, 2}, {400, 1}, {399, 0}, {199, 0}, {0, 0}};
    for (const auto& c : cases) {
        const auto p = Person(kYoung);
        p->Damage(static_cast<int16_t>(1000 - c.health));
        p->SetStatus(0); // no death to post
        p->DailyUpdate(0, 0);
        EXPECT_EQ(p->GetLevel(), c.level) << c.health;
    }
    const auto p = Person(kYoung);
    ASSERT_TRUE(Give(*p, 2, {{1, 1, 1}, {9, 9, 9}}));
    p->DailyUpdate(0, 0);
    EXPECT_EQ(p->GetLevel(), 2);
}

TEST_F(HealthTest, DeathPostsEventsUntilItIsDealtWith)
{
    Open();
    auto party = NewParty();
    Join(*party, 1, kYoung);
    CPartyMember* leader = party->GetMember(0);
    CPartyMember* member = party->GetMember(1);

    member->Damage(999);
    member->DailyUpdate(24, 200); // 1 + 100 - 200
    EXPECT_EQ(member->GetHealth(), -99);
    EXPECT_EQ(member->GetLevel(), 0);
    EXPECT_EQ(trip_.events, (std::vector<PostedEvent>{{22, false, member}}));
    // Another member's queued 22 may have swallowed it: while the member still travels, the
    // next day posts it again, and nothing else of the day happens.
    const int16_t cap = member->GetHealthCap();
    member->DailyUpdate(24, -500);
    EXPECT_EQ(member->GetHealth(), -99);
    EXPECT_EQ(member->GetHealthCap(), cap);
    EXPECT_EQ(member->GetHourCount(), 0);
    EXPECT_EQ(trip_.events.size(), 2u);
    member->SetStatus(4); // the event has dealt with it
    member->DailyUpdate(24, 0);
    EXPECT_EQ(trip_.events.size(), 2u);

    // The leader's death is run at once.
    trip_.events.clear();
    leader->Damage(900); // exactly 0: no day passes at all
    leader->DailyUpdate(24, 0);
    EXPECT_EQ(leader->GetHealth(), 0);
    EXPECT_EQ(trip_.events, (std::vector<PostedEvent>{{48, true, leader}}));
}

TEST_F(HealthTest, EachConditionStepsOnceAndNoneAfterDeath)
{
    AddHealth(4, {.flags = 0x5, .v = -30, .actMin = 9, .actMax = 9, .sevMin = 5, .sevMax = 5});  // heals
    AddHealth(5, {.flags = 0x1, .v = 2000, .actMin = 9, .actMax = 9, .sevMin = 1, .sevMax = 1}); // kills
    AddHealth(7, {.actMin = 9, .actMax = 9, .sevMin = 1, .sevMax = 1});
    Open();
    auto party = NewParty();
    Join(*party, 1, kYoung);
    Join(*party, 2, kYoung);
    CPartyMember& healed = *party->GetMember(1);
    ASSERT_TRUE(Give(healed, 4, {{5, 5, 5}, {9, 9, 9}}));
    healed.Damage(495); // 500
    healed.DailyUpdate(24, 100);
    EXPECT_EQ(healed.GetHealth(), 530); // a negative step counts once

    CPartyMember& dying = *party->GetMember(2);
    ASSERT_TRUE(Give(dying, 7, {{1, 1, 1}, {9, 9, 9}}));
    ASSERT_TRUE(Give(dying, 4, {{5, 5, 5}, {9, 9, 9}}));
    ASSERT_TRUE(Give(dying, 5, {{1, 1, 1}, {9, 9, 9}}));
    dying.DailyUpdate(24, 0);
    EXPECT_LT(dying.GetHealth(), 1);
    EXPECT_EQ(dying.GetCondition(0)->GetDaysInState(), 1);
    EXPECT_EQ(dying.GetCondition(1)->GetDaysInState(), 0); // not stepped after the death
    EXPECT_EQ(dying.GetCondition(2)->GetDaysLeft(), 9);
}

TEST_F(HealthTest, AFollowUpIsAddedAtTheEndOfTheDay)
{
    AddHealth(23, {.actMin = 5, .actMax = 5, .sevMin = 5, .sevMax = 5});
    AddHealth(47, {.actMin = 3, .actMax = 3, .sevMin = 4, .sevMax = 4});
    Open();
    const auto p = Person(kYoung);
    ASSERT_TRUE(Give(*p, 23, {{5, 5, 5}, {5, 5, 5}}));
    p->GetCondition(0)->ApplyCause(27, true); // chance A 1000 of kind 47
    {
        ScriptedDraws draws;
        draws.Draw(1, 1000, 1000);                          // chance A fires: 23 ends
        draws.Draw(0, 100, 99).Draw(4, 4, 4).Draw(3, 3, 3); // kind 47 begins
        p->DailyUpdate(24, 100);
    }
    ASSERT_EQ(p->GetConditionCount(), 1);
    EXPECT_EQ(p->GetCondition(0)->GetKind(), 47);
    EXPECT_EQ(p->GetCondition(0)->GetState(), CHealthCond::kActive);
    EXPECT_EQ(p->GetLevel(), 3); // reckoned before the follow-up came
    EXPECT_EQ(p->GetHealth(), 1000 - 5 - 5 - 4);
    EXPECT_EQ(p->GetPendingParam(), 0);
}

TEST_F(HealthTest, AnOnsetsEventsMayChangeThePartyMidDay)
{
    AddHealth(2, {.incMin = 1, .incMax = 1, .actMin = 2, .actMax = 2, .sevMin = 10, .sevMax = 10});
    AddHealth(7, {.actMin = 4, .actMax = 4, .sevMin = 1, .sevMax = 1});
    Open();
    auto party = NewParty();
    Join(*party, 1, kYoung);
    Join(*party, 2, kOld);
    CPartyMember* sick = party->GetMember(1);
    {
        ScriptedDraws draws;
        draws.Draw(0, 100, 99).Draw(10, 10, 10).Draw(1, 1, 1);
        ASSERT_TRUE(sick->AddCondition(2, 1));
    }
    // The onset's event gives the sick member a second condition and sends member 2 away.
    OnsetListener listener;
    bool acted = false;
    listener.onOnset = [&](CPartyMember* person, CHealthCond*) {
        if (acted)
            return; // the second condition's own onset
        acted = true;
        EXPECT_TRUE(person->AddCondition(7, 2));
        party->DeleteMember(2);
    };
    {
        ScriptedDraws draws;
        draws.Draw(15, 45, 30, 2).Draw(15, 45, 30, 2);      // the day's wear of the leader and member 1
        draws.Draw(2, 2, 2);                                // the onset's days
        draws.Draw(0, 100, 99).Draw(1, 1, 1).Draw(4, 4, 4); // the second condition's start
        party->DailyUpdate(24);
    }
    EXPECT_EQ(party->GetMember(2), nullptr); // skipped once gone
    ASSERT_EQ(sick->GetConditionCount(), 2);
    EXPECT_EQ(sick->GetCondition(0)->GetKind(), 7);
    EXPECT_EQ(sick->GetCondition(0)->GetDaysLeft(), 4); // steps from the next day
}

TEST_F(HealthTest, MemberRecordsRoundTripAndDamagedOnesAreRefused)
{
    AddHealth(1, {.actMin = 3, .actMax = 3, .sevMin = 5, .sevMax = 5});
    AddHealth(2, {.incMin = 2, .incMax = 2, .actMin = 3, .actMax = 3, .sevMin = 10, .sevMax = 10});
    Open();
    const auto p = Person(kYoung);
    ASSERT_TRUE(Give(*p, 1, {{5, 5, 5}, {3, 3, 3}}));
    {
        ScriptedDraws draws;
        draws.Draw(0, 100, 0).Draw(10, 10, 10).Draw(2, 2, 2);
        ASSERT_TRUE(p->AddCondition(2, 1));
    }
    p->GetCondition(1)->ApplyCause(1, false);
    p->DailyUpdate(5, 0);
    const std::string bytes = SaveBytes([&](CDoc& doc) { p->Save(doc); });
    const std::string name = "Person 9";
    ASSERT_EQ(bytes.size(), 4 + name.size() + 54 + 2 * 26);
    EXPECT_EQ(bytes.substr(0, 12), std::string("\0\0\0\x08", 4) + name);
    EXPECT_EQ(bytes.substr(12, 2), std::string("\0\x09", 2));         // the person id
    EXPECT_EQ(bytes.substr(20, 4), std::string("\0\x01\x6D\x45", 4)); // value P, 93509
    EXPECT_EQ(bytes.substr(64, 2), std::string("\0\x02", 2));         // two conditions
    EXPECT_EQ(bytes.substr(66, 2), std::string("\0\x01", 2));         // the newest first: incubating
    CPartyMember loaded;
    EXPECT_EQ(LoadBytes(bytes, [&](CDoc& doc) { loaded.Load(doc); }), CDoc::kOk);
    EXPECT_EQ(SaveBytes([&](CDoc& doc) { loaded.Save(doc); }), bytes);
    ASSERT_EQ(loaded.GetConditionCount(), 2);
    EXPECT_EQ(loaded.GetCondition(0)->GetKind(), 2);
    EXPECT_EQ(loaded.GetCondition(1)->GetKind(), 1);
    EXPECT_EQ(loaded.GetCondition(1)->GetChanceB(), 10); // 5 × 10 / 10, doubled
    for (int i = 0; i < 2; ++i)
        EXPECT_EQ(loaded.GetCondition(i)->GetPerson(), &loaded);
    EXPECT_EQ(loaded.GetCondition(0)->GetDef().incubationMax, 2); // its record read again

    std::string negative = bytes, tooMany = bytes;
    negative[64] = '\xFF';
    negative[65] = '\xFF';
    tooMany[65] = 3;
    const struct {
        const char* what;
        std::string bytes;
    } refused[] = {{"negative count", negative},
                   {"more conditions than bytes", tooMany},
                   {"cut in the name", bytes.substr(0, 8)},
                   {"cut in a condition", bytes.substr(0, 100)}};
    for (const auto& r : refused) {
        SCOPED_TRACE(r.what);
        CPartyMember member;
        EXPECT_EQ(LoadBytes(r.bytes, [&](CDoc& doc) { member.Load(doc); }), CDoc::kStreamFailure);
        EXPECT_LE(member.GetConditionCount(), 1);
    }

    // A damaged cap below 1 counts as 1 in the level.
    const auto well = Person(kYoung);
    std::string capless = SaveBytes([&](CDoc& doc) { well->Save(doc); });
    capless[34] = 0;
    capless[35] = 0;
    CPartyMember damaged;
    EXPECT_EQ(LoadBytes(capless, [&](CDoc& doc) { damaged.Load(doc); }), CDoc::kOk);
    EXPECT_EQ(damaged.GetHealthCap(), 0);
    damaged.DailyUpdate(0, 0);
    EXPECT_EQ(damaged.GetLevel(), 4);
}

} // namespace
} // namespace traveltest
