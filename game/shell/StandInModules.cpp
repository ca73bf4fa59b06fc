#include "game/shell/StandInModules.h"

#include "engine/controls/TplList.h"
#include "game/shell/GameGlobals.h"

void CSmackerModule::OnAttach()
{
    CTplList list(kScreenList, 0xFFFFFFFFu, GetRsrcCache());
    if (CBaseObj* root = list.Build(this, this, 0))
        if (auto* frame = dynamic_cast<CFrame*>(root))
            frame->AfterBuild();
}
