#pragma once
// CImageFrame: the modal frame. Run puts it on top of a window as a modal layer, pumps the
// application's messages until a child reports the user's choice (message -39, whose sender's
// id becomes the result), a mouse message reaches the frame itself, or the program quits,
// then takes the layer down again. The menu bar is disabled for the length of the run; runs
// may nest.
//
// Its template (kind 14) adds nothing to the frame template; one whose rectangle has no
// bottom and right above 0 makes a frame that grows to enclose its children from the point
// (left, top), so that a dialog's size follows its contents.
#include <cstdint>

#include "engine/controls/Frame.h"
#include "engine/controls/TFrame.h"

class CWind;

class CImageFrame : public CFrame {
public:
    static constexpr uint32_t kKind = 3;
    static constexpr int32_t kTemplateKind = 14;

    // A frame of fixed rectangle.
    CImageFrame(int32_t id, const CRect& rect, bool transparent);
    // A frame that grows from the point to enclose every child added.
    CImageFrame(int32_t id, const CPoint& at, bool transparent);

    // -39 ends the run with the sender's id as the result; a mouse message ends it as it is.
    bool HandleMessage(CMessage& message, CBaseObj* sender) override;
    void AddChild(CFrame* child, bool draw) override;
    // Runs the frame as the window's top layer (centred with `centre`) until it is done;
    // answers the result (0 at once without a window).
    virtual int32_t Run(CWind* window, bool centre);

    bool IsDone() const { return done_ != 0; }
    int32_t GetResult() const { return result_; }
    bool Grows() const { return grow_ != 0; }

    // The registrar's factories of kind 14.
    static CTObj* ReadTemplate(int32_t kind, CRawParser* parser);
    static CBaseObj* Create(CTObj* tpl);

private:
    uint8_t grow_ = 0;
    uint8_t done_ = 0;
    int32_t result_ = 0;
};

// The template of a modal frame: the frame template's values and nothing more.
class CTImageFrame : public CTFrame {
public:
    using CTFrame::CTFrame;
};
