// The drawing context's text. A line of text is laid out into a small mask (background, ink)
// over the visible part of its cells, then painted through the clip region. Text ignores the
// raster mode: ink is the text colour, the background the background colour.
#include <algorithm>
#include <vector>

#include "platform/DrawContext.h"

namespace plat {
namespace {

enum : uint8_t { kNothing = 0, kBackground = 1, kInk = 2 };

// A mask over a rectangle of surface pixels; marks outside it are dropped.
class TextMask {
public:
    explicit TextMask(const Rect& area)
        : area_(area),
          marks_(static_cast<size_t>(area.Width()) * static_cast<size_t>(area.Height()), kNothing)
    {
    }
    const Rect& Area() const { return area_; }
    uint8_t At(int32_t x, int32_t y) const { return marks_[Index(x, y)]; }
    void Mark(const Rect& r, uint8_t mark)
    {
        const Rect c = Intersect(r, area_);
        for (int32_t y = c.top; y < c.bottom; ++y)
            std::fill_n(marks_.begin() + static_cast<std::ptrdiff_t>(Index(c.left, y)), c.Width(), mark);
    }
    void MarkGlyph(const Glyph& g, int64_t left, int64_t top)
    {
        for (int32_t row = 0; row < g.height; ++row) {
            const int64_t y = top + row;
            if (y < area_.top || y >= area_.bottom)
                continue;
            for (int32_t col = 0; col < g.width; ++col) {
                const int64_t x = left + col;
                if (x >= area_.left && x < area_.right && g.bits[static_cast<size_t>(row * g.width + col)])
                    marks_[Index(static_cast<int32_t>(x), static_cast<int32_t>(y))] = kInk;
            }
        }
    }

private:
    size_t Index(int32_t x, int32_t y) const
    {
        return static_cast<size_t>(y - area_.top) * static_cast<size_t>(area_.Width()) +
               static_cast<size_t>(x - area_.left);
    }
    Rect area_;
    std::vector<uint8_t> marks_;
};

Rect RectOf(int64_t left, int64_t top, int64_t right, int64_t bottom)
{
    return Region::ClampRect(left, top, right, bottom);
}

} // namespace

FontMetrics DrawContext::Metrics() const
{
    const FontHandle font = CurrentFont();
    return font ? font->Metrics() : FontMetrics{};
}

Size DrawContext::TextExtent(std::string_view text) const
{
    const FontHandle font = CurrentFont();
    if (!font)
        return {};
    return {font->TextWidth(text), font->Metrics().height};
}

FontHandle DrawContext::DeviceFont() const
{
    FontHandle font = CurrentFont();
    if (!font || !Mapped())
        return font;
    if (deviceFont_ && deviceFontFrom_ == font && deviceFontWindow_ == windowExt_ &&
        deviceFontViewport_ == viewportExt_)
        return deviceFont_;
    FontSpec spec = font->Spec();
    spec.height = static_cast<int32_t>(ScaleY(spec.height != 0 ? spec.height : font->Metrics().height));
    spec.width = static_cast<int32_t>(ScaleX(spec.width));
    deviceFont_ = CreateFont(spec);
    deviceFontFrom_ = font;
    deviceFontWindow_ = windowExt_;
    deviceFontViewport_ = viewportExt_;
    return deviceFont_ ? deviceFont_ : font;
}

void DrawContext::TextOut(Point p, std::string_view text)
{
    if (const FontHandle font = DeviceFont())
        DrawText(p, text, *font, 0, 0, false);
}

void DrawContext::UnderlineText(Point p, std::string_view text, size_t first, size_t count)
{
    if (const FontHandle font = DeviceFont())
        DrawText(p, text, *font, first, count, true);
}

void DrawContext::DrawText(Point p, std::string_view text, const Font& font, size_t first, size_t count,
                           bool underlineOnly)
{
    const FontMetrics& m = font.Metrics();
    const Point o = ToDevice(p);
    const int64_t baseline = int64_t{o.y} + m.ascent;

    // Cells, and the ink of glyphs that reach past their cells, bound what can be drawn.
    int64_t penX = o.x;
    int64_t inkLeft = o.x;
    int64_t inkRight = o.x;
    int64_t inkTop = o.y;
    int64_t inkBottom = int64_t{o.y} + m.height;
    for (const char c : text) {
        const Glyph& g = font.GlyphOf(static_cast<uint8_t>(c));
        if (g.width > 0 && g.height > 0) {
            inkLeft = std::min(inkLeft, penX + g.left);
            inkRight = std::max(inkRight, penX + g.left + g.width);
            inkTop = std::min(inkTop, baseline - g.top);
            inkBottom = std::max(inkBottom, baseline - g.top + g.height);
        }
        penX += g.advance;
    }
    const Rect cells = RectOf(o.x, o.y, penX, int64_t{o.y} + m.height);
    const Rect ink = RectOf(std::min<int64_t>(inkLeft, o.x), inkTop, std::max(inkRight, penX), inkBottom);
    TextMask mask(Intersect(ink, VisibleBounds()));
    if (mask.Area().Empty())
        return;

    const auto underline = [&](int64_t from, int64_t to) {
        const int64_t top = baseline + m.underlineOffset;
        mask.Mark(RectOf(from, top, to, top + m.underlineThickness), kInk);
    };
    if (underlineOnly) {
        first = std::min(first, text.size());
        count = std::min(count, text.size() - first);
        const int64_t from = int64_t{o.x} + font.TextWidth(text.substr(0, first));
        underline(from, from + font.TextWidth(text.substr(first, count)));
    } else {
        if (bkMode_ == BkMode::Opaque)
            mask.Mark(cells, kBackground);
        penX = o.x;
        for (const char c : text) {
            const Glyph& g = font.GlyphOf(static_cast<uint8_t>(c));
            mask.MarkGlyph(g, penX + g.left, baseline - g.top);
            penX += g.advance;
        }
        if (font.Spec().underline)
            underline(o.x, penX);
    }

    const uint8_t inkColor = Resolve(textColor_);
    const uint8_t backColor = Resolve(bkColor_);
    Region area(mask.Area());
    area.Intersect(Visible());
    for (const Region::Band& band : area.Bands()) {
        for (int32_t y = band.top; y < band.bottom; ++y) {
            uint8_t* row = target_->Row(y);
            for (const Region::Span& s : area.SpansOf(band)) {
                for (int32_t x = s.left; x < s.right; ++x) {
                    const uint8_t mark = mask.At(x, y);
                    if (mark == kInk)
                        row[x] = inkColor;
                    else if (mark == kBackground)
                        row[x] = backColor;
                }
            }
        }
    }
}

} // namespace plat
