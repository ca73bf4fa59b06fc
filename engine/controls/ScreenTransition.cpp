// Screen transitions: the run (set-up, end, the paced copies) and the effects that move
// rectangles and shaped regions. The dissolve and the mosaic are in TransitionCells.cpp.
#include "engine/controls/ScreenTransition.h"

#include <algorithm>
#include <cmath>

#include "engine/controls/Frame.h"
#include "engine/controls/TransitionRun.h"
#include "engine/controls/Wind.h"
#include "engine/framework/Stopwatch.h"
#include "engine/graphics/OffScEnv.h"
#include "engine/graphics/Region.h"
#include "engine/graphics/WndEnv.h"
#include "platform/Clock.h"
#include "platform/Cursor.h"
#include "platform/Desktop.h"

namespace {

// Speeds above this give the same stages as it does (none, or one for the box and zoom)
// and keep every rectangle edge within 16 bits' reach.
constexpr int32_t kMaxSpeed = 0x7FFF;

int16_t Edge(int32_t v) { return static_cast<int16_t>(v); }

bool IsEmpty(const CRect& r) { return r.GetRight() <= r.GetLeft() || r.GetBottom() <= r.GetTop(); }

// Moves every edge in by d (out for a negative d).
void Inset(CRect& r, int32_t d) { r.Inset(Edge(d), Edge(d)); }

// The edge a wipe, slide or stretch starts from.
enum class Side { Right, Left, Bottom, Top };

// The side of sub-modes 0x100 to 0x400; false for the others.
bool SideOf(int32_t subMode, Side& side)
{
    switch (subMode) {
    case kFromRight: side = Side::Right; return true;
    case kFromLeft: side = Side::Left; return true;
    case kFromBottom: side = Side::Bottom; return true;
    case kFromTop: side = Side::Top; return true;
    default: return false;
    }
}

Side Opposite(Side side)
{
    switch (side) {
    case Side::Right: return Side::Left;
    case Side::Left: return Side::Right;
    case Side::Bottom: return Side::Top;
    default: return Side::Bottom;
    }
}

// Keeps the strip of that thickness along the side.
void KeepStrip(CRect& r, Side side, int32_t size)
{
    switch (side) {
    case Side::Right: r.SetLeft(Edge(r.GetRight() - size)); break;
    case Side::Left: r.SetRight(Edge(r.GetLeft() + size)); break;
    case Side::Bottom: r.SetTop(Edge(r.GetBottom() - size)); break;
    case Side::Top: r.SetBottom(Edge(r.GetTop() + size)); break;
    }
}

// Moves the edge on that side out by d (in for a negative d).
void MoveEdge(CRect& r, Side side, int32_t d)
{
    switch (side) {
    case Side::Right: r.SetRight(Edge(r.GetRight() + d)); break;
    case Side::Left: r.SetLeft(Edge(r.GetLeft() - d)); break;
    case Side::Bottom: r.SetBottom(Edge(r.GetBottom() + d)); break;
    case Side::Top: r.SetTop(Edge(r.GetTop() - d)); break;
    }
}

// The distance from that side to the opposite one.
int32_t Across(const CRect& r, Side side)
{
    return side == Side::Right || side == Side::Left ? r.GetRight() - r.GetLeft()
                                                     : r.GetBottom() - r.GetTop();
}

// Moves the whole rectangle away from that side by d.
void MoveAway(CRect& r, Side side, int32_t d)
{
    switch (side) {
    case Side::Right: r.Offset(Edge(-d), 0); break;
    case Side::Left: r.Offset(Edge(d), 0); break;
    case Side::Bottom: r.Offset(0, Edge(-d)); break;
    case Side::Top: r.Offset(0, Edge(d)); break;
    }
}

} // namespace

int32_t SinScale(int32_t extent, int32_t degrees)
{
    return static_cast<int32_t>(std::trunc(extent * std::sin(degrees / 57.2958)));
}

CTransitionRun::CTransitionRun(CWind& wnd, CFrame& frame, int32_t subMode)
    : wnd_(wnd), source_(wnd.GetOffScreenEnv()), target_(wnd.GetWndEnv()), subMode_(subMode),
      frame_(frame.GetDrawnRect()), a_(frame_), b_(frame_), width_(frame_.GetRight() - frame_.GetLeft()),
      height_(frame_.GetBottom() - frame_.GetTop())
{
    {
        CClipScope scope(source_);
        source_->SetClipRect(frame_);
        wnd_.DrawFrameOffScreen(&frame, frame_);
    }
    plat::ShowCursor(false);
}

void CTransitionRun::End()
{
    target_->RemoveClip();
    CopyRectAndWait(frame_, frame_, nullptr);
    wnd_.Validate(&frame_);
    plat::ShowCursor(true);
}

void CTransitionRun::RunEffect(int32_t code, int32_t speed)
{
    // Every effect divides by the speed (or steps by it).
    if (speed >= 1) {
        speed = std::min(speed, kMaxSpeed);
        switch (code) {
        case kTransitionWipe: Wipe(speed); break;
        case kTransitionSlide: Slide(speed); break;
        case kTransitionIris: Iris(speed); break;
        case kTransitionBox: Box(speed); break;
        case kTransitionZoom: Zoom(speed); break;
        case kTransitionEasedStretch: EasedStretch(speed); break;
        case kTransitionDissolve: Dissolve(speed); break;
        case kTransitionSmearWipe: SmearWipe(speed); break;
        case kTransitionMosaic: Mosaic(speed); break;
        default: break; // kTransitionNone, kTransitionNothing and unknown codes: no stages
        }
    }
    if (code == kTransitionMosaic)
        target_->SetTextColor(0); // the mosaic's cells were outlined in it
}

void CTransitionRun::CopyRect(const CRect& src, const CRect& dest, const CRegion* region)
{
    if (region)
        target_->SetClipRgn(region);
    if (IsEmpty(src) || IsEmpty(dest))
        return;
    source_->BlitTo(target_, src, dest, &dest, nullptr);
}

void CTransitionRun::CopyRectAndWait(const CRect& src, const CRect& dest, const CRegion* region)
{
    const uint32_t start = GetRealClock()->Elapsed();
    CopyRect(src, dest, region);
    PresentAndWait(start, 1);
}

void CTransitionRun::PresentAndWait(uint32_t start, uint32_t ticks)
{
    // No message is pumped meanwhile, so the display is shown from here.
    if (plat::Display* display = plat::GetDisplay())
        display->Present();
    const CStopwatch* clock = GetRealClock();
    while (!clock->IsPaused() && clock->Elapsed() - start < ticks)
        plat::GetClock().SleepUntil((static_cast<uint64_t>(plat::CurrentTick()) + 1) * 17);
}

void CTransitionRun::Wipe(int32_t speed)
{
    Side side;
    if (!SideOf(subMode_, side)) {
        DiagonalWipe(speed);
        return;
    }
    // A strip at the edge moves across the frame.
    KeepStrip(a_, side, speed);
    const int32_t stages = Across(frame_, side) / speed;
    for (int32_t k = 0; k < stages; ++k) {
        CopyRectAndWait(a_, a_, nullptr);
        MoveAway(a_, side, speed);
    }
}

void CTransitionRun::DiagonalWipe(int32_t speed)
{
    // The corner the bands start from and the directions into the frame.
    int32_t cx, cy, sx, sy;
    switch (subMode_) {
    case kFromBottomLeft: cx = frame_.GetLeft(), cy = frame_.GetBottom(), sx = 1, sy = -1; break;
    case kFromBottomRight: cx = frame_.GetRight(), cy = frame_.GetBottom(), sx = -1, sy = -1; break;
    case kFromTopLeft: cx = frame_.GetLeft(), cy = frame_.GetTop(), sx = 1, sy = 1; break;
    case kFromTopRight: cx = frame_.GetRight(), cy = frame_.GetTop(), sx = -1, sy = 1; break;
    default: return;
    }
    if (speed > 100)
        return; // no stage: the stage count 100 / speed is 0
    const int32_t stages = 100 / speed;
    const int32_t dx = (2 * width_ + speed) / stages;
    const int32_t dy = (2 * height_ + speed) / stages;
    // Each band is a quadrilateral between two diagonals; together they sweep about twice the
    // frame's size, so the last reaches the opposite corner.
    for (int32_t k = 0; k < stages; ++k) {
        const int32_t corners[8] = {cx + sx * k * dx,       cy, cx + sx * (k + 1) * dx, cy, cx,
                                    cy + sy * (k + 1) * dy, cx, cy + sy * k * dy};
        const CRegion band(CRect(), kRgnPolygon, 4, reinterpret_cast<intptr_t>(corners));
        CopyClipped(band);
    }
}

void CTransitionRun::Slide(int32_t speed)
{
    Side side;
    if (!SideOf(subMode_, side))
        return;
    // The destination strip B at the edge and the source strip A at the opposite edge grow
    // together, so the new picture moves in as a whole.
    KeepStrip(b_, side, speed);
    KeepStrip(a_, Opposite(side), speed);
    const int32_t stages = Across(frame_, side) / speed;
    for (int32_t k = 0; k < stages; ++k) {
        CopyRectAndWait(a_, b_, nullptr);
        MoveEdge(b_, Opposite(side), speed);
        MoveEdge(a_, side, speed);
    }
}

void CTransitionRun::Iris(int32_t speed)
{
    if (subMode_ != kClosing && subMode_ != kOpening)
        return;
    const int32_t cx = frame_.GetLeft() + width_ / 2;
    const int32_t cy = frame_.GetTop() + height_ / 2;
    const int32_t dx = cx - frame_.GetLeft(), dy = cy - frame_.GetTop();
    const auto radius = static_cast<int32_t>(std::sqrt(static_cast<double>(dx * dx + dy * dy)));
    const int32_t stages = radius / speed;
    if (subMode_ == kClosing) {
        // Rings from the outside in.
        b_ = CRect(Edge(cy - radius), Edge(cx - radius), Edge(cy + radius), Edge(cx + radius));
        for (int32_t k = 0; k < stages; ++k) {
            CRegion ring(b_, kRgnEllipse);
            ring.Intersect(a_);
            Inset(b_, speed);
            if (b_.GetRight() > b_.GetLeft()) {
                const CRegion inner(b_, kRgnEllipse);
                ring.Subtract(&inner);
            }
            CopyClipped(ring);
        }
        return;
    }
    // Rings from the centre out.
    b_ = CRect(Edge(cy), Edge(cx), Edge(cy), Edge(cx));
    for (int32_t k = 0; k < stages; ++k) {
        const CRegion inner(b_, kRgnEllipse);
        Inset(b_, -speed);
        CRegion ring(b_, kRgnEllipse);
        if (k > 0)
            ring.Subtract(&inner);
        ring.Intersect(a_);
        CopyClipped(ring);
    }
}

namespace {

// Stages of the box and the zoom: half the steps across the frame's smaller side.
int32_t BoxStages(int32_t width, int32_t height, int32_t speed)
{
    return ((std::min(width, height) + speed) / speed + 1) / 2;
}

} // namespace

void CTransitionRun::Box(int32_t speed)
{
    if (subMode_ != kClosing && subMode_ != kOpening)
        return;
    const int32_t stages = BoxStages(width_, height_, speed);
    if (subMode_ == kClosing) {
        for (int32_t k = 0; k < stages; ++k) {
            CRegion frame(b_, kRgnRect);
            Inset(b_, speed);
            const CRegion inner(b_, kRgnRect);
            frame.Subtract(&inner);
            CopyClipped(frame);
        }
        return;
    }
    // The first boxes can be inverted rectangles: they hold nothing.
    Inset(b_, stages * speed);
    for (int32_t k = 0; k < stages; ++k) {
        const CRegion inner(b_, kRgnRect);
        Inset(b_, -speed);
        CRegion frame(b_, kRgnRect);
        frame.Subtract(&inner);
        CopyClipped(frame);
    }
}

void CTransitionRun::Zoom(int32_t speed)
{
    if (subMode_ != kClosing && subMode_ != kOpening)
        return;
    const int32_t stages = BoxStages(width_, height_, speed);
    // Closing: a magnified centre of the new picture zooms out to the whole frame. Opening: the
    // whole new picture grows from the centre. An inverted first rectangle copies nothing.
    CRect& growing = subMode_ == kClosing ? a_ : b_;
    Inset(growing, stages * speed);
    for (int32_t k = 0; k < stages; ++k) {
        CopyRectAndWait(a_, b_, nullptr);
        Inset(growing, -speed);
    }
}

void CTransitionRun::EasedStretch(int32_t speed)
{
    // The band starts one pixel wide at an edge, or as a centre line, and widens by a sine.
    Side side;
    const bool atEdge = SideOf(subMode_, side);
    int32_t extent;
    if (atEdge) {
        extent = Across(frame_, side);
        KeepStrip(b_, side, 1);
    } else if (subMode_ == kFromVerticalCentre) {
        extent = width_ / 2;
        b_.Inset(Edge(extent), 0);
    } else if (subMode_ == kFromHorizontalCentre) {
        extent = height_ / 2;
        b_.Inset(0, Edge(extent));
    } else {
        return;
    }
    const CRect start = b_;
    const int32_t stages = 90 / speed;
    for (int32_t k = 0; k < stages; ++k) {
        CopyRectAndWait(a_, b_, nullptr); // the whole new picture squeezed into the band
        const int32_t widened = SinScale(extent, k * speed);
        b_ = atEdge ? frame_ : start;
        if (atEdge)
            KeepStrip(b_, side, widened);
        else if (subMode_ == kFromVerticalCentre)
            b_.Inset(Edge(-widened), 0);
        else
            b_.Inset(0, Edge(-widened));
    }
}

void CTransitionRun::SmearWipe(int32_t speed)
{
    // The source strip A is stretched over the part B not yet revealed, then copied once more
    // to its own place, and moves on. Unlike the other effects' 0x300 and 0x400, the strip of
    // 0x300 starts at the top edge and that of 0x400 at the bottom.
    Side side;
    if (!SideOf(subMode_, side))
        return;
    if (side == Side::Bottom || side == Side::Top)
        side = Opposite(side);
    KeepStrip(a_, side, speed);
    const int32_t stages = Across(frame_, side) / speed;
    for (int32_t k = 0; k < stages; ++k) {
        CopyRectAndWait(a_, b_, nullptr);
        MoveEdge(b_, side, -speed);
        if (speed > 1)
            CopyRect(a_, a_, nullptr);
        MoveAway(a_, side, speed);
    }
}

void DoScreenTransition(CFrame* frame, int32_t code, int32_t subMode, int32_t speed)
{
    CWind* wnd = frame ? frame->GetOwnerWnd() : nullptr;
    COffScEnv* offScreen = wnd ? wnd->GetOffScreenEnv() : nullptr;
    if (!offScreen || !offScreen->GetBitmap() || !wnd->GetWndEnv())
        return;
    CClipScope scope(wnd->GetWndEnv());
    CTransitionRun run(*wnd, *frame, subMode);
    run.RunEffect(code, speed);
    run.End();
}
