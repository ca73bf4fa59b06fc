// The sample landmark characters in the game started on the sample data, with the real video
// layer: the ferryman's clip as the player sees it after a fixed number of ticks, and a click on
// him asking for his next list. The landmark's own scene is stood in for by a frame that
// records what the characters send it.
//
// The golden picture is remade with QM_UPDATE_GOLDEN=1 (see SampleGame.h).
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "engine/controls/TplList.h"
#include "engine/controls/Wind.h"
#include "engine/framework/MsgMgr.h"
#include "engine/framework/Str.h"
#include "engine/framework/Util.h"
#include "engine/media/SmackerFrame.h"
#include "engine/resources/LibMgr.h"
#include "game/base/GameGlobals.h"
#include "game/base/MainWnd.h"
#include "game/base/ModuleMgr.h"
#include "game/landmarks/LmCharFrm.h"
#include "game/landmarks/LmCharHost.h"
#include "game/shell/QM3Appl.h"
#include "game/travel/Party.h"
#include "game/travel/Travel.h"
#include "platform/Input.h"
#include "platform/Window.h"
#include "tests/game/shell/SampleGame.h"
#include "tests/support/TestEnv.h"

namespace {

// The landmark's scene: a backdrop of one colour over the screen above the control bar that
// keeps the characters' captions and notes each list a character asks for.
class SceneStandIn : public CFrame, public CLmCharHost {
public:
    SceneStandIn() : CFrame(4, 933, CRect(0, 0, 400, 640), false) { SetBackColor(kBackdrop); }
    void SetOwner(CBaseObj* owner) override
    {
        CFrame::SetOwner(owner);
        if (owner)
            RegisterLiveObject(this);
    }
    bool HandleMessage(CMessage& m, CBaseObj* sender) override
    {
        if (m.GetId() == CLmCharFrm::kMsgShowList && dynamic_cast<CLmCharFrm*>(sender))
            lists.push_back(static_cast<int32_t>(m.GetParam(1)));
        return true;
    }
    void DrawContent(CDrawEnv* env, const CRect&) override { DrawBackground(env); }
    std::unique_ptr<CStr> ShowCaption(std::unique_ptr<CStr> text) override
    {
        captions.push_back(text ? text->GetText() : "");
        return nullptr;
    }

    static constexpr uint32_t kBackdrop = 10 + 36 * 4 + 6 * 3 + 2; // the plank wall's colour
    std::vector<int32_t> lists;
    std::vector<std::string> captions;
};

class LandmarkCharacterScreen : public shelltest::SampleGameScreen {
protected:
    void SetUp() override
    {
        CUtil::SetRandomSeed(1);
        SampleGameScreen::SetUp();
        scene = new SceneStandIn;
        GetMainWnd()->AddChild(scene, true);
    }
    // Builds a character list on the scene and starts the character.
    CLmCharFrm* Place(int32_t listId)
    {
        CTplList list(listId, CLibMgr::kAllLibraries, GetRsrcCache());
        auto* character = dynamic_cast<CLmCharFrm*>(list.Build(scene, scene, 0));
        if (character)
            character->StartMovie();
        return character;
    }
    void Tick(int n)
    {
        for (int i = 0; i < n; ++i) {
            qmtest::Clock().Advance(17);
            appl->PumpMessage(true);
        }
    }
    // Queues a click at the game window's point (a modal run takes it from the queue).
    static void QueueClick(int x, int y)
    {
        const plat::Point at = plat::ClientToScreen(GetMainWnd()->GetOwnerWnd()->GetHwnd(), {x, y});
        plat::InjectMouseButton(plat::MouseButton::Left, true, at);
        plat::InjectMouseButton(plat::MouseButton::Left, false, at);
    }
    static void Click(const CFrame& frame)
    {
        const CRect& r = frame.GetDrawnRect();
        QueueClick(r.GetLeft() + r.GetWidth() / 2, r.GetTop() + r.GetHeight() / 2);
    }

    SceneStandIn* scene = nullptr;
};

TEST_F(LandmarkCharacterScreen, TheFerrymanPlaysHisClipAndAClickAsksForHisNextList)
{
    CLmCharFrm* ferryman = Place(10130);
    ASSERT_NE(ferryman, nullptr);
    ASSERT_TRUE(ferryman->HasVideo()) << "the clip opened";
    EXPECT_EQ(ferryman->GetDrawnRect(), CRect(120, 100, 280, 220));
    EXPECT_EQ(scene->captions.size(), 1u);

    // Six frames at 6 a second: the fourth shows after half a second (30 ticks).
    Tick(30);
    EXPECT_TRUE(ferryman->GetVideo()->IsPlaying());
    shelltest::ExpectGameWindowGolden("landmark-ferryman.png", 400);

    // His continue value names person 3, who travels with the sample trip.
    const auto* travel = GetModuleMgr()->GetModuleAs<CTravel>(CModuleMgr::kTravel);
    ASSERT_TRUE(travel->IsPersonListed(3));
    Click(*ferryman);
    Tick(2);
    EXPECT_EQ(scene->lists, (std::vector<int32_t>{60136}));
}

TEST_F(LandmarkCharacterScreen, TheTradersPopupAddsAPersonAndTheWandererPlaysOneOfHisClips)
{
    CLmCharFrm* trader = Place(10131);
    ASSERT_NE(trader, nullptr);
    EXPECT_TRUE(trader->HasVideo());
    CLmCharFrm* wanderer = Place(10132);
    ASSERT_NE(wanderer, nullptr);
    EXPECT_TRUE(wanderer->HasVideo());
    Tick(2);

    // The popup opens beside the trader, pulled back inside the screen's 640 columns (641 less
    // its width of 260), and its "Flora Kemp" button adds person 14 to the party.
    CParty* party = GetModuleMgr()->GetModuleAs<CTravel>(CModuleMgr::kTravel)->GetParty();
    ASSERT_EQ(party->GetMember(1), nullptr);
    Click(*trader);
    QueueClick(381 + 60, 200 + 92);
    Tick(2);
    ASSERT_NE(party->GetMember(1), nullptr);
    EXPECT_EQ(party->GetMember(1)->GetId(), 14);
    EXPECT_EQ(scene->lists, (std::vector<int32_t>{10137}));
}

} // namespace
