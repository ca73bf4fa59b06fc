#include "engine/controls/input/ScrollBar.h"

#include <algorithm>

#include "engine/graphics/DibSect.h"
#include "engine/graphics/DrawEnv.h"
#include "engine/graphics/ImgSet.h"
#include "engine/resources/RawParser.h"

namespace {

constexpr int16_t kTrackOn = 0, kTrackOff = 1, kThumb = 2, kFirstArrow = 5, kSecondArrow = 8;
// The looks of a thumb or arrow image: normal, pressed, disabled.
constexpr int16_t kPressed = 1, kDisabled = 2;

int32_t ClampTo32(int64_t v) { return static_cast<int32_t>(std::clamp<int64_t>(v, INT32_MIN, INT32_MAX)); }

} // namespace

CScrollBar::CScrollBar(int32_t id, const CRect& rect, int32_t notifyType, CBaseObj* target, CImgSet* images,
                       uint16_t flags, int32_t minimum, int32_t maximum, int32_t value, int32_t pageSize)
    : CRangeFrame(kKindScrollBar, id, rect, notifyType, target, minimum, maximum, value), images_(images),
      flags_(flags), horizontal_((flags & kHorizontal) ? 1 : 0), hasArrows_(images && images->GetCount() > 5)
{
    SetFlags(GetFlags() & ~kFlagTransparent);
    pageSize_ = pageSize;
    inactive_ = (!images_ || minimum == maximum) ? 1 : 0;
    if (!images_)
        return; // nothing to measure: the rectangle stays as given
    CRect r = rect;
    const int16_t tile = LengthOf(kTrackOn), breadth = BreadthOf(kTrackOn);
    if (flags_ & kOneTile) {
        const auto firstArrow = hasArrows_ ? LengthOf(kFirstArrow) : int16_t{0};
        const auto length = static_cast<int16_t>(tile + firstArrow + SecondArrowLength());
        if (horizontal_)
            r.SetRight(static_cast<int16_t>(r.GetLeft() + length));
        else
            r.SetBottom(static_cast<int16_t>(r.GetTop() + length));
    }
    if (horizontal_) {
        if (flags_ & kFarEdge)
            r.SetTop(static_cast<int16_t>(r.GetBottom() - breadth));
        else
            r.SetBottom(static_cast<int16_t>(r.GetTop() + breadth));
    } else {
        if (flags_ & kFarEdge)
            r.SetLeft(static_cast<int16_t>(r.GetRight() - breadth));
        else
            r.SetRight(static_cast<int16_t>(r.GetLeft() + breadth));
    }
    arrowLen_ = hasArrows_ ? LengthOf(kFirstArrow) : 0;
    thumbLen_ = LengthOf(kThumb);
    SetBounds(r);
    UpdateThumb();
}

CScrollBar::~CScrollBar() = default;

int16_t CScrollBar::LengthOf(int16_t image) const
{
    CRect r;
    images_->GetImageRect(r, image);
    return horizontal_ ? r.GetWidth() : r.GetHeight();
}

int16_t CScrollBar::BreadthOf(int16_t image) const
{
    CRect r;
    images_->GetImageRect(r, image);
    return horizontal_ ? r.GetHeight() : r.GetWidth();
}

int16_t CScrollBar::SecondArrowLength() const { return hasArrows_ ? LengthOf(kSecondArrow) : 0; }

void CScrollBar::SetSize(int16_t width, int16_t height)
{
    CRangeFrame::SetSize(width, height);
    if (images_) {
        Layout();
        UpdateThumb();
    }
}

void CScrollBar::Layout()
{
    const CRect& bar = GetBounds();
    const int16_t barLength = horizontal_ ? bar.GetWidth() : bar.GetHeight();
    trackLen_ = (flags_ & kOneTile) ? LengthOf(kTrackOn)
                                    : static_cast<int16_t>(barLength - arrowLen_ - SecondArrowLength());
    const int16_t breadth = BreadthOf(kTrackOn);
    const CRect track = horizontal_ ? CRect(0, 0, breadth, trackLen_) : CRect(0, 0, trackLen_, breadth);
    trackOn_ = std::make_unique<CDibSect>(track, CPoint(0, 0), 8, 255);
    trackOff_ = std::make_unique<CDibSect>(track, CPoint(0, 0), 8, 255);
    TileTrack(*trackOn_, kTrackOn);
    TileTrack(*trackOff_, kTrackOff);
    travel_ = static_cast<int16_t>(trackLen_ - thumbLen_);
}

void CScrollBar::TileTrack(CDibSect& track, int16_t image)
{
    const int16_t tile = LengthOf(image);
    if (tile <= 0 || !track.IsCreated())
        return;
    images_->SetDrawProc(DrawOpaque);
    images_->SetIndex(image);
    CRect r;
    images_->GetImageRect(r, image);
    // Tiles follow one another from 0; the bitmap cuts the last one at the end of the track.
    for (int32_t at = 0; at < trackLen_; at += tile) {
        CRect place = r;
        place.MoveTo(horizontal_ ? static_cast<int16_t>(at) : 0, horizontal_ ? 0 : static_cast<int16_t>(at));
        images_->Draw(&track, place);
    }
}

int16_t CScrollBar::ThumbFor(int32_t value, int32_t minimum, int32_t maximum, int16_t travel)
{
    const int64_t range = static_cast<int64_t>(maximum) - minimum;
    if (range <= 0)
        return 0;
    const float ratio = static_cast<float>(static_cast<int64_t>(value) - minimum) / static_cast<float>(range);
    return static_cast<int16_t>(static_cast<float>(travel) * ratio + 0.5f);
}

int32_t CScrollBar::ValueFor(int16_t thumb, int32_t minimum, int32_t maximum, int16_t travel)
{
    const int64_t range = static_cast<int64_t>(maximum) - minimum;
    const float ratio = travel == 0 ? 0.0f : static_cast<float>(thumb) / static_cast<float>(travel);
    const auto offset = static_cast<int64_t>(static_cast<float>(range) * ratio + 0.5f);
    return static_cast<int32_t>(std::clamp<int64_t>(minimum + offset, minimum, std::max(minimum, maximum)));
}

void CScrollBar::SetValue(int32_t value)
{
    CRangeFrame::SetValue(value);
    inactive_ = (!images_ || GetMax() == GetMin()) ? 1 : 0;
    UpdateThumb();
    UpdateWindow();
}

void CScrollBar::FollowPointer()
{
    if (travel_ == 0)
        return;
    const int32_t d = Along(pointer_) - arrowLen_;
    thumbPos_ = static_cast<int16_t>(std::clamp<int32_t>(d - dragOffset_, 0, std::max<int16_t>(travel_, 0)));
    CRangeFrame::SetValue(ValueFor(thumbPos_, GetMin(), GetMax(), travel_));
}

bool CScrollBar::StepPart()
{
    const int32_t before = GetValue();
    int64_t delta = 0;
    const int64_t page = (flags_ & kPage) ? pageSize_ : 0;
    switch (part_) {
    case kPartFirstArrow: delta = (flags_ & kStepByOne) ? -1 : -page; break;
    case kPartSecondArrow: delta = (flags_ & kStepByOne) ? 1 : page; break;
    case kPartThumb: FollowPointer(); return GetValue() != before;
    case kPartAfter: delta = page; break;
    case kPartBefore: delta = -page; break;
    default: break;
    }
    if (delta != 0)
        CRangeFrame::SetValue(ClampTo32(before + delta));
    return GetValue() != before;
}

bool CScrollBar::PointerBesideThumb() const
{
    const int32_t d = Along(pointer_) - arrowLen_;
    if (d < 0 || d > trackLen_)
        return false;
    return part_ == kPartBefore ? d < thumbPos_ : d > thumbPos_ + thumbLen_;
}

void CScrollBar::Notify(int32_t reason)
{
    GetNotifyMessage().SetParam(reason, 4);
    SendNotify();
}

bool CScrollBar::OnTimer()
{
    if (!Usable())
        return false;
    UpdateThumb();
    if (part_ == kPartAfter || part_ == kPartBefore)
        inPart_ = PointerBesideThumb() ? 1 : 0;
    if (part_ == kPartNone || !inPart_ || !StepPart())
        return true;
    UpdateThumb();
    UpdateWindow();
    if (part_ != kPartThumb || (flags_ & kDragNotify))
        Notify(kReasonTick);
    return true;
}

void CScrollBar::OnMouseDown(bool inside, CMessage& message)
{
    if (!inside || part_ != kPartNone || !Usable())
        return;
    const CPoint* point = message.GetParamPtr<CPoint>(4);
    if (!point)
        return;
    pointer_ = *point - GetDrawnRect().TopLeft();
    const int16_t c = Along(pointer_);
    const bool arrowsWork = (flags_ & (kStepByOne | kPage)) != 0;
    const bool pages = (flags_ & kPage) != 0;
    if (c < arrowLen_) {
        part_ = arrowsWork ? kPartFirstArrow : kPartNone;
    } else {
        const int32_t d = c - arrowLen_;
        if (d > trackLen_) {
            part_ = arrowsWork ? kPartSecondArrow : kPartNone;
        } else if (d < thumbPos_) {
            part_ = pages ? kPartBefore : kPartNone;
        } else if (d > thumbPos_ + thumbLen_) {
            part_ = pages ? kPartAfter : kPartNone;
        } else {
            part_ = kPartThumb;
            dragOffset_ = static_cast<int16_t>(d - thumbPos_);
        }
    }
    if (part_ == kPartNone)
        return;
    inPart_ = 1;
    StartRepeat();
    UpdateWindow();
}

void CScrollBar::OnMouseMove(bool inside, CMessage& message)
{
    if (!Usable() || part_ == kPartNone)
        return;
    if (const CPoint* point = message.GetParamPtr<CPoint>(4))
        pointer_ = *point - GetDrawnRect().TopLeft();
    switch (part_) {
    case kPartFirstArrow:
    case kPartSecondArrow:
        if (inside == (inPart_ != 0))
            break;
        inPart_ = inside ? 1 : 0;
        UpdateWindow();
        if (inside)
            StartRepeat();
        else
            StopTimer();
        break;
    case kPartThumb: {
        if (!inside) {
            inPart_ = 0; // the thumb stays where it was
            break;
        }
        inPart_ = 1;
        const int32_t before = GetValue();
        FollowPointer();
        UpdateThumb();
        UpdateWindow();
        if (GetValue() != before && (flags_ & kDragNotify))
            Notify(kReasonDrag);
        break;
    }
    default:
        // Paging resumes when the pointer comes back over the bar.
        if (inside && !GetTimer())
            StartRepeat();
        else if (!inside)
            StopTimer();
        break;
    }
}

void CScrollBar::OnMouseUp(bool inside, CMessage&)
{
    dragOffset_ = 0;
    if (!Usable() || part_ == kPartNone)
        return;
    if (inside && inPart_) {
        if (part_ == kPartThumb)
            CRangeFrame::SetValue(ValueFor(thumbPos_, GetMin(), GetMax(), travel_));
        else
            StepPart();
    }
    StopTimer();
    part_ = kPartNone;
    inPart_ = 0;
    UpdateThumb();
    UpdateWindow();
    Notify(kReasonRelease);
}

void CScrollBar::DrawContent(CDrawEnv* env, const CRect& clip)
{
    if (!env || !images_)
        return;
    const bool disabled = inactive_ || !IsEnabled();
    const DrawProc proc = IsTransparent() ? DrawTransparent : DrawOpaque;
    images_->SetDrawProc(proc);
    images_->GetRecord().params[7] = reinterpret_cast<intptr_t>(&clip);
    DrawRecord trackRecord;
    trackRecord.Reset(proc);
    trackRecord.params[7] = reinterpret_cast<intptr_t>(&clip);

    const CPoint corner = GetDrawnRect().TopLeft();
    int32_t offset = 0;
    const auto at = [&] {
        const auto o = static_cast<int16_t>(offset);
        return horizontal_ ? corner + CPoint(o, 0) : corner + CPoint(0, o);
    };
    // The look of a thumb or arrow: disabled, pressed while tracked with the pointer in it, or normal.
    const auto look = [&](int16_t base, int32_t part) {
        images_->SetIndex(static_cast<int16_t>(base + (disabled                   ? kDisabled
                                                       : part_ == part && inPart_ ? kPressed
                                                                                  : 0)));
        images_->DrawAtPoint(env, at());
    };
    if (hasArrows_)
        look(kFirstArrow, kPartFirstArrow);
    offset += arrowLen_;
    env->DrawBitmapAt(disabled ? trackOff_.get() : trackOn_.get(), at(), &trackRecord);
    offset += thumbPos_;
    look(kThumb, kPartThumb);
    if (hasArrows_) {
        offset += trackLen_ - thumbPos_;
        look(kSecondArrow, kPartSecondArrow);
    }
    images_->GetRecord().params[7] = 0; // the clip rectangle lives only for this call
}

CTObj* CScrollBar::ReadTemplate(int32_t kind, CRawParser* parser) { return new CTScrollBar(kind, parser); }

CBaseObj* CScrollBar::Create(CTObj* tpl)
{
    auto* t = static_cast<CTScrollBar*>(tpl);
    std::unique_ptr<CImgSet> images = t->LoadImage(t->GetImageLibMask(), t->GetImageId());
    return new CScrollBar(t->GetId(), t->GetRect(), t->GetMsgType(), t->GetBuildOwner(), images.release(),
                          t->GetScrollFlags(), t->GetMinVal(), t->GetMaxVal(), t->GetCurVal(),
                          t->GetPageSize());
}

CTScrollBar::CTScrollBar(int32_t kind, CRawParser* parser) : CTRangeFrame(kind, parser)
{
    imageId_ = parser->ReadLong("imgid");
    imageLibMask_ = static_cast<uint32_t>(parser->ReadLong("imglibmsk"));
    scrollFlags_ = static_cast<uint16_t>(parser->ReadShort("scrollflags"));
    pageSize_ = parser->ReadLong("pagesize");
}
