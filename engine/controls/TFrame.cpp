#include "engine/controls/TFrame.h"

#include "engine/controls/BTplList.h"
#include "engine/controls/Frame.h"
#include "engine/controls/TWind.h"
#include "engine/controls/Wind.h"
#include "engine/framework/Str.h"
#include "engine/framework/TplRec.h"
#include "engine/resources/RawParser.h"
#include "engine/resources/Registrar.h"

CTFrame::CTFrame(int32_t kind, CRawParser* parser) : CTObj(kind, parser)
{
    parentId_ = parser->ReadLong("parentid");
    flags_ = static_cast<uint32_t>(parser->ReadLong("flags"));
    helpId_ = parser->ReadLong("helpid");
    helpLibMask_ = static_cast<uint32_t>(parser->ReadLong("helplibmask"));
    cursorId_ = parser->ReadLong("cursorid");
    cursorLibMask_ = static_cast<uint32_t>(parser->ReadLong("curslibmask"));
    const int16_t top = parser->ReadShort("top");
    const int16_t left = parser->ReadShort("left");
    const int16_t bottom = parser->ReadShort("bottom");
    const int16_t right = parser->ReadShort("right");
    rect_.Set(top, left, bottom, right);
}

void CTFrame::ApplyTo(CFrame* object)
{
    if (!object)
        return;
    object->SetFlags((flags_ & ~CFrame::kFlagOwnContent) | (object->GetFlags() & CFrame::kFlagOwnContent));
    if (helpId_ != 0)
        object->SetHelpId(helpId_);
    if (flags_ & CFrame::kFlagDirect)
        object->SetVisible(false);
}

void CTFrame::GetStrListItem(uint32_t libraryMask, int32_t listId, int32_t index,
                             std::unique_ptr<CTplRec>* list, std::unique_ptr<CStr>* text) const
{
    if (list)
        list->reset();
    if (text)
        text->reset();
    if (CBTplList* owner = GetTplList())
        owner->GetString(libraryMask, listId, index, list, text,
                         reinterpret_cast<const CTplRec*>(buildValue_));
}

std::unique_ptr<CImgSet> CTFrame::LoadImage(uint32_t libraryMask, int32_t id) const
{
    CBTplList* owner = GetTplList();
    return owner ? owner->LoadImage(libraryMask, id, true, (flags_ & kFlagReportMissing) == 0) : nullptr;
}

CTObj* CTFrame::Read(int32_t kind, CRawParser* parser) { return new CTFrame(kind, parser); }

CBaseObj* CTFrame::CreateFrame(CTObj* tpl)
{
    auto* t = static_cast<CTFrame*>(tpl);
    return new CFrame(CFrame::kKindFrame, t->GetId(), t->GetRect(), false);
}

void RegisterEngineTemplateKinds()
{
    CRegistrar::Register(CTFrame::kKindPlainFrame, &CTFrame::CreateFrame, &CTFrame::Read);
    CRegistrar::Register(CTWind::kKind, &CWind::CreateFromTemplate, &CTWind::Read);
}
