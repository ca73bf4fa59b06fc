#pragma once
// The landmark module's store (slot 9), as the store window sees it: the store's market, the
// three ready-made outfits, the cart the player fills and the purchase that buys it. The store
// window takes the module from its slot and casts it to this interface (CModuleMgr::GetModuleAs).
#include <cstdint>

class CMarket;
class CParty;

class CStoreLink {
public:
    static constexpr int16_t kOutfitCount = 3;

    // The store's stock; null at a landmark without a store.
    virtual CMarket* GetMarket() const = 0;
    // Outfit i (0..2) and its value (the stock value kept when the store was made); null and
    // 0 for an outfit the store lacks.
    virtual CMarket* GetOutfitMarket(int16_t i) const = 0;
    virtual double GetOutfitValue(int16_t i) const = 0;
    // Empties the cart (a new one replaces the old).
    virtual void NewCart() = 0;
    // The cart's count of an item type, set as CSupplyList::SetItemCount sets it.
    virtual void SetCartCount(int16_t type, int16_t count, double priceFactor) = 0;
    // The cart's total of an item type (0 without a cart).
    virtual int16_t GetCartCount(int16_t type) const = 0;
    // Buys what the cart holds from the market, line by line, as far as the party's money goes.
    virtual void Purchase(CParty& party) = 0;

protected:
    ~CStoreLink() = default;
};
