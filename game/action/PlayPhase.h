#pragma once
// The play field's sprites draw only while their module is in its catch phase; the module
// tells its phase to the elements on its frame as the river figures ask it (AnimFigure.h).
#include <cstdint>

#include "game/travel/AnimFigure.h"

class CFrame;

constexpr int16_t kModuleDrawPhase = CFigurePhase::kDrawPhase;

// The phase of the module whose frame is the element's animator object; 0 when the frame is
// no module's.
int16_t ModulePhaseOf(const CFrame* animator);
