#include "game/base/ModalList.h"

#include "engine/controls/ImageFrame.h"
#include "engine/controls/TplList.h"
#include "engine/controls/Wind.h"
#include "game/base/GameGlobals.h"

namespace {

CFrame* BuildFrame(int32_t listId, uint32_t libraryMask, CFrame* root, CBaseObj* owner)
{
    CTplList list(listId, libraryMask, GetRsrcCache());
    CBaseObj* built = list.Build(root, owner, 0);
    auto* frame = dynamic_cast<CFrame*>(built);
    if (!frame)
        delete built;
    return frame;
}

} // namespace

CFrame* BuildListFrame(int32_t listId, CFrame* root, CBaseObj* owner)
{
    return BuildFrame(listId, 0xFFFFFFFFu, root, owner);
}

CFrame* BuildHeldScreen(int32_t listId, uint32_t libraryMask, CFrame& holder, CBaseObj* owner)
{
    CFrame* screen = BuildFrame(listId, libraryMask, nullptr, owner);
    if (!screen)
        return nullptr;
    screen->RemoveFromParent();
    // The holder moves before it takes the screen: moved after, it would carry the screen a
    // second time by the screen's own offset (off the game area for a screen not at 0, 0).
    holder.MoveTo(0, 0, 0);
    holder.SetBounds(screen->GetDrawnRect());
    holder.AddChild(screen, false);
    return screen;
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
