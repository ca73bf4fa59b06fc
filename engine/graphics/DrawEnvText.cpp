// CDrawEnv's fonts and text.
#include <cstdlib>

#include "engine/graphics/DrawEnv.h"
#include "engine/graphics/Font.h"
#include "engine/graphics/Region.h"
#include "engine/graphics/TextLayout.h"

namespace {

// The font table and whether it has been built: one for the program. A plain pointer, so that
// no destructor runs at exit after the memory blocks' allocator is gone; the application
// deletes the table at its end (DeleteFonts).
CFontTable* g_fontTable = nullptr;
bool g_fontsBuilt = false;

// The display's logical pixels per inch, which point sizes are converted with.
constexpr int32_t kPixelsPerInch = 96;

// The default font, id 0: a 16-pixel cell, 7 pixels wide, bold.
plat::FontSpec DefaultFontSpec()
{
    plat::FontSpec spec;
    spec.face = "MS Sans Serif";
    spec.height = 16;
    spec.width = 7;
    spec.weight = 700;
    return spec;
}

plat::FontHandle SystemFont() { return plat::GetStockFont(plat::StockFont::System); }

std::string_view TextOf(const char* text, int32_t length)
{
    return text && length > 0 ? std::string_view(text, static_cast<size_t>(length)) : std::string_view();
}

} // namespace

// ---- The font table --------------------------------------------------------------------------

CFontTable* CDrawEnv::GetFontTable() { return g_fontTable; }

plat::FontSpec CDrawEnv::FontSpecFor(const char* face, int16_t size, int16_t style)
{
    plat::FontSpec spec;
    const int32_t height = (size * kPixelsPerInch + 36) / 72;
    spec.height = -height;
    if (style & kFontNarrow)
        spec.width = std::abs(height) * 2 / 3;
    spec.weight = (style & kFontBold) ? 700 : 400;
    spec.italic = (style & kFontItalic) != 0;
    spec.underline = (style & kFontUnderline) != 0;
    spec.face = face ? face : "";
    return spec;
}

plat::FontHandle CDrawEnv::CreateFontFromSpec(const char* face, int16_t size, int16_t style)
{
    return plat::CreateFont(FontSpecFor(face, size, style));
}

int16_t CDrawEnv::InitFonts(const FontList* list)
{
    if (g_fontsBuilt)
        return list ? 0 : 1;
    g_fontTable = new CFontTable;
    plat::FontHandle standard = plat::CreateFont(DefaultFontSpec());
    g_fontTable->Add(new CFont(0, standard ? standard : SystemFont(), 12, 0));
    if (list)
        for (const FontListEntry& entry : *list)
            if (plat::FontHandle font = CreateFontFromSpec(entry.face.GetText(), entry.size, entry.style))
                g_fontTable->Add(new CFont(entry.id, std::move(font), entry.size, entry.style));
    g_fontsBuilt = true;
    return list ? 0 : 1;
}

void CDrawEnv::DeleteFonts()
{
    if (instanceCount_ == 0 && g_fontsBuilt)
        ResetFonts();
}

void CDrawEnv::ResetFonts()
{
    delete g_fontTable;
    g_fontTable = nullptr;
    g_fontsBuilt = false;
}

// ---- Text ------------------------------------------------------------------------------------

plat::FontMetrics CDrawEnv::CurrentMetrics() const { return dc_ ? dc_->Metrics() : plat::FontMetrics{}; }

void CDrawEnv::SetFont(int16_t id)
{
    Drawing([&](plat::DrawContext& dc) {
        const CFont* font = g_fontTable ? g_fontTable->Find(id) : nullptr;
        dc.SelectFont(font ? font->GetHandle() : nullptr);
        fontId_ = font ? id : 0;
    });
}

void CDrawEnv::GetFontMetrics(FontInfo& out, int16_t id)
{
    out = FontInfo{8, 3, 1, 8};
    Drawing([&](plat::DrawContext& dc) {
        const int16_t current = fontId_;
        if (id != current)
            SetFont(id);
        const plat::FontMetrics m = dc.Metrics();
        out.ascent = static_cast<int16_t>(m.ascent - m.internalLeading);
        out.descent = static_cast<int16_t>(m.descent);
        out.leading = static_cast<int16_t>(m.externalLeading);
        out.height = static_cast<int16_t>(m.ascent + m.descent);
        if (id != current)
            SetFont(current);
    });
}

int32_t CDrawEnv::GetTextWidth(const CStr& text)
{
    int32_t width = 0;
    Drawing(
        [&](plat::DrawContext& dc) { width = dc.TextExtent(TextOf(text.GetText(), text.GetLength())).cx; });
    return width;
}

std::string CDrawEnv::TranslateText(const char* text, int32_t length)
{
    std::string out(TextOf(text, length));
    const uint8_t* map = g_fontTable ? CStr::GetCharMap(g_fontTable->GetCharMap(fontId_)) : nullptr;
    if (map)
        for (char& c : out)
            if (const auto byte = static_cast<uint8_t>(c); byte >= 128)
                c = static_cast<char>(map[byte - 128]);
    return out;
}

void CDrawEnv::DrawTextAt(const CPoint& p, const char* text, int32_t length, int16_t bkMode)
{
    Drawing([&](plat::DrawContext& dc) {
        SetBkMode(bkMode);
        const plat::FontMetrics m = dc.Metrics();
        dc.TextOut({p.GetH(), p.GetV() - (m.internalLeading + m.externalLeading)},
                   TranslateText(text, length));
    });
}

void CDrawEnv::DrawTextAligned(const CRect& rect, const char* text, int32_t length, int16_t hJust,
                               int16_t vJust, int16_t bkMode)
{
    if (!text || length < 1)
        return;
    Drawing([&](plat::DrawContext& dc) {
        const plat::FontMetrics m = dc.Metrics();
        const int32_t leading = m.internalLeading + m.externalLeading;
        const std::string line = TranslateText(text, length);
        const plat::Size extent = dc.TextExtent(line);
        int32_t h = rect.GetLeft();
        if (hJust == kJustifyCenter)
            h = (rect.GetLeft() + rect.GetRight() - extent.cx) / 2;
        else if (hJust == kJustifyEnd)
            h = rect.GetRight() - extent.cx;
        int32_t v = rect.GetTop() - leading;
        if (vJust == kJustifyCenter)
            v = (rect.GetTop() + rect.GetBottom()) / 2 - extent.cy / 2 - leading / 2;
        else if (vJust == kJustifyEnd)
            v = rect.GetBottom() - extent.cy;
        SetBkMode(bkMode);
        dc.TextOut({h, v}, line);
    });
}

void CDrawEnv::DrawTextWrapped(const CRect& rect, const char* text, int32_t length, int16_t hJust,
                               int16_t bkMode)
{
    Drawing([&](plat::DrawContext& dc) {
        SetBkMode(bkMode);
        const std::string translated = TranslateText(text, length);
        const plat::Rect box = ToPlatRect(rect);
        const auto lines =
            WrapText(translated, box.Width(), [&](std::string_view s) { return dc.TextExtent(s).cx; });

        // The text stays inside the rectangle: clip to it (in surface pixels) for the drawing.
        std::optional<plat::Region> saved;
        if (const plat::Region* clip = dc.ClipRegion())
            saved = *clip;
        const plat::Point view = dc.ViewportOrigin();
        plat::Region inside(box.Offset(view.x, view.y));
        if (saved)
            inside.Intersect(*saved);
        dc.SetClipRegion(&inside);

        const int32_t lineHeight = dc.Metrics().height;
        int32_t v = box.top;
        for (const TextLine& line : lines) {
            int32_t h = box.left;
            if (hJust == kJustifyCenter)
                h = (box.left + box.right - line.width) / 2;
            else if (hJust == kJustifyEnd)
                h = box.right - line.width;
            dc.TextOut({h, v}, line.text);
            for (const size_t at : line.underlined)
                dc.UnderlineText({h, v}, line.text, at, 1);
            v += lineHeight;
        }
        dc.SetClipRegion(saved ? &*saved : nullptr);
    });
}
