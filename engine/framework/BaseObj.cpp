#include "engine/framework/BaseObj.h"

namespace {

int32_t g_lastId = -1;

} // namespace

CBaseObj::CBaseObj(uint32_t kind, int32_t id, CBaseObj* owner)
    : kind_(kind), id_(id == kNewId ? NextId() : id), owner_(owner)
{
}

bool CBaseObj::Matches(const CBaseObj& key) const
{
    if (id_ != kAnyId && key.id_ != kAnyId && id_ != key.id_)
        return false;
    if (kind_ != kAnyKind && key.kind_ != kAnyKind && kind_ != key.kind_)
        return false;
    return !owner_ || !key.owner_ || owner_ == key.owner_;
}

int32_t CBaseObj::NextId()
{
    // Wraps through unsigned arithmetic; a run never hands out two billion ids.
    g_lastId = static_cast<int32_t>(static_cast<uint32_t>(g_lastId) - 1u);
    return g_lastId;
}

void CBaseObj::ResetIdCounter() { g_lastId = -1; }
