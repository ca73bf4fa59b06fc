#include "game/action/PlayPhase.h"

int16_t ModulePhaseOf(const CFrame* animator)
{
    const auto* module = dynamic_cast<const CFigurePhase*>(animator);
    return module ? module->GetDrawPhase() : 0;
}
