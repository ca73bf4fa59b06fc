// Reads arbitrary bytes as the route's data: as a saved weather record (loaded, then forty
// days drawn on from it and every query asked), and as the definition text of a route node, a
// river crossing (also on a day whose weather, month and party the input's first bytes give),
// a route event and a climate table, each then built as the game builds it.
// Run: fuzz_RouteDataFuzz fuzz/corpus/RouteDataFuzz
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "engine/framework/Date.h"
#include "engine/framework/Doc.h"
#include "engine/framework/Util.h"
#include "engine/resources/FoldLib.h"
#include "engine/resources/LibMgr.h"
#include "fuzz/support/FuzzSupport.h"
#include "game/travel/RiverData.h"
#include "game/travel/RouteEvent.h"
#include "game/travel/RouteNode.h"
#include "game/travel/Weather.h"
#include "platform/Files.h"

namespace {

// The record types and the formats of the game data (the same layouts, one list each).
constexpr std::pair<const char*, const char*> kFormats[] = {
    {"NOD", "sizelist 103 short endlist"},
    {"RVR", "sizelist 39 short endlist"},
    {"EVT", "sizelist 144 short endlist"},
    {"WTH", "sizelist 60 short endlist"},
};
// Record 7 of each type is the input; climate table 8 a fixed one for the loaded weather.
constexpr int16_t kInputId = 7;
constexpr int16_t kClimate = 8;

std::filesystem::path TypeFolder(const std::filesystem::path& root, const char* type)
{
    return root / "data" / type;
}

std::string FileName(const char* type, int id)
{
    char name[16];
    std::snprintf(name, sizeof name, "%06d.%s", id, type);
    return name;
}

const std::filesystem::path& Folder()
{
    static const std::filesystem::path folder = [] {
        const std::filesystem::path path = fuzz::MakeTempFolder("qm-routefuzz");
        for (const auto& [type, format] : kFormats) {
            std::filesystem::create_directories(TypeFolder(path, type));
            std::ofstream(TypeFolder(path, type) / FileName(type, 0)) << format << "\n";
        }
        std::ofstream(TypeFolder(path, "WTH") / FileName("WTH", kClimate))
            << "40, 20, -10, 20, 80, 50, 30, 0, 25, 100, 60, 40, 10, 30, 200, 75, 55, 30, 35, 350, "
               "85, 65, 40, 40, 450, 95, 75, 50, 35, 400, 100, 80, 55, 30, 350, 98, 77, 52, 28, 300, "
               "90, 68, 40, 25, 250, 80, 55, 30, 22, 200, 60, 40, 10, 20, 120, 45, 25, -5, 20, 80\n";
        plat::SetDrives({{'C', path, plat::DriveKind::Fixed}});
        GetLibMgr()->AddLibrary(std::make_unique<CFoldLib>("C:\\data"));
        return path;
    }();
    return folder;
}

void AskEverything(const CWeather& weather)
{
    int16_t kind = 0;
    for (int16_t n = -1; n <= CWeather::kHistoryDays; ++n) {
        weather.GetHigh(n);
        weather.GetLow(n);
        weather.GetMeanTemp(n);
        weather.GetDayPrecip(kind, n);
        weather.GetPrecipSum(n);
    }
    weather.CountFreezingDays();
    weather.GetSnowDepth();
}

void LoadWeather(const uint8_t* data, size_t size)
{
    const fuzz::InputFile file(Folder() / "weather.rec", data, size);
    CDoc doc(nullptr, nullptr, "weather", std::make_unique<CFileSpec>("C:\\weather.rec"));
    if (doc.OpenForLoad() != CDoc::kOk)
        return;
    CDate day(1848, 4, 1);
    CWeather weather(kClimate, day);
    weather.Load(doc);
    for (int i = 0; i < 40; ++i, day += 1)
        weather.NewDay(day);
    AskEverything(weather);
}

// The day at a crossing from the input's first bytes (the weather, the month and the party in
// turn, as wide as the conditions take them; zeros past the end).
CrossingConditions Conditions(const uint8_t* data, size_t size)
{
    size_t at = 0;
    const auto next = [&]() -> int32_t {
        uint32_t word = 0;
        for (int i = 0; i < 4; ++i)
            word = word << 8 | (at < size ? data[at++] : 0u);
        return static_cast<int32_t>(word);
    };
    CrossingConditions c;
    c.wet = next();
    c.month = static_cast<int16_t>(next());
    c.snowDepth = static_cast<int16_t>(next());
    c.freezingDays = static_cast<int16_t>(next());
    c.hasParty = (next() & 1) != 0;
    c.animals = next();
    c.members = next();
    return c;
}

void BuildRecords(const uint8_t* data, size_t size)
{
    const std::string text(reinterpret_cast<const char*>(data), size);
    for (const auto& [type, format] : kFormats)
        std::ofstream(TypeFolder(Folder(), type) / FileName(type, kInputId), std::ios::binary) << text;
    CRouteNode node(kInputId);
    for (int16_t i = -1; i <= CRouteNode::kFaunaCount; ++i)
        node.GetFauna(i);
    CRouteEvent event(kInputId, 0, 0, nullptr);
    for (int i = -2; i <= CRouteEvent::kChoiceCount; ++i)
        event.GetTextNumber(i);
    CRiverData river(kInputId);
    CRiverData day(kInputId, Conditions(data, size));
    CWeather weather(kInputId, CDate(1850, 6, 1));
    weather.NewDay(CDate(1850, 6, 1));
    AskEverything(weather);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    CUtil::SetRandomSeed(1);
    fuzz::Guarded([&] { LoadWeather(data, size); });
    fuzz::Guarded([&] { BuildRecords(data, size); });
    return 0;
}
