#pragma once
// CPopWind: the help popup, a small topmost window (type 5) that shows the help of the frame
// under the mouse. ShowFor shows it at once, or after a delay on the real clock when the mouse
// is still on the frame by then; its content (frame 0, by default a CPopTextList) takes the
// frame's help text and sizes itself, and the popup places itself by the content's placement
// mode next to the mouse or the frame, kept on the screen. It never takes the activation,
// hides while the application is paused and comes back on resume.
//
// The program makes one popup; the windows reach the latest one made (GetPopup) through the
// hooks that InstallScreenHooks fills.
#include <cstdint>
#include <memory>

#include "engine/controls/Wind.h"

class CPopContent;
class CTimerEvent;

class CPopWind : public CWind {
public:
    static constexpr int32_t kContentId = -2;
    // A placement mode that leaves the popup where it is.
    static constexpr int32_t kModeNoMove = 4;

    // Without a content frame a CPopTextList is made, reading help records under
    // `contentValue` as library mask. The native window is made over the owner window.
    CPopWind(CFrame* content, const CPoint* position, CWind* owner, MsgWord contentValue);
    // Deletes the delay timer, then the window.
    ~CPopWind() override;

    // Shows the help of the frame (after the delay); takes the frame's window as its owner
    // when it has none yet. Nothing for a frame without a help id.
    void ShowFor(CFrame* frame);
    // Shows the help of the frame now; dismisses the popup for a frame without help or window.
    void ShowNow(CFrame* frame);
    // Hides the popup when shown, else cancels a pending show.
    void Dismiss();
    // Forgets a frame that is going away (the window's records, and a pending show of it).
    void ForgetFrame(const CFrame* frame);
    void CancelPending();
    // Ticks of the real clock to wait before showing; below 1 shows at once.
    void SetDelay(int32_t ticks) { delay_ = ticks; }
    int32_t GetDelay() const { return delay_; }
    CFrame* GetPending() const { return pending_; }
    CWind* GetOwnerWnd() const { return ownerWnd_; }
    // Shown, or hidden by a pause that the resume undoes.
    bool IsShownOrPaused() const { return IsShown() || pausedShown_; }

    // The delay timer (period in ticks; the clock is always the real one).
    void StartTimer(uint32_t period, CStopwatch* clock) override;
    // The delay has passed: shows the pending frame's help when the mouse is still on it.
    bool OnTimer() override;
    // Puts the popup on top; it never becomes the active window.
    void Activate() override;
    void Restore() override;
    void OnAppPause() override;
    // Slot 47: the popup's top-left corner for the mouse point (screen coordinates), by the
    // content's placement mode.
    virtual void Place(CPoint& point, CFrame* frame);

    // The placement table: the popup's top-left corner for the point, the popup's size, the
    // frame's rectangle on the screen and the screen's size, kept on the screen.
    static CPoint PlaceFor(int32_t mode, const CPoint& point, int16_t width, int16_t height,
                           const CRect& frame, int32_t screenWidth, int32_t screenHeight);

    // The latest popup made and not yet deleted; null when none.
    static CPopWind* GetPopup();

private:
    static bool TimerCallback(void* popup);
    CPopContent* GetContent();

    int32_t delay_ = 0;
    CFrame* pending_ = nullptr;
    std::unique_ptr<CTimerEvent> timer_;
    CWind* ownerWnd_;
    bool pausedShown_ = false;
};
