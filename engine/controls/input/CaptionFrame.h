#pragma once
// CCaptionFrame: a text object that sizes itself to its text plus a margin on every side and
// shows the text centred both ways. Without text it shows one space. Its templates are the
// text frame's with "pad" after them: kind 0x0c takes the text by string reference, 0x0d
// carries it; a caption is placed at the template rectangle's top-left corner.
#include <cstdint>
#include <memory>

#include "engine/controls/TextFrame.h"

struct FontInfo;

class CCaptionFrame : public CTextFrame {
public:
    static constexpr int32_t kKindByReference = 0x0c;
    static constexpr int32_t kKindLiteral = 0x0d;

    // At the point, in the font, sized to the text (null: one space).
    CCaptionFrame(int32_t id, const CPoint& at, std::unique_ptr<CStr> text, int16_t fontId, int16_t pad,
                  bool border);

    // Slot 34: the text (null: one space) replaces the old one and the caption takes its size.
    void AdoptText(std::unique_ptr<CStr> text) override;

    int16_t GetPad() const { return static_cast<int16_t>(pad2_ / 2); }

    // The size of a caption: the text's width plus the pads, the font's ascent, descent and
    // external leading plus the pads.
    static CPoint SizeFor(int32_t textWidth, const FontInfo& font, int16_t pad);

    // The registrar's factories of kinds 0x0c and 0x0d.
    static CTObj* ReadByReference(int32_t kind, CRawParser* parser);
    static CTObj* ReadLiteral(int32_t kind, CRawParser* parser);
    static CBaseObj* Create(CTObj* tpl);

private:
    // Measures the text in a small off-screen environment of its own.
    void FitText();

    int16_t pad2_;
};

// The template of a caption: the text frame's values, then "pad"; both justifications centred.
class CTCaptionFrame : public CTTextFrame {
public:
    CTCaptionFrame(int32_t kind, CRawParser* parser, bool literal);

    void ApplyTo(CFrame* object) override;
    int16_t GetPad() const { return pad_; }

private:
    int16_t pad_ = 0;
};

// The text a label template names: a copy of its literal text, or the entry of the string list
// it refers to; null when there is none.
std::unique_ptr<CStr> LabelText(const CTFrame& tpl, const CStr* literal, uint32_t libraryMask, int32_t listId,
                                int32_t index);
