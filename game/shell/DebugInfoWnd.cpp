#include "game/shell/DebugInfoWnd.h"

#include "engine/controls/TextFrame.h"
#include "engine/controls/native/Button.h"
#include "engine/framework/Message.h"
#include "engine/framework/MsgMgr.h"
#include "engine/framework/Str.h"
#include "engine/graphics/DrawEnv.h"

namespace {

CTextFrame* MakeText(std::unique_ptr<CStr> text)
{
    auto* frame = new CTextFrame(CBaseObj::kNewId, CRect(0, 0, 140, 412), std::move(text), 1, true, false);
    frame->SetHJust(kJustifyCenter);
    frame->SetVJust(kJustifyCenter);
    frame->SetBackColor(0x10ffffff);
    return frame;
}

} // namespace

CDebugInfoWnd::CDebugInfoWnd(std::unique_ptr<CStr> text)
    : CDebugInfoWnd(MakeText(std::move(text)), CRect(107, 185, 127, 255))
{
    text_ = static_cast<CTextFrame*>(GetFirstFrame());
}

CDebugInfoWnd::CDebugInfoWnd(CFrame* root, const CRect& okRect)
    : CStrTplWnd(std::make_unique<CStr>("Debug Information"), root, nullptr, nullptr, 0)
{
    GetFirstFrame()->AddChild(
        new CButton(kOkId, okRect, kOkMessage, this, std::make_unique<CStr>("OK"), 0, true), false);
    RegisterLiveObject(this);
}

bool CDebugInfoWnd::HandleMessage(CMessage& message, CBaseObj* sender)
{
    SetDone(false);
    if (message.GetId() == kMsgCloseRequest)
        return true;
    if (message.GetId() == kOkMessage && sender && sender->GetId() == kOkId) {
        CMessage end(kMsgEndModal);
        return CStrTplWnd::HandleMessage(end, sender);
    }
    return false;
}
