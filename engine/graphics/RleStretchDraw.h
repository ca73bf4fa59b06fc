#pragma once
// The stretched run-length drawing callbacks, called as every drawing callback is (source,
// destination, position, record): the source is the CMemory block of the loaded "RLS"
// resource, and the cel is stretched or shrunk to fill the position rectangle.
//
// Record parameters:
//   0  cel index (its low 16 bits, signed)
//   1  clip rectangle (a CRect*); null: the whole destination
//   2  mirror flag (its low byte): the first source column lands on the right edge
//   3  transparent colour (its low byte): 0-127 an index, 128-255 none
//   4  priority mask (a CDibSect* laid out like the destination), or null: a pixel is
//      written only where the mask byte is greater than parameter 5's low byte
//   5  sprite priority
//   6  the image set that makes the call, or null: a run-length image set whose cel list
//      holds the source lends its row offset tables
//
// DrawRleStretched copies the sprite's colours. DrawRleRemapped and DrawRleBlended use the
// sprite only as a shape: a covered destination pixel d becomes RemapTable[d], or the palette
// colour nearest the average of d and the sprite's colour (the blend ignores parameters 4
// and 5, and draws nothing without the application's palette).
#include <cstdint>

#include "engine/graphics/DibSect.h"

void DrawRleStretched(void* source, CDibSect* dest, const CRect& position, DrawRecord* record);
void DrawRleRemapped(void* source, CDibSect* dest, const CRect& position, DrawRecord* record);
void DrawRleBlended(void* source, CDibSect* dest, const CRect& position, DrawRecord* record);

// The remap table: entry i holds i + 1 (255 wraps to 0) until the first remapped draw takes
// the first 256 bytes of the "civ" record 1008 from any open library, once per run. A missing
// or short record leaves the built-in table and is not tried again.
enum : uint8_t { kRemapNotLoaded = 255, kRemapLoaded = 1, kRemapFailed = 2 };
const uint8_t* GetRemapTable();
uint8_t GetRemapState();
// Back to the built-in table, not loaded (tests).
void ResetRemapTable();
