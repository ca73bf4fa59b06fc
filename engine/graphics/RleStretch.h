#pragma once
// Run-length sprite cels drawn stretched or shrunk into a destination rectangle of any size.
//
// All scaling is decided once per call in two repeat tables: for each source row (column) the
// number of destination rows (columns) it is drawn on, 0 when it is dropped. The row walker
// then decodes each source row that is drawn once and writes it onto its destination rows
// through a pixel writer: a copy of the sprite's colour, a remap of the destination's colour
// through a table, or a 50 % blend of the two.
#include <cstdint>
#include <vector>

#include "engine/framework/Rect.h"
#include "engine/graphics/RleSprite.h"

// The repeat counts of n source rows (or columns) drawn onto m destination rows, n + 1
// entries: a shrink keeps exactly m sources with a count of 1 (the first among them), a grow
// gives the first source one row and spreads the rest evenly. The grow walk may leave counts
// at index n, one past the last source; they are never drawn, so an enlarged cel can cover a
// few rows less than m at its bottom (right). Equal sizes give 1 everywhere. Nothing for
// n < 1 or m < 1.
void BuildRepeatTable(int32_t n, int32_t m, std::vector<uint32_t>& counts);

// What a stretched pixel becomes.
enum class RlePixelOp : uint8_t {
    Copy,  // the sprite's colour
    Remap, // remap[destination colour], whatever the sprite's colour
    Blend, // the palette colour nearest the average of the sprite's and the destination's
};

struct RlePixelWriter {
    RlePixelOp op = RlePixelOp::Copy;
    const uint8_t* remap = nullptr;        // Remap: 256 entries
    const uint8_t (*colours)[3] = nullptr; // Blend: red, green, blue of each of the 256 indices
    const uint8_t* nearest = nullptr;      // Blend: 4096 indices by CPalette::NearestTableIndex
};

// Draws cel i of the table stretched into the position rectangle of the destination, clipped
// to the clip rectangle, the destination and the mask (the options as for DrawRleCelPixels;
// mirrored, the first source column lands on the position's right edge). The row offsets (height + 1 entries,
// as BuildRleRowOffsets makes them) are built for the call when none are given or they do
// not fit the cel. An empty or inverted position, or a cel that the table refuses, draws
// nothing; a row whose data end early draws only what it holds.
void DrawRleStretchedPixels(const RleCelTable& table, int32_t cel, const std::vector<uint32_t>* rowOffsets,
                            const PixelRows& dest, const CRect& position, const RleDrawOptions& options,
                            const RlePixelWriter& writer);
