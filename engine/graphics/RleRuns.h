#pragma once
// Reading the runs of a run-length sprite row: a control byte c below 128 is a repeat run
// (the next byte stands for c + 1 pixels), 128 or more a literal run (c - 127 colour bytes
// follow). Every reader stops at the end of the cel's data.
#include <cstddef>
#include <cstdint>

// One run as it is read: its pixel count and where its colour bytes lie.
struct RleRun {
    int count;
    bool repeat;
    const uint8_t* colours;
};

// Reads the run at `src` and moves past it; false when its bytes pass `end`.
inline bool ReadRleRun(const uint8_t*& src, const uint8_t* end, RleRun& run)
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
