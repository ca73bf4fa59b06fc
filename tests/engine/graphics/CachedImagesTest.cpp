#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "engine/graphics/BitmapSet.h"
#include "engine/graphics/CachedImages.h"
#include "engine/resources/FoldLib.h"
#include "engine/resources/LibMgr.h"
#include "engine/resources/RsrcCache.h"
#include "tests/engine/graphics/PixelText.h"
#include "tests/support/FolderLibraryWriter.h"
#include "tests/support/LibraryFixtures.h"
#include "tests/support/RleFixtures.h"
#include "tests/support/TestEnv.h"
#include "tools/ImageEncoder.h"

using Rows = std::vector<std::string>;

namespace {

// A library manager that counts the resources it loads.
class CountingLibMgr : public CLibMgr {
public:
    std::unique_ptr<CRsrcBlock> LoadResource(const char* type, int32_t id, uint32_t mask,
                                             bool report) override
    {
        ++loads;
        return CLibMgr::LoadResource(type, id, mask, report);
    }
    int loads = 0;
};

class CachedImagesTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        qmtest::UseTempDirAsDriveC();
        qmtest::FolderLibraryWriter writer(qmtest::TempDir() / "Data");
        const std::vector<uint8_t> pixels{1, 2, 3, 4};
        writer.Add("CBM", 7, BuildFrameStrip({{2, 2, EncodeBlockImage({pixels.data(), 2, 2, 2})}}));
        // A picture whose second frame cannot be made (its width is negative).
        std::vector<uint8_t> broken = BuildFrameStrip({{2, 2, EncodeBlockImage({pixels.data(), 2, 2, 2})},
                                                       {2, 2, EncodeBlockImage({pixels.data(), 2, 2, 2})}});
        broken[2 + 12 + 1] = 0x80;
        writer.Add("CBM", 8, broken);
        writer.Add("RLS", 7, qmtest::MakeRls({{1, 2, {0x01, 9}}}));
        auto manager = std::make_unique<CountingLibMgr>();
        libMgr = manager.get();
        SetLibMgr(std::move(manager));
        GetLibMgr()->AddLibrary(std::make_unique<CFoldLib>("C:\\Data"));
    }

    CountingLibMgr* libMgr = nullptr;
};

} // namespace

TEST_F(CachedImagesTest, TwoUsersShareOneDecodedImageUntilTheCacheNeedsRoom)
{
    CRsrcCache cache(1000);
    auto first = LoadCbmImgSet(&cache, 7, 0xFFFFFFFF, 1, false);
    auto second = LoadCbmImgSet(&cache, 7, 0xFFFFFFFF, 1, false);
    ASSERT_TRUE(first && second);
    EXPECT_EQ(libMgr->loads, 1);
    EXPECT_EQ(first->GetSource(), second->GetSource());
    EXPECT_EQ(qmtest::Pixels(*first->GetImage(0)), (Rows{"12", "34"}));
    const int32_t size = cache.GetTotal();
    EXPECT_EQ(size, 8 * 2);

    first.reset();
    EXPECT_TRUE(cache.GetReleased().IsEmpty()) << "still in use by the second";
    second.reset();
    EXPECT_EQ(cache.GetReleased().GetCount(), 1);
    // Found again in the cache: no load.
    auto again = LoadCbmImgSet(&cache, 7, 0xFFFFFFFF, 1, false);
    EXPECT_EQ(libMgr->loads, 1);
    again.reset();
    // Freed only when room is needed.
    EXPECT_EQ(cache.FreeBytes(1), size);
    EXPECT_EQ(cache.GetTotal(), 0);
}

TEST_F(CachedImagesTest, SpritesAreSharedUnderTheirKey)
{
    CRsrcCache cache(1000);
    auto a = LoadRleImgSet(&cache, 7, 0xFFFFFFFF, 0, false);
    ASSERT_TRUE(a);
    EXPECT_EQ(cache.Find("_RLS", 7), static_cast<void*>(a->GetCelList()));
    cache.Release(a->GetCelList(), false); // the use the test's Find took
    auto b = LoadRleImgSet(&cache, 7, 0xFFFFFFFF, 0, false);
    EXPECT_EQ(b->GetCelList(), a->GetCelList());
    EXPECT_EQ(libMgr->loads, 1);
    CRect rect;
    b->GetImageRect(rect, 0);
    EXPECT_EQ(rect, CRect(0, 0, 1, 2));
}

TEST_F(CachedImagesTest, WithoutCacheOrPriorityTheSetKeepsItsData)
{
    CRsrcCache cache(1000);
    auto own = LoadRleImgSet(&cache, 7, 0xFFFFFFFF, -1, false);
    ASSERT_TRUE(own);
    EXPECT_EQ(cache.GetTotal(), 0) << "a negative priority is not cached";
    auto alone = LoadCbmImgSet(nullptr, 7, 0xFFFFFFFF, 1, false);
    ASSERT_TRUE(alone);
    // Destroying them frees the data (the leak checker sees it otherwise).
    own.reset();
    alone.reset();
    EXPECT_EQ(cache.GetTotal(), 0);
}

TEST_F(CachedImagesTest, AnIncompletePictureIsMadeOnceMore)
{
    CRsrcCache cache(1000);
    auto list = LoadCbmImgSet(&cache, 8, 0xFFFFFFFF, 1, false);
    ASSERT_TRUE(list);
    EXPECT_EQ(libMgr->loads, 2);
    EXPECT_FALSE(static_cast<CBitmapSet*>(list->GetSource())->IsComplete());
    EXPECT_EQ(cache.GetInUse().GetCount(), 1);
}

TEST_F(CachedImagesTest, AMissingImageGivesNull)
{
    CRsrcCache cache(1000);
    EXPECT_EQ(LoadCbmImgSet(&cache, 99, 0xFFFFFFFF, 1, true), nullptr);
    EXPECT_EQ(LoadRleImgSet(&cache, 99, 0xFFFFFFFF, 1, true), nullptr);
    EXPECT_EQ(cache.GetTotal(), 0);
}
