#include "game/action/PlayfieldDraw.h"

#include "engine/controls/anim/AnimatorWnd.h"
#include "engine/graphics/RleStretchDraw.h"

void DrawPlayfieldCel(void* source, CDibSect* dest, const CRect& position, DrawRecord* record)
{
    DrawRleStretched(source, dest, position, record);
}

void InstallPlayfieldDraw() { SetPlayfieldCelProc(DrawPlayfieldCel); }
