#pragma once
// CItem: a quantity of one item type of the party's goods (food, animals, tools, money-like
// goods), defined by the type's "IVT" record. It is counted in full packages plus the units
// left in an opened package; a perishable item also counts down the days of its shelf life.
#include <cstdint>

class CDoc;

// The "IVT" record of an item type (36 bytes compiled).
struct ItemDef {
    static constexpr int kTagCount = 10;

    int16_t type = 0;
    int16_t unitsPerPackage = 0; // 0: not divided into units
    int32_t packageWeight = 0;
    int32_t basePrice = 0;
    int16_t shelfLife = 0; // days; -1 never spoils
    int16_t category = 0;
    int16_t tags[kTagCount] = {}; // a 0 ends the list early

    // The record of the type, all zero when it is missing.
    static ItemDef Load(int16_t type);
};

class CItem {
public:
    // Package counts saturate here: a 16-bit count never wraps negative.
    static constexpr int32_t kMaxCount = 32767;

    // Copies the type's record (nothing for type 0) and takes its shelf life; nothing opened.
    // A price factor of 0 counts as 1.
    CItem(int16_t type, int16_t packages, double priceFactor);
    virtual ~CItem() = default;

    int16_t GetType() const { return def_.type; }
    int16_t GetCategory() const { return def_.category; }
    bool IsCategory(int16_t category) const { return def_.category == category; }
    // Whether the tag is among the record's tags before the first 0.
    bool HasTag(int16_t tag) const;
    // Full packages; without fullOnly an opened package counts as one more.
    int16_t GetCount(bool fullOnly) const;
    int16_t GetPartial() const { return partial_; }
    int16_t GetUnitsPerPackage() const { return def_.unitsPerPackage; }
    int16_t GetShelfLife() const { return shelfLife_; }
    double GetPriceFactor() const { return priceFactor_; }
    const ItemDef& GetDef() const { return def_; }
    // Packages × units per package + the opened package's units (at most kMaxCount).
    int16_t GetTotalUnits() const;

    // Adds (or, with n < 0, takes) packages; the count stays within 0..kMaxCount.
    void AddPackages(int32_t n);
    // Takes n packages (none for n < 0). With fewer held, everything goes (the opened package
    // too), removed gets what there was (opened counted) and the answer is false.
    bool RemovePackages(int16_t n, int16_t* removed = nullptr);
    // Takes up to `need` units, opening packages as it goes; answers the units taken. An item
    // not divided into units gives the whole need and stays as it is.
    int16_t Consume(int16_t need);

    bool IsPerishable() const { return shelfLife_ >= 0; }
    // One day of shelf life for a perishable item; true when that used it up.
    bool AgeOneDay();

    int32_t GetPackagePrice() const;
    // Packages and the opened package's share, priced; truncated toward zero.
    int32_t GetValue() const;
    virtual int32_t GetTotalWeight() const;
    virtual int32_t GetPackageWeight() const { return def_.packageWeight; }

    // Item record: type, packages, partial, shelf life (16-bit each), price factor (double).
    void Save(CDoc& doc) const;
    // Reads the record's fields after the type (which the list reads); error 6 for negative
    // packages or units.
    void LoadFields(CDoc& doc);

private:
    // w × packages + (partial / u) × w, truncated; u is 1 for an item without units.
    int32_t Proportional(double perPackage) const;

    ItemDef def_;
    int16_t packages_ = 0;
    int16_t partial_ = 0;
    int16_t shelfLife_ = 0;
    double priceFactor_ = 0.0;
};
