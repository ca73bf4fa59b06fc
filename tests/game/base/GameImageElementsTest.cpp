#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "engine/controls/ImageWnd.h"
#include "engine/controls/anim/Sequence.h"
#include "engine/framework/Options.h"
#include "engine/framework/RegSettings.h"
#include "engine/graphics/CachedImages.h"
#include "engine/graphics/DibSect.h"
#include "engine/resources/FoldLib.h"
#include "engine/resources/LibMgr.h"
#include "game/base/GameImageWnd.h"
#include "game/base/GameSeqWnd.h"
#include "game/base/SoundSlots.h"
#include "tests/engine/controls/anim/AnimTestKit.h"
#include "tests/engine/resources/DefinitionText.h"
#include "tests/game/base/FakeSound.h"
#include "tests/support/FolderLibraryWriter.h"
#include "tests/support/FrameStripFixtures.h"
#include "tests/support/LibraryFixtures.h"
#include "tests/support/RleFixtures.h"
#include "tests/support/TestEnv.h"

namespace {

using shelltest::FakeSound;
using shelltest::Log;

using wtest::Str;

// "CBM" 7: frame 0 is 31 x 10 of colour 5 with a colour 0 left column, frame 1 is 8 x 6 of 9s.
// "RLS" 8: cel 0 is 6 x 3 of colour 2 with a transparent left column.
class GameImageElements : public ::testing::Test {
protected:
    void SetUp() override
    {
        qmtest::UseTempDirAsDriveC();
        qmtest::FolderLibraryWriter lib(qmtest::TempDir() / "Game.qmd");
        std::vector<uint8_t> first(31 * 10, 5);
        for (size_t v = 0; v < 10; ++v)
            first[v * 31] = 0;
        lib.Add("CBM", 7,
                qmtest::MakeFrameStrip({qmtest::CodedFrame(31, 10, first),
                                        qmtest::CodedFrame(8, 6, std::vector<uint8_t>(8 * 6, 9))}));
        lib.Add("RLS", 8, qmtest::MakeRls({{3, 6, {0x00, 0, 0x04, 2, 0x00, 0, 0x04, 2, 0x00, 0, 0x04, 2}}}));
        GetLibMgr()->AddLibrary(std::make_unique<CFoldLib>(qmtest::EnginePath(lib.Folder()).c_str()));
    }

    static CImgSet* Picture(DrawProc proc)
    {
        std::unique_ptr<CImgSet> images = LoadCbmImgSet(nullptr, 7, 0xFFFFFFFF, -1, false);
        images->SetDrawProc(proc);
        return images.release();
    }

    // An image template (kind 5) read from its definition text.
    static std::unique_ptr<CTImageWnd> ReadImageTemplate(const char* text)
    {
        return deftext::ReadTemplateText<CTImageWnd>(text, &CImageWnd::ReadTemplate,
                                                     CImageWnd::kTemplateKind);
    }
};

TEST_F(GameImageElements, OnlyADrawnPixelInsideTheRectangleHits)
{
    // The picture at (10, 20): its column 0 (x = 10) is colour 0, x = 41 lies past its right edge.
    struct Case {
        const char* what;
        DrawProc proc;
        bool engineTransparent; // the engine element's own flag, for contrast
        int h, v;
        bool game, engine;
    } cases[] = {
        {"transparent pixel", DrawTransparent, false, 10, 25, false, true},
        {"drawn pixel", DrawTransparent, false, 11, 25, true, true},
        {"outside", DrawTransparent, false, 41, 25, false, false},
        {"above", DrawTransparent, false, 11, 19, false, false},
        // Drawn opaque, colour 0 is a black pixel on screen: a hit.
        {"colour 0 drawn opaque", DrawOpaque, false, 10, 25, true, true},
        // Without the element flag the engine element answers the rectangle.
        {"engine flag set", DrawTransparent, true, 10, 25, false, false},
    };
    for (const Case& c : cases) {
        CGameImageWnd game(1, CPoint(10, 20), Picture(c.proc), 0, 0, true);
        CImageWnd engine(1, CPoint(10, 20), Picture(c.proc), 0, 0, true);
        if (c.engineTransparent)
            engine.SetTransparent(true);
        EXPECT_EQ(game.HitTest(CPoint(static_cast<int16_t>(c.h), static_cast<int16_t>(c.v))), c.game)
            << c.what;
        EXPECT_EQ(engine.HitTest(CPoint(static_cast<int16_t>(c.h), static_cast<int16_t>(c.v))), c.engine)
            << c.what;
    }
    // The test follows the element's current image: frame 1 (8 x 6 of 9s) hits at its column 0.
    CGameImageWnd game(1, CPoint(10, 20), Picture(DrawTransparent), 0, 0, true);
    game.SetFrame(1);
    EXPECT_TRUE(game.HitTest(CPoint(10, 25)));
    EXPECT_FALSE(game.HitTest(CPoint(18, 25)));
    // Without images the rectangle decides.
    CGameImageWnd empty(1, CPoint(10, 20), 0, 0);
    EXPECT_TRUE(empty.HitTest(CPoint(10, 20)));
}

TEST_F(GameImageElements, ASequenceElementHitsOnlyItsCelsDrawnPixels)
{
    const std::unique_ptr<CMemory> seq =
        qmtest::BlockOf(animtest::SeqBytes({{0, 0, 4, 1}}, {{0, 0, 0, 0, 0, 0}}));
    const std::unique_ptr<CMemory> cels = qmtest::BlockOf(animtest::CelBytes({}));
    auto sprites = [] { return LoadRleImgSet(nullptr, 8, 0xFFFFFFFF, -1, false).release(); };
    CGameSeqWnd game(1, CPoint(100, 50), nullptr, sprites(), new CSequence(seq.get()),
                     new CCelTable(cels.get()), 0, true, true, 0);
    CSeqWnd engine(1, CPoint(100, 50), nullptr, sprites(), new CSequence(seq.get()),
                   new CCelTable(cels.get()), 0, true, true, 0);
    ASSERT_EQ(Str(game.GetDrawnRect()), "50,100,53,106");
    // Sequence elements start transparent; the game's keeps its pixel test when that flag is
    // cleared (an element that draws a backdrop of its own), where the engine's answers the
    // rectangle.
    for (const bool transparent : {true, false}) {
        game.SetTransparent(transparent);
        engine.SetTransparent(transparent);
        EXPECT_FALSE(game.HitTest(CPoint(100, 51))) << transparent; // the transparent left column
        EXPECT_TRUE(game.HitTest(CPoint(101, 51))) << transparent;
        EXPECT_FALSE(game.HitTest(CPoint(106, 51))) << transparent;
        EXPECT_EQ(engine.HitTest(CPoint(100, 51)), !transparent);
    }
}

TEST_F(GameImageElements, TheTemplateCopiesTheEngineTemplateAndBuildsAnElementOwningItsPicture)
{
    // id 12, flags 0x2 (transparent), top 20, left 10, "imgid" 7, "imglibmsk" -1, "frmindex" 0.
    const std::unique_ptr<CTImageWnd> source =
        ReadImageTemplate("12, 3, 0x2, 77, 0, 0, 0, 20, 10, 99, 98, 7, -1, 0");
    const CTGameImageWnd tpl(*source);
    EXPECT_EQ(tpl.GetKind(), source->GetKind());
    EXPECT_EQ(tpl.GetId(), 12);
    EXPECT_EQ(tpl.GetParentId(), 3);
    EXPECT_EQ(tpl.GetFlags(), 0x2u);
    EXPECT_EQ(tpl.GetHelpId(), 77);
    EXPECT_EQ(Str(tpl.GetRect()), "20,10,99,98");
    EXPECT_EQ(tpl.GetImageId(), 7);
    EXPECT_EQ(tpl.GetImageLibMask(), 0xFFFFFFFFu);

    const std::unique_ptr<CGameImageWnd> element(tpl.Create());
    EXPECT_EQ(element->GetId(), 12);
    ASSERT_NE(element->GetImages(), nullptr);
    EXPECT_TRUE(element->OwnsImages());
    // At the template's top-left corner whatever its other corner says, at the picture's size.
    EXPECT_EQ(Str(element->GetBounds()), "20,10,30,41");
    EXPECT_FALSE(element->HitTest(CPoint(10, 25))); // drawn transparent: colour 0 misses
    EXPECT_TRUE(element->HitTest(CPoint(11, 25)));

    // A missing picture gives an element without images (a 20 x 20 mark), not a stop.
    const CTGameImageWnd missing(*ReadImageTemplate("13, 0, 0, 0, 0, 0, 0, 5, 6, 0, 0, 404, -1, 0"));
    const std::unique_ptr<CGameImageWnd> empty(missing.Create());
    EXPECT_EQ(empty->GetImages(), nullptr);
    EXPECT_EQ(Str(empty->GetBounds()), "5,6,25,26");
}

class GameSeqSounds : public GameImageElements {
protected:
    void SetUp() override
    {
        GameImageElements::SetUp();
        SetOptionSettings(&settings);
        SetSoundFactory([this](int32_t id, bool streamed) -> std::unique_ptr<CSndObj> {
            made.push_back(std::to_string(id) + (streamed ? " streamed" : " sample"));
            return std::make_unique<FakeSound>(id, streamed, log, 0);
        });
    }
    void TearDown() override
    {
        DeleteAllSounds();
        SetSoundFactory({});
        SetOptionSettings(nullptr);
    }

    CRegSettings settings{"Quillmark III", "QMK3"};
    Log log;
    std::vector<std::string> made;
};

TEST_F(GameSeqSounds, FrameSoundsPlayInTheSoundSlotsStreamedAtFullLevel)
{
    // Frame 0 asks for sound 45, frame 1 for none.
    const std::unique_ptr<CMemory> seq =
        qmtest::BlockOf(animtest::SeqBytes({{0, 0, 1, 2}}, {{0, 0, 0, 45, 0, 0}, {0, 0, 0, 0, 0, 0}}));
    const std::unique_ptr<CMemory> cels = qmtest::BlockOf(animtest::CelBytes({}));
    animtest::SoundAppl appl;
    CGameSeqWnd2 element(1, CPoint(0, 0), nullptr, LoadRleImgSet(nullptr, 8, 0xFFFFFFFF, -1, false).release(),
                         new CSequence(seq.get()), new CCelTable(cels.get()), 0x10, true, true, 0);
    element.SetAnimation(0);
    element.Step();
    EXPECT_EQ(made, (std::vector<std::string>{"45 streamed"}));
    ASSERT_NE(PeekSlot(0), nullptr);
    EXPECT_EQ(PeekSlot(0)->GetId(), 45);
    EXPECT_EQ(PeekSlot(0)->GetLevel(), 255);
    EXPECT_EQ(log, (std::vector<std::string>{"45:play"}));
    EXPECT_TRUE(appl.log.empty()); // not through the application

    // With "soundon" off the slots make nothing.
    SetOption("soundon", false);
    qmtest::Clock().Advance(17 * 2);
    element.Step(); // frame 1: no sound
    qmtest::Clock().Advance(17 * 2);
    element.Step(); // frame 0 again
    EXPECT_EQ(made.size(), 1u);
}

} // namespace
