// The animated frame's update step: 50 sprites of 32 x 32 pixels moving over a full-screen
// 640 x 480 background, each step erasing their old places from the background image,
// drawing them at their new places into the off-screen bitmap and copying the union to the
// window. Beside it, a memcpy of the full 8-bit screen: what repainting everything would
// cost at the least.
#include <benchmark/benchmark.h>

#include "engine/controls/AnimFrame.h"
#include "engine/controls/Wind.h"
#include "engine/controls/WndProc.h"
#include "engine/graphics/DrawEnv.h"
#include "engine/graphics/RsrcList.h"
#include "platform/Window.h"

#include "bench/References.h"

namespace {

constexpr int16_t kWidth = 640;
constexpr int16_t kHeight = 480;
constexpr int kSprites = 50;
constexpr int16_t kSpriteSize = 32;

// One full-screen bitmap of a diagonal pattern.
class Background : public CRsrcColl {
public:
    Background() : bitmap_(CRect(0, 0, kHeight, kWidth), CPoint(0, 0), 8, 1)
    {
        count_ = 1;
        uint8_t* bits = bitmap_.LockBits();
        for (int v = 0; v < kHeight; ++v)
            for (int h = 0; h < kWidth; ++h)
                bits[bitmap_.RowOffset(v) + h] = static_cast<uint8_t>(10 + (h + v) % 200);
        bitmap_.UnlockBits();
    }
    CDibSect* GetEntry(int16_t index) override { return index == 0 ? &bitmap_ : nullptr; }
    void GetEntrySize(CPoint& size, int16_t) override { size.Set(kWidth, kHeight); }
    int32_t GetByteSize() override { return bitmap_.GetImageBytes(); }

private:
    CDibSect bitmap_;
};

// A sprite that fills its rectangle and moves on a fixed velocity each step, bouncing off
// the screen's edges.
class Sprite : public CFrame {
public:
    Sprite(int i)
        : CFrame(5, kNewId, CRect(0, 0, kSpriteSize, kSpriteSize), false),
          dh_(static_cast<int16_t>(1 + i % 5)), dv_(static_cast<int16_t>(1 + i % 3))
    {
        SetBackColor(static_cast<uint32_t>(20 + i));
        MoveTo(static_cast<int16_t>((i * 53) % (kWidth - kSpriteSize)),
               static_cast<int16_t>((i * 31) % (kHeight - kSpriteSize)), 0);
    }
    void DrawContent(CDrawEnv* env, const CRect&) override { DrawBackground(env); }
    void Step() override
    {
        if (GetH() + dh_ < 0 || GetH() + dh_ > kWidth - kSpriteSize)
            dh_ = static_cast<int16_t>(-dh_);
        if (GetV() + dv_ < 0 || GetV() + dv_ > kHeight - kSpriteSize)
            dv_ = static_cast<int16_t>(-dv_);
        MoveBy(dh_, dv_, 0);
    }

private:
    int16_t dh_;
    int16_t dv_;
};

void BM_AnimFrameStep50Sprites(benchmark::State& state)
{
    plat::ResetWindowSystem();
    RegisterEngineClasses();
    auto* anim = new CAnimFrame(CBaseObj::kNewId, CRect(0, 0, kHeight, kWidth), nullptr);
    anim->SetImage(new CRsrcList(new Background, 0), 0);
    auto* wnd = new CWind(CWind::kTypeTopLevel, anim, nullptr, CWind::kFlagOffScreen);
    uint32_t exStyle = 0;
    const uint32_t style = wnd->GetStyle(exStyle);
    wnd->Create(CWind::kTypeTopLevel, nullptr, style, exStyle, nullptr);
    wnd->ShowWnd();
    for (int i = 0; i < kSprites; ++i)
        anim->AddChild(new Sprite(i), false);
    anim->Update(nullptr, false);
    const benchref::LoopTimer loop;
    for (auto _ : state) {
        anim->Update(nullptr, true);
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations());
    // A step recomposes the window: compare it with copying the whole screen once.
    benchref::ReportVsMemcpy(state, benchref::kScreenBytes, loop);
    delete wnd;
}
BENCHMARK(BM_AnimFrameStep50Sprites)->Unit(benchmark::kMicrosecond);

BENCHMARK_CAPTURE(MemcpyReference, fullScreen, benchref::kScreenBytes)->Unit(benchmark::kMicrosecond);

} // namespace
