#include "engine/controls/imagectl/ImgScrollBar.h"

#include <algorithm>

#include "engine/controls/BTplList.h"
#include "engine/controls/imagectl/ImageControl.h"
#include "engine/graphics/ImgSet.h"
#include "engine/resources/RawParser.h"

namespace {

int32_t ClampTo32(int64_t v) { return static_cast<int32_t>(std::clamp<int64_t>(v, INT32_MIN, INT32_MAX)); }

} // namespace

CImgScrollBar::CImgScrollBar(int32_t id, const CRect& rect, int32_t notifyType, CBaseObj* target,
                             CImgSet* parts, CImgSet* track, int32_t minimum, int32_t maximum, int32_t value,
                             int16_t page)
    : CRangeFrame(kKindScrollBar, id, rect, notifyType, target, minimum, maximum, value), parts_(parts),
      track_(track), page_(page)
{
    SetFlags((GetFlags() & ~kFlagTransparent) | kFlagOwnContent);
    UpdateDeaf();
    // Without both sets there is nothing to measure: the rectangle stays as given.
    if (parts_ && track_)
        Layout();
}

CImgScrollBar::~CImgScrollBar() = default;

void CImgScrollBar::Layout()
{
    const CPoint start = ImageSizeOf(*parts_, kStartArrow), end = ImageSizeOf(*parts_, kEndArrow);
    const CPoint thumb = ImageSizeOf(*parts_, kThumb), track = ImageSizeOf(*track_, 0);
    horizontal_ = track.GetH() > track.GetV() ? 1 : 0;
    const auto along = [this](const CPoint& size) { return horizontal_ ? size.GetH() : size.GetV(); };
    travel_ = static_cast<int16_t>(along(track) - along(thumb));
    trackStart_ = along(start);
    trackEnd_ = along(track);
    thumbLen_ = along(thumb);
    const auto length = static_cast<int16_t>(along(end) + along(start) + along(track));
    const int16_t breadth = horizontal_ ? track.GetV() : track.GetH();
    SetSize(horizontal_ ? length : breadth, horizontal_ ? breadth : length);
    UpdateThumb();
    part_ = kPartNone;
    pressed_ = 0;
}

void CImgScrollBar::UpdateDeaf() { deaf_ = (!parts_ || !track_ || GetMin() == GetMax()) ? 1 : 0; }

int16_t CImgScrollBar::ThumbFor(int32_t value, int32_t minimum, int32_t maximum, int16_t travel)
{
    const int64_t range = static_cast<int64_t>(maximum) - minimum;
    if (range <= 0)
        return 0;
    const float ratio = static_cast<float>(static_cast<int64_t>(value) - minimum) / static_cast<float>(range);
    return static_cast<int16_t>(static_cast<float>(travel) * ratio);
}

int32_t CImgScrollBar::ValueFor(int16_t thumb, int32_t minimum, int32_t maximum, int16_t travel)
{
    const int64_t range = static_cast<int64_t>(maximum) - minimum;
    const float ratio = travel == 0 ? 0.0f : static_cast<float>(thumb) / static_cast<float>(travel);
    const auto offset = static_cast<int64_t>(static_cast<float>(range) * ratio);
    return ClampTo32(std::clamp<int64_t>(minimum + offset, minimum, std::max(minimum, maximum)));
}

void CImgScrollBar::UpdateThumb()
{
    if (static_cast<int64_t>(GetMax()) - GetMin() > 0)
        thumbPos_ = ThumbFor(GetValue(), GetMin(), GetMax(), travel_);
}

void CImgScrollBar::TakeThumb()
{
    if (travel_ != 0)
        CRangeFrame::SetValue(ValueFor(thumbPos_, GetMin(), GetMax(), travel_));
}

void CImgScrollBar::FollowPointer()
{
    thumbPos_ = static_cast<int16_t>(Along(pointer_) - trackStart_ - grab_);
    TakeThumb();
}

void CImgScrollBar::SetValue(int32_t value)
{
    CRangeFrame::SetValue(value);
    UpdateDeaf();
    UpdateThumb();
    UpdateWindow();
}

void CImgScrollBar::StorePointer(CMessage& message)
{
    if (const CPoint* point = message.GetParamPtr<CPoint>(4))
        pointer_ = *point - GetDrawnRect().TopLeft();
}

void CImgScrollBar::ApplyPart()
{
    const int64_t value = GetValue();
    switch (part_) {
    case kPartStartArrow: CRangeFrame::SetValue(ClampTo32(value - 1)); break;
    case kPartEndArrow: CRangeFrame::SetValue(ClampTo32(value + 1)); break;
    case kPartThumb: TakeThumb(); break;
    case kPartAfter: CRangeFrame::SetValue(ClampTo32(value + page_)); break;
    case kPartBefore: CRangeFrame::SetValue(ClampTo32(value - page_)); break;
    default: break;
    }
}

bool CImgScrollBar::PointerBesideThumb() const
{
    const int32_t d = Along(pointer_) - trackStart_;
    if (d < 0 || d > trackEnd_)
        return false;
    return part_ == kPartBefore ? d < thumbPos_ : d > thumbPos_ + thumbLen_;
}

void CImgScrollBar::Notify(int32_t reason)
{
    GetNotifyMessage().SetParam(reason, 4);
    SendNotify();
}

void CImgScrollBar::OnMouseDown(bool inside, CMessage& message)
{
    if (!inside || part_ != kPartNone || deaf_)
        return;
    StorePointer(message);
    const int16_t c = Along(pointer_);
    const int32_t d = c - trackStart_;
    if (c < trackStart_) {
        part_ = kPartStartArrow;
    } else if (d > trackEnd_) {
        part_ = kPartEndArrow;
    } else if (d < thumbPos_) {
        part_ = kPartBefore;
    } else if (d > thumbPos_ + thumbLen_) {
        part_ = kPartAfter;
    } else {
        part_ = kPartThumb;
        grab_ = static_cast<int16_t>(d - thumbPos_);
    }
    pressed_ = 1;
    StartRepeat();
    UpdateWindow();
}

void CImgScrollBar::FollowHold(bool inside, bool redraw)
{
    if (inside == (pressed_ != 0))
        return;
    pressed_ = inside ? 1 : 0;
    if (redraw)
        UpdateWindow();
    if (inside)
        StartRepeat();
    else
        StopTimer();
}

void CImgScrollBar::OnMouseMove(bool inside, CMessage& message)
{
    if (deaf_)
        return;
    StorePointer(message);
    switch (part_) {
    case kPartStartArrow:
    case kPartEndArrow: FollowHold(inside, true); break;
    case kPartThumb: {
        pressed_ = inside ? 1 : 0;
        if (!inside)
            break;
        const int32_t before = GetValue();
        FollowPointer();
        UpdateThumb(); // the thumb snaps to the value
        UpdateWindow();
        if (GetValue() != before)
            Notify(kReasonDrag);
        break;
    }
    case kPartAfter:
    case kPartBefore: FollowHold(inside, false); break;
    default: break;
    }
}

void CImgScrollBar::OnMouseUp(bool inside, CMessage&)
{
    if (deaf_)
        return;
    if (inside && pressed_)
        ApplyPart();
    StopTimer();
    part_ = kPartNone;
    pressed_ = 0;
    UpdateThumb();
    UpdateWindow();
    Notify(kReasonRelease);
}

bool CImgScrollBar::OnTimer()
{
    if (deaf_)
        return false;
    UpdateThumb();
    if (part_ == kPartAfter || part_ == kPartBefore)
        pressed_ = PointerBesideThumb() ? 1 : 0; // paging stops when the thumb reaches the pointer
    if (part_ == kPartNone || !pressed_)
        return true;
    const int32_t before = GetValue();
    if (part_ == kPartThumb)
        FollowPointer();
    else
        ApplyPart();
    if (GetValue() == before)
        return true;
    UpdateThumb();
    UpdateWindow();
    Notify(kReasonTick);
    return true;
}

void CImgScrollBar::DrawContent(CDrawEnv* env, const CRect& clip)
{
    if (!env || !parts_ || !track_)
        return;
    const CPoint corner = GetDrawnRect().TopLeft();
    int32_t offset = 0;
    const auto at = [&] {
        const auto o = static_cast<int16_t>(offset);
        return horizontal_ ? corner + CPoint(o, 0) : corner + CPoint(0, o);
    };
    const auto looks = [this](int32_t part, int16_t normal, int16_t held) {
        return part_ == part && pressed_ ? held : normal;
    };
    DrawImageAt(*parts_, looks(kPartStartArrow, kStartArrow, kStartArrowPressed), env, at(), clip);
    offset += trackStart_;
    DrawImageAt(*track_, 0, env, at(), clip);
    offset += thumbPos_;
    if (GetMin() != GetMax())
        DrawImageAt(*parts_, kThumb, env, at(), clip);
    offset += trackEnd_ - thumbPos_;
    DrawImageAt(*parts_, looks(kPartEndArrow, kEndArrow, kEndArrowPressed), env, at(), clip);
}

CTObj* CImgScrollBar::ReadTemplate(int32_t kind, CRawParser* parser)
{
    return new CTImgScrollBar(kind, parser);
}

CBaseObj* CImgScrollBar::Create(CTObj* tpl)
{
    auto* t = static_cast<CTImgScrollBar*>(tpl);
    CBTplList* list = t->GetTplList();
    // Both pictures are required: a missing one is a fatal report.
    std::unique_ptr<CImgSet> parts, track;
    if (list) {
        parts = list->LoadImage(t->GetPartsLibMask(), t->GetPartsId(), true, false);
        track = list->LoadImage(t->GetTrackLibMask(), t->GetTrackId(), true, false);
    }
    return new CImgScrollBar(t->GetId(), t->GetRect(), t->GetMsgType(), t->GetBuildOwner(), parts.release(),
                             track.release(), t->GetMinVal(), t->GetMaxVal(), t->GetCurVal(), t->GetPage());
}

CTImgScrollBar::CTImgScrollBar(int32_t kind, CRawParser* parser) : CTRangeFrame(kind, parser)
{
    partsId_ = parser->ReadLong("imgid");
    partsLibMask_ = static_cast<uint32_t>(parser->ReadLong("imglibmsk"));
    trackId_ = parser->ReadLong("trimgid");
    trackLibMask_ = static_cast<uint32_t>(parser->ReadLong("trimglibmsk"));
    page_ = parser->ReadShort("page");
}
