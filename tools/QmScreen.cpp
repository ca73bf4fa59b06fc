#include "tools/QmScreen.h"

#include <climits>
#include <memory>
#include <optional>
#include <ostream>
#include <stdexcept>

#include "engine/controls/TplList.h"
#include "engine/controls/Wind.h"
#include "engine/controls/WndProc.h"
#include "engine/controls/kinds/TemplateKinds.h"
#include "engine/graphics/DrawEnv.h"
#include "engine/graphics/Palette.h"
#include "engine/resources/Registrar.h"
#include "engine/resources/RsrcCache.h"
#include "platform/Platform.h"
#include "tools/EngineLibrary.h"
#include "tools/PngImage.h"
#include "tools/ScreenPicture.h"
#include "tools/ToolArgs.h"
#include "tools/ToolMessages.h"

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

// Puts the engine back as the tool found it.
struct EngineScope {
    explicit EngineScope(RegisterKinds registerKinds)
    {
        plat::SetBackend(plat::Backend::Null);
        RegisterEngineClasses();
        registerKinds();
    }
    ~EngineScope()
    {
        CDrawEnv::DeleteFonts();
        CRegistrar::Clear();
    }
    EngineScope(const EngineScope&) = delete;
    EngineScope& operator=(const EngineScope&) = delete;
};

void Screen(const Options& options, RegisterKinds registerKinds)
{
    EngineLibrary library(options.libraries);
    EngineScope engine(registerKinds);
    IndexedImage image;
    library.Run([&] {
        InitScreenFonts();
        std::unique_ptr<CPalette> palette = LoadScreenPalette(options.palette);
        CRsrcCache cache(kCacheSize);
        CTplList list(options.tpl, kEveryLibrary, &cache);
        std::unique_ptr<CWind> window = ShowingWindow(list.Build(nullptr, nullptr, 0));
        if (!window)
            throw std::runtime_error("template list " + std::to_string(options.tpl) + " builds no frame");
        ShowScreen(*window, *palette);
        image = TakeScreen(*window, *palette);
    });
    WriteIndexedPng(options.out, image.width, image.height, image.pixels, image.palette);
}

} // namespace

int RunQmScreen(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    return RunQmScreenWithKinds(&RegisterAllTemplateKinds, args, out, err);
}

int RunQmScreenWithKinds(RegisterKinds registerKinds, const std::vector<std::string>& args, std::ostream&,
                         std::ostream& err)
{
    try {
        Screen(ParseOptions(args), registerKinds);
        return 0;
    } catch (const std::exception& e) {
        WriteToolError(err, "qmscreen", e.what());
        return 1;
    }
}
