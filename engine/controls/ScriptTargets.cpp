#include "engine/controls/ScriptTargets.h"

#include <vector>

#include "engine/controls/Frame.h"
#include "engine/controls/Wind.h"
#include "platform/Desktop.h"

namespace {

// The frame of the id, shown along its whole branch and enabled, in the frame's subtree.
CFrame* FindShown(CFrame* frame, int32_t id)
{
    if (!frame || !frame->IsShown())
        return nullptr;
    if (frame->GetId() == id && frame->IsEnabled())
        return frame;
    for (CFrame* child : ChildFrames(*frame))
        if (CFrame* found = FindShown(child, id))
            return found;
    return nullptr;
}

} // namespace

std::optional<plat::Point> FindShownObjectCentre(int32_t id)
{
    const std::vector<plat::WindowHandle> windows = plat::GetTopLevelWindows();
    for (auto it = windows.rbegin(); it != windows.rend(); ++it) {
        CWind* window = plat::IsVisible(*it) ? CWind::FromHandle(*it) : nullptr;
        if (!window)
            continue;
        for (int32_t i = window->GetLayerCount() - 1; i >= 0; --i)
            if (CFrame* found = FindShown(window->GetLayer(i), id)) {
                const CRect& r = found->GetDrawnRect();
                const plat::Point centre{(r.GetLeft() + r.GetRight()) / 2, (r.GetTop() + r.GetBottom()) / 2};
                return plat::ClientToScreen(*it, centre);
            }
    }
    return std::nullopt;
}

bool WriteWindowArea(plat::WindowHandle window, const std::string& file)
{
    plat::Rect area = plat::GetPresentedArea();
    if (window) {
        const plat::Rect client = plat::GetClientRect(window);
        const plat::Point origin = plat::ClientToScreen(window, plat::Point{0, 0});
        area = plat::Rect::FromSize(origin.x, origin.y, client.Width(), client.Height());
    }
    return plat::WriteDesktopPng(file, &area);
}
