#include "tools/QmScreen.h"

#include <climits>
#include <memory>
#include <optional>
#include <ostream>
#include <stdexcept>

#include "engine/controls/Frame.h"
#include "engine/controls/TplList.h"
#include "engine/controls/Wind.h"
#include "engine/controls/WndProc.h"
#include "engine/controls/kinds/TemplateKinds.h"
#include "engine/framework/DeferredDelete.h"
#include "engine/graphics/DrawEnv.h"
#include "engine/graphics/FontList.h"
#include "engine/graphics/Palette.h"
#include "engine/resources/LibMgr.h"
#include "engine/resources/Registrar.h"
#include "engine/resources/RsrcBlock.h"
#include "engine/resources/RsrcCache.h"
#include "platform/Desktop.h"
#include "platform/Platform.h"
#include "platform/Window.h"
#include "tools/EngineLibrary.h"
#include "tools/PngImage.h"
#include "tools/ToolArgs.h"

namespace {

constexpr uint32_t kEveryLibrary = 0xFFFFFFFFu;
// Room for the shared pictures and string lists of one screen.
constexpr int32_t kCacheSize = 4 * 1024 * 1024;

[[noreturn]] void Usage()
{
    throw std::runtime_error("usage: qmscreen LIBRARY... --tpl NUMBER [--palette ID] OUT.png");
}

struct Options {
    std::vector<std::string> libraries;
    std::string out;
    int32_t tpl = 0;
    std::optional<int32_t> palette;
};

Options ParseOptions(const std::vector<std::string>& args)
{
    Options options;
    bool haveTpl = false;
    std::vector<std::string> positional;
    for (size_t i = 0; i < args.size(); ++i) {
        const bool option = args[i] == "--tpl" || args[i] == "--palette";
        if (option && i + 1 >= args.size())
            Usage();
        if (args[i] == "--tpl") {
            options.tpl = static_cast<int32_t>(ParseNumber(args[++i], INT32_MIN, INT32_MAX, "template list"));
            haveTpl = true;
        } else if (args[i] == "--palette") {
            options.palette = static_cast<int32_t>(ParseNumber(args[++i], INT32_MIN, INT32_MAX, "palette"));
        } else {
            positional.push_back(args[i]);
        }
    }
    if (!haveTpl || positional.size() < 2)
        Usage();
    options.out = positional.back();
    positional.pop_back();
    options.libraries = std::move(positional);
    return options;
}

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

std::unique_ptr<CPalette> LoadPalette(std::optional<int32_t> id)
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

// The fonts of "FTL" 128, or the default font alone.
void InitFonts()
{
    FontList fonts;
    if (LoadFontList(fonts))
        CDrawEnv::InitFonts(&fonts);
    else
        CDrawEnv::InitFonts(nullptr);
}

// The window that shows the built screen: the list's window, or a top-level one around the
// root. Answers null when nothing was built.
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

// Dispatches every waiting window message: the window's and its widgets' paints.
void DispatchWaiting()
{
    plat::PlatMessage message;
    for (int n = 0; n < 10000 && plat::PeekWindowMessage(message, true); ++n) {
        CDispatchScope pass;
        plat::DispatchWindowMessage(message);
    }
}

// Creates the native window, paints it with the palette and takes its client area.
IndexedImage Render(CWind& window, CPalette& palette)
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

    const plat::ClientTarget target = plat::GetClientTarget(window.GetHwnd());
    if (!target.surface)
        throw std::runtime_error("the window has no picture");
    IndexedImage image;
    image.width = target.client.Width();
    image.height = target.client.Height();
    if (image.width < 1 || image.height < 1)
        throw std::runtime_error("the screen's root frame is empty");
    if (plat::GetChildren(window.GetHwnd()).empty()) {
        for (int y = 0; y < image.height; ++y) {
            const uint8_t* row = target.surface->Row(target.origin.y + y) + target.origin.x;
            image.pixels.insert(image.pixels.end(), row, row + image.width);
        }
    } else {
        // The widgets of a screen with native controls paint their own windows: the client
        // area is taken as the desktop composes it with them.
        const plat::Point corner = plat::ClientToScreen(window.GetHwnd(), {0, 0});
        plat::Surface composed(image.width, image.height);
        plat::ComposeArea(composed, plat::Rect::FromSize(corner.x, corner.y, image.width, image.height));
        for (int y = 0; y < image.height; ++y) {
            const uint8_t* row = composed.Row(y);
            image.pixels.insert(image.pixels.end(), row, row + image.width);
        }
    }
    for (int i = 0; i < 256; ++i) {
        PngColor c;
        palette.GetEntry(i, &c.r, &c.g, &c.b);
        image.palette.push_back(c);
    }
    return image;
}

// Puts the engine back as the tool found it.
struct EngineScope {
    EngineScope()
    {
        plat::SetBackend(plat::Backend::Null);
        RegisterEngineClasses();
        RegisterAllTemplateKinds();
    }
    ~EngineScope()
    {
        CDrawEnv::DeleteFonts();
        CRegistrar::Clear();
    }
    EngineScope(const EngineScope&) = delete;
    EngineScope& operator=(const EngineScope&) = delete;
};

void Screen(const Options& options)
{
    EngineLibrary library(options.libraries);
    EngineScope engine;
    IndexedImage image;
    library.Run([&] {
        InitFonts();
        std::unique_ptr<CPalette> palette = LoadPalette(options.palette);
        CRsrcCache cache(kCacheSize);
        CTplList list(options.tpl, kEveryLibrary, &cache);
        std::unique_ptr<CWind> window = ShowingWindow(list.Build(nullptr, nullptr, 0));
        if (!window)
            throw std::runtime_error("template list " + std::to_string(options.tpl) + " builds no frame");
        image = Render(*window, *palette);
    });
    WriteIndexedPng(options.out, image.width, image.height, image.pixels, image.palette);
}

} // namespace

int RunQmScreen(const std::vector<std::string>& args, std::ostream&, std::ostream& err)
{
    try {
        Screen(ParseOptions(args));
        return 0;
    } catch (const std::exception& e) {
        err << "qmscreen: " << e.what() << '\n';
        return 1;
    }
}
