#include "game/base/TwoColListFrm.h"

#include "engine/graphics/DrawEnv.h"
#include "engine/graphics/ImgSet.h"
#include "engine/resources/RawParser.h"

CTwoColListFrm::CTwoColListFrm(int32_t id, const CRect& rect, int32_t notifyType, CBaseObj* target,
                               CImgSet* barImages, std::unique_ptr<CTplRec> list, int16_t fontId,
                               uint32_t textColor, uint32_t frameColor, uint32_t backColor,
                               const Columns& columns)
    : CStrListBox(id, rect, notifyType, target, barImages, std::move(list), fontId, textColor, frameColor,
                  backColor),
      columns_(columns)
{
}

bool CTwoColListFrm::DrawItem(CDrawEnv* env, int32_t index, const CRect& rect, bool highlighted)
{
    const CTplRec* list = GetList();
    if (!list)
        return false;
    if (!env)
        return true;
    const auto at = [&](int16_t offset) { return static_cast<int16_t>(rect.GetLeft() + offset); };
    const CRect cells[2] = {CRect(rect.GetTop(), at(columns_.left1), rect.GetBottom(), at(columns_.left2)),
                            CRect(rect.GetTop(), at(columns_.left2), rect.GetBottom(), rect.GetRight())};
    for (int32_t column = 0; column < 2; ++column)
        if (const CStr* text = list->GetEntry(2 * index + column))
            DrawCell(env, *text, cells[column], highlighted);
    return true;
}

void CTwoColListFrm::DrawCell(CDrawEnv* env, const CStr& text, const CRect& cell, bool highlighted)
{
    const int32_t color = env->GetForeColor();
    const int16_t font = env->GetFontId();
    env->SetFont(kFont);
    const auto text32 = static_cast<int32_t>(GetTextColor());
    const auto back32 = static_cast<int32_t>(GetBackColor());
    if (!IsTransparent()) {
        env->SetTextColor(highlighted ? text32 : back32);
        env->FillRect(cell);
    }
    if (!highlighted) {
        env->SetTextColor(text32);
    } else {
        // The fill takes whatever colour is current: the text colour, or on a transparent
        // list the colour the environment came with.
        if (columns_.highlightFill != 0)
            env->FillRect(cell);
        env->SetTextColor(back32);
    }
    env->DrawTextWrapped(cell, text.GetText(), text.GetLength(), kJustifyStart, kBkTransparent);
    env->SetTextColor(color);
    env->SetFont(font);
}

int32_t CTwoColListFrm::GetSelectedNumber() const
{
    const CTplRec* list = GetList();
    const CStr* entry = list ? list->GetEntry(2 * GetSelection()) : nullptr;
    int32_t number = 0;
    if (entry)
        entry->ToLong(&number);
    return number;
}

std::unique_ptr<CStr> CTwoColListFrm::GetSelectedText() const
{
    const CTplRec* list = GetList();
    const CStr* entry = list ? list->GetEntry(2 * GetSelection() + 1) : nullptr;
    return entry ? std::make_unique<CStr>(*entry) : nullptr;
}

CTObj* CTwoColListFrm::ReadTemplate(int32_t kind, CRawParser* parser)
{
    return new CTTwoColListFrm(kind, parser);
}

CBaseObj* CTwoColListFrm::Create(CTObj* tpl)
{
    auto* t = static_cast<CTTwoColListFrm*>(tpl);
    std::unique_ptr<CTplRec> list;
    t->GetStrListItem(t->GetStrLibMsk(), t->GetStrListId(), -1, &list, nullptr);
    return new CTwoColListFrm(t->GetId(), t->GetRect(), t->GetMsgType(), t->GetBuildOwner(),
                              t->LoadImage(t->GetImageLibMask(), t->GetImageId()).release(), std::move(list),
                              t->GetFontId(), static_cast<uint32_t>(t->GetTextColor()),
                              static_cast<uint32_t>(t->GetFrameColor()),
                              static_cast<uint32_t>(t->GetBackColor()), t->GetColumns());
}

CTTwoColListFrm::CTTwoColListFrm(int32_t kind, CRawParser* parser) : CTStrListBox(kind, parser)
{
    columns_.left1 = parser->ReadShort("Left1Offset");
    columns_.left2 = parser->ReadShort("Left2Offset");
    columns_.highlightFill = parser->ReadShort("HighLightOff");
}
