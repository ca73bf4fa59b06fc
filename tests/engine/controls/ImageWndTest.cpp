#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "engine/controls/ImageWnd.h"
#include "engine/controls/TplList.h"
#include "engine/controls/kinds/TemplateKinds.h"
#include "engine/graphics/CachedImages.h"
#include "engine/graphics/OffScEnv.h"
#include "engine/resources/RsrcCache.h"
#include "tests/engine/graphics/PixelText.h"
#include "tests/engine/resources/DefinitionText.h"
#include "tests/support/FrameStripFixtures.h"
#include "tests/support/RleFixtures.h"

namespace {

using Rows = std::vector<std::string>;

std::string Str(const CRect& r)
{
    return std::to_string(r.GetTop()) + "," + std::to_string(r.GetLeft()) + "," +
           std::to_string(r.GetBottom()) + "," + std::to_string(r.GetRight());
}

std::string Bytes(const std::vector<uint8_t>& b) { return std::string(b.begin(), b.end()); }

// "CBM" 7: frame 0 is 31 x 10 with a transparent (0) left column, frame 1 is 8 x 6 of 9s.
// "RLS" 8: one 4 x 2 cel.
class ImageWndTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        deftext::InstallEngineStrings();
        RegisterAllTemplateKinds();
        std::vector<uint8_t> first(31 * 10, 5);
        for (int v = 0; v < 10; ++v)
            first[static_cast<size_t>(v) * 31] = 0;
        const std::vector<uint8_t> second(8 * 6, 9);
        const std::string cbm = Bytes(
            qmtest::MakeFrameStrip({qmtest::CodedFrame(31, 10, first), qmtest::CodedFrame(8, 6, second)}));
        const std::string rls = Bytes(qmtest::MakeRls({{2, 4, {0x83, 1, 2, 3, 4, 0x83, 1, 2, 3, 4}}}));
        deftext::AddFolderLibrary({{"CBM", 7, cbm}, {"RLS", 8, rls}});
    }

    std::unique_ptr<CImgSet> Picture() { return LoadCbmImgSet(nullptr, 7, 0xFFFFFFFF, -1, false); }
};

TEST_F(ImageWndTest, PlacementModesPlaceEachAxis)
{
    struct Case {
        int32_t hMode, vMode;
        const char* bounds;
    } cases[] = {
        {1, 1, "45,85,55,116"},  // centred: 100 - 31 / 2 = 85
        {2, 2, "40,69,50,100"},  // ending at the point
        {0, 7, "50,100,60,131"}, // any other mode starts at it
        {1, 2, "40,85,50,116"},
    };
    for (const Case& c : cases) {
        CImageWnd element(1, CPoint(100, 50), Picture().release(), c.hMode, c.vMode, true);
        EXPECT_EQ(Str(element.GetBounds()), c.bounds) << c.hMode << "/" << c.vMode;
    }
    CImageWnd empty(1, CPoint(100, 50), 1, 0);
    EXPECT_EQ(Str(empty.GetBounds()), "50,90,70,110"); // 20 x 20 without an image
    EXPECT_EQ(empty.GetKind(), CImageWnd::kKind);
    EXPECT_TRUE(empty.HasOwnContent());
}

TEST_F(ImageWndTest, ChangingAModeKeepsTheReferenceItImplied)
{
    CImageWnd element(1, CPoint(100, 50), Picture().release(), 0, 0, true);
    element.SetHMode(1); // the reference was the left edge, 100
    EXPECT_EQ(Str(element.GetBounds()), "50,85,60,116");
    element.SetHMode(2); // the reference was the centre, 100
    EXPECT_EQ(Str(element.GetBounds()), "50,69,60,100");
    element.SetVMode(1); // the reference was the top, 50
    EXPECT_EQ(Str(element.GetBounds()), "45,69,55,100");
}

TEST_F(ImageWndTest, FramesAndImageSetsChangeTheSize)
{
    CImageWnd element(1, CPoint(10, 20), Picture().release(), 0, 0, true);
    element.SetChanged(false);
    element.SetFrame(1);
    EXPECT_EQ(Str(element.GetBounds()), "20,10,26,18");
    EXPECT_TRUE(element.IsChanged());

    // The set changing its own index does not make SetFrame with the element's index act.
    element.GetImages()->SetIndex(0);
    element.SetChanged(false);
    element.SetFrame(1);
    EXPECT_FALSE(element.IsChanged());

    std::unique_ptr<CImgSet> borrowed = Picture();
    EXPECT_EQ(element.SetImages(borrowed.get(), false), nullptr); // the owned one is deleted
    EXPECT_EQ(Str(element.GetBounds()), "20,10,30,41");
    EXPECT_EQ(element.SetImages(borrowed.get(), false), nullptr); // the same set again
    std::unique_ptr<CImgSet> back(element.SetImages(Picture().release(), true));
    EXPECT_EQ(back.get(), borrowed.get()); // not owned: handed back
    back.release();
    EXPECT_EQ(element.SetImages(nullptr, true), nullptr);
    EXPECT_NE(element.GetImages(), nullptr);
}

TEST_F(ImageWndTest, TransparentElementHitsOnlyItsImagesPixels)
{
    std::unique_ptr<CImgSet> images = Picture();
    images->SetDrawProc(DrawTransparent);
    CImageWnd element(1, CPoint(10, 20), images.release(), 0, 0, true);
    element.SetFlags(element.GetFlags() | CFrame::kFlagTransparent);
    EXPECT_FALSE(element.HitTest(CPoint(10, 25))); // column 0 is colour 0
    EXPECT_TRUE(element.HitTest(CPoint(11, 25)));
    EXPECT_FALSE(element.HitTest(CPoint(41, 25))); // the right edge is outside
    element.SetFlags(element.GetFlags() & ~CFrame::kFlagTransparent);
    EXPECT_TRUE(element.HitTest(CPoint(10, 25)));
}

TEST_F(ImageWndTest, DrawsItsImageAtItsCornerOrTheMissingMark)
{
    CImageWnd element(1, CPoint(2, 3), Picture().release(), 0, 0, true);
    element.SetFrame(1);
    COffScEnv env;
    env.Init(CRect(0, 0, 12, 12), nullptr, false);
    element.DrawContent(&env, CRect(0, 0, 12, 12));
    const Rows rows = qmtest::Pixels(*env.GetBitmap());
    EXPECT_EQ(rows[2], "............");
    EXPECT_EQ(rows[3], "..99999999..");
    EXPECT_EQ(rows[8], "..99999999..");
    EXPECT_EQ(rows[9], "............");

    CImageWnd missing(2, CPoint(1, 1), 0, 0);
    COffScEnv drawn, expected;
    drawn.Init(CRect(0, 0, 24, 24), nullptr, false);
    expected.Init(CRect(0, 0, 24, 24), nullptr, false);
    missing.DrawContent(&drawn, missing.GetDrawnRect());
    DrawMissingImage(&expected, &missing.GetDrawnRect(), false);
    EXPECT_EQ(qmtest::Pixels(*drawn.GetBitmap()), qmtest::Pixels(*expected.GetBitmap()));
    EXPECT_NE(drawn.GetBitmap()->GetPixel(5, 5), 255);
}

// Kind 5: ID, parentid, flags, helpid, helplibmask, cursorid, curslibmask, top, left,
// bottom (the horizontal mode), right (the vertical mode), imgid, imglibmsk, frmindex.
TEST_F(ImageWndTest, TemplatesShareCachedPicturesBetweenLists)
{
    const std::string text = "1, 1, 0, 9, 0,0, 0,0, 0, 0, 100, 100\n"
                             "5, 2, 1, 11, 0,0, 0,0, 40, 50, 1, 0, -7, -1, 1\n"
                             "5, 3, 1, 9, 0,0, 0,0, 5, 6, 0, 0, 7, -1, 0\n";
    CRsrcCache cache(100000);
    auto first = std::make_unique<CTplList>(deftext::MakeBlock(text, "TPL", 1), &cache);
    auto second = std::make_unique<CTplList>(deftext::MakeBlock(text, "TPL", 2), &cache);
    std::unique_ptr<CFrame> a(static_cast<CFrame*>(first->Build(nullptr, nullptr, 0)));
    std::unique_ptr<CFrame> b(static_cast<CFrame*>(second->Build(nullptr, nullptr, 0)));
    auto* shared = dynamic_cast<CImageWnd*>(a->FindObject(CBaseObj::kAnyKind, 2));
    auto* own = dynamic_cast<CImageWnd*>(a->FindObject(CBaseObj::kAnyKind, 3));
    ASSERT_TRUE(shared && own);
    EXPECT_EQ(shared->GetFrame(), 1);
    // Placed by frame 0 (31 wide, centred on 50), then frame 1 (8 x 6) from the same corner.
    EXPECT_EQ(Str(shared->GetBounds()), "40,35,46,43");
    EXPECT_TRUE(shared->IsTransparent());
    EXPECT_EQ(shared->GetImages()->GetDrawProc(), &DrawTransparent);
    EXPECT_EQ(own->GetImages()->GetDrawProc(), &DrawOpaque);
    EXPECT_EQ(Str(own->GetBounds()), "5,6,15,37");

    // One cached copy of picture 7, used by both lists' elements; picture 7 by a positive
    // id is each element's own.
    ASSERT_EQ(cache.GetInUse().GetCount(), 1);
    auto* entry = static_cast<CRsrcCacheEntry*>(cache.GetInUse().GetHeadNode()->item);
    EXPECT_EQ(entry->GetUseCount(), 2);
    a.reset();
    EXPECT_EQ(entry->GetUseCount(), 1);
    b.reset();
    EXPECT_EQ(cache.GetInUse().GetCount(), 0);
    EXPECT_EQ(cache.GetReleased().GetCount(), 1); // kept until the room is needed
    cache.MakeRoom(cache.GetLimit());
    EXPECT_EQ(cache.GetReleased().GetCount(), 0);
}

TEST_F(ImageWndTest, ListsLoadSpritesAndPicturesWithOrWithoutACache)
{
    CRsrcCache cache(100000);
    CTplList cached(deftext::MakeBlock("", "TPL", 1), &cache);
    CTplList plain(deftext::MakeBlock("", "TPL", 2), nullptr);
    EXPECT_EQ(cached.LoadImage(0xFFFFFFFF, 0, false, true), nullptr);
    std::unique_ptr<CImgSet> s1 = cached.LoadImage(0xFFFFFFFF, -8, false, true);
    std::unique_ptr<CImgSet> s2 = cached.LoadImage(0xFFFFFFFF, -8, false, true);
    ASSERT_TRUE(s1 && s2);
    EXPECT_EQ(s1->GetSource(), s2->GetSource()); // one cel list
    CRect r;
    s1->GetImageRect(r, 0);
    EXPECT_EQ(Str(r), "0,0,2,4");
    std::unique_ptr<CImgSet> s3 = plain.LoadImage(0xFFFFFFFF, -8, false, true);
    ASSERT_NE(s3, nullptr);
    EXPECT_NE(s3->GetSource(), s1->GetSource()); // no cache: its own
    EXPECT_EQ(cached.LoadImage(0xFFFFFFFF, 9, true, true), nullptr);
    EXPECT_EQ(cache.GetInUse().GetCount(), 1);
}

} // namespace
