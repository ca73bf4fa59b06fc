#include "game/base/ModuleMgr.h"

#include "engine/controls/Wind.h"
#include "engine/controls/text/PopWind.h"
#include "engine/framework/Str.h"
#include "engine/framework/TplRec.h"
#include "engine/resources/TplRecLoader.h"
#include "game/base/CtrlBarFrm.h"
#include "game/base/Module.h"
#include "game/base/ModuleBackFrm.h"
#include "game/base/ModuleConstructors.h"
#include "game/base/ModuleLinks.h"

namespace {

const CRect kCtrlBarRect(401, 0, 480, 640);
constexpr int32_t kBuildingMessage = 0;
constexpr int32_t kMessagePicture = 318;
constexpr int16_t kMessageFont = 19;

void DismissHelp()
{
    if (CPopWind* popup = CPopWind::GetPopup())
        popup->Dismiss();
}

} // namespace

CModuleMgr::CModuleMgr(CFrame* gameWindow, int16_t capacity) : CIdStack(capacity), gameWindow_(gameWindow) {}

CModuleMgr::~CModuleMgr()
{
    HideMessage();
    if (ctrlBar_) {
        CFrame* bar = ctrlBar_->GetGraphic();
        bar->RemoveFromParent();
        bar->Destroy();
        ctrlBar_ = nullptr;
    }
    while (current_ != -1) {
        DestroyModule(current_);
        current_ = Pop();
    }
    // Suspended modules lie on the stack below the current one; none is left behind.
    for (int32_t i = 0; i < kModuleCount; ++i)
        DestroyModule(i);
}

CModule* CModuleMgr::GetModule(int32_t i) const
{
    return ValidSlot(i) ? modules_[static_cast<size_t>(i)] : nullptr;
}

bool CModuleMgr::Request(int32_t i)
{
    if (Contains(static_cast<int16_t>(i)))
        return false;
    return Push(static_cast<int16_t>(i));
}

void CModuleMgr::MakeCtrlBar()
{
    ctrlBar_ = new CCtrlBarFrm(kCtrlBarRect);
    gameWindow_->AddChild(ctrlBar_->GetGraphic(), true);
    ctrlBar_->GetGraphic()->OnAttach();
}

bool CModuleMgr::Activate()
{
    const int16_t i = Pop();
    if (i == -1)
        return false;
    if (!ctrlBar_)
        MakeCtrlBar();
    if (CModule* module = GetModule(i)) {
        current_ = i;
        if (module->GetState() == CModule::kStateSuspended)
            module->Resume();
        HideMessage();
    } else {
        if (!firstActivation_)
            firstActivation_ = true;
        else if (!messageFrame_)
            ShowMessage(kBuildingMessage);
        if (CreateModule(i))
            current_ = i;
        HideMessage();
    }
    if (ctrlBar_)
        ctrlBar_->SetupForModule(current_);
    return false;
}

bool CModuleMgr::SwitchClose()
{
    DismissHelp();
    if (current_ == -1 || Peek() == -1)
        return false;
    CModule* module = GetModule(current_);
    if (module && !module->Query(0))
        return false;
    DestroyModule(current_);
    current_ = -1;
    Activate();
    return true;
}

bool CModuleMgr::SwitchSuspend()
{
    const int32_t old = current_;
    if (CModule* module = GetModule(old); module && module->GetState() != CModule::kStateSuspended)
        module->Suspend();
    current_ = -1;
    Activate();
    if (Peek() != old)
        Push(static_cast<int16_t>(old));
    return false;
}

bool CModuleMgr::DestroyModule(int32_t i)
{
    CModule* module = GetModule(i);
    if (!module)
        return true;
    module->Hide();
    modules_[static_cast<size_t>(i)] = nullptr;
    // Taken out of the window now, freed once no handler of it can still be running.
    module->GetGraphic()->Destroy();
    return true;
}

std::unique_ptr<CStr> CModuleMgr::GetMessageText(int32_t n) const
{
    std::unique_ptr<CTplRec> list = CreateTplRec(kMessageList, 0xFFFFFFFFu, false);
    return list ? list->GetEntryString(n) : nullptr;
}

void CModuleMgr::ShowMessage(int32_t n) { ShowMessageText(GetMessageText(n)); }

void CModuleMgr::ShowMessageText(std::unique_ptr<CStr> text)
{
    if (!text)
        text = std::make_unique<CStr>("Default string!");
    HideMessage();
    messageFrame_ = new CModuleBackFrm(-2, CRect(0, 0, 480, 640), 0, 0);
    gameWindow_->AddChild(messageFrame_, true);
    messageFrame_->Layout(kMessagePicture, std::move(text), kMessageFont);
}

void CModuleMgr::HideMessage()
{
    if (!messageFrame_)
        return;
    CModuleBackFrm* frame = messageFrame_;
    messageFrame_ = nullptr;
    frame->Destroy();
}

void CModuleMgr::PrepareSwitch(int32_t type)
{
    DismissHelp();
    int32_t message = -1;
    switch (type) {
    case 3: message = 6; break;
    case 4: message = 2; break;
    case 6: message = 3; break;
    case 7: message = 4; break;
    case 8: message = 5; break;
    case kLandmark:
        if (const auto* travel = GetModuleAs<CTravelLink>(kTravel)) {
            const int32_t landmark = travel->GetLandmarkId();
            if (landmark == 10108)
                ShowMessage(1);
            else if (landmark == -52)
                ShowMessage(7);
            else
                SuppressNextMessage();
        }
        return;
    default: return;
    }
    if (current_ == kTravel)
        if (CModule* travel = GetModule(kTravel))
            travel->Suspend();
    ShowMessage(message);
}

bool CModuleMgr::CreateModule(int32_t i)
{
    if (!ValidSlot(i))
        return false;
    if (GetModule(i))
        return true;
    const CRect rect = ModuleRect(i);
    CModule* module = MakeModule(i, rect, *this);
    if (!module)
        return false;
    modules_[static_cast<size_t>(i)] = module;
    CFrame* graphic = module->GetGraphic();
    gameWindow_->AddChild(graphic, true);
    if (module->IsFrameModule()) {
        graphic->OnAttach();
    } else {
        if (auto* anim = dynamic_cast<CAnimFrame*>(graphic))
            anim->SetDrawEnv(gameWindow_->GetDrawEnv());
        module->Start();
    }
    gameWindow_->Draw(true);
    if (CPopWind* popup = CPopWind::GetPopup())
        popup->ShowFor(gameWindow_);
    return true;
}
