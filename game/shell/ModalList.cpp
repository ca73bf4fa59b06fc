#include "game/shell/ModalList.h"

#include <memory>

#include "engine/controls/ImageFrame.h"
#include "engine/controls/TplList.h"
#include "engine/controls/Wind.h"
#include "game/shell/GameGlobals.h"

int32_t RunModalList(int32_t listId, CBaseObj* target)
{
    CTplList list(listId, 0xFFFFFFFFu, GetRsrcCache());
    const std::unique_ptr<CBaseObj> built(list.Build(nullptr, target, 0));
    auto* dialog = dynamic_cast<CImageFrame*>(built.get());
    return dialog ? dialog->Run(CWind::GetTopWnd(), true) : 0;
}
