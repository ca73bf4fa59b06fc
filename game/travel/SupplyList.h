#pragma once
// CSupplyList: the party's goods, an ordered list of owned CItem objects. Several items of
// one type can coexist: perishable goods form separate batches, each with its own shelf life,
// while goods that keep are merged into one item.
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "engine/framework/List.h"
#include "game/travel/Item.h"

class CDoc;
class CStr;

class CSupplyList : public CList {
public:
    static constexpr int16_t kSalt = 164;
    static constexpr int16_t kSaltedMeat = 167;
    static constexpr int16_t kMeat = 116;
    static constexpr int16_t kSaltedCatch = 166;
    static constexpr int16_t kCatch = 69;
    // One unit of salt keeps this many units of meat or catch.
    static constexpr int32_t kUnitsPerSalt = 8;
    static constexpr int16_t kLastItemType = 213;
    static constexpr int32_t kLossTitleList = 600060;
    static constexpr int32_t kItemNameList = 600090;
    static constexpr int32_t kLossWindowList = 600610;
    static constexpr int32_t kLossTextElement = 6420;
    // Names a loss report lists before it ends with "etc.".
    static constexpr int kLossNames = 6;

    CSupplyList() = default;
    ~CSupplyList() override;

    // Adds the packages to the first item of the type when that one keeps, else appends a
    // new item (a fresh batch of a perishable good).
    void AddItem(int16_t type, int16_t packages, double priceFactor = 0.0);
    // Sets the first item of the type to the count (an opened package is dropped); without
    // one, appends a new item when the count is above 0.
    void SetItemCount(int16_t type, int16_t packages, double priceFactor = 0.0);
    // Takes ownership of the item and appends it.
    void AppendItem(std::unique_ptr<CItem> item);
    // Removes and deletes every item.
    void Clear();

    CItem* FindItem(int16_t type) const;
    // Takes `packages` of the type from its items in list order, an item at a time (one
    // holding fewer gives all it holds, an opened package counted as one, and is removed),
    // for at most `maxItems` items; returns the packages taken.
    int16_t TakePackages(int16_t type, int16_t packages, int32_t maxItems);
    // Packages (opened counted) of the first item of the type; 0 without one.
    int16_t CountOf(int16_t type) const;
    // Packages (opened counted) of every item of the type, at most 32767.
    int16_t GetTotal(int16_t type) const;
    bool HasTag(int16_t tag) const;
    // The items carrying the tag and, with a shelf limit other than 0, whose shelf life is at
    // most the limit (items that keep, shelf life -1, included), in list order.
    std::vector<CItem*> CollectByTag(int16_t tag, int16_t shelfLimit = 0) const;
    std::vector<CItem*> CollectByCategory(int16_t category) const;
    // Removes and deletes every item whose count (opened counted) is 0.
    void RemoveEmpty();
    int16_t GetCount() const { return static_cast<int16_t>(CList::GetCount()); }
    // Sums over the items holding something.
    int32_t GetTotalWeight() const;
    int32_t GetTotalValue() const;
    // Each item in list order (the list must not change meanwhile).
    void ForEach(const std::function<void(CItem&)>& visit) const;

    // Meat: salted while the salt lasts, one unit of salt per 8 units, the rest plain.
    void AddMeat(int32_t units);
    // The same for a catch of fish.
    void AddCatch(int32_t units);
    void AddItem76(int16_t n) { AddItem(76, n); }
    void AddItem75(int16_t n) { AddItem(75, n); }

    // A find of amount / 25 draws from the "FVT" table: a new list the caller owns.
    static std::unique_ptr<CSupplyList> MakeFind(int32_t amount);
    // Loses packages: each with a chance of percent (items with tag 48 when
    // `tagged` is set) or half of it (the others); at 100 or more all are lost. What was lost
    // is shown under entry `title` of the loss titles.
    void LoseItems(int16_t percent, int16_t title, bool tagged);
    // The text a loss shows: the title, a line feed, then the names of the lost types in type
    // order, at most six, each followed by ", ", and "etc." after the sixth.
    static std::unique_ptr<CStr> MakeLossText(int16_t title, const CSupplyList& lost);

    // Supply-list record: a 16-bit count, then each item's record.
    void Save(CDoc& doc) const;
    // Appends the saved items. A negative count, one the file cannot hold, or negative packages
    // or units set error 6; the items read before stay.
    void Load(CDoc& doc);

private:
    void AddPreserved(int32_t units, int16_t preserved, int16_t plain);
};

// How a loss is shown: by default the message window of template list 600610 runs modally
// over the top window with the text in its element 6420. Tests replace it; null restores it.
using LossReporter = std::function<void(const CStr& text)>;
void SetLossReporter(LossReporter reporter);
