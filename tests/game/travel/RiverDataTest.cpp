// The crossing of a river on the day: depth and width within the wet or dry ranges, the
// swiftness stepped by the wetness, frost, the services' months and the party's fees.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "game/travel/RiverData.h"
#include "tests/game/travel/TravelFixture.h"

namespace {

using traveltest::ScriptedDraws;
using traveltest::TravelTest;

constexpr int16_t kRiver = 6;
// No draw scripted: the test fails on any draw.
constexpr int32_t kNoDraw = -1;

std::string Words(const std::vector<int16_t>& words)
{
    std::string text;
    for (size_t i = 0; i < CRiverData::kValueCount; ++i)
        text += (i ? ", " : "") + std::to_string(i < words.size() ? words[i] : 0);
    return text;
}

// Swiftness 2; width 400 / 230 / 100; depth 40 / 25 / 10; crossing values 1..18; service 1 in
// months 4..9, service 2 never (6..5, value 7); fee 1 500 + 100 + 20 an animal + 10 a member,
// fee 2 300.
std::vector<int16_t> Crossing()
{
    std::vector<int16_t> w = {2, 400, 230, 100, 40, 25, 10};
    for (int16_t v = 1; v <= 18; ++v)
        w.push_back(v);
    for (int16_t v : {0, 4, 9, 6, 5, 7, 500, 100, 20, 10, 300, 0, 0, 0})
        w.push_back(v);
    return w;
}

class RiverDataTest : public TravelTest {
protected:
    void Write(const std::vector<int16_t>& words)
    {
        AddRecord("RVR", kRiver, Words(words));
        Open();
    }
    std::unique_ptr<CRiverData> Day(const CrossingConditions& c, int32_t r = kNoDraw)
    {
        ScriptedDraws draws;
        if (r != kNoDraw)
            draws.Draw(0, 100, r, 2);
        auto river = std::make_unique<CRiverData>(kRiver, c);
        EXPECT_EQ(draws.Left(), 0u);
        return river;
    }
};

} // namespace

TEST_F(RiverDataTest, TheWetnessMovesDepthWidthAndSwiftnessWithinTheirRanges)
{
    Write(Crossing());
    struct Case {
        int32_t wet, r;
        int16_t depth, width, swiftness;
    };
    const Case cases[] = {
        {0, kNoDraw, 30, 200, 2}, // as wet as normal: depth x 6 / 5, no draw
        {-50, 50, 23, 200, 2},    // step 0, the dry halves: 10..32, 100..315
        {150, 0, 17, 160, 4},     // step 2, the wet halves: 17..40, 165..400
        {250, 100, 44, 400, 5},   // step 3, the wet thirds: 20..40 (a fifth past it), 186..400
        {-400, 100, 34, 250, 1},  // step -3, the dry thirds: 10..30, 100..286; swiftness at least 1
        {900, 0, 20, 180, 5},     // swiftness at most 5
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.wet);
        CrossingConditions day;
        day.wet = c.wet;
        const auto river = Day(day, c.r);
        EXPECT_EQ(river->GetDepth(), c.depth);
        EXPECT_EQ(river->GetWidth(), c.width);
        EXPECT_EQ(river->GetSwiftness(), c.swiftness);
        EXPECT_EQ(river->IsFrozen(), 0);
        EXPECT_EQ(river->GetCrossingValue(0), 1);
        EXPECT_EQ(river->GetCrossingValue(17), 18);
    }
}

TEST_F(RiverDataTest, FrostUnderSnowFreezesTheRiverAndStopsTheServices)
{
    Write(Crossing());
    struct Case {
        int16_t snow, freezingDays, month;
        bool frozen, service1;
    };
    // Width 200: frozen above 200 / 250 + 5 = 5 freezing days, with snow on the ground.
    const Case cases[] = {{3, 6, 6, true, false},  {3, 5, 6, false, true}, {0, 30, 6, false, true},
                          {0, 0, 3, false, false}, {0, 0, 4, false, true}, {0, 0, 9, false, true},
                          {0, 0, 10, false, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.snow << " " << c.freezingDays << " " << c.month);
        CrossingConditions day;
        day.snowDepth = c.snow;
        day.freezingDays = c.freezingDays;
        day.month = c.month;
        const auto river = Day(day);
        EXPECT_EQ(river->IsFrozen(), c.frozen ? 1 : 0);
        EXPECT_EQ(river->GetSwiftness(), c.frozen ? 0 : 2);
        EXPECT_EQ(river->Service1Runs(), c.service1);
        EXPECT_EQ(river->GetService2(), 0); // its first month is after its last
    }
}

TEST_F(RiverDataTest, TheServicesRunInTheirMonthsAtThePartysFee)
{
    std::vector<int16_t> words = Crossing();
    words[CRiverData::kService2First] = 5;
    words[CRiverData::kService2Last] = 7;
    Write(words);
    CrossingConditions day;
    day.month = 6;
    const auto alone = Day(day);
    EXPECT_EQ(alone->GetService2(), 7);
    EXPECT_EQ(alone->GetFee1(), 500); // no party: the base alone
    EXPECT_EQ(alone->GetFee2(), 300);
    day.hasParty = true;
    day.animals = 6;
    day.members = 5;
    const auto party = Day(day);
    EXPECT_EQ(party->GetFee1(), 500 + 100 + 6 * 20 + 5 * 10);
    EXPECT_EQ(party->GetFee2(), 300);
}

TEST_F(RiverDataTest, LargeTermsSaturateInsteadOfWrapping)
{
    std::vector<int16_t> words = Crossing();
    words[CRiverData::kDepthNormal] = 30000; // x 6 = 180000
    words[CRiverData::kDepthHigh] = 32000;
    words[CRiverData::kDepthLow] = -32000;
    words[CRiverData::kFee1Base] = 32000;
    words[CRiverData::kFee1Base + 2] = 30000;
    words[CRiverData::kFee2Base] = -32000;
    words[CRiverData::kFee2Base + 3] = -30000;
    Write(words);
    CrossingConditions day;
    EXPECT_EQ(Day(day)->GetDepth(), 32767);
    day.hasParty = true;
    day.animals = 4;
    day.members = 3;
    day.wet = 50;
    const auto river = Day(day, 100); // -1000 + (32000 + 1000) x 6 / 5: past 16 bits
    EXPECT_EQ(river->GetDepth(), 32767);
    EXPECT_EQ(river->GetFee1(), 32767);
    EXPECT_EQ(river->GetFee2(), -32768);
    EXPECT_EQ(CRiverData::PartyFee(1, 2, 3, 4, CrossingConditions{}), 1);
}

TEST_F(RiverDataTest, AMissingRecordReadsZerosAndTheClampsApply)
{
    Open();
    CrossingConditions day;
    day.wet = -300;
    day.month = 1;
    const auto river = Day(day, 40);
    EXPECT_EQ(river->GetDepth(), 1);
    EXPECT_EQ(river->GetWidth(), 10);
    EXPECT_EQ(river->GetSwiftness(), 1);
    EXPECT_EQ(river->GetFee1(), 0);
    EXPECT_FALSE(river->Service1Runs());
}
