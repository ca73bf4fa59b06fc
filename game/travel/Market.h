#pragma once
// CMarket: the stock of one store or trader, a list of goods lines (item type, quantity, unit
// price in dollars, store category) drawn once when the market is made from a stock record
// ("STO") and price record 1 ("PRC"). Purchases and trades take goods out of it line by line.
//
// Stocking: the entries of the stock record up to its first item type 0 (or the line limit),
// in record order. Each entry is stocked when one draw of CUtil::Random(0, 99) falls below its
// chance; an entry that fails is skipped, so an entry of chance 0 or less is never stocked and
// the lines stay packed in record order. A stocked entry's quantity is the people factor times
// k for a minimum of -k (k per person; no draw), else a draw between its minimum (at most 800)
// and its maximum (at most 900), which is the minimum without a draw when the maximum lies
// below it. The draws of one entry are its chance, then its quantity.
//
// Record layouts (signed 16-bit words):
//   "STO" id: up to 205 entries of 12 words: item type (1..213, 0 ends the list), minimum,
//             maximum, chance in percent, markups in percent for price columns 0..7.
//   "PRC" 1:  213 entries of 2 words, entry k - 1 for item type k: base price in cents,
//             store category.
// A missing stock record stocks nothing; a missing price record gives prices and categories 0.
// An entry naming an item type outside 1..213 is skipped without a draw, since the price table
// has nothing for it.
#include <array>
#include <cstdint>

class CGameRecord;

class CMarket {
public:
    static constexpr int16_t kStockEntries = 205;
    static constexpr int16_t kItemTypes = 213;
    static constexpr int16_t kPriceColumns = 8;
    static constexpr int16_t kMaxMinimum = 800;
    static constexpr int16_t kMaxQuantity = 900;
    static constexpr int32_t kPriceRecord = 1;
    // The sizes of a stock entry and of a price entry.
    static constexpr int32_t kStockEntryBytes = 24;
    static constexpr int32_t kPriceEntryBytes = 4;

    // A market of stock record `stockId` priced by markup column `priceColumn` (taken into
    // 0..7), at most `lineLimit` lines (0 or above 205: 205), with `peopleFactor` people for
    // the per-person quantities (their product held within 16 bits).
    CMarket(int16_t stockId, int16_t priceColumn, int16_t lineLimit, int16_t peopleFactor);
    // The same priced from `prices`, price record 1 loaded once for several markets.
    CMarket(int16_t stockId, const CGameRecord& prices, int16_t priceColumn, int16_t lineLimit,
            int16_t peopleFactor);

    int16_t GetItemCount() const { return count_; }
    // The low 16 bits of line i's item type (0 for a line that does not exist; likewise the
    // other getters).
    int16_t GetItemId(int16_t i) const;
    int16_t GetQuantity(int16_t i) const;
    double GetPrice(int16_t i) const;
    int16_t GetCategory(int16_t i) const;
    // The sum of price x quantity over the lines, plus half a cent.
    double GetStockValue() const;
    // Takes `amount` from line i; a line left below 1 is removed (the later lines move up)
    // and the answer is 1, else 0. A line that does not exist answers 0.
    int16_t TakeFromLine(int16_t i, int16_t amount);
    // Goods given to the market: the line of the item type gains the quantity (saturating
    // rather than wrapping), or a new line of it at that unit price is appended when there is room.
    void AddGoods(int16_t itemType, int16_t quantity, double price);

private:
    struct Line {
        int32_t itemType = 0;
        int16_t quantity = 0;
        double price = 0.0;
        int16_t category = 0;
    };

    bool Valid(int16_t i) const { return i >= 0 && i < count_; }

    std::array<Line, kItemTypes> lines_ = {};
    int16_t count_ = 0;
};
