#include "game/travel/GameRecord.h"

#include <cstring>

#include "engine/resources/TextRsrc.h"

// Resource 0 of a type holds the type's format, not a record: a record id 0 (a node whose
// crossing names no record, an event type 0) is a missing record.
CGameRecord::CGameRecord(const char* type, int32_t id)
    : record_(id == 0 ? nullptr : CTextRsrc::Create(type, id, 0xFFFFFFFF, false))
{
}

CGameRecord::~CGameRecord() = default;

int32_t CGameRecord::GetSize() const { return record_ ? record_->GetSize() : 0; }

bool CGameRecord::Read(void* out, int32_t size, int32_t offset) const
{
    std::memset(out, 0, static_cast<size_t>(size));
    if (!record_ || offset < 0 || offset > record_->GetSize() - size)
        return false;
    return record_->GetBytes(out, size, offset);
}

int16_t CGameRecord::Short(int32_t offset) const
{
    int16_t v;
    Read(&v, 2, offset);
    return v;
}

int32_t CGameRecord::Long(int32_t offset) const
{
    int32_t v;
    Read(&v, 4, offset);
    return v;
}

CHilRecord::CHilRecord(int32_t id) : value_(CGameRecord("HIL", id).Long(0)) {}
