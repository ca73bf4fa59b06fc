#include "game/base/MainWnd.h"

#include <memory>

#include "engine/controls/ImageFrame.h"
#include "engine/controls/TplList.h"
#include "engine/controls/Wind.h"
#include "engine/framework/Appl.h"
#include "engine/framework/Message.h"
#include "engine/framework/MsgMgr.h"
#include "engine/framework/TplRec.h"
#include "engine/resources/RsrcCache.h"
#include "engine/resources/TplRecLoader.h"
#include "game/base/GameGlobals.h"
#include "game/base/ModuleLinks.h"
#include "game/base/ModuleMgr.h"
#include "game/base/SoundSlots.h"

namespace {

// Screen message ids by module type; type 0 has none.
constexpr int32_t kSwitchMessages[CModuleMgr::kModuleCount] = {0,   158, 153, 154, 156, 157,
                                                               150, 145, 146, 149, 148, 161};
constexpr int16_t kStackCapacity = 256;
constexpr int32_t kMsgCloseQuery = -9;

// The switch both ways of asking share: the current type again closes it (never the travel
// module); another type, once pushed, closes the current one or suspends it.
void Switch(CModuleMgr& manager, int32_t index, int32_t cur, bool suspendCurrent)
{
    if (manager.GetCurModule() == index) {
        if (cur != CModuleMgr::kTravel)
            manager.SwitchClose();
    } else if (manager.Request(index)) {
        if (!suspendCurrent && cur != CModuleMgr::kTravel)
            manager.SwitchClose();
        else
            manager.SwitchSuspend();
    }
}

} // namespace

int32_t CMainWnd::ModuleForMessage(int32_t id)
{
    for (int32_t i = 1; i < CModuleMgr::kModuleCount; ++i)
        if (kSwitchMessages[i] == id)
            return i;
    return -1;
}

CMainWnd::CMainWnd(int32_t id, const CRect& rect) : CFrame(kKindFrame, id, rect, false)
{
    StoreId(kId);
    SetTakesInput(true);
}

CMainWnd::~CMainWnd()
{
    if (Game().moduleMgr) {
        CModuleMgr* manager = Game().moduleMgr;
        Game().moduleMgr = nullptr;
        delete manager;
    }
}

void CMainWnd::SetOwner(CBaseObj* owner)
{
    if (owner == GetOwner())
        return;
    CFrame::SetOwner(owner);
    if (owner)
        RegisterLiveObject(this);
}

void CMainWnd::CreateModuleMgr()
{
    delete Game().moduleMgr;
    Game().moduleMgr = new CModuleMgr(this, kStackCapacity);
    Game().moduleMgr->Request(CModuleMgr::kTravel);
    Game().moduleMgr->Activate();
}

bool CMainWnd::HandleMessage(CMessage& message, CBaseObj*)
{
    const int32_t id = message.GetId();
    CModuleMgr* manager = Game().moduleMgr;
    if (id >= 145 && id <= 198) {
        if (const int32_t type = ModuleForMessage(id); type >= 0)
            SwitchToModule(type, true);
        return false;
    }
    switch (id) {
    case kMsgSuspendCurrent:
        if (manager)
            manager->SwitchSuspend();
        return false;
    case kMsgLeaveModule: {
        const auto p = static_cast<int32_t>(message.GetParam(0));
        StopSounds(nullptr, 0);
        if (manager && manager->SwitchClose()) {
            if (CRsrcCache* cache = GetRsrcCache())
                cache->FlushReleased();
            if (p == kStartOverList && AskStartOver())
                if (auto* travel = manager->GetModuleAs<CTravelLink>(CModuleMgr::kTravel))
                    travel->StartOver(this);
        }
        return true;
    }
    case kMsgRequestModule: {
        FadeOutMusic();
        const auto p = static_cast<int32_t>(message.GetParam(0));
        const bool q = message.GetParam(1) != 0;
        if (p >= 145 && p <= 198) {
            if (const int32_t type = ModuleForMessage(p); type >= 0)
                RequestModule(type, q);
        } else {
            RequestModule(p, q);
        }
        return true;
    }
    default: return false;
    }
}

void CMainWnd::SwitchToModule(int32_t index, bool suspendCurrent)
{
    // Record 50 is read and dropped, as the screens have always done before a switch.
    CreateTplRec(50, 0xFFFFFFFFu, false);
    CModuleMgr* manager = Game().moduleMgr;
    if (!manager)
        return;
    Switch(*manager, index, manager->GetCurModule(), suspendCurrent);
}

void CMainWnd::RequestModule(int32_t index, bool suspendCurrent)
{
    CModuleMgr* manager = Game().moduleMgr;
    if (!manager)
        return;
    const int32_t cur = manager->GetCurModule();
    manager->PrepareSwitch(index);
    if (suspendCurrent)
        manager->PushCurrent();
    Switch(*manager, index, cur, suspendCurrent);
}

bool CMainWnd::AskStartOver()
{
    CTplList list(kStartOverList, 0xFFFFFFFFu, GetRsrcCache());
    CBaseObj* built = list.Build(nullptr, GetApplication(), 0);
    auto* dialog = dynamic_cast<CImageFrame*>(built);
    int32_t result = 0;
    if (dialog)
        result = dialog->Run(CWind::GetTopWnd(), true);
    delete built;
    return result != kStartOverNo;
}

CMsgFilter::CMsgFilter() : CEventObj(0xFFFFFFFFu, -2, nullptr) {}

bool CMsgFilter::HandleMessage(CMessage& message, CBaseObj*) { return message.GetId() == kMsgCloseQuery; }

void ResetGlobalMsgFilter()
{
    if (CMsgFilter* filter = Game().msgFilter)
        filter->Reset();
}

void QueueLeaveModule(int16_t delay)
{
    CMainWnd* window = GetMainWnd();
    if (!window)
        return;
    QueueMessage(std::make_unique<CBaseObj>(window->GetKind(), window->GetId(), window->GetOwner()),
                 std::make_unique<CMessage>(CMainWnd::kMsgLeaveModule, 0, 0, delay), nullptr);
}
