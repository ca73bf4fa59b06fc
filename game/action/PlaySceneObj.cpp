#include "game/action/PlaySceneObj.h"

#include <cstring>

CPlaySceneObj::CPlaySceneObj(int32_t recordId) : CSceneObj(recordId) {}

void CPlaySceneObj::Load()
{
    CSceneObj::Load();
    CSceneRecord record(GetRecordId());
    if (!record.Exists())
        return;
    // The head and the background were read above; the maximum depth follows the "end" line.
    for (int i = 0; i < 5; ++i)
        record.Line();
    while (std::unique_ptr<CStr> line = record.Line())
        if (std::strcmp(line->GetText(), "end") == 0) {
            maxDepth_ = static_cast<int16_t>(record.Number(0));
            return;
        }
}
