#pragma once
// The module's frame as the catch sprites see it: a frame that tells its phase (2: the catch
// phase, in which they draw).
#include "engine/controls/Frame.h"
#include "game/travel/AnimFigure.h"

namespace playtest {

class PhaseFrame : public CFrame, public CFigurePhase {
public:
    PhaseFrame() : CFrame(CFrame::kKindFrame, 90, CRect(0, 0, 400, 640), false) {}
    int16_t GetDrawPhase() const override { return phase; }
    int16_t phase = 2;
};

} // namespace playtest
