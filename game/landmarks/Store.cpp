#include "game/landmarks/Store.h"

#include "engine/graphics/CursorMgr.h"
#include "game/travel/Market.h"
#include "game/travel/Party.h"
#include "game/travel/SupplyList.h"

int32_t PriceInCents(double price) { return static_cast<int32_t>((price + 0.005) * 100); }

CStore::CStore(std::unique_ptr<CMarket> market, Outfits outfits)
    : market_(std::move(market)), outfits_(std::move(outfits))
{
    for (int16_t i = 0; i < kOutfitCount; ++i)
        if (const CMarket* outfit = outfits_[static_cast<size_t>(i)].get())
            outfitValues_[static_cast<size_t>(i)] = outfit->GetStockValue();
}

CStore::~CStore() = default;

CMarket* CStore::GetOutfitMarket(int16_t i) const
{
    return ValidOutfit(i) ? outfits_[static_cast<size_t>(i)].get() : nullptr;
}

double CStore::GetOutfitValue(int16_t i) const
{
    return ValidOutfit(i) ? outfitValues_[static_cast<size_t>(i)] : 0.0;
}

void CStore::NewCart() { cart_ = std::make_unique<CSupplyList>(); }

void CStore::SetCartCount(int16_t type, int16_t count, double priceFactor)
{
    if (cart_)
        cart_->SetItemCount(type, count, priceFactor);
}

int16_t CStore::GetCartCount(int16_t type) const { return cart_ ? cart_->GetTotal(type) : 0; }

void CStore::Purchase(CParty& party)
{
    CBusyCursor busy;
    if (!market_)
        return;
    for (int16_t line = 0; line < market_->GetItemCount();) {
        const int16_t type = market_->GetItemId(line);
        const int16_t count = GetCartCount(type);
        const double charge = PriceInCents(market_->GetPrice(line)) * static_cast<double>(count) / 100.0;
        if (count > 0 && charge <= party.GetMoney()) {
            party.AddMoney(-charge);
            party.GetSupplies()->AddItem(type, count, 0.0);
            if (market_->TakeFromLine(line, count))
                continue;
        }
        ++line;
    }
}
