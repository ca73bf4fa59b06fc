#include "engine/graphics/DrawEnv.h"

#include <algorithm>
#include <array>

#include "engine/framework/Util.h"
#include "engine/graphics/Palette.h"
#include "engine/graphics/Region.h"

namespace {

constexpr int32_t kRgbColorFlag = 0x10000000;
constexpr int32_t kBlackColor = 0;
constexpr int32_t kWhiteColor = 255;

// The transfer modes' raster operations for pens and brushes, by mode.
constexpr std::array<plat::Rop2, 8> kTransferModes = {
    plat::Rop2::CopyPen,    plat::Rop2::MergePen,    plat::Rop2::XorPen,    plat::Rop2::MaskNotPen,
    plat::Rop2::NotCopyPen, plat::Rop2::MergeNotPen, plat::Rop2::NotXorPen, plat::Rop2::MaskPen,
};

plat::Point ToPlat(const CPoint& p) { return {p.GetH(), p.GetV()}; }

} // namespace

CDrawEnv::CDrawEnv() { ++instanceCount_; }

CDrawEnv::~CDrawEnv()
{
    if (dc_)
        ReleaseGdiObjects();
    --instanceCount_;
}

plat::ColorRef CDrawEnv::ToColorRef(int32_t color)
{
    if (color & kRgbColorFlag)
        return plat::ColorRef::FromPaletteRgb(static_cast<uint8_t>(color), static_cast<uint8_t>(color >> 8),
                                              static_cast<uint8_t>(color >> 16));
    if (color == kBlackColor)
        return plat::ColorRef::FromRgb(0, 0, 0);
    if (color == kWhiteColor)
        return plat::ColorRef::FromRgb(255, 255, 255);
    return plat::ColorRef::FromIndex(static_cast<uint16_t>(color & 0xFFFF));
}

// ---- Set-up and state ------------------------------------------------------------------------

void CDrawEnv::Setup(plat::DrawContext* dc, const CRect& bounds, CPalette* palette)
{
    kind_ = kEnvPlain;
    dc_ = dc;
    bounds_ = bounds;
    if (dc_) {
        deviceOrigin_ = dc_->ViewportOrigin();
        deviceClip_.reset();
        if (const plat::Region* clip = dc_->ClipRegion())
            deviceClip_ = *clip;
        dc_->SetViewportOrigin({deviceOrigin_.x + bounds.GetLeft(), deviceOrigin_.y + bounds.GetTop()});
    }
    // Recorded only: the device context keeps its own drawing mode until one is set.
    transferMode_ = 8;
    penWidth_ = 1;
    penHeight_ = 1;
    palette_ = palette;
    if (palette && palette->GetHandle()) {
        paletteHandle_ = palette->GetHandle();
        if (dc_)
            dc_->SelectPalette(*paletteHandle_);
        RealizePalette();
    }
    foreColor_ = kBlackColor;
    backColor_ = kWhiteColor;
    penColor_ = kBlackColor;
    brushColor_ = kBlackColor;
    if (dc_) {
        dc_->SetPen(plat::Pen{plat::PenStyle::Solid, 1, ToColorRef(penColor_)});
        dc_->SetBrush(plat::Brush{false, ToColorRef(brushColor_)});
    }
    SetFont(1);
    if (dc_)
        dc_->SetBkMode(plat::BkMode::Transparent);
}

void CDrawEnv::ReleaseGdiObjects()
{
    if (!dc_)
        return;
    dc_->SetPen(plat::Pen{});
    dc_->SetBrush(plat::Brush{false, plat::ColorRef::FromRgb(0, 0, 0)});
    dc_->SelectPalette(plat::SystemPalette());
}

int16_t CDrawEnv::GetBkMode()
{
    if (!dc_)
        return kBkTransparent;
    return dc_->GetBkMode() == plat::BkMode::Opaque ? kBkOpaque : kBkTransparent;
}

void CDrawEnv::SetBkMode(int16_t mode)
{
    if (!dc_)
        return;
    if (mode == kBkTransparent)
        dc_->SetBkMode(plat::BkMode::Transparent);
    else if (mode == kBkOpaque)
        dc_->SetBkMode(plat::BkMode::Opaque);
}

void CDrawEnv::SetTextColor(int32_t color)
{
    if (!dc_)
        return;
    SetPen(color, penWidth_);
    dc_->SetTextColor(ToColorRef(color));
    foreColor_ = color;
}

void CDrawEnv::SetBkColor(int32_t color)
{
    if (dc_) {
        SetBrushColor(color);
        dc_->SetBkColor(ToColorRef(color));
    }
    backColor_ = color;
}

void CDrawEnv::SetBrushColor(int32_t color)
{
    if (color == brushColor_ || !dc_)
        return;
    brushColor_ = color;
    dc_->SetBrush(plat::Brush{false, ToColorRef(color)});
}

void CDrawEnv::SetPen(int32_t color, int16_t width)
{
    if ((color == penColor_ && width == penWidth_) || !dc_)
        return;
    penWidth_ = width;
    penHeight_ = width;
    penColor_ = color;
    dc_->SetPen(plat::Pen{plat::PenStyle::InsideFrame, width, ToColorRef(color)});
}

void CDrawEnv::SetTransferMode(int16_t mode)
{
    // Modes outside the table keep the drawing mode the context has.
    if (mode < 0 || mode >= static_cast<int16_t>(kTransferModes.size()))
        return;
    transferMode_ = mode;
    if (dc_)
        dc_->SetRop2(kTransferModes[static_cast<size_t>(mode)]);
}

void CDrawEnv::SetPalette(CPalette* palette)
{
    if (!palette || !palette->GetHandle())
        return;
    palette_ = palette;
    paletteHandle_ = palette->GetHandle();
    if (dc_)
        dc_->SelectPalette(*paletteHandle_);
    RealizePalette();
}

// ---- Clipping and coordinates ----------------------------------------------------------------

void CDrawEnv::ApplyClip(const plat::Region* deviceRegion)
{
    if (!dc_)
        return;
    if (!deviceRegion) {
        dc_->SetClipRegion(deviceClip_ ? &*deviceClip_ : nullptr);
        return;
    }
    plat::Region clip = *deviceRegion;
    clip.Offset(deviceOrigin_.x, deviceOrigin_.y);
    if (deviceClip_)
        clip.Intersect(*deviceClip_);
    dc_->SetClipRegion(&clip);
}

void CDrawEnv::SetClipRgn(const CRegion* region)
{
    if (region && region->GetHandle())
        ApplyClip(region->GetHandle());
}

void CDrawEnv::SetClipRect(const CRect& rect)
{
    const plat::Region clip(ToPlatRect(rect));
    ApplyClip(&clip);
}

void CDrawEnv::RemoveClip() { ApplyClip(nullptr); }

plat::Rect CDrawEnv::DeviceArea() const
{
    if (!dc_)
        return {};
    const plat::Rect area =
        deviceClip_ ? deviceClip_->Bounds() : plat::Rect{0, 0, dc_->Target().width, dc_->Target().height};
    return area.Offset(-deviceOrigin_.x, -deviceOrigin_.y);
}

CRegion* CDrawEnv::GetDeviceRegion()
{
    const plat::Rect area = DeviceArea();
    const plat::Point view = dc_ ? dc_->ViewportOrigin() : plat::Point{};
    const int32_t h = view.x - deviceOrigin_.x;
    const int32_t v = view.y - deviceOrigin_.y;
    const CRect rect(static_cast<int16_t>(v), static_cast<int16_t>(h), static_cast<int16_t>(v + area.bottom),
                     static_cast<int16_t>(h + area.right));
    auto* region = new CRegion(rect, kRgnRect);
    region->SetKind(kRgnDevice);
    return region;
}

void CDrawEnv::LocalToScreen(CPoint& p)
{
    const plat::Point origin = dc_ ? GetDCOrigin() : plat::Point{};
    p.Offset(static_cast<int16_t>(origin.x), static_cast<int16_t>(origin.y));
}

void CDrawEnv::LocalToScreen(CRect& r)
{
    const plat::Point origin = dc_ ? GetDCOrigin() : plat::Point{};
    r.Offset(static_cast<int16_t>(origin.x), static_cast<int16_t>(origin.y));
}

void CDrawEnv::ScreenToLocal(CPoint& p)
{
    const plat::Point origin = dc_ ? GetDCOrigin() : plat::Point{};
    p.Offset(static_cast<int16_t>(-origin.x), static_cast<int16_t>(-origin.y));
}

void CDrawEnv::ScreenToLocal(CRect& r)
{
    const plat::Point origin = dc_ ? GetDCOrigin() : plat::Point{};
    r.Offset(static_cast<int16_t>(-origin.x), static_cast<int16_t>(-origin.y));
}

// ---- Shapes and lines ------------------------------------------------------------------------

void CDrawEnv::FillShape(const CRect& rect, int32_t color, bool ellipse)
{
    Drawing([&](plat::DrawContext& dc) {
        const plat::Brush previous = dc.GetBrush();
        dc.SetBrush(plat::Brush{false, ToColorRef(color)});
        if (ellipse)
            dc.Ellipse(ToPlatRect(rect));
        else
            dc.Rectangle(ToPlatRect(rect));
        dc.SetBrush(previous);
    });
}

void CDrawEnv::FillRect(const CRect& rect) { FillShape(rect, foreColor_, false); }
void CDrawEnv::FillEllipse(const CRect& rect) { FillShape(rect, foreColor_, true); }
void CDrawEnv::EraseRect(const CRect& rect) { FillShape(rect, backColor_, false); }

void CDrawEnv::FrameRect(const CRect& rect)
{
    Drawing([&](plat::DrawContext& dc) {
        const plat::Brush previous = dc.GetBrush();
        dc.SetBrush(plat::Brush{true, {}});
        dc.Rectangle(ToPlatRect(rect));
        dc.SetBrush(previous);
    });
}

void CDrawEnv::FrameEllipse(const CRect& rect)
{
    Drawing([&](plat::DrawContext& dc) {
        const plat::Brush previous = dc.GetBrush();
        dc.SetBrush(plat::Brush{true, {}});
        const plat::Rect box = ToPlatRect(rect);
        dc.Arc(box, box.TopLeft(), box.TopLeft()); // equal ends: the whole outline
        dc.SetBrush(previous);
    });
}

void CDrawEnv::InvertRect(const CRect& rect)
{
    Drawing([&](plat::DrawContext& dc) { dc.InvertRect(ToPlatRect(rect)); });
}

void CDrawEnv::ScrollRect(const CRect& rect, int16_t dh, int16_t dv)
{
    Drawing([&](plat::DrawContext& dc) { dc.ScrollRect(ToPlatRect(rect), dh, dv); });
}

void CDrawEnv::MoveTo(int16_t h, int16_t v)
{
    Drawing([&](plat::DrawContext& dc) { dc.MoveTo({h, v}); });
}

void CDrawEnv::LineTo(int16_t h, int16_t v)
{
    Drawing([&](plat::DrawContext& dc) { dc.LineTo({h, v}); });
}

void CDrawEnv::DrawLine(const CPoint& from, const CPoint& to)
{
    Drawing([&](plat::DrawContext& dc) {
        dc.MoveTo(ToPlat(from));
        dc.LineTo(ToPlat(to));
    });
}

void CDrawEnv::DrawLine(int16_t v1, int16_t h1, int16_t v2, int16_t h2)
{
    DrawLine(CPoint(h1, v1), CPoint(h2, v2));
}

namespace {

// The point of the circle (centre c, radius r) at an angle clockwise from 12 o'clock, each
// offset truncated toward zero.
plat::Point ArcEdgePoint(plat::Point c, int32_t r, int32_t angle)
{
    int32_t a = angle;
    while (a > 90)
        a -= 90;
    const auto cosPart = static_cast<int32_t>(r * CUtil::SinDeg(90 - a));
    const auto sinPart = static_cast<int32_t>(r * CUtil::SinDeg(a));
    if (angle <= 90)
        return {c.x + sinPart, c.y - cosPart};
    if (angle <= 180)
        return {c.x + cosPart, c.y + sinPart};
    if (angle <= 270)
        return {c.x - sinPart, c.y + cosPart};
    return {c.x - cosPart, c.y - sinPart};
}

} // namespace

void CDrawEnv::FillArc(const CRect& rect, int16_t startAngle, int16_t arcAngle, bool split)
{
    Drawing([&](plat::DrawContext& dc) {
        if (arcAngle == 360) {
            dc.Ellipse(ToPlatRect(rect));
            return;
        }
        const plat::Rect inner = ToPlatRect(rect).Inflate(-1, -1);
        const int32_t r = inner.Width() / 2;
        const plat::Point centre{inner.left + r, inner.top + r};
        const int32_t endAngle = std::min<int32_t>(startAngle + arcAngle, 360);
        const plat::Point start = ArcEdgePoint(centre, r, startAngle);
        const plat::Point end = ArcEdgePoint(centre, r, endAngle);
        const plat::Rect box{inner.left, inner.top, inner.right + 1, inner.bottom + 1};
        // The platform's slice runs counter-clockwise from its first ray: from the end back to
        // the start is the clockwise slice from start to end.
        if (split && startAngle < 270 && endAngle > 270) {
            const plat::Point west{centre.x - r, centre.y};
            dc.Pie(box, west, start);
            dc.Pie(box, end, west);
        } else {
            dc.Pie(box, end, start);
        }
    });
}

// ---- Bitmaps ---------------------------------------------------------------------------------

void CDrawEnv::BlitDib(CDibSect* bitmap, const CRect& src, const CRect& dest, const CRect* clip,
                       DrawRecord* record)
{
    if (!bitmap || !bitmap->GetHandle())
        return;
    CRect srcClip;
    if (!bitmap->GetRect().Intersect(src, &srcClip))
        return;
    const plat::Surface& pixels = *bitmap->GetHandle();
    Drawing([&](plat::DrawContext& dc) {
        if (src.GetWidth() != dest.GetWidth() || src.GetHeight() != dest.GetHeight()) {
            const plat::Rect from =
                plat::Rect::FromSize(srcClip.GetLeft(), srcClip.GetTop(), src.GetWidth(), src.GetHeight());
            dc.StretchBlt(ToPlatRect(dest), pixels, from);
            return;
        }
        CRect destClip = dest;
        if (clip)
            clip->Intersect(dest, &destClip);
        if (const auto* recordClip = record ? reinterpret_cast<const CRect*>(record->params[7]) : nullptr)
            destClip.Intersect(*recordClip, &destClip);
        const int32_t h = srcClip.GetLeft() + (destClip.GetLeft() - dest.GetLeft());
        const int32_t v = srcClip.GetTop() + (destClip.GetTop() - dest.GetTop());
        dc.BitBlt(ToPlatRect(destClip), pixels, {h, v});
    });
}

void CDrawEnv::DrawBitmapIn(CDibSect* bitmap, const CRect& dest, DrawRecord* record)
{
    if (bitmap)
        BlitDib(bitmap, bitmap->GetRect(), dest, &bounds_, record);
}

void CDrawEnv::DrawBitmapAt(CDibSect* bitmap, const CPoint& at, DrawRecord* record)
{
    if (!bitmap)
        return;
    CRect dest = bitmap->GetRect();
    dest.MoveTo(at.GetH(), at.GetV());
    BlitDib(bitmap, bitmap->GetRect(), dest, &bounds_, record);
}

CDibSect* CDrawEnv::GrabBitmap(const CRect& rect)
{
    auto* bitmap = new CDibSect(CRect(0, 0, rect.GetHeight(), rect.GetWidth()), CPoint(0, 0), 8, 0xFF);
    plat::Surface* pixels = bitmap->GetHandle();
    Drawing([&](plat::DrawContext& dc) {
        if (!pixels)
            return;
        const plat::Point view = dc.ViewportOrigin();
        plat::DrawContext copy(*pixels);
        copy.BitBlt(plat::Rect{0, 0, rect.GetWidth(), rect.GetHeight()}, dc.Target(),
                    {view.x + rect.GetLeft(), view.y + rect.GetTop()});
    });
    return bitmap;
}
