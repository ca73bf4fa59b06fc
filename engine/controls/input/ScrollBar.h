#pragma once
// CScrollBar: a scroll bar drawn by the engine from one image set: a track, a thumb and, when
// the set holds more than five images, two arrows, each with a normal, pressed and disabled
// look. Images by index: 0/1 the track tile (enabled/disabled), 2/3/4 the thumb, 5/6/7 the
// first arrow (top or left), 8/9/10 the second arrow. The track is tiled from its image into
// two bitmaps, laid out again at every size change.
//
// It is a range control: the arrows step (by 1, or by a page), pressing the track beside the
// thumb pages toward the pointer, and the thumb can be dragged; held presses repeat every 10
// ticks. Word 4 of the notification tells why: -1 a timer step, 2 a drag step (with flag
// 0x04), 0 the release that ends every tracked press. A bar whose minimum equals its maximum
// is inactive: it shows its disabled images and ignores the mouse. A bar without images
// keeps its rectangle, draws nothing and stays inactive.
//
// Template kind 0x2c: the range values, then "imgid", "imglibmsk", "scrollflags", "pagesize".
#include <cstdint>
#include <memory>

#include "engine/controls/input/RangeFrame.h"

class CDibSect;
class CImgSet;

class CScrollBar : public CRangeFrame {
public:
    static constexpr int32_t kTemplateKind = 0x2c;
    // Scroll flags.
    enum : uint16_t {
        kStepByOne = 0x01,  // the arrows step by 1
        kPage = 0x02,       // the track pages (and the arrows, without 0x01)
        kDragNotify = 0x04, // every change while dragging notifies
        kHorizontal = 0x08,
        kFarEdge = 0x10, // the breadth sits against the right (bottom) edge of the rectangle
        kOneTile = 0x20, // the length is one track tile and both arrows
    };
    // The part a press tracks.
    enum : int32_t { kPartNone, kPartFirstArrow, kPartSecondArrow, kPartThumb, kPartAfter, kPartBefore };
    // Word 4 of a notification.
    enum : int32_t { kReasonTick = -1, kReasonRelease = 0, kReasonDrag = 2 };
    // The period of the repeat timer, in ticks.
    static constexpr uint32_t kRepeatTicks = 10;

    // Takes the image set over (it may be null); opaque.
    CScrollBar(int32_t id, const CRect& rect, int32_t notifyType, CBaseObj* target, CImgSet* images,
               uint16_t flags, int32_t minimum, int32_t maximum, int32_t value, int32_t pageSize);
    ~CScrollBar() override;

    bool OnTimer() override;
    void DrawContent(CDrawEnv* env, const CRect& clip) override;
    // Lays the bar out again for the new size.
    void SetSize(int16_t width, int16_t height) override;
    void OnMouseDown(bool inside, CMessage& message) override;
    void OnMouseMove(bool inside, CMessage& message) override;
    void OnMouseUp(bool inside, CMessage& message) override;

    // Slot 44: the range control's SetValue, then the inactive state and the thumb again.
    // Owners call it after changing the range.
    virtual void SetValue(int32_t value);
    void SetPageSize(int32_t pageSize) { pageSize_ = pageSize; }

    int32_t GetPageSize() const { return pageSize_; }
    int32_t GetTrackedPart() const { return part_; }
    bool IsPointerInPart() const { return inPart_ != 0; }
    bool IsInactive() const { return inactive_ != 0; }
    bool HasArrows() const { return hasArrows_ != 0; }
    int16_t GetThumbPos() const { return thumbPos_; }
    int16_t GetThumbLength() const { return thumbLen_; }
    int16_t GetTrackLength() const { return trackLen_; }
    int16_t GetArrowLength() const { return arrowLen_; }
    int16_t GetTravel() const { return travel_; }
    uint16_t GetScrollFlags() const { return flags_; }
    CImgSet* GetImages() const { return images_.get(); }

    // The thumb position for a value, and the value for a thumb position (clamped to the
    // range), through a 32-bit float ratio rounded by + 0.5. Differences of the range are
    // taken in 64 bits, so any range gives them without overflow.
    static int16_t ThumbFor(int32_t value, int32_t minimum, int32_t maximum, int16_t travel);
    static int32_t ValueFor(int16_t thumb, int32_t minimum, int32_t maximum, int16_t travel);

    // The registrar's factories of kind 0x2c.
    static CTObj* ReadTemplate(int32_t kind, CRawParser* parser);
    static CBaseObj* Create(CTObj* tpl);

private:
    // Along the bar's axis, and across it, of image i.
    int16_t LengthOf(int16_t image) const;
    int16_t BreadthOf(int16_t image) const;
    int16_t SecondArrowLength() const;
    // The coordinate of a bar-relative point along the axis.
    int16_t Along(const CPoint& p) const { return horizontal_ ? p.GetH() : p.GetV(); }
    void Layout();
    void TileTrack(CDibSect& track, int16_t image);
    void UpdateThumb() { thumbPos_ = ThumbFor(GetValue(), GetMin(), GetMax(), travel_); }
    // The thumb placed at d - drag offset, within its travel, and the value taken from it.
    void FollowPointer();
    // Moves the value by the part's step; answers whether it changed.
    bool StepPart();
    // Whether the stored pointer lies in the track on the paging part's side of the thumb.
    bool PointerBesideThumb() const;
    void Notify(int32_t reason);
    bool Usable() const { return !inactive_ && IsEnabled(); }
    void StartRepeat() { StartTimer(kRepeatTicks, nullptr); }

    std::unique_ptr<CDibSect> trackOn_;
    std::unique_ptr<CDibSect> trackOff_;
    CPoint pointer_;
    int16_t dragOffset_ = 0;
    std::unique_ptr<CImgSet> images_;
    int32_t part_ = kPartNone;
    int32_t inPart_ = 0;
    int32_t pageSize_ = 0;
    int16_t thumbLen_ = 0;
    int16_t thumbPos_ = 0;
    int16_t travel_ = 0;
    int16_t trackLen_ = 0;
    int16_t arrowLen_ = 0;
    uint16_t flags_;
    uint8_t horizontal_;
    uint8_t inactive_ = 0;
    uint8_t hasArrows_;
};

// The template of a scroll bar.
class CTScrollBar : public CTRangeFrame {
public:
    CTScrollBar(int32_t kind, CRawParser* parser);

    int32_t GetImageId() const { return imageId_; }
    uint32_t GetImageLibMask() const { return imageLibMask_; }
    uint16_t GetScrollFlags() const { return scrollFlags_; }
    int32_t GetPageSize() const { return pageSize_; }

private:
    int32_t imageId_ = 0;
    uint32_t imageLibMask_ = 0;
    uint16_t scrollFlags_ = 0;
    int32_t pageSize_ = 0;
};
