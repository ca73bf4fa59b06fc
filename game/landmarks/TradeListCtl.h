#pragma once
// CTradeListCtl: a landmark store's window (template kind 0x3c, a modal dialog window). It
// holds the purchase list (CItemListCtl, object 4000), a category selector (control 2331, a
// range control), the bill (text 4006) and the party's money (text 4008). It lists the goods
// of the landmark's market in the chosen category, or the three ready-made outfits, keeps what
// the player picked in the landmark's cart across category changes, and on a purchase hands
// the cart to the landmark's store. The landmark module (slot 9) is reached through its store
// interface (CStoreLink), the party through the travel module (slot 10).
//
// Categories: 0 nothing; 1 the outfits (only while the travel module's trip word is below 2,
// and only those the store has); 2 every stocked line; 3 and above the lines whose category
// + 1 is the value.
#include <cstdint>
#include <memory>

#include "engine/controls/StrTplWnd.h"

class CItemListCtl;
class CRangeFrame;
class CStoreLink;
class CStr;
class CTravel;

class CTradeListCtl : public CStrTplWnd {
public:
    static constexpr int32_t kList = 4000;
    static constexpr int32_t kSelector = 2331;
    // Buy the cart, and fill the list (the selector's notification, and the broadcast of Show).
    static constexpr int32_t kMsgBuy = 441;
    static constexpr int32_t kMsgFill = 2330;
    enum : int32_t { kCategoryNone = 0, kCategoryOutfits = 1, kCategoryAll = 2 };
    // Outfits are offered while the travel module's trip word is below this.
    static constexpr int16_t kOutfitsBefore = 2;
    // String lists: the outfits' names, and the item names (entry t - 1 names item type t).
    static constexpr int32_t kOutfitNames = 600091;
    static constexpr int32_t kSingularNames = 600101;
    static constexpr int32_t kPluralNames = 600102;

    // The dialog window; the landmark's cart is emptied.
    CTradeListCtl(std::unique_ptr<CStr> title, const CPoint* position, CWind* parent, uint32_t flags);

    // Fills the list (message 2330 to every live object), then shows the window.
    void ShowWnd() override;
    // 441 buys, 2330 fills; the rest is the dialog's.
    bool HandleMessage(CMessage& message, CBaseObj* sender) override;

    // The registrar's create function of kind 0x3c, whose template is the titled window's
    // (CStrTpl, title written out).
    static CBaseObj* Create(CTObj* tpl);

private:
    // What both messages work on; false when any of it is missing.
    struct Parts {
        CItemListCtl* list = nullptr;
        CRangeFrame* selector = nullptr;
        CStoreLink* store = nullptr;
        CTravel* travel = nullptr;
    };
    bool FindParts(Parts& parts);
    // The picks of the rows shown go into the cart.
    static void SavePicks(const Parts& parts);
    void Buy(const Parts& parts);
    void Fill(const Parts& parts);
    void AddOutfitRows(const Parts& parts);
    void AddGoodsRows(const Parts& parts, int32_t category);
};
