#include "tools/ScreenPicture.h"

#include <stdexcept>
#include <string>

#include "engine/controls/Frame.h"
#include "engine/controls/Wind.h"
#include "engine/framework/DeferredDelete.h"
#include "engine/graphics/DrawEnv.h"
#include "engine/graphics/FontList.h"
#include "engine/graphics/Palette.h"
#include "engine/resources/LibMgr.h"
#include "engine/resources/RsrcBlock.h"
#include "platform/Desktop.h"
#include "platform/Platform.h"
#include "platform/Window.h"

namespace {

constexpr uint32_t kEveryLibrary = 0xFFFFFFFFu;

// The lowest number of a "CLT" in any library.
std::optional<int32_t> LowestPalette()
{
    std::optional<int32_t> lowest;
    for (CLibNode* node = GetLibMgr()->GetFirstNode(); node; node = node->next) {
        CResLib& lib = *node->library;
        for (int16_t i = 0; i < INT16_MAX; ++i) {
            const int32_t id = lib.GetResourceId("CLT", i);
            if (lib.GetStatus() != kLibOk)
                break;
            if (!lowest || id < *lowest)
                lowest = id;
        }
    }
    return lowest;
}

// The client area's rows as the window's own surface holds them.
std::vector<uint8_t> SurfaceRows(const plat::ClientTarget& target, int width, int height)
{
    std::vector<uint8_t> pixels;
    for (int y = 0; y < height; ++y) {
        const uint8_t* row = target.surface->Row(target.origin.y + y) + target.origin.x;
        pixels.insert(pixels.end(), row, row + width);
    }
    return pixels;
}

// The client area's rows as the desktop composes them with the window's widgets, which paint
// their own windows.
std::vector<uint8_t> ComposedRows(CWind& window, int width, int height)
{
    const plat::Point corner = plat::ClientToScreen(window.GetHwnd(), {0, 0});
    plat::Surface composed(width, height);
    plat::ComposeArea(composed, plat::Rect::FromSize(corner.x, corner.y, width, height));
    std::vector<uint8_t> pixels;
    for (int y = 0; y < height; ++y) {
        const uint8_t* row = composed.Row(y);
        pixels.insert(pixels.end(), row, row + width);
    }
    return pixels;
}

} // namespace

std::unique_ptr<CPalette> LoadScreenPalette(std::optional<int32_t> id)
{
    if (!id)
        id = LowestPalette();
    if (!id)
        throw std::runtime_error("no colour table: the libraries hold no CLT");
    std::unique_ptr<CRsrcBlock> table = GetLibMgr()->LoadResource("CLT", *id, kEveryLibrary, false);
    if (!table)
        throw std::runtime_error("no resource CLT " + std::to_string(*id));
    return std::make_unique<CPalette>(table.release());
}

std::vector<PngColor> PaletteColours(CPalette& palette)
{
    std::vector<PngColor> colours;
    for (int i = 0; i < 256; ++i) {
        PngColor c;
        palette.GetEntry(i, &c.r, &c.g, &c.b);
        colours.push_back(c);
    }
    return colours;
}

void InitScreenFonts()
{
    FontList fonts;
    if (LoadFontList(fonts))
        CDrawEnv::InitFonts(&fonts);
    else
        CDrawEnv::InitFonts(nullptr);
}

std::unique_ptr<CWind> ShowingWindow(CBaseObj* built)
{
    if (auto* window = dynamic_cast<CWind*>(built)) {
        if (!window->GetFirstFrame()) {
            delete window;
            return nullptr;
        }
        return std::unique_ptr<CWind>(window);
    }
    auto* root = dynamic_cast<CFrame*>(built);
    if (!root) {
        delete built;
        return nullptr;
    }
    return std::make_unique<CWind>(CWind::kTypeTopLevel, root, nullptr, CWind::kFlagOffScreen);
}

void DispatchWaiting()
{
    plat::PlatMessage message;
    for (int n = 0; n < 10000 && plat::PeekWindowMessage(message, true); ++n) {
        CDispatchScope pass;
        plat::DispatchWindowMessage(message);
    }
}

void ShowScreen(CWind& window, CPalette& palette)
{
    uint32_t exStyle = 0;
    uint32_t style = window.GetStyle(exStyle);
    if (style == 0) // a template window: a plain popup will do for a picture
        style = plat::style::Popup;
    window.Create(window.GetType(), nullptr, style, exStyle, nullptr);
    window.SetPalette(&palette);
    window.ShowWnd();
    window.Redraw(nullptr);
    DispatchWaiting();
}

IndexedImage TakeScreen(CWind& window, CPalette& palette)
{
    DispatchWaiting();
    const plat::ClientTarget target = plat::GetClientTarget(window.GetHwnd());
    if (!target.surface)
        throw std::runtime_error("the window has no picture");
    IndexedImage image;
    image.width = target.client.Width();
    image.height = target.client.Height();
    if (image.width < 1 || image.height < 1)
        throw std::runtime_error("the screen's root frame is empty");
    image.pixels = plat::GetChildren(window.GetHwnd()).empty()
                       ? SurfaceRows(target, image.width, image.height)
                       : ComposedRows(window, image.width, image.height);
    image.palette = PaletteColours(palette);
    return image;
}
