#include "engine/controls/ImageFrame.h"

#include "engine/controls/MenuBar.h"
#include "engine/controls/Wind.h"
#include "engine/framework/Appl.h"
#include "engine/framework/Message.h"
#include "engine/framework/MsgMgr.h"

CImageFrame::CImageFrame(int32_t id, const CRect& rect, bool transparent)
    : CFrame(kKind, id, rect, transparent)
{
}

CImageFrame::CImageFrame(int32_t id, const CPoint& at, bool transparent)
    : CFrame(kKind, id, at, transparent), grow_(1)
{
}

bool CImageFrame::HandleMessage(CMessage& message, CBaseObj* sender)
{
    switch (message.GetId()) {
    case kMsgEndModal:
        if (sender)
            result_ = sender->GetId();
        done_ = 1;
        return true;
    case kMsgMouse: done_ = 1; return true;
    default: return CFrame::HandleMessage(message, sender);
    }
}

void CImageFrame::AddChild(CFrame* child, bool draw)
{
    CFrame::AddChild(child, draw);
    if (!grow_ || !child)
        return;
    const CPoint before = GetBounds().TopLeft();
    SetBounds(GetDrawnRect().NewUnion(child->GetDrawnRect()));
    // SetBounds moves the children with the frame's corner; growing must leave them where
    // they are, inside the grown rectangle.
    const CPoint moved = GetBounds().TopLeft() - before;
    for (CFrame* c : ChildFrames(*this))
        c->MoveBy(static_cast<int16_t>(-moved.GetH()), static_cast<int16_t>(-moved.GetV()), 0);
}

int32_t CImageFrame::Run(CWind* window, bool centre)
{
    if (!window)
        return 0;
    done_ = 0;
    {
        MenuBarDisabled menuBar;
        window->PushFrame(this, centre);
        RegisterLiveObject(this);
        CBaseAppl* app = GetApplication();
        while (!done_ && !IsQuitRequested() && app)
            app->PumpMessage(true);
        window->PopFrame(this);
    }
    UnregisterLiveObject(this);
    return result_;
}

CTObj* CImageFrame::ReadTemplate(int32_t kind, CRawParser* parser) { return new CTImageFrame(kind, parser); }

CBaseObj* CImageFrame::Create(CTObj* tpl)
{
    auto* t = static_cast<CTImageFrame*>(tpl);
    const CRect& r = t->GetRect();
    if (r.GetBottom() > 0 && r.GetRight() > 0)
        return new CImageFrame(t->GetId(), r, false);
    return new CImageFrame(t->GetId(), CPoint(r.GetLeft(), r.GetTop()), false);
}
