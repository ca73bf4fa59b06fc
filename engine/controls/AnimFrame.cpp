#include "engine/controls/AnimFrame.h"

#include <vector>

#include "engine/controls/Wind.h"
#include "engine/graphics/DibSect.h"
#include "engine/graphics/DrawEnv.h"
#include "engine/graphics/ImgSet.h"
#include "engine/graphics/OffScEnv.h"

CAnimFrame::CAnimFrame(int32_t id, const CRect& rect, CDrawEnv* env)
    : CFrame(kKindAnim, id, rect, true), env_(env), updateArea_(std::make_unique<CUpdateRectList>()),
      eraseArea_(std::make_unique<CUpdateRectList>()), imageCorner_(rect.GetLeft(), rect.GetTop())
{
    flags_ |= kFlagOwnContent | kFlagDirect;
}

CAnimFrame::~CAnimFrame()
{
    StopTimer();
    DeleteChildren();
}

CDrawEnv* CAnimFrame::GetDrawEnv()
{
    if (envFromWindow_) {
        CWind* wnd = GetOwnerWnd();
        return wnd ? wnd->GetOffScreenEnv() : nullptr;
    }
    return env_;
}

void CAnimFrame::SetDrawEnv(CDrawEnv* env)
{
    env_ = env;
    envFromWindow_ = false;
}

void CAnimFrame::SetOwner(CBaseObj* owner)
{
    CFrame::SetOwner(owner);
    CWind* wnd = GetOwnerWnd();
    if (!owner || !wnd)
        return;
    if (!env_ && !envFromWindow_)
        envFromWindow_ = true;
    if (envFromWindow_ || env_ == wnd->GetOffScreenEnv()) {
        for (CFrame* up = GetParent(); up; up = up->GetParent())
            if (up->HasOwnContent()) {
                redrawWhole_ = 1;
                SetVisible(true);
                break;
            }
    }
    DeleteOwnerTempObj();
}

bool CAnimFrame::OnTimer()
{
    Step();
    return true;
}

void CAnimFrame::Step()
{
    if (GetOwner() && IsShown() && IsUpdating())
        Update(nullptr, true);
}

void CAnimFrame::SaveEnabled(bool flag, int32_t recurse)
{
    const bool already = HasSavedState();
    CFrame::SaveEnabled(flag, recurse);
    if (already)
        return; // a nested save keeps the first state
    CEventObj::Enable(true, true, false);
    savedUpdating_ = updating_;
    savedVisible_ = IsVisible() ? 1 : 0;
    SetVisible(true);
    SetUpdating(false);
}

void CAnimFrame::RestoreEnabled(bool flag, int32_t recurse)
{
    if (HasSavedState()) {
        SetVisible(savedVisible_ != 0);
        SetUpdating(savedUpdating_ != 0);
    }
    CFrame::RestoreEnabled(flag, recurse);
}

void CAnimFrame::AddChild(CFrame* child, bool draw)
{
    if (!child)
        return;
    child->SetMapProc(GetMapProc());
    CFrame::AddChild(child, draw);
    if (!stepList_)
        stepList_ = std::make_unique<CList>();
    stepList_->AddHead(child);
}

CFrame* CAnimFrame::RemoveChild(const CBaseObj& key)
{
    CFrame* removed = CFrame::RemoveChild(key);
    if (removed) {
        if (stepList_)
            stepList_->RemoveItem(removed);
        AddUpdateRect(removed->GetDrawnRect());
    }
    return removed;
}

void CAnimFrame::DeleteChildren()
{
    while (CFrame* child = GetFirstChild()) {
        RemoveChild(*child);
        delete child;
    }
}

void CAnimFrame::MoveBy(int16_t dh, int16_t dv, int16_t dz)
{
    CFrame::MoveBy(dh, dv, dz);
    imageCorner_.Offset(dh, dv);
}

void CAnimFrame::DrawContent(CDrawEnv* env, const CRect& clip)
{
    if (env)
        DrawArea(clip);
}

int32_t CAnimFrame::GetCursorAt(const CPoint* point)
{
    CWind* wnd = GetOwnerWnd();
    if (!wnd)
        return 0;
    CPoint at;
    if (point)
        at = *point;
    else
        wnd->GetCursorPos(at, false);
    int32_t cursor = 0;
    if (CList* children = GetChildren())
        for (CList::Node* n = children->GetTailNode(); n; n = n->prev) {
            auto* child = static_cast<CFrame*>(n->item);
            if (child->GetDrawnRect().ContainsPoint(at))
                cursor = child->GetCursorAt(&at);
        }
    return cursor;
}

void CAnimFrame::AddUpdateRect(const CRect& rect)
{
    CRect clipped;
    if (!GetDrawnRect().Intersect(rect, &clipped))
        return;
    if (eraseArea_)
        eraseArea_->Add(clipped);
    if (updateArea_)
        updateArea_->Add(clipped);
}

void CAnimFrame::SetImage(CImgSet* images, int16_t index)
{
    if (images != image_.get())
        image_.reset(images);
    if (!images)
        return;
    images->SetIndex(index);
    CRect area;
    images->GetImageRect(area, index);
    // The image's corner lies at the image corner of the frame.
    area.Offset(imageCorner_.GetH(), imageCorner_.GetV());
    AddUpdateRect(area);
}

void CAnimFrame::SetMaskImage(CImgSet* images, int16_t index)
{
    if (!images)
        return;
    const CRect& drawn = GetDrawnRect();
    if (!mask_)
        mask_ = std::make_unique<CDibSect>(CRect(0, 0, drawn.GetHeight(), drawn.GetWidth()), 8, 0);
    images->SetIndex(index);
    CRect area;
    images->GetImageRect(area, index);
    images->Draw(mask_.get(), area);
    area.Offset(imageCorner_.GetH(), imageCorner_.GetV());
    AddUpdateRect(area);
}

void CAnimFrame::FlushUpdates(const CRect& rect)
{
    if (CWind* wnd = GetOwnerWnd())
        wnd->DrawClipped(rect);
    if (updateArea_)
        updateArea_->Clear();
}

bool CAnimFrame::InStepList(const CFrame* child) const { return stepList_ && stepList_->FindNode(child); }

void CAnimFrame::StepChildren()
{
    if (!stepList_)
        return;
    // A step may add or remove children; each child still listed takes its step once.
    std::vector<CFrame*> children;
    for (CList::Node* n = stepList_->GetHeadNode(); n; n = n->next)
        children.push_back(static_cast<CFrame*>(n->item));
    for (CFrame* child : children)
        if (InStepList(child))
            child->Step();
}

void CAnimFrame::DrawArea(const CRect& rect)
{
    CDrawEnv* env = GetDrawEnv();
    if (!image_ || !env)
        return;
    CRect source = rect;
    source.Offset(static_cast<int16_t>(-imageCorner_.GetH()), static_cast<int16_t>(-imageCorner_.GetV()));
    const CRect clip = GetDrawnRect();
    DrawRecord& record = image_->GetRecord();
    record.params[0] = reinterpret_cast<intptr_t>(&source);
    record.params[7] = reinterpret_cast<intptr_t>(&clip);
    image_->DrawInRect(env, rect);
    // The record must not keep the addresses of these locals.
    record.params[0] = 0;
    record.params[7] = 0;
}

void CAnimFrame::EraseChanged()
{
    if (!eraseArea_)
        return;
    for (CFrame* child : ChildFrames(*this)) {
        CRect old;
        if (!child->IsDirect() && child->IsChanged() &&
            GetDrawnRect().Intersect(child->GetLastDrawnRect(), &old))
            eraseArea_->Add(old);
    }
    for (int16_t i = 0; i < eraseArea_->GetCount(); ++i) {
        CRect area;
        eraseArea_->GetAt(area, i);
        DrawArea(area);
    }
}

void CAnimFrame::MarkOverlapped()
{
    if (!eraseArea_ || !updateArea_)
        return;
    for (CFrame* child : ChildFrames(*this)) {
        if (!child->IsShown() || child->IsChanged())
            continue;
        if (eraseArea_->Intersects(child->GetDrawnRect())) {
            child->SetChanged(true);
            eraseArea_->Add(child->GetDrawnRect());
        } else if (child->IsDirect() && updateArea_->Intersects(child->GetDrawnRect())) {
            child->SetChanged(true);
        }
    }
}

void CAnimFrame::DrawChild(CFrame* child)
{
    if (child->IsDirect())
        return; // it updates itself
    const CList* grandchildren = child->GetChildren();
    if (!grandchildren || grandchildren->IsEmpty()) {
        child->DrawContent(GetDrawEnv(), child->GetDrawnRect());
    } else if (CWind* wnd = GetOwnerWnd()) {
        wnd->DrawFrameOffScreen(child, child->GetDrawnRect());
    }
}

std::optional<CRect> CAnimFrame::DrawChanged()
{
    CClipScope scope(GetDrawEnv());
    std::optional<CRect> result;
    for (CFrame* child : ChildFrames(*this)) {
        CRect area;
        bool hasArea = false;
        if (child->IsChanged()) {
            const CRect changed = child->IsShown() ? child->GetLastDrawnRect().NewUnion(child->GetDrawnRect())
                                                   : child->GetLastDrawnRect();
            hasArea = GetDrawnRect().Intersect(changed, &area);
            if (hasArea) {
                if (updateArea_)
                    updateArea_->Add(area);
                result = result ? result->NewUnion(area) : area;
            }
        }
        if (child->IsShown() && hasArea)
            DrawChild(child);
        child->SetChanged(false);
    }
    return result;
}

void CAnimFrame::Update(CDrawEnv*, bool step)
{
    if (step)
        StepChildren();
    EraseChanged();
    MarkOverlapped();
    const std::optional<CRect> changed = DrawChanged();
    if (changed)
        if (CWind* wnd = GetOwnerWnd())
            wnd->DrawClipped(*changed);
    if (eraseArea_)
        eraseArea_->Clear();
    if (updateArea_)
        updateArea_->Clear();
}

CFrame* CAnimFrame::FindChildAt(const CPoint& point, int32_t id)
{
    CList* children = GetChildren();
    if (!children)
        return nullptr;
    for (CList::Node* n = children->GetTailNode(); n; n = n->prev) {
        auto* child = static_cast<CFrame*>(n->item);
        if ((id == -1 || child->GetId() == id) && child->GetDrawnRect().ContainsPoint(point))
            return child;
    }
    return nullptr;
}

CFrame* CAnimFrame::GetFirstChild()
{
    CList* children = GetChildren();
    return children && children->GetHeadNode() ? static_cast<CFrame*>(children->GetHeadNode()->item)
                                               : nullptr;
}

CFrame* CAnimFrame::GetNextChild(CFrame* child)
{
    CList* children = GetChildren();
    CList::Node* n = children ? children->FindNode(child) : nullptr;
    return n && n->next ? static_cast<CFrame*>(n->next->item) : nullptr;
}

CFrame* CAnimFrame::GetPrevChild(CFrame* child)
{
    CList* children = GetChildren();
    CList::Node* n = children ? children->FindNode(child) : nullptr;
    return n && n->prev ? static_cast<CFrame*>(n->prev->item) : nullptr;
}

CFrame* CAnimFrame::GetNthChild(int32_t n)
{
    CListIter it(GetChildren());
    return static_cast<CFrame*>(it.Nth(n));
}

void CAnimFrame::MarkAllChanged()
{
    for (CFrame* child : ChildFrames(*this))
        child->SetChanged(true);
}
