#pragma once
// CInfoPanelCtl: one row panel of a store's purchase list (template kind 0x42, object kind 4,
// shown with its four borders, taking mouse input). Its children, built from template list
// 901245, show the row it is given: texts found by object kind (17 the stock, 16 what the
// party owns, 18 the name, 14 the unit price, 15 the line total) and a count control
// (CSpinFrm) with which the player picks how many. A change of the count asks the list, which
// refuses it (the count goes back) when the bill would exceed the party's money.
//
// The count control's notification (13 or 14) carries the change in word 2 and the new count
// in word 3, so the count before it is word 3 less word 2.
#include <cstdint>

#include "engine/controls/Frame.h"
#include "engine/controls/TFrame.h"
#include "game/landmarks/ItemListCtl.h"

class CRangeFrame;

class CInfoPanelCtl : public CFrame {
public:
    static constexpr int32_t kTemplateKind = 0x42;
    static constexpr uint32_t kFlags = 0xF9;
    // The object kinds of the panel's texts.
    enum : uint32_t {
        kPriceText = 14,
        kLineTotalText = 15,
        kOwnedText = 16,
        kStockText = 17,
        kNameText = 18
    };

    CInfoPanelCtl(int32_t id, const CRect& rect);

    // Registers the panel as a live object once it has an owner.
    void SetOwner(CBaseObj* owner) override;
    // The count control's 13 and 14; other messages are the frame's.
    bool HandleMessage(CMessage& message, CBaseObj* sender) override;
    // Nothing of its own: the children draw the row.
    void DrawContent(CDrawEnv*, const CRect&) override {}

    // Shows row `index` in panel `slot`: the count control (kCountControl + 1 + slot) takes
    // the stock as its maximum and the count as its value, the texts their values.
    void SetRow(const CItemRow& row, int16_t index, int16_t slot);

    const CItemRow& GetRow() const { return row_; }
    int16_t GetIndex() const { return index_; }
    int32_t GetShownCents() const { return shownCents_; }
    CRangeFrame* GetCountControl();

    // The registrar's factory of kind 0x42, whose template holds only the frame values
    // (CTFrame::Read).
    static CBaseObj* Create(CTObj* tpl);

private:
    void OnCountChanged(int32_t newCount, int32_t oldCount);
    void ShowText(uint32_t kind, const char* text);
    void ShowLineTotal();

    CItemRow row_;
    int16_t index_ = 0;
    int16_t slot_ = 0;
    // The line total shown, in cents.
    int32_t shownCents_ = 0;
};
