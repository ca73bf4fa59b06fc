// Reads arbitrary bytes as a market's records: as the definition text of a stock record
// ("STO") priced by a fixed price record, and as price record 1 ("PRC") under a fixed stock
// record. Each market is made with a few line limits and price columns, its chance and
// quantity draws taken from a generator seeded by the input's size (so a run replays), then
// every line is read and taken from until the market is empty.
// Run: fuzz_MarketFuzz fuzz/corpus/MarketFuzz
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>

#include "engine/framework/Util.h"
#include "engine/resources/FoldLib.h"
#include "engine/resources/LibMgr.h"
#include "fuzz/support/FuzzSupport.h"
#include "game/travel/Market.h"
#include "platform/Files.h"

namespace {

constexpr int16_t kInputStock = 7;
constexpr int16_t kFixedStock = 8;

std::filesystem::path RecordPath(const std::filesystem::path& root, const char* type, int id)
{
    char name[16];
    std::snprintf(name, sizeof name, "%06d.%s", id, type);
    return root / "data" / type / name;
}

void Write(const std::filesystem::path& path, const std::string& text)
{
    std::ofstream(path, std::ios::binary) << text;
}

const std::filesystem::path& Folder()
{
    static const std::filesystem::path folder = [] {
        const std::filesystem::path path = fuzz::MakeTempFolder("qm-marketfuzz");
        for (const char* type : {"STO", "PRC"})
            std::filesystem::create_directories(path / "data" / type);
        Write(RecordPath(path, "STO", 0),
              "sizelist 205 short short short short short short short short short "
              "short short short endlist\n");
        Write(RecordPath(path, "PRC", 0), "sizelist 213 short short endlist\n");
        Write(RecordPath(path, "STO", kFixedStock), "35, -4, 0, 100, 0, 0, 0, 0, 0, 0, 0, 0,\n"
                                                    "5, 2, 9, 100, 0, 10, 20, 30, 40, 50, 60, 70,\n"
                                                    "213, 1, 1, 50, 0, 5, 0, 0, 0, 0, 0, 0,\n");
        plat::SetDrives({{'C', path, plat::DriveKind::Fixed}});
        GetLibMgr()->AddLibrary(std::make_unique<CFoldLib>("C:\\data"));
        return path;
    }();
    return folder;
}

void UseUp(CMarket& market)
{
    market.GetStockValue();
    for (int16_t i = -1; i <= market.GetItemCount(); ++i) {
        market.GetItemId(i);
        market.GetPrice(i);
        market.GetCategory(i);
    }
    while (market.GetItemCount() > 0)
        market.TakeFromLine(0, market.GetQuantity(0) > 0 ? market.GetQuantity(0) : 1);
}

void MakeMarkets(int16_t stockId)
{
    const int16_t limits[] = {0, 3, 214, -1};
    const int16_t columns[] = {1, 7, 9, -1};
    for (int16_t limit : limits)
        for (int16_t column : columns) {
            CMarket market(stockId, column, limit, 5);
            UseUp(market);
        }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string text(reinterpret_cast<const char*>(data), size);
    CUtil::SetRandomSeed(static_cast<uint32_t>(size));
    const std::filesystem::path& folder = Folder();
    // The input as the stock record, priced by an empty price record.
    Write(RecordPath(folder, "PRC", CMarket::kPriceRecord), "");
    Write(RecordPath(folder, "STO", kInputStock), text);
    fuzz::Guarded([] { MakeMarkets(kInputStock); });
    // The input as the price record of a fixed stock.
    Write(RecordPath(folder, "PRC", CMarket::kPriceRecord), text);
    fuzz::Guarded([] { MakeMarkets(kFixedStock); });
    return 0;
}
