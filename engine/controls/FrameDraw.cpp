// CFrame: drawing into an environment.
#include "engine/controls/Frame.h"
#include "engine/controls/Wind.h"
#include "engine/graphics/DrawEnv.h"
#include "engine/graphics/OffScEnv.h"
#include "engine/graphics/WndEnv.h"

namespace {

// Draws with the environment's drawing colour set to `color`, then puts the old one back.
template <typename Draw> void InColor(CDrawEnv* env, uint32_t color, Draw&& draw)
{
    const int32_t saved = env->GetForeColor();
    env->SetTextColor(static_cast<int32_t>(color));
    draw();
    env->SetTextColor(saved);
}

} // namespace

void CFrame::DrawContent(CDrawEnv*, const CRect&) {}

void CFrame::DrawBackground(CDrawEnv* env)
{
    if (!env)
        return;
    CRect area = drawn_;
    if ((flags_ & kFlagBorders) == kFlagBorders)
        area.Inset(1, 1);
    InColor(env, backColor_, [&] { env->FillRect(area); });
}

void CFrame::DrawBorder(CDrawEnv* env)
{
    if (!env)
        return;
    const int16_t top = drawn_.GetTop(), left = drawn_.GetLeft();
    const int16_t bottom = drawn_.GetBottom(), right = drawn_.GetRight();
    const auto less1 = [](int16_t v) { return static_cast<int16_t>(v - 1); };
    InColor(env, borderColor_, [&] {
        if (flags_ & kFlagBorderTop)
            env->DrawLine(top, left, top, right);
        if (flags_ & kFlagBorderLeft)
            env->DrawLine(top, left, bottom, left);
        if (flags_ & kFlagBorderBottom)
            env->DrawLine(less1(bottom), left, less1(bottom), right);
        if (flags_ & kFlagBorderRight)
            env->DrawLine(top, less1(right), bottom, less1(right));
    });
}

CDrawEnv* CFrame::GetDrawEnv()
{
    CWind* wnd = GetOwnerWnd();
    if (!wnd)
        return nullptr;
    if (!IsDirect())
        if (CDrawEnv* offScreen = wnd->GetOffScreenEnv())
            return offScreen;
    return wnd->GetWndEnv();
}
