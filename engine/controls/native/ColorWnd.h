#pragma once
// CColorWnd: a rectangle filled with one palette colour (the frame's background colour) inside
// the frame's border lines (in its foreground colour, 0 at first); the fill is inset by one
// pixel when all four lines are drawn.
//
// Template kind 2: "color" (-1: 255); a colour box from a template always has all four lines.
#include <cstdint>

#include "engine/controls/Frame.h"
#include "engine/controls/TFrame.h"

class CColorWnd : public CFrame {
public:
    static constexpr int32_t kTemplateKind = 2;

    CColorWnd(int32_t id, const CRect& rect, uint32_t color, uint32_t borderBits);

    void DrawContent(CDrawEnv* env, const CRect& clip) override;

    // The registrar's factories of kind 2.
    static CTObj* ReadTemplate(int32_t kind, CRawParser* parser);
    static CBaseObj* Create(CTObj* tpl);
};

class CTColorWnd : public CTFrame {
public:
    CTColorWnd(int32_t kind, CRawParser* parser);

    // The template's flags replace the box's; its four lines stay.
    void ApplyTo(CFrame* object) override;

    int32_t GetColor() const { return color_; }

private:
    int32_t color_ = 0;
};
