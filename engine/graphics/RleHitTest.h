#pragma once
// Where a run-length sprite has a pixel: the colour a cel's runs give a point, for the
// pixel-accurate hit tests of sprites on screen. The walk never leaves the row (it stops at
// the cel's width) nor the cel's data, so a damaged sprite answers "no pixel".
#include <cstdint>

#include "engine/graphics/RleSprite.h"

// The first colour byte of the run that covers (x, y) of the cel, or -1 when the point lies
// outside the cel or the data end before it.
int32_t RleRunColourAt(const RleCelTable& table, int32_t cel, int32_t x, int32_t y);
