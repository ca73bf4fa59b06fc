#include "engine/framework/Appl.h"

#include "engine/framework/EngineStrings.h"
#include "engine/framework/MsgBox.h"
#include "engine/framework/MsgMgr.h"
#include "engine/framework/Stopwatch.h"
#include "engine/framework/TimerEvent.h"

namespace {

bool g_quit = false;
CMenuBar* g_menuBar = nullptr;
uint8_t g_screenBorder = 0;
bool g_useMenuBar = true;

template <class F, class... Args> void Call(const F& hook, Args&&... args)
{
    if (hook)
        hook(std::forward<Args>(args)...);
}

} // namespace

ApplHooks& GetApplHooks()
{
    static ApplHooks hooks;
    return hooks;
}

void SetQuitRequested(bool quit) { g_quit = quit; }
bool IsQuitRequested() { return g_quit; }
bool IsAppPaused() { return AreMessagesHeld(); }

void SetMenuBar(CMenuBar* menuBar)
{
    if (g_menuBar && g_menuBar != menuBar)
        Call(GetApplHooks().deleteMenuBar, g_menuBar);
    g_menuBar = menuBar;
}

CMenuBar* GetMenuBar() { return g_menuBar; }

void SetScreenBorder(uint8_t restored)
{
    g_screenBorder = restored;
    Call(GetApplHooks().showBorderWnd, restored != 0);
}

uint8_t GetScreenBorder() { return g_screenBorder; }

void SetUseMenuBar(bool use)
{
    g_useMenuBar = use;
    if (!use)
        SetScreenBorder(0);
}

bool UseMenuBar() { return g_useMenuBar; }

void ResetApplGlobals()
{
    g_quit = false;
    g_menuBar = nullptr;
    g_screenBorder = 0;
    g_useMenuBar = true;
    GetApplHooks() = ApplHooks{};
    SetCommandLine({});
}

CAppl::CAppl(const ApplRequirements* requirements) : CBaseAppl(requirements)
{
    const ApplHooks& hooks = GetApplHooks();
    Call(hooks.defineRecordFormats);
    SetEngineStringList(nullptr);
    ::SetMessagesHeld(false);
    Call(hooks.createCursorMgr);
    Call(hooks.createLibMgr);
    msgMgr_ = std::make_unique<CMsgMgr>();
    CreateClocks();
}

CAppl::~CAppl()
{
    const ApplHooks& hooks = GetApplHooks();
    Call(hooks.showBorderWnd, true);
    msgMgr_.reset();
    SetMenuBar(nullptr);
    Call(hooks.deleteFonts);
    Call(hooks.setDefaultCursor);
    Call(hooks.deleteCursorMgr);
    if (palette_)
        Call(hooks.deletePalette, palette_);
    palette_ = nullptr;
    Call(hooks.deleteLibMgr);
    idleTimer_.reset();
    DeleteClocks();
    SetEngineStringList(nullptr);
}

void CAppl::Init(int32_t paletteId)
{
    const ApplHooks& hooks = GetApplHooks();
    if (!hooks.libraryCount || hooks.libraryCount() == 0)
        StartupError(14);
    Call(hooks.loadEngineStrings);
    paletteId_ = paletteId;
    if (hooks.createPalette)
        palette_ = hooks.createPalette(paletteId, 0xFFFFFFFFu);
    Call(hooks.initFonts);
    CreateMenuBar();
    Call(hooks.createScratchDC);
}

void CAppl::CreateMenuBar()
{
    const ApplHooks& hooks = GetApplHooks();
    if (GetMenuBar()) {
        Call(hooks.detachMenuBar, GetMenuBar());
        SetMenuBar(nullptr);
    }
    CMenuBar* bar = hooks.buildMenuBar ? hooks.buildMenuBar() : nullptr;
    SetMenuBar(bar);
    OnMenuBarCreated(bar);
}

bool CAppl::HandleMessage(CMessage& message, CBaseObj*)
{
    const int32_t id = message.GetId();
    if (id >= kMsgFocusFirst && id <= kMsgFocusLast) {
        Call(GetApplHooks().sendToActiveFocus, id);
        return true;
    }
    if (id == kMsgQuit) {
        SetQuitRequested(true);
        return true;
    }
    return false;
}

void CAppl::Pause()
{
    const ApplHooks& hooks = GetApplHooks();
    SetMessagesHeld(true);
    GetGameClock()->Pause();
    if (GetMenuBar())
        Call(hooks.suspendHotKeys, GetMenuBar(), true);
    Call(hooks.pauseAllWindows);
}

void CAppl::Resume()
{
    const ApplHooks& hooks = GetApplHooks();
    SetMessagesHeld(false);
    GetGameClock()->Resume();
    if (GetMenuBar())
        Call(hooks.suspendHotKeys, GetMenuBar(), false);
    Call(hooks.restoreAllWindows);
}

void CAppl::SetRegistered(bool registered)
{
    if (registered)
        RegisterLiveObject(this);
    else
        UnregisterLiveObject(this);
}

void CAppl::Run()
{
    do {
        PumpMessage(true);
    } while (!IsQuitRequested());
    idleTimer_.reset();
}

void CAppl::PumpFor(int16_t ticks)
{
    const uint32_t end = GetTick() + 1u + static_cast<uint32_t>(static_cast<int32_t>(ticks));
    // A nested PumpFor may end earlier than this one, never later.
    const std::optional<uint32_t> outer = pumpEndTick_;
    if (!outer || static_cast<int32_t>(end - *outer) < 0)
        pumpEndTick_ = end;
    while (!IsQuitRequested() && static_cast<int32_t>(GetTick() - end) < 0)
        PumpMessage(true);
    pumpEndTick_ = outer;
}

int32_t CAppl::LowMemoryNotice(int32_t)
{
    ShowMessageBox("The application is running low on memory.", "Low Memory", CMsgBox::kIconExclamation,
                   CMsgBox::kButtonsOk, 1);
    return 0;
}

void CAppl::OnIdleTimer() { SetQuitRequested(true); }

bool CAppl::IdleCallback(void* appl)
{
    static_cast<CAppl*>(appl)->OnIdleTimer();
    return true;
}

void CAppl::StartIdleTimer(uint32_t period)
{
    idleTimer_.reset();
    idleTimer_ = std::make_unique<CTimerEvent>(period, &CAppl::IdleCallback, this, GetGameClock());
}

void CAppl::SetMessagesHeld(bool held) { ::SetMessagesHeld(held); }

bool CAppl::SetPalette(int32_t id, uint32_t libraryMask)
{
    const ApplHooks& hooks = GetApplHooks();
    if (id == paletteId_ || !hooks.createPalette)
        return false;
    CPalette* palette = hooks.createPalette(id, libraryMask);
    if (palette && hooks.isPaletteValid && hooks.isPaletteValid(palette))
        return InstallPalette(palette, id);
    if (palette)
        Call(hooks.deletePalette, palette);
    return false;
}

bool CAppl::InstallPalette(CPalette* palette, int32_t id)
{
    if (!palette)
        return false;
    const ApplHooks& hooks = GetApplHooks();
    paletteId_ = id;
    CPalette* previous = palette_;
    palette_ = palette;
    Call(hooks.setPaletteAllWindows, palette);
    if (previous && previous != palette)
        Call(hooks.deletePalette, previous);
    return true;
}
