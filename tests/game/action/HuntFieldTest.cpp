// The hunting field's parts on a small library: the panorama strips and their obstacle bands,
// the animals' scale, clicks and falls, and the field's placement, paths, shots, charges and
// scrolling, with the draws of CUtil::Random scripted.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <utility>
#include <vector>

#include "engine/controls/anim/AnimatorWnd.h"
#include "engine/controls/input/InputFrame.h"
#include "engine/framework/Message.h"
#include "engine/framework/MsgMgr.h"
#include "engine/framework/Util.h"
#include "engine/graphics/ImgSet.h"
#include "game/action/HuntField.h"
#include "game/action/HuntTarget.h"
#include "game/action/PanoramaStrip.h"
#include "game/base/GameImages.h"
#include "tests/engine/controls/anim/AnimTestKit.h"
#include "tests/engine/resources/DefinitionText.h"
#include "tests/support/RleFixtures.h"
#include "tests/support/ScriptedDraws.h"
#include "tests/support/TestEnv.h"

namespace {

using namespace animtest;

// One row of `width` pixels of the colour, in runs of at most 128.
qmtest::RleCelSpec Row(int width, uint8_t colour, int height = 1)
{
    qmtest::RleCelSpec cel{static_cast<int16_t>(height), static_cast<int16_t>(width), {}};
    for (int row = 0; row < height; ++row)
        for (int left = width; left > 0; left -= 128) {
            cel.runs.push_back(static_cast<uint8_t>((left > 128 ? 128 : left) - 1));
            cel.runs.push_back(colour);
        }
    return cel;
}

// A "PAN" record: band starts, band ends and flags of cels 0-18 from the three lists.
std::string Pan(std::vector<int> starts, std::vector<int> ends, std::vector<int> flags)
{
    std::string text;
    for (std::vector<int>* values : {&starts, &ends, &flags}) {
        values->resize(19, 0);
        for (int v : *values)
            text += std::to_string(v) + ", ";
    }
    return text;
}

// Every animation 0..count-1 shows cel 0 for a long time without moving.
std::string StillSequence(int count)
{
    return Text(
        SeqBytes(std::vector<Anim>(static_cast<size_t>(count), Anim{0, 255, 1000, 1}), {{0, 0, 0, 0, 0, 0}}));
}

// The module frame: notes the messages it is sent.
class NotingFrame : public CFrame {
public:
    NotingFrame() : CFrame(CFrame::kKindFrame, 90, CRect(0, 0, 400, 640), false) {}
    bool HandleMessage(CMessage& message, CBaseObj*) override
    {
        received.emplace_back(message.GetId(), static_cast<int32_t>(message.GetParam(0)));
        return true;
    }
    std::vector<std::pair<int32_t, int32_t>> received;
};

class NotingHost : public CHuntFieldHost {
public:
    void ChangeLiveCount(int16_t delta) override { live += delta; }
    void EndHuntByCharge(int16_t code) override { codes.push_back(code); }
    int live = 0;
    std::vector<int16_t> codes;
};

// Far strip 300: two cels of 400 (W 800) with a band on cel 0 from depth 100 to 200; far strip
// 302 blocked everywhere; near strip 301: one image of 200, its depth record 301 puts cel 0 on
// line 380 (depth 20) and hides cel 1. Animals: 5606 (a 100, b 300, meat 20-40, hit 80 and 50,
// no charge), 5608 (the same lines, a charge animation 23), 5612 (a bird), 5607 (a record
// whose lines are the wrong way round). Each animal is a 20 x 10 cel anchored at its bottom
// centre.
class HuntFieldTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        deftext::InstallEngineStrings();
        const std::string animal = Text(qmtest::MakeRls({Row(20, 50, 10)}));
        std::vector<deftext::Resource> resources = {
            {"PAN", 0, "sizelist 57 short endlist\n"},
            {"PAN", 300, Pan({100}, {200}, {1})},
            {"PAN", 302, Pan({-1000, -1000}, {2000, 2000}, {1, 1})},
            {"RLS", 300, Text(qmtest::MakeRls({Row(400, 20), Row(400, 30)}))},
            {"RLS", 302, Text(qmtest::MakeRls({Row(400, 20), Row(400, 30)}))},
            {"RLS", 301, Text(qmtest::MakeRls({Row(200, 40)}))},
            {"STR", 301, "380\n-1\n"},
            {"STR", 5606, "100\n300\n20\n40\n0\n0\n80\n50\n"},
            {"STR", 5608, "100\n300\n20\n40\n0\n0\n80\n50\n"},
            {"STR", 5612, "50\n150\n1\n2\n0\n0\n90\n90\n"},
            {"STR", 5607, "300\n100\n20\n40\n0\n0\n80\n50\n"},
        };
        for (const int id : {5606, 5607, 5608, 5612}) {
            resources.push_back({"RLS", id, animal});
            resources.push_back({"SEQ", id, StillSequence(id == 5608 ? 25 : 15)});
            resources.push_back({"CEL", id, Text(CelBytes({{10, 10}}))});
        }
        deftext::AddFolderLibrary(resources);
        CUtil::SetRandomSeed(5);
    }
    void TearDown() override { CUtil::SetDrawSource(nullptr); }

    // The draws in order (then the range's low end); each range asked is noted in ranges.
    void ScriptDraws(const std::vector<int32_t>& values) { draws.Script(values); }
    std::unique_ptr<CHuntField> Field(int32_t farId = 300)
    {
        auto field = std::make_unique<CHuntField>(100, &frame, &host);
        field->BuildScenery(farId, 301, 0);
        return field;
    }

    NotingFrame frame;
    NotingHost host;
    qmtest::DrawsInOrder draws;
    std::vector<std::pair<int32_t, int32_t>>& ranges = draws.ranges;
};

} // namespace

TEST_F(HuntFieldTest, AStripOfOneImageShowsItTwiceAtTheDepthsOfItsRecord)
{
    CPanoramaStrip strip(200, 301, 0, CRect(0, 0, 440, 400), &frame, LoadImage("RLES", 0, 301, false, 0));
    ASSERT_EQ(strip.GetCelCount(), 2);
    EXPECT_EQ(strip.GetTotalWidth(), 400);
    EXPECT_EQ(strip.GetCelDepth(0), 20);
    EXPECT_EQ(strip.GetCelDepth(1), -1);
    EXPECT_EQ(strip.GetCel(0)->GetId(), 201);
    EXPECT_EQ(strip.GetCel(1)->GetCel(), 0);
    EXPECT_EQ(strip.GetCel(0)->GetParent(), &frame);
    EXPECT_EQ(strip.GetCel(1)->GetParent(), nullptr) << "a hidden cel stays off the frame";
    EXPECT_EQ(strip.GetCel(0)->GetCursorId(), CPanoramaStrip::kCursor);
    EXPECT_FALSE(strip.HasObstacles());

    CPanoramaStrip far(100, 0, 300, CRect(0, 0, 360, 800), &frame, LoadImage("RLES", 0, 300, false, 0));
    EXPECT_EQ(far.GetCelDepth(0), CPanoramaStrip::kFarDepth) << "no depth record";
    EXPECT_EQ(far.GetRightEdge(1), 800);
}

TEST_F(HuntFieldTest, TheObstacleBandsOfThePanRecord)
{
    CPanoramaStrip strip(100, 0, 300, CRect(0, 0, 360, 800), &frame, LoadImage("RLES", 0, 300, false, 0));
    ASSERT_TRUE(strip.HasObstacles());
    struct Case {
        int32_t h;
        int16_t depth;
        bool blocked;
        int16_t cel;
    } cases[] = {
        {50, 150, true, 0},    {50, 100, false, 0}, {50, 200, false, 0},
        {450, 150, false, 1},  {0, 150, true, 0}, // h 0 counts as 1: the first cel
        {-10, 150, false, 1},                     // the cel holding 790
        {850, 150, true, 0},                      // past the width: 50
        {1599, 150, false, 1},
    };
    for (const Case& c : cases) {
        for (const int16_t start : {int16_t{-1}, int16_t{0}, int16_t{1}, int16_t{7}}) {
            int16_t hint = start;
            EXPECT_EQ(strip.IsBlocked(c.h, c.depth, hint), c.blocked) << c.h << " " << c.depth;
            EXPECT_EQ(hint, c.cel) << c.h << " from " << start;
        }
    }
}

TEST_F(HuntFieldTest, ScrollingTheStripWrapsItsCelsAroundTheView)
{
    CPanoramaStrip strip(100, 0, 300, CRect(0, 0, 360, 800), &frame, LoadImage("RLES", 0, 300, false, 0));
    struct Case {
        int32_t move;
        int16_t left0, left1;
    } cases[] = {{-100, -100, 300}, {-400, 300, -100}, {-300, 0, 400}, {800, 0, 400}, {-350, -350, 50}};
    for (const Case& c : cases) {
        strip.MoveTo(static_cast<int16_t>(strip.GetH() + c.move), strip.GetV(), strip.GetZ());
        EXPECT_EQ(strip.GetCel(0)->GetDrawnRect().GetLeft(), c.left0) << c.move;
        EXPECT_EQ(strip.GetCel(1)->GetDrawnRect().GetLeft(), c.left1) << c.move;
    }
    EXPECT_EQ(strip.GetH(), 0) << "the strip keeps its own place";
}

TEST_F(HuntFieldTest, AnAnimalHalfwayBetweenItsLinesIsDrawnAtHalfSizeOnItsBottom)
{
    auto field = Field();
    ScriptDraws({0});
    CHuntTarget* animal = field->AddAnimal(5606, 300, 300, false);
    ASSERT_NE(animal, nullptr);
    EXPECT_EQ(animal->GetV(), 300) << "on its near line";
    EXPECT_EQ(animal->GetDrawnRect(), CRect(290, 290, 300, 310));
    animal->SetPathCentre(300 - 700); // d 700: depth 100 + 100, line 200
    field->UpdateAnimals();
    EXPECT_EQ(animal->GetV(), 200);
    EXPECT_DOUBLE_EQ(animal->GetScale(), 0.5);
    EXPECT_EQ(animal->GetDrawnRect(), CRect(195, 295, 200, 305));
}

TEST_F(HuntFieldTest, APressIsAShotUnlessTheAnimalIsInAnimation14)
{
    auto field = Field();
    CHuntTarget* animal = field->AddAnimal(5606, 300, 300, false);
    CMessage press(-1, 0, 0, -1);
    press.SetParam(CInputFrame::kMousePress, 2);
    animal->HandleMessage(press, nullptr);
    ASSERT_EQ(frame.received.size(), 1u);
    EXPECT_EQ(frame.received[0], std::make_pair(CHuntTarget::kMsgShot, animal->GetId()));
    animal->SetAnimation(CHuntTarget::kAnimUnclickable);
    animal->HandleMessage(press, nullptr);
    EXPECT_EQ(frame.received.size(), 1u);
    animal->Click();
    EXPECT_EQ(frame.received.size(), 2u) << "a click always shoots";
}

TEST_F(HuntFieldTest, HitsFallFromTheNearLineToNothingOnTheFarLine)
{
    auto field = Field();
    struct Case {
        int16_t line;
        int32_t mode, draw;
        bool hit;
    } cases[] = {{300, 0, 79, true}, {300, 0, 80, false}, {300, 1, 49, true}, {300, 1, 50, false},
                 {200, 0, 39, true}, {200, 0, 40, false}, {100, 0, 0, false}};
    for (const Case& c : cases) {
        ScriptDraws({0});
        CHuntTarget* animal = field->AddAnimal(5606, 300, c.line, false);
        if (c.line == 100) { // 70 √200 truncated leaves it a line short: d 990 gives depth 300
            animal->SetPathCentre(300 - 990);
            field->UpdateAnimals();
        }
        ASSERT_EQ(animal->GetV(), c.line);
        ScriptDraws({c.draw});
        EXPECT_EQ(field->ShootAt(animal->GetId(), c.mode), c.hit) << c.line << " " << c.draw;
        EXPECT_EQ(ranges.back(), std::make_pair(0, 100));
        EXPECT_EQ(animal->GetAnimation(), c.hit ? 9 : 6)
            << "walking away (3): hit 9, missed and frightened 6";
    }
}

TEST_F(HuntFieldTest, ALaterAnimalStarts15PixelsOffAtItsFarLine)
{
    auto field = Field();
    for (const bool flipped : {false, true}) {
        ScriptDraws({flipped ? 1 : 0});
        CHuntTarget* animal = field->AddAnimal(5606, 300, 0, false);
        EXPECT_EQ(animal->IsFlipped(), flipped);
        // X = 300 ± 70 √200 = 300 ± 989; at 15 pixels the depth is 100 + 974² / 4900 = 293.
        EXPECT_EQ(animal->GetPathCentre(), flipped ? 300 - 989 : 300 + 989);
        EXPECT_EQ(animal->GetH(), flipped ? 285 : 315);
        EXPECT_EQ(animal->GetZ(), 293);
        EXPECT_EQ(animal->GetV(), 107);
        EXPECT_LT(animal->GetDrawnRect().GetWidth(), 2);
    }
}

TEST_F(HuntFieldTest, AHerdGathersAroundItsPoint)
{
    auto field = Field();
    // The first animal draws its h, then the herd point (500, 250), clear of cel 0's band.
    ScriptDraws({10, 500, 250});
    ASSERT_TRUE(field->Spawn(5606, true, true));
    EXPECT_EQ(field->GetHerdPoint(), CPoint(500, 250));
    for (int i = 0; i < 7; ++i) {
        ranges.clear();
        ScriptDraws({0, 550, 260});
        ASSERT_TRUE(field->Spawn(5606, true, true));
        EXPECT_EQ(ranges[1], std::make_pair(450, 550));
        EXPECT_EQ(ranges[2], std::make_pair(240, 260));
    }
    EXPECT_EQ(host.live, 8);
    for (CHuntTarget* animal : field->GetAnimals(5606)) {
        EXPECT_FALSE(animal->IsFlipped()) << "never flipped in a herd";
        EXPECT_EQ(animal->GetAnimation(), 6);
    }
    EXPECT_FALSE(field->Spawn(5606, false, true)) << "no later animal in a herd hunt";
    EXPECT_EQ(host.live, 8);
}

TEST_F(HuntFieldTest, AFullyBlockedStripMakesNoAnimalAndABadRecordNone)
{
    auto field = Field(302);
    ScriptDraws({});
    EXPECT_FALSE(field->Spawn(5606, true, false));
    EXPECT_EQ(ranges.size(), 2u + 2u * CHuntField::kMaxDraws) << "h and y, then 100 redraws";
    EXPECT_EQ(host.live, 0);
    EXPECT_EQ(field->GetAnimalCount(), 0);

    auto open = Field();
    EXPECT_FALSE(open->Spawn(5607, true, false));
    EXPECT_EQ(open->AddAnimal(5607, 100, 200, false), nullptr);
    for (const int16_t none : {5603, 5604, 5610, 5600, 5617})
        EXPECT_FALSE(open->Spawn(none, true, false)) << none;
}

TEST_F(HuntFieldTest, AnimalIdsStayUniqueAfterRemovals)
{
    auto field = Field();
    std::vector<CHuntTarget*> made;
    for (int i = 0; i < 3; ++i)
        made.push_back(field->AddAnimal(5606, static_cast<int16_t>(100 + 50 * i), 300, false));
    EXPECT_EQ(made[0]->GetId(), 100 + 1000 + 500 + 1);
    made[0]->SetPathCentre(5000); // far beyond its far line: removed by the next step
    host.live = 3;
    field->UpdateAnimals();
    EXPECT_EQ(host.live, 2);
    std::set<int32_t> ids;
    for (int i = 0; i < 3; ++i)
        field->AddAnimal(5606, 300, 300, false);
    for (CHuntTarget* animal : field->GetAnimals(5606)) {
        EXPECT_TRUE(ids.insert(animal->GetId()).second) << animal->GetId();
        EXPECT_EQ(field->FindAnimal(animal->GetId()), animal);
        EXPECT_EQ((animal->GetId() - 100 - 1000) / 100, 5) << "the kind stays decodable";
    }
    EXPECT_EQ(ids.size(), 5u);
    EXPECT_FALSE(field->ShootAt(100 + 1000 + 500 + 1, 0)) << "the removed animal's id hits nothing";
}

TEST_F(HuntFieldTest, AMissedChargerChargesAloneAndEndsTheHuntWithItsCode)
{
    auto field = Field();
    ScriptDraws({0});
    CHuntTarget* first = field->AddAnimal(5608, 300, 300, false);
    ScriptDraws({0});
    CHuntTarget* second = field->AddAnimal(5608, 400, 300, false);
    ScriptDraws({0});
    CHuntTarget* walker = field->AddAnimal(5606, 200, 300, false);
    walker->SetAnimation(2);
    ASSERT_TRUE(first->HasChargeAnimation());
    ASSERT_FALSE(walker->HasChargeAnimation());
    ScriptDraws({100});
    EXPECT_FALSE(field->ShootAt(first->GetId(), 0));
    EXPECT_EQ(field->GetCharger(), first);
    EXPECT_EQ(first->GetAnimation(), 23);
    EXPECT_EQ(frame.received.back(), std::make_pair(CHuntField::kMsgCharge, 0));
    EXPECT_EQ(walker->GetAnimation(), 5) << "frightened";
    ScriptDraws({100});
    field->ShootAt(second->GetId(), 0);
    EXPECT_EQ(field->GetCharger(), first) << "no second charger";
    EXPECT_EQ(second->GetAnimation(), 6) << "frightened instead";
    field->EndCharge();
    EXPECT_EQ(host.codes, std::vector<int16_t>{50});
    for (const auto& [id, code] : {std::pair{5608, 50}, std::pair{5614, 78}, std::pair{5615, 80},
                                   std::pair{5601, 10}, std::pair{5606, 10}})
        EXPECT_EQ(CHuntField::ChargeCode(static_cast<int16_t>(id)), code);
}

TEST_F(HuntFieldTest, AShotAtADeadAnimalChangesNothing)
{
    auto field = Field();
    CHuntTarget* dead = field->AddAnimal(5606, 300, 300, false);
    CHuntTarget* walker = field->AddAnimal(5606, 200, 300, false);
    dead->SetAnimation(0);
    walker->SetAnimation(2);
    ScriptDraws({});
    EXPECT_FALSE(field->ShootAt(dead->GetId(), 0));
    EXPECT_TRUE(ranges.empty()) << "no draw";
    EXPECT_EQ(walker->GetAnimation(), 2) << "nobody frightened";
    EXPECT_FALSE(field->ShootAt(0, 0)) << "a shot at nothing";
    EXPECT_EQ(walker->GetAnimation(), 5);
}

TEST_F(HuntFieldTest, AShotBirdFallsToItsLandingLineAndLiesDown)
{
    auto field = Field();
    ScriptDraws({0});
    CHuntTarget* bird = field->AddAnimal(5612, 300, 100, false);
    ScriptDraws({0});
    ASSERT_TRUE(field->ShootAt(bird->GetId(), 0));
    EXPECT_TRUE(bird->IsFalling());
    EXPECT_EQ(bird->GetLandingLine(), 320);
    const int16_t v = bird->GetV();
    field->UpdateAnimals();
    EXPECT_EQ(bird->GetV(), v) << "off its path";
    bird->MoveBy(0, static_cast<int16_t>(320 - v), 0);
    EXPECT_EQ(bird->GetQueuedAnimation(), -1);
    bird->MoveBy(0, 1, 0);
    EXPECT_EQ(bird->GetQueuedAnimation(), 0);
}

TEST_F(HuntFieldTest, ScrollingMovesTheViewAndKeepsEveryAnimalsPlace)
{
    auto field = Field();
    ASSERT_EQ(field->GetWidth(), 800);
    CHuntTarget* animal = field->AddAnimal(5606, 100, 300, false);
    const int16_t v = animal->GetV();
    struct Case {
        int32_t direction;
        int16_t step;
        int32_t offset, h, wrap;
    } cases[] = {{0, 30, 30, 70, 0},
                 {1, 30, 0, 100, 0},
                 {1, 30, 770, 130, -800},
                 {0, 130, 100, 0, 0},
                 {0, 30, 130, 770, -800}};
    for (const Case& c : cases) {
        field->Scroll(c.direction, c.step);
        EXPECT_EQ(field->GetViewOffset(), c.offset);
        EXPECT_EQ(animal->GetH(), c.h);
        EXPECT_EQ(animal->GetWrapOffset(), c.wrap);
        EXPECT_EQ(animal->GetH() + animal->GetWrapOffset() + field->GetViewOffset(), 100);
        field->UpdateAnimals();
        EXPECT_EQ(animal->GetV(), v) << "the same place on its path";
    }
    EXPECT_EQ(field->GetStrip(0)->GetShift(), 800 - 130);
}

TEST_F(HuntFieldTest, AnAnimalPlacedBeyondItsFarLineIsGoneAtOnce)
{
    auto field = Field();
    // Line 50 lies above the deer's far line 100 less 40: its first step removes it.
    EXPECT_EQ(field->AddAnimal(5606, 300, 50, false), nullptr);
    EXPECT_EQ(field->GetAnimalCount(), 0);
}
