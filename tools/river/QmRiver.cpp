#include "tools/river/QmRiver.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <ostream>
#include <stdexcept>

#include "game/action/3DView.h"
#include "tools/EngineLibrary.h"
#include "tools/ToolArgs.h"

namespace {

[[noreturn]] void Usage() { throw std::runtime_error("usage: qmriver model LIBRARY... NUMBER [--scale S]"); }

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

} // namespace

int RunQmRiver(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    try {
        const std::string command = args.empty() ? "" : args[0];
        if (command == "model")
            return Model(args, out);
        if (command.empty())
            Usage();
        throw std::runtime_error("unknown command: " + command);
    } catch (const std::exception& e) {
        err << "qmriver: " << e.what() << '\n';
    }
    return 1;
}
