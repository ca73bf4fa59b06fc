#include "engine/framework/DeferredDelete.h"

#include <algorithm>
#include <vector>

#include "engine/framework/BaseObj.h"

namespace {

int32_t g_depth = 0;
std::vector<CBaseObj*> g_pending;

void FreePending()
{
    // A destructor may defer further objects; they are freed in the same sweep.
    while (!g_pending.empty()) {
        CBaseObj* object = g_pending.back();
        g_pending.pop_back();
        delete object;
    }
}

} // namespace

CDispatchScope::CDispatchScope() { ++g_depth; }

CDispatchScope::~CDispatchScope()
{
    if (--g_depth == 0)
        FreePending();
}

void DeleteWhenSafe(CBaseObj* object)
{
    if (!object || IsDeletePending(object))
        return;
    if (g_depth == 0) {
        delete object;
        return;
    }
    g_pending.push_back(object);
}

bool IsDeletePending(const CBaseObj* object)
{
    return std::find(g_pending.begin(), g_pending.end(), object) != g_pending.end();
}

int32_t GetDispatchDepth() { return g_depth; }

void ResetDeferredDeletes()
{
    g_depth = 0;
    FreePending();
}
