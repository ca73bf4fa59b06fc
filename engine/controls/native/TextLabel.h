#pragma once
// CTextLabel: a frame with an optional one-line caption and border lines in the style of a
// dialog group box. The border bits (0x10 top, 0x20 left, 0x40 bottom, 0x80 right) say which
// lines are drawn, in the frame's foreground colour with the thickness as pen width; with a
// caption the top line runs through the caption's middle and the caption, inset 8 pixels from
// both sides, covers it with its background. A transparent label takes the system's face
// and window-text colours (at their nearest palette indices) and draws no background.
//
// Template kind 4: the caption written in the template, "fontid", "textcolor", "bckcolor"
// (-1: 0 and 255), "hjust", "thickness".
#include <cstdint>
#include <memory>

#include "engine/controls/Frame.h"
#include "engine/controls/TFrame.h"
#include "engine/framework/Str.h"

class CTextLabel : public CFrame {
public:
    static constexpr int32_t kTemplateKind = 4;
    // The caption's distance from the label's sides.
    static constexpr int16_t kCaptionInset = 8;

    CTextLabel(int32_t id, const CRect& rect, std::unique_ptr<CStr> text, int16_t fontId,
               int32_t justification);

    void DrawContent(CDrawEnv* env, const CRect& clip) override;
    void DrawBorder(CDrawEnv* env) override;

    void SetTextColor(uint32_t color) { textColor_ = color; }
    void SetThickness(int16_t thickness) { thickness_ = thickness; }
    uint32_t GetTextColor() const { return textColor_; }
    int16_t GetThickness() const { return thickness_; }
    const CStr* GetText() const { return text_.get(); }

    // The registrar's factories of kind 4.
    static CTObj* ReadTemplate(int32_t kind, CRawParser* parser);
    static CBaseObj* Create(CTObj* tpl);

private:
    // A transparent label's colours from the system's, as the environment's palette has them.
    void TakeSystemColors(CDrawEnv& env);

    std::unique_ptr<CStr> text_;
    uint32_t textColor_ = 0;
    int16_t fontId_;
    int16_t thickness_ = 1;
    int32_t justification_;
};

class CTTextLabel : public CTFrame {
public:
    CTTextLabel(int32_t kind, CRawParser* parser);

    const CStr* GetText() const { return text_.get(); }
    int16_t GetFontId() const { return fontId_; }
    int32_t GetTextColor() const { return textColor_; }
    int32_t GetBackColor() const { return backColor_; }
    int16_t GetHJust() const { return hJust_; }
    int16_t GetThickness() const { return thickness_; }

private:
    std::unique_ptr<CStr> text_;
    int16_t fontId_ = 0;
    int32_t textColor_ = 0;
    int32_t backColor_ = 0;
    int16_t hJust_ = 0;
    int16_t thickness_ = 0;
};
