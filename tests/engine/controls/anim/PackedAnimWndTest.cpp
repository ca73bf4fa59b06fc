#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "engine/controls/TplList.h"
#include "engine/controls/anim/PackedAnimWnd.h"
#include "engine/controls/kinds/TemplateKinds.h"
#include "engine/framework/Message.h"
#include "engine/framework/Stopwatch.h"
#include "engine/graphics/FrameSet.h"
#include "engine/graphics/OffScEnv.h"
#include "platform/Input.h"
#include "tests/engine/controls/WindowsKit.h"
#include "tests/engine/controls/anim/AnimTestKit.h"
#include "tests/engine/graphics/PixelText.h"
#include "tests/engine/resources/DefinitionText.h"
#include "tests/support/FrameStripFixtures.h"
#include "tests/support/TestEnv.h"

namespace {

using Rows = std::vector<std::string>;
using wtest::Str;

// An "IMV" of `frames` frames of 4 x 2 pixels, frame i filled with colour base + i.
std::string Strip(int frames, int base)
{
    std::vector<qmtest::FrameSpec> specs;
    for (int i = 0; i < frames; ++i)
        specs.push_back(qmtest::CodedFrame(4, 2, std::vector<uint8_t>(8, static_cast<uint8_t>(base + i))));
    const std::vector<uint8_t> bytes = qmtest::MakeFrameStrip(specs);
    return std::string(bytes.begin(), bytes.end());
}

// Strips 10-12 of two frames each (colours 10-11, 20-21, 30-31), strip 20 of eight frames
// (colours 1-8) with a cue list that waits 10 ticks at frame 1, strip 30 of two frames with
// no cue list.
class PackedAnimWndTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        deftext::InstallEngineStrings();
        RegisterAllTemplateKinds();
        deftext::AddFolderLibrary({{"IMV", 10, Strip(2, 10)},
                                   {"IMV", 11, Strip(2, 20)},
                                   {"IMV", 12, Strip(2, 30)},
                                   {"IMV", 20, Strip(8, 1)},
                                   {"IMV", 30, Strip(2, 40)},
                                   {"MCD", 0, "list short long long long long endlist"},
                                   {"MCD", 20, "-43, 1, 0, 10, 0,\n"}});
    }

    static CPackedAnimWnd::Options Options(int32_t first, int32_t last, int32_t swiftness = 1)
    {
        CPackedAnimWnd::Options o;
        o.firstId = first;
        o.lastId = last;
        o.swiftness = swiftness;
        o.libraryMask = 0xFFFFFFFF;
        return o;
    }

    // Runs the animation's timer once a tick for `ticks` ticks; notes "id/frame" after each.
    static std::string Run(CPackedAnimWnd& anim, int ticks)
    {
        std::string log;
        for (int t = 0; t < ticks; ++t) {
            if (anim.GetTimer())
                anim.OnTimer();
            (log += log.empty() ? "" : " ") +=
                std::to_string(anim.GetCurrentId()) + "/" + std::to_string(anim.GetFrameIndex());
            qmtest::Clock().Advance(17);
        }
        return log;
    }
};

} // namespace

TEST_F(PackedAnimWndTest, ScaleSizesTheFrameAndChoosesTheDrawingPath)
{
    struct Case {
        int16_t scaleBy;
        const char* bounds;
        int16_t scale;
    } cases[] = {
        {100, "5,6,7,10", 10}, {200, "5,6,9,14", 20}, {150, "5,6,7,10", 15}, // 15 / 10 multiplies by 1
    };
    for (const Case& c : cases) {
        CPackedAnimWnd::Options o = Options(10, 10);
        o.scaleBy = c.scaleBy;
        CPackedAnimWnd anim(1, CPoint(6, 5), o);
        EXPECT_EQ(Str(anim.GetBounds()), c.bounds) << c.scaleBy;
        EXPECT_EQ(anim.GetScale(), c.scale);
        EXPECT_EQ(anim.GetLastFrameIndex(), 1);
        COffScEnv env;
        env.Init(CRect(0, 0, 12, 16), nullptr, false);
        anim.DrawContent(&env, anim.GetDrawnRect());
        const Rows rows = qmtest::Pixels(*env.GetBitmap());
        EXPECT_EQ(rows[5].substr(5, 10), c.scaleBy == 200 ? ".aaaaaaaa." : ".aaaa.....") << c.scaleBy;
    }
    // In a rectangle the size stays unless scaled.
    CPackedAnimWnd inRect(2, CRect(0, 0, 30, 40), Options(10, 10));
    EXPECT_EQ(Str(inRect.GetBounds()), "0,0,30,40");
    CPackedAnimWnd::Options doubled = Options(10, 10);
    doubled.scaleBy = 200;
    CPackedAnimWnd scaledRect(3, CRect(1, 2, 30, 40), doubled);
    EXPECT_EQ(Str(scaledRect.GetBounds()), "1,2,5,10");
}

TEST_F(PackedAnimWndTest, ChainsPlayTheirStripsInTurnAndLoopsEndOnTheLastFrame)
{
    CPackedAnimWnd chain(1, CPoint(0, 0), Options(10, 12));
    chain.Play(true);
    EXPECT_EQ(Run(chain, 7), "10/1 11/0 11/1 12/0 12/1 10/0 10/1");
    EXPECT_TRUE(chain.IsPlaying());

    CPackedAnimWnd::Options once = Options(10, 10);
    once.loopLimit = 1;
    CPackedAnimWnd single(2, CPoint(0, 0), once);
    single.Play(true);
    EXPECT_EQ(Run(single, 4), "10/1 10/1 10/1 10/1");
    EXPECT_FALSE(single.IsPlaying());
    EXPECT_EQ(single.GetLoopCount(), 1);
}

TEST_F(PackedAnimWndTest, TheLoopCountIsSetOnlyAtConstruction)
{
    CPackedAnimWnd::Options twice = Options(10, 11);
    twice.loopLimit = 2;
    CPackedAnimWnd anim(1, CPoint(0, 0), twice);
    anim.Play(true);
    EXPECT_EQ(Run(anim, 9), "10/1 11/0 11/1 10/0 10/1 11/0 11/1 11/1 11/1");
    EXPECT_FALSE(anim.IsPlaying());
    // A later play stops at the end of its first pass.
    anim.Play(true);
    EXPECT_EQ(Run(anim, 5), "10/1 11/0 11/1 11/1 11/1");
    EXPECT_EQ(anim.GetLoopCount(), 3);
}

TEST_F(PackedAnimWndTest, OnTheRealClockLateTicksCatchUp)
{
    struct Case {
        int32_t swiftness;
        uint32_t flags;
        int lateTicks;
        int32_t frameAfter;
    } cases[] = {
        {5, CEventObj::kFlagRealClock, 23, 6}, // frame 1 after the first step, then 23 / 5 + 1 = 5
        {5, 0, 23, 2},                         // the game clock does not catch up
        {0, CEventObj::kFlagRealClock, 23, 2}, // swiftness 0: one step a pass
    };
    for (const Case& c : cases) {
        CPackedAnimWnd anim(1, CPoint(0, 0), Options(20, 20, c.swiftness));
        anim.SetFlags(anim.GetFlags() | c.flags);
        anim.Play(true);
        EXPECT_EQ(anim.GetClock(), c.flags ? GetRealClock() : GetGameClock());
        anim.OnTimer();
        EXPECT_EQ(anim.GetFrameIndex(), 1);
        EXPECT_EQ(anim.GetNextDue(), anim.GetClockTime() + static_cast<uint32_t>(c.swiftness));
        qmtest::Clock().Advance(17 * static_cast<uint64_t>(c.swiftness + c.lateTicks));
        anim.OnTimer();
        EXPECT_EQ(anim.GetFrameIndex(), c.frameAfter) << c.swiftness << "/" << c.flags;
    }
}

TEST_F(PackedAnimWndTest, AWaitCueHoldsTheAnimationForItsTicksAndAMissingCueListPlaysWithout)
{
    CPackedAnimWnd::Options cued = Options(20, 20);
    cued.cueList = true;
    CPackedAnimWnd anim(1, CPoint(0, 0), cued);
    ASSERT_TRUE(anim.GetCueList() && anim.GetCueList()->IsActive());
    anim.Play(true);
    // The cue at frame 1 waits 10 ticks from the step that showed frame 1.
    EXPECT_EQ(Run(anim, 14), "20/1 20/2 20/2 20/2 20/2 20/2 20/2 20/2 20/2 20/2 20/2 20/3 20/4 20/5");

    CPackedAnimWnd::Options uncued = Options(30, 30);
    uncued.cueList = true;
    CPackedAnimWnd plain(2, CPoint(0, 0), uncued);
    ASSERT_TRUE(plain.GetCueList());
    EXPECT_FALSE(plain.GetCueList()->IsActive());
    plain.Play(true);
    EXPECT_EQ(Run(plain, 3), "30/1 30/0 30/1");
}

TEST_F(PackedAnimWndTest, PlayMessagesAndAutoplayStartIt)
{
    CPackedAnimWnd anim(1, CPoint(0, 0), Options(20, 20, 3));
    CMessage play(CPackedAnimWnd::kMsgPlay, 7);
    EXPECT_TRUE(anim.HandleMessage(play, nullptr));
    EXPECT_TRUE(anim.IsPlaying());
    EXPECT_EQ(anim.GetSwiftness(), 7);
    EXPECT_EQ(anim.GetFrameIndex(), 1); // at frame 0 it goes on from frame 1
    anim.Stop(false);
    anim.GotoFrame(4);
    CMessage again(CPackedAnimWnd::kMsgPlay, 0);
    anim.HandleMessage(again, nullptr);
    EXPECT_EQ(anim.GetFrameIndex(), 0); // elsewhere it restarts
    EXPECT_EQ(anim.GetSwiftness(), 7);
    CMessage other(-41);
    EXPECT_FALSE(anim.HandleMessage(other, nullptr));
    anim.Stop(true);
    EXPECT_FALSE(anim.IsPlaying());
    EXPECT_EQ(anim.GetTimer(), nullptr);

    CPackedAnimWnd::Options autoplay = Options(20, 20);
    autoplay.autoplay = true;
    CPackedAnimWnd automatic(2, CPoint(0, 0), autoplay);
    COffScEnv env;
    env.Init(CRect(0, 0, 10, 10), nullptr, false);
    automatic.DrawContent(&env, automatic.GetDrawnRect());
    EXPECT_TRUE(automatic.IsPlaying());
    automatic.Stop(false);
    automatic.DrawContent(&env, automatic.GetDrawnRect());
    EXPECT_FALSE(automatic.IsPlaying()); // only the first draw plays it
    automatic.Hide(false, false);
    automatic.Show(false);
    automatic.DrawContent(&env, automatic.GetDrawnRect());
    EXPECT_TRUE(automatic.IsPlaying()); // a hide arms it again
}

TEST_F(PackedAnimWndTest, ClicksActByTheClickAction)
{
    struct Case {
        int16_t action;
        bool playing;
        int32_t frameBefore;
        bool playingAfter;
        int32_t frameAfter;
    } cases[] = {
        {1, true, 2, true, 7},                            // skips to the last frame
        {1, false, 2, false, 2},                          // not while stopped
        {2, false, 5, true, 0},                           // plays from the start
        {3, true, 2, false, 2},                           // stops a playing one
        {3, true, 7, true, 7},                            // at the end it plays on
        {3, false, 2, true, 2},  {0, false, 2, false, 2}, // no action
    };
    for (const Case& c : cases) {
        animtest::TestScreen screen(100, 50);
        const std::unique_ptr<CWind>& window = screen.window;
        CPackedAnimWnd::Options o = Options(20, 20);
        o.clickAction = c.action;
        auto* anim = new CPackedAnimWnd(1, CPoint(10, 10), o);
        screen.root->AddChild(anim, false);
        anim->GotoFrame(c.frameBefore);
        if (c.playing)
            anim->Play(false);
        wtest::PumpAll();
        plat::InjectMouseButton(plat::MouseButton::Left, true, wtest::ScreenOf(*window, 11, 11));
        plat::InjectMouseButton(plat::MouseButton::Left, false, wtest::ScreenOf(*window, 11, 11));
        wtest::PumpAll();
        EXPECT_EQ(anim->IsPlaying(), c.playingAfter) << c.action << "/" << c.playing << "/" << c.frameBefore;
        EXPECT_EQ(anim->GetFrameIndex(), c.frameAfter)
            << c.action << "/" << c.playing << "/" << c.frameBefore;
    }
}

// Kind 7 after the frame values: notifywhoid, imgid, imglibmask, swiftness, tmp (cue list),
// tmp (autoplay), loop, scaleby, on_click.
TEST_F(PackedAnimWndTest, TemplatesPlaceItAtAPointOrInARectangle)
{
    const std::string text = "1, 1, 0, 9, 0,0, 0,0, 0, 0, 100, 200\n"
                             "7, 2, 1, 0x109, 0,0, 0,0, 40, 50, -1, -1, 300, 20, -1, 4, 1, 1, 3, 200, 2\n"
                             "7, 3, 1, 9, 0,0, 0,0, 10, 20, 30, 60, 0, 10, -1, 1, 0, 0, 0, 100, 0\n";
    CTplList list(deftext::MakeBlock(text, "TPL", 1), nullptr);
    std::unique_ptr<CFrame> root(static_cast<CFrame*>(list.Build(nullptr, nullptr, 0)));
    auto* atPoint = dynamic_cast<CPackedAnimWnd*>(root->FindObject(CBaseObj::kAnyKind, 2));
    auto* inRect = dynamic_cast<CPackedAnimWnd*>(root->FindObject(CBaseObj::kAnyKind, 3));
    ASSERT_TRUE(atPoint && inRect);
    EXPECT_EQ(Str(atPoint->GetBounds()), "40,50,44,58");
    EXPECT_EQ(atPoint->GetSwiftness(), 4);
    EXPECT_TRUE(atPoint->GetCueList() && atPoint->GetCueList()->IsActive());
    EXPECT_TRUE(atPoint->TakesInput());
    EXPECT_EQ(Str(inRect->GetBounds()), "10,20,30,60");
    EXPECT_EQ(inRect->GetCueList(), nullptr);
    EXPECT_FALSE(inRect->IsFirstDrawPending() && inRect->IsPlaying());
    EXPECT_NE(deftext::FatalReport([] { CPackedAnimWnd missing(4, CPoint(0, 0), Options(99, 99)); }),
              "(no report)");
}

TEST_F(PackedAnimWndTest, EveryStripOfATransparentChainDrawsTransparent)
{
    CPackedAnimWnd chain(1, CPoint(0, 0), Options(10, 12));
    chain.SetFlags(chain.GetFlags() | CFrame::kFlagTransparent);
    COffScEnv env;
    env.Init(CRect(0, 0, 4, 8), nullptr, false);
    chain.DrawContent(&env, chain.GetDrawnRect());
    EXPECT_EQ(chain.GetFrameSet()->GetRecord().proc, &DrawTransparent);
    chain.Play(false);
    Run(chain, 3); // on to strip 11
    ASSERT_EQ(chain.GetCurrentId(), 11);
    EXPECT_EQ(chain.GetFrameSet()->GetRecord().proc, &DrawTransparent);
}
