#include "game/travel/Market.h"

#include <algorithm>

#include "engine/framework/Util.h"
#include "game/travel/GameRecord.h"

namespace {

// Offsets in a stock entry.
constexpr int32_t kItemTypeAt = 0;
constexpr int32_t kMinimumAt = 2;
constexpr int32_t kMaximumAt = 4;
constexpr int32_t kChanceAt = 6;
constexpr int32_t kMarkupsAt = 8;
// Offsets in a price entry.
constexpr int32_t kBasePriceAt = 0;
constexpr int32_t kCategoryAt = 2;

// An entry's quantity: k per person for a minimum of -k, else a draw between the capped
// minimum and maximum (the minimum, without a draw, when the maximum lies below it).
int16_t DrawQuantity(int32_t minimum, int32_t maximum, int32_t peopleFactor)
{
    if (minimum < 0) {
        const int32_t perPerson = -minimum * peopleFactor;
        return static_cast<int16_t>(std::clamp(perPerson, int32_t{INT16_MIN}, int32_t{INT16_MAX}));
    }
    return static_cast<int16_t>(CUtil::Random(std::min(minimum, int32_t{CMarket::kMaxMinimum}),
                                              std::min(maximum, int32_t{CMarket::kMaxQuantity}), 1));
}

} // namespace

CMarket::CMarket(int16_t stockId, int16_t priceColumn, int16_t lineLimit, int16_t peopleFactor)
    : CMarket(stockId, CGameRecord("PRC", kPriceRecord), priceColumn, lineLimit, peopleFactor)
{
}

CMarket::CMarket(int16_t stockId, const CGameRecord& prices, int16_t priceColumn, int16_t lineLimit,
                 int16_t peopleFactor)
{
    const int32_t limit = lineLimit == 0 || lineLimit > kStockEntries ? kStockEntries : lineLimit;
    const int32_t column = std::clamp(int32_t{priceColumn}, 0, kPriceColumns - 1);
    const CGameRecord stock("STO", stockId);
    for (int32_t i = 0; i < limit; ++i) {
        const int32_t entry = i * kStockEntryBytes;
        const int16_t type = stock.Short(entry + kItemTypeAt);
        if (type == 0)
            break;
        if (type < 1 || type > kItemTypes)
            continue;
        if (CUtil::Random(0, 99, 1) >= stock.Short(entry + kChanceAt))
            continue;
        const int32_t priceEntry = (type - 1) * kPriceEntryBytes;
        const int16_t markup = stock.Short(entry + kMarkupsAt + 2 * column);
        Line& line = lines_[static_cast<size_t>(count_++)];
        line.itemType = type;
        line.quantity =
            DrawQuantity(stock.Short(entry + kMinimumAt), stock.Short(entry + kMaximumAt), peopleFactor);
        line.price = prices.Short(priceEntry + kBasePriceAt) * ((markup + 100) / 100.0) / 100.0;
        line.category = prices.Short(priceEntry + kCategoryAt);
    }
}

int16_t CMarket::GetItemId(int16_t i) const
{
    return Valid(i) ? static_cast<int16_t>(lines_[static_cast<size_t>(i)].itemType) : 0;
}

int16_t CMarket::GetQuantity(int16_t i) const
{
    return Valid(i) ? lines_[static_cast<size_t>(i)].quantity : 0;
}

double CMarket::GetPrice(int16_t i) const { return Valid(i) ? lines_[static_cast<size_t>(i)].price : 0.0; }

int16_t CMarket::GetCategory(int16_t i) const
{
    return Valid(i) ? lines_[static_cast<size_t>(i)].category : 0;
}

double CMarket::GetStockValue() const
{
    double value = 0.0;
    for (int16_t i = 0; i < count_; ++i)
        value += lines_[static_cast<size_t>(i)].price * lines_[static_cast<size_t>(i)].quantity;
    return value + 0.005;
}

int16_t CMarket::TakeFromLine(int16_t i, int16_t amount)
{
    if (!Valid(i))
        return 0;
    const auto at = static_cast<size_t>(i);
    lines_[at].quantity = static_cast<int16_t>(lines_[at].quantity - amount);
    if (lines_[at].quantity >= 1)
        return 0;
    std::move(lines_.begin() + static_cast<std::ptrdiff_t>(at) + 1, lines_.begin() + count_,
              lines_.begin() + static_cast<std::ptrdiff_t>(at));
    lines_[static_cast<size_t>(count_ - 1)] = Line{};
    --count_;
    return 1;
}

void CMarket::AddGoods(int16_t itemType, int16_t quantity, double price)
{
    if (quantity <= 0)
        return;
    for (int16_t i = 0; i < count_; ++i) {
        Line& line = lines_[static_cast<size_t>(i)];
        if (line.itemType == itemType) {
            line.quantity = static_cast<int16_t>(std::min<int32_t>(line.quantity + quantity, INT16_MAX));
            return;
        }
    }
    if (count_ >= kItemTypes)
        return;
    Line& added = lines_[static_cast<size_t>(count_++)];
    added.itemType = itemType;
    added.quantity = quantity;
    added.price = price;
}
