#pragma once
// CImgTextBtnWnd: an image button that prints one line of text over its image, centred in a
// text rectangle with a transparent background, in the up colour, the down colour while pressed
// or the gray colour while disabled (disabled wins). While pressed the text sits in the pressed
// rectangle: the text rectangle moved by the pressed offset, both cut to the same size inside
// the text area, so that the label follows a pressed image drawn shifted. It notifies with
// message -13 on a release inside, whatever its template says.
//
// Template kinds 0x16 (text by string-list reference), 0x17 (text in the template, at most 511
// characters), 0x18 and 0x19 (the same two, becoming their window's default button): the image
// button's values, the text, "fontid", the text rectangle relative to the button ("top",
// "left", "bottom", "right"; all 0: the whole button), the pressed offset ("y", "x"), then
// "upcolor", "downcolor", "graycolor" (-1 means 0).
#include <cstdint>
#include <memory>

#include "engine/controls/imagectl/ImgBtnWnd.h"

class CStr;

class CImgTextBtnWnd : public CImgBtnWnd {
public:
    static constexpr int32_t kKindByReference = 0x16;
    static constexpr int32_t kKindLiteral = 0x17;
    static constexpr int32_t kKindByReferenceDefault = 0x18;
    static constexpr int32_t kKindLiteralDefault = 0x19;
    // The notification id of every image text button.
    static constexpr int32_t kMessage = -13;

    // Takes the set and the text over (either may be null). The text rectangle is relative to
    // the button's corner (null: the whole button); the offset is (x, y) as a point's (h, v).
    // The three colours start at 0.
    CImgTextBtnWnd(int32_t id, const CPoint& reference, CBaseObj* target, CImgSet* images,
                   std::unique_ptr<CStr> text, const CRect* textRect, const CPoint* pressedOffset,
                   int16_t fontId, int32_t hMode, int32_t vMode);
    ~CImgTextBtnWnd() override;

    void DrawContent(CDrawEnv* env, const CRect& clip) override;

    // Stores the colours of the up, pressed and disabled label; no redraw.
    void SetColors(int32_t up, int32_t down, int32_t gray);
    // Replaces the label (null allowed) and redraws.
    void SetText(std::unique_ptr<CStr> text);

    // Where the label is centred while up or disabled, and while pressed, on the window.
    CRect GetTextRect() const;
    CRect GetPressedTextRect() const;
    const CStr* GetText() const { return text_.get(); }
    int16_t GetFontId() const { return fontId_; }
    int32_t GetUpColor() const { return upColor_; }
    int32_t GetDownColor() const { return downColor_; }
    int32_t GetGrayColor() const { return grayColor_; }

    // The registrar's factories of kinds 0x16-0x19.
    static CTObj* ReadByReference(int32_t kind, CRawParser* parser);
    static CTObj* ReadLiteral(int32_t kind, CRawParser* parser);
    static CBaseObj* Create(CTObj* tpl);

private:
    // Both rectangles are kept relative to the button's corner, so they move with it.
    CRect textRect_;
    CRect pressedRect_;
    std::unique_ptr<CStr> text_;
    int32_t upColor_ = 0;
    int32_t downColor_ = 0;
    int32_t grayColor_ = 0;
    int16_t fontId_;
};

// The template of an image text button.
class CTImgTextBtnWnd : public CTImgBtnWnd {
public:
    // The longest text written in the template, with its terminating zero.
    static constexpr int16_t kTextField = 512;

    CTImgTextBtnWnd(int32_t kind, CRawParser* parser, bool literal);
    ~CTImgTextBtnWnd() override;

    // Colours of -1 become 0.
    void Prepare() override;
    // The control values, then message -13 in place of the template's.
    void ApplyTo(CFrame* object) override;

    // The literal text; null when the text is a string-list reference.
    const CStr* GetText() const { return text_.get(); }
    int32_t GetStrListId() const override { return strListId_; }
    int32_t GetStrIndex() const override { return strIndex_; }
    uint32_t GetStrLibMsk() const { return strLibMask_; }
    int16_t GetFontId() const { return fontId_; }
    // Null when all four sides are 0.
    const CRect* GetTextRect() const;
    CPoint GetOffset() const { return offset_; }
    int32_t GetUpColor() const { return upColor_; }
    int32_t GetDownColor() const { return downColor_; }
    int32_t GetGrayColor() const { return grayColor_; }

private:
    std::unique_ptr<CStr> text_;
    int32_t strListId_ = 0;
    uint32_t strLibMask_ = 0;
    int32_t strIndex_ = 0;
    int16_t fontId_ = 0;
    CRect textRect_;
    CPoint offset_;
    int32_t upColor_ = 0;
    int32_t downColor_ = 0;
    int32_t grayColor_ = 0;
};
