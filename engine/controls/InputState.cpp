#include "engine/controls/InputState.h"

#include "engine/controls/Frame.h"
#include "engine/controls/Wind.h"
#include "engine/controls/WindControl.h"
#include "engine/controls/WindGlobals.h"
#include "engine/controls/WindHooks.h"
#include "platform/Input.h"

namespace {

CFrame* g_hover = nullptr;
CFrame* g_capture = nullptr;
bool g_popupHelp = false;

} // namespace

WindHooks& GetWindHooks()
{
    static WindHooks hooks;
    return hooks;
}

CFrame* GetHoverFrame() { return g_hover; }
void SetHoverFrameRecord(CFrame* frame) { g_hover = frame; }
CFrame* GetCaptureObj() { return g_capture; }
void SetCaptureObj(CFrame* frame) { g_capture = frame; }

void ReleaseCaptureObj()
{
    g_capture = nullptr;
    plat::ReleaseCapture();
}

bool IsPopupHelpOn() { return g_popupHelp; }
void SetPopupHelp(bool on) { g_popupHelp = on; }

void ForgetFrameInput(CFrame* frame)
{
    if (!frame)
        return;
    if (frame == g_hover)
        g_hover = nullptr;
    if (frame == g_capture)
        ReleaseCaptureObj();
    wndglobals::State& g = wndglobals::Get();
    // Compared as addresses: the frame need not be a control.
    if (static_cast<const void*>(frame) == static_cast<const void*>(g.keyFocus))
        g.keyFocus = nullptr;
    for (CWind* w : wndglobals::Snapshot(g.listA.get()))
        w->ForgetFrame(frame);
    for (CWind* w : wndglobals::Snapshot(g.listB.get()))
        w->ForgetFrame(frame);
}

void ResetInputState()
{
    g_hover = nullptr;
    g_capture = nullptr;
    g_popupHelp = false;
    GetWindHooks() = WindHooks{};
    wndglobals::Get() = wndglobals::State{};
}
