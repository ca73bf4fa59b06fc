// A catch turn on the sample data over a stand-in of the river catch module (module type 6):
// an animated module with a phase word, as the catch sprites ask it, that starts a play field
// of water kind 0 and the catch stock of the trout and the pike, and hands it its messages.
// The lure is cast and sinks, a trout takes it, a press lands it and the catch window opens;
// keeping it adds its weight to the total. The window's golden picture is made again with
//   QM_UPDATE_GOLDEN=1 build/test/tests/test_game_shell --gtest_filter='RiverCatchStandIn*'
#include <gtest/gtest.h>

#include <memory>

#include "engine/framework/DeferredDelete.h"
#include "engine/framework/Message.h"
#include "engine/framework/MsgMgr.h"
#include "engine/framework/Util.h"
#include "game/action/PlayAnim.h"
#include "game/action/PlayField.h"
#include "game/action/PlayImage.h"
#include "game/action/PlaySprites.h"
#include "game/action/PlayTargets.h"
#include "game/base/GameGlobals.h"
#include "game/base/MainWnd.h"
#include "game/base/ModuleConstructors.h"
#include "game/base/ModuleMgr.h"
#include "game/travel/AnimFigure.h"
#include "tests/game/shell/SampleGame.h"
#include "tests/support/TestEnv.h"

namespace {

constexpr int32_t kRiverCatch = 6;
// A step of the module's clock, long enough for a frame of the landing ring.
constexpr uint32_t kStepTicks = 8;

class CatchStandIn : public CAnimModule, public CFigurePhase {
public:
    static constexpr int16_t kCatchPhase = 2;

    explicit CatchStandIn(const CRect& rect) : CAnimModule(rect) {}
    void Start() override
    {
        field = std::make_unique<CPlayField>(this, GetDrawnRect(), 0);
        field->SetCatchStock(3);
        field->Start(false);
    }
    int16_t GetDrawPhase() const override { return phase; }
    bool HandleMessage(CMessage& message, CBaseObj* from) override
    {
        return (field && field->HandleMessage(message)) || CAnimModule::HandleMessage(message, from);
    }

    int16_t phase = kCatchPhase;
    std::unique_ptr<CPlayField> field;
};

class RiverCatchStandIn : public shelltest::SampleGameScreen {
protected:
    void SetUp() override
    {
        SetModuleConstructor(
            kRiverCatch, [](const CRect& rect, CModuleMgr&) -> CModule* { return new CatchStandIn(rect); });
        SampleGameScreen::SetUp();
        CUtil::SetRandomSeed(1);
        CDispatchScope scope;
        SendMsg(*GetMainWnd(), CMainWnd::kMsgRequestModule, kRiverCatch, 1, nullptr);
    }
    static CatchStandIn* Module()
    {
        return dynamic_cast<CatchStandIn*>(GetModuleMgr()->GetModule(kRiverCatch));
    }
    static void Press(CPlayField& field)
    {
        CMessage press(kMsgMouse, 0, 0, -1);
        press.SetParam(1, 2);
        field.HandleMessage(press);
    }
};

} // namespace

TEST_F(RiverCatchStandIn, CastBitePressShowsTheCatchWindowAndKeepAddsTheWeight)
{
    ASSERT_NE(Module(), nullptr);
    CPlayField& field = *Module()->field;
    ASSERT_EQ(field.GetLoadFailed(), 0);
    EXPECT_EQ(field.GetTargets()->GetTypeCount(), 2);
    // The lure sinks past its landing depth and goes on down.
    for (int i = 0; i < 12 && field.GetLure()->GetState() != CSpriteFrm::kGoingDown; ++i) {
        qmtest::Clock().Advance(kStepTicks * 17);
        Module()->Step();
        field.Step();
    }
    ASSERT_EQ(field.GetLure()->GetState(), CSpriteFrm::kGoingDown);
    // A trout called to the lure and already there takes it at the next step.
    CPlayTargetSet& targets = *field.GetTargets();
    targets.RemoveAll();
    PlayTarget* trout = targets.AddTarget(0);
    ASSERT_NE(trout, nullptr);
    const CSpriteFrm* lure = field.GetLure();
    trout->creature->MoveTo(lure->GetH(), lure->GetV(), lure->GetZ());
    trout->state = PlayTarget::kCalled;
    CUtil::SetDrawSource([](int32_t lo, int32_t, int32_t) { return lo == 20 ? 37 : lo; });
    trout->creature->PickWeight(0);
    CUtil::SetDrawSource(nullptr);
    field.Step();
    ASSERT_EQ(field.GetHooked(), trout);
    Press(field);
    field.Step();
    ASSERT_NE(field.GetCatchWindow(), nullptr);
    shelltest::ExpectGameWindowGolden("river-catch-window.png", 440);

    CMessage keep(CPlayImage::kMsgKeep, 0, 0, -1);
    field.HandleMessage(keep);
    EXPECT_EQ(field.GetCatchWindow(), nullptr);
    EXPECT_EQ(field.GetResult(), CPlayField::kCatchKept);
    EXPECT_EQ(field.GetCatchWhole(), 3);
    EXPECT_EQ(field.GetCatchTenths(), 7);
}
