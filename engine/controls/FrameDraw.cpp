// CFrame: drawing into an environment. The drawing environments arrive with the graphics
// code; until then frames draw nothing.
#include "engine/controls/Frame.h"

void CFrame::DrawContent(CDrawEnv*, const CRect&) {}
void CFrame::DrawBackground(CDrawEnv*) {}
void CFrame::DrawBorder(CDrawEnv*) {}
CDrawEnv* CFrame::GetDrawEnv() { return nullptr; }
