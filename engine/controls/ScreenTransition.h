#pragma once
// Screen transitions: the new picture of a frame, drawn into its window's off-screen bitmap,
// replaces the old one on the screen piece by piece, with one of ten effects. Each stage
// copies part of the off-screen picture to the window and waits for the next tick of the real
// clock (17 ms) without handling any message; the display is shown after every stage. The
// transition ends with one whole copy of the frame's rectangle, so whatever an effect leaves
// uncovered appears then, and the frame's area is validated so it is not painted again.
//
// The speed is a step in pixels for most effects, degrees per stage for the eased stretch,
// and sets the number of stages (100 / speed) of the diagonal wipes. A speed below 1 (above
// 100 for the diagonal wipes) gives no stages; so does a sub-mode the effect does not know.
#include <cstdint>

class CFrame;

// Effect codes.
enum : int32_t {
    kTransitionNone = 0x1000, // no stages; any code not below behaves so too
    kTransitionWipe = 0x2000,
    kTransitionSlide = 0x3000,
    kTransitionIris = 0x4000,
    kTransitionBox = 0x5000,
    kTransitionZoom = 0x6000,
    kTransitionEasedStretch = 0x7000,
    kTransitionDissolve = 0x8000,
    kTransitionNothing = 0x9000, // does nothing, as kTransitionNone
    kTransitionSmearWipe = 0xA000,
    kTransitionMosaic = 0xB000,
};

// Sub-modes.
enum : int32_t {
    kFromRight = 0x100,
    kFromLeft = 0x200,
    kFromBottom = 0x300,
    kFromTop = 0x400,
    kFromBottomLeft = 0x500,
    kFromBottomRight = 0x600,
    kFromTopLeft = 0x700,
    kFromTopRight = 0x800,
    kClosing = 0x900,
    kOpening = 0xA00,
    kFromVerticalCentre = 0xB00,
    kFromHorizontalCentre = 0xC00,
};

// Runs the whole transition of the frame and returns when its area shows the new picture.
// Nothing happens for a frame without a window, or a window without an off-screen bitmap.
void DoScreenTransition(CFrame* frame, int32_t code, int32_t subMode, int32_t speed);

// The integer part (towards zero) of extent x sin(degrees).
int32_t SinScale(int32_t extent, int32_t degrees);

// The dissolve's cells and their order: cells of speed x speed pixels, in `columns` x `rows`
// (one more than the area needs each way), visited in the order of a maximal-length shift
// register of `width` bits with the feedback mask. Width 0 when the count does not fit the
// widest register (2^19 cells or more).
struct DissolveGrid {
    int32_t columns = 0;
    int32_t rows = 0;
    uint32_t count = 0;
    int32_t width = 0;
    uint32_t mask = 0;
};
DissolveGrid GetDissolveGrid(int32_t width, int32_t height, int32_t speed);
// The register value after v: stepped until it is no more than the count.
uint32_t NextDissolveCell(uint32_t v, const DissolveGrid& grid);
