#include <gtest/gtest.h>

#include <array>

#include "engine/framework/ApplHooks.h"
#include "engine/graphics/Cursor.h"
#include "engine/graphics/CursorMgr.h"
#include "engine/resources/FoldLib.h"
#include "engine/resources/LibMgr.h"
#include "platform/Cursor.h"
#include "tests/support/FolderLibraryWriter.h"
#include "tests/support/LibraryFixtures.h"
#include "tests/support/TestEnv.h"

namespace {

using plat::CursorPixel;

plat::CursorHandle Standard(plat::StandardCursor kind) { return plat::GetStandardCursor(kind); }

// A "CRS" resource: 16 image rows, 16 mask rows (two bytes each) and the hot spot.
std::vector<uint8_t> CrsBytes(uint16_t imageRow0, uint16_t maskRow0, std::array<uint8_t, 4> hotSpot,
                              uint16_t maskEveryRow = 0)
{
    std::vector<uint8_t> b(CCursor::kResourceSize, 0);
    for (int r = 0; r < 16; ++r) {
        b[32 + 2 * r] = static_cast<uint8_t>(maskEveryRow >> 8);
        b[33 + 2 * r] = static_cast<uint8_t>(maskEveryRow);
    }
    b[0] = static_cast<uint8_t>(imageRow0 >> 8);
    b[1] = static_cast<uint8_t>(imageRow0);
    b[32] = static_cast<uint8_t>(maskRow0 >> 8);
    b[33] = static_cast<uint8_t>(maskRow0);
    for (size_t i = 0; i < 4; ++i)
        b[64 + i] = hotSpot[i];
    return b;
}

class CursorTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        qmtest::UseTempDirAsDriveC();
        qmtest::FolderLibraryWriter lib(qmtest::TempDir() / "Cursors");
        // Row 0: pixels 0-3 are mask 1 image 1, mask 1 image 0, mask 0 image 0, mask 0 image 1.
        lib.Add("CRS", 20, CrsBytes(0x9000, 0xC000, {0x00, 0x05, 0x00, 0x03}));
        lib.Add("CRS", 21, CrsBytes(0xFFFF, 0x0000, {0, 0, 0, 0}));          // mask all 0
        lib.Add("CRS", 22, std::vector<uint8_t>(67, 0xFF));                  // one byte short
        lib.Add("CRS", 23, CrsBytes(0, 0xFFFF, {0xFF, 0xFF, 0, 1}, 0xFFFF)); // whole square
        GetLibMgr()->AddLibrary(std::make_unique<CFoldLib>("C:\\Cursors"));
    }
};

TEST_F(CursorTest, StoredCursorIsBuiltAtTheSystemSize)
{
    CCursor cursor(20, 0xFFFFFFFF);
    ASSERT_TRUE(cursor.IsLoaded());
    EXPECT_EQ(cursor.GetId(), 20);
    const plat::CursorImage* img = plat::GetCursorImage(cursor.GetHandle());
    ASSERT_NE(img, nullptr);
    EXPECT_EQ(img->width, 32);
    EXPECT_EQ(img->height, 32);
    EXPECT_EQ(img->hotSpot, (plat::Point{3, 5})); // bytes 00 05 00 03: vertical 5, horizontal 3
    EXPECT_EQ(plat::GetCursorPixel(*img, 0, 0), CursorPixel::Black);
    EXPECT_EQ(plat::GetCursorPixel(*img, 1, 0), CursorPixel::White);
    EXPECT_EQ(plat::GetCursorPixel(*img, 2, 0), CursorPixel::Transparent);
    EXPECT_EQ(plat::GetCursorPixel(*img, 3, 0), CursorPixel::Inverted);

    CCursor square(23, 0xFFFFFFFF);
    const plat::CursorImage* sq = plat::GetCursorImage(square.GetHandle());
    ASSERT_NE(sq, nullptr);
    EXPECT_EQ(sq->hotSpot, (plat::Point{1, -1}));
    // The picture fills the top-left 16 x 16 quarter; the rest of the 32 x 32 cursor is clear.
    for (const auto& [x, y, pixel] :
         std::vector<std::tuple<int, int, CursorPixel>>{{0, 0, CursorPixel::White},
                                                        {15, 15, CursorPixel::White},
                                                        {16, 0, CursorPixel::Transparent},
                                                        {0, 16, CursorPixel::Transparent},
                                                        {31, 31, CursorPixel::Transparent}})
        EXPECT_EQ(plat::GetCursorPixel(*sq, x, y), pixel) << x << "," << y;
}

TEST_F(CursorTest, MaskOfZerosIsTransparentExceptWhereTheImageInverts)
{
    CCursor cursor(21, 0xFFFFFFFF);
    const plat::CursorImage* img = plat::GetCursorImage(cursor.GetHandle());
    ASSERT_NE(img, nullptr);
    EXPECT_EQ(plat::GetCursorPixel(*img, 0, 0), CursorPixel::Inverted); // image 1, mask 0
    EXPECT_EQ(plat::GetCursorPixel(*img, 0, 1), CursorPixel::Transparent);
}

TEST_F(CursorTest, MissingOrShortResourceIsTheArrowNotLoaded)
{
    for (int32_t id : {22, 99}) {
        CCursor cursor(id, 0xFFFFFFFF);
        EXPECT_FALSE(cursor.IsLoaded()) << id;
        EXPECT_EQ(cursor.GetId(), 0) << id;
        EXPECT_EQ(cursor.GetHandle(), Standard(plat::StandardCursor::Arrow)) << id;
    }
}

TEST_F(CursorTest, StandardKindsAndTheirDestruction)
{
    {
        CCursor wait(3);
        EXPECT_TRUE(wait.IsLoaded());
        EXPECT_EQ(wait.GetHandle(), Standard(plat::StandardCursor::Wait));
        wait.Apply();
        EXPECT_EQ(plat::GetCursor(), Standard(plat::StandardCursor::Wait));
    }
    // Destroying a standard cursor shows the arrow and leaves the shared cursor intact.
    EXPECT_EQ(plat::GetCursor(), Standard(plat::StandardCursor::Arrow));
    EXPECT_NE(plat::GetCursorImage(Standard(plat::StandardCursor::Wait)), nullptr);

    CCursor undefined(8);
    EXPECT_FALSE(undefined.IsLoaded());

    plat::CursorHandle built = 0;
    {
        CCursor stored(20, 0xFFFFFFFF);
        built = stored.GetHandle();
        stored.Apply();
    }
    EXPECT_EQ(plat::GetCursorImage(built), nullptr); // a built cursor goes with its object
    EXPECT_EQ(plat::GetCursor(), Standard(plat::StandardCursor::Arrow));
}

TEST_F(CursorTest, ManagerCachesAndSelectsById)
{
    CCursorMgr& mgr = *CreateCursorMgr();
    EXPECT_EQ(GetCursorList(), &mgr);
    EXPECT_EQ(GetCursorId(), 0);
    EXPECT_EQ(mgr.GetCount(), 1u);

    SetCursorId(20, 0xFFFFFFFF);
    EXPECT_EQ(GetCursorId(), 20);
    EXPECT_EQ(plat::GetCursor(), FindCursor(20)->GetHandle());
    SetCursorId(5, 0xFFFFFFFF);
    EXPECT_EQ(plat::GetCursor(), Standard(plat::StandardCursor::SizeNesw));
    SetCursorId(20, 0xFFFFFFFF); // from the cache
    EXPECT_EQ(mgr.GetCount(), 3u);

    // A cursor that cannot be loaded leaves the current one and caches nothing.
    SetCursorId(22, 0xFFFFFFFF);
    SetCursorId(99, 0xFFFFFFFF);
    EXPECT_EQ(GetCursorId(), 20);
    EXPECT_EQ(mgr.GetCount(), 3u);

    // Deleting the current cursor makes the arrow current again; the arrow always stays.
    DeleteCursors(20);
    EXPECT_EQ(GetCursorId(), 0);
    EXPECT_EQ(plat::GetCursor(), Standard(plat::StandardCursor::Arrow));
    DeleteCursors(0);
    DeleteCursors(-1);
    EXPECT_EQ(mgr.GetCount(), 1u);
    EXPECT_EQ(FindCursor(0), mgr.GetCurrent());
}

TEST_F(CursorTest, FiftyFirstCursorEmptiesTheCacheFirst)
{
    CCursorMgr mgr;
    for (int32_t id = 1; id < 8; ++id)
        ASSERT_NE(mgr.FindOrLoadCursor(id, 0xFFFFFFFF), nullptr);
    qmtest::FolderLibraryWriter lib(qmtest::TempDir() / "Many");
    for (int32_t id = 100; id < 143; ++id)
        lib.Add("CRS", id, CrsBytes(0, 0xFFFF, {0, 0, 0, 0}));
    GetLibMgr()->AddLibrary(std::make_unique<CFoldLib>("C:\\Many"));
    for (int32_t id = 100; id < 142; ++id)
        ASSERT_NE(mgr.FindOrLoadCursor(id, 0xFFFFFFFF), nullptr);
    EXPECT_EQ(mgr.GetCount(), 50u);
    ASSERT_NE(mgr.FindOrLoadCursor(142, 0xFFFFFFFF), nullptr);
    EXPECT_EQ(mgr.GetCount(), 2u);
    EXPECT_EQ(mgr.FindCursor(0), mgr.GetCurrent());
    EXPECT_NE(mgr.FindCursor(142), nullptr);
}

TEST_F(CursorTest, WaitCursorHeldAndBusyCursorsNest)
{
    CreateCursorMgr();
    SetCursorId(3, 0xFFFFFFFF);
    SetCursorId(3, 0xFFFFFFFF); // already current: nothing
    SetCursorId(2, 0xFFFFFFFF);

    HoldWaitCursor(true);
    SetCursorId(1, 0xFFFFFFFF); // remembered, not shown
    EXPECT_EQ(GetCursorId(), 1);
    EXPECT_EQ(plat::GetCursor(), Standard(plat::StandardCursor::Wait));
    HoldWaitCursor(false);
    EXPECT_EQ(plat::GetCursor(), Standard(plat::StandardCursor::IBeam));

    {
        CBusyCursor outer;
        EXPECT_EQ(GetCursorId(), 3);
        SetCursorId(5, 0xFFFFFFFF);
        {
            CBusyCursor inner;
            EXPECT_EQ(plat::GetCursor(), Standard(plat::StandardCursor::Wait));
        }
        EXPECT_EQ(GetCursorId(), 5);
    }
    EXPECT_EQ(GetCursorId(), 1); // the cursor before the outer busy cursor, not 5
    EXPECT_EQ(plat::GetCursor(), Standard(plat::StandardCursor::IBeam));
}

TEST_F(CursorTest, ApplicationHooksMakeAndDeleteTheManager)
{
    EXPECT_EQ(GetCursorId(), 0); // no manager: the functions do nothing
    SetCursorId(2, 0xFFFFFFFF);
    EXPECT_EQ(GetCursorList(), nullptr);

    InstallCursorHooks();
    GetApplHooks().createCursorMgr();
    ASSERT_NE(GetCursorList(), nullptr);
    SetCursorId(2, 0xFFFFFFFF);
    GetApplHooks().setDefaultCursor();
    EXPECT_EQ(GetCursorId(), 0);
    GetApplHooks().deleteCursorMgr();
    EXPECT_EQ(GetCursorList(), nullptr);
}

} // namespace
