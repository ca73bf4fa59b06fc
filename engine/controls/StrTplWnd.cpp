#include "engine/controls/StrTplWnd.h"

#include "engine/controls/Frame.h"
#include "engine/controls/MenuBar.h"
#include "engine/controls/StrTpl.h"
#include "engine/framework/Appl.h"
#include "engine/framework/Str.h"
#include "platform/Window.h"

namespace {

// The system commands a dialog of fixed size does not offer.
constexpr uint32_t kResizingCommands[] = {plat::syscmd::Size, plat::syscmd::Minimize, plat::syscmd::Maximize,
                                          plat::syscmd::Restore};

} // namespace

CStrTplWnd::CStrTplWnd(std::unique_ptr<CStr> title, CFrame* root, const CPoint* position, CWind* parent,
                       uint32_t flags)
    : CWind(kTypeModalDialog, root, PointOrNull(PositionInParent(position, parent)), flags)
{
    uint32_t exStyle = 0;
    const uint32_t style = GetStyle(exStyle);
    Create(kTypeModalDialog, nullptr, style, exStyle, parent);
    if (IsFixedSize())
        for (uint32_t command : kResizingCommands)
            plat::RemoveSystemCommand(GetHwnd(), command);
    SetTitle(std::move(title));
}

bool CStrTplWnd::HandleMessage(CMessage& message, CBaseObj* sender)
{
    if (message.GetId() != kMsgEndModal)
        return CWind::HandleMessage(message, sender);
    // The controls leave the window before the loop ends.
    if (CFrame* root = GetFirstFrame())
        root->SetOwner(nullptr);
    done_ = 1;
    if (sender)
        result_ = sender->GetId();
    return true;
}

bool CStrTplWnd::Close(bool ask)
{
    if (!CWind::Close(ask))
        return false;
    done_ = 1;
    result_ = 0;
    // Deleting the window now would pull it from under its running loop.
    return !running_;
}

int32_t CStrTplWnd::RunModal()
{
    done_ = 0;
    if (!GetFirstFrame())
        return result_;
    const bool outerRunning = running_;
    running_ = true;
    {
        MenuBarDisabled menuBar;
        Activate();
        CBaseAppl* app = GetApplication();
        while (app && !IsQuitRequested() && !done_)
            app->PumpMessage(true);
    }
    running_ = outerRunning;
    return result_;
}

CBaseObj* CStrTplWnd::CreateFromTemplate(CTObj* tpl)
{
    auto* t = static_cast<CStrTpl*>(tpl);
    const std::optional<CPoint> at = t->GetPosition();
    auto* wnd = new CStrTplWnd(t->MakeTitle(), nullptr, PointOrNull(at), t->FindParent(), t->GetFlags());
    wnd->SetId(t->GetId());
    return wnd;
}
