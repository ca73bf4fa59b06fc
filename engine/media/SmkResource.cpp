#include "engine/media/SmkResource.h"

#include "engine/framework/File.h"
#include "engine/resources/LibMgr.h"
#include "platform/Files.h"

std::optional<CSmkLocation> FindSmkResource(int32_t id, uint32_t mask)
{
    CLibMgr* mgr = GetLibMgr();
    if (!mgr)
        return std::nullopt;
    CSmkLocation where;
    where.spec = mgr->GetResourceFileSpec("SMK", id, mask);
    if (!where.spec || !where.spec->GetPath())
        return std::nullopt;
    int32_t offset = 0;
    int32_t size = 0;
    if (!mgr->OpenResourceFile("SMK", id, &offset, &size, mask, false) || offset < 0 || size < 0)
        return std::nullopt;
    const auto host = plat::ToHostPath(where.spec->GetPath());
    if (!host)
        return std::nullopt;
    where.hostPath = *host;
    where.offset = offset;
    where.size = size;
    return where;
}
