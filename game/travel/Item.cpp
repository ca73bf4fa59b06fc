#include "game/travel/Item.h"

#include <algorithm>

#include "engine/framework/Doc.h"
#include "game/travel/GameRecord.h"

namespace {

int16_t Saturate(int32_t n)
{
    return static_cast<int16_t>(std::clamp<int32_t>(n, -CItem::kMaxCount, CItem::kMaxCount));
}

// Truncation toward zero; a value outside 32 bits (a damaged price factor) is cut to the
// range, and one that is no number counts as 0.
int32_t Truncate(double v)
{
    if (!(v == v))
        return 0;
    return static_cast<int32_t>(std::clamp(v, -2147483648.0, 2147483647.0));
}

} // namespace

ItemDef ItemDef::Load(int16_t type)
{
    const CGameRecord rec("IVT", type);
    ItemDef def;
    def.type = rec.Short(0);
    def.unitsPerPackage = rec.Short(2);
    def.packageWeight = rec.Long(4);
    def.basePrice = rec.Long(8);
    def.shelfLife = rec.Short(12);
    def.category = rec.Short(14);
    for (int i = 0; i < kTagCount; ++i)
        def.tags[i] = rec.Short(16 + 2 * i);
    return def;
}

CItem::CItem(int16_t type, int16_t packages, double priceFactor) : priceFactor_(priceFactor)
{
    if (type != 0)
        def_ = ItemDef::Load(type);
    // The record's own type field is what the item answers; a missing record still keeps the
    // type it was asked for, so that it can be counted, saved and taken again.
    def_.type = type;
    shelfLife_ = def_.shelfLife;
    AddPackages(packages);
}

bool CItem::HasTag(int16_t tag) const
{
    for (int16_t t : def_.tags) {
        if (t == 0)
            return false;
        if (t == tag)
            return true;
    }
    return false;
}

int16_t CItem::GetCount(bool fullOnly) const
{
    return Saturate(packages_ + (!fullOnly && partial_ > 0 ? 1 : 0));
}

int16_t CItem::GetTotalUnits() const
{
    return Saturate(static_cast<int32_t>(packages_) * def_.unitsPerPackage + partial_);
}

void CItem::AddPackages(int32_t n)
{
    packages_ = static_cast<int16_t>(std::clamp<int32_t>(packages_ + n, 0, kMaxCount));
}

bool CItem::RemovePackages(int16_t n, int16_t* removed)
{
    // Taking a negative number would add packages out of nothing.
    if (n < 0)
        n = 0;
    if (packages_ < n) {
        if (removed)
            *removed = GetCount(false);
        packages_ = 0;
        partial_ = 0;
        return false;
    }
    packages_ = static_cast<int16_t>(packages_ - n);
    if (removed)
        *removed = n;
    return true;
}

int16_t CItem::Consume(int16_t need)
{
    const int16_t u = def_.unitsPerPackage;
    // A damaged record's negative units count as an item not divided into units.
    if (u <= 0)
        return need;
    if (need <= 0)
        return 0;
    int32_t n = need;
    auto open = [&] {
        partial_ = u;
        --packages_;
    };
    if (partial_ == 0 && packages_ > 0)
        open();
    while (partial_ < n && packages_ > 0) {
        n -= partial_;
        open();
    }
    if (partial_ < n) {
        n -= partial_;
        partial_ = 0;
    } else {
        partial_ = static_cast<int16_t>(partial_ - n);
        n = 0;
    }
    return static_cast<int16_t>(need - n);
}

bool CItem::AgeOneDay()
{
    if (!IsPerishable())
        return false;
    --shelfLife_;
    return shelfLife_ == 0;
}

int32_t CItem::GetPackagePrice() const
{
    const double factor = priceFactor_ == 0.0 ? 1.0 : priceFactor_;
    return Truncate(def_.basePrice * factor);
}

int32_t CItem::Proportional(double perPackage) const
{
    const double u = def_.unitsPerPackage == 0 ? 1.0 : def_.unitsPerPackage;
    return Truncate(perPackage * packages_ + (partial_ / u) * perPackage);
}

int32_t CItem::GetValue() const { return Proportional(GetPackagePrice()); }

int32_t CItem::GetTotalWeight() const { return Proportional(GetPackageWeight()); }

void CItem::Save(CDoc& doc) const
{
    doc.WriteShort(def_.type).WriteShort(packages_).WriteShort(partial_).WriteShort(shelfLife_);
    doc.WriteDouble(priceFactor_);
}

void CItem::LoadFields(CDoc& doc)
{
    doc.ReadShort(packages_).ReadShort(partial_).ReadShort(shelfLife_).ReadDouble(priceFactor_);
    if (doc.GetError() == CDoc::kOk && (packages_ < 0 || partial_ < 0))
        doc.SetError(CDoc::kStreamFailure);
}
