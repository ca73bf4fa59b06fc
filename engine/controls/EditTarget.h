#pragma once
// CEditTarget: what an editable object implements to become the target of the application's
// Edit menu. Activating it announces it to the application (message -36, word 2 the target,
// word 3 a value such as the Undo item's text); ClearEditTarget announces that there is no
// target. A target that goes away while active announces that too, so the application never
// keeps a freed target.
//
// One program-wide 16-bit word belongs to the edit targets (the edit fields keep their undo
// kind in it); deactivating a target and clearing the target reset it.
#include <cstdint>
#include <memory>

#include "engine/framework/Message.h"

class CStr;

class CEditTarget {
public:
    // The announcement the application gets.
    static constexpr int32_t kMsgEditTarget = -36;

    CEditTarget() = default;
    // Slot 0: an active target deactivates itself and announces that there is no target.
    virtual ~CEditTarget();
    CEditTarget(const CEditTarget&) = delete;
    CEditTarget& operator=(const CEditTarget&) = delete;

    // Slot 1: an active target clears the program's edit-target word; then inactive.
    virtual void Deactivate();
    // Slot 2.
    virtual bool IsActive() const { return active_; }
    // Slot 3: announces this target to the application with the value as word 3.
    virtual void Activate(MsgWord value);
    // Slot 4.
    virtual void SetActive(bool active) { active_ = active; }
    // Slot 5: the Edit menu's Undo; a plain target has nothing to undo.
    virtual std::unique_ptr<CStr> Undo();

private:
    bool active_ = false;
};

// Clears the program's edit-target word and tells the application there is no target.
void ClearEditTarget();
uint16_t GetEditTargetWord();
void SetEditTargetWord(uint16_t word);
