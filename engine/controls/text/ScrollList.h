#pragma once
// CScrollList: a text element that lays a marked-up text out in rows of text runs and shows
// as many rows as fit, optionally with a scroll bar along its right edge.
//
// Markup (unless it is switched off; a line feed always ends the row):
//   line feed    ends the row; a second line feed right after it is taken with it
//   ^cDDD        the text after it in colour DDD (a program colour value, three digits)
//   ^fDDD        the text after it in font DDD (three digits)
//   ^n           a row break; the character after the n is taken with it
//   ^ and any other character: both are dropped
// Markup cut short by the end of the text ends the layout there; what came before it stays.
//
// With wrapping on, a run that meets the right edge breaks after its last space or hyphen;
// without one it moves whole to the next row, and a word wider than a whole row is cut where
// it meets the edge. The runs of a row are centred vertically on its tallest line, and a row
// is centred or right-aligned (without its closing spaces) by the horizontal justification.
// A text shorter than the area is moved down by the vertical justification when there is no
// scroll bar.
//
// Templates: kinds 0xa (text by string-list reference) and 0xb (text written in the template)
// read the text frame's values, then "has scrollbar?"; template flag 0x1000 turns the markup
// off.
#include <cstdint>
#include <memory>
#include <vector>

#include "engine/controls/TextFrame.h"

class CScrollBarCtl;

// One run of text on one row, in one font and colour.
struct CScrollListItem {
    int16_t x = 0;     // left offset within the row
    int16_t extra = 0; // down from the row's top: half of what its line is shorter than the row's tallest
    int16_t lineHeight = 0; // its font's height; the row's tallest once the row is finished
    int16_t width = 0;      // pixel width of its text
    int16_t row = 0;
    int16_t fontId = 0;
    uint32_t color = 0;
    int32_t start = 0; // its first character in the element's text
    int16_t length = 0;
};

class CScrollList : public CTextFrame {
public:
    static constexpr int32_t kKindByReference = 0xa;
    static constexpr int32_t kKindLiteral = 0xb;
    // The message the scroll bar sends its list when it moved.
    static constexpr int32_t kMsgScrolled = -18;
    static constexpr int16_t kBarWidth = 16;
    // Template flag: carets are plain characters.
    static constexpr uint32_t kFlagMarkupOff = 0x1000;

    // The text frame part (not wrapping), laid out at the first paint; markup on. The element
    // registers itself as a live object so that its scroll bar can reach it.
    CScrollList(int32_t id, const CRect& rect, std::unique_ptr<CStr> text, int16_t fontId, bool border,
                bool hasScrollBar);
    ~CScrollList() override;

    // Message -18 from the scroll bar scrolls to the bar's position.
    bool HandleMessage(CMessage& message, CBaseObj* sender) override;
    void DrawContent(CDrawEnv* env, const CRect& clip) override;
    // Resizes; the bar follows and the rows are laid out again.
    void SetSize(int16_t width, int16_t height) override;
    void SetSizePt(const CPoint& size) override { CScrollList::SetSize(size.GetH(), size.GetV()); }
    // Every change of the text lays the rows out again.
    void AppendText(std::unique_ptr<CStr> text) override;
    void SetText(std::unique_ptr<CStr> text) override;
    void SetTextFromList(const CTplRec& list) override;
    void AdoptText(std::unique_ptr<CStr> text) override;

    // Slot 35: lays the text out in rows for the environment's fonts.
    virtual void Layout(CDrawEnv* env);

    // The first time on, a scroll bar is made along the right edge and the list becomes
    // opaque; later it is only shown or hidden.
    void SetHasScrollBar(bool hasBar);
    // Makes the row the top row. Without keep the list never scrolls past the row that shows
    // the last rows at the bottom; with keep it may, up to the last row.
    void ScrollTo(int16_t row, bool keep);

    // The height of all rows, and the width of the widest row; 0 before a layout.
    int32_t GetTotalHeight() const;
    int32_t GetMaxRowWidth() const;
    void SetWrap(bool wrap)
    {
        CTextFrame::SetWrap(wrap);
        MarkLayoutDirty();
    }
    void SetMarkup(bool on)
    {
        markupOn_ = on;
        MarkLayoutDirty();
    }
    bool GetMarkup() const { return markupOn_; }

    const std::vector<CScrollListItem>& GetItems() const { return items_; }
    bool IsLayoutDirty() const { return layoutDirty_; }
    bool HasScrollBar() const { return hasScrollBar_; }
    CScrollBarCtl* GetScrollBar() const { return bar_; }
    int16_t GetTopRow() const { return topRow_; }
    int16_t GetTopItem() const { return topItem_; }
    int16_t GetVisibleRows() const { return visibleRows_; }
    int16_t GetTotalRows() const { return totalRows_; }
    int16_t GetVOffset() const { return vOffset_; }
    int16_t GetLastDrawnRow() const { return lastDrawnRow_; }
    int16_t GetDrawnHeight() const { return drawnHeight_; }

    // The registrar's factories of kinds 0xa and 0xb.
    static CTObj* ReadByReference(int32_t kind, CRawParser* parser);
    static CTObj* ReadLiteral(int32_t kind, CRawParser* parser);
    static CBaseObj* Create(CTObj* tpl);

protected:
    void MarkLayoutDirty() { layoutDirty_ = true; }
    // The rectangle the rows fill: the drawn rectangle less the bar, inside the border.
    CRect TextArea() const;

private:
    // The scroll bar's part (ScrollListBar.cpp): made the first time it is wanted, given the
    // range and page after a layout and the top row after a scroll, and read back when it
    // moved.
    void MakeScrollBar();
    void ShowScrollBar(bool show);
    void PlaceScrollBar();
    void SetBarRange();
    void SetBarValue();
    int16_t GetBarValue() const;

    int16_t lastDrawnRow_ = 0;
    int16_t drawnHeight_ = 0;
    bool hasScrollBar_ = false;
    bool layoutDirty_ = true;
    bool markupOn_ = true;
    int16_t topItem_ = 0;
    int16_t topRow_ = 0;
    int16_t visibleRows_ = 0;
    int16_t totalRows_ = 0;
    int16_t vOffset_ = 0;
    // The rows that fit in the area, counted from the first row.
    int16_t fitRows_ = 0;
    std::vector<CScrollListItem> items_;
    // The top of every row from the first row's top, and after them the height of all rows.
    std::vector<int32_t> rowTops_;
    // A child frame, deleted with the other children.
    CScrollBarCtl* bar_ = nullptr;
};

// The template of a scroll list: the text frame's values, then "has scrollbar?".
class CTScrollList : public CTTextFrame {
public:
    CTScrollList(int32_t kind, CRawParser* parser, bool literal);

    bool GetHasScrollBar() const { return hasScrollBar_; }

private:
    bool hasScrollBar_ = false;
};
