#include "engine/framework/Appl.h"

namespace {

CBaseAppl* g_appl = nullptr;

} // namespace

CBaseAppl::CBaseAppl() : CEventObj(0, 1, nullptr) { g_appl = this; }

CBaseAppl::~CBaseAppl()
{
    if (g_appl == this)
        g_appl = nullptr;
}

CBaseAppl* CBaseAppl::GetAppl() { return g_appl; }
CBaseAppl* GetApplication() { return g_appl; }
