#include <gtest/gtest.h>

#include <map>
#include <sstream>
#include <vector>

#include "engine/controls/Frame.h"
#include "engine/controls/WindowHooks.h"
#include "engine/controls/WndProc.h"
#include "engine/framework/Message.h"
#include "engine/framework/Str.h"
#include "game/shell/NodeDebugWnd.h"
#include "game/travel/RouteNode.h"
#include "tests/game/travel/SampleData.h"
#include "tests/game/travel/TravelFixture.h"

namespace traveltest {
namespace {

// A "NOD" record text from the words given by byte offset; the others are 0.
std::string NodeText(const std::map<int, int16_t>& words)
{
    std::ostringstream text;
    for (int offset = 0; offset < CRouteNode::kRecordSize; offset += 2) {
        const auto at = words.find(offset);
        text << (offset ? ", " : "") << (at == words.end() ? 0 : at->second);
    }
    return text.str();
}

class RouteNodeTest : public TravelTest {};

TEST_F(RouteNodeTest, TheSpeedPercentFollowsTheRouteTypeAndLeavesTheFaunaAlone)
{
    struct Case {
        int16_t routeType, plants, speed;
    };
    // The fauna word at byte 140 (entry 36) holds 77 in every record: only a route type
    // outside the table takes its speed from there.
    const Case cases[] = {{0, 0, 100}, {1, 0, 60},  {2, 0, 70},  {3, 0, 60},  {4, 0, 75}, {5, 0, 60},
                          {6, 0, 100}, {7, 0, 50},  {8, 0, 100}, {9, 0, 100}, {7, 1, 50}, {1, 1, 50},
                          {0, 1, 50},  {10, 0, 77}, {-1, 0, 77}, {10, 1, 50}, {1, 2, 60}};
    for (size_t i = 0; i < std::size(cases); ++i)
        AddRecord("NOD", static_cast<int32_t>(100 + i),
                  NodeText({{0, static_cast<int16_t>(100 + i)},
                            {2, cases[i].routeType},
                            {140, 77},
                            {168, cases[i].plants}}));
    Open();
    for (size_t i = 0; i < std::size(cases); ++i) {
        const Case& c = cases[i];
        SCOPED_TRACE(testing::Message() << "route type " << c.routeType << ", plants " << c.plants);
        const CRouteNode node(static_cast<int16_t>(100 + i));
        EXPECT_EQ(node.GetSpeedPercent(), c.speed);
        EXPECT_EQ(node.GetFauna(36), 77);
    }
}

TEST_F(RouteNodeTest, OnlyRiversHaveCrossingsAndOnlyClimbsAndDescentsHills)
{
    for (int16_t type = 0; type <= 10; ++type)
        AddRecord("NOD", 200 + type, NodeText({{2, type}, {8, 6}}));
    AddRecord("RVR", 6, "2, 250, 200, 150, 30, 25, 24");
    Open();
    for (int16_t type = 0; type <= 10; ++type) {
        SCOPED_TRACE(type);
        const CRouteNode node(static_cast<int16_t>(200 + type));
        EXPECT_EQ(node.GetRiverData() != nullptr, type == CRouteNode::kRiver);
        EXPECT_EQ(node.GetHill() != nullptr, type == CRouteNode::kUphill || type == CRouteNode::kDownhill);
    }
}

TEST_F(RouteNodeTest, ANodeWithoutARecordHasZeroedFields)
{
    Open();
    const CRouteNode node(42);
    EXPECT_FALSE(node.Exists());
    EXPECT_EQ(node.GetId(), 0);
    EXPECT_EQ(node.GetRouteType(), CRouteNode::kNormal);
    EXPECT_EQ(node.GetNextNode(0), 0);
    EXPECT_EQ(node.GetLength(), 0);
    EXPECT_EQ(node.GetWaterKind(), 0);
    EXPECT_EQ(node.GetSpeedPercent(), 100);
    EXPECT_EQ(node.GetRiverData(), nullptr);
    EXPECT_EQ(node.GetHill(), nullptr);
}

TEST_F(RouteNodeTest, IndexedFieldsReadTheirOwnWordsOnly)
{
    std::map<int, int16_t> words;
    for (int offset = 16; offset < 206; offset += 2)
        words[offset] = static_cast<int16_t>(offset);
    AddRecord("NOD", 7, NodeText(words));
    Open();
    const CRouteNode node(7);
    struct Field {
        const char* name;
        int16_t (CRouteNode::*get)(int16_t) const;
        int offset, count;
    };
    const Field fields[] = {
        {"events", &CRouteNode::GetEvent, 16, 20}, {"next", &CRouteNode::GetNextNode, 58, 2},
        {"fauna", &CRouteNode::GetFauna, 68, 50},  {"images", &CRouteNode::GetImage, 174, 4},
        {"music", &CRouteNode::GetMusic, 182, 4},  {"sfx", &CRouteNode::GetSfx, 190, 2}};
    for (const Field& f : fields) {
        SCOPED_TRACE(f.name);
        for (int16_t i = 0; i < f.count; ++i)
            EXPECT_EQ((node.*f.get)(i), f.offset + 2 * i);
        EXPECT_EQ((node.*f.get)(-1), 0);
        EXPECT_EQ((node.*f.get)(static_cast<int16_t>(f.count)), 0);
    }
    EXPECT_EQ(node.GetWaterKind(), 66);
    EXPECT_EQ(node.GetCatchStock(), 194);
    EXPECT_EQ(node.GetSegLengthA(), 198);
    EXPECT_EQ(node.GetSegLengthB(), 200);
    EXPECT_EQ(node.GetMapCodeA(), 202);
    EXPECT_EQ(node.GetMapCodeB(), 204);
}

TEST_F(RouteNodeTest, ACrossingWithoutItsRecordIsShallowNarrowAndCalm)
{
    AddRecord("NOD", 6, NodeText({{2, CRouteNode::kRiver}, {8, 16}}));
    Open();
    const CRouteNode node(6);
    const CRiverData* river = node.GetRiverData();
    ASSERT_NE(river, nullptr);
    EXPECT_EQ(river->GetDepth(), 1);
    EXPECT_EQ(river->GetDepthSixths(), 1);
    EXPECT_EQ(river->GetWidth(), 10);
    EXPECT_EQ(river->GetSwiftness(), 1);
    EXPECT_EQ(river->GetFee1(), 0);
    EXPECT_EQ(river->IsFrozen(), 0);
}

TEST(RiverData, WidthsAreCutToRoundFigures)
{
    const std::pair<int32_t, int16_t> cases[] = {{950, 900}, {1000, 1000}, {901, 900}, {900, 900},
                                                 {230, 200}, {201, 200},   {200, 200}, {57, 50},
                                                 {50, 50},   {7, 10},      {0, 10},    {-40, 10}};
    for (const auto& [width, cut] : cases)
        EXPECT_EQ(CRiverData::CutWidth(width), cut) << width;
}

TEST(RouteNames, NamesOutsideTheTablesSayWhy)
{
    EXPECT_STREQ(CNodeDebugWnd::RouteTypeName(8), "RIVER");
    EXPECT_STREQ(CNodeDebugWnd::RouteTypeName(10), "UNKNOWN");
    EXPECT_STREQ(CNodeDebugWnd::RouteTypeName(-1), "UNKNOWN");
    EXPECT_STREQ(CNodeDebugWnd::KindName(6), "NEVERSTOP");
    EXPECT_STREQ(CNodeDebugWnd::KindName(7), "INVALID");
    EXPECT_STREQ(CNodeDebugWnd::LmClassName(4), "D");
    EXPECT_STREQ(CNodeDebugWnd::LmClassName(5), "INVALID");
    EXPECT_STREQ(CNodeDebugWnd::LmClassName(0), "INVALID");
    EXPECT_STREQ(CNodeDebugWnd::EventName(99), "You're Fired");
    EXPECT_STREQ(CNodeDebugWnd::EventName(23), "");
    EXPECT_STREQ(CNodeDebugWnd::FaunaName(5633), "MTNGOAT");
    EXPECT_STREQ(CNodeDebugWnd::FaunaName(5610), "");
}

// ---- The sample route ----

class SampleRouteTest : public ::testing::Test {
protected:
    void SetUp() override { OpenSampleData(); }
};

TEST_F(SampleRouteTest, NodesFollowEachOtherAlongTheRoute)
{
    struct Row {
        int16_t id, routeType, kind, landmark, miles, region, mapCode, next0, next1, water, catchStock;
    };
    const Row rows[] = {
        {1, 9, 0, 1, 0, 10, 0, 2, 0, -1, 0},      {2, 0, 1, 0, 40, 10, 100, 3, 0, -1, 0},
        {3, 1, 1, 0, 30, 10, 101, 4, 0, -1, 0},   {4, 2, 2, 5, 0, 10, 102, 5, 0, -1, 0},
        {5, 4, 1, 0, 30, 11, 103, 6, 0, -1, 0},   {6, 8, 2, 2, 0, 11, 104, 7, 0, 0, 3},
        {7, 5, 1, 0, 25, 11, 105, 8, 0, 0, 3},    {8, 9, 2, 3, 0, 11, 106, 9, 189, -1, 0},
        {9, 0, 1, 0, 40, 11, 107, 189, 0, -1, 0}, {189, 9, 4, 6, 0, 11, 108, 0, 0, -1, 0},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.id);
        const CRouteNode node(r.id);
        ASSERT_TRUE(node.Exists());
        EXPECT_EQ(node.GetId(), r.id);
        EXPECT_EQ(node.GetRouteType(), r.routeType);
        EXPECT_EQ(node.GetKind(), r.kind);
        EXPECT_EQ(node.LandmarkNumber(), r.landmark);
        EXPECT_EQ(node.GetLength(), r.miles);
        EXPECT_EQ(node.GetSegLengthA(), r.miles);
        EXPECT_EQ(node.GetSegLengthB(), 0);
        EXPECT_EQ(node.GetWeatherId(), r.region);
        EXPECT_EQ(node.GetMapCodeA(), r.mapCode);
        EXPECT_EQ(node.GetMapCodeB(), 0);
        EXPECT_EQ(node.GetNextNode(0), r.next0);
        EXPECT_EQ(node.GetNextNode(1), r.next1);
        EXPECT_EQ(node.GetWaterKind(), r.water);
        EXPECT_EQ(node.GetCatchStock(), r.catchStock);
        EXPECT_GE(node.GetTerrain(), 0);
        EXPECT_LE(node.GetTerrain(), 17);
        for (int16_t i = 0; i < CRouteNode::kEventCount; ++i) {
            EXPECT_NE(node.GetEvent(i), 31);
            EXPECT_NE(node.GetEvent(i), 32);
        }
    }
    const CRouteNode hunting(2);
    EXPECT_EQ(hunting.GetFauna(0), 5606);
    EXPECT_EQ(hunting.GetFauna(1), 5608);
    EXPECT_EQ(hunting.GetTerrain(), 1);
    EXPECT_EQ(CRouteNode(3).GetSpeedPercent(), CRouteNode::kPlantsSpeed);
    EXPECT_EQ(CRouteNode(1).GetResource(), 10101);
}

TEST_F(SampleRouteTest, TheRiverIsFordableAndTheClimbHasItsHill)
{
    const CRouteNode river(6);
    EXPECT_EQ(river.GetEvent(0), 23);
    EXPECT_EQ(river.GetEvent(1), 24);
    const CRiverData* crossing = river.GetRiverData();
    ASSERT_NE(crossing, nullptr);
    EXPECT_EQ(crossing->GetDepth(), 30);
    EXPECT_EQ(crossing->GetDepthSixths(), 5);
    EXPECT_EQ(crossing->GetWidth(), 200);
    EXPECT_EQ(crossing->GetSwiftness(), 2);
    EXPECT_EQ(crossing->GetFee1(), 500);
    EXPECT_EQ(crossing->IsFrozen(), 0);
    EXPECT_EQ(crossing->GetUsed1(), 0);
    EXPECT_EQ(crossing->GetUsed2(), 0);

    const CRouteNode climb(4);
    ASSERT_NE(climb.GetHill(), nullptr);
    EXPECT_EQ(climb.GetHill()->GetDifficulty(), 2);
    EXPECT_EQ(climb.GetHill()->GetAdviceFlag(), 1);
    EXPECT_EQ(climb.GetSpeedPercent(), 70);
}

TEST_F(SampleRouteTest, TheDebugWindowListsTheNodesFields)
{
    std::string text;
    for (int16_t id : {2, 6, 8}) {
        const CRouteNode node(id);
        for (const std::string& line : CNodeDebugWnd::Lines(node))
            text += line + "\n";
        text += "\n";
    }
    EXPECT_EQ(text, Golden("node-debug.txt", text));

    RegisterEngineClasses();
    InstallWindowHooks();
    const CRouteNode node(8);
    CNodeDebugWnd debug(node);
    EXPECT_STREQ(debug.GetTitle()->GetText(), "Debug Information");
    CFrame* root = debug.GetFirstFrame();
    ASSERT_NE(root, nullptr);
    EXPECT_EQ(root->GetBounds().GetWidth(), CNodeDebugWnd::kWidth);
    EXPECT_EQ(root->GetBounds().GetHeight(), CNodeDebugWnd::kHeight);
    auto* ok = dynamic_cast<CFrame*>(root->FindObject(static_cast<uint32_t>(-1), CNodeDebugWnd::kOkId));
    ASSERT_NE(ok, nullptr);
    EXPECT_EQ(ok->GetBounds().GetBottom(), CNodeDebugWnd::kHeight - 10);
    EXPECT_EQ(ok->GetBounds().GetRight(), CNodeDebugWnd::kWidth - 10);
    EXPECT_TRUE(debug.IsLive());

    CMessage close(CWind::kMsgCloseRequest);
    EXPECT_TRUE(debug.HandleMessage(close, nullptr));
    CMessage click(CNodeDebugWnd::kOkMessage);
    EXPECT_FALSE(debug.HandleMessage(click, root)) << "a click from another sender";
    EXPECT_FALSE(debug.IsDone());
    EXPECT_TRUE(debug.HandleMessage(click, ok));
    EXPECT_TRUE(debug.IsDone());
}

} // namespace
} // namespace traveltest
