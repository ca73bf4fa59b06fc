#pragma once
// Markets that hold exactly the lines a test states, made without a stock record.
#include <cstdint>
#include <memory>
#include <ostream>
#include <vector>

#include "game/travel/Market.h"

namespace storetest {

struct Line {
    int16_t type;
    int16_t quantity;
    double price;
    bool operator==(const Line&) const = default;
};

inline void PrintTo(const Line& line, std::ostream* out)
{
    *out << "{" << line.type << ", " << line.quantity << ", " << line.price << "}";
}

// A market of the lines in order (stock record 0 is none, so it starts empty).
inline std::unique_ptr<CMarket> MarketOf(const std::vector<Line>& lines)
{
    auto market = std::make_unique<CMarket>(0, 1, 0, 5);
    for (const Line& line : lines)
        market->AddGoods(line.type, line.quantity, line.price);
    return market;
}

inline std::vector<Line> LinesOf(const CMarket& market)
{
    std::vector<Line> lines;
    for (int16_t i = 0; i < market.GetItemCount(); ++i)
        lines.push_back({market.GetItemId(i), market.GetQuantity(i), market.GetPrice(i)});
    return lines;
}

} // namespace storetest
