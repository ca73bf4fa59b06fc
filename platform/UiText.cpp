// The text of captions (the bold system font) and menus (a regular face of menu size).
// Without a loadable font every character counts a fixed width and nothing is drawn.
#include "platform/DrawContext.h"
#include "platform/Font.h"
#include "platform/WindowInternal.h"

namespace plat::detail {

namespace {

constexpr int kFallbackWidth = 7;
constexpr int kFallbackHeight = 13;

FontHandle& MenuFontSlot()
{
    static FontHandle font;
    return font;
}

FontHandle UiFont(UiFace face)
{
    if (face == UiFace::Caption)
        return GetStockFont(StockFont::System);
    FontHandle& slot = MenuFontSlot();
    if (!slot)
        slot = CreateFont({"MS Sans Serif", -11, 0, 400});
    return slot;
}

} // namespace

void ResetUiText() { MenuFontSlot().reset(); }

int UiTextWidth(std::string_view text, UiFace face)
{
    const FontHandle font = UiFont(face);
    return font ? font->TextWidth(text) : static_cast<int>(text.size()) * kFallbackWidth;
}

int UiTextHeight(UiFace face)
{
    const FontHandle font = UiFont(face);
    return font ? font->Metrics().height : kFallbackHeight;
}

void DrawUiText(Surface& s, int x, int y, std::string_view text, uint8_t color, const Rect& clip, UiFace face)
{
    FontHandle font = UiFont(face);
    if (!font || text.empty())
        return;
    DrawContext dc(s);
    const Region area(clip);
    dc.SetClipRegion(&area);
    dc.SelectFont(std::move(font));
    dc.SetBkMode(BkMode::Transparent);
    dc.SetTextColor(ColorRef::FromIndex(color));
    dc.TextOut({x, y}, text);
}

} // namespace plat::detail
