#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "engine/controls/AnimFrame.h"
#include "engine/framework/Message.h"
#include "engine/framework/Stopwatch.h"
#include "engine/framework/Util.h"
#include "game/action/PlayField.h"
#include "game/action/PlayImage.h"
#include "game/action/PlaySceneObj.h"
#include "game/action/PlaySprites.h"
#include "game/action/PlayTargets.h"
#include "game/travel/AnimFigure.h"
#include "tests/engine/controls/anim/AnimTestKit.h"
#include "tests/engine/resources/DefinitionText.h"
#include "tests/support/FrameStripFixtures.h"
#include "tests/support/RleFixtures.h"
#include "tests/support/TestEnv.h"

namespace {

using namespace animtest;

class ModuleFrame : public CAnimFrame, public CFigurePhase {
public:
    ModuleFrame() : CAnimFrame(90, CRect(0, 0, 400, 640), nullptr) {}
    int16_t GetDrawPhase() const override { return 2; }
};

// A frame under the module's frame that notes what it is sent.
class Parent : public CFrame {
public:
    Parent() : CFrame(CFrame::kKindFrame, 91, CRect(0, 0, 400, 640), false) {}
    bool HandleMessage(CMessage& message, CBaseObj*) override
    {
        log += std::to_string(message.GetId()) + "(" + std::to_string(message.GetParam(0)) + "," +
               std::to_string(message.GetParam(1)) + ") ";
        return true;
    }
    std::string log;
};

std::string Picture(int16_t w, int16_t h)
{
    return Text(qmtest::MakeFrameStrip(
        {qmtest::CodedFrame(w, h, std::vector<uint8_t>(static_cast<size_t>(w) * h, 5))}));
}

// Settings 9500; scene list 310 (water kind 1: scene 300, deepest 110, background 900);
// types "Pike" (bit 0) and "Trout" (bit 1); catch texts 320; the window's pictures.
class PlayFieldTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        deftext::InstallEngineStrings();
        const int values[22] = {0,   0,   0,   0,   0, 0, 600, 700, 0, 0,  0,
                                611, 612, 613, 310, 0, 0, 0,   320, 0, 20, 21};
        std::string settings;
        for (const int v : values)
            settings += std::to_string(v) + "\n";
        std::string sixteen;
        for (int i = 0; i < 16; ++i)
            sixteen += "Kind" + std::to_string(i) + "\n500\n800\n";
        const std::string rls = Text(qmtest::MakeRls({{2, 4, {0x03, 1, 0x03, 1}}}));
        const std::string seq =
            Text(SeqBytes({{0, 0, 1, 1}, {0, 1, 1, 1}, {0, 2, 1, 1}}, {{0, 0, 0, 0, 0, 0}}));
        std::vector<deftext::Resource> resources = {
            {"STR", 9500, settings},
            {"STR", 700, "Pike\n501\n801\nTrout\n500\n800\n"},
            {"STR", 701, sixteen},
            {"STR", 500, "trout\n5\n0\n4\n2\n10\n20\n2\n1\n3\n"},
            {"STR", 501, "pike\n9\n1\n6\n3\n0\n20\n2\n0\n1\n"},
            {"STR", 310, "0\n300\n"},
            {"STR", 300, "Pool\nBank\n0\n0\n900\nend\n110\n"},
            {"STR", 320, "0\n1\n2\n3\n4\n5\n6\n7\n8\n9\n10\nA\nof\npounds\n"},
            {"CBM", 900, Picture(64, 40)},
            {"CBM", 800, Picture(200, 150)},
            {"CBM", 801, Picture(200, 150)},
            {"CBM", CPlayImage::kKeepImage, Picture(30, 10)},
            {"CBM", CPlayImage::kLetGoImage, Picture(20, 10)},
            {"CBM", CPlayImage::kAskImage, Picture(24, 12)},
        };
        for (const int id : {500, 501, 600, 611, 612, 613}) {
            resources.push_back({"RLS", id, rls});
            resources.push_back({"SEQ", id, seq});
            resources.push_back({"CEL", id, Text(CelBytes({}))});
        }
        deftext::AddFolderLibrary(resources);
        CUtil::SetRandomSeed(5);
        parent.AddChild(&frame, false);
    }
    void TearDown() override
    {
        field.reset();
        parent.RemoveChild(frame);
    }

    CPlayField& Start(uint16_t stock = 3, bool suspended = false)
    {
        field = std::make_unique<CPlayField>(&frame, CRect(0, 0, 400, 640), 1);
        field->SetCatchStock(stock);
        field->Start(suspended);
        return *field;
    }
    // Steps until the lure has landed and gone on down (state 3).
    void SinkLure()
    {
        for (int i = 0; i < 8 && field->GetLure()->GetState() != CSpriteFrm::kGoingDown; ++i)
            field->Step();
    }
    // A target of the set on the lure: the next step hooks it.
    PlayTarget* TargetOnLure()
    {
        CPlayTargetSet* set = field->GetTargets();
        set->RemoveAll();
        PlayTarget* target = set->AddTarget(1);
        const CSpriteFrm* lure = field->GetLure();
        target->creature->MoveTo(lure->GetH(), lure->GetV(), lure->GetZ());
        return target;
    }
    bool Press(int kind = 1)
    {
        CMessage message(kMsgMouse, 0, 0, -1);
        message.SetParam(kind, 2);
        return field->HandleMessage(message);
    }
    bool Send(int32_t id)
    {
        CMessage message(id, 0, 0, -1);
        return field->HandleMessage(message);
    }
    // Hooks a target of the weight (tenths), presses and steps: the catch window opens.
    void Land(int32_t tenths, int16_t index = 1)
    {
        field->BeginTurn(0);
        SinkLure();
        PlayTarget* target = TargetOnLure();
        CUtil::SetDrawSource([tenths](int32_t lo, int32_t, int32_t) { return lo == 20 ? tenths : lo; });
        target->creature->PickWeight(index);
        CUtil::SetDrawSource(nullptr);
        field->Step();
        ASSERT_EQ(field->GetHooked(), target);
        Press();
        field->Step();
    }

    Parent parent;
    ModuleFrame frame;
    std::unique_ptr<CPlayField> field;
};

} // namespace

TEST_F(PlayFieldTest, SetUpMakesTheSceneTypesAndSprites)
{
    CPlayField& f = Start();
    EXPECT_EQ(f.GetScene()->GetMaxDepth(), 110);
    EXPECT_EQ(f.GetScene()->GetTypeNames(), (std::vector<std::string>{"Pike", "Trout"}));
    EXPECT_EQ(f.GetTargets()->GetTypeCount(), 2);
    ASSERT_NE(f.GetLure(), nullptr);
    EXPECT_EQ(f.GetLure()->GetZ(), 5);
    EXPECT_EQ(f.GetLure()->GetBottomDepth(), 90);
    EXPECT_EQ(f.GetHolder()->GetH(), 320);
    EXPECT_EQ(f.GetHolder()->GetZ(), 15);
    EXPECT_EQ(f.GetLoadFailed(), 0);
}

TEST_F(PlayFieldTest, CatchStockZeroSpawnsNothingAndAPressEndsTheTurn)
{
    CPlayField& f = Start(0);
    f.BeginTurn(0);
    EXPECT_EQ(f.GetTargets()->GetCount(), 0);
    EXPECT_EQ(f.GetTargets()->GetTypeCount(), 0);
    SinkLure();
    EXPECT_FALSE(Press());
    EXPECT_EQ(f.GetResult(), CPlayField::kNoCatch);
}

TEST_F(PlayFieldTest, PressesWhileTheLureSinksDoNothing)
{
    CPlayField& f = Start(0);
    f.Step();
    for (const int16_t state : {CSpriteFrm::kSinking, CSpriteFrm::kLanded}) {
        f.GetLure()->SetState(state);
        Press();
        EXPECT_EQ(f.GetResult(), CPlayField::kRunning) << state;
        EXPECT_EQ(f.GetLure()->GetState(), state);
    }
    EXPECT_TRUE(Press(0)); // a release is taken
    f.GetLure()->SetState(CSpriteFrm::kPulled);
    Press();
    EXPECT_EQ(f.GetResult(), CPlayField::kNoCatch);
}

TEST_F(PlayFieldTest, ABiteIsReleasedAfterItsTickAndNoSecondBiteWhileHooked)
{
    CPlayField& f = Start();
    f.BeginTurn(0);
    SinkLure();
    PlayTarget* target = TargetOnLure();
    PlayTarget* other = f.GetTargets()->AddTarget(0);
    const uint32_t bitten = f.GetClock()->Elapsed();
    f.Step();
    ASSERT_EQ(f.GetHooked(), target);
    EXPECT_EQ(target->state, PlayTarget::kHooked);
    EXPECT_GE(target->releaseTick, bitten + 20);
    EXPECT_LE(target->releaseTick, bitten + 50);
    EXPECT_FALSE(f.GetLure()->IsShown());
    // The other target swims onto the lure too: called, it only moves.
    other->creature->MoveTo(f.GetLure()->GetH(), f.GetLure()->GetV(), f.GetLure()->GetZ());
    while (f.GetClock()->Elapsed() <= target->releaseTick) {
        f.Step();
        EXPECT_EQ(f.GetHooked(), target);
        EXPECT_NE(other->state, PlayTarget::kHooked);
        qmtest::Clock().Advance(17);
    }
    other->state = PlayTarget::kRoaming; // else it bites the moment the lure is free
    f.Step();
    EXPECT_EQ(f.GetHooked(), nullptr);
    EXPECT_EQ(target->state, PlayTarget::kRoaming);
    EXPECT_TRUE(f.GetLure()->IsShown());
}

TEST_F(PlayFieldTest, KeepingTwoCatchesAddsTheirWholeUnitsAndTenthsApart)
{
    CPlayField& f = Start();
    Land(37);
    ASSERT_NE(f.GetCatchWindow(), nullptr);
    EXPECT_TRUE(f.GetClock()->IsPaused());
    EXPECT_FALSE(Press()); // mouse and keys are not the window's
    EXPECT_FALSE(Send(kMsgKey));
    EXPECT_TRUE(Send(CPlayImage::kMsgKeep));
    EXPECT_EQ(f.GetResult(), CPlayField::kCatchKept);
    EXPECT_EQ(f.GetCatchWindow(), nullptr);
    EXPECT_FALSE(f.GetClock()->IsPaused());
    Land(25);
    EXPECT_TRUE(Send(CPlayImage::kMsgKeep));
    EXPECT_EQ(f.GetCatchWhole(), 5);
    EXPECT_EQ(f.GetCatchTenths(), 12);
    EXPECT_EQ(f.GetCatchTotal(), 6);
    // Letting go ends the turn without a catch.
    Land(25);
    EXPECT_TRUE(Send(CPlayImage::kMsgLetGo));
    EXPECT_EQ(f.GetResult(), CPlayField::kNoCatch);
    EXPECT_EQ(f.GetCatchTotal(), 6);
}

TEST_F(PlayFieldTest, WindowMessagesCountOnlyWhileTheWindowIsOpen)
{
    CPlayField& f = Start();
    for (const int32_t id : {CPlayImage::kMsgKeep, CPlayImage::kMsgLetGo, CPlayImage::kMsgAsk})
        EXPECT_FALSE(Send(id)) << id;
    EXPECT_EQ(f.GetResult(), CPlayField::kRunning);
    Land(37);
    EXPECT_TRUE(Send(CPlayImage::kMsgAsk));
    EXPECT_EQ(parent.log, "102(4,1) ");
    EXPECT_NE(f.GetCatchWindow(), nullptr); // 265 leaves it open
}

TEST_F(PlayFieldTest, ACatchOfNoKnownTypeEndsTheTurnReleasingTheHook)
{
    CPlayField& f = Start();
    Land(37, 7); // a weight drawn for a type the place lacks
    EXPECT_EQ(f.GetCatchWindow(), nullptr);
    EXPECT_EQ(f.GetResult(), CPlayField::kNoCatch);
    EXPECT_EQ(f.GetHooked(), nullptr);
    EXPECT_FALSE(f.IsReelingIn());
    EXPECT_TRUE(f.GetLure()->IsShown());
}

TEST_F(PlayFieldTest, AFieldStartedSuspendedIsSetUpAtResume)
{
    CPlayField& f = Start(3, true);
    EXPECT_EQ(f.GetScene(), nullptr);
    f.Step(); // nothing to step yet
    f.Resume();
    EXPECT_FALSE(f.IsSuspended());
    ASSERT_NE(f.GetScene(), nullptr);
    EXPECT_NE(f.GetLure(), nullptr);
    f.Suspend();
    EXPECT_EQ(f.GetLure(), nullptr);
    EXPECT_TRUE(f.GetClock()->IsPaused());
    f.Resume();
    EXPECT_NE(f.GetLure(), nullptr);
    EXPECT_FALSE(f.GetClock()->IsPaused());
}

TEST_F(PlayFieldTest, SixteenCatchStockBitsMakeFifteenTypes)
{
    const std::vector<std::string> names = CPlayField::TypeNames(0xFFFF, 701);
    EXPECT_EQ(names.size(), 16u);
    CPlayTargetSet set(CRect(0, 0, 400, 640), &frame, 110);
    set.LoadTypes(names, 701);
    EXPECT_EQ(set.GetTypeCount(), 15);
    EXPECT_NE(set.AddTarget(14), nullptr);
    EXPECT_EQ(set.AddTarget(15), nullptr);
}

TEST_F(PlayFieldTest, TheCatchTextNamesTheTypeInLowerCase)
{
    EXPECT_EQ(CPlayField::CatchText("A ", "Big TROUT", " of ", 3, 7, " pounds."),
              "A big trout of 3.7 pounds.");
    EXPECT_EQ(CPlayField::CatchText("", "Pike", "", 12, 0, ""), "pike12.0");
}
