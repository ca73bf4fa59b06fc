#include "engine/resources/RsrcBlock.h"

#include <cstring>

CRsrcBlock::CRsrcBlock(const char* type, int32_t id, int32_t size) : CMemory(size), id_(id) { SetType(type); }

void CRsrcBlock::SetType(const char* type)
{
    std::memset(type_, 0, sizeof type_);
    if (type)
        std::memcpy(type_, type, strnlen(type, 8));
}
