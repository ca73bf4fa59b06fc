#include "tools/river/QmRiver.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <optional>
#include <ostream>
#include <stdexcept>

#include "engine/framework/Util.h"
#include "engine/graphics/Palette.h"
#include "game/action/3DView.h"
#include "tools/EngineLibrary.h"
#include "tools/PngImage.h"
#include "tools/ScreenPicture.h"
#include "tools/ToolArgs.h"
#include "tools/river/RiverRig.h"

namespace {

constexpr const char* kModelUsage = "usage: qmriver model LIBRARY... NUMBER [--scale S]";
constexpr const char* kRenderUsage =
    "usage: qmriver render LIBRARY... --records MAPS HEIGHTS SCENERY --river R "
    "[--seed N] [--steps K] [--detail L] [--palette ID] OUT.png";

[[noreturn]] void Usage(const char* usage = kModelUsage) { throw std::runtime_error(usage); }

// The picture qmriver render makes.
constexpr int16_t kRenderWidth = 640;
constexpr int16_t kRenderHeight = 400;

std::string Real(double value)
{
    char text[64];
    std::snprintf(text, sizeof(text), "%.6f", value);
    return text;
}

double ParseScale(const std::string& text)
{
    char* end = nullptr;
    const double scale = std::strtod(text.c_str(), &end);
    if (text.empty() || *end != '\0' || !std::isfinite(scale))
        throw std::runtime_error("bad scale: " + text);
    return scale;
}

void PrintModel(const C3DModel& model, std::ostream& out)
{
    out << "model " << model.vertexCount << ' ' << model.polygonCount << '\n';
    for (int16_t i = 0; i < model.vertexCount; ++i) {
        const C3DPoint& v = model.model[i];
        out << "vertex " << Real(v.x) << ' ' << Real(v.y) << ' ' << Real(v.z) << '\n';
    }
    for (int16_t i = 0; i < model.polygonCount; ++i) {
        const C3DPolygon& p = model.polygons[i];
        out << "polygon " << p.vertexCount << ' ' << p.colour << ' ' << p.flags;
        for (int16_t k = 0; k < p.vertexCount; ++k)
            out << ' ' << p.indices[k];
        out << ' ' << Real(p.normalLength) << '\n';
    }
    out << "radius " << Real(model.radius) << '\n';
}

int Model(const std::vector<std::string>& args, std::ostream& out)
{
    std::vector<std::string> positional;
    double scale = 1;
    for (size_t i = 1; i < args.size(); ++i) {
        if (args[i] == "--scale") {
            if (i + 1 >= args.size())
                Usage();
            scale = ParseScale(args[++i]);
        } else {
            positional.push_back(args[i]);
        }
    }
    if (positional.size() < 2)
        Usage();
    const std::string number = positional.back();
    const auto id = static_cast<int32_t>(ParseNumber(number, INT32_MIN, INT32_MAX, "number"));
    positional.pop_back();
    EngineLibrary library(positional);
    std::unique_ptr<C3DModel> model;
    std::string error;
    library.Run([&] {
        C3DView view(nullptr);
        model = LoadModelById(view, id, scale, &error);
    });
    if (!model)
        throw std::runtime_error(number + ": " + error);
    PrintModel(*model, out);
    return 0;
}

struct RenderOptions {
    std::vector<std::string> libraries;
    std::string out;
    std::optional<RiverRecords> records;
    std::optional<int16_t> river;
    uint32_t seed = 1;
    int32_t steps = 1;
    std::optional<int16_t> detail;
    std::optional<int32_t> palette;
};

int32_t NumberOption(const std::vector<std::string>& args, size_t& i, int64_t lo, int64_t hi,
                     const char* what)
{
    if (i + 1 >= args.size())
        Usage(kRenderUsage);
    return static_cast<int32_t>(ParseNumber(args[++i], lo, hi, what));
}

RenderOptions ParseRender(const std::vector<std::string>& args)
{
    RenderOptions o;
    std::vector<std::string> positional;
    for (size_t i = 1; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a == "--records") {
            RiverRecords r;
            r.maps = NumberOption(args, i, INT32_MIN, INT32_MAX, "record");
            r.heights = NumberOption(args, i, INT32_MIN, INT32_MAX, "record");
            r.scenery = NumberOption(args, i, INT32_MIN, INT32_MAX, "record");
            o.records = r;
        } else if (a == "--river") {
            o.river = static_cast<int16_t>(NumberOption(args, i, 0, INT16_MAX, "river"));
        } else if (a == "--seed") {
            o.seed = static_cast<uint32_t>(NumberOption(args, i, 0, INT32_MAX, "seed"));
        } else if (a == "--steps") {
            o.steps = NumberOption(args, i, 1, 100000, "steps");
        } else if (a == "--detail") {
            o.detail = static_cast<int16_t>(NumberOption(args, i, 0, C3DScene::kMaxDetail, "detail"));
        } else if (a == "--palette") {
            o.palette = NumberOption(args, i, INT32_MIN, INT32_MAX, "palette");
        } else {
            positional.push_back(a);
        }
    }
    if (positional.size() < 2 || !o.records || !o.river)
        Usage(kRenderUsage);
    o.out = positional.back();
    positional.pop_back();
    o.libraries = positional;
    return o;
}

int Render(const std::vector<std::string>& args)
{
    const RenderOptions o = ParseRender(args);
    EngineLibrary library(o.libraries);
    std::vector<uint8_t> pixels;
    std::vector<PngColor> colours;
    library.Run([&] {
        colours = PaletteColours(*LoadScreenPalette(o.palette));
        RiverRig rig(kRenderWidth, kRenderHeight, *o.records);
        // The terrain's jitter and the scene's other draws come from the seeded generator.
        CUtil::SetRandomSeed(o.seed);
        C3DScene& scene = rig.Scene();
        scene.SetUp(*o.river, false);
        if (o.detail)
            scene.SetDetailLevel(*o.detail);
        for (int32_t k = 0; k < o.steps; ++k) {
            if (scene.Step() == C3DScene::kFailed && k == 0)
                throw std::runtime_error("river " + std::to_string(*o.river) +
                                         ": the scene could not be set up (no map or height picture)");
        }
        pixels = rig.Pixels();
    });
    WriteIndexedPng(o.out, kRenderWidth, kRenderHeight, pixels, colours);
    return 0;
}

} // namespace

int RunQmRiver(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    try {
        const std::string command = args.empty() ? "" : args[0];
        if (command == "model")
            return Model(args, out);
        if (command == "render")
            return Render(args);
        if (command.empty())
            Usage();
        throw std::runtime_error("unknown command: " + command);
    } catch (const std::exception& e) {
        err << "qmriver: " << e.what() << '\n';
    }
    return 1;
}
