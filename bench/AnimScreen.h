#pragma once
// The screen of the animated-frame benchmarks: a full-screen animated frame over a background
// of a diagonal pattern, in a shown window drawn off screen.
#include <benchmark/benchmark.h>

#include "engine/controls/AnimFrame.h"
#include "engine/controls/Wind.h"
#include "engine/controls/WndProc.h"
#include "engine/graphics/DibSect.h"
#include "engine/graphics/RsrcColl.h"
#include "engine/graphics/RsrcList.h"
#include "platform/Window.h"

#include "bench/References.h"

namespace benchref {

class ScreenBackground : public CRsrcColl {
public:
    ScreenBackground() : bitmap_(CRect(0, 0, kScreenHeight, kScreenWidth), CPoint(0, 0), 8, 1)
    {
        count_ = 1;
        uint8_t* bits = bitmap_.LockBits();
        for (int v = 0; v < kScreenHeight; ++v)
            for (int h = 0; h < kScreenWidth; ++h)
                bits[bitmap_.RowOffset(v) + h] = static_cast<uint8_t>(10 + (h + v) % 200);
        bitmap_.UnlockBits();
    }
    CDibSect* GetEntry(int16_t index) override { return index == 0 ? &bitmap_ : nullptr; }
    void GetEntrySize(CPoint& size, int16_t) override { size.Set(kScreenWidth, kScreenHeight); }
    int32_t GetByteSize() override { return bitmap_.GetImageBytes(); }

private:
    CDibSect bitmap_;
};

// The animated frame of a new window (the caller deletes the window, which deletes the frame).
inline CAnimFrame* MakeAnimScreen(CWind*& window)
{
    plat::ResetWindowSystem();
    RegisterEngineClasses();
    auto* anim = new CAnimFrame(CBaseObj::kNewId, CRect(0, 0, kScreenHeight, kScreenWidth), nullptr);
    anim->SetImage(new CRsrcList(new ScreenBackground, 0), 0);
    window = new CWind(CWind::kTypeTopLevel, anim, nullptr, CWind::kFlagOffScreen);
    uint32_t exStyle = 0;
    const uint32_t style = window->GetStyle(exStyle);
    window->Create(CWind::kTypeTopLevel, nullptr, style, exStyle, nullptr);
    window->ShowWnd();
    return anim;
}

// Times the screen's update steps, reported beside copying the whole screen once (what a step
// that recomposes the window costs at the least); then deletes the window.
inline void TimeAnimSteps(benchmark::State& state, CAnimFrame* anim, CWind* window)
{
    anim->Update(nullptr, false);
    RunVsMemcpy(state, kScreenBytes, [&] {
        anim->Update(nullptr, true);
        benchmark::ClobberMemory();
    });
    state.SetItemsProcessed(state.iterations());
    delete window;
}

} // namespace benchref
