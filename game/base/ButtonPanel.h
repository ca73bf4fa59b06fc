#pragma once
// CButtonPanel: the small control through which a module hears its button and key commands
// (message -3). It is a live object from its construction, so the commands broadcast to the
// live objects reach it; it hands each one to its module's frame and answers what the frame
// answers. It takes no place on screen.
#include <cstdint>

#include "engine/controls/input/InputFrame.h"

class CButtonPanel : public CInputFrame {
public:
    static constexpr int32_t kControlId = 30000;
    static constexpr int32_t kMsgCommand = -3;

    // The target is the module's frame (kept, not owned).
    explicit CButtonPanel(CBaseObj* target);
    ~CButtonPanel() override;

    // -3 goes to the target with the panel as sender; any other message is not handled.
    bool HandleMessage(CMessage& message, CBaseObj* sender) override;

private:
    CBaseObj* target_;
};
