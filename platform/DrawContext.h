#pragma once
// A drawing context over an 8-bit surface: the software drawing that windows, off-screen
// bitmaps and controls go through. It keeps a viewport origin (drawing coordinates are
// relative to it), a clip region in surface pixels, a pen, a brush, a raster mode for pens and
// brushes, the background mode and colour, the text colour and a font.
//
// Rectangles name the pixels from (left, top) up to but not including (right, bottom); a
// rectangle whose right is not past its left, or bottom not below its top, draws nothing.
// Raster modes combine palette indices bit by bit, as a palette display does.
#include <cstdint>
#include <optional>
#include <string_view>

#include "platform/Color.h"
#include "platform/Font.h"
#include "platform/Geometry.h"
#include "platform/Region.h"
#include "platform/Surface.h"

namespace plat {

// How a pen or brush pixel P meets the pixel D already there.
enum class Rop2 {
    CopyPen,     // P
    MergePen,    // P | D
    XorPen,      // P ^ D
    MaskNotPen,  // ~P & D
    NotCopyPen,  // ~P
    MergeNotPen, // ~P | D
    NotXorPen,   // ~(P ^ D)
    MaskPen,     // P & D
};

// How a source pixel S of a blit meets the destination pixel D.
enum class Rop3 {
    SrcCopy,     // S
    SrcPaint,    // S | D
    SrcInvert,   // S ^ D
    NotSrcCopy,  // ~S
    NotSrcErase, // ~(S | D)
};

enum class PenStyle {
    Solid,       // wide pens are centred on the outline
    InsideFrame, // wide pens of closed shapes stay inside the bounding box
};

struct Pen {
    PenStyle style = PenStyle::Solid;
    int32_t width = 1; // 0 or less draws one pixel wide
    ColorRef color = ColorRef::FromRgb(0, 0, 0);
    bool operator==(const Pen&) const = default;
};

struct Brush {
    bool hollow = false; // a hollow brush fills nothing
    ColorRef color = ColorRef::FromRgb(255, 255, 255);
    bool operator==(const Brush&) const = default;
};

enum class BkMode { Transparent, Opaque };

struct Size {
    int32_t cx = 0;
    int32_t cy = 0;
    bool operator==(const Size&) const = default;
};

class DrawContext {
public:
    // Draws into the surface (not owned; it must outlive the context). Colours resolve against
    // the surface's own colour table until a palette is selected.
    explicit DrawContext(Surface& target);

    Surface& Target() { return *target_; }

    // Colours resolve against this table from now on.
    void SelectPalette(const ColorTable& palette) { palette_ = palette; }
    const ColorTable& Palette() const { return palette_ ? *palette_ : target_->colors; }
    uint8_t Resolve(const ColorRef& color) const { return ResolveColor(color, Palette()); }

    void SetViewportOrigin(Point origin) { origin_ = origin; }
    Point ViewportOrigin() const { return origin_; }
    // Maps drawing coordinates onto device pixels: x becomes x * viewport.cx / window.cx (and y
    // likewise), rounded, before the viewport origin is added. Pen widths, font heights and
    // the destinations of blits scale the same way. Equal extents (the default) draw one to
    // one. Answers false and changes nothing when an extent is not positive.
    bool SetMapping(Size windowExtent, Size viewportExtent);
    Size WindowExtent() const { return windowExt_; }
    Size ViewportExtent() const { return viewportExt_; }
    // Limits drawing to the region, given in surface pixels (the origin does not move it);
    // nullptr removes the limit.
    void SetClipRegion(const Region* region);
    const Region* ClipRegion() const { return clip_ ? &*clip_ : nullptr; }

    void SetPen(const Pen& pen) { pen_ = pen; }
    const Pen& GetPen() const { return pen_; }
    void SetBrush(const Brush& brush) { brush_ = brush; }
    const Brush& GetBrush() const { return brush_; }
    void SetRop2(Rop2 mode) { rop2_ = mode; }
    Rop2 GetRop2() const { return rop2_; }
    void SetBkMode(BkMode mode) { bkMode_ = mode; }
    BkMode GetBkMode() const { return bkMode_; }
    void SetBkColor(const ColorRef& color) { bkColor_ = color; }
    ColorRef GetBkColor() const { return bkColor_; }
    void SetTextColor(const ColorRef& color) { textColor_ = color; }
    ColorRef GetTextColor() const { return textColor_; }
    // The font for text; nullptr goes back to the stock system font.
    void SelectFont(FontHandle font) { font_ = std::move(font); }
    // The selected font, or the stock system font (nullptr when no font can be loaded).
    FontHandle CurrentFont() const;

    // Closed shapes: the brush fills the inside and the pen draws the outline, both through
    // the raster mode.
    void Rectangle(const Rect& box);
    void Ellipse(const Rect& box);
    // The part of the box's ellipse outline from the ray through start counter-clockwise to
    // the ray through end (the whole outline when they point the same way); pen only.
    void Arc(const Rect& box, Point start, Point end);
    // The same slice of the ellipse, closed by two lines to the centre and filled.
    void Pie(const Rect& box, Point start, Point end);
    // Lines from the current position; the end point is not drawn by a one-pixel pen.
    void MoveTo(Point p) { position_ = p; }
    void LineTo(Point p);
    Point CurrentPosition() const { return position_; }
    // Fills a region (in drawing coordinates) with the brush through the raster mode.
    void PaintRegion(const Region& region);

    // Fills with one colour, ignoring pen, brush and raster mode.
    void FillRect(const Rect& rect, const ColorRef& color);
    // Inverts every pixel (index i becomes 255 - i).
    void InvertRect(const Rect& rect);
    // Moves the pixels inside the rectangle by (dx, dy), keeping them inside it; the part the
    // move uncovers keeps its old pixels.
    void ScrollRect(const Rect& rect, int32_t dx, int32_t dy);

    // Copies the source's pixels from srcOrigin onwards into dest. Pixels outside the source
    // are not drawn.
    void BitBlt(const Rect& dest, const Surface& source, Point srcOrigin, Rop3 rop = Rop3::SrcCopy);
    // Copies the source rectangle stretched over dest, sampling the nearest pixel. An empty or
    // inverted rectangle on either side draws nothing.
    void StretchBlt(const Rect& dest, const Surface& source, const Rect& srcRect, Rop3 rop = Rop3::SrcCopy);

    // Draws one line of Windows-1252 text with its cell's top-left at p, in the text colour;
    // in opaque mode the cells are first filled with the background colour.
    void TextOut(Point p, std::string_view text);
    // Draws the font's underline below the characters [first, first + count) of the text as
    // TextOut would place it at p (for marking a shortcut letter).
    void UnderlineText(Point p, std::string_view text, size_t first, size_t count);
    // The width of the text and the height of the font, in drawing coordinates.
    Size TextExtent(std::string_view text) const;
    // The current font's metrics (all zero when no font can be loaded).
    FontMetrics Metrics() const;

private:
    bool Mapped() const { return windowExt_ != viewportExt_; }
    int64_t ScaleX(int64_t x) const;
    int64_t ScaleY(int64_t y) const;
    Rect ToDevice(const Rect& r) const;
    Point ToDevice(Point p) const;
    // The current font at the size the mapping gives it on the device.
    FontHandle DeviceFont() const;
    // Blits between device rectangles: pixel for pixel, and stretched.
    void CopyToDevice(const Rect& d, const Surface& source, Point srcOrigin, Rop3 rop);
    void StretchToDevice(const Rect& d, const Surface& source, const Rect& srcRect, Rop3 rop);
    // The area drawing may touch: the surface, limited by the clip region.
    Region Visible() const;
    Rect VisibleBounds() const;
    void Paint(const Region& area, uint8_t color, Rop2 mode);
    // Paint of a rectangle, without building regions while the visible area is one rectangle.
    void PaintRect(const Rect& rect, uint8_t color, Rop2 mode);
    bool VisibleIsRect() const;
    // Paints the rows top to bottom - 1 within the spans.
    void PaintBand(int32_t top, int32_t bottom, std::span<const Region::Span> spans, uint8_t color,
                   Rop2 mode);
    void FillShape(const Region& inside, const Region& outline);
    // The box a closed shape's outline runs round, grown for a centred wide pen.
    Rect OutlineBox(const Rect& deviceBox) const;
    int32_t PenWidth() const;
    Region PenLine(Point a, Point b) const;
    void DrawText(Point p, std::string_view text, const Font& font, size_t first, size_t count,
                  bool underlineOnly);

    Surface* target_;
    std::optional<ColorTable> palette_;
    std::optional<Region> clip_;
    Point origin_;
    Size windowExt_{1, 1};
    Size viewportExt_{1, 1};
    Point position_;
    Pen pen_;
    Brush brush_;
    Rop2 rop2_ = Rop2::CopyPen;
    BkMode bkMode_ = BkMode::Opaque;
    ColorRef bkColor_ = ColorRef::FromRgb(255, 255, 255);
    ColorRef textColor_ = ColorRef::FromRgb(0, 0, 0);
    FontHandle font_;
    // The last font scaled for the device, and what it was made from.
    mutable FontHandle deviceFont_;
    mutable FontHandle deviceFontFrom_;
    mutable Size deviceFontWindow_;
    mutable Size deviceFontViewport_;
};

} // namespace plat
