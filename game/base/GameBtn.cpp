#include "game/base/GameBtn.h"

#include "engine/controls/input/CaptionFrame.h"
#include "engine/framework/Str.h"

int32_t CGameBtn::GetCursorAt(const CPoint*) { return IsEnabled() ? kHandCursor : 0; }

CBaseObj* CGameBtn::Create(CTObj* tpl)
{
    auto* t = static_cast<CTTextBtnFrame*>(tpl);
    return new CGameBtn(t->GetId(), t->GetRect().TopLeft(),
                        LabelText(*t, t->GetText(), t->GetStrLibMsk(), t->GetStrListId(), t->GetStrIndex()),
                        t->GetMsgType(), t->GetBuildOwner(), t->GetFontId(), t->GetPad(), t->GetNormalColor(),
                        t->GetHiliteColor(), t->GetDimColor());
}
