#pragma once
// What the run-length sprite drawers share: reading the runs of a row, and the area a draw may
// write.
//
// A row's runs: a control byte c below 128 is a repeat run (the next byte stands for c + 1
// pixels), 128 or more a literal run (c - 127 colour bytes follow). Every reader stops at the
// end of the cel's data.
#include <algorithm>
#include <cstddef>
#include <cstdint>

#include "engine/graphics/RleSprite.h"

namespace rle {

// One run as it is read: its pixel count and where its colour bytes lie.
struct Run {
    int count;
    bool repeat;
    const uint8_t* colours;
};

// Reads the run at `src` and moves past it; false when its bytes pass `end`.
inline bool ReadRun(const uint8_t*& src, const uint8_t* end, Run& run)
{
    if (src >= end)
        return false;
    const uint8_t control = *src++;
    run.repeat = control < 128;
    run.count = run.repeat ? control + 1 : control - 127;
    const size_t bytes = run.repeat ? 1 : static_cast<size_t>(run.count);
    if (static_cast<size_t>(end - src) < bytes)
        return false;
    run.colours = src;
    src += bytes;
    return true;
}

// An area of destination pixels; empty when right <= left or bottom <= top.
struct Area {
    int32_t top, left, bottom, right;
    bool Empty() const { return right <= left || bottom <= top; }
    void Cut(int32_t t, int32_t l, int32_t b, int32_t r)
    {
        top = std::max(top, t);
        left = std::max(left, l);
        bottom = std::min(bottom, b);
        right = std::min(right, r);
    }
};

// The area a draw may write: the given extent, cut to the destination, the clip rectangle and
// the mask.
inline Area WritableArea(const PixelRows& dest, const RleDrawOptions& options, Area extent)
{
    extent.Cut(0, 0, dest.rows, dest.width);
    if (options.clip)
        extent.Cut(options.clip->GetTop(), options.clip->GetLeft(), options.clip->GetBottom(),
                   options.clip->GetRight());
    if (options.mask)
        extent.Cut(0, 0, options.mask->rows, options.mask->width);
    return extent;
}

} // namespace rle
