#include "engine/controls/input/RangeFrame.h"

#include "engine/resources/RawParser.h"

CRangeFrame::CRangeFrame(int32_t controlKind, int32_t id, const CRect& rect, int32_t notifyType,
                         CBaseObj* target, int32_t minimum, int32_t maximum, int32_t value)
    : CInputFrame(controlKind, id, rect, notifyType, target), min_(minimum), max_(maximum), value_(value)
{
}

CRangeFrame::CRangeFrame(int32_t controlKind, int32_t id, const CPoint& size, int32_t notifyType,
                         CBaseObj* target, int32_t minimum, int32_t maximum, int32_t value)
    : CInputFrame(controlKind, id, size, notifyType, target), min_(minimum), max_(maximum), value_(value)
{
}

void CRangeFrame::SendNotify()
{
    GetNotifyMessage().SetParam(value_, 3);
    CInputFrame::SendNotify();
}

void CRangeFrame::SetValue(int32_t value)
{
    if (value < min_)
        value = min_;
    if (value > max_)
        value = max_;
    if (value == value_)
        return;
    value_ = value;
    UpdateWindow();
}

void CRangeFrame::SetMax(int32_t maximum)
{
    max_ = maximum < min_ ? min_ : maximum;
    SetValue(value_);
}

CTRangeFrame::CTRangeFrame(int32_t kind, CRawParser* parser) : CTInputFrame(kind, parser)
{
    minVal_ = parser->ReadLong("minval");
    maxVal_ = parser->ReadLong("maxval");
    curVal_ = parser->ReadLong("curval");
}
