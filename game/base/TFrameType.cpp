#include "game/base/TFrameType.h"

#include "engine/resources/RawParser.h"

CTFrameType::CTFrameType(int32_t kind, CRawParser* parser) : CTTextFrame(kind, parser, false)
{
    frameType_ = parser->ReadLong("FRAMETYPE");
}

CTObj* CTFrameType::Read(int32_t kind, CRawParser* parser) { return new CTFrameType(kind, parser); }

CBaseObj* CTFrameType::Create(CTObj* tpl)
{
    CBaseObj* text = CTextFrame::Create(tpl);
    if (text)
        text->SetKind(static_cast<uint32_t>(static_cast<CTFrameType*>(tpl)->GetFrameType()));
    return text;
}
