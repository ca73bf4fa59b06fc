#pragma once
// A travel module whose person table a test sets (the rest of its entries empty), with the
// persons' markets made again when asked.
#include <cstdint>
#include <vector>

#include "game/travel/Market.h"
#include "game/travel/Travel.h"

namespace lmtest {

class TableTravel : public CTravel {
public:
    using CTravel::CTravel;
    void SetTable(const std::vector<int16_t>& ids, bool withMarkets = false)
    {
        for (size_t i = 0; i < persons_.size(); ++i)
            persons_[i] = Person{i < ids.size() ? ids[i] : int16_t{0}, 0, 0};
        if (!withMarkets)
            return;
        DeleteMarkets();
        for (int16_t id : ids)
            markets_[static_cast<size_t>(id - 1)] = MakePersonMarket(id);
    }
};

} // namespace lmtest
