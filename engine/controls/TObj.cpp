#include "engine/controls/TObj.h"

#include "engine/resources/RawParser.h"

CTObj::CTObj(int32_t kind, CRawParser* parser) : kind_(kind), id_(parser->ReadLong("ID")) {}
