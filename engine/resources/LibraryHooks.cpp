#include "engine/resources/LibraryHooks.h"

#include <memory>

#include "engine/framework/ApplHooks.h"
#include "engine/resources/LibMgr.h"

void InstallLibraryHooks()
{
    ApplHooks& hooks = GetApplHooks();
    hooks.createLibMgr = [] { SetLibMgr(std::make_unique<CLibMgr>()); };
    hooks.deleteLibMgr = [] { SetLibMgr(nullptr); };
    hooks.libraryCount = [] { return static_cast<int32_t>(GetLibMgr()->GetCount()); };
}
