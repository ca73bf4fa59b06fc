// The game application's commands: every engine message that reaches the application.
#include <string>

#include "engine/controls/EditTarget.h"
#include "engine/controls/ImageFrame.h"
#include "engine/controls/MenuBar.h"
#include "engine/controls/TopWnd.h"
#include "engine/framework/MsgBox.h"
#include "engine/framework/MsgMgr.h"
#include "engine/framework/Options.h"
#include "engine/framework/Printer.h"
#include "engine/framework/Str.h"
#include "engine/framework/TplRec.h"
#include "engine/media/SndMgr.h"
#include "engine/resources/RsrcCache.h"
#include "engine/resources/TplRecLoader.h"
#include "game/base/GameGlobals.h"
#include "game/base/MainWnd.h"
#include "game/base/ModalList.h"
#include "game/base/ModuleMgr.h"
#include "game/base/SoundSlots.h"
#include "game/base/save/QM3Doc.h"
#include "game/landmarks/Landmark.h"
#include "game/shell/FileCommands.h"
#include "game/shell/QM3Appl.h"
#include "game/travel/Travel.h"
#include "platform/Desktop.h"

namespace {

// Menu items.
constexpr int32_t kItemEditTarget = 3010;
constexpr int32_t kItemScreenBorder = 4001;
constexpr int32_t kItemCaptions = 4002;
constexpr int32_t kItemSound = 4003;

constexpr int32_t kGameWindowId = 10;
constexpr uint32_t kTopWindowFlags = 0x41;
constexpr int32_t kKindDialog = 3;
constexpr int32_t kTextList = 6;

void CheckItem(int32_t item, bool check)
{
    if (CMenuBar* bar = GetMenuBar())
        bar->CheckItem(item, check);
}

void SetItemText(int32_t item, std::unique_ptr<CStr> text)
{
    if (CMenuBar* bar = GetMenuBar())
        bar->SetItemText(item, text ? std::move(text) : std::make_unique<CStr>(""));
}

template <class T> T* ModuleOf(int32_t type)
{
    CModuleMgr* manager = GetModuleMgr();
    return manager ? dynamic_cast<T*>(manager->GetModule(type)) : nullptr;
}

// The window of message word 2, or the active engine window.
CWind* WindowToClose(CMessage& message)
{
    if (auto* window = message.GetParamPtr<CWind>(2); window && CWind::IsLiveWindow(window))
        return window;
    return CWind::GetActiveWnd();
}

} // namespace

bool CQM3Appl::CommandDispatch(CMessage& message, CBaseObj* sender)
{
    const int32_t id = message.GetId();
    switch (id) {
    case -36: EditTargetChanged(message); return true;
    case -29: EditTargetTextChanged(); return true;
    case -28:
    case -27:
    case -25:
    case -24:
    case -19:
    case -26: DoFileCommand(message); return true;
    case -12:
    case -10: return true;
    case -11:
        if (CPrinter* printer = Game().printer)
            printer->PrintSetup();
        return true;
    case 2: OpenGameWindow(); return true;
    case 3: CloseGame(); return true;
    case 4: ToggleScreenBorder(); return true;
    case 6: ToggleCaptions(); return true;
    case 36: ToggleSound(); return true;
    case 201:
        if (CWind* window = WindowToClose(message)) {
            if (window == Game().topWnd) {
                Game().topWnd = nullptr;
                Game().mainWnd = nullptr;
            }
            window->Destroy();
        }
        return true;
    case 252: SetQuitRequested(true); return true;
    case 288:
        if (auto* landmark = ModuleOf<CLandmark>(CModuleMgr::kLandmark))
            landmark->ShowSuppliesList(message);
        return true;
    case 431:
        if (auto* landmark = ModuleOf<CLandmark>(CModuleMgr::kLandmark))
            landmark->OnChoiceListChange(message);
        return true;
    case 442:
        if (auto* landmark = ModuleOf<CLandmark>(CModuleMgr::kLandmark))
            landmark->ShowStockList(message);
        return true;
    // Trading with travellers, which the travel module runs.
    case CTravel::kMsgTrade:
    case CTravel::kMsgTraderItemPicked:
    case CTravel::kMsgOwnItemPicked:
    case CTravel::kMsgAcceptTrade:
    case CTravel::kMsgOwnListChange:
    case CTravel::kMsgTradeQuantity:
    case CTravel::kMsgFillTradeLists:
        if (auto* travel = ModuleOf<CTravel>(CModuleMgr::kTravel))
            travel->HandleTradeCommand(message, sender);
        return true;
    case 423: RunModalList(4002, this); return true;
    case 1000:
    case 1100: EndModalFrom(sender); return true;
    default: return CAppl::HandleMessage(message, sender);
    }
}

void CQM3Appl::EndModalFrom(CBaseObj* sender)
{
    auto* frame = dynamic_cast<CFrame*>(sender);
    for (CFrame* up = frame ? frame->GetParent() : nullptr; up; up = up->GetParent())
        if (up->GetKind() == static_cast<uint32_t>(kKindDialog)) {
            CMessage end(kMsgEndModal, 0, 0, -1);
            end.SetParamPtr(sender, 2);
            DeliverMessage(*up, end, sender, false);
            return;
        }
    CMessage end(kMsgEndModal, 0, 0, -1);
    BroadcastMessage(end, sender);
}

void CQM3Appl::OpenGameWindow()
{
    GameGlobals& g = Game();
    if (g.mainWnd) {
        CMainWnd* old = g.mainWnd;
        g.mainWnd = nullptr;
        old->RemoveFromParent();
        old->Destroy();
        g.document = nullptr;
    }
    g.mainWnd = new CMainWnd(kGameWindowId, CRect(0, 0, 480, 640));
    if (!g.topWnd) {
        g.topWnd = new CTopWnd(nullptr, g.mainWnd, nullptr, kTopWindowFlags);
        g.topWnd->StoreId(1);
        g.topWnd->SetCloseTarget(this);
        // The display shows this window's client area: the 640 x 480 game.
        plat::SetPresentedWindow(g.topWnd->GetHwnd());
    } else {
        g.topWnd->SetFrame(g.mainWnd);
    }
    if (g.topWnd) {
        CSndMgr::CreateDevice();
        g.mainWnd->CreateModuleMgr();
        SendMsg(*g.mainWnd, CMainWnd::kMsgRequestModule, 0, 1, this);
        SetWindowTitle(g.topWnd);
        g.topWnd->Activate();
    }
    if (GetOption("closecap")) {
        CheckItem(kItemCaptions, true);
    } else {
        CheckItem(kItemCaptions, false);
        ResetGlobalMsgFilter();
    }
    SetScreenBorder(0);
    if (GetOption("soundon")) {
        CheckItem(kItemSound, true);
        CSndMgr::CreateDevice();
    } else {
        CheckItem(kItemSound, false);
    }
    CSndMgr::CreateDevice();
}

void CQM3Appl::CloseGame()
{
    GameGlobals& g = Game();
    CloseDocument();
    ClearEditTarget();
    CModuleMgr* manager = g.moduleMgr;
    if (!manager)
        return;
    int32_t index = manager->GetCurModule();
    while (index != CModuleMgr::kTravel && index != -1) {
        manager->DestroyModule(index);
        index = manager->Pop();
    }
    manager->SetCurModule(CModuleMgr::kTravel);
    manager->Push(CModuleMgr::kTravel);
    manager->Request(0);
    manager->SwitchSuspend();
}

void CQM3Appl::ToggleScreenBorder()
{
    const bool on = GetOption("screenborder");
    SetScreenBorder(on ? 1 : 0);
    SetOption("screenborder", !on);
    CheckItem(kItemScreenBorder, !on);
}

void CQM3Appl::ToggleCaptions()
{
    const bool on = GetOption("closecap");
    if (on)
        ResetGlobalMsgFilter();
    CheckItem(kItemCaptions, !on);
    SetOption("closecap", !on);
}

void CQM3Appl::ToggleSound()
{
    const bool on = GetOption("soundon");
    if (on)
        StopAllSoundsAndDevice();
    else
        CSndMgr::CreateDevice();
    CheckItem(kItemSound, !on);
    SetOption("soundon", !on);
}

void CQM3Appl::EditTargetChanged(CMessage& message)
{
    GameGlobals& g = Game();
    if (g.editTarget)
        g.editTarget->Deactivate();
    g.editTarget = message.GetParamPtr<CEditTarget>(2);
    // The announcer keeps its text (an edit field holds the Undo item's text it announced).
    const CStr* announced = message.GetParamPtr<CStr>(3);
    std::unique_ptr<CStr> text = announced ? std::make_unique<CStr>(*announced) : nullptr;
    if (!g.editTarget && !text)
        if (std::unique_ptr<CTplRec> list = CreateTplRec(kTextList, 0xFFFFFFFFu, false))
            text = list->GetEntryString(0);
    SetItemText(kItemEditTarget, std::move(text));
}

void CQM3Appl::EditTargetTextChanged()
{
    if (CEditTarget* target = Game().editTarget)
        SetItemText(kItemEditTarget, target->Undo());
}

void CQM3Appl::UpdateMenuChecks()
{
    CheckItem(kItemScreenBorder, GetScreenBorder() == 0);
    if (CMenuBar* bar = GetMenuBar())
        bar->EnableItem(kItemEditTarget, Game().editTarget != nullptr);
}

void CQM3Appl::Resume()
{
    CAppl::Resume();
    CSndMgr::Resume();
}

void CQM3Appl::Pause()
{
    CSndMgr::Suspend();
    CAppl::Pause();
}

int32_t CQM3Appl::LowMemoryNotice(int32_t size)
{
    const int32_t freed = Game().imageCache ? Game().imageCache->FreeBytes(size) : 0;
    if (freed < size && !lowMemoryShown_) {
        lowMemoryShown_ = true;
        ShowMessageBox("Application is running low on memory.", "Flush Failed", CMsgBox::kIconStop,
                       CMsgBox::kButtonsOk, 1);
    }
    return freed;
}

void CQM3Appl::SetWindowTitle(CWind* topWindow)
{
    if (!topWindow)
        return;
    // The open game's name, or the default name.
    std::string text;
    if (const CQM3Doc* doc = Game().document; doc && doc->GetName())
        text = doc->GetName()->GetText();
    else if (const std::unique_ptr<CStr> name = GetString(3))
        text = name->GetText();
    if (const size_t slash = text.rfind('\\'); slash != std::string::npos)
        text = text.substr(slash + 1);
    if (CMsgBox* box = GetMsgBox())
        box->SetOwnerWnd(topWindow->GetHwnd());
    topWindow->SetTitle(std::make_unique<CStr>(("Quillmark - " + text).c_str()));
}
