#pragma once
// 8-bit indexed PNG pictures of surfaces, encoded in memory so that the caller decides how the
// bytes reach a file.
#include <cstdint>
#include <vector>

#include "platform/Geometry.h"
#include "platform/Surface.h"

namespace plat {

// The area of the surface (cut to it) as an 8-bit palette PNG with the colour table's 256
// entries; empty when the area is empty or the encoder fails.
std::vector<uint8_t> EncodeIndexedPng(const Surface& surface, const Rect& area, const ColorTable& colors);

} // namespace plat
