#pragma once
// CRangeFrame: a control holding a whole number within a range, the base of the scroll bars
// and the spin control. Its notification carries the value in word 3. CTRangeFrame adds
// "minval", "maxval" and "curval" to the control values.
#include <cstdint>

#include "engine/controls/input/InputFrame.h"

class CRangeFrame : public CInputFrame {
public:
    // The three values are kept as given, even a value outside the range.
    CRangeFrame(int32_t controlKind, int32_t id, const CRect& rect, int32_t notifyType, CBaseObj* target,
                int32_t minimum, int32_t maximum, int32_t value);
    CRangeFrame(int32_t controlKind, int32_t id, const CPoint& size, int32_t notifyType, CBaseObj* target,
                int32_t minimum, int32_t maximum, int32_t value);

    // Slot 32: word 3 = the value, then the notification.
    void SendNotify() override;

    // Raised to the minimum, then lowered to the maximum; a changed value is stored and
    // repainted now. No notification.
    void SetValue(int32_t value);
    // A maximum below the minimum becomes the minimum; the value is clamped again.
    void SetMax(int32_t maximum);

    int32_t GetMin() const { return min_; }
    int32_t GetMax() const { return max_; }
    int32_t GetValue() const { return value_; }

private:
    int32_t min_;
    int32_t max_;
    int32_t value_;
};

// The template of a range control.
class CTRangeFrame : public CTInputFrame {
public:
    CTRangeFrame(int32_t kind, CRawParser* parser);

    int32_t GetMinVal() const { return minVal_; }
    int32_t GetMaxVal() const { return maxVal_; }
    int32_t GetCurVal() const { return curVal_; }

private:
    int32_t minVal_ = 0;
    int32_t maxVal_ = 0;
    int32_t curVal_ = 0;
};
