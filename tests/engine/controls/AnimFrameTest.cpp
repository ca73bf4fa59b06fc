#include <gtest/gtest.h>

#include "engine/controls/AnimFrame.h"
#include "engine/framework/Stopwatch.h"
#include "engine/framework/TimerEvent.h"
#include "engine/graphics/DrawEnv.h"
#include "engine/graphics/OffScEnv.h"
#include "engine/graphics/Palette.h"
#include "engine/graphics/RsrcList.h"
#include "platform/Desktop.h"
#include "tests/engine/controls/WindowsKit.h"
#include "tests/support/TestEnv.h"

namespace {

using namespace wtest;

// One bitmap whose pixel (h, v) is 100 + h % 10: the background of the tests.
class StripedBitmap : public CRsrcColl {
public:
    StripedBitmap(int16_t width, int16_t height) : bitmap_(CRect(0, 0, height, width), CPoint(0, 0), 8, 1)
    {
        count_ = 1;
        uint8_t* bits = bitmap_.LockBits();
        for (int v = 0; v < height; ++v)
            for (int h = 0; h < width; ++h)
                bits[bitmap_.RowOffset(v) + h] = static_cast<uint8_t>(100 + h % 10);
        bitmap_.UnlockBits();
    }
    CDibSect* GetEntry(int16_t index) override { return index == 0 ? &bitmap_ : nullptr; }
    void GetEntrySize(CPoint& size, int16_t) override
    {
        size.Set(bitmap_.GetRect().GetWidth(), bitmap_.GetRect().GetHeight());
    }
    int32_t GetByteSize() override { return bitmap_.GetImageBytes(); }

private:
    CDibSect bitmap_;
};

// A sprite: a frame that fills its drawn rectangle with its colour.
class Sprite : public CFrame {
public:
    Sprite(Log& log, std::string name, const CRect& rect, uint8_t color)
        : CFrame(5, kNewId, rect, false), log_(log), name_(std::move(name))
    {
        SetBackColor(color);
    }
    void DrawContent(CDrawEnv* env, const CRect&) override
    {
        log_.push_back("draw " + name_);
        DrawBackground(env);
    }

private:
    Log& log_;
    std::string name_;
};

// A window that counts the copies from its off-screen bitmap to the screen.
class SpyWind : public CWind {
public:
    SpyWind(Log& log, CFrame* root) : CWind(kTypeTopLevel, root, nullptr, kFlagOffScreen), log_(log) {}
    void DrawClipped(const CRect& rect) override
    {
        log_.push_back("copy " + Str(rect));
        CWind::DrawClipped(rect);
    }

private:
    Log& log_;
};

class AnimFrameTest : public WindowsTest {
protected:
    void SetUp() override
    {
        WindowsTest::SetUp();
        anim = new CAnimFrame(CBaseObj::kNewId, CRect(0, 0, 40, 60), nullptr);
        anim->SetImage(new CRsrcList(new StripedBitmap(60, 40), 0), 0);
        wnd = new SpyWind(log, anim);
        uint32_t exStyle = 0;
        const uint32_t style = wnd->GetStyle(exStyle);
        wnd->Create(CWind::kTypeTopLevel, nullptr, style, exStyle, nullptr);
        wnd->ShowWnd();
        // The first step draws the background into the bitmap; the window's paint shows it.
        anim->Update(nullptr, false);
        PumpAll();
        log.clear();
    }
    void TearDown() override { delete wnd; }

    Sprite* AddSprite(const char* name, CRect rect, uint8_t color)
    {
        auto* s = new Sprite(log, name, rect, color);
        anim->AddChild(s, false);
        anim->Update(nullptr, false);
        log.clear();
        return s;
    }
    uint8_t Pixel(int x, int y)
    {
        const plat::ClientTarget t = plat::GetClientTarget(wnd->GetHwnd());
        return t.surface->At(t.origin.x + x, t.origin.y + y);
    }
    // One character per pixel: 'b' background, else the colour's last digit.
    std::string Row(int y, int x0, int x1)
    {
        std::string out;
        for (int x = x0; x < x1; ++x) {
            const uint8_t p = Pixel(x, y);
            out += p == 100 + x % 10 ? 'b' : static_cast<char>('0' + p % 10);
        }
        return out;
    }

    CAnimFrame* anim = nullptr;
    SpyWind* wnd = nullptr;
};

TEST_F(AnimFrameTest, StartsDirectTransparentWithOwnContentAndTheWindowsBitmap)
{
    EXPECT_EQ(anim->GetKind(), CAnimFrame::kKindAnim);
    EXPECT_TRUE(anim->IsDirect());
    EXPECT_TRUE(anim->IsTransparent());
    EXPECT_TRUE(anim->HasOwnContent());
    EXPECT_EQ(anim->GetDrawEnv(), wnd->GetOffScreenEnv());
    EXPECT_EQ(Row(10, 0, 12), "bbbbbbbbbbbb");

    // The window makes a new bitmap on a palette change; the frame draws into the new one.
    plat::ColorTable colors = plat::GetDesktopPalette();
    CPalette palette(&colors);
    CWind::SetPaletteAllWindows(&palette);
    EXPECT_EQ(anim->GetDrawEnv(), wnd->GetOffScreenEnv());
}

TEST_F(AnimFrameTest, AMoveOfTenPixelsIsCopiedAsOneUnionAndNothingChangedCopiesNothing)
{
    Sprite* sprite = AddSprite("s", {10, 10, 20, 20}, 33);
    EXPECT_EQ(Row(15, 8, 32), "bb3333333333bbbbbbbbbbbb");
    anim->Update(nullptr, true);
    EXPECT_EQ(log, Log{}); // nothing changed: no copy at all
    EXPECT_EQ(anim->GetUpdateArea()->GetCount(), 0);
    EXPECT_EQ(anim->GetEraseArea()->GetCount(), 0);

    sprite->MoveBy(10, 0, 0);
    anim->Update(nullptr, true);
    EXPECT_EQ(log, (Log{"draw s", "copy 10,10,20,30"}));
    EXPECT_EQ(Row(15, 8, 32), "bbbbbbbbbbbb3333333333bb");
}

TEST_F(AnimFrameTest, AHiddenChangedChildIsErasedAndNotDrawn)
{
    Sprite* sprite = AddSprite("s", {10, 10, 20, 20}, 33);
    sprite->Hide(false, false);
    anim->Update(nullptr, true);
    EXPECT_EQ(log, Log{"copy 10,10,20,20"});
    EXPECT_EQ(Row(15, 8, 22), "bbbbbbbbbbbbbb");
}

TEST_F(AnimFrameTest, AnUnchangedChildOverThePlaceAMovedChildLeftIsRedrawn)
{
    Sprite* mover = AddSprite("mover", {10, 10, 20, 20}, 33);
    AddSprite("under", {12, 12, 30, 18}, 44);
    mover->MoveBy(20, 0, 0);
    anim->Update(nullptr, true);
    EXPECT_EQ(log, (Log{"draw mover", "draw under", "copy 10,10,30,40"}));
    EXPECT_EQ(Row(15, 8, 42), "bbbb444444bbbbbbbbbbbb3333333333bb");
    EXPECT_EQ(Row(25, 8, 42), "bbbb444444bbbbbbbbbbbbbbbbbbbbbbbb");
}

TEST_F(AnimFrameTest, ARemovedChildsPlaceIsRestoredInTheBitmapAndShownByAFlush)
{
    Sprite* sprite = AddSprite("s", {10, 10, 20, 20}, 33);
    anim->RemoveChild(*sprite);
    delete sprite;
    anim->Update(nullptr, true);
    EXPECT_EQ(log, Log{}); // no child changed: the step copies nothing
    CDibSect* bitmap = wnd->GetOffScreenEnv()->GetBitmap();
    EXPECT_EQ(bitmap->GetPixel(15, 15), 105);
    anim->AddUpdateRect({10, 10, 20, 20});
    anim->FlushUpdates({10, 8, 20, 20});
    EXPECT_EQ(log, Log{"copy 10,8,20,20"});
    EXPECT_EQ(Row(15, 8, 22), "bbbbbbbbbbbbbb");
    EXPECT_EQ(anim->GetUpdateArea()->GetCount(), 0);
}

TEST_F(AnimFrameTest, ChildrenInListOrderAndUnderAPoint)
{
    Sprite* back = AddSprite("back", {0, 0, 30, 30}, 33);
    Sprite* front = AddSprite("front", {10, 10, 20, 20}, 44);
    front->MoveBy(0, 0, -1);
    EXPECT_EQ(anim->GetFirstChild(), back);
    EXPECT_EQ(anim->GetHeadChild(), back);
    EXPECT_EQ(anim->GetNextChild(back), front);
    EXPECT_EQ(anim->GetNextChild(front), nullptr);
    EXPECT_EQ(anim->GetPrevChild(front), back);
    EXPECT_EQ(anim->GetNthChild(1), front);
    EXPECT_EQ(anim->GetNthChild(2), nullptr);
    EXPECT_EQ(anim->FindChildAt(CPoint(15, 15), -1), front);
    EXPECT_EQ(anim->FindChildAt(CPoint(15, 15), back->GetId()), back);
    EXPECT_EQ(anim->FindChildAt(CPoint(20, 20), -1), front); // edges included

    back->SetCursor(3);
    front->SetCursor(9);
    EXPECT_EQ(anim->GetCursorAt(nullptr), 0); // the mouse is elsewhere
    const CPoint inside(15, 15), outside(25, 5), nowhere(50, 35);
    EXPECT_EQ(anim->GetCursorAt(&inside), 3); // the child nearest the head answers last
    EXPECT_EQ(anim->GetCursorAt(&outside), 3);
    EXPECT_EQ(anim->GetCursorAt(&nowhere), 0);
}

TEST_F(AnimFrameTest, StepsOnTheGameClockWhileUpdatingAndChildrenStepWithTheirParent)
{
    auto* inner = new CAnimFrame(CBaseObj::kNewId, CRect(0, 0, 10, 10), nullptr);
    anim->AddChild(inner, false);
    struct Counter : CFrame {
        Counter() : CFrame(5, kNewId, CRect(1, 1, 2, 2), false) {}
        void Step() override { ++steps; }
        int steps = 0;
    };
    auto* counter = new Counter;
    inner->AddChild(counter, false);
    CreateClocks();
    anim->StartTimer(2, nullptr);
    qmtest::Clock().Advance(2 * 17);
    RunDueTimers();
    EXPECT_EQ(counter->steps, 1);
    GetGameClock()->Pause();
    qmtest::Clock().Advance(10 * 17);
    RunDueTimers();
    EXPECT_EQ(counter->steps, 1);
    GetGameClock()->Resume();
    anim->SetUpdating(false);
    qmtest::Clock().Advance(2 * 17);
    RunDueTimers();
    EXPECT_EQ(counter->steps, 1);
    anim->SetUpdating(true);
    inner->SetUpdating(false); // the inner frame skips its own update, its children too
    qmtest::Clock().Advance(2 * 17);
    RunDueTimers();
    EXPECT_EQ(counter->steps, 1);
}

TEST_F(AnimFrameTest, UnderAModalLayerTheFrameIsPaintedByTheWindowAndTakesNoSteps)
{
    auto* layer = new LogFrame(log, "layer", {5, 5, 15, 15});
    wnd->PushFrame(layer, false);
    EXPECT_TRUE(anim->IsEnabled());
    EXPECT_FALSE(anim->IsDirect());
    EXPECT_FALSE(anim->IsUpdating());
    wnd->PopFrame(layer);
    EXPECT_TRUE(anim->IsDirect());
    EXPECT_TRUE(anim->IsUpdating());
    delete layer;
}

TEST_F(AnimFrameTest, BelowAnAncestorWithOwnContentTheFrameIsPaintedWithIt)
{
    auto* inner = new CAnimFrame(CBaseObj::kNewId, CRect(0, 0, 10, 10), nullptr);
    anim->AddChild(inner, false);
    EXPECT_TRUE(inner->IsRedrawWhole());
    EXPECT_FALSE(inner->IsDirect());
}

} // namespace
