// CFrame: the tree of graphic objects, their moves, showing and hiding, and hit tests.
#include "engine/controls/Frame.h"

#include "engine/controls/InputState.h"
#include "engine/controls/Wind.h"
#include "engine/controls/WindHooks.h"
#include "engine/framework/DeferredDelete.h"
#include "engine/framework/MsgMgr.h"

namespace {

int16_t Diff16(int16_t a, int16_t b)
{
    return static_cast<int16_t>(static_cast<uint16_t>(a) - static_cast<uint16_t>(b));
}

int16_t Sum16(int16_t a, int16_t b)
{
    return static_cast<int16_t>(static_cast<uint16_t>(a) + static_cast<uint16_t>(b));
}

CRect EmptyAt(const CPoint& at) { return CRect(at.GetV(), at.GetH(), at.GetV(), at.GetH()); }

} // namespace

CFrame::CFrame(uint32_t kind, int32_t id, const CRect& rect, bool transparent)
    : CEventObj(kind, id, nullptr), bounds_(rect), drawn_(rect), lastDrawn_(rect), h_(rect.GetLeft()),
      v_(rect.GetTop())
{
    flags_ |= kFlagShown;
    if (transparent)
        flags_ |= kFlagTransparent;
}

CFrame::CFrame(uint32_t kind, int32_t id, const CPoint& at, bool transparent)
    : CFrame(kind, id, EmptyAt(at), transparent)
{
}

CFrame::~CFrame()
{
    if (helpId_ != 0)
        if (const auto& forget = GetWindHooks().forgetHelpFrame)
            forget(this);
    CFrame::Draw(false);
    // A frame deleted while still in a tree leaves it, so no list keeps a freed frame.
    if (parent_)
        parent_->UnlinkChild(this);
    else if (CWind* wnd = GetOwnerWnd())
        wnd->DropLayer(this);
    ForgetFrameInput(this);
    cache_.reset();
    if (children_) {
        while (CList::Node* head = children_->GetHeadNode()) {
            auto* child = static_cast<CFrame*>(head->item);
            CFrame::RemoveChild(*child);
            delete child;
        }
        children_.reset();
    }
}

void CFrame::Destroy()
{
    if (parent_)
        parent_->RemoveChild(*this);
    else if (CWind* wnd = GetOwnerWnd())
        wnd->DropLayer(this);
    Withdraw();
    DeleteWhenSafe(this);
}

void CFrame::RemoveFromParent()
{
    if (parent_)
        parent_->RemoveChild(*this);
    else if (CWind* wnd = GetOwnerWnd())
        wnd->DropLayer(this);
}

void CFrame::Withdraw()
{
    UnregisterLiveObject(this);
    StopTimer();
    ForgetFrameInput(this);
    if (helpId_ != 0)
        if (const auto& forget = GetWindHooks().forgetHelpFrame)
            forget(this);
    for (CFrame* child : ChildFrames(*this))
        child->Withdraw();
}

void CFrame::SetOwner(CBaseObj* owner)
{
    CEventObj::SetOwner(owner);
    for (CFrame* child : ChildFrames(*this))
        if (child->GetOwner() != owner)
            child->SetOwner(owner);
}

CWind* CFrame::GetOwnerWnd() const { return dynamic_cast<CWind*>(GetOwner()); }

bool CFrame::HandleMessage(CMessage&, CBaseObj*) { return true; }

void CFrame::RestoreEnabled(bool flag, int32_t recurse)
{
    if (!HasSavedState())
        return;
    CEventObj::RestoreEnabled(flag);
    if (recurse)
        for (CFrame* child : ChildFrames(*this))
            child->RestoreEnabled(flag, recurse);
}

void CFrame::Enable(bool enable, bool flag, bool recurse)
{
    CEventObj::Enable(enable, flag, false);
    if (recurse)
        for (CFrame* child : ChildFrames(*this))
            child->Enable(enable, flag, recurse);
}

void CFrame::SaveEnabled(bool flag, int32_t recurse)
{
    if (HasSavedState())
        return;
    CEventObj::SaveEnabled(flag);
    if (recurse)
        for (CFrame* child : ChildFrames(*this))
            child->SaveEnabled(flag, recurse);
}

void CFrame::AddChild(CFrame* child, bool draw)
{
    if (!child)
        return;
    if (!children_)
        children_ = std::make_unique<CList>();
    child->parent_ = this;
    if (child->GetOwner() != GetOwner())
        child->SetOwner(GetOwner());
    // Before the first child lying in front of it (a lower z): equal z keeps the order of
    // adding, the newest last.
    CList::Node* before = children_->GetHeadNode();
    while (before && static_cast<CFrame*>(before->item)->z_ >= child->z_)
        before = before->next;
    if (before)
        children_->InsertBefore(child, before);
    else
        children_->AddTail(child);
    if (draw)
        child->Draw(false);
    DeleteOwnerTempObj();
}

void CFrame::UnlinkChild(CFrame* child)
{
    if (children_)
        children_->RemoveItem(child);
    child->parent_ = nullptr;
}

CFrame* CFrame::RemoveChild(const CBaseObj& key)
{
    if (!children_)
        return nullptr;
    CFrame* found = nullptr;
    for (CFrame* child : ChildFrames(*this))
        if (child == &key) {
            found = child;
            break;
        }
    if (!found)
        for (CFrame* child : ChildFrames(*this))
            if (child->Matches(key)) {
                found = child;
                break;
            }
    if (!found)
        return nullptr;
    if (found->IsShown())
        found->Draw(false);
    if (found->GetOwner())
        found->SetOwner(nullptr);
    UnlinkChild(found);
    if (found == GetHoverFrame())
        ReleaseCaptureObj();
    return found;
}

void CFrame::ResortChild(CFrame* child)
{
    if (!children_)
        return;
    CList::Node* node = children_->FindNode(child);
    if (!node)
        return;
    // Behind every following sibling that lies as far back or further...
    CList::Node* after = nullptr;
    for (CList::Node* n = node->next; n; n = n->next)
        if (static_cast<CFrame*>(n->item)->z_ >= child->z_)
            after = n;
    if (after) {
        children_->RemoveNode(node);
        children_->InsertAfter(child, after);
        return;
    }
    // ...else in front of the earliest preceding sibling that lies in front of it.
    CList::Node* before = nullptr;
    for (CList::Node* n = node->prev; n; n = n->prev)
        if (static_cast<CFrame*>(n->item)->z_ < child->z_)
            before = n;
    if (before) {
        children_->RemoveNode(node);
        children_->InsertBefore(child, before);
    }
}

void CFrame::Broadcast(const CRect& a, const CRect& b)
{
    for (CFrame* child : ChildFrames(*this))
        child->Broadcast(a, b);
}

void CFrame::SetShownBit(bool shown)
{
    if (shown)
        flags_ |= kFlagShown;
    else
        flags_ &= ~kFlagShown;
}

void CFrame::Show(bool recurse)
{
    if (IsShown())
        return;
    SetShownBit(true);
    changed_ = 1;
    Draw(false);
    if (recurse)
        for (CFrame* child : ChildFrames(*this))
            child->Show(true);
}

void CFrame::Hide(bool recurse, bool erase)
{
    if (!IsShown())
        return;
    if (erase) {
        // Invalidated while still shown; the children's areas lie inside, so they need no
        // erase of their own.
        Draw(false);
        erase = false;
    }
    SetShownBit(false);
    changed_ = 1;
    if (recurse)
        for (CFrame* child : ChildFrames(*this))
            child->Hide(true, erase);
}

bool CFrame::HitTest(const CPoint& p)
{
    return IsShown() && p.GetH() >= drawn_.GetLeft() && p.GetH() < drawn_.GetRight() &&
           p.GetV() >= drawn_.GetTop() && p.GetV() < drawn_.GetBottom();
}

void CFrame::Draw(bool whole)
{
    CWind* wnd = GetOwnerWnd();
    if (!wnd || !IsShown())
        return;
    if (IsTransparent() && !HasOwnContent() && !whole) {
        for (CFrame* child : ChildFrames(*this))
            child->Draw(false);
        return;
    }
    wnd->Invalidate(&drawn_);
    changed_ = 1;
}

void CFrame::RecomputeDrawn()
{
    if (mapProc_)
        mapProc_(bounds_, drawn_, z_);
    else
        drawn_ = bounds_;
}

void CFrame::MoveBy(int16_t dh, int16_t dv, int16_t dz)
{
    h_ = Sum16(h_, dh);
    v_ = Sum16(v_, dv);
    z_ = Sum16(z_, dz);
    bounds_.Offset(dh, dv);
    RecomputeDrawn();
    for (CFrame* child : ChildFrames(*this))
        child->MoveBy(dh, dv, 0);
    changed_ = 1;
    if (dz != 0 && parent_)
        parent_->ResortChild(this);
    if (IsDirect())
        DeleteOwnerTempObj();
}

void CFrame::MoveTo(int16_t h, int16_t v, int16_t z) { MoveBy(Diff16(h, h_), Diff16(v, v_), Diff16(z, z_)); }

void CFrame::MoveToPoint(const CPoint& p)
{
    MoveBy(Diff16(p.GetH(), bounds_.GetLeft()), Diff16(p.GetV(), bounds_.GetTop()), 0);
}

void CFrame::SetChanged(bool changed)
{
    changed_ = changed ? 1 : 0;
    if (!changed)
        lastDrawn_ = drawn_;
}

void CFrame::SetOrigin(int16_t h, int16_t v, int16_t z)
{
    if (h == originH_ && v == originV_ && z == originZ_)
        return;
    const int16_t oldH = h_, oldV = v_, oldZ = z_;
    h_ = Sum16(h_, Diff16(h, originH_));
    v_ = Sum16(v_, Diff16(v, originV_));
    z_ = Sum16(z_, Diff16(z, originZ_));
    originH_ = h;
    originV_ = v;
    originZ_ = z;
    MoveTo(oldH, oldV, oldZ);
}

void CFrame::SetSize(int16_t width, int16_t height)
{
    bounds_.SetSize(width, height);
    RecomputeDrawn();
    DeleteOwnerTempObj();
}

void CFrame::SetBounds(const CRect& rect)
{
    SetSize(rect.GetWidth(), rect.GetHeight());
    MoveToPoint(rect.TopLeft());
}

int32_t CFrame::GetCursorAt(const CPoint*) { return cursorId_; }

CFrame* CFrame::FindObject(uint32_t kind, int32_t id)
{
    const CBaseObj key(kind, id, GetOwner());
    if (Matches(key))
        return this;
    for (CFrame* child : ChildFrames(*this))
        if (CFrame* found = child->FindObject(kind, id))
            return found;
    return nullptr;
}

CFrame* CFrame::FindAt(const CPoint& point, bool inputOnly)
{
    if (!IsShown() || !drawn_.ContainsPoint(point))
        return nullptr;
    CFrame* candidate = nullptr;
    if (HitTest(point) && (!inputOnly || TakesInput() || (helpId_ != 0 && IsPopupHelpOn())))
        candidate = this;
    if (children_)
        for (CList::Node* n = children_->GetTailNode(); n; n = n->prev)
            if (CFrame* found = static_cast<CFrame*>(n->item)->FindAt(point, inputOnly))
                return found;
    return candidate;
}

void CFrame::UpdateWindow()
{
    if (CWind* wnd = GetOwnerWnd(); wnd && IsShown())
        wnd->Paint(this);
}

void CFrame::SetCursor(int32_t cursorId)
{
    if (cursorId == cursorId_)
        return;
    cursorId_ = cursorId;
    const WindHooks& hooks = GetWindHooks();
    if (hooks.findOrLoadCursor)
        hooks.findOrLoadCursor(cursorId, 0xFFFFFFFFu);
    if (this == GetHoverFrame() && hooks.setCursorId)
        hooks.setCursorId(cursorId, 0xFFFFFFFFu);
}

void CFrame::SetMapProc(FrameMapProc proc)
{
    mapProc_ = proc;
    changed_ = 1;
    for (CFrame* child : ChildFrames(*this))
        child->SetMapProc(proc);
}

void CFrame::SetVisible(bool visible)
{
    if (visible)
        flags_ &= ~kFlagDirect;
    else
        flags_ |= kFlagDirect;
}

void CFrame::DeleteOwnerTempObj()
{
    if (CWind* wnd = GetOwnerWnd())
        if (CFrame* root = wnd->GetFirstFrame())
            root->cache_.reset();
}

void CFrame::Justify(int16_t mode, int16_t position, int16_t size, int16_t& low, int16_t& high)
{
    if (mode == 1) {
        low = Diff16(position, static_cast<int16_t>(size / 2));
        high = Sum16(low, size);
    } else if (mode == 2) {
        high = position;
        low = Diff16(position, size);
    } else {
        low = position;
        high = Sum16(position, size);
    }
}
