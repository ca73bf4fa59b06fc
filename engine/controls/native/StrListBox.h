#pragma once
// CStrListBox: the engine-drawn list box filled from a string list, in its own font and
// colours: rows as high as the font's line plus one, each entry wrapped in its row (left
// justified 5 pixels in), the selected row in reversed colours. Backspace while it has the
// focus notifies with word 3 = -1 and word 2 = 8.
//
// Template kind 0x2d: the list box's values ("imgid", "imglibmsk": its scroll bar's images),
// then "strlistid", "strlibmsk", "fontid", "textcolor", "frmcolor", "backcolor".
#include <cstdint>
#include <memory>

#include "engine/controls/input/ListBox.h"
#include "engine/framework/TplRec.h"

class CStrListBox : public CListBox {
public:
    static constexpr int32_t kTemplateKind = 0x2d;
    // The text's inset of a left-justified row.
    static constexpr int16_t kMargin = 5;

    CStrListBox(int32_t id, const CRect& rect, int32_t notifyType, CBaseObj* target, CImgSet* barImages,
                std::unique_ptr<CTplRec> list, int16_t fontId, uint32_t textColor, uint32_t frameColor,
                uint32_t backColor);

    // Joining a window sizes the rows by the font.
    void SetOwner(CBaseObj* owner) override;
    bool HandleMessage(CMessage& message, CBaseObj* sender) override;
    // The list box's keys, and Backspace.
    bool WantsKey(int32_t key) override;
    bool DrawItem(CDrawEnv* env, int32_t index, const CRect& rect, bool highlighted) override;

    // Takes the list (none: no items).
    virtual void SetList(std::unique_ptr<CTplRec> list);
    void SetFont(int16_t fontId);
    void SetTextColor(uint32_t color) { textColor_ = color; }
    // A new string with the selected entry's text; null without a list.
    std::unique_ptr<CStr> GetCurrentString() const;
    // The list (lent); null without one.
    const CTplRec* GetList() const { return list_.get(); }
    uint32_t GetTextColor() const { return textColor_; }

    // The registrar's factories of kind 0x2d.
    static CTObj* ReadTemplate(int32_t kind, CRawParser* parser);
    static CBaseObj* Create(CTObj* tpl);

private:
    // The row height from the font, once the list has a window.
    void MeasureRows();

    uint32_t textColor_;
    std::unique_ptr<CTplRec> list_;
    int32_t justification_ = 0;
    int16_t fontId_;
};

class CTStrListBox : public CTListBox {
public:
    CTStrListBox(int32_t kind, CRawParser* parser);

    int32_t GetStrListId() const override { return strListId_; }
    uint32_t GetStrLibMsk() const { return strLibMask_; }
    int16_t GetFontId() const { return fontId_; }
    int32_t GetTextColor() const { return textColor_; }
    int32_t GetFrameColor() const { return frameColor_; }
    int32_t GetBackColor() const { return backColor_; }

private:
    int32_t strListId_ = 0;
    uint32_t strLibMask_ = 0;
    int16_t fontId_ = 0;
    int32_t textColor_ = 0;
    int32_t frameColor_ = 0;
    int32_t backColor_ = 0;
};
