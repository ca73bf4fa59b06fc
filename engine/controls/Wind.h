#pragma once
// CWind: the engine's wrapper of one native window. It owns the window's graphic objects (a
// stack of frame layers with the root frame at the bottom), its drawing environments, its
// controls in tab order, and the engine side of activation, focus and visibility. The shared
// window procedure (WndProc.h) finds the CWind of a native window and calls it; key and
// mouse input become engine messages for its frames, and painting walks its frames.
//
// Window types: 0 made from a window template, 1 top-level, 2 modal dialog, 3 dialog, 4 tool
// window, 5 popup frame window. Windows of types 0 and 1 are kept in list A, the others in
// list B, newest at the tail; a separate list keeps the order of activation, most recent
// first. The first window of list A without a parent is the top window.
#include <cstdint>
#include <memory>
#include <optional>

#include "engine/framework/EventObj.h"
#include "engine/framework/List.h"
#include "engine/framework/Message.h"
#include "engine/framework/Point.h"
#include "engine/framework/PtrArray.h"
#include "engine/framework/Rect.h"
#include "platform/MessageQueue.h"

class CDrawEnv;
class COffScEnv;
class CFrame;
class CPalette;
class CRegion;
class CStr;
class CTObj;
class CWindControl;
class CWndEnv;
namespace plat {
class DrawContext;
}

// The three yes/no options a window can be built with instead of a flag word.
struct CWindOptions {
    bool shadowed = false; // paints through an off-screen bitmap (flag 0x40)
    bool close = false;    // answered by HasClose (flag 0x100)
    bool grow = false;     // resizable and maximisable (flag 0x04)
};

class CWind : public CEventObj {
public:
    enum : int32_t {
        kTypeTemplate = 0,
        kTypeTopLevel = 1,
        kTypeModalDialog = 2,
        kTypeDialog = 3,
        kTypeTool = 4,
        kTypePopup = 5,
    };
    // Window flags.
    enum : uint32_t {
        kFlagFixedSize = 0x01,
        kFlagMinimizeBox = 0x02,
        kFlagResizable = 0x04,
        kFlagPopup = 0x08,      // popup without caption
        kFlagThinBorder = 0x10, // popup with a thin border (wins over 0x08)
        kFlagOffScreen = 0x40,  // paints through an off-screen 8-bit bitmap
        kFlagCloseWithParent = 0x80,
        kFlagClose = 0x100, // the close option: only HasClose reads it
    };
    static constexpr uint32_t kKindWindow = 8;
    // Message -42: sets the title from a string list (word 0 the list's id, word 1 the entry).
    static constexpr int32_t kMsgSetTitle = -42;
    // Message -9: asks the close target whether the window (word 2) may close.
    static constexpr int32_t kMsgCloseRequest = -9;
    // Commands forwarded to an edit field that gets the focus by Tab.
    static constexpr int32_t kMsgSelectAll = -34;

    // The native window is not made here (Create). Registers the window as a live object.
    CWind(int32_t type, CFrame* root, const CPoint* position, uint32_t flags);
    // The same with the three options, mapped onto the flag word (the minimize box always).
    CWind(int32_t type, CFrame* root, const CPoint* position, const CWindOptions& options);
    static uint32_t FlagsFor(const CWindOptions& options);
    // Hides the window, deletes its frames, environments and native window, and leaves the
    // window lists.
    ~CWind() override;
    // Takes the window out of the lists and the live objects and destroys its native window
    // at once; frees it when the running dispatch has returned. Handlers use this for a
    // window that may be among their callers.
    void Destroy();

    // Creates the native window; nothing when it exists already. A failure is fatal.
    void Create(int32_t type, const CStr* title, uint32_t style, uint32_t exStyle, CWind* parent);
    // The platform style (and through exStyle the extended style) for Create, by type and
    // flags; types other than 1 to 4 answer 0 and leave exStyle as it is.
    uint32_t GetStyle(uint32_t& exStyle) const;
    static uint32_t StyleFor(int32_t type, uint32_t flags, uint32_t& exStyle);
    // The create function of window templates (kind 0x31): a type-0 window without a root
    // frame, placed and flagged by the template, with its id.
    static CBaseObj* CreateFromTemplate(CTObj* tpl);

    // Lookup.
    static CWind* FromHandle(plat::WindowHandle hwnd);
    // Whether the pointer names a window of list A or list B.
    static bool IsLiveWindow(const CWind* wnd);
    // The window of that id, list B first; in list B id 0 also finds the first type-1 window.
    static CWind* FindWnd(int32_t id);
    static CWind* GetWindowAt(int32_t n);
    static int32_t GetWindowCount();
    static CWind* GetFirstShownWnd(bool fromListA);
    static CWind* GetTopWnd();
    static CWind* GetActiveWnd();
    // The list of windows activated, most recent first (null while empty).
    static CWindList* GetActivationList();
    static CWindList* GetListA();
    static CWindList* GetListB();

    plat::WindowHandle GetHwnd() const { return hwnd_; }
    bool IsShown() const { return shown_; }
    bool IsActive() const { return active_; }
    int32_t GetType() const { return type_; }
    uint32_t GetWndFlags() const { return wndFlags_; }
    uint16_t GetNumber() const { return number_; }
    CWind* GetParentWnd() const { return parent_; }
    const CRect& GetFrameRect() const { return frameRect_; }
    const CRect& GetLastClientRect() const { return lastClientRect_; }
    void SetLastClientRect(const CRect& rect) { lastClientRect_ = rect; }
    const CRect& GetSizeLimits() const { return sizeLimits_; }
    void SetSizeLimits(const CRect& limits) { sizeLimits_ = limits; }
    CEventObj* GetCloseTarget() const { return closeTarget_; }
    void SetCloseTarget(CEventObj* target) { closeTarget_ = target; }
    int32_t GetLayerCount() { return frames_.GetCount(); }
    CFrame* GetLayer(int32_t i) { return static_cast<CFrame*>(frames_.GetAt(i)); }
    CFrame* GetFirstFrame() { return GetLayer(0); }
    CFrame* GetTopFrame() { return GetLayer(frames_.GetCount() - 1); }
    CFrame* GetLastPressed() const { return lastPressed_; }
    // True when a shown layer above the one that holds `frame` overlaps it: the frame is drawn
    // under that layer, and a native widget of it would show through the layer's picture.
    bool IsUnderUpperLayer(const CFrame& frame);
    // The frame layers from the top one down, each searched with CFrame::FindObject.
    CFrame* FindObject(uint32_t kind, int32_t id);

    // Slot 4: message -42 sets the title.
    bool HandleMessage(CMessage& message, CBaseObj* sender) override;
    // Slot 8: makes this the active engine window.
    virtual void Activate();
    // Slots 11-13.
    virtual bool IsFixedSize() const { return (wndFlags_ & kFlagFixedSize) != 0; }
    virtual bool IsStyleBit2() const { return (wndFlags_ & kFlagResizable) != 0; }
    virtual bool IsStyleBit1() const { return (wndFlags_ & kFlagMinimizeBox) != 0; }
    // Whether the window was built with the close option.
    virtual bool HasClose() const { return (wndFlags_ & kFlagClose) != 0; }
    // Slot 14: with ask and a close target, asks the target (-9) and answers false; else
    // detaches every frame layer and answers true.
    virtual bool Close(bool ask);
    // Slot 15: delivers (id, words 2 and 3) at once to the key-focus control when it belongs
    // to this window.
    virtual void SendToFocus(int32_t id, MsgWord word2, MsgWord word3);
    // Slot 9: the palette the window environment holds.
    virtual CPalette* GetPalette();
    // Slot 10: the off-screen environment, or null.
    virtual COffScEnv* GetOffScreenEnv();
    CWndEnv* GetWndEnv();
    // Slot 16: draws the frames in the rectangle (the paint area of the window system).
    virtual void Redraw(const CRect* rect);
    // Makes the window's palette the desktop's; the whole window is repainted when that
    // changed any colour.
    void RealizePalette();
    // Keeps the palette (not owned), selects it and rebuilds the off-screen bitmap.
    void SetPalette(CPalette* palette);
    // SetPalette on every window of list B, then list A.
    static void SetPaletteAllWindows(CPalette* palette);
    // Slot 20: takes the title; null sets an empty caption.
    virtual void SetTitle(std::unique_ptr<CStr> title);
    // Slot 21: the mouse position on the screen, or in client coordinates.
    virtual void GetCursorPos(CPoint& out, bool screen);
    // Slots 22, 23, 27, 28: between the screen and the client area.
    virtual void ScreenToLocalRect(CRect& rect);
    virtual void ScreenToLocalPt(CPoint& point);
    virtual void LocalToScreenRect(CRect& rect);
    virtual void LocalToScreenPt(CPoint& point);
    // Slot 24: hands the two rectangles to every frame layer.
    virtual void Broadcast(const CRect& a, const CRect& b);
    // Slot 26: invalidates the rectangle (null: the whole client area), only once shown.
    virtual void Invalidate(const CRect* rect);
    void Validate(const CRect* rect);
    // Slot 29: more than one frame layer (a pushed modal layer).
    virtual bool HasChildren() { return frames_.GetCount() > 1; }
    // Slot 30: routes a key to the controls (WindInput.cpp).
    virtual void OnKey(int32_t key, uint32_t modifiers);
    // Slots 32-35: mouse routing (WindInput.cpp).
    virtual void BeginCapture(const CPoint& point, uint32_t modifiers, bool doubleClick);
    virtual void RouteMouseMove(const CPoint& point, uint32_t modifiers, bool leftDown);
    virtual void EndCapture(const CPoint& point, uint32_t modifiers);
    virtual void CancelCapture();
    // Slot 36: sets the client size.
    virtual void MoveResize(int16_t width, int16_t height);
    // Slot 37: shows the native window once, without activating it.
    virtual void ShowWnd();
    // Slot 38: the caption, null when it is empty.
    virtual std::unique_ptr<CStr> GetTitle();
    // Slot 39: repaints one frame now.
    virtual void Paint(CFrame* frame);
    // Converts a title in place through the character map of font 0.
    static void MapTitleText(CStr& title);
    // Slot 40: draws every layer into the off-screen bitmap only (direct false) or straight
    // into the window (direct true).
    virtual void DrawRegion(const CRect* rect, bool direct);
    // Slot 41: paints the rectangle (null: the root frame's): into the off-screen bitmap, one
    // copy to the window clipped off the direct frames, then the direct frames.
    virtual void DrawFrames(const CRect* rect);
    // Slot 42: copies that rectangle of the off-screen bitmap to the window.
    virtual void DrawClipped(const CRect& rect);
    // Slot 17: the frame and its subtree straight into the window, each clipped to what the
    // opaque frames in front leave of it.
    virtual void DrawFrameDirect(CFrame* frame, const CRegion& region, const CRect& rect);
    // Slot 18: only the direct frames of the subtree, into the window.
    virtual void DrawDirectFrames(CFrame* frame, const CRegion& region, const CRect& rect);
    // Slot 19: the subtree into the off-screen bitmap, direct frames left out; answers whether
    // any direct frame was met.
    virtual bool DrawFrameOffScreen(CFrame* frame, const CRect& rect);
    // Slot 43: the area the frame covers opaquely leaves the region.
    virtual void SubtractOpaque(CFrame* frame, CRegion& region);
    // Slot 44: the area the direct frames of the subtree cover leaves the region.
    virtual void SubtractDirect(CFrame* frame, CRegion& region);
    // Slot 45: called on every window when the application resumes.
    virtual void Restore() {}
    // Slot 46: called on every window when the application pauses.
    virtual void OnAppPause() {}

    // Visibility and activation.
    void Hide();
    void Deactivate();
    void CloseChildWindows();
    // Applies the screen-border setting to the border window, then Restore on every window
    // of list A and then list B.
    static void RestoreAllWindows();
    // Restores the border window, then OnAppPause on every window of list B and then list A.
    static void PauseAllWindows();

    // Frames, size and position.
    // Replaces the root frame (the old one is detached, not deleted) and sizes the window to it.
    CFrame* SetFrame(CFrame* frame);
    void SetSizePt(const CPoint& size) { MoveResize(size.GetH(), size.GetV()); }
    void Center();
    // Whether SetFrame centres the window (it was made without a position).
    void SetCentreOnFrame(bool centre) { noPosition_ = centre; }
    void SetPosition(int16_t h, int16_t v);
    void MoveBy(int16_t dh, int16_t dv);
    CRect GetScreenClientRect();
    static CRect GetScreenRect();
    static bool IsLeftButtonDown();

    // Frame layers: a pushed frame lies over the others and alone gets the mouse; the layers
    // below are disabled until it is popped.
    void PushFrame(CFrame* frame, bool centre);
    void PopFrame(CFrame* frame);
    // Takes a frame that is going away out of the layers (the root entry becomes empty).
    void DropLayer(CFrame* frame);

    // Mouse state (WindInput.cpp). Makes the frame the hover frame, with its cursor and help
    // popup; answers the previous hover frame.
    CFrame* SetHoverFrame(CFrame* frame, bool force);
    // Presses the control as Enter or Esc does: shows it pressed for half a caret blink, then
    // notifies it.
    void FlashAndPress(CWindControl* control);
    // The ticks FlashAndPress shows a control pressed: half a caret blink. A blink time of 0,
    // infinite or above 1200 ms counts as 530 ms.
    static uint32_t FlashTicks(uint32_t caretBlinkMs);

    // Controls and key focus (WindFocus.cpp).
    // Inserts by tab order: 0 at the head, negative at the tail, positive before the first
    // control whose order is equal or higher.
    void AddControl(CWindControl* control, int16_t tabOrder);
    void RemoveControl(CWindControl* control);
    void SetTabOrder(CWindControl* control, int16_t order);
    void FocusNext();
    // Gives the focus to the first control in tab order that takes it.
    void ResetFocus();
    void FocusPrev();
    bool SetFocusControl(CWindControl* control);
    void FocusIfAllowed(CWindControl* control);
    static bool SetKeyFocus(CWindControl* control);
    static CWindControl* GetKeyFocus();
    void SetDefaultControl(CWindControl* control);
    void ReplaceDefaultControl(CWindControl* control);
    // The control pressed by Esc; the window starts without one.
    void SetCancelControl(CWindControl* control) { cancelControl_ = control; }
    CWindControl* GetFocusControl() const { return focusControl_; }
    CWindControl* GetDefaultControl() const { return defaultControl_; }
    CWindControl* GetCancelControl() const { return cancelControl_; }
    CList& GetControls() { return controls_; }
    bool HasControl(const CWindControl* control) const;
    CWindControl* FindControlByHwnd(plat::WindowHandle hwnd);
    CWindControl* FindControlById(int32_t id);
    CWindControl* GetGroupValue(int32_t group);
    void SelectInGroup(CWindControl* control);
    // Clears every record of the window that names the frame (focus, default, cancel, last
    // press).
    void ForgetFrame(const CFrame* frame);

protected:
    // Forgets a native window destroyed elsewhere; answers whether the window still has one.
    bool HasLiveHwnd();
    // Removes the window from everything it is part of (its native window included); the
    // destructor and Destroy share it, and it runs once.
    void Teardown();

private:
    // Activation under the rule that leaves the frames' enabled state alone: the window is
    // shown after it became active, while its owner is still disabled.
    void ActivateKeepingFrames();
    // The drawing environments (WindPaint.cpp): made, resized and deleted with the window.
    void SetupEnvironments();
    void ResizeEnvironments(int16_t width, int16_t height);
    void DeleteEnvironments();
    void RebuildOffScreen();

    // Sends message -1 at once to the frame.
    static void SendMouse(CFrame* target, int32_t kind, uint32_t modifiers, const CPoint& point,
                          bool doubleClick);
    CFrame* FindInTopLayer(const CPoint& point);
    bool AskControlsForKey(int32_t key, uint32_t modifiers);
    bool FocusFrom(CList::Node* start, CList::Node* stop, bool forward);

    bool active_ = false;
    bool noPosition_;
    CRect frameRect_;
    CList controls_;
    std::optional<CPoint> position_; // a copy: the caller's point need not outlive the window
    CWindControl* defaultControl_ = nullptr;
    CWindControl* cancelControl_ = nullptr;
    uint32_t wndFlags_;
    plat::WindowHandle hwnd_ = 0;
    uint16_t number_;
    CWindControl* focusControl_ = nullptr;
    bool inListA_;
    CRect lastClientRect_;
    CRect sizeLimits_;
    CFrame* lastPressed_ = nullptr;
    CEventObj* closeTarget_ = nullptr;
    CWind* parent_ = nullptr;
    CPtrArray frames_;
    bool shown_ = false;
    int32_t type_;
    bool tornDown_ = false;
    std::unique_ptr<CPalette> paletteCopy_;   // the global palette when the bitmap was made
    CPalette* palette_ = nullptr;             // the palette last given to SetPalette
    std::unique_ptr<plat::DrawContext> dc_;   // the window's own device context
    std::unique_ptr<CWndEnv> wndEnv_;         // on dc_
    std::unique_ptr<COffScEnv> offScreenEnv_; // with flag 0x40, or after SetPalette
};
