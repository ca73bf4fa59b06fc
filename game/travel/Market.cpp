#include "game/travel/Market.h"

#include <algorithm>
#include <string>

#include "engine/framework/Diag.h"
#include "game/travel/GameRecord.h"

namespace {

// Offsets in a stock entry.
constexpr int32_t kItemTypeAt = 0;
constexpr int32_t kMinimumAt = 2;
constexpr int32_t kMaximumAt = 4;
constexpr int32_t kMarkupsAt = 8;
// Offsets in a price entry.
constexpr int32_t kBasePriceAt = 0;
constexpr int32_t kCategoryAt = 2;
// The largest minimum a draw between minimum and maximum could start from.
constexpr int32_t kMaxMinimum = 800;

void ReportBadItemType(int16_t stockId, int16_t entry, int32_t type)
{
    const std::string text = "Stock record " + std::to_string(stockId) + ", entry " + std::to_string(entry) +
                             ": item type " + std::to_string(type) + " is not one of 1 to " +
                             std::to_string(CMarket::kItemTypes);
    ReportError(kReportFatal, text.c_str(), "market", static_cast<uint32_t>(entry));
}

// Without a chance draw an entry stocks the most it could: k per person for a minimum of -k,
// else its maximum (never below what a draw from the minimum would give, never below 0).
int16_t StockedQuantity(int32_t minimum, int32_t maximum, int32_t peopleFactor)
{
    int32_t quantity;
    if (minimum < 0)
        quantity = -minimum * std::max(peopleFactor, 0);
    else
        quantity =
            std::max(std::min(maximum, int32_t{CMarket::kMaxQuantity}), std::min(minimum, kMaxMinimum));
    return static_cast<int16_t>(std::clamp(quantity, 0, int32_t{CMarket::kMaxQuantity}));
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
    const CGameRecord stock("STO", stockId);
    const bool columnValid = priceColumn >= 0 && priceColumn < kPriceColumns;
    for (int16_t i = 0; i < limit; ++i) {
        const int32_t entry = i * kStockEntryBytes;
        const int16_t type = stock.Short(entry + kItemTypeAt);
        if (type == 0)
            break;
        if (type < 1 || type > kItemTypes) {
            ReportBadItemType(stockId, i, type);
            break;
        }
        const int32_t priceEntry = (type - 1) * kPriceEntryBytes;
        const int16_t markup = columnValid ? stock.Short(entry + kMarkupsAt + 2 * priceColumn) : 0;
        Line& line = lines_[static_cast<size_t>(i)];
        line.itemType = type;
        line.quantity =
            StockedQuantity(stock.Short(entry + kMinimumAt), stock.Short(entry + kMaximumAt), peopleFactor);
        line.price = prices.Short(priceEntry + kBasePriceAt) * ((markup + 100) / 100.0) / 100.0;
        line.category = prices.Short(priceEntry + kCategoryAt);
        count_ = static_cast<int16_t>(i + 1);
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
