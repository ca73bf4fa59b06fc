// The scene classes of the river screens: scene objects and their sound, the scene settings
// with their picked lines, scene animations, image strips over a picture, the animator figure
// and LongToText.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "engine/controls/Frame.h"
#include "engine/controls/anim/SeqWnd.h"
#include "engine/graphics/DibSect.h"
#include "engine/graphics/ImgSet.h"
#include "engine/graphics/OffScEnv.h"
#include "engine/resources/FoldLib.h"
#include "engine/resources/LibMgr.h"
#include "game/base/SoundSlots.h"
#include "game/travel/AnimFigure.h"
#include "game/travel/BmpStrip.h"
#include "game/travel/LongToText.h"
#include "game/travel/SceneAnim.h"
#include "game/travel/SceneObj.h"
#include "game/travel/SceneSeqWnd.h"
#include "tests/engine/controls/anim/AnimTestKit.h"
#include "tests/game/base/FakeSound.h"
#include "tests/game/travel/TravelFixture.h"
#include "tests/support/FolderLibraryWriter.h"
#include "tests/support/FrameStripFixtures.h"
#include "tests/support/LibraryFixtures.h"
#include "tests/support/RleFixtures.h"
#include "tests/support/TestEnv.h"

namespace {

using shelltest::FakeSound;
using shelltest::Log;

// Scene records 40-45, a 5 x 3 picture "CBM" 50 whose row y holds 10y + x, a sprite "RLS" 60
// of two cels with its sequence and cel table.
class SceneTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        qmtest::UseTempDirAsDriveC();
        qmtest::FolderLibraryWriter lib(qmtest::TempDir() / "Scene.qmd");
        lib.Add("STR", 40,
                "\"Ferry\" \"  # a comment line\" \"the crossing\" \"621\" \"90 ; level\" \"7\"\n");
        lib.Add("STR", 41, "\"Quiet\" \"still\" \"0\" \"50\"\n");
        lib.Add("STR", 42,
                "\"River\" \"Bank\" \"-1\" \"40\" \"3\" \"1\" \"270\" \"0\" \"80\" \"900\" \"5\" \"6\" \"1\" "
                "\"34\"\n"
                "\"calm water\" \".\"\n"                            // one line: always taken
                "\".\"\n"                                           // empty: none
                "\"rapids\" \"falls\" \"eddies\" \".\"\n"           // three: one drawn
                "\"last\"\n");                                      // the record ends the group
        lib.Add("STR", 43, "\"Short\" \"x\" \"0\" \"10\" \"2\"\n"); // lines 6-14 missing
        lib.Add("STR", 60, "\"Heron\" \"wading\" \"622\" \"6\" \"0\" \"12\"\n");
        std::vector<uint8_t> pixels;
        for (int y = 0; y < 3; ++y)
            for (int x = 0; x < 5; ++x)
                pixels.push_back(static_cast<uint8_t>(10 * y + x));
        lib.Add("CBM", 50, qmtest::MakeFrameStrip({qmtest::CodedFrame(5, 3, pixels)}));
        lib.Add("CBM", 51,
                qmtest::MakeFrameStrip({qmtest::CodedFrame(256, 257, std::vector<uint8_t>(256 * 257, 7))}));
        const qmtest::RleCelSpec cel{3, 6, {0x00, 0, 0x04, 2, 0x00, 0, 0x04, 2, 0x00, 0, 0x04, 2}};
        lib.Add("RLS", 60, qmtest::MakeRls({cel, cel}));
        lib.Add(
            "SEQ", 60,
            animtest::Text(animtest::SeqBytes({{0, 255, 2, 2}}, {{0, 0, 0, 0, 0, 0}, {1, 0, 0, 0, 0, 0}})));
        lib.Add("CEL", 60, animtest::Text(animtest::CelBytes({{0, 0}, {0, 0}})));
        GetLibMgr()->AddLibrary(std::make_unique<CFoldLib>(qmtest::EnginePath(lib.Folder()).c_str()));
        SetSoundFactory([this](int32_t id, bool streamed) -> std::unique_ptr<CSndObj> {
            return std::make_unique<FakeSound>(id, streamed, sounds, 0);
        });
    }
    void TearDown() override
    {
        DeleteAllSounds(); // while the log they write to lives
        SetSoundFactory(nullptr);
    }

    Log sounds;
};

TEST_F(SceneTest, ASceneObjectReadsItsRecordAndPlaysItsSoundAsLoopingMusic)
{
    CSceneObj scene(40);
    EXPECT_EQ(scene.GetSoundId(), -1);
    EXPECT_EQ(scene.GetSecondNumber(), -1);
    scene.Load();
    ASSERT_NE(scene.GetLine1(), nullptr);
    EXPECT_STREQ(scene.GetLine1()->GetText(), "Ferry");
    EXPECT_STREQ(scene.GetLine2()->GetText(), "the crossing"); // the comment line is passed over
    EXPECT_EQ(scene.GetSoundId(), 621);
    EXPECT_EQ(scene.GetSoundLevel(), 90);
    EXPECT_EQ(scene.GetSecondNumber(), 7);

    scene.PlaySound();
    EXPECT_TRUE(scene.IsPlaying());
    CSndObj* sound = GetSlotSound(scene.GetSound());
    ASSERT_NE(sound, nullptr);
    EXPECT_EQ(sound->GetId(), 621);
    EXPECT_EQ(sounds.front(), "621:play loop");
    scene.SetSoundLevel(30);
    scene.ApplyLevel();
    scene.StopSound(); // stopped by its id; the handle stays
    EXPECT_TRUE(scene.GetSound());
    scene.Start(); // still counted as playing: played again
    EXPECT_NE(GetSlotSound(scene.GetSound()), nullptr);
    scene.ToggleSound();
    EXPECT_FALSE(scene.GetSound());
    EXPECT_FALSE(scene.IsPlaying());
    scene.ToggleSound();
    EXPECT_TRUE(scene.IsPlaying());

    // The slots may purge a finished sound at any time: the handle then names nothing.
    static_cast<FakeSound*>(GetSlotSound(scene.GetSound()))->Finish();
    PurgeSounds();
    EXPECT_EQ(GetSlotSound(scene.GetSound()), nullptr);
    scene.ApplyLevel();
    scene.StopNow();
    EXPECT_FALSE(scene.GetSound());
}

TEST_F(SceneTest, ASceneObjectWithoutASoundNeverPlays)
{
    for (int32_t id : {41, 99}) { // sound id 0; no record: -1
        CSceneObj scene(id);
        scene.Load();
        scene.PlaySound();
        scene.ToggleSound();
        EXPECT_FALSE(scene.IsPlaying()) << id;
        EXPECT_FALSE(scene.GetSound()) << id;
    }
    EXPECT_TRUE(sounds.empty());
    CSceneObj missing(99);
    missing.Load();
    EXPECT_EQ(missing.GetLine1(), nullptr);
    EXPECT_EQ(missing.GetSecondNumber(), -1);
}

TEST_F(SceneTest, SceneSettingsReadTheirFourteenLinesAndPickFromEachGroup)
{
    CSceneProp prop(42);
    EXPECT_EQ(prop.GetRoughness(), 2);
    EXPECT_EQ(prop.GetMovingAllowed(), 1);
    EXPECT_EQ(prop.GetGroundColour(), -1);
    traveltest::ScriptedDraws draws;
    draws.Draw(0, 2, 1);
    prop.Load();
    EXPECT_STREQ(prop.GetLine1()->GetText(), "River");
    EXPECT_EQ(prop.GetSoundId(), -1);
    EXPECT_EQ(prop.GetSoundLevel(), 40);
    EXPECT_EQ(prop.GetRoughness(), 3);
    EXPECT_EQ(prop.GetPassThrough(), 1);
    EXPECT_EQ(prop.GetDownstreamHeading(), 270);
    EXPECT_EQ(prop.GetMovingAllowed(), 0);
    EXPECT_EQ(prop.GetDamageLimit(), 80.0);
    EXPECT_EQ(prop.GetSceneryListId(), 900);
    EXPECT_EQ(prop.GetRaftFigureSeqId(), 5);
    EXPECT_EQ(prop.GetPanoramaImageId(), 6);
    EXPECT_EQ(prop.GetSwitch(), 1);
    EXPECT_EQ(prop.GetGroundColour(), 34);
    EXPECT_STREQ(prop.GetPicked(0)->GetText(), "calm water");
    EXPECT_EQ(prop.GetPicked(1), nullptr);
    EXPECT_STREQ(prop.GetPicked(2)->GetText(), "falls");
    EXPECT_STREQ(prop.GetPicked(3)->GetText(), "last");
    EXPECT_EQ(draws.Left(), 0u);

    CSceneProp shortRecord(43);
    shortRecord.Load();
    EXPECT_EQ(shortRecord.GetRoughness(), 2);
    EXPECT_EQ(shortRecord.GetSwitch(), 0);
    EXPECT_EQ(shortRecord.GetGroundColour(), -1);
    EXPECT_EQ(shortRecord.GetSceneryListId(), -1);
    EXPECT_EQ(shortRecord.GetPicked(0), nullptr);
}

TEST_F(SceneTest, ASceneAnimationShowsItsSpriteInASequenceElement)
{
    CSceneAnim anim;
    EXPECT_EQ(anim.GetKind(), 0);
    EXPECT_EQ(anim.GetDrawGround(), 1);
    EXPECT_EQ(anim.GetHardness(), 4);
    EXPECT_EQ(anim.GetAnimValue(), 255);
    anim.SetImage(300);
    EXPECT_EQ(anim.GetKind(), CSceneAnim::kKindLarge);
    EXPECT_EQ(anim.GetDrawGround(), 0);
    anim.SetImage(12);
    EXPECT_EQ(anim.GetKind(), CSceneAnim::kKindSmall);
    EXPECT_EQ(anim.GetDrawGround(), 1);
    EXPECT_EQ(anim.GetAnimValue(), 0);

    anim.SetRecordId(60);
    anim.ReadRecord(9);
    EXPECT_EQ(anim.GetKind(), 9);
    EXPECT_STREQ(anim.GetLine1()->GetText(), "Heron");
    EXPECT_EQ(anim.GetSoundId(), 622);
    EXPECT_EQ(anim.GetHardness(), 6);
    EXPECT_EQ(anim.GetDrawGround(), 0);
    EXPECT_EQ(anim.GetAnimValue(), 12);

    CFrame owner(CFrame::kKindFrame, 1, CRect(0, 0, 100, 100), false);
    anim.MakeWindow(&owner, 0);
    ASSERT_NE(anim.GetImage(), nullptr);
    EXPECT_TRUE(anim.IsAnimated());
    CSeqWnd* window = anim.GetWindow();
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->GetParent(), &owner);
    EXPECT_EQ(window->GetAnimation(), 0);
    EXPECT_TRUE(window->IsShown());
    anim.FreeImage();
    EXPECT_EQ(anim.GetWindow(), nullptr);
    EXPECT_EQ(anim.GetImage(), nullptr);
    EXPECT_EQ(owner.GetChildren() ? owner.GetChildren()->GetCount() : 0, 0);
}

TEST_F(SceneTest, AStripReadsRowsAndPixelsOfItsPicture)
{
    CBmpStrip strip;
    EXPECT_EQ(strip.GetWidth(), 65535);
    EXPECT_EQ(strip.GetRow(), -1);
    EXPECT_EQ(strip.Load(77), CBmpStrip::kMissing);
    ASSERT_EQ(strip.Load(50), CBmpStrip::kOk);
    EXPECT_EQ(strip.GetWidth(), 5);
    EXPECT_EQ(strip.GetHeight(), 3);
    EXPECT_EQ(strip.GetCount(21), 1);
    EXPECT_EQ(strip.GetCount(99), 0);

    ASSERT_NE(strip.Lock(), nullptr);
    uint8_t* rows[4];
    strip.GetRows(-2, rows, 4);
    EXPECT_EQ(std::vector<uint8_t>(rows[0], rows[0] + 5), std::vector<uint8_t>(5, 0));
    EXPECT_EQ(rows[1], rows[0]);
    EXPECT_EQ(std::vector<uint8_t>(rows[2], rows[2] + 5), (std::vector<uint8_t>{0, 1, 2, 3, 4}));
    EXPECT_EQ(std::vector<uint8_t>(rows[3], rows[3] + 5), (std::vector<uint8_t>{10, 11, 12, 13, 14}));
    strip.Lock(); // nested
    strip.Unlock();
    EXPECT_EQ(strip.GetLockCount(), 1);
    strip.Unlock();
    EXPECT_EQ(strip.GetLockCount(), 0);

    EXPECT_EQ(strip.SetRow(1), CBmpStrip::kOk);
    EXPECT_EQ(strip.SetRow(3), CBmpStrip::kOutside);
    EXPECT_EQ(strip.GetRow(), 1);
    EXPECT_EQ(strip.SetColumn(4), CBmpStrip::kOk);
    EXPECT_EQ(strip.SetColumn(2), CBmpStrip::kOk);
    EXPECT_EQ(strip.GetPrevColumn(), 4);
    EXPECT_EQ(strip.SetColumn(-1), CBmpStrip::kOutside);

    EXPECT_EQ(strip.GetPixelPair(1, 2), 0x1615);
    EXPECT_EQ(strip.GetPixelHigh(1, 2), 22);
    // At the last column the byte past the row reads 0.
    EXPECT_EQ(strip.GetPixelPair(4, 2), 24);
    EXPECT_EQ(strip.GetStatus(), CBmpStrip::kOk);
    EXPECT_EQ(strip.GetPixelPair(5, 0), 0);
    EXPECT_EQ(strip.GetStatus(), CBmpStrip::kOutside);
    EXPECT_EQ(strip.SetPixel(0, 1, 99), CBmpStrip::kOk);
    EXPECT_EQ(strip.SetPixel(0, 3, 99), CBmpStrip::kOutside);

    uint8_t copy[5] = {};
    EXPECT_EQ(strip.CopyRow(1, copy), 5);
    EXPECT_EQ(std::vector<uint8_t>(copy, copy + 5), (std::vector<uint8_t>{99, 11, 12, 13, 14}));
    uint8_t a[5] = {}, b[5] = {}, c[5] = {};
    uint8_t* out[3] = {a, b, c};
    EXPECT_EQ(strip.CopyRows(-1, out, 3), 2);
    EXPECT_EQ(b[0], 0);
    EXPECT_EQ(c[0], 99);

    // Unloaded, nothing is read from the released picture until it is loaded again.
    strip.Lock();
    strip.Unload();
    EXPECT_FALSE(strip.IsLoaded());
    EXPECT_EQ(strip.GetLockCount(), 0);
    EXPECT_EQ(strip.GetWidth(), 65535);
    EXPECT_EQ(strip.GetRow(), -1);
    EXPECT_EQ(strip.SetRow(0), CBmpStrip::kNotLoaded);
    EXPECT_EQ(strip.GetPixelPair(0, 0), 0);
    EXPECT_EQ(strip.GetStatus(), CBmpStrip::kNotLoaded);
    EXPECT_EQ(strip.CopyRow(0, copy), 0);
    EXPECT_EQ(strip.Lock(), nullptr);
    strip.GetRows(0, rows, 1);
    EXPECT_EQ(rows[0], nullptr);
    EXPECT_EQ(strip.Reload(), CBmpStrip::kOk);
    EXPECT_EQ(strip.GetPixelPair(0, 1), 0x0B0A); // a fresh copy of the picture
}

TEST_F(SceneTest, ByteCountsStopAt65535)
{
    CBmpStrip strip;
    ASSERT_EQ(strip.Load(51), CBmpStrip::kOk);
    EXPECT_EQ(strip.GetCount(7), 65535); // 65,792 bytes of 7
}

TEST(LongToText, TextsForEachSize)
{
    struct Case {
        int32_t value, size;
        const char* text;
    } cases[] = {
        {-1234, 3, "-12"},    {1234, 3, "12"},
        {-1234, -1, "-1234"}, {1234, 0, ""},
        {1234, 1, ""},        {0, 3, "0"},
        {0, 1, ""},           {-12, 3, "-12"},
        {7, 10, "7"},         {INT32_MIN, -1, "-2147483648"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(LongToText(c.value, c.size), c.text) << c.value << " size " << c.size;
}

// Notes what the figure asks of its view.
class RecordingView : public CFigureView {
public:
    void SetPixels(CDibSect*, uint8_t* pixels) override { log.push_back(pixels ? "pixels" : "released"); }
    void DrawLine(const CPoint& from, const CPoint& to, uint8_t colour) override
    {
        log.push_back("line " + std::to_string(from.GetH()) + "," + std::to_string(from.GetV()) + " " +
                      std::to_string(to.GetH()) + "," + std::to_string(to.GetV()) + " " +
                      std::to_string(colour));
    }
    std::vector<std::string> log;
};

class PhaseFrame : public CFrame, public CFigurePhase {
public:
    PhaseFrame() : CFrame(kKindFrame, 5, CRect(0, 0, 100, 100), false) {}
    int16_t GetDrawPhase() const override { return phase; }
    int16_t phase = 1;
};

TEST(AnimFigure, DrawsItsLineOnlyInPhaseTwo)
{
    PhaseFrame module;
    CFrame first(CFrame::kKindFrame, 6, CPoint(10, 20), false);
    CFrame second(CFrame::kKindFrame, 7, CPoint(40, 5), false);
    RecordingView view;
    CAnimFigure figure(8, CPoint(0, 0), &module, nullptr, &view, &first, &second);
    figure.SetColour(34);
    COffScEnv env;
    env.Init(CRect(0, 0, 100, 100), nullptr, false);
    figure.DrawContent(&env, CRect(0, 0, 100, 100));
    EXPECT_TRUE(view.log.empty());
    module.phase = CFigurePhase::kDrawPhase;
    figure.DrawContent(&env, CRect(0, 0, 100, 100));
    EXPECT_EQ(view.log, (std::vector<std::string>{"pixels", "line 10,20 40,5 34", "released"}));
}

} // namespace
