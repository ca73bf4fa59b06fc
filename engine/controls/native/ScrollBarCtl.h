#pragma once
// CScrollBarCtl: a scroll-bar widget holding the control's value within its range, with a
// page step. It lies horizontally when it is wider than high, vertically otherwise. While
// shown, the bar is enabled only when its range is not empty. A user's scroll moves the value
// by a line (1), a page or to the thumb's position and notifies the target when the value
// changed; the notification does not carry the value, the target reads it from the bar.
//
// Template kind 0x2b: "minval", "maxval", "curval", "page" after the control values.
#include <cstdint>

#include "engine/controls/native/Control.h"

class CScrollBarCtl : public CControl {
public:
    static constexpr int32_t kTemplateKind = 0x2b;

    CScrollBarCtl(int32_t id, const CRect& rect, int32_t notifyType, CBaseObj* target, int16_t minimum,
                  int16_t maximum, int16_t value, int16_t page);

    void CreateWnd() override;
    // The range goes to the bar; while shown, the bar is enabled only when minimum < maximum.
    void SetMax(int16_t maximum) override;
    void SetMin(int16_t minimum) override;
    // The clamped value goes to the bar's thumb.
    void SetValue(int16_t value) override;
    // The bar's scroll codes: line up/down, page up/down, thumb position and track.
    void OnScroll(plat::WindowHandle window, uint32_t code, int32_t position) override;

    int16_t GetPage() const { return page_; }
    void SetPage(int16_t page) { page_ = page; }

    // The registrar's factories of kind 0x2b.
    static CTObj* ReadTemplate(int32_t kind, CRawParser* parser);
    static CBaseObj* Create(CTObj* tpl);

private:
    // After a change of the range: the enabled state while shown, then the bar's range.
    void RangeChanged();

    int16_t page_;
};

class CTScrollBarCtl : public CTControl {
public:
    CTScrollBarCtl(int32_t kind, CRawParser* parser);

    int16_t GetMinVal() const { return minVal_; }
    int16_t GetMaxVal() const { return maxVal_; }
    int16_t GetCurVal() const { return curVal_; }
    int16_t GetPage() const { return page_; }

private:
    int16_t minVal_ = 0;
    int16_t maxVal_ = 0;
    int16_t curVal_ = 0;
    int16_t page_ = 0;
};
