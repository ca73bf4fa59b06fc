#pragma once
// CImgScrollBar: a scroll bar drawn from two image sets: the parts (0 end arrow, 1 end arrow
// pressed, 2 start arrow, 3 start arrow pressed, 4 thumb) and the track (image 0). It lays
// itself out from the images: vertical when the track image is not wider than high, the start
// arrow, the track and the end arrow one after the other. It holds a value in a range: the
// arrows step by 1, the track beside the thumb pages by the page step toward the pointer, the
// thumb can be dragged, and held presses repeat every 10 ticks. Word 4 of the notification says
// why: -1 a timer step, 2 a drag step, 0 the release that ends every press.
//
// A bar whose minimum equals its maximum shows no thumb and ignores the mouse and the timer; a
// bar made without one of its image sets keeps its rectangle, draws nothing and is as deaf.
//
// Template kind 0x2a: the range values, then "imgid", "imglibmsk" (the parts), "trimgid",
// "trimglibmsk" (the track) and "page"; a missing picture is a fatal report.
#include <cstdint>
#include <memory>

#include "engine/controls/input/RangeFrame.h"

class CImgSet;

class CImgScrollBar : public CRangeFrame {
public:
    static constexpr int32_t kTemplateKind = 0x2a;
    // The images of the parts set.
    enum : int16_t {
        kEndArrow = 0,
        kEndArrowPressed = 1,
        kStartArrow = 2,
        kStartArrowPressed = 3,
        kThumb = 4
    };
    // The part a press holds.
    enum : int32_t { kPartNone, kPartStartArrow, kPartEndArrow, kPartThumb, kPartAfter, kPartBefore };
    // Word 4 of a notification.
    enum : int32_t { kReasonTick = -1, kReasonRelease = 0, kReasonDrag = 2 };
    // The period of the repeat timer, in ticks.
    static constexpr uint32_t kRepeatTicks = 10;

    // Takes both sets over (either may be null); opaque.
    CImgScrollBar(int32_t id, const CRect& rect, int32_t notifyType, CBaseObj* target, CImgSet* parts,
                  CImgSet* track, int32_t minimum, int32_t maximum, int32_t value, int16_t page);
    ~CImgScrollBar() override;

    bool OnTimer() override;
    void DrawContent(CDrawEnv* env, const CRect& clip) override;
    void OnMouseDown(bool inside, CMessage& message) override;
    void OnMouseMove(bool inside, CMessage& message) override;
    void OnMouseUp(bool inside, CMessage& message) override;

    // Slot 44: the range control's SetValue, then the empty state and the thumb again, drawn
    // at once.
    virtual void SetValue(int32_t value);

    bool IsHorizontal() const { return horizontal_ != 0; }
    bool IsDeaf() const { return deaf_ != 0; }
    int32_t GetActivePart() const { return part_; }
    bool IsPartPressed() const { return pressed_ != 0; }
    int16_t GetPage() const { return page_; }
    int16_t GetThumbPos() const { return thumbPos_; }
    int16_t GetThumbLength() const { return thumbLen_; }
    int16_t GetTravel() const { return travel_; }
    int16_t GetTrackStart() const { return trackStart_; }
    int16_t GetTrackEnd() const { return trackEnd_; }

    // The thumb position for a value and the value for a thumb position (clamped to the
    // range), through a 32-bit float ratio, truncated. Differences of the range are taken in
    // 64 bits, so any range gives them without overflow.
    static int16_t ThumbFor(int32_t value, int32_t minimum, int32_t maximum, int16_t travel);
    static int32_t ValueFor(int16_t thumb, int32_t minimum, int32_t maximum, int16_t travel);

    // The registrar's factories of kind 0x2a.
    static CTObj* ReadTemplate(int32_t kind, CRawParser* parser);
    static CBaseObj* Create(CTObj* tpl);

private:
    void Layout();
    // The coordinate of a bar-relative point along the axis.
    int16_t Along(const CPoint& p) const { return horizontal_ ? p.GetH() : p.GetV(); }
    void StorePointer(CMessage& message);
    // The thumb from the value, unless the range is empty.
    void UpdateThumb();
    // The value from the thumb, unless there is no travel.
    void TakeThumb();
    // The thumb placed under the stored pointer, by the grab offset, and the value from it.
    void FollowPointer();
    // Applies the active part once.
    void ApplyPart();
    // Whether the stored pointer lies in the track on the paging part's side of the thumb.
    bool PointerBesideThumb() const;
    void Notify(int32_t reason);
    // The pointer entering or leaving the control while an arrow or the track is held: the part
    // counts as pressed, and repeats, only while the pointer is inside; an arrow shows it.
    void FollowHold(bool inside, bool redraw);
    void StartRepeat() { StartTimer(kRepeatTicks, nullptr); }
    void UpdateDeaf();

    CPoint pointer_;
    int16_t grab_ = 0;
    std::unique_ptr<CImgSet> parts_;
    std::unique_ptr<CImgSet> track_;
    int32_t part_ = kPartNone;
    int32_t pressed_ = 0;
    int16_t page_;
    int16_t thumbLen_ = 0;
    int16_t thumbPos_ = 0;
    int16_t travel_ = 0;
    int16_t trackEnd_ = 0;
    int16_t trackStart_ = 0;
    uint8_t horizontal_ = 0;
    uint8_t deaf_ = 1;
};

// The template of an image scroll bar.
class CTImgScrollBar : public CTRangeFrame {
public:
    CTImgScrollBar(int32_t kind, CRawParser* parser);

    int32_t GetPartsId() const { return partsId_; }
    uint32_t GetPartsLibMask() const { return partsLibMask_; }
    int32_t GetTrackId() const { return trackId_; }
    uint32_t GetTrackLibMask() const { return trackLibMask_; }
    int16_t GetPage() const { return page_; }

private:
    int32_t partsId_ = 0;
    uint32_t partsLibMask_ = 0;
    int32_t trackId_ = 0;
    uint32_t trackLibMask_ = 0;
    int16_t page_ = 0;
};
