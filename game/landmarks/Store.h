#pragma once
// CStore: what a landmark's store holds while the party is there: the market of the store's
// goods, up to three ready-made outfits (each a market of its own) with the values they were
// worth when the store opened, and the cart of what the player has picked. The landmark module
// owns one and answers the store window's questions (CStoreLink) from it.
#include <array>
#include <cstdint>
#include <memory>

#include "game/base/StoreLink.h"

class CMarket;
class CSupplyList;

// A unit price in whole cents: the integer part of (price + 0.005) x 100, the nearest cent.
int32_t PriceInCents(double price);

class CStore : public CStoreLink {
public:
    using Outfits = std::array<std::unique_ptr<CMarket>, kOutfitCount>;

    // Takes the markets over (any may be null); keeps each outfit's stock value. No cart yet.
    CStore(std::unique_ptr<CMarket> market, Outfits outfits);
    ~CStore();
    CStore(const CStore&) = delete;
    CStore& operator=(const CStore&) = delete;

    CMarket* GetMarket() const override { return market_.get(); }
    CMarket* GetOutfitMarket(int16_t i) const override;
    double GetOutfitValue(int16_t i) const override;
    void NewCart() override;
    // Nothing without a cart.
    void SetCartCount(int16_t type, int16_t count, double priceFactor) override;
    int16_t GetCartCount(int16_t type) const override;
    // For each market line in order, n = the cart's count of its item type: when n is above 0
    // and the charge, n times the price in whole cents, is at most the party's money, the party
    // pays it and gets n of the item, and the line gives up n (a line emptied is removed, so
    // the line after it is examined at the same place). Shows the wait cursor meanwhile; the
    // cart is left as it is.
    void Purchase(CParty& party) override;

    CSupplyList* GetCart() const { return cart_.get(); }

private:
    static bool ValidOutfit(int16_t i) { return i >= 0 && i < kOutfitCount; }

    std::unique_ptr<CMarket> market_;
    Outfits outfits_;
    std::array<double, kOutfitCount> outfitValues_ = {};
    std::unique_ptr<CSupplyList> cart_;
};
