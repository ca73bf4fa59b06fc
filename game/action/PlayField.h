#pragma once
// CPlayField: the catch turn of the river catch module, played on the module's frame. Up to
// ten targets of the place's types swim in their depth bands; the lure sinks, and once it
// lands every target is called to it; the first to reach it bites and stays hooked for a
// short while; a press in time lands it and the catch window shows it with its weight, to be
// kept (its weight joins the catch total) or let go. A turn's result: 0 running, 1 ended
// without a catch, 2 ended with a catch kept. The field runs on its own clock, paused while
// the catch window is open and while the field is suspended.
//
// The frame is the module's frame: the sprites become its children, and it tells their
// catch phase (CFigurePhase).
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "engine/framework/Rect.h"

class C3DView;
class CAnimFigure;
class CAnimFrame;
class CMessage;
class CPlayImage;
class CPlayItem;
class CPlaySceneObj;
class CPlayTargetSet;
class CSpriteFrm;
class CSpriteFrm3;
class CStopwatch;
struct PlayTarget;

class CPlayField {
public:
    static constexpr int16_t kRunning = 0;
    static constexpr int16_t kNoCatch = 1;
    static constexpr int16_t kCatchKept = 2;
    // Passed on to the frame's parent when the catch window's third button is pressed.
    static constexpr int32_t kMsgAskParent = 102;
    static constexpr int32_t kMsgStopUpdating = 201;

    CPlayField(CAnimFrame* frame, const CRect& area, uint16_t waterKind);
    virtual ~CPlayField();
    CPlayField(const CPlayField&) = delete;
    CPlayField& operator=(const CPlayField&) = delete;

    void SetView(C3DView* view) { view_ = view; }
    void SetCatchStock(uint16_t stock) { catchStock_ = stock; }

    // Sets the field up, unless started suspended: then the set-up waits for Resume.
    virtual void Start(bool suspended);
    virtual void Suspend();
    virtual void Resume();
    // Whether the message was taken.
    virtual bool HandleMessage(CMessage& message);

    // One step while no catch window is open.
    void Step();
    // A new turn: new targets, the lure cast, result 0.
    void BeginTurn(int16_t catches);

    int16_t GetResult() const { return result_; }
    int16_t GetCatchTotal() const { return static_cast<int16_t>(catchWhole_ + catchTenths_ / 10); }
    void SetCatchTotal(int32_t whole, int32_t tenths)
    {
        catchWhole_ = whole;
        catchTenths_ = tenths;
    }
    int32_t GetCatchWhole() const { return catchWhole_; }
    int32_t GetCatchTenths() const { return catchTenths_; }
    int16_t GetLoadFailed() const { return loadFailed_; }
    bool IsSuspended() const { return suspended_; }
    CPlayImage* GetCatchWindow() const { return window_; }
    CSpriteFrm* GetLure() const { return lure_; }
    CSpriteFrm3* GetHolder() const { return holder_; }
    CPlayTargetSet* GetTargets() const { return targets_.get(); }
    CPlaySceneObj* GetScene() const { return scene_.get(); }
    PlayTarget* GetHooked() const { return hooked_; }
    bool IsReelingIn() const { return reelIn_; }
    CStopwatch* GetClock() const { return clock_.get(); }
    // The type names of the catch stock's bits in the type list record.
    static std::vector<std::string> TypeNames(uint16_t catchStock, int32_t typeListId);
    // "%s%s%s%d.%d%s" of the texts, the name in lower case, the weight and the last text.
    static std::string CatchText(const std::string& before, const std::string& name,
                                 const std::string& middle, int32_t whole, int32_t tenths,
                                 const std::string& after);

private:
    void Setup();
    void LoadSprites();
    void FreeSprites();
    void CastLure();
    void SpawnTargets();
    void UpdateTargets();
    void StepTarget(PlayTarget& target, uint32_t now);
    void Bite(PlayTarget& target, uint32_t now);
    void GetAway(PlayTarget& target);
    void ShowCatch();
    // The window's three messages while it is open.
    bool HandleWindowMessage(int32_t id);
    bool HandlePress(const CMessage& message);
    void CloseWindow();
    // The window's area cleared in the view and drawn again.
    void RedrawArea();
    void ShowLure(bool shown);
    // No target on the lure any more.
    void ReleaseHook();

    int16_t result_ = kRunning;
    CRect area_;
    uint16_t waterKind_;
    CPlayImage* window_ = nullptr;
    bool call_ = false;
    std::unique_ptr<CPlayItem> strip_;
    std::unique_ptr<CPlayTargetSet> targets_;
    std::unique_ptr<CPlaySceneObj> scene_;
    CSpriteFrm* lure_ = nullptr;
    CAnimFigure* line_ = nullptr;
    CSpriteFrm3* holder_ = nullptr;
    int32_t catchWhole_ = 0;
    int32_t catchTenths_ = 0;
    bool suspended_ = false;
    int16_t loadFailed_ = 0;
    std::unique_ptr<CStopwatch> clock_;
    CRect fieldRect_{0, 0, 400, 640};
    bool scatter_ = false;
    bool reelIn_ = false;
    PlayTarget* hooked_ = nullptr;
    CAnimFrame* frame_;
    C3DView* view_ = nullptr;
    int16_t turnCatches_ = 0;
    int32_t landedWhole_ = 0;
    int32_t landedTenths_ = 0;
    uint16_t catchStock_ = 0;
};
