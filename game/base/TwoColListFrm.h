#pragma once
// CTwoColListFrm: a string list box whose rows show two columns, a number or label and a text,
// from consecutive entries of its list (row i: entries 2i and 2i + 1), always in font 3. The
// selected row is drawn in swapped colours. The screens that fill it set the row count to the
// number of pairs and read the selected row's number and text.
//
// Template kind 0x46: the string list box's values, then "Left1Offset", "Left2Offset" (the
// columns' starts from the row's left edge) and "HighLightOff" (not 0: the selected row's cells
// are filled once more before their text).
#include <cstdint>
#include <memory>

#include "engine/controls/native/StrListBox.h"

class CTwoColListFrm : public CStrListBox {
public:
    static constexpr int32_t kTemplateKind = 0x46;
    static constexpr int16_t kFont = 3;

    struct Columns {
        int16_t left1 = 0;
        int16_t left2 = 0;
        int16_t highlightFill = 0;
    };

    CTwoColListFrm(int32_t id, const CRect& rect, int32_t notifyType, CBaseObj* target, CImgSet* barImages,
                   std::unique_ptr<CTplRec> list, int16_t fontId, uint32_t textColor, uint32_t frameColor,
                   uint32_t backColor, const Columns& columns);

    // Both cells of the row whose entries exist; false only without a list.
    bool DrawItem(CDrawEnv* env, int32_t index, const CRect& rect, bool highlighted) override;

    // The number written in the selected row's first entry (as far as it reads as one); 0
    // without a list or that entry.
    int32_t GetSelectedNumber() const;
    // A new string with the selected row's second entry; null without a list or that entry.
    std::unique_ptr<CStr> GetSelectedText() const;

    // The registrar's factories of kind 0x46.
    static CTObj* ReadTemplate(int32_t kind, CRawParser* parser);
    static CBaseObj* Create(CTObj* tpl);

private:
    void DrawCell(CDrawEnv* env, const CStr& text, const CRect& cell, bool highlighted);

    Columns columns_;
};

class CTTwoColListFrm : public CTStrListBox {
public:
    CTTwoColListFrm(int32_t kind, CRawParser* parser);

    const CTwoColListFrm::Columns& GetColumns() const { return columns_; }

private:
    CTwoColListFrm::Columns columns_;
};
