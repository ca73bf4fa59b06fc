#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "engine/framework/Memory.h"
#include "engine/graphics/OffScEnv.h"
#include "engine/graphics/Palette.h"
#include "engine/graphics/Region.h"
#include "engine/graphics/WndEnv.h"
#include "platform/Desktop.h"
#include "platform/Input.h"
#include "platform/Window.h"
#include "tests/engine/graphics/PixelText.h"
#include "tests/support/TestEnv.h"

namespace {

using Rows = std::vector<std::string>;
using qmtest::MakeBitmap;
using qmtest::Pixels;

std::unique_ptr<COffScEnv> Env(int16_t w, int16_t h)
{
    auto env = std::make_unique<COffScEnv>();
    env->Init(CRect(0, 0, h, w), nullptr, false);
    return env;
}

TEST(OffScEnv, TheAlignFlagRoundsTheRowsUp)
{
    for (const bool align : {true, false}) {
        COffScEnv env;
        env.Init(CRect(0, 0, 3, 100), nullptr, align);
        const CDibSect* bitmap = env.GetBitmap();
        EXPECT_EQ(bitmap->GetRowBytes(), align ? 104 : 100);
        EXPECT_EQ(bitmap->GetInfo()->header.width, bitmap->GetRowBytes());
        EXPECT_EQ(bitmap->GetRect(), CRect(0, 0, 3, 100));
        EXPECT_EQ(bitmap->GetDC(), env.GetHDC());
        EXPECT_EQ(env.GetKind(), kEnvOffScreen);
        EXPECT_EQ(qmtest::Pixels(*env.GetBitmap())[2], std::string(100, '.')) << "filled with 255";
    }
}

TEST(OffScEnv, BitmapsGoThroughTheRecordsCallback)
{
    auto sprite = MakeBitmap({"012", "340"});
    const CRect all(0, 0, 2, 3);
    const CRect larger(1, 1, 5, 7);

    // No record: the default opaque copy of the given source rectangle at the corner.
    auto env = Env(7, 5);
    env->BlitDib(sprite.get(), CRect(0, 1, 2, 3), larger, nullptr, nullptr);
    EXPECT_EQ(Pixels(*env->GetBitmap()), (Rows{".......", ".12....", ".40....", ".......", "......."}));
    EXPECT_EQ(env->GetDefaultRecord().params[0], 0) << "the record keeps no pointer to the call's rectangle";

    // A record with a callback: the transparent copy.
    env = Env(7, 5);
    DrawRecord transparent;
    transparent.proc = DrawTransparent;
    env->BlitDib(sprite.get(), all, larger, nullptr, &transparent);
    EXPECT_EQ(Pixels(*env->GetBitmap()), (Rows{".......", "..12...", ".34....", ".......", "......."}));

    // A record without a callback: the drawing context's copy, which stretches.
    env = Env(7, 5);
    DrawRecord gdi;
    env->BlitDib(sprite.get(), all, CRect(0, 0, 4, 6), nullptr, &gdi);
    EXPECT_EQ(Pixels(*env->GetBitmap()), (Rows{"001122.", "001122.", "334400.", "334400.", "......."}));
}

TEST(OffScEnv, DrawingAndByteWritesShareThePixels)
{
    auto env = Env(4, 3);
    env->SetTextColor(3);
    env->FillRect(CRect(0, 0, 1, 2));
    CDibSect& bitmap = *env->GetBitmap();
    EXPECT_EQ(bitmap.GetPixel(1, 0), 3);
    bitmap.FillRect(CRect(2, 2, 3, 4), 6);
    std::unique_ptr<CDibSect> grabbed(env->GrabBitmap(CRect(0, 0, 3, 4)));
    EXPECT_EQ(Pixels(*grabbed), (Rows{"33..", "....", "..66"}));
}

TEST(OffScEnv, ABitmapWithoutPixelsDrawsNothing)
{
    COffScEnv env;
    env.Init(CRect(0, 0, 0, 10), nullptr, true);
    EXPECT_FALSE(env.GetBitmap()->IsCreated());
    EXPECT_EQ(env.GetHDC(), nullptr);
    env.FillRect(CRect(0, 0, 5, 5));
    auto sprite = MakeBitmap({"12"});
    env.BlitDib(sprite.get(), sprite->GetRect(), sprite->GetRect(), nullptr, nullptr);

    auto target = Env(2, 1);
    env.BlitTo(target.get(), CRect(0, 0, 1, 2), CRect(0, 0, 1, 2), nullptr, nullptr);
    EXPECT_EQ(Pixels(*target->GetBitmap()), (Rows{".."}));
    CDibSect empty;
    target->BlitDib(&empty, CRect(0, 0, 1, 2), CRect(0, 0, 1, 2), nullptr, nullptr);
    EXPECT_EQ(Pixels(*target->GetBitmap()), (Rows{".."}));
}

// ---- Reaching a window -----------------------------------------------------------------------

class WindowFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        plat::WindowClass cls;
        cls.name = "Graphics";
        cls.proc = [](plat::WindowHandle w, uint32_t m, uintptr_t wp, intptr_t lp) {
            return plat::DefaultWindowProc(w, m, wp, lp);
        };
        ASSERT_TRUE(plat::RegisterWindowClass(cls));
        plat::WindowParams spec;
        spec.className = "Graphics";
        spec.style = plat::style::Popup | plat::style::Visible;
        spec.rect = plat::Rect{30, 20, 30 + 8, 20 + 5};
        window = plat::CreateWindow(spec);
        ASSERT_NE(window, 0u);
        dc = CreateWindowDC(window);
        ASSERT_NE(dc, nullptr);
    }

    // A palette whose colour i (from 10) is (i, 2i, 3i) before brightening.
    static CPalette* MakePalette()
    {
        std::vector<uint8_t> bytes(2 + 4 * 236, 0);
        bytes[0] = 235;
        for (int i = 0; i < 236; ++i) {
            bytes[2 + 4 * i] = static_cast<uint8_t>(i);
            bytes[3 + 4 * i] = static_cast<uint8_t>(2 * i);
            bytes[4 + 4 * i] = static_cast<uint8_t>(3 * i);
        }
        auto* block = new CMemory(static_cast<int32_t>(bytes.size()));
        std::memcpy(block->Lock(), bytes.data(), bytes.size());
        block->Unlock();
        return new CPalette(block);
    }

    plat::WindowHandle window = 0;
    std::unique_ptr<plat::DrawContext> dc;
};

TEST_F(WindowFixture, AComposedOffScreenPictureReachesTheWindowAndTheScreen)
{
    std::unique_ptr<CPalette> palette(MakePalette());
    COffScEnv off;
    const CRect area(0, 0, 5, 8);
    off.Init(area, palette.get(), true);
    off.SetTextColor(40);
    off.FillRect(CRect(1, 1, 4, 7));
    auto sprite = MakeBitmap({"0a0", "aba"});
    DrawRecord transparent;
    transparent.proc = DrawTransparent;
    off.DrawBitmapAt(sprite.get(), CPoint(2, 2), &transparent);

    CWndEnv wnd;
    wnd.Setup(dc.get(), area, palette.get(), window);
    EXPECT_EQ(wnd.GetKind(), kEnvWindow);
    off.BlitTo(&wnd, area, area, &area, nullptr);

    const Rows expected = {"........", ".??????.", ".??a???.", ".?aba??.", "........"};
    Rows screen;
    for (int y = 0; y < 5; ++y) {
        std::string row;
        for (int x = 0; x < 8; ++x)
            row += qmtest::PixelChar(plat::DesktopPixel(30 + x, 20 + y));
        screen.push_back(row);
    }
    EXPECT_EQ(screen, expected);
    EXPECT_EQ(plat::DesktopPixel(30 + 1, 20 + 1), 40);

    // The window's palette became the desktop's colours.
    EXPECT_EQ(plat::GetDesktopPalette()[40], (*palette->GetHandle())[40]);
    EXPECT_EQ(plat::GetDesktopPalette()[0], plat::SystemPaletteEntry(0));
}

TEST_F(WindowFixture, WindowCoordinatesMeetTheScreen)
{
    CWndEnv wnd;
    wnd.Setup(dc.get(), CRect(0, 0, 5, 8), nullptr, window);
    CPoint p(1, 2);
    wnd.LocalToScreen(p);
    EXPECT_EQ(p, CPoint(31, 22));
    CRect r(0, 0, 1, 1);
    wnd.ScreenToLocal(r);
    EXPECT_EQ(r, CRect(-20, -30, -19, -29));

    plat::SetCursorPos({33, 24});
    std::unique_ptr<CPoint> mouse(wnd.GetMousePos());
    EXPECT_EQ(*mouse, CPoint(3, 4));

    // Drawing stays inside the client area.
    wnd.SetTextColor(7);
    wnd.FillRect(CRect(-5, -5, 20, 20));
    EXPECT_EQ(plat::DesktopPixel(30, 20), 7);
    EXPECT_EQ(plat::DesktopPixel(37, 24), 7);
    EXPECT_NE(plat::DesktopPixel(38, 24), 7);
    EXPECT_NE(plat::DesktopPixel(29, 20), 7);

    std::unique_ptr<CRegion> device(wnd.GetDeviceRegion());
    EXPECT_EQ(device->GetHandle()->Dump(), "0-5: 0-8\n");
}

TEST_F(WindowFixture, SettingUpAgainOnTheSameContextDrawsInTheSamePlace)
{
    for (int pass = 0; pass < 2; ++pass) {
        CWndEnv wnd;
        wnd.Setup(dc.get(), CRect(1, 2, 5, 8), nullptr, window);
        wnd.SetTextColor(static_cast<int32_t>(11 + pass));
        wnd.FillRect(CRect(0, 0, 1, 1));
        EXPECT_EQ(plat::DesktopPixel(32, 21), 11 + pass) << pass;
        EXPECT_NE(plat::DesktopPixel(34, 22), 11 + pass) << pass;
    }
}

} // namespace
