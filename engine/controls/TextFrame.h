#pragma once
// CTextFrame: a graphic object showing one text in a font and colour inside its rectangle,
// on one line placed by its two justifications or wrapped at word breaks, over its background
// unless it is transparent, and inside a border when it has border bits. A frame without text
// draws nothing at all.
//
// Its templates come as two kinds: 8 takes the text from a string list by reference
// ("strlistid", "strlibmsk", "strindex"), 9 carries the text written in the template. Both
// then read "fontid", "textcolor", "bckcolor", "hjust", "vjust", "Wrap?" and "border?"; a
// colour of -1 is the default (text 0, background 255).
#include <cstdint>
#include <memory>

#include "engine/controls/Frame.h"
#include "engine/controls/TFrame.h"

class CStr;
class CTTextFrame;
class CTplRec;

class CTextFrame : public CFrame {
public:
    static constexpr uint32_t kKind = 7;

    // Transparent, with own content; the text (may be null) is adopted. With border and no
    // border bit yet, all four border bits are set.
    CTextFrame(int32_t id, const CRect& rect, std::unique_ptr<CStr> text, int16_t fontId, bool wrap,
               bool border);
    // An empty rectangle at the point.
    CTextFrame(int32_t id, const CPoint& at, std::unique_ptr<CStr> text, int16_t fontId, bool wrap,
               bool border);
    ~CTextFrame() override;

    void DrawContent(CDrawEnv* env, const CRect& clip) override;

    // Slot 31: appends the string to the text (taking it over), then redraws.
    virtual void AppendText(std::unique_ptr<CStr> text);
    // Slot 32: a copy of the text, empty when there is none.
    virtual std::unique_ptr<CStr> GetText() const;
    // Slot 33: the text becomes every entry of the list, each followed by a line end.
    virtual void SetTextFromList(const CTplRec& list);
    // Slot 34: the string (null clears the text) replaces the text, then redraws.
    virtual void AdoptText(std::unique_ptr<CStr> text);

    // A copy of the string's text (null clears it) replaces the text, then redraws; the
    // string itself is dropped.
    virtual void SetText(std::unique_ptr<CStr> text);

    // These store a value without asking for drawing.
    void SetTextColor(uint32_t color) { textColor_ = color; }
    void SetHJust(int32_t just) { hJust_ = just; }
    CTextFrame* SetVJust(int32_t just)
    {
        vJust_ = just;
        return this;
    }
    void SetFontId(int16_t id) { fontId_ = id; }
    void SetWrap(bool wrap) { wrap_ = wrap ? 1 : 0; }

    const CStr* PeekText() const { return text_.get(); }
    uint32_t GetTextColor() const { return textColor_; }
    int16_t GetFontId() const { return fontId_; }
    int32_t GetHJust() const { return hJust_; }
    int32_t GetVJust() const { return vJust_; }
    bool GetWrap() const { return wrap_ != 0; }

    // The registrar's create function of kinds 8 and 9.
    static CBaseObj* Create(CTObj* tpl);

protected:
    // Takes the template's text: its literal text, else the string-list entry it names (or,
    // for a negative index, every entry of the list).
    void TakeTemplateText(const CTTextFrame& tpl);

private:
    void Init(std::unique_ptr<CStr> text, int16_t fontId, bool wrap, bool border);
    // Marks the frame changed and has its window invalidate its rectangle.
    void Changed();

    std::unique_ptr<CStr> text_;
    uint32_t textColor_ = 0;
    int16_t fontId_ = 0;
    int32_t hJust_ = 0;
    int32_t vJust_ = 0;
    uint8_t wrap_ = 0;
};

// The template of a text frame.
class CTTextFrame : public CTFrame {
public:
    static constexpr int32_t kKindByReference = 8;
    static constexpr int32_t kKindLiteral = 9;
    // The longest text a template holds.
    static constexpr int16_t kMaxText = 2048;

    // Reads the frame values, then the literal text (literal) or the string reference, then
    // the text values.
    CTTextFrame(int32_t kind, CRawParser* parser, bool literal);
    CTTextFrame(const CTTextFrame& other);
    ~CTTextFrame() override;

    // Slot 3: colours of -1 become their defaults.
    void Prepare() override;
    int32_t GetStrIndex() const override { return strIndex_; }
    int32_t GetStrListId() const override { return strListId_; }
    // Slot 8: the frame values, then the text colour, background and justifications.
    void ApplyTo(CFrame* object) override;

    uint32_t GetStrLibMsk() const { return strLibMask_; }
    // The literal text; null when the text is a string-list reference.
    const CStr* GetText() const { return text_.get(); }
    int16_t GetFontId() const { return fontId_; }
    uint32_t GetTextColor() const { return textColor_; }
    uint32_t GetBackColor() const { return backColor_; }
    int16_t GetHJust() const { return hJust_; }
    int16_t GetVJust() const { return vJust_; }
    bool GetWrap() const { return wrap_; }
    bool GetBorder() const { return border_; }

    // The registrar's template readers of kinds 8 and 9.
    static CTObj* ReadByReference(int32_t kind, CRawParser* parser);
    static CTObj* ReadLiteral(int32_t kind, CRawParser* parser);

private:
    std::unique_ptr<CStr> text_;
    int32_t strListId_ = 0;
    uint32_t strLibMask_ = 0;
    int32_t strIndex_ = 0;
    int16_t fontId_ = 0;
    uint32_t textColor_ = 0;
    uint32_t backColor_ = 0;
    int16_t hJust_ = 0;
    int16_t vJust_ = 0;
    bool wrap_ = false;
    bool border_ = false;
};
