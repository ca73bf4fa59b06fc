#pragma once
// The module interface: every screen of the game is one object that is both a module, driven
// by the module manager, and the screen's top-level graphic object in the game window. The
// manager calls Hide just before it destroys a module, Suspend and Resume around another
// module running over it, Start once after an animated module is attached, Query before it
// closes the module for another one, Load and Save for the saved game. A module is deleted
// through its graphic part (GetGraphic), never through this interface.
#include <cstdint>

#include "engine/controls/AnimFrame.h"
#include "engine/controls/Frame.h"

class CQM3Doc;

class CModule {
public:
    static constexpr int16_t kStateBuilt = 1;
    static constexpr int16_t kStateSuspended = 3;

    CModule(const CModule&) = delete;
    CModule& operator=(const CModule&) = delete;

    virtual void Hide() {}
    virtual void Suspend()
    {
        savedState_ = state_;
        state_ = kStateSuspended;
    }
    virtual void Resume() { state_ = savedState_; }
    virtual void Start() {}
    virtual bool Query(int32_t) { return true; }
    virtual void Load(CQM3Doc*) {}
    virtual void Save(CQM3Doc*) {}

    // The module's graphic part: the frame the manager adds to the game window and deletes.
    virtual CFrame* GetGraphic() = 0;

    int16_t GetState() const { return state_; }
    void SetState(int16_t state) { state_ = state; }
    // 1 for a module over a plain frame, 0 for one over an animated frame.
    int32_t IsFrameModule() const { return frameKind_; }

protected:
    explicit CModule(int32_t frameKind) : frameKind_(frameKind) {}
    // Not virtual: the graphic part's destructor destroys the whole object.
    ~CModule() = default;

private:
    int16_t savedState_ = 0;
    int16_t state_ = kStateBuilt;
    int32_t frameKind_;
};

// A module over a plain frame (kind 4, generated id, not transparent).
class CFrameModule : public CModule, public CFrame {
public:
    explicit CFrameModule(const CRect& rect) : CModule(1), CFrame(kKindFrame, -2, rect, false) {}
    CFrame* GetGraphic() override { return this; }
};

// A module over an animated frame; the factory gives it the window's drawing environment.
class CAnimModule : public CModule, public CAnimFrame {
public:
    explicit CAnimModule(const CRect& rect) : CModule(0), CAnimFrame(-2, rect, nullptr) {}
    CFrame* GetGraphic() override { return this; }
};
