#pragma once
// CListBox: the engine-drawn list, a column of equally high items of which one is selected,
// scrolled by its own scroll bar when the items do not fit. It takes the key focus, moves the
// selection with the up and down keys, selects by clicking and dragging (scrolling while the
// pointer is held beyond its ends) and notifies its target when the selection changed: word 2
// = 0, word 3 = the selection. It draws a frame and a placeholder text per item; subclasses
// draw the real items and may react to a click on the selected item.
//
// CTListBox adds the scroll bar's image set ("imgid", "imglibmsk") to the control values; no
// kind makes a plain list box.
#include <cstdint>

#include "engine/controls/input/InputFrame.h"

class CImgSet;
class CScrollBar;

class CListBox : public CInputFrame {
public:
    // The message the scroll bar sends its list.
    static constexpr int32_t kMsgBarMoved = -18;
    // The scroll bar's flags: steps of 1, pages, notifies while dragged, against the right edge.
    static constexpr uint16_t kBarFlags = 0x17;
    static constexpr uint32_t kDragTicks = 10;

    // 20 placeholder items of height 20, the first selected. With an image set (taken over)
    // the list makes its scroll bar.
    CListBox(int32_t id, const CRect& rect, int32_t notifyType, CBaseObj* target, CImgSet* barImages);

    bool OnTimer() override;
    bool HandleMessage(CMessage& message, CBaseObj* sender) override;
    void DrawContent(CDrawEnv* env, const CRect& clip) override;
    // The rows follow the new height; the bar keeps to the right edge and takes the height.
    void SetSize(int16_t width, int16_t height) override;
    // Only while focused with items: up (30), down (31), Enter (13) and 8.
    bool WantsKey(int32_t key) override;
    // Redraws when the focus changed.
    void SetHasFocus(bool hasFocus) override;

    // Slot 44: selects an item and scrolls it into view.
    virtual void SetItemIndex(int32_t index);
    // Slot 45: draws one item; false stops the drawing of the rows.
    virtual bool DrawItem(CDrawEnv* env, int32_t index, const CRect& rect, bool highlighted);
    // Slot 46: selects the item under the point (in window coordinates).
    virtual void TrackPoint(const CPoint& point, bool clicked);
    // Slot 47: the mouse was released.
    virtual void OnRelease(const CPoint&) {}
    // Slot 48: a press landed on the item already selected.
    virtual void OnReclick(const CPoint&) {}

    // The bar is shown only while the items do not fit.
    void SetItemCount(int32_t count);
    // Below 1 counts as 1; the rows and the margin follow.
    void SetItemHeight(int16_t height);
    // A count of 0 or more replaces the count; the first item is selected at the top.
    void ResetList(int32_t count);

    int32_t GetItemCount() const { return count_; }
    int32_t GetSelection() const { return selection_; }
    int32_t GetTopItem() const { return top_; }
    int32_t GetLargestTop() const { return largestTop_; }
    int32_t GetVisibleRows() const { return rows_; }
    int16_t GetTopMargin() const { return margin_; }
    int16_t GetItemHeight() const { return itemHeight_; }
    int16_t GetBarWidth() const { return barWidth_; }
    CScrollBar* GetScrollBar() const { return bar_; }

private:
    // Word 2 = 0, word 3 = the selection, then the notification.
    void NotifySelection();

    CScrollBar* bar_ = nullptr; // a child: deleted with the list
    CRect itemRect_;
    int32_t count_ = 20;
    int32_t largestTop_ = 0;
    int32_t top_ = 0;
    int32_t selectionAtPress_ = 0;
    int32_t selection_ = 0;
    int32_t rows_ = 0;
    int16_t margin_ = 0;
    int16_t itemHeight_ = 20;
    int16_t barWidth_ = 0;
};

// The template of a list box: the control values, then the bar's image set.
class CTListBox : public CTInputFrame {
public:
    CTListBox(int32_t kind, CRawParser* parser);

    int32_t GetImageId() const { return imageId_; }
    uint32_t GetImageLibMask() const { return imageLibMask_; }

private:
    int32_t imageId_ = 0;
    uint32_t imageLibMask_ = 0;
};
