#pragma once
// CTextBtnFrame: a push control whose face is a line of text, a caption sized to it, drawn in
// the normal colour, in the highlight colour while the pointer is over the button and in the
// dim colour while it is disabled. While it is owned and enabled it polls the pointer on every
// pass of the timer queue, so the highlight follows the pointer without a press. It notifies
// on a release inside, whatever its template says.
//
// Template kinds 0x22 (label by string reference) and 0x23 (label written in the template):
// the push control's values, the label, then "fontid", "normal color", "hilite color",
// "dim color" and "pad".
#include <cstdint>
#include <memory>

#include "engine/controls/input/PushFrame.h"

class CCaptionFrame;
class CStr;

class CTextBtnFrame : public CPushFrame {
public:
    static constexpr int32_t kKindByReference = 0x22;
    static constexpr int32_t kKindLiteral = 0x23;

    // A button at the point, as large as its caption.
    CTextBtnFrame(int32_t id, const CPoint& at, std::unique_ptr<CStr> text, int32_t notifyType,
                  CBaseObj* target, int16_t fontId, int16_t pad, int32_t normalColor, int32_t hiliteColor,
                  int32_t dimColor);
    ~CTextBtnFrame() override;

    // Joining an owner starts the hover polling (when enabled); leaving stops it.
    void SetOwner(CBaseObj* owner) override;
    // One hover poll: the highlight while the pointer is over the button (edges included).
    bool OnTimer() override;
    // The polling follows the enabled state; the colour becomes dim or normal.
    void Enable(bool enable, bool redraw = false, bool children = false) override;
    // The caption takes the button's transparency; the button draws nothing else.
    void DrawContent(CDrawEnv* env, const CRect& clip) override;

    // Slot 46: the caption takes the text and its size, and the button the caption's.
    virtual void SetLabel(std::unique_ptr<CStr> text);
    // The caption's colour: dim when disabled, else the highlight when over, else normal.
    void UpdateColor(bool over);
    // The caption's normal and highlight colours (palette indices).
    void SetTextColors(int32_t normal, int32_t hilite);

    CCaptionFrame* GetCaption() const { return caption_; }

    // The registrar's factories of kinds 0x22 and 0x23.
    static CTObj* ReadByReference(int32_t kind, CRawParser* parser);
    static CTObj* ReadLiteral(int32_t kind, CRawParser* parser);
    static CBaseObj* Create(CTObj* tpl);

private:
    void StartHover() { StartTimer(0, nullptr); }

    CCaptionFrame* caption_; // a child: deleted with the button
    int32_t dimColor_;
    int32_t hiliteColor_;
    int32_t normalColor_;
};

// The template of a text button.
class CTTextBtnFrame : public CTPushFrame {
public:
    CTTextBtnFrame(int32_t kind, CRawParser* parser, bool literal);
    ~CTTextBtnFrame() override;

    // The literal label; null when the label is a string-list reference.
    const CStr* GetText() const { return text_.get(); }
    int32_t GetStrListId() const override { return strListId_; }
    int32_t GetStrIndex() const override { return strIndex_; }
    uint32_t GetStrLibMsk() const { return strLibMask_; }
    int16_t GetFontId() const { return fontId_; }
    int32_t GetNormalColor() const { return normalColor_; }
    int32_t GetHiliteColor() const { return hiliteColor_; }
    int32_t GetDimColor() const { return dimColor_; }
    int16_t GetPad() const { return pad_; }

private:
    std::unique_ptr<CStr> text_;
    int32_t strListId_ = 0;
    uint32_t strLibMask_ = 0;
    int32_t strIndex_ = 0;
    int16_t fontId_ = 0;
    int32_t normalColor_ = 0;
    int32_t hiliteColor_ = 0;
    int32_t dimColor_ = 0;
    int16_t pad_ = 0;
};
