#include "launcher/LaunchItem.h"

#include "engine/controls/ImageWnd.h"
#include "engine/controls/Wind.h"
#include "engine/framework/TimerEvent.h"
#include "engine/graphics/DrawEnv.h"
#include "launcher/TourSounds.h"
#include "platform/Input.h"
#include "platform/Window.h"

namespace tour {

CLaunchItem::CLaunchItem(CImgSet* images, ButtonEntry entry, std::string extra, int32_t index,
                         int32_t notifyId, CBaseObj* target, const CRect& rect, const ItemLooks& looks)
    : CPushFrame(kKindPush, index, rect, notifyId, target, kSendOnRelease, false), extra_(std::move(extra)),
      looks_(looks)
{
    SetTabOrder(kTabOrder);
    SetNotifyParam(reinterpret_cast<MsgWord>(this), 0);
    SetNotifyParam(0, 1);
    // The item draws its label; the image beside it is a child.
    SetTransparent(true);
    SetFlags(GetFlags() | kFlagOwnContent);
    if (images) {
        image_ = new CImageWnd(-1, rect.TopLeft(), images, 0, 0, false);
        AddChild(image_, true);
    }
    data_.parsed = ParseLaunchCommand(entry.command);
    data_.label = std::move(entry.label);
    data_.command = std::move(entry.command);
    data_.failure = std::move(entry.failure);
    data_.endsTour = entry.endsTour;
    if (data_.parsed.kind == LaunchKind::Installed &&
        !IsProductInstalled(data_.parsed.key, data_.parsed.subkey)) {
        availability_ = std::make_unique<CTimerEvent>(kPollTicks, &CLaunchItem::PollInstalled, this);
        Enable(false);
    }
    StartTimer(kPollTicks, nullptr);
}

CLaunchItem::~CLaunchItem() = default;

bool CLaunchItem::PollInstalled(void* item)
{
    auto* self = static_cast<CLaunchItem*>(item);
    if (!self->IsEnabled() && IsProductInstalled(self->data_.parsed.key, self->data_.parsed.subkey))
        self->Enable(true, true);
    return true;
}

bool CLaunchItem::OnTimer()
{
    CWind* window = GetOwnerWnd();
    if (!window || !plat::IsWindow(window->GetHwnd()))
        return false;
    const plat::Point at = plat::ScreenToClient(window->GetHwnd(), plat::GetCursorPos());
    const bool over = HitTest(CPoint(static_cast<int16_t>(at.x), static_cast<int16_t>(at.y)));
    if (over == hovered_)
        return true;
    hovered_ = over;
    window->Invalidate(&GetDrawnRect());
    if (over)
        PlayTourSound(kRollSound);
    return true;
}

int16_t CLaunchItem::GetCel() const
{
    if (!image_)
        return -1;
    return image_->GetFrame();
}

uint32_t CLaunchItem::GetLabelColour() const
{
    if (!IsEnabled())
        return kUnavailableColour;
    return GetState() == 1 || hovered_ ? looks_.hoverColour : looks_.normalColour;
}

void CLaunchItem::ShowCel(bool enabled, int32_t pressed)
{
    if (image_)
        image_->SetFrame(!enabled ? kCelUnavailable : pressed == 1 ? kCelPressed : kCelNormal);
}

void CLaunchItem::DrawContent(CDrawEnv* env, const CRect&)
{
    if (!env)
        return;
    const int32_t colour = env->GetForeColor();
    const int16_t font = env->GetFontId();
    env->SetFont(looks_.fontId);
    env->SetTextColor(static_cast<int32_t>(GetLabelColour()));
    CRect area = GetDrawnRect();
    area.SetLeft(static_cast<int16_t>(area.GetLeft() + kLabelOffset));
    env->DrawTextAligned(area, data_.label.c_str(), static_cast<int32_t>(data_.label.size()), 0, 0,
                         kBkTransparent);
    env->SetTextColor(colour);
    env->SetFont(font);
}

void CLaunchItem::Enable(bool enable, bool redraw, bool children)
{
    // The cel first, so that the item's redraw shows it.
    ShowCel(enable, enable ? GetState() : 0);
    CPushFrame::Enable(enable, redraw, children);
}

void CLaunchItem::SetState(int32_t value)
{
    ShowCel(IsEnabled(), value);
    CPushFrame::SetState(value);
}

} // namespace tour
