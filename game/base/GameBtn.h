#pragma once
// CGameBtn: the game's text button. It is the engine's text button that shows the hand cursor
// (105) while the pointer is over it and it is enabled.
//
// Template kinds 0x22 (label from a string list) and 0x23 (label written in the template), read
// by the engine's text-button readers.
#include <cstdint>
#include <memory>

#include "engine/controls/input/TextBtnFrame.h"

class CGameBtn : public CTextBtnFrame {
public:
    static constexpr int32_t kHandCursor = 105;

    using CTextBtnFrame::CTextBtnFrame;

    // The hand while enabled, no cursor of its own otherwise; the point does not matter.
    int32_t GetCursorAt(const CPoint* point) override;
    void OnMouseDown(bool inside, CMessage& message) override { CPushFrame::OnMouseDown(inside, message); }

    // The registrar's factory of kinds 0x22 and 0x23 (the readers are CTextBtnFrame's).
    static CBaseObj* Create(CTObj* tpl);
};
