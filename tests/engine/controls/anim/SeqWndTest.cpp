#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "engine/controls/TplList.h"
#include "engine/controls/anim/SeqWnd.h"
#include "engine/controls/anim/Sequence.h"
#include "engine/controls/kinds/TemplateKinds.h"
#include "engine/framework/Appl.h"
#include "engine/framework/Stopwatch.h"
#include "engine/graphics/CachedImages.h"
#include "engine/graphics/OffScEnv.h"
#include "engine/graphics/RleStretchDraw.h"
#include "tests/engine/controls/WindowsKit.h"
#include "tests/engine/controls/anim/AnimTestKit.h"
#include "tests/engine/graphics/PixelText.h"
#include "tests/engine/resources/DefinitionText.h"
#include "tests/support/FrameStripFixtures.h"
#include "tests/support/RleFixtures.h"
#include "tests/support/TestEnv.h"

namespace {

using namespace animtest;
using Rows = std::vector<std::string>;
using wtest::Str;

// "RLS" 30: cel 0 is 4 x 2 of colour 1, cel 1 is 6 x 3 of colour 2 with its left column
// transparent, cel 2 is 2 x 2 of colour 3.
class SeqWndTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        deftext::InstallEngineStrings();
        RegisterAllTemplateKinds();
        const std::vector<uint8_t> rls =
            qmtest::MakeRls({{2, 4, {0x03, 1, 0x03, 1}},
                             {3, 6, {0x00, 0, 0x04, 2, 0x00, 0, 0x04, 2, 0x00, 0, 0x04, 2}},
                             {2, 2, {0x01, 3, 0x01, 3}}});
        const std::vector<uint8_t> cbm =
            qmtest::MakeFrameStrip({qmtest::CodedFrame(3, 2, std::vector<uint8_t>(6, 5))});
        deftext::AddFolderLibrary({{"RLS", 30, Text(rls)}, {"CBM", 33, Text(cbm)}});
    }

    static CImgSet* Sprites() { return LoadRleImgSet(nullptr, 30, 0xFFFFFFFF, -1, false).release(); }

    // An element at (100, 50) over the sequence and cel table, owning them.
    std::unique_ptr<CSeqWnd> Element(const std::vector<Anim>& anims, const std::vector<Frame>& frames,
                                     const std::vector<std::pair<int, int>>& anchors = {})
    {
        seqBlock = qmtest::BlockOf(SeqBytes(anims, frames));
        celBlock = qmtest::BlockOf(CelBytes(anchors));
        return std::make_unique<CSeqWnd>(1, CPoint(100, 50), nullptr, Sprites(),
                                         new CSequence(seqBlock.get()), new CCelTable(celBlock.get()), 0x10,
                                         true, true, 0);
    }

    // Steps the element once a tick for `ticks` ticks, noting each tick on which the cel or
    // the bounds changed: "tick:cel@top,left,bottom,right".
    static std::string Run(CSeqWnd& element, int ticks)
    {
        std::string log;
        std::string last = std::to_string(element.GetCel()) + "@" + Str(element.GetBounds());
        for (int t = 0; t < ticks; ++t) {
            element.Step();
            const std::string now = std::to_string(element.GetCel()) + "@" + Str(element.GetBounds());
            if (now != last || element.GetFramesRemaining() < 0)
                (log += log.empty() ? "" : " ") += std::to_string(t) + ":" + now;
            last = now;
            qmtest::Clock().Advance(17);
        }
        return log;
    }

    std::unique_ptr<CMemory> seqBlock, celBlock;
};

} // namespace

TEST_F(SeqWndTest, FramesLastTheirTicksOrTheAnimationsAndTheFirstIsDueAtOnce)
{
    // Animation 0 loops on itself: frame 0 (ticks 0: the animation's 4), frame 1 (its own 5).
    auto element = Element({{0, 0, 4, 2}}, {{1, 0, 0, 0, 0, 0}, {2, 0, 0, 0, 5, 0}});
    EXPECT_EQ(element->GetAnimation(), CSeqWnd::kNoAnimation);
    EXPECT_EQ(Run(*element, 3), ""); // no animation: nothing steps
    element->SetAnimation(0);
    EXPECT_EQ(Run(*element, 15), "0:1@50,100,53,106 4:2@50,100,52,102 9:1@50,100,53,106 13:2@50,100,52,102");
}

TEST_F(SeqWndTest, AnchorsPlaceTheCelAndFlippingMirrorsAnchorsAndMoves)
{
    struct Case {
        bool flipped;
        const char* steps;
    } cases[] = {
        // Cel 0 (4 wide) anchored at (1, 2); the frame moves by (5, -1) after showing it.
        // Cel 1 (6 x 3) then sits with its anchor (1, 4) on the moved point (105, 49).
        {false, "0:0@47,104,49,108 1:1@45,104,48,110"},
        // Flipped: anchor h becomes 4 - 1 = 3 (then 6 - 1 = 5) and the move goes left.
        {true, "0:0@47,92,49,96 1:1@45,90,48,96"},
    };
    for (const Case& c : cases) {
        auto element = Element({{0, 0, 1, 2}}, {{0, 5, -1, 0, 0, 0}, {1, 0, 0, 0, 0, 0}}, {{1, 2}, {1, 4}});
        element->SetFlipped(c.flipped);
        element->SetAnimation(0);
        EXPECT_EQ(Run(*element, 2), c.steps) << c.flipped;
    }
}

TEST_F(SeqWndTest, ChainsFollowTheirNextAnimation)
{
    struct Case {
        const char* what;
        std::vector<Anim> anims;
        int16_t start;
        int ticks;
        const char* steps;
        int16_t animationAfter;
    } cases[] = {
        // Animation 1 ends with 255: the element goes on with animation 0 in the same tick.
        {"255 then 0", {{0, 0, 1, 1}, {1, 255, 1, 1}}, 1, 3, "0:1@50,100,53,106 1:0@50,100,52,104", 0},
        // Animation 0 has no frames and leads to 1.
        {"frameless link", {{0, 1, 1, 0}, {2, 1, 1, 1}}, 0, 2, "0:2@50,100,52,102", 1},
        // A chain without frames ends the animation instead of looping for ever.
        {"frameless chain", {{0, 1, 1, 0}, {1, 0, 1, 0}}, 0, 3, "", CSeqWnd::kNoAnimation},
        {"frameless 255", {{0, 255, 1, 0}}, 0, 3, "", CSeqWnd::kNoAnimation},
        // An animation or frame outside the sequence ends the animation.
        {"next out of range", {{0, 7, 1, 1}}, 0, 3, "", CSeqWnd::kNoAnimation},
        {"frame out of range", {{2, 0, 1, 2}}, 0, 3, "0:2@50,100,52,102", CSeqWnd::kNoAnimation},
        {"start out of range", {{0, 0, 1, 1}}, 5, 2, "", CSeqWnd::kNoAnimation},
    };
    for (const Case& c : cases) {
        auto element = Element(c.anims, {{0, 0, 0, 0, 0, 0}, {1, 0, 0, 0, 0, 0}, {2, 0, 0, 0, 0, 0}});
        element->SetAnimation(c.start);
        const std::string steps = Run(*element, c.ticks);
        // A cel shown at the construction stays when nothing steps.
        EXPECT_EQ(steps, c.steps) << c.what;
        EXPECT_EQ(element->GetAnimation(), c.animationAfter) << c.what;
    }
}

TEST_F(SeqWndTest, APendingAnimationIsSelectedWhileHiddenButPlaysOnlyWhenShown)
{
    auto element = Element({{0, 0, 1, 1}, {1, 1, 3, 1}}, {{0, 0, 0, 0, 0, 0}, {2, 0, 0, 0, 0, 0}});
    element->Hide(false, false);
    element->QueueAnimation(1);
    EXPECT_EQ(Run(*element, 2), "");
    EXPECT_EQ(element->GetAnimation(), 1);
    EXPECT_EQ(element->GetQueuedAnimation(), -1);
    element->Show(false);
    EXPECT_EQ(Run(*element, 1), "0:2@50,100,52,102"); // the clock ran on: due at once
}

TEST_F(SeqWndTest, FrameSoundsGoToTheApplicationAndLateTicksAreNotMadeUp)
{
    SoundAppl appl;
    auto element = Element({{0, 0, 4, 2}}, {{0, 0, 0, 45, 0, 0}, {1, 0, 0, 0, 0, 3}});
    element->SetAnimation(0);
    element->Step();
    EXPECT_EQ(appl.log, (std::vector<std::string>{"play 45/16/1"}));
    qmtest::Clock().Advance(17 * 10); // six ticks late
    element->Step();
    EXPECT_EQ(element->GetCel(), 1);
    EXPECT_EQ(element->GetZ(), 3); // dz moves the element's z
    EXPECT_EQ(element->GetNextDue(), GetGameClock()->Elapsed() + 4);
    element->Step();
    EXPECT_EQ(element->GetCel(), 1); // not made up: the next frame waits its 4 ticks
    EXPECT_EQ(appl.log.size(), 1u);
}

namespace {

// A play field's frame: it carries drawing data for the sprites drawn through it.
class FieldFrame : public CFrame {
public:
    FieldFrame(int32_t id, const CRect& rect, void* data) : CFrame(4, id, rect, false), data_(data) {}
    void* GetAltDrawData() override { return data_; }

private:
    void* data_;
};

struct DrawCall {
    intptr_t params[9];
};
std::vector<DrawCall> g_calls;

void RecordingProc(void* source, CDibSect* dest, const CRect& position, DrawRecord* record)
{
    DrawCall call{};
    for (int i = 0; i < 8; ++i)
        call.params[i] = record->params[i];
    call.params[8] = record->param8;
    g_calls.push_back(call);
    DrawRleStretched(source, dest, position, record);
}

} // namespace

TEST_F(SeqWndTest, CelsDrawThroughThePlayFieldWhenTheAnimatorCarriesData)
{
    // The play field's data is the priority mask the cel is drawn behind: 255 lets every
    // pixel through.
    std::unique_ptr<CDibSect> mask = qmtest::MakeBitmap(110, 60, 255);
    CDibSect* data = mask.get();
    FieldFrame field(77, CRect(0, 0, 60, 103), data);
    FieldFrame plain(78, CRect(0, 0, 60, 103), nullptr);
    g_calls.clear();
    SetPlayfieldCelProc(RecordingProc);
    for (CFrame* animator : {static_cast<CFrame*>(&field), static_cast<CFrame*>(&plain)}) {
        CAnimatorWnd element(1, CPoint(100, 50), animator, Sprites(), true, 0);
        element.MoveBy(0, 0, 9);
        element.SetFlipped(true);
        element.SetCel(1, 0, 0, 0);
        COffScEnv env;
        env.Init(CRect(0, 0, 60, 110), nullptr, false);
        element.DrawContent(&env, element.GetDrawnRect());
        EXPECT_EQ(element.GetDrawnCel(), 1);
        EXPECT_TRUE(element.IsDrawnFlipped());
        EXPECT_FALSE(element.IsChanged());
        // Flipped: anchor 0 becomes 6, so the 6 x 3 cel spans 94..100, clipped at the
        // animator's right edge 103 (nothing cut here) and mirrored: the transparent column
        // lands on the right.
        EXPECT_EQ(Str(element.GetDrawnRect()), "50,94,53,100");
        const Rows rows = qmtest::Pixels(*env.GetBitmap());
        EXPECT_EQ(rows[50].substr(93, 8), ".22222..") << element.GetAnimator()->GetId();
    }
    ASSERT_EQ(g_calls.size(), 1u); // only the animator with data draws through the play field
    const DrawCall& c = g_calls[0];
    EXPECT_EQ(c.params[0], 1);
    EXPECT_EQ(c.params[1], reinterpret_cast<intptr_t>(&field.GetDrawnRect()));
    EXPECT_EQ(c.params[2], 1);
    EXPECT_EQ(c.params[3], 0);
    EXPECT_EQ(c.params[4], reinterpret_cast<intptr_t>(data));
    EXPECT_EQ(c.params[5], 9);
    SetPlayfieldCelProc(nullptr);
    EXPECT_EQ(GetPlayfieldCelProc(), &DrawRleStretched);
}

TEST_F(SeqWndTest, TheAnimatorRectangleClipsTheCel)
{
    CFrame animator(4, 5, CRect(0, 0, 60, 102), false);
    CAnimatorWnd element(1, CPoint(100, 50), &animator, Sprites(), true, 0);
    COffScEnv env;
    env.Init(CRect(0, 0, 60, 110), nullptr, false);
    element.DrawContent(&env, element.GetDrawnRect());
    EXPECT_EQ(qmtest::Pixels(*env.GetBitmap())[50].substr(99, 6), ".11...");

    // Without an animator object the element's own rectangle is the limit and the game
    // clock its clock.
    CAnimatorWnd alone(2, CPoint(100, 50), nullptr, Sprites(), true, 33);
    EXPECT_EQ(alone.GetStopwatch(), GetGameClock());
    EXPECT_EQ(&alone.GetAnimatorRect(), &alone.GetDrawnRect());
}

// Kind 0x30 after the frame values: imgid, imglibmsk, frmindex, "animator id", "z pos",
// "isflipped", "sequence", "sndlibmask", "seq id", "seqlibmask", "cel id", "cellibmask".
TEST_F(SeqWndTest, TemplatesBuildAFlippedElementAtItsZPlayingItsSequence)
{
    deftext::AddFolderLibrary(
        {{"SEQ", 31, Text(SeqBytes({{0, 0, 2, 1}, {1, 1, 2, 1}}, {{0, 0, 0, 0, 0, 0}, {1, 3, 0, 0, 0, 0}}))},
         {"CEL", 32, Text(CelBytes({{0, 0}, {2, 1}}))}},
        "More");
    const std::string text =
        "1, 1, 0, 9, 0,0, 0,0, 0, 0, 100, 200\n"
        "0x30, 2, 1, 11, 0,0, 0,0, 40, 50, 0, 0, 30, -1, 0, 1, 7, 1, 1, 0x20, 31, -1, 32, -1\n";
    CTplList list(deftext::MakeBlock(text, "TPL", 1), nullptr);
    std::unique_ptr<CFrame> root(static_cast<CFrame*>(list.Build(nullptr, nullptr, 0)));
    auto* element = dynamic_cast<CSeqWnd*>(root->FindObject(CBaseObj::kAnyKind, 2));
    ASSERT_TRUE(element);
    EXPECT_TRUE(element->IsFlipped());
    EXPECT_EQ(element->GetZ(), 7);
    EXPECT_EQ(element->GetAnimation(), 1);
    EXPECT_EQ(element->GetSoundLibMask(), 0x20u);
    EXPECT_EQ(element->GetAnimatorId(), 1);
    EXPECT_EQ(Str(element->GetBounds()), "40,50,42,54"); // cel 0 with anchor (0, 0)
    element->Step();
    // Cel 1 (6 wide) with its anchor (2, 1) mirrored to (4, 1), then 3 pixels to the left.
    EXPECT_EQ(Str(element->GetBounds()), "39,43,42,49");

    const std::string missing =
        "0x30, 2, 0, 11, 0,0, 0,0, 40, 50, 0, 0, 30, -1, 0, 0, 0, 0, 0, 0, 31, -1, 99, -1\n";
    CTplList bad(deftext::MakeBlock(missing, "TPL", 2), nullptr);
    EXPECT_NE(deftext::FatalReport([&] { delete bad.Build(nullptr, nullptr, 0); }), "(no report)");
}

TEST_F(SeqWndTest, AnElementFindsItsAnimatorObjectByIdWhenItJoinsAWindow)
{
    TestScreen screen(200, 100);
    CFrame* root = screen.root;
    auto* field = new CFrame(4, 77, CRect(10, 10, 90, 190), false);
    root->AddChild(field, false);
    field->StartTimer(5, GetRealClock());
    auto* found = new CAnimatorWnd(1, CPoint(20, 20), nullptr, Sprites(), true, 77);
    auto* lost = new CAnimatorWnd(2, CPoint(20, 20), nullptr, Sprites(), true, 78);
    EXPECT_EQ(found->GetAnimator(), nullptr);
    field->AddChild(found, false);
    root->AddChild(lost, false);
    EXPECT_EQ(found->GetAnimator(), field);
    EXPECT_EQ(found->GetStopwatch(), GetRealClock()); // the animator's clock
    EXPECT_EQ(&found->GetAnimatorRect(), &field->GetDrawnRect());
    EXPECT_EQ(lost->GetAnimator(), nullptr);
    EXPECT_EQ(lost->GetStopwatch(), GetGameClock());
}

TEST_F(SeqWndTest, PicturesThatAreNotSpritesDrawAsAnImageWindowDoes)
{
    // The sprite routines read only run-length cels: a picture keeps its own copy.
    CAnimatorWnd element(1, CPoint(2, 1), nullptr,
                         LoadCbmImgSet(nullptr, 33, 0xFFFFFFFF, -1, false).release(), true, 0);
    COffScEnv env;
    env.Init(CRect(0, 0, 4, 6), nullptr, false);
    element.DrawContent(&env, element.GetDrawnRect());
    EXPECT_EQ(qmtest::Pixels(*env.GetBitmap()), (Rows{"......", "..555.", "..555.", "......"}));
    EXPECT_FALSE(element.IsChanged());
}
