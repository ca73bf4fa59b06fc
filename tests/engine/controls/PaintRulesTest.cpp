// The painter under both engine profiles: every DrawContent is logged with the frame, the
// environment it drew into and the clip rectangles that environment had.
#include <gtest/gtest.h>

#include "engine/framework/EngineProfile.h"
#include "engine/graphics/DrawEnv.h"
#include "engine/graphics/OffScEnv.h"
#include "engine/graphics/Palette.h"
#include "platform/Desktop.h"
#include "platform/DrawContext.h"
#include "tests/engine/controls/WindowsKit.h"

namespace {

using namespace wtest;

// The clip of an environment: each rectangle as "left,top,right,bottom" in the client area
// (the window's surface also holds its frame and caption), or "-" without a clip region.
std::string ClipText(CDrawEnv* env, const plat::Point& origin)
{
    const plat::Region* clip = env->GetHDC() ? env->GetHDC()->ClipRegion() : nullptr;
    if (!clip)
        return "-";
    std::string out;
    for (const plat::Rect& r : clip->Rects())
        (out += out.empty() ? "" : " ") +=
            std::to_string(r.left - origin.x) + "," + std::to_string(r.top - origin.y) + "," +
            std::to_string(r.right - origin.x) + "," + std::to_string(r.bottom - origin.y);
    return out.empty() ? "empty" : out;
}

class ClipLogFrame : public CFrame {
public:
    ClipLogFrame(Log& log, std::string name, const CRect& rect, uint32_t color)
        : CFrame(5, kNewId, rect, false), log_(log), name_(std::move(name))
    {
        SetBackColor(color);
    }
    void DrawContent(CDrawEnv* env, const CRect&) override
    {
        const bool offScreen = env->GetKind() == kEnvOffScreen;
        const plat::Point origin =
            offScreen ? plat::Point{0, 0} : plat::GetClientTarget(GetOwnerWnd()->GetHwnd()).origin;
        log_.push_back(name_ + (offScreen ? ">off " : ">wnd ") + ClipText(env, origin));
        env->SetTextColor(static_cast<int32_t>(GetBackColor()));
        env->FillRect(GetDrawnRect());
    }

private:
    Log& log_;
    std::string name_;
};

class PaintRules : public WindowsTest {
public:
    void TearDown() override { delete wnd; }
    ClipLogFrame* Frame(const char* name, const CRect& rect, CFrame* parent, uint32_t color = 30)
    {
        auto* f = new ClipLogFrame(log, name, rect, color);
        if (parent)
            parent->AddChild(f, false);
        return f;
    }
    void Show(CFrame* root, bool shadowed)
    {
        wnd = MakeWindow(CWind::kTypeTopLevel, root, shadowed ? uint32_t{CWind::kFlagOffScreen} : 0u);
        PumpAll();
        log.clear();
    }
    Log Repaint(const CRect* rect = nullptr)
    {
        log.clear();
        wnd->Redraw(rect);
        return log;
    }
    Log UpdateLeaf(CFrame* leaf)
    {
        log.clear();
        leaf->UpdateWindow();
        return log;
    }
    uint8_t Pixel(int x, int y)
    {
        const plat::ClientTarget t = plat::GetClientTarget(wnd->GetHwnd());
        return t.surface->At(t.origin.x + x, t.origin.y + y);
    }
    CWind* wnd = nullptr;
};

struct Row {
    const char* edgeCase;
    std::function<Log(PaintRules&)> run;
    Log game, launcher;
};

// CRect is (top, left, bottom, right).
const std::vector<Row>& Rows()
{
    static const std::vector<Row> rows = {
        {"without an off-screen environment a direct frame paints in the same pass, its parent cut",
         [](PaintRules& t) {
             CFrame* root = t.Frame("root", {0, 0, 20, 40}, nullptr);
             t.Frame("direct", {5, 5, 10, 10}, root)->SetVisible(false);
             t.Show(root, false);
             return t.Repaint();
         },
         {"root>wnd 0,0,40,5 0,5,5,10 10,5,40,10 0,10,40,20", "direct>wnd 5,5,10,10"},
         {"root>wnd 0,0,40,5 0,5,5,10 10,5,40,10 0,10,40,20", "direct>wnd 5,5,10,10"}},
        {"an opaque direct frame is left out of the composition and drawn after the copy",
         [](PaintRules& t) {
             CFrame* root = t.Frame("root", {0, 0, 20, 40}, nullptr);
             t.Frame("direct", {5, 5, 10, 10}, root)->SetVisible(false);
             t.Frame("plain", {5, 20, 10, 25}, root);
             t.Show(root, true);
             return t.Repaint();
         },
         {"root>off 0,0,40,20", "plain>off 0,0,40,20", "direct>wnd 5,5,10,10"},
         {"root>off 0,0,40,20", "plain>off 20,5,25,10", "direct>wnd 5,5,10,10"}},
        {"a transparent direct frame is drawn after the copy, which is not held off its area",
         [](PaintRules& t) {
             CFrame* root = t.Frame("root", {0, 0, 20, 40}, nullptr);
             CFrame* glass = t.Frame("glass", {5, 5, 10, 10}, root);
             glass->SetVisible(false);
             glass->SetFlags(glass->GetFlags() | CFrame::kFlagTransparent);
             t.Show(root, true);
             return t.Repaint();
         },
         {"root>off 0,0,40,20", "glass>wnd 5,5,10,10"},
         {"root>off 0,0,40,20", "glass>wnd 5,5,10,10"}},
        {"a hidden child is skipped with its subtree and cuts nothing from its parent",
         [](PaintRules& t) {
             CFrame* root = t.Frame("root", {0, 0, 20, 40}, nullptr);
             CFrame* hidden = t.Frame("hidden", {5, 5, 10, 10}, root);
             t.Frame("inner", {6, 6, 8, 8}, hidden);
             hidden->Hide(false, false);
             t.Show(root, false);
             return t.Repaint();
         },
         {"root>wnd 0,0,40,20"},
         {"root>wnd 0,0,40,20"}},
        {"a parent is painted under a transparent child except under its opaque descendants",
         [](PaintRules& t) {
             CFrame* root = t.Frame("root", {0, 0, 20, 40}, nullptr);
             CFrame* glass = t.Frame("glass", {0, 0, 10, 20}, root);
             glass->SetFlags(glass->GetFlags() | CFrame::kFlagTransparent);
             t.Frame("solid", {0, 0, 5, 5}, glass);
             t.Show(root, false);
             return t.Repaint();
         },
         {"root>wnd 5,0,40,5 0,5,40,20", "glass>wnd 5,0,20,5 0,5,20,10", "solid>wnd 0,0,5,5"},
         {"root>wnd 5,0,40,5 0,5,40,20", "glass>wnd 5,0,20,5 0,5,20,10", "solid>wnd 0,0,5,5"}},
        {"a child reaching outside its parent is clipped to the parent off-screen",
         [](PaintRules& t) {
             CFrame* root = t.Frame("root", {0, 0, 20, 40}, nullptr);
             CFrame* parent = t.Frame("parent", {0, 0, 10, 10}, root);
             t.Frame("wide", {2, 2, 8, 30}, parent);
             t.Show(root, true);
             return t.Repaint();
         },
         {"root>off 0,0,40,20", "parent>off 0,0,40,20", "wide>off 0,0,40,20"},
         {"root>off 0,0,40,20", "parent>off 0,0,10,10", "wide>off 2,2,10,8"}},
        {"the direct frames' area is worked out once: a later direct frame is not drawn after the copy",
         [](PaintRules& t) {
             CFrame* root = t.Frame("root", {0, 0, 20, 40}, nullptr);
             CFrame* late = t.Frame("late", {5, 5, 10, 10}, root);
             t.Show(root, true);
             t.Repaint();
             late->SetVisible(false);
             return t.Repaint();
         },
         {"root>off 0,0,40,20", "late>wnd 5,5,10,10"},
         {"root>off 0,0,40,20"}},
        {"children of an opaque direct frame are composed off-screen",
         [](PaintRules& t) {
             CFrame* root = t.Frame("root", {0, 0, 20, 40}, nullptr);
             CFrame* direct = t.Frame("direct", {0, 0, 10, 10}, root);
             direct->SetVisible(false);
             t.Frame("inner", {2, 2, 4, 4}, direct);
             t.Show(root, true);
             return t.Repaint();
         },
         {"root>off 0,0,40,20", "inner>off 0,0,40,20", "direct>wnd 0,0,10,10"},
         {"root>off 0,0,40,20", "inner>off 2,2,4,4", "direct>wnd 0,0,10,10"}},
        {"a painted rectangle that misses the root paints nothing",
         [](PaintRules& t) {
             CFrame* root = t.Frame("root", {0, 0, 20, 40}, nullptr);
             t.Show(root, true);
             const CRect away(30, 50, 35, 60);
             return t.Repaint(&away);
         },
         {},
         {}},
        {"one opaque leaf repainted at once: its own direct bit decides where it goes",
         [](PaintRules& t) {
             CFrame* root = t.Frame("root", {0, 0, 20, 40}, nullptr);
             CFrame* leaf = t.Frame("leaf", {5, 5, 10, 10}, root);
             leaf->SetVisible(false);
             t.Show(root, true);
             return t.UpdateLeaf(leaf);
         },
         {"leaf>off -"},
         {"leaf>wnd 0,0,40,20"}},
    };
    return rows;
}

TEST_F(PaintRules, EdgeCasesUnderBothProfiles)
{
    for (const bool launcher : {false, true}) {
        for (const Row& row : Rows()) {
            SetEngineProfile(launcher ? LauncherProfile() : EngineProfile{});
            EXPECT_EQ(row.run(*this), launcher ? row.launcher : row.game)
                << row.edgeCase << (launcher ? " (launcher)" : " (game)");
            delete wnd;
            wnd = nullptr;
        }
    }
}

TEST_F(PaintRules, AChildOutsideItsParentLeavesNoPixelsThereUnderTheClippingRule)
{
    for (const bool launcher : {false, true}) {
        SetEngineProfile(launcher ? LauncherProfile() : EngineProfile{});
        CFrame* root = Frame("root", {0, 0, 20, 40}, nullptr, 21);
        CFrame* parent = Frame("parent", {0, 0, 10, 10}, root, 32);
        Frame("wide", {2, 2, 8, 30}, parent, 43);
        Show(root, true);
        Repaint();
        EXPECT_EQ(Pixel(5, 5), 43);
        EXPECT_EQ(Pixel(20, 5), launcher ? 21 : 43) << "launcher " << launcher;
        delete wnd;
        wnd = nullptr;
    }
}

TEST_F(PaintRules, WithoutTheShadowOptionNoOffScreenEnvironmentEvenAfterAPaletteChange)
{
    for (const bool launcher : {false, true}) {
        SetEngineProfile(launcher ? LauncherProfile() : EngineProfile{});
        CWind plainWnd(CWind::kTypeTopLevel, Frame("root", {0, 0, 20, 40}, nullptr), nullptr, CWindOptions{});
        CWind shadowed(CWind::kTypeTopLevel, Frame("root", {0, 0, 20, 40}, nullptr), nullptr,
                       CWindOptions{.shadowed = true});
        EXPECT_EQ(plainWnd.GetOffScreenEnv(), nullptr);
        EXPECT_NE(shadowed.GetOffScreenEnv(), nullptr);
        plat::ColorTable colors = plat::GetDesktopPalette();
        CPalette palette(&colors);
        plainWnd.SetPalette(&palette);
        EXPECT_EQ(plainWnd.GetOffScreenEnv() != nullptr, !launcher) << "launcher " << launcher;
    }
}

} // namespace
