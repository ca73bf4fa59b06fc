#pragma once
// CScrollTextWnd: text that scrolls upward without end, the lines of a string list one after
// the other, starting over at the first line after the last: `step` pixels every `wait`
// ticks. A line that begins with '^' carries a code:
//
//   ^cN      the picture "CBM" N, sitting on the line's bottom (an empty line when missing)
//   ^ctN     the same, drawn with colour 0 left out
//   ^fN text the text in font N; the font stays for the following lines
//   ^sN      asks the application for sound N (^lN: looping); takes no room
//   ^x       any other character: an empty line
//
// In a text line "~N~" is a tab: the text after it starts N pixels from the left edge.
// Text lines are one font height + 1 high. The lines on view are kept in at most 50 slots;
// the first draw fills the area (and 10 pixels below it) and starts the timer, and each tick
// scrolls the picture, drops the slot that left the top and adds lines at the bottom.
//
// Its template (kind 6) reads, after the frame values, "strlistid", "strlibid" (the string
// list's library mask), "textcolor" (-1: 0), "bckcolor" (-1: 255), "scrollhgt" (the step)
// and "waitticks"; pictures and sounds come from every library.
#include <cstdint>
#include <memory>

#include "engine/controls/Frame.h"
#include "engine/controls/TFrame.h"

class CImgSet;
class CStr;
class CTplRec;

class CScrollTextWnd : public CFrame {
public:
    static constexpr uint32_t kKind = 2;
    static constexpr int32_t kTemplateKind = 6;
    static constexpr int16_t kSlotCount = 50;
    static constexpr int16_t kEmptyBottom = -999;
    enum : uint8_t { kLineNothing = 0, kLineText = 1, kLinePicture = 2, kLineSound = 3 };

    struct Slot {
        std::unique_ptr<CStr> text;
        std::unique_ptr<CImgSet> picture;
        int16_t bottom = kEmptyBottom; // relative to the element's top
        int16_t line = 0;
        int16_t font = 0;
        uint8_t type = kLineNothing;
    };

    // Takes the string list over (null: nothing to show). Asks the application to stop its
    // sounds.
    CScrollTextWnd(int32_t id, const CRect& rect, CTplRec* lines, uint32_t pictureLibMask,
                   uint32_t soundLibMask);
    // Stops the sounds and the timer.
    ~CScrollTextWnd() override;

    // Slot 3: one scroll step.
    bool OnTimer() override;
    // Slot 11: the background and the lines that meet the rectangle.
    void DrawContent(CDrawEnv* env, const CRect& clip) override;
    // Slot 31: builds the slot for line n in the font and answers its height.
    virtual int16_t MakeLine(CDrawEnv* env, int16_t n, int16_t slot, int16_t font);
    // Fills slots below the last one until the area is covered.
    void AddNextLine(CDrawEnv* env);

    void SetTextColor(uint32_t color) { textColor_ = color; }
    void SetScrollStep(int16_t pixels) { step_ = pixels; }
    void SetWaitTicks(int16_t ticks) { wait_ = ticks; }

    int16_t GetSlotsInUse() const { return slotCount_; }
    const Slot& GetSlot(int16_t i) const { return slots_[i]; }
    int16_t GetFirstTop() const { return firstTop_; }
    int16_t GetFillLimit() const { return fillLimit_; }
    int16_t GetScrollStep() const { return step_; }
    int16_t GetWaitTicks() const { return wait_; }
    uint32_t GetTextColor() const { return textColor_; }

    // The registrar's factories of kind 6.
    static CTObj* ReadTemplate(int32_t kind, CRawParser* parser);
    static CBaseObj* Create(CTObj* tpl);

private:
    int32_t EntryCount() const;
    // The screen rectangle of slot i (pictures sit on the line's bottom).
    CRect LineRect(int16_t i) const;
    void DrawLine(CDrawEnv* env, const Slot& slot, const CRect& rect, const CRect& clip);
    // The picture of a "^c" line; null when it is missing.
    std::unique_ptr<CImgSet> LoadPicture(int32_t id, bool transparent) const;
    void DropFirstSlot();

    uint32_t pictureLibMask_;
    uint32_t soundLibMask_;
    std::unique_ptr<CTplRec> lines_;
    Slot slots_[kSlotCount];
    uint32_t textColor_ = 0;
    int16_t firstTop_ = kEmptyBottom;
    int16_t slotCount_ = 0;
    int16_t fillLimit_;
    int16_t step_ = 1;
    int16_t wait_ = 2;
};

// The template of a scrolling text.
class CTScrollTextWnd : public CTFrame {
public:
    CTScrollTextWnd(int32_t kind, CRawParser* parser);

    int32_t GetStrListId() const override { return strListId_; }
    uint32_t GetStrLibMask() const { return strLibMask_; }
    uint32_t GetTextColor() const { return textColor_; }
    uint32_t GetBackColor() const { return backColor_; }
    int16_t GetScrollHeight() const { return scrollHeight_; }
    int16_t GetWaitTicks() const { return waitTicks_; }

private:
    int32_t strListId_ = 0;
    uint32_t strLibMask_ = 0;
    uint32_t textColor_ = 0;
    uint32_t backColor_ = 255;
    int16_t scrollHeight_ = 0;
    int16_t waitTicks_ = 0;
};
