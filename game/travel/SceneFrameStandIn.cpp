// Stands in for the stop scene frame until it is built: a plain frame over the travel screen
// showing the scene's template list when there is one.
#include "engine/controls/TplList.h"
#include "engine/resources/LibMgr.h"
#include "game/shell/GameGlobals.h"
#include "game/travel/Travel.h"

namespace {

class CSceneStandIn : public CFrame {
public:
    CSceneStandIn(const CRect& rect, int32_t sceneId)
        : CFrame(kKindFrame, CTravel::kSceneFrameId, rect, true), sceneId_(sceneId)
    {
    }
    void SetSceneId(int32_t id) { sceneId_ = id; }
    void OnAttach() override
    {
        delete content_;
        content_ = nullptr;
        CLibMgr* libraries = GetLibMgr();
        if (!libraries || libraries->GetResourceSize("TPL", sceneId_, 0xFFFFFFFFu) <= 0)
            return;
        CTplList list(sceneId_, 0xFFFFFFFFu, GetRsrcCache());
        content_ = dynamic_cast<CFrame*>(list.Build(this, this, 0));
    }

private:
    int32_t sceneId_;
    CFrame* content_ = nullptr;
};

} // namespace

CFrame* MakeSceneFrame(CTravel& travel, int32_t sceneId)
{
    return new CSceneStandIn(travel.GetDrawnRect(), sceneId);
}

void SetSceneFrameId(CFrame& scene, int32_t sceneId)
{
    if (auto* standIn = dynamic_cast<CSceneStandIn*>(&scene))
        standIn->SetSceneId(sceneId);
}

void ApplySceneOutcome(CFrame&) {}
