#pragma once
// CItemListCtl: the purchase list of a store window (template kind 0x41), a table of up to 214
// rows of goods shown eight at a time by eight row panels (CInfoPanelCtl, built from template
// list 901245) below a title strip, with a scroll bar once more than eight rows are shown. It
// keeps the bill, the total of the picked rows, and refuses a pick that would make the bill
// exceed the party's money; the bill and the money are shown in the window's texts 4006 and
// 4008.
//
// Money is counted in whole cents: a unit price p in dollars costs PriceInCents(p), and a
// row's line total is that times its count. The bill is kept in cents too, so that a bill
// made of the same cents as the money compares equal to it.
//
// Its template reads "imgid", "imglibmsk" (the list's picture, whose size is the list's),
// "Item Template" and the title rectangle "TitleTop", "Titleleft", "Titlebot", "Titleright"
// (relative to the list) after the frame values.
#include <array>
#include <cstdint>
#include <string>

#include "engine/controls/ImageWnd.h"

class CInfoPanelCtl;
class CParty;
class CScrollBar;

// One row of goods.
struct CItemRow {
    int16_t stock = 0; // the most that can be picked
    int16_t owned = 0; // the party's holding
    std::string name;
    int16_t count = 0;    // picked
    int16_t itemType = 0; // kOutfitRow for an outfit
    int16_t line = 0;     // the market line (kOutfitRow for an outfit)
    float price = 0.0f;   // unit price in dollars
};

class CItemListCtl : public CImageWnd {
public:
    static constexpr int32_t kTemplateKind = 0x41;
    static constexpr int16_t kMaxRows = 214;
    static constexpr int16_t kPanelCount = 8;
    static constexpr int16_t kOutfitRow = 3232;
    static constexpr int32_t kPanelList = 901245;
    // The count control of the panel list, renamed kCountControl + 1 + slot in each panel.
    static constexpr int32_t kCountControl = 12000;
    static constexpr int32_t kBillText = 4006;
    static constexpr int32_t kMoneyText = 4008;
    static constexpr int32_t kScrollBarPicture = 505;
    // The scroll bar's notification, and the count controls' that reach the list.
    static constexpr int32_t kMsgScrolled = -13;
    static constexpr int32_t kMsgCountChanged = 13;
    static constexpr int32_t kMsgCountChangedToo = 14;
    // The panels start this far below the list's top, the scroll bar ends this far above its
    // bottom, and a line is drawn across this far above it.
    static constexpr int16_t kRowsTop = 35;
    static constexpr int16_t kScrollBarGap = 30;
    static constexpr int16_t kFooterLine = 22;

    CItemListCtl(int32_t id, const CPoint& topLeft, int32_t itemTemplate);
    ~CItemListCtl() override;

    // The first owner makes the eight panels and places the title rectangle on the list.
    void SetOwner(CBaseObj* owner) override;
    // The scroll bar's -13 shows the rows from its value; 13 and 14 are taken and ignored.
    bool HandleMessage(CMessage& message, CBaseObj* sender) override;
    // The picture, then in colour 0 the outline, a 2-pixel line under the title rectangle and a
    // 1-pixel line kFooterLine above the bottom.
    void DrawContent(CDrawEnv* env, const CRect& clip) override;

    // Copies the row into the next slot (nothing past kMaxRows); redraws the rows when asked.
    void AddRow(const CItemRow& row, bool redraw);
    // No rows, the first row shown 0, every row emptied, no scroll bar; the rows redrawn.
    void Clear();
    // Panel i shows row first + i while there is one (panel 0 always shows one, empty or not);
    // the others are hidden. Makes the scroll bar first when rows were added or cleared.
    void UpdateRows();
    void UpdateScrollBar();
    // A panel's count of row `row` changes by `changeCents` off the bill: accepted when the
    // bill less the change is at most the party's money (the row takes the new count and the
    // bill and money texts are shown again), else refused and nothing changes.
    bool TryChange(int32_t changeCents, int32_t shownCents, int16_t row, int16_t newCount);
    // The bill less the change, shown in text 4006, and the party's money in text 4008.
    void UpdateMoney(int32_t changeCents);
    // A bill of 0, shown.
    void ResetTotal();

    // The bill in dollars.
    double GetTotal() const { return billCents_ / 100.0; }
    int16_t GetRowItem(int16_t i) const;
    // The count of row i, 0 past the rows or below 1.
    int16_t GetRowCount(int16_t i) const;
    int16_t GetRowLine(int16_t i) const;
    int16_t GetRowTotal() const { return rowCount_; }
    int16_t GetFirstRow() const { return firstRow_; }
    int16_t GetRowHeight() const { return rowHeight_; }
    const CRect& GetTitleRect() const { return titleRect_; }
    void SetTitleRect(const CRect& rect) { titleRect_ = rect; }
    CScrollBar* GetScrollBar() const { return scrollBar_; }
    CInfoPanelCtl* GetPanel(int16_t i) const;
    int32_t GetItemTemplate() const { return itemTemplate_; }

    // The registrar's factories of kind 0x41.
    static CTObj* ReadTemplate(int32_t kind, CRawParser* parser);
    static CBaseObj* Create(CTObj* tpl);

private:
    void MakePanel(int16_t slot);
    // The window's root frame, where texts 4006 and 4008 are found.
    CFrame* WindowRoot() const;

    CRect titleRect_;
    int32_t itemTemplate_;
    int16_t rowHeight_ = 0;
    int16_t rowCount_ = 0;
    int16_t firstRow_ = 0;
    int32_t billCents_ = 0;
    CScrollBar* scrollBar_ = nullptr;
    bool changed_ = false;
    std::array<CItemRow, kMaxRows> rows_;
    std::array<CInfoPanelCtl*, kPanelCount> panels_ = {};
};

// The template of a purchase list.
class CTItemListCtl : public CTFrame {
public:
    CTItemListCtl(int32_t kind, CRawParser* parser);

    int32_t GetImageId() const { return imageId_; }
    uint32_t GetImageLibMask() const { return imageLibMask_; }
    int32_t GetItemTemplate() const { return itemTemplate_; }
    const CRect& GetTitleRect() const { return titleRect_; }

private:
    int32_t imageId_ = 0;
    uint32_t imageLibMask_ = 0;
    int32_t itemTemplate_ = 0;
    CRect titleRect_;
};

// The party of the travel module (slot 10), or null.
CParty* GetStoreParty();
// Text `id` under the root shows the dollars as "%.2f"; nothing when it is missing.
void ShowDollars(CFrame* root, int32_t id, double dollars);
