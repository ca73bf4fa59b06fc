#include "engine/graphics/DibSect.h"

#include <algorithm>
#include <cstring>
#include <new>

#include "engine/graphics/Palette.h"
#include "platform/Color.h"

namespace {

// Rows wider than this make no bitmap.
constexpr int32_t kMaxRowBytes = 0x3FFE;

int32_t RoundUp8(int32_t v) { return v > 0 ? (v + 7) & ~7 : v; }

plat::Rect ToPlat(const CRect& r)
{
    plat::Rect out;
    return r.ToRECT(out);
}

// The colours of a new bitmap: the display's fixed colours at both ends, the application's
// palette between.
plat::ColorTable DibColors()
{
    plat::ColorTable colors = plat::SystemPalette();
    const CPalette* palette = GetPalette();
    for (int i = 0; i < 256; ++i) {
        plat::Rgb& e = colors[static_cast<size_t>(i)];
        if (!plat::IsSystemColorIndex(i) && palette)
            palette->GetEntry(i, &e.r, &e.g, &e.b);
        e.flags = 0;
    }
    return colors;
}

} // namespace

int32_t DibRowBytes(int32_t bitsPerPixel, int32_t width) { return ((bitsPerPixel * width + 31) >> 5) * 4; }

CDibSect::CDibSect() = default;

CDibSect::CDibSect(const CRect& rect, int16_t bitsPerPixel, uint8_t fill)
{
    Create(rect, nullptr, bitsPerPixel, fill);
}

CDibSect::CDibSect(const CRect& rect, const CPoint& origin, int16_t bitsPerPixel, uint8_t fill)
{
    CRect sizing = rect;
    sizing.MoveTo(origin.GetH(), origin.GetV());
    Create(rect, &sizing, bitsPerPixel, fill);
}

CDibSect::~CDibSect() { FreeSection(); }

void CDibSect::FreeSection()
{
    created_ = false;
    if (!borrowed_)
        bits_ = nullptr;
    info_.reset();
    section_.reset();
    sectionRows_ = 0;
}

uint8_t* CDibSect::LockBits()
{
    if (!borrowed_)
        bits_ = section_ ? section_->pixels.data() : nullptr;
    return bits_;
}

void CDibSect::UnlockBits()
{
    if (!borrowed_)
        bits_ = nullptr;
}

bool CDibSect::MakeSection(int32_t width, int32_t rows)
{
    try {
        auto info = std::make_unique<DibInfo>();
        info->header.width = width;
        info->header.height = rows * GetRowDirection();
        info->colors = DibColors();
        auto section = std::make_unique<plat::Surface>(width, rows, true);
        section->colors = info->colors;
        info_ = std::move(info);
        section_ = std::move(section);
    } catch (const std::bad_alloc&) {
        return false;
    }
    sectionRows_ = rows;
    return true;
}

void CDibSect::Create(const CRect& rect, const CRect* sizing, int16_t bitsPerPixel, uint8_t fill)
{
    FreeSection();
    borrowed_ = false;
    padRows_ = 0;
    int32_t width = 0;
    int32_t rows = 0;
    if (sizing) {
        width = sizing->GetWidth();
        rows = sizing->GetHeight();
    } else {
        // A bitmap made again keeps its old height's rounding to 8 rows below the image.
        const int32_t oldHeight = std::max<int32_t>(rect_.GetHeight(), 0);
        padRows_ = static_cast<int16_t>(RoundUp8(oldHeight) - oldHeight);
        width = RoundUp8(rect.GetWidth());
        rows = rect.GetHeight() + padRows_;
    }
    bitsPerPixel_ = bitsPerPixel;
    const int32_t rowBytes = DibRowBytes(bitsPerPixel, width);
    rowBytes_ = static_cast<int16_t>(std::clamp(rowBytes, 0, kMaxRowBytes + 4));
    rect_ = rect;
    if (width <= 0 || rows <= 0 || rowBytes <= 0 || rowBytes > kMaxRowBytes)
        return;
    if (!MakeSection(rowBytes, rows))
        return;
    created_ = true;
    LockBits();
    if (fill != 1)
        Fill(fill);
    UnlockBits();
}

void CDibSect::Recreate(const CRect& rect, const CRect* sizing, int16_t bitsPerPixel, int32_t srcRowBytes,
                        const uint8_t* srcPixels)
{
    FreeSection();
    Create(rect, sizing, bitsPerPixel, 0);
    if (!srcPixels || !created_ || srcRowBytes <= 0)
        return;
    const int64_t wanted = static_cast<int64_t>(srcRowBytes) * std::max<int32_t>(rect.GetHeight(), 0);
    const auto count =
        static_cast<size_t>(std::min<int64_t>(wanted, static_cast<int64_t>(section_->pixels.size())));
    std::memcpy(LockBits(), srcPixels, count);
    UnlockBits();
}

void CDibSect::ShareBits(const CDibSect& other)
{
    FreeSection();
    bits_ = other.bits_;
    rowBytes_ = other.rowBytes_;
    rect_ = other.rect_;
    bitsPerPixel_ = other.bitsPerPixel_;
    created_ = other.created_;
    sectionRows_ = other.sectionRows_;
    padRows_ = other.padRows_;
    borrowed_ = true;
}

int32_t CDibSect::ImageRows() const
{
    return std::max(0, std::min<int32_t>(rect_.GetHeight(), sectionRows_ - padRows_));
}

int32_t CDibSect::RowOffset(int32_t v) const { return rowBytes_ * (ImageRows() - 1 - v + padRows_); }

PixelRows CDibSect::GetPixelRows() const
{
    if (!bits_)
        return {};
    return PixelRows{bits_ + static_cast<ptrdiff_t>(padRows_) * rowBytes_,
                     std::clamp<int32_t>(rect_.GetWidth(), 0, rowBytes_), ImageRows(), rowBytes_, true};
}

plat::Rect CDibSect::PixelBounds() const
{
    if (!created_)
        return {};
    return plat::Intersect(ToPlat(rect_), plat::Rect{0, 0, rowBytes_, ImageRows()});
}

void CDibSect::Fill(uint8_t color)
{
    if (!bits_)
        return;
    std::memset(bits_ + static_cast<size_t>(padRows_) * static_cast<size_t>(rowBytes_), color,
                static_cast<size_t>(ImageRows()) * static_cast<size_t>(rowBytes_));
}

void CDibSect::ReplaceColor(uint8_t from, uint8_t to)
{
    if (!bits_)
        return;
    uint8_t* p = bits_ + static_cast<size_t>(padRows_) * static_cast<size_t>(rowBytes_);
    std::replace(p, p + static_cast<size_t>(ImageRows()) * static_cast<size_t>(rowBytes_), from, to);
}

void CDibSect::FillRect(const CRect& rect, uint8_t color)
{
    const plat::Rect clip = plat::Intersect(ToPlat(rect), PixelBounds());
    uint8_t* bits = LockBits();
    if (bits && !clip.Empty())
        plat::FillRows(bits + RowOffset(clip.top) + clip.left, -rowBytes_, static_cast<size_t>(clip.Width()),
                       clip.Height(), color);
    UnlockBits();
}

void CDibSect::ReplaceColorInRect(const CRect& rect, uint8_t from, uint8_t to)
{
    const plat::Rect clip = plat::Intersect(ToPlat(rect), PixelBounds());
    uint8_t* bits = LockBits();
    if (bits && !clip.Empty())
        for (int32_t v = clip.top; v < clip.bottom; ++v) {
            uint8_t* row = bits + RowOffset(v) + clip.left;
            std::replace(row, row + clip.Width(), from, to);
        }
    UnlockBits();
}

uint8_t CDibSect::GetPixel(int32_t h, int32_t v)
{
    if (!PixelBounds().Contains(plat::Point{h, v}))
        return 0;
    const uint8_t* bits = LockBits();
    const uint8_t pixel = bits ? bits[RowOffset(v) + h] : 0;
    UnlockBits();
    return pixel;
}

// ---- Copies -------------------------------------------------------------------------------

namespace {

bool SameLayout(const CDibSect& a, const CDibSect& b)
{
    return a.GetRowBytes() == b.GetRowBytes() && a.GetSectionRows() == b.GetSectionRows() &&
           a.GetPadRows() == b.GetPadRows() && a.ImageRows() == b.ImageRows();
}

// The row loops. Rows run in memory order: each step moves every pointer on by its own
// bitmap's bytes per row.
void CopyOpaque(const uint8_t* src, int32_t srcStride, uint8_t* dst, int32_t dstStride, int32_t w, int32_t h)
{
    for (int32_t y = 0; y < h; ++y, src += srcStride, dst += dstStride)
        std::memmove(dst, src, static_cast<size_t>(w));
}

// The keyed loops write every destination byte, keeping the old value where the source holds
// the key colour: without a branch per pixel the compiler handles many pixels per step.
void CopyKeyed(const uint8_t* src, int32_t srcStride, uint8_t* dst, int32_t dstStride, int32_t w, int32_t h)
{
    for (int32_t y = 0; y < h; ++y, src += srcStride, dst += dstStride)
        for (int32_t x = 0; x < w; ++x) {
            const uint8_t p = src[x];
            dst[x] = p != 0 ? p : dst[x];
        }
}

// `src` points just past the row's source span, which is read backwards.
void CopyKeyedMirrored(const uint8_t* src, int32_t srcStride, uint8_t* dst, int32_t dstStride, int32_t w,
                       int32_t h)
{
    for (int32_t y = 0; y < h; ++y, src += srcStride, dst += dstStride)
        for (int32_t x = 0; x < w; ++x) {
            const uint8_t p = src[-1 - x];
            dst[x] = p != 0 ? p : dst[x];
        }
}

void CopyKeyedDepth(const uint8_t* src, int32_t srcStride, uint8_t* dst, int32_t dstStride,
                    const uint8_t* depthMap, uint8_t depth, int32_t w, int32_t h)
{
    for (int32_t y = 0; y < h; ++y, src += srcStride, dst += dstStride, depthMap += dstStride)
        for (int32_t x = 0; x < w; ++x) {
            const uint8_t p = src[x];
            dst[x] = p != 0 && depth >= depthMap[x] ? p : dst[x];
        }
}

void CopyKeyedMirroredDepth(const uint8_t* src, int32_t srcStride, uint8_t* dst, int32_t dstStride,
                            const uint8_t* depthMap, uint8_t depth, int32_t w, int32_t h)
{
    for (int32_t y = 0; y < h; ++y, src += srcStride, dst += dstStride, depthMap += dstStride)
        for (int32_t x = 0; x < w; ++x) {
            const uint8_t p = src[-1 - x];
            dst[x] = p != 0 && depth >= depthMap[x] ? p : dst[x];
        }
}

} // namespace

int32_t PlanBlit(BlitPlan& plan, const CDibSect& source, int32_t left, int32_t top, int32_t right,
                 int32_t bottom, const CDibSect& dest, int32_t destH, int32_t destV, const CDibSect* extra1,
                 const CDibSect* extra2, bool mirror)
{
    plan = BlitPlan{};
    if ((extra1 && !SameLayout(*extra1, dest)) || (extra2 && !SameLayout(*extra2, dest)))
        return 0;
    const plat::Rect srcClip = plat::Intersect(plat::Rect{left, top, right, bottom}, source.PixelBounds());
    if (srcClip.Empty())
        return 0;
    // Where the source clip lands, kept within the coordinate range of a rectangle.
    const int32_t placedH = std::clamp(destH, -0x8000, 0x7FFF);
    const int32_t placedV = std::clamp(destV, -0x8000, 0x7FFF);
    const plat::Rect placed{placedH, placedV, placedH + srcClip.Width(), placedV + srcClip.Height()};
    const plat::Rect destClip = plat::Intersect(placed, dest.PixelBounds());
    if (destClip.Empty())
        return 0;
    const int32_t w = destClip.Width();
    const int32_t h = destClip.Height();
    const int32_t srcH = srcClip.left + (destClip.left - placed.left);
    const int32_t srcV = srcClip.top + (destClip.top - placed.top);
    plan.width = static_cast<int16_t>(w);
    plan.height = static_cast<int16_t>(h);
    // Bottom-up rows: the copy starts at the lowest image row, the first in memory.
    plan.destOffset = dest.RowOffset(destClip.top + h - 1) + destClip.left;
    plan.srcOffset = source.RowOffset(srcV + h - 1) + srcH + (mirror ? w : 0);
    plan.extraOffset1 = extra1 ? plan.destOffset : 0;
    plan.extraOffset2 = extra2 ? plan.destOffset : 0;
    return 1;
}

void BlitDibTransparent(const CDibSect* source, int32_t left, int32_t top, int32_t right, int32_t bottom,
                        CDibSect* dest, int32_t destH, int32_t destV, const CDibSect* depthMap, uint8_t depth,
                        int16_t mode, bool mirror)
{
    if (!source || !dest || !source->GetBits() || !dest->GetBits() || (depthMap && !depthMap->GetBits()))
        return;
    const bool opaque = mode == kBlitOpaque;
    const bool reversed = mirror && !opaque;
    BlitPlan plan;
    if (!PlanBlit(plan, *source, left, top, right, bottom, *dest, destH, destV, opaque ? nullptr : depthMap,
                  nullptr, reversed))
        return;
    const uint8_t* src = source->GetBits() + plan.srcOffset;
    uint8_t* dst = dest->GetBits() + plan.destOffset;
    const int32_t srcStride = source->GetRowBytes();
    const int32_t dstStride = dest->GetRowBytes();
    if (opaque) {
        CopyOpaque(src, srcStride, dst, dstStride, plan.width, plan.height);
    } else if (depthMap) {
        const uint8_t* depths = depthMap->GetBits() + plan.extraOffset1;
        if (reversed)
            CopyKeyedMirroredDepth(src, srcStride, dst, dstStride, depths, depth, plan.width, plan.height);
        else
            CopyKeyedDepth(src, srcStride, dst, dstStride, depths, depth, plan.width, plan.height);
    } else if (reversed) {
        CopyKeyedMirrored(src, srcStride, dst, dstStride, plan.width, plan.height);
    } else {
        CopyKeyed(src, srcStride, dst, dstStride, plan.width, plan.height);
    }
}

void FillRectClipped(uint8_t color, int32_t left, int32_t top, int32_t right, int32_t bottom, CDibSect* dest,
                     int32_t h, int32_t v)
{
    if (!dest || !dest->GetBits())
        return;
    const int64_t width = static_cast<int64_t>(right) - left;
    const int64_t height = static_cast<int64_t>(bottom) - top;
    if (width <= 0 || height <= 0)
        return;
    const plat::Rect placed{h, v, static_cast<int32_t>(std::min<int64_t>(h + width, 0x7FFFFFFF)),
                            static_cast<int32_t>(std::min<int64_t>(v + height, 0x7FFFFFFF))};
    const plat::Rect clip = plat::Intersect(placed, dest->PixelBounds());
    if (!clip.Empty())
        plat::FillRows(dest->GetBits() + dest->RowOffset(clip.top) + clip.left,
                       dest->RowOffset(clip.top + 1) - dest->RowOffset(clip.top),
                       static_cast<size_t>(clip.Width()), clip.Height(), color);
}

// ---- Drawing callbacks -----------------------------------------------------------------------

namespace {

struct CopyStyle {
    int16_t mode;
    bool mirror; // takes the mirror flag from the record
    bool depth;  // takes the depth bitmap and value from the record
};

void DrawCopy(void* source, CDibSect* dest, const CRect& position, const DrawRecord* record, CopyStyle style)
{
    auto* src = static_cast<CDibSect*>(source);
    if (!src || !dest)
        return;
    const auto* srcRectParam = record ? reinterpret_cast<const CRect*>(record->params[0]) : nullptr;
    const CRect srcRect = srcRectParam ? *srcRectParam : src->GetRect();
    const bool mirror = style.mirror && record && (record->params[1] & 0xFFFF) != 0;
    CDibSect* depthMap = style.depth && record ? reinterpret_cast<CDibSect*>(record->params[2]) : nullptr;
    const auto depth = static_cast<uint8_t>(style.depth && record ? record->params[3] & 0xFF : 0);

    src->LockBits();
    dest->LockBits();
    if (depthMap)
        depthMap->LockBits();
    BlitDibTransparent(src, srcRect.GetLeft(), srcRect.GetTop(), srcRect.GetRight(), srcRect.GetBottom(),
                       dest, position.GetLeft(), position.GetTop(), depthMap, depth, style.mode, mirror);
    if (depthMap)
        depthMap->UnlockBits();
    dest->UnlockBits();
    src->UnlockBits();
}

} // namespace

void DrawOpaque(void* source, CDibSect* dest, const CRect& position, DrawRecord* record)
{
    DrawCopy(source, dest, position, record, {kBlitOpaque, false, false});
}

void DrawTransparent(void* source, CDibSect* dest, const CRect& position, DrawRecord* record)
{
    DrawCopy(source, dest, position, record, {kBlitTransparent, true, false});
}

void DrawDepthTested(void* source, CDibSect* dest, const CRect& position, DrawRecord* record)
{
    DrawCopy(source, dest, position, record, {kBlitTransparent, false, true});
}
