#pragma once
// CSpinFrm: a whole number of a range shown in a box, stepped up and down by two repeat
// buttons at its right edge. Holding an arrow steps faster and faster; stepping past one end
// of the range wraps to the other. The store and trading screens read and set its value.
//
// Template kinds 0x3e (no arrows: the range values, then "fontid", "text top offset",
// "textcolor", "brdrcolor" and "backcolor") and 0x3f (the same, then the arrows' picture
// "imgid"/"imglibmask" and their repeat settings "idleticks", "delaycount", "startinc",
// "incsize", "maxinc").
#include <cstdint>
#include <memory>

#include "engine/controls/input/RangeFrame.h"
#include "game/base/RepeatButton.h"

class CImgSet;
class CStr;

class CSpinFrm : public CRangeFrame {
public:
    static constexpr int32_t kKindPlain = 0x3e;
    static constexpr int32_t kKindWithArrows = 0x3f;
    // The message the arrows send, and their direction in its word 0.
    static constexpr int32_t kArrowMessage = -13;
    enum : int32_t { kUp = 0, kDown = 1 };

    // The colours and font of the number; a negative text offset centres it vertically. With
    // an arrow set (owned; shared by both arrows) the arrows are made and the control grows
    // down to the lower arrow's bottom.
    struct Looks {
        int32_t textColor = 0;
        int32_t borderColor = 0;
        int32_t backColor = 0;
        int16_t fontId = 0;
        int16_t textTop = 0;
    };
    CSpinFrm(int32_t id, const CRect& rect, int32_t notifyType, CBaseObj* target, int32_t minimum,
             int32_t maximum, int32_t value, const Looks& looks, CImgSet* arrows,
             const RepeatSettings& repeat);
    // The shared arrow set is taken back from both arrows and deleted once.
    ~CSpinFrm() override;

    // An arrow's message (-13) steps the value and notifies; other messages are the range
    // control's.
    bool HandleMessage(CMessage& message, CBaseObj* sender) override;
    void DrawContent(CDrawEnv* env, const CRect& clip) override;

    // Steps by `step` in the direction, wrapping past the ends; false for an unknown direction.
    bool Step(int32_t direction, int32_t step);
    // The value in decimal, without separators.
    std::unique_ptr<CStr> GetText() const;

    CRepeatButton* GetUpButton() const { return up_; }
    CRepeatButton* GetDownButton() const { return down_; }

    // The registrar's factories of kinds 0x3e and 0x3f.
    static CTObj* ReadTemplate(int32_t kind, CRawParser* parser);
    static CTObj* ReadRepeatTemplate(int32_t kind, CRawParser* parser);
    static CBaseObj* Create(CTObj* tpl);

private:
    CRepeatButton* MakeArrow(const CPoint& at, int16_t frameBase, int32_t direction,
                             const RepeatSettings& repeat);

    CImgSet* arrows_ = nullptr;
    CRepeatButton* up_ = nullptr;
    CRepeatButton* down_ = nullptr;
    Looks looks_;
};

// The template of a spin control without arrows (kind 0x3e).
class CTSpinFrm : public CTRangeFrame {
public:
    CTSpinFrm(int32_t kind, CRawParser* parser);

    const CSpinFrm::Looks& GetLooks() const { return looks_; }

private:
    CSpinFrm::Looks looks_;
};

// The template of a spin control with arrows (kind 0x3f).
class CTRepeatSpinFrm : public CTSpinFrm {
public:
    CTRepeatSpinFrm(int32_t kind, CRawParser* parser);

    int32_t GetImageId() const { return imageId_; }
    uint32_t GetImageLibMask() const { return imageLibMask_; }
    const RepeatSettings& GetRepeat() const { return repeat_; }

private:
    int32_t imageId_ = 0;
    uint32_t imageLibMask_ = 0;
    RepeatSettings repeat_;
};
