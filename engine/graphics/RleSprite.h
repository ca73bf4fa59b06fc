#pragma once
// Run-length sprites ("RLS" resources): one or more cels, each a rectangle of 8-bit colour
// indices compressed row by row. The resource, big-endian as stored:
//
//   0        int16   cel count N
//   2 + 12i  int16   height of cel i in rows
//   4 + 12i  int16   width of cel i in pixels
//   6 + 12i  uint32  offset of cel i's run data from the resource start
//   10 + 12i uint32  length of cel i's run data in bytes
//
// A cel's run data are its rows, top first; a row is a sequence of runs covering its width.
// A control byte c below 128 is a repeat run: the next byte stands for c + 1 pixels. A control
// byte of 128 or more is a literal run: c - 127 colour bytes follow.
//
// Every reader of the cel table goes through RleCelTable, which reads the stored byte order
// and checks each entry against the resource, so a damaged entry is never followed. The table
// is never rewritten in place: a block holds the resource bytes exactly as loaded.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "engine/framework/Rect.h"
#include "engine/resources/PixelRows.h"

// One cel's entry of the table.
struct RleCel {
    int16_t height = 0;
    int16_t width = 0;
    uint32_t offset = 0; // from the start of the resource
    uint32_t length = 0; // bytes of run data
};

class RleCelTable {
public:
    static constexpr uint32_t kHeaderSize = 2;
    static constexpr uint32_t kEntrySize = 12;

    RleCelTable(const uint8_t* data, size_t size);

    // The cels whose entries lie inside the resource (0 for a negative stored count).
    int16_t GetCount() const { return count_; }
    // Cel i's entry. False when i is out of range, a size is negative or the run data do not
    // lie inside the resource.
    bool GetCel(int32_t i, RleCel& cel) const;
    const uint8_t* Data() const { return data_; }
    size_t Size() const { return size_; }

private:
    const uint8_t* data_;
    size_t size_;
    int16_t count_ = 0;
};

// The row offset table of cel i: height + 1 offsets from the start of the resource, entry r
// where row r starts and entry `height` where the cel's data end. A row closes when its runs
// cover the width, also when the last run passes it. When the data end early, the remaining
// rows start (empty) at the end. False, with the table empty, for a cel GetCel refuses.
bool BuildRleRowOffsets(const RleCelTable& table, int32_t cel, std::vector<uint32_t>& offsets);

// How a cel is drawn.
struct RleDrawOptions {
    // Pixels outside it are not written; null means the whole destination.
    const CRect* clip = nullptr;
    // Drawn mirrored left to right: cel column c goes to column left + width - 1 - c.
    bool mirror = false;
    // A repeat run of this colour, or a literal run whose first byte is this colour, leaves
    // its pixels untouched; -1 when no colour is transparent.
    int32_t transparent = -1;
    // With a priority mask (laid out like the destination, and clipped to as well), a pixel
    // is written only where the mask byte is greater than the priority.
    const PixelRows* mask = nullptr;
    int16_t priority = 0;
};

// Draws cel i with its top-left pixel at (left, top) of the destination, clipped to the
// clip rectangle, to the destination and to the cel's own extent. A cel that the table
// refuses draws nothing, and a row whose runs claim more than the width draws only the width.
void DrawRleCelPixels(const RleCelTable& table, int32_t cel, const PixelRows& dest, int32_t top, int32_t left,
                      const RleDrawOptions& options);
