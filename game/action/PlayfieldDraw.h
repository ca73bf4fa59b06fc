#pragma once
// The drawing callback of the play field's animated objects: their cels are drawn stretched
// to the object's rectangle, and the object's drawing data and depth, placed in parameters
// 4 and 5 of the record, act as the priority mask and the sprite priority (see
// RleStretchDraw.h).
#include "engine/graphics/DibSect.h"

void DrawPlayfieldCel(void* source, CDibSect* dest, const CRect& position, DrawRecord* record);

// Makes DrawPlayfieldCel the routine the engine's animator elements draw play-field cels with.
void InstallPlayfieldDraw();
