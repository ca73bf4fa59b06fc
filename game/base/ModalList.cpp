#include "game/base/ModalList.h"

#include "engine/controls/ImageFrame.h"
#include "engine/controls/TplList.h"
#include "engine/controls/Wind.h"
#include "game/base/GameGlobals.h"

CFrame* BuildListFrame(int32_t listId, CFrame* root, CBaseObj* owner)
{
    CTplList list(listId, 0xFFFFFFFFu, GetRsrcCache());
    CBaseObj* built = list.Build(root, owner, 0);
    auto* frame = dynamic_cast<CFrame*>(built);
    if (!frame)
        delete built;
    return frame;
}

std::unique_ptr<CImageFrame> MakeModalList(int32_t listId, CBaseObj* target)
{
    std::unique_ptr<CFrame> built(BuildListFrame(listId, nullptr, target));
    if (!dynamic_cast<CImageFrame*>(built.get()))
        return nullptr;
    return std::unique_ptr<CImageFrame>(static_cast<CImageFrame*>(built.release()));
}

int32_t RunModalList(int32_t listId, CBaseObj* target)
{
    const std::unique_ptr<CImageFrame> dialog = MakeModalList(listId, target);
    return dialog ? dialog->Run(CWind::GetTopWnd(), true) : 0;
}
