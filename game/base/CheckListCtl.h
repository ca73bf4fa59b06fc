#pragma once
// CCheckListCtl: a list box of text lines from a string list, each with a check mark to its
// left that the player toggles with Enter or a click on the selected line. Every line keeps a
// state word: 1 checked, 2 dimmed (a dimmed line can be neither selected nor toggled, and the
// up and down keys skip it). A landmark screen gives it new lines with SetList.
//
// Template kind 0x45: the list box's values ("imgid", "imglibmsk": its scroll bar), then
// "ckimgid", "ckimglibmsk" (the check marks: image 0 unchecked, 3 checked, each + 2 dimmed),
// "strlistid", "strlibmsk", "fontid", "my_txtcolor", "my_hilitecolor", "my_dimcolor" and
// "my_backcolor".
#include <cstdint>
#include <memory>
#include <vector>

#include "engine/controls/input/ListBox.h"
#include "engine/framework/TplRec.h"

class CImgSet;

class CCheckListCtl : public CListBox {
public:
    static constexpr int32_t kTemplateKind = 0x45;
    enum : uint16_t { kChecked = 1, kDimmed = 2 };
    // Word 2 of the notification a toggle sends.
    static constexpr int32_t kToggled = 13;

    struct Looks {
        int32_t textColor = 0;
        int32_t hiliteColor = 0;
        int32_t dimColor = 0;
        int32_t backColor = 0;
        int16_t fontId = 0;
    };

    // Both sets are taken over (null allowed).
    CCheckListCtl(int32_t id, const CRect& rect, int32_t notifyType, CBaseObj* target, CImgSet* checkImages,
                  CImgSet* barImages, std::unique_ptr<CTplRec> list, const Looks& looks);
    ~CCheckListCtl() override;

    // Joining a window sizes the lines by the font and the check marks.
    void SetOwner(CBaseObj* owner) override;
    // Enter toggles; up and down skip dimmed lines.
    bool HandleMessage(CMessage& message, CBaseObj* sender) override;
    bool WantsKey(int32_t key) override;
    // A line inside the list is selected only when it has a state and is not dimmed.
    void SetItemIndex(int32_t index) override;
    bool DrawItem(CDrawEnv* env, int32_t index, const CRect& rect, bool highlighted) override;
    void OnReclick(const CPoint&) override { Toggle(); }

    // Takes the lines; every state is cleared. A list without entries keeps the old line
    // count and has no states.
    void SetList(std::unique_ptr<CTplRec> list);
    // Flips the selected line's check and notifies (word 2 = 13, word 3 = -1).
    void Toggle();
    // A new list with the text of every checked line, in order.
    std::unique_ptr<CTplRec> GetCheckedLines() const;

    // The state word of a line; 0 without one.
    uint16_t GetState(int32_t line) const;
    void SetState(int32_t line, uint16_t state);
    // The image a line shows: 3 checked, else 0; + 2 dimmed.
    static int16_t CheckImage(uint16_t state);

    // The registrar's factories of kind 0x45.
    static CTObj* ReadTemplate(int32_t kind, CRawParser* parser);
    static CBaseObj* Create(CTObj* tpl);

private:
    bool Selectable(int32_t line) const;
    void MoveSelection(int32_t direction);
    void Notify(int32_t what, int32_t line);

    std::unique_ptr<CImgSet> checks_;
    std::unique_ptr<CTplRec> list_;
    std::vector<uint16_t> states_; // empty: no state array
    Looks looks_;
    int16_t checkWidth_ = 0;
    int16_t checkHeight_ = 0;
};

class CCheckListTpl : public CTListBox {
public:
    CCheckListTpl(int32_t kind, CRawParser* parser);

    int32_t GetCheckImageId() const { return checkImageId_; }
    uint32_t GetCheckLibMask() const { return checkLibMask_; }
    int32_t GetStrListId() const override { return strListId_; }
    uint32_t GetStrLibMsk() const { return strLibMask_; }
    const CCheckListCtl::Looks& GetLooks() const { return looks_; }

private:
    int32_t checkImageId_ = 0;
    uint32_t checkLibMask_ = 0;
    int32_t strListId_ = 0;
    uint32_t strLibMask_ = 0;
    CCheckListCtl::Looks looks_;
};
