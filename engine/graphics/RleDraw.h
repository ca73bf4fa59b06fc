#pragma once
// The run-length cel drawing callbacks: a sprite cel at its natural size drawn into an 8-bit
// bitmap, called as every drawing callback is (source, destination, position, record). The
// source is the CMemory block of the loaded "RLS" resource; the cel's top-left pixel goes to
// the position's top-left corner, and the cel is drawn at its own size. The position's rows
// only decide whether to draw: nothing when they lie wholly below or above the clip.
//
// Record parameters:
//   0  cel index
//   1  clip rectangle (a CRect*); null: the whole destination
//   2  non-zero: drawn mirrored left to right
//   3  transparent colour: DrawRleCel takes the low byte, 0-127 an index, 128-255 none;
//      DrawRleCelMasked makes index 0 transparent when it is 0 or more (and always when
//      mirrored), none when negative
//   4  priority mask (a CDibSect* laid out like the destination): DrawRleCelMasked writes a
//      pixel only where the mask byte is greater than the priority
//   5  sprite priority (16-bit)
//   6  the image set that makes the call, or null
// Pixels are never written outside the clip rectangle, the destination or the cel.
#include "engine/graphics/DibSect.h"

void DrawRleCel(void* source, CDibSect* dest, const CRect& position, DrawRecord* record);
void DrawRleCelMasked(void* source, CDibSect* dest, const CRect& position, DrawRecord* record);
