// Reads arbitrary route map texts: the bytes up to the first 0 byte are the map's lines
// ("STR" 810, one line per entry, split at line feeds), the rest the lines of the hotspot list
// every sequence names. Each sprite counts (id mod 16) frames. The map then follows nodes
// made of the input's bytes, picks entries and works out frames, as the screens drive it.
// Run: fuzz_RouteMapFuzz fuzz/corpus/RouteMapFuzz
#include <algorithm>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "engine/framework/Str.h"
#include "engine/framework/TplRec.h"
#include "fuzz/support/FuzzSupport.h"
#include "game/travel/RouteObj.h"

namespace {

std::unique_ptr<CTplRec> SplitLines(std::string_view text)
{
    auto lines = std::make_unique<CTplRec>();
    size_t start = 0;
    while (start <= text.size()) {
        const size_t end = std::min(text.find('\n', start), text.size());
        const std::string line(text.substr(start, end - start));
        lines->Add(std::make_unique<CStr>(line.c_str()));
        start = end + 1;
    }
    return lines;
}

int16_t Word(std::string_view bytes, size_t i)
{
    if (bytes.empty())
        return 0;
    const auto hi = static_cast<uint8_t>(bytes[i % bytes.size()]);
    const auto lo = static_cast<uint8_t>(bytes[(i + 1) % bytes.size()]);
    return static_cast<int16_t>(static_cast<uint16_t>(hi << 8 | lo));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    fuzz::CatchFatalReports();
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    const size_t split = input.find('\0');
    const std::unique_ptr<CTplRec> map = SplitLines(input.substr(0, split));
    const std::string_view hotspotText =
        split == std::string_view::npos ? std::string_view() : input.substr(split + 1);
    const std::unique_ptr<CTplRec> hotspots = SplitLines(hotspotText);

    CRouteObj route(nullptr);
    route.LoadSequences(
        *map, [&](int32_t) { return std::make_unique<CTplRec>(*hotspots); },
        [](int32_t sprite) { return static_cast<int16_t>(static_cast<uint32_t>(sprite) % 16); });
    const auto seqCount = static_cast<int16_t>(route.GetSequences().size());
    for (size_t i = 0; i < 8; ++i) {
        RouteNodeMapInfo node{Word(input, i), Word(input, i + 2), Word(input, i + 4), Word(input, i + 6),
                              Word(input, i + 8)};
        route.UpdateFromNode(&node);
        route.SelectSequence(static_cast<int16_t>(seqCount > 0 ? i % static_cast<size_t>(seqCount) : -1),
                             static_cast<int16_t>(Word(input, i + 3) % 40));
        route.SelectSequence(-1, static_cast<int16_t>(i * 5));
        route.AddProgress(Word(input, i + 5));
        route.UpdateFrame();
        route.NextFrame();
        route.Step();
    }
    return 0;
}
