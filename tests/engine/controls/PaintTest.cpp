#include <gtest/gtest.h>

#include "engine/graphics/DrawEnv.h"
#include "engine/graphics/OffScEnv.h"
#include "engine/graphics/Palette.h"
#include "engine/graphics/WndEnv.h"
#include "platform/Desktop.h"
#include "tests/engine/controls/WindowsKit.h"

namespace {

using namespace wtest;

// A frame that fills its drawn rectangle with its background colour (when `fills`) and logs
// which environment it drew into: "name>off" or "name>wnd".
class PaintFrame : public CFrame {
public:
    PaintFrame(Log& log, std::string name, const CRect& rect, uint32_t color, bool fills = true)
        : CFrame(5, kNewId, rect, false), log_(log), name_(std::move(name)), fills_(fills)
    {
        SetBackColor(color);
    }
    void DrawContent(CDrawEnv* env, const CRect&) override
    {
        log_.push_back(name_ + (env->GetKind() == kEnvOffScreen ? ">off" : ">wnd"));
        if (fills_)
            DrawBackground(env);
    }

private:
    Log& log_;
    std::string name_;
    bool fills_;
};

constexpr uint8_t kUntouched = 77;

class PaintTest : public WindowsTest {
protected:
    CWind* Make(uint32_t flags, CFrame* root)
    {
        wnd = MakeWindow(CWind::kTypeTopLevel, root, flags);
        PumpAll();
        Fill(kUntouched);
        log.clear();
        return wnd;
    }
    void TearDown() override { delete wnd; }

    // The window's client pixels.
    uint8_t Pixel(int x, int y)
    {
        const plat::ClientTarget t = plat::GetClientTarget(wnd->GetHwnd());
        return t.surface->At(t.origin.x + x, t.origin.y + y);
    }
    void Fill(uint8_t index)
    {
        const plat::ClientTarget t = plat::GetClientTarget(wnd->GetHwnd());
        for (int y = 0; y < t.client.Height(); ++y)
            for (int x = 0; x < t.client.Width(); ++x)
                t.surface->Row(t.origin.y + y)[t.origin.x + x] = index;
    }
    // One character per pixel along a row: '.' untouched, else the index's last digit.
    std::string Row(int y, int x0, int x1)
    {
        std::string out;
        for (int x = x0; x < x1; ++x) {
            const uint8_t p = Pixel(x, y);
            out += p == kUntouched ? '.' : static_cast<char>('0' + p % 10);
        }
        return out;
    }

    CWind* wnd = nullptr;
};

TEST_F(PaintTest, WithoutAnOffScreenBitmapAnOpaqueChildCutsItsParent)
{
    auto* root = new PaintFrame(log, "root", {0, 0, 20, 40}, 21);
    auto* opaque = new PaintFrame(log, "opaque", {5, 5, 10, 10}, 32, false); // draws nothing
    auto* glass = new PaintFrame(log, "glass", {5, 20, 10, 25}, 43, false);  // draws nothing
    glass->SetFlags(glass->GetFlags() | CFrame::kFlagTransparent);
    root->AddChild(opaque, false);
    root->AddChild(glass, false);
    Make(0, root);
    wnd->Redraw(nullptr);
    // The parent's fill leaves the opaque child's area alone but fills under the transparent one.
    EXPECT_EQ(Row(7, 0, 30), "11111.....11111111111111111111");
    EXPECT_EQ(Row(2, 0, 30), "111111111111111111111111111111");
    EXPECT_EQ(log, (Log{"root>wnd", "opaque>wnd", "glass>wnd"}));
}

TEST_F(PaintTest, TheCopyToTheWindowLeavesOutTheDirectFramesWhichDrawThemselves)
{
    auto* root = new PaintFrame(log, "root", {0, 0, 20, 40}, 21);
    auto* direct = new PaintFrame(log, "direct", {5, 5, 10, 10}, 32, false); // draws nothing itself
    auto* plain = new PaintFrame(log, "plain", {5, 20, 10, 25}, 43);
    direct->SetVisible(false);
    root->AddChild(direct, false);
    root->AddChild(plain, false);
    Make(CWind::kFlagOffScreen, root);
    wnd->Redraw(nullptr);
    EXPECT_EQ(Row(7, 0, 30), "11111.....11111111113333311111");
    EXPECT_EQ(log, (Log{"root>off", "plain>off", "direct>wnd"}));

    // A direct frame that does draw puts its pixels straight into the window.
    log.clear();
    auto* painter = new PaintFrame(log, "painter", {12, 5, 15, 10}, 54);
    painter->SetVisible(false);
    root->AddChild(painter, false);
    wnd->Redraw(nullptr);
    EXPECT_EQ(Row(13, 0, 12), "111114444411");
    EXPECT_EQ(log, (Log{"root>off", "plain>off", "direct>wnd", "painter>wnd"}));
}

TEST_F(PaintTest, PaintRequestsFromTheWindowSystemRedrawTheInvalidArea)
{
    auto* root = new PaintFrame(log, "root", {0, 0, 20, 40}, 21);
    auto* child = new PaintFrame(log, "child", {2, 2, 8, 8}, 32);
    root->AddChild(child, false);
    Make(CWind::kFlagOffScreen, root);
    child->Draw(false);
    PumpAll();
    // The off-screen pass draws every frame under the area; only the area reaches the window.
    EXPECT_EQ(log, (Log{"root>off", "child>off"}));
    EXPECT_EQ(Row(5, 0, 12), "..222222....");
    EXPECT_EQ(Row(0, 0, 4), "....");
}

TEST_F(PaintTest, UpdateWindowDrawsAnOpaqueLeafAtOnce)
{
    auto* root = new PaintFrame(log, "root", {0, 0, 20, 40}, 21);
    auto* leaf = new PaintFrame(log, "leaf", {2, 2, 8, 8}, 32);
    root->AddChild(leaf, false);
    Make(CWind::kFlagOffScreen, root);
    leaf->UpdateWindow();
    EXPECT_EQ(log, Log{"leaf>off"}); // into the bitmap, then copied: no paint request waits
    EXPECT_EQ(Row(5, 0, 10), "..222222..");
    EXPECT_TRUE(plat::GetUpdateRect(wnd->GetHwnd()).Empty());

    // A window whose root frame is direct paints single frames straight into the window.
    log.clear();
    root->SetVisible(false);
    leaf->UpdateWindow();
    EXPECT_EQ(log, Log{"leaf>wnd"});

    // A frame with children is repainted through a paint request instead.
    log.clear();
    root->SetVisible(true);
    root->UpdateWindow();
    EXPECT_EQ(log, (Log{"root>off", "leaf>off"}));
}

TEST_F(PaintTest, BackgroundAndBorderPixels)
{
    auto* root = new PaintFrame(log, "root", {0, 0, 30, 40}, 0, false);
    auto* boxed = new PaintFrame(log, "boxed", {10, 10, 20, 30}, 21);
    boxed->SetBorder(CFrame::kFlagBorders);
    boxed->SetForeColor(33);
    root->AddChild(boxed, false);
    Make(0, root);
    CDrawEnv* env = boxed->GetDrawEnv();
    ASSERT_NE(env, nullptr);
    boxed->DrawBackground(env);
    boxed->DrawBorder(env);
    EXPECT_EQ(Row(9, 9, 31), "......................");
    EXPECT_EQ(Row(10, 9, 31), ".33333333333333333333."); // top: left to right - 1
    EXPECT_EQ(Row(11, 9, 31), ".31111111111111111113."); // background inset by one
    EXPECT_EQ(Row(19, 9, 31), ".33333333333333333333."); // bottom - 1
    EXPECT_EQ(Row(20, 9, 31), "......................");
    // With only some borders the background covers the whole rectangle.
    boxed->SetBorder(CFrame::kFlagBorderTop);
    boxed->SetBackColor(44);
    boxed->DrawBackground(env);
    EXPECT_EQ(Row(10, 9, 31), ".44444444444444444444.");
}

TEST_F(PaintTest, APaletteChangeRebuildsTheOffScreenBitmap)
{
    auto* root = new PaintFrame(log, "root", {0, 0, 20, 40}, 21);
    Make(0, root);
    EXPECT_EQ(wnd->GetOffScreenEnv(), nullptr);
    plat::ColorTable colors = plat::GetDesktopPalette();
    colors[100] = {1, 2, 3};
    CPalette palette(&colors);
    CWind::SetPaletteAllWindows(&palette);
    COffScEnv* first = wnd->GetOffScreenEnv();
    ASSERT_NE(first, nullptr); // every window paints through a bitmap from now on
    EXPECT_EQ(first->GetBitmap()->GetRect(), CRect(0, 0, 20, 40));
    EXPECT_EQ(wnd->GetPalette(), &palette);
    wnd->MoveResize(50, 30);
    EXPECT_EQ(wnd->GetOffScreenEnv()->GetBitmap()->GetRect(), CRect(0, 0, 30, 50));
    // Foreground realisation makes the window's palette the desktop's.
    plat::SendWindowMessage(wnd->GetHwnd(), plat::msg::QueryNewPalette);
    EXPECT_EQ(plat::GetDesktopPalette()[100], (plat::Rgb{1, 2, 3}));
}

} // namespace
