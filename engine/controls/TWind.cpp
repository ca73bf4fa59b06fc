#include "engine/controls/TWind.h"

#include "engine/resources/RawParser.h"

CTWind::CTWind(int32_t kind, CRawParser* parser) : CTObj(kind, parser)
{
    parentId_ = parser->ReadLong("parentid");
    const int16_t v = parser->ReadShort("Y");
    const int16_t h = parser->ReadShort("X");
    flags_ = static_cast<uint32_t>(parser->ReadLong("flags"));
    if (h != -1 || v != -1)
        position_ = CPoint(h, v);
}

CTObj* CTWind::Read(int32_t kind, CRawParser* parser) { return new CTWind(kind, parser); }
